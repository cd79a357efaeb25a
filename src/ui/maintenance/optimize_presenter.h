#pragma once
// The Optimize command of the main window: the question, the main window
// locked while the current file is rewritten, the progress texts in its status
// bar, and the signal that it must re-scan the file and reload itself.
//
// Wiring: the main window connects LockMainWindowRequested to its lock, the
// signals of progress() to its status bar and progress bar, and Finished to
// its re-scan, load and activation logic (which also lifts the lock).
#include <QObject>

#include "ui/maintenance/rewrite_progress.h"

class QWidget;

namespace mirolat {

struct AppState;
class ErrorReporter;

class OptimizePresenter : public QObject {
  Q_OBJECT
 public:
  // `dialogParent` is the window the question is shown over.
  OptimizePresenter(AppState& state, ErrorReporter& reporter, QWidget* dialogParent, QObject* parent = nullptr);

  RewriteProgress& progress() { return progress_; }

  // Asks the question; on Yes locks the main window and rewrites the current
  // file, keeping the previous one as ModemLog.old (ModemLogArchive.old for
  // an archive). Marks the question as asked whatever the answer. True when
  // the file was rewritten. Emits Finished in every case.
  bool OptimizeCurrentFile();
  // The question alone: true on Yes.
  bool ConfirmOptimize();

 Q_SIGNALS:
  void LockMainWindowRequested();
  // The command is over: the main window re-scans the file and re-runs its
  // load and activation logic. `optimized` tells whether the file changed.
  void Finished(bool optimized);

 private:
  AppState& state_;
  ErrorReporter& reporter_;
  QWidget* dialogParent_;
  RewriteProgress progress_;
};

}  // namespace mirolat
