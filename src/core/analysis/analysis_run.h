#pragma once
// The analysis run: reads the current file once from its first line, feeds
// every line to the session builder, closes a session left open at the end,
// and leaves the session table and per-number totals for the reports.
#include <QString>

#include "core/analysis/session_builder.h"
#include "core/common/errors.h"
#include "core/common/progress.h"

namespace mirolat {

// The whole run over `logFilePath` for inputs' report range. Progress gets
// "Please Wait .....Processing  n%" about ten times and the finished text at
// the end. A file that cannot be opened goes to the reporter (retry, continue
// without reading, or end: EndProgramRequested propagates); so does a line
// whose characters 12-19 are not a time of day. Warnings to show (too many
// services or connections, incomplete tariffs) are in the result's Messages.
// The caller copies LogCorrupt into the current-file state.
RunState ProcessLog(const RunInputs& inputs, const QString& logFilePath, Progress& progress,
                    ErrorReporter& reporter);

// True when the run ended normally and the report window should open: no stop
// for too many services or connections and no corrupt line.
bool ReportWanted(const RunState& run);

// " F I N I S H E D !  -  (n entries processed)".
QString FinishedText(qint32 linesRead);
// "Please Wait .....Processing  n%".
QString ProcessingText(int percent);

// The warning shown when a session's dial-up tariffs did not cover it.
MessageBoxSpec WarnIncompleteTariffs();

}  // namespace mirolat
