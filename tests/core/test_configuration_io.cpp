#include <gtest/gtest.h>
#include <sqlite3.h>

#include <QFile>
#include <QTemporaryDir>
#include <deque>
#include <functional>

#include "core/settings/config_fields.h"
#include "core/settings/configuration_io.h"
#include "support/sample_configuration.h"

namespace mirolat {
namespace {

constexpr int kText = 1;
constexpr int kByte = 3;
constexpr int kNumber = 4;

// Answers every failure from a script (Continue when the script is empty) and
// keeps what it was told.
class ScriptedReporter : public ErrorReporter {
 public:
  std::deque<ErrorAnswer> answers;
  std::function<void()> onError;
  QStringList messages;
  ErrorAnswer ReportError(const RunError& error) override {
    messages.append(error.description());
    if (onError) onError();
    if (answers.empty()) return ErrorAnswer::Continue;
    const ErrorAnswer a = answers.front();
    answers.pop_front();
    return a;
  }
};

SettingsValue T(const char* s) { return QString::fromUtf8(s); }
SettingsValue N(qint32 n) { return n; }
QStringList L(std::initializer_list<const char*> names) {
  QStringList out;
  for (const char* n : names) out.append(QString::fromLatin1(n));
  return out;
}

// A value's row as the database holds it: "kind|quoted value", for each
// spelling of the name folded to `fold`.
QStringList RawRows(const QString& path, const QByteArray& fold) {
  sqlite3* db = nullptr;
  QStringList rows;
  EXPECT_EQ(sqlite3_open_v2(QFile::encodeName(path).constData(), &db, SQLITE_OPEN_READWRITE, nullptr), SQLITE_OK);
  sqlite3_stmt* stmt = nullptr;
  EXPECT_EQ(sqlite3_prepare_v2(db, "SELECT kind || '|' || quote(value) FROM vals WHERE fold = ?1;", -1, &stmt, nullptr),
            SQLITE_OK);
  sqlite3_bind_text(stmt, 1, fold.constData(), -1, SQLITE_TRANSIENT);
  while (sqlite3_step(stmt) == SQLITE_ROW) {
    rows.append(QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(stmt, 0))));
  }
  sqlite3_finalize(stmt);
  sqlite3_close(db);
  return rows;
}

class ConfigurationIoTest : public ::testing::Test {
 public:  // the tables' steps take the fixture
  SettingsStore& Store() {
    if (!store_) store_ = std::make_unique<SettingsStore>(SettingsStore::FilePathIn(dir_.path()));
    return *store_;
  }
  void Put(const QString& key, const char* name, const QVariant& value, int kind) {
    Store().SettingsCreateKey(Root::Machine, key);
    Store().SettingsWriteValue(Root::Machine, key, QString::fromLatin1(name), value, kind);
  }
  SettingsValue Get(const QString& key, const QString& name) {
    return Store().SettingsReadValue(Root::Machine, key, name);
  }
  // Runs a statement on the database through a second connection.
  void Sql(const char* sql) {
    sqlite3* db = nullptr;
    ASSERT_EQ(sqlite3_open(QFile::encodeName(Store().FilePath()).constData(), &db), SQLITE_OK);
    char* message = nullptr;
    const int rc = sqlite3_exec(db, sql, nullptr, nullptr, &message);
    EXPECT_EQ(rc, SQLITE_OK) << (message ? message : "");
    sqlite3_free(message);
    sqlite3_close(db);
  }
  // The first column of the first row of a query through a second connection.
  QByteArray SqlValue(const char* sql) {
    sqlite3* db = nullptr;
    EXPECT_EQ(sqlite3_open(QFile::encodeName(Store().FilePath()).constData(), &db), SQLITE_OK);
    sqlite3_stmt* stmt = nullptr;
    EXPECT_EQ(sqlite3_prepare_v2(db, sql, -1, &stmt, nullptr), SQLITE_OK) << sql;
    QByteArray value;
    if (sqlite3_step(stmt) == SQLITE_ROW) {
      value = QByteArray(static_cast<const char*>(sqlite3_column_blob(stmt, 0)), sqlite3_column_bytes(stmt, 0));
    }
    sqlite3_finalize(stmt);
    sqlite3_close(db);
    return value;
  }
  // The kept image of the record while it is current, else empty.
  QByteArray CurrentImage() {
    return SqlValue(
        "SELECT d.data FROM derived d JOIN changes c ON c.id = 1"
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
  std::unique_ptr<SettingsStore> store_;
  ScriptedReporter reporter_;
};

Configuration TwoServiceConfiguration() {
  Configuration c = test::SampleConfiguration();
  c.MaxServices = 10;
  c.Services.resize(11);
  return c;
}

TEST_F(ConfigurationIoTest, FirstRunFillsExactlyTheDefaultsAndStoresThem) {
  Configuration config;
  config.Services.resize(3);  // whatever was there is replaced
  EXPECT_TRUE(LoadConfigurationWithDefaults(Store(), config, reporter_));
  EXPECT_TRUE(reporter_.messages.isEmpty());
  EXPECT_EQ(config, Configuration{});
  EXPECT_EQ(Store().SubKeyNames(Root::Machine, kSettingsBaseKey),
            L({"General", "Modem", "Costs", "Services", "ViewLog", "ViewReport", "Holidays"}));
  EXPECT_EQ(Store().SubKeyNames(Root::Machine, kViewReportKey), L({"SummaryReport", "DetailReport"}));
  EXPECT_TRUE(Store().ValueNames(Root::Machine, kServicesKey).isEmpty());
  EXPECT_EQ(Get(kCostsKey, QStringLiteral("DialCost")), N(2000));
  EXPECT_EQ(Get(kViewLogKey, QStringLiteral("FontBold")), T("False"));

  // A second start reads the same record back and has nothing to fill in, so
  // it does not write the store again.
  Configuration again;
  ScriptedReporter r;
  EXPECT_FALSE(LoadConfigurationWithDefaults(Store(), again, r));
  EXPECT_EQ(again, Configuration{});
}

// Amounts are stored × 10000, plain doubles and font sizes as they are, each
// rounded to the nearest whole number, halves to even.
TEST_F(ConfigurationIoTest, StoredNumbersAreRoundedHalfToEven) {
  const struct {
    double value;
    qint32 money, plain;
  } cases[] = {{2.34567, 23457, 2}, {0.12345, 1234, 0}, {-1.23455, -12346, -1}, {0.00005, 0, 0}, {900.6, 9006000, 901},
               {900.5, 9005000, 900}, {901.5, 9015000, 902}, {2.5, 25000, 2}, {-0.5, -5000, 0}};
  for (const auto& c : cases) {
    Configuration config = TwoServiceConfiguration();
    config.DialCost = c.value;
    config.NoDisconDuration = config.NoDisconData = config.Services[0].AfterMeg = c.value;
    config.SummaryReport.FontSize = config.DetailReport.FontSize = static_cast<float>(c.value);
    ASSERT_TRUE(SaveConfiguration(Store(), config, reporter_));
    EXPECT_EQ(Get(kCostsKey, QStringLiteral("DialCost")), N(c.money)) << c.value;
    EXPECT_EQ(Get(kGeneralKey, QStringLiteral("NoDisconDuration")), N(c.plain)) << c.value;
    EXPECT_EQ(Get(kGeneralKey, QStringLiteral("NoDisconData")), N(c.plain)) << c.value;
    EXPECT_EQ(Get(kServicesKey, QStringLiteral("AfterMeg1")), N(c.plain)) << c.value;
    EXPECT_EQ(Get(kSummaryReportKey, QStringLiteral("FontSize")), N(c.plain)) << c.value;
    EXPECT_EQ(Get(kDetailReportKey, QStringLiteral("FontSize")), N(c.plain)) << c.value;
    Configuration loaded;
    LoadConfiguration(Store(), loaded, reporter_);  // the dialogs' rules aside
    EXPECT_DOUBLE_EQ(loaded.DialCost, c.money / 10000.0) << c.value;
    EXPECT_EQ(loaded.SummaryReport.FontSize, static_cast<float>(c.plain)) << c.value;
  }
}

TEST_F(ConfigurationIoTest, AnAmountBeyondThirtyTwoBitsIsAnOverflowAndSavesNothing) {
  Configuration before;
  ASSERT_TRUE(SaveConfiguration(Store(), before, reporter_));
  Configuration config;
  config.ModemLogFile = QStringLiteral("changed.txt");
  config.CostPerHour = 300000.0;  // 3e9 stored
  EXPECT_FALSE(SaveConfiguration(Store(), config, reporter_));
  ASSERT_EQ(reporter_.messages.size(), 1);
  EXPECT_TRUE(reporter_.messages[0].contains(QStringLiteral("CostPerHour"))) << reporter_.messages[0].toStdString();
  EXPECT_EQ(Reload(), before);
}

TEST_F(ConfigurationIoTest, BooleansKeepFalseAndDefaultWhenMissing) {
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
      {"number 0", 0, kNumber, true, false},
      {"number -1", -1, kNumber, true, true},
      {"number 1", 1, kNumber, true, true},
  };
  for (const auto& c : cases) {
    QTemporaryDir dir;
    SettingsStore store(SettingsStore::FilePathIn(dir.path()));
    store.SettingsCreateKey(Root::Machine, kGeneralKey);
    if (c.stored.isValid()) {
      store.SettingsWriteValue(Root::Machine, kGeneralKey, QStringLiteral("EditLog"), c.stored, c.kind);
      store.SettingsWriteValue(Root::Machine, kGeneralKey, QStringLiteral("AutoOptimize"), c.stored, c.kind);
    }
    Configuration config;
    ScriptedReporter r;
    EXPECT_TRUE(LoadConfigurationWithDefaults(store, config, r));
    EXPECT_EQ(config.EditLog, c.editLog) << c.label;
    EXPECT_EQ(config.AutoOptimize, c.autoOptimize) << c.label;
    const SettingsValue storedEdit = store.SettingsReadValue(Root::Machine, kGeneralKey, QStringLiteral("EditLog"));
    EXPECT_EQ(storedEdit, SettingsValue(c.editLog ? QStringLiteral("True") : QStringLiteral("False"))) << c.label;
  }
}

TEST_F(ConfigurationIoTest, AStoredFalseSurvivesStartUp) {
  Put(kGeneralKey, "EditLog", QStringLiteral("False"), kText);
  Put(kGeneralKey, "ShowGraphic", QStringLiteral("False"), kText);
  Put(kViewLogKey, "SaveSettings", 0, kNumber);  // as the viewer writes it on close
  Configuration config;
  EXPECT_TRUE(LoadConfigurationWithDefaults(Store(), config, reporter_));
  EXPECT_FALSE(config.EditLog);
  EXPECT_FALSE(config.ShowGraphic);
  EXPECT_TRUE(config.ShowErrors);
  EXPECT_TRUE(config.ShowToolbars);
  EXPECT_FALSE(config.AutoOptimize);
  EXPECT_EQ(Get(kGeneralKey, QStringLiteral("EditLog")), T("False"));
  EXPECT_EQ(Get(kGeneralKey, QStringLiteral("ShowErrors")), T("True"));
  EXPECT_EQ(Get(kViewLogKey, QStringLiteral("SaveSettings")), T("False"));
}

// Without CalcCosts (absent, empty or the number 0) the dial-up and hourly
// costs take their defaults even when they were stored, and the defaults are
// written back; CostPerMeg is kept. With CalcCosts stored, stored amounts stay,
// a zero one too.
TEST_F(ConfigurationIoTest, CalcCostsDecidesWhetherTheDefaultAmountsApply) {
  struct Case {
    const char* label;
    QVariant calcCosts;  // invalid: absent
    int kind;
    bool expectedCalc;
    double expectedDial, expectedHour;
  } cases[] = {
      {"present True keeps the amounts", QStringLiteral("True"), kText, true, 0.5, 0},
      {"present False keeps the amounts", QStringLiteral("False"), kText, false, 0.5, 0},
      {"absent takes the defaults", QVariant(), 0, true, 0.2, 1.5},
      {"empty takes the defaults", QString(), kText, true, 0.2, 1.5},
      {"the number 0 takes the defaults", 0, kNumber, true, 0.2, 1.5},
  };
  for (const auto& c : cases) {
    QTemporaryDir dir;
    SettingsStore store(SettingsStore::FilePathIn(dir.path()));
    store.SettingsCreateKey(Root::Machine, kCostsKey);
    store.SettingsWriteValue(Root::Machine, kCostsKey, QStringLiteral("DialCost"), 5000, kNumber);
    store.SettingsWriteValue(Root::Machine, kCostsKey, QStringLiteral("CostPerHour"), 0, kNumber);
    store.SettingsWriteValue(Root::Machine, kCostsKey, QStringLiteral("CostPerMeg"), 700, kNumber);
    if (c.calcCosts.isValid()) {
      store.SettingsWriteValue(Root::Machine, kCostsKey, QStringLiteral("CalcCosts"), c.calcCosts, c.kind);
    }
    Configuration config;
    ScriptedReporter r;
    LoadConfigurationWithDefaults(store, config, r);
    EXPECT_EQ(config.CalcCosts, c.expectedCalc) << c.label;
    EXPECT_DOUBLE_EQ(config.DialCost, c.expectedDial) << c.label;
    EXPECT_DOUBLE_EQ(config.CostPerHour, c.expectedHour) << c.label;
    EXPECT_DOUBLE_EQ(config.CostPerMeg, 0.07) << c.label;
    EXPECT_EQ(store.SettingsReadValue(Root::Machine, kCostsKey, QStringLiteral("DialCost")),
              N(qint32(c.expectedDial * 10000)))
        << c.label;
    if (!c.calcCosts.isValid()) {
      EXPECT_EQ(store.SettingsReadValue(Root::Machine, kCostsKey, QStringLiteral("CalcCosts")), T("True"));
    }
  }
}

TEST_F(ConfigurationIoTest, ViewerAndReportWindowDefaultsComeAsAWhole) {
  Configuration saved;
  saved.ViewLog = ViewLogSettings{true, QString(), 12, true, true, 100, 200, 2};
  saved.SummaryReport.WinHeight = 0;
  saved.SummaryReport.WinWidth = 1;
  saved.DetailReport.WinWidth = 2;
  saved.ReportListView = false;
  saved.ReportAutoArrange = true;
  ASSERT_TRUE(SaveConfiguration(Store(), saved, reporter_));
  Configuration config;
  EXPECT_TRUE(LoadConfigurationWithDefaults(Store(), config, reporter_));
  EXPECT_EQ(config.ViewLog, ViewLogSettings{});
  EXPECT_EQ(config.SummaryReport, DefaultSummaryReportSettings());
  EXPECT_EQ(config.DetailReport, DefaultDetailReportSettings());
  EXPECT_TRUE(config.ReportListView);
  EXPECT_FALSE(config.ReportAutoArrange);
  EXPECT_TRUE(config.ReportSaveSettings);

  // With a font name and a window height nothing of either is touched.
  saved = Configuration{};
  saved.ViewLog.FontName = QStringLiteral("Fixed");
  saved.ViewLog.WinHeight = 123;
  saved.SummaryReport.WinHeight = 1;
  saved.DetailReport.WinHeight = 0;
  saved.ReportListView = false;
  ASSERT_TRUE(SaveConfiguration(Store(), saved, reporter_));
  Configuration again;
  LoadConfigurationWithDefaults(Store(), again, reporter_);
  EXPECT_EQ(again.ViewLog.WinHeight, 123);
  EXPECT_EQ(again.SummaryReport.WinHeight, 1);
  EXPECT_EQ(again.DetailReport.WinHeight, 0);
  EXPECT_FALSE(again.ReportListView);
}

TEST_F(ConfigurationIoTest, ZeroNumbersTakeTheirDefaults) {
  Configuration saved;
  saved.MaxServices = 0;
  saved.MaxConnections = 0;
  saved.MaxConnectDays = 0;
  saved.NoDisconDuration = 0;
  saved.MaxLogSize = 0;
  saved.ModemLogFile.clear();
  saved.ModemReads.clear();
  ASSERT_TRUE(SaveConfiguration(Store(), saved, reporter_));
  Configuration config;
  EXPECT_TRUE(LoadConfigurationWithDefaults(Store(), config, reporter_));
  EXPECT_EQ(config, Configuration{});
  EXPECT_EQ(config.Services.size(), 11u);
  EXPECT_EQ(Get(kGeneralKey, QStringLiteral("MaxServices")), N(10));
}

TEST_F(ConfigurationIoTest, DeletedServicesStayInTheStoreButAreNotRead) {
  Configuration config;
  config.UsedServices = 5;
  for (int n = 0; n < 5; ++n) {
    config.Services[static_cast<size_t>(n)].ServiceName = QStringLiteral("Service %1").arg(n + 1);
    config.Services[static_cast<size_t>(n)].UsedTariffs = 1;
    config.Services[static_cast<size_t>(n)].Tariffs[0].Description = QStringLiteral("T%1").arg(n + 1);
  }
  ASSERT_TRUE(SaveConfiguration(Store(), config, reporter_));
  config.UsedServices = 3;
  config.Services[3] = Service{};
  config.Services[4] = Service{};
  ASSERT_TRUE(SaveConfiguration(Store(), config, reporter_));

  EXPECT_EQ(Get(kServicesKey, QStringLiteral("ServiceName4")), T("Service 4"));
  EXPECT_EQ(Get(kServicesKey, QStringLiteral("ServiceName5")), T("Service 5"));
  EXPECT_EQ(Get(kServicesKey, QStringLiteral("Tariff5-1Description")), T("T5"));
  EXPECT_EQ(Get(kGeneralKey, QStringLiteral("UsedServices")), N(3));
  const Configuration loaded = Reload();
  EXPECT_EQ(loaded.UsedServices, 3);
  EXPECT_EQ(loaded.Services[2].ServiceName, QStringLiteral("Service 3"));
  EXPECT_EQ(loaded.Services[3], Service{});
  EXPECT_EQ(loaded.Services[4], Service{});
}

// All hundred holidays: " 1" to " 100" after UsedHolidays; those beyond the
// used count are not read.
TEST_F(ConfigurationIoTest, HolidaysAreStoredUnderBlankPrefixedNumbers) {
  Configuration config;
  config.UsedHolidays = kMaxHolidays;
  for (int n = 0; n < kMaxHolidays; ++n) config.Holidays[static_cast<size_t>(n)] = MakeDate(1999, 1, 1) + n;
  ASSERT_TRUE(SaveConfiguration(Store(), config, reporter_));
  const QStringList names = Store().ValueNames(Root::Machine, kHolidaysKey);
  ASSERT_EQ(names.size(), 101);
  EXPECT_EQ(names[10], QStringLiteral(" 10"));
  EXPECT_EQ(Get(kHolidaysKey, QStringLiteral(" 100")), N(MakeDate(1999, 1, 1) + 99));
  EXPECT_EQ(Reload().Holidays, config.Holidays);
  config.UsedHolidays = 2;
  ASSERT_TRUE(SaveConfiguration(Store(), config, reporter_));
  Configuration loaded;
  LoadConfiguration(Store(), loaded, reporter_);
  EXPECT_EQ(loaded.UsedHolidays, 2);
  EXPECT_EQ(loaded.Holidays[1], MakeDate(1999, 1, 2));
  EXPECT_EQ(loaded.Holidays[2], 0);
}

TEST_F(ConfigurationIoTest, ResponseTextsAreStoredUpperCased) {
  Configuration config;
  config.ModemDial = QStringLiteral("recv: atd");
  config.ModemHostDisconnect = QStringLiteral("Remote modem hung up");
  config.ModemWrites = QStringLiteral("writes");
  ASSERT_TRUE(SaveConfiguration(Store(), config, reporter_));
  EXPECT_EQ(config.ModemDial, QStringLiteral("RECV: ATD"));
  EXPECT_EQ(Get(kModemKey, QStringLiteral("ModemDial")), T("RECV: ATD"));
  EXPECT_EQ(Get(kModemKey, QStringLiteral("ModemHostDisconnect")), T("REMOTE MODEM HUNG UP"));
  EXPECT_EQ(Get(kModemKey, QStringLiteral("ModemWrites")), T("WRITES"));
}

// A stored value the record cannot hold makes the store count as damaged: the
// file is moved aside with its message, the program goes on with the defaults
// (saved in a fresh store), and the bad value is still there in the file moved
// aside, never overwritten.
TEST_F(ConfigurationIoTest, AnUnusableStoredValueMovesTheStoreAsideAndDefaultsApply) {
  struct Case {
    const char* label;
    QString key;
    const char* name;
    QVariant value;  // written through the store; invalid: `sql` writes it
    int kind;
    const char* sql;  // the value column and kind set straight in the database
  } cases[] = {
      {"UsedServices far above MaxServices", kGeneralKey, "UsedServices", 32767, kNumber, nullptr},
      {"UsedServices one above MaxServices", kGeneralKey, "UsedServices", 11, kNumber, nullptr},
      {"negative UsedServices", kGeneralKey, "UsedServices", -1, kNumber, nullptr},
      {"MaxServices as text that is no number", kGeneralKey, "MaxServices", QStringLiteral("abc"), kText, nullptr},
      {"MaxServices beyond 16 bits", kGeneralKey, "MaxServices", 40000, kNumber, nullptr},
      {"UsedTariffs above 10", kServicesKey, "UsedTariffs1", 99, kNumber, nullptr},
      {"UsedHolidays above 100", kHolidaysKey, "UsedHolidays", 500, kNumber, nullptr},
      {"a 16-bit field beyond 16 bits", kGeneralKey, "MaxConnections", 40000, kNumber, nullptr},
      {"a 32-bit field as text beyond 32 bits", kGeneralKey, "MaxLogSize", QStringLiteral("1e12"), kText, nullptr},
      {"money as text beyond 32 bits", kCostsKey, "DialCost", QStringLiteral("1e30"), kText, nullptr},
      {"a number as text that is not finite", kCostsKey, "CostPerMeg", QStringLiteral("inf"), kText, nullptr},
      {"a flag as text that is no boolean", kGeneralKey, "EditLog", QStringLiteral("Yes"), kText, nullptr},
      {"a time that is no time", kServicesKey, "Tariff1-1AppliesTimeEnd", QStringLiteral("25:00:00"), kText, nullptr},
      {"a time stored as a number", kServicesKey, "Tariff1-1AppliesTimeStart", 3600, kNumber, nullptr},
      {"a holiday that is no number", kHolidaysKey, " 1", QStringLiteral("Christmas"), kText, nullptr},
      {"a log file name climbing out of the folder", kGeneralKey, "ModemLogFile",
       QStringLiteral("../../home/user/thesis.tex"), kText, nullptr},
      {"an absolute log file path", kGeneralKey, "ModemLogFile", QStringLiteral("/etc/passwd"), kText, nullptr},
      {"a log file name with a wildcard", kGeneralKey, "ModemLogFile", QStringLiteral("*.txt"), kText, nullptr},
      {"the parent folder as the log file", kGeneralKey, "ModemLogFile", QStringLiteral(".."), kText, nullptr},
      {"a service name beyond its limit", kServicesKey, "ServiceName2", QString(256, u'x'), kText, nullptr},
      {"a dialled number beyond its limit", kServicesKey, "ServiceNumber1", QString(65, u'5'), kText, nullptr},
      {"a tariff description beyond its limit", kServicesKey, "Tariff1-1Description", QString(256, u'x'), kText,
       nullptr},
      {"a response text beyond its limit", kModemKey, "ModemReads", QString(256, u'X'), kText, nullptr},
      {"a kind the store never writes", kGeneralKey, "UsedServices", QVariant(), 0, "kind = 7, value = 3"},
      {"a number kind holding text", kGeneralKey, "MaxConnections", QVariant(), 0, "kind = 4, value = 'many'"},
      {"a number kind beyond 32 bits", kGeneralKey, "MaxLogSize", QVariant(), 0, "kind = 4, value = 99999999999"},
      {"a number kind holding a real", kCostsKey, "DialCost", QVariant(), 0, "kind = 4, value = 0.5"},
      {"a byte beyond a byte", kViewLogKey, "FontBold", QVariant(), 0, "kind = 3, value = 300"},
      {"a text kind holding a blob", kGeneralKey, "ModemLogFile", QVariant(), 0, "kind = 1, value = x'00ff'"},
      {"a text kind holding nothing", kModemKey, "ModemDial", QVariant(), 0, "kind = 1, value = NULL"},
  };
  for (const auto& c : cases) {
    QTemporaryDir dir;
    const QString path = SettingsStore::FilePathIn(dir.path());
    {
      SettingsStore store(path);
      Configuration base = TwoServiceConfiguration();
      base.Services[0].UsedTariffs = 1;
      ScriptedReporter quiet;
      ASSERT_TRUE(SaveConfiguration(store, base, quiet));
      if (c.value.isValid()) {
        store.SettingsWriteValue(Root::Machine, c.key, QString::fromLatin1(c.name), c.value, c.kind);
      }
    }
    const QByteArray fold = QByteArray(c.name).toLower();
    if (c.sql != nullptr) {
      sqlite3* db = nullptr;
      ASSERT_EQ(sqlite3_open(QFile::encodeName(path).constData(), &db), SQLITE_OK);
      const QByteArray sql = "UPDATE vals SET " + QByteArray(c.sql) + " WHERE fold = '" + fold + "';";
      ASSERT_EQ(sqlite3_exec(db, sql.constData(), nullptr, nullptr, nullptr), SQLITE_OK) << c.label;
      ASSERT_EQ(sqlite3_changes(db), 1) << c.label;
      sqlite3_close(db);
    }

    const QStringList stored = RawRows(path, fold);
    ASSERT_EQ(stored.size(), 1) << c.label;
    SettingsStore store(path);
    Configuration config;
    ScriptedReporter r;
    EXPECT_TRUE(LoadConfigurationWithDefaults(store, config, r)) << c.label;
    EXPECT_TRUE(r.messages.isEmpty()) << c.label << ": " << r.messages.join(QLatin1Char('|')).toStdString();
    EXPECT_TRUE(store.DamageMessage().contains(c.key + QLatin1Char('\\') + QLatin1String(c.name)))
        << c.label << ": " << store.DamageMessage().toStdString();
    EXPECT_EQ(config, Configuration{}) << c.label;

    // The bad value is still in the file moved aside, exactly as it was.
    ASSERT_TRUE(QFile::exists(store.DamagedFilePath())) << c.label;
    EXPECT_EQ(RawRows(store.DamagedFilePath(), fold), stored) << c.label;

    // The fresh store holds the defaults: the next command loads them as they are.
    SettingsStore again(path);
    Configuration next;
    ScriptedReporter r2;
    EXPECT_FALSE(LoadConfigurationWithDefaults(again, next, r2)) << c.label;
    EXPECT_TRUE(again.DamageMessage().isEmpty()) << c.label;
    EXPECT_EQ(next, Configuration{}) << c.label;
  }
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
  EXPECT_EQ(Get(kServicesKey, QStringLiteral("FlexRate21")), N(205000));
  EXPECT_EQ(Get(kServicesKey, QStringLiteral("FlexRate2-1")), N(1002500));
  EXPECT_EQ(Reload(), saved);

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

// A window writes its own settings, and with its flag off the flag alone, as
// the text False for both windows; the other window's settings stay, in the
// store and in the kept image.
TEST_F(ConfigurationIoTest, AWindowWritesItsOwnSettingsAndLeavesTheOthers) {
  const Configuration saved = TwoServiceConfiguration();
  Configuration c = saved;
  ASSERT_TRUE(SaveConfiguration(Store(), c, reporter_));
  Configuration windows = saved;
  windows.ReportSaveSettings = false;
  windows.SummaryReport.WinTop = 1;
  windows.ViewLog.SaveSettings = false;
  windows.ViewLog.FontName = QStringLiteral("Not written");
  ASSERT_TRUE(SaveReportWindowSettings(Store(), windows, reporter_));
  ASSERT_TRUE(SaveViewLogSettings(Store(), windows.ViewLog, reporter_));
  EXPECT_EQ(Get(kViewReportKey, QStringLiteral("SaveSettings")), T("False"));
  EXPECT_EQ(Get(kViewLogKey, QStringLiteral("SaveSettings")), T("False"));
  Configuration expected = saved;
  expected.ReportSaveSettings = false;
  expected.ViewLog.SaveSettings = false;
  for (int pass = 0; pass < 2; ++pass, Sql("DELETE FROM derived;")) {
    Configuration loaded;
    EXPECT_FALSE(LoadConfigurationWithDefaults(Store(), loaded, reporter_)) << pass;
    EXPECT_EQ(loaded, expected) << pass;
  }
}

// Each value of the tables that must convert holds, alone, text that does
// not: the load finds the store damaged and names it. Values beyond the used
// counts and the unused column slots are never read, so the same text there
// is harmless.
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
  auto load = [](const QString& key, const QString& name) {
    QTemporaryDir dir;
    SettingsStore store(SettingsStore::FilePathIn(dir.path()));
    // A record with one service of two tariffs and two holidays.
    Configuration saved = TwoServiceConfiguration();
    saved.UsedServices = 1;
    ScriptedReporter r;
    EXPECT_TRUE(SaveConfiguration(store, saved, r));
    store.SettingsWriteValue(Root::Machine, key, name, QStringLiteral("x"), kText);
    Configuration config;
    LoadConfiguration(store, config, r);
    EXPECT_TRUE(r.messages.isEmpty()) << name.toStdString();
    return store.DamageMessage();
  };
  ASSERT_GT(read.size(), 50u);
  for (const auto& [key, name] : read) {
    const QString message = load(key, name);
    EXPECT_TRUE(message.contains(key + QLatin1Char('\\') + name + QStringLiteral(" holds 'x'")))
        << name.toStdString() << ": " << message.toStdString();
  }
  for (const auto& [key, name] : notRead) EXPECT_EQ(load(key, name), QString()) << name.toStdString();
}

TEST_F(ConfigurationIoTest, OnlyFiveSummaryAndSixDetailColumnsAreStored) {
  Configuration c;
  c.SummaryReport.Columns = {11, 12, 13, 14, 15, 16, 17};
  c.DetailReport.Columns = {21, 22, 23, 24, 25, 26, 27};
  ScriptedReporter reporter;
  ASSERT_TRUE(SaveConfiguration(Store(), c, reporter));
  EXPECT_EQ(Get(kSummaryReportKey, QStringLiteral("Column5")), SettingsValue(15));
  EXPECT_EQ(Get(kSummaryReportKey, QStringLiteral("Column6")), SettingsValue());
  EXPECT_EQ(Get(kSummaryReportKey, QStringLiteral("Column7")), SettingsValue());
  EXPECT_EQ(Get(kDetailReportKey, QStringLiteral("Column6")), SettingsValue(26));
  EXPECT_EQ(Get(kDetailReportKey, QStringLiteral("Column7")), SettingsValue());

  // Values under the unused names are never read: the slots keep what they held.
  Put(kSummaryReportKey, "Column6", 999, kNumber);
  Put(kSummaryReportKey, "Column7", 999, kNumber);
  Put(kDetailReportKey, "Column7", 999, kNumber);
  Configuration loaded;
  loaded.SummaryReport.Columns = {1, 2, 3, 4, 5, 6, 7};
  loaded.DetailReport.Columns = {1, 2, 3, 4, 5, 6, 7};
  LoadConfiguration(Store(), loaded, reporter);
  EXPECT_TRUE(reporter.messages.isEmpty());
  EXPECT_EQ(loaded.SummaryReport.Columns, (std::array<qint32, 7>{11, 12, 13, 14, 15, 6, 7}));
  EXPECT_EQ(loaded.DetailReport.Columns, (std::array<qint32, 7>{21, 22, 23, 24, 25, 26, 7}));
}

TEST_F(ConfigurationIoTest, StoredKindsReadBackAsTheirFields) {
  struct Case {
    const char* label;
    QString key;
    const char* name;
    QVariant value;
    int kind;
    std::function<bool(const Configuration&)> check;
  } cases[] = {
      {"SaveSettings as the number 0", kViewLogKey, "SaveSettings", 0, kNumber,
       [](const Configuration& c) { return !c.ViewLog.SaveSettings; }},
      {"SaveSettings as text True", kViewLogKey, "SaveSettings", QStringLiteral("True"), kText,
       [](const Configuration& c) { return c.ViewLog.SaveSettings; }},
      {"report SaveSettings as the number 0", kViewReportKey, "SaveSettings", 0, kNumber,
       [](const Configuration& c) { return !c.ReportSaveSettings; }},
      {"report SaveSettings as text False", kViewReportKey, "SaveSettings", QStringLiteral("False"), kText,
       [](const Configuration& c) { return !c.ReportSaveSettings; }},
      {"a non-zero number is true", kViewLogKey, "FontBold", 7, kNumber,
       [](const Configuration& c) { return c.ViewLog.FontBold; }},
      {"a byte 1 is true", kViewLogKey, "FontItalic", 1, kByte,
       [](const Configuration& c) { return c.ViewLog.FontItalic; }},
      {"a 16-bit number as text", kGeneralKey, "MaxConnections", QStringLiteral("250"), kText,
       [](const Configuration& c) { return c.MaxConnections == 250; }},
      {"a 32-bit kilobyte limit beyond 16 bits", kGeneralKey, "MaxLogSize", 100000, kNumber,
       [](const Configuration& c) { return c.MaxLogSize == 100000; }},
      {"money is divided by 10000", kCostsKey, "CostPerMeg", 12345, kNumber,
       [](const Configuration& c) { return c.CostPerMeg == 1.2345; }},
      {"a plain double is not scaled", kGeneralKey, "NoDisconData", 12345, kNumber,
       [](const Configuration& c) { return c.NoDisconData == 12345; }},
      {"a report font size reads as a single", kDetailReportKey, "FontSize", 11, kNumber,
       [](const Configuration& c) { return c.DetailReport.FontSize == 11.0f; }},
      {"a text field stored as a number", kGeneralKey, "ModemLogFile", 42, kNumber,
       [](const Configuration& c) { return c.ModemLogFile == QStringLiteral("42"); }},
      {"a byte keeps only its low byte", kGeneralKey, "MaxConnectDays", 0x1203, kByte,
       [](const Configuration& c) { return c.MaxConnectDays == 3; }},
  };
  for (const auto& c : cases) {
    QTemporaryDir dir;
    SettingsStore store(SettingsStore::FilePathIn(dir.path()));
    store.SettingsCreateKey(Root::Machine, c.key);
    store.SettingsWriteValue(Root::Machine, c.key, QLatin1String(c.name), c.value, c.kind);
    Configuration config;
    ScriptedReporter reporter;
    LoadConfiguration(store, config, reporter);
    EXPECT_TRUE(reporter.messages.isEmpty()) << c.label << ": " << reporter.messages.join(QLatin1Char('|')).toStdString();
    EXPECT_TRUE(c.check(config)) << c.label;
  }
}

TEST_F(ConfigurationIoTest, AFailedSaveLeavesThePreviousConfigurationWhole) {
  Configuration before = TwoServiceConfiguration();
  ASSERT_TRUE(SaveConfiguration(Store(), before, reporter_));
  // The last value of a save fails: everything written before it must vanish.
  // (UsedHolidays 0 would join ModemLogFile in an index that holds one row.)
  Sql("CREATE UNIQUE INDEX injected_write_failure ON vals((fold IN ('modemlogfile', 'usedholidays')))"
      " WHERE fold = 'modemlogfile' OR (fold = 'usedholidays' AND value = 0);");
  Configuration changed = Configuration{};
  changed.ModemLogFile = QStringLiteral("changed.txt");
  changed.UsedServices = 1;
  changed.Services[0].ServiceName = QStringLiteral("Changed");
  EXPECT_FALSE(SaveConfiguration(Store(), changed, reporter_));
  ASSERT_EQ(reporter_.messages.size(), 1);
  EXPECT_TRUE(reporter_.messages[0].contains(QStringLiteral("injected_write_failure")));
  EXPECT_EQ(Reload(), before);

  // Retry writes the whole record again once the cause is gone.
  reporter_.messages.clear();
  reporter_.answers = {ErrorAnswer::Retry};
  reporter_.onError = [this] { Sql("DROP INDEX injected_write_failure;"); };
  EXPECT_TRUE(SaveConfiguration(Store(), changed, reporter_));
  EXPECT_EQ(reporter_.messages.size(), 1);
  Configuration loaded = Reload();
  EXPECT_EQ(loaded.ModemLogFile, QStringLiteral("changed.txt"));
  EXPECT_EQ(loaded.Services[0].ServiceName, QStringLiteral("Changed"));
  EXPECT_EQ(loaded.UsedHolidays, 0);
}

// A start record with something in every field a load leaves alone: the
// holidays beyond the used ones and the column slots that are not stored.
Configuration StartRecord() {
  Configuration c;
  c.Holidays.fill(4242);
  c.SummaryReport.Columns[5] = 77;
  c.SummaryReport.Columns[6] = 78;
  c.DetailReport.Columns[6] = 79;
  return c;
}

// Loading from the kept image gives what parsing every value gives, field for
// field and flag for flag, whatever form the values were stored in.
TEST_F(ConfigurationIoTest, TheKeptImageLoadsExactlyWhatParsingTheValuesGives) {
  struct Case {
    const char* label;
    std::function<void(ConfigurationIoTest&)> store;
  } cases[] = {
      {"an empty store", [](ConfigurationIoTest&) {}},
      {"a whole saved record",
       [](ConfigurationIoTest& t) {
         Configuration c = TwoServiceConfiguration();
         ScriptedReporter quiet;
         ASSERT_TRUE(SaveConfiguration(t.Store(), c, quiet));
       }},
      {"a record saved by the first start",
       [](ConfigurationIoTest& t) {
         Configuration c;
         ScriptedReporter quiet;
         LoadConfigurationWithDefaults(t.Store(), c, quiet);
       }},
      {"numbers, flags and times stored as text, bytes, missing keys",
       [](ConfigurationIoTest& t) {
         Configuration c = TwoServiceConfiguration();
         ScriptedReporter quiet;
         ASSERT_TRUE(SaveConfiguration(t.Store(), c, quiet));
         t.Sql("DELETE FROM keys WHERE fold IN ('costs', 'viewlog');");
         t.Put(kGeneralKey, "MaxServices", QStringLiteral(" 12 "), kText);
         t.Put(kGeneralKey, "UsedServices", 2, kByte);
         t.Put(kGeneralKey, "NoDisconDuration", QStringLiteral("90.5"), kText);
         t.Put(kGeneralKey, "EditLog", QStringLiteral("false"), kText);
         t.Put(kGeneralKey, "ShowErrors", 1, kByte);
         t.Put(kGeneralKey, "ShowGraphic", QStringLiteral("7"), kText);
         t.Put(kServicesKey, "ServiceName1", QStringLiteral("Caf\u00e9 \u00fcnicode"), kText);
         t.Put(kServicesKey, "ServiceNumber1", 5551234, kNumber);
         t.Put(kServicesKey, "UsedTariffs1", 1, kNumber);
         t.Put(kServicesKey, "Tariff1-1AppliesTimeStart", QStringLiteral("08:00"), kText);
         t.Put(kServicesKey, "Tariff1-1DialRate", QStringLiteral("1250"), kText);
         t.Put(kServicesKey, "MegPeriod2", QString(), kText);
         t.Put(kServicesKey, "AfterMeg2", 0, kNumber);
         t.Put(kServicesKey, "PerMeg2", 0, kNumber);
         t.Put(kServicesKey, "ServiceName3", QStringLiteral("beyond the used services"), kText);
         t.Put(kHolidaysKey, "UsedHolidays", 1, kNumber);
         t.Put(kHolidaysKey, " 1", QStringLiteral("36000"), kText);
         t.Put(kSummaryReportKey, "FontSize", QStringLiteral("10.5"), kText);
       }},
  };
  for (const auto& c : cases) {
    QTemporaryDir dir;
    store_ = std::make_unique<SettingsStore>(SettingsStore::FilePathIn(dir.path()));
    c.store(*this);
    Sql("DELETE FROM derived;");

    Configuration parsed = StartRecord();
    ScriptedReporter r;
    const LoadedFlags parsedFlags = LoadConfiguration(Store(), parsed, r);
    const QByteArray image = CurrentImage();
    ASSERT_FALSE(image.isEmpty()) << c.label << ": the parsed record is kept for the next load";

    Configuration fromImage = StartRecord();
    const LoadedFlags imageFlags = LoadConfiguration(Store(), fromImage, r);
    EXPECT_TRUE(r.messages.isEmpty()) << c.label;
    EXPECT_EQ(CurrentImage(), image) << c.label << ": a load from the image writes nothing";
    EXPECT_EQ(fromImage, parsed) << c.label;
    for (const auto member : {&LoadedFlags::EditLog, &LoadedFlags::ShowErrors, &LoadedFlags::ShowToolbars,
                              &LoadedFlags::ShowGraphic, &LoadedFlags::AutoOptimize, &LoadedFlags::CalcCosts}) {
      EXPECT_EQ(imageFlags.*member, parsedFlags.*member) << c.label;
    }
    EXPECT_EQ(fromImage.Holidays[50], 4242) << c.label;
    EXPECT_EQ(fromImage.SummaryReport.Columns[6], 78) << c.label;

    // The start-up load decides the same way from the image: nothing to fill
    // in for a whole record, the defaults for a partial one.
    Configuration viaParse;
    Configuration viaImage;
    Sql("DELETE FROM derived;");
    LoadConfigurationWithDefaults(Store(), viaParse, r);
    const bool filledImage = LoadConfigurationWithDefaults(Store(), viaImage, r);
    EXPECT_FALSE(filledImage) << c.label << ": the first load saved what it filled in";
    EXPECT_EQ(viaImage, viaParse) << c.label;
    store_.reset();
  }
}

// Any change to the values, through the store or straight in the database,
// retires the image: the next load reads the change and keeps a new image.
TEST_F(ConfigurationIoTest, AnyChangeToTheValuesRetiresTheKeptImage) {
  struct Case {
    const char* label;
    std::function<void(ConfigurationIoTest&)> change;
    std::function<bool(const Configuration&)> seen;
  } cases[] = {
      {"a write through the store",
       [](ConfigurationIoTest& t) { t.Put(kServicesKey, "ServiceName1", QStringLiteral("Renamed"), kText); },
       [](const Configuration& c) { return c.Services[0].ServiceName == QLatin1String("Renamed"); }},
      {"an update by another program",
       [](ConfigurationIoTest& t) { t.Sql("UPDATE vals SET value = 'Elsewhere' WHERE fold = 'servicename2';"); },
       [](const Configuration& c) { return c.Services[1].ServiceName == QLatin1String("Elsewhere"); }},
      {"a value deleted by another program",
       [](ConfigurationIoTest& t) { t.Sql("DELETE FROM vals WHERE fold = 'tariff1-1after';"); },
       [](const Configuration& c) { return c.Services[0].Tariffs[0].After == 0; }},
      {"a value added by another program",
       [](ConfigurationIoTest& t) {
         t.Sql("UPDATE vals SET value = 3 WHERE fold = 'usedholidays';"
               "INSERT INTO vals(key, name, fold, kind, value)"
               " SELECT key, ' 3', ' 3', 4, 36500 FROM vals WHERE fold = 'usedholidays';");
       },
       [](const Configuration& c) { return c.UsedHolidays == 3 && c.Holidays[2] == 36500; }},
      {"a key deleted by another program",
       [](ConfigurationIoTest& t) { t.Sql("DELETE FROM keys WHERE fold = 'holidays';"); },
       [](const Configuration& c) { return c.UsedHolidays == 0; }},
  };
  for (const auto& c : cases) {
    QTemporaryDir dir;
    store_ = std::make_unique<SettingsStore>(SettingsStore::FilePathIn(dir.path()));
    Configuration saved = TwoServiceConfiguration();
    ASSERT_TRUE(SaveConfiguration(Store(), saved, reporter_));
    const QByteArray before = CurrentImage();
    ASSERT_FALSE(before.isEmpty()) << c.label << ": a save keeps the image of what it saved";
    ASSERT_EQ(Reload(), saved) << c.label;

    c.change(*this);
    EXPECT_TRUE(CurrentImage().isEmpty()) << c.label;
    const Configuration after = Reload();
    EXPECT_TRUE(c.seen(after)) << c.label;
    const QByteArray remade = CurrentImage();
    EXPECT_FALSE(remade.isEmpty()) << c.label;
    EXPECT_NE(remade, before) << c.label;
    EXPECT_EQ(Reload(), after) << c.label;
    store_.reset();
  }
}

// A damaged image is passed over: the values are parsed and a good image
// takes its place.
TEST_F(ConfigurationIoTest, ADamagedImageIsPassedOverAndMadeAgain) {
  const char* damages[] = {
      "UPDATE derived SET data = substr(data, 1, 60);",
      "UPDATE derived SET data = substr(data, 1, 100) || x'ff' || substr(data, 102);",
      "UPDATE derived SET data = zeroblob(length(data));",
      "UPDATE derived SET data = x'';",
      "UPDATE derived SET data = 'MRLIMG01 and then nothing of the kind';",
  };
  for (const char* damage : damages) {
    QTemporaryDir dir;
    store_ = std::make_unique<SettingsStore>(SettingsStore::FilePathIn(dir.path()));
    Configuration saved = TwoServiceConfiguration();
    ASSERT_TRUE(SaveConfiguration(Store(), saved, reporter_));
    const QByteArray good = CurrentImage();
    Sql(damage);
    ASSERT_NE(CurrentImage(), good) << damage;
    EXPECT_EQ(Reload(), saved) << damage;
    EXPECT_EQ(CurrentImage(), good) << damage;
    store_.reset();
  }
}

// A store too large to check page by page when it is opened is found damaged
// by the load that meets a damaged page: moved aside with its message, like
// one the open found, and the program goes on with the defaults.
TEST_F(ConfigurationIoTest, ADamagedPageOfALargeStoreFoundWhileLoadingMovesItAside) {
  const QString path = SettingsStore::FilePathIn(dir_.path());
  {
    SettingsStore store(path);
    Configuration big = TwoServiceConfiguration();
    for (Service& s : big.Services) s.ServiceName = QString(6000, QLatin1Char('n'));
    big.MaxServices = 400;
    big.Services.resize(401);
    big.UsedServices = 400;
    for (int n = 0; n < 400; ++n) big.Services[static_cast<size_t>(n)].ServiceName = QString(6000, QLatin1Char('a' + n % 26));
    ScriptedReporter quiet;
    ASSERT_TRUE(SaveConfiguration(store, big, quiet));
  }
  QFile file(path);
  ASSERT_TRUE(file.open(QIODevice::ReadWrite));
  ASSERT_GT(file.size(), 3 * 1024 * 1024) << "large enough to skip the check at open";
  // Every page but the first (the file header and the list of tables).
  file.seek(4096);
  file.write(QByteArray(file.size() - 4096, '\xA5'));
  file.close();

  SettingsStore store(path);
  EXPECT_TRUE(store.DamageMessage().isEmpty());
  Configuration config;
  ScriptedReporter r;
  EXPECT_TRUE(LoadConfigurationWithDefaults(store, config, r));
  EXPECT_TRUE(r.messages.isEmpty()) << r.messages.join(QLatin1Char('|')).toStdString();
  EXPECT_FALSE(store.DamageMessage().isEmpty());
  EXPECT_TRUE(QFile::exists(store.DamagedFilePath()));
  EXPECT_EQ(config, Configuration{});
}

}  // namespace
}  // namespace mirolat
