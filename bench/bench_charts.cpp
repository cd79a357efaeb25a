// Speed of the report's charts over ten years of daily figures (3,650 days,
// six numbers, every hour of the week used): the series, the Qt Charts chart
// and its drawing into a 1200 x 800 picture, per kind, with the daily chart
// both in its automatic months and forced to single days (stacked areas).
// The Charts window must draw each in well under 300 ms.
// Run by hand: build/bench/bench_charts
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QChart>
#include <QImage>
#include <QPainter>

#include "render/report_charts.h"

namespace mirolat {
namespace {

constexpr int kDays = 3650;
constexpr int kNumbers = 6;

const ReportFigures& TenYears() {
  static const ReportFigures figures = [] {
    ReportFigures f;
    f.ReportStartDate = ExistingDate(2015, 1, 1);
    f.ReportEndDate = f.ReportStartDate + kDays - 1;
    f.CostsShown = true;
    f.Numbers.resize(kNumbers);
    for (int k = 0; k < kNumbers; ++k) f.Numbers[std::size_t(k)].Name = QStringLiteral("Service %1").arg(k + 1);
    quint32 seed = 12345;
    const auto next = [&seed] { return (seed = seed * 1103515245u + 12345u) >> 8; };
    for (int d = 0; d < kDays; ++d) {
      DayFigures day;
      day.Day = f.ReportStartDate + d;
      for (std::size_t k = 0; k < kNumbers; ++k) {
        const qint64 seconds = next() % 7200;
        day.Seconds.push_back(seconds);
        day.Cost.push_back(double(seconds) * 0.0007);
        f.Numbers[k].Seconds += seconds;
        f.Numbers[k].Cost += double(seconds) * 0.0007;
      }
      for (int h = 0; h < 24; ++h) f.HourOfWeekSeconds[std::size_t(WeekdayIndex(day.Day) * 24 + h)] += next() % 600;
      f.Days.push_back(std::move(day));
    }
    return f;
  }();
  return figures;
}

void DrawChart(benchmark::State& state, ChartKind kind, ChartPeriod period) {
  static const LocaleValues locale = LoadLocaleInfo(QLocale(QStringLiteral("en_US")));
  ChartOptions options;
  options.period = period;
  options.locale = &locale;
  const ReportFigures& figures = TenYears();
  QImage image(1200, 800, QImage::Format_ARGB32_Premultiplied);
  for (auto _ : state) {
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    PaintChart(painter, QRectF(0, 0, 1200, 800), kind, figures, options);
    benchmark::DoNotOptimize(image.bits());
  }
}

void BM_DailyByMonth(benchmark::State& s) { DrawChart(s, ChartKind::Daily, ChartPeriod::Automatic); }
void BM_DailyByDay(benchmark::State& s) { DrawChart(s, ChartKind::Daily, ChartPeriod::Day); }
void BM_Share(benchmark::State& s) { DrawChart(s, ChartKind::Share, ChartPeriod::Automatic); }
void BM_HeatMap(benchmark::State& s) { DrawChart(s, ChartKind::HeatMap, ChartPeriod::Automatic); }
void BM_Cumulative(benchmark::State& s) { DrawChart(s, ChartKind::Cumulative, ChartPeriod::Automatic); }
BENCHMARK(BM_DailyByMonth)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DailyByDay)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Share)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_HeatMap)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Cumulative)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace mirolat

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
