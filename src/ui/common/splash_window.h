#pragma once
// The splash window: shown while start-up runs, with the start-up steps and
// the log check's progress in its status label. When no modem log was found it
// stays up, "Click to continue..." blinking once a second, until a click on
// the picture or the label or a key press; then the main window takes over.
#include <QLabel>
#include <QPointer>
#include <QTimer>
#include <QWidget>
#include <functional>

#include "core/common/progress.h"

namespace mirolat {

class frmSplash : public QWidget {
  Q_OBJECT
 public:
  // Runs the start-up steps with the splash's progress; returns true when the
  // splash must wait for a click (no modem log was found).
  using StartUpFunction = std::function<bool(Progress& progress)>;
  // Creates the main window (not yet shown).
  using MainWindowFactory = std::function<QWidget*()>;

  frmSplash(StartUpFunction startUp, MainWindowFactory mainWindowFactory, QWidget* parent = nullptr);
  ~frmSplash() override;

  // Shows the window, sets the version and runs start-up; then shows the main
  // window, or waits for a click when no log was found.
  void Form_Load();
  // Shows the main window and unloads the splash when it is waiting for a click.
  void ContinueFromSplash();

  bool SplashWaitsForClick() const { return waitsForClick_; }
  // The main window the splash handed over to (null before).
  QWidget* MainWindow() const { return mainWindow_; }
  // Sets SplashLabel1 (start-up steps and the log check's progress).
  void SetStatusText(const QString& text);

 private Q_SLOTS:
  void SplashTimer1_Timer();

 private:
  QLabel* Picture1;
  QLabel* LabelVersion;
  QLabel* SplashLabel1;
  QTimer* SplashTimer1;  // blinks SplashLabel1 while waiting for a click
  QTimer* SplashTimer2;

 Q_SIGNALS:
  // Every text SplashLabel1 is given, in order.
  void StatusTextChanged(const QString& text);

 protected:
  void closeEvent(QCloseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void ShowMainWindowAndUnload();

  StartUpFunction startUp_;
  MainWindowFactory mainWindowFactory_;
  QWidget* mainWindow_ = nullptr;
  bool waitsForClick_ = false;
  bool startingUp_ = false;
};

// The splash's Progress: status texts go to SplashLabel1, and pending window
// events run when the check yields.
class SplashProgress : public Progress {
 public:
  explicit SplashProgress(frmSplash& splash) : splash_(&splash) {}
  void SetStatus(const QString& text) override;
  void SetPercent(int percent) override;
  void Yield() override;

 private:
  QPointer<frmSplash> splash_;
};

// "Version " + major + "." + minor.
QString VersionText();

}  // namespace mirolat
