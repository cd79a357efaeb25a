#pragma once
// What the options dialog accepts in its boxes: the limits of the General tab,
// money amounts, the missing-disconnect duration and data, and the service
// table's size. Each reader gives nothing for an entry that must be refused
// (the dialog beeps and keeps the old value).
#include <QString>
#include <optional>

#include "core/common/locale_values.h"
#include "core/model/configuration.h"

namespace mirolat {

inline constexpr qint64 kMax16 = 32767;
inline constexpr qint64 kMax32 = 2147483647;
// The ranges of the General tab's limits, each from kMinLimit.
inline constexpr qint64 kMinLimit = 1;
inline constexpr qint64 kMaxConnectionsLimit = kMax16;
inline constexpr qint64 kMaxConnectDaysLimit = kMax16;
inline constexpr qint64 kMaxLogSizeLimit = kMax32;
// The largest amount the store holds (amount x 10000 in 32 bits).
inline constexpr double kMaxStoredAmount = 214748.3647;

// The longest texts the record takes, in characters: names and descriptions
// (a service's name, a tariff's description and days, the periods, the
// modem's response texts) and dialled numbers. The dialogs refuse longer
// ones, so does config import, and a stored record holding one counts as
// damaged: every report line that shows a name repeats it.
inline constexpr int kMaxNameLength = 255;
inline constexpr int kMaxNumberLength = 64;

// Empty when `text` has at most `limit` characters; otherwise the end of the
// message that refuses it, naming the limit: "has 300 characters; at most
// 255 are allowed".
QString LengthProblem(const QString& text, int limit);

// A text of the record longer than its limit: the field, where it is and
// its LengthProblem.
struct LongText {
  const char* Field = "";  // "ModemDial", "ServiceName", "Description", ...
  int Service = -1;        // 0-based; -1 for a modem text
  int Tariff = -1;         // 0-based; -1 for a field of the service itself
  QString Problem;
  // As the configuration file names it: "Services[2].Tariffs[0].Description".
  QString FileName() const;
};
// The first text of the record in use that is longer than its limit: the
// modem texts, then each service in use with its tariffs in use. Nothing
// when every text fits.
std::optional<LongText> FindTooLongText(const Configuration& config);

// A number typed in the locale's format (grouping accepted), rounded to a
// whole number (halves to even) and within min..max; nothing otherwise.
std::optional<qint64> ReadWholeNumber(const QString& text, qint64 min, qint64 max, const LocaleValues& locale);

// An amount as an edit box shows it: the locale's money number without
// symbol, CurrencyDigits decimals, up to maxDecimals where it has more.
QString FormatAmount(double amount, int maxDecimals, const LocaleValues& locale);

// A money amount typed in the locale's format: not negative and small enough
// for the store; nothing otherwise.
std::optional<double> ReadAmount(const QString& text, const LocaleValues& locale);

// "hh:mm:ss" (exactly two digits each, minutes and seconds 0..59) as seconds;
// nothing for anything else.
std::optional<int> ReadDurationText(const QString& text);
// Why ReadDurationText refuses a text, as the dialog tells the user who
// cannot leave the box; empty when the text is a duration.
QString DurationTextProblem(const QString& text);

// Kilobytes typed in the locale's format: not negative, whole-number range of
// the store; nothing otherwise.
std::optional<double> ReadKilobytes(const QString& text, const LocaleValues& locale);

// The smallest and largest Maximum Services the record can take now.
qint64 MinMaxServices(const Configuration& config);

// Sets MaxServices and gives the service table MaxServices + 1 slots, keeping
// every service in use. `max` must be at least MinMaxServices.
void SetMaxServices(Configuration& config, int max);

// Removes service `index` (0-based, in use): the later services move one
// place forward and UsedServices falls by one.
void DeleteService(Configuration& config, int index);

// The working holiday list of the record: its dates in ascending order.
QList<Date> HolidaysOf(const Configuration& config);
// Writes the list back into the record (at most kMaxHolidays dates).
void StoreHolidays(Configuration& config, const QList<Date>& dates);

enum class HolidayAdd { Added, AlreadyListed, ListFull };
struct HolidayAddResult {
  HolidayAdd outcome;
  int index;  // where the date is now (Added, AlreadyListed); -1 when full
};
// Adds `date` to the ascending list: past dates too, never twice, at most
// kMaxHolidays dates.
HolidayAddResult AddHoliday(QList<Date>& dates, Date date);

// The seven modem texts back to their defaults.
void RestoreModemDefaults(Configuration& config);

}  // namespace mirolat
