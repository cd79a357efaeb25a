#include <QFile>

#include "cli/cli_context.h"
#include "cli/commands.h"
#include "core/settings/config_json.h"
#include "core/settings/configuration_io.h"

namespace mirolat::cli {

namespace {

const char* kConfigUsage =
    "usage: mirolat-cli config export [FILE]\n"
    "       mirolat-cli config import FILE\n";

int Export(const QStringList& args, QTextStream& out, QTextStream& err) {
  if (args.size() > 1) {
    err << kConfigUsage;
    return 2;
  }
  CliContext context;
  if (!OpenCliContext(context, err)) return 1;
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
  QFile file(args[0]);
  if (!file.open(QIODevice::ReadOnly)) {
    err << "mirolat-cli: cannot read '" << args[0] << "': " << file.errorString() << '\n';
    return 1;
  }
  const QByteArray json = file.readAll();
  CliContext context;
  if (!OpenCliContext(context, err)) return 1;
  Configuration imported;
  QString problem;
  if (!ConfigurationFromJson(json, context.Config, imported, problem)) {
    err << "mirolat-cli: '" << args[0] << "' is not a usable configuration: " << problem << '\n';
    return 1;
  }
  CliErrorReporter reporter(err);
  try {
    if (!SaveConfiguration(*context.Store, imported, reporter)) return 1;
  } catch (const EndProgramRequested&) {
    return 1;
  }
  return 0;
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
