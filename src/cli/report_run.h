#pragma once
// The analysis behind `report` and `chart`: the log's start-up checks, the
// run over a range of days on the stored configuration, and the report's
// figures, with every message on the error stream as the command line prints
// it.
#include <QString>
#include <QTextStream>
#include <optional>
#include <vector>

#include "cli/cli_context.h"
#include "core/analysis/analysis_run.h"
#include "core/reports/report_figures.h"

namespace mirolat::cli {

// `--from` and `--to` as a range of days; false after telling `err` (in the
// words of `command`) what is wrong with them.
bool ParseRange(const QString& command, const QString& fromText, const QString& toText, QTextStream& err,
                Date* start, Date* end);

struct AnalysedRange {
  ReportInputs inputs;  // the range, configuration, locale and the run's error flag
  RunState run;
  bool ran = false;         // the run went to its end (a stopped run too)
  bool failed = false;      // a reason went to the error stream: exit status 1
  bool logCorrupt = false;  // the start-up checks found the log corrupt
  std::optional<ReportFigures> figures;  // when a report is wanted
  // With keepSessions: the sessions as the run left them, before the figures
  // add remarks to their notes (the texts are shared, not copied).
  std::vector<Session> sessionsAsRun;
};

// Checks the log (`logOption`, else the configured one) and analyses
// [start, end] with the configuration and locale of `context`. False when a
// failure ended the command at once (exit status 1); otherwise `range` says
// how far it got.
bool AnalyseRange(const CliContext& context, const QString& logOption, Date start, Date end, bool keepSessions,
                  QTextStream& err, AnalysedRange& range);

}  // namespace mirolat::cli
