#include <gtest/gtest.h>

#include "core/reports/summary_report.h"
#include "report_test_support.h"

namespace mirolat {
namespace {

using testing_support::TableReportTest;

class SummaryFromTable : public TableReportTest {
 protected:
  SummaryFromTable() {
    config.Services[0].ServiceName = QStringLiteral("  NetOne ");
    config.Services[0].ServiceNumber = QStringLiteral("5551234");
  }
  ServiceTotal& Add(const char* number, qint32 seconds, qint32 sessions, double cost, qint32 bytes) {
    ServiceTotal& e = tables.ServiceTotals[std::size_t(++tables.ServiceTotalsCount)];
    e.Number = QString::fromLatin1(number);
    e.TotalSeconds = seconds;
    e.TotalSessions = sessions;
    e.TotalCost = cost;
    e.TotalBytesRead = bytes;
    return e;
  }
  ReportModel Build(bool errorsFound = false) {
    return BuildSummaryReport(tables, Inputs(MakeDate(1998, 1, 1), MakeDate(1998, 1, 31), errorsFound));
  }
};

TEST_F(SummaryFromTable, ListColumnsFollowCostsAndStoredWidths) {
  Add("5551234", 60, 1, 1, 0);
  config.SummaryReport.Columns = {900, 0, 700, 1100, 1200, 1300, 1400};
  ReportModel on = Build();
  ASSERT_EQ(on.Columns.size(), 8u);
  const int widths[] = {900, kDefaultColumnTwips, 700, 1100, 1200, 1300, 1400, kDefaultColumnTwips};
  for (int i = 0; i < 8; ++i) EXPECT_EQ(on.Columns[std::size_t(i)].WidthTwips, widths[i]) << i;
  config.CalcCosts = false;
  ReportModel off = Build();
  ASSERT_EQ(off.Columns.size(), 7u);
  for (const ReportRow& r : off.Rows) EXPECT_EQ(r.Cells.size(), 7);
}

TEST_F(SummaryFromTable, RowsSeparatorAndTotalsInTheList) {
  Add("5551234", 3600, 2, 2.5, 1843);
  Add("Answered Calls", 600, 1, 0.45, 3174);
  const ReportModel m = Build();
  ASSERT_EQ(m.Rows.size(), 4u);
  const QString dashes(100, QLatin1Char('-'));
  EXPECT_EQ(m.Rows[2].Cells, (QStringList{"", dashes, dashes, dashes, dashes, dashes, dashes, dashes}));
  EXPECT_EQ(m.Rows[3].Cells, (QStringList{"", "Totals:", "01:10:00", "3", "", "", "5", "$2.50"}));
  EXPECT_EQ(m.RepPeriod, QStringLiteral("31 days"));
}

// Totals add each row as shown: two rows of 0.125 show 0.13 each and 0.26 in all.
TEST_F(SummaryFromTable, TotalsAddTheRoundedFigures) {
  Add("111", 10, 1, 0.125, 512);
  Add("222", 10, 1, 0.125, 512);
  const ReportModel m = Build();
  EXPECT_EQ(m.Rows[0].Cells[7], QStringLiteral("$0.13"));
  EXPECT_EQ(m.Rows[0].Cells[6], QStringLiteral("1"));
  EXPECT_EQ(m.Rows.back().Cells[7], QStringLiteral("$0.26"));
  EXPECT_EQ(m.Rows.back().Cells[6], QStringLiteral("2"));
  EXPECT_TRUE(m.Text.endsWith(QStringLiteral("           2      $0.26\n")));
}

// The total time is a single-precision running total: each row's whole
// seconds are added exactly and the sum rounded once. Rounding each row to
// single precision first (a second rounding) gives another total once rows
// pass 2^24 seconds (about 4660 hours).
struct TotalTimeCase {
  std::vector<qint32> seconds;
  const char* total;           // the Totals row's time
  const char* twiceRounded;    // what rounding each row first would show
};

class SummaryTotalTime : public SummaryFromTable, public ::testing::WithParamInterface<TotalTimeCase> {};

TEST_P(SummaryTotalTime, EachRowAddedWithOneRounding) {
  const TotalTimeCase& c = GetParam();
  const char* numbers[] = {"111", "222", "333", "444", "555"};
  for (std::size_t i = 0; i < c.seconds.size(); ++i) Add(numbers[i], c.seconds[i], 1, 0, 0);
  config.CalcCosts = false;
  const ReportModel m = Build();
  EXPECT_EQ(m.Rows.back().Cells[2], QString::fromLatin1(c.total));
  EXPECT_NE(m.Rows.back().Cells[2], QString::fromLatin1(c.twiceRounded));
  // The text's totals line: " Totals:" padded to one more than the Service column.
  EXPECT_TRUE(m.Text.contains(QStringLiteral("\n Totals:         ") + QString::fromLatin1(c.total) + QLatin1Char(' ')))
      << m.Text.toStdString();
}

INSTANTIATE_TEST_SUITE_P(Rows, SummaryTotalTime,
    ::testing::Values(TotalTimeCase{{1, 16777217}, "4660:20:18", "4660:20:16"},
                      TotalTimeCase{{3, 133200004}, "37000:00:08", "37000:00:00"},
                      TotalTimeCase{{27563493, 20253254, 25279955, 20625067, 20082251}, "31612:13:28", "31612:13:52"}));

// No entry at all shows the no-connections frame; entry 0 (calls without a
// number) is listed only when it has connected time.
TEST_F(SummaryFromTable, NoConnectionsFrameAndTheUnknownEntry) {
  const ReportModel none = Build();
  EXPECT_TRUE(none.NoConnShown);
  EXPECT_TRUE(none.Rows.empty());
  tables.ServiceTotals[0].Number = QStringLiteral("Unknown");
  const ReportModel empty = Build();
  EXPECT_FALSE(empty.NoConnShown);
  ASSERT_EQ(empty.Rows.size(), 2u);  // no row, but the separator and totals
  EXPECT_EQ(empty.Rows[1].Cells[1], QStringLiteral("Totals:"));
  tables.ServiceTotals[0].TotalSeconds = 120;
  EXPECT_EQ(Build().Rows.size(), 3u);
}

// The warning's text and its two conditions are golden cases.
TEST_F(SummaryFromTable, WarningShownWithErrors) {
  Add("5551234", 60, 1, 0, 0);
  EXPECT_TRUE(Build(true).WarningShown);
}

// A number longer than its column is written whole.
TEST_F(SummaryFromTable, LongNumberWrittenWhole) {
  Add("01234567890123456789", 60, 1, 0, 0);
  const ReportModel m = Build();
  // The first listed row's line, after the title and column blocks.
  EXPECT_TRUE(m.Text.split(QLatin1Char('\n')).at(9).startsWith(QStringLiteral(" 0123456789012345678900:01:00       1")));
}

TEST(SummaryWidths, MoneyColumnsFollowTheCurrency) {
  LocaleValues l;
  l.CurrencySymbol = QStringLiteral("$");
  l.CurrencySpace = 0;
  l.CurrencyDigits = 2;
  EXPECT_EQ(SummaryTextWidths(l, true), (std::vector<int>{16, 15, 11, 13, 8, 12, 11}));
  EXPECT_EQ(SummaryTextWidths(l, false), (std::vector<int>{16, 15, 11, 13, 8, 12}));
  l.CurrencySymbol = QStringLiteral("CHF");
  l.CurrencySpace = 1;
  l.CurrencyDigits = 0;
  EXPECT_EQ(SummaryTextWidths(l, true), (std::vector<int>{16, 15, 11, 13, 8, 13, 12}));
}

}  // namespace
}  // namespace mirolat
