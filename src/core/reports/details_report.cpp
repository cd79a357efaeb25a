#include "core/reports/details_report.h"

#include <algorithm>
#include <cmath>

#include "core/common/formatting.h"

namespace mirolat {

namespace {

constexpr int kNotesTwips = 4000;

// Column positions in a row (0 is the untitled first column).
constexpr int kService = 1;
constexpr int kStatus = 2;
constexpr int kDate = 3;
constexpr int kTime = 4;
constexpr int kDuration = 5;
constexpr int kCost = 6;  // only when costs are shown

}  // namespace

int DetailsCostWidth(const LocaleValues& locale, bool costsShown) {
  return costsShown ? MoneyColumnWidth(locale, 8) : 0;
}

DetailsReport BuildDetailsReport(SessionTable& tables, const ReportInputs& inputs, Progress& progress, bool listRows) {
  return BuildDetailsReport(BuildReportFigures(tables, inputs, progress), inputs, listRows);
}

DetailsReport BuildDetailsReport(const ReportFigures& figures, const ReportInputs& inputs, bool listRows) {
  const Configuration& config = *inputs.config;
  const LocaleValues& locale = *inputs.locale;
  const bool costs = figures.CostsShown;
  const int k = DetailsCostWidth(locale, costs);

  DetailsReport result;
  result.CostsShown = costs;
  ReportModel& model = result.Model;
  model.Kind = ReportKind::Details;

  // Columns.
  model.Columns = {
      {QString(), ColumnAlignment::Left, kDefaultColumnTwips},
      {QStringLiteral("Service"), ColumnAlignment::Left, kDefaultColumnTwips},
      {QStringLiteral("Status"), ColumnAlignment::Centre, kDefaultColumnTwips},
      {QStringLiteral("Date"), ColumnAlignment::Centre, kDefaultColumnTwips, true},
      {QStringLiteral("Time"), ColumnAlignment::Centre, kDefaultColumnTwips, true},
      {QStringLiteral("Duration"), ColumnAlignment::Centre, kDefaultColumnTwips, true},
  };
  if (costs) model.Columns.push_back({QStringLiteral("Cost "), ColumnAlignment::Right, kDefaultColumnTwips, true});
  model.Columns.push_back({QStringLiteral(" Notes"), ColumnAlignment::Left, kNotesTwips});
  ApplyColumnWidths(model, config.DetailReport);
  const int columnCount = int(model.Columns.size());
  const int notesColumn = columnCount - 1;

  // Title block and header panel.
  const bool warn = inputs.ErrorsFound && config.ShowErrors;
  model.RepTitle = QStringLiteral("MIROLAT - Details Report");
  model.RepBegin = LongDateText(inputs.ReportStartDate, locale);
  model.RepEnd = LongDateText(inputs.ReportEndDate, locale);
  model.RepPeriod = PeriodText(inputs.PeriodDays());
  model.WarningShown = warn;
  const int sessionCount = figures.SessionCount;
  model.NoConnShown = sessionCount == 0;

  QString text;
  text.reserve(qsizetype(figures.Sessions.size()) * (260 + 2 * k) + 1024);
  text += QStringLiteral(" MIROLAT - Details Report\n\n");
  text += QStringLiteral(" Beginning: ");
  text += ShortDateText(inputs.ReportStartDate, locale);
  if (warn) text += QStringLiteral("    WARNING: Errors found in log.");
  text += QLatin1Char('\n');
  text += QStringLiteral(" Ending:    ");
  text += ShortDateText(inputs.ReportEndDate, locale);
  if (warn) text += QStringLiteral("      Report may not be accurate.");
  text += QLatin1Char('\n');
  text += QStringLiteral(" Period:    ");
  text += model.RepPeriod;
  text += QLatin1Char('\n');
  text += QLatin1Char('\n');
  text += QLatin1Char(' ');
  text += QString(52 + k, QLatin1Char('-'));
  text += QLatin1Char('\n');
  text += QLatin1Char('\n');

  const QString sessionRule = QStringLiteral("    ") + QString(49 + k, QLatin1Char('-')) + QLatin1Char('\n');
  const QString connectLabel = QStringLiteral("    Connect:    ");
  const QString disconnectLabel = QStringLiteral("    Disconnect: ");
  const QString indent(4, QLatin1Char(' '));
  const QString errorIndent(16, QLatin1Char(' '));
  const QString errorStatus = QStringLiteral("E R R O R");
  const QString connectStatus = QStringLiteral("Connect");
  const QString disconnectStatus = QStringLiteral("Disconnect");

  DateTextCache dates(locale);
  const AmPmTimeWriter times(locale);

  float totalSeconds = 0;
  double totalCost = 0;
  if (listRows) model.Rows.reserve(figures.Sessions.size() * 2 + 2);
  result.Figures.reserve(figures.Sessions.size());

  for (const SessionFigures& session : figures.Sessions) {
    const QString& name = session.Name;
    text += QLatin1Char(' ');
    text += name;
    text += QLatin1Char('\n');

    const qint32 seconds = session.Seconds;
    const QString duration = FormatDuration(float(seconds));
    result.Figures.push_back(DetailFigures{session.Index, seconds, session.DialCost, session.TimeCost,
                                           session.DataCost, session.Cost, session.Notes});
    QString costText;
    QString breakdown;
    if (costs) {
      totalCost += session.Cost;
      costText = FormatMoney(session.Cost, 0, locale);
      breakdown.reserve(64);
      breakdown += QStringLiteral(" Dialup: ");
      AppendMoney(breakdown, session.DialCost, 0, locale);
      breakdown += QStringLiteral(" - Service: ");
      AppendMoney(breakdown, session.TimeCost, 0, locale);
      breakdown += QStringLiteral(" - Data: ");
      AppendMoney(breakdown, session.DataCost, 0, locale);
    }

    const QString& connectDate = dates.Text(session.ConnectDate);
    const QString connectTime = times.Text(session.ConnectTime);
    const QString& disconnectDate = dates.Text(session.DisconnectDate);
    const QString disconnectTime = times.Text(session.DisconnectTime);
    const QString cleaned = CleanNotes(session.Notes);

    QStringList first(columnCount);
    QStringList second(columnCount);
    first[kService] = name;
    first[kDate] = connectDate;
    first[kTime] = connectTime;
    second[kDate] = disconnectDate;
    second[kTime] = disconnectTime;
    second[kDuration] = duration;
    if (costs) {
      second[kCost] = costText;
      second[notesColumn] = breakdown;
    }
    if (session.Error) {
      first[kStatus] = errorStatus;
      first[notesColumn] = CleanNotes(QStringView(session.Notes).mid(std::min<qsizetype>(8, session.Notes.size())));
      text += errorIndent;
      text += connectDate;
      text += QLatin1Char(' ');
      text += connectTime;
      text += QLatin1Char('\n');
      text += indent;
      text += cleaned;
      text += QLatin1Char('\n');
    } else {
      first[kStatus] = connectStatus;
      first[notesColumn] = cleaned;
      second[kStatus] = disconnectStatus;
      text += connectLabel;
      text += connectDate;
      text += QLatin1Char(' ');
      text += connectTime;
      text += QLatin1Char('\n');
      text += disconnectLabel;
      text += disconnectDate;
      text += QLatin1Char(' ');
      text += disconnectTime;
      text += QLatin1Char('\n');
      if (!session.Notes.isEmpty()) {
        text += indent;
        text += cleaned;
        text += QLatin1Char('\n');
      }
    }
    if (listRows) {
      std::vector<double> firstValues(std::size_t(columnCount), 0.0);
      std::vector<double> secondValues(std::size_t(columnCount), 0.0);
      firstValues[kDate] = session.ConnectDate;
      firstValues[kTime] = session.ConnectTime;
      secondValues[kDate] = session.DisconnectDate;
      secondValues[kTime] = session.DisconnectTime;
      secondValues[kDuration] = seconds;
      if (costs) secondValues[kCost] = session.Cost;
      model.Rows.push_back(ReportRow{std::move(first), std::move(firstValues)});
      model.Rows.push_back(ReportRow{std::move(second), std::move(secondValues), RowRole::EntryContinued});
    }

    text += sessionRule;
    text += indent;
    AppendPadLeft(text, duration, 49);
    if (costs) AppendPadLeft(text, costText, k);
    text += QStringLiteral("\n\n");

    totalSeconds = AddSeconds(totalSeconds, seconds);
  }

  const QString totalDuration = FormatDuration(totalSeconds);
  const QString totalCostText = FormatMoney(totalCost, 0, locale);
  if (sessionCount > 0 && listRows) {
    QStringList dashes(columnCount, QString(100, QLatin1Char('-')));
    dashes[0] = QString();
    model.Rows.push_back(ReportRow{dashes, {}, RowRole::Rule});
    QStringList totals(columnCount);
    totals[kService] = QStringLiteral("Totals:");
    totals[kDuration] = totalDuration;
    if (costs) totals[kCost] = totalCostText;
    model.Rows.push_back(ReportRow{totals, {}, RowRole::Totals});
  }
  QString totalsLine = QStringLiteral("Totals: ") + totalDuration;
  if (costs) totalsLine += PadLeftTo(totalCostText, k);
  text += PadLeftTo(totalsLine, 53 + k);
  text += QStringLiteral("\n\n");

  model.Text = text;
  return result;
}

}  // namespace mirolat
