// Billing cycles and a budget's standing in its cycle.
#include <gtest/gtest.h>

#include <QTemporaryDir>

#include "core/analysis/log_generator.h"
#include "core/planning/budget_status.h"
#include "core/planning/log_figures.h"
#include "file_test_support.h"
#include "pricing_fixtures.h"
#include "support/sample_configuration.h"

namespace mirolat {
namespace {

Date D(int y, int m, int d) { return ExistingDate(y, m, d); }

BudgetSettings Monthly(int startDay) {
  BudgetSettings b;
  b.CycleStartDay = startDay;
  return b;
}

BudgetSettings Every(int days, Date from) {
  BudgetSettings b;
  b.CycleOption = 1;
  b.CycleDays = days;
  b.CycleFromDate = from;
  return b;
}

TEST(BillingCycleTest, CycleHoldingADay) {
  struct Case {
    const char* name;
    BudgetSettings budget;
    Date day;
    BillingCycle expected;
  } cases[] = {
      {"first of the month", Monthly(1), D(2026, 2, 14), {D(2026, 2, 1), D(2026, 2, 28)}},
      {"leap February", Monthly(1), D(2024, 2, 29), {D(2024, 2, 1), D(2024, 2, 29)}},
      {"31-day month", Monthly(1), D(2026, 1, 31), {D(2026, 1, 1), D(2026, 1, 31)}},
      {"30-day month", Monthly(1), D(2026, 4, 30), {D(2026, 4, 1), D(2026, 4, 30)}},
      {"day 28, on the day", Monthly(28), D(2026, 2, 28), {D(2026, 2, 28), D(2026, 3, 27)}},
      {"day 28, the day before", Monthly(28), D(2026, 2, 27), {D(2026, 1, 28), D(2026, 2, 27)}},
      {"day 28 over a leap February", Monthly(28), D(2024, 3, 1), {D(2024, 2, 28), D(2024, 3, 27)}},
      {"day 15 across the new year", Monthly(15), D(2027, 1, 3), {D(2026, 12, 15), D(2027, 1, 14)}},
      {"start day out of range is held to 28", Monthly(31), D(2026, 3, 30), {D(2026, 3, 28), D(2026, 4, 27)}},
      {"every 30 days, on the first day", Every(30, D(2026, 1, 10)), D(2026, 1, 10), {D(2026, 1, 10), D(2026, 2, 8)}},
      {"every 30 days, third cycle", Every(30, D(2026, 1, 10)), D(2026, 3, 12), {D(2026, 3, 11), D(2026, 4, 9)}},
      {"every 30 days, before the first day", Every(30, D(2026, 1, 10)), D(2026, 1, 9), {D(2025, 12, 11), D(2026, 1, 9)}},
      {"every 7 days, long before", Every(7, D(2026, 1, 10)), D(2025, 12, 31), {D(2025, 12, 27), D(2026, 1, 2)}},
      {"every day", Every(1, D(2026, 1, 10)), D(2026, 5, 5), {D(2026, 5, 5), D(2026, 5, 5)}},
      {"no first day counts from 2000", Every(10, 0), D(2000, 1, 12), {D(2000, 1, 11), D(2000, 1, 20)}},
  };
  for (const Case& c : cases) {
    const BillingCycle got = CycleContaining(c.budget, c.day);
    EXPECT_EQ(got.First, c.expected.First) << c.name;
    EXPECT_EQ(got.Last, c.expected.Last) << c.name;
    EXPECT_TRUE(got.Contains(c.day)) << c.name;
  }
}

TEST(BillingCycleTest, PreviousCyclesJoinWithoutGapsOrOverlaps) {
  for (const BudgetSettings& budget : {Monthly(1), Monthly(28), Monthly(13), Every(30, D(2026, 1, 10)), Every(3, 0)}) {
    BillingCycle cycle = CycleContaining(budget, D(2028, 3, 5));
    for (int i = 0; i < 60; ++i) {
      const BillingCycle before = PreviousCycle(budget, cycle);
      ASSERT_EQ(before.Last + 1, cycle.First);
      ASSERT_GE(before.Days(), 1);
      cycle = before;
    }
  }
}

TEST(BudgetStatusTest, LimitsProjectionsAndThresholds) {
  const BillingCycle cycle{D(2026, 1, 1), D(2026, 1, 30)};  // 30 days
  struct Case {
    const char* name;
    double money;
    int warn1, warn2;
    Date at;
    double cost;
    BudgetState state;
    bool overProjected;
    int thresholdPassed;
    double projected;
  } cases[] = {
      {"little used", 100, 80, 100, D(2026, 1, 15), 10, BudgetState::Ok, false, 0, 20},
      {"first threshold reached", 100, 80, 100, D(2026, 1, 29), 80, BudgetState::Warning, false, 80, 80 * 30 / 29.0},
      {"just below the first threshold", 100, 80, 100, D(2026, 1, 30), 79.99, BudgetState::Ok, false, 0, 79.99},
      {"limit reached exactly", 100, 80, 100, D(2026, 1, 30), 100, BudgetState::Over, false, 100, 100},
      {"projected past the limit", 100, 80, 100, D(2026, 1, 10), 40, BudgetState::Over, true, 0, 120},
      {"projection exactly at the limit", 90, 80, 100, D(2026, 1, 10), 30, BudgetState::Over, true, 0, 90},
      {"first day projects the whole cycle", 100, 80, 100, D(2026, 1, 1), 3, BudgetState::Ok, false, 0, 90},
      {"last day projects what was used", 100, 80, 100, D(2026, 1, 30), 99, BudgetState::Warning, false, 80, 99},
      {"second threshold below 100", 100, 50, 90, D(2026, 1, 30), 95, BudgetState::Warning, false, 90, 95},
      {"no thresholds", 100, 0, 0, D(2026, 1, 30), 95, BudgetState::Ok, false, 0, 95},
      {"day after the cycle counts as its last", 100, 80, 100, D(2026, 2, 5), 50, BudgetState::Ok, false, 0, 50},
  };
  for (const Case& c : cases) {
    BudgetSettings budget;
    budget.Money = c.money;
    budget.WarnPercent1 = c.warn1;
    budget.WarnPercent2 = c.warn2;
    const BudgetStatus s = StatusOf(budget, cycle, c.at, CycleUse{c.cost, 0, 0});
    ASSERT_EQ(s.Limits.size(), 1u) << c.name;
    const BudgetLimitStatus& l = s.Limits[0];
    EXPECT_EQ(l.State, c.state) << c.name;
    EXPECT_EQ(s.State, c.state) << c.name;
    EXPECT_EQ(l.OverProjected, c.overProjected) << c.name;
    EXPECT_EQ(l.ThresholdPassed, c.thresholdPassed) << c.name;
    EXPECT_NEAR(l.Projected, c.projected, 1e-9) << c.name;
    EXPECT_NEAR(l.Percent, c.cost / c.money * 100, 1e-9) << c.name;
    EXPECT_EQ(s.DaysElapsed + s.DaysLeft, 30) << c.name;
  }
}

TEST(BudgetStatusTest, EachLimitInItsUnitAndTheWorstDecides) {
  BudgetSettings budget;
  budget.Money = 50;
  budget.Hours = 10;
  budget.Megabytes = 100;
  const BillingCycle cycle{D(2026, 1, 1), D(2026, 1, 10)};
  const CycleUse use{5.0, 9 * 3600, qint64(20) * 1024 * 1024};
  const BudgetStatus s = StatusOf(budget, cycle, D(2026, 1, 10), use);
  ASSERT_EQ(s.Limits.size(), 3u);
  EXPECT_EQ(s.Limits[0].Measure, BudgetMeasure::Money);
  EXPECT_DOUBLE_EQ(s.Limits[0].Used, 5.0);
  EXPECT_EQ(s.Limits[1].Measure, BudgetMeasure::Hours);
  EXPECT_DOUBLE_EQ(s.Limits[1].Used, 9.0);
  EXPECT_EQ(s.Limits[1].State, BudgetState::Warning);
  EXPECT_EQ(s.Limits[2].Measure, BudgetMeasure::Megabytes);
  EXPECT_DOUBLE_EQ(s.Limits[2].Used, 20.0);
  EXPECT_EQ(s.State, BudgetState::Warning);
  EXPECT_EQ(WorstState({s}), BudgetState::Warning);
  EXPECT_EQ(WorstState({}), BudgetState::Ok);
}

// The budgets of the generated log's services, and the overall one, each
// over its own cycle: the figures are asked once per range, and the services'
// uses add up to the overall one's with the unknown number's.
TEST(BudgetStatusTest, StatusesOfALogAskEachRangeOnceAndAddUp) {
  QTemporaryDir dir;
  const QString log = dir.filePath(QStringLiteral("ModemLog.txt"));
  LogGeneratorOptions options;
  options.seed = 4;
  options.days = 90;
  options.start = QDate(2026, 1, 1);
  test::WriteRaw(log, GenerateModemLog(options));

  Configuration config = test::ForGeneratedLog(test::SampleConfiguration());
  config.OverallBudget.Money = 1;
  config.OverallBudget.CycleStartDay = 5;
  for (int i = 0; i < 3; ++i) {
    config.Services[std::size_t(i)].Budget.Money = 1;
    config.Services[std::size_t(i)].Budget.CycleStartDay = 5;
  }
  config.Services[2].Budget.CycleStartDay = 20;
  const Date at = D(2026, 3, 25);
  std::vector<std::pair<Date, Date>> asked;
  const FiguresOfRange figures = [&](Date first, Date last) {
    asked.emplace_back(first, last);
    return FiguresOfLog(config, testing::EnglishLocale(), log, first, last);
  };
  const std::vector<BudgetStatus> statuses = BudgetStatuses(config, at, figures);
  ASSERT_EQ(statuses.size(), 4u);
  EXPECT_EQ(statuses[0].Service, -1);
  EXPECT_EQ(statuses[0].Name, QStringLiteral("All services"));
  const std::vector<std::pair<Date, Date>> expectedAsks{{D(2026, 3, 5), at}, {D(2026, 3, 20), at}};
  EXPECT_EQ(asked, expectedAsks);

  const std::optional<ReportFigures> cycle = FiguresOfLog(config, testing::EnglishLocale(), log, D(2026, 3, 5), at);
  ASSERT_TRUE(cycle);
  const CycleUse all = UseOf(*cycle, config, -1);
  CycleUse services;
  for (int i = 0; i < 3; ++i) {
    const CycleUse one = UseOf(*cycle, config, i);
    services.Cost += one.Cost;
    services.Seconds += one.Seconds;
    services.BytesRead += one.BytesRead;
  }
  EXPECT_GT(services.Seconds, 0);
  EXPECT_LE(services.Seconds, all.Seconds);
  EXPECT_GT(all.Seconds, services.Seconds) << "the unknown number counts only overall";
  EXPECT_NEAR(statuses[0].Limits[0].Used, all.Cost, 1e-9);
  EXPECT_NEAR(statuses[1].Limits[0].Used, UseOf(*cycle, config, 0).Cost, 1e-9);
}

TEST(BudgetStatusTest, NoFiguresWithoutALog) {
  const Configuration config;
  EXPECT_FALSE(FiguresOfLog(config, testing::EnglishLocale(), QStringLiteral("/nonexistent/ModemLog.txt"),
                            D(2026, 1, 1), D(2026, 1, 31)));
  QTemporaryDir dir;
  EXPECT_FALSE(FiguresOfLog(config, testing::EnglishLocale(), dir.path(), D(2026, 1, 1), D(2026, 1, 31)));
}

}  // namespace
}  // namespace mirolat
