#include <gtest/gtest.h>

#include "core/reports/chart_series.h"

namespace mirolat {
namespace {

const Date kWed = ExistingDate(2025, 12, 31);  // a Wednesday, the last day of a year

// `days` days from `first` over three numbers; the third has no time at all.
// Number k is connected (i + 1) * (k + 1) minutes on day i, at a cent a second.
ReportFigures Figures(Date first, int days) {
  ReportFigures f;
  f.ReportStartDate = first;
  f.ReportEndDate = first + days - 1;
  f.CostsShown = true;
  for (const char* name : {"Home", "Work", "Spare"}) {
    NumberFigures n;
    n.Number = QStringLiteral("555-%1").arg(QLatin1String(name));
    n.Name = QLatin1String(name);
    f.Numbers.push_back(n);
  }
  f.Numbers[2].Name.clear();
  for (int i = 0; i < days; ++i) {
    DayFigures d;
    d.Day = first + i;
    for (std::size_t k = 0; k < 3; ++k) {
      const qint64 seconds = k == 2 ? 0 : qint64(i + 1) * qint64(k + 1) * 60;
      d.Seconds.push_back(seconds);
      d.Cost.push_back(double(seconds) * 0.01);
      f.Numbers[k].Seconds += seconds;
      f.Numbers[k].Cost += double(seconds) * 0.01;
    }
    f.Days.push_back(d);
  }
  return f;
}

// Minutes of number 0 over the days i..j of Figures(): 1 + 2 + ... per day.
qint64 Home(int i, int j) { return qint64((j + 1) * (j + 2) / 2 - i * (i + 1) / 2) * 60; }

TEST(ChartSeries, BucketsFollowWeeksAndMonthsInsideTheRange) {
  struct Case {
    const char* name;
    ChartPeriod period;
    int days;
    std::vector<std::pair<Date, Date>> spans;  // first and last day of each bucket
  };
  const std::vector<Case> cases = {
      {"days", ChartPeriod::Day, 3, {{kWed, kWed}, {kWed + 1, kWed + 1}, {kWed + 2, kWed + 2}}},
      // Wednesday to Sunday, a whole week, then Monday and Tuesday.
      {"weeks from mid-week", ChartPeriod::Week, 14, {{kWed, kWed + 4}, {kWed + 5, kWed + 11}, {kWed + 12, kWed + 13}}},
      {"months across a new year", ChartPeriod::Month, 40,
       {{kWed, kWed}, {kWed + 1, kWed + 31}, {kWed + 32, kWed + 39}}},
      {"automatic: two months are days", ChartPeriod::Automatic, kDailyBucketDays, {}},
      {"automatic: a year is weeks", ChartPeriod::Automatic, kWeeklyBucketDays, {}},
      {"automatic: beyond is months", ChartPeriod::Automatic, kWeeklyBucketDays + 1, {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const ReportFigures f = Figures(kWed, c.days);
    const PeriodSeries series = BucketDays(f, c.period);
    qint64 total = 0;
    Date next = kWed;
    for (const ChartBucket& b : series.Buckets) {
      // Buckets follow each other without a gap and sum their days.
      EXPECT_EQ(b.First, next);
      next = b.Last + 1;
      const int i = b.First - kWed;
      const int j = b.Last - kWed;
      EXPECT_EQ(b.Seconds, (std::vector<qint64>{Home(i, j), 2 * Home(i, j), 0}));
      EXPECT_DOUBLE_EQ(b.Cost[1], double(2 * Home(i, j)) * 0.01);
      total += b.Seconds[0];
    }
    EXPECT_EQ(next, kWed + c.days);
    EXPECT_EQ(total, Home(0, c.days - 1));
    if (!c.spans.empty()) {
      std::vector<std::pair<Date, Date>> spans;
      for (const ChartBucket& b : series.Buckets) spans.emplace_back(b.First, b.Last);
      EXPECT_EQ(spans, c.spans);
    }
  }
  EXPECT_EQ(BucketDays(Figures(kWed, kDailyBucketDays), ChartPeriod::Automatic).Period, ChartPeriod::Day);
  EXPECT_EQ(BucketDays(Figures(kWed, kDailyBucketDays + 1), ChartPeriod::Automatic).Period, ChartPeriod::Week);
  EXPECT_EQ(BucketDays(Figures(kWed, kWeeklyBucketDays), ChartPeriod::Automatic).Period, ChartPeriod::Week);
  EXPECT_EQ(BucketDays(Figures(kWed, kWeeklyBucketDays + 1), ChartPeriod::Automatic).Period, ChartPeriod::Month);
}

TEST(ChartSeries, SharesCumulativeAndHoursOfTheWeek) {
  ReportFigures f = Figures(kWed, 4);
  f.HourOfWeekSeconds[2 * 24 + 21] = 3000;  // Wednesday 21:00
  f.HourOfWeekSeconds[6 * 24 + 0] = 100;    // Sunday midnight
  const std::vector<NumberShare> shares = NumberShares(f);
  ASSERT_EQ(shares.size(), 3u);
  EXPECT_EQ(shares[0].Label, QStringLiteral("Home"));
  EXPECT_EQ(shares[2].Label, QStringLiteral("555-Spare"));  // no name: the number
  EXPECT_DOUBLE_EQ(shares[0].TimeShare, 1.0 / 3.0);
  EXPECT_DOUBLE_EQ(shares[1].CostShare, 2.0 / 3.0);
  EXPECT_EQ(shares[2].TimeShare, 0.0);

  const std::vector<CumulativeDay> cumulative = CumulativeCost(f);
  ASSERT_EQ(cumulative.size(), 4u);
  EXPECT_EQ(cumulative[0].Day, kWed);
  EXPECT_EQ(cumulative[0].Seconds, 180);
  EXPECT_DOUBLE_EQ(cumulative[0].Cost, 1.8);
  EXPECT_EQ(cumulative[3].Seconds, 3 * Home(0, 3));
  EXPECT_DOUBLE_EQ(cumulative[3].Cost, double(3 * Home(0, 3)) * 0.01);

  const HourOfWeekGrid grid = HourOfWeek(f);
  EXPECT_EQ(grid.Seconds[2][21], 3000);
  EXPECT_EQ(grid.Seconds[6][0], 100);
  EXPECT_EQ(grid.Largest, 3000);

  // Nothing to show: no buckets, no shares, no time anywhere.
  const ReportFigures empty;
  EXPECT_TRUE(BucketDays(empty, ChartPeriod::Automatic).Buckets.empty());
  EXPECT_TRUE(NumberShares(empty).empty());
  EXPECT_TRUE(CumulativeCost(empty).empty());
  EXPECT_EQ(HourOfWeek(empty).Largest, 0);
  // Numbers without any time or cost take no share rather than a division by zero.
  ReportFigures idle = Figures(kWed, 1);
  for (NumberFigures& n : idle.Numbers) n.Seconds = 0, n.Cost = 0;
  for (const NumberShare& s : NumberShares(idle)) EXPECT_EQ(s.TimeShare + s.CostShare, 0.0);
}

}  // namespace
}  // namespace mirolat
