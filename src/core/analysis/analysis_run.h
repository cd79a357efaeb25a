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

// The same run fed its text by a reader elsewhere (the log checks, which read
// the file once for both): blocks of whole lines in order, as a BlockReader
// that stops at the end-of-file mark hands them out. Feed stops taking text
// once the run needs no more. The run must stay where it was made.
class LogAnalysis {
 public:
  LogAnalysis(const RunInputs& inputs, Progress& progress, ErrorReporter& reporter);
  LogAnalysis(const LogAnalysis&) = delete;
  LogAnalysis& operator=(const LogAnalysis&) = delete;

  // True while the run takes more text.
  bool Wants() const { return state_.KeepGoing && !ended_; }
  // False once the run itself stopped (a line after the range, a limit, a corrupt line).
  bool KeepGoing() const { return state_.KeepGoing; }
  // One block of whole lines; text after an end-of-file mark (byte 26) is
  // not part of the log and ends the run's text.
  void Feed(QByteArrayView block);
  // The end of the text: what is open is closed, the finished text shown and
  // the warnings queued. The run's state moves to the caller.
  RunState Finish();

 private:
  RunState state_;
  Progress& progress_;
  SessionBuilder builder_;
  bool ended_ = false;
};

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
