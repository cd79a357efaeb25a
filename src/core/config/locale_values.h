#pragma once
// The eight locale values read once at start-up, and the day names. Derived
// from a QLocale (the system's, or the command line's --locale); a C/POSIX
// locale falls back to en_US. Formatting reads these, never the C locale.
#include <QLocale>
#include <QString>
#include <array>

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

}  // namespace mirolat
