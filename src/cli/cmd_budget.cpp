// mirolat-cli budget [--json] [--at YYYY-MM-DD] [--log FILE] [--locale NAME]
// Each budget with a limit (the overall one, then the services'): its current
// cycle, what it used up to a day, the limit, the percent used, the linear
// projection to the cycle's end and the state. The exit status says the worst
// state, so that cron or a shell prompt can act on it.
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include "cli/cli_context.h"
#include "cli/commands.h"
#include "cli/report_run.h"
#include "core/planning/budget_status.h"
#include "core/planning/budget_text.h"

namespace mirolat::cli {

namespace {

const char* kBudgetUsage = "usage: mirolat-cli budget [--json] [--at YYYY-MM-DD] [--log FILE] [--locale NAME]\n";

const char* kBudgetHelp =
    "usage: mirolat-cli budget [--json] [--at YYYY-MM-DD] [--log FILE] [--locale NAME]\n"
    "\n"
    "Checks every budget that has a limit (the overall one of all services, then\n"
    "each service's) in its current billing cycle: the money, hours and megabytes\n"
    "used from the cycle's first day up to the day, the limit, the percent used,\n"
    "the projection to the cycle's last day (linear: the use so far spread over\n"
    "the days gone, times the cycle's days) and the state.\n"
    "\n"
    "  --json          the same as JSON, for scripts\n"
    "  --at YYYY-MM-DD the day to check on; default: today\n"
    "  --log FILE      the log; default: the configured modem log\n"
    "  --locale NAME   the locale of dates and money (e.g. en_US); default: the system's\n"
    "\n"
    "Exit status:\n"
    "  0   every budget is within its limits (also when no budget has a limit)\n"
    "  1   a warning threshold was passed\n"
    "  2   a budget was passed, or is projected to pass its limit by the cycle's end\n"
    "      (the state says which: \"Over budget\" or \"Projected over budget\")\n"
    "  3   the budgets could not be checked (an unknown locale, the log missing, corrupt\n"
    "      or not a modem log, an analysis that stopped)\n"
    "  64  a wrong command line\n";

constexpr int kExitFailed = 3;
constexpr int kExitUsage = 64;

QJsonObject LimitJson(const BudgetLimitStatus& l, const BudgetStatus& s, const LocaleValues& locale) {
  return QJsonObject{{QStringLiteral("Measure"), MeasureWord(l.Measure)},
                     {QStringLiteral("Limit"), l.Limit},
                     {QStringLiteral("Used"), l.Used},
                     {QStringLiteral("Percent"), l.Percent},
                     {QStringLiteral("Projected"), l.Projected},
                     {QStringLiteral("ProjectionMethod"), QStringLiteral("linear")},
                     {QStringLiteral("ThresholdPassed"), l.ThresholdPassed},
                     {QStringLiteral("State"), StateWord(l.State)},
                     {QStringLiteral("OverProjected"), l.OverProjected},
                     {QStringLiteral("Text"), LimitStateText(l)},
                     {QStringLiteral("Projection"), ProjectionText(s, l, locale)}};
}

QJsonObject StatusJson(const BudgetStatus& s, const LocaleValues& locale) {
  QJsonArray limits;
  for (const BudgetLimitStatus& l : s.Limits) limits.append(LimitJson(l, s, locale));
  return QJsonObject{{QStringLiteral("Service"), s.Service},
                     {QStringLiteral("Name"), s.Name},
                     {QStringLiteral("CycleFirst"), DateToIso(s.Cycle.First)},
                     {QStringLiteral("CycleLast"), DateToIso(s.Cycle.Last)},
                     {QStringLiteral("DaysElapsed"), s.DaysElapsed},
                     {QStringLiteral("DaysLeft"), s.DaysLeft},
                     {QStringLiteral("State"), StateWord(s.State)},
                     {QStringLiteral("Limits"), limits}};
}

void PrintStatus(QTextStream& out, const BudgetStatus& s, const LocaleValues& locale) {
  out << s.Name << ": cycle " << CycleText(s.Cycle, locale) << ", day " << s.DaysElapsed << " of "
      << s.Cycle.Days() << '\n';
  for (const BudgetLimitStatus& l : s.Limits) {
    out << "  " << MeasureWord(l.Measure) << ": " << MeasureFigure(l.Measure, l.Used, locale) << " of "
        << MeasureFigure(l.Measure, l.Limit, locale) << " (" << qRound64(l.Percent) << " %), "
        << ProjectionText(s, l, locale) << ": " << LimitStateText(l) << '\n';
  }
}

}  // namespace

const char* BudgetHelp() { return kBudgetHelp; }

int CmdBudget(const QStringList& arguments, QTextStream& out, QTextStream& err) {
  QStringList args = arguments;
  bool missing[3] = {};
  const QString logOption = TakeOption(args, QStringLiteral("--log"), &missing[0]);
  const QString atText = TakeOption(args, QStringLiteral("--at"), &missing[1]);
  const QString localeName = TakeOption(args, QStringLiteral("--locale"), &missing[2]);
  const bool json = args.removeAll(QStringLiteral("--json")) > 0;
  for (bool m : missing) {
    if (m) {
      err << "mirolat-cli budget: an option is missing its value\n" << kBudgetUsage;
      return kExitUsage;
    }
  }
  if (!args.isEmpty()) {
    err << "mirolat-cli budget: unexpected argument '" << args.first() << "'\n" << kBudgetUsage;
    return kExitUsage;
  }
  Date at = FromQDate(QDate::currentDate());
  if (!atText.isEmpty()) {
    const QDate d = QDate::fromString(atText, Qt::ISODate);
    if (!d.isValid() || atText.size() != 10) {
      err << "mirolat-cli budget: --at must be a date YYYY-MM-DD, not '" << atText << "'\n" << kBudgetUsage;
      return kExitUsage;
    }
    at = FromQDate(d);
  }

  CliContext context;
  if (!OpenCliContext(context, err, localeName, StoreUse::ReadOnly)) return kExitFailed;
  bool failed = false;
  const std::vector<BudgetStatus> statuses =
      BudgetStatuses(context.Config, at, [&](Date first, Date last) -> std::optional<ReportFigures> {
        AnalysedRange range;
        if (failed || !AnalyseRange(context, logOption, first, last, false, err, range) || range.failed) {
          failed = true;
          return std::nullopt;
        }
        return std::move(range.figures);
      });
  if (failed) {
    err << "mirolat-cli budget: the budgets could not be checked\n";
    return kExitFailed;
  }
  const BudgetState worst = WorstState(statuses);
  if (json) {
    QJsonArray budgets;
    for (const BudgetStatus& s : statuses) budgets.append(StatusJson(s, context.Locale));
    const QJsonObject root{{QStringLiteral("At"), DateToIso(at)},
                           {QStringLiteral("State"), StateWord(worst)},
                           {QStringLiteral("Budgets"), budgets}};
    out << QString::fromUtf8(QJsonDocument(root).toJson(QJsonDocument::Indented));
  } else if (statuses.empty()) {
    out << "No budget has a limit: nothing to check.\n";
  } else {
    for (const BudgetStatus& s : statuses) PrintStatus(out, s, context.Locale);
  }
  out.flush();
  return static_cast<int>(worst);
}

}  // namespace mirolat::cli
