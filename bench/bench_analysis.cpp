// Speed of the analysis run and of both reports on a generated log of about
// 300,000 lines (GenerateModemLog), priced with three services and their
// tariffs; and, on the same file, how long `wc -l` and
// `grep -ci 'connection established'` take (each writing to a file), for scale.
// Run by hand: build/bench/bench_analysis
#include <benchmark/benchmark.h>

#include <QFile>
#include <QTemporaryDir>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>

#include "core/analysis/analysis_run.h"
#include "core/analysis/log_generator.h"
#include "core/common/locale_values.h"
#include "core/logfile/entry_scanner.h"
#include "core/reports/details_report.h"
#include "core/reports/summary_report.h"
#include "support/sample_configuration.h"

namespace mirolat {
namespace {

class EndOnError : public ErrorReporter {
 public:
  ErrorAnswer ReportError(const RunError& e) override {
    std::fprintf(stderr, "bench_analysis: %s\n", qPrintable(e.description()));
    return ErrorAnswer::End;
  }
};

Configuration BenchConfiguration() {
  Configuration c = test::ForGeneratedLog(test::SampleConfiguration());
  c.MaxConnections = 30000;
  c.MaxLogSize = 1 << 30;
  return c;
}

struct BenchData {
  QTemporaryDir dir;
  QString path;
  qint64 bytes = 0;
  int lines = 0;
  Configuration config = BenchConfiguration();
  LocaleValues locale = LoadLocaleInfo(QLocale(QStringLiteral("en_US")));
  RunInputs inputs;

  BenchData() {
    LogGeneratorOptions o;
    o.seed = 2024;
    o.sessionsPerDay = 10;
    o.days = 1150;  // about 300,000 lines
    GeneratedLogStats stats;
    const QByteArray log = GenerateModemLog(o, &stats);
    path = dir.filePath(QStringLiteral("ModemLog.txt"));
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly) || f.write(log) != log.size()) std::abort();
    bytes = log.size();
    lines = stats.lines;
    inputs.config = &config;
    inputs.locale = &locale;
    inputs.ReportStartDate = FromQDate(o.start);
    inputs.ReportEndDate = FromQDate(o.start.addDays(o.days + 2));
    inputs.LogEntryCount = lines;
  }

  RunState Analyse() const {
    NullProgress progress;
    EndOnError reporter;
    return ProcessLog(inputs, path, progress, reporter);
  }
  ReportInputs Report(const RunState& run) const {
    return ReportInputs{&config, &locale, inputs.ReportStartDate, inputs.ReportEndDate, run.ErrorsFound};
  }
};

BenchData& Data() {
  static BenchData data;
  return data;
}

void Throughput(benchmark::State& state, const BenchData& d) {
  state.SetBytesProcessed(state.iterations() * d.bytes);
  state.SetItemsProcessed(state.iterations() * d.lines);
  state.counters["lines"] = d.lines;
  state.counters["file_MB"] = double(d.bytes) / (1024.0 * 1024.0);
}

void BM_ProcessLog(benchmark::State& state) {
  const BenchData& d = Data();
  int sessions = 0;
  for (auto _ : state) {
    RunState run = d.Analyse();
    if (!ReportWanted(run)) state.SkipWithError("the run stopped");
    sessions = run.Tables.SessionCount;
    benchmark::DoNotOptimize(run.LinesRead);
  }
  Throughput(state, d);
  state.counters["sessions"] = sessions;
}
BENCHMARK(BM_ProcessLog)->Unit(benchmark::kMillisecond);

// The part of the run that reads every byte: lines split and response texts
// found, over the file's bytes already in memory, nothing else.
// The log's bytes and a scanner for the configuration's response texts.
struct ScanInput {
  QByteArray bytes;
  EntryScanner scanner;
};
ScanInput ScanInputFor(const BenchData& d) {
  QFile file(d.path);
  if (!file.open(QIODevice::ReadOnly)) std::abort();
  const Configuration& c = d.config;
  return {file.readAll(), EntryScanner({c.ModemDial, c.ModemAnswer, c.ModemConnect, c.ModemUserDisconnect,
                                        c.ModemHostDisconnect, c.ModemReads, c.ModemWrites})};
}

void BM_LinesAndKinds(benchmark::State& state) {
  const BenchData& d = Data();
  const ScanInput input = ScanInputFor(d);
  const QByteArray& bytes = input.bytes;
  const EntryScanner& scanner = input.scanner;
  for (auto _ : state) {
    qsizetype pos = 0;
    QByteArrayView line;
    unsigned kinds = 0;
    unsigned all = 0;
    while (scanner.Next(bytes, pos, line, kinds)) all |= kinds;
    benchmark::DoNotOptimize(all);
  }
  Throughput(state, d);
}
BENCHMARK(BM_LinesAndKinds)->Unit(benchmark::kMillisecond);

// The same through the cursor the run uses: 64 bytes at a time with AVX2
// (the per-line search above where the processor lacks it).
void BM_LinesAndKindsWide(benchmark::State& state) {
  const BenchData& d = Data();
  const ScanInput input = ScanInputFor(d);
  const QByteArray& bytes = input.bytes;
  const EntryScanner& scanner = input.scanner;
  for (auto _ : state) {
    EntryScanner::Lines lines(scanner, bytes);
    QByteArrayView line;
    unsigned kinds = 0;
    unsigned all = 0;
    while (lines.Next(line, kinds)) all |= kinds;
    benchmark::DoNotOptimize(all);
  }
  state.SetLabel(EntryScanner::WideSearchAvailable() ? "AVX2" : "per line");
  Throughput(state, d);
}
BENCHMARK(BM_LinesAndKindsWide)->Unit(benchmark::kMillisecond);

void BM_SummaryReport(benchmark::State& state) {
  const BenchData& d = Data();
  const RunState run = d.Analyse();
  for (auto _ : state) benchmark::DoNotOptimize(BuildSummaryReport(run.Tables, d.Report(run)).Text.size());
}
BENCHMARK(BM_SummaryReport)->Unit(benchmark::kMicrosecond);

void BM_DetailsReport(benchmark::State& state) {
  const BenchData& d = Data();
  const RunState run = d.Analyse();
  NullProgress progress;
  for (auto _ : state) {
    state.PauseTiming();
    SessionTable tables = run.Tables;  // the report rewrites notes
    state.ResumeTiming();
    benchmark::DoNotOptimize(BuildDetailsReport(tables, d.Report(run), progress).Model.Text.size());
  }
  state.counters["sessions"] = run.Tables.SessionCount;
}
BENCHMARK(BM_DetailsReport)->Unit(benchmark::kMillisecond);

// What the desktop program does for Process and then Details.
void BM_AnalysisAndBothReports(benchmark::State& state) {
  const BenchData& d = Data();
  NullProgress progress;
  for (auto _ : state) {
    RunState run = d.Analyse();
    benchmark::DoNotOptimize(BuildSummaryReport(run.Tables, d.Report(run)).Text.size());
    benchmark::DoNotOptimize(BuildDetailsReport(run.Tables, d.Report(run), progress).Model.Text.size());
  }
  Throughput(state, d);
}
BENCHMARK(BM_AnalysisAndBothReports)->Unit(benchmark::kMillisecond);

// Best of `runs` wall-clock seconds.
template <class F>
double BestSeconds(int runs, F&& f) {
  double best = 1e300;
  for (int i = 0; i < runs; ++i) {
    const auto t0 = std::chrono::steady_clock::now();
    f();
    const auto t1 = std::chrono::steady_clock::now();
    best = std::min(best, std::chrono::duration<double>(t1 - t0).count());
  }
  return best;
}

// The whole-file tools on the same file, against the analysis and both reports.
void CompareWithTools() {
  const BenchData& d = Data();
  const QByteArray quoted = "'" + QFile::encodeName(d.path) + "'";
  // The tools write to a file, not to /dev/null: GNU grep sees that its
  // output goes nowhere and stops at the first match, which made it look far
  // faster than a grep whose count somebody reads. bench_whole_process
  // compares whole processes the same way, start-up included.
  const QByteArray out = "'" + QFile::encodeName(d.dir.filePath(QStringLiteral("tool_output.txt"))) + "'";
  const QByteArray wc = "wc -l " + quoted + " > " + out;
  const QByteArray grep = "grep -ci 'connection established' " + quoted + " > " + out;
  NullProgress progress;
  const double ours = BestSeconds(5, [&] {
    RunState run = d.Analyse();
    BuildSummaryReport(run.Tables, d.Report(run));
    BuildDetailsReport(run.Tables, d.Report(run), progress);
  });
  const double analysisOnly = BestSeconds(5, [&] { d.Analyse(); });
  const double wcSeconds = BestSeconds(5, [&] {
    if (std::system(wc.constData()) != 0) std::fprintf(stderr, "wc failed\n");
  });
  const double grepSeconds = BestSeconds(5, [&] {
    if (std::system(grep.constData()) > 256) std::fprintf(stderr, "grep failed\n");
  });
  const double mb = double(d.bytes) / (1024.0 * 1024.0);
  std::printf("\nLog: %d lines, %.2f MB\n", d.lines, mb);
  std::printf("ProcessLog alone:            %8.1f ms  %12.0f lines/s  %7.1f MB/s\n", analysisOnly * 1e3,
              d.lines / analysisOnly, mb / analysisOnly);
  std::printf("ProcessLog+Summary+Details:  %8.1f ms  %12.0f lines/s  %7.1f MB/s\n", ours * 1e3, d.lines / ours,
              mb / ours);
  std::printf("wc -l:                       %8.1f ms   (analysis+reports / wc    = %.1fx)\n", wcSeconds * 1e3,
              ours / wcSeconds);
  std::printf("grep -ci 'connection ...':   %8.1f ms   (analysis+reports / grep  = %.1fx)\n", grepSeconds * 1e3,
              ours / grepSeconds);
  std::printf("(each figure the best of 5 runs; the tools' times include starting a shell)\n");
}

}  // namespace
}  // namespace mirolat

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  mirolat::CompareWithTools();
  return 0;
}
