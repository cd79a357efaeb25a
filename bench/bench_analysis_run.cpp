// The analysis run alone over a synthetic log of about 480,000 lines, whole
// range, default response texts. Compare by hand with
//   grep -ci 'connection established' FILE
// on the same bytes (the generator is deterministic: seed 7, 1500 days, 12
// calls a day).
#include <benchmark/benchmark.h>

#include <QFile>
#include <QTemporaryDir>

#include "core/analysis/analysis_run.h"
#include "core/analysis/log_generator.h"
#include "core/common/locale_values.h"

namespace {

using namespace mirolat;

// Totals of one number over four years pass the 32-bit byte counter; those
// overflow reports are answered with "continue".
class ContinueReporter : public ErrorReporter {
 public:
  ErrorAnswer ReportError(const RunError&) override { return ErrorAnswer::Continue; }
};

struct BenchLog {
  QTemporaryDir dir;
  QString path;
  int lines = 0;
  QDate first, last;
  BenchLog() {
    LogGeneratorOptions options;
    options.seed = 7;
    options.days = 1500;
    options.sessionsPerDay = 12;
    GeneratedLogStats stats;
    const QByteArray bytes = GenerateModemLog(options, &stats);
    path = dir.filePath(QStringLiteral("ModemLog.txt"));
    QFile file(path);
    if (file.open(QIODevice::WriteOnly)) file.write(bytes);
    lines = stats.lines;
    first = options.start;
    last = options.start.addDays(options.days - 1);
  }
};

void BM_ProcessLogWholeRange(benchmark::State& state) {
  static BenchLog log;
  Configuration config;
  config.MaxConnections = 30000;
  config.MaxServices = 50;
  const LocaleValues locale = LoadLocaleInfo(QLocale(QLocale::English, QLocale::UnitedStates));
  RunInputs in;
  in.config = &config;
  in.locale = &locale;
  in.ReportStartDate = FromQDate(log.first);
  in.ReportEndDate = FromQDate(log.last);
  in.LogEntryCount = log.lines;
  NullProgress progress;
  ContinueReporter reporter;
  int sessions = 0;
  for (auto _ : state) {
    const RunState run = ProcessLog(in, log.path, progress, reporter);
    sessions = run.Tables.SessionCount;
    benchmark::DoNotOptimize(sessions);
  }
  state.counters["lines"] = log.lines;
  state.counters["sessions"] = sessions;
}
BENCHMARK(BM_ProcessLogWholeRange)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
