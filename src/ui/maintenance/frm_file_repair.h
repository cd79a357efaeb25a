#pragma once
// The repair window: removes from a corrupt log every byte a log line cannot
// hold, then every line without a date, keeping the previous log as
// ModemLog.old (and the byte-filtered copy as ModemLog.fx1). The repair runs
// once, when the window is first shown; OK closes it.
//
// Wiring: create it with the program's state and error reporter and exec()
// it; afterwards the main window re-scans the log and reloads itself (the
// Repaired signal tells that the log was rewritten).
#include <QDialog>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>

namespace mirolat {

struct AppState;
class ErrorReporter;

class frmFileRepair : public QDialog {
  Q_OBJECT
 public:
  frmFileRepair(AppState& state, ErrorReporter& reporter, QWidget* parent = nullptr);

 private:
  QLabel* lblFileRepair = nullptr;
  QProgressBar* ProgressBar = nullptr;
  QPushButton* btnOK = nullptr;

 public:
  // Runs the repair (once per opening of the window; later calls do nothing).
  void Repair();
  bool RepairRun() const { return repairRun_; }
  bool Repaired() const { return repaired_; }

 private Q_SLOTS:
  void btnOK_Click();

 Q_SIGNALS:
  // The log was rewritten: the main window re-scans it and reloads itself.
  void LogRepaired();

 protected:
  void showEvent(QShowEvent* event) override;
  void closeEvent(QCloseEvent* event) override;

 private:
  AppState& state_;
  ErrorReporter& reporter_;
  bool repairRun_ = false;
  bool running_ = false;
  bool repaired_ = false;
};

}  // namespace mirolat
