// mirolat-cli import-pppd [--from FILE|-] [--year YYYY] [--log FILE]
// The dial-up sessions pppd and chat wrote to a Linux system log, appended to
// the modem log as the modem-log entries the analysis recognises.
#include <QDate>
#include <QDateTime>
#include <QFile>
#include <QFileInfo>
#include <unistd.h>

#include "cli/cli_context.h"
#include "cli/commands.h"
#include "cli/terminal_progress.h"
#include "core/common/small_file.h"
#include "core/logfile/pppd_import.h"
#include "core/settings/config_paths.h"

namespace mirolat::cli {

namespace {

const char* kImportUsage = "usage: mirolat-cli import-pppd [--from FILE|-] [--year YYYY] [--log FILE]\n";
const char* kDefaultSystemLog = "/var/log/syslog";
// The largest system log read (standard input too); the pppd and chat lines
// of a larger one can be filtered out first.
constexpr qint64 kMaxSystemLogBytes = 256LL * 1024 * 1024;

}  // namespace

const char* ImportPppdHelp() {
  return "usage: mirolat-cli import-pppd [--from FILE|-] [--year YYYY] [--log FILE]\n"
         "\n"
         "Reads the lines pppd and chat wrote to a system log and appends the same\n"
         "calls to the modem log as modem-log entries: the number chat dialled\n"
         "(send (ATDT5551234^M)), the connection (CONNECT ..., \"Serial connection\n"
         "established.\"), its end (a local termination, or \"Modem hangup\" and the\n"
         "like from the other end), failed dials (BUSY, NO CARRIER, ...) and pppd's\n"
         "\"Sent N bytes, received M bytes.\". The entries use the response texts of\n"
         "the configuration, so the reports recognise them. Only entries later than\n"
         "the modem log's last entry are added, so importing the same system log\n"
         "again adds nothing. The modem log is replaced atomically.\n"
         "\n"
         "  --from FILE   the system log (default /var/log/syslog); - reads standard input;\n"
         "                a regular file or standard input of at most 256 MB (filter a\n"
         "                larger one: grep -E 'pppd|chat' FILE | ... --from -)\n"
         "  --year YYYY   the year of the first line of a classic syslog (whose lines carry\n"
         "                no year); without it the last line is taken to be of the year the\n"
         "                file was last changed (standard input: this year). A line in an\n"
         "                earlier month than the one before it starts the next year.\n"
         "  --log FILE    the modem log (default: the configured log in the log directory);\n"
         "                a regular file of at most 2 GB\n"
         "\n"
         "Both classic syslog lines (\"Dec  6 21:03:12 host pppd[1234]: ...\") and ISO-8601\n"
         "time stamps (rsyslog, journalctl -o short-iso) are read; times are taken as\n"
         "written. From the systemd journal:\n"
         "\n"
         "  journalctl -t pppd -t chat -o short-iso | mirolat-cli import-pppd --from -\n";
}

int CmdImportPppd(const QStringList& arguments, QTextStream& out, QTextStream& err) {
  QStringList args = arguments;
  bool missing[3] = {};
  QString from = TakeOption(args, QStringLiteral("--from"), &missing[0]);
  const QString yearText = TakeOption(args, QStringLiteral("--year"), &missing[1]);
  QString logPath = TakeOption(args, QStringLiteral("--log"), &missing[2]);
  if (missing[0] || missing[1] || missing[2] || !args.isEmpty()) {
    if (!args.isEmpty()) err << "mirolat-cli import-pppd: unexpected argument '" << args.first() << "'\n";
    err << kImportUsage;
    return 2;
  }
  PppdImportOptions options;
  if (!yearText.isEmpty()) {
    bool ok = false;
    options.Year = yearText.toInt(&ok);
    if (!ok || options.Year < 1900 || options.Year > 9999) {
      err << "mirolat-cli import-pppd: --year needs a year YYYY, not '" << yearText << "'\n";
      return 2;
    }
  }
  if (from.isEmpty()) from = QLatin1String(kDefaultSystemLog);

  QByteArray systemLog;
  try {
    if (from == QLatin1String("-")) {
      systemLog = ReadAllUpTo(STDIN_FILENO, kMaxSystemLogBytes, QStringLiteral("standard input"));
      options.FileYear = QDate::currentDate().year();
    } else {
      // Only a regular file: a FIFO would block the import, a device fill the memory.
      systemLog = ReadSmallRegularFile(from, kMaxSystemLogBytes);
      options.FileYear = QFileInfo(from).lastModified().date().year();
    }
  } catch (const RunError& e) {
    err << "mirolat-cli import-pppd: cannot read the system log: " << e.description() << '\n';
    if (from == QLatin1String(kDefaultSystemLog) && e.condition() != ErrorCondition::BadFileName) {
      err << "Without a syslog daemon, read the journal instead:\n"
             "  journalctl -t pppd -t chat -o short-iso | mirolat-cli import-pppd --from -\n";
    }
    return 1;
  }

  CliContext context;
  if (!OpenCliContext(context, err)) return 1;
  if (logPath.isEmpty()) {
    try {
      logPath = LogDirectory() + context.Config.ModemLogFile;
    } catch (const RunError& e) {
      err << "mirolat-cli: " << e.description() << '\n';
      return 1;
    }
  }

  const PppdImportResult result = ParsePppdLog(systemLog, options, context.Config);
  int appended = 0;
  try {
    TerminalProgress progress(err);
    appended = ImportIntoModemLog(logPath, result.Entries, FileSystemOps::System(), &progress);
  } catch (const RunError& e) {
    err << "mirolat-cli: " << e.description() << '\n';
    return 1;
  }
  out << "Read " << result.LinesRead << " lines: " << result.Sessions << (result.Sessions == 1 ? " dial, " : " dials, ")
      << result.Connections << (result.Connections == 1 ? " connection.\n" : " connections.\n");
  if (result.CharactersLeftOut > 0) {
    out << "Left out " << result.CharactersLeftOut
        << (result.CharactersLeftOut == 1 ? " character" : " characters")
        << " a modem log line cannot hold (control characters, DEL, non-ASCII).\n";
  }
  if (appended == 0) {
    out << "Nothing new for " << logPath << ".\n";
  } else {
    out << "Appended " << appended << (appended == 1 ? " entry to " : " entries to ") << logPath << ".\n";
  }
  return 0;
}

}  // namespace mirolat::cli
