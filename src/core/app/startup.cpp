#include "core/app/startup.h"

#include <cmath>

#include "core/logfile/log_checks.h"
#include "core/settings/config_paths.h"
#include "core/settings/configuration_io.h"

namespace mirolat {

namespace {

double OptionNumber(SettingsStore& store, const char* key, double defaultValue) {
  const QString text = store.GetSetting(QLatin1String(kOptionsAppName), QLatin1String(kOptionsSectionName),
                                        QLatin1String(key), QString::number(defaultValue));
  bool ok = false;
  const double value = text.trimmed().toDouble(&ok);
  return ok ? value : defaultValue;
}

}  // namespace

StartupOptions ReadStartupOptions(SettingsStore& store) {
  StartupOptions options;
  options.ShowTipsAtStartup = OptionNumber(store, "Show Tips at Startup", 1) != 0;
  options.RunConfigWizard = OptionNumber(store, "Run Config Wizard", 1) != 0;
  // A 16-bit integer: the number rounded to the nearest, halves to even.
  const double modem = std::nearbyint(OptionNumber(store, "Preferred Modem", 0));
  options.PreferredModem = (modem >= -32768 && modem <= 32767) ? static_cast<int>(modem) : 0;
  return options;
}

StartupResult StartUpCore(SettingsStore& store, Configuration& config, LocaleValues& locale, CurrentFileState& file,
                          const QLocale& systemLocale, Progress& progress, ErrorReporter& reporter,
                          const StartupHooks& hooks) {
  StartupResult result;
  result.HelpFilePath = HelpFilePath();
  file.ArchiveOpen = false;

  RunStep(reporter, [&] { result.Options = ReadStartupOptions(store); });
  locale = LoadLocaleInfo(systemLocale);

  RunStep(reporter, [&] { file.WindowsDir = LogDirectory(); });

  // The defaults of a first run are the record's own initial values.
  config = Configuration{};

  // On Linux the check runs whatever the log folder is called. It looks only
  // at the modem entries already stored: a serial port becomes one when the
  // user asks (the wizard's detect step, `mirolat-cli modem detect`).
  if (result.Options.RunConfigWizard) {
    ModemClassStore modems(store);
    result.ModemChecked = true;
    result.Modem.WindowsDir = file.WindowsDir;
    result.Modem.DefaultLogFileName = config.ModemLogFile;
    result.Modem.PreferredModem = result.Options.PreferredModem;
    if (CheckModemConfiguration(modems, result.Modem, progress) && hooks.ShowModemWizard) {
      hooks.ShowModemWizard(modems, result.Modem);
    }
    result.Options.PreferredModem = result.Modem.PreferredModem;
  }

  progress.SetStatus(QStringLiteral("Reading User Configuration"));
  // A log file name the modem check found stands in for a missing one.
  const QString modemLogFileName =
      result.ModemChecked ? result.Modem.DefaultLogFileName : QString();
  result.DefaultsApplied =
      LoadConfigurationWithDefaults(store, config, reporter, modemLogFileName, &result.ConfigurationChanges);

  progress.SetStatus(QStringLiteral("Please Wait . . . Checking Modem Log"));
  file.LogFileName = config.ModemLogFile;
  file.LogFilePath = file.WindowsDir + file.LogFileName;
  file.LogExists = FileExists(file.LogFilePath);
  if (!file.LogExists) {
    result.SplashWaitsForClick = true;
  } else {
    file.LogCorrupt = CheckAndScanLog(file, config, true, progress, reporter);
  }
  return result;
}

}  // namespace mirolat
