#include "core/analysis/analysis_run.h"

#include <QFile>
#include <cerrno>

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
    QFile file(logFilePath);
    const bool opened = RunStep(reporter, [&] {
      errno = 0;
      if (!file.open(QIODevice::ReadOnly)) {
        const int err = errno != 0 ? errno : ENOENT;
        throw FileErrorFromErrno(err, QStringLiteral("Cannot open"), logFilePath);
      }
    });
    if (opened) {
      // The whole file is mapped once and walked line by line in place.
      QByteArray copy;
      QByteArrayView data;
      const qint64 size = file.size();
      if (size > 0) {
        if (const uchar* mapped = file.map(0, size)) {
          data = QByteArrayView(reinterpret_cast<const char*>(mapped), size);
        } else {
          RunStep(reporter, [&] {
            copy = file.readAll();
            if (file.error() != QFileDevice::NoError) {
              const int err = errno != 0 ? errno : EIO;
              throw FileErrorFromErrno(err, QStringLiteral("Cannot read"), logFilePath);
            }
          });
          data = QByteArrayView(copy);
        }
      }
      builder.ProcessLogText(data);
    }
  }

  builder.FinishLog();
  progress.SetStatus(FinishedText(state.LinesRead));
  if (state.IncompleteTariffs) state.Messages.append(WarnIncompleteTariffs());
  return state;
}

}  // namespace mirolat
