#include "core/model/record_rules.h"

#include "core/common/formatting.h"
#include "core/common/locale_values.h"
#include "core/model/budget_rules.h"
#include "core/model/option_entries.h"
#include "core/model/service_rules.h"
#include "core/model/tariff_rules.h"

namespace mirolat {

namespace {

// The dialogs read what they show in the user's locale; any one locale shows
// and reads a value back alike, so the record is checked in one.
const LocaleValues& CheckLocale() {
  static const LocaleValues locale = LoadLocaleInfo(QLocale(QLocale::English, QLocale::UnitedStates));
  return locale;
}

QString Number(double value) { return QString::number(value, 'g', 17); }

class Checker {
 public:
  explicit Checker(QList<RecordProblem>& problems) : problems_(problems) {}

  void Add(const char* section, const char* field, const QString& problem, int service = -1, int tariff = -1) {
    problems_.append(RecordProblem{QLatin1String(section), service, tariff, QLatin1String(field), problem});
  }
  // A budget's values, named below "Budget." for a service's.
  void Budget(const BudgetSettings& budget, int service) {
    for (const BudgetValueProblem& p : BudgetProblems(budget)) {
      problems_.append(RecordProblem{service < 0 ? QStringLiteral("Budget") : QStringLiteral("Services"), service, -1,
                                     service < 0 ? p.Field : QStringLiteral("Budget.") + p.Field, p.Problem});
    }
  }
  // A General-tab limit: the box shows the number and takes a whole number from 1 to max.
  void Limit(const char* field, qint64 value, qint64 min, qint64 max) {
    if (!ReadWholeNumber(QString::number(value), min, max, CheckLocale())) {
      Add("General", field, QStringLiteral("%1 is not a whole number from %2 to %3").arg(value).arg(min).arg(max));
    }
  }
  void Amount(const char* section, const char* field, double value) {
    if (!ReadAmount(FormatAmount(value, 4, CheckLocale()), CheckLocale())) {
      Add(section, field,
          QStringLiteral("%1 is not an amount from 0 to %2").arg(Number(value), Number(kMaxStoredAmount)));
    }
  }

 private:
  QList<RecordProblem>& problems_;
};

}  // namespace

QList<RecordProblem> RecordProblems(const Configuration& c) {
  QList<RecordProblem> problems;
  Checker check(problems);
  const LocaleValues& locale = CheckLocale();

  check.Limit("MaxServices", c.MaxServices, MinMaxServices(c), kMax16);
  check.Limit("MaxConnections", c.MaxConnections, kMinLimit, kMaxConnectionsLimit);
  check.Limit("MaxConnectDays", c.MaxConnectDays, kMinLimit, kMaxConnectDaysLimit);
  check.Limit("MaxLogSize", c.MaxLogSize, kMinLimit, kMaxLogSizeLimit);
  // The duration box shows hh:mm:ss: whole seconds up to 99:59:59.
  const std::optional<int> duration = ReadDurationText(FormatDuration(static_cast<float>(c.NoDisconDuration)));
  if (!duration || *duration != c.NoDisconDuration) {
    check.Add("General", "NoDisconDuration",
              QStringLiteral("%1 is not a duration in whole seconds from 0 to 359999 (99:59:59)")
                  .arg(Number(c.NoDisconDuration)));
  }
  if (!ReadKilobytes(FormatWholeNumber(c.NoDisconData, locale), locale)) {
    check.Add("General", "NoDisconData",
              QStringLiteral("%1 is not a number of kilobytes from 0 to %2").arg(Number(c.NoDisconData)).arg(kMax32));
  }
  check.Amount("Costs", "DialCost", c.DialCost);
  check.Amount("Costs", "CostPerHour", c.CostPerHour);
  check.Amount("Costs", "CostPerMeg", c.CostPerMeg);
  check.Budget(c.OverallBudget, -1);

  for (int n = 0; n < c.UsedServices && static_cast<size_t>(n) < c.Services.size(); ++n) {
    const Service& s = c.Services[static_cast<size_t>(n)];
    // The editor's option buttons give 1 or 2; anything else would price nothing.
    if (s.DialOption != 1 && s.DialOption != 2) {
      check.Add("Services", "DialOption",
                QStringLiteral("%1 is neither 1 (per call) nor 2 (time-segmented tariffs)").arg(s.DialOption), n);
    }
    if (s.ServiceOption != 1 && s.ServiceOption != 2) {
      check.Add("Services", "ServiceOption",
                QStringLiteral("%1 is neither 1 (flat hourly rate) nor 2 (flexi rate)").arg(s.ServiceOption), n);
    }
    const int tariffs = std::clamp(s.UsedTariffs, 0, kMaxTariffs);
    const QString service = ServiceProblem(EntriesOf(s, c, locale), tariffs, locale);
    if (!service.isEmpty()) check.Add("Services", "", service, n);
    for (int t = 0; t < tariffs; ++t) {
      const TariffEntries entries = EntriesOf(s.Tariffs[static_cast<size_t>(t)], locale);
      TariffValidation v = ValidateTariff(entries, locale);
      v.chargeAboveZero = true;
      if (!v.ok()) check.Add("Services", "", TariffProblem(entries, locale), n, t);
    }
    check.Budget(s.Budget, n);
  }
  return problems;
}

}  // namespace mirolat
