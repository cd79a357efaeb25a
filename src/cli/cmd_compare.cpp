// mirolat-cli compare --from YYYY-MM-DD --to YYYY-MM-DD [--plan FILE.json]...
//                     [--json] [--log FILE] [--locale NAME]
// What the dialled sessions of a range would have cost under each configured
// service's plan and under candidate plans from files, ranked by total.
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include "cli/cli_context.h"
#include "cli/commands.h"
#include "cli/report_run.h"
#include "core/common/formatting.h"
#include "core/common/small_file.h"
#include "core/planning/plan_comparison.h"

namespace mirolat::cli {

namespace {

const char* kCompareUsage =
    "usage: mirolat-cli compare --from YYYY-MM-DD --to YYYY-MM-DD [--plan FILE.json]...\n"
    "                           [--json] [--log FILE] [--locale NAME]\n";
constexpr qint64 kMaxPlanFileBytes = 4 * 1024 * 1024;

QString Signed(double amount, const LocaleValues& locale) {
  const QString text = FormatMoney(amount, locale.CurrencyDigits, locale);
  return amount > 0 && text != FormatMoney(0, locale.CurrencyDigits, locale) ? QLatin1Char('+') + text : text;
}

QString Notes(const PlanPrice& plan) {
  QStringList notes;
  notes << (plan.ConfiguredService >= 0 ? QStringLiteral("configured") : QStringLiteral("candidate"));
  if (plan.IncompleteTariffs) notes << QStringLiteral("incomplete tariffs");
  return notes.join(QStringLiteral(", "));
}

void WriteText(const PlanComparison& c, Date from, Date to, const LocaleValues& locale, QTextStream& out) {
  auto money = [&](double v) { return FormatMoney(v, locale.CurrencyDigits, locale); };
  out << "Plans compared from " << ToQDate(from).toString(Qt::ISODate) << " to " << ToQDate(to).toString(Qt::ISODate)
      << ": " << c.SessionsCounted << (c.SessionsCounted == 1 ? " session" : " sessions")
      << " dialled to configured services, actually paid " << money(c.Actual) << ".\n";
  if (c.AnsweredLeftOut + c.UnknownLeftOut > 0) {
    out << "Left out (no plan's): " << c.AnsweredLeftOut << " answered, " << c.UnknownLeftOut
        << " to numbers no service has.\n";
  }
  out << '\n';
  QList<QStringList> rows{{QStringLiteral("Rank"), QStringLiteral("Plan"), QStringLiteral("Total"),
                           QStringLiteral("Difference"), QStringLiteral("Dial-up"), QStringLiteral("Time"),
                           QStringLiteral("Data"), QStringLiteral("Notes")}};
  int rank = 0;
  for (const PlanPrice& p : c.Plans) {
    rows.append({QString::number(++rank), p.Name, money(p.Total), Signed(p.Difference(), locale), money(p.DialCost),
                 money(p.TimeCost), money(p.DataCost), Notes(p)});
  }
  std::vector<qsizetype> widths(rows.front().size(), 0);
  for (const QStringList& row : rows) {
    for (qsizetype i = 0; i < row.size(); ++i) widths[std::size_t(i)] = std::max(widths[std::size_t(i)], row[i].size());
  }
  for (const QStringList& row : rows) {
    QString line;
    for (qsizetype i = 0; i < row.size(); ++i) {
      const int w = int(widths[std::size_t(i)]);
      // Names and notes to the left, numbers to the right.
      const bool left = i == 1 || i == row.size() - 1;
      line += left ? row[i].leftJustified(w) : row[i].rightJustified(w);
      if (i + 1 < row.size()) line += QStringLiteral("  ");
    }
    while (line.endsWith(u' ')) line.chop(1);
    out << line << '\n';
  }
}

QJsonObject ToJson(const PlanComparison& c, Date from, Date to) {
  QJsonArray plans;
  int rank = 0;
  for (const PlanPrice& p : c.Plans) {
    plans.append(QJsonObject{{QStringLiteral("Rank"), ++rank},
                             {QStringLiteral("Name"), p.Name},
                             {QStringLiteral("Candidate"), p.ConfiguredService < 0},
                             {QStringLiteral("Total"), p.Total},
                             {QStringLiteral("Difference"), p.Difference()},
                             {QStringLiteral("DialCost"), p.DialCost},
                             {QStringLiteral("TimeCost"), p.TimeCost},
                             {QStringLiteral("DataCost"), p.DataCost},
                             {QStringLiteral("Sessions"), p.Sessions},
                             {QStringLiteral("IncompleteTariffs"), p.IncompleteTariffs},
                             {QStringLiteral("Actual"), p.Actual}});
  }
  return QJsonObject{{QStringLiteral("From"), ToQDate(from).toString(Qt::ISODate)},
                     {QStringLiteral("To"), ToQDate(to).toString(Qt::ISODate)},
                     {QStringLiteral("SessionsCounted"), c.SessionsCounted},
                     {QStringLiteral("AnsweredLeftOut"), c.AnsweredLeftOut},
                     {QStringLiteral("UnknownLeftOut"), c.UnknownLeftOut},
                     {QStringLiteral("Actual"), c.Actual},
                     {QStringLiteral("Plans"), plans}};
}

}  // namespace

const char* CompareHelp() {
  return "usage: mirolat-cli compare --from YYYY-MM-DD --to YYYY-MM-DD [--plan FILE.json]...\n"
         "                           [--json] [--log FILE] [--locale NAME]\n"
         "\n"
         "Prices every session of the range dialled to a configured service again as\n"
         "if each plan's dial-up tariffs and service charges had applied (the same\n"
         "times and bytes), and ranks the plans by what they would have cost. Every\n"
         "configured service is a plan; --plan adds a candidate. Answered calls and\n"
         "numbers no service has belong to no plan and are left out (counted apart).\n"
         "Under a plan, all counted sessions share its allowances. The costs are\n"
         "worked out whatever the Costs options say.\n"
         "\n"
         "  --from YYYY-MM-DD  the first day of the range\n"
         "  --to YYYY-MM-DD    the last day of the range\n"
         "  --plan FILE.json   a candidate plan: a configuration JSON file (as `config\n"
         "                     export` writes) whose \"Services\" holds exactly one service;\n"
         "                     may be given more than once\n"
         "  --json             the comparison as JSON instead of a table\n"
         "  --log FILE         the log; default: the configured modem log\n"
         "  --locale NAME      the locale of money (e.g. en_US); default: the system's\n";
}

int CmdCompare(const QStringList& arguments, QTextStream& out, QTextStream& err) {
  QStringList args = arguments;
  bool missing[4] = {};
  const QString logOption = TakeOption(args, QStringLiteral("--log"), &missing[0]);
  const QString fromText = TakeOption(args, QStringLiteral("--from"), &missing[1]);
  const QString toText = TakeOption(args, QStringLiteral("--to"), &missing[2]);
  const QString localeName = TakeOption(args, QStringLiteral("--locale"), &missing[3]);
  QStringList planFiles;
  for (;;) {
    bool planMissing = false;
    const QString plan = TakeOption(args, QStringLiteral("--plan"), &planMissing);
    if (planMissing) missing[0] = true;
    if (plan.isEmpty()) break;
    planFiles << plan;
  }
  const bool json = args.removeAll(QStringLiteral("--json")) > 0;
  if (std::find(std::begin(missing), std::end(missing), true) != std::end(missing) || !args.isEmpty()) {
    if (!args.isEmpty()) err << "mirolat-cli compare: unexpected argument '" << args.first() << "'\n";
    else err << "mirolat-cli compare: an option is missing its value\n";
    err << kCompareUsage;
    return 2;
  }
  if (fromText.isEmpty() || toText.isEmpty()) {
    err << "mirolat-cli compare: --from and --to are required\n" << kCompareUsage;
    return 2;
  }
  Date start = 0;
  Date end = 0;
  if (!ParseRange(QStringLiteral("compare"), fromText, toText, err, &start, &end)) return 2;

  std::vector<PlanToPrice> candidates;
  for (const QString& file : planFiles) {
    PlanToPrice plan;
    QString error;
    try {
      if (!CandidatePlanFromJson(ReadSmallRegularFile(file, kMaxPlanFileBytes), plan, error)) {
        err << "mirolat-cli compare: " << file << ": " << error << '\n';
        return 1;
      }
    } catch (const RunError& e) {
      err << "mirolat-cli compare: cannot read the plan: " << e.description() << '\n';
      return 1;
    }
    candidates.push_back(std::move(plan));
  }

  CliContext context;
  if (!OpenCliContext(context, err, localeName, StoreUse::ReadOnly)) return 1;
  // The figures must hold what was paid, whatever the Costs options say.
  context.Config = ConfigurationForComparison(context.Config);
  AnalysedRange range;
  if (!AnalyseRange(context, logOption, start, end, false, err, range)) return 1;
  if (!range.figures) {
    if (!range.failed) err << "mirolat-cli compare: the analysis gave no figures\n";
    return 1;
  }
  std::vector<PlanToPrice> plans = ConfiguredPlans(context.Config);
  plans.insert(plans.end(), candidates.begin(), candidates.end());
  const PlanComparison comparison = ComparePlans(context.Config, context.Locale, *range.figures, plans);
  if (json) {
    out << QJsonDocument(ToJson(comparison, start, end)).toJson(QJsonDocument::Indented);
  } else {
    WriteText(comparison, start, end, context.Locale, out);
  }
  return range.failed ? 1 : 0;
}

}  // namespace mirolat::cli
