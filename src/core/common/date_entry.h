#pragma once
// The text of a date-entry box ("##/##/##" in the locale's short-date order,
// with its date separator) and reading such a text back as a date.
#include <QString>

#include "core/common/dates.h"
#include "core/common/locale_values.h"

namespace mirolat {

// `date` written in the locale's short-date form, then made into entry text by
// DateToEntryText: 6 December 2026 in en_US gives 12/06/26.
QString DateToBoxText(Date date, const LocaleValues& locale);

// The date an entry text stands for, in the locale's short-date order of day,
// month and year; 0 when the text is not a whole, valid date. A two-digit year
// below 30 lies in 2000-2029, from 30 on in 1930-1999.
Date DateFromBoxText(const QString& text, const LocaleValues& locale);

}  // namespace mirolat
