// Speed of the start-up log checks (CheckLogCharacters, ScanLog) and of the
// per-line recognition the analysis applies, on a generated log of 300,000
// lines. Run by hand: build/bench/bench_log_checks
#include <benchmark/benchmark.h>

#include <QFile>
#include <QTemporaryDir>
#include <random>

#include "core/common/mapped_file.h"
#include "core/logfile/log_checks.h"
#include "core/logfile/log_format.h"

namespace mirolat {
namespace {

constexpr int kLines = 300000;

// A modem log of dial-up sessions with the chatter a modem driver writes.
QByteArray GenerateLog(int lines) {
  std::mt19937 rng(42);
  QByteArray log;
  log.reserve(static_cast<qsizetype>(lines) * 48);
  QDate day(1998, 1, 1);
  int seconds = 8 * 3600;
  int written = 0;
  auto add = [&](const char* text) {
    const QTime t = QTime(0, 0).addSecs(seconds);
    log += day.toString(QStringLiteral("MM-dd-yyyy")).toLatin1();
    log += ' ';
    log += t.toString(QStringLiteral("HH:mm:ss")).toLatin1();
    log += '.';
    log += QByteArray::number(static_cast<int>(rng() % 100)).rightJustified(2, '0');
    log += " - ";
    log += text;
    log += "\r\n";
    ++written;
    seconds += static_cast<int>(rng() % 3);
  };
  const char* numbers[] = {"5551234", "0845 123 4567", "9,5559876"};
  while (written < lines) {
    add("Opening Modem");
    add("Initializing modem.");
    add("Send: AT<cr>");
    add("Recv: <cr><lf>OK<cr><lf>");
    add("Interpreted response: Ok");
    add("Send: AT&FE0V1&C1&D2 S95=47 S0=0<cr>");
    add("Recv: <cr><lf>OK<cr><lf>");
    add("Interpreted response: Ok");
    add("Dialing.");
    add(QByteArray("Recv: ATDT").append(numbers[rng() % 3]).append("<cr>").constData());
    add("Recv: <cr><lf>CONNECT 33600/ARQ/V34/LAPM/V42BIS<cr><lf>");
    add("Interpreted response: Connect");
    add("Connection established at 33600bps.");
    add("Error-control on.");
    add("Data compression on.");
    seconds += 60 + static_cast<int>(rng() % 3600);
    add(rng() % 4 == 0 ? "Remote modem hung up." : "Hanging up the modem.");
    add("Hardware hangup by lowering DTR.");
    add("Recv: <cr><lf>OK<cr><lf>");
    add("Interpreted response: Ok");
    add(QByteArray("Session Statistics: Reads : ").append(QByteArray::number(static_cast<int>(rng() % 4000000)))
            .append(" bytes")
            .constData());
    add(QByteArray("Session Statistics: Writes: ").append(QByteArray::number(static_cast<int>(rng() % 400000)))
            .append(" bytes")
            .constData());
    add("Closing Modem.");
    log += "\r\n";
    if (seconds > 20 * 3600) {
      seconds = 8 * 3600;
      day = day.addDays(1);
    }
  }
  return log;
}

class FailingReporter : public ErrorReporter {
 public:
  ErrorAnswer ReportError(const RunError&) override { return ErrorAnswer::End; }
};

struct BenchLog {
  QTemporaryDir dir;
  QString path;
  qint64 size = 0;
  BenchLog() {
    path = dir.filePath(QStringLiteral("ModemLog.txt"));
    QFile f(path);
    const QByteArray log = GenerateLog(kLines);
    if (!f.open(QIODevice::WriteOnly) || f.write(log) != log.size()) std::abort();
    size = log.size();
  }
};

BenchLog& SharedLog() {
  static BenchLog log;
  return log;
}

void BM_CheckAndScan(benchmark::State& state) {
  BenchLog& log = SharedLog();
  CurrentFileState file;
  file.LogFilePath = log.path;
  Configuration config;
  config.MaxLogSize = 1 << 20;
  FailingReporter reporter;
  NullProgress progress;
  for (auto _ : state) {
    const bool corrupt = CheckLogCharacters(file, true, progress, reporter);
    ScanLog(file, config, reporter);
    if (corrupt || file.NotAModemLog || file.LogEntryCount < kLines) state.SkipWithError("unexpected log state");
    benchmark::DoNotOptimize(file.LogLastDate);
  }
  state.SetBytesProcessed(state.iterations() * log.size);
  state.counters["lines"] = file.LogEntryCount;
  state.counters["file_MB"] = static_cast<double>(log.size) / (1024.0 * 1024.0);
}
BENCHMARK(BM_CheckAndScan)->Unit(benchmark::kMillisecond);

// The same in one reading of the file (what start-up and the command line do).
void BM_CheckAndScanOneReading(benchmark::State& state) {
  BenchLog& log = SharedLog();
  CurrentFileState file;
  file.LogFilePath = log.path;
  Configuration config;
  config.MaxLogSize = 1 << 20;
  FailingReporter reporter;
  NullProgress progress;
  for (auto _ : state) {
    const bool corrupt = CheckAndScanLog(file, config, true, progress, reporter);
    if (corrupt || file.NotAModemLog || file.LogEntryCount < kLines) state.SkipWithError("unexpected log state");
    benchmark::DoNotOptimize(file.LogLastDate);
  }
  state.SetBytesProcessed(state.iterations() * log.size);
}
BENCHMARK(BM_CheckAndScanOneReading)->Unit(benchmark::kMillisecond);

void BM_CheckLogCharacters(benchmark::State& state) {
  BenchLog& log = SharedLog();
  CurrentFileState file;
  file.LogFilePath = log.path;
  FailingReporter reporter;
  NullProgress progress;
  for (auto _ : state) benchmark::DoNotOptimize(CheckLogCharacters(file, true, progress, reporter));
  state.SetBytesProcessed(state.iterations() * log.size);
}
BENCHMARK(BM_CheckLogCharacters)->Unit(benchmark::kMillisecond);

void BM_ScanLog(benchmark::State& state) {
  BenchLog& log = SharedLog();
  CurrentFileState file;
  file.LogFilePath = log.path;
  Configuration config;
  FailingReporter reporter;
  for (auto _ : state) {
    ScanLog(file, config, reporter);
    benchmark::DoNotOptimize(file.LogEntryCount);
  }
  state.SetBytesProcessed(state.iterations() * log.size);
}
BENCHMARK(BM_ScanLog)->Unit(benchmark::kMillisecond);

// What the analysis does with every line: text, upper case, date, time, kinds.
void BM_LineRecognition(benchmark::State& state) {
  BenchLog& log = SharedLog();
  MappedFile file;
  file.Open(log.path);
  const Configuration config;
  QString text;
  QString upper;
  const EntryKind kinds[] = {EntryKind::Dial,           EntryKind::Answer, EntryKind::Connect,
                             EntryKind::UserDisconnect, EntryKind::HostDisconnect, EntryKind::Reads,
                             EntryKind::Writes};
  for (auto _ : state) {
    qsizetype pos = 0;
    QByteArrayView line;
    qint64 found = 0;
    TimeOfDay time = 0;
    while (NextLogLine(file.data(), pos, line)) {
      if (line.isEmpty()) continue;
      AssignLatin1(line, text);
      UpperAscii(text, upper);
      found += ParseLogDate(upper) != 0;
      ReadLineTime(upper, time);
      for (EntryKind k : kinds) found += IsEntry(upper, k, config);
    }
    benchmark::DoNotOptimize(found);
  }
  state.SetBytesProcessed(state.iterations() * log.size);
}
BENCHMARK(BM_LineRecognition)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace mirolat

BENCHMARK_MAIN();
