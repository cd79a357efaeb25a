// mirolat-cli optimize | purge | repair | archive: the log maintenance
// commands for scripts and cron jobs, on the configured modem log (the log
// directory and ModemLogFile, as start-up finds it) or on the file --log names.
// A file other than the configured modem log is handled as an archive: its
// backup is ModemLogArchive.old beside it. Purge, like the window's, works on
// the modem log only.
#include <QDir>
#include <QFileInfo>

#include "cli/cli_context.h"
#include "cli/commands.h"
#include "cli/terminal_progress.h"
#include "core/app/command_availability.h"
#include "core/common/dates.h"
#include "core/logfile/log_checks.h"
#include "core/logfile/log_rewrites.h"
#include "core/logfile/warnings.h"

namespace mirolat::cli {

namespace {

const char* kOptimizeHelp =
    "usage: mirolat-cli optimize [--log FILE]\n"
    "Keeps only the lines of the log that carry one of the seven configured modem\n"
    "response texts (dial, answer, connect, both disconnects, reads, writes).\n"
    "The new log is written to ModemLog.opt beside it and renamed over it; the\n"
    "previous log becomes ModemLog.old (ModemLogArchive.old for another file).\n"
    "Without --log: the configured modem log in the log directory. A log the\n"
    "log check calls corrupt is refused: repair it first.\n"
    "Exit status: 0 done, 1 failed or refused (nothing changed), 2 wrong arguments.\n";

const char* kPurgeHelp =
    "usage: mirolat-cli purge --from YYYY-MM-DD --to YYYY-MM-DD [--log FILE]\n"
    "Removes the entries dated from --from to --to, both days included. Lines\n"
    "without a date (blank lines included) are removed wherever they are.\n"
    "The new log is written to ModemLog.pge beside it and renamed over it; the\n"
    "previous log becomes ModemLog.old.\n"
    "Without --log: the configured modem log in the log directory. Only the\n"
    "modem log is purged: a file --log names that is not the configured modem\n"
    "log is an archive, and an archive is refused (as in the window), and so is\n"
    "a log the log check calls corrupt: repair it first.\n"
    "Exit status: 0 done, 1 failed or refused (nothing changed), 2 wrong arguments.\n";

const char* kRepairHelp =
    "usage: mirolat-cli repair [--log FILE]\n"
    "Repairs a corrupt log: drops every byte a log line cannot hold (control\n"
    "characters other than CR and LF, tabs, bytes above 126) into ModemLog.fx1,\n"
    "which stays beside the log, then every line without a date into\n"
    "ModemLog.fx2, which is renamed over the log, each line ending in CR LF.\n"
    "The previous log becomes ModemLog.old (ModemLogArchive.old for another file).\n"
    "Without --log: the configured modem log in the log directory.\n"
    "Exit status: 0 done, 1 failed (nothing changed), 2 wrong arguments.\n";

const char* kArchiveHelp =
    "usage: mirolat-cli archive --out FILE.mrl [--force] [--log FILE]\n"
    "Saves an exact copy of the log as an archive (.mrl is added to a name\n"
    "without it). An existing archive is replaced only with --force.\n"
    "Without --log: the configured modem log in the log directory. A log the\n"
    "log check calls corrupt is refused: repair it first.\n"
    "Exit status: 0 done, 1 failed or refused (nothing changed), 2 wrong arguments.\n";

}  // namespace

const char* OptimizeHelp() { return kOptimizeHelp; }
const char* PurgeHelp() { return kPurgeHelp; }
const char* RepairHelp() { return kRepairHelp; }
const char* ArchiveHelp() { return kArchiveHelp; }

namespace {

bool WantsHelp(const QStringList& args) {
  return args.contains(QStringLiteral("--help")) || args.contains(QStringLiteral("-h"));
}

int Usage(QTextStream& err, const char* help, const QString& problem) {
  err << "mirolat-cli: " << problem << '\n' << QString::fromLatin1(help).section(QLatin1Char('\n'), 0, 0) << '\n';
  return 2;
}

// A path as compared: the file the link points to where it exists.
QString ComparablePath(const QString& path) {
  const QFileInfo info(path);
  const QString canonical = info.canonicalFilePath();
  return canonical.isEmpty() ? QDir::cleanPath(info.absoluteFilePath()) : canonical;
}

// Finds the file a command works on: `logOption`, or the configured modem log.
// Prints the reason and returns false when there is none.
bool FindLog(const QString& logOption, const Configuration& config, CurrentFileState& file, QTextStream& err) {
  const QString configured = ConfiguredLogPath(config);
  const QString path = logOption.isEmpty() ? configured : logOption;
  const QFileInfo info(path);
  file.LogFilePath = info.absoluteFilePath();
  file.LogFileName = info.fileName();
  file.WindowsDir = info.absolutePath() + QLatin1Char('/');
  file.ArchiveOpen = !logOption.isEmpty() && ComparablePath(path) != ComparablePath(configured);
  file.LogExists = FileExists(file.LogFilePath);
  if (!file.LogExists) {
    err << "mirolat-cli: no log file at '" << file.LogFilePath << "'\n";
    return false;
  }
  return true;
}

// Runs the log check on the file and refuses a rewrite its state does not
// allow (a corrupt log takes only repair, as in the window), with the check's
// message. True when the rewrite may run.
bool CheckedForRewrite(CurrentFileState& file, LogRewrite rewrite, const char* what, QTextStream& err) {
  CliErrorReporter reporter(err);
  NullProgress quiet;
  try {
    file.LogCorrupt = CheckLogCharacters(file, false, quiet, reporter);
  } catch (const EndProgramRequested&) {
    return false;
  }
  if (RewriteAllowed(file, rewrite)) return true;
  PrintBox(err, WarnLogCorrupt());
  err << "mirolat-cli: " << what << " refused: only repair rewrites a corrupt log; '" << file.LogFilePath
      << "' is unchanged\n";
  return false;
}

// Which files a rewrite command takes.
enum class Takes { LogOrArchive, ModemLogOnly };

// What every rewrite command shares: the arguments left after the command's
// own options, the configuration, the log, the progress line, the failure.
template <class Rewrite>
int RunRewrite(QStringList args, const char* help, LogRewrite kind, const char* what, QTextStream& err,
               Rewrite&& rewrite, Takes takes = Takes::LogOrArchive) {
  bool missing = false;
  const QString logOption = TakeOption(args, QStringLiteral("--log"), &missing);
  if (missing) return Usage(err, help, QStringLiteral("--log needs a file name"));
  if (!args.isEmpty()) return Usage(err, help, QStringLiteral("unexpected argument '%1'").arg(args.first()));

  CliContext context;
  if (!OpenCliContext(context, err)) return 1;
  CurrentFileState file;
  if (!FindLog(logOption, context.Config, file, err)) return 1;
  if (takes == Takes::ModemLogOnly && file.ArchiveOpen) {
    err << "mirolat-cli: " << what << " works on the modem log only: '" << file.LogFilePath
        << "' is an archive, not the configured modem log '" << ConfiguredLogPath(context.Config) << "'\n";
    return 1;
  }
  if (!CheckedForRewrite(file, kind, what, err)) return 1;

  CliErrorReporter reporter(err);
  RewriteResult result;
  {
    TerminalProgress progress(err);
    try {
      result = rewrite(file, context.Config, progress, reporter);
    } catch (const EndProgramRequested&) {
      result = RewriteResult{};
    }
  }
  if (!result.Done) {
    err << "mirolat-cli: " << what << " abandoned; " << file.LogFilePath << " and its backup are unchanged\n";
    return 1;
  }
  return -1;  // the caller prints its line
}

QString Kept(const RewriteResult& r) {
  return QStringLiteral("%1 lines kept, %2 removed").arg(r.LinesKept).arg(r.LinesRemoved);
}

}  // namespace

int CmdOptimize(const QStringList& args, QTextStream& out, QTextStream& err) {
  if (WantsHelp(args)) {
    out << kOptimizeHelp;
    return 0;
  }
  CurrentFileState file;
  RewriteResult result;
  const int rc = RunRewrite(
      args, kOptimizeHelp, LogRewrite::Optimize, "optimize", err,
      [&](const CurrentFileState& f, const Configuration& config, Progress& progress, ErrorReporter& reporter) {
        file = f;
        result = OptimizeLog(f, config, progress, reporter);
        return result;
      });
  if (rc >= 0) return rc;
  out << "Optimized " << file.LogFilePath << ": " << Kept(result) << "; the previous file is " << result.BackupPath
      << '\n';
  return 0;
}

int CmdPurge(const QStringList& arguments, QTextStream& out, QTextStream& err) {
  if (WantsHelp(arguments)) {
    out << kPurgeHelp;
    return 0;
  }
  QStringList args = arguments;
  bool missingFrom = false;
  bool missingTo = false;
  const QString fromText = TakeOption(args, QStringLiteral("--from"), &missingFrom);
  const QString toText = TakeOption(args, QStringLiteral("--to"), &missingTo);
  if (fromText.isEmpty() || toText.isEmpty() || missingFrom || missingTo) {
    return Usage(err, kPurgeHelp, QStringLiteral("purge needs --from YYYY-MM-DD and --to YYYY-MM-DD"));
  }
  const Date from = DateFromIso(fromText);
  const Date to = DateFromIso(toText);
  if (from == 0)
    return Usage(err, kPurgeHelp, QStringLiteral("--from needs a date YYYY-MM-DD, not '%1'").arg(fromText));
  if (to == 0) return Usage(err, kPurgeHelp, QStringLiteral("--to needs a date YYYY-MM-DD, not '%1'").arg(toText));
  if (from > to) {
    return Usage(err, kPurgeHelp, QStringLiteral("--from %1 is after --to %2").arg(fromText, toText));
  }
  CurrentFileState file;
  RewriteResult result;
  const int rc =
      RunRewrite(args, kPurgeHelp, LogRewrite::Purge, "purge", err,
                 [&](const CurrentFileState& f, const Configuration&, Progress& progress, ErrorReporter& reporter) {
                   file = f;
                   result = PurgeEntries(f, from, to, progress, reporter);
                   return result;
                 },
                 Takes::ModemLogOnly);
  if (rc >= 0) return rc;
  out << "Purged " << DateToIso(from) << " to " << DateToIso(to) << " from " << file.LogFilePath << ": " << Kept(result)
      << "; the previous file is " << result.BackupPath << '\n';
  return 0;
}

int CmdRepair(const QStringList& args, QTextStream& out, QTextStream& err) {
  if (WantsHelp(args)) {
    out << kRepairHelp;
    return 0;
  }
  CurrentFileState file;
  RewriteResult result;
  const int rc =
      RunRewrite(args, kRepairHelp, LogRewrite::Repair, "repair", err,
                 [&](const CurrentFileState& f, const Configuration&, Progress& progress, ErrorReporter& reporter) {
                   file = f;
                   result = RepairLog(f, progress, reporter);
                   return result;
                 });
  if (rc >= 0) return rc;
  out << "Repaired " << file.LogFilePath << ": " << result.BytesDropped << " bad bytes dropped, " << Kept(result)
      << "; the previous file is " << result.BackupPath << '\n';
  return 0;
}

int CmdArchive(const QStringList& arguments, QTextStream& out, QTextStream& err) {
  if (WantsHelp(arguments)) {
    out << kArchiveHelp;
    return 0;
  }
  QStringList args = arguments;
  bool missingOut = false;
  bool missingLog = false;
  QString outPath = TakeOption(args, QStringLiteral("--out"), &missingOut);
  const QString logOption = TakeOption(args, QStringLiteral("--log"), &missingLog);
  const bool force = args.removeAll(QStringLiteral("--force")) > 0;
  if (outPath.isEmpty() || missingOut) return Usage(err, kArchiveHelp, QStringLiteral("archive needs --out FILE.mrl"));
  if (missingLog) return Usage(err, kArchiveHelp, QStringLiteral("--log needs a file name"));
  if (!args.isEmpty()) return Usage(err, kArchiveHelp, QStringLiteral("unexpected argument '%1'").arg(args.first()));
  if (!outPath.endsWith(QStringLiteral(".mrl"), Qt::CaseInsensitive)) outPath += QStringLiteral(".mrl");
  outPath = QFileInfo(outPath).absoluteFilePath();

  CliContext context;
  if (!OpenCliContext(context, err)) return 1;
  CurrentFileState file;
  if (!FindLog(logOption, context.Config, file, err)) return 1;
  if (ComparablePath(outPath) == ComparablePath(file.LogFilePath)) {
    err << "mirolat-cli: the archive cannot be the log itself ('" << outPath << "')\n";
    return 1;
  }
  if (QFileInfo::exists(outPath) && !force) {
    err << "mirolat-cli: '" << outPath << "' exists; add --force to replace it\n";
    return 1;
  }
  if (!CheckedForRewrite(file, LogRewrite::Archive, "archive", err)) return 1;
  CliErrorReporter reporter(err);
  bool saved = false;
  try {
    saved = SaveLogAsArchive(file.LogFilePath, outPath, reporter);
  } catch (const EndProgramRequested&) {
    saved = false;
  }
  if (!saved) {
    err << "mirolat-cli: archive abandoned; '" << outPath << "' was not written\n";
    return 1;
  }
  out << "Archived " << file.LogFilePath << " as " << outPath << " (" << QFileInfo(outPath).size() << " bytes)\n";
  return 0;
}

}  // namespace mirolat::cli
