#pragma once
// Shared pieces of the log-maintenance window tests: a January 1998 log
// written to the test's log folder, the current-file state pointing at it,
// and an error reporter that records each failure and answers by script.
#include <QByteArray>
#include <QFile>
#include <QList>
#include <QString>

#include "core/app/app_state.h"
#include "core/common/errors.h"

namespace mirolat::test {

// Lines dated 1 to 31 January 1998 around two sessions, CR LF line ends.
QByteArray JanuaryLog();

QByteArray ReadAll(const QString& path);
void WriteAll(const QString& path, const QByteArray& bytes);

// Points state.File at `dir` + `name` holding `bytes`, and scans it.
void UseLogFile(AppState& state, const QString& dir, const QString& name, const QByteArray& bytes,
                bool archive = false);

class RecordingReporter final : public ErrorReporter {
 public:
  ErrorAnswer ReportError(const RunError& error) override {
    errors.append(error.description());
    return answer;
  }
  QList<QString> errors;
  ErrorAnswer answer = ErrorAnswer::Continue;
};

}  // namespace mirolat::test
