#include "core/common/date_entry.h"

#include <QStringList>
#include <array>

#include "core/common/formatting.h"

namespace mirolat {

namespace {

enum class Part { Day, Month, Year };

// The order of day, month and year in the locale's short date format (quoted
// literal text skipped).
std::array<Part, 3> ShortDateOrder(const QLocale& locale) {
  const QString format = locale.dateFormat(QLocale::ShortFormat);
  std::array<Part, 3> order{Part::Month, Part::Day, Part::Year};
  int n = 0;
  bool quoted = false;
  QChar last;
  for (const QChar c : format) {
    if (c == u'\'') {
      quoted = !quoted;
      continue;
    }
    if (quoted || c == last) continue;
    last = c;
    Part p;
    if (c == u'd') {
      p = Part::Day;
    } else if (c == u'M') {
      p = Part::Month;
    } else if (c == u'y') {
      p = Part::Year;
    } else {
      continue;
    }
    if (n < 3) order[n++] = p;
  }
  if (n < 3) return {Part::Month, Part::Day, Part::Year};
  return order;
}

bool AllDigits(const QString& s) {
  if (s.isEmpty()) return false;
  for (const QChar c : s) {
    if (!c.isDigit()) return false;
  }
  return true;
}

}  // namespace

QString DateToBoxText(Date date, const LocaleValues& locale) {
  return DateToEntryText(locale.Locale.toString(ToQDate(date), QLocale::ShortFormat), locale);
}

Date DateFromBoxText(const QString& text, const LocaleValues& locale) {
  const QString sep = locale.DateSeparator.isEmpty() ? QStringLiteral("/") : locale.DateSeparator;
  const QStringList parts = text.trimmed().split(sep);
  if (parts.size() != 3) return 0;
  const std::array<Part, 3> order = ShortDateOrder(locale.Locale);
  int day = 0;
  int month = 0;
  int year = -1;
  for (int i = 0; i < 3; ++i) {
    const QString piece = parts[i].trimmed();
    if (!AllDigits(piece)) return 0;
    const int value = piece.toInt();
    switch (order[i]) {
      case Part::Day:
        if (piece.size() != 2) return 0;
        day = value;
        break;
      case Part::Month:
        if (piece.size() != 2) return 0;
        month = value;
        break;
      case Part::Year:
        if (piece.size() == 2) {
          year = value < 30 ? 2000 + value : 1900 + value;
        } else if (piece.size() == 4) {
          year = value;
        } else {
          return 0;
        }
        break;
    }
  }
  const QDate d(year, month, day);
  if (!d.isValid()) return 0;
  return FromQDate(d);
}

}  // namespace mirolat
