// Speed of the report figures and of every format on a Details report of
// about 30,000 sessions (a generated log priced with three services and their
// tariffs): the figures alone, the Details text made of them, each format
// writing the whole document to a sink that only counts the bytes, and the
// Summary's PDF with its charts.
// Run by hand: build/bench/bench_report_formats
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QFile>
#include <QTemporaryDir>
#include <cstdio>
#include <cstdlib>

#include "core/analysis/analysis_run.h"
#include "core/analysis/log_generator.h"
#include "core/reports/details_report.h"
#include "core/reports/formats/report_format.h"
#include "render/report_formats.h"
#include "core/reports/summary_report.h"
#include "support/sample_configuration.h"

namespace mirolat {
namespace {

class EndOnError : public ErrorReporter {
 public:
  ErrorAnswer ReportError(const RunError& e) override {
    std::fprintf(stderr, "bench_report_formats: %s\n", qPrintable(e.description()));
    return ErrorAnswer::End;
  }
};

struct BenchData {
  Configuration config = test::ForGeneratedLog(test::SampleConfiguration());
  LocaleValues locale = LoadLocaleInfo(QLocale(QStringLiteral("en_US")));
  ReportInputs inputs;
  RunState run;
  ReportFigures figures;
  ReportModel summary;
  ReportModel details;

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
    RunInputs in;
    in.config = &config;
    in.locale = &locale;
    in.ReportStartDate = FromQDate(o.start);
    in.ReportEndDate = FromQDate(o.start.addDays(o.days + 2));
    NullProgress progress;
    EndOnError reporter;
    run = ProcessLog(in, path, progress, reporter);
    if (!ReportWanted(run)) std::abort();
    inputs = ReportInputs{&config, &locale, in.ReportStartDate, in.ReportEndDate, run.ErrorsFound};
    SessionTable tables = run.Tables;
    figures = BuildReportFigures(tables, inputs, progress);
    summary = BuildSummaryReport(figures, inputs);
    details = BuildDetailsReport(figures, inputs).Model;  // with the list's rows, which HTML and PDF show
  }
};

BenchData& Data() {
  static BenchData data;
  return data;
}

void BM_Figures(benchmark::State& state) {
  const BenchData& d = Data();
  NullProgress progress;
  for (auto _ : state) {
    state.PauseTiming();
    SessionTable tables = d.run.Tables;  // the figures add remarks to the notes
    state.ResumeTiming();
    benchmark::DoNotOptimize(BuildReportFigures(tables, d.inputs, progress).Sessions.size());
  }
  state.counters["sessions"] = double(d.figures.Sessions.size());
}
BENCHMARK(BM_Figures)->Unit(benchmark::kMillisecond);

void BM_DetailsTextFromFigures(benchmark::State& state) {
  const BenchData& d = Data();
  for (auto _ : state) benchmark::DoNotOptimize(BuildDetailsReport(d.figures, d.inputs, false).Model.Text.size());
}
BENCHMARK(BM_DetailsTextFromFigures)->Unit(benchmark::kMillisecond);

void BM_Format(benchmark::State& state, const QString& id, ReportKind kind) {
  const BenchData& d = Data();
  const auto format = FormatWithId(AllReportFormats(), id);
  const ReportDocument document{kind, &d.figures, &d.summary, &d.details, &d.config, &d.locale, &d.run};
  qint64 bytes = 0;
  for (auto _ : state) {
    bytes = 0;
    format->Write(document, [&](QByteArrayView piece) { bytes += piece.size(); });
    benchmark::DoNotOptimize(bytes);
  }
  state.SetBytesProcessed(state.iterations() * bytes);
  state.counters["output_MB"] = double(bytes) / (1024.0 * 1024.0);
}
constexpr ReportKind kDetails = ReportKind::Details;
BENCHMARK_CAPTURE(BM_Format, text, QStringLiteral("text"), kDetails)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Format, csv, QStringLiteral("csv"), kDetails)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Format, csv_locale, QStringLiteral("csv-locale"), kDetails)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Format, json, QStringLiteral("json"), kDetails)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Format, html, QStringLiteral("html"), kDetails)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK_CAPTURE(BM_Format, pdf, QStringLiteral("pdf"), kDetails)->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK_CAPTURE(BM_Format, summary_pdf_with_charts, QStringLiteral("pdf"), ReportKind::Summary)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(3);

}  // namespace
}  // namespace mirolat

// The PDF needs fonts and its charts a graphics scene: an application,
// offscreen unless told otherwise.
int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
