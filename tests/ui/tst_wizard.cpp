// The modem configuration wizard: its four pages and their texts, the blink of
// what must change, Back/Next/Finish/OK, Check1, and the changes Finish makes.
// With MIROLAT_SCREENSHOT_DIR set, the four pages are saved there as PNGs.
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>
#include <memory>

#include "core/app/modem_check.h"
#include "core/app/startup.h"
#include "core/settings/modem_store.h"
#include "core/settings/settings_store.h"
#include "support/common_test_env.h"
#include "core/app/app_state.h"
#include "ui/common/program_startup.h"
#include "ui/wizard/frm_pre_configure.h"

using namespace mirolat;

namespace {

class ContinuingReporter : public ErrorReporter {
 public:
  QStringList messages;
  ErrorAnswer ReportError(const RunError& e) override {
    messages.append(e.description());
    return ErrorAnswer::Continue;
  }
};

class FailingInitStore : public ModemClassStore {
 public:
  using ModemClassStore::ModemClassStore;
  void WriteValue(const QString& key, const QString& name, const QVariant& value, ValueKind kind) override {
    if (name == QLatin1String("UserInit")) throw RunError(ErrorCondition::DeviceIO, QStringLiteral("disk I/O error"));
    ModemClassStore::WriteValue(key, name, value, kind);
  }
};

const QString kIntro = QStringLiteral(
    "This is MRL's Modem Logging Wizard.\n\nMRL reads the log your modem writes. The wizard looks at the modem "
    "entries of Mirolat's modem settings and, where needed, configures one of them for use with MRL: its logging, "
    "its log file and its command echo.\n\nClick the 'Next' button and the wizard will take you through a step by "
    "step process.");

}  // namespace

class WizardTest : public QObject {
  Q_OBJECT

 private:
  std::unique_ptr<test::CommonTestEnvironment> env_;
  std::unique_ptr<SettingsStore> store_;
  std::unique_ptr<ModemClassStore> modems_;
  ModemCheck check_;
  ContinuingReporter reporter_;

  void AddModem(const QString& name, const QString& port, const QString& loggingPath, int logging,
                const QString& init) {
    AddDeviceEntry(*modems_, NewModemEntry{DeviceClass::Modem, name, port, {}, loggingPath, logging, init});
  }
  // Runs the start-up check; true when it asks for the wizard.
  bool Check(int preferred = 0) {
    check_ = ModemCheck{};
    check_.WindowsDir = env_->LogDir();
    check_.PreferredModem = preferred;
    NullProgress progress;
    return CheckModemConfiguration(*modems_, check_, progress);
  }
  QString UserInit(int n) {
    return modems_->ReadText(DeviceSubKey(DeviceClass::Modem, n), QStringLiteral("UserInit"));
  }
  static QList<int> VisiblePages(const frmPreConfigure& w) {
    QList<int> shown;
    for (int i = 0; i < w.fraCheck.size(); ++i) {
      if (w.fraCheck[i]->isVisibleTo(const_cast<frmPreConfigure*>(&w)) && w.fraCheck[i]->isEnabled()) shown.append(i);
    }
    return shown;
  }
  static void Shot(frmPreConfigure& w, const char* name) {
    const QString dir = qEnvironmentVariable("MIROLAT_SCREENSHOT_DIR");
    if (dir.isEmpty()) return;
    QTest::qWait(50);
    w.grab().save(QDir(dir).filePath(QLatin1String(name)));
  }

 private Q_SLOTS:
  void init() {
    modems_.reset();
    store_.reset();
    env_.reset();  // its end clears the environment the new one sets
    env_ = std::make_unique<test::CommonTestEnvironment>();
    store_ = std::make_unique<SettingsStore>(SettingsStore::FilePathIn(env_->ConfigDir()));
    modems_ = std::make_unique<ModemClassStore>(*store_);
    reporter_.messages.clear();
  }

  void fourPagesWithTheirTexts() {
    AddModem(QStringLiteral("Standard 56K Data Fax"), QStringLiteral("/dev/ttyACM0"),
             env_->LogDir() + QStringLiteral("ModemLog.txt"), 1, QStringLiteral("ATV1"));
    AddModem(QStringLiteral("Internal Winmodem"), QString(), QString(), -1, QString());
    QVERIFY(Check());
    frmPreConfigure w(*modems_, check_, true, reporter_);
    w.show();
    QCOMPARE(w.windowTitle(), QStringLiteral(" MRL Configuration Wizard"));
    QCOMPARE(w.Page(), 0);
    QCOMPARE(VisiblePages(w), QList<int>{0});
    QCOMPARE(w.lblIntro->text(), kIntro);
    QCOMPARE(w.lblNote->text(),
             QStringLiteral("NOTE: You will be asked to confirm the details of any recommended changes."));
    QCOMPARE(w.btnCancel->text(), QStringLiteral("&Cancel"));
    QCOMPARE(w.btnNext->text(), QStringLiteral("&Next >"));
    QCOMPARE(w.Check1->text(), QStringLiteral("Always perform this check."));
    QVERIFY(w.Check1->isChecked());
    Shot(w, "wizard-1-introduction.png");

    QTest::mouseClick(w.btnNext, Qt::LeftButton);
    QCOMPARE(w.Page(), 1);
    QCOMPARE(VisiblePages(w), QList<int>{1});
    QCOMPARE(w.fraCheck[1]->title(), QStringLiteral("Installed Modems"));
    QCOMPARE(w.lblInstalled->text(),
             QStringLiteral("The following installed modem(s) were detected on your system. Please select the modem "
                            "you wish to configure for use with MRL and then click on the 'NEXT' button."));
    QCOMPARE(w.lstModems->count(), 2);
    QCOMPARE(w.lstModems->item(0)->text(), QStringLiteral("Standard 56K Data Fax on /dev/ttyACM0"));
    QCOMPARE(w.lstModems->item(1)->text(), QStringLiteral("Internal Winmodem"));
    QCOMPARE(w.lstModems->currentRow(), 0);
    QCOMPARE(w.btnCancel->text(), QStringLiteral("< &Back"));
    Shot(w, "wizard-2-installed-modems.png");

    QTest::mouseClick(w.btnNext, Qt::LeftButton);
    QCOMPARE(w.Page(), 2);
    QCOMPARE(VisiblePages(w), QList<int>{2});
    QCOMPARE(w.SelectedModem(), 1);
    QCOMPARE(w.lblSelModem->text(), QStringLiteral("Standard 56K Data Fax"));
    QCOMPARE(w.fraCurrent->title(), QStringLiteral("Current "));
    QCOMPARE(w.fraRecommended->title(), QStringLiteral("Recommended"));
    QCOMPARE(w.lblCurrentLogging->text(), QStringLiteral("ON"));
    QCOMPARE(w.lblCurrentEcho->text(), QStringLiteral("OFF"));
    QCOMPARE(w.imgCurrentLogging->property("picture").toString(), QStringLiteral("right"));
    QCOMPARE(w.imgCurrentEcho->property("picture").toString(), QStringLiteral("wrong"));
    QCOMPARE(w.imgCurrentEcho->pixmap().cacheKey(), w.WrongPicture().cacheKey());
    QCOMPARE(w.lblRecLogging->text(), QStringLiteral("ON"));
    QCOMPARE(w.lblRecEcho->text(), QStringLiteral("ON"));
    QCOMPARE(w.imgRecEcho->property("picture").toString(), QStringLiteral("right"));
    QCOMPARE(w.lblAdvice->text(),
             QStringLiteral("The wizard needs to make some changes to Mirolat's modem settings for this modem in "
                            "order for MRL to work as intended.\n\nClick the 'Finish' button to have the wizard make "
                            "these changes for you."));
    QCOMPARE(w.btnNext->text(), QStringLiteral("&Finish"));
    QVERIFY(!check_.ModemConfigured);
    Shot(w, "wizard-3-settings.png");

    // Back and forth: Next reads Next again before the modem's page.
    QTest::mouseClick(w.btnCancel, Qt::LeftButton);
    QCOMPARE(w.Page(), 1);
    QCOMPARE(w.btnNext->text(), QStringLiteral("&Next >"));
    QVERIFY(!w.Timer1->isActive());
    QTest::mouseClick(w.btnNext, Qt::LeftButton);
    QCOMPARE(w.btnNext->text(), QStringLiteral("&Finish"));
    QVERIFY(UserInit(0) == QStringLiteral("ATV1"));  // nothing changed before Finish

    QTest::mouseClick(w.btnNext, Qt::LeftButton);
    QCOMPARE(w.Page(), 3);
    QCOMPARE(VisiblePages(w), QList<int>{3});
    QCOMPARE(w.fraCheck[3]->title(), QStringLiteral("Finished"));
    QCOMPARE(w.lblFinished->text(),
             QStringLiteral("C O N G R A T U L A T I O N S .\n\nYou have finished configuring Mirolat's modem "
                            "settings.\n\nA new empty modem log file has been created for you. Reports will not be "
                            "available until after your next dial-up session.\n\nClick the 'OK' button to continue."));
    QCOMPARE(w.btnNext->text(), QStringLiteral("&OK"));
    QVERIFY(w.btnCancel->isHidden());
    QVERIFY(!w.Timer1->isActive());
    QCOMPARE(UserInit(0), QStringLiteral("ATV1E1"));
    QVERIFY(QFile::exists(env_->LogDir() + QStringLiteral("ModemLog.txt")));
    QCOMPARE(store_->GetSetting("MRL", "Options", "Preferred Modem", QString()), QStringLiteral("1"));
    Shot(w, "wizard-4-finished.png");

    QSignalSpy accepted(&w, &QDialog::accepted);
    QTest::mouseClick(w.btnNext, Qt::LeftButton);
    QCOMPARE(accepted.count(), 1);
  }

  void theChangesBlinkEveryHalfSecond_data() {
    QTest::addColumn<int>("logging");
    QTest::addColumn<QString>("init");
    QTest::addColumn<bool>("loggingBlinks");
    QTest::addColumn<bool>("echoBlinks");
    QTest::newRow("echo off") << 1 << "ATV1" << false << true;
    QTest::newRow("logging off") << 0 << "ATE1" << true << false;
    QTest::newRow("both off") << 0 << "" << true << true;
  }

  void theChangesBlinkEveryHalfSecond() {
    QFETCH(int, logging);
    QFETCH(QString, init);
    QFETCH(bool, loggingBlinks);
    QFETCH(bool, echoBlinks);
    AddModem(QStringLiteral("M"), QStringLiteral("COM1"), env_->LogDir() + QStringLiteral("ModemLog.txt"), logging,
             init);
    QVERIFY(Check());
    // An injected timer: the window sets it up, the test ticks it.
    auto* timer = new QTimer;
    frmPreConfigure w(*modems_, check_, true, reporter_, nullptr, timer);
    QCOMPARE(w.Timer1, timer);
    QCOMPARE(timer->interval(), 500);
    QVERIFY(!timer->isActive());
    w.btnNext_Click();
    w.btnNext_Click();
    QCOMPARE(w.Page(), 2);
    QVERIFY(timer->isActive());
    for (int tick = 1; tick <= 4; ++tick) {
      QMetaObject::invokeMethod(timer, [&] { w.Timer1_Timer(); });
      const bool boldNow = tick % 2 == 1;
      QCOMPARE(w.lblRecLogging->font().bold(), loggingBlinks && boldNow);
      QCOMPARE(w.lblRecEcho->font().bold(), echoBlinks && boldNow);
    }
    // Finish stops the blink and leaves the texts plain.
    w.Timer1_Timer();
    w.btnNext_Click();
    QVERIFY(!timer->isActive());
    QVERIFY(!w.lblRecLogging->font().bold());
    QVERIFY(!w.lblRecEcho->font().bold());
  }

  void aConfiguredModemEndsWithOk() {
    AddModem(QStringLiteral("Unset"), QStringLiteral("COM1"), QString(), -1, QString());
    AddModem(QStringLiteral("Good"), QStringLiteral("COM2"), env_->LogDir() + QStringLiteral("ModemLog.txt"), 1,
             QStringLiteral("ATE1V1"));
    QVERIFY(Check());
    frmPreConfigure w(*modems_, check_, true, reporter_);
    w.btnNext_Click();
    w.lstModems->setCurrentRow(1);
    w.btnNext_Click();
    QCOMPARE(w.lblCurrentLogging->text(), QStringLiteral("ON"));
    QCOMPARE(w.lblCurrentEcho->text(), QStringLiteral("ON"));
    QCOMPARE(w.lblAdvice->text(),
             QStringLiteral("The wizard has determined that this modem is already configured correctly for MRL. "
                            "\n\nClick the 'OK' button to continue."));
    QCOMPARE(w.btnNext->text(), QStringLiteral("&OK"));
    QVERIFY(check_.ModemConfigured);
    QCOMPARE(check_.PreferredModem, 2);  // for this run ...
    QCOMPARE(store_->GetSetting("MRL", "Options", "Preferred Modem", QStringLiteral("unsaved")),
             QStringLiteral("unsaved"));  // ... not saved
    // Nothing blinks when nothing must change.
    w.Timer1_Timer();
    QVERIFY(!w.lblRecLogging->font().bold() && !w.lblRecEcho->font().bold());
    QSignalSpy accepted(&w, &QDialog::accepted);
    w.btnNext_Click();
    QCOMPARE(accepted.count(), 1);
    QVERIFY(!w.Timer1->isActive());
    QCOMPARE(UserInit(0), QString());
  }

  void cancelOnTheFirstPageChangesNothing() {
    AddModem(QStringLiteral("M"), QStringLiteral("COM1"), QString(), 0, QStringLiteral("ATV1"));
    QVERIFY(Check());
    frmPreConfigure w(*modems_, check_, false, reporter_);
    QVERIFY(!w.Check1->isChecked());
    QSignalSpy rejected(&w, &QDialog::rejected);
    w.btnNext_Click();
    w.btnCancel_Click();
    QCOMPARE(w.Page(), 0);
    QTest::mouseClick(w.btnCancel, Qt::LeftButton);
    QCOMPARE(rejected.count(), 1);
    QCOMPARE(UserInit(0), QStringLiteral("ATV1"));
    QVERIFY(!QFile::exists(env_->LogDir() + QStringLiteral("ModemLog.txt")));
  }

  // No modem entry: no Next; the detect step registers the serial modems
  // the lister finds, once, and lists them.
  void detectRegistersSerialModemsOnce() {
    struct : SerialPortLister {
      QList<SerialDevice> Ports() override {
        return {{QStringLiteral("ttyACM0"), QStringLiteral("/dev/ttyACM0"), QStringLiteral("USB Modem"), {}, {}, -1, -1},
                {QStringLiteral("ttyS0"), QStringLiteral("/dev/ttyS0"), {}, {}, {}, -1, -1}};
      }
    } ports;
    QVERIFY(!Check());
    frmPreConfigure w(*modems_, check_, true, reporter_);
    w.SetSerialPortLister(&ports);
    QVERIFY(!w.btnNext->isEnabled());
    for (int click = 0; click < 2; ++click) {
      QTest::mouseClick(w.btnDetect, Qt::LeftButton);
      QCOMPARE(ReadDeviceClass(*modems_, DeviceClass::Modem).size(), 1);
    }
    QCOMPARE(w.lstModems->count(), 1);
    QCOMPARE(w.lstModems->item(0)->text(), QStringLiteral("USB Modem on /dev/ttyACM0"));
    QVERIFY(w.btnNext->isEnabled());
  }

  void check1IsSavedAtOnce() {
    AddModem(QStringLiteral("M"), QStringLiteral("COM1"), QString(), 0, QString());
    QVERIFY(Check());
    frmPreConfigure w(*modems_, check_, true, reporter_);
    QTest::mouseClick(w.Check1, Qt::LeftButton);
    QCOMPARE(store_->GetSetting("MRL", "Options", "Run Config Wizard", QString()), QStringLiteral("0"));
    QVERIFY(!ReadStartupOptions(*store_).RunConfigWizard);
    QTest::mouseClick(w.Check1, Qt::LeftButton);
    QCOMPARE(store_->GetSetting("MRL", "Options", "Run Config Wizard", QString()), QStringLiteral("1"));
  }

  void aFailedWriteIsShownOnTheFinishedPage() {
    AddModem(QStringLiteral("M"), QStringLiteral("COM1"), QString(), 0, QStringLiteral("ATE0"));
    FailingInitStore failing(*store_);
    check_ = ModemCheck{};
    check_.WindowsDir = env_->LogDir();
    NullProgress progress;
    QVERIFY(CheckModemConfiguration(failing, check_, progress));
    frmPreConfigure w(failing, check_, true, reporter_);
    w.btnNext_Click();
    w.btnNext_Click();
    w.btnNext_Click();
    QCOMPARE(w.Page(), 3);
    QCOMPARE(reporter_.messages.size(), 1);
    QVERIFY(!w.lblFinished->text().contains(QLatin1String("C O N G R A T U L A T I O N S")));
    QVERIFY2(w.lblFinished->text().contains(QLatin1String("UserInit")), qPrintable(w.lblFinished->text()));
    QCOMPARE(store_->GetSetting("MRL", "Options", "Preferred Modem", QStringLiteral("unsaved")),
             QStringLiteral("unsaved"));
    QCOMPARE(w.btnNext->text(), QStringLiteral("&OK"));
  }

  // The desktop start-up: the check runs at step 6 and its hook shows the
  // wizard, whose Finish takes effect before the configuration is read.
  void startUpShowsTheWizardWhenTheCheckSaysSo() {
    AddModem(QStringLiteral("M"), QStringLiteral("/dev/ttyACM0"), QString(), 0, QStringLiteral("ATV1"));
    store_.reset();
    modems_.reset();
    int shown = 0;
    StartupHooks& hooks = ProgramStartupHooks();
    hooks.ShowModemWizard = [&](ModemClassStore& store, ModemCheck& check) {
      ++shown;
      ContinuingReporter reporter;
      frmPreConfigure w(store, check, true, reporter);
      w.btnNext_Click();
      w.btnNext_Click();
      w.btnNext_Click();  // Finish
      QVERIFY(w.Outcome().Succeeded());
      w.btnNext_Click();  // OK
    };
    AppState state;
    class Statuses : public Progress {
     public:
      QStringList texts;
      void SetStatus(const QString& t) override { texts.append(t); }
      void SetPercent(int) override {}
    } progress;
    const bool waits = RunProgramStartUp(state, progress);
    hooks = StartupHooks();
    QCOMPARE(shown, 1);
    QCOMPARE(progress.texts.value(0), QStringLiteral("Checking Modem Configuration"));
    // The log Finish created is the one start-up finds.
    QVERIFY(!waits);
    QVERIFY(state.File.LogExists);
    QCOMPARE(state.File.LogFilePath, env_->LogDir() + QStringLiteral("ModemLog.txt"));
    ModemClassStore modems(*state.Store);
    QCOMPARE(modems.ReadText(DeviceSubKey(DeviceClass::Modem, 0), QStringLiteral("UserInit")),
             QStringLiteral("ATV1E1"));
    // The next start finds the modem configured: no wizard.
    hooks.ShowModemWizard = [&](ModemClassStore&, ModemCheck&) { ++shown; };
    AppState again;
    again.Store = state.Store;
    RunProgramStartUp(again, progress);
    hooks = StartupHooks();
    QCOMPARE(shown, 1);
  }
};

QTEST_MAIN(WizardTest)
#include "tst_wizard.moc"
