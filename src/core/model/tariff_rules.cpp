#include "core/model/tariff_rules.h"

#include <QLocale>
#include <QRegularExpression>
#include <QTime>
#include <algorithm>
#include <cmath>

#include "core/common/formatting.h"
#include "core/model/option_entries.h"

namespace mirolat {

namespace {

const QString kEveryday = QStringLiteral("Everyday");
const QString kHolidays = QStringLiteral("Holidays");

QString Hhmm(int minutes) {
  return QStringLiteral("%1:%2").arg(minutes / 60, 2, 10, QLatin1Char('0')).arg(minutes % 60, 2, 10, QLatin1Char('0'));
}

// An amount box: empty counts as 0, and a text ending in the decimal
// separator is a number being typed (its value is what precedes it).
std::optional<double> ReadAmountEntry(const QString& text, const LocaleValues& locale) {
  QString t = text.trimmed();
  if (t.isEmpty() || t == locale.MoneyDecimalSeparator) return 0.0;
  if (!locale.MoneyDecimalSeparator.isEmpty() && t.endsWith(locale.MoneyDecimalSeparator)) {
    t.chop(locale.MoneyDecimalSeparator.size());
  }
  return ReadAmount(t, locale);
}

bool IsRange(const QString& days) { return days.contains(QLatin1Char('-')); }

}  // namespace

QStringList TariffDescriptionChoices() {
  return {QStringLiteral("Standard Tariff"), QStringLiteral("Economy Tariff"), QStringLiteral("Peak Period Tariff"),
          QStringLiteral("Holiday Tariff"),  QStringLiteral("Weekday Tariff"), QStringLiteral("Weekend Tariff")};
}

QStringList TariffDayChoices(const LocaleValues& locale) {
  const auto& s = locale.ShortDayNames;  // 0 = Monday
  const auto range = [&](int a, int b) {
    return s[static_cast<size_t>(a)] + QStringLiteral(" - ") + s[static_cast<size_t>(b)];
  };
  QStringList days{kEveryday, kHolidays, range(5, 6), range(0, 4), range(0, 3), range(4, 5), range(4, 6)};
  for (const QString& name : locale.LongDayNames) days.append(name);
  return days;
}

QStringList TariffStartChoices() {
  QStringList list;
  for (int m = 0; m < 24 * 60; m += 15) list.append(Hhmm(m));
  return list;
}

QStringList TariffEndChoices() {
  QStringList list;
  for (int m = 14; m < 24 * 60; m += 15) list.append(Hhmm(m));
  return list;
}

TimeOfDay ReadHhMm(const QString& text) {
  static const QRegularExpression pattern(QStringLiteral("^([01]\\d|2[0-3]):([0-5]\\d)$"));
  const QRegularExpressionMatch m = pattern.match(text);
  if (!m.hasMatch()) return -1;
  return MakeTime(m.captured(1).toInt(), m.captured(2).toInt(), 0);
}

QString EndAfterStartChange(const QString& start, const QString& end) {
  const TimeOfDay s = ReadHhMm(start);
  if (s < 0) return end;
  const TimeOfDay e = ReadHhMm(end);
  if (e >= s) return end;
  return Hhmm(std::min(s / 60 + 14, 23 * 60 + 59));
}

QString StartAfterEndChange(const QString& start, const QString& end) {
  const TimeOfDay s = ReadHhMm(start);
  const TimeOfDay e = ReadHhMm(end);
  if (s < 0 || e < 0 || e >= s) return start;
  return Hhmm(std::max(e / 60 - 14, 0));
}

qint32 AfterSeconds(qint64 minutes, qint64 seconds) { return static_cast<qint32>(minutes * 60 + seconds); }

MinutesSeconds SplitAfter(qint32 after) { return {after / 60, after - (after / 60) * 60}; }

qint64 ReadThreshold(const QString& text, int max) {
  static const QRegularExpression digits(QStringLiteral("^\\s*\\d{1,9}\\s*$"));
  if (!digits.match(text).hasMatch()) return -1;
  const qint64 value = text.trimmed().toLongLong();
  return value <= max ? value : -1;
}

TariffValidation ValidateTariff(const TariffEntries& e, const LocaleValues& locale) {
  TariffValidation v;
  v.description = !e.Description.isEmpty() && e.Description.size() <= kMaxNameLength;
  v.days = !e.AppliesDays.isEmpty() && e.AppliesDays.size() <= kMaxNameLength;
  const TimeOfDay start = ReadHhMm(e.Start);
  const TimeOfDay end = ReadHhMm(e.End);
  v.start = start >= 0;
  v.end = end >= 0 && (start < 0 || end >= start);
  const std::optional<double> dial = ReadAmountEntry(e.DialRate, locale);
  const std::optional<double> perMinute = ReadAmountEntry(e.PerMinuteRate, locale);
  v.dialRate = dial.has_value();
  v.perMinuteRate = perMinute.has_value();
  v.chargeAboveZero = dial && perMinute && *dial + *perMinute > 0;
  v.afterMinutes = e.AfterMinutes.trimmed().isEmpty() || ReadThreshold(e.AfterMinutes, kMaxThresholdMinutes) >= 0;
  v.afterSeconds = e.AfterSeconds.trimmed().isEmpty() || ReadThreshold(e.AfterSeconds, kMaxThresholdSeconds) >= 0;
  return v;
}

namespace {

QString FieldName(TariffField field) {
  switch (field) {
    case TariffField::Description:
      return QStringLiteral("Description");
    case TariffField::Days:
      return QStringLiteral("Days");
    case TariffField::Start:
      return QStringLiteral("Start time");
    case TariffField::End:
      return QStringLiteral("End time");
    case TariffField::DialRate:
      return QStringLiteral("Minimum charge");
    case TariffField::PerMinuteRate:
      return QStringLiteral("Charge per minute");
    case TariffField::AfterMinutes:
      return QStringLiteral("Threshold minutes");
    case TariffField::AfterSeconds:
      return QStringLiteral("Threshold seconds");
  }
  return {};
}

// What the field's entry must be.
QString FieldRule(TariffField field) {
  switch (field) {
    case TariffField::Start:
    case TariffField::End:
      return QStringLiteral("a time of day as hh:mm, 00:00 to 23:59");
    case TariffField::DialRate:
    case TariffField::PerMinuteRate:
      return QStringLiteral("an amount of 0 or more");
    case TariffField::AfterMinutes:
      return QStringLiteral("a whole number from 0 to %1").arg(kMaxThresholdMinutes);
    case TariffField::AfterSeconds:
      return QStringLiteral("a whole number from 0 to %1").arg(kMaxThresholdSeconds);
    case TariffField::Description:
    case TariffField::Days:
      break;
  }
  return QStringLiteral("not empty");
}

QString NotA(TariffField field, const QString& typed) {
  return FieldName(field) + QStringLiteral(": \"") + typed + QStringLiteral("\" is not ") + FieldRule(field) +
         QLatin1Char('.');
}

}  // namespace

QString TariffProblem(const TariffEntries& e, const LocaleValues& locale) {
  const TariffValidation v = ValidateTariff(e, locale);
  if (!v.description) {
    if (!e.Description.isEmpty()) {
      return QStringLiteral("Description: the name ") + LengthProblem(e.Description, kMaxNameLength) + QLatin1Char('.');
    }
    return QStringLiteral("Description: type or choose a name for the tariff.");
  }
  if (!v.days) {
    if (!e.AppliesDays.isEmpty()) {
      return QStringLiteral("Days: the text ") + LengthProblem(e.AppliesDays, kMaxNameLength) + QLatin1Char('.');
    }
    return QStringLiteral("Days: choose the days the tariff applies on.");
  }
  const auto time = [](TariffField field, const QString& text) -> QString {
    if (!text.isEmpty()) return NotA(field, text);
    return FieldName(field) + QStringLiteral(": type or choose ") + FieldRule(field) + QLatin1Char('.');
  };
  if (!v.start) return time(TariffField::Start, e.Start);
  if (!v.end) {
    if (ReadHhMm(e.End) < 0) return time(TariffField::End, e.End);
    return QStringLiteral("End time: %1 is before the start time %2; a tariff ends on the day it starts "
                          "(a night is two tariffs).")
        .arg(e.End, e.Start);
  }
  if (!v.dialRate) return NotA(TariffField::DialRate, e.DialRate);
  if (!v.perMinuteRate) return NotA(TariffField::PerMinuteRate, e.PerMinuteRate);
  if (!v.afterMinutes) return NotA(TariffField::AfterMinutes, e.AfterMinutes);
  if (!v.afterSeconds) return NotA(TariffField::AfterSeconds, e.AfterSeconds);
  if (!v.chargeAboveZero) return QStringLiteral("Costs: the minimum charge or the charge per minute must be above 0.");
  return {};
}

QString RefusedTariffEntry(TariffField field, const QString& typed) {
  return NotA(field, typed) + QStringLiteral(" The previous value is back.");
}

QString MovedTariffTime(TariffField moved, const QString& to) {
  return moved == TariffField::End
             ? QStringLiteral("End time moved to %1, so that it is not before the start time.").arg(to)
             : QStringLiteral("Start time moved to %1, so that it is not after the end time.").arg(to);
}

Tariff BuildTariff(const TariffEntries& e, const LocaleValues& locale) {
  Tariff t;
  t.Description = e.Description;
  t.AppliesDays = e.AppliesDays;
  t.AppliesTimeStart = std::max(ReadHhMm(e.Start), 0);
  t.AppliesTimeEnd = std::max(ReadHhMm(e.End), 0);
  t.DialRate = ReadAmountEntry(e.DialRate, locale).value_or(0);
  t.PerMinuteRate = ReadAmountEntry(e.PerMinuteRate, locale).value_or(0);
  const qint64 minutes = std::max<qint64>(ReadThreshold(e.AfterMinutes, kMaxThresholdMinutes), 0);
  const qint64 seconds = std::max<qint64>(ReadThreshold(e.AfterSeconds, kMaxThresholdSeconds), 0);
  t.After = t.PerMinuteRate == 0 ? 0 : AfterSeconds(minutes, seconds);
  return t;
}

TariffEntries EntriesOf(const Tariff& t, const LocaleValues& locale) {
  MinutesSeconds after = SplitAfter(t.After);
  // The largest threshold the boxes take, 999 minutes 60 seconds, shows as
  // typed rather than as 1000 minutes, which the minutes box refuses.
  if (after.minutes == kMaxThresholdMinutes + 1 && after.seconds == 0) after = {kMaxThresholdMinutes, 60};
  return {t.Description,
          t.AppliesDays,
          TimeToHhMm(t.AppliesTimeStart),
          TimeToHhMm(t.AppliesTimeEnd),
          FormatAmount(t.DialRate, 4, locale),
          FormatAmount(t.PerMinuteRate, 4, locale),
          QString::number(after.minutes),
          QString::number(after.seconds)};
}

TariffEntries NewTariffEntries(const LocaleValues&) {
  return {QStringLiteral("New Tariff"), kEveryday,           QStringLiteral("00:00"), QString(),
          QStringLiteral("0"),          QStringLiteral("0"), QStringLiteral("0"),     QStringLiteral("0")};
}

int TariffExists(const QString& name, const std::array<Tariff, kMaxTariffs>& tariffs, int count) {
  for (int i = 0; i < count && i < kMaxTariffs; ++i) {
    if (tariffs[static_cast<size_t>(i)].Description == name) return i + 1;
  }
  return 0;
}

void SortTariffs(std::array<Tariff, kMaxTariffs>& tariffs, int count, int* selected) {
  count = std::min(count, kMaxTariffs);
  if (count < 2) return;
  const auto swap = [&](int i) {  // i and i + 1, 0-based
    std::swap(tariffs[static_cast<size_t>(i)], tariffs[static_cast<size_t>(i + 1)]);
    if (selected != nullptr) {
      if (*selected == i + 1) {
        *selected = i + 2;
      } else if (*selected == i + 2) {
        *selected = i + 1;
      }
    }
  };
  // Each rule moves a tariff towards its class (holidays, single days, ranges,
  // everyday); a pass without an exchange ends the sort. A generous bound
  // guards against pairs the rules would exchange back and forth.
  for (int pass = 0; pass < 4 * kMaxTariffs * kMaxTariffs; ++pass) {
    bool exchanged = false;
    for (int i = 0; i + 1 < count; ++i) {
      const auto a = [&]() -> const Tariff& { return tariffs[static_cast<size_t>(i)]; };
      const auto b = [&]() -> const Tariff& { return tariffs[static_cast<size_t>(i + 1)]; };
      if (a().AppliesDays != kHolidays && b().AppliesDays == kHolidays) {
        swap(i);
        exchanged = true;
      }
      if (IsRange(a().AppliesDays) && b().AppliesDays != kEveryday && !IsRange(b().AppliesDays)) {
        swap(i);
        exchanged = true;
      }
      if (a().AppliesDays == kEveryday && b().AppliesDays != kEveryday) {
        swap(i);
        exchanged = true;
      }
      if (a().AppliesDays == b().AppliesDays && a().AppliesTimeStart > b().AppliesTimeStart) {
        swap(i);
        exchanged = true;
      }
    }
    if (!exchanged) return;
  }
}

QString MediumTimeText(TimeOfDay t, const LocaleValues& locale) {
  return locale.Locale.toString(QTime(0, 0).addSecs(t), QLocale::ShortFormat);
}

QString AfterText(qint32 after) {
  const MinutesSeconds ms = SplitAfter(after);
  return QStringLiteral("%1 Mins %2 Secs").arg(ms.minutes).arg(ms.seconds);
}

QString TariffHoursText(const Tariff& t, const LocaleValues& locale) {
  return MediumTimeText(t.AppliesTimeStart, locale) + QStringLiteral(" - ") + MediumTimeText(t.AppliesTimeEnd, locale);
}

QString TariffSummary(const Tariff& t, const LocaleValues& locale) {
  const MinutesSeconds ms = SplitAfter(t.After);
  return t.Description + QStringLiteral(" - ") + t.AppliesDays + QLatin1Char(' ') +
         MediumTimeText(t.AppliesTimeStart, locale) + QStringLiteral(" - ") + MediumTimeText(t.AppliesTimeEnd, locale) +
         QStringLiteral(" - ") + FormatMoney(t.DialRate, 0, locale) + QStringLiteral(" /call + ") +
         FormatMoney(t.PerMinuteRate, 0, locale) + QStringLiteral(" /min after ") + QString::number(ms.minutes) +
         QStringLiteral(" mins ") + QString::number(ms.seconds) + QStringLiteral(" secs.");
}

}  // namespace mirolat
