// Speed of the HTML and PDF pages of a Details report of about 30,000
// sessions (a generated log priced with three services and their tariffs),
// each written whole to a sink that only counts the bytes; and the Summary's
// PDF with its charts. Run by hand: build/bench/bench_report_pages
#include <benchmark/benchmark.h>

#include <QFile>
#include <QApplication>
#include <QTemporaryDir>
#include <cstdio>
#include <cstdlib>

#include "core/analysis/analysis_run.h"
#include "core/analysis/log_generator.h"
#include "core/reports/details_report.h"
#include "core/reports/formats/html_format.h"
#include "core/reports/summary_report.h"
#include "render/pdf_report_format.h"
#include "support/sample_configuration.h"

namespace mirolat {
namespace {

class EndOnError : public ErrorReporter {
 public:
  ErrorAnswer ReportError(const RunError& e) override {
    std::fprintf(stderr, "bench_report_pages: %s\n", qPrintable(e.description()));
    return ErrorAnswer::End;
  }
};

struct PagesData {
  Configuration config = test::ForGeneratedLog(test::SampleConfiguration());
  LocaleValues locale = LoadLocaleInfo(QLocale(QStringLiteral("en_US")));
  RunState run;
  ReportFigures figures;
  ReportModel summary;
  ReportModel details;

  PagesData() {
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
    const ReportInputs inputs{&config, &locale, in.ReportStartDate, in.ReportEndDate, run.ErrorsFound};
    figures = BuildReportFigures(run.Tables, inputs, progress);
    summary = BuildSummaryReport(figures, inputs);
    details = BuildDetailsReport(figures, inputs).Model;  // with the list's rows, which the pages show
  }
};

PagesData& Data() {
  static PagesData data;
  return data;
}

void Write(benchmark::State& state, const ReportFormat& format, ReportKind kind) {
  const PagesData& d = Data();
  const ReportDocument document{kind, &d.figures, &d.summary, &d.details, &d.config, &d.locale, &d.run};
  qint64 bytes = 0;
  for (auto _ : state) {
    bytes = 0;
    format.Write(document, [&bytes](QByteArrayView piece) { bytes += piece.size(); });
    benchmark::DoNotOptimize(bytes);
  }
  state.counters["sessions"] = double(d.figures.Sessions.size());
  state.counters["MB"] = double(bytes) / 1e6;
}

void BM_DetailsHtml(benchmark::State& state) { Write(state, HtmlFormat(), ReportKind::Details); }
void BM_DetailsPdf(benchmark::State& state) { Write(state, PdfReportFormat(), ReportKind::Details); }
void BM_SummaryPdfWithCharts(benchmark::State& state) { Write(state, PdfReportFormat(), ReportKind::Summary); }

BENCHMARK(BM_DetailsHtml)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_DetailsPdf)->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK(BM_SummaryPdfWithCharts)->Unit(benchmark::kMillisecond)->Iterations(3);

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
