#include <gtest/gtest.h>

#include "core/common/date_entry.h"

namespace mirolat {
namespace {

LocaleValues Values(QLocale::Language language, QLocale::Territory territory) {
  return LoadLocaleInfo(QLocale(language, territory));
}

TEST(DateEntry, WritesTheLocalesShortDateOrderWithTwoDigitParts) {
  const LocaleValues us = Values(QLocale::English, QLocale::UnitedStates);
  EXPECT_EQ(DateToBoxText(MakeDate(1998, 1, 5), us), QStringLiteral("01/05/98"));
  EXPECT_EQ(DateToBoxText(MakeDate(2026, 12, 6), us), QStringLiteral("12/06/26"));
  const LocaleValues de = Values(QLocale::German, QLocale::Germany);
  EXPECT_EQ(DateToBoxText(MakeDate(1999, 2, 1), de), QStringLiteral("01.02.99"));
}

TEST(DateEntry, ReadsBackWhatItWrites) {
  for (const auto& [language, territory] : {std::pair{QLocale::English, QLocale::UnitedStates},
                                            std::pair{QLocale::German, QLocale::Germany},
                                            std::pair{QLocale::English, QLocale::UnitedKingdom}}) {
    const LocaleValues v = Values(language, territory);
    for (const Date d : {MakeDate(1998, 1, 15), MakeDate(1999, 12, 31), MakeDate(2029, 2, 28)}) {
      EXPECT_EQ(DateFromBoxText(DateToBoxText(d, v), v), d) << v.Locale.name().toStdString();
    }
  }
}

TEST(DateEntry, TwoDigitYearsBelowThirtyAreThisCentury) {
  const LocaleValues us = Values(QLocale::English, QLocale::UnitedStates);
  struct Case { const char* text; Date expected; };
  const Case cases[] = {
      {"01/15/98", MakeDate(1998, 1, 15)}, {"01/15/29", MakeDate(2029, 1, 15)},
      {"01/15/30", MakeDate(1930, 1, 15)}, {"01/15/00", MakeDate(2000, 1, 15)}, {"02/29/00", MakeDate(2000, 2, 29)}};
  for (const Case& c : cases) EXPECT_EQ(DateFromBoxText(QString::fromLatin1(c.text), us), c.expected) << c.text;
}

TEST(DateEntry, IncompleteOrImpossibleTextIsNoDate) {
  const LocaleValues us = Values(QLocale::English, QLocale::UnitedStates);
  for (const char* text : {"", "//", "01/1/98", "01/15/", "02/30/98", "13/01/98", "00/10/98", "1a/10/98",
                           "01-15-98", "01/15/1998/2"}) {
    EXPECT_EQ(DateFromBoxText(QString::fromLatin1(text), us), 0) << text;
  }
}

}  // namespace
}  // namespace mirolat
