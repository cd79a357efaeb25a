#pragma once
// The numbers the report's charts show, taken from the report's figures:
// connected time and cost per day, week or month stacked by number, each
// number's share of time and of cost, connected time per hour of the week and
// the cost summed day by day. Nothing here is formatted or drawn.
#include <QString>
#include <array>
#include <vector>

#include "core/common/dates.h"
#include "core/reports/report_figures.h"

namespace mirolat {

// The buckets of the daily chart. Automatic takes days for ranges up to
// kDailyBucketDays days, weeks (Monday to Sunday) up to kWeeklyBucketDays,
// months beyond.
enum class ChartPeriod { Automatic, Day, Week, Month };
inline constexpr int kDailyBucketDays = 62;
inline constexpr int kWeeklyBucketDays = 366;

// The period `period` stands for over a range of `days` days: never Automatic.
ChartPeriod ResolvedPeriod(ChartPeriod period, int days);

// The days of the range that fall in one day, week or month, and their
// figures per number (the order of ReportFigures::Numbers).
struct ChartBucket {
  Date First = 0;  // the bucket's first and last day inside the range
  Date Last = 0;
  std::vector<qint64> Seconds;
  std::vector<double> Cost;
  bool operator==(const ChartBucket&) const = default;
};

struct PeriodSeries {
  ChartPeriod Period = ChartPeriod::Day;  // as resolved
  std::vector<ChartBucket> Buckets;       // in date order, none empty of days
};

// The figures' days gathered into buckets of `period`.
PeriodSeries BucketDays(const ReportFigures& figures, ChartPeriod period);

// One number's part of the range's connected time and cost, 0..1 (0 for all
// when the range has no time, or no cost).
struct NumberShare {
  QString Label;  // the service name, or the number when it has none
  qint64 Seconds = 0;
  double Cost = 0;
  double TimeShare = 0;
  double CostShare = 0;
};
std::vector<NumberShare> NumberShares(const ReportFigures& figures);

// The label a chart shows for number `index` of the figures.
QString NumberLabel(const ReportFigures& figures, std::size_t index);

// Connected seconds per weekday (0 Monday) and hour, and the largest cell.
struct HourOfWeekGrid {
  std::array<std::array<qint64, 24>, 7> Seconds{};
  qint64 Largest = 0;
};
HourOfWeekGrid HourOfWeek(const ReportFigures& figures);

// For each day of the range: every number's cost (and connected time) of the
// days up to and including it.
struct CumulativeDay {
  Date Day = 0;
  double Cost = 0;
  qint64 Seconds = 0;
  bool operator==(const CumulativeDay&) const = default;
};
std::vector<CumulativeDay> CumulativeCost(const ReportFigures& figures);

}  // namespace mirolat
