#include "core/common/locale_values.h"

#include <QDate>
#include <QRegularExpression>

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

std::optional<QLocale> LocaleNamed(const QString& name) {
  // The codeset and modifier of a POSIX name do not change the values.
  const QString base = name.section(QLatin1Char('.'), 0, 0).section(QLatin1Char('@'), 0, 0);
  if (base == QLatin1String("C") || base == QLatin1String("POSIX")) return QLocale::c();
  // language[_Script][_TERRITORY]: every part must name what it stands for,
  // and the locale must have them, not a neighbour Qt would fall back to.
  const QStringList parts = base.split(QRegularExpression(QStringLiteral("[_-]")));
  if (parts.size() > 3) return std::nullopt;
  const QLocale::Language language = QLocale::codeToLanguage(parts[0]);
  if (language == QLocale::AnyLanguage || language == QLocale::C) return std::nullopt;
  QLocale::Script script = QLocale::AnyScript;
  QLocale::Territory territory = QLocale::AnyTerritory;
  for (qsizetype i = 1; i < parts.size(); ++i) {
    if (parts[i].size() == 4 && i == 1) {
      script = QLocale::codeToScript(parts[i]);
      if (script == QLocale::AnyScript) return std::nullopt;
    } else if (i == parts.size() - 1) {
      territory = QLocale::codeToTerritory(parts[i]);
      if (territory == QLocale::AnyTerritory) return std::nullopt;
    } else {
      return std::nullopt;
    }
  }
  const QLocale locale(language, script, territory);
  if (locale.language() != language) return std::nullopt;
  if (territory != QLocale::AnyTerritory && locale.territory() != territory) return std::nullopt;
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
