#include "cli/cli.h"

#include <cstdio>

#include "cli/commands.h"

namespace mirolat::cli {

namespace {
const char* kUsage =
    "usage: mirolat-cli <command> [options]\n"
    "commands:\n"
    "  scan --log FILE                 the start-up checks and the log's statistics\n"
    "  report --log FILE --from YYYY-MM-DD --to YYYY-MM-DD [--details]\n"
    "         [--format text|json|csv] [--locale NAME]\n"
    "                                  analyse the log and print a report\n"
    "  config export [FILE]            the configuration record as JSON\n"
    "  config import FILE              replace the configuration record from JSON\n"
    "  genlog --seed N --days D [--out FILE]\n"
    "                                  write a synthetic modem log\n"
    "  optimize [--log FILE]           keep only the log's response entries\n"
    "  purge --from YYYY-MM-DD --to YYYY-MM-DD [--log FILE]\n"
    "                                  remove the entries of those days\n"
    "  repair [--log FILE]             drop bad bytes and undated lines\n"
    "  archive --out FILE.mrl [--force] [--log FILE]\n"
    "                                  save a copy of the log as an archive\n"
    "  (without --log the maintenance commands work on the configured modem log;\n"
    "   mirolat-cli <command> --help tells more)\n";

using Command = int (*)(const QStringList&, QTextStream&, QTextStream&);
}  // namespace

int Run(const QStringList& args, QTextStream& out, QTextStream& err) {
  if (args.size() < 2 || args[1] == QLatin1String("--help") || args[1] == QLatin1String("-h") ||
      args[1] == QLatin1String("help")) {
    (args.size() < 2 ? err : out) << kUsage;
    return args.size() < 2 ? 2 : 0;
  }
  const struct {
    const char* name;
    Command run;
  } commands[] = {{"scan", CmdScan}, {"config", CmdConfig}, {"report", CmdReport}, {"genlog", CmdGenlog},
                  {"optimize", CmdOptimize}, {"purge", CmdPurge}, {"repair", CmdRepair}, {"archive", CmdArchive}};
  for (const auto& c : commands) {
    if (args[1] == QLatin1String(c.name)) return c.run(args.mid(2), out, err);
  }
  err << "mirolat-cli: unknown command '" << args[1] << "'\n" << kUsage;
  return 2;
}

int Run(const QStringList& args) {
  QTextStream out(stdout);
  QTextStream err(stderr);
  const int rc = Run(args, out, err);
  out.flush();
  err.flush();
  return rc;
}

}  // namespace mirolat::cli
