#pragma once
// What every mirolat-cli command starts from: the settings store in the
// configuration folder, the configuration record loaded with its start-up
// defaults, and the locale values.
#include <QStringList>
#include <QTextStream>
#include <memory>
#include <optional>

#include "core/common/atomic_file.h"
#include "core/common/errors.h"
#include "core/common/locale_values.h"
#include "core/model/configuration.h"
#include "core/settings/settings_store.h"

namespace mirolat::cli {

// Prints each failure's message to the error stream and ends the command
// (the caller catches EndProgramRequested and exits non-zero).
class CliErrorReporter : public ErrorReporter {
 public:
  explicit CliErrorReporter(QTextStream& err) : err_(err) {}
  ErrorAnswer ReportError(const RunError& error) override;

 private:
  QTextStream& err_;
};

struct CliContext {
  // Null for a command that only reads when no settings are stored.
  std::unique_ptr<SettingsStore> Store;
  Configuration Config;
  LocaleValues Locale;
};

// Whether a command may create the settings store. A command that only reads
// (config export, report, scan, modem list) leaves a machine without
// settings as it is: it works on the defaults and says so on `err`.
enum class StoreUse { Write, ReadOnly };

// Opens the store in the configuration folder and loads the configuration
// with its start-up defaults, saving them once when any were filled in; tells
// `err` when a damaged store (or a stored record the program cannot use) was
// moved aside. `localeName` empty: the system locale. Returns false after
// printing the reason to `err` (an unknown locale name among them, before the
// store is touched).
bool OpenCliContext(CliContext& context, QTextStream& err, const QString& localeName = QString(),
                    StoreUse use = StoreUse::Write);

// The configured modem log: ModemLogFile in the log directory (found without
// creating anything).
QString ConfiguredLogPath(const Configuration& config);

// Opens the store only, for a command that replaces the record without
// reading it. Returns false after printing the reason to `err`.
bool OpenCliStore(CliContext& context, QTextStream& err);

// A warning box as one line on `err`.
void PrintBox(QTextStream& err, const MessageBoxSpec& box);

// Tells `err` when the store was found damaged and moved aside.
void TellDamage(const CliContext& context, QTextStream& err);

// The locale values of `--locale NAME`, or of the system locale for an empty
// name. Nothing for a name that is no known locale.
std::optional<LocaleValues> CliLocale(const QString& localeName);

// The file-system calls of the files the commands write: the system's, or
// those a caller of Run passed in (tests fail them on purpose).
FileSystemOps& CliFiles();

// Makes `files` the commands' file-system calls while it lives.
class ScopedCliFiles {
 public:
  explicit ScopedCliFiles(FileSystemOps& files);
  ~ScopedCliFiles();
  ScopedCliFiles(const ScopedCliFiles&) = delete;
  ScopedCliFiles& operator=(const ScopedCliFiles&) = delete;

 private:
  FileSystemOps* previous_;
};

// Removes "--name VALUE" from `args` and returns VALUE (empty when absent).
// Sets `missingValue` when the option is the last word.
QString TakeOption(QStringList& args, const QString& name, bool* missingValue = nullptr);

}  // namespace mirolat::cli
