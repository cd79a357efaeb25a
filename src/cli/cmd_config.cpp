#include <QFile>

#include "cli/cli_context.h"
#include "cli/commands.h"
#include "core/common/small_file.h"
#include "core/settings/config_json.h"
#include "core/settings/configuration_io.h"

namespace mirolat::cli {

namespace {

// The largest configuration file import reads: the largest record the limits
// allow (32766 services with ten tariffs each) takes about 100 MB as JSON.
constexpr qint64 kMaxConfigurationJsonBytes = 256LL * 1024 * 1024;

const char* kConfigUsage =
    "usage: mirolat-cli config export [FILE]\n"
    "       mirolat-cli config import FILE\n";

int Export(const QStringList& args, QTextStream& out, QTextStream& err) {
  if (args.size() > 1) {
    err << kConfigUsage;
    return 2;
  }
  CliContext context;
  if (!OpenCliContext(context, err, QString(), StoreUse::ReadOnly)) return 1;
  const QByteArray json = ConfigurationToJson(context.Config);
  if (args.isEmpty()) {
    out << QString::fromUtf8(json);
    return 0;
  }
  // Written beside the file and renamed over it: a failure leaves it as it was.
  try {
    WriteFileAtomically(args[0], json, CliFiles());
  } catch (const RunError& e) {
    err << "mirolat-cli: cannot write '" << args[0] << "': " << e.description() << '\n';
    return 1;
  }
  return 0;
}

int Import(const QStringList& args, QTextStream& err) {
  if (args.size() != 1) {
    err << kConfigUsage;
    return 2;
  }
  QByteArray json;
  try {
    json = ReadSmallRegularFile(args[0], kMaxConfigurationJsonBytes);
  } catch (const RunError& e) {
    err << "mirolat-cli: " << e.description() << '\n';
    return 1;
  }
  // Checked whole before the store is touched: a refused file changes nothing.
  Configuration imported;
  QString problem;
  if (!ConfigurationFromJson(json, Configuration{}, imported, problem)) {
    for (const QString& line : problem.split(QLatin1Char('\n'))) {
      err << "mirolat-cli: '" << args[0] << "' is not a usable configuration: " << line << '\n';
    }
    return 1;
  }
  CliContext context;
  if (!OpenCliStore(context, err)) return 1;
  CliErrorReporter reporter(err);
  bool saved = false;
  try {
    saved = ImportConfiguration(*context.Store, imported, reporter);
  } catch (const EndProgramRequested&) {
  }
  TellDamage(context, err);
  return saved ? 0 : 1;
}

}  // namespace

int CmdConfig(const QStringList& args, QTextStream& out, QTextStream& err) {
  if (args.isEmpty()) {
    err << kConfigUsage;
    return 2;
  }
  if (args[0] == QLatin1String("export")) return Export(args.mid(1), out, err);
  if (args[0] == QLatin1String("import")) return Import(args.mid(1), err);
  err << "mirolat-cli: unknown config command '" << args[0] << "'\n" << kConfigUsage;
  return 2;
}

}  // namespace mirolat::cli
