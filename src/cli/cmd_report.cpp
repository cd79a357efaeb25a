// mirolat-cli report [--log FILE] --from YYYY-MM-DD --to YYYY-MM-DD [--details]
//                    [--format ID] [--out FILE] [--locale NAME]
// The analysis and report the desktop program's Process runs, on the
// configuration in the store and the configured modem log by default, written
// in one of the report formats (the report window's Save As offers the same):
// to standard output, or atomically to a file.
#include <QFileInfo>
#include <QStringDecoder>
#include <cstdio>
#include <optional>
#include <unistd.h>

#include "cli/cli_context.h"
#include "cli/commands.h"
#include "cli/terminal_progress.h"
#include "core/analysis/analysis_run.h"
#include "core/common/atomic_file.h"
#include "core/logfile/log_checks.h"
#include "core/logfile/warnings.h"
#include "core/reports/details_report.h"
#include "core/reports/formats/report_format.h"
#include "core/reports/summary_report.h"

namespace mirolat::cli {

namespace {

const char* kReportUsage =
    "usage: mirolat-cli report [--log FILE] --from YYYY-MM-DD --to YYYY-MM-DD [--details]\n"
    "                          [--format text|csv|csv-locale|json] [--out FILE] [--locale NAME]\n";

// The formats the command writes, by their --format names.
std::vector<std::shared_ptr<const ReportFormat>> ReportFormats() { return CoreReportFormats(); }

QString FormatNames(const std::vector<std::shared_ptr<const ReportFormat>>& formats) {
  QStringList names;
  for (const auto& format : formats) names << format->Id();
  return names.join(QStringLiteral(", "));
}

// The analysis run on the blocks the log checks read, so that a log is read
// once, when no progress is drawn (the run's progress needs the checks' line
// count before it starts). A failure inside the run is not reported here: the
// run is dropped and made again after the checks, on its own reading, where
// the failure is reported as usual.
class AnalysisAlongside final : public CheckedTextSink {
 public:
  explicit AnalysisAlongside(const RunInputs& inputs) : run_(inputs, quiet_, deferring_) {}
  void Take(QByteArrayView block) override {
    if (dropped_ || !run_.Wants()) return;
    try {
      run_.Feed(block);
    } catch (const Deferred&) {
      dropped_ = true;
    }
  }
  void Complete() override { complete_ = true; }
  // The finished run, when the checks read the whole file clean and the run
  // met no failure.
  std::optional<RunState> Result() {
    if (dropped_ || !complete_) return std::nullopt;
    try {
      return run_.Finish();
    } catch (const Deferred&) {
      return std::nullopt;
    }
  }

 private:
  struct Deferred {};
  class DeferringReporter final : public ErrorReporter {
   public:
    ErrorAnswer ReportError(const RunError&) override { throw Deferred{}; }
  };
  NullProgress quiet_;
  DeferringReporter deferring_;
  LogAnalysis run_;
  bool dropped_ = false;
  bool complete_ = false;
};

Date ParseIsoDate(const QString& text) {
  const QDate d = QDate::fromString(text, Qt::ISODate);
  if (!d.isValid() || text.size() != 10) return 0;
  return FromQDate(d);
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
  const Date start = ParseIsoDate(fromText);
  const Date end = ParseIsoDate(toText);
  if (start == 0 || end == 0) {
    err << "mirolat-cli report: --from and --to need dates YYYY-MM-DD\n";
    return 2;
  }
  if (end < start) {
    err << "mirolat-cli report: the range ends before it begins (" << fromText << " to " << toText << ")\n";
    return 2;
  }

  CliContext context;
  if (!OpenCliContext(context, err, localeName, StoreUse::ReadOnly)) return 1;
  const Configuration& config = context.Config;
  const LocaleValues& locale = context.Locale;
  CliErrorReporter reporter(err);

  // The log checks of start-up.
  const QString logPath = logOption.isEmpty() ? ConfiguredLogPath(config) : logOption;
  const QFileInfo info(logPath);
  CurrentFileState state;
  state.WindowsDir = info.absolutePath() + QLatin1Char('/');
  state.LogFileName = info.fileName();
  state.LogFilePath = info.absoluteFilePath();
  state.LogExists = FileExists(state.LogFilePath);

  RunState run;
  bool ran = false;
  bool failed = false;
  std::optional<ReportFigures> figures;
  std::optional<ReportModel> summary;
  std::optional<ReportModel> detailsModel;
  // The sessions as the run left them, before the figures add remarks to
  // their notes (the texts are shared, not copied): JSON writes both.
  std::vector<Session> sessionsAsRun;
  ReportInputs in{&config, &locale, start, end, false};
  try {
    NullProgress quiet;
    TerminalProgress progress(err);
    RunInputs inputs;
    inputs.config = &config;
    inputs.locale = &locale;
    inputs.ReportStartDate = start;
    inputs.ReportEndDate = end;
    // Without a progress line the run needs no line count first: it goes
    // along with the checks.
    std::optional<AnalysisAlongside> alongside;
    if (!progress.Active()) alongside.emplace(inputs);
    if (!state.LogExists) {
      if (info.isDir()) {
        err << "mirolat-cli: '" << logPath << "' is a folder, not a log file\n";
      } else {
        err << "mirolat-cli: no modem log at '" << logPath << "'\n";
      }
      failed = true;
    } else if (CheckAndScanLog(state, config, false, quiet, reporter, alongside ? &*alongside : nullptr)) {
      state.LogCorrupt = true;
      PrintBox(err, WarnLogCorrupt());
      failed = true;
    } else {
      if (state.NotAModemLog) {
        PrintBox(err, WarnNotModemLog());
        failed = true;
      }
    }
    if (!failed) {
      std::optional<RunState> done;
      if (alongside) done = alongside->Result();
      if (done) {
        run = std::move(*done);
      } else {
        inputs.LogEntryCount = state.LogEntryCount;
        run = ProcessLog(inputs, state.LogFilePath, progress, reporter);
      }
      progress.Finish();
      ran = true;
      for (const MessageBoxSpec& box : run.Messages) PrintBox(err, box);
      if (run.LogCorrupt) PrintBox(err, WarnLogCorrupt());
      if (!ReportWanted(run)) {
        err << "mirolat-cli: the analysis stopped; no report\n";
        failed = true;
      } else {
        in.ErrorsFound = run.ErrorsFound;
        if (both) {
          const auto& all = run.Tables.Sessions;
          const std::size_t used = std::min(all.size(), std::size_t(std::max(run.Tables.SessionCount, 0)) + 1);
          sessionsAsRun.assign(all.begin(), all.begin() + std::ptrdiff_t(used));
        }
        figures = BuildReportFigures(run.Tables, in, progress);
        summary = BuildSummaryReport(*figures, in);
        if (details || both) detailsModel = std::move(BuildDetailsReport(*figures, in, false).Model);
        progress.Finish();
      }
    }
  } catch (const EndProgramRequested&) {
    return 1;
  }

  ReportDocument document;
  document.shown = details ? ReportKind::Details : ReportKind::Summary;
  document.figures = figures ? &*figures : nullptr;
  document.summary = summary ? &*summary : nullptr;
  document.details = detailsModel ? &*detailsModel : nullptr;
  document.config = &config;
  document.locale = &locale;
  document.run = ran ? &run : nullptr;
  document.sessionsAsRun = figures && both ? &sessionsAsRun : nullptr;
  document.logCorrupt = state.LogCorrupt;
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
