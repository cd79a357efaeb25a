#include "core/reports/details_report.h"

#include <algorithm>
#include <cmath>

#include "core/analysis/service_identification.h"
#include "core/common/formatting.h"
#include "core/costs/dial_tariffs.h"
#include "core/costs/service_charges.h"

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

// Does the text, upper-cased, contain "ERROR"? Plain ASCII notes (all of them
// in practice) are searched without making the upper-cased copy.
bool HasErrorMark(const QString& notes) {
  const QChar* p = notes.constData();
  const qsizetype n = notes.size();
  bool ascii = true;
  for (qsizetype i = 0; i < n && ascii; ++i) ascii = p[i].unicode() < 0x80;
  if (!ascii) return notes.toUpper().contains(QLatin1String("ERROR"));
  static constexpr char16_t kMark[] = u"ERROR";
  for (qsizetype i = 0; i + 5 <= n; ++i) {
    qsizetype k = 0;
    while (k < 5) {
      char16_t c = p[i + k].unicode();
      if (c >= u'a' && c <= u'z') c = char16_t(c - (u'a' - u'A'));
      if (c != kMark[k]) break;
      ++k;
    }
    if (k == 5) return true;
  }
  return false;
}

// The display names of the numbers met so far (ServiceDisplayName), in order
// of first appearance: a report names a handful of numbers over and over.
// Each row refers to its name here (the texts are shared, never copied).
class DisplayNames {
 public:
  explicit DisplayNames(const Configuration& config) : config_(config) {}
  const QString& Name(const QString& number) {
    for (const auto& [known, name] : names_) {
      if (known == number) return name;
    }
    names_.emplace_back(number, ServiceDisplayName(config_, number));
    return names_.back().second;
  }

 private:
  const Configuration& config_;
  std::vector<std::pair<QString, QString>> names_;
};

}  // namespace

int DetailsCostWidth(const LocaleValues& locale, bool costsShown) {
  return costsShown ? MoneyColumnWidth(locale, 8) : 0;
}

DetailsReport BuildDetailsReport(SessionTable& tables, const ReportInputs& inputs, Progress& progress, bool listRows) {
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
  const int sessionCount = tables.SessionCount;
  model.NoConnShown = sessionCount == 0;

  QString text;
  text.reserve(qsizetype(sessionCount) * (260 + 2 * k) + 1024);
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
  DisplayNames names(config);

  float totalSeconds = 0;
  double totalCost = 0;
  int shownPercent = -1;
  if (listRows) model.Rows.reserve(std::size_t(sessionCount) * 2 + 2);
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
    const bool errorSession = HasErrorMark(session.Notes);
    if (errorSession && !config.ShowErrors) continue;

    const QString& name = names.Name(session.Number);
    text += QLatin1Char(' ');
    text += name;
    text += QLatin1Char('\n');

    // Duration inside the range; the midnight remark joins the notes once, so
    // that building the report again gives the same notes.
    QString kept = session.Notes;
    const qint32 seconds = qint32(std::lround(SessionSecondsInRange(session, inputs.ReportStartDate, inputs.ReportEndDate)));
    const QString duration = FormatDuration(float(seconds));
    if (!session.Notes.isEmpty() && !kept.contains(session.Notes)) {
      kept += QStringLiteral(" -");
      kept += session.Notes;
    }
    session.Notes = std::move(kept);

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
      breakdown.reserve(64);
      breakdown += QStringLiteral(" Dialup: ");
      AppendMoney(breakdown, figures.DialCost, 0, locale);
      breakdown += QStringLiteral(" - Service: ");
      AppendMoney(breakdown, figures.ServiceCost, 0, locale);
      breakdown += QStringLiteral(" - Data: ");
      AppendMoney(breakdown, figures.DataCost, 0, locale);
    }
    figures.Notes = session.Notes;

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
    if (errorSession) {
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
      if (costs) secondValues[kCost] = figures.Cost;
      model.Rows.push_back(ReportRow{std::move(first), std::move(firstValues)});
      model.Rows.push_back(ReportRow{std::move(second), std::move(secondValues), RowRole::EntryContinued});
    }

    text += sessionRule;
    text += indent;
    AppendPadLeft(text, duration, 49);
    if (costs) AppendPadLeft(text, costText, k);
    text += QStringLiteral("\n\n");

    totalSeconds = AddSeconds(totalSeconds, seconds);
    result.Figures.push_back(std::move(figures));
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
