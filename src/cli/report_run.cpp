#include "cli/report_run.h"

#include <QFileInfo>

#include "cli/terminal_progress.h"
#include "core/logfile/log_checks.h"
#include "core/logfile/warnings.h"

namespace mirolat::cli {

namespace {

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

bool ParseRange(const QString& command, const QString& fromText, const QString& toText, QTextStream& err,
                Date* start, Date* end) {
  *start = ParseIsoDate(fromText);
  *end = ParseIsoDate(toText);
  if (*start == 0 || *end == 0) {
    err << "mirolat-cli " << command << ": --from and --to need dates YYYY-MM-DD\n";
    return false;
  }
  if (*end < *start) {
    err << "mirolat-cli " << command << ": the range ends before it begins (" << fromText << " to " << toText
        << ")\n";
    return false;
  }
  return true;
}

bool AnalyseRange(const CliContext& context, const QString& logOption, Date start, Date end, bool keepSessions,
                  QTextStream& err, AnalysedRange& range) {
  const Configuration& config = context.Config;
  CliErrorReporter reporter(err);
  range.inputs = ReportInputs{&config, &context.Locale, start, end, false};

  // The log checks of start-up.
  const QString logPath = logOption.isEmpty() ? ConfiguredLogPath(config) : logOption;
  const QFileInfo info(logPath);
  CurrentFileState state;
  state.WindowsDir = info.absolutePath() + QLatin1Char('/');
  state.LogFileName = info.fileName();
  state.LogFilePath = info.absoluteFilePath();
  state.LogExists = FileExists(state.LogFilePath);

  RunState& run = range.run;
  try {
    NullProgress quiet;
    TerminalProgress progress(err);
    RunInputs inputs;
    inputs.config = &config;
    inputs.locale = &context.Locale;
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
      range.failed = true;
    } else if (CheckAndScanLog(state, config, false, quiet, reporter, alongside ? &*alongside : nullptr)) {
      state.LogCorrupt = true;
      PrintBox(err, WarnLogCorrupt());
      range.failed = true;
    } else if (state.NotAModemLog) {
      PrintBox(err, WarnNotModemLog());
      range.failed = true;
    }
    range.logCorrupt = state.LogCorrupt;
    if (range.failed) return true;
    std::optional<RunState> done;
    if (alongside) done = alongside->Result();
    if (done) {
      run = std::move(*done);
    } else {
      inputs.LogEntryCount = state.LogEntryCount;
      run = ProcessLog(inputs, state.LogFilePath, progress, reporter);
    }
    progress.Finish();
    range.ran = true;
    for (const MessageBoxSpec& box : run.Messages) PrintBox(err, box);
    if (run.LogCorrupt) PrintBox(err, WarnLogCorrupt());
    if (!ReportWanted(run)) {
      err << "mirolat-cli: the analysis stopped; no report\n";
      range.failed = true;
      return true;
    }
    range.inputs.ErrorsFound = run.ErrorsFound;
    if (keepSessions) {
      const auto& all = run.Tables.Sessions;
      const std::size_t used = std::min(all.size(), std::size_t(std::max(run.Tables.SessionCount, 0)) + 1);
      range.sessionsAsRun.assign(all.begin(), all.begin() + std::ptrdiff_t(used));
    }
    range.figures = BuildReportFigures(run.Tables, range.inputs, progress);
    progress.Finish();
  } catch (const EndProgramRequested&) {
    return false;
  }
  return true;
}

}  // namespace mirolat::cli
