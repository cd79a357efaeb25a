// Budget alerts: each threshold, limit and projection noticed once per cycle,
// remembered across restarts, and written as a user reads it.
#include <gtest/gtest.h>

#include <QTemporaryDir>

#include "core/planning/budget_alerts.h"
#include "core/settings/settings_store.h"
#include "pricing_fixtures.h"

namespace mirolat {
namespace {

Date D(int y, int m, int d) { return ExistingDate(y, m, d); }

struct Step {
  Date day;
  double cost;
  std::vector<AlertKind> expected;  // the notices this change gives
};

TEST(BudgetAlertsTest, EachMarkIsNoticedOncePerCycle) {
  using K = AlertKind;
  struct Case {
    const char* name;
    int warn1, warn2;
    std::vector<Step> steps;
  } cases[] = {
      {"warning, then the limit", 80, 100,
       {{D(2026, 1, 20), 10, {}}, {D(2026, 1, 25), 25.5, {K::Warning}}, {D(2026, 1, 26), 26, {}},
        {D(2026, 1, 28), 31, {K::Over}}, {D(2026, 1, 29), 35, {}}}},
      {"straight past every mark: one notice", 80, 100, {{D(2026, 1, 28), 40, {K::Over}}, {D(2026, 1, 30), 41, {}}}},
      {"two thresholds below the limit, then the limit", 50, 90,
       {{D(2026, 1, 30), 16, {K::Warning}}, {D(2026, 1, 30), 28, {K::Warning}}, {D(2026, 1, 31), 30, {K::Over}}}},
      {"projection waits for a quarter of the cycle", 80, 100,
       {{D(2026, 1, 3), 6, {}}, {D(2026, 1, 8), 10, {K::Projected}}, {D(2026, 1, 9), 12, {}},
        {D(2026, 1, 25), 25, {K::Warning}}}},
      {"a new cycle starts fresh", 80, 100,
       {{D(2026, 1, 31), 25, {K::Warning}}, {D(2026, 2, 28), 25, {K::Warning}}, {D(2026, 2, 28), 25, {}}}},
      {"no thresholds: only the limit", 0, 0, {{D(2026, 1, 31), 29, {}}, {D(2026, 1, 31), 30, {K::Over}}}},
  };
  for (const Case& c : cases) {
    BudgetSettings budget;
    budget.Money = 30;
    budget.WarnPercent1 = c.warn1;
    budget.WarnPercent2 = c.warn2;
    QStringList given;
    int step = 0;
    for (const Step& s : c.steps) {
      BudgetStatus status = StatusOf(budget, CycleContaining(budget, s.day), s.day, CycleUse{s.cost, 0, 0});
      status.Service = 0;
      status.Name = QStringLiteral("Provider A");
      const AlertCheck check = CheckBudgetAlerts({status}, given, testing::EnglishLocale());
      std::vector<AlertKind> kinds;
      for (const BudgetAlert& a : check.New) kinds.push_back(a.Kind);
      EXPECT_EQ(kinds, s.expected) << c.name << ", step " << step;
      given = check.Given;
      ++step;
    }
  }
}

TEST(BudgetAlertsTest, NoticesReadAsAUserReadsThem) {
  BudgetSettings budget;
  budget.Money = 30;
  budget.Hours = 20;
  budget.CycleStartDay = 1;
  BudgetStatus status =
      StatusOf(budget, CycleContaining(budget, D(2026, 1, 25)), D(2026, 1, 25), CycleUse{25.5, 3600 * 5, 0});
  status.Service = -1;
  status.Name = QStringLiteral("All services");
  AlertCheck check = CheckBudgetAlerts({status}, {}, testing::EnglishLocale());
  ASSERT_EQ(check.New.size(), 1u);
  EXPECT_EQ(check.New[0].Title, QStringLiteral("Budget warning: All services"));
  EXPECT_EQ(check.New[0].Text, QStringLiteral("85 % of the $30.00 budget used in the cycle 1–31 Jan; projected $31.62 "
                                              "(linear, 6 days left)"));

  budget.Money = 0;
  status = StatusOf(budget, CycleContaining(budget, D(2026, 1, 10)), D(2026, 1, 10), CycleUse{0, 3600 * 8, 0});
  status.Name = QStringLiteral("Provider B");
  check = CheckBudgetAlerts({status}, {}, testing::EnglishLocale());
  ASSERT_EQ(check.New.size(), 1u);
  EXPECT_EQ(check.New[0].Title, QStringLiteral("Budget forecast: Provider B"));
  EXPECT_EQ(check.New[0].Text, QStringLiteral("Projected 24.8 hours against the 20-hour budget in the cycle 1–31 Jan "
                                              "(linear, 21 days left); 40 % used so far"));
}

TEST(BudgetAlertsTest, CycleTexts) {
  const QLocale english(QLocale::English, QLocale::UnitedStates);
  struct Case {
    BillingCycle cycle;
    const char* expected;
  } cases[] = {
      {{D(2026, 1, 1), D(2026, 1, 31)}, "1–31 Jan"},
      {{D(2026, 1, 15), D(2026, 2, 14)}, "15 Jan – 14 Feb"},
      {{D(2026, 12, 15), D(2027, 1, 14)}, "15 Dec 2026 – 14 Jan 2027"},
      {{D(2026, 5, 5), D(2026, 5, 5)}, "5 May"},
  };
  for (const Case& c : cases) EXPECT_EQ(CycleText(c.cycle, english), QString::fromUtf8(c.expected));
}

// What was given outlives the program; the cycles that ended are forgotten.
TEST(BudgetAlertsTest, GivenNoticesAreKeptInTheStoreForTheCurrentCycles) {
  QTemporaryDir dir;
  BudgetSettings budget;
  budget.Money = 30;
  const auto check = [&](Date day, double cost, const QString& name) {
    BudgetStatus s = StatusOf(budget, CycleContaining(budget, day), day, CycleUse{cost, 0, 0});
    s.Service = 0;
    s.Name = name;
    SettingsStore store(SettingsStore::FilePathIn(dir.path()));
    const AlertCheck result = CheckBudgetAlerts({s}, ReadGivenAlerts(store), testing::EnglishLocale());
    WriteGivenAlerts(store, result.Given);
    return result;
  };
  EXPECT_EQ(check(D(2026, 1, 31), 25, QStringLiteral("A")).New.size(), 1u);
  EXPECT_TRUE(check(D(2026, 1, 31), 26, QStringLiteral("A")).New.empty());
  // A budget is known by its service's name: another name is another budget.
  EXPECT_EQ(check(D(2026, 1, 31), 26, QStringLiteral("B")).New.size(), 1u);
  const AlertCheck february = check(D(2026, 2, 2), 1, QStringLiteral("A"));
  EXPECT_TRUE(february.New.empty());
  EXPECT_TRUE(february.Given.empty()) << february.Given.join(QLatin1Char(' ')).toStdString();
}

}  // namespace
}  // namespace mirolat
