// The shortcuts the reports take for speed: cached date texts, the AM/PM time
// writer, money appended in place, durations and notes written in one pass,
// the error mark found without an upper-cased copy, and service names looked
// up once per number. Each must give exactly the texts of the plain way.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "analysis/session_table.h"
#include "config/locale_values.h"
#include "costs/formatting.h"
#include "reports/details_report.h"
#include "reports/report_model.h"

namespace mirolat {
namespace {

LocaleValues Values(QLocale::Language language, QLocale::Territory territory) {
  return LoadLocaleInfo(QLocale(language, territory));
}

// --- Date texts ---

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
      {QLocale::English, QLocale::UnitedKingdom, QLocale::ShortFormat, "15/01/1998"},
      {QLocale::Japanese, QLocale::Japan, QLocale::ShortFormat, "1998/01/15"},
  };
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

TEST(DateTextCache, CachesOfTwoLocalesKeepTheirOwnTexts) {
  const LocaleValues us = Values(QLocale::English, QLocale::UnitedStates);
  LocaleValues de = Values(QLocale::German, QLocale::Germany);
  DateTextCache usDates(us);
  DateTextCache deDates(de);
  const Date d = MakeDate(1998, 3, 9);
  EXPECT_EQ(usDates.Text(d), QStringLiteral("3/9/98"));
  EXPECT_EQ(deDates.Text(d), QStringLiteral("09.03.98"));
  EXPECT_EQ(usDates.Text(d), QStringLiteral("3/9/98"));
  // The locale is taken when the cache is made: a later change of the values
  // needs a new cache, and the new one follows it.
  de.Locale = us.Locale;
  EXPECT_EQ(deDates.Text(d), QStringLiteral("09.03.98"));
  EXPECT_EQ(DateTextCache(de).Text(d), QStringLiteral("3/9/98"));
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

// --- Times ---

TEST(AmPmTimeWriter, WritesTwelveHourTimesWithTheLocalesMarkers) {
  struct Case {
    TimeOfDay time;
    const char* us;
    const char* ja;
  };
  const Case cases[] = {
      {0, "12:00:00 AM", "12:00:00 午前"},
      {59, "12:00:59 AM", "12:00:59 午前"},
      {MakeTime(9, 5, 7), "09:05:07 AM", "09:05:07 午前"},
      {MakeTime(11, 59, 59), "11:59:59 AM", "11:59:59 午前"},
      {MakeTime(12, 0, 0), "12:00:00 PM", "12:00:00 午後"},
      {MakeTime(13, 0, 1), "01:00:01 PM", "01:00:01 午後"},
      {MakeTime(23, 59, 59), "11:59:59 PM", "11:59:59 午後"},
      {kSecondsPerDay, "12:00:00 PM", "12:00:00 午後"},             // a day's end written as a time
      {kSecondsPerDay + 3661, "01:01:01 PM", "01:01:01 午後"},      // hours past 24 keep counting
      {-1, "12:00:-1 AM", "12:00:-1 午前"},                         // a negative time keeps its sign
      {-3661, "-1:-1:-1 AM", "-1:-1:-1 午前"},
  };
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

// --- Money, numbers, durations ---

TEST(AppendMoney, AppendsTheSameTextAsFormatMoneyAndLeavesWhatWasThere) {
  const LocaleValues us = Values(QLocale::English, QLocale::UnitedStates);
  const LocaleValues de = Values(QLocale::German, QLocale::Germany);
  LocaleValues padded = us;  // a symbol with blanks of its own, after the amount
  padded.CurrencySymbol = QStringLiteral(" Fr ");
  padded.CurrencySymbolFirst = 0;
  padded.CurrencySpace = 2;
  padded.CurrencyDigits = 3;
  LocaleValues bare = us;  // no symbol: the gap before it goes too
  bare.CurrencySymbol.clear();
  bare.CurrencySymbolFirst = 0;
  bare.CurrencySpace = 1;
  struct Case {
    const LocaleValues* locale;
    double amount;
    int maxDecimals;
    const char* text;
  };
  const Case cases[] = {
      {&us, 0.125, 0, "$0.13"},                   // halves away from zero
      {&us, -0.125, 0, "$-0.13"},
      {&us, 2.675, 0, "$2.68"},                   // as written, not as stored (2.67499...)
      {&us, 1.005, 0, "$1.01"},
      {&us, -0.005, 0, "$-0.01"},
      {&us, 0.0049999, 0, "$0.00"},
      {&us, -0.0, 0, "$0.00"},                    // negative zero has no sign
      {&us, -0.004, 0, "$0.00"},                  // nor has an amount that rounds to zero
      {&us, -1e-300, 0, "$0.00"},
      {&us, 999999.995, 0, "$1,000,000.00"},      // the carry runs through every digit
      {&us, 9.995, 0, "$10.00"},
      {&us, 0.995, 0, "$1.00"},
      {&us, 0.1, 4, "$0.10"},
      {&us, 0.00005, 4, "$0.0001"},
      {&us, 1234567.891, 0, "$1,234,567.89"},
      {&us, std::numeric_limits<double>::quiet_NaN(), 0, "$0.00"},
      {&us, std::numeric_limits<double>::infinity(), 0, "$0.00"},
      {&de, 1234.5, 0, "1.234,50 \u20ac"},
      {&de, -0.125, 0, "-0,13 \u20ac"},
      {&padded, 1234.5, 0, "1,234.500   Fr"},
      {&padded, 0.0005, 0, "0.001   Fr"},
      {&bare, 12, 0, "12.00"},
  };
  for (const Case& c : cases) {
    QString text = QStringLiteral("x  ");
    AppendMoney(text, c.amount, c.maxDecimals, *c.locale);
    EXPECT_EQ(text, QStringLiteral("x  ") + QString::fromUtf8(c.text)) << c.amount;
    EXPECT_EQ(FormatMoney(c.amount, c.maxDecimals, *c.locale), QString::fromUtf8(c.text)) << c.amount;
  }
}

TEST(FormatMoney, ManyDecimalsAndTheLargestAmountAreWrittenInFull) {
  const LocaleValues us = Values(QLocale::English, QLocale::UnitedStates);
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

TEST(FormatWholeNumber, KilobytesOfByteCounts) {
  const LocaleValues us = Values(QLocale::English, QLocale::UnitedStates);
  const LocaleValues de = Values(QLocale::German, QLocale::Germany);
  struct Case {
    qint64 bytes;
    const char* us;
    const char* de;
  };
  const Case cases[] = {
      {0, "0", "0"},          {511, "0", "0"},           {512, "1", "1"},  // half a kilobyte rounds up
      {1535, "1", "1"},       {1536, "2", "2"},          {1024000, "1,000", "1.000"},
      {2147483647, "2,097,152", "2.097.152"},             {-512, "-1", "-1"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(FormatWholeNumber(double(c.bytes) / 1024.0, us), QLatin1String(c.us)) << c.bytes;
    EXPECT_EQ(FormatWholeNumber(double(c.bytes) / 1024.0, de), QLatin1String(c.de)) << c.bytes;
  }
}

TEST(AppendKilobytes, AppendsWhatFormatWholeNumberWritesForTheQuotient) {
  const LocaleValues us = Values(QLocale::English, QLocale::UnitedStates);
  const LocaleValues de = Values(QLocale::German, QLocale::Germany);
  const LocaleValues fr = Values(QLocale::French, QLocale::France);
  struct Case {
    qint64 bytes;
    const char* us;
  };
  const qint64 limit = qint64(1) << 40;  // where the whole-number shortcut ends
  const Case cases[] = {
      {0, "0"},
      {511, "0"},
      {512, "1"},
      {1023 * 1024 + 511, "1,023"},
      {1023 * 1024 + 512, "1,024"},
      {999 * 1024 + 512, "1,000"},
      {2147483647, "2,097,152"},
      {limit - 1, "1,073,741,824"},
      {limit, "1,073,741,824"},
      {limit + 512, "1,073,741,825"},
      {-1, "0"},  // rounds to zero: no sign
      {-512, "-1"},
      {-1536, "-2"},
  };
  for (const Case& c : cases) {
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

TEST(FormatDuration, PadsEachPartToTwoDigitsWhateverItsSign) {
  struct Case {
    float seconds;
    const char* text;
  };
  const Case cases[] = {
      {0, "00:00:00"},          {-0.0f, "00:00:00"},      {9, "00:00:09"},         {-5, "00:00:-5"},
      {-65, "00:00:-65"},       {360000, "100:00:00"},    {1e7f, "2777:46:40"},    {3599.999f, "00:59:59"},
  };
  for (const Case& c : cases) EXPECT_EQ(FormatDuration(c.seconds), QLatin1String(c.text)) << c.seconds;
}

// --- Notes ---

TEST(CleanNotes, OnePassTidyingOfTheAwkwardCases) {
  struct Case {
    const char* in;
    const char* out;
  };
  const Case cases[] = {
      {"", ""},
      {"-", ""},
      {" -", ""},
      {"- - -", ""},          // "- -" shortened, then the leading dash and the " -" go
      {"a- -b", "a-b"},
      {"- -x - -", "x -"},  // only the first pair is shortened
      {" -x- ", "x-"},
      {"x - ", "x"},
      {"\u00c9t\u00e9 - - R:1 ", "\u00c9t\u00e9 - R:1"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(CleanNotes(QString::fromUtf8(c.in)), QString::fromUtf8(c.out)) << c.in;
  }
}

// --- The Details report's own shortcuts ---

class DetailsShortcuts : public ::testing::Test {
 protected:
  DetailsShortcuts() {
    config.CalcCosts = false;
    config.ShowErrors = false;
    config.UsedServices = 2;
    config.Services[0].ServiceName = QStringLiteral("  NetOne ");
    config.Services[0].ServiceNumber = QStringLiteral("5551234");
    config.Services[1].ServiceName = QStringLiteral("CallNet");
    config.Services[1].ServiceNumber = QStringLiteral("5559876");
    tables.Create(config.MaxServices, config.MaxConnections);
  }
  void Add(const char* number, const char* notes) {
    Session& s = tables.Sessions[std::size_t(++tables.SessionCount)];
    s.ConnectDate = s.DisconnectDate = day;
    s.ConnectTime = MakeTime(10, 0, 0);
    s.DisconnectTime = MakeTime(10, 5, 0);
    s.Number = QString::fromUtf8(number);
    s.Notes = QString::fromUtf8(notes);
  }
  DetailsReport Build() {
    NullProgress progress;
    return BuildDetailsReport(tables, ReportInputs{&config, &locale, day, day, false}, progress);
  }

  Configuration config;
  LocaleValues locale = Values(QLocale::English, QLocale::UnitedStates);
  SessionTable tables;
  Date day = MakeDate(1998, 1, 15);
};

TEST_F(DetailsShortcuts, HiddenErrorsAreFoundWhateverTheCaseAndAnyLetters) {
  struct Case {
    const char* notes;
    bool hidden;
  };
  const Case cases[] = {
      {" ERROR - No Disconnect Entry -", true},
      {" error in lower case", true},
      {" R:12 eRrOr", true},
      {" ERRO R", false},
      {" ERRO", false},
      {"", false},
      {" \u00c9RROR", false},          // É is not E
      {" Z\u00fcrich ERROR", true},      // other letters around the mark
      {" \u00fcerror", true},
      {" R:5 - W:1 KB", false},
  };
  for (const Case& c : cases) Add("5551234", c.notes);
  const DetailsReport r = Build();
  std::vector<int> shown;
  for (const DetailFigures& f : r.Figures) shown.push_back(f.Index);
  std::vector<int> expected;
  for (int i = 0; i < int(std::size(cases)); ++i) {
    if (!cases[i].hidden) expected.push_back(i + 1);
  }
  EXPECT_EQ(shown, expected);
}

TEST_F(DetailsShortcuts, EachNumberGetsItsOwnServiceNameEveryTime) {
  const char* numbers[] = {"5551234", "5559876", "5551234", " 5559876 ", "5550000", "Answered Call", "5550000",
                           "5551234"};
  const char* names[] = {"NetOne", "CallNet", "NetOne", "CallNet", "5550000", "Answered Call", "5550000", "NetOne"};
  for (const char* n : numbers) Add(n, "");
  const DetailsReport r = Build();
  ASSERT_EQ(r.Model.Rows.size(), std::size(numbers) * 2 + 2);
  for (std::size_t i = 0; i < std::size(numbers); ++i) {
    EXPECT_EQ(r.Model.Rows[2 * i].Cells[1], QLatin1String(names[i])) << numbers[i];
    EXPECT_TRUE(r.Model.Text.contains(QStringLiteral("\n ") + QLatin1String(names[i]) + QLatin1Char('\n')));
  }
}

}  // namespace
}  // namespace mirolat
