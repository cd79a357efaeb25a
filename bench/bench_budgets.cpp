// What the main window's budget bars cost after each change to the log or the
// configuration: every budget's standing on a typical log (about 150 kB, 45
// days), the overall budget and three services' in two distinct cycles, each
// cycle one analysis run of the file.
#include <benchmark/benchmark.h>

#include <QFile>
#include <QTemporaryDir>

#include "core/analysis/log_generator.h"
#include "core/planning/budget_status.h"
#include "core/planning/log_figures.h"

namespace {

using namespace mirolat;

void BM_BudgetStatusesOnATypicalLog(benchmark::State& state) {
  QTemporaryDir dir;
  LogGeneratorOptions options;
  options.seed = 5;
  options.days = 45;
  const QByteArray bytes = GenerateModemLog(options, nullptr);
  const QString path = dir.filePath(QStringLiteral("ModemLog.txt"));
  QFile file(path);
  if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size()) state.SkipWithError("cannot write the log");
  file.close();
  Configuration config;
  config.UsedServices = 3;
  const char* numbers[] = {"5551234", "5559876", "0845123456"};
  for (int i = 0; i < 3; ++i) {
    Service& s = config.Services[std::size_t(i)];
    s.ServiceName = QStringLiteral("Service %1").arg(i + 1);
    s.ServiceNumber = QLatin1String(numbers[i]);
    s.DialOption = 1;
    s.ServiceOption = 1;
    s.Budget.Money = 10;
  }
  config.Services[2].Budget.CycleStartDay = 15;
  config.OverallBudget.Hours = 20;
  const LocaleValues locale = LoadLocaleInfo(QLocale(QLocale::English, QLocale::UnitedStates));
  const Date at = FromQDate(options.start.addDays(options.days - 1));
  for (auto _ : state) {
    const auto statuses = BudgetStatuses(config, at, [&](Date first, Date last) {
      return FiguresOfLog(config, locale, path, first, last);
    });
    benchmark::DoNotOptimize(statuses);
  }
  state.counters["log_kB"] = double(bytes.size()) / 1024.0;
}
BENCHMARK(BM_BudgetStatusesOnATypicalLog)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
