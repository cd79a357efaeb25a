// Speed of the log rewrites on a generated log of about 150 MB: optimize,
// purge and the two repair passes over bytes in memory, and the whole file
// operations (work file written, synced, backup made, renamed over the log).
// Figures are wall-clock time. Run by hand: build/bench/bench_log_rewrites
#include <benchmark/benchmark.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "core/analysis/log_generator.h"
#include "core/common/dates.h"
#include "core/logfile/log_format.h"
#include "core/logfile/log_rewrites.h"

namespace mirolat {
namespace {

constexpr qsizetype kTargetBytes = 150LL * 1024 * 1024;

// About 4 KB of log a day: the generator's sessions with their chatter, a
// century of days, cut at a line end near 150 MB.
const QByteArray& BigLog() {
  static const QByteArray log = [] {
    LogGeneratorOptions options;
    options.seed = 11;
    options.days = 40000;
    QByteArray bytes = GenerateModemLog(options);
    if (bytes.size() > kTargetBytes) bytes.truncate(bytes.indexOf("\r\n", kTargetBytes) + 2);
    return bytes;
  }();
  return log;
}

// The middle third of the log's days, for a purge.
std::pair<Date, Date> MiddleThird() {
  const QByteArray& log = BigLog();
  const qsizetype lastLine = log.lastIndexOf("\r\n", log.size() - 3) + 2;
  const Date first = ParseLogDate(QString::fromLatin1(log.left(10)));
  const Date last = ParseLogDate(QString::fromLatin1(log.mid(lastLine, 10)));
  const Date span = last - first;
  return {first + span / 3, first + 2 * span / 3};
}

class CountingSink final : public ByteSink {
 public:
  void Write(QByteArrayView bytes) override {
    count += bytes.size();
    benchmark::DoNotOptimize(bytes.data());
  }
  qint64 count = 0;
};

void SetBytes(benchmark::State& state, qsizetype perIteration) {
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * perIteration);
  state.counters["MB"] = static_cast<double>(perIteration) / (1024.0 * 1024.0);
}

void BM_OptimizeText(benchmark::State& state) {
  const QByteArray& log = BigLog();
  const Configuration config;
  NullProgress progress;
  for (auto _ : state) {
    CountingSink sink;
    OptimizeLogText(log, config, sink, progress);
    benchmark::DoNotOptimize(sink.count);
  }
  SetBytes(state, log.size());
}
BENCHMARK(BM_OptimizeText)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_PurgeText(benchmark::State& state) {
  const QByteArray& log = BigLog();
  const auto [from, to] = MiddleThird();
  NullProgress progress;
  for (auto _ : state) {
    CountingSink sink;
    const LineCounts counts = PurgeLogText(log, from, to, sink, progress);
    benchmark::DoNotOptimize(counts.Kept);
  }
  SetBytes(state, log.size());
}
BENCHMARK(BM_PurgeText)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_StripBadCharacters(benchmark::State& state) {
  const QByteArray& log = BigLog();
  NullProgress progress;
  for (auto _ : state) {
    const QByteArray out = StripBadCharacters(log, progress);
    benchmark::DoNotOptimize(out.size());
  }
  SetBytes(state, log.size());
}
BENCHMARK(BM_StripBadCharacters)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_DropUndatedLines(benchmark::State& state) {
  const QByteArray& log = BigLog();
  NullProgress progress;
  for (auto _ : state) {
    CountingSink sink;
    DropUndatedLines(log, sink, progress);
    benchmark::DoNotOptimize(sink.count);
  }
  SetBytes(state, log.size());
}
BENCHMARK(BM_DropUndatedLines)->Unit(benchmark::kMillisecond)->UseRealTime();

// The file operations, from the log on disk to the log replaced and its
// backup made, with every write synced. The log is put back between runs.
enum class FileOp { Optimize, Purge, Repair };

class AnswerEnd : public ErrorReporter {
 public:
  ErrorAnswer ReportError(const RunError&) override { return ErrorAnswer::End; }
};

void BM_FileOperation(benchmark::State& state) {
  const auto op = static_cast<FileOp>(state.range(0));
  const QByteArray& log = BigLog();
  QTemporaryDir dir(QDir::currentPath() + QStringLiteral("/bench-rewrites-XXXXXX"));
  CurrentFileState file;
  file.WindowsDir = dir.path() + QLatin1Char('/');
  file.LogFileName = QStringLiteral("ModemLog.txt");
  file.LogFilePath = file.WindowsDir + file.LogFileName;
  const auto [from, to] = MiddleThird();
  NullProgress progress;
  AnswerEnd reporter;
  const Configuration config;
  for (auto _ : state) {
    state.PauseTiming();
    {
      QFile f(file.LogFilePath);
      if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate) || f.write(log) != log.size()) {
        state.SkipWithError("cannot write the log");
        break;
      }
    }
    state.ResumeTiming();
    RewriteResult result;
    switch (op) {
      case FileOp::Optimize:
        result = OptimizeLog(file, config, progress, reporter);
        break;
      case FileOp::Purge:
        result = PurgeEntries(file, from, to, progress, reporter);
        break;
      case FileOp::Repair:
        result = RepairLog(file, progress, reporter);
        break;
    }
    if (!result.Done) state.SkipWithError("the rewrite failed");
  }
  SetBytes(state, log.size());
}
BENCHMARK(BM_FileOperation)
    ->ArgName("op(0=optimize,1=purge,2=repair)")
    ->Arg(0)
    ->Arg(1)
    ->Arg(2)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Iterations(3);

}  // namespace
}  // namespace mirolat

BENCHMARK_MAIN();
