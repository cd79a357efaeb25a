// The report list's rules: the order of its rows when sorted by a column and
// the width its columns need for their text.
#include <gtest/gtest.h>

#include "core/reports/report_model.h"

namespace mirolat {
namespace {

// A Details-like list: three entries of two rows (text, a time shown as
// text, an amount that sorts by value), then the rule and the totals.
ReportModel ThreeEntries() {
  ReportModel m;
  m.Columns = {{QString()}, {QStringLiteral("Service")}, {QStringLiteral("Duration"), ColumnAlignment::Centre, 0, true},
               {QStringLiteral("Cost"), ColumnAlignment::Right, 0, true}};
  const auto entry = [&m](const char* service, const char* duration, double seconds, const char* cost, double amount) {
    m.Rows.push_back({{QString(), QString::fromLatin1(service), QString(), QString()}, {0, 0, 0, 0}, RowRole::Entry});
    m.Rows.push_back({{QString(), QString(), QString::fromLatin1(duration), QString::fromLatin1(cost)},
                      {0, 0, seconds, amount}, RowRole::EntryContinued});
  };
  entry("netone", "100:00:00", 360000, "$9.50", 9.5);
  entry("CallNet", "00:59:59", 3599, "$10.25", 10.25);
  entry("Answered", "99:00:00", 356400, "$9.50", 9.5);
  m.Rows.push_back({{QString(), QString(100, QLatin1Char('-')), QString(100, QLatin1Char('-')), QString(100, QLatin1Char('-'))},
                    {}, RowRole::Rule});
  m.Rows.push_back({{QString(), QStringLiteral("Totals:"), QStringLiteral("455:59:59"), QStringLiteral("$29.25")}, {}, RowRole::Totals});
  return m;
}

TEST(ReportList, SortedRowOrderKeepsEntriesWholeAndTheTotalsLast) {
  const ReportModel m = ThreeEntries();
  const struct { int column; bool descending; std::vector<int> order; } rows[] = {
      {-1, false, {0, 1, 2, 3, 4, 5, 6, 7}},  // no column: the report's order
      {9, false, {0, 1, 2, 3, 4, 5, 6, 7}}, {1, false, {4, 5, 2, 3, 0, 1, 6, 7}},  // text, ignoring case
      {1, true, {0, 1, 2, 3, 4, 5, 6, 7}},
      {2, false, {2, 3, 4, 5, 0, 1, 6, 7}},  // seconds: "99:00:00" before "100:00:00"
      {2, true, {0, 1, 4, 5, 2, 3, 6, 7}},
      {3, false, {0, 1, 4, 5, 2, 3, 6, 7}},  // $9.50 twice keeps the report's order, $10.25 after it
      {3, true, {2, 3, 0, 1, 4, 5, 6, 7}},   // ... both ways
      {0, false, {0, 1, 2, 3, 4, 5, 6, 7}},  // a column with nothing in it
  };
  for (const auto& r : rows) {
    EXPECT_EQ(SortedRowOrder(m, r.column, r.descending), r.order) << r.column << (r.descending ? " down" : " up");
  }
}

TEST(ReportList, ColumnWidthsComeFromTheTextNeverFromTheRule) {
  const ReportModel m = ThreeEntries();
  // Ten units a character.
  const std::vector<int> widths = ColumnWidthsForData(m, [](const QString& text) { return int(text.size()) * 10; });
  EXPECT_EQ(widths, (std::vector<int>{0, 80, 90, 60}));
  EXPECT_EQ(ColumnWidthsForData(ReportModel{}, [](const QString&) { return 1; }), std::vector<int>{});
}

// The cache of date texts gives each date its own text, whatever was asked before.
TEST(ReportList, DateTextsAreEachDatesOwn) {
  const LocaleValues us = LoadLocaleInfo(QLocale(QLocale::English, QLocale::UnitedStates));
  DateTextCache dates(us);
  const Date day = MakeDate(1998, 1, 15);
  for (Date d : {day, Date(0), day, MakeDate(1998, 1, 16), day}) EXPECT_EQ(dates.Text(d), ShortDateText(d, us)) << d;
}

}  // namespace
}  // namespace mirolat
