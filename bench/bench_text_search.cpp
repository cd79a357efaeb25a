// Speed of the viewer's search rule over the text of a 15 MB log (300,000
// lines): a hit near the end, downwards and upwards, with and without case,
// and a text that is not there. Run by hand: build/bench/bench_text_search
#include <benchmark/benchmark.h>

#include <QString>

#include "core/logfile/text_search.h"

namespace mirolat {
namespace {

constexpr int kLines = 300000;

const QString& LogText() {
  static const QString text = [] {
    QString t;
    t.reserve(static_cast<qsizetype>(kLines) * 51);
    for (int i = 0; i < kLines; ++i) {
      t += QStringLiteral("01-%1-1998 10:%2:00.00 - Recv: ATDT5551234 line %3\n")
               .arg(1 + i % 28, 2, 10, QLatin1Char('0'))
               .arg(i % 60, 2, 10, QLatin1Char('0'))
               .arg(i, 6, 10, QLatin1Char('0'));
    }
    t += QStringLiteral("01-31-1998 23:59:59.00 - The Needle Is Here\n");
    return t;
  }();
  return text;
}

void Run(benchmark::State& state, QStringView needle, bool matchCase, bool down) {
  const QString& text = LogText();
  const qsizetype caret = down ? 0 : text.size();
  for (auto _ : state) {
    benchmark::DoNotOptimize(FindTextPosition(text, {needle, caret, matchCase, down, false}));
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * text.size() * 2);
}

void BM_FindDownWithoutCase(benchmark::State& s) { Run(s, u"needle is here", false, true); }
void BM_FindDownWithCase(benchmark::State& s) { Run(s, u"Needle Is Here", true, true); }
void BM_FindUpWithoutCase(benchmark::State& s) { Run(s, u"line 000000", false, false); }
void BM_FindUpWithCase(benchmark::State& s) { Run(s, u"line 000000", true, false); }
void BM_MissWithoutCase(benchmark::State& s) { Run(s, u"not in the log", false, true); }

BENCHMARK(BM_FindDownWithoutCase)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FindDownWithCase)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FindUpWithoutCase)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FindUpWithCase)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_MissWithoutCase)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace mirolat

BENCHMARK_MAIN();
