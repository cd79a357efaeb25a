#include "core/planning/budget_alerts.h"

#include <QDate>
#include <cmath>

#include "core/common/formatting.h"
#include "core/settings/settings_store.h"
#include "core/settings/user_options.h"

namespace mirolat {
namespace {

const QString kSection = QStringLiteral("Budget Alerts");
const QString kGivenKey = QStringLiteral("Given");

// The budget's part of a key: the overall budget, or a service by its name
// (a name outlives the service's place in the list).
QString BudgetId(const BudgetStatus& status) {
  return status.Service < 0 ? QStringLiteral("*") : QStringLiteral("service:") + status.Name;
}

QString CyclePrefix(const BudgetStatus& status) {
  return BudgetId(status) + QLatin1Char('|') + DateToIso(status.Cycle.First) + QLatin1Char('|');
}

QString MeasureWord(BudgetMeasure measure) {
  switch (measure) {
    case BudgetMeasure::Money: return QStringLiteral("money");
    case BudgetMeasure::Hours: return QStringLiteral("hours");
    case BudgetMeasure::Megabytes: return QStringLiteral("megabytes");
  }
  return {};
}

// A number with at most one decimal, none when it is whole.
QString Short(double value, const LocaleValues& locale) {
  return locale.Locale.toString(std::round(value * 10.0) / 10.0, 'g', QLocale::FloatingPointShortest);
}

QString Amount(BudgetMeasure measure, double value, const LocaleValues& locale) {
  switch (measure) {
    case BudgetMeasure::Money: return FormatMoney(value, 2, locale);
    case BudgetMeasure::Hours: return Short(value, locale) + QStringLiteral(" hours");
    case BudgetMeasure::Megabytes: return Short(value, locale) + QStringLiteral(" MB");
  }
  return {};
}

QString BudgetOf(BudgetMeasure measure, double limit, const LocaleValues& locale) {
  switch (measure) {
    case BudgetMeasure::Money: return FormatMoney(limit, 2, locale) + QStringLiteral(" budget");
    case BudgetMeasure::Hours: return Short(limit, locale) + QStringLiteral("-hour budget");
    case BudgetMeasure::Megabytes: return Short(limit, locale) + QStringLiteral(" MB budget");
  }
  return {};
}

QString DaysLeftText(int days) {
  if (days <= 0) return QStringLiteral("last day");
  return days == 1 ? QStringLiteral("1 day left") : QStringLiteral("%1 days left").arg(days);
}

// Whole percent, never rounded up to a mark not reached.
QString PercentText(double percent) { return QStringLiteral("%1 %").arg(qint64(std::floor(percent + 1e-9))); }

BudgetAlert MakeAlert(AlertKind kind, const QString& key, const BudgetStatus& status, const BudgetLimitStatus& limit,
                      const LocaleValues& locale) {
  BudgetAlert alert;
  alert.Kind = kind;
  alert.Key = key;
  const QString cycle = CycleText(status.Cycle, locale.Locale);
  const QString budget = BudgetOf(limit.Measure, limit.Limit, locale);
  const QString projected = Amount(limit.Measure, limit.Projected, locale);
  const QString left = DaysLeftText(status.DaysLeft);
  switch (kind) {
    case AlertKind::Warning:
    case AlertKind::Over:
      alert.Title = (kind == AlertKind::Over ? QStringLiteral("Budget exceeded: ") : QStringLiteral("Budget warning: ")) +
                    status.Name;
      alert.Text = QStringLiteral("%1 of the %2 used in the cycle %3; projected %4 (linear, %5)")
                       .arg(PercentText(limit.Percent), budget, cycle, projected, left);
      break;
    case AlertKind::Projected:
      alert.Title = QStringLiteral("Budget forecast: ") + status.Name;
      alert.Text = QStringLiteral("Projected %1 against the %2 in the cycle %3 (linear, %4); %5 used so far")
                       .arg(projected, budget, cycle, left, PercentText(limit.Percent));
      break;
  }
  return alert;
}

}  // namespace

AlertCheck CheckBudgetAlerts(const std::vector<BudgetStatus>& statuses, const QStringList& given,
                             const LocaleValues& locale) {
  AlertCheck check;
  for (const BudgetStatus& status : statuses) {
    const QString prefix = CyclePrefix(status);
    for (const QString& key : given) {
      if (key.startsWith(prefix) && !check.Given.contains(key)) check.Given.append(key);
    }
    const bool projectionSettled = status.DaysElapsed * 4 >= status.Cycle.Days();
    for (const BudgetLimitStatus& limit : status.Limits) {
      const QString base = prefix + MeasureWord(limit.Measure) + QLatin1Char('|');
      // Every mark the limit is past, the most severe first.
      std::vector<std::pair<AlertKind, QString>> marks;
      if (limit.State == BudgetState::Over && !limit.OverProjected) marks.emplace_back(AlertKind::Over, base + QStringLiteral("over"));
      if (limit.ThresholdPassed > 0) marks.emplace_back(AlertKind::Warning, base + QString::number(limit.ThresholdPassed));
      if (limit.OverProjected && projectionSettled) marks.emplace_back(AlertKind::Projected, base + QStringLiteral("projected"));
      bool noticed = false;
      for (const auto& [kind, key] : marks) {
        if (check.Given.contains(key)) continue;
        check.Given.append(key);
        if (noticed) continue;
        check.New.push_back(MakeAlert(kind, key, status, limit, locale));
        noticed = true;
      }
    }
  }
  return check;
}

QString CycleText(const BillingCycle& cycle, const QLocale& locale) {
  const QDate first = ToQDate(cycle.First);
  const QDate last = ToQDate(cycle.Last);
  const QString firstMonth = locale.monthName(first.month(), QLocale::ShortFormat);
  const QString lastMonth = locale.monthName(last.month(), QLocale::ShortFormat);
  if (first.year() != last.year()) {
    return QStringLiteral("%1 %2 %3 – %4 %5 %6")
        .arg(first.day())
        .arg(firstMonth)
        .arg(first.year())
        .arg(last.day())
        .arg(lastMonth)
        .arg(last.year());
  }
  if (first.month() != last.month()) {
    return QStringLiteral("%1 %2 – %3 %4").arg(first.day()).arg(firstMonth).arg(last.day()).arg(lastMonth);
  }
  if (first.day() == last.day()) return QStringLiteral("%1 %2").arg(first.day()).arg(firstMonth);
  return QStringLiteral("%1–%2 %3").arg(first.day()).arg(last.day()).arg(firstMonth);
}

QStringList ReadGivenAlerts(SettingsStore& store) {
  const QString text = store.GetSetting(QString::fromLatin1(kUserOptionsApp), kSection, kGivenKey, QString());
  return text.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
}

void WriteGivenAlerts(SettingsStore& store, const QStringList& given) {
  store.SaveSetting(QString::fromLatin1(kUserOptionsApp), kSection, kGivenKey, given.join(QLatin1Char('\n')));
}

}  // namespace mirolat
