#include <gtest/gtest.h>

#include "common/errors.h"
#include "config/locale_values.h"
#include "costs/formatting.h"

namespace mirolat {
namespace {

LocaleValues UnitedStates() { return LoadLocaleInfo(QLocale(QLocale::English, QLocale::UnitedStates)); }
LocaleValues Germany() { return LoadLocaleInfo(QLocale(QLocale::German, QLocale::Germany)); }

TEST(Formatting, FormatDurationWritesHoursMinutesSeconds) {
  struct Case {
    float seconds;
    const char* text;
  } cases[] = {{0, "00:00:00"},        {59, "00:00:59"},       {60, "00:01:00"},       {3599, "00:59:59"},
               {3600, "01:00:00"},     {3661, "01:01:01"},     {59.9f, "00:00:59"},    {450000, "125:00:00"},
               {86399, "23:59:59"},    {90061.5f, "25:01:01"}, {3659.99f, "01:00:59"}, {0.4f, "00:00:00"}};
  for (const auto& c : cases) EXPECT_EQ(FormatDuration(c.seconds), QLatin1String(c.text)) << c.seconds;
}

TEST(Formatting, FormatMoneyInTheUnitedStates) {
  const LocaleValues us = UnitedStates();
  struct Case {
    double amount;
    int maxDecimals;
    const char* text;
  } cases[] = {
      {1234.5, 0, "$1,234.50"},     {0, 0, "$0.00"},           {0.125, 0, "$0.13"},  // halves away from zero
      {0.125, 4, "$0.125"},         {0.1, 4, "$0.10"},         {0.12345, 4, "$0.1235"},
      {1.005, 0, "$1.01"},          {-2.5, 0, "$-2.50"},       {-0.004, 0, "$0.00"},
      {1234567.891, 0, "$1,234,567.89"}, {999.995, 0, "$1,000.00"}, {12, 1, "$12.00"},
  };
  for (const auto& c : cases) EXPECT_EQ(FormatMoney(c.amount, c.maxDecimals, us), QLatin1String(c.text)) << c.amount;
}

TEST(Formatting, FormatMoneyPlacesTheGivenSymbol) {
  const LocaleValues us = UnitedStates();
  struct Case {
    int symbolFirst;
    int spaces;
    int digits;
    int maxDecimals;
    const char* text;
  } cases[] = {
      {1, 0, 2, 0, "$1,234.50"}, {1, 1, 2, 0, "$ 1,234.50"}, {0, 1, 2, 0, "1,234.50 $"}, {0, 0, 2, 0, "1,234.50$"},
      {2, 1, 2, 0, "1,234.50"},  {-1, 0, 2, 0, "1,234.50"},  {1, 0, 0, 0, "$1,235"},    {1, 0, 0, 2, "$1,234.5"},
      {1, 0, 3, 0, "$1,234.500"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(FormatMoney(1234.5, QStringLiteral("$"), c.symbolFirst, c.spaces, c.digits, c.maxDecimals, us),
              QLatin1String(c.text))
        << c.symbolFirst << ' ' << c.spaces << ' ' << c.digits << ' ' << c.maxDecimals;
  }
  // No symbol: the blanks that stood for it are trimmed away.
  EXPECT_EQ(FormatMoney(12, QString(), 0, 1, 2, 0, us), QStringLiteral("12.00"));
  // Whole amounts with digits 0 and optional decimals have no decimal character.
  EXPECT_EQ(FormatMoney(12, QStringLiteral("$"), 1, 0, 0, 4, us), QStringLiteral("$12"));
}

TEST(Formatting, FormatMoneyWithATrailingSymbol) {
  const LocaleValues de = Germany();
  EXPECT_EQ(FormatMoney(12, QStringLiteral("F"), 0, 1, 2, 0, de), QStringLiteral("12,00 F"));
  EXPECT_EQ(FormatMoney(1234.5, 0, de), QStringLiteral("1.234,50 \u20ac"));
  EXPECT_EQ(FormatMoney(0.125, 4, de), QStringLiteral("0,125 \u20ac"));
  EXPECT_EQ(FormatMoney(0.1, 4, de), QStringLiteral("0,10 \u20ac"));
  // French groups with a narrow no-break space.
  const LocaleValues fr = LoadLocaleInfo(QLocale(QLocale::French, QLocale::France));
  EXPECT_EQ(FormatMoney(1234.5, 0, fr), QStringLiteral("1\u202f234,50 \u20ac"));
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
               {123456789, "123,456,789", "123.456.789"}, {512.0 / 1024, "1", "1"}};
  for (const auto& c : cases) {
    EXPECT_EQ(FormatWholeNumber(c.value, us), QLatin1String(c.us)) << c.value;
    EXPECT_EQ(FormatWholeNumber(c.value, de), QLatin1String(c.de)) << c.value;
  }
}

TEST(Formatting, FormatAmountTextForEditBoxes) {
  const LocaleValues us = UnitedStates();
  struct Case {
    const char* text;
    int maxDecimals;
    const char* result;
  } cases[] = {
      {"1.5", 0, "1.50"},     {"1234", 0, "1,234.00"}, {"0.125", 4, "0.125"}, {"0.1", 4, "0.10"},
      {"abc", 0, ""},         {"", 0, ""},             {"  7 ", 0, "7.00"},   {"1,234.5", 0, "1,234.50"},
      {"12abc", 0, ""},       {"-3", 0, "-3.00"},      {"0.12345", 4, "0.1235"}, {"1e3", 0, "1,000.00"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(FormatAmountText(QLatin1String(c.text), c.maxDecimals, us), QLatin1String(c.result)) << c.text;
  }
  const LocaleValues de = Germany();
  EXPECT_EQ(FormatAmountText(QStringLiteral("1,5"), 0, de), QStringLiteral("1,50"));
  EXPECT_EQ(FormatAmountText(QStringLiteral("1234"), 0, de), QStringLiteral("1.234,00"));
}

TEST(Formatting, ParseAmountTextReadsTheLocalesSeparators) {
  const LocaleValues us = UnitedStates();
  const LocaleValues de = Germany();
  struct Case {
    const char* text;
    double us;
    double de;
  } cases[] = {
      {"1,5", 15, 1.5},          {"1.5", 1.5, 15},       {"1,234.5", 1234.5, 1.2345},
      {"1.234,5", 1.2345, 1234.5}, {"", 0, 0},           {"abc", 0, 0},
      {"  2.25xyz", 2.25, 225},  {"1,234,567", 1234, 1.234}, {"-4", -4, -4},
  };
  for (const auto& c : cases) {
    EXPECT_DOUBLE_EQ(ParseAmountText(QLatin1String(c.text), us), c.us) << c.text;
    EXPECT_DOUBLE_EQ(ParseAmountText(QLatin1String(c.text), de), c.de) << c.text;
  }
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

TEST(Formatting, DateToEntryTextKeepsTheOrderAndUsesTheSeparator) {
  LocaleValues slash = UnitedStates();
  slash.DateSeparator = QStringLiteral("/");
  LocaleValues dot = UnitedStates();
  dot.DateSeparator = QStringLiteral(".");
  struct Case {
    const char* text;
    const LocaleValues* locale;
    const char* result;
  } cases[] = {
      {"5-12-1998", &slash, "05/12/98"}, {"1.2.1999", &dot, "01.02.99"}, {"12/31/98", &dot, "12.31.98"},
      {"5-12", &slash, "05/12/00"},      {"7", &slash, "07/00/00"},      {" 3 / 4 / 2001 ", &slash, "03/04/01"},
      {"1.2-3", &slash, "1.2/03/00"},    // "-" is tested after ".", so it wins
      {"2001-03-04", &slash, "2001/03/04"},
  };
  for (const auto& c : cases) EXPECT_EQ(DateToEntryText(QLatin1String(c.text), *c.locale), QLatin1String(c.result)) << c.text;
}

TEST(Formatting, PadLeftTrimsThenPads) {
  EXPECT_EQ(PadLeft(QStringLiteral("5"), u'0', 2), QStringLiteral("05"));
  EXPECT_EQ(PadLeft(QStringLiteral("  5 "), u'0', 3), QStringLiteral("005"));
  EXPECT_EQ(PadLeft(QStringLiteral("12345"), u'0', 2), QStringLiteral("12345"));
  EXPECT_EQ(PadLeft(QString(), u'*', 2), QStringLiteral("**"));
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
    try {
      IsLongValue(v);
      ADD_FAILURE() << "no overflow for " << v;
    } catch (const RunError& e) {
      EXPECT_EQ(e.description(), QStringLiteral("Overflow"));
    }
  }
}

}  // namespace
}  // namespace mirolat
