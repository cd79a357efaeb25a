#pragma once
// Billing cycles: the run of days a provider bills together, monthly from a
// day of the month (1..28) or every N days from a first day.
#include "core/common/dates.h"
#include "core/model/configuration.h"

namespace mirolat {

struct BillingCycle {
  Date First = 0;  // both ends included
  Date Last = 0;
  int Days() const { return Last - First + 1; }
  bool Contains(Date day) const { return day >= First && day <= Last; }
  bool operator==(const BillingCycle&) const = default;
};

// The cycle of `budget` that holds `day` (a day before a periodic cycle's
// first day lies in an earlier cycle of the same length). A periodic cycle
// without a first day counts from 1 January 2000.
BillingCycle CycleContaining(const BudgetSettings& budget, Date day);
// The cycle just before `cycle`.
BillingCycle PreviousCycle(const BudgetSettings& budget, const BillingCycle& cycle);

}  // namespace mirolat
