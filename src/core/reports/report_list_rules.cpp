#include "core/reports/report_list_rules.h"

#include "core/common/formatting.h"

namespace mirolat {

namespace {

// The column with this title (blanks around it ignored), or -1.
int ColumnTitled(const ReportModel& model, QLatin1StringView title) {
  for (std::size_t c = 0; c < model.Columns.size(); ++c) {
    if (model.Columns[c].Title.trimmed() == title) return int(c);
  }
  return -1;
}

QString CellOf(const ReportRow& row, int column) { return column < row.Cells.size() ? row.Cells[column] : QString(); }

// A cell on one line of tab-separated text.
QString OneLine(QString cell) {
  for (QChar& c : cell) {
    if (c == QLatin1Char('\t') || c == QLatin1Char('\n') || c == QLatin1Char('\r')) c = QLatin1Char(' ');
  }
  return cell;
}

}  // namespace

std::vector<FilterChoice> DetailsFilterChoices(const ReportFigures& figures) {
  std::vector<bool> dialled(figures.Numbers.size(), false);
  for (const SessionFigures& s : figures.Sessions) {
    if (s.Number >= 0 && std::size_t(s.Number) < dialled.size()) dialled[std::size_t(s.Number)] = true;
  }
  std::vector<FilterChoice> choices;
  for (std::size_t i = 0; i < figures.Numbers.size(); ++i) {
    if (!dialled[i]) continue;
    const NumberFigures& n = figures.Numbers[i];
    const bool named = !n.Number.isEmpty() && n.Number != n.Name;
    choices.push_back({int(i), named ? QStringLiteral("%1 (%2)").arg(n.Name, n.Number) : n.Name});
  }
  return choices;
}

std::vector<int> DetailsRowSessions(const ReportModel& details) {
  std::vector<int> sessions;
  sessions.reserve(details.Rows.size());
  int session = -1;
  for (const ReportRow& row : details.Rows) {
    switch (row.Role) {
      case RowRole::Entry:
        sessions.push_back(++session);
        break;
      case RowRole::EntryContinued:
        sessions.push_back(session);
        break;
      case RowRole::Rule:
      case RowRole::Totals:
        sessions.push_back(-1);
        break;
    }
  }
  return sessions;
}

ReportModel FilteredDetails(const ReportModel& details, const ReportFigures& figures, const DetailsFilter& filter,
                            const LocaleValues& locale, std::vector<int>& rowSessions) {
  const std::vector<int> sessions = DetailsRowSessions(details);
  if (filter.KeepsAll()) {
    rowSessions = sessions;
    return details;
  }
  ReportModel kept = details;
  kept.Rows.clear();
  rowSessions.clear();
  float seconds = 0;
  double cost = 0;
  int lastCounted = -1;
  const ReportRow* rule = nullptr;
  const ReportRow* totals = nullptr;
  for (std::size_t r = 0; r < details.Rows.size(); ++r) {
    const ReportRow& row = details.Rows[r];
    if (row.Role == RowRole::Rule) rule = &row;
    if (row.Role == RowRole::Totals) totals = &row;
    const int s = sessions[r];
    if (s < 0 || std::size_t(s) >= figures.Sessions.size()) continue;
    const SessionFigures& session = figures.Sessions[std::size_t(s)];
    if (!filter.Keeps(session)) continue;
    kept.Rows.push_back(row);
    rowSessions.push_back(s);
    if (s != lastCounted) {
      lastCounted = s;
      seconds = AddSeconds(seconds, session.Seconds);
      cost += session.Cost;
    }
  }
  if (lastCounted < 0 || totals == nullptr) return kept;
  if (rule != nullptr) {
    kept.Rows.push_back(*rule);
    rowSessions.push_back(-1);
  }
  ReportRow sums = *totals;
  const int durationColumn = ColumnTitled(details, QLatin1StringView("Duration"));
  const int costColumn = ColumnTitled(details, QLatin1StringView("Cost"));
  if (durationColumn >= 0 && durationColumn < sums.Cells.size()) sums.Cells[durationColumn] = FormatDuration(seconds);
  if (costColumn >= 0 && costColumn < sums.Cells.size()) sums.Cells[costColumn] = FormatMoney(cost, 0, locale);
  kept.Rows.push_back(std::move(sums));
  rowSessions.push_back(-1);
  return kept;
}

std::vector<int> ShownColumns(const ReportModel& model) {
  std::vector<int> shown;
  for (int c = 1; c < int(model.Columns.size()); ++c) {
    bool any = !model.Columns[std::size_t(c)].Title.trimmed().isEmpty();
    for (std::size_t r = 0; r < model.Rows.size() && !any; ++r) {
      any = model.Rows[r].Role != RowRole::Rule && !CellOf(model.Rows[r], c).isEmpty();
    }
    if (any) shown.push_back(c);
  }
  return shown;
}

QString RowsAsTabSeparated(const ReportModel& model, const std::vector<int>& order) {
  const std::vector<int> columns = ShownColumns(model);
  QString text;
  const auto line = [&](const auto& cellAt) {
    for (std::size_t i = 0; i < columns.size(); ++i) {
      if (i > 0) text += QLatin1Char('\t');
      text += OneLine(cellAt(columns[i]));
    }
    text += QLatin1Char('\n');
  };
  line([&](int c) { return model.Columns[std::size_t(c)].Title.trimmed(); });
  for (int r : order) {
    const ReportRow& row = model.Rows[std::size_t(r)];
    if (row.Role != RowRole::Rule) line([&](int c) { return CellOf(row, c); });
  }
  return text;
}

QString RowsAsHtmlTable(const ReportModel& model, const std::vector<int>& order) {
  const std::vector<int> columns = ShownColumns(model);
  QString html = QStringLiteral("<table>\n<thead><tr>");
  for (int c : columns) html += QStringLiteral("<th>") + model.Columns[std::size_t(c)].Title.trimmed().toHtmlEscaped() + QStringLiteral("</th>");
  html += QStringLiteral("</tr></thead>\n<tbody>\n");
  for (int r : order) {
    const ReportRow& row = model.Rows[std::size_t(r)];
    if (row.Role == RowRole::Rule) continue;
    html += QStringLiteral("<tr>");
    for (int c : columns) html += QStringLiteral("<td>") + CellOf(row, c).toHtmlEscaped() + QStringLiteral("</td>");
    html += QStringLiteral("</tr>\n");
  }
  html += QStringLiteral("</tbody>\n</table>\n");
  return html;
}

QString ExactMoney(double amount, const LocaleValues& locale) { return FormatMoney(amount, 4, locale); }

QString SessionCostExplanation(const SessionFigures& session, bool costsShown, const LocaleValues& locale) {
  if (!costsShown) return {};
  if (session.Answered) return QStringLiteral("Answered call: nothing charged.");
  QStringList lines;
  const auto name = [](const TariffUse& use) {
    const QString description = use.Description.trimmed();
    return QStringLiteral("tariff %1").arg(use.Tariff) +
           (description.isEmpty() ? QString() : QStringLiteral(" (%1)").arg(description));
  };
  QString minimum = QStringLiteral("tariff %1").arg(session.MinimumChargeTariff);
  for (const TariffUse& use : session.Tariffs) {
    lines << QStringLiteral("In %1: %2, %3").arg(name(use), FormatDuration(float(use.Seconds)), ExactMoney(use.Cost, locale));
    if (use.Tariff == session.MinimumChargeTariff) minimum = name(use);
  }
  if (session.MinimumChargeTariff > 0) lines << QStringLiteral("Minimum charge taken from %1.").arg(minimum);
  lines << QStringLiteral("Dial-up charge: %1").arg(ExactMoney(session.DialCost, locale))
        << QStringLiteral("Time charge: %1").arg(ExactMoney(session.TimeCost, locale))
        << QStringLiteral("Data charge: %1").arg(ExactMoney(session.DataCost, locale))
        << QStringLiteral("Cost: %1").arg(ExactMoney(session.Cost, locale));
  return lines.join(QLatin1Char('\n'));
}

}  // namespace mirolat
