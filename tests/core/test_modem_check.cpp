// The modem configuration check and the wizard's changes, over tables of
// modem class entries in a real settings store.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <memory>
#include <optional>

#include "core/app/modem_check.h"
#include "core/app/startup.h"
#include "core/settings/config_paths.h"
#include "core/settings/modem_store.h"

#include "file_test_support.h"

namespace mirolat {
namespace {

// One stored entry; a null text is a value that is not stored.
struct Stored {
  DeviceClass cls = DeviceClass::Modem;
  const char* desc = nullptr;
  const char* attachedOrDialog = nullptr;
  const char* loggingPath = nullptr;  // "@" stands for the log folder
  int logging = -1;                   // -1: not stored
  const char* userInit = nullptr;
};

using test::RecordingProgress;
using ContinuingReporter = test::ScriptedReporter;

// A modem class store whose writes of one value fail, or silently do nothing.
class FailingModemStore : public ModemClassStore {
 public:
  FailingModemStore(SettingsStore& s, QString failing, bool silently)
      : ModemClassStore(s), failing_(std::move(failing)), silently_(silently) {}
  void WriteValue(const QString& subKey, const QString& name, const QVariant& value, ValueKind kind) override {
    if (name.compare(failing_, Qt::CaseInsensitive) == 0) {
      if (silently_) return;
      throw RunError(ErrorCondition::DeviceIO, QStringLiteral("disk I/O error"));
    }
    ModemClassStore::WriteValue(subKey, name, value, kind);
  }

 private:
  QString failing_;
  bool silently_;
};

class ModemCheckTest : public ::testing::Test {
 protected:
  // A fresh store and log folder (called again by tests that walk a table).
  void SetUp() override {
    modems_.reset();
    store_.reset();
    dir_ = std::make_unique<QTemporaryDir>();
    ASSERT_TRUE(dir_->isValid());
    logDir_ = dir_->filePath(QStringLiteral("logs")) + QLatin1Char('/');
    QDir().mkpath(logDir_);
    store_ = std::make_unique<SettingsStore>(SettingsStore::FilePathIn(dir_->path()));
    modems_ = std::make_unique<ModemClassStore>(*store_);
  }
  QString Path(const char* text) const {
    QString s = QString::fromUtf8(text);
    if (s.startsWith(QLatin1Char('@'))) s = logDir_ + s.mid(1);
    return s;
  }
  void Put(const QList<Stored>& rows) {
    int numbers[2] = {0, 0};
    for (const Stored& r : rows) {
      const QString key = DeviceSubKey(r.cls, numbers[r.cls == DeviceClass::Modem ? 0 : 1]++);
      modems_->CreateKey(key);
      auto text = [&](const char* name, const char* value) {
        if (value) modems_->WriteValue(key, QLatin1String(name), Path(value), ValueKind::Text);
      };
      text("DriverDesc", r.desc);
      text(r.cls == DeviceClass::Modem ? "AttachedTo" : "ConfigDialog", r.attachedOrDialog);
      text("LoggingPath", r.loggingPath);
      if (r.logging >= 0) modems_->WriteValue(key, QStringLiteral("Logging"), r.logging, ValueKind::Byte);
      text("UserInit", r.userInit);
    }
  }
  ModemCheck NewCheck(int preferred = 0, const char* defaultName = "Before.txt") const {
    ModemCheck c;
    c.WindowsDir = logDir_;
    c.PreferredModem = preferred;
    c.DefaultLogFileName = QLatin1String(defaultName);
    return c;
  }
  QString Text(const QString& key, const char* name) { return modems_->ReadText(key, QLatin1String(name)); }
  QString PreferredModemSaved() {
    return store_->GetSetting(QStringLiteral("MRL"), QStringLiteral("Options"), QStringLiteral("Preferred Modem"),
                              QStringLiteral("<none>"));
  }
  std::unique_ptr<QTemporaryDir> dir_;
  QString logDir_;
  std::unique_ptr<SettingsStore> store_;
  std::unique_ptr<ModemClassStore> modems_;
  RecordingProgress progress_;
};

const Stored kGood{DeviceClass::Modem, "Standard 56K", "COM2", "@ModemLog.txt", 1, "ATE1V1"};

// --- the start-up check over tables of stored entries ----------------------

struct CheckRow {
  const char* name;
  QList<Stored> stored;
  int preferred;
  bool wizard;
  QStringList listed;
  const char* defaultName;  // after the check
  int preferredAfter;
};

TEST_F(ModemCheckTest, CheckOverTablesOfStoredEntries) {
  const Stored atv1{DeviceClass::Modem, "Standard 56K", "COM2", "@ModemLog.txt", 1, "atv1"};
  const Stored ate1{DeviceClass::Modem, "Standard 56K", "COM2", "@ModemLog.txt", 1, "ate1"};
  const Stored off{DeviceClass::Modem, "Old Modem", "COM1", nullptr, 0, nullptr};
  const Stored other{DeviceClass::Modem, "Standard 56K", "COM2", "@Other.txt", 1, "ATE1V1"};
  const Stored elsewhere{DeviceClass::Modem, "Standard 56K", "COM2", "/var/log/ppp/ModemLog.txt", 1, "ATE1"};
  const Stored cable{DeviceClass::Modem, "Dial-Up Networking Serial Cable between 2 PCs", "COM1", nullptr, -1, nullptr};
  const Stored portModem{DeviceClass::Ports, "Internal PCI Modem", "SerialUI ModemUI.dll", "@ModemLog.txt", 1, "E1"};
  const Stored portPlain{DeviceClass::Ports, "Communications Port (COM1)", "serialui.dll", nullptr, -1, nullptr};
  const Stored portNoDialog{DeviceClass::Ports, "Printer Port (LPT1)", nullptr, nullptr, -1, nullptr};
  const CheckRow rows[] = {
      {"a configured modem: no wizard, the name from its LoggingPath", {kGood}, 0, false,
       {"Standard 56K on COM2"}, "ModemLog.txt", 0},
      {"echo off (atv1): the wizard", {atv1}, 0, true, {"Standard 56K on COM2"}, "Before.txt", 0},
      {"echo on in lower case (ate1): no wizard", {ate1}, 0, false, {"Standard 56K on COM2"}, "ModemLog.txt", 0},
      {"no modem: nothing, the name as it was", {}, 0, false, {}, "Before.txt", 0},
      {"the direct cable between 2 PCs is not a modem", {cable, kGood}, 0, false, {"Standard 56K on COM2"},
       "ModemLog.txt", 0},
      {"a port entry with a modem dialog is a modem", {portPlain, portModem, portNoDialog}, 0, false,
       {"Internal PCI Modem"}, "ModemLog.txt", 0},
      {"Preferred Modem 2: only modem 2 is checked", {off, kGood}, 2, false,
       {"Old Modem on COM1", "Standard 56K on COM2"}, "ModemLog.txt", 2},
      {"Preferred Modem 1 unconfigured: the wizard", {off, kGood}, 1, true,
       {"Old Modem on COM1", "Standard 56K on COM2"}, "Before.txt", 1},
      {"no preferred modem: every modem must pass", {kGood, off}, 0, true,
       {"Standard 56K on COM2", "Old Modem on COM1"}, "Before.txt", 0},
      {"a preferred modem beyond those detected is ignored", {off, kGood}, 5, true,
       {"Old Modem on COM1", "Standard 56K on COM2"}, "Before.txt", 0},
      {"a preferred modem of 0 or below is none", {kGood}, -3, false, {"Standard 56K on COM2"}, "ModemLog.txt", 0},
      {"a log in the log folder with another name gives that name", {other}, 0, false,
       {"Standard 56K on COM2"}, "Other.txt", 0},
      {"a LoggingPath outside the log folder leaves the name alone", {elsewhere}, 0, false,
       {"Standard 56K on COM2"}, "Before.txt", 0}};
  for (const CheckRow& row : rows) {
    SCOPED_TRACE(row.name);
    SetUp();
    Put(row.stored);
    ModemCheck check = NewCheck(row.preferred);
    progress_.statuses.clear();
    EXPECT_EQ(CheckModemConfiguration(*modems_, check, progress_), row.wizard);
    EXPECT_EQ(progress_.statuses, QStringList{QStringLiteral("Checking Modem Configuration")});
    QStringList listed;
    for (const ModemEntry& e : check.ModemTable) listed.append(e.ListText());
    EXPECT_EQ(listed, row.listed);
    EXPECT_EQ(check.ModemConfigured, !row.wizard && !row.stored.isEmpty());
    EXPECT_EQ(check.DefaultLogFileName, QLatin1String(row.defaultName));
    EXPECT_EQ(check.PreferredModem, row.preferredAfter);
  }
}

TEST_F(ModemCheckTest, PreferredModemReadsOnlyItsOwnEntry) {
  Put({{DeviceClass::Modem, "Old Modem", "COM1", "@Old.txt", 0, "ATE1"}, kGood});
  ModemCheck check = NewCheck(2);
  EXPECT_FALSE(CheckModemConfiguration(*modems_, check, progress_));
  EXPECT_TRUE(check.ModemTable[0].LoggingPath.isEmpty()) << "modem 1 must not be read";
  EXPECT_TRUE(check.ModemTable[1].LoggingOn);
  EXPECT_TRUE(check.ModemTable[1].EchoOn);
}

TEST_F(ModemCheckTest, AtMostTenModemsAndTheEnumerationStopsAtTheFirstGap) {
  QList<Stored> many;
  static const char* names[] = {"M0", "M1", "M2", "M3", "M4", "M5", "M6", "M7", "M8", "M9", "M10", "M11"};
  for (const char* n : names) many.append({DeviceClass::Modem, n, nullptr, nullptr, -1, nullptr});
  Put(many);
  EXPECT_EQ(DetectModems(*modems_).size(), kMaxModems);
  EXPECT_EQ(DetectModems(*modems_).last().KeyPath, QStringLiteral("\\Modem\\0009"));
  SetUp();
  Put({kGood, {DeviceClass::Modem, "", nullptr, nullptr, -1, nullptr}, kGood});
  EXPECT_EQ(DetectModems(*modems_).size(), 1);
}

// A store that cannot be read counts as holding nothing.
TEST_F(ModemCheckTest, FailingReadsCountAsEmpty) {
  class Unreadable : public ModemClassStore {
   public:
    using ModemClassStore::ModemClassStore;
    SettingsValue ReadValue(const QString& key, const QString& name) override {
      if (name == QLatin1String("UserInit")) throw RunError(ErrorCondition::DeviceIO, QStringLiteral("gone"));
      return ModemClassStore::ReadValue(key, name);
    }
  };
  Put({kGood});
  Unreadable unreadable(*store_);
  ModemCheck check = NewCheck();
  EXPECT_TRUE(CheckModemConfiguration(unreadable, check, progress_));
  EXPECT_FALSE(check.ModemTable[0].EchoOn);
}

TEST(ModemLogName, OnlyAPathInTheLogFolderGivesItsName) {
  const struct { const char* path; const char* name; } rows[] = {
      {"/home/a/.local/share/mirolat/ModemLog.txt", "ModemLog.txt"},
      {"/home/a/.local/share/mirolat//Other.log", "Other.log"},
      {"/home/a/.local/share/mirolat/sub/ModemLog.txt", "Before.txt"},
      {"/home/a/.local/share/ModemLog.txt", "Before.txt"}, {"/home/a/.local/share/mirolat/", "Before.txt"},
      {"ModemLog.txt", "Before.txt"}, {"", "Before.txt"}};
  for (const auto& r : rows) {
    EXPECT_EQ(LogFileNameFromLoggingPath(QLatin1String(r.path), QStringLiteral("/home/a/.local/share/mirolat/"),
                                         QStringLiteral("Before.txt")), QLatin1String(r.name))
        << r.path;
  }
}

// --- Finish ---------------------------------------------------------------

TEST_F(ModemCheckTest, EchoOnKeepsTheInitialisationString) {
  const struct {
    const char* before;
    const char* after;
  } rows[] = {{"", "E1"},           {"ATV1", "ATV1E1"},     {"ATE0V1", "ATE1V1"}, {"ate0", "ate1"},
              {"AT&F", "AT&FE1"},   {"AT&FE0S0=0", "AT&FE1S0=0"}};
  for (const auto& r : rows) EXPECT_EQ(EchoOnInitString(QLatin1String(r.before)), QLatin1String(r.after)) << r.before;
}

// The chosen modem gets every value it lacks and an empty log in the log
// folder; the other modem is left alone, and the next start finds it
// configured.
TEST_F(ModemCheckTest, FinishWritesEveryMissingValueAndSavesThePreferredModem) {
  Put({{DeviceClass::Modem, "Standard 56K", "COM2", "/tmp/somewhere/Modem.log", 1, "ATV1"},
       {DeviceClass::Modem, "USB Modem", "/dev/ttyACM0", nullptr, -1, nullptr}});
  ModemCheck check = NewCheck(0, "ModemLog.txt");
  ASSERT_TRUE(CheckModemConfiguration(*modems_, check, progress_));
  ContinuingReporter reporter;
  const FinishOutcome outcome = ApplyModemChanges(*modems_, check, 2, reporter);
  ASSERT_TRUE(outcome.Succeeded()) << outcome.Failures.join(QLatin1Char('|')).toStdString();
  EXPECT_TRUE(outcome.LogFileCreated);
  const QString key = QStringLiteral("\\Modem\\0001");
  EXPECT_EQ(Text(key, "LoggingPath"), logDir_ + QStringLiteral("ModemLog.txt"));
  EXPECT_EQ(modems_->ReadValue(key, QStringLiteral("Logging")), SettingsValue(qint32(1)));
  EXPECT_EQ(Text(key, "UserInit"), QStringLiteral("E1"));
  EXPECT_TRUE(QFileInfo(logDir_ + QStringLiteral("ModemLog.txt")).isFile());
  EXPECT_EQ(QFileInfo(logDir_ + QStringLiteral("ModemLog.txt")).size(), 0);
  EXPECT_EQ(PreferredModemSaved(), QStringLiteral("2"));
  EXPECT_TRUE(check.ModemConfigured);
  EXPECT_EQ(Text(QStringLiteral("\\Modem\\0000"), "UserInit"), QStringLiteral("ATV1")) << "modem 1 is left alone";
  EXPECT_TRUE(FinishedPageText(outcome).contains(QLatin1String("A new empty modem log file has been created")));
  ModemCheck again = NewCheck(2);
  EXPECT_FALSE(CheckModemConfiguration(*modems_, again, progress_));
}

TEST_F(ModemCheckTest, FinishWithAnExistingLogLeavesItAlone) {
  Put({{DeviceClass::Modem, "Standard 56K", "COM2", "@ModemLog.txt", 0, "ATE1"}});
  const QString log = logDir_ + QStringLiteral("ModemLog.txt");
  test::WriteRaw(log, "12-06-2026 21:00:00.00 - keep me\r\n");
  ModemCheck check = NewCheck(0, "ModemLog.txt");
  ASSERT_TRUE(CheckModemConfiguration(*modems_, check, progress_));
  ContinuingReporter reporter;
  const FinishOutcome outcome = ApplyModemChanges(*modems_, check, 1, reporter);
  ASSERT_TRUE(outcome.Succeeded());
  EXPECT_FALSE(outcome.LogFileCreated);
  EXPECT_EQ(test::ReadAll(log), QByteArray("12-06-2026 21:00:00.00 - keep me\r\n"));
  EXPECT_TRUE(FinishedPageText(outcome).startsWith(QLatin1String("C O N G R A T U L A T I O N S .\n\n")));
}

TEST_F(ModemCheckTest, AFailedWriteIsReportedAndThePreferredModemIsNotSaved) {
  for (const bool silently : {false, true}) {
    SCOPED_TRACE(silently ? "a write that does nothing" : "a write that throws");
    SetUp();
    Put({{DeviceClass::Modem, "Standard 56K", "COM2", nullptr, 0, "ATV1"}});
    FailingModemStore failing(*store_, QStringLiteral("UserInit"), silently);
    ModemCheck check = NewCheck(0, "ModemLog.txt");
    ASSERT_TRUE(CheckModemConfiguration(failing, check, progress_));
    ContinuingReporter reporter;
    const FinishOutcome outcome = ApplyModemChanges(failing, check, 1, reporter);
    EXPECT_FALSE(outcome.Succeeded());
    ASSERT_EQ(outcome.Failures.size(), 1);
    EXPECT_TRUE(outcome.Failures[0].contains(QLatin1String("UserInit"))) << outcome.Failures[0].toStdString();
    EXPECT_EQ(reporter.errors.size(), 1);
    EXPECT_EQ(PreferredModemSaved(), QStringLiteral("<none>"));
    EXPECT_FALSE(check.ModemConfigured);
    const QString text = FinishedPageText(outcome);
    EXPECT_FALSE(text.contains(QLatin1String("C O N G R A T U L A T I O N S")));
    EXPECT_TRUE(text.contains(outcome.Failures[0]));
    // The other changes were made.
    EXPECT_EQ(modems_->ReadValue(QStringLiteral("\\Modem\\0000"), QStringLiteral("Logging")), SettingsValue(qint32(1)));
  }
}

TEST_F(ModemCheckTest, RunConfigWizardIsSavedAtOnce) {
  for (const bool on : {false, true}) {
    SaveRunConfigWizard(*store_, on);
    EXPECT_EQ(ReadStartupOptions(*store_).RunConfigWizard, on);
  }
}

// --- the modem class store -----------------------------------------------

TEST_F(ModemCheckTest, AddAndRemoveKeepTheEntriesContiguous) {
  NewModemEntry a{DeviceClass::Modem, QStringLiteral("A"), QStringLiteral("COM1"), {}, QStringLiteral("/x/A.txt"), 1,
                  QStringLiteral("ATE1")};
  NewModemEntry b{DeviceClass::Modem, QStringLiteral("B"), QStringLiteral("COM2"), {}, {}, -1, {}};
  NewModemEntry c{DeviceClass::Modem, QStringLiteral("C"), QStringLiteral("COM3"), {}, {}, 0, QStringLiteral("ATZ")};
  EXPECT_EQ(AddDeviceEntry(*modems_, a), 0);
  EXPECT_EQ(AddDeviceEntry(*modems_, b), 1);
  EXPECT_EQ(AddDeviceEntry(*modems_, c), 2);
  EXPECT_TRUE(RemoveDeviceEntry(*modems_, DeviceClass::Modem, 0));
  QList<DeviceClassEntry> left = ReadDeviceClass(*modems_, DeviceClass::Modem);
  ASSERT_EQ(left.size(), 2);
  EXPECT_EQ(left[0].DriverDesc, QStringLiteral("B"));
  EXPECT_TRUE(left[0].LoggingPath.isEmpty()) << "nothing of the removed modem is left on its number";
  EXPECT_TRUE(IsEmptyValue(left[0].Logging) || left[0].Logging == SettingsValue(QString()));
  EXPECT_EQ(left[1].DriverDesc, QStringLiteral("C"));
  EXPECT_EQ(left[1].UserInit, QStringLiteral("ATZ"));
  EXPECT_EQ(left[1].Logging, SettingsValue(qint32(0)));
  EXPECT_FALSE(RemoveDeviceEntry(*modems_, DeviceClass::Modem, 2));
  // A new entry takes the freed number with none of the old values.
  EXPECT_EQ(AddDeviceEntry(*modems_, b), 2);
  EXPECT_TRUE(ReadDeviceClass(*modems_, DeviceClass::Modem)[2].UserInit.isEmpty());
}

// Detection (asked for by the user) adds a serial modem once per port; one
// the user removed comes back only when detection is asked for again.
TEST_F(ModemCheckTest, SerialModemsAreAddedOncePerPort) {
  const SerialDevice usb{QStringLiteral("ttyACM0"), QStringLiteral("/dev/ttyACM0"), QStringLiteral("USB Modem"),
                         QStringLiteral("Conexant"), QStringLiteral("12345"), 0x0572, 0x1329};
  const SerialDevice uart{QStringLiteral("ttyS0"), QStringLiteral("/dev/ttyS0"), {}, {}, {}, -1, -1};
  const SerialDevice bare{QStringLiteral("ttyUSB1"), QStringLiteral("/dev/ttyUSB1"), {}, QStringLiteral("FTDI"), {},
                          0x0403, 0x6001};
  EXPECT_EQ(RegisterSerialModems(*modems_, {usb, uart, bare}),
            (QStringList{QStringLiteral("USB Modem on /dev/ttyACM0"), QStringLiteral("FTDI on /dev/ttyUSB1")}));
  EXPECT_TRUE(RegisterSerialModems(*modems_, {usb, uart, bare}).isEmpty());
  ASSERT_TRUE(RemoveDeviceEntry(*modems_, DeviceClass::Modem, 0));
  EXPECT_EQ(RegisterSerialModems(*modems_, {usb, bare}), QStringList{QStringLiteral("USB Modem on /dev/ttyACM0")});
  const QList<DeviceClassEntry> entries = ReadDeviceClass(*modems_, DeviceClass::Modem);
  ASSERT_EQ(entries.size(), 2);
  EXPECT_EQ(entries[0].AttachedTo, QStringLiteral("/dev/ttyUSB1"));
  EXPECT_EQ(entries[1].AttachedTo, QStringLiteral("/dev/ttyACM0"));
}

// --- start-up with the check ------------------------------------------------

TEST_F(ModemCheckTest, StartUpTakesTheLogNameFromAConfiguredModemAndShowsTheWizardOtherwise) {
  struct Row {
    Stored modem;
    bool wizard;
    const char* logName;
  } rows[] = {{{DeviceClass::Modem, "M", "COM1", "@Mine.txt", 1, "ATE1"}, false, "Mine.txt"},
              {{DeviceClass::Modem, "M", "COM1", "@Mine.txt", 0, "ATE1"}, true, "ModemLog.txt"}};
  for (const Row& row : rows) {
    SetUp();
    const test::ScopedEnv winDir("WinDir", logDir_.chopped(1));
    Put({row.modem});
    Configuration config;
    LocaleValues locale;
    CurrentFileState file;
    ContinuingReporter reporter;
    int wizards = 0;
    StartupHooks hooks;
    hooks.ShowModemWizard = [&](ModemClassStore&, ModemCheck& check) { ++wizards; EXPECT_EQ(check.ModemCount(), 1); };
    const StartupResult r = StartUpCore(*store_, config, locale, file, QLocale(QLocale::English), progress_,
                                        reporter, hooks);
    EXPECT_EQ(wizards, row.wizard ? 1 : 0);
    EXPECT_EQ(config.ModemLogFile, QLatin1String(row.logName));
    EXPECT_EQ(file.LogFileName, QLatin1String(row.logName));
    EXPECT_TRUE(r.ModemChecked);
  }
  // A name already in the configuration is kept.
  const test::ScopedEnv winDir("WinDir", logDir_.chopped(1));
  store_->SettingsCreateKey(Root::Machine, QStringLiteral("SOFTWARE\\MRL\\General"));
  store_->SettingsWriteValue(Root::Machine, QStringLiteral("SOFTWARE\\MRL\\General"), QStringLiteral("ModemLogFile"),
                             QStringLiteral("Kept.txt"), 1);
  Put({rows[0].modem});
  Configuration config;
  LocaleValues locale;
  CurrentFileState file;
  ContinuingReporter reporter;
  StartUpCore(*store_, config, locale, file, QLocale(QLocale::English), progress_, reporter, {});
  EXPECT_EQ(config.ModemLogFile, QStringLiteral("Kept.txt"));
}

}  // namespace
}  // namespace mirolat
