// The hand-written report cases under tests/data/reports: each case's
// Summary and Details texts byte for byte, and the list presentation (with the
// costs breakdown the texts leave out) of the cases that show a rule best.
#include <gtest/gtest.h>

#include "core/reports/details_report.h"
#include "core/reports/summary_report.h"
#include "report_test_support.h"

namespace mirolat {
namespace {

using testing_support::ExpectedText;
using testing_support::GoldenCase;
using testing_support::InputsOf;
using testing_support::ReportCase;
using testing_support::RunReportCase;

class ReportGolden : public ::testing::TestWithParam<GoldenCase> {};

// Log + configuration -> the analysis -> the reports' texts, byte for byte.
// The report window builds the Details report again at each activation (fresh
// usage counters, midnight remarks added once): every build gives the same text.
TEST_P(ReportGolden, TextsByteForByte) {
  ReportCase c;
  RunReportCase(GetParam(), c);
  EXPECT_EQ(BuildSummaryReport(c.run.Tables, InputsOf(c)).Text.toUtf8().toStdString(),
            ExpectedText(GetParam(), "summary"));
  NullProgress progress;
  const std::string expected = ExpectedText(GetParam(), "details");
  for (int build = 1; build <= 3; ++build) {
    EXPECT_EQ(BuildDetailsReport(c.run.Tables, InputsOf(c), progress).Model.Text.toUtf8().toStdString(), expected)
        << "build " << build;
  }
}

INSTANTIATE_TEST_SUITE_P(Cases, ReportGolden, ::testing::Values(GoldenCase{"costs_on", "1998-01-15", "1998-01-15"},
                                           GoldenCase{"costs_off", "1998-01-15", "1998-01-15"},
                                           GoldenCase{"errors_shown", "1998-01-15", "1998-01-15"},
                                           GoldenCase{"errors_hidden", "1998-01-15", "1998-01-15"},
                                           GoldenCase{"no_sessions", "1998-01-16", "1998-01-16"},
                                           GoldenCase{"midnight_out_of_range", "1998-01-15", "1998-01-15"},
                                           GoldenCase{"incomplete_tariff", "1998-01-14", "1998-01-15"},
                                           GoldenCase{"several_numbers", "1998-03-09", "1998-03-11"},
                                           GoldenCase{"several_numbers", "1998-03-09", "1998-03-11", true},
                                           GoldenCase{"tariff_walk", "1998-03-10", "1998-03-11"},
                                           GoldenCase{"flexi_allowance", "1998-03-10", "1998-03-11"}),
                         [](const auto& info) { return info.param.name + info.param.Suffix(); });

using test::RecordingProgress;

// The list presentation of the costs_on case: two rows per session, the
// breakdown of the three charges, the separator and the totals row.
TEST(ReportCases, DetailsListRowsOfTheCostsCase) {
  ReportCase c;
  RunReportCase({"costs_on", "1998-01-15", "1998-01-15"}, c);
  const ReportInputs in = InputsOf(c);
  RecordingProgress progress;
  const DetailsReport r = BuildDetailsReport(c.run.Tables, in, progress);
  const ReportModel& m = r.Model;
  ASSERT_EQ(m.Columns.size(), 8u);
  EXPECT_EQ(m.Columns[7].WidthTwips, 4000);  // beyond the seven stored widths
  EXPECT_EQ(m.Columns[5].WidthTwips, 2000);  // stored DetailReport width
  ASSERT_EQ(m.Rows.size(), 10u);
  EXPECT_EQ(m.Rows[0].Cells,
            (QStringList{"", "NetOne", "Connect", "1/15/98", "10:00:30 AM", "", "", "R:2 - W:1 KB - Peak"}));
  EXPECT_EQ(m.Rows[1].Cells, (QStringList{"", "", "Disconnect", "1/15/98", "10:30:30 AM", "00:30:00", "$2.30",
                                          " Dialup: $1.55 - Service: $0.75 - Data: $0.00"}));
  EXPECT_EQ(m.Rows[8].Cells[1], QString(100, QLatin1Char('-')));
  EXPECT_EQ(m.Rows[9].Cells, (QStringList{"", "Totals:", "", "", "", "02:30:00", "$5.75", ""}));
  EXPECT_FALSE(m.WarningShown);
  ASSERT_EQ(r.Figures.size(), 4u);
  EXPECT_EQ(r.Figures[0].Notes, QStringLiteral(" R:2 - W:1 KB - Peak"));
  EXPECT_NEAR(r.Figures[3].Cost, 0.70, 1e-9);
  EXPECT_EQ(progress.statuses, (QStringList{"Processing . . .  25%", "Processing . . .  50%", "Processing . . .  75%",
                                            "Processing . . .  100%"}));
  EXPECT_EQ(progress.percents, (QList<int>{25, 50, 75, 100}));
}

TEST(ReportCases, DetailsErrorSessionRows) {
  ReportCase c;
  RunReportCase({"errors_shown", "1998-01-15", "1998-01-15"}, c);
  const ReportInputs in = InputsOf(c);
  NullProgress progress;
  const DetailsReport r = BuildDetailsReport(c.run.Tables, in, progress);
  const ReportModel& m = r.Model;
  EXPECT_TRUE(m.WarningShown);
  ASSERT_EQ(m.Rows.size(), 6u);
  EXPECT_EQ(m.Rows[0].Cells,
            (QStringList{"", "NetOne", "E R R O R", "1/15/98", "10:00:00 AM", "", "", "No Disconnect Entry - Peak"}));
  EXPECT_EQ(m.Rows[1].Cells, (QStringList{"", "", "", "1/15/98", "10:20:00 AM", "00:20:00", "$1.55",
                                          " Dialup: $1.05 - Service: $0.50 - Data: $0.00"}));
  EXPECT_EQ(r.Figures[0].Notes, QStringLiteral(" ERROR - No Disconnect Entry - - Peak"));
  // Hidden errors: the error session leaves the list (the text is a golden case).
  c.config.ShowErrors = false;
  const DetailsReport hidden = BuildDetailsReport(c.run.Tables, in, progress);
  EXPECT_EQ(hidden.Model.Rows.size(), 4u);
  EXPECT_FALSE(hidden.Model.WarningShown);
  ASSERT_EQ(hidden.Figures.size(), 1u);
  EXPECT_EQ(hidden.Figures[0].Index, 2);
}

// The list names a number by its service, where the text shows the number;
// in German the breakdown's money has the symbol after the amount.
TEST(ReportCases, ListsOfSeveralNumbers) {
  ReportCase c;
  RunReportCase({"several_numbers", "1998-03-09", "1998-03-11", true}, c);
  const ReportModel m = BuildSummaryReport(c.run.Tables, InputsOf(c));
  ASSERT_EQ(m.Rows.size(), 6u);
  EXPECT_EQ(m.Rows[0].Cells[1], QStringLiteral("Unknown"));
  EXPECT_EQ(m.Rows[1].Cells[1], QStringLiteral("NetOne"));
  NullProgress progress;
  const DetailsReport d = BuildDetailsReport(c.run.Tables, InputsOf(c), progress);
  EXPECT_EQ(d.Model.RepBegin, QStringLiteral("Montag, 9. März 1998"));
  EXPECT_EQ(d.Model.Rows[1].Cells, (QStringList{"", "", "Disconnect", "09.03.98", "09:45:00 AM", "00:45:00", "1,40 €",
                         " Dialup: 0,50 € - Service: 0,90 € - Data: 0,00 €"}));
}

// Tariff crossings and the two ends of the range: the notes carry the midnight
// remark and each tariff charged, the list's second rows the breakdown.
TEST(ReportCases, DetailsListAcrossTariffsAndMidnight) {
  ReportCase c;
  RunReportCase({"tariff_walk", "1998-03-10", "1998-03-11"}, c);
  const ReportInputs in = InputsOf(c);
  NullProgress progress;
  DetailsReport r = BuildDetailsReport(c.run.Tables, in, progress);
  const ReportModel& m = r.Model;
  ASSERT_EQ(m.Rows.size(), 8u);
  EXPECT_EQ(m.Rows[1].Cells[7], QStringLiteral(" Dialup: $0.30 - Service: $0.30 - Data: $0.00"));
  EXPECT_EQ(m.Rows[3].Cells[7], QStringLiteral(" Dialup: $0.75 - Service: $0.20 - Data: $0.00"));
  EXPECT_EQ(m.Rows[5].Cells[7], QStringLiteral(" Dialup: $1.30 - Service: $0.60 - Data: $0.00"));
  ASSERT_EQ(r.Figures.size(), 3u);
  EXPECT_NEAR(r.Figures[1].DialCost, 0.10 + 539.0 / 60 * 0.05 + 600.0 / 60 * 0.02, 1e-12);
  EXPECT_NEAR(r.Figures[2].DialCost, 0.10 + 3599.0 / 60 * 0.02, 1e-12);
  // A second build adds neither the midnight remarks nor the tariff names again.
  r = BuildDetailsReport(c.run.Tables, in, progress);
  EXPECT_EQ(r.Figures[0].Notes, QStringLiteral(" R:1 - Time from midnight - Night"));
  EXPECT_EQ(r.Figures[1].Notes, QStringLiteral(" - Peak - Evening"));
}

// The run consumes the flexi allowance in log order; the Details report prices
// again with fresh counters and only the time inside the range.
TEST(ReportCases, FlexiAllowanceRunAgainstDetails) {
  ReportCase c;
  RunReportCase({"flexi_allowance", "1998-03-10", "1998-03-11"}, c);
  EXPECT_NEAR(c.run.Tables.ServiceTotals[1].TotalCost,
              2400.0 / 3600 + (1200.0 / 3600 + 3 * 1200.0 / 3600) + 0.10 + 0.50 + 0.25, 1e-12);
  const ReportInputs in = InputsOf(c);
  NullProgress progress;
  const DetailsReport r = BuildDetailsReport(c.run.Tables, in, progress);
  ASSERT_EQ(r.Figures.size(), 4u);
  const double service[] = {2400.0 / 3600, 1200.0 / 3600 + 3 * 1200.0 / 3600, 0.5, 300.0 / 3600};
  const double data[] = {0, 0.5 * 0.2, 0, 0};
  for (int i = 0; i < 4; ++i) {
    EXPECT_NEAR(r.Figures[std::size_t(i)].ServiceCost, service[i], 1e-12) << i;
    EXPECT_NEAR(r.Figures[std::size_t(i)].DataCost, data[i], 1e-12) << i;
  }
  EXPECT_EQ(r.Model.Rows[6].Cells[7], QStringLiteral("No Disconnect Entry - Time prior to midnight"));
}

}  // namespace
}  // namespace mirolat
