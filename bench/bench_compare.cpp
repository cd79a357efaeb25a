// Comparing plans over about 30,000 sessions of a synthetic log: the three
// sample services and seventeen more candidate plans (twenty in all), each
// re-pricing every session with its tariff walk and service charges. The
// analysis and the figures are made once, outside the timing.
#include <benchmark/benchmark.h>

#include <QFile>
#include <QTemporaryDir>
#include <cstdio>
#include <cstdlib>

#include "core/analysis/analysis_run.h"
#include "core/analysis/log_generator.h"
#include "core/planning/log_figures.h"
#include "core/planning/plan_comparison.h"
#include "support/sample_configuration.h"

namespace {

using namespace mirolat;

struct BenchData {
  Configuration config = ConfigurationForComparison(test::ForGeneratedLog(test::SampleConfiguration()));
  LocaleValues locale = LoadLocaleInfo(QLocale(QStringLiteral("en_US")));
  ReportFigures figures;
  std::vector<PlanToPrice> plans;

  BenchData() {
    config.MaxConnections = 40000;
    config.MaxLogSize = 1 << 30;
    LogGeneratorOptions o;
    o.seed = 30000;
    o.sessionsPerDay = 10;
    o.days = 4070;  // about 30,000 sessions
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("ModemLog.txt"));
    const QByteArray log = GenerateModemLog(o);
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly) || f.write(log) != log.size()) std::abort();
    f.close();
    auto made = FiguresOfLog(config, locale, path, FromQDate(o.start), FromQDate(o.start.addDays(o.days + 2)));
    if (!made) std::abort();
    figures = std::move(*made);
    plans = ConfiguredPlans(config);
    const Configuration more = test::ScaledConfiguration(20, 10);
    for (std::size_t i = 0; plans.size() < 20; ++i) plans.push_back(PlanToPrice{more.Services[i], -1});
  }
};

void BM_ComparePlans(benchmark::State& state) {
  static BenchData data;
  std::size_t ranked = 0;
  for (auto _ : state) {
    const PlanComparison c = ComparePlans(data.config, data.locale, data.figures, data.plans);
    ranked = c.Plans.size();
    benchmark::DoNotOptimize(c.Plans.front().Total);
  }
  state.counters["sessions"] = double(data.figures.Sessions.size());
  state.counters["plans"] = double(ranked);
}
BENCHMARK(BM_ComparePlans)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
