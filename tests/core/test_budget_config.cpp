// Budgets in the store, the record's image and the JSON, and the rules the
// Budget tabs hold them to.
#include <gtest/gtest.h>

#include <QTemporaryDir>

#include "core/app/report_range.h"
#include "core/model/budget_rules.h"
#include "core/model/record_rules.h"
#include "core/settings/config_json.h"
#include "core/settings/configuration_io.h"
#include "support/sample_configuration.h"

namespace mirolat {
namespace {

class Quiet : public ErrorReporter {
 public:
  ErrorAnswer ReportError(const RunError&) override { return ErrorAnswer::End; }
};

Configuration BudgetedSample() {
  Configuration c = test::SampleConfiguration();
  c.OverallBudget = BudgetSettings{0, 15, 30, 0, 60.5, 0, 0, 50, 90};
  c.Services[0].Budget = BudgetSettings{1, 1, 28, ExistingDate(1998, 1, 5), 0, 12.25, 300.5, 0, 75};
  c.Services[2].Budget.Money = 20;
  return c;
}

TEST(BudgetConfig, StoreImageAndJsonKeepEveryBudgetValue) {
  Configuration sample = BudgetedSample();
  QTemporaryDir dir;
  Quiet reporter;
  {
    SettingsStore store(SettingsStore::FilePathIn(dir.path()));
    ASSERT_TRUE(SaveConfiguration(store, sample, reporter));
  }
  for (const char* pass : {"parsed", "from the image"}) {
    SettingsStore store(SettingsStore::FilePathIn(dir.path()));
    Configuration loaded;
    LoadConfiguration(store, loaded, reporter);
    EXPECT_TRUE(store.DamageMessage().isEmpty()) << pass << store.DamageMessage().toStdString();
    EXPECT_EQ(loaded, sample) << pass;
  }
  const QByteArray json = ConfigurationToJson(sample);
  EXPECT_TRUE(json.contains(R"("CycleFromDate": "1998-01-05")")) << json.constData();
  EXPECT_TRUE(json.contains(R"("CycleFromDate": null)"));
  Configuration back;
  QString error;
  ASSERT_TRUE(ConfigurationFromJson(json, sample, back, error)) << error.toStdString();
  EXPECT_EQ(back, sample);
}

TEST(BudgetConfig, JsonBudgetsNameWhatIsWrong) {
  const struct {
    const char* json;
    const char* message;  // empty: taken
  } cases[] = {
      {R"({"Budget": {"BudgetMoney": 10}})", ""},
      {R"({"Budget": {"CycleFromDate": "1998-02-30"}})", "Budget.CycleFromDate: expected a date"},
      {R"({"Budget": {"Limit": 1}})", "Budget.Limit: unknown field"},
      {R"({"Budget": {"CycleOption": 1}})", "Budget.CycleFromDate: a cycle of a number of days needs"},
      {R"({"Services": [{"ServiceName": "X", "ServiceNumber": "1", "DialOption": 1, "ServiceOption": 1,
                         "Budget": {"CycleStartDay": 29}}]})",
       "Services[0].Budget.CycleStartDay: the cycle's first day of the month must be a whole number from 1 to 28"},
  };
  for (const auto& c : cases) {
    Configuration out;
    QString error;
    const bool taken = ConfigurationFromJson(c.json, Configuration{}, out, error);
    EXPECT_EQ(taken, *c.message == '\0') << c.json;
    EXPECT_TRUE(*c.message == 0 ? error.isEmpty() : error.startsWith(QLatin1String(c.message))) << c.json << " gave " << error.toStdString();
  }
}

TEST(BudgetRules, EachRuleNamesItsValue) {
  const auto with = [](auto change) {
    BudgetSettings b;
    change(b);
    return b;
  };
  const struct {
    BudgetSettings budget;
    const char* field;  // empty: valid
  } cases[] = {
      {BudgetSettings{}, ""},
      {with([](auto& b) { b.WarnPercent1 = 0; }), ""},
      {with([](auto& b) { b.WarnPercent2 = 0; b.WarnPercent1 = 100; }), ""},
      {with([](auto& b) { b.CycleOption = 2; }), "CycleOption"},
      {with([](auto& b) { b.CycleStartDay = 0; }), "CycleStartDay"},
      {with([](auto& b) { b.CycleStartDay = 29; }), "CycleStartDay"},
      {with([](auto& b) { b.CycleDays = 367; }), "CycleDays"},
      {with([](auto& b) { b.CycleOption = 1; }), "CycleFromDate"},
      {with([](auto& b) { b.Hours = -1; }), "BudgetHours"},
      {with([](auto& b) { b.Megabytes = 1e9; }), "BudgetMegabytes"},
      {with([](auto& b) { b.WarnPercent2 = 101; }), "WarnPercent2"},
      {with([](auto& b) { b.WarnPercent1 = 90; b.WarnPercent2 = 90; }), "WarnPercent1"},
  };
  for (const auto& c : cases) {
    const QList<BudgetValueProblem> problems = BudgetProblems(c.budget);
    EXPECT_EQ(problems.isEmpty() ? QString() : problems.first().Field, QLatin1String(c.field)) << c.field;
  }
}

TEST(BudgetRules, TypedLimitsAreReadInTheLocale) {
  const LocaleValues de = LoadLocaleInfo(QLocale(QLocale::German, QLocale::Germany));
  BudgetEntries e = BudgetEntriesOf(BudgetSettings{}, de);
  e.Money = QStringLiteral("1.234,5");
  EXPECT_EQ(BudgetEntriesProblem(e, de), QString());
  EXPECT_DOUBLE_EQ(BuildBudget(e, de).Money, 1234.5);
  e.Hours = QStringLiteral("x");
  EXPECT_EQ(BudgetEntriesProblem(e, de), QStringLiteral("Budget: the hours limit \"x\" is not an amount of 0 or more."));
}

TEST(BudgetQuickDates, ThisCycleRunsToTodayLastCycleIsWhole) {
  Configuration c;
  c.UsedServices = 1;
  c.OverallBudget.CycleStartDay = 15;
  c.Services[0].Budget = BudgetSettings{1, 1, 10, ExistingDate(1998, 1, 1)};
  const Date today = ExistingDate(1998, 2, 3);
  const struct {
    int service;
    CycleQuickDate command;
    Date first, last;
  } cases[] = {
      {-1, CycleQuickDate::ThisCycle, ExistingDate(1998, 1, 15), today},
      {-1, CycleQuickDate::LastCycle, ExistingDate(1997, 12, 15), ExistingDate(1998, 1, 14)},
      {0, CycleQuickDate::ThisCycle, ExistingDate(1998, 1, 31), today},
      {0, CycleQuickDate::LastCycle, ExistingDate(1998, 1, 21), ExistingDate(1998, 1, 30)},
      {1, CycleQuickDate::ThisCycle, ExistingDate(1998, 1, 15), today},  // not in use: the overall cycle
  };
  for (const auto& k : cases) {
    const ReportRange r = BillingCycleRange(k.command, QuickDateBudget(c, k.service), today);
    EXPECT_EQ(r.start, k.first) << k.service;
    EXPECT_EQ(r.end, k.last) << k.service;
  }
}

}  // namespace
}  // namespace mirolat
