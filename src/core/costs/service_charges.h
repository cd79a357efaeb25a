#pragma once
// The service's own charges for one session: connected time (flat hourly or
// flexi rate with an allowance per day/week/month) and downloaded data (per
// megabyte beyond a threshold per day/week/month/session). Allowances are
// shared by the sessions of one pricing pass through PeriodUsage.
#include <QString>
#include <QStringView>
#include <map>
#include <utility>

#include "core/common/dates.h"
#include "core/costs/pricing_context.h"

namespace mirolat {

// The usage counters of one pricing pass: per (period number, service index)
// the connected seconds and downloaded bytes counted so far. Created empty for
// every analysis run and every Details report. Any period number is allowed.
class PeriodUsage {
 public:
  struct Cell {
    qint64 Seconds = 0;
    qint64 Bytes = 0;
  };

  Cell& At(int period, int service) { return cells_[{period, service}]; }
  Cell Get(int period, int service) const {
    auto it = cells_.find({period, service});
    return it == cells_.end() ? Cell{} : it->second;
  }
  void Clear() { cells_.clear(); }
  bool Empty() const { return cells_.empty(); }

 private:
  std::map<std::pair<int, int>, Cell> cells_;
};

// Whole periods from reportStartDate to date: "Day", "Week" (7 days), "Month"
// (as many days as from reportStartDate to the same day one calendar month
// later); any other name ("Session") gives 0. The fraction is dropped.
int PeriodNumber(Date date, QStringView periodName, Date reportStartDate);

// seconds / 3600.
double SecondsToHours(float seconds);

// The time charge of a session of `seconds` on `number` that began on
// `startDate`; flexi rates consume the allowance in ctx.usage.
double CalcServiceTimeCost(const PricingContext& ctx, QStringView number, qint32 seconds, Date startDate);

// The data charge of `bytes` downloaded in a session on `number` that began on
// `startDate`; thresholds consume ctx.usage. Zero bytes cost 0 and count nothing.
double CalcServiceDataCost(const PricingContext& ctx, QStringView number, double bytes, Date startDate);

}  // namespace mirolat
