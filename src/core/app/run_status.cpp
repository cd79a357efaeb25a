#include "core/app/run_status.h"

#include "core/analysis/analysis_run.h"

namespace mirolat {

QString RunEndText(const RunState& run) {
  const QString processed =
      QStringLiteral("  -  (") + QString::number(run.LinesRead) + QStringLiteral(" entries processed)");
  if (run.LogCorrupt) return QStringLiteral(" STOPPED: undated line in the modem log") + processed;
  if (run.TooManyConnections) return QStringLiteral(" STOPPED: too many connections") + processed;
  if (run.TooManyServices) return QStringLiteral(" STOPPED: too many services") + processed;
  return FinishedText(run.LinesRead);
}

}  // namespace mirolat
