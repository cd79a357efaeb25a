#pragma once
// The progress of a log rewrite (optimize, purge) as the main window shows it:
// its progress bar shown, filled and hidden, and its status-bar text. The
// rewrites report through the Progress interface; the main window connects
// the signals to its status bar and progress bar. Pending window events run
// at each step (user input waits until the rewrite ends).
#include <QElapsedTimer>
#include <QObject>

#include "core/common/progress.h"

namespace mirolat {

class RewriteProgress : public QObject, public Progress {
  Q_OBJECT
 public:
  explicit RewriteProgress(QObject* parent = nullptr);

  void SetStatus(const QString& text) override;
  void SetPercent(int percent) override;
  void Yield() override;

  // Shows the progress bar at 0 / hides it.
  void Begin();
  void End();

  // What was reported last (tests and the screenshot program read these).
  const QString& LastStatus() const { return lastStatus_; }
  int LastPercent() const { return lastPercent_; }
  int StatusCount() const { return statusCount_; }

 Q_SIGNALS:
  void ProgressBarShown(bool shown);
  void ProgressValueChanged(int percent);
  void StatusTextChanged(const QString& text);

 private:
  QString lastStatus_;
  int lastPercent_ = 0;
  int statusCount_ = 0;
  QElapsedTimer sinceEvents_;
};

}  // namespace mirolat
