// The store and the JSON written by an earlier version (tests/data/compat,
// written by main at 87e4e24 from SampleConfiguration) load unchanged, and
// what this version writes is what that version wrote, value for value, but
// for FlexRate2's new name. The sample sets every field of config_fields.h
// away from its default, so a field left out of a reader or writer shows here.
#include <gtest/gtest.h>
#include <sqlite3.h>

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>
#include <map>

#include "core/settings/config_fields.h"
#include "core/settings/config_json.h"
#include "core/settings/configuration_io.h"
#include "support/sample_configuration.h"

namespace mirolat {
namespace {

const QString kCompatDir = QStringLiteral(MIROLAT_TEST_DATA_DIR "/compat/");

class Quiet : public ErrorReporter {
 public:
  QStringList messages;
  ErrorAnswer ReportError(const RunError& e) override {
    messages.append(e.description());
    return ErrorAnswer::End;
  }
};

// Every value of a store as "key\name" -> "kind|value", through SQLite.
std::map<QString, QString> AllValues(const QString& path) {
  sqlite3* db = nullptr;
  EXPECT_EQ(sqlite3_open(QFile::encodeName(path).constData(), &db), SQLITE_OK);
  sqlite3_stmt* stmt = nullptr;
  sqlite3_prepare_v2(db, "SELECT k.name || '\\' || v.name, v.kind || '|' || quote(v.value) FROM vals v JOIN keys k ON k.id = v.key;",
                     -1, &stmt, nullptr);
  std::map<QString, QString> values;
  while (sqlite3_step(stmt) == SQLITE_ROW) {
    values[QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(stmt, 0)))] =
        QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(stmt, 1)));
  }
  sqlite3_finalize(stmt);
  sqlite3_close(db);
  return values;
}

// Each field of a table holds something other than its default in the sample.
template <class Record>
void ExpectAwayFromDefault(std::span<const FieldSpec<Record>> fields, const Record& sample, const Record& defaults) {
  for (const FieldSpec<Record>& f : fields) {
    const bool differs = std::visit([&](auto member) { return sample.*member != defaults.*member; }, f.Member);
    EXPECT_TRUE(differs) << f.Name;
  }
}

TEST(ConfigCompat, TheSampleSetsEveryFieldOfTheTables) {
  const Configuration sample = test::SampleConfiguration();
  const Configuration defaults;
  ExpectAwayFromDefault(RecordFields(), sample, defaults);
  ExpectAwayFromDefault(ViewLogFields(), sample.ViewLog, defaults.ViewLog);
  ExpectAwayFromDefault(ReportWindowFields(), sample.SummaryReport, defaults.SummaryReport);
  ExpectAwayFromDefault(ReportWindowFields(), sample.DetailReport, defaults.DetailReport);
  ExpectAwayFromDefault(ServiceFields(), sample.Services[0], defaults.Services[0]);
  ExpectAwayFromDefault(TariffFields(), sample.Services[0].Tariffs[0], defaults.Services[0].Tariffs[0]);
}

TEST(ConfigCompat, AStoreOfTheEarlierVersionLoadsEveryField) {
  QTemporaryDir dir;
  const QString path = SettingsStore::FilePathIn(dir.path());
  ASSERT_TRUE(QFile::copy(kCompatDir + QStringLiteral("settings.sqlite"), path));
  QFile::setPermissions(path, QFileDevice::ReadOwner | QFileDevice::WriteOwner);
  const Configuration expected = test::SampleConfiguration();
  for (const char* pass : {"parsed (the earlier image is not this version's)", "from the image this load kept"}) {
    SettingsStore store(path);
    Configuration loaded;
    Quiet reporter;
    EXPECT_FALSE(LoadConfigurationWithDefaults(store, loaded, reporter)) << pass << ": nothing to fill in";
    EXPECT_TRUE(reporter.messages.isEmpty() && store.DamageMessage().isEmpty()) << pass;
    EXPECT_EQ(loaded, expected) << pass;
  }
}

TEST(ConfigCompat, ThisVersionStoresWhatTheEarlierOneStored) {
  QTemporaryDir dir;
  Configuration sample = test::SampleConfiguration();
  Quiet reporter;
  {
    SettingsStore store(SettingsStore::FilePathIn(dir.path()));
    ASSERT_TRUE(SaveConfiguration(store, sample, reporter));
    // The report windows' flag off, written by their own save.
    ASSERT_TRUE(SaveReportWindowSettings(store, sample, reporter));
  }
  std::map<QString, QString> earlier = AllValues(kCompatDir + QStringLiteral("settings.sqlite"));
  std::map<QString, QString> now = AllValues(SettingsStore::FilePathIn(dir.path()));
  for (int n = 1; n <= sample.UsedServices; ++n) {
    const QString old = QStringLiteral("Services\\FlexRate2%1").arg(n);
    ASSERT_EQ(earlier.count(old), 1u) << n;
    earlier[QStringLiteral("Services\\FlexRate2-%1").arg(n)] = earlier[old];
    earlier.erase(old);
  }
  // One encoding of the flag now: the text False (the earlier version wrote the number 0).
  EXPECT_EQ(earlier[QStringLiteral("ViewReport\\SaveSettings")], QStringLiteral("4|0"));
  earlier[QStringLiteral("ViewReport\\SaveSettings")] = QStringLiteral("1|'False'");
  // Budgets are new: the overall one under its own key, each service's beside
  // its other values. The sample's are the defaults.
  int budgetValues = 0;
  for (auto it = now.begin(); it != now.end();) {
    const bool budget = it->first.startsWith(QLatin1String("Budget\\")) ||
                        std::any_of(BudgetFields().begin(), BudgetFields().end(), [&](const auto& f) {
                          return it->first.startsWith(QLatin1String("Services\\") + QLatin1String(f.Name));
                        });
    if (budget) {
      EXPECT_EQ(earlier.count(it->first), 0u) << it->first.toStdString();
      ++budgetValues;
      it = now.erase(it);
    } else {
      ++it;
    }
  }
  EXPECT_EQ(budgetValues, static_cast<int>(BudgetFields().size()) * (sample.UsedServices + 1));
  EXPECT_EQ(now, earlier);
}

TEST(ConfigCompat, AJsonOfTheEarlierVersionLoadsAndIsWrittenAlike) {
  QFile file(kCompatDir + QStringLiteral("config.json"));
  ASSERT_TRUE(file.open(QIODevice::ReadOnly));
  const QByteArray json = file.readAll();
  const Configuration sample = test::SampleConfiguration();
  Configuration loaded;
  QString error;
  ASSERT_TRUE(ConfigurationFromJson(json, sample, loaded, error)) << error.toStdString();
  EXPECT_EQ(loaded, sample);  // the window layouts, which the JSON leaves out, from the base
  // Written alike but for the budgets, which are new.
  QJsonObject written = QJsonDocument::fromJson(ConfigurationToJson(sample)).object();
  EXPECT_TRUE(written.contains(QLatin1String("Budget")));
  written.remove(QLatin1String("Budget"));
  QJsonArray services = written[QLatin1String("Services")].toArray();
  for (auto service : services) {
    QJsonObject object = service.toObject();
    EXPECT_TRUE(object.contains(QLatin1String("Budget")));
    object.remove(QLatin1String("Budget"));
    service = object;
  }
  written[QLatin1String("Services")] = services;
  EXPECT_EQ(written, QJsonDocument::fromJson(json).object());
}

}  // namespace
}  // namespace mirolat
