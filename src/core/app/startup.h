#pragma once
// The start-up sequence without its windows: the per-user options, the locale
// values, the log directory, the configuration record with its first-run
// defaults, and the first checks of the modem log. The splash window runs it
// and then decides whether to wait for a click.
#include <QLocale>
#include <QString>
#include <functional>

#include "core/common/errors.h"
#include "core/common/locale_values.h"
#include "core/app/modem_check.h"
#include "core/common/progress.h"
#include "core/logfile/current_file.h"
#include "core/model/configuration.h"
#include "core/settings/settings_store.h"

namespace mirolat {

// Where the per-user start-up options live (application, section).
inline constexpr const char* kOptionsAppName = "MRL";
inline constexpr const char* kOptionsSectionName = "Options";

struct StartupOptions {
  bool ShowTipsAtStartup = true;  // "Show Tips at Startup", default 1
  bool RunConfigWizard = true;    // "Run Config Wizard", default 1
  int PreferredModem = 0;         // "Preferred Modem", default 0
};

// The three options from the per-user area; a value that is not a number
// takes its default.
StartupOptions ReadStartupOptions(SettingsStore& store);

struct StartupHooks {
  // Shows the configuration wizard over a check that found a modem to change
  // (modally; it may change the check's state); may be empty.
  std::function<void(ModemClassStore&, ModemCheck&)> ShowModemWizard;
};

struct StartupResult {
  StartupOptions Options;
  // The log was not found: the splash window waits for a click.
  bool SplashWaitsForClick = false;
  // Missing settings were filled with defaults (and saved).
  bool DefaultsApplied = false;
  // The store's change count the configuration read matches (-1 when it could not be read).
  qint64 ConfigurationChanges = -1;
  QString HelpFilePath;
  // The modem configuration check ran (RunConfigWizard on), and what it found.
  bool ModemChecked = false;
  ModemCheck Modem;
};

// Runs the start-up steps in order: options, locale values and day names from
// `systemLocale`, the log directory, the modem configuration check (when
// RunConfigWizard is on; its default log file name is used when the
// configuration holds none), the configuration ("Reading User
// Configuration"), its defaults (saved once when any was filled in), the
// log's name and path ("Please Wait . . . Checking Modem Log"),
// and, when the log exists, the character check and, if it is clean, ScanLog.
// File steps go through `reporter`.
StartupResult StartUpCore(SettingsStore& store, Configuration& config, LocaleValues& locale, CurrentFileState& file,
                          const QLocale& systemLocale, Progress& progress, ErrorReporter& reporter,
                          const StartupHooks& hooks = {});

}  // namespace mirolat
