// What the tray's refresh costs on a long log, every 30 seconds of a call:
// the live status (today's and the cycle's passes, the call in progress
// priced) over a synthetic log of four years held in memory (about 480,000
// lines, seed 7, 12 calls a day), "today" its last day.
#include <benchmark/benchmark.h>

#include "core/analysis/log_generator.h"
#include "core/common/locale_values.h"
#include "core/planning/live_session.h"

namespace {

using namespace mirolat;

struct BenchLog {
  QByteArray bytes;
  Date last = 0;
  BenchLog() {
    LogGeneratorOptions options;
    options.seed = 7;
    options.days = 1500;
    options.sessionsPerDay = 12;
    bytes = GenerateModemLog(options);
    last = FromQDate(options.start.addDays(options.days - 1));
  }
};

Configuration BenchConfiguration() {
  Configuration config;
  config.MaxConnections = 30000;
  config.MaxServices = 50;
  return config;
}

void BM_LiveStatusOfLog(benchmark::State& state) {
  static BenchLog log;
  const Configuration config = BenchConfiguration();
  const LocaleValues locale = LoadLocaleInfo(QLocale(QLocale::English, QLocale::UnitedStates));
  for (auto _ : state) {
    LiveStatus status = LiveStatusOfLog(config, locale, log.bytes, log.last, MakeTime(23, 0, 0));
    benchmark::DoNotOptimize(status);
  }
  state.SetBytesProcessed(state.iterations() * log.bytes.size());
}
BENCHMARK(BM_LiveStatusOfLog)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
