#include "core/planning/budget_text.h"

#include <cmath>

#include "core/common/formatting.h"

namespace mirolat {

QString MeasureWord(BudgetMeasure measure) {
  switch (measure) {
    case BudgetMeasure::Money: return QStringLiteral("money");
    case BudgetMeasure::Hours: return QStringLiteral("hours");
    case BudgetMeasure::Megabytes: return QStringLiteral("megabytes");
  }
  return {};
}

QString MeasureFigure(BudgetMeasure measure, double value, const LocaleValues& locale) {
  switch (measure) {
    case BudgetMeasure::Money: return FormatMoney(value, 2, locale);
    case BudgetMeasure::Hours: return locale.Locale.toString(value, 'f', 2) + QStringLiteral(" h");
    case BudgetMeasure::Megabytes: return locale.Locale.toString(value, 'f', 1) + QStringLiteral(" MB");
  }
  return {};
}

QString LimitStateText(const BudgetLimitStatus& limit) {
  switch (limit.State) {
    case BudgetState::Ok: return QStringLiteral("OK");
    case BudgetState::Warning:
      // Whole percent, never rounded up to a threshold not yet reached.
      return QStringLiteral("Warning: %1 % used").arg(static_cast<qint64>(std::floor(limit.Percent)));
    case BudgetState::Over:
      return limit.OverProjected ? QStringLiteral("Projected over budget") : QStringLiteral("Over budget");
  }
  return {};
}

QString ProjectionText(const BudgetStatus& status, const BudgetLimitStatus& limit, const LocaleValues& locale) {
  const QString left = status.DaysLeft == 1 ? QStringLiteral("1 day left") : QStringLiteral("%1 days left").arg(status.DaysLeft);
  return QStringLiteral("projected %1 by %2 (linear, %3)")
      .arg(MeasureFigure(limit.Measure, limit.Projected, locale),
           locale.Locale.toString(ToQDate(status.Cycle.Last), QStringLiteral("d MMM")), left);
}

QString CycleText(const BillingCycle& cycle, const LocaleValues& locale) {
  return locale.Locale.toString(ToQDate(cycle.First), QLocale::ShortFormat) + QStringLiteral(" - ") +
         locale.Locale.toString(ToQDate(cycle.Last), QLocale::ShortFormat);
}

}  // namespace mirolat
