#include "commands.h"

namespace mirolat::cli {

// Replaced by the real command as it is built.
int CmdScan(const QStringList&, QTextStream&, QTextStream& err) {
  err << "mirolat-cli: 'scan' is not available in this build\n";
  return 2;
}

}  // namespace mirolat::cli
