#include "core/analysis/analysis_run.h"

#include <cstring>

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

LogAnalysis::LogAnalysis(const RunInputs& inputs, Progress& progress, ErrorReporter& reporter)
    : progress_(progress), builder_(inputs, state_, progress, reporter) {
  builder_.StartRun();
}

void LogAnalysis::Feed(QByteArrayView block) {
  if (!Wants()) return;
  if (const void* mark = std::memchr(block.data(), 0x1a, static_cast<size_t>(block.size()))) {
    // As a reader that stops at the mark hands it out: the mark ends the last block.
    block.truncate(static_cast<const char*>(mark) - block.data() + 1);
    ended_ = true;
  }
  builder_.ProcessLogText(block);
}

RunState LogAnalysis::Finish() {
  builder_.FinishLog();
  progress_.SetStatus(FinishedText(state_.LinesRead));
  if (state_.IncompleteTariffs) state_.Messages.append(WarnIncompleteTariffs());
  ended_ = true;
  return std::move(state_);
}

RunState ProcessLog(const RunInputs& inputs, const QString& logFilePath, Progress& progress, ErrorReporter& reporter) {
  LogAnalysis run(inputs, progress, reporter);
  {
    // The file is read in blocks of whole lines, each walked line by line in
    // place; a file that changes while it is read is a read error.
    BlockReader reader(true);
    if (RunStep(reporter, [&] { reader.Open(logFilePath); })) {
      QByteArrayView block;
      bool more = true;
      while (run.KeepGoing() && RunStep(reporter, [&] { more = reader.Next(block); }) && more) run.Feed(block);
      if (!more) RunStep(reporter, [&] { reader.CheckUnchanged(); });
    }
  }
  return run.Finish();
}

}  // namespace mirolat
