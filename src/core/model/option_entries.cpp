#include "core/model/option_entries.h"

#include <QRegularExpression>
#include <algorithm>
#include <cmath>
#include <tuple>
#include <utility>

#include "core/common/formatting.h"

namespace mirolat {

namespace {

// The value of a text that is a number in the locale's money format.
std::optional<double> ReadNumber(const QString& text, const LocaleValues& locale) {
  if (FormatAmountText(text, 0, locale).isEmpty()) return std::nullopt;
  const double value = ParseAmountText(text.trimmed(), locale);
  if (!std::isfinite(value)) return std::nullopt;
  return value;
}

}  // namespace

QString LengthProblem(const QString& text, int limit) {
  if (text.size() <= limit) return {};
  return QStringLiteral("has %1 characters; at most %2 are allowed").arg(text.size()).arg(limit);
}

QString LongText::FileName() const {
  if (Service < 0) return QStringLiteral("Modem.") + QLatin1String(Field);
  QString name = QStringLiteral("Services[%1].").arg(Service);
  if (Tariff >= 0) name += QStringLiteral("Tariffs[%1].").arg(Tariff);
  return name + QLatin1String(Field);
}

std::optional<LongText> FindTooLongText(const Configuration& c) {
  const auto tooLong = [](const QString& text, int limit, const char* field, int service,
                          int tariff) -> std::optional<LongText> {
    if (text.size() <= limit) return std::nullopt;
    return LongText{field, service, tariff, LengthProblem(text, limit)};
  };
  const std::pair<const QString*, const char*> modem[] = {{&c.ModemDial, "ModemDial"},
                                                          {&c.ModemAnswer, "ModemAnswer"},
                                                          {&c.ModemConnect, "ModemConnect"},
                                                          {&c.ModemUserDisconnect, "ModemUserDisconnect"},
                                                          {&c.ModemHostDisconnect, "ModemHostDisconnect"},
                                                          {&c.ModemReads, "ModemReads"},
                                                          {&c.ModemWrites, "ModemWrites"}};
  for (const auto& [text, field] : modem) {
    if (auto found = tooLong(*text, kMaxNameLength, field, -1, -1)) return found;
  }
  const int services = std::clamp(c.UsedServices, 0, static_cast<int>(c.Services.size()));
  for (int n = 0; n < services; ++n) {
    const Service& s = c.Services[static_cast<std::size_t>(n)];
    const std::tuple<const QString*, int, const char*> fields[] = {
        {&s.ServiceName, kMaxNameLength, "ServiceName"},
        {&s.ServiceNumber, kMaxNumberLength, "ServiceNumber"},
        {&s.PenaltyPeriod, kMaxNameLength, "PenaltyPeriod"},
        {&s.MegPeriod, kMaxNameLength, "MegPeriod"}};
    for (const auto& [text, limit, field] : fields) {
      if (auto found = tooLong(*text, limit, field, n, -1)) return found;
    }
    for (int t = 0; t < std::clamp(s.UsedTariffs, 0, kMaxTariffs); ++t) {
      const Tariff& tariff = s.Tariffs[static_cast<std::size_t>(t)];
      if (auto found = tooLong(tariff.Description, kMaxNameLength, "Description", n, t)) return found;
      if (auto found = tooLong(tariff.AppliesDays, kMaxNameLength, "AppliesDays", n, t)) return found;
    }
  }
  return std::nullopt;
}

std::optional<qint64> ReadWholeNumber(const QString& text, qint64 min, qint64 max, const LocaleValues& locale) {
  const std::optional<double> value = ReadNumber(text, locale);
  if (!value) return std::nullopt;
  const double rounded = std::nearbyint(*value);
  if (rounded < static_cast<double>(min) || rounded > static_cast<double>(max)) return std::nullopt;
  return static_cast<qint64>(rounded);
}

QString FormatAmount(double amount, int maxDecimals, const LocaleValues& locale) {
  return FormatMoney(amount, QString(), 2, 0, std::max(locale.CurrencyDigits, 0), maxDecimals, locale);
}

std::optional<double> ReadAmount(const QString& text, const LocaleValues& locale) {
  const std::optional<double> value = ReadNumber(text, locale);
  if (!value || *value < 0 || *value > kMaxStoredAmount) return std::nullopt;
  return *value == 0 ? 0.0 : *value;  // no negative zero
}

namespace {

struct DurationParts {
  bool shape = false;  // hh:mm:ss, every digit there
  int hours = 0, minutes = 0, seconds = 0;
};

DurationParts SplitDuration(const QString& text) {
  static const QRegularExpression pattern(QStringLiteral("^(\\d\\d):(\\d\\d):(\\d\\d)$"));
  const QRegularExpressionMatch m = pattern.match(text);
  if (!m.hasMatch()) return {};
  return {true, m.captured(1).toInt(), m.captured(2).toInt(), m.captured(3).toInt()};
}

}  // namespace

std::optional<int> ReadDurationText(const QString& text) {
  const DurationParts d = SplitDuration(text);
  if (!d.shape || d.minutes > 59 || d.seconds > 59) return std::nullopt;
  return d.hours * 3600 + d.minutes * 60 + d.seconds;
}

QString DurationTextProblem(const QString& text) {
  const DurationParts d = SplitDuration(text);
  const QString correct = QStringLiteral(" Correct the duration to leave the box.");
  if (!d.shape) return QStringLiteral("Type the duration as hh:mm:ss, with every digit.") + correct;
  if (d.minutes > 59) return QStringLiteral("The minutes (%1) must be 00 to 59.").arg(d.minutes) + correct;
  if (d.seconds > 59) return QStringLiteral("The seconds (%1) must be 00 to 59.").arg(d.seconds) + correct;
  return {};
}

std::optional<double> ReadKilobytes(const QString& text, const LocaleValues& locale) {
  const std::optional<double> value = ReadNumber(text, locale);
  if (!value || *value < 0 || std::nearbyint(*value) > static_cast<double>(kMax32)) return std::nullopt;
  return *value == 0 ? 0.0 : *value;
}

qint64 MinMaxServices(const Configuration& config) { return std::max(1, config.UsedServices); }

void SetMaxServices(Configuration& config, int max) {
  config.MaxServices = max;
  config.Services.resize(static_cast<std::size_t>(max) + 1);
}

void DeleteService(Configuration& config, int index) {
  if (index < 0 || index >= config.UsedServices) return;
  auto first = config.Services.begin() + index;
  std::rotate(first, first + 1, config.Services.begin() + config.UsedServices);
  config.Services[static_cast<std::size_t>(config.UsedServices - 1)] = Service();
  --config.UsedServices;
}

QList<Date> HolidaysOf(const Configuration& config) {
  QList<Date> dates;
  const int used = std::clamp(config.UsedHolidays, 0, kMaxHolidays);
  for (int i = 0; i < used; ++i) dates.append(config.Holidays[static_cast<std::size_t>(i)]);
  std::sort(dates.begin(), dates.end());
  return dates;
}

void StoreHolidays(Configuration& config, const QList<Date>& dates) {
  const int count = std::min<int>(static_cast<int>(dates.size()), kMaxHolidays);
  for (int i = 0; i < count; ++i) config.Holidays[static_cast<std::size_t>(i)] = dates[i];
  config.UsedHolidays = count;
}

HolidayAddResult AddHoliday(QList<Date>& dates, Date date) {
  const auto at = std::lower_bound(dates.begin(), dates.end(), date);
  const int index = static_cast<int>(at - dates.begin());
  if (at != dates.end() && *at == date) return {HolidayAdd::AlreadyListed, index};
  if (dates.size() >= kMaxHolidays) return {HolidayAdd::ListFull, -1};
  dates.insert(index, date);
  return {HolidayAdd::Added, index};
}

void RestoreModemDefaults(Configuration& config) {
  const Configuration defaults;
  config.ModemDial = defaults.ModemDial;
  config.ModemAnswer = defaults.ModemAnswer;
  config.ModemConnect = defaults.ModemConnect;
  config.ModemUserDisconnect = defaults.ModemUserDisconnect;
  config.ModemHostDisconnect = defaults.ModemHostDisconnect;
  config.ModemReads = defaults.ModemReads;
  config.ModemWrites = defaults.ModemWrites;
}

}  // namespace mirolat
