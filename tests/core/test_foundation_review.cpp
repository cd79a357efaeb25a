// A second look at the foundation: the store layout, the reading and writing
// order of the configuration record, the start-up options, the log line rules,
// the formatting helpers, the error messages and the warning boxes, each
// checked against the program's documented behaviour with expectations
// written out by hand.
#include <gtest/gtest.h>

#include <QRegularExpression>
#include <QTemporaryDir>
#include <memory>

#include "analysis/log_format.h"
#include "common/errors.h"
#include "config/configuration_io.h"
#include "config/locale_values.h"
#include "config/startup.h"
#include "config/warnings.h"
#include "costs/formatting.h"

namespace mirolat {
namespace {

constexpr int kText = 1;
constexpr int kByte = 3;
constexpr int kNumber = 4;

// Keeps every failure and answers Continue, so a load goes on past each one.
class CollectingReporter : public ErrorReporter {
 public:
  QStringList messages;
  ErrorAnswer ReportError(const RunError& error) override {
    messages.append(error.description());
    return ErrorAnswer::Continue;
  }
};

// Where a "Type mismatch: 'x' (KEY\NAME)" message points.
QStringList MismatchPlaces(const QStringList& messages) {
  static const QRegularExpression place(QStringLiteral("^Type mismatch: '.*' \\((.*)\\)$"));
  QStringList places;
  for (const QString& m : messages) {
    const QRegularExpressionMatch match = place.match(m);
    places.append(match.hasMatch() ? match.captured(1) : QStringLiteral("?? ") + m);
  }
  return places;
}

class FoundationStore : public ::testing::Test {
 protected:
  void SetUp() override { store_ = std::make_unique<SettingsStore>(SettingsStore::FilePathIn(dir_.path())); }
  void Put(const QString& key, const QString& name, const QVariant& value, int kind) {
    store_->SettingsCreateKey(Root::Machine, key);
    store_->SettingsWriteValue(Root::Machine, key, name, value, kind);
  }
  SettingsValue Get(const QString& key, const QString& name) {
    return store_->SettingsReadValue(Root::Machine, key, name);
  }
  QTemporaryDir dir_;
  std::unique_ptr<SettingsStore> store_;
};

QStringList L(std::initializer_list<const char*> names) {
  QStringList out;
  for (const char* n : names) out.append(QString::fromLatin1(n));
  return out;
}

// ---------------------------------------------------------------------------
// Settings store layout and the configuration record

TEST_F(FoundationStore, SaveWritesKeysAndValuesInItsOwnOrder) {
  Configuration c;
  c.UsedServices = 1;
  Service& s = c.Services[0];
  s.ServiceName = QStringLiteral("Home");
  s.ServiceNumber = QStringLiteral("0845");
  s.DialOption = 2;
  s.DialFixedTariff = 0.05;
  s.UsedTariffs = 2;
  s.Tariffs[0] = Tariff{QStringLiteral("Peak"), QStringLiteral("Mon - Fri"), MakeTime(8, 0, 0), MakeTime(17, 59, 0),
                        0.1, 0.02, 90};
  s.Tariffs[1] = Tariff{QStringLiteral("Night"), QStringLiteral("Everyday"), MakeTime(18, 0, 0),
                        MakeTime(7, 59, 0), 0.2, 0.01, 0};
  s.ServiceOption = 2;
  s.ServiceRate = 1.25;
  s.FlexRate = 0.5;
  s.UpToHours = 20;
  s.PenaltyPeriod = QStringLiteral("Week");
  s.FlexRate2 = 2;
  s.PerMeg = 0.03;
  s.AfterMeg = 100;
  s.MegPeriod = QStringLiteral("Month");
  c.UsedHolidays = 2;
  c.Holidays[0] = MakeDate(1998, 12, 25);
  c.Holidays[1] = MakeDate(1999, 1, 1);
  CollectingReporter reporter;
  ASSERT_TRUE(SaveConfiguration(*store_, c, reporter));
  ASSERT_TRUE(reporter.messages.isEmpty());

  // Keys in the order of the save: Services before Costs.
  EXPECT_EQ(store_->SubKeyNames(Root::Machine, kSettingsBaseKey),
            L({"General", "Modem", "Services", "Costs", "ViewLog", "ViewReport", "Holidays"}));
  EXPECT_EQ(store_->SubKeyNames(Root::Machine, kViewReportKey), L({"SummaryReport", "DetailReport"}));

  EXPECT_EQ(store_->ValueNames(Root::Machine, kServicesKey),
            L({"ServiceName1", "ServiceNumber1", "DialOption1", "DialFixedTariff1", "UsedTariffs1",
               "Tariff1-1After", "Tariff1-1AppliesDays", "Tariff1-1AppliesTimeEnd", "Tariff1-1AppliesTimeStart",
               "Tariff1-1Description", "Tariff1-1DialRate", "Tariff1-1PerMinuteRate", "Tariff1-2After",
               "Tariff1-2AppliesDays", "Tariff1-2AppliesTimeEnd", "Tariff1-2AppliesTimeStart",
               "Tariff1-2Description", "Tariff1-2DialRate", "Tariff1-2PerMinuteRate", "ServiceRate1",
               "ServiceOption1", "AfterMeg1", "PerMeg1", "MegPeriod1", "FlexRate1", "FlexRate21", "PenaltyPeriod1",
               "UpToHours1"}));
  EXPECT_EQ(store_->ValueNames(Root::Machine, kGeneralKey),
            L({"ModemLogFile", "MaxServices", "UsedServices", "MaxConnections", "MaxConnectDays", "NoDisconDuration",
               "NoDisconData", "MaxLogSize", "EditLog", "ShowErrors", "ShowToolbars", "ShowGraphic",
               "AutoOptimize"}));
  EXPECT_EQ(store_->ValueNames(Root::Machine, kCostsKey), L({"CalcCosts", "DialCost", "CostPerHour", "CostPerMeg"}));
  EXPECT_EQ(store_->ValueNames(Root::Machine, kViewLogKey),
            L({"SaveSettings", "FontName", "FontSize", "FontBold", "FontItalic", "WinHeight", "WinWidth",
               "WinState"}));
  EXPECT_EQ(store_->ValueNames(Root::Machine, kViewReportKey), L({"SaveSettings", "ListView", "AutoArrange"}));
  EXPECT_EQ(store_->ValueNames(Root::Machine, kHolidaysKey), L({"UsedHolidays", " 1", " 2"}));

  // Each value in its stored kind: texts, scaled money, plain numbers, times as text.
  struct Row {
    const char* name;
    SettingsValue value;
  } rows[] = {
      {"ServiceName1", QStringLiteral("Home")},
      {"ServiceNumber1", QStringLiteral("0845")},
      {"DialOption1", 2},
      {"DialFixedTariff1", 500},
      {"UsedTariffs1", 2},
      {"Tariff1-1After", 90},
      {"Tariff1-1AppliesDays", QStringLiteral("Mon - Fri")},
      {"Tariff1-1AppliesTimeEnd", QStringLiteral("17:59:00")},
      {"Tariff1-1AppliesTimeStart", QStringLiteral("08:00:00")},
      {"Tariff1-1Description", QStringLiteral("Peak")},
      {"Tariff1-1DialRate", 1000},
      {"Tariff1-1PerMinuteRate", 200},
      {"Tariff1-2PerMinuteRate", 100},
      {"ServiceRate1", 12500},
      {"ServiceOption1", 2},
      {"AfterMeg1", 100},
      {"PerMeg1", 300},
      {"MegPeriod1", QStringLiteral("Month")},
      {"FlexRate1", 5000},
      {"FlexRate21", 20000},
      {"PenaltyPeriod1", QStringLiteral("Week")},
      {"UpToHours1", 20},
  };
  for (const Row& r : rows) EXPECT_EQ(Get(kServicesKey, QLatin1String(r.name)), r.value) << r.name;
  EXPECT_EQ(Get(kHolidaysKey, QStringLiteral(" 1")), SettingsValue(MakeDate(1998, 12, 25)));
  EXPECT_EQ(Get(kHolidaysKey, QStringLiteral(" 2")), SettingsValue(36161));
}

TEST_F(FoundationStore, LoadReadsEveryValueInItsOwnOrder) {
  // Every value that must convert holds text that does not: each read fails
  // once, so the reporter sees the reads in the order they happen.
  const QString bad = QStringLiteral("x");
  for (const char* n : {"MaxServices", "MaxConnections", "MaxConnectDays", "NoDisconDuration", "NoDisconData",
                        "MaxLogSize", "EditLog", "ShowErrors", "ShowToolbars", "ShowGraphic", "AutoOptimize"}) {
    Put(kGeneralKey, QLatin1String(n), bad, kText);
  }
  Put(kGeneralKey, QStringLiteral("UsedServices"), 1, kNumber);
  for (const char* n : {"CalcCosts", "DialCost", "CostPerHour", "CostPerMeg"}) Put(kCostsKey, QLatin1String(n), bad, kText);
  Put(kServicesKey, QStringLiteral("UsedTariffs1"), 2, kNumber);
  for (const char* n : {"DialOption1", "DialFixedTariff1", "Tariff1-1After", "Tariff1-1AppliesTimeEnd",
                        "Tariff1-1AppliesTimeStart", "Tariff1-1DialRate", "Tariff1-1PerMinuteRate", "Tariff1-2After",
                        "Tariff1-2AppliesTimeEnd", "Tariff1-2AppliesTimeStart", "Tariff1-2DialRate",
                        "Tariff1-2PerMinuteRate", "ServiceRate1", "ServiceOption1", "AfterMeg1", "PerMeg1",
                        "FlexRate1", "FlexRate21", "UpToHours1", "Tariff1-3After", "DialOption2"}) {
    Put(kServicesKey, QLatin1String(n), bad, kText);
  }
  for (const char* n : {"SaveSettings", "FontSize", "FontBold", "FontItalic", "WinHeight", "WinWidth", "WinState"}) {
    Put(kViewLogKey, QLatin1String(n), bad, kText);
  }
  for (const char* n : {"SaveSettings", "ListView", "AutoArrange"}) Put(kViewReportKey, QLatin1String(n), bad, kText);
  for (const QString& key : {kSummaryReportKey, kDetailReportKey}) {
    for (const char* n : {"WinHeight", "WinWidth", "WinLeft", "WinTop", "FontSize", "Column1", "Column2", "Column3",
                          "Column4", "Column5", "Column6", "Column7"}) {
      Put(key, QLatin1String(n), bad, kText);
    }
  }
  Put(kHolidaysKey, QStringLiteral("UsedHolidays"), 2, kNumber);
  for (const char* n : {" 1", " 2", " 3", "1", "2"}) Put(kHolidaysKey, QLatin1String(n), bad, kText);

  Configuration config;
  CollectingReporter reporter;
  LoadConfiguration(*store_, config, reporter);

  QStringList expected;
  auto add = [&](const QString& key, std::initializer_list<const char*> names) {
    for (const char* n : names) expected.append(key + QLatin1Char('\\') + QLatin1String(n));
  };
  add(kGeneralKey, {"MaxServices", "MaxConnections", "MaxConnectDays", "NoDisconDuration", "NoDisconData",
                    "MaxLogSize", "EditLog", "ShowErrors", "ShowToolbars", "ShowGraphic", "AutoOptimize"});
  add(kCostsKey, {"CalcCosts", "DialCost", "CostPerHour", "CostPerMeg"});
  add(kServicesKey, {"DialOption1", "DialFixedTariff1", "Tariff1-1After", "Tariff1-1AppliesTimeEnd",
                     "Tariff1-1AppliesTimeStart", "Tariff1-1DialRate", "Tariff1-1PerMinuteRate", "Tariff1-2After",
                     "Tariff1-2AppliesTimeEnd", "Tariff1-2AppliesTimeStart", "Tariff1-2DialRate",
                     "Tariff1-2PerMinuteRate", "ServiceRate1", "ServiceOption1", "AfterMeg1", "PerMeg1", "FlexRate1",
                     "FlexRate21", "UpToHours1"});
  add(kViewLogKey, {"SaveSettings", "FontSize", "FontBold", "FontItalic", "WinHeight", "WinWidth", "WinState"});
  add(kViewReportKey, {"SaveSettings", "ListView", "AutoArrange"});
  add(kSummaryReportKey,
      {"WinHeight", "WinWidth", "WinLeft", "WinTop", "FontSize", "Column1", "Column2", "Column3", "Column4", "Column5"});
  add(kDetailReportKey, {"WinHeight", "WinWidth", "WinLeft", "WinTop", "FontSize", "Column1", "Column2", "Column3",
                         "Column4", "Column5", "Column6"});
  add(kHolidaysKey, {" 1", " 2"});
  EXPECT_EQ(MismatchPlaces(reporter.messages), expected);
  EXPECT_EQ(config.UsedServices, 1);
  EXPECT_EQ(config.Services[0].UsedTariffs, 2);
}

TEST_F(FoundationStore, OnlyFiveSummaryAndSixDetailColumnsAreStored) {
  Configuration c;
  c.SummaryReport.Columns = {11, 12, 13, 14, 15, 16, 17};
  c.DetailReport.Columns = {21, 22, 23, 24, 25, 26, 27};
  CollectingReporter reporter;
  ASSERT_TRUE(SaveConfiguration(*store_, c, reporter));
  EXPECT_EQ(Get(kSummaryReportKey, QStringLiteral("Column5")), SettingsValue(15));
  EXPECT_EQ(Get(kSummaryReportKey, QStringLiteral("Column6")), SettingsValue());
  EXPECT_EQ(Get(kSummaryReportKey, QStringLiteral("Column7")), SettingsValue());
  EXPECT_EQ(Get(kDetailReportKey, QStringLiteral("Column6")), SettingsValue(26));
  EXPECT_EQ(Get(kDetailReportKey, QStringLiteral("Column7")), SettingsValue());

  // Values under the unused names are never read: the slots keep what they held.
  Put(kSummaryReportKey, QStringLiteral("Column6"), 999, kNumber);
  Put(kSummaryReportKey, QStringLiteral("Column7"), 999, kNumber);
  Put(kDetailReportKey, QStringLiteral("Column7"), 999, kNumber);
  Configuration loaded;
  loaded.SummaryReport.Columns = {1, 2, 3, 4, 5, 6, 7};
  loaded.DetailReport.Columns = {1, 2, 3, 4, 5, 6, 7};
  LoadConfiguration(*store_, loaded, reporter);
  EXPECT_TRUE(reporter.messages.isEmpty());
  EXPECT_EQ(loaded.SummaryReport.Columns, (std::array<qint32, 7>{11, 12, 13, 14, 15, 6, 7}));
  EXPECT_EQ(loaded.DetailReport.Columns, (std::array<qint32, 7>{21, 22, 23, 24, 25, 26, 7}));
}

TEST_F(FoundationStore, StoredKindsReadBackAsTheirFields) {
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
    CollectingReporter reporter;
    LoadConfiguration(store, config, reporter);
    EXPECT_TRUE(reporter.messages.isEmpty()) << c.label << ": " << reporter.messages.join(QLatin1Char('|')).toStdString();
    EXPECT_TRUE(c.check(config)) << c.label;
  }
}

TEST_F(FoundationStore, AMissingCalcCostsBringsBothDefaultAmountsBack) {
  // With CalcCosts absent (or the number 0) the dial-up cost and the hourly
  // cost take their defaults even when they were stored; CostPerMeg is kept.
  for (const QVariant& calc : {QVariant(), QVariant(0)}) {
    QTemporaryDir dir;
    SettingsStore store(SettingsStore::FilePathIn(dir.path()));
    store.SettingsCreateKey(Root::Machine, kCostsKey);
    store.SettingsWriteValue(Root::Machine, kCostsKey, QStringLiteral("DialCost"), 5000, kNumber);
    store.SettingsWriteValue(Root::Machine, kCostsKey, QStringLiteral("CostPerHour"), 30000, kNumber);
    store.SettingsWriteValue(Root::Machine, kCostsKey, QStringLiteral("CostPerMeg"), 700, kNumber);
    if (calc.isValid()) store.SettingsWriteValue(Root::Machine, kCostsKey, QStringLiteral("CalcCosts"), calc, kNumber);
    Configuration config;
    CollectingReporter reporter;
    EXPECT_TRUE(LoadConfigurationWithDefaults(store, config, reporter));
    EXPECT_TRUE(config.CalcCosts);
    EXPECT_DOUBLE_EQ(config.DialCost, 0.2);
    EXPECT_DOUBLE_EQ(config.CostPerHour, 1.5);
    EXPECT_DOUBLE_EQ(config.CostPerMeg, 0.07);
    EXPECT_EQ(store.SettingsReadValue(Root::Machine, kCostsKey, QStringLiteral("CalcCosts")),
              SettingsValue(QStringLiteral("True")));
    EXPECT_EQ(store.SettingsReadValue(Root::Machine, kCostsKey, QStringLiteral("DialCost")), SettingsValue(2000));
  }
  // With CalcCosts stored, stored amounts stay.
  Put(kCostsKey, QStringLiteral("CalcCosts"), QStringLiteral("False"), kText);
  Put(kCostsKey, QStringLiteral("DialCost"), 5000, kNumber);
  Put(kCostsKey, QStringLiteral("CostPerHour"), 0, kNumber);
  Configuration config;
  CollectingReporter reporter;
  LoadConfigurationWithDefaults(*store_, config, reporter);
  EXPECT_FALSE(config.CalcCosts);
  EXPECT_DOUBLE_EQ(config.DialCost, 0.5);
  EXPECT_DOUBLE_EQ(config.CostPerHour, 0);
}

TEST_F(FoundationStore, AHundredHolidaysUseBlankPrefixedNames) {
  Configuration c;
  c.UsedHolidays = kMaxHolidays;
  for (int n = 0; n < kMaxHolidays; ++n) c.Holidays[static_cast<size_t>(n)] = MakeDate(1999, 1, 1) + n;
  CollectingReporter reporter;
  ASSERT_TRUE(SaveConfiguration(*store_, c, reporter));
  const QStringList names = store_->ValueNames(Root::Machine, kHolidaysKey);
  ASSERT_EQ(names.size(), 101);
  EXPECT_EQ(names[0], QStringLiteral("UsedHolidays"));
  EXPECT_EQ(names[1], QStringLiteral(" 1"));
  EXPECT_EQ(names[10], QStringLiteral(" 10"));
  EXPECT_EQ(names[100], QStringLiteral(" 100"));
  EXPECT_EQ(Get(kHolidaysKey, QStringLiteral(" 100")), SettingsValue(MakeDate(1999, 1, 1) + 99));
  Configuration loaded;
  LoadConfiguration(*store_, loaded, reporter);
  EXPECT_TRUE(reporter.messages.isEmpty());
  EXPECT_EQ(loaded.Holidays, c.Holidays);
}

}  // namespace
}  // namespace mirolat
