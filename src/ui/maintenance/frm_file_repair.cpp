#include "ui/maintenance/frm_file_repair.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QHBoxLayout>
#include <QTimer>
#include <QVBoxLayout>

#include "core/app/app_state.h"
#include "core/logfile/log_rewrites.h"
#include "ui/dialogs/beep.h"

namespace mirolat {

namespace {

// The repair's progress in the window's own label and progress bar.
class RepairProgress final : public Progress {
 public:
  RepairProgress(QLabel* label, QProgressBar* bar) : label_(label), bar_(bar) { clock_.start(); }
  void SetStatus(const QString& text) override { label_->setText(text); }
  void SetPercent(int percent) override {
    if (percent < 101) bar_->setValue(percent);
  }
  void Yield() override {
    if (clock_.elapsed() < 30) return;
    clock_.restart();
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
  }

 private:
  QLabel* label_;
  QProgressBar* bar_;
  QElapsedTimer clock_;
};

}  // namespace

frmFileRepair::frmFileRepair(AppState& state, ErrorReporter& reporter, QWidget* parent)
    : QDialog(parent), state_(state), reporter_(reporter) {
  setObjectName(QStringLiteral("frmFileRepair"));
  setWindowTitle(QStringLiteral("File Repair"));
  setModal(true);
  lblFileRepair = new QLabel(this);
  lblFileRepair->setObjectName(QStringLiteral("lblFileRepair"));
  lblFileRepair->setMinimumWidth(320);
  ProgressBar = new QProgressBar(this);
  ProgressBar->setObjectName(QStringLiteral("ProgressBar"));
  ProgressBar->setRange(0, 100);
  ProgressBar->setValue(0);
  btnOK = new QPushButton(QStringLiteral("&OK"), this);
  btnOK->setObjectName(QStringLiteral("btnOK"));
  btnOK->setEnabled(false);
  auto* column = new QVBoxLayout(this);
  column->addWidget(lblFileRepair);
  column->addWidget(ProgressBar);
  auto* buttons = new QHBoxLayout();
  buttons->addStretch(1);
  buttons->addWidget(btnOK);
  buttons->addStretch(1);
  column->addLayout(buttons);
  connect(btnOK, &QPushButton::clicked, this, &frmFileRepair::btnOK_Click);
}

void frmFileRepair::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  // Once the window is on the screen; activating it again later repairs nothing.
  if (!repairRun_) QTimer::singleShot(0, this, &frmFileRepair::Repair);
}

void frmFileRepair::closeEvent(QCloseEvent* event) {
  // The log is being rewritten: the window stays until both passes are over.
  if (running_) {
    event->ignore();
    return;
  }
  QDialog::closeEvent(event);
}

void frmFileRepair::Repair() {
  if (repairRun_) return;
  repairRun_ = true;
  running_ = true;
  QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
  RepairProgress progress(lblFileRepair, ProgressBar);
  RewriteResult result;
  {
    const struct Running {
      bool& flag;
      ~Running() { flag = false; }
    } running{running_};
    result = RepairLog(state_.File, progress, reporter_);
  }
  if (result.Done) {
    ProgressBar->setValue(100);
    Beep();
    state_.File.LogCorrupt = false;
    lblFileRepair->setText(RepairDoneText(result));
    repaired_ = true;
  } else {
    lblFileRepair->setText(QStringLiteral("The modem log could not be repaired; it has not been changed."));
  }
  btnOK->setEnabled(true);
  btnOK->setFocus();
  if (repaired_) Q_EMIT LogRepaired();
}

void frmFileRepair::btnOK_Click() { accept(); }

}  // namespace mirolat
