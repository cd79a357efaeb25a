#include "cli/cli.h"

#include <unistd.h>

#include "cli/checked_output.h"
#include "cli/cli_context.h"
#include "cli/commands.h"

namespace mirolat::cli {

namespace {

const char* kUsage =
    "usage: mirolat-cli <command> [options]\n"
    "       mirolat-cli <command> --help\n"
    "\n"
    "Mirolat reads a dial-up modem's log, finds every session in it, prices the\n"
    "sessions from the services and tariffs of its configuration and reports\n"
    "them. mirolat-cli runs the desktop program's analysis and upkeep without a\n"
    "window, on the same settings store ($MIROLAT_CONFIG_DIR, else\n"
    "~/.config/mirolat) and the same log directory ($WinDir, else\n"
    "~/.local/share/mirolat).\n"
    "\n"
    "commands:\n"
    "  scan [--log FILE]               the start-up checks and the log's statistics\n"
    "  report [--log FILE] --from YYYY-MM-DD --to YYYY-MM-DD [OPTIONS]\n"
    "                                  analyse the log and print a report (--details,\n"
    "                                  --format text|csv|csv-locale|json, --out FILE,\n"
    "                                  --locale NAME)\n"
    "  chart --kind KIND --from YYYY-MM-DD --to YYYY-MM-DD --out FILE.png|FILE.svg\n"
    "                                  draw a chart of the same analysis (daily,\n"
    "                                  share, heatmap, cumulative) into a picture\n"
    "  budget [--json] [--at YYYY-MM-DD] [--log FILE]\n"
    "                                  each budget's use in its billing cycle and the\n"
    "                                  projection; exit 0 fine, 1 a warning, 2 over,\n"
    "                                  3 failed, 64 a wrong command line\n"
    "  config export [FILE]            the configuration record as JSON\n"
    "  config import FILE              replace the configuration record from JSON\n"
    "  genlog --seed N --days D [--start YYYY-MM-DD] [--out FILE]\n"
    "                                  write a synthetic modem log\n"
    "  optimize [--log FILE]           keep only the log's response entries\n"
    "  purge --from YYYY-MM-DD --to YYYY-MM-DD [--log FILE]\n"
    "                                  remove the entries of those days (the modem\n"
    "                                  log only, never an archive)\n"
    "  repair [--log FILE]             drop bad bytes and undated lines\n"
    "  archive --out FILE.mrl [--force] [--log FILE]\n"
    "                                  save a copy of the log as an archive\n"
    "  modem list|add|remove|detect    the modem entries the start-up check looks at;\n"
    "                                  detect registers this machine's serial modems\n"
    "  import-pppd [--from FILE|-] [--year YYYY] [--log FILE]\n"
    "                                  append the dial-up sessions of a Linux system\n"
    "                                  log (pppd, chat) to the modem log\n"
    "  compare --from YYYY-MM-DD --to YYYY-MM-DD [--plan FILE.json]... [--json]\n"
    "                                  what the range would have cost under each\n"
    "                                  service's plan and candidate plans, ranked\n"
    "  record-session --number N --seconds S [...] | --pppd-env\n"
    "                                  append one finished session to the modem log\n"
    "                                  (the pppd ip-down hook calls it)\n"
    "  (every command that reads the log takes the configured modem log, the log\n"
    "  directory's ModemLogFile, when --log is not given)\n"
    "\n"
    "Commands that only read (scan, report, budget, config export, modem list) create\n"
    "no settings store: without one they use the defaults and say so on standard error.\n"
    "\n"
    "Exit status: 0 on success, 1 when the command failed, 2 for a wrong command line\n"
    "(budget: see mirolat-cli budget --help).\n";

const char* kScanHelp =
    "usage: mirolat-cli scan [--log FILE] [--locale NAME]\n"
    "\n"
    "Runs the desktop program's start-up checks on a modem log and prints its\n"
    "name, path, size, number of entries, first and last entry dates and the\n"
    "warnings the main window would show (no log, corrupt, not a modem log, too\n"
    "big).\n"
    "\n"
    "  --log FILE     the log to check; default: the configured modem log\n"
    "  --locale NAME  the locale of the dates and numbers (e.g. en_US, de_DE);\n"
    "                 default: the system's\n"
    "\n"
    "Exit status 1 when the log is missing, corrupt or not a modem log.\n";

const char* kReportHelp =
    "usage: mirolat-cli report [--log FILE] --from YYYY-MM-DD --to YYYY-MM-DD [--details]\n"
    "                          [--format text|csv|csv-locale|json] [--out FILE] [--locale NAME]\n"
    "\n"
    "Analyses the modem log over a range of days with the configuration in the\n"
    "settings store, as the desktop program's OK button does, and prints the\n"
    "report.\n"
    "\n"
    "  --log FILE          the log (or an archive of it); default: the configured modem log\n"
    "  --from YYYY-MM-DD   the first day of the range\n"
    "  --to YYYY-MM-DD     the last day of the range (not before --from)\n"
    "  --details           the Details report (every session) instead of the Summary\n"
    "  --format text       the report's standard text (the default)\n"
    "  --format csv        the report's rows as comma-separated values: \".\" decimal\n"
    "                      point, ISO dates, money unrounded, durations in seconds\n"
    "  --format csv-locale the same for a spreadsheet of the locale: its decimal\n"
    "                      point (then \";\" between fields) and its short dates\n"
    "  --format json       the run's figures and both reports, for scripts\n"
    "  --out FILE          write the report to FILE (atomically) instead of standard output\n"
    "  --locale NAME       the locale of dates and money (e.g. en_US); default: the system's\n"
    "\n"
    "A run that stops (too many services or sessions, an undated line) exits with\n"
    "status 1 and its message on standard error.\n";

const char* kConfigHelp =
    "usage: mirolat-cli config export [FILE]\n"
    "       mirolat-cli config import FILE\n"
    "\n"
    "  export [FILE]   writes the whole configuration record (general settings,\n"
    "                  modem response texts, costs, services with their tariffs,\n"
    "                  holidays) as JSON to FILE, or to standard output; with\n"
    "                  no settings stored, the defaults (nothing is created)\n"
    "  import FILE     replaces the configuration record with the JSON in FILE;\n"
    "                  absent keys take their defaults. A value the Options dialog\n"
    "                  or the service and tariff editors would refuse refuses the\n"
    "                  file, each such value named (a service needs its name,\n"
    "                  number, DialOption and ServiceOption); the store is left\n"
    "                  as it was\n";

const char* kGenlogHelp =
    "usage: mirolat-cli genlog --seed N --days D [--start YYYY-MM-DD] [--out FILE]\n"
    "\n"
    "Writes a synthetic modem log (dial, answer, connect, disconnect, bytes read\n"
    "and written, modem chatter) for demonstrations, tests and benchmarks.\n"
    "\n"
    "  --seed N             the random seed (0..4294967295); the same seed gives the same log\n"
    "  --days D             how many days the log covers (1..36500)\n"
    "  --start YYYY-MM-DD   the first day (default 1998-01-01)\n"
    "  --out FILE           the file to write (atomically); default: standard output\n";

using Command = int (*)(const QStringList&, QTextStream&, QTextStream&);

struct CommandEntry {
  const char* name;
  Command run;
  const char* (*help)();
};

const char* ScanHelp() { return kScanHelp; }
const char* ReportHelp() { return kReportHelp; }
const char* ConfigHelp() { return kConfigHelp; }
const char* GenlogHelp() { return kGenlogHelp; }

const CommandEntry kCommands[] = {
    {"scan", CmdScan, ScanHelp},
    {"config", CmdConfig, ConfigHelp},
    {"report", CmdReport, ReportHelp},
    {"chart", CmdChart, ChartHelp},
    {"budget", CmdBudget, BudgetHelp},
    {"genlog", CmdGenlog, GenlogHelp},
    {"optimize", CmdOptimize, OptimizeHelp},
    {"purge", CmdPurge, PurgeHelp},
    {"repair", CmdRepair, RepairHelp},
    {"archive", CmdArchive, ArchiveHelp},
    {"modem", CmdModem, ModemHelp},
    {"import-pppd", CmdImportPppd, ImportPppdHelp},
    {"compare", CmdCompare, CompareHelp},
    {"record-session", CmdRecordSession, RecordSessionHelp},
};

bool IsHelpWord(const QString& word) {
  return word == QLatin1String("--help") || word == QLatin1String("-h");
}

}  // namespace

int Run(const QStringList& args, QTextStream& out, QTextStream& err) {
  if (args.size() < 2 || IsHelpWord(args[1]) || args[1] == QLatin1String("help")) {
    // "help COMMAND" is the command's own help.
    if (args.size() >= 3 && args[1] == QLatin1String("help")) {
      for (const CommandEntry& c : kCommands) {
        if (args[2] == QLatin1String(c.name)) {
          out << c.help();
          return 0;
        }
      }
    }
    (args.size() < 2 ? err : out) << kUsage;
    return args.size() < 2 ? 2 : 0;
  }
  if (args[1] == QLatin1String("--version")) {
    out << "mirolat-cli " << MIROLAT_VERSION_STRING << '\n';
    return 0;
  }
  for (const CommandEntry& c : kCommands) {
    if (args[1] != QLatin1String(c.name)) continue;
    const QStringList rest = args.mid(2);
    for (const QString& word : rest) {
      if (IsHelpWord(word)) {
        out << c.help();
        return 0;
      }
    }
    return c.run(rest, out, err);
  }
  err << "mirolat-cli: unknown command '" << args[1] << "'\n" << kUsage;
  return 2;
}

bool CommandNeedsGui(const QStringList& args) {
  if (args.size() < 2) return false;
  if (args[1] == QLatin1String("chart")) return true;
  if (args[1] != QLatin1String("report")) return false;
  const qsizetype format = args.indexOf(QStringLiteral("--format"), 2);
  return format > 0 && format + 1 < args.size() && args[format + 1] == QLatin1String("pdf");
}

int Run(const QStringList& args, QTextStream& out, QTextStream& err, FileSystemOps& files) {
  const ScopedCliFiles scope(files);
  return Run(args, out, err);
}

int Run(const QStringList& args) {
  DescriptorOutput output(STDOUT_FILENO, QStringLiteral("standard output"));
  QTextStream out(&output);
  QTextStream err(stderr);
  int rc = Run(args, out, err);
  const QString failure = FinishOutput(out, output);
  if (!failure.isEmpty()) {
    err << "mirolat-cli: the output is incomplete: " << failure << '\n';
    if (rc == 0) rc = 1;
  }
  err.flush();
  return rc;
}

}  // namespace mirolat::cli
