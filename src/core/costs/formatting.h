#pragma once
// Shared writing of durations, money amounts, numbers and dates, and reading
// back what the user typed. Driven by the locale values, never by the C locale.
#include <QString>

#include "config/locale_values.h"

namespace mirolat {

// "hh:mm:ss"; hours are not limited to two digits. Single precision.
QString FormatDuration(float seconds);

// The money format of `digits` decimals (at most `maxDecimals` where that is
// larger) with the symbol placed by symbolFirst (0 after, 1 before, other:
// none) and `spaces` blanks between.
QString FormatMoney(double amount, const QString& symbol, int symbolFirst, int spaces, int digits, int maxDecimals,
                    const LocaleValues& locale);
// The same with the locale's own symbol, position, spacing and digits.
QString FormatMoney(double amount, int maxDecimals, const LocaleValues& locale);

// "#,##0": a whole number with the locale's grouping, halves away from zero.
QString FormatWholeNumber(double value, const LocaleValues& locale);

QString FormatAmountText(const QString& text, int maxDecimals, const LocaleValues& locale);
double ParseAmountText(const QString& text, const LocaleValues& locale);
QString DateToEntryText(const QString& dateText, const LocaleValues& locale);
QString PadLeft(const QString& text, QChar pad, int width);
bool DateIsBefore(double a, double b);
bool IsLongValue(float value);  // throws RunError("Overflow") outside the 32-bit range

// The language's text-to-number rule: the leading number of the text ("."
// as decimal point, leading blanks skipped), 0 when there is none.
double LeadingNumber(QStringView text);

}  // namespace mirolat
