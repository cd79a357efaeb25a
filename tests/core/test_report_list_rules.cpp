// The report list's rules beyond showing it: which Details sessions the
// filter keeps and their totals, the shown rows as the clipboard takes them,
// and the explanation of a session's cost.
#include <gtest/gtest.h>

#include "core/reports/report_list_rules.h"
#include "report_test_support.h"

namespace mirolat {
namespace {

using testing_support::UsEnglish;

// Three sessions as the Details list has them: two rows each (Service, Status,
// Duration, Cost), then the rule and the totals. The second session is an
// error of the other number.
struct ThreeSessions {
  ReportModel model;
  ReportFigures figures;
  ThreeSessions() {
    model.Kind = ReportKind::Details;
    model.Columns = {{QString()}, {QStringLiteral("Service")}, {QStringLiteral("Status")},
                     {QStringLiteral("Duration"), ColumnAlignment::Centre, 0, true},
                     {QStringLiteral("Cost "), ColumnAlignment::Right, 0, true}, {QStringLiteral(" Notes")}};
    figures.CostsShown = true;
    figures.Numbers = {{1, QStringLiteral("5551234"), QStringLiteral("netone")},
                       {2, QStringLiteral("CallNet"), QStringLiteral("CallNet")},
                       {3, QStringLiteral("5550000"), QStringLiteral("idle")}};
    const auto session = [&](int number, const char* status, qint32 seconds, const char* duration, double cost,
                             const char* costText, bool error) {
      const QString service = figures.Numbers[std::size_t(number)].Name;
      model.Rows.push_back({{QString(), service, QString::fromLatin1(status), QString(), QString(), QStringLiteral("a\tb")}, {}});
      model.Rows.push_back({{QString(), QString(), QString(), QString::fromLatin1(duration), QString::fromLatin1(costText),
                             QString()}, {0, 0, 0, double(seconds), cost, 0}, RowRole::EntryContinued});
      SessionFigures s;
      s.Number = number;
      s.Seconds = seconds;
      s.Cost = cost;
      s.Error = error;
      figures.Sessions.push_back(s);
    };
    session(0, "Connect", 600, "00:10:00", 1.25, "$1.25", false);
    session(1, "E R R O R", 30, "00:00:30", 0.5, "$0.50", true);
    session(0, "Connect", 3600, "01:00:00", 2.5, "$2.50", false);
    model.Rows.push_back({QStringList(6, QString(10, QLatin1Char('-'))), {}, RowRole::Rule});
    model.Rows.push_back({{QString(), QStringLiteral("Totals:"), QString(), QStringLiteral("01:10:30"),
                           QStringLiteral("$4.25"), QString()}, {}, RowRole::Totals});
  }
};

TEST(ReportListRules, FilterKeepsWholeSessionsAndTotalsThem) {
  const ThreeSessions t;
  EXPECT_EQ(DetailsFilterChoices(t.figures),
            (std::vector<FilterChoice>{{0, QStringLiteral("netone (5551234)")}, {1, QStringLiteral("CallNet")}}));
  const struct {
    DetailsFilter filter;
    std::vector<int> rowSessions;
    const char* duration;  // the totals row's
    const char* cost;
  } rows[] = {
      {{}, {0, 0, 1, 1, 2, 2, -1, -1}, "01:10:30", "$4.25"},
      {{0, false}, {0, 0, 2, 2, -1, -1}, "01:10:00", "$3.75"},
      {{-1, true}, {1, 1, -1, -1}, "00:00:30", "$0.50"},
      {{0, true}, {}, "", ""},  // nothing kept: no totals either
      {{2, false}, {}, "", ""},
  };
  for (const auto& r : rows) {
    std::vector<int> rowSessions;
    const ReportModel kept = FilteredDetails(t.model, t.figures, r.filter, UsEnglish(), rowSessions);
    const std::string label = std::to_string(r.filter.Number) + (r.filter.ErrorsOnly ? " errors" : "");
    EXPECT_EQ(rowSessions, r.rowSessions) << label;
    ASSERT_EQ(kept.Rows.size(), r.rowSessions.size()) << label;
    for (std::size_t i = 0; i + 2 < kept.Rows.size(); ++i) {
      EXPECT_EQ(kept.Rows[i], t.model.Rows[std::size_t(2 * r.rowSessions[i]) + (i % 2)]) << label << " row " << i;
    }
    if (kept.Rows.empty()) continue;
    EXPECT_EQ(kept.Rows.back().Role, RowRole::Totals) << label;
    EXPECT_EQ(kept.Rows.back().Cells.mid(1), (QStringList{"Totals:", "", r.duration, r.cost, ""})) << label;
  }
}

TEST(ReportListRules, ClipboardHasTheShownRowsInTheirOrder) {
  ThreeSessions t;
  t.model.Rows[0].Cells[1] = QStringLiteral("<A&B>");
  // The third session first, the rule left out, the empty first column never.
  const std::vector<int> order = {4, 5, 0, 1, 6, 7};
  EXPECT_EQ(RowsAsTabSeparated(t.model, order),
            QStringLiteral("Service\tStatus\tDuration\tCost\tNotes\n"
                           "netone\tConnect\t\t\ta b\n\t\t01:00:00\t$2.50\t\n"
                           "<A&B>\tConnect\t\t\ta b\n\t\t00:10:00\t$1.25\t\n"
                           "Totals:\t\t01:10:30\t$4.25\t\n"));
  const QString html = RowsAsHtmlTable(t.model, order);
  EXPECT_TRUE(html.startsWith(QStringLiteral("<table>\n<thead><tr><th>Service</th><th>Status</th><th>Duration</th>")));
  EXPECT_TRUE(html.contains(QStringLiteral("<tr><td>&lt;A&amp;B&gt;</td><td>Connect</td><td></td><td></td><td>a\tb</td></tr>\n")));
  EXPECT_EQ(html.count(QStringLiteral("<tr>")), 6);  // the titles and five rows
  EXPECT_LT(html.indexOf(QStringLiteral("01:00:00")), html.indexOf(QStringLiteral("00:10:00")));
}

TEST(ReportListRules, CostExplanationNamesTariffsMinimumAndCharges) {
  SessionFigures walk;
  walk.Tariffs = {{1, QStringLiteral("Peak"), 600, 1.2}, {3, QString(), 120, 0.0525}};
  walk.MinimumChargeTariff = 1;
  walk.DialCost = 1.2525;
  walk.TimeCost = 0.5;
  walk.DataCost = 0.0015;
  walk.Cost = 1.754;
  SessionFigures answered;
  answered.Answered = true;
  const struct {
    SessionFigures session;
    bool costs;
    const char* text;
  } rows[] = {
      {walk, true,
       "In tariff 1 (Peak): 00:10:00, $1.20\nIn tariff 3: 00:02:00, $0.0525\n"
       "Minimum charge taken from tariff 1 (Peak).\nDial-up charge: $1.2525\nTime charge: $0.50\nData charge: $0.0015\nCost: $1.754"},
      {walk, false, ""},
      {answered, true, "Answered call: nothing charged."},
      {SessionFigures{}, true, "Dial-up charge: $0.00\nTime charge: $0.00\nData charge: $0.00\nCost: $0.00"},
  };
  for (const auto& r : rows) EXPECT_EQ(SessionCostExplanation(r.session, r.costs, UsEnglish()), QString::fromUtf8(r.text));
}

}  // namespace
}  // namespace mirolat
