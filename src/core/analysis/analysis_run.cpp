#include "core/analysis/analysis_run.h"


#include "core/common/block_reader.h"
#include "core/logfile/log_format.h"

namespace mirolat {

QString FinishedText(qint32 linesRead) {
  return QStringLiteral(" F I N I S H E D !  -  (") + QString::number(linesRead) +
         QStringLiteral(" entries processed)");
}

QString ProcessingText(int percent) {
  return QStringLiteral("Please Wait .....Processing  ") + QString::number(percent) + QStringLiteral("%");
}

MessageBoxSpec WarnIncompleteTariffs() {
  MessageBoxSpec box;
  box.title = QStringLiteral("WARNING");
  box.text = QStringLiteral(
      "Your Dialup Tariff Definitions Are Incomplete!\n"
      "\n"
      "Please review your dial-up costs/tariff definitions\n"
      "as they appear to be incomplete. Make sure all time\n"
      "segments are defined properly. Reported costs will be\n"
      "inaccurate until this is done.");
  box.buttons = MessageButtons::Ok;
  box.icon = MessageIcon::Exclamation;
  return box;
}

bool ReportWanted(const RunState& run) { return !run.TooManyServices && !run.TooManyConnections && !run.LogCorrupt; }

RunState ProcessLog(const RunInputs& inputs, const QString& logFilePath, Progress& progress, ErrorReporter& reporter) {
  RunState state;
  SessionBuilder builder(inputs, state, progress, reporter);
  builder.StartRun();

  {
    // The file is read in blocks of whole lines, each walked line by line in
    // place; a file that changes while it is read is a read error.
    BlockReader reader(true);
    if (RunStep(reporter, [&] { reader.Open(logFilePath); })) {
      QByteArrayView block;
      bool more = true;
      while (state.KeepGoing && RunStep(reporter, [&] { more = reader.Next(block); }) && more) {
        builder.ProcessLogText(block);
      }
      if (!more) RunStep(reporter, [&] { reader.CheckUnchanged(); });
    }
  }

  builder.FinishLog();
  progress.SetStatus(FinishedText(state.LinesRead));
  if (state.IncompleteTariffs) state.Messages.append(WarnIncompleteTariffs());
  return state;
}

}  // namespace mirolat
