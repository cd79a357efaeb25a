#pragma once
// The modem configuration wizard: four pages (introduction, the installed
// modems, the chosen modem's current and recommended settings, finished) over
// the state of the start-up modem check or of the modem entries as they are
// (Tools menu). The check and the changes are the core's
// (core/app/modem_check.h); the window only presents them and asks. With no
// modem entry the introduction says so and how a Linux dial-up user gets a
// log, and Next is not offered; given a serial port lister, the introduction
// offers to register the serial modems of the machine.
#include <QDialog>
#include <QList>
#include <QPixmap>

#include "core/app/modem_check.h"

class QCheckBox;
class QGroupBox;
class QLabel;
class QListWidget;
class QPushButton;
class QTimer;

namespace mirolat {

class frmPreConfigure : public QDialog {
  Q_OBJECT
 public:
  // `check` is the check that found something to change; `runConfigWizard`
  // the per-user option Check1 shows. `timer` (optional, taken over) drives
  // the blink, so tests can tick it by hand.
  frmPreConfigure(ModemClassStore& store, ModemCheck& check, bool runConfigWizard, ErrorReporter& reporter,
                  QWidget* parent = nullptr, QTimer* timer = nullptr);

  // The serial ports the detect step registers (not taken over); none: the
  // step is not offered.
  void SetSerialPortLister(SerialPortLister* lister);

  int Page() const { return page_; }
  int SelectedModem() const { return selectedModem_; }
  bool LogFileCreated() const { return outcome_.LogFileCreated; }
  const FinishOutcome& Outcome() const { return outcome_; }

  // The window's image list: a state that is right, and one that is wrong.
  const QPixmap& RightPicture() const { return pictures_[0]; }
  const QPixmap& WrongPicture() const { return pictures_[1]; }

 private Q_SLOTS:
  void Form_Load();
  void btnNext_Click();
  void btnCancel_Click();
  void btnDetect_Click();
  void Check1_Click();
  void Timer1_Timer();

 private:
  QList<QGroupBox*> fraCheck;
  QLabel* lblIntro;
  QLabel* lblNote;
  QPushButton* btnDetect;
  QLabel* lblDetected;
  QLabel* lblInstalled;
  QListWidget* lstModems;
  QLabel* lblSelModem;
  QGroupBox* fraCurrent;
  QGroupBox* fraRecommended;
  QLabel* lblCurrentLogging;
  QLabel* lblCurrentEcho;
  QLabel* imgCurrentLogging;
  QLabel* imgCurrentEcho;
  QLabel* lblRecLogging;
  QLabel* lblRecEcho;
  QLabel* imgRecLogging;
  QLabel* imgRecEcho;
  QLabel* lblAdvice;
  QLabel* lblFinished;
  QCheckBox* Check1;
  QPushButton* btnCancel;
  QPushButton* btnNext;
  QTimer* Timer1;

 private:
  void ShowPage(int page);
  // The list and the introduction for the modem entries of check_.
  void ShowModems();
  void ShowModemPage();
  void ShowFinishedPage();
  void SetPicture(QLabel* label, bool right);
  void SetBold(QLabel* label, bool bold);

  ModemClassStore& store_;
  ModemCheck& check_;
  ErrorReporter& reporter_;
  bool runConfigWizard_;
  int page_ = 0;
  int selectedModem_ = 1;
  FinishOutcome outcome_;
  SerialPortLister* lister_ = nullptr;
  QPixmap pictures_[2];
};

}  // namespace mirolat
