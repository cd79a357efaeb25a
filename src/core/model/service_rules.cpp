#include "core/model/service_rules.h"

#include <cmath>

#include "core/model/option_entries.h"

namespace mirolat {

namespace {

// An amount box: a number, not negative.
bool IsAmount(const QString& text, const LocaleValues& locale) { return ReadAmount(text, locale).has_value(); }
double Amount(const QString& text, const LocaleValues& locale) { return ReadAmount(text, locale).value_or(0); }

// 4 decimals, as an edit box shows an amount.
double Rounded4(double amount) { return std::round(amount * 10000.0) / 10000.0; }

}  // namespace

QStringList FlexPeriodChoices() { return {QStringLiteral("Day"), QStringLiteral("Week"), QStringLiteral("Month")}; }

QStringList MegPeriodChoices() {
  return {QStringLiteral("Day"), QStringLiteral("Week"), QStringLiteral("Month"), QStringLiteral("Session")};
}

ServiceValidation ValidateService(const ServiceEntries& e, int tariffCount, const LocaleValues& locale) {
  ServiceValidation v;
  v.description = !e.Description.isEmpty() && e.Description.size() <= kMaxNameLength;
  const QString number = e.Number.trimmed();
  v.number = !number.isEmpty() && number.size() <= kMaxNumberLength;
  v.dialCost = e.DialOption == 2 ? tariffCount > 0 : IsAmount(e.DialFixedTariff, locale);
  v.flexRate = IsAmount(e.FlexRate, locale);
  v.flexRate2 = IsAmount(e.FlexRate2, locale);
  v.flexHours = ReadWholeNumber(e.FlexHours, 0, kMaxFlexHours, locale).has_value();
  v.flexPeriod = FlexPeriodChoices().contains(e.FlexPeriod);
  v.flexAboveZero = v.flexRate && v.flexRate2 && Amount(e.FlexRate, locale) + Amount(e.FlexRate2, locale) > 0;
  v.serviceCost = e.ServiceOption == 2 ? v.flexRate && v.flexHours && v.flexPeriod && v.flexRate2 && v.flexAboveZero
                                       : IsAmount(e.ServiceFixedRate, locale);
  v.perMeg = IsAmount(e.PerMeg, locale);
  v.afterMeg = ReadWholeNumber(e.AfterMeg, 0, kMaxAfterMeg, locale).has_value();
  // A period matters only while data is charged.
  v.megPeriod = (v.perMeg && Amount(e.PerMeg, locale) == 0) || MegPeriodChoices().contains(e.MegPeriod);
  return v;
}

QString ServiceProblem(const ServiceEntries& e, int tariffCount, const LocaleValues& locale) {
  const ServiceValidation v = ValidateService(e, tariffCount, locale);
  const auto notAmount = [](const QString& tab, const QString& what, const QString& text) {
    return tab + QStringLiteral(": the ") + what + QStringLiteral(" \"") + text +
           QStringLiteral("\" is not an amount of 0 or more.");
  };
  const QString details = QStringLiteral("Service Details"), dial = QStringLiteral("Dial-up Cost"),
                cost = QStringLiteral("Service Cost");
  if (!v.description) {
    if (!e.Description.isEmpty()) {
      return details + QStringLiteral(": the description ") + LengthProblem(e.Description, kMaxNameLength) +
             QLatin1Char('.');
    }
    return details + QStringLiteral(": type a description for the reports.");
  }
  if (!v.number) {
    const QString number = e.Number.trimmed();
    if (!number.isEmpty()) {
      return details + QStringLiteral(": the number ") + LengthProblem(number, kMaxNumberLength) + QLatin1Char('.');
    }
    return details + QStringLiteral(": type the number this service is dialled on.");
  }
  if (!v.dialCost) {
    return e.DialOption == 2 ? dial + QStringLiteral(": add a time-segmented tariff with New, or choose Per Call "
                                                     "Tariff.")
                             : notAmount(dial, QStringLiteral("cost per call"), e.DialFixedTariff);
  }
  if (!v.serviceCost) {
    if (e.ServiceOption != 2) return notAmount(cost, QStringLiteral("hourly rate"), e.ServiceFixedRate);
    if (!v.flexRate) return notAmount(cost, QStringLiteral("flexi rate"), e.FlexRate);
    if (!v.flexHours) {
      return cost + QStringLiteral(": the flexi hours must be a whole number from 0 to %1.").arg(kMaxFlexHours);
    }
    if (!v.flexPeriod) return cost + QStringLiteral(": choose the flexi period (Day, Week or Month).");
    if (!v.flexRate2) return notAmount(cost, QStringLiteral("excess rate"), e.FlexRate2);
    return cost + QStringLiteral(": the flexi rate or the excess rate must be above 0.");
  }
  if (!v.perMeg) return notAmount(cost, QStringLiteral("cost per megabyte"), e.PerMeg);
  if (!v.afterMeg) {
    return cost + QStringLiteral(": the free megabytes must be a whole number from 0 to %1.").arg(kMaxAfterMeg);
  }
  if (!v.megPeriod) return cost + QStringLiteral(": choose the period the free megabytes count over.");
  return {};
}

Tariff DefaultTariff(const Configuration& config) {
  Tariff t;
  t.Description = QStringLiteral("Default Tariff");
  t.AppliesDays = QStringLiteral("Everyday");
  t.AppliesTimeStart = 0;
  t.AppliesTimeEnd = MakeTime(23, 59, 0);
  t.DialRate = Rounded4(config.DialCost);
  t.PerMinuteRate = 0;
  t.After = 0;
  return t;
}

ServiceEntries NewServiceEntries(const Configuration& config, const LocaleValues& locale) {
  ServiceEntries e;
  const QString zero = FormatAmount(0, 4, locale);
  e.Description = QStringLiteral("New Service");
  e.DialOption = 1;
  e.DialFixedTariff = FormatAmount(config.DialCost, 4, locale);
  e.ServiceOption = 1;
  e.ServiceFixedRate = FormatAmount(config.CostPerHour, 4, locale);
  e.FlexRate = zero;
  e.FlexRate2 = zero;
  e.PerMeg = zero;
  e.FlexHours = QStringLiteral("0");
  e.AfterMeg = QStringLiteral("0");
  e.FlexPeriod = QStringLiteral("Month");
  e.MegPeriod = QStringLiteral("Month");
  return e;
}

ServiceEntries EntriesOf(const Service& s, const Configuration&, const LocaleValues& locale) {
  ServiceEntries e;
  e.Description = s.ServiceName;
  e.Number = s.ServiceNumber;
  e.DialOption = s.DialOption == 2 ? 2 : 1;
  e.DialFixedTariff = FormatAmount(s.DialFixedTariff, 4, locale);
  e.ServiceOption = s.ServiceOption == 2 ? 2 : 1;
  e.ServiceFixedRate = FormatAmount(s.ServiceRate, 4, locale);
  e.FlexRate = FormatAmount(s.FlexRate, 4, locale);
  e.FlexRate2 = FormatAmount(s.FlexRate2, 4, locale);
  e.FlexHours = QString::number(s.UpToHours);
  e.FlexPeriod = s.PenaltyPeriod;
  e.PerMeg = FormatAmount(s.PerMeg, 4, locale);
  e.AfterMeg = QString::number(s.AfterMeg, 'g', 15);
  e.MegPeriod = s.MegPeriod;
  return e;
}

Service BuildService(const ServiceEntries& e, const std::array<Tariff, kMaxTariffs>& tariffs, int tariffCount,
                     const LocaleValues& locale) {
  Service s;
  s.ServiceName = e.Description;
  s.ServiceNumber = e.Number.trimmed();
  s.DialOption = e.DialOption;
  s.DialFixedTariff = Amount(e.DialFixedTariff, locale);
  s.Tariffs = tariffs;
  s.UsedTariffs = std::clamp(tariffCount, 0, kMaxTariffs);
  s.AfterMeg = static_cast<double>(ReadWholeNumber(e.AfterMeg, 0, kMaxAfterMeg, locale).value_or(0));
  s.PerMeg = Amount(e.PerMeg, locale);
  s.MegPeriod = e.MegPeriod;
  s.ServiceOption = e.ServiceOption;
  s.ServiceRate = Amount(e.ServiceFixedRate, locale);
  s.FlexRate = Amount(e.FlexRate, locale);
  s.PenaltyPeriod = e.FlexPeriod;
  s.FlexRate2 = Amount(e.FlexRate2, locale);
  s.UpToHours = static_cast<int>(ReadWholeNumber(e.FlexHours, 0, kMaxFlexHours, locale).value_or(0));
  return s;
}

int FindOtherServiceWithNumber(const Configuration& config, const QString& number, int selfIndex) {
  const QString wanted = number.trimmed();
  for (int i = 0; i < config.UsedServices && i < static_cast<int>(config.Services.size()); ++i) {
    if (i != selfIndex && config.Services[static_cast<size_t>(i)].ServiceNumber.trimmed() == wanted) return i;
  }
  return -1;
}

}  // namespace mirolat
