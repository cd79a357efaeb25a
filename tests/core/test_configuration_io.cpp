#include <gtest/gtest.h>
#include <sqlite3.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <functional>

#include "core/settings/config_fields.h"
#include "core/settings/configuration_io.h"
#include "support/sample_configuration.h"

namespace mirolat {
namespace {

constexpr int kText = 1;
constexpr int kByte = 3;
constexpr int kNumber = 4;

// Keeps what it is told and answers Continue, or what onError says.
class ScriptedReporter : public ErrorReporter {
 public:
  std::function<ErrorAnswer()> onError;
  QStringList messages;
  ErrorAnswer ReportError(const RunError& error) override {
    messages.append(error.description());
    return onError ? onError() : ErrorAnswer::Continue;
  }
};

SettingsValue T(const char* s) { return QString::fromUtf8(s); }
SettingsValue N(qint32 n) { return n; }

// Runs the statements of `sql` on the database at `path` through a connection
// of its own; the first column of the first row they give.
QByteArray SqlOn(const QString& path, const QByteArray& sql) {
  sqlite3* db = nullptr;
  EXPECT_EQ(sqlite3_open(QFile::encodeName(path).constData(), &db), SQLITE_OK);
  QByteArray value;
  for (const char* rest = sql.constData(); *rest != '\0';) {
    sqlite3_stmt* stmt = nullptr;
    EXPECT_EQ(sqlite3_prepare_v2(db, rest, -1, &stmt, &rest), SQLITE_OK) << sqlite3_errmsg(db);
    if (stmt == nullptr) break;
    const int rc = sqlite3_step(stmt);
    EXPECT_TRUE(rc == SQLITE_ROW || rc == SQLITE_DONE) << sqlite3_errmsg(db);
    if (rc == SQLITE_ROW && value.isNull()) {
      value = QByteArray(static_cast<const char*>(sqlite3_column_blob(stmt, 0)), sqlite3_column_bytes(stmt, 0));
    }
    sqlite3_finalize(stmt);
  }
  sqlite3_close(db);
  return value;
}

class ConfigurationIoTest : public ::testing::Test {
 protected:
  SettingsStore& Store() {
    if (!store_) store_ = std::make_unique<SettingsStore>(SettingsStore::FilePathIn(dir_.path()));
    return *store_;
  }
  // A store of its own in a folder of its own, for a row of a table.
  void NewStore() {
    const QString folder = dir_.filePath(QString::number(++stores_));
    QDir().mkpath(folder);
    store_ = std::make_unique<SettingsStore>(SettingsStore::FilePathIn(folder));
  }
  void Put(const QString& key, const char* name, const QVariant& value, int kind) {
    Store().SettingsCreateKey(Root::Machine, key);
    Store().SettingsWriteValue(Root::Machine, key, QString::fromLatin1(name), value, kind);
  }
  SettingsValue Get(const QString& key, const char* name) {
    return Store().SettingsReadValue(Root::Machine, key, QString::fromLatin1(name));
  }
  QByteArray Sql(const QByteArray& sql) { return SqlOn(Store().FilePath(), sql); }
  // The kept image of the record while it is current, else empty.
  QByteArray CurrentImage() {
    return Sql("SELECT d.data FROM derived d JOIN changes c ON c.id = 1"
               " WHERE d.name = 'configuration record' AND d.changes = c.count;");
  }
  Configuration Reload() {
    Configuration c;
    ScriptedReporter r;
    LoadConfiguration(Store(), c, r);
    EXPECT_TRUE(r.messages.isEmpty()) << r.messages.join(QLatin1Char('\n')).toStdString();
    EXPECT_TRUE(Store().DamageMessage().isEmpty()) << Store().DamageMessage().toStdString();
    return c;
  }

  QTemporaryDir dir_;
  int stores_ = 0;
  std::unique_ptr<SettingsStore> store_;
  ScriptedReporter reporter_;
};

// The sample with a service table of ten.
Configuration TwoServiceConfiguration() {
  Configuration c = test::SampleConfiguration();
  c.MaxServices = 10;
  c.Services.resize(11);
  return c;
}

// A save stores amounts × 10000, plain numbers and font sizes as they are,
// each rounded to the nearest whole number, halves to even, and the response
// texts upper-cased.
TEST_F(ConfigurationIoTest, ASaveRoundsNumbersHalfToEvenAndUpperCasesResponses) {
  const struct {
    double value;
    qint32 money, plain;
  } cases[] = {{0.12345, 1234, 0}, {-1.23455, -12346, -1}, {900.6, 9006000, 901}, {900.5, 9005000, 900},
               {901.5, 9015000, 902}};
  for (const auto& c : cases) {
    Configuration config;
    config.DialCost = config.NoDisconDuration = c.value;
    config.SummaryReport.FontSize = static_cast<float>(c.value);
    config.ModemDial = QStringLiteral("recv: atd");
    ASSERT_TRUE(SaveConfiguration(Store(), config, reporter_));
    EXPECT_EQ(Get(kCostsKey, "DialCost"), N(c.money)) << c.value;
    EXPECT_EQ(Get(kGeneralKey, "NoDisconDuration"), N(c.plain)) << c.value;
    EXPECT_EQ(Get(kSummaryReportKey, "FontSize"), N(c.plain)) << c.value;
    EXPECT_EQ(config.ModemDial, QStringLiteral("RECV: ATD"));
    EXPECT_EQ(Get(kModemKey, "ModemDial"), T("RECV: ATD"));
  }
}

// A flag stored as text, a number or a byte reads as it says; one that counts
// as missing (absent, empty or 0) takes its default, and start-up stores it.
TEST_F(ConfigurationIoTest, FlagsKeepWhatWasStoredAndDefaultWhenMissing) {
  struct Case {
    const char* label;
    QVariant stored;  // invalid: absent
    int kind;
    bool editLog;       // EditLog defaults to true
    bool autoOptimize;  // AutoOptimize defaults to false
  } cases[] = {
      {"absent", QVariant(), 0, true, false},
      {"False", QStringLiteral("False"), kText, false, false},
      {"True", QStringLiteral("True"), kText, true, true},
      {"empty text", QString(), kText, true, false},
      {"a number as text", QStringLiteral("7"), kText, true, true},
      {"number 0", 0, kNumber, true, false},
      {"number -1", -1, kNumber, true, true},
      {"byte 1", 1, kByte, true, true},
  };
  for (const auto& c : cases) {
    NewStore();
    Store().SettingsCreateKey(Root::Machine, kGeneralKey);
    if (c.stored.isValid()) {
      Put(kGeneralKey, "EditLog", c.stored, c.kind);
      Put(kGeneralKey, "AutoOptimize", c.stored, c.kind);
    }
    Configuration config;
    EXPECT_TRUE(LoadConfigurationWithDefaults(Store(), config, reporter_));
    EXPECT_EQ(config.EditLog, c.editLog) << c.label;
    EXPECT_EQ(config.AutoOptimize, c.autoOptimize) << c.label;
    EXPECT_EQ(Get(kGeneralKey, "EditLog"), c.editLog ? T("True") : T("False")) << c.label;
  }
}

// What counts as missing takes its default at start-up, and the defaults are
// stored: a zero number or an empty text whose default is not, the viewer's
// settings as a whole without a font name, the report windows' without a
// summary window height, and the dial-up and hourly costs without CalcCosts
// (CostPerMeg is kept). The next start has nothing to fill in and writes
// nothing.
TEST_F(ConfigurationIoTest, MissingValuesTakeTheirDefaults) {
  Configuration saved;
  saved.MaxServices = 0;
  saved.MaxConnections = 0;
  saved.MaxConnectDays = 0;
  saved.NoDisconDuration = 0;
  saved.MaxLogSize = 0;
  saved.ModemLogFile.clear();
  saved.ModemReads.clear();
  saved.ViewLog = ViewLogSettings{true, QString(), 12, true, true, 100, 200, 2};
  saved.SummaryReport.WinHeight = 0;
  saved.SummaryReport.WinWidth = 1;
  saved.DetailReport.WinWidth = 2;
  saved.ReportListView = false;
  saved.ReportAutoArrange = true;
  saved.DialCost = 0.5;
  saved.CostPerHour = 0;
  saved.CostPerMeg = 0.07;
  ASSERT_TRUE(SaveConfiguration(Store(), saved, reporter_));
  Sql("DELETE FROM vals WHERE fold = 'calccosts';");
  Configuration expected;
  expected.CostPerMeg = 0.07;
  Configuration config;
  EXPECT_TRUE(LoadConfigurationWithDefaults(Store(), config, reporter_));
  EXPECT_EQ(config, expected);
  EXPECT_EQ(Get(kGeneralKey, "MaxServices"), N(10));
  EXPECT_EQ(Get(kCostsKey, "DialCost"), N(2000));
  EXPECT_EQ(Get(kCostsKey, "CalcCosts"), T("True"));

  Configuration again;
  EXPECT_FALSE(LoadConfigurationWithDefaults(Store(), again, reporter_));
  EXPECT_EQ(again, expected);
  EXPECT_TRUE(reporter_.messages.isEmpty());
}

// Values stored in other forms than this version writes read as their
// field's kind says.
TEST_F(ConfigurationIoTest, OtherStoredFormsReadAsTheirFieldsKind) {
  Put(kGeneralKey, "MaxConnections", QStringLiteral(" 250 "), kText);
  Put(kGeneralKey, "NoDisconDuration", QStringLiteral("90.5"), kText);
  Put(kGeneralKey, "MaxLogSize", 100000, kNumber);  // a 32-bit field beyond 16 bits
  Put(kGeneralKey, "ModemLogFile", 42, kNumber);
  Configuration config;
  LoadConfiguration(Store(), config, reporter_);
  EXPECT_EQ(config.MaxConnections, 250);
  EXPECT_EQ(config.NoDisconDuration, 90);
  EXPECT_EQ(config.MaxLogSize, 100000);
  EXPECT_EQ(config.ModemLogFile, QStringLiteral("42"));
  EXPECT_TRUE(reporter_.messages.isEmpty());
  EXPECT_TRUE(Store().DamageMessage().isEmpty()) << Store().DamageMessage().toStdString();
}

// A stored value the record cannot hold, one row for each rule and boundary
// (text that is no number, flag or time: the table-driven test below), makes
// the store count as damaged: the file is moved aside with its message,
// the program goes on with the defaults (saved in a fresh store, which the
// next load takes as it is), and the bad value is still there in the file
// moved aside, never overwritten.
TEST_F(ConfigurationIoTest, AnUnusableStoredValueMovesTheStoreAsideAndDefaultsApply) {
  struct Case {
    QString key;
    const char* name;
    QVariant value;  // written through the store; invalid: `sql` writes it
    int kind;
    const char* sql;  // the value column and kind set straight in the database
  } cases[] = {
      {kGeneralKey, "UsedServices", 11, kNumber, nullptr},  // MaxServices is 10
      {kGeneralKey, "UsedServices", -1, kNumber, nullptr},
      {kGeneralKey, "MaxServices", 32767, kNumber, nullptr},
      {kServicesKey, "UsedTariffs1", 11, kNumber, nullptr},
      {kHolidaysKey, "UsedHolidays", 101, kNumber, nullptr},
      {kGeneralKey, "MaxConnections", 32768, kNumber, nullptr},
      {kGeneralKey, "MaxLogSize", QStringLiteral("2147483648"), kText, nullptr},
      {kCostsKey, "CostPerMeg", QStringLiteral("inf"), kText, nullptr},
      {kServicesKey, "Tariff1-1AppliesTimeStart", 3600, kNumber, nullptr},
      {kGeneralKey, "ModemLogFile", QStringLiteral("../../home/user/thesis.tex"), kText, nullptr},
      {kModemKey, "ModemReads", QString(256, u'X'), kText, nullptr},
      {kServicesKey, "ServiceNumber1", QString(65, u'5'), kText, nullptr},
      {kServicesKey, "Tariff1-1Description", QString(256, u'x'), kText, nullptr},
      // What the dialogs refuse.
      {kGeneralKey, "MaxConnections", -1, kNumber, nullptr},
      {kServicesKey, "DialOption1", 3, kNumber, nullptr},
      {kGeneralKey, "UsedServices", QVariant(), 0, "kind = 7, value = 3"},
      {kGeneralKey, "MaxConnections", QVariant(), 0, "kind = 4, value = 'many'"},
      {kGeneralKey, "MaxLogSize", QVariant(), 0, "kind = 4, value = 2147483648"},
      {kViewLogKey, "FontBold", QVariant(), 0, "kind = 3, value = 256"},
      {kGeneralKey, "ModemLogFile", QVariant(), 0, "kind = 1, value = x'00ff'"},
  };
  for (const auto& c : cases) {
    const QByteArray fold = QByteArray(c.name).toLower();
    SCOPED_TRACE(fold.constData() + (" " + c.value.toString().left(20)).toStdString());
    NewStore();
    Configuration base = TwoServiceConfiguration();
    ASSERT_TRUE(SaveConfiguration(Store(), base, reporter_));
    if (c.sql == nullptr) {
      Store().SettingsWriteValue(Root::Machine, c.key, QLatin1String(c.name), c.value, c.kind);
    } else {
      Sql("UPDATE vals SET " + QByteArray(c.sql) + " WHERE fold = '" + fold + "';");
    }
    const QByteArray row = "SELECT kind || '|' || quote(value) FROM vals WHERE fold = '" + fold + "';";
    const QByteArray stored = Sql(row);
    const QString path = Store().FilePath();
    Configuration config;
    EXPECT_TRUE(LoadConfigurationWithDefaults(Store(), config, reporter_));
    EXPECT_TRUE(Store().DamageMessage().contains(c.key + QLatin1Char('\\') + QLatin1String(c.name)))
        << Store().DamageMessage().toStdString();
    EXPECT_EQ(config, Configuration{});
    EXPECT_EQ(SqlOn(Store().DamagedFilePath(), row), stored);

    store_ = std::make_unique<SettingsStore>(path);
    Configuration next;
    EXPECT_FALSE(LoadConfigurationWithDefaults(Store(), next, reporter_));
    EXPECT_TRUE(Store().DamageMessage().isEmpty());
    EXPECT_EQ(next, Configuration{});
  }
  EXPECT_TRUE(reporter_.messages.isEmpty()) << reporter_.messages.join(QLatin1Char('|')).toStdString();
}

// FlexRate2 of service n was stored as FlexRate2<n>, which is also FlexRate
// of service 2<n>: from 21 services up the two overwrote each other. It is
// stored as FlexRate2-<n>; the old name is read where no other value has it.
TEST_F(ConfigurationIoTest, FlexRate2NeverSharesANameWithAnotherServicesValue) {
  Configuration saved = test::ScaledConfiguration(25, 1);
  for (int n = 0; n < 25; ++n) {
    saved.Services[static_cast<size_t>(n)].FlexRate = 0.5 + n;
    saved.Services[static_cast<size_t>(n)].FlexRate2 = 100.25 + n;
  }
  ASSERT_TRUE(SaveConfiguration(Store(), saved, reporter_));
  EXPECT_EQ(Get(kServicesKey, "FlexRate21"), N(205000));
  EXPECT_EQ(Get(kServicesKey, "FlexRate2-1"), N(1002500));
  EXPECT_EQ(Get(kHolidaysKey, " 100"), N(saved.Holidays[99]));
  Sql("DELETE FROM derived;");  // parsed, all hundred holidays too
  EXPECT_EQ(Reload(), saved);
  EXPECT_FALSE(CurrentImage().isEmpty()) << "the parsed record is kept as an image";

  // An earlier version's names: FlexRate23 is service 3's FlexRate2 while
  // there are fewer than 23 services, else service 23's FlexRate.
  Sql("DELETE FROM vals WHERE fold LIKE 'flexrate2-%'; UPDATE vals SET value = 77 WHERE fold = 'flexrate23';");
  Put(kGeneralKey, "UsedServices", 22, kNumber);
  EXPECT_EQ(Reload().Services[2].FlexRate2, 0.0077);
  Put(kGeneralKey, "UsedServices", 23, kNumber);
  const Configuration loaded = Reload();
  EXPECT_EQ(loaded.Services[2].FlexRate2, 0);
  EXPECT_EQ(loaded.Services[22].FlexRate, 0.0077);
}

// Each value of the field tables that must convert holds, alone, text that
// does not: the load finds the store damaged and names it. Values beyond the
// used counts and the unused column slots are never read, so the same text
// there is harmless.
TEST_F(ConfigurationIoTest, EveryValueReadIsCheckedAndNoOtherIs) {
  std::vector<std::pair<QString, QString>> read;
  const auto add = [&](const auto& fields, const QString& key, auto name) {
    for (const auto& f : fields) {
      if (f.Kind == FieldKind::Text || f.Kind == FieldKind::FileName) continue;
      read.emplace_back(key.isEmpty() ? kSettingsBaseKey + QLatin1Char('\\') + QLatin1String(f.Key) : key, name(f));
    }
  };
  const auto plain = [](const auto& f) { return QString::fromLatin1(f.Name); };
  add(RecordFields(), QString(), plain);
  add(ViewLogFields(), QString(), plain);
  add(ReportWindowFields(), kSummaryReportKey, plain);
  add(ReportWindowFields(), kDetailReportKey, plain);
  add(ServiceFields(), kServicesKey, [](const FieldSpec<Service>& f) { return ServiceValueName(f, 1); });
  for (int t = 1; t <= 2; ++t) {
    add(TariffFields(), kServicesKey, [t](const FieldSpec<Tariff>& f) { return TariffValueName(f.Name, 1, t); });
  }
  for (const char* n : {" 1", " 2"}) read.emplace_back(kHolidaysKey, QLatin1String(n));
  for (int c = 1; c <= 6; ++c) {
    read.emplace_back(c <= 5 ? kSummaryReportKey : kDetailReportKey, ServiceValueName("Column", c));
  }
  const std::pair<QString, QString> notRead[] = {
      {kServicesKey, QStringLiteral("Tariff1-3After")}, {kServicesKey, QStringLiteral("DialOption2")},
      {kSummaryReportKey, QStringLiteral("Column6")},   {kDetailReportKey, QStringLiteral("Column7")},
      {kHolidaysKey, QStringLiteral(" 3")},             {kHolidaysKey, QStringLiteral("1")}};
  const auto damageFrom = [this](const QString& key, const QString& name) {
    NewStore();
    Configuration saved = TwoServiceConfiguration();  // one service of two tariffs, two holidays
    saved.UsedServices = 1;
    EXPECT_TRUE(SaveConfiguration(Store(), saved, reporter_));
    Store().SettingsWriteValue(Root::Machine, key, name, QStringLiteral("x"), kText);
    Configuration config;
    LoadConfiguration(Store(), config, reporter_);
    return Store().DamageMessage();
  };
  ASSERT_GT(read.size(), 50u);
  for (const auto& [key, name] : read) {
    const QString message = damageFrom(key, name);
    EXPECT_TRUE(message.contains(key + QLatin1Char('\\') + name + QStringLiteral(" holds 'x'")))
        << name.toStdString() << ": " << message.toStdString();
  }
  for (const auto& [key, name] : notRead) EXPECT_EQ(damageFrom(key, name), QString()) << name.toStdString();
  EXPECT_TRUE(reporter_.messages.isEmpty());
}

// A save that fails, on an amount beyond 32 bits or on the database refusing
// its last value, leaves the stored record as it was; Retry writes the whole
// record once the cause is gone.
TEST_F(ConfigurationIoTest, AFailedSaveLeavesThePreviousConfigurationWhole) {
  Configuration before = TwoServiceConfiguration();
  ASSERT_TRUE(SaveConfiguration(Store(), before, reporter_));
  Configuration changed;
  changed.ModemLogFile = QStringLiteral("changed.txt");
  changed.UsedServices = 1;
  changed.Services[0].ServiceName = QStringLiteral("Changed");
  changed.CostPerHour = 300000.0;  // 3e9 stored
  EXPECT_FALSE(SaveConfiguration(Store(), changed, reporter_));
  ASSERT_EQ(reporter_.messages.size(), 1);
  EXPECT_TRUE(reporter_.messages[0].contains(QStringLiteral("CostPerHour"))) << reporter_.messages[0].toStdString();
  EXPECT_EQ(Reload(), before);

  // (UsedHolidays 0 would join ModemLogFile in an index that holds one row.)
  Sql("CREATE UNIQUE INDEX injected_write_failure ON vals((fold IN ('modemlogfile', 'usedholidays')))"
      " WHERE fold = 'modemlogfile' OR (fold = 'usedholidays' AND value = 0);");
  changed.CostPerHour = 1.5;
  EXPECT_FALSE(SaveConfiguration(Store(), changed, reporter_));
  ASSERT_EQ(reporter_.messages.size(), 2);
  EXPECT_TRUE(reporter_.messages[1].contains(QStringLiteral("injected_write_failure")));
  EXPECT_EQ(Reload(), before);

  reporter_.onError = [this] {
    Sql("DROP INDEX injected_write_failure;");
    return ErrorAnswer::Retry;
  };
  EXPECT_TRUE(SaveConfiguration(Store(), changed, reporter_));
  EXPECT_EQ(reporter_.messages.size(), 3);
  EXPECT_EQ(Reload(), changed);
}

// A store too large to check page by page when it is opened is found damaged
// by the load that meets a damaged page: moved aside with its message, like
// one the open found, and the program goes on with the defaults.
TEST_F(ConfigurationIoTest, ADamagedPageOfALargeStoreFoundWhileLoadingMovesItAside) {
  Configuration big = test::ScaledConfiguration(400, 0);
  for (int n = 0; n < 400; ++n) big.Services[static_cast<size_t>(n)].ServiceName = QString(6000, QChar(u'a' + n % 26));
  ASSERT_TRUE(SaveConfiguration(Store(), big, reporter_));
  store_.reset();
  QFile file(SettingsStore::FilePathIn(dir_.path()));
  ASSERT_TRUE(file.open(QIODevice::ReadWrite));
  ASSERT_GT(file.size(), 3 * 1024 * 1024) << "large enough to skip the check at open";
  // Every page but the first (the file header and the list of tables).
  file.seek(4096);
  file.write(QByteArray(file.size() - 4096, '\xA5'));
  file.close();

  EXPECT_TRUE(Store().DamageMessage().isEmpty());
  Configuration config;
  EXPECT_TRUE(LoadConfigurationWithDefaults(Store(), config, reporter_));
  EXPECT_FALSE(Store().DamageMessage().isEmpty());
  EXPECT_TRUE(QFile::exists(Store().DamagedFilePath()));
  EXPECT_EQ(config, Configuration{});
  EXPECT_TRUE(reporter_.messages.isEmpty()) << reporter_.messages.join(QLatin1Char('|')).toStdString();
}

}  // namespace
}  // namespace mirolat
