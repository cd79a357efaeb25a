#include "commands.h"

namespace mirolat::cli {

// Replaced by the real command as it is built.
int CmdConfig(const QStringList&, QTextStream&, QTextStream& err) {
  err << "mirolat-cli: 'config' is not available in this build\n";
  return 2;
}

}  // namespace mirolat::cli
