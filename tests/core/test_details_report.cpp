#include <gtest/gtest.h>

#include "core/reports/details_report.h"
#include "report_test_support.h"

namespace mirolat {
namespace {

using testing_support::TableReportTest;

class DetailsFromTable : public TableReportTest {
 protected:
  DetailsFromTable() {
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
  void Add(Date cd, TimeOfDay ct, Date dd, TimeOfDay dt, const char* notes = "") {
    AddSession("5551234", cd, ct, dd, dt, notes);
  }
  DetailsReport Build() { NullProgress progress; return BuildDetailsReport(tables, Inputs(day, day + 1), progress); }
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

// A session reaching over either end of the range gets its midnight remark
// once: the report window builds the report again at each activation, and
// every build gives the same notes, list and text.
struct MidnightCase {
  const char* name;
  int connectDay, connectHour, disconnectDay, disconnectHour;  // days after `day`
  qint32 seconds;
  const char* notes;
};

class DetailsMidnight : public DetailsFromTable, public ::testing::WithParamInterface<MidnightCase> {};

TEST_P(DetailsMidnight, RemarkMergedOnceWhateverTheBuilds) {
  const MidnightCase& c = GetParam();
  Add(day + c.connectDay, MakeTime(c.connectHour, 0, 0), day + c.disconnectDay, MakeTime(c.disconnectHour, 0, 0),
      " R:5");
  const DetailsReport first = Build();
  ASSERT_EQ(first.Figures.size(), 1u);
  EXPECT_EQ(first.Figures[0].Seconds, c.seconds);
  EXPECT_EQ(first.Figures[0].Notes, QString::fromLatin1(c.notes));
  EXPECT_EQ(first.Model.Rows[0].Cells[7], CleanNotes(QString::fromLatin1(c.notes)));
  for (int build = 2; build <= 4; ++build) {
    const DetailsReport again = Build();
    EXPECT_EQ(again.Figures[0].Notes, first.Figures[0].Notes) << build;
    EXPECT_EQ(again.Model.Rows, first.Model.Rows) << build;
    EXPECT_EQ(again.Model.Text, first.Model.Text) << build;
  }
  EXPECT_EQ(tables.Sessions[1].Notes, QString::fromLatin1(c.notes));
}

INSTANTIATE_TEST_SUITE_P(Ends, DetailsMidnight,
    ::testing::Values(MidnightCase{"PastTheEnd", 1, 23, 2, 1, 3600, " R:5 - Time prior to midnight - All Day"},
                      MidnightCase{"BeforeTheStart", -1, 22, 0, 1, 3600, " R:5 - Time from midnight - All Day"},
                      MidnightCase{"Inside", 0, 23, 1, 1, 7200, " R:5 - All Day"}),
    [](const auto& info) { return std::string(info.param.name); });

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

// Without the list: the same text, header values and figures, and no rows.
TEST_F(DetailsFromTable, WithoutListRowsTheRestIsTheSame) {
  Add(day, MakeTime(10, 0, 0), day, MakeTime(10, 45, 0));
  Add(day, MakeTime(23, 30, 0), day + 1, MakeTime(0, 20, 0), " ERROR - No Disconnect Entry -");
  const SessionTable before = tables;
  const DetailsReport full = Build();
  tables = before;  // the build rewrites notes
  NullProgress progress;
  const DetailsReport bare = BuildDetailsReport(tables, Inputs(day, day + 1), progress, false);
  EXPECT_EQ(full.Model.Rows.size(), 6u);
  EXPECT_TRUE(bare.Model.Rows.empty());
  EXPECT_EQ(bare.Model.Text, full.Model.Text);
  EXPECT_EQ(bare.Model.RepPeriod, full.Model.RepPeriod);
  EXPECT_EQ(bare.Model.Columns, full.Model.Columns);
  ASSERT_EQ(bare.Figures.size(), full.Figures.size());
  for (std::size_t i = 0; i < full.Figures.size(); ++i) {
    EXPECT_EQ(bare.Figures[i].Cost, full.Figures[i].Cost);
    EXPECT_EQ(bare.Figures[i].Notes, full.Figures[i].Notes);
  }
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
