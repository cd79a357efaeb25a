// The shortcuts the reports take for speed: cached date texts, the AM/PM time
// writer and the error mark found without an upper-cased copy. Each must give
// exactly the texts of the plain way.
#include <gtest/gtest.h>

#include "core/common/locale_values.h"
#include "core/model/session_table.h"
#include "core/reports/details_report.h"
#include "core/reports/report_model.h"
#include "report_test_support.h"

namespace mirolat {
namespace {

LocaleValues Values(QLocale::Language language, QLocale::Territory territory) {
  return LoadLocaleInfo(QLocale(language, territory));
}

TEST(DateTextCache, GivesTheLocalesOwnTextForEveryDayAskedInAnyOrder) {
  struct Case {
    QLocale::Language language;
    QLocale::Territory territory;
    QLocale::FormatType format;
    const char* jan15;  // the expected text of 15 January 1998
  };
  const Case cases[] = {
      {QLocale::English, QLocale::UnitedStates, QLocale::ShortFormat, "1/15/98"},
      {QLocale::English, QLocale::UnitedStates, QLocale::LongFormat, "Thursday, January 15, 1998"},
      {QLocale::German, QLocale::Germany, QLocale::ShortFormat, "15.01.98"},
      {QLocale::Japanese, QLocale::Japan, QLocale::ShortFormat, "1998/01/15"}};
  const Date jan15 = MakeDate(1998, 1, 15);
  // Repeats, a step back, a jump far away and back: what a report's sessions do.
  const Date days[] = {jan15, jan15, jan15 + 1, jan15, jan15 - 400, jan15 + 1, MakeDate(2000, 2, 29), jan15};
  for (const Case& c : cases) {
    const LocaleValues locale = Values(c.language, c.territory);
    DateTextCache cache(locale, c.format);
    EXPECT_EQ(cache.Text(jan15), QString::fromUtf8(c.jan15)) << c.jan15;
    for (Date d : days) {
      const QString plain = c.format == QLocale::ShortFormat ? ShortDateText(d, locale) : LongDateText(d, locale);
      EXPECT_EQ(cache.Text(d), plain) << c.jan15 << ' ' << d;
    }
  }
}

TEST(DateTextCache, AnEarlierTextStaysValidWhileManyMoreDaysAreAdded) {
  const LocaleValues us = Values(QLocale::English, QLocale::UnitedStates);
  DateTextCache cache(us);
  const Date first = MakeDate(1998, 1, 1);
  const QString& kept = cache.Text(first);
  for (Date d = first + 1; d < first + 3000; ++d) cache.Text(d);
  EXPECT_EQ(kept, QStringLiteral("1/1/98"));
  EXPECT_EQ(&cache.Text(first), &kept);
  EXPECT_EQ(cache.Text(first + 2999), ShortDateText(first + 2999, us));
}

TEST(AmPmTimeWriter, WritesTwelveHourTimesWithTheLocalesMarkers) {
  struct Case { TimeOfDay time; const char* us; const char* ja; };
  const Case cases[] = {
      {0, "12:00:00 AM", "12:00:00 午前"}, {MakeTime(9, 5, 7), "09:05:07 AM", "09:05:07 午前"},
      {MakeTime(11, 59, 59), "11:59:59 AM", "11:59:59 午前"}, {MakeTime(12, 0, 0), "12:00:00 PM", "12:00:00 午後"},
      {MakeTime(13, 0, 1), "01:00:01 PM", "01:00:01 午後"},
      {kSecondsPerDay, "12:00:00 PM", "12:00:00 午後"},             // a day's end written as a time
      {kSecondsPerDay + 3661, "01:01:01 PM", "01:01:01 午後"},      // hours past 24 keep counting
      {-1, "12:00:-1 AM", "12:00:-1 午前"},                         // a negative time keeps its sign
      {-3661, "-1:-1:-1 AM", "-1:-1:-1 午前"}};
  const LocaleValues us = Values(QLocale::English, QLocale::UnitedStates);
  const LocaleValues ja = Values(QLocale::Japanese, QLocale::Japan);
  const AmPmTimeWriter usTimes(us);
  const AmPmTimeWriter jaTimes(ja);
  for (const Case& c : cases) {
    EXPECT_EQ(usTimes.Text(c.time), QString::fromUtf8(c.us)) << c.time;
    EXPECT_EQ(AmPmTimeText(c.time, us), QString::fromUtf8(c.us)) << c.time;
    EXPECT_EQ(jaTimes.Text(c.time), QString::fromUtf8(c.ja)) << c.time;
  }
  QString line = QStringLiteral("at ");
  usTimes.Append(line, MakeTime(14, 30, 0));
  EXPECT_EQ(line, QStringLiteral("at 02:30:00 PM"));
}

class DetailsShortcuts : public testing_support::TableReportTest {
 protected:
  DetailsShortcuts() {
    config.CalcCosts = false;
    config.ShowErrors = false;
  }
  void Add(const char* number, const char* notes) {
    AddSession(number, day, MakeTime(10, 0, 0), day, MakeTime(10, 5, 0), notes);
  }
  DetailsReport Build() { NullProgress progress; return BuildDetailsReport(tables, Inputs(day, day), progress); }
  Date day = MakeDate(1998, 1, 15);
};

TEST_F(DetailsShortcuts, HiddenErrorsAreFoundWhateverTheCaseAndAnyLetters) {
  struct Case { const char* notes; bool hidden; };
  const Case cases[] = {
      {" ERROR - No Disconnect Entry -", true}, {" error in lower case", true}, {" R:12 eRrOr", true},
      {" ERRO R", false}, {" ERRO", false}, {"", false},
      {" \u00c9RROR", false},          // É is not E
      {" Z\u00fcrich ERROR", true},      // other letters around the mark
      {" \u00fcerror", true}, {" R:5 - W:1 KB", false}};
  for (const Case& c : cases) Add("5551234", c.notes);
  const DetailsReport r = Build();
  std::vector<int> shown;
  for (const DetailFigures& f : r.Figures) shown.push_back(f.Index);
  std::vector<int> expected;
  for (int i = 0; i < int(std::size(cases)); ++i) { if (!cases[i].hidden) expected.push_back(i + 1); }
  EXPECT_EQ(shown, expected);
}

}  // namespace
}  // namespace mirolat
