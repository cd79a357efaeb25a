#include "cli/cli_context.h"

#include <QFileInfo>

#include "core/settings/config_paths.h"
#include "core/settings/configuration_io.h"

namespace mirolat::cli {

namespace {
FileSystemOps* g_files = nullptr;
}  // namespace

FileSystemOps& CliFiles() { return g_files != nullptr ? *g_files : FileSystemOps::System(); }

ScopedCliFiles::ScopedCliFiles(FileSystemOps& files) : previous_(g_files) { g_files = &files; }
ScopedCliFiles::~ScopedCliFiles() { g_files = previous_; }

ErrorAnswer CliErrorReporter::ReportError(const RunError& error) {
  err_ << "mirolat-cli: " << error.description() << '\n';
  err_.flush();
  return ErrorAnswer::End;
}

std::optional<LocaleValues> CliLocale(const QString& localeName) {
  if (localeName.isEmpty()) return LoadLocaleInfo(QLocale::system());
  const std::optional<QLocale> locale = LocaleNamed(localeName);
  if (!locale) return std::nullopt;
  return LoadLocaleInfo(*locale);
}

void TellDamage(const CliContext& context, QTextStream& err) {
  if (context.Store && !context.Store->DamageMessage().isEmpty()) {
    err << "mirolat-cli: " << context.Store->DamageMessage() << '\n';
    err.flush();
  }
}

bool OpenCliStore(CliContext& context, QTextStream& err) {
  try {
    context.Store = std::make_unique<SettingsStore>(SettingsStore::FilePathIn(ConfigFolder()));
  } catch (const RunError& e) {
    err << "mirolat-cli: " << e.description() << '\n';
    return false;
  }
  return true;
}

bool OpenCliContext(CliContext& context, QTextStream& err, const QString& localeName, StoreUse use) {
  std::optional<LocaleValues> locale = CliLocale(localeName);
  if (!locale) {
    err << "mirolat-cli: unknown locale '" << localeName << "' (give a name such as en_US, de_DE or fr_FR)\n";
    return false;
  }
  if (use == StoreUse::ReadOnly) {
    const QString folder = ConfigFolderPath();
    if (!QFileInfo::exists(SettingsStore::FilePathIn(folder))) {
      // The record of a first run is the record's own initial values.
      context.Config = Configuration{};
      context.Locale = std::move(*locale);
      err << "mirolat-cli: no settings are stored in '" << folder << "'; using the defaults\n";
      err.flush();
      return true;
    }
  }
  if (!OpenCliStore(context, err)) return false;
  CliErrorReporter reporter(err);
  try {
    context.Config = Configuration{};
    LoadConfigurationWithDefaults(*context.Store, context.Config, reporter);
  } catch (const RunError& e) {
    TellDamage(context, err);
    err << "mirolat-cli: " << e.description() << '\n';
    return false;
  } catch (const EndProgramRequested&) {
    TellDamage(context, err);
    return false;
  }
  TellDamage(context, err);
  context.Locale = std::move(*locale);
  return true;
}

QString ConfiguredLogPath(const Configuration& config) { return LogDirectoryPath() + config.ModemLogFile; }

QString TakeOption(QStringList& args, const QString& name, bool* missingValue) {
  if (missingValue != nullptr) *missingValue = false;
  const qsizetype at = args.indexOf(name);
  if (at < 0) return {};
  if (at + 1 >= args.size()) {
    if (missingValue != nullptr) *missingValue = true;
    args.removeAt(at);
    return {};
  }
  const QString value = args.at(at + 1);
  args.remove(at, 2);
  return value;
}

void PrintBox(QTextStream& err, const MessageBoxSpec& box) {
  QString text = box.text;
  text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
  QStringList lines = text.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
  for (QString& l : lines) l = l.trimmed();
  err << "mirolat-cli: " << (box.title.isEmpty() ? QString() : box.title + QStringLiteral(": "))
      << lines.join(QLatin1Char(' ')) << '\n';
}

}  // namespace mirolat::cli
