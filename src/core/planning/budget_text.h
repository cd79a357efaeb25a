#pragma once
// The words and figures of a budget's standing, as the main window's budget
// bars and `mirolat-cli budget` write them: a limit's figure in its unit, the
// state in words ("OK", "Warning: 85 % used", "Over budget", "Projected over
// budget") and the projection with its method and the days left.
#include <QString>

#include "core/common/locale_values.h"
#include "core/planning/budget_status.h"

namespace mirolat {

// "money", "hours", "megabytes".
QString MeasureWord(BudgetMeasure measure);
// An amount of the measure: money as the locale writes it (2 decimals),
// hours as "12.50 h", megabytes as "340.2 MB".
QString MeasureFigure(BudgetMeasure measure, double value, const LocaleValues& locale);
// The limit's state in words; never a colour alone.
QString LimitStateText(const BudgetLimitStatus& limit);
// "projected $41.20 by 31 Jan (linear, 12 days left)": the projection to the
// cycle's last day.
QString ProjectionText(const BudgetStatus& status, const BudgetLimitStatus& limit, const LocaleValues& locale);
// The cycle's first and last day in the locale's short format.
QString CycleText(const BillingCycle& cycle, const LocaleValues& locale);

}  // namespace mirolat
