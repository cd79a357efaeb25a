#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>
#include <sys/stat.h>

#include "cli_test_support.h"
#include "core/settings/config_json.h"
#include "core/settings/configuration_io.h"
#include "support/sample_configuration.h"

namespace mirolat {
namespace {

QStringList Keys(const QJsonObject& o) {
  QStringList keys = o.keys();
  keys.sort();
  return keys;
}

class CliConfigTest : public testing::CliTest {
 protected:
  Configuration StoredConfiguration() {
    SettingsStore store(SettingsStore::FilePathIn(configDir_));
    Configuration c;
    struct : ErrorReporter {
      ErrorAnswer ReportError(const RunError&) override { return ErrorAnswer::End; }
    } reporter;
    LoadConfiguration(store, c, reporter);
    return c;
  }
};

// An export with no settings stored prints the defaults, says that none are
// stored and creates nothing (not even the configuration folder).
TEST_F(CliConfigTest, AFirstExportShowsEveryDefaultAndCreatesNothing) {
  const QJsonObject json = Export();
  EXPECT_EQ(err_, QStringLiteral("mirolat-cli: no settings are stored in '%1'; using the defaults\n").arg(configDir_));
  EXPECT_FALSE(QFileInfo::exists(configDir_));
  EXPECT_EQ(out_.toUtf8(), ConfigurationToJson(Configuration{}));
  EXPECT_EQ(Keys(json), (QStringList{QStringLiteral("Costs"), QStringLiteral("General"), QStringLiteral("Holidays"),
                                     QStringLiteral("Modem"), QStringLiteral("Services")}));
}

TEST_F(CliConfigTest, ImportStoresListsAsUsedCountsAndLeavesWindowsAlone) {
  ASSERT_EQ(ImportJson("{}"), 0);  // the defaults stored
  {
    SettingsStore store(SettingsStore::FilePathIn(configDir_));
    store.SettingsWriteValue(Root::Machine, kViewLogKey, QStringLiteral("FontName"), QStringLiteral("Courier"), 1);
    store.SettingsWriteValue(Root::Machine, kSummaryReportKey, QStringLiteral("WinWidth"), 7777, 4);
  }
  const QByteArray json = R"({
    "Modem": {"ModemReads": "rx bytes"},
    "Costs": {"CalcCosts": false},
    "Services": [{"ServiceName": "A", "ServiceNumber": "1", "DialOption": 2, "ServiceOption": 1,
                  "Tariffs": [{"Description": "First", "AppliesDays": "Everyday", "AppliesTimeStart": "07:30",
                               "AppliesTimeEnd": "19:59", "PerMinuteRate": 0.0125},
                              {"Description": "Second", "AppliesDays": "Holidays"}]},
                 {"ServiceName": "B", "ServiceNumber": "2", "DialOption": 1, "ServiceOption": 1, "AfterMeg": 2.5}],
    "Holidays": ["1999-01-01", "1999-12-31", "2000-02-29"]})";
  ASSERT_EQ(ImportJson(json), 0) << err_.toStdString();

  EXPECT_EQ(Stored(kGeneralKey, "UsedServices"), SettingsValue(2));
  EXPECT_EQ(Stored(kServicesKey, "UsedTariffs1"), SettingsValue(2));
  EXPECT_EQ(Stored(kServicesKey, "UsedTariffs2"), SettingsValue(0));
  EXPECT_EQ(Stored(kServicesKey, "Tariff1-1AppliesTimeStart"), SettingsValue(QStringLiteral("07:30:00")));
  EXPECT_EQ(Stored(kServicesKey, "Tariff1-1PerMinuteRate"), SettingsValue(125));
  EXPECT_EQ(Stored(kServicesKey, "Tariff1-2Description"), SettingsValue(QStringLiteral("Second")));
  EXPECT_EQ(Stored(kServicesKey, "AfterMeg2"), SettingsValue(2));  // 2.5 rounds to the even 2
  EXPECT_EQ(Stored(kModemKey, "ModemReads"), SettingsValue(QStringLiteral("RX BYTES")));
  EXPECT_EQ(Stored(kCostsKey, "CalcCosts"), SettingsValue(QStringLiteral("False")));
  EXPECT_EQ(Stored(kCostsKey, "DialCost"), SettingsValue(2000));  // absent: its default
  EXPECT_EQ(Stored(kHolidaysKey, "UsedHolidays"), SettingsValue(3));
  EXPECT_EQ(Stored(kHolidaysKey, " 1"), SettingsValue(36161));
  EXPECT_EQ(Stored(kHolidaysKey, " 3"), SettingsValue(MakeDate(2000, 2, 29)));
  EXPECT_EQ(Stored(kViewLogKey, "FontName"), SettingsValue(QStringLiteral("Courier")));
  EXPECT_EQ(Stored(kSummaryReportKey, "WinWidth"), SettingsValue(7777));

  // A stored False survives the next start; the export shows what was stored.
  const QJsonObject exported = Export();
  EXPECT_FALSE(exported[QStringLiteral("Costs")][QStringLiteral("CalcCosts")].toBool());
  EXPECT_EQ(exported[QStringLiteral("Costs")][QStringLiteral("DialCost")].toDouble(), 0.2);
  EXPECT_EQ(exported[QStringLiteral("Modem")][QStringLiteral("ModemReads")].toString(), QStringLiteral("RX BYTES"));
  const QJsonArray services = exported[QStringLiteral("Services")].toArray();
  ASSERT_EQ(services.size(), 2);
  const QJsonObject tariff = services[0][QStringLiteral("Tariffs")].toArray()[0].toObject();
  EXPECT_EQ(tariff[QStringLiteral("AppliesTimeStart")].toString(), QStringLiteral("07:30"));
  EXPECT_EQ(tariff[QStringLiteral("AppliesTimeEnd")].toString(), QStringLiteral("19:59"));
  EXPECT_EQ(tariff[QStringLiteral("PerMinuteRate")].toDouble(), 0.0125);
  EXPECT_EQ(services[1][QStringLiteral("AfterMeg")].toDouble(), 2);
  EXPECT_EQ(exported[QStringLiteral("Holidays")].toArray(),
            (QJsonArray{QStringLiteral("1999-01-01"), QStringLiteral("1999-12-31"), QStringLiteral("2000-02-29")}));
}

// The sample record through import and export comes back as it went in,
// upper-cased response texts and all; amounts are stored to four places.
TEST_F(CliConfigTest, ImportThenExportGivesTheSameJson) {
  Configuration sample = test::SampleConfiguration();
  sample.ModemDial = QStringLiteral("atdt");
  sample.DialCost = 0.12345;
  ASSERT_EQ(Import(Write(QStringLiteral("in.json"), ConfigurationToJson(sample))), 0) << err_.toStdString();
  const Configuration stored = StoredConfiguration();
  EXPECT_EQ(stored.ModemDial, QStringLiteral("ATDT"));
  EXPECT_DOUBLE_EQ(stored.DialCost, 0.1234);  // 1234.5 rounds to even
  sample.ModemDial = stored.ModemDial;
  sample.DialCost = stored.DialCost;
  const QString out = dir_.filePath(QStringLiteral("out.json"));
  ASSERT_EQ(Run(Words("config export") << out), 0) << err_.toStdString();
  EXPECT_TRUE(out_.isEmpty());
  EXPECT_EQ(Read(out), ConfigurationToJson(sample));
}

TEST_F(CliConfigTest, ABadFileIsRefusedAndTheStoreKeepsItsConfiguration) {
  const QString good = Write(QStringLiteral("good.json"), R"({"General": {"MaxConnections": 321}})");
  ASSERT_EQ(Import(good), 0) << err_.toStdString();
  const Configuration before = StoredConfiguration();

  struct Case {
    QByteArray json;
    const char* mentioned;
  } cases[] = {
      {"{ not json", "not valid JSON"},
      {R"({"General": {"MaxConnections": "many"}})", "General.MaxConnections"},
      {R"({"Holidays": ["2000-13-01"]})", "Holidays[0]"},
      {R"({"General": {"ModemLogFile": "../../home/user/thesis.tex"}})", "General.ModemLogFile"},
      {R"({"General": {"ModemLogFile": "/home/user/thesis.tex"}})", "General.ModemLogFile"},
      {R"({"General": {"ModemLogFile": "*.txt"}})", "General.ModemLogFile"},
      {R"({"General": {"ModemLogFile": ".."}})", "General.ModemLogFile"},
      {R"({"General": {"ModemLogFile": ""}})", "General.ModemLogFile"},
      // What the Options dialog refuses, a line for each value.
      {R"({"General": {"MaxConnections": -1, "NoDisconDuration": -60}})",
       "bad.json' is not a usable configuration: General.MaxConnections: -1 is not a whole number from 1 to 32767\n"
       "mirolat-cli: '{path}' is not a usable configuration: General.NoDisconDuration: -60 is not a duration"},
  };
  for (const auto& c : cases) {
    const QString path = Write(QStringLiteral("bad.json"), c.json);
    const QString mentioned = QString::fromLatin1(c.mentioned).replace(QStringLiteral("{path}"), path);
    EXPECT_NE(Import(path), 0) << c.json.toStdString();
    EXPECT_TRUE(err_.contains(mentioned)) << err_.toStdString();
    EXPECT_TRUE(err_.contains(path)) << err_.toStdString();
    EXPECT_EQ(StoredConfiguration(), before);
  }
  EXPECT_NE(Import(dir_.filePath(QStringLiteral("missing.json"))), 0);
  EXPECT_TRUE(err_.contains(QStringLiteral("missing.json")));
}

TEST_F(CliConfigTest, UsageMistakesExitNonZero) {
  EXPECT_EQ(Run(Words("config")), 2);
  EXPECT_EQ(Run(Words("config import")), 2);
  EXPECT_EQ(Run(Words("config export a b")), 2);
  EXPECT_EQ(Run(Words("config frobnicate")), 2);
  EXPECT_TRUE(err_.contains(QStringLiteral("frobnicate")));
}

TEST_F(CliConfigTest, AnExportThatCannotBeWrittenLeavesTheTargetAlone) {
  const QString target = Write(QStringLiteral("existing.json"), "keep me");
  // A target inside a folder that does not exist cannot be written.
  EXPECT_NE(Run(Words("config export") << dir_.filePath(QStringLiteral("no/such/x.json"))), 0);
  EXPECT_TRUE(err_.contains(QStringLiteral("no/such/x.json")));
  EXPECT_EQ(Read(target), QByteArray("keep me"));
}

TEST_F(CliConfigTest, ADamagedStoreIsReportedAndReplacedByDefaults) {
  QDir().mkpath(configDir_);
  Write(QStringLiteral("config/settings.sqlite"), "this is no database");
  ASSERT_EQ(Run(Words("config export")), 0) << err_.toStdString();
  EXPECT_TRUE(err_.contains(QStringLiteral("damaged"))) << err_.toStdString();
  EXPECT_EQ(out_.toUtf8(), ConfigurationToJson(Configuration{}));
  const QStringList aside =
      QDir(configDir_).entryList({QStringLiteral("settings.sqlite.damaged-*")}, QDir::Files);
  ASSERT_EQ(aside.size(), 1);
  EXPECT_EQ(Read(QDir(configDir_).filePath(aside[0])), QByteArray("this is no database"));
}

// Only a regular file of a sensible size is read: a FIFO would block the
// import for ever and /dev/zero would fill the memory.
TEST_F(CliConfigTest, ImportReadsOnlyASmallRegularFile) {
  ASSERT_EQ(Import(Write(QStringLiteral("good.json"), R"({"General": {"MaxConnections": 321}})")), 0);
  const Configuration before = StoredConfiguration();

  const QString fifo = dir_.filePath(QStringLiteral("pipe.json"));
  ASSERT_EQ(mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
  const QString huge = dir_.filePath(QStringLiteral("huge.json"));
  {
    QFile f(huge);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    ASSERT_TRUE(f.resize(257LL * 1024 * 1024));  // sparse: no disk space used
  }
  struct Case {
    QString path;
    const char* mentioned;
  } cases[] = {
      {fifo, "not a regular file"},
      {QStringLiteral("/dev/zero"), "not a regular file"},
      {dir_.path(), "not a regular file"},
      {huge, "too large"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(Import(c.path), 1) << c.path.toStdString();
    EXPECT_TRUE(err_.contains(c.path)) << err_.toStdString();
    EXPECT_TRUE(err_.contains(QLatin1String(c.mentioned))) << err_.toStdString();
    EXPECT_EQ(StoredConfiguration(), before);
  }
}

// A stored record that cannot be loaded no longer locks every command out:
// the store is moved aside with its message, export shows the defaults, and
// import replaces the record without needing the old one.
TEST_F(CliConfigTest, AnUnusableStoredRecordIsMovedAsideAndImportReplacesIt) {
  struct Case {
    const char* name;
    QString key;
    QVariant value;
    int kind;
  } cases[] = {
      {"UsedServices", kGeneralKey, 32767, 4},
      {"MaxServices", kGeneralKey, QStringLiteral("abc"), 1},
      {"UsedHolidays", kHolidaysKey, 500, 4},
      {"ModemLogFile", kGeneralKey, QStringLiteral("../../home/user/thesis.tex"), 1},
      // Values the Options dialog refuses, as config import once stored them.
      {"MaxConnections", kGeneralKey, -1, 4},
      {"NoDisconDuration", kGeneralKey, 2147483647, 4},
      {"MaxConnectDays", kGeneralKey, -32768, 4},
  };
  for (const Case& c : cases) {
    QDir(configDir_).removeRecursively();
    auto spoil = [&] {
      ASSERT_EQ(ImportJson("{}"), 0);
      SettingsStore store(SettingsStore::FilePathIn(configDir_));
      store.SettingsWriteValue(Root::Machine, c.key, QLatin1String(c.name), c.value, c.kind);
    };
    spoil();
    ASSERT_EQ(Run(Words("config export")), 0) << c.name << ": " << err_.toStdString();
    EXPECT_TRUE(err_.contains(QStringLiteral("damaged"))) << err_.toStdString();
    EXPECT_TRUE(err_.contains(QLatin1String(c.name))) << err_.toStdString();
    EXPECT_EQ(out_.toUtf8(), ConfigurationToJson(Configuration{})) << c.name;

    spoil();
    ASSERT_EQ(ImportJson(R"({"General": {"MaxConnections": 321}, "Services": [{"ServiceName": "New",
                            "ServiceNumber": "1", "DialOption": 1, "ServiceOption": 1}]})"),
              0)
        << c.name << ": " << err_.toStdString();
    EXPECT_TRUE(err_.contains(QLatin1String(c.name))) << err_.toStdString();
    const Configuration stored = StoredConfiguration();
    EXPECT_EQ(stored.MaxConnections, 321) << c.name;
    ASSERT_EQ(stored.UsedServices, 1) << c.name;
    EXPECT_EQ(stored.Services[0].ServiceName, QStringLiteral("New"));
    EXPECT_EQ(QDir(configDir_).entryList({QStringLiteral("settings.sqlite.damaged-*")}, QDir::Files).size(), 2)
        << c.name;
  }
}

}  // namespace
}  // namespace mirolat
