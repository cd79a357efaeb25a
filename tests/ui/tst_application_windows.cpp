// The program's windows as the one wiring connects them: the main window's
// Options, View, Optimize, Purge and Repair commands open their windows, and
// after each change to the file the main window shows the file as it is now.
#include <QApplication>
#include <QFile>
#include <QLineEdit>
#include <QPointer>
#include <QTimer>
#include <QtTest>
#include <functional>
#include <memory>

#include "core/app/app_state.h"
#include "core/logfile/log_checks.h"
#include "core/settings/settings_store.h"
#include "support/common_test_env.h"
#include "ui/app/application_windows.h"
#include "ui/common/end_program.h"
#include "ui/dialogs/desktop_error_reporter.h"
#include "ui/dialogs/message_box.h"
#include "ui/maintenance/frm_file_repair.h"
#include "ui/maintenance/frm_purge.h"
#include "ui/setup/frm_setup.h"

using namespace mirolat;

namespace {

// Two sessions on 15 and 17 January 1998, with modem chatter between them.
QByteArray TwoDayLog() {
  QByteArray log;
  for (const QByteArray& d : {QByteArray("01-15-1998"), QByteArray("01-17-1998")}) {
    log += d + " 10:23:40.00 - Opening Modem\r\n";
    log += d + " 10:23:42.74 - Recv: ATDT5551234<cr>\r\n";
    log += d + " 10:23:43.00 - Send: ATZ<cr>\r\n";
    log += d + " 10:24:05.25 - Connection established at 33600bps.\r\n";
    log += d + " 10:55:32.44 - Hanging up the modem.\r\n";
    log += d + " 10:55:33.00 - Modem closed.\r\n";
  }
  return log;
}

void WriteFile(const QString& path, const QByteArray& bytes) {
  QFile f(path);
  QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
  QCOMPARE(f.write(bytes), bytes.size());
}

// Runs `act` on the modal dialog of type T as soon as it is up.
template <class T>
void WhenModal(std::function<void(T*)> act) {
  auto* timer = new QTimer;
  timer->setInterval(10);
  QObject::connect(timer, &QTimer::timeout, [timer, act] {
    if (auto* dialog = qobject_cast<T*>(QApplication::activeModalWidget())) {
      timer->stop();
      timer->deleteLater();
      act(dialog);
    }
  });
  timer->start();
}

}  // namespace

class ApplicationWindowsTest : public QObject {
  Q_OBJECT

 private:
  std::unique_ptr<test::CommonTestEnvironment> env_;
  std::unique_ptr<AppState> state_;
  std::unique_ptr<ApplicationWindows> windows_;
  QPointer<frmMain> main_;

  QString LogPath() const { return env_->LogDir() + QStringLiteral("ModemLog.txt"); }

  // Start-up over a log directory holding `log`, then the wired main window, shown.
  void Open(const QByteArray& log) {
    state_ = std::make_unique<AppState>();
    state_->Store = std::make_shared<SettingsStore>(SettingsStore::FilePathIn(env_->ConfigDir()));
    state_->Locale = LoadLocaleInfo(QLocale(QLocale::English, QLocale::UnitedStates));
    state_->ShowTipsAtStartup = false;
    CurrentFileState& f = state_->File;
    f.WindowsDir = env_->LogDir();
    f.LogFileName = QStringLiteral("ModemLog.txt");
    f.LogFilePath = LogPath();
    WriteFile(f.LogFilePath, log);
    f.LogExists = true;
    NullProgress quiet;
    f.LogCorrupt = CheckLogCharacters(f, false, quiet, SharedErrorReporter());
    if (!f.LogCorrupt) ScanLog(f, state_->Config, SharedErrorReporter());
    windows_ = std::make_unique<ApplicationWindows>(*state_);
    main_ = windows_->CreateMainWindow();
    main_->Form_Load();
    main_->show();
    QVERIFY(QTest::qWaitForWindowActive(main_));
  }

 private Q_SLOTS:
  void init() {
    env_ = std::make_unique<test::CommonTestEnvironment>();
    ResetProgramEnding();
    SetProgramExitHandler([] {});
  }

  void cleanup() {
    delete main_.data();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    windows_.reset();
    state_.reset();
    env_.reset();
    SetProgramExitHandler({});
    ResetProgramEnding();
  }

  void linesWrittenWhileTheViewerIsOpenShowWhenItCloses() {
    Open(TwoDayLog());
    QCOMPARE(main_->LabelLogEntries2->text(), QStringLiteral("12"));
    main_->mnuViewLog->trigger();
    QTRY_VERIFY(windows_->LogViewer() != nullptr);
    QFile log(LogPath());
    QVERIFY(log.open(QIODevice::Append));
    log.write("01-18-1998 09:00:00.00 - Opening Modem\r\n");
    log.close();
    windows_->LogViewer()->close();
    QTRY_COMPARE(main_->LabelLogEntries2->text(), QStringLiteral("13"));
    QVERIFY(main_->LabelLogLast2->text().contains(QStringLiteral("January 18, 1998")));
  }

  void cancelInTheOptionsLeavesTheConfigurationAlone() {
    Open(TwoDayLog());
    const Configuration before = state_->Config;
    WhenModal<frmSetup>([](frmSetup* setup) { setup->reject(); });
    main_->mnuSetup->trigger();
    QCOMPARE(state_->Config.MaxConnections, before.MaxConnections);
    QCOMPARE(state_->Config.ModemLogFile, before.ModemLogFile);
    QCOMPARE(state_->File.LogFilePath, LogPath());
  }
};

QTEST_MAIN(ApplicationWindowsTest)
#include "tst_application_windows.moc"
