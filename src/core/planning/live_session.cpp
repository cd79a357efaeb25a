#include "core/planning/live_session.h"

#include <algorithm>

#include "core/analysis/session_builder.h"
#include "core/common/formatting.h"
#include "core/common/mapped_file.h"
#include "core/costs/dial_tariffs.h"
#include "core/costs/service_charges.h"
#include "core/model/service_lookup.h"
#include "core/planning/budget_alerts.h"

namespace mirolat {
namespace {

class GoOnReporter final : public ErrorReporter {
 public:
  ErrorAnswer ReportError(const RunError&) override { return ErrorAnswer::Continue; }
};

qint64 Moment(Date date, TimeOfDay time) { return qint64(date) * kSecondsPerDay + time; }

// Seconds of connect..now inside [first, last], counted as a run counts a
// session it closes: whole days between in full, the connect day's part when
// it is in range, today's part when today is.
qint64 SecondsInRange(Date connectDate, TimeOfDay connectTime, Date today, TimeOfDay now, Date first) {
  if (Moment(today, now) < Moment(connectDate, connectTime)) return 0;
  if (today == connectDate) return now - connectTime;
  qint64 seconds = qint64(std::max(0, today - connectDate - 1)) * kSecondsPerDay;
  if (connectDate >= first) seconds += kLastSecondOfDay - connectTime + 1;
  return seconds + now;
}

// One pass over the log for [first, today], closing nothing at its end: the
// totals of the sessions that ended, and of the one still open up to now.
struct Pass {
  UsageTotals Totals;
  std::optional<LiveSession> Open;
};

// A pass that starts long before today may meet a connect the day's pass
// leaves for stale: `countOpen` tells whether it is the session in progress.
Pass RunPass(const Configuration& config, const LocaleValues& locale, QByteArrayView text, Date first, Date today,
             TimeOfDay now, bool countOpen = true) {
  RunInputs inputs;
  inputs.config = &config;
  inputs.locale = &locale;
  inputs.ReportStartDate = first;
  inputs.ReportEndDate = today;
  RunState run;
  NullProgress quiet;
  GoOnReporter reporter;
  SessionBuilder builder(inputs, run, quiet, reporter);
  builder.StartRun();
  builder.ProcessLogText(text);

  Pass pass;
  for (int i = 0; i <= run.Tables.ServiceTotalsCount; ++i) {
    const ServiceTotal& entry = run.Tables.ServiceTotals[std::size_t(i)];
    pass.Totals.Cost += entry.TotalCost;
    pass.Totals.Seconds += entry.TotalSeconds;
    pass.Totals.Sessions += entry.TotalSessions;
  }
  if (!run.InSession || !run.KeepGoing || !countOpen) return pass;

  const ServiceTotal& entry = run.Tables.ServiceTotals[std::size_t(run.CurrentService)];
  const Date connectDate = run.CurConnectDate;
  const TimeOfDay connectTime = run.CurConnectTime;
  // Its share of the range, priced with the allowances the range's sessions used.
  {
    PeriodUsage usage = run.Usage;
    PricingContext ctx = builder.Pricing();
    ctx.usage = &usage;
    const qint64 seconds = SecondsInRange(connectDate, connectTime, today, now, first);
    pass.Totals.Cost += CalcDialCost(ctx, entry.Number, connectDate, connectTime, today, now, nullptr).cost +
                        CalcServiceTimeCost(ctx, entry.Number, qint32(seconds), connectDate);
    pass.Totals.Seconds += seconds;
    pass.Totals.Sessions += 1;
  }
  // The whole of it, from the connect.
  LiveSession live;
  live.Number = run.Tables.Sessions[std::size_t(run.Tables.SessionCount)].Number;
  live.ServiceName = ServiceDisplayName(config, live.Number);
  live.ConnectDate = connectDate;
  live.ConnectTime = connectTime;
  live.Seconds = SecondsInRange(connectDate, connectTime, today, now, connectDate);
  PeriodUsage usage = run.Usage;
  PricingContext ctx = builder.Pricing();
  ctx.usage = &usage;
  ctx.ReportStartDate = std::min(ctx.ReportStartDate, connectDate);
  live.Cost = CalcDialCost(ctx, entry.Number, connectDate, connectTime, today, now, nullptr).cost +
              CalcServiceTimeCost(ctx, entry.Number, qint32(live.Seconds), connectDate);
  pass.Open = live;
  return pass;
}

QString TotalsText(const UsageTotals& totals, const LocaleValues& locale, bool withCosts) {
  QString text = FormatDuration(float(totals.Seconds)) +
                 (totals.Sessions == 1 ? QStringLiteral(", 1 session") : QStringLiteral(", %1 sessions").arg(totals.Sessions));
  if (withCosts) text += QStringLiteral(", ") + FormatMoney(totals.Cost, 2, locale);
  return text;
}

}  // namespace

QStringList LiveStatusLines(const LiveStatus& status, const LocaleValues& locale, bool withCosts) {
  QStringList lines;
  if (const std::optional<LiveSession>& s = status.Session) {
    lines << (s->ServiceName == s->Number ? QStringLiteral("Connected: ") + s->Number
                                          : QStringLiteral("Connected: %1 (%2)").arg(s->ServiceName, s->Number));
    QString since = TimeToText(s->ConnectTime);
    if (s->ConnectDate != status.Today) {
      since = locale.Locale.toString(ToQDate(s->ConnectDate), QLocale::ShortFormat) + QLatin1Char(' ') + since;
    }
    QString line = QStringLiteral("Since %1 (%2)").arg(since, FormatDuration(float(s->Seconds)));
    if (withCosts) line += QStringLiteral(", ") + FormatMoney(s->Cost, 2, locale) + QStringLiteral(" so far");
    lines << line;
  } else {
    lines << QStringLiteral("No connection");
  }
  lines << QStringLiteral("Today: ") + TotalsText(status.TodayTotals, locale, withCosts);
  lines << QStringLiteral("This cycle (%1): %2")
               .arg(CycleText(status.Cycle, locale.Locale), TotalsText(status.CycleTotals, locale, withCosts));
  return lines;
}

LiveStatus LiveStatusOfLog(const Configuration& config, const LocaleValues& locale, QByteArrayView text, Date today,
                           TimeOfDay now) {
  LiveStatus status;
  status.Today = today;
  status.Cycle = CycleContaining(config.OverallBudget, today);
  Pass day = RunPass(config, locale, text, today, today, now);
  status.TodayTotals = day.Totals;
  status.Session = std::move(day.Open);
  status.CycleTotals =
      status.Cycle.First == today
          ? status.TodayTotals
          : RunPass(config, locale, text, status.Cycle.First, today, now, status.Session.has_value()).Totals;
  return status;
}

std::optional<LiveStatus> LiveStatusOfFile(const Configuration& config, const LocaleValues& locale,
                                           const QString& path, Date today, TimeOfDay now) {
  MappedFile file;
  try {
    file.Open(path);
  } catch (const RunError&) {
    return std::nullopt;
  }
  return LiveStatusOfLog(config, locale, file.data(), today, now);
}

}  // namespace mirolat
