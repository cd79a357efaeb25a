// Speed and store size of `config import`: the whole record written into the
// settings store in one transaction, as ImportConfiguration does, with the
// store opened before and closed after (closing folds the write-ahead log
// into the file). BM_ImportIntoFreshStore writes into a new store;
// BM_ImportOverSameRecord imports the same record again over it (every value
// already there). Records (services, tariffs each, long texts): 10,000
// services with two tariffs each; 32766 services (MaxServices at its
// largest) with ten tariffs each and short texts; and the largest record
// the limits allow, the same with every name and number at its length limit.
// The counter store_MB is the size of the store's file after the import.
// Run by hand: build/bench/bench_config_import
#include <benchmark/benchmark.h>

#include <QFileInfo>
#include <QTemporaryDir>
#include <memory>

#include "core/model/option_entries.h"
#include "core/settings/configuration_io.h"
#include "support/sample_configuration.h"

namespace mirolat {
namespace {

class Quiet : public ErrorReporter {
 public:
  ErrorAnswer ReportError(const RunError&) override { return ErrorAnswer::End; }
};

Configuration RecordOf(const benchmark::State& state) {
  return test::ScaledConfiguration(static_cast<int>(state.range(0)), static_cast<int>(state.range(1)),
                                   state.range(2) != 0);
}

void Import(const QString& path, const Configuration& record, benchmark::State& state) {
  SettingsStore store(path);
  Configuration imported = record;
  Quiet reporter;
  if (!ImportConfiguration(store, imported, reporter)) state.SkipWithError("the import failed");
}

void CountStore(benchmark::State& state, const QString& path) {
  state.counters["store_MB"] = static_cast<double>(QFileInfo(path).size()) / 1e6;
  state.counters["values"] =
      static_cast<double>(state.range(0)) * (15 + 7 * static_cast<double>(state.range(1))) + 160;
}

void BM_ImportIntoFreshStore(benchmark::State& state) {
  const Configuration record = RecordOf(state);
  QString path;
  std::unique_ptr<QTemporaryDir> dir;
  for (auto _ : state) {
    state.PauseTiming();
    dir = std::make_unique<QTemporaryDir>();
    path = SettingsStore::FilePathIn(dir->path());
    state.ResumeTiming();
    Import(path, record, state);
  }
  CountStore(state, path);
}
BENCHMARK(BM_ImportIntoFreshStore)
    ->Args({10000, 2, 0})
    ->Args({32766, 10, 0})
    ->Args({32766, 10, 1})
    ->Iterations(1)
    ->Unit(benchmark::kMillisecond);

void BM_ImportOverSameRecord(benchmark::State& state) {
  const Configuration record = RecordOf(state);
  QTemporaryDir dir;
  const QString path = SettingsStore::FilePathIn(dir.path());
  Import(path, record, state);
  for (auto _ : state) Import(path, record, state);
  CountStore(state, path);
}
BENCHMARK(BM_ImportOverSameRecord)
    ->Args({10000, 2, 0})
    ->Args({32766, 10, 1})
    ->Iterations(1)
    ->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace mirolat

BENCHMARK_MAIN();
