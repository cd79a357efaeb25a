#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <memory>

#include "core/app/startup.h"
#include "core/settings/config_paths.h"
#include "core/settings/configuration_io.h"

#include "file_test_support.h"

namespace mirolat {
namespace {

using test::ScopedEnv;

using test::RecordingProgress;

class StartUpTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = std::make_unique<QTemporaryDir>();
    logDir_ = dir_->filePath(QStringLiteral("logs"));
    QDir().mkpath(logDir_);
    winDir_ = std::make_unique<ScopedEnv>("WinDir", logDir_);
    store_ = std::make_unique<SettingsStore>(SettingsStore::FilePathIn(dir_->path()));
  }
  StartupResult Run(const StartupHooks& hooks = {}) {
    return StartUpCore(*store_, config_, locale_, file_, QLocale(QLocale::English, QLocale::UnitedStates), progress_,
                       reporter_, hooks);
  }
  void WriteLog(const QString& name, const QByteArray& bytes) {
    QFile f(QDir(logDir_).filePath(name));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
  }
  std::unique_ptr<QTemporaryDir> dir_;
  QString logDir_;
  std::unique_ptr<ScopedEnv> winDir_;
  std::unique_ptr<SettingsStore> store_;
  Configuration config_;
  LocaleValues locale_;
  CurrentFileState file_;
  RecordingProgress progress_;
  test::ScriptedReporter reporter_{{}, ErrorAnswer::End};
};

TEST_F(StartUpTest, FirstRunWithoutALogWaitsForAClick) {
  config_.ModemLogFile = QStringLiteral("left over");
  file_.ArchiveOpen = true;
  const StartupResult r = Run();
  EXPECT_TRUE(reporter_.errors.empty());
  EXPECT_TRUE(r.SplashWaitsForClick);
  EXPECT_TRUE(r.DefaultsApplied);
  EXPECT_EQ(config_, Configuration{});
  EXPECT_EQ(file_.WindowsDir, logDir_ + QLatin1Char('/'));
  EXPECT_EQ(file_.LogFileName, QStringLiteral("ModemLog.txt"));
  EXPECT_EQ(file_.LogFilePath, logDir_ + QStringLiteral("/ModemLog.txt"));
  EXPECT_FALSE(file_.LogExists);
  EXPECT_FALSE(file_.ArchiveOpen);
  EXPECT_EQ(progress_.statuses, (QStringList{QStringLiteral("Checking Modem Configuration"),
                                             QStringLiteral("Reading User Configuration"),
                                             QStringLiteral("Please Wait . . . Checking Modem Log")}));
  EXPECT_EQ(locale_.LongDayNames[0], QStringLiteral("Monday")) << "the locale was loaded";
  // The defaults were saved at once.
  EXPECT_EQ(store_->SettingsReadValue(Root::Machine, kGeneralKey, QStringLiteral("ModemLogFile")),
            SettingsValue(QStringLiteral("ModemLog.txt")));
}

TEST_F(StartUpTest, ACleanLogIsScannedAndACorruptOneIsNot) {
  Configuration saved;
  saved.ModemLogFile = QStringLiteral("Other.log");
  ASSERT_TRUE(SaveConfiguration(*store_, saved, reporter_));
  const QByteArray line = "01-15-1998 10:23:45.12 - Dialing.\r\n";
  WriteLog(QStringLiteral("Other.log"), line + line + "01-16-1998 09:00:00.00 - Hanging up.\r\n");
  StartupResult r = Run();
  EXPECT_FALSE(r.SplashWaitsForClick);
  EXPECT_EQ(file_.LogFileName, QStringLiteral("Other.log"));
  EXPECT_TRUE(file_.LogExists);
  EXPECT_FALSE(file_.LogCorrupt);
  EXPECT_EQ(file_.LogEntryCount, 3);
  EXPECT_EQ(file_.LogFirstDate, MakeDate(1998, 1, 15));
  EXPECT_EQ(file_.LogLastDate, MakeDate(1998, 1, 16));
  EXPECT_TRUE(progress_.statuses.contains(QStringLiteral("Please Wait .....Loading 100%")));
  WriteLog(QStringLiteral("Other.log"), line + QByteArray(1, '\x01') + line);
  file_ = CurrentFileState{};
  r = Run();
  EXPECT_FALSE(r.SplashWaitsForClick);
  EXPECT_TRUE(file_.LogCorrupt);
  EXPECT_EQ(file_.LogEntryCount, 0);  // ScanLog did not run
}

TEST_F(StartUpTest, PerUserOptionsAndTheModemCheck) {
  struct Case {
    const char* tips;
    const char* wizard;
    const char* modem;
    const char* logDir;  // below the test's folder; null: the usual one
    bool expectTips, expectWizard;
    int expectModem;
    bool expectCheck;
  } cases[] = {
      {nullptr, nullptr, nullptr, nullptr, true, true, 0, true}, {"0", "0", "2", nullptr, false, false, 2, false},
      // Whatever the folder is called, the check runs.
      {"1", "1", "1", "WinNT", true, true, 1, true}, {"7", "-1", "x", nullptr, true, true, 0, true}};
  for (const auto& c : cases) {
    QTemporaryDir dir;
    SettingsStore store(SettingsStore::FilePathIn(dir.path()));
    const QString app = QLatin1String(kOptionsAppName), section = QLatin1String(kOptionsSectionName);
    if (c.tips) store.SaveSetting(app, section, QStringLiteral("Show Tips at Startup"), QLatin1String(c.tips));
    if (c.wizard) store.SaveSetting(app, section, QStringLiteral("Run Config Wizard"), QLatin1String(c.wizard));
    if (c.modem) store.SaveSetting(app, section, QStringLiteral("Preferred Modem"), QLatin1String(c.modem));
    const QString logDir = c.logDir ? dir.filePath(QLatin1String(c.logDir)) : logDir_;
    QDir().mkpath(logDir);
    ScopedEnv winDir("WinDir", logDir);
    progress_.statuses.clear();
    const StartupResult r =
        StartUpCore(store, config_, locale_, file_, QLocale(QLocale::English), progress_, reporter_);
    EXPECT_EQ(r.Options.ShowTipsAtStartup, c.expectTips) << c.tips;
    EXPECT_EQ(r.Options.RunConfigWizard, c.expectWizard) << c.wizard;
    EXPECT_EQ(r.Options.PreferredModem, c.expectModem) << c.modem;
    EXPECT_EQ(r.ModemChecked, c.expectCheck) << logDir.toStdString();
    // The check runs before the configuration is read.
    EXPECT_EQ(progress_.statuses.value(0) == QStringLiteral("Checking Modem Configuration"), c.expectCheck);
  }
}

// The preferred modem is read as a 16-bit integer, halves rounded to even.
TEST(StartupOptions, PreferredModemIsASixteenBitIntegerRoundedLikeOne) {
  struct Case {
    const char* text;
    int expected;
  } cases[] = {{"2.5", 2}, {"3.5", 4}, {"2.6", 3}, {"-1.5", -2}, {" 7 ", 7}, {"40000", 0}};
  for (const auto& c : cases) {
    QTemporaryDir dir;
    SettingsStore store(SettingsStore::FilePathIn(dir.path()));
    store.SaveSetting(QLatin1String(kOptionsAppName), QLatin1String(kOptionsSectionName),
                      QStringLiteral("Preferred Modem"), QLatin1String(c.text));
    EXPECT_EQ(ReadStartupOptions(store).PreferredModem, c.expected) << c.text;
  }
}

TEST(ConfigPaths, FoldersFollowTheEnvironment) {
  QTemporaryDir dir;
  {
    ScopedEnv config("MIROLAT_CONFIG_DIR", dir.filePath(QStringLiteral("cfg/deep")));
    EXPECT_EQ(ConfigFolder(), dir.filePath(QStringLiteral("cfg/deep")));
    EXPECT_TRUE(QFileInfo(dir.filePath(QStringLiteral("cfg/deep"))).isDir());
  }
  {
    ScopedEnv config("MIROLAT_CONFIG_DIR", QString());
    ScopedEnv xdg("XDG_CONFIG_HOME", dir.filePath(QStringLiteral("xdgconfig")));
    EXPECT_EQ(ConfigFolder(), dir.filePath(QStringLiteral("xdgconfig/mirolat")));
    EXPECT_TRUE(QFileInfo(dir.filePath(QStringLiteral("xdgconfig/mirolat"))).isDir());
  }
  {
    ScopedEnv winDir("WinDir", QStringLiteral("/srv/modem"));
    EXPECT_EQ(LogDirectory(), QStringLiteral("/srv/modem/"));
  }
  {
    ScopedEnv winDir("WinDir", QString());
    ScopedEnv xdg("XDG_DATA_HOME", dir.filePath(QStringLiteral("xdgdata")));
    EXPECT_EQ(LogDirectory(), dir.filePath(QStringLiteral("xdgdata/mirolat/")));
    EXPECT_TRUE(QFileInfo(dir.filePath(QStringLiteral("xdgdata/mirolat"))).isDir());
  }
  {
    // A file where the folder should be is an access error.
    QFile blocker(dir.filePath(QStringLiteral("blocker")));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    ScopedEnv config("MIROLAT_CONFIG_DIR", dir.filePath(QStringLiteral("blocker")));
    EXPECT_THROW(ConfigFolder(), RunError);
  }
}

TEST(ConfigPaths, DataIsLookedForBesideTheProgramThenInShare) {
  const QString program = ProgramFolder();
  EXPECT_TRUE(QFileInfo(program).isDir());
  EXPECT_EQ(FindDataPath(QStringLiteral("no-such-data.txt")), QDir(program).filePath(QStringLiteral("no-such-data.txt")));
  EXPECT_TRUE(HelpFilePath().endsWith(QStringLiteral("help/index.html")));
}

}  // namespace
}  // namespace mirolat
