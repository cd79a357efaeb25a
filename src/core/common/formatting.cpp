#include "core/common/formatting.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <string>

#include "core/common/errors.h"

namespace mirolat {

namespace {

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
// as it is written rather than as it is stored. The digits live in a buffer on
// the stack (on the heap only for a very large number of decimals), as money
// and kilobytes are written for every session of a report.
class DecimalText {
 public:
  DecimalText(double value, int minDecimals, int maxDecimals);
  DecimalText(const DecimalText&) = delete;
  DecimalText& operator=(const DecimalText&) = delete;

  bool negative() const { return negative_; }
  // At least one digit, no leading zeros but for a lone "0".
  const char* whole() const { return whole_; }
  int wholeSize() const { return wholeSize_; }
  // minDecimals..maxDecimals digits.
  const char* fraction() const { return whole_ + wholeSize_; }
  int fractionSize() const { return fractionSize_; }

 private:
  static constexpr int kLocalDigits = 1024;
  char local_[kLocalDigits];
  std::string heap_;
  bool negative_ = false;
  const char* whole_ = nullptr;
  int wholeSize_ = 0;
  int fractionSize_ = 0;
};

DecimalText::DecimalText(double value, int minDecimals, int maxDecimals) {
  if (maxDecimals < minDecimals) maxDecimals = minDecimals;
  if (!std::isfinite(value)) value = 0;
  negative_ = std::signbit(value);
  value = std::fabs(value);

  // d.dddddddddddddde±x, independent of the C locale.
  char sci[40] = "0.00000000000000e+00";  // zero, the most frequent amount
  const char* end = sci + 20;
  if (value != 0) end = std::to_chars(sci, sci + sizeof sci, value, std::chars_format::scientific, 14).ptr;
  const char* ePos = std::find(static_cast<const char*>(sci), end, 'e');
  int exponent = 0;
  std::from_chars(ePos + 1 + (ePos[1] == '+' ? 1 : 0), end, exponent);

  // Room for the zeros before a small value's digits (a double's exponent is
  // at least -324), the zeros after them, and a carry in front.
  const std::size_t room = 2 + 15 + 330 + 320 + static_cast<std::size_t>(std::max(maxDecimals, 0));
  char* buffer = local_;
  if (room > sizeof local_) {
    heap_.resize(room);
    buffer = heap_.data();
  }
  char* digits = buffer + 1;  // buffer[0] takes a carry out of the first digit
  int count = 0;
  // value = 0.digits × 10^(exponent + 1); place the point.
  int pointAt = exponent + 1;  // digits before the decimal point
  if (pointAt <= 0) {
    std::memset(digits, '0', static_cast<std::size_t>(-pointAt));
    count = -pointAt;
    pointAt = 0;
  }
  for (const char* p = sci; p < ePos; ++p) {
    if (*p != '.') digits[count++] = *p;
  }
  if (count < pointAt + maxDecimals + 1) {
    std::memset(digits + count, '0', static_cast<std::size_t>(pointAt + maxDecimals + 1 - count));
    count = pointAt + maxDecimals + 1;
  }
  // Round at pointAt + maxDecimals digits, halves away from zero.
  const int keep = pointAt + maxDecimals;
  const bool up = digits[keep] >= '5';
  count = keep;
  if (up) {
    int i = keep;
    for (;;) {
      if (i == 0) {
        *--digits = '1';
        ++count;
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
  // The whole part without leading zeros ("0" when nothing else is left).
  int first = 0;
  while (first < pointAt && digits[first] == '0') ++first;
  if (first == pointAt) {
    if (first > 0) {
      --first;  // keep one of the zeros
    } else {
      *--digits = '0';  // no whole digits at all: write one zero in front
      ++count;
      ++pointAt;
    }
  }
  whole_ = digits + first;
  wholeSize_ = pointAt - first;
  fractionSize_ = count - pointAt;
  while (fractionSize_ > minDecimals && whole_[wholeSize_ + fractionSize_ - 1] == '0') --fractionSize_;
  // A value that rounds to zero is written without a sign.
  if (wholeSize_ == 1 && whole_[0] == '0' &&
      std::all_of(fraction(), fraction() + fractionSize_, [](char c) { return c == '0'; })) {
    negative_ = false;
  }
}

// Appends "#,##0" followed by minDecimals "0" and (maxDecimals - minDecimals)
// "#" places, with the given grouping and decimal characters. A number without
// decimals is written without a decimal character.
void AppendNumber(QString& text, double value, int minDecimals, int maxDecimals, const QString& group,
                  const QString& decimal) {
  const DecimalText d(value, minDecimals, maxDecimals);
  const int n = d.wholeSize();
  const qsizetype groups = (n - 1) / 3;
  const qsizetype size = (d.negative() ? 1 : 0) + n + groups * group.size() +
                         (d.fractionSize() > 0 ? decimal.size() + d.fractionSize() : 0);
  const qsizetype start = text.size();
  text.resize(start + size);
  QChar* out = text.data() + start;
  if (d.negative()) *out++ = u'-';
  const char* whole = d.whole();
  for (int i = 0; i < n; ++i) {
    if (i > 0 && (n - i) % 3 == 0) {
      std::copy(group.constBegin(), group.constEnd(), out);
      out += group.size();
    }
    *out++ = QLatin1Char(whole[i]);
  }
  if (d.fractionSize() > 0) {
    std::copy(decimal.constBegin(), decimal.constEnd(), out);
    out += decimal.size();
    const char* fraction = d.fraction();
    for (int i = 0; i < d.fractionSize(); ++i) *out++ = QLatin1Char(fraction[i]);
  }
}

QString FormatNumber(double value, int minDecimals, int maxDecimals, const QString& group, const QString& decimal) {
  QString text;
  AppendNumber(text, value, minDecimals, maxDecimals, group, decimal);
  return text;
}

// Appends the money text of the amount (symbol, blanks, number in the order
// symbolFirst gives) with blanks at either end of what was appended trimmed.
void AppendMoneyText(QString& text, double amount, const QString& symbol, int symbolFirst, int spaces, int digits,
                     int maxDecimals, const LocaleValues& locale) {
  if (digits < 0) digits = 0;
  const int most = maxDecimals > digits ? maxDecimals : digits;
  const qsizetype start = text.size();
  const auto appendGap = [&] {
    if (spaces > 0) text.resize(text.size() + spaces, QLatin1Char(' '));
  };
  if (symbolFirst == 0) {
    AppendNumber(text, amount, digits, most, locale.MoneyThousandSeparator, locale.MoneyDecimalSeparator);
    appendGap();
    text.append(symbol);
  } else if (symbolFirst == 1) {
    text.append(symbol);
    appendGap();
    AppendNumber(text, amount, digits, most, locale.MoneyThousandSeparator, locale.MoneyDecimalSeparator);
  } else {
    AppendNumber(text, amount, digits, most, locale.MoneyThousandSeparator, locale.MoneyDecimalSeparator);
  }
  qsizetype end = text.size();
  while (end > start && text.at(end - 1) == u' ') --end;
  text.truncate(end);
  qsizetype begin = start;
  while (begin < end && text.at(begin) == u' ') ++begin;
  if (begin > start) text.remove(start, begin - start);
}

// Writes a count of hours, minutes or seconds with at least two digits.
char16_t* WriteTwoDigits(char16_t* out, qint64 value) {
  char buf[24];
  const auto res = std::to_chars(buf, buf + sizeof buf, value);
  if (res.ptr - buf < 2) *out++ = u'0';
  return std::copy(buf, res.ptr, out);
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
  char16_t buf[3 * 24];
  char16_t* out = WriteTwoDigits(buf, static_cast<qint64>(h));
  *out++ = u':';
  out = WriteTwoDigits(out, static_cast<qint64>(m));
  *out++ = u':';
  out = WriteTwoDigits(out, static_cast<qint64>(std::trunc(s)));
  return QStringView(buf, out).toString();
}

QString FormatMoney(double amount, const QString& symbol, int symbolFirst, int spaces, int digits, int maxDecimals,
                    const LocaleValues& locale) {
  QString text;
  AppendMoneyText(text, amount, symbol, symbolFirst, spaces, digits, maxDecimals, locale);
  return text;
}

QString FormatMoney(double amount, int maxDecimals, const LocaleValues& locale) {
  QString text;
  AppendMoney(text, amount, maxDecimals, locale);
  return text;
}

void AppendMoney(QString& text, double amount, int maxDecimals, const LocaleValues& locale) {
  AppendMoneyText(text, amount, locale.CurrencySymbol, locale.CurrencySymbolFirst, locale.CurrencySpace,
                  locale.CurrencyDigits, maxDecimals, locale);
}

QString FormatWholeNumber(double value, const LocaleValues& locale) {
  return FormatNumber(value, 0, 0, locale.Locale.groupSeparator(), locale.Locale.decimalPoint());
}

namespace {

// The locale's group separator. The last locale asked about keeps its answer:
// reading it from the locale's data cost more than writing the number.
const QString& GroupSeparatorOf(const QLocale& locale) {
  thread_local QLocale last;
  thread_local QString separator;
  thread_local bool known = false;
  if (!known || last != locale) {
    last = locale;
    separator = locale.groupSeparator();
    known = true;
  }
  return separator;
}

}  // namespace

void AppendKilobytes(QString& text, qint64 bytes, const LocaleValues& locale) {
  // Up to 2^40 bytes the quotient has at most 15 significant figures around
  // its half (k + 0.5, and k + 511/1024 below it), so taking 15 figures first
  // changes nothing: whole kilobytes with halves up. Beyond that, or below
  // zero, the general rounding.
  constexpr qint64 kExactLimit = qint64(1) << 40;
  if (bytes < 0 || bytes >= kExactLimit) {
    AppendNumber(text, static_cast<double>(bytes) / 1024.0, 0, 0, locale.Locale.groupSeparator(),
                 locale.Locale.decimalPoint());
    return;
  }
  char digits[24];
  const auto res = std::to_chars(digits, digits + sizeof digits, (bytes + 512) / 1024);
  const int n = static_cast<int>(res.ptr - digits);
  if (n <= 3) {
    text.append(QLatin1String(digits, n));
    return;
  }
  // Digits and separators gathered first, appended at once.
  const QString& group = GroupSeparatorOf(locale.Locale);
  char16_t out[24 * 5];
  qsizetype length = 0;
  if (group.size() > 4) {
    for (int i = 0; i < n; ++i) {
      if (i > 0 && (n - i) % 3 == 0) text.append(group);
      text.append(QLatin1Char(digits[i]));
    }
    return;
  }
  for (int i = 0; i < n; ++i) {
    if (i > 0 && (n - i) % 3 == 0) {
      for (QChar c : group) out[length++] = c.unicode();
    }
    out[length++] = static_cast<char16_t>(digits[i]);
  }
  text.append(QStringView(out, length));
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
