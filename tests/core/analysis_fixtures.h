#pragma once
// Crafted modem logs for the session builder and analysis run tests.
#include <QList>
#include <QString>
#include <QStringList>
#include <ostream>

#include "core/analysis/session_builder.h"
#include "core/common/dates.h"
#include "core/common/errors.h"
#include "core/common/progress.h"
#include "file_test_support.h"
#include "pricing_fixtures.h"

// Readable QString values in failure messages.
inline void PrintTo(const QString& text, std::ostream* os) { *os << '"' << text.toStdString() << '"'; }

namespace mirolat::testing {

// "MM-DD-YYYY HH:MM:SS.00 - text", the log's own layout.
inline QString LogLine(Date date, TimeOfDay time, const QString& text) {
  const QDate d = ToQDate(date);
  return QStringLiteral("%1-%2-%3 %4.00 - %5")
      .arg(d.month(), 2, 10, QLatin1Char('0'))
      .arg(d.day(), 2, 10, QLatin1Char('0'))
      .arg(d.year(), 4, 10, QLatin1Char('0'))
      .arg(TimeToText(time), text);
}

class ScriptedReporter : public ErrorReporter {
 public:
  explicit ScriptedReporter(ErrorAnswer answer = ErrorAnswer::Continue) : answer_(answer) {}
  ErrorAnswer ReportError(const RunError& error) override {
    errors.append(error.description());
    return answer_;
  }
  QStringList errors;

 private:
  ErrorAnswer answer_;
};

using test::RecordingProgress;

}  // namespace mirolat::testing
