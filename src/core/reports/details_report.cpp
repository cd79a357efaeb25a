#include "reports/details_report.h"

#include <algorithm>
#include <cmath>

#include "analysis/service_identification.h"
#include "costs/dial_tariffs.h"
#include "costs/formatting.h"
#include "costs/service_charges.h"

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

DetailsReport BuildDetailsReport(SessionTable& tables, const ReportInputs& inputs, Progress& progress) {
  const Configuration& config = *inputs.config;
  const LocaleValues& locale = *inputs.locale;
  const bool costs = config.CalcCosts;
  const int k = DetailsCostWidth(locale, costs);

  DetailsReport result;
  result.CostsShown = costs;
  ReportModel& model = result.Model;
  model.Kind = ReportKind::Details;

  // Usage counters of this report alone: allowances are consumed again in
  // session order.
  PeriodUsage usage;
  PricingContext pricing;
  pricing.config = &config;
  pricing.locale = &locale;
  pricing.ReportStartDate = inputs.ReportStartDate;
  pricing.ReportEndDate = inputs.ReportEndDate;
  pricing.usage = &usage;

  // Columns.
  model.Columns = {
      {QString(), ColumnAlignment::Left, kDefaultColumnTwips},
      {QStringLiteral("Service"), ColumnAlignment::Left, kDefaultColumnTwips},
      {QStringLiteral("Status"), ColumnAlignment::Centre, kDefaultColumnTwips},
      {QStringLiteral("Date"), ColumnAlignment::Centre, kDefaultColumnTwips},
      {QStringLiteral("Time"), ColumnAlignment::Centre, kDefaultColumnTwips},
      {QStringLiteral("Duration"), ColumnAlignment::Centre, kDefaultColumnTwips},
  };
  if (costs) model.Columns.push_back({QStringLiteral("Cost "), ColumnAlignment::Right, kDefaultColumnTwips});
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
  const int sessionCount = tables.SessionCount;
  model.NoConnShown = sessionCount == 0;

  QString text;
  text.reserve(qsizetype(sessionCount) * (260 + 2 * k) + 1024);
  text += QStringLiteral(" MIROLAT - Details Report\n\n");
  text += QStringLiteral(" Beginning: ") + ShortDateText(inputs.ReportStartDate, locale);
  if (warn) text += QStringLiteral("    WARNING: Errors found in log.");
  text += QLatin1Char('\n');
  text += QStringLiteral(" Ending:    ") + ShortDateText(inputs.ReportEndDate, locale);
  if (warn) text += QStringLiteral("      Report may not be accurate.");
  text += QLatin1Char('\n');
  text += QStringLiteral(" Period:    ") + model.RepPeriod + QLatin1Char('\n');
  text += QLatin1Char('\n');
  text += QLatin1Char(' ') + QString(52 + k, QLatin1Char('-')) + QLatin1Char('\n');
  text += QLatin1Char('\n');

  const QString sessionRule = QStringLiteral("    ") + QString(49 + k, QLatin1Char('-')) + QLatin1Char('\n');
  const QString connectLabel = QStringLiteral("    Connect:    ");
  const QString disconnectLabel = QStringLiteral("    Disconnect: ");
  const QString indent(4, QLatin1Char(' '));
  const QString errorIndent(16, QLatin1Char(' '));

  float totalSeconds = 0;
  double totalCost = 0;
  int shownPercent = -1;
  model.Rows.reserve(std::size_t(sessionCount) * 2 + 2);
  result.Figures.reserve(std::size_t(sessionCount));

  for (int i = 1; i <= sessionCount; ++i) {
    const int percent = int(double(i) / sessionCount * 100);
    if (percent != shownPercent) {
      shownPercent = percent;
      progress.SetStatus(QStringLiteral("Processing . . .  ") + QString::number(percent) + QLatin1Char('%'));
      progress.SetPercent(percent);
      progress.Yield();
    }

    Session& session = tables.Sessions[std::size_t(i)];
    const bool errorSession = session.Notes.toUpper().contains(QLatin1String("ERROR"));
    if (errorSession && !config.ShowErrors) continue;

    const QString name = ServiceDisplayName(config, session.Number);
    text += QLatin1Char(' ') + name + QLatin1Char('\n');

    // Duration inside the range; the midnight remark joins the notes.
    const QString kept = session.Notes;
    const qint32 seconds = qint32(std::lround(SessionSecondsInRange(session, inputs.ReportStartDate, inputs.ReportEndDate)));
    const QString duration = FormatDuration(float(seconds));
    if (session.Notes.isEmpty()) {
      session.Notes = kept;
    } else if (session.Notes != kept) {
      session.Notes = kept + QStringLiteral(" -") + session.Notes;
    }

    DetailFigures figures;
    figures.Index = i;
    figures.Seconds = seconds;
    QString costText;
    QString breakdown;
    if (costs) {
      if (!session.Answered) {
        figures.DialCost = CalcDialCost(pricing, session.Number, session.ConnectDate, session.ConnectTime,
                                        session.DisconnectDate, session.DisconnectTime, &session.Notes)
                               .cost;
        figures.ServiceCost = CalcServiceTimeCost(pricing, session.Number, seconds, session.ConnectDate);
        figures.DataCost = CalcServiceDataCost(pricing, session.Number, double(session.BytesRead), session.ConnectDate);
        figures.Cost = figures.DialCost + figures.ServiceCost + figures.DataCost;
      }
      totalCost += figures.Cost;
      costText = FormatMoney(figures.Cost, 0, locale);
      breakdown = QStringLiteral(" Dialup: ") + FormatMoney(figures.DialCost, 0, locale) +
                  QStringLiteral(" - Service: ") + FormatMoney(figures.ServiceCost, 0, locale) +
                  QStringLiteral(" - Data: ") + FormatMoney(figures.DataCost, 0, locale);
    }
    figures.Notes = session.Notes;

    const QString connectDate = ShortDateText(session.ConnectDate, locale);
    const QString connectTime = AmPmTimeText(session.ConnectTime, locale);
    const QString disconnectDate = ShortDateText(session.DisconnectDate, locale);
    const QString disconnectTime = AmPmTimeText(session.DisconnectTime, locale);
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
    if (errorSession) {
      first[kStatus] = QStringLiteral("E R R O R");
      first[notesColumn] = CleanNotes(QStringView(session.Notes).mid(std::min<qsizetype>(8, session.Notes.size())));
      text += errorIndent + connectDate + QLatin1Char(' ') + connectTime + QLatin1Char('\n');
      text += indent + cleaned + QLatin1Char('\n');
    } else {
      first[kStatus] = QStringLiteral("Connect");
      first[notesColumn] = cleaned;
      second[kStatus] = QStringLiteral("Disconnect");
      text += connectLabel + connectDate + QLatin1Char(' ') + connectTime + QLatin1Char('\n');
      text += disconnectLabel + disconnectDate + QLatin1Char(' ') + disconnectTime + QLatin1Char('\n');
      if (!session.Notes.isEmpty()) text += indent + cleaned + QLatin1Char('\n');
    }
    model.Rows.push_back(ReportRow{first});
    model.Rows.push_back(ReportRow{second});

    text += sessionRule;
    text += indent + PadLeftTo(duration, 49);
    if (costs) text += PadLeftTo(costText, k);
    text += QStringLiteral("\n\n");

    totalSeconds += float(seconds);
    result.Figures.push_back(std::move(figures));
  }

  const QString totalDuration = FormatDuration(totalSeconds);
  const QString totalCostText = FormatMoney(totalCost, 0, locale);
  if (sessionCount > 0) {
    QStringList dashes(columnCount, QString(100, QLatin1Char('-')));
    dashes[0] = QString();
    model.Rows.push_back(ReportRow{dashes});
    QStringList totals(columnCount);
    totals[kService] = QStringLiteral("Totals:");
    totals[kDuration] = totalDuration;
    if (costs) totals[kCost] = totalCostText;
    model.Rows.push_back(ReportRow{totals});
  }
  QString totalsLine = QStringLiteral("Totals: ") + totalDuration;
  if (costs) totalsLine += PadLeftTo(totalCostText, k);
  text += PadLeftTo(totalsLine, 53 + k);
  text += QStringLiteral("\n\n");

  model.Text = text;
  return result;
}

}  // namespace mirolat
