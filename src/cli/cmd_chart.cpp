// mirolat-cli chart --kind KIND --from YYYY-MM-DD --to YYYY-MM-DD --out FILE.png|FILE.svg
//                   [--width N] [--height N] [--period day|week|month] [--dark]
//                   [--log FILE] [--locale NAME]
// The analysis `report` makes, drawn as one of the Charts window's charts
// into a PNG or SVG file, with no display.
#include <QFileInfo>

#include "cli/cli_context.h"
#include "cli/commands.h"
#include "cli/report_run.h"
#include "core/common/atomic_file.h"
#include "render/report_charts.h"

namespace mirolat::cli {

namespace {

const char* kChartUsage =
    "usage: mirolat-cli chart --kind daily|share|heatmap|cumulative --from YYYY-MM-DD --to YYYY-MM-DD\n"
    "                         --out FILE.png|FILE.svg [--width N] [--height N]\n"
    "                         [--period day|week|month] [--dark] [--log FILE] [--locale NAME]\n";

constexpr int kSmallest = 200;
constexpr int kLargest = 8000;

// A picture side from its option: the default when absent, 0 when it is not
// a whole number of pixels in kSmallest..kLargest.
int Side(const QString& text, int byDefault) {
  if (text.isEmpty()) return byDefault;
  bool ok = false;
  const int value = text.toInt(&ok);
  return ok && value >= kSmallest && value <= kLargest ? value : 0;
}

}  // namespace

const char* ChartHelp() {
  return "usage: mirolat-cli chart --kind KIND --from YYYY-MM-DD --to YYYY-MM-DD --out FILE\n"
         "                         [--width N] [--height N] [--period day|week|month] [--dark]\n"
         "                         [--log FILE] [--locale NAME]\n"
         "\n"
         "Analyses the modem log over a range of days as `report` does and draws one of\n"
         "the Charts window's charts into a picture, with no display.\n"
         "\n"
         "  --kind daily       connected time and cost per day, week or month, by number\n"
         "  --kind share       each number's share of the time and of the cost\n"
         "  --kind heatmap     connected time per hour of the week\n"
         "  --kind cumulative  the cost summed day by day over the range\n"
         "  --out FILE         FILE.png (a picture) or FILE.svg (a drawing), written atomically\n"
         "  --width N, --height N   the picture's size in pixels (200..8000; 900 x 600)\n"
         "  --period P         the daily chart's buckets: day, week or month; by default\n"
         "                     days up to two months, weeks up to a year, months beyond\n"
         "  --dark             light text on a dark background\n"
         "  --log FILE         the log; default: the configured modem log\n"
         "  --locale NAME      the locale of dates and money (e.g. en_US); default: the system's\n";
}

int CmdChart(const QStringList& arguments, QTextStream& out, QTextStream& err) {
  QStringList args = arguments;
  bool missing[9] = {};
  const QString kindText = TakeOption(args, QStringLiteral("--kind"), &missing[0]);
  const QString fromText = TakeOption(args, QStringLiteral("--from"), &missing[1]);
  const QString toText = TakeOption(args, QStringLiteral("--to"), &missing[2]);
  const QString outPath = TakeOption(args, QStringLiteral("--out"), &missing[3]);
  const QString widthText = TakeOption(args, QStringLiteral("--width"), &missing[4]);
  const QString heightText = TakeOption(args, QStringLiteral("--height"), &missing[5]);
  const QString periodText = TakeOption(args, QStringLiteral("--period"), &missing[6]);
  const QString logOption = TakeOption(args, QStringLiteral("--log"), &missing[7]);
  const QString localeName = TakeOption(args, QStringLiteral("--locale"), &missing[8]);
  ChartOptions options;
  options.dark = args.removeAll(QStringLiteral("--dark")) > 0;
  const auto usage = [&err](const QString& problem) {
    err << "mirolat-cli chart: " << problem << '\n' << kChartUsage;
    return 2;
  };
  for (bool m : missing) {
    if (m) return usage(QStringLiteral("an option is missing its value"));
  }
  if (!args.isEmpty()) return usage(QStringLiteral("unexpected argument '%1'").arg(args.first()));
  if (kindText.isEmpty() || fromText.isEmpty() || toText.isEmpty() || outPath.isEmpty()) {
    return usage(QStringLiteral("--kind, --from, --to and --out are required"));
  }
  ChartKind kind = ChartKind::Daily;
  if (!ChartKindFromId(kindText, &kind)) {
    return usage(QStringLiteral("--kind must be daily, share, heatmap or cumulative, not '%1'").arg(kindText));
  }
  const QString suffix = QFileInfo(outPath).suffix().toLower();
  if (suffix != QLatin1String("png") && suffix != QLatin1String("svg")) {
    return usage(QStringLiteral("--out must name a .png or .svg file, not '%1'").arg(outPath));
  }
  const QSize size(Side(widthText, 900), Side(heightText, 600));
  if (size.width() == 0 || size.height() == 0) {
    return usage(QStringLiteral("--width and --height must be whole pixels from %1 to %2").arg(kSmallest).arg(kLargest));
  }
  static const struct {
    const char* name;
    ChartPeriod period;
  } kPeriods[] = {{"day", ChartPeriod::Day}, {"week", ChartPeriod::Week}, {"month", ChartPeriod::Month}};
  bool periodKnown = periodText.isEmpty();
  for (const auto& p : kPeriods) {
    if (periodText == QLatin1String(p.name)) {
      options.period = p.period;
      periodKnown = true;
    }
  }
  if (!periodKnown) return usage(QStringLiteral("--period must be day, week or month, not '%1'").arg(periodText));
  Date start = 0;
  Date end = 0;
  if (!ParseRange(QStringLiteral("chart"), fromText, toText, err, &start, &end)) return 2;

  CliContext context;
  if (!OpenCliContext(context, err, localeName, StoreUse::ReadOnly)) return 1;
  AnalysedRange range;
  if (!AnalyseRange(context, logOption, start, end, false, err, range)) return 1;
  if (!range.figures) return 1;  // the reason is on the error stream
  options.locale = &context.Locale;
  const QByteArray bytes = suffix == QLatin1String("svg") ? ChartSvg(kind, *range.figures, size, options)
                                                          : ChartPng(kind, *range.figures, size, options);
  try {
    WriteFileAtomically(outPath, bytes, CliFiles());
  } catch (const RunError& e) {
    err << "mirolat-cli chart: cannot write '" << outPath << "': " << e.description() << "\n";
    return 1;
  }
  out.flush();
  return range.failed ? 1 : 0;
}

}  // namespace mirolat::cli
