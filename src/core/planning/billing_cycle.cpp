#include "core/planning/billing_cycle.h"

#include <algorithm>

namespace mirolat {
namespace {

// Floor division: a day before the first one lies in the cycle before it.
int FloorDiv(int a, int b) { return a / b - ((a % b != 0 && (a < 0) != (b < 0)) ? 1 : 0); }

Date PeriodicAnchor(const BudgetSettings& budget) {
  return budget.CycleFromDate != 0 ? budget.CycleFromDate : ExistingDate(2000, 1, 1);
}

int CycleLength(const BudgetSettings& budget) { return std::clamp(budget.CycleDays, 1, 366); }

// The monthly cycle starting in the month of year/month.
BillingCycle MonthlyCycleFrom(int year, int month, int startDay) {
  return {MakeDate(year, month, startDay), MakeDate(year, month + 1, startDay) - 1};
}

}  // namespace

BillingCycle CycleContaining(const BudgetSettings& budget, Date day) {
  if (budget.CycleOption == 1) {
    const Date anchor = PeriodicAnchor(budget);
    const int length = CycleLength(budget);
    const Date first = anchor + FloorDiv(day - anchor, length) * length;
    return {first, first + length - 1};
  }
  const int startDay = std::clamp(budget.CycleStartDay, 1, 28);
  const QDate d = ToQDate(day);
  if (d.day() >= startDay) return MonthlyCycleFrom(d.year(), d.month(), startDay);
  return MonthlyCycleFrom(d.year(), d.month() - 1, startDay);
}

BillingCycle PreviousCycle(const BudgetSettings& budget, const BillingCycle& cycle) {
  return CycleContaining(budget, cycle.First - 1);
}

}  // namespace mirolat
