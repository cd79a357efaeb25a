// A whole analysis run and both reports over arbitrary log bytes, with one
// fixed configuration (two services, tariffs that leave gaps, flexi and data
// charges): the start-up checks, the run over the log's own date range (at
// most a year), and when the run wants them the report's figures, the Summary
// and Details reports made of them, every core format of both (the JSON must
// read back as JSON) and the charts' series, as `mirolat-cli` does.
#include <QDir>
#include <QFile>
#include <QJsonDocument>
#include <QLocale>
#include <QTemporaryDir>
#include <cstdint>

#include "core/analysis/analysis_run.h"
#include "core/common/locale_values.h"
#include "core/logfile/current_file.h"
#include "core/logfile/log_checks.h"
#include "core/reports/chart_series.h"
#include "core/reports/details_report.h"
#include "core/reports/formats/report_format.h"
#include "core/reports/summary_report.h"
#include "support/sample_configuration.h"

using namespace mirolat;

namespace {

// Every failed step goes on with the next one, so a run explores as far as it can.
class ContinueReporter : public ErrorReporter {
 public:
  ErrorAnswer ReportError(const RunError&) override { return ErrorAnswer::Continue; }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const Configuration config = [] {
    Configuration c = test::ForGeneratedLog(test::SampleConfiguration());
    c.MaxConnections = 40;
    return c;
  }();
  static const LocaleValues locale = LoadLocaleInfo(QLocale(QStringLiteral("en_US")));
  static QTemporaryDir dir;
  const QString path = dir.filePath(QStringLiteral("ModemLog.txt"));
  {
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)) __builtin_trap();
    file.write(reinterpret_cast<const char*>(data), static_cast<qint64>(size));
  }

  ContinueReporter reporter;
  NullProgress progress;
  CurrentFileState state;
  state.WindowsDir = dir.path() + QLatin1Char('/');
  state.LogFileName = QStringLiteral("ModemLog.txt");
  state.LogFilePath = path;
  state.LogExists = true;
  if (CheckLogCharacters(state, false, progress, reporter)) return 0;
  ScanLog(state, config, reporter);

  RunInputs inputs;
  inputs.config = &config;
  inputs.locale = &locale;
  inputs.ReportStartDate = state.LogFirstDate > 0 ? state.LogFirstDate : 35796;
  inputs.ReportEndDate = state.LogLastDate >= inputs.ReportStartDate ? state.LogLastDate : inputs.ReportStartDate;
  if (inputs.ReportEndDate - inputs.ReportStartDate > 366) inputs.ReportEndDate = inputs.ReportStartDate + 366;
  inputs.LogEntryCount = state.LogEntryCount;
  RunState run = ProcessLog(inputs, path, progress, reporter);
  if (!ReportWanted(run)) return 0;
  ReportInputs in{&config, &locale, inputs.ReportStartDate, inputs.ReportEndDate, run.ErrorsFound};
  const std::vector<Session> asRun(run.Tables.Sessions.begin(), run.Tables.Sessions.end());
  const ReportFigures figures = BuildReportFigures(run.Tables, in, progress);
  const ReportModel summary = BuildSummaryReport(figures, in);
  const DetailsReport details = BuildDetailsReport(figures, in);
  if (summary.Text.isEmpty() || details.Model.Text.isEmpty()) __builtin_trap();
  ReportDocument document{ReportKind::Summary, &figures, &summary, &details.Model, &config, &locale, &run};
  document.sessionsAsRun = &asRun;
  for (const ReportKind kind : {ReportKind::Summary, ReportKind::Details}) {
    document.shown = kind;
    for (const auto& format : CoreReportFormats()) {
      QByteArray bytes;
      format->Write(document, [&bytes](QByteArrayView piece) { bytes.append(piece); });
      if (format->Id() == QLatin1String("json") && QJsonDocument::fromJson(bytes).isNull()) __builtin_trap();
    }
  }
  for (const ChartPeriod period : {ChartPeriod::Automatic, ChartPeriod::Day, ChartPeriod::Week, ChartPeriod::Month}) {
    BucketDays(figures, period);
  }
  NumberShares(figures);
  HourOfWeek(figures);
  CumulativeCost(figures);
  return 0;
}
