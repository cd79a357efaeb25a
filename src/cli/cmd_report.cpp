// mirolat-cli report [--log FILE] --from YYYY-MM-DD --to YYYY-MM-DD [--details]
//                    [--format ID] [--out FILE] [--locale NAME]
// The analysis and report the desktop program's Process runs, on the
// configuration in the store and the configured modem log by default, written
// in one of the report formats (the report window's Save As offers the same):
// to standard output, or atomically to a file.
#include <QStringDecoder>
#include <optional>

#include "cli/cli_context.h"
#include "cli/commands.h"
#include "cli/report_run.h"
#include "core/common/atomic_file.h"
#include "core/reports/details_report.h"
#include "core/reports/formats/report_format.h"
#include "core/reports/summary_report.h"
#include "render/report_formats.h"

namespace mirolat::cli {

namespace {

const char* kReportUsage =
    "usage: mirolat-cli report [--log FILE] --from YYYY-MM-DD --to YYYY-MM-DD [--details]\n"
    "                          [--format text|csv|csv-locale|json|html|pdf] [--out FILE] [--locale NAME]\n";

// The formats the command writes, by their --format names.
std::vector<std::shared_ptr<const ReportFormat>> ReportFormats() { return AllReportFormats(); }

QString FormatNames(const std::vector<std::shared_ptr<const ReportFormat>>& formats) {
  QStringList names;
  for (const auto& format : formats) names << format->Id();
  return names.join(QStringLiteral(", "));
}

}  // namespace

int CmdReport(const QStringList& arguments, QTextStream& out, QTextStream& err) {
  QStringList args = arguments;
  bool missing[6] = {};
  const QString logOption = TakeOption(args, QStringLiteral("--log"), &missing[0]);
  const QString fromText = TakeOption(args, QStringLiteral("--from"), &missing[1]);
  const QString toText = TakeOption(args, QStringLiteral("--to"), &missing[2]);
  const QString formatText = TakeOption(args, QStringLiteral("--format"), &missing[3]);
  const QString localeName = TakeOption(args, QStringLiteral("--locale"), &missing[4]);
  const QString outPath = TakeOption(args, QStringLiteral("--out"), &missing[5]);
  const bool details = args.removeAll(QStringLiteral("--details")) > 0;
  for (bool m : missing) {
    if (m) {
      err << "mirolat-cli report: an option is missing its value\n" << kReportUsage;
      return 2;
    }
  }
  if (!args.isEmpty()) {
    err << "mirolat-cli report: unexpected argument '" << args.first() << "'\n" << kReportUsage;
    return 2;
  }
  if (fromText.isEmpty() || toText.isEmpty()) {
    err << "mirolat-cli report: --from and --to are required\n" << kReportUsage;
    return 2;
  }
  const auto formats = ReportFormats();
  const std::shared_ptr<const ReportFormat> format =
      FormatWithId(formats, formatText.isEmpty() ? QStringLiteral("text") : formatText);
  if (!format) {
    err << "mirolat-cli report: --format must be one of " << FormatNames(formats) << ", not '" << formatText
        << "'\n"
        << kReportUsage;
    return 2;
  }
  const bool both = format->Needs() == ReportNeeds::Both;
  // A PDF is no text for a terminal.
  if (format->Id() == QLatin1String("pdf") && outPath.isEmpty()) {
    err << "mirolat-cli report: --format pdf needs --out FILE\n" << kReportUsage;
    return 2;
  }
  Date start = 0;
  Date end = 0;
  if (!ParseRange(QStringLiteral("report"), fromText, toText, err, &start, &end)) return 2;

  CliContext context;
  if (!OpenCliContext(context, err, localeName, StoreUse::ReadOnly)) return 1;
  const Configuration& config = context.Config;
  const LocaleValues& locale = context.Locale;
  AnalysedRange range;
  if (!AnalyseRange(context, logOption, start, end, both, err, range)) return 1;
  const bool failed = range.failed;
  const ReportInputs& in = range.inputs;
  const std::optional<ReportFigures>& figures = range.figures;
  std::optional<ReportModel> summary;
  std::optional<ReportModel> detailsModel;
  if (figures) {
    summary = BuildSummaryReport(*figures, in);
    if (details || both) detailsModel = std::move(BuildDetailsReport(*figures, in, format->NeedsListRows()).Model);
  }

  ReportDocument document;
  document.shown = details ? ReportKind::Details : ReportKind::Summary;
  document.figures = figures ? &*figures : nullptr;
  document.summary = summary ? &*summary : nullptr;
  document.details = detailsModel ? &*detailsModel : nullptr;
  document.config = &config;
  document.locale = &locale;
  document.run = range.ran ? &range.run : nullptr;
  document.sessionsAsRun = figures && both ? &range.sessionsAsRun : nullptr;
  document.logCorrupt = range.logCorrupt;
  if (outPath.isEmpty()) {
    QStringDecoder utf8(QStringDecoder::Utf8);
    format->Write(document, [&](QByteArrayView bytes) { out << utf8.decode(bytes); });
  } else {
    // Written beside the file and renamed over it: a failure leaves it as it
    // was. A format with nothing to say (no report) leaves no file.
    try {
      AtomicFileWriter file(outPath, CliFiles());
      bool written = false;
      format->Write(document, [&](QByteArrayView bytes) {
        file.Write(bytes);
        written = true;
      });
      if (written) file.Commit();
    } catch (const RunError& e) {
      err << "mirolat-cli report: cannot write '" << outPath << "': " << e.description() << "\n";
      return 1;
    }
  }
  out.flush();
  return failed ? 1 : 0;
}

}  // namespace mirolat::cli
