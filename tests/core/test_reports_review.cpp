// Report cases written by hand from the report layouts, for what the first
// cases leave out: several numbers with an unknown service and default costs,
// an entry whose only call never connected, a connection without a dialled
// number, tariff crossings, sessions reaching over either end of the range, a
// flexi allowance consumed across sessions (and priced again by the Details
// report with its own counters), a German locale, and the three line endings.
#include <gtest/gtest.h>

#include "report_test_support.h"
#include "reports/details_report.h"
#include "reports/summary_report.h"

namespace mirolat {
namespace {

using testing_support::ReadAll;
using testing_support::ReportCase;
using testing_support::ReportCaseDir;
using testing_support::RunReportCase;

struct ReviewCase {
  const char* name;
  const char* from;
  const char* to;
  bool german;        // de_DE instead of en_US
  const char* suffix;  // of the expected files: summary<suffix>.txt, details<suffix>.txt
};

LocaleValues German() { return LoadLocaleInfo(QLocale(QLocale::German, QLocale::Germany)); }

void RunCase(const ReviewCase& g, ReportCase& c) {
  if (g.german) c.locale = German();
  RunReportCase(g.name, g.from, g.to, c);
}

std::string Expected(const ReviewCase& g, const char* report) {
  return ReadAll(ReportCaseDir(g.name) + QStringLiteral("/") + QLatin1String(report) + QLatin1String(g.suffix) +
                 QStringLiteral(".txt"))
      .toStdString();
}

class ReviewGolden : public ::testing::TestWithParam<ReviewCase> {};

TEST_P(ReviewGolden, SummaryTextByteForByte) {
  const ReviewCase& g = GetParam();
  ReportCase c;
  RunCase(g, c);
  ReportInputs in{&c.config, &c.locale, c.start, c.end, c.run.ErrorsFound};
  EXPECT_EQ(BuildSummaryReport(c.run.Tables, in).Text.toUtf8().toStdString(), Expected(g, "summary"));
}

TEST_P(ReviewGolden, DetailsTextByteForByte) {
  const ReviewCase& g = GetParam();
  ReportCase c;
  RunCase(g, c);
  ReportInputs in{&c.config, &c.locale, c.start, c.end, c.run.ErrorsFound};
  NullProgress progress;
  EXPECT_EQ(BuildDetailsReport(c.run.Tables, in, progress).Model.Text.toUtf8().toStdString(),
            Expected(g, "details"));
}

INSTANTIATE_TEST_SUITE_P(Cases, ReviewGolden,
                         ::testing::Values(ReviewCase{"several_numbers", "1998-03-09", "1998-03-11", false, ""},
                                           ReviewCase{"several_numbers", "1998-03-09", "1998-03-11", true, "_de"},
                                           ReviewCase{"tariff_walk", "1998-03-10", "1998-03-11", false, ""},
                                           ReviewCase{"flexi_allowance", "1998-03-10", "1998-03-11", false, ""}),
                         [](const auto& info) {
                           return std::string(info.param.name) + (info.param.german ? "_de" : "");
                         });

// The list of the several-numbers case: the connection without a number
// leads, the service's name stands for its number, the number whose call never
// connected shows zeros without dividing by its 0 sessions.
TEST(ReportsReview, SummaryListOfSeveralNumbers) {
  ReportCase c;
  RunCase(ReviewCase{"several_numbers", "1998-03-09", "1998-03-11", false, ""}, c);
  ReportInputs in{&c.config, &c.locale, c.start, c.end, c.run.ErrorsFound};
  const ReportModel m = BuildSummaryReport(c.run.Tables, in);
  ASSERT_EQ(m.Rows.size(), 6u);
  EXPECT_EQ(m.Rows[0].Cells, (QStringList{"", "Unknown", "00:20:00", "1", "00:20:00", "00:06:40", "2", "$1.05"}));
  EXPECT_EQ(m.Rows[1].Cells, (QStringList{"", "NetOne", "01:15:00", "2", "00:37:30", "00:25:00", "201", "$2.50"}));
  EXPECT_EQ(m.Rows[2].Cells, (QStringList{"", "5557777", "01:40:00", "2", "00:50:00", "00:33:20", "3,072", "$6.00"}));
  EXPECT_EQ(m.Rows[3].Cells, (QStringList{"", "5558888", "00:00:00", "0", "00:00:00", "00:00:00", "0", "$0.00"}));
  EXPECT_EQ(m.Rows[5].Cells, (QStringList{"", "Totals:", "03:15:00", "5", "", "", "3,275", "$9.55"}));
  EXPECT_EQ(m.RepBegin, QStringLiteral("Monday, March 9, 1998"));
  EXPECT_EQ(m.RepEnd, QStringLiteral("Wednesday, March 11, 1998"));
  EXPECT_EQ(m.RepPeriod, QStringLiteral("3 days"));
  EXPECT_FALSE(m.WarningShown);
  EXPECT_FALSE(m.NoConnShown);
}

// The German header panel and money cells: long dates, the symbol after the
// amount with a blank, "," as the decimal point and "." grouping kilobytes.
TEST(ReportsReview, GermanHeaderAndCells) {
  ReportCase c;
  RunCase(ReviewCase{"several_numbers", "1998-03-09", "1998-03-11", true, "_de"}, c);
  ReportInputs in{&c.config, &c.locale, c.start, c.end, c.run.ErrorsFound};
  const ReportModel s = BuildSummaryReport(c.run.Tables, in);
  EXPECT_EQ(s.RepBegin, QStringLiteral("Montag, 9. März 1998"));
  EXPECT_EQ(s.RepEnd, QStringLiteral("Mittwoch, 11. März 1998"));
  EXPECT_EQ(s.Rows[2].Cells[6], QStringLiteral("3.072"));
  EXPECT_EQ(s.Rows[5].Cells[7], QStringLiteral("9,55 €"));
  NullProgress progress;
  const DetailsReport d = BuildDetailsReport(c.run.Tables, in, progress);
  EXPECT_EQ(d.Model.RepBegin, QStringLiteral("Montag, 9. März 1998"));
  EXPECT_EQ(d.Model.Rows[1].Cells,
            (QStringList{"", "", "Disconnect", "09.03.98", "09:45:00 AM", "00:45:00", "1,40 €",
                         " Dialup: 0,50 € - Service: 0,90 € - Data: 0,00 €"}));
  EXPECT_EQ(d.Model.Rows[2].Cells[7], QStringLiteral("R:3.072"));
}

// Tariff crossings and the two ends of the range in the list: the notes carry
// the midnight remark and each tariff charged, the second row the breakdown.
TEST(ReportsReview, DetailsListAcrossTariffsAndMidnight) {
  ReportCase c;
  RunCase(ReviewCase{"tariff_walk", "1998-03-10", "1998-03-11", false, ""}, c);
  ReportInputs in{&c.config, &c.locale, c.start, c.end, c.run.ErrorsFound};
  NullProgress progress;
  DetailsReport r = BuildDetailsReport(c.run.Tables, in, progress);
  const ReportModel& m = r.Model;
  ASSERT_EQ(m.Rows.size(), 8u);
  EXPECT_EQ(m.Rows[0].Cells, (QStringList{"", "NetOne", "Connect", "3/9/98", "11:30:00 PM", "", "",
                                          "R:1 - Time from midnight - Night"}));
  EXPECT_EQ(m.Rows[1].Cells, (QStringList{"", "", "Disconnect", "3/10/98", "12:30:00 AM", "00:30:00", "$0.60",
                                          " Dialup: $0.30 - Service: $0.30 - Data: $0.00"}));
  EXPECT_EQ(m.Rows[2].Cells[7], QStringLiteral(" Peak - Evening"));
  EXPECT_EQ(m.Rows[3].Cells[7], QStringLiteral(" Dialup: $0.75 - Service: $0.20 - Data: $0.00"));
  EXPECT_EQ(m.Rows[4].Cells[7], QStringLiteral(" Time prior to midnight - Evening"));
  EXPECT_EQ(m.Rows[5].Cells, (QStringList{"", "", "Disconnect", "3/12/98", "12:45:00 AM", "01:00:00", "$1.90",
                                          " Dialup: $1.30 - Service: $0.60 - Data: $0.00"}));
  EXPECT_EQ(m.Rows[7].Cells, (QStringList{"", "Totals:", "", "", "", "01:50:00", "$3.45", ""}));
  ASSERT_EQ(r.Figures.size(), 3u);
  EXPECT_EQ(r.Figures[0].Notes, QStringLiteral(" R:1 - Time from midnight - Night"));
  EXPECT_NEAR(r.Figures[1].DialCost, 0.10 + 539.0 / 60 * 0.05 + 600.0 / 60 * 0.02, 1e-12);
  EXPECT_NEAR(r.Figures[2].DialCost, 0.10 + 3599.0 / 60 * 0.02, 1e-12);

  // The session closed before the range was discarded with its data entry.
  EXPECT_EQ(c.run.Tables.SessionCount, 3);
  EXPECT_EQ(c.run.Tables.ServiceTotals[1].TotalBytesRead, 1024);

  // A second build merges the midnight remarks again, not the tariff names.
  r = BuildDetailsReport(c.run.Tables, in, progress);
  EXPECT_EQ(r.Figures[0].Notes, QStringLiteral(" R:1 - Time from midnight - Night - Time from midnight"));
  EXPECT_EQ(r.Figures[2].Notes, QStringLiteral(" - Time prior to midnight - Evening - Time prior to midnight"));
  EXPECT_EQ(r.Figures[1].Notes, QStringLiteral(" - Peak - Evening"));
  EXPECT_TRUE(r.Model.Text.endsWith(QStringLiteral("Totals: 01:50:00      $3.45\n\n")));
}

// The run consumes the flexi allowance in log order and counts the substitute
// duration of the last, unfinished session in full; the Details report prices
// again with fresh counters and counts only that session's time before
// midnight, so its figures differ from the run's totals.
TEST(ReportsReview, FlexiAllowanceRunAgainstDetails) {
  ReportCase c;
  RunCase(ReviewCase{"flexi_allowance", "1998-03-10", "1998-03-11", false, ""}, c);
  const ServiceTotal& entry = c.run.Tables.ServiceTotals[1];
  EXPECT_EQ(entry.TotalSeconds, 7500);
  EXPECT_EQ(entry.TotalSessions, 4);
  EXPECT_NEAR(entry.TotalCost, 2400.0 / 3600 + (1200.0 / 3600 + 3 * 1200.0 / 3600) + 0.10 + 0.50 + 0.25, 1e-12);
  EXPECT_TRUE(c.run.ErrorsFound);
  const Session& last = c.run.Tables.Sessions[4];
  EXPECT_EQ(last.DisconnectDate, MakeDate(1998, 3, 12));
  EXPECT_EQ(last.DisconnectTime, MakeTime(0, 10, 0));

  ReportInputs in{&c.config, &c.locale, c.start, c.end, c.run.ErrorsFound};
  NullProgress progress;
  for (int pass = 0; pass < 2; ++pass) {
    const DetailsReport r = BuildDetailsReport(c.run.Tables, in, progress);
    ASSERT_EQ(r.Figures.size(), 4u);
    const double service[] = {2400.0 / 3600, 1200.0 / 3600 + 3 * 1200.0 / 3600, 0.5, 300.0 / 3600};
    const double data[] = {0, 0.5 * 0.2, 0, 0};
    const int seconds[] = {2400, 2400, 1800, 300};
    for (int i = 0; i < 4; ++i) {
      EXPECT_NEAR(r.Figures[std::size_t(i)].ServiceCost, service[i], 1e-12) << pass << ' ' << i;
      EXPECT_NEAR(r.Figures[std::size_t(i)].DataCost, data[i], 1e-12) << pass << ' ' << i;
      EXPECT_EQ(r.Figures[std::size_t(i)].Seconds, seconds[i]) << pass << ' ' << i;
      EXPECT_EQ(r.Figures[std::size_t(i)].DialCost, 0) << pass << ' ' << i;
    }
    if (pass > 0) continue;  // the midnight remark is merged again
    EXPECT_EQ(r.Model.Rows[6].Cells, (QStringList{"", "FlexNet", "E R R O R", "3/11/98", "11:55:00 PM", "", "",
                                                  "No Disconnect Entry - Time prior to midnight"}));
    EXPECT_EQ(r.Model.Rows[7].Cells, (QStringList{"", "", "", "3/12/98", "12:10:00 AM", "00:05:00", "$0.08",
                                                  " Dialup: $0.00 - Service: $0.08 - Data: $0.00"}));
  }
}

}  // namespace
}  // namespace mirolat
