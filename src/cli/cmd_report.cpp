// mirolat-cli report [--log FILE] --from YYYY-MM-DD --to YYYY-MM-DD [--details]
//                    [--format text|json|csv] [--locale NAME]
// The analysis and report the desktop program's Process runs, on the
// configuration in the store and the configured modem log by default: the Summary (or Details) report as its standard
// text, the run and both reports as JSON, or the report's rows as CSV.
#include <QFileInfo>
#include <cstdio>
#include <optional>
#include <unistd.h>

#include "cli/cli_context.h"
#include "cli/commands.h"
#include "cli/report_json.h"
#include "cli/terminal_progress.h"
#include "core/analysis/analysis_run.h"
#include "core/analysis/service_identification.h"
#include "core/common/formatting.h"
#include "core/logfile/log_checks.h"
#include "core/logfile/warnings.h"
#include "core/reports/details_report.h"
#include "core/reports/summary_report.h"

namespace mirolat::cli {

namespace {

const char* kReportUsage =
    "usage: mirolat-cli report [--log FILE] --from YYYY-MM-DD --to YYYY-MM-DD [--details]\n"
    "                          [--format text|json|csv] [--locale NAME]\n";

enum class Format { Text, Json, Csv };

// One CSV field (RFC 4180): quoted when it holds a comma, a quote or a line break.
QString CsvField(const QString& text) {
  if (!text.contains(QLatin1Char(',')) && !text.contains(QLatin1Char('"')) && !text.contains(QLatin1Char('\n')) &&
      !text.contains(QLatin1Char('\r'))) {
    return text;
  }
  QString quoted = text;
  quoted.replace(QStringLiteral("\""), QStringLiteral("\"\""));
  return QLatin1Char('"') + quoted + QLatin1Char('"');
}

QString CsvLine(const QStringList& fields) {
  QStringList out;
  out.reserve(fields.size());
  for (const QString& f : fields) out << CsvField(f);
  return out.join(QLatin1Char(',')) + QStringLiteral("\r\n");
}

// A shown amount as a plain number: "." as decimal point, no grouping.
QString PlainAmount(double shown, int decimals) { return QString::number(shown, 'f', std::max(0, decimals)); }

QString SummaryCsv(const SessionTable& t, const ReportInputs& in) {
  const bool costs = in.config->CalcCosts;
  const LocaleValues& locale = *in.locale;
  QStringList header{QStringLiteral("Number"),     QStringLiteral("Service"), QStringLiteral("Seconds"),
                     QStringLiteral("Time"),       QStringLiteral("Sessions"), QStringLiteral("Av/Session"),
                     QStringLiteral("Av/Day"),     QStringLiteral("Kilobytes")};
  if (costs) header << QStringLiteral("Cost");
  QString csv = CsvLine(header);
  const SummaryEntries entries = ListedSummaryEntries(t);
  if (!entries.listed) return csv;
  for (int i = entries.first; i <= entries.last; ++i) {
    const ServiceTotal& e = t.ServiceTotals[std::size_t(i)];
    const double kb = ShownWholeNumber(double(e.TotalBytesRead) / 1024.0, locale);
    QStringList row{e.Number.trimmed(),
                    ServiceDisplayName(*in.config, e.Number),
                    QString::number(e.TotalSeconds),
                    FormatDuration(float(e.TotalSeconds)),
                    QString::number(e.TotalSessions),
                    e.TotalSessions > 0 ? FormatDuration(float(double(e.TotalSeconds) / e.TotalSessions))
                                        : FormatDuration(0),
                    FormatDuration(float(double(e.TotalSeconds) / in.PeriodDays())),
                    QString::number(qint64(kb))};
    if (costs) {
      const double cost = e.Number.contains(QLatin1String("Answer")) ? 0.0 : e.TotalCost;
      row << PlainAmount(ShownMoney(cost, locale), locale.CurrencyDigits);
    }
    csv += CsvLine(row);
  }
  return csv;
}

QString DetailsCsv(const SessionTable& t, const DetailsReport& details, const ReportInputs& in) {
  const bool costs = details.CostsShown;
  const LocaleValues& locale = *in.locale;
  QStringList header{QStringLiteral("Index"),          QStringLiteral("Service"),        QStringLiteral("Number"),
                     QStringLiteral("ConnectDate"),    QStringLiteral("ConnectTime"),    QStringLiteral("DisconnectDate"),
                     QStringLiteral("DisconnectTime"), QStringLiteral("Seconds"),        QStringLiteral("Duration")};
  if (costs) {
    header << QStringLiteral("DialCost") << QStringLiteral("ServiceCost") << QStringLiteral("DataCost")
           << QStringLiteral("Cost");
  }
  header << QStringLiteral("Notes");
  QString csv = CsvLine(header);
  for (const DetailFigures& f : details.Figures) {
    const Session& s = t.Sessions[std::size_t(f.Index)];
    QStringList row{QString::number(f.Index),     ServiceDisplayName(*in.config, s.Number),
                    s.Number,                     DateToIso(s.ConnectDate),
                    TimeToText(s.ConnectTime),    DateToIso(s.DisconnectDate),
                    TimeToText(s.DisconnectTime), QString::number(f.Seconds),
                    FormatDuration(float(f.Seconds))};
    if (costs) {
      for (double v : {f.DialCost, f.ServiceCost, f.DataCost, f.Cost}) {
        row << PlainAmount(ShownMoney(v, locale), locale.CurrencyDigits);
      }
    }
    row << CleanNotes(f.Notes);
    csv += CsvLine(row);
  }
  return csv;
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
  bool missing[5] = {};
  const QString logOption = TakeOption(args, QStringLiteral("--log"), &missing[0]);
  const QString fromText = TakeOption(args, QStringLiteral("--from"), &missing[1]);
  const QString toText = TakeOption(args, QStringLiteral("--to"), &missing[2]);
  const QString formatText = TakeOption(args, QStringLiteral("--format"), &missing[3]);
  const QString localeName = TakeOption(args, QStringLiteral("--locale"), &missing[4]);
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
  Format format = Format::Text;
  if (formatText == QLatin1String("json")) {
    format = Format::Json;
  } else if (formatText == QLatin1String("csv")) {
    format = Format::Csv;
  } else if (!formatText.isEmpty() && formatText != QLatin1String("text")) {
    err << "mirolat-cli report: --format must be text, json or csv, not '" << formatText << "'\n";
    return 2;
  }
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
  std::optional<ReportModel> summary;
  std::optional<DetailsReport> detailsReport;
  // For JSON only: the sessions as the run left them, before the Details
  // report rewrites their notes (the texts are shared, not copied).
  std::vector<Session> sessionsAsRun;
  const auto keepSessions = [&] {
    const auto& all = run.Tables.Sessions;
    const std::size_t used = std::min(all.size(), std::size_t(std::max(run.Tables.SessionCount, 0)) + 1);
    sessionsAsRun.assign(all.begin(), all.begin() + std::ptrdiff_t(used));
  };
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
        if (format == Format::Json) keepSessions();
        summary = BuildSummaryReport(run.Tables, in);
        if (details || format == Format::Json) detailsReport = BuildDetailsReport(run.Tables, in, progress, false);
        progress.Finish();
      }
    }
  } catch (const EndProgramRequested&) {
    return 1;
  }
  if (ran && format == Format::Json && sessionsAsRun.empty()) keepSessions();

  switch (format) {
    case Format::Text:
      // The report text followed by one line end: exactly what the report
      // window's Save As writes.
      if (summary) out << (details ? detailsReport->Model.Text : summary->Text) << '\n';
      break;
    case Format::Csv:
      if (summary) out << (details ? DetailsCsv(run.Tables, *detailsReport, in) : SummaryCsv(run.Tables, in));
      break;
    case Format::Json: {
      ReportJsonInput json;
      json.run = &run;
      json.ran = ran;
      json.logCorrupt = run.LogCorrupt || state.LogCorrupt;
      json.sessions = &sessionsAsRun;
      json.sessionCount = run.Tables.SessionCount;
      json.summary = summary ? &*summary : nullptr;
      json.details = detailsReport ? &*detailsReport : nullptr;
      WriteReportJson(out, json);
      break;
    }
  }
  out.flush();
  return failed ? 1 : 0;
}

}  // namespace mirolat::cli
