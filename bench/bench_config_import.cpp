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

namespace mirolat {
namespace {

class Quiet : public ErrorReporter {
 public:
  ErrorAnswer ReportError(const RunError&) override { return ErrorAnswer::End; }
};

// A text of `length` characters starting with `head`.
QString Filled(const QString& head, int length) {
  QString text = head;
  if (text.size() < length) text += QString(length - text.size(), QLatin1Char('x'));
  return text;
}

// `services` services of `tariffs` tariffs each; `longest`: every text as
// long as its limit lets it be.
Configuration Record(int services, int tariffs, bool longest) {
  Configuration c;
  c.MaxServices = std::max(services, 10);
  c.Services.assign(static_cast<size_t>(c.MaxServices) + 1, Service{});
  c.UsedServices = services;
  const int nameLength = longest ? kMaxNameLength : 0;
  const int numberLength = longest ? kMaxNumberLength : 0;
  for (int n = 0; n < services; ++n) {
    Service& s = c.Services[static_cast<size_t>(n)];
    s.ServiceName = Filled(QStringLiteral("Service %1 ").arg(n + 1), nameLength);
    s.ServiceNumber = Filled(QStringLiteral("0845%1").arg(n + 1), numberLength);
    s.DialOption = 2;
    s.UsedTariffs = tariffs;
    for (int t = 0; t < tariffs; ++t) {
      s.Tariffs[static_cast<size_t>(t)] =
          Tariff{Filled(QStringLiteral("Tariff %1 ").arg(t + 1), nameLength), QStringLiteral("Mon - Fri"), t * 3600,
                 t * 3600 + 3540, 0.05, 0.01 * t, 60};
    }
    s.ServiceOption = 2;
    s.FlexRate = 0.5;
    s.UpToHours = 10;
    s.PenaltyPeriod = QStringLiteral("Week");
    s.MegPeriod = QStringLiteral("Month");
  }
  c.UsedHolidays = 100;
  for (int n = 0; n < 100; ++n) c.Holidays[static_cast<size_t>(n)] = 36000 + n;
  return c;
}

Configuration RecordOf(const benchmark::State& state) {
  return Record(static_cast<int>(state.range(0)), static_cast<int>(state.range(1)), state.range(2) != 0);
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
