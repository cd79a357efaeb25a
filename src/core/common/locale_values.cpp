#include "core/common/locale_values.h"

#include <QDate>

namespace mirolat {

namespace {

bool IsSpaceLike(QChar c) { return c == u' ' || c == QChar(0x00A0) || c == QChar(0x202F) || c == QChar(0x2009); }

// A locale text item is read into a 20-character buffer: longer items are cut
// to their first 20 characters.
constexpr qsizetype kLocaleItemLength = 20;
QString LocaleItem(const QString& text) { return text.left(kLocaleItemLength); }

}  // namespace

QLocale EffectiveLocale(const QLocale& locale) {
  if (locale.language() == QLocale::C) return QLocale(QLocale::English, QLocale::UnitedStates);
  return locale;
}

LocaleValues LoadLocaleInfo(const QLocale& requested) {
  LocaleValues v;
  const QLocale locale = EffectiveLocale(requested);
  v.Locale = locale;
  v.LocaleCountry = LocaleItem(QLocale::territoryToString(locale.territory()));
  v.CurrencySymbol = LocaleItem(locale.currencySymbol(QLocale::CurrencySymbol));

  // Where the locale writes the symbol, and whether a space stands between.
  const QString sample = locale.toCurrencyString(1.0);
  const qsizetype at = v.CurrencySymbol.isEmpty() ? -1 : sample.indexOf(v.CurrencySymbol);
  const qsizetype firstDigit = sample.indexOf(QLatin1Char('1'));
  if (at >= 0 && firstDigit >= 0) {
    v.CurrencySymbolFirst = at < firstDigit ? 1 : 0;
    const qsizetype between = v.CurrencySymbolFirst == 1 ? at + v.CurrencySymbol.size() : at - 1;
    v.CurrencySpace = between >= 0 && between < sample.size() && IsSpaceLike(sample[between]) ? 1 : 0;
  } else {
    v.CurrencySymbolFirst = 1;
    v.CurrencySpace = 0;
  }

  // The currency's usual decimals: the digits after the decimal point of 1.
  const QString point = locale.decimalPoint();
  const qsizetype p = firstDigit >= 0 ? sample.indexOf(point, firstDigit) : -1;
  int digits = 0;
  if (p >= 0) {
    for (qsizetype i = p + point.size(); i < sample.size() && sample[i].isDigit(); ++i) ++digits;
  }
  v.CurrencyDigits = digits;

  // The first character of the short date format that is not a letter.
  const QString shortFormat = locale.dateFormat(QLocale::ShortFormat);
  v.DateSeparator = QStringLiteral("/");
  for (qsizetype i = 0; i < shortFormat.size(); ++i) {
    const QChar c = shortFormat[i];
    if (!c.isLetter() && c != u'\'' && !c.isSpace()) {
      v.DateSeparator = QString(c);
      break;
    }
  }

  v.MoneyDecimalSeparator = LocaleItem(point);
  v.MoneyThousandSeparator = LocaleItem(locale.groupSeparator());
  BuildDayNames(v);
  return v;
}

void BuildDayNames(LocaleValues& values) {
  const QDate sunday(1998, 10, 4);
  for (int i = 1; i <= 7; ++i) {
    const QDate day = sunday.addDays(i);
    values.ShortDayNames[static_cast<std::size_t>(i - 1)] = values.Locale.toString(day, QStringLiteral("ddd"));
    values.LongDayNames[static_cast<std::size_t>(i - 1)] = values.Locale.toString(day, QStringLiteral("dddd"));
  }
}

}  // namespace mirolat
