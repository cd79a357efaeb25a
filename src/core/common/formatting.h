#pragma once
// Shared writing of durations, money amounts, numbers and dates, and reading
// back what the user typed. Driven by the locale values, never by the C locale.
#include <QString>

#include "core/common/locale_values.h"

namespace mirolat {

// "hh:mm:ss"; hours are not limited to two digits. Single precision.
QString FormatDuration(float seconds);

// The money format of `digits` decimals (at most `maxDecimals` where that is
// larger) with the symbol placed by symbolFirst (0 after, 1 before, other:
// none) and `spaces` blanks between. Grouping and decimal characters are the
// locale values' MoneyThousandSeparator and MoneyDecimalSeparator; halves are
// rounded away from zero (0.125 with 2 digits gives 0.13). An amount without
// decimals is written without a decimal character; a result that rounds to
// zero carries no minus sign.
QString FormatMoney(double amount, const QString& symbol, int symbolFirst, int spaces, int digits, int maxDecimals,
                    const LocaleValues& locale);
// The same with the locale's own symbol, position, spacing and digits.
QString FormatMoney(double amount, int maxDecimals, const LocaleValues& locale);
// FormatMoney(amount, maxDecimals, locale) appended to `text`, without a text
// of its own in between (reports write thousands of amounts).
void AppendMoney(QString& text, double amount, int maxDecimals, const LocaleValues& locale);

// "#,##0": a whole number with the grouping character of locale.Locale,
// halves away from zero (0.5 gives 1).
QString FormatWholeNumber(double value, const LocaleValues& locale);
// FormatWholeNumber(bytes / 1024.0, locale) appended to `text`: a byte count
// as whole kilobytes, written for every session's notes.
void AppendKilobytes(QString& text, qint64 bytes, const LocaleValues& locale);

// An amount typed in an edit box, rewritten with CurrencyDigits decimals (up
// to maxDecimals); empty when the text is not a number in the locale's money
// format (blanks around it, a sign, digits grouped by MoneyThousandSeparator,
// MoneyDecimalSeparator, an exponent).
QString FormatAmountText(const QString& text, int maxDecimals, const LocaleValues& locale);
// The first MoneyDecimalSeparator becomes ".", the first MoneyThousandSeparator
// is removed (both found in the text as given), then the leading number.
double ParseAmountText(const QString& text, const LocaleValues& locale);
QString DateToEntryText(const QString& dateText, const LocaleValues& locale);
QString PadLeft(const QString& text, QChar pad, int width);
bool DateIsBefore(double a, double b);
bool IsLongValue(float value);  // throws RunError("Overflow") outside the 32-bit range

// The number a text starts with: leading blanks skipped, then an optional
// sign, digits, "." as the decimal point and an exponent (E or D); 0 when the text
// starts with no number ("12abc" is 12, "abc" is 0).
double LeadingNumber(QStringView text);

}  // namespace mirolat
