#include "core/reports/chart_series.h"

#include <algorithm>

namespace mirolat {

namespace {

// The first day of the week or month `day` belongs to.
Date PeriodStart(Date day, ChartPeriod period) {
  switch (period) {
    case ChartPeriod::Week:
      return day - WeekdayIndex(day);
    case ChartPeriod::Month: {
      const QDate d = ToQDate(day);
      return ExistingDate(d.year(), d.month(), 1);
    }
    default:
      return day;
  }
}

template <typename T>
void AddInto(std::vector<T>& sum, const std::vector<T>& part) {
  if (sum.size() < part.size()) sum.resize(part.size(), T{});
  for (std::size_t i = 0; i < part.size(); ++i) sum[i] += part[i];
}

}  // namespace

ChartPeriod ResolvedPeriod(ChartPeriod period, int days) {
  if (period != ChartPeriod::Automatic) return period;
  if (days <= kDailyBucketDays) return ChartPeriod::Day;
  if (days <= kWeeklyBucketDays) return ChartPeriod::Week;
  return ChartPeriod::Month;
}

PeriodSeries BucketDays(const ReportFigures& figures, ChartPeriod period) {
  PeriodSeries series;
  const int days = figures.ReportEndDate >= figures.ReportStartDate
                       ? figures.ReportEndDate - figures.ReportStartDate + 1
                       : int(figures.Days.size());
  series.Period = ResolvedPeriod(period, days);
  const std::size_t numbers = figures.Numbers.size();
  Date open = 0;  // the period start of the last bucket
  for (const DayFigures& day : figures.Days) {
    const Date start = PeriodStart(day.Day, series.Period);
    if (series.Buckets.empty() || start != open) {
      open = start;
      ChartBucket bucket;
      bucket.First = day.Day;
      bucket.Seconds.assign(numbers, 0);
      bucket.Cost.assign(numbers, 0.0);
      series.Buckets.push_back(std::move(bucket));
    }
    ChartBucket& bucket = series.Buckets.back();
    bucket.Last = day.Day;
    AddInto(bucket.Seconds, day.Seconds);
    AddInto(bucket.Cost, day.Cost);
  }
  return series;
}

QString NumberLabel(const ReportFigures& figures, std::size_t index) {
  const NumberFigures& n = figures.Numbers[index];
  return n.Name.trimmed().isEmpty() ? n.Number : n.Name.trimmed();
}

std::vector<NumberShare> NumberShares(const ReportFigures& figures) {
  std::vector<NumberShare> shares;
  qint64 seconds = 0;
  double cost = 0;
  for (const NumberFigures& n : figures.Numbers) {
    seconds += n.Seconds;
    cost += n.Cost;
  }
  for (std::size_t i = 0; i < figures.Numbers.size(); ++i) {
    const NumberFigures& n = figures.Numbers[i];
    NumberShare share;
    share.Label = NumberLabel(figures, i);
    share.Seconds = n.Seconds;
    share.Cost = n.Cost;
    share.TimeShare = seconds > 0 ? double(n.Seconds) / double(seconds) : 0.0;
    share.CostShare = cost > 0 ? n.Cost / cost : 0.0;
    shares.push_back(share);
  }
  return shares;
}

HourOfWeekGrid HourOfWeek(const ReportFigures& figures) {
  HourOfWeekGrid grid;
  for (int day = 0; day < 7; ++day) {
    for (int hour = 0; hour < 24; ++hour) {
      const qint64 s = figures.HourOfWeekSeconds[std::size_t(day * 24 + hour)];
      grid.Seconds[std::size_t(day)][std::size_t(hour)] = s;
      grid.Largest = std::max(grid.Largest, s);
    }
  }
  return grid;
}

std::vector<CumulativeDay> CumulativeCost(const ReportFigures& figures) {
  std::vector<CumulativeDay> days;
  days.reserve(figures.Days.size());
  CumulativeDay running;
  for (const DayFigures& day : figures.Days) {
    running.Day = day.Day;
    for (double c : day.Cost) running.Cost += c;
    for (qint64 s : day.Seconds) running.Seconds += s;
    days.push_back(running);
  }
  return days;
}

}  // namespace mirolat
