#include "formatting.h"

#include <charconv>
#include <cmath>
#include <cstdlib>
#include <limits>
#include <string>

#include "common/errors.h"

namespace mirolat {

namespace {

constexpr int kOverflowNumber = 6;

// Removes leading and trailing blanks (the space character only).
QStringView TrimBlanks(QStringView text) {
  qsizetype b = 0;
  qsizetype e = text.size();
  while (b < e && text[b] == u' ') ++b;
  while (e > b && text[e - 1] == u' ') --e;
  return text.sliced(b, e - b);
}

// A number written in decimal, rounded to at most `maxDecimals` decimals with
// halves away from zero, keeping at least `minDecimals` of them. The digits of
// the value are taken to 15 significant figures first, so 1.005 rounds to 1.01
// as it is written rather than as it is stored.
struct DecimalText {
  bool negative = false;
  std::string whole;     // at least one digit
  std::string fraction;  // minDecimals..maxDecimals digits
};

DecimalText RoundDecimal(double value, int minDecimals, int maxDecimals) {
  DecimalText out;
  if (maxDecimals < minDecimals) maxDecimals = minDecimals;
  if (!std::isfinite(value)) value = 0;
  out.negative = std::signbit(value);
  value = std::fabs(value);

  // d1.d2...d15e±x, independent of the C locale.
  char buf[64];
  const auto res = std::to_chars(buf, buf + sizeof buf, value, std::chars_format::scientific, 14);
  std::string sci(buf, res.ptr);
  const auto ePos = sci.find('e');
  const int exponent = std::atoi(sci.c_str() + ePos + 1);
  std::string digits;
  for (std::size_t i = 0; i < ePos; ++i) {
    if (sci[i] != '.') digits.push_back(sci[i]);
  }
  // value = 0.digits × 10^(exponent + 1); place the point.
  int pointAt = exponent + 1;  // digits before the decimal point
  if (pointAt <= 0) {
    digits.insert(0, static_cast<std::size_t>(-pointAt), '0');
    pointAt = 0;
  }
  if (static_cast<int>(digits.size()) < pointAt + maxDecimals + 1) {
    digits.append(static_cast<std::size_t>(pointAt + maxDecimals + 1) - digits.size(), '0');
  }
  // Round at pointAt + maxDecimals digits, halves away from zero.
  const std::size_t keep = static_cast<std::size_t>(pointAt + maxDecimals);
  const bool up = digits[keep] >= '5';
  digits.resize(keep);
  if (up) {
    std::size_t i = keep;
    for (;;) {
      if (i == 0) {
        digits.insert(digits.begin(), '1');
        ++pointAt;
        break;
      }
      --i;
      if (digits[i] == '9') {
        digits[i] = '0';
      } else {
        ++digits[i];
        break;
      }
    }
  }
  out.whole = digits.substr(0, static_cast<std::size_t>(pointAt));
  out.fraction = digits.substr(static_cast<std::size_t>(pointAt));
  const auto firstNonZero = out.whole.find_first_not_of('0');
  out.whole = firstNonZero == std::string::npos ? std::string("0") : out.whole.substr(firstNonZero);
  while (static_cast<int>(out.fraction.size()) > minDecimals && out.fraction.back() == '0') out.fraction.pop_back();
  // A value that rounds to zero is written without a sign.
  if (out.whole == "0" && out.fraction.find_first_not_of('0') == std::string::npos) out.negative = false;
  return out;
}

// "#,##0" followed by minDecimals "0" and (maxDecimals - minDecimals) "#"
// places, with the given grouping and decimal characters. A number without
// decimals is written without a decimal character.
QString FormatNumber(double value, int minDecimals, int maxDecimals, const QString& group, const QString& decimal) {
  const DecimalText d = RoundDecimal(value, minDecimals, maxDecimals);
  QString text;
  text.reserve(static_cast<qsizetype>(d.whole.size() + d.whole.size() / 3 + d.fraction.size() + 4));
  if (d.negative) text += QLatin1Char('-');
  const std::size_t n = d.whole.size();
  for (std::size_t i = 0; i < n; ++i) {
    if (i > 0 && (n - i) % 3 == 0) text += group;
    text += QLatin1Char(d.whole[i]);
  }
  if (!d.fraction.empty()) {
    text += decimal;
    text += QLatin1String(d.fraction.data(), static_cast<qsizetype>(d.fraction.size()));
  }
  return text;
}

// The leading number of `text` and where it ends (0 when there is none).
double ParseLeadingNumber(QStringView text, qsizetype* endOut) {
  qsizetype i = 0;
  const qsizetype n = text.size();
  while (i < n && (text[i] == u' ' || text[i] == u'\t' || text[i] == u'\n' || text[i] == u'\r')) ++i;
  std::string ascii;
  if (i < n && (text[i] == u'-' || text[i] == u'+')) {
    if (text[i] == u'-') ascii.push_back('-');
    ++i;
  }
  auto isDigit = [&](qsizetype k) { return k < n && text[k] >= u'0' && text[k] <= u'9'; };
  bool any = false;
  while (isDigit(i)) {
    ascii.push_back(static_cast<char>(text[i].unicode()));
    ++i;
    any = true;
  }
  if (i < n && text[i] == u'.') {
    ascii.push_back('.');
    ++i;
    while (isDigit(i)) {
      ascii.push_back(static_cast<char>(text[i].unicode()));
      ++i;
      any = true;
    }
  }
  if (!any) {
    if (endOut) *endOut = 0;
    return 0;
  }
  // An exponent counts only when digits follow it.
  if (i < n && (text[i] == u'e' || text[i] == u'E' || text[i] == u'd' || text[i] == u'D')) {
    qsizetype k = i + 1;
    std::string exp = "e";
    if (k < n && (text[k] == u'-' || text[k] == u'+')) {
      exp.push_back(static_cast<char>(text[k].unicode()));
      ++k;
    }
    if (isDigit(k)) {
      while (isDigit(k)) {
        exp.push_back(static_cast<char>(text[k].unicode()));
        ++k;
      }
      ascii += exp;
      i = k;
    }
  }
  if (endOut) *endOut = i;
  double value = 0;
  const char* first = ascii.data();
  if (*first == '-') ++first;
  std::from_chars(first, ascii.data() + ascii.size(), value);
  return ascii[0] == '-' ? -value : value;
}

// A whole text that reads as a number in the locale's money format: blanks
// around it, an optional sign, digits with the thousands separator between
// them, an optional decimal separator with digits, an optional exponent.
// Gives the value with "." as decimal point.
bool ReadNumericText(const QString& text, const LocaleValues& locale, double& value) {
  QString t = TrimBlanks(text).toString();
  if (t.isEmpty()) return false;
  QString plain;
  plain.reserve(t.size());
  const QString& dec = locale.MoneyDecimalSeparator;
  const QString& thou = locale.MoneyThousandSeparator;
  bool seenPoint = false;
  for (qsizetype i = 0; i < t.size();) {
    if (!dec.isEmpty() && QStringView(t).sliced(i).startsWith(dec) && !seenPoint) {
      plain += QLatin1Char('.');
      seenPoint = true;
      i += dec.size();
    } else if (!thou.isEmpty() && !seenPoint && QStringView(t).sliced(i).startsWith(thou) && i > 0 &&
               t[i - 1].isDigit()) {
      i += thou.size();
    } else {
      plain += t[i];
      ++i;
    }
  }
  qsizetype end = 0;
  value = ParseLeadingNumber(plain, &end);
  if (end != plain.size()) return false;
  // At least one digit.
  for (QChar c : plain) {
    if (c.unicode() >= u'0' && c.unicode() <= u'9') return true;
  }
  return false;
}

}  // namespace

QString FormatDuration(float seconds) {
  float s = seconds;
  float h = 0;
  float m = 0;
  if (s >= 3600.0f) {
    h = std::trunc(s / 3600.0f);
    s = s - h * 3600.0f;
  }
  if (s >= 60.0f) {
    m = std::trunc(s / 60.0f);
    s = s - m * 60.0f;
  }
  const QChar zero(u'0');
  return PadLeft(QString::number(static_cast<qint64>(h)), zero, 2) + QLatin1Char(':') +
         PadLeft(QString::number(static_cast<qint64>(m)), zero, 2) + QLatin1Char(':') +
         PadLeft(QString::number(static_cast<qint64>(std::trunc(s))), zero, 2);
}

QString FormatMoney(double amount, const QString& symbol, int symbolFirst, int spaces, int digits, int maxDecimals,
                    const LocaleValues& locale) {
  if (digits < 0) digits = 0;
  const int most = maxDecimals > digits ? maxDecimals : digits;
  const QString number =
      FormatNumber(amount, digits, most, locale.MoneyThousandSeparator, locale.MoneyDecimalSeparator);
  const QString gap(spaces > 0 ? spaces : 0, QLatin1Char(' '));
  QString text;
  if (symbolFirst == 0) {
    text = number + gap + symbol;
  } else if (symbolFirst == 1) {
    text = symbol + gap + number;
  } else {
    text = number;
  }
  return TrimBlanks(text).toString();
}

QString FormatMoney(double amount, int maxDecimals, const LocaleValues& locale) {
  return FormatMoney(amount, locale.CurrencySymbol, locale.CurrencySymbolFirst, locale.CurrencySpace,
                     locale.CurrencyDigits, maxDecimals, locale);
}

QString FormatWholeNumber(double value, const LocaleValues& locale) {
  return FormatNumber(value, 0, 0, locale.Locale.groupSeparator(), locale.Locale.decimalPoint());
}

QString FormatAmountText(const QString& text, int maxDecimals, const LocaleValues& locale) {
  double value = 0;
  if (!ReadNumericText(text, locale, value)) return QString();
  const int digits = locale.CurrencyDigits > 0 ? locale.CurrencyDigits : 0;
  const int most = maxDecimals > digits ? maxDecimals : digits;
  return FormatNumber(value, digits, most, locale.MoneyThousandSeparator, locale.MoneyDecimalSeparator);
}

double ParseAmountText(const QString& text, const LocaleValues& locale) {
  // Both positions are found in the text as given, before either change.
  const QString& dec = locale.MoneyDecimalSeparator;
  const QString& thou = locale.MoneyThousandSeparator;
  const qsizetype decAt = dec.isEmpty() ? -1 : text.indexOf(dec);
  qsizetype thouAt = thou.isEmpty() ? -1 : text.indexOf(thou);
  if (thouAt >= 0 && thouAt == decAt) thouAt = -1;
  QString t = text;
  if (decAt >= 0 && thouAt > decAt) {
    t.remove(thouAt, thou.size());
    t.replace(decAt, dec.size(), QStringLiteral("."));
  } else {
    if (decAt >= 0) t.replace(decAt, dec.size(), QStringLiteral("."));
    if (thouAt >= 0) t.remove(thouAt, thou.size());
  }
  return LeadingNumber(t);
}

QString DateToEntryText(const QString& dateText, const LocaleValues& locale) {
  QString sep;
  for (const char* candidate : {".", "/", "-", ","}) {
    if (dateText.contains(QLatin1String(candidate))) sep = QLatin1String(candidate);
  }
  QStringView first = dateText;
  QStringView second;
  QStringView third;
  if (!sep.isEmpty()) {
    const qsizetype a = dateText.indexOf(sep);
    first = QStringView(dateText).first(a);
    const qsizetype b = dateText.indexOf(sep, a + 1);
    if (b < 0) {
      second = QStringView(dateText).sliced(a + 1);
    } else {
      second = QStringView(dateText).sliced(a + 1, b - a - 1);
      third = QStringView(dateText).sliced(b + 1);
    }
  }
  third = TrimBlanks(third);
  if (third.size() > 2) third = third.last(2);
  const QChar zero(u'0');
  return PadLeft(first.toString(), zero, 2) + locale.DateSeparator + PadLeft(second.toString(), zero, 2) +
         locale.DateSeparator + PadLeft(third.toString(), zero, 2);
}

QString PadLeft(const QString& text, QChar pad, int width) {
  const QStringView t = TrimBlanks(text);
  if (t.size() >= width) return t.toString();
  return QString(width - t.size(), pad) + t.toString();
}

bool DateIsBefore(double a, double b) { return a < b; }

bool IsLongValue(float value) {
  if (value == 0.0f) return true;
  // Rounded to the nearest whole number, halves to even, as the conversion to
  // a 32-bit integer does.
  const double r = std::nearbyint(static_cast<double>(value));
  if (!(r >= static_cast<double>(std::numeric_limits<qint32>::min()) &&
        r <= static_cast<double>(std::numeric_limits<qint32>::max()))) {
    throw RunError(ErrorCondition::Other, QStringLiteral("Overflow"), QStringLiteral("Mirolat"), kOverflowNumber);
  }
  return true;
}

double LeadingNumber(QStringView text) { return ParseLeadingNumber(text, nullptr); }

}  // namespace mirolat
