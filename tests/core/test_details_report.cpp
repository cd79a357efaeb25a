#include <gtest/gtest.h>

#include "report_test_support.h"
#include "reports/details_report.h"

namespace mirolat {
namespace {

using testing_support::ReadAll;
using testing_support::ReportCase;
using testing_support::ReportCaseDir;
using testing_support::RunReportCase;
using testing_support::UsEnglish;

struct GoldenCase {
  const char* name;
  const char* from;
  const char* to;
};

class DetailsGolden : public ::testing::TestWithParam<GoldenCase> {};

TEST_P(DetailsGolden, TextMatchesByteForByte) {
  const GoldenCase& g = GetParam();
  ReportCase c;
  RunReportCase(g.name, g.from, g.to, c);
  ReportInputs in{&c.config, &c.locale, c.start, c.end, c.run.ErrorsFound};
  NullProgress progress;
  const DetailsReport report = BuildDetailsReport(c.run.Tables, in, progress);
  const QByteArray expected = ReadAll(ReportCaseDir(g.name) + QStringLiteral("/details.txt"));
  EXPECT_EQ(report.Model.Text.toUtf8().toStdString(), expected.toStdString());
}

INSTANTIATE_TEST_SUITE_P(Cases, DetailsGolden,
                         ::testing::Values(GoldenCase{"costs_on", "1998-01-15", "1998-01-15"},
                                           GoldenCase{"costs_off", "1998-01-15", "1998-01-15"},
                                           GoldenCase{"errors_shown", "1998-01-15", "1998-01-15"},
                                           GoldenCase{"errors_hidden", "1998-01-15", "1998-01-15"},
                                           GoldenCase{"no_sessions", "1998-01-16", "1998-01-16"},
                                           GoldenCase{"midnight_out_of_range", "1998-01-15", "1998-01-15"},
                                           GoldenCase{"incomplete_tariff", "1998-01-14", "1998-01-15"}),
                         [](const auto& info) { return std::string(info.param.name); });

class RecordingProgress : public Progress {
 public:
  void SetStatus(const QString& text) override { statuses << text; }
  void SetPercent(int p) override { percents.push_back(p); }
  QStringList statuses;
  std::vector<int> percents;
};

// The list presentation of the costs_on case: two rows per session, the
// breakdown of the three charges, the separator and the totals row.
TEST(DetailsReport, ListRowsOfTheCostsCase) {
  ReportCase c;
  RunReportCase("costs_on", "1998-01-15", "1998-01-15", c);
  ReportInputs in{&c.config, &c.locale, c.start, c.end, c.run.ErrorsFound};
  RecordingProgress progress;
  const DetailsReport r = BuildDetailsReport(c.run.Tables, in, progress);
  const ReportModel& m = r.Model;

  ASSERT_EQ(m.Columns.size(), 8u);
  const char* titles[] = {"", "Service", "Status", "Date", "Time", "Duration", "Cost ", " Notes"};
  for (int i = 0; i < 8; ++i) EXPECT_EQ(m.Columns[std::size_t(i)].Title, QString::fromLatin1(titles[i]));
  EXPECT_EQ(m.Columns[6].Alignment, ColumnAlignment::Right);
  EXPECT_EQ(m.Columns[7].WidthTwips, 4000);  // beyond the seven stored widths
  EXPECT_EQ(m.Columns[6].WidthTwips, 1000);
  EXPECT_EQ(m.Columns[5].WidthTwips, 2000);  // stored DetailReport width
  EXPECT_EQ(m.Columns[2].WidthTwips, 700);

  ASSERT_EQ(m.Rows.size(), 10u);
  EXPECT_EQ(m.Rows[0].Cells,
            (QStringList{"", "NetOne", "Connect", "1/15/98", "10:00:30 AM", "", "", "R:2 - W:1 KB - Peak"}));
  EXPECT_EQ(m.Rows[1].Cells, (QStringList{"", "", "Disconnect", "1/15/98", "10:30:30 AM", "00:30:00", "$2.30",
                                          " Dialup: $1.55 - Service: $0.75 - Data: $0.00"}));
  EXPECT_EQ(m.Rows[3].Cells, (QStringList{"", "", "Disconnect", "1/15/98", "08:30:20 PM", "01:30:00", "$2.75",
                                          " Dialup: $0.25 - Service: $2.50 - Data: $0.00"}));
  EXPECT_EQ(m.Rows[5].Cells, (QStringList{"", "", "Disconnect", "1/15/98", "09:10:15 PM", "00:10:00", "$0.00",
                                          " Dialup: $0.00 - Service: $0.00 - Data: $0.00"}));
  EXPECT_EQ(m.Rows[8].Cells[1], QString(100, QLatin1Char('-')));
  EXPECT_EQ(m.Rows[9].Cells, (QStringList{"", "Totals:", "", "", "", "02:30:00", "$5.75", ""}));
  EXPECT_EQ(m.RepBegin, QStringLiteral("Thursday, January 15, 1998"));
  EXPECT_EQ(m.RepPeriod, QStringLiteral("1 day"));
  EXPECT_FALSE(m.NoConnShown);
  EXPECT_FALSE(m.WarningShown);

  ASSERT_EQ(r.Figures.size(), 4u);
  EXPECT_EQ(r.Figures[0].Index, 1);
  EXPECT_EQ(r.Figures[0].Seconds, 1800);
  EXPECT_NEAR(r.Figures[0].DialCost, 1.55, 1e-9);
  EXPECT_NEAR(r.Figures[0].ServiceCost, 0.75, 1e-9);
  EXPECT_EQ(r.Figures[0].Notes, QStringLiteral(" R:2 - W:1 KB - Peak"));
  EXPECT_EQ(r.Figures[2].Cost, 0.0);  // the answered call
  EXPECT_NEAR(r.Figures[3].Cost, 0.70, 1e-9);

  EXPECT_EQ(progress.statuses, (QStringList{"Processing . . .  25%", "Processing . . .  50%", "Processing . . .  75%",
                                            "Processing . . .  100%"}));
  EXPECT_EQ(progress.percents, (std::vector<int>{25, 50, 75, 100}));
}

TEST(DetailsReport, ErrorSessionRows) {
  ReportCase c;
  RunReportCase("errors_shown", "1998-01-15", "1998-01-15", c);
  ReportInputs in{&c.config, &c.locale, c.start, c.end, c.run.ErrorsFound};
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

  // Hidden errors: the error session leaves the list and the totals.
  c.config.ShowErrors = false;
  const DetailsReport hidden = BuildDetailsReport(c.run.Tables, in, progress);
  ASSERT_EQ(hidden.Model.Rows.size(), 4u);
  EXPECT_EQ(hidden.Model.Rows[0].Cells[2], QStringLiteral("Connect"));
  EXPECT_EQ(hidden.Model.Rows[3].Cells[5], QStringLiteral("00:10:00"));
  EXPECT_FALSE(hidden.Model.WarningShown);
  ASSERT_EQ(hidden.Figures.size(), 1u);
  EXPECT_EQ(hidden.Figures[0].Index, 2);
}

class DetailsFromTable : public ::testing::Test {
 protected:
  DetailsFromTable() {
    tables.Create(config.MaxServices, config.MaxConnections);
    config.UsedServices = 1;
    Service& s = config.Services[0];
    s.ServiceName = QStringLiteral("NetOne");
    s.ServiceNumber = QStringLiteral("5551234");
    s.DialOption = 2;
    s.UsedTariffs = 1;
    s.Tariffs[0] = Tariff{QStringLiteral("All Day"), QStringLiteral("Everyday"), 0, MakeTime(23, 59, 0), 0.10, 0.06, 0};
    s.ServiceOption = 2;  // flexi: 1 hour a day at 1.00, then 3.00
    s.FlexRate = 1.0;
    s.FlexRate2 = 3.0;
    s.UpToHours = 1;
    s.PenaltyPeriod = QStringLiteral("Day");
  }
  Session& Add(Date cd, TimeOfDay ct, Date dd, TimeOfDay dt, const char* notes = "") {
    Session& s = tables.Sessions[std::size_t(++tables.SessionCount)];
    s.ConnectDate = cd;
    s.ConnectTime = ct;
    s.DisconnectDate = dd;
    s.DisconnectTime = dt;
    s.Number = QStringLiteral("5551234");
    s.Notes = QString::fromLatin1(notes);
    return s;
  }
  DetailsReport Build() {
    ReportInputs in{&config, &locale, day, day + 1, false};
    NullProgress progress;
    return BuildDetailsReport(tables, in, progress);
  }

  Configuration config;
  LocaleValues locale = UsEnglish();
  SessionTable tables;
  Date day = MakeDate(1998, 3, 10);
};

// Each report prices its sessions with its own usage counters, in session
// order: the flexi allowance is used up by the first session every time.
TEST_F(DetailsFromTable, FreshUsageForEveryBuild) {
  Add(day, MakeTime(10, 0, 0), day, MakeTime(10, 45, 0));
  Add(day, MakeTime(12, 0, 0), day, MakeTime(12, 30, 0));
  for (int pass = 0; pass < 2; ++pass) {
    const DetailsReport r = Build();
    ASSERT_EQ(r.Figures.size(), 2u);
    EXPECT_NEAR(r.Figures[0].ServiceCost, 0.75, 1e-9) << pass;               // 45 min at 1.00
    EXPECT_NEAR(r.Figures[1].ServiceCost, 0.25 + 0.75, 1e-9) << pass;        // 15 min at 1.00, 15 at 3.00
    EXPECT_NEAR(r.Figures[0].DialCost, 0.10 + 45 * 0.06, 1e-9) << pass;
  }
}

// Midnight remarks are merged again at every build; tariff descriptions are
// added only once.
TEST_F(DetailsFromTable, NotesRewrittenOnEachBuild) {
  Add(day + 1, MakeTime(23, 0, 0), day + 2, MakeTime(1, 0, 0), " R:5");
  DetailsReport r = Build();
  EXPECT_EQ(r.Figures[0].Seconds, 3600);
  EXPECT_EQ(r.Figures[0].Notes, QStringLiteral(" R:5 - Time prior to midnight - All Day"));
  EXPECT_EQ(r.Model.Rows[0].Cells[7], QStringLiteral("R:5 - Time prior to midnight - All Day"));
  r = Build();
  EXPECT_EQ(r.Figures[0].Notes,
            QStringLiteral(" R:5 - Time prior to midnight - All Day - Time prior to midnight"));
}

// A session inside the range that crosses midnight counts in full and keeps its notes.
TEST_F(DetailsFromTable, MidnightInsideTheRange) {
  Add(day, MakeTime(23, 0, 0), day + 1, MakeTime(1, 2, 5), " R:5");
  const DetailsReport r = Build();
  EXPECT_EQ(r.Figures[0].Seconds, 7325);
  EXPECT_EQ(r.Figures[0].Notes, QStringLiteral(" R:5 - All Day"));
}

// A disconnect before its connect counts no time.
TEST_F(DetailsFromTable, DisconnectBeforeConnectCountsZero) {
  Add(day, MakeTime(10, 0, 0), day, MakeTime(9, 0, 0));
  config.CalcCosts = false;
  const DetailsReport r = Build();
  EXPECT_EQ(r.Figures[0].Seconds, 0);
  EXPECT_TRUE(r.Model.Text.contains(QStringLiteral("\n    ") + QString(41, QLatin1Char(' ')) +
                                    QStringLiteral("00:00:00\n")));
}

// 3725 seconds show as 01:02:05 ending in the 53rd column, without costs.
TEST_F(DetailsFromTable, DurationEndsInColumn53) {
  Add(day, MakeTime(10, 0, 0), day, MakeTime(11, 2, 5));
  config.CalcCosts = false;
  const DetailsReport r = Build();
  const QStringList lines = r.Model.Text.split(QLatin1Char('\n'));
  const qsizetype at = lines.indexOf(QString(45, QLatin1Char(' ')) + QStringLiteral("01:02:05"));
  ASSERT_GE(at, 0) << r.Model.Text.toStdString();
  EXPECT_EQ(lines[at].size(), 53);
  EXPECT_EQ(lines[at - 1], QStringLiteral("    ") + QString(49, QLatin1Char('-')));
  EXPECT_EQ(r.Model.Columns.size(), 7u);
  EXPECT_EQ(r.Model.Columns.back().Title, QStringLiteral(" Notes"));
  EXPECT_TRUE(r.Model.Text.endsWith(QString(37, QLatin1Char(' ')) + QStringLiteral("Totals: 01:02:05\n\n")));
}

TEST_F(DetailsFromTable, NoSessionsNoListRowsButTotalsLine) {
  const DetailsReport r = Build();
  EXPECT_TRUE(r.Model.NoConnShown);
  EXPECT_TRUE(r.Model.Rows.empty());
  EXPECT_TRUE(r.Figures.empty());
  EXPECT_TRUE(r.Model.Text.endsWith(QStringLiteral("Totals: 00:00:00      $0.00\n\n")));
  EXPECT_EQ(r.Model.RepPeriod, QStringLiteral("2 days"));
}

TEST(DetailsWidths, CostWidthFollowsTheCurrency) {
  LocaleValues l;
  l.CurrencySymbol = QStringLiteral("EUR");
  l.CurrencySpace = 1;
  l.CurrencyDigits = 2;
  EXPECT_EQ(DetailsCostWidth(l, true), 14);
  EXPECT_EQ(DetailsCostWidth(l, false), 0);
}

}  // namespace
}  // namespace mirolat
