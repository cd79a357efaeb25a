#pragma once
// What the report window does with its list beyond showing it, as rules the
// window only presents: which Details sessions the filter keeps, the shown
// rows as tab-separated text and as an HTML table (the clipboard's two kinds),
// and why a session cost what it did (its rows' tooltip).
#include <QString>
#include <vector>

#include "core/common/locale_values.h"
#include "core/reports/report_figures.h"
#include "core/reports/report_model.h"

namespace mirolat {

// The Details list's filter: one number or all, every session or only those
// whose notes carry an error mark.
struct DetailsFilter {
  int Number = -1;  // index into ReportFigures::Numbers; -1: every number
  bool ErrorsOnly = false;
  bool KeepsAll() const { return Number < 0 && !ErrorsOnly; }
  bool Keeps(const SessionFigures& session) const {
    return (Number < 0 || session.Number == Number) && (!ErrorsOnly || session.Error);
  }
};

// A number the filter offers: its index into ReportFigures::Numbers and the
// text the choice shows ("name" or "name (number)").
struct FilterChoice {
  int Number = -1;
  QString Text;
  bool operator==(const FilterChoice&) const = default;
};

// The numbers at least one listed session dialled, in the Summary's order.
std::vector<FilterChoice> DetailsFilterChoices(const ReportFigures& figures);

// The listed session (index into ReportFigures::Sessions) each row of the
// Details list belongs to: an entry's rows are its session's; -1 for the rule
// and the totals.
std::vector<int> DetailsRowSessions(const ReportModel& details);

// The Details list with only the sessions the filter keeps, then the rule and
// totals of those sessions (none when it keeps none). `rowSessions` gets each
// row's session as DetailsRowSessions gives it. A filter that keeps all gives
// the list as it is.
ReportModel FilteredDetails(const ReportModel& details, const ReportFigures& figures, const DetailsFilter& filter,
                            const LocaleValues& locale, std::vector<int>& rowSessions);

// The columns a copy or a page shows: those with a title or any text (never
// the list's untitled first column), in order.
std::vector<int> ShownColumns(const ReportModel& model);

// The rows `order` names (indexes into model.Rows, as the list shows them)
// for the clipboard: first the column titles, then one line per row, the
// rule left out. Tab-separated text with a line feed after each line (tabs
// and line ends inside a cell become blanks), and an HTML table of the same
// cells, escaped, the titles in its head.
QString RowsAsTabSeparated(const ReportModel& model, const std::vector<int>& order);
QString RowsAsHtmlTable(const ReportModel& model, const std::vector<int>& order);

// Why the session cost what it did, one line each: the tariffs its dial-up
// time met with their time and charge, the minimum charge and the tariff it
// came from, the dial-up, time and data charges and the cost. Empty when
// costs are not shown.
QString SessionCostExplanation(const SessionFigures& session, bool costsShown, const LocaleValues& locale);

// A money amount in an explanation: the locale's format, with up to four
// decimals where the amount has them.
QString ExactMoney(double amount, const LocaleValues& locale);

}  // namespace mirolat
