#pragma once
// The eight locale values read once at start-up, and the day names. Derived
// from a QLocale (the system's, or the command line's --locale); a C/POSIX
// locale falls back to en_US. Formatting reads these, never the C locale.
#include <QLocale>
#include <QString>
#include <array>
#include <optional>

namespace mirolat {

struct LocaleValues {
  QString LocaleCountry;
  QString CurrencySymbol;
  int CurrencySymbolFirst = 1;  // 1: symbol precedes the amount
  int CurrencySpace = 0;        // spaces between symbol and amount
  int CurrencyDigits = 2;
  QString DateSeparator = QStringLiteral("/");
  QString MoneyDecimalSeparator = QStringLiteral(".");
  QString MoneyThousandSeparator = QStringLiteral(",");
  std::array<QString, 7> ShortDayNames;  // 0 = Monday
  std::array<QString, 7> LongDayNames;
  QLocale Locale = QLocale(QLocale::English, QLocale::UnitedStates);  // long/short date formats
};

// The locale the values come from: `locale` itself, or en_US for the C/POSIX locale.
QLocale EffectiveLocale(const QLocale& locale);

// The locale a name such as "en_US", "de_DE" or "fr_FR.UTF-8" stands for;
// "C" and "POSIX" give the C locale (whose values are en_US's). Nothing for a
// name whose language is unknown, rather than the C locale QLocale makes of it.
std::optional<QLocale> LocaleNamed(const QString& name);

// The eight locale values, the day names and the locale itself, from `locale`
// (en_US for C/POSIX):
// - LocaleCountry: the territory's English name;
// - every text item is cut to its first 20 characters;
// - CurrencySymbol, CurrencySymbolFirst, CurrencySpace, CurrencyDigits: as the
//   locale writes an amount of money (symbol before or after, with or without
//   a space, the currency's usual number of decimals);
// - DateSeparator: the first separator of the locale's short date format;
// - MoneyDecimalSeparator, MoneyThousandSeparator: the locale's decimal point
//   and grouping character.
LocaleValues LoadLocaleInfo(const QLocale& locale);

// ShortDayNames ("ddd") and LongDayNames ("dddd") from values.Locale: the days
// 5 to 11 October 1998, so index 0 is Monday whatever the locale.
void BuildDayNames(LocaleValues& values);

}  // namespace mirolat
