#include <gtest/gtest.h>

#include <limits>

#include "core/common/errors.h"
#include "core/common/formatting.h"
#include "core/common/locale_values.h"
#include "file_test_support.h"

namespace mirolat {
namespace {

LocaleValues UnitedStates() { return LoadLocaleInfo(QLocale(QLocale::English, QLocale::UnitedStates)); }
LocaleValues Germany() { return LoadLocaleInfo(QLocale(QLocale::German, QLocale::Germany)); }
LocaleValues France() { return LoadLocaleInfo(QLocale(QLocale::French, QLocale::France)); }

TEST(Formatting, FormatDurationWritesHoursMinutesSeconds) {
  struct Case {
    float seconds;
    const char* text;
  } cases[] = {{0, "00:00:00"},        {-0.0f, "00:00:00"},    {59, "00:00:59"},       {60, "00:01:00"},
               {3599, "00:59:59"},     {3600, "01:00:00"},     {3661, "01:01:01"},     {59.9f, "00:00:59"},
               {450000, "125:00:00"},  {86399, "23:59:59"},    {90061.5f, "25:01:01"}, {3659.99f, "01:00:59"},
               {0.4f, "00:00:00"},     {7199, "01:59:59"},     {7200, "02:00:00"},     {359999, "99:59:59"},
               {360000, "100:00:00"},  {3599.999f, "00:59:59"},
               {-5, "00:00:-5"},       {-65, "00:00:-65"}};  // each part padded to two digits whatever its sign
  for (const auto& c : cases) EXPECT_EQ(FormatDuration(c.seconds), QLatin1String(c.text)) << c.seconds;
}

// FormatMoney with the locale's own symbol, and AppendMoney, which must append
// exactly that text after what the string already holds.
TEST(Formatting, FormatMoneyAndAppendMoneyWithTheLocalesSymbol) {
  const LocaleValues us = UnitedStates();
  const LocaleValues de = Germany();
  const LocaleValues fr = France();
  LocaleValues padded = us;  // a symbol with blanks of its own, after the amount
  padded.CurrencySymbol = QStringLiteral(" Fr ");
  padded.CurrencySymbolFirst = 0;
  padded.CurrencySpace = 2;
  padded.CurrencyDigits = 3;
  LocaleValues bare = us;  // no symbol: the gap before it goes too
  bare.CurrencySymbol.clear();
  bare.CurrencySymbolFirst = 0;
  bare.CurrencySpace = 1;
  const double nan = std::numeric_limits<double>::quiet_NaN();
  const double inf = std::numeric_limits<double>::infinity();
  struct Case { const LocaleValues* locale; double amount; int maxDecimals; const char* text; } cases[] = {
      {&us, 1234.5, 0, "$1,234.50"},  {&us, 0, 0, "$0.00"},         {&us, 12, 1, "$12.00"},
      {&us, 0.125, 0, "$0.13"},       {&us, -0.125, 0, "$-0.13"},   // halves away from zero
      {&us, 2.675, 0, "$2.68"},       // as written, not as stored (2.67499...)
      {&us, 1.005, 0, "$1.01"},       {&us, -0.005, 0, "$-0.01"},   {&us, 0.0049999, 0, "$0.00"},
      {&us, -2.5, 0, "$-2.50"}, {&us, -0.0, 0, "$0.00"},        // negative zero has no sign
      {&us, -0.004, 0, "$0.00"},      // nor has an amount that rounds to zero
      {&us, -1e-300, 0, "$0.00"}, {&us, 999999.995, 0, "$1,000,000.00"},  // the carry runs through every digit
      {&us, 999.995, 0, "$1,000.00"}, {&us, 9.995, 0, "$10.00"},    {&us, 0.995, 0, "$1.00"},
      {&us, 0.125, 4, "$0.125"},      {&us, 0.1, 4, "$0.10"},       {&us, 0.12345, 4, "$0.1235"},
      {&us, 0.00005, 4, "$0.0001"},   {&us, 1234567.891, 0, "$1,234,567.89"},
      {&us, nan, 0, "$0.00"},         {&us, inf, 0, "$0.00"},
      {&de, 1234.5, 0, "1.234,50 \u20ac"}, {&de, -0.125, 0, "-0,13 \u20ac"}, {&de, 0.125, 4, "0,125 \u20ac"},
      {&fr, 1234.5, 0, "1\u202f234,50 \u20ac"},  // French groups with a narrow no-break space
      {&padded, 1234.5, 0, "1,234.500   Fr"},     {&padded, 0.0005, 0, "0.001   Fr"}, {&bare, 12, 0, "12.00"}};
  for (const auto& c : cases) {
    QString text = QStringLiteral("x  ");
    AppendMoney(text, c.amount, c.maxDecimals, *c.locale);
    EXPECT_EQ(text, QStringLiteral("x  ") + QString::fromUtf8(c.text)) << c.amount;
    EXPECT_EQ(FormatMoney(c.amount, c.maxDecimals, *c.locale), QString::fromUtf8(c.text)) << c.amount;
  }
}

TEST(Formatting, FormatMoneyWithManyDecimalsAndTheLargestAmountIsWrittenInFull) {
  const LocaleValues us = UnitedStates();
  // More decimals than the digits kept on the stack.
  EXPECT_EQ(FormatMoney(0.1, 2000, us), QStringLiteral("$0.10"));
  EXPECT_EQ(FormatMoney(1e-5, 2000, us), QStringLiteral("$0.00001"));
  const QString tiny = FormatMoney(5e-324, 400, us);  // the smallest double
  EXPECT_EQ(tiny, QStringLiteral("$0.") + QString(323, QLatin1Char('0')) + QStringLiteral("494065645841247"));
  // 309 digits: 15 significant ones, then zeros, grouped in threes.
  const QString largest = FormatMoney(std::numeric_limits<double>::max(), 0, us);
  EXPECT_TRUE(largest.startsWith(QStringLiteral("$179,769,313,486,232,000,000,"))) << largest.toStdString();
  EXPECT_TRUE(largest.endsWith(QStringLiteral(",000.00")));
  EXPECT_EQ(largest.size(), 1 + 309 + 102 + 3);
}

// The format is built from the digits and the maximum decimals; the symbol
// goes before or after by its flag, with its blanks, and is trimmed.
TEST(Formatting, FormatMoneyWithAGivenSymbolDigitsAndDecimals) {
  const LocaleValues us = UnitedStates();
  const LocaleValues de = Germany();  // "." groups, "," is the decimal point
  struct Case {
    const LocaleValues* locale;
    double amount;
    const char* symbol;
    int symbolFirst;
    int spaces;
    int digits;
    int maxDecimals;
    const char* text;
  } cases[] = {
      {&us, 1234.5, "$", 1, 0, 2, 0, "$1,234.50"},   {&us, 1234.5, "$", 1, 1, 2, 0, "$ 1,234.50"},
      {&us, 1234.5, "$", 0, 1, 2, 0, "1,234.50 $"},  {&us, 1234.5, "$", 0, 0, 2, 0, "1,234.50$"},
      {&us, 1234.5, "$", 2, 1, 2, 0, "1,234.50"},    {&us, 1234.5, "$", -1, 0, 2, 0, "1,234.50"},
      {&us, 1234.5, "$", 1, 0, 0, 0, "$1,235"},      {&us, 1234.5, "$", 1, 0, 0, 2, "$1,234.5"},
      {&us, 1234.5, "$", 1, 0, 3, 0, "$1,234.500"},
      {&us, 12, "", 0, 1, 2, 0, "12.00"},            // no symbol: the blanks that stood for it go
      {&us, 12, "$", 1, 0, 0, 4, "$12"},             // whole, optional decimals only: no decimal character
      {&de, 12, "F", 0, 1, 2, 0, "12,00 F"},
      {&de, 1234.5, "F", 1, 2, 2, 0, "F  1.234,50"}, {&de, 1234.5, "F", 0, 2, 2, 0, "1.234,50  F"},
      {&de, 1234.5, "F", 3, 1, 2, 0, "1.234,50"},    {&de, 1234.5, " F ", 1, 0, 2, 0, "F 1.234,50"},
      {&de, 1234.5, " F ", 0, 0, 2, 0, "1.234,50 F"}, {&de, -1234.5, "F", 1, 0, 2, 0, "F-1.234,50"},
      {&de, 1234.5, "F", 0, 1, 0, 0, "1.235 F"},     // "#,##0", halves away from zero
      {&de, 1234.4, "F", 0, 1, 0, 0, "1.234 F"},     {&de, 1234.5678, "F", 0, 1, 0, 3, "1.234,568 F"},
      {&de, 1234, "F", 0, 1, 0, 3, "1.234 F"},       {&de, 0.12345, "F", 0, 1, 2, 4, "0,1235 F"},
      {&de, 0.1, "F", 0, 1, 2, 4, "0,10 F"},
      {&de, 0.125, "F", 0, 1, 2, 1, "0,13 F"},       // fewer maximum decimals than digits: the digits win
      {&de, 2, "F", 0, 1, 3, 0, "2,000 F"},          {&de, 1234567.5, "F", 0, 1, 1, 0, "1.234.567,5 F"}};
  for (const auto& c : cases) {
    EXPECT_EQ(FormatMoney(c.amount, QString::fromUtf8(c.symbol), c.symbolFirst, c.spaces, c.digits, c.maxDecimals,
                          *c.locale), QString::fromUtf8(c.text))
        << c.amount << " \"" << c.symbol << "\" " << c.symbolFirst << ' ' << c.spaces << ' ' << c.digits << ' '
        << c.maxDecimals;
  }
}

TEST(Formatting, FormatWholeNumberRoundsHalvesAwayFromZero) {
  const LocaleValues us = UnitedStates();
  const LocaleValues de = Germany();
  struct Case {
    double value;
    const char* us;
    const char* de;
  } cases[] = {{0, "0", "0"},         {0.5, "1", "1"},           {1.5, "2", "2"},          {2.5, "3", "3"},
               {-0.5, "-1", "-1"},    {0.49, "0", "0"},          {1234, "1,234", "1.234"}, {999.5, "1,000", "1.000"},
               {123456789, "123,456,789", "123.456.789"}};
  for (const auto& c : cases) {
    EXPECT_EQ(FormatWholeNumber(c.value, us), QLatin1String(c.us)) << c.value;
    EXPECT_EQ(FormatWholeNumber(c.value, de), QLatin1String(c.de)) << c.value;
  }
}

TEST(Formatting, AppendKilobytesAppendsWhatFormatWholeNumberWritesForTheQuotient) {
  const LocaleValues us = UnitedStates();
  const LocaleValues de = Germany();
  const LocaleValues fr = France();
  const qint64 limit = qint64(1) << 40;  // where the whole-number shortcut ends
  struct Case { qint64 bytes; const char* us; } cases[] = {
      {0, "0"},         {511, "0"},        {512, "1"},        {1023 * 1024 + 511, "1,023"}, {1023 * 1024 + 512, "1,024"},
      {999 * 1024 + 512, "1,000"},         {2147483647, "2,097,152"},                       {limit - 1, "1,073,741,824"},
      {limit, "1,073,741,824"},            {limit + 512, "1,073,741,825"}, {-1, "0"},  // rounds to zero: no sign
      {-512, "-1"},     {-1536, "-2"}};
  for (const auto& c : cases) {
    QString text = QStringLiteral("R:");
    AppendKilobytes(text, c.bytes, us);
    EXPECT_EQ(text, QStringLiteral("R:") + QLatin1String(c.us)) << c.bytes;
  }
  // Against the general rounding, around every half and across the groups.
  for (const LocaleValues* locale : {&us, &de, &fr}) {
    for (qint64 base : {qint64(0), qint64(1000) * 1024, qint64(999999) * 1024, limit / 1024 * 1000, limit - 4096}) {
      for (qint64 b = base; b < base + 3000; b += 7) {
        QString text;
        AppendKilobytes(text, b, *locale);
        ASSERT_EQ(text, FormatWholeNumber(double(b) / 1024.0, *locale)) << b;
      }
    }
  }
}

TEST(Formatting, FormatAmountTextForEditBoxes) {
  const LocaleValues us = UnitedStates();
  const LocaleValues de = Germany();
  LocaleValues noDecimals = us;
  noDecimals.CurrencyDigits = 0;
  LocaleValues threeDecimals = us;
  threeDecimals.CurrencyDigits = 3;
  struct Case { const LocaleValues* locale; const char* text; int maxDecimals; const char* result; } cases[] = {
      {&us, "1.5", 0, "1.50"},     {&us, "1234", 0, "1,234.00"}, {&us, "0.125", 4, "0.125"}, {&us, "0.1", 4, "0.10"},
      {&us, "abc", 0, ""},         {&us, "", 0, ""},             {&us, "  7 ", 0, "7.00"},   {&us, "1,234.5", 0, "1,234.50"},
      {&us, "12abc", 0, ""},       {&us, "-3", 0, "-3.00"},      {&us, "0.12345", 4, "0.1235"}, {&us, "1e3", 0, "1,000.00"},
      {&de, "1,5", 0, "1,50"},     {&de, "12,345678", 4, "12,3457"}, {&de, "1.234", 0, "1.234,00"},
      {&noDecimals, "1234.5", 0, "1,235"}, {&noDecimals, "1234.5", 2, "1,234.5"}, {&noDecimals, "7", 2, "7"},
      {&threeDecimals, "2", 0, "2.000"},   {&threeDecimals, "2.12345", 4, "2.1235"}};
  for (const auto& c : cases) {
    EXPECT_EQ(FormatAmountText(QString::fromUtf8(c.text), c.maxDecimals, *c.locale), QString::fromUtf8(c.result))
        << c.text << ' ' << c.maxDecimals;
  }
}

// The locale's decimal character becomes ".", then its first grouping
// character found in the text as given is removed.
TEST(Formatting, ParseAmountTextReadsTheLocalesSeparators) {
  const LocaleValues us = UnitedStates();
  const LocaleValues de = Germany();
  struct Case { const char* text; double us; double de; } cases[] = {
      {"1,5", 15, 1.5},          {"1.5", 1.5, 15},       {"1,234.5", 1234.5, 1.2345},
      {"1.234,5", 1.2345, 1234.5}, {"", 0, 0},           {"abc", 0, 0},
      {"  2.25xyz", 2.25, 225},  {"1,234,567", 1234, 1.234}, {"-4", -4, -4}};
  for (const auto& c : cases) {
    EXPECT_DOUBLE_EQ(ParseAmountText(QLatin1String(c.text), us), c.us) << c.text;
    EXPECT_DOUBLE_EQ(ParseAmountText(QLatin1String(c.text), de), c.de) << c.text;
  }
  struct OneLocale { const LocaleValues* locale; const char* text; double value; } more[] = {
      {&de, "1,5.3", 1.53},  // "," at 2 becomes ".", the "." at 4 is removed
      {&us, "1.5,3", 1.53},           {&de, "1.234.567,89", 1234.567},  // only the first "." goes
      {&us, "1,234,567.5", 1234},     {&us, "2.5.1", 2.5}, {&de, "  3,25 EUR", 3.25},      {&us, "-1,000.5", -1000.5},
  };
  for (const auto& c : more) EXPECT_DOUBLE_EQ(ParseAmountText(QLatin1String(c.text), *c.locale), c.value) << c.text;
}

TEST(Formatting, LeadingNumberFollowsTheTextToNumberRule) {
  struct Case {
    const char* text;
    double value;
  } cases[] = {{"12", 12},     {"  12.5kg", 12.5}, {"-3.25", -3.25}, {"+7", 7},     {".5", 0.5},
               {"abc", 0},     {"", 0},            {"1,5", 1},       {"2e3", 2000}, {"2e", 2},
               {"1.2.3", 1.2}, {"- 4", 0},         {"007", 7}};
  for (const auto& c : cases) EXPECT_DOUBLE_EQ(LeadingNumber(QString::fromLatin1(c.text)), c.value) << c.text;
}

// The last of the separators tested that occurs splits the text; the third
// part is trimmed and keeps its last two characters.
TEST(Formatting, DateToEntryTextKeepsTheOrderAndUsesTheSeparator) {
  LocaleValues slash = UnitedStates();
  slash.DateSeparator = QStringLiteral("/");
  LocaleValues dot = UnitedStates();
  dot.DateSeparator = QStringLiteral(".");
  struct Case { const char* text; const LocaleValues* locale; const char* result; } cases[] = {
      {"5-12-1998", &slash, "05/12/98"}, {"1.2.1999", &dot, "01.02.99"}, {"12/31/98", &dot, "12.31.98"},
      {"5-12", &slash, "05/12/00"},      {"7", &slash, "07/00/00"},      {" 3 / 4 / 2001 ", &slash, "03/04/01"},
      {"1.2-3", &slash, "1.2/03/00"},    // "-" is tested after ".", so it wins
      {"2001-03-04", &slash, "2001/03/04"}, {"1,2.3", &slash, "01/2.3/00"},    // "," is tested last and occurs
      {"1/2/3.4", &slash, "01/02/.4"},   // "/" is tested after "." and wins
      {"3/4/1999", &slash, "03/04/99"},  {"1/2/ 1999 ", &slash, "01/02/99"},
      {"1-2-3-4", &slash, "01/02/-4"},   // everything after the second separator is the third part
      {"10.11.1999", &slash, "10/11/99"}, {"1/2/5", &slash, "01/02/05"}};
  for (const auto& c : cases) EXPECT_EQ(DateToEntryText(QLatin1String(c.text), *c.locale), QLatin1String(c.result)) << c.text;
}

TEST(Formatting, PadLeftTrimsThenPads) {
  EXPECT_EQ(PadLeft(QStringLiteral("5"), u'0', 2), QStringLiteral("05"));
  EXPECT_EQ(PadLeft(QStringLiteral("  5 "), u'0', 3), QStringLiteral("005"));
  EXPECT_EQ(PadLeft(QStringLiteral("12345"), u'0', 2), QStringLiteral("12345"));
  EXPECT_EQ(PadLeft(QString(), u'*', 2), QStringLiteral("**"));
  EXPECT_EQ(PadLeft(QStringLiteral(" ab "), u'x', 0), QStringLiteral("ab"));
}

TEST(Formatting, DateIsBeforeIsStrict) {
  EXPECT_TRUE(DateIsBefore(35810, 35811));
  EXPECT_FALSE(DateIsBefore(35811, 35811));
  EXPECT_FALSE(DateIsBefore(35812, 35811));
  EXPECT_TRUE(DateIsBefore(35810.25, 35810.5));
}

TEST(Formatting, IsLongValueOverflowsOutsideThirtyTwoBits) {
  for (float v : {0.0f, 1.0f, -1.0f, 2147483520.0f, -2147483648.0f, 0.4f}) EXPECT_TRUE(IsLongValue(v)) << v;
  for (float v : {2147483648.0f, -2147483904.0f, 1e20f}) {
    EXPECT_EQ(test::ErrorOf([&] { IsLongValue(v); }).description(), QStringLiteral("Overflow")) << v;
  }
}

}  // namespace
}  // namespace mirolat
