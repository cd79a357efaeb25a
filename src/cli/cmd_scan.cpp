// mirolat-cli scan [--log FILE] [--locale NAME]: the start-up checks on a log
// file (the configured modem log by default) and its statistics, with the
// warnings the main window would show.
#include <QFileInfo>

#include "cli/cli_context.h"
#include "cli/commands.h"
#include "core/common/dates.h"
#include "core/common/formatting.h"
#include "core/logfile/log_checks.h"
#include "core/logfile/log_statistics.h"
#include "core/logfile/warnings.h"

namespace mirolat::cli {

namespace {

QString LongDate(Date d, const LocaleValues& locale) {
  if (d == 0) return QStringLiteral("none");
  return locale.Locale.toString(ToQDate(d), QLocale::LongFormat);
}

}  // namespace

int CmdScan(const QStringList& arguments, QTextStream& out, QTextStream& err) {
  QStringList args = arguments;
  bool missingLog = false;
  bool missingLocale = false;
  const QString logOption = TakeOption(args, QStringLiteral("--log"), &missingLog);
  const QString localeName = TakeOption(args, QStringLiteral("--locale"), &missingLocale);
  if (missingLog || missingLocale || !args.isEmpty()) {
    err << "usage: mirolat-cli scan [--log FILE] [--locale NAME]\n";
    return 2;
  }
  if (!logOption.isEmpty() && QFileInfo(logOption).isDir()) {
    err << "mirolat-cli: '" << logOption << "' is a folder, not a log file\n";
    return 1;
  }

  CliContext context;
  if (!OpenCliContext(context, err, localeName, StoreUse::ReadOnly)) return 1;
  const LocaleValues& locale = context.Locale;
  const QString logPath = logOption.isEmpty() ? ConfiguredLogPath(context.Config) : logOption;
  const QFileInfo info(logPath);

  CurrentFileState state;
  state.WindowsDir = info.absolutePath() + QLatin1Char('/');
  state.LogFileName = info.fileName();
  state.LogFilePath = info.absoluteFilePath();
  state.LogExists = FileExists(state.LogFilePath);

  CliErrorReporter reporter(err);
  NullProgress progress;
  try {
    if (state.LogExists) {
      state.LogCorrupt = CheckAndScanLog(state, context.Config, false, progress, reporter);
    }
  } catch (const EndProgramRequested&) {
    return 1;
  }

  out << "Name: " << state.LogFileName << '\n';
  out << "Path: " << state.LogFilePath << '\n';
  if (state.LogExists) {
    out << "Size: " << state.LogFileSize << " bytes ("
        << FormatWholeNumber(static_cast<double>(state.LogFileSize) / 1024.0, locale) << " KB)\n";
    if (state.LogCorrupt) {
      out << "Entries: not counted (the log is corrupt)\n";
    } else {
      out << "Entries: " << LogEntryCountText(state.LogEntryCount) << (state.LogEmpty ? " (empty log)" : "") << '\n';
      out << "First entry: " << LongDate(state.LogFirstDate, locale) << '\n';
      out << "Last entry: " << LongDate(state.LogLastDate, locale) << '\n';
    }
  } else {
    out << "Size: no such file\n";
  }

  const QList<MessageBoxSpec> warnings = ActivationWarnings(state, false);
  if (warnings.isEmpty()) {
    out << "Warnings: none\n";
  } else {
    out << "Warnings:\n";
    for (const MessageBoxSpec& box : warnings) {
      const QString title = box.title.isEmpty() ? QStringLiteral("Mirolat") : box.title;
      out << "  " << title << ": " << box.text.section(QLatin1Char('\n'), 0, 0) << '\n';
    }
  }
  out.flush();
  return !state.LogExists || state.LogCorrupt || state.NotAModemLog ? 1 : 0;
}

}  // namespace mirolat::cli
