#pragma once
// The About box: the program's name, version and credit, and a button that
// shows the system information (Qt version, platform, locale, the settings
// file and the log directory).
#include <QDialog>

class QLabel;
class QPushButton;

namespace mirolat {

// The lines System Info shows. `settingsFile` and `logDirectory` are the paths
// in use; empty ones are looked up from the configuration folder and the log
// directory.
QString SystemInfoText(const QString& settingsFile = QString(), const QString& logDirectory = QString());

class frmAbout : public QDialog {
  Q_OBJECT
 public:
  explicit frmAbout(QWidget* parent = nullptr);
  ~frmAbout() override;

 private Q_SLOTS:
  void cmdSysInfo_Click();

 private:
  QLabel* lblTitle;
  QLabel* lblVersion;
  QLabel* lblDescription;
  QLabel* lblCredit;
  QPushButton* cmdSysInfo;
  QPushButton* cmdOK;
};

}  // namespace mirolat
