#include <gtest/gtest.h>

#include "core/common/locale_values.h"

namespace mirolat {
namespace {

// The eight values of a locale with the symbol first and one with it after a space.
TEST(LocaleValues, CurrencyAndDateValuesOfTheLocale) {
  const struct {
    QLocale locale;
    const char* country;
    const char16_t* symbol;
    int symbolFirst, space, digits;
    const char *dateSeparator, *decimal, *thousands;
  } cases[] = {
      {QLocale(QLocale::English, QLocale::UnitedStates), "United States", u"$", 1, 0, 2, "/", ".", ","},
      {QLocale(QLocale::German, QLocale::Germany), "Germany", u"\u20ac", 0, 1, 2, ".", ",", "."}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.country);
    const LocaleValues v = LoadLocaleInfo(c.locale);
    EXPECT_EQ(v.LocaleCountry, QLatin1String(c.country));
    EXPECT_EQ(v.CurrencySymbol, QString::fromUtf16(c.symbol));
    EXPECT_EQ(v.CurrencySymbolFirst, c.symbolFirst);
    EXPECT_EQ(v.CurrencySpace, c.space);
    EXPECT_EQ(v.CurrencyDigits, c.digits);
    EXPECT_EQ(v.DateSeparator, QLatin1String(c.dateSeparator));
    EXPECT_EQ(v.MoneyDecimalSeparator, QLatin1String(c.decimal));
    EXPECT_EQ(v.MoneyThousandSeparator, QLatin1String(c.thousands));
  }
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
    EXPECT_EQ(c.DateSeparator, QStringLiteral("/"));
    EXPECT_EQ(c.LongDayNames, us.LongDayNames);
  }
  EXPECT_EQ(EffectiveLocale(QLocale(QStringLiteral("POSIX"))), QLocale(QLocale::English, QLocale::UnitedStates));
  EXPECT_EQ(EffectiveLocale(QLocale(QLocale::French, QLocale::France)), QLocale(QLocale::French, QLocale::France));
}

// A locale name is taken only when Qt knows each of its parts and has that
// very locale: an unknown name is no locale, not a silent C (and so en_US).
TEST(LocaleValues, LocaleNamesKnownOrRefused) {
  const struct { const char* name; bool known; QLocale::Language language; QLocale::Territory territory; } cases[] = {
      {"en_US", true, QLocale::English, QLocale::UnitedStates}, {"de_DE", true, QLocale::German, QLocale::Germany},
      {"fr_FR", true, QLocale::French, QLocale::France}, {"de-AT", true, QLocale::German, QLocale::Austria},
      {"de_DE.UTF-8", true, QLocale::German, QLocale::Germany}, {"fr", true, QLocale::French, QLocale::France},
      {"sr_Latn_RS", true, QLocale::Serbian, QLocale::Serbia}, {"C", true, QLocale::C, QLocale::AnyTerritory},
      {"POSIX", true, QLocale::C, QLocale::AnyTerritory}, {"C.UTF-8", true, QLocale::C, QLocale::AnyTerritory},
      {"", false, QLocale::C, QLocale::AnyTerritory}, {"xx_YY", false, QLocale::C, QLocale::AnyTerritory},
      {"klingon", false, QLocale::C, QLocale::AnyTerritory}, {"en_XX", false, QLocale::C, QLocale::AnyTerritory},
      {"en_US_extra", false, QLocale::C, QLocale::AnyTerritory},
      {"de_US", false, QLocale::C, QLocale::AnyTerritory},  // no such locale: Qt would give de_DE
  };
  for (const auto& c : cases) {
    const std::optional<QLocale> locale = LocaleNamed(QString::fromLatin1(c.name));
    ASSERT_EQ(locale.has_value(), c.known) << c.name;
    if (!locale) continue;
    EXPECT_EQ(locale->language(), c.language) << c.name;
    if (c.territory != QLocale::AnyTerritory) { EXPECT_EQ(locale->territory(), c.territory) << c.name; }
  }
}

TEST(LocaleValues, DayNamesStartOnMonday) {
  const LocaleValues v = LoadLocaleInfo(QLocale(QLocale::English, QLocale::UnitedStates));
  EXPECT_EQ(v.ShortDayNames[0], QStringLiteral("Mon"));
  EXPECT_EQ(v.ShortDayNames[6], QStringLiteral("Sun"));
  EXPECT_EQ(v.LongDayNames[0], QStringLiteral("Monday"));
  EXPECT_EQ(v.LongDayNames[6], QStringLiteral("Sunday"));
  // BuildDayNames follows whatever locale the values hold.
  LocaleValues fr = v;
  fr.Locale = QLocale(QLocale::French, QLocale::France);
  BuildDayNames(fr);
  EXPECT_EQ(fr.LongDayNames[0], QStringLiteral("lundi"));
  EXPECT_EQ(fr.LongDayNames[6], QStringLiteral("dimanche"));
}

}  // namespace
}  // namespace mirolat
