#pragma once
// What every mirolat-cli command starts from: the settings store in the
// configuration folder, the configuration record loaded with its start-up
// defaults, and the locale values.
#include <QStringList>
#include <QTextStream>
#include <memory>

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
  std::unique_ptr<SettingsStore> Store;
  Configuration Config;
  LocaleValues Locale;
};

// Opens the store in the configuration folder and loads the configuration
// with its start-up defaults, saving them once when any were filled in; tells
// `err` when a damaged store (or a stored record the program cannot use) was
// moved aside. `localeName` empty: the system locale. Returns false after
// printing the reason to `err`.
bool OpenCliContext(CliContext& context, QTextStream& err, const QString& localeName = QString());

// Opens the store only, for a command that replaces the record without
// reading it. Returns false after printing the reason to `err`.
bool OpenCliStore(CliContext& context, QTextStream& err);

// Tells `err` when the store was found damaged and moved aside.
void TellDamage(const CliContext& context, QTextStream& err);

// The locale values of `--locale NAME`, or of the system locale for an empty name.
LocaleValues CliLocale(const QString& localeName);

// Removes "--name VALUE" from `args` and returns VALUE (empty when absent).
// Sets `missingValue` when the option is the last word.
QString TakeOption(QStringList& args, const QString& name, bool* missingValue = nullptr);

}  // namespace mirolat::cli
