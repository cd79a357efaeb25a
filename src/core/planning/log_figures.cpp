#include "core/planning/log_figures.h"

#include <QFileInfo>

#include "core/analysis/analysis_run.h"

namespace mirolat {
namespace {

// Nobody is asked: a file that cannot be read leaves the run without it.
class GoOnReporter final : public ErrorReporter {
 public:
  ErrorAnswer ReportError(const RunError&) override {
    failed = true;
    return ErrorAnswer::Continue;
  }
  bool failed = false;
};

}  // namespace

std::optional<ReportFigures> FiguresOfLog(const Configuration& config, const LocaleValues& locale,
                                          const QString& logPath, Date first, Date last) {
  if (first == 0 || last < first || !QFileInfo(logPath).isFile()) return std::nullopt;
  RunInputs inputs;
  inputs.config = &config;
  inputs.locale = &locale;
  inputs.ReportStartDate = first;
  inputs.ReportEndDate = last;
  NullProgress quiet;
  GoOnReporter reporter;
  RunState run = ProcessLog(inputs, logPath, quiet, reporter);
  if (reporter.failed || !ReportWanted(run)) return std::nullopt;
  const ReportInputs reportInputs{&config, &locale, first, last, run.ErrorsFound};
  return BuildReportFigures(run.Tables, reportInputs, quiet);
}

}  // namespace mirolat
