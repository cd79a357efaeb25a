#include "core/reports/summary_report.h"

#include "core/common/formatting.h"

namespace mirolat {

namespace {

struct SummaryColumn {
  const char* title;
  ColumnAlignment alignment;
};

// The report's columns after the untitled first one; the last (Cost) only
// when costs are shown.
constexpr SummaryColumn kColumns[] = {
    {"Service", ColumnAlignment::Left},       {"Mirolat", ColumnAlignment::Centre},
    {"Sessions", ColumnAlignment::Centre},    {"Av/Session", ColumnAlignment::Centre},
    {"Av/Day", ColumnAlignment::Centre},      {"Kilobytes", ColumnAlignment::Right},
    {"Cost", ColumnAlignment::Right},
};

constexpr int kKilobytesColumn = 5;  // 0-based among kColumns
constexpr int kCostColumn = 6;

// One line of the text: a blank, then each cell padded to its column, right
// aligned in the Kilobytes and Cost columns.
QString TextLine(const QStringList& cells, const std::vector<int>& widths) {
  QString line(1, QLatin1Char(' '));
  for (std::size_t c = 0; c < widths.size(); ++c) {
    const QString& cell = cells[qsizetype(c)];
    const bool right = c == kKilobytesColumn || c == kCostColumn;
    line += right ? PadLeftTo(cell, widths[c]) : PadRightTo(cell, widths[c]);
  }
  line += QLatin1Char('\n');
  return line;
}

}  // namespace

SummaryEntries ListedSummaryEntries(const SessionTable& tables) {
  SummaryEntries e;
  if (tables.ServiceTotals.empty()) return e;
  e.listed = !tables.ServiceTotals[0].Number.isEmpty() || tables.ServiceTotalsCount > 0;
  if (!e.listed) return e;
  e.first = tables.ServiceTotals[0].TotalSeconds > 0 ? 0 : 1;
  e.last = tables.ServiceTotalsCount;
  return e;
}

std::vector<int> SummaryTextWidths(const LocaleValues& locale, bool costsShown) {
  std::vector<int> widths = {16, 15, 11, 13, 8, MoneyColumnWidth(locale, 9)};
  if (costsShown) widths.push_back(MoneyColumnWidth(locale, 8));
  return widths;
}

ReportModel BuildSummaryReport(const SessionTable& tables, const ReportInputs& inputs) {
  // The Summary reads no session: the figures of none are enough.
  SessionTable totals;
  totals.ServiceTotals = tables.ServiceTotals;
  totals.ServiceTotalsCount = tables.ServiceTotalsCount;
  NullProgress quiet;
  return BuildSummaryReport(BuildReportFigures(totals, inputs, quiet), inputs);
}

ReportModel BuildSummaryReport(const ReportFigures& figures, const ReportInputs& inputs) {
  const Configuration& config = *inputs.config;
  const LocaleValues& locale = *inputs.locale;
  const bool costs = figures.CostsShown;
  const int periodDays = inputs.PeriodDays();
  const std::vector<int> widths = SummaryTextWidths(locale, costs);
  const int shown = int(widths.size());

  ReportModel model;
  model.Kind = ReportKind::Summary;
  model.Columns.push_back(ReportColumn{QString(), ColumnAlignment::Left, kDefaultColumnTwips});
  for (int c = 0; c < shown; ++c) {
    // Every column but the service's holds a time, a count or an amount.
    model.Columns.push_back(
        ReportColumn{QString::fromLatin1(kColumns[c].title), kColumns[c].alignment, kDefaultColumnTwips, c > 0});
  }
  ApplyColumnWidths(model, config.SummaryReport);

  // Title block and header panel.
  const bool warn = inputs.ErrorsFound && config.ShowErrors;
  model.RepTitle = QStringLiteral("MIROLAT - Summary Report");
  model.RepBegin = LongDateText(inputs.ReportStartDate, locale);
  model.RepEnd = LongDateText(inputs.ReportEndDate, locale);
  model.RepPeriod = PeriodText(periodDays);
  model.WarningShown = warn;

  QString text;
  text += QStringLiteral(" MIROLAT - Summary Report\n\n");
  text += QStringLiteral(" Beginning: ") + model.RepBegin;
  if (warn) text += QStringLiteral("        WARNING: Errors found in log!");
  text += QLatin1Char('\n');
  text += QStringLiteral(" Ending:    ") + model.RepEnd;
  if (warn) text += QStringLiteral("                 Check details report.");
  text += QLatin1Char('\n');
  text += QStringLiteral(" Period:    ") + model.RepPeriod + QLatin1Char('\n');

  // Column block.
  int ruleWidth = 0;
  for (int w : widths) ruleWidth += w;
  const QString rule = QLatin1Char(' ') + QString(ruleWidth, QLatin1Char('-')) + QLatin1Char('\n');
  text += QStringLiteral(" \n");
  text += rule;
  QStringList titles;
  for (int c = 0; c < shown; ++c) titles << QString::fromLatin1(kColumns[c].title);
  text += TextLine(titles, widths);
  text += rule;

  // Rows.
  const bool listed = figures.NumbersListed;
  float totalSeconds = 0;
  qint64 totalSessions = 0;
  double totalKilobytes = 0;
  double totalCost = 0;
  if (listed) {
    model.Rows.reserve(figures.Numbers.size() + 2);
    for (const NumberFigures& entry : figures.Numbers) {
      const double kilobytes = double(entry.BytesRead) / 1024.0;
      const double cost = entry.Cost;
      // An entry whose calls never connected has no sessions: no average.
      const float perSessionSeconds = entry.Sessions > 0 ? float(double(entry.Seconds) / entry.Sessions) : 0.0f;
      const float perDaySeconds = float(double(entry.Seconds) / periodDays);
      QStringList cells;
      cells << QString() << entry.Name << FormatDuration(float(entry.Seconds)) << QString::number(entry.Sessions)
            << FormatDuration(perSessionSeconds) << FormatDuration(perDaySeconds)
            << FormatWholeNumber(kilobytes, locale);
      if (costs) cells << FormatMoney(cost, 0, locale);
      QStringList textCells = cells.mid(1);
      textCells[0] = entry.Number;
      text += TextLine(textCells, widths);
      std::vector<double> values = {0,
                                    0,
                                    double(entry.Seconds),
                                    double(entry.Sessions),
                                    perSessionSeconds,
                                    perDaySeconds,
                                    ShownWholeNumber(kilobytes, locale)};
      if (costs) values.push_back(ShownMoney(cost, locale));
      model.Rows.push_back(ReportRow{cells, std::move(values)});

      totalSeconds = AddSeconds(totalSeconds, entry.Seconds);
      totalSessions += entry.Sessions;
      totalKilobytes += ShownWholeNumber(kilobytes, locale);
      if (costs) totalCost += ShownMoney(cost, locale);
    }
  } else {
    text += QStringLiteral("\n No Connections Made During his Period.\n");
  }
  model.NoConnShown = !listed;

  const QString totalTime = FormatDuration(totalSeconds);
  const QString totalKbText = FormatWholeNumber(totalKilobytes, locale);
  const QString totalCostText = FormatMoney(totalCost, 0, locale);
  if (listed) {
    QStringList dashes(shown + 1, QString(100, QLatin1Char('-')));
    dashes[0] = QString();
    model.Rows.push_back(ReportRow{dashes, {}, RowRole::Rule});
    QStringList totals(shown + 1);
    totals[1] = QStringLiteral("Totals:");
    totals[2] = totalTime;
    totals[3] = QString::number(totalSessions);
    totals[kKilobytesColumn + 1] = totalKbText;
    if (costs) totals[kCostColumn + 1] = totalCostText;
    model.Rows.push_back(ReportRow{totals, {}, RowRole::Totals});
  }

  text += rule;
  QString totalsLine = PadRightTo(QStringLiteral(" Totals:"), widths[0] + 1);
  totalsLine += PadRightTo(totalTime, widths[1]);
  totalsLine += PadRightTo(QString::number(totalSessions), widths[2]);
  totalsLine += QString(widths[3] + widths[4], QLatin1Char(' '));
  totalsLine += PadLeftTo(totalKbText, widths[kKilobytesColumn]);
  if (costs) totalsLine += PadLeftTo(totalCostText, widths[kCostColumn]);
  text += totalsLine + QLatin1Char('\n');

  model.Text = text;
  return model;
}

}  // namespace mirolat
