#include "cli.h"

#include <cstdio>

namespace mirolat::cli {

namespace {
const char* kUsage =
    "usage: mirolat-cli <command> [options]\n"
    "commands:\n"
    "  scan --log FILE                 the start-up checks and the log's statistics\n"
    "  config export [FILE]            the configuration record as JSON\n"
    "  config import FILE              replace the configuration record from JSON\n";
}

int Run(const QStringList& args, QTextStream& out, QTextStream& err) {
  Q_UNUSED(out);
  if (args.size() < 2 || args[1] == QLatin1String("--help") || args[1] == QLatin1String("-h")) {
    err << kUsage;
    return args.size() < 2 ? 2 : 0;
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
