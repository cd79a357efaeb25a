#include <gtest/gtest.h>

#include "config/locale_values.h"

namespace mirolat {
namespace {

TEST(LocaleValues, EnglishUnitedStates) {
  const LocaleValues v = LoadLocaleInfo(QLocale(QLocale::English, QLocale::UnitedStates));
  EXPECT_EQ(v.LocaleCountry, QStringLiteral("United States"));
  EXPECT_EQ(v.CurrencySymbol, QStringLiteral("$"));
  EXPECT_EQ(v.CurrencySymbolFirst, 1);
  EXPECT_EQ(v.CurrencySpace, 0);
  EXPECT_EQ(v.CurrencyDigits, 2);
  EXPECT_EQ(v.DateSeparator, QStringLiteral("/"));
  EXPECT_EQ(v.MoneyDecimalSeparator, QStringLiteral("."));
  EXPECT_EQ(v.MoneyThousandSeparator, QStringLiteral(","));
}

TEST(LocaleValues, GermanGermanyPutsTheSymbolAfterASpace) {
  const LocaleValues v = LoadLocaleInfo(QLocale(QLocale::German, QLocale::Germany));
  EXPECT_EQ(v.LocaleCountry, QStringLiteral("Germany"));
  EXPECT_EQ(v.CurrencySymbol, QStringLiteral("\u20ac"));
  EXPECT_EQ(v.CurrencySymbolFirst, 0);
  EXPECT_EQ(v.CurrencySpace, 1);
  EXPECT_EQ(v.CurrencyDigits, 2);
  EXPECT_EQ(v.DateSeparator, QStringLiteral("."));
  EXPECT_EQ(v.MoneyDecimalSeparator, QStringLiteral(","));
  EXPECT_EQ(v.MoneyThousandSeparator, QStringLiteral("."));
  EXPECT_EQ(v.LongDayNames[0], QStringLiteral("Montag"));
  EXPECT_EQ(v.LongDayNames[6], QStringLiteral("Sonntag"));
}

// The locale buffer holds 20 characters: "Bosnia And Herzegovina" has 22.
TEST(LocaleValues, TextItemsAreCutToTwentyCharacters) {
  const LocaleValues bosnia = LoadLocaleInfo(QLocale(QLocale::Bosnian, QLocale::BosniaAndHerzegovina));
  EXPECT_EQ(bosnia.LocaleCountry, QStringLiteral("Bosnia And Herzegovi"));
  EXPECT_EQ(bosnia.CurrencySymbol, QStringLiteral("KM"));
}

TEST(LocaleValues, CurrencyWithoutDecimals) {
  const LocaleValues v = LoadLocaleInfo(QLocale(QLocale::Japanese, QLocale::Japan));
  EXPECT_EQ(v.CurrencyDigits, 0);
  EXPECT_EQ(v.CurrencySymbolFirst, 1);
}

TEST(LocaleValues, CAndPosixLocalesFallBackToEnglishUnitedStates) {
  const LocaleValues us = LoadLocaleInfo(QLocale(QLocale::English, QLocale::UnitedStates));
  for (const QLocale& locale : {QLocale::c(), QLocale(QStringLiteral("POSIX"))}) {
    const LocaleValues c = LoadLocaleInfo(locale);
    EXPECT_EQ(c.Locale, us.Locale);
    EXPECT_EQ(c.LocaleCountry, QStringLiteral("United States"));
    EXPECT_EQ(c.CurrencySymbol, QStringLiteral("$"));
    EXPECT_EQ(c.CurrencySymbolFirst, 1);
    EXPECT_EQ(c.CurrencySpace, 0);
    EXPECT_EQ(c.CurrencyDigits, 2);
    EXPECT_EQ(c.DateSeparator, QStringLiteral("/"));
    EXPECT_EQ(c.MoneyDecimalSeparator, QStringLiteral("."));
    EXPECT_EQ(c.MoneyThousandSeparator, QStringLiteral(","));
    EXPECT_EQ(c.LongDayNames, us.LongDayNames);
    EXPECT_EQ(c.ShortDayNames, us.ShortDayNames);
  }
  EXPECT_EQ(EffectiveLocale(QLocale(QStringLiteral("POSIX"))), QLocale(QLocale::English, QLocale::UnitedStates));
  EXPECT_EQ(EffectiveLocale(QLocale(QLocale::French, QLocale::France)), QLocale(QLocale::French, QLocale::France));
}

TEST(LocaleValues, DayNamesStartOnMonday) {
  const LocaleValues v = LoadLocaleInfo(QLocale(QLocale::English, QLocale::UnitedStates));
  const std::array<QString, 7> shortNames = {QStringLiteral("Mon"), QStringLiteral("Tue"), QStringLiteral("Wed"),
                                             QStringLiteral("Thu"), QStringLiteral("Fri"), QStringLiteral("Sat"),
                                             QStringLiteral("Sun")};
  const std::array<QString, 7> longNames = {QStringLiteral("Monday"),   QStringLiteral("Tuesday"),
                                            QStringLiteral("Wednesday"), QStringLiteral("Thursday"),
                                            QStringLiteral("Friday"),   QStringLiteral("Saturday"),
                                            QStringLiteral("Sunday")};
  EXPECT_EQ(v.ShortDayNames, shortNames);
  EXPECT_EQ(v.LongDayNames, longNames);

  // BuildDayNames follows whatever locale the values hold.
  LocaleValues fr = v;
  fr.Locale = QLocale(QLocale::French, QLocale::France);
  BuildDayNames(fr);
  EXPECT_EQ(fr.LongDayNames[0], QStringLiteral("lundi"));
  EXPECT_EQ(fr.LongDayNames[6], QStringLiteral("dimanche"));
}

}  // namespace
}  // namespace mirolat
