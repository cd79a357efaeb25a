// Speed of loading the configuration record from the settings store, as every
// command and the program's start do, for records of growing size up to the
// largest the limits allow (MaxServices 32766, every service with ten
// tariffs). The store is written once per size. BM_LoadConfiguration loads
// the whole record with its defaults (nothing left to fill in) from a store
// already open; BM_OpenAndLoad opens the store first, as every command does;
// BM_SaveConfiguration writes the whole record once.
// Run by hand: build/bench/bench_settings_load
#include <benchmark/benchmark.h>

#include <QTemporaryDir>
#include <map>
#include <memory>

#include "core/settings/configuration_io.h"
#include "support/sample_configuration.h"

namespace mirolat {
namespace {

class Quiet : public ErrorReporter {
 public:
  ErrorAnswer ReportError(const RunError&) override { return ErrorAnswer::End; }
};

// One store per size, written on first use and kept for the whole run.
SettingsStore& StoreWith(int services, int tariffs) {
  static std::map<std::pair<int, int>, std::pair<std::unique_ptr<QTemporaryDir>, std::unique_ptr<SettingsStore>>> stores;
  auto& entry = stores[{services, tariffs}];
  if (!entry.second) {
    entry.first = std::make_unique<QTemporaryDir>();
    entry.second = std::make_unique<SettingsStore>(SettingsStore::FilePathIn(entry.first->path()));
    Quiet reporter;
    Configuration c = test::ScaledConfiguration(services, tariffs);
    SaveConfiguration(*entry.second, c, reporter);
    Configuration loaded;
    LoadConfigurationWithDefaults(*entry.second, loaded, reporter);  // nothing left to fill in after this
  }
  return *entry.second;
}

void BM_LoadConfiguration(benchmark::State& state) {
  const int services = static_cast<int>(state.range(0));
  const int tariffs = static_cast<int>(state.range(1));
  SettingsStore& store = StoreWith(services, tariffs);
  Quiet reporter;
  for (auto _ : state) {
    Configuration config;
    const bool filled = LoadConfigurationWithDefaults(store, config, reporter);
    if (filled || config.UsedServices != services) state.SkipWithError("the record did not load as stored");
    benchmark::DoNotOptimize(config);
  }
  state.counters["values"] = static_cast<double>(services) * (15 + 7 * tariffs) + 160;
}
BENCHMARK(BM_LoadConfiguration)
    ->Args({10, 2})
    ->Args({1000, 2})
    ->Args({10000, 0})
    ->Args({10000, 2})
    ->Args({10000, 10})
    ->Args({32766, 10})
    ->Unit(benchmark::kMillisecond);

void BM_OpenAndLoad(benchmark::State& state) {
  const int services = static_cast<int>(state.range(0));
  const int tariffs = static_cast<int>(state.range(1));
  const QString path = StoreWith(services, tariffs).FilePath();
  Quiet reporter;
  for (auto _ : state) {
    SettingsStore store(path);
    Configuration config;
    const bool filled = LoadConfigurationWithDefaults(store, config, reporter);
    if (filled || config.UsedServices != services) state.SkipWithError("the record did not load as stored");
    benchmark::DoNotOptimize(config);
  }
}
BENCHMARK(BM_OpenAndLoad)->Args({10, 2})->Args({10000, 10})->Args({32766, 10})->Unit(benchmark::kMillisecond);

void BM_SaveConfiguration(benchmark::State& state) {
  const int services = static_cast<int>(state.range(0));
  const int tariffs = static_cast<int>(state.range(1));
  QTemporaryDir dir;
  SettingsStore store(SettingsStore::FilePathIn(dir.path()));
  Configuration c = test::ScaledConfiguration(services, tariffs);
  Quiet reporter;
  for (auto _ : state) {
    c.Services[0].ServiceName = QStringLiteral("Renamed %1").arg(state.iterations());
    if (!SaveConfiguration(store, c, reporter)) state.SkipWithError("the save failed");
  }
}
BENCHMARK(BM_SaveConfiguration)
    ->Args({10, 2})
    ->Args({1000, 2})
    ->Args({32766, 10})
    ->Iterations(2)
    ->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace mirolat

BENCHMARK_MAIN();
