#pragma once
// The rules of a billing cycle and budget, as the service editor's and the
// Options dialog's Budget tabs take them: the entries that show a budget,
// what makes them valid, and the budget they describe.
#include <QList>
#include <QString>

#include "core/common/locale_values.h"
#include "core/model/configuration.h"

namespace mirolat {

inline constexpr int kMaxCycleStartDay = 28;
inline constexpr int kMaxCycleDays = 366;

// The Budget tab's entries: choices and numbers as the controls hold them,
// the three limits as typed in the locale's format.
struct BudgetEntries {
  int CycleOption = 0;
  int CycleStartDay = 1;
  int CycleDays = 30;
  Date CycleFromDate = 0;
  QString Money;
  QString Hours;
  QString Megabytes;
  int WarnPercent1 = 80;
  int WarnPercent2 = 100;
};

// A value of a budget that the Budget tab would refuse: the value's name
// (as config_fields names it) and the rule it breaks.
struct BudgetValueProblem {
  QString Field;
  QString Problem;
};

// Every value of `budget` the tab would refuse: a cycle option other than 0
// (monthly) or 1 (every N days), a start day outside 1..28, a length outside
// 1..366 days, a periodic cycle without its first day, a limit below 0 or too
// large for the store, a threshold outside 1..100 (0: none), a first
// threshold not below the second. Empty for a budget the tab accepts.
QList<BudgetValueProblem> BudgetProblems(const BudgetSettings& budget);

BudgetEntries BudgetEntriesOf(const BudgetSettings& budget, const LocaleValues& locale);
// Why the tab's entries cannot be taken, the first problem only, starting
// "Budget: "; empty when they can.
QString BudgetEntriesProblem(const BudgetEntries& entries, const LocaleValues& locale);
// The budget of entries that BudgetEntriesProblem accepts.
BudgetSettings BuildBudget(const BudgetEntries& entries, const LocaleValues& locale);

}  // namespace mirolat
