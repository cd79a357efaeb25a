#pragma once
// The rules of the tariff editor: the choices its lists offer, the times it
// accepts, the automatic moves of start and end, what makes a tariff valid,
// how a tariff is built from the entries, and the order in which the cost
// engine tries a service's tariffs.
#include <QString>
#include <QStringList>
#include <array>

#include "core/common/locale_values.h"
#include "core/model/configuration.h"

namespace mirolat {

inline constexpr int kMaxThresholdMinutes = 999;
inline constexpr int kMaxThresholdSeconds = 60;

QStringList TariffDescriptionChoices();
// "Everyday", "Holidays", five ranges of short day names ("Sat - Sun",
// "Mon - Fri", "Mon - Thu", "Fri - Sat", "Fri - Sun" in English), then the
// seven long day names, Monday first.
QStringList TariffDayChoices(const LocaleValues& locale);
// 00:00, 00:15 .. 23:45 and 00:14, 00:29 .. 23:59 (96 each).
QStringList TariffStartChoices();
QStringList TariffEndChoices();

// "hh:mm" (two digits each, 00..23 and 00..59) as a time of day; -1 otherwise.
TimeOfDay ReadHhMm(const QString& text);

// The end after the start was changed: when the start is a time and the end
// is empty, not a time, or earlier than the start, the start + 14 minutes
// (at most 23:59); otherwise the end as it is.
QString EndAfterStartChange(const QString& start, const QString& end);
// The start after the end was changed: when both are times and the end is
// earlier than the start, the end - 14 minutes (at least 00:00); otherwise
// the start as it is.
QString StartAfterEndChange(const QString& start, const QString& end);

// The free threshold of minutes and seconds, and back (150 s = 2 min 30 s).
qint32 AfterSeconds(qint64 minutes, qint64 seconds);
struct MinutesSeconds {
  qint32 minutes;
  qint32 seconds;
};
MinutesSeconds SplitAfter(qint32 after);

// The texts of the tariff editor's boxes.
struct TariffEntries {
  QString Description;
  QString AppliesDays;
  QString Start;
  QString End;
  QString DialRate;  // minimum call charge
  QString PerMinuteRate;
  QString AfterMinutes;
  QString AfterSeconds;
};

// Which entries are acceptable; the editor's OK is enabled by ok().
struct TariffValidation {
  bool description = false;  // 1..kMaxNameLength characters
  bool days = false;         // likewise
  bool start = false;     // hh:mm
  bool end = false;       // hh:mm, not before the start
  bool dialRate = false;  // an amount >= 0
  bool perMinuteRate = false;
  bool afterMinutes = false;     // whole number 0..999
  bool afterSeconds = false;     // whole number 0..60
  bool chargeAboveZero = false;  // minimum charge + per-minute rate > 0
  bool ok() const {
    return description && days && start && end && dialRate && perMinuteRate && afterMinutes && afterSeconds &&
           chargeAboveZero;
  }
};

TariffValidation ValidateTariff(const TariffEntries& entries, const LocaleValues& locale);

// The editor's line of explanation. TariffProblem: why OK is disabled, the
// first entry (in the editor's order) that breaks a rule, named with the
// rule; empty when the entries are valid. RefusedTariffEntry: what it says
// when leaving a box puts the old value back. MovedTariffTime: what it says
// when a time the user set moved the other time.
enum class TariffField { Description, Days, Start, End, DialRate, PerMinuteRate, AfterMinutes, AfterSeconds };
QString TariffProblem(const TariffEntries& entries, const LocaleValues& locale);
QString RefusedTariffEntry(TariffField field, const QString& typed);
QString MovedTariffTime(TariffField moved, const QString& to);
// A whole number 0..max typed in a threshold box; -1 when it is not one.
qint64 ReadThreshold(const QString& text, int max);

// The tariff the entries describe (they must be valid).
Tariff BuildTariff(const TariffEntries& entries, const LocaleValues& locale);
// The entries showing a stored tariff.
TariffEntries EntriesOf(const Tariff& tariff, const LocaleValues& locale);
// The entries of a new tariff: New Tariff, Everyday, 00:00, no end, 0, 0, 0, 0.
TariffEntries NewTariffEntries(const LocaleValues& locale);

// Position 1..count of the first tariff named exactly `name`, else 0.
int TariffExists(const QString& name, const std::array<Tariff, kMaxTariffs>& tariffs, int count);

// Puts tariffs 0..count-1 in the order the cost engine tries them: holiday
// tariffs first, single days before ranges, "Everyday" last, tariffs of the
// same days by start time. `selected` (1-based, 0: none) follows its tariff.
void SortTariffs(std::array<Tariff, kMaxTariffs>& tariffs, int count, int* selected = nullptr);

// The tariff list's texts: "2 Mins 30 Secs", the hours "8:00 AM - 5:59 PM",
// and the tool tip summary of one tariff.
QString AfterText(qint32 after);
QString TariffHoursText(const Tariff& tariff, const LocaleValues& locale);
QString TariffSummary(const Tariff& tariff, const LocaleValues& locale);
// A time of day in the locale's medium (short) time format.
QString MediumTimeText(TimeOfDay t, const LocaleValues& locale);

}  // namespace mirolat
