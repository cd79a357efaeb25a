#include "commands.h"

namespace mirolat::cli {

// Replaced by the real command as it is built.
int CmdReport(const QStringList&, QTextStream&, QTextStream& err) {
  err << "mirolat-cli: 'report' is not available in this build\n";
  return 2;
}

}  // namespace mirolat::cli
