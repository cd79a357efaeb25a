#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>

#include "cli_test_support.h"
#include "config/config_json.h"
#include "config/configuration_io.h"

namespace mirolat {
namespace {

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

TEST_F(CliConfigTest, ExportOnAFreshFolderPrintsTheDefaultsAndCreatesTheStore) {
  ASSERT_EQ(Run({QStringLiteral("config"), QStringLiteral("export")}), 0) << err_.toStdString();
  EXPECT_EQ(out_.toUtf8(), ConfigurationToJson(Configuration{}));
  EXPECT_TRUE(err_.isEmpty());
  EXPECT_TRUE(QFile::exists(QDir(configDir_).filePath(QStringLiteral("settings.sqlite"))));
  EXPECT_EQ(StoredConfiguration(), Configuration{});
}

TEST_F(CliConfigTest, ImportThenExportGivesTheSameJson) {
  const QByteArray json = R"({
    "General": {"ModemLogFile": "Dialup.log", "MaxServices": 3, "EditLog": false},
    "Modem": {"ModemDial": "atdt"},
    "Costs": {"CalcCosts": true, "DialCost": 0.12345},
    "Services": [{"ServiceName": "Home", "ServiceNumber": "0845", "DialOption": 2,
                  "Tariffs": [{"Description": "Peak", "AppliesDays": "Mon - Fri",
                               "AppliesTimeStart": "08:00", "AppliesTimeEnd": "17:59",
                               "DialRate": 0.05, "PerMinuteRate": 0.04, "After": 60}]}],
    "Holidays": ["1998-12-25", "1999-01-01"]})";
  const QString input = Write(QStringLiteral("in.json"), json);
  ASSERT_EQ(Run({QStringLiteral("config"), QStringLiteral("import"), input}), 0) << err_.toStdString();

  const Configuration stored = StoredConfiguration();
  EXPECT_EQ(stored.ModemLogFile, QStringLiteral("Dialup.log"));
  EXPECT_EQ(stored.MaxServices, 3);
  EXPECT_EQ(stored.UsedServices, 1);
  EXPECT_EQ(stored.ModemDial, QStringLiteral("ATDT"));  // stored upper-cased
  EXPECT_DOUBLE_EQ(stored.DialCost, 0.1234);           // 1234.5 rounds to even
  EXPECT_EQ(stored.Services[0].Tariffs[0].AppliesTimeEnd, MakeTime(17, 59, 0));
  EXPECT_EQ(stored.UsedHolidays, 2);
  EXPECT_EQ(stored.Holidays[1], MakeDate(1999, 1, 1));

  const QString first = dir_.filePath(QStringLiteral("out1.json"));
  const QString second = dir_.filePath(QStringLiteral("out2.json"));
  ASSERT_EQ(Run({QStringLiteral("config"), QStringLiteral("export"), first}), 0) << err_.toStdString();
  EXPECT_TRUE(out_.isEmpty());
  ASSERT_EQ(Run({QStringLiteral("config"), QStringLiteral("import"), first}), 0) << err_.toStdString();
  ASSERT_EQ(Run({QStringLiteral("config"), QStringLiteral("export"), second}), 0) << err_.toStdString();
  EXPECT_EQ(Read(first), Read(second));
  const QJsonObject exported = QJsonDocument::fromJson(Read(first)).object();
  EXPECT_EQ(exported[QStringLiteral("Costs")][QStringLiteral("DialCost")].toDouble(), 0.1234);
}

TEST_F(CliConfigTest, ABadFileIsRefusedAndTheStoreKeepsItsConfiguration) {
  const QString good = Write(QStringLiteral("good.json"), R"({"General": {"MaxConnections": 321}})");
  ASSERT_EQ(Run({QStringLiteral("config"), QStringLiteral("import"), good}), 0) << err_.toStdString();
  const Configuration before = StoredConfiguration();

  struct Case {
    QByteArray json;
    const char* mentioned;
  } cases[] = {
      {"{ not json", "not valid JSON"},
      {R"({"General": {"MaxConnections": "many"}})", "General.MaxConnections"},
      {R"({"Holidays": ["2000-13-01"]})", "Holidays[0]"},
  };
  for (const auto& c : cases) {
    const QString path = Write(QStringLiteral("bad.json"), c.json);
    EXPECT_NE(Run({QStringLiteral("config"), QStringLiteral("import"), path}), 0) << c.json.toStdString();
    EXPECT_TRUE(err_.contains(QLatin1String(c.mentioned))) << err_.toStdString();
    EXPECT_TRUE(err_.contains(path)) << err_.toStdString();
    EXPECT_EQ(StoredConfiguration(), before);
  }
  EXPECT_NE(Run({QStringLiteral("config"), QStringLiteral("import"), dir_.filePath(QStringLiteral("missing.json"))}),
            0);
  EXPECT_TRUE(err_.contains(QStringLiteral("missing.json")));
}

TEST_F(CliConfigTest, UsageMistakesExitNonZero) {
  EXPECT_EQ(Run({QStringLiteral("config")}), 2);
  EXPECT_EQ(Run({QStringLiteral("config"), QStringLiteral("import")}), 2);
  EXPECT_EQ(Run({QStringLiteral("config"), QStringLiteral("export"), QStringLiteral("a"), QStringLiteral("b")}), 2);
  EXPECT_EQ(Run({QStringLiteral("config"), QStringLiteral("frobnicate")}), 2);
  EXPECT_TRUE(err_.contains(QStringLiteral("frobnicate")));
}

TEST_F(CliConfigTest, AnExportThatCannotBeWrittenLeavesTheTargetAlone) {
  const QString target = Write(QStringLiteral("existing.json"), "keep me");
  // A target inside a folder that does not exist cannot be written.
  EXPECT_NE(Run({QStringLiteral("config"), QStringLiteral("export"), dir_.filePath(QStringLiteral("no/such/x.json"))}),
            0);
  EXPECT_TRUE(err_.contains(QStringLiteral("no/such/x.json")));
  EXPECT_EQ(Read(target), QByteArray("keep me"));
}

TEST_F(CliConfigTest, ADamagedStoreIsReportedAndReplacedByDefaults) {
  QDir().mkpath(configDir_);
  Write(QStringLiteral("config/settings.sqlite"), "this is no database");
  ASSERT_EQ(Run({QStringLiteral("config"), QStringLiteral("export")}), 0) << err_.toStdString();
  EXPECT_TRUE(err_.contains(QStringLiteral("damaged"))) << err_.toStdString();
  EXPECT_EQ(out_.toUtf8(), ConfigurationToJson(Configuration{}));
  const QStringList aside =
      QDir(configDir_).entryList({QStringLiteral("settings.sqlite.damaged-*")}, QDir::Files);
  ASSERT_EQ(aside.size(), 1);
  EXPECT_EQ(Read(QDir(configDir_).filePath(aside[0])), QByteArray("this is no database"));
}

}  // namespace
}  // namespace mirolat
