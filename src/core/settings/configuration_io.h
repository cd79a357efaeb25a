#pragma once
// Reading and writing the configuration record as a whole, under the store's
// machine root, base key SOFTWARE\MRL, and the start-up defaults.
#include <QString>

#include "core/common/errors.h"
#include "core/model/configuration.h"
#include "core/settings/settings_store.h"

namespace mirolat {

inline const QString kSettingsBaseKey = QStringLiteral("SOFTWARE\\MRL");
inline const QString kGeneralKey = QStringLiteral("SOFTWARE\\MRL\\General");
inline const QString kModemKey = QStringLiteral("SOFTWARE\\MRL\\Modem");
inline const QString kCostsKey = QStringLiteral("SOFTWARE\\MRL\\Costs");
inline const QString kServicesKey = QStringLiteral("SOFTWARE\\MRL\\Services");
inline const QString kViewLogKey = QStringLiteral("SOFTWARE\\MRL\\ViewLog");
inline const QString kViewReportKey = QStringLiteral("SOFTWARE\\MRL\\ViewReport");
inline const QString kSummaryReportKey = QStringLiteral("SOFTWARE\\MRL\\ViewReport\\SummaryReport");
inline const QString kDetailReportKey = QStringLiteral("SOFTWARE\\MRL\\ViewReport\\DetailReport");
inline const QString kHolidaysKey = QStringLiteral("SOFTWARE\\MRL\\Holidays");
// The overall billing cycle and budget; the services' are below kServicesKey.
inline const QString kBudgetKey = QStringLiteral("SOFTWARE\\MRL\\Budget");

// The booleans as the store held them, before any default: the start-up
// defaults tell a stored "False" (kept) from an absent value (defaulted).
struct LoadedFlags {
  SettingsValue EditLog, ShowErrors, ShowToolbars, ShowGraphic, AutoOptimize, CalcCosts;
  // The slot of the flag stored under `name`; null for any other value.
  SettingsValue* Of(const char* name);
};

// Fills `config` from the store, read in one snapshot: from the record's image
// kept beside the values (see record_image.h) while no value has changed
// since it was made, else value by value in one query, after which the image
// is made for the loads to come. Values
// beyond the used counts and the column slots that are not stored keep what
// `config` held. A record the program cannot hold (a value out of its field's
// range such as UsedServices above MaxServices, UsedTariffs above 10 or
// UsedHolidays above 100, text where a number or a time is needed, a value of
// a kind the store never writes, a ModemLogFile that is not a plain file name,
// a name, number or description longer than its limit, FindTooLongText;
// a value the dialogs refuse: RecordProblems of the record as start-up
// completes it)
// counts as damage, and so does a damaged page met while reading (StoreDamaged): the store is moved aside with its message
// (SettingsStore::DamageMessage) and the record is read from the fresh, empty
// store. Only a failure to reach the store goes to `reporter`.
LoadedFlags LoadConfiguration(SettingsStore& store, Configuration& config, ErrorReporter& reporter);

// Writes the whole record, and its image for the loads to come, in one
// transaction: a failure leaves the previous configuration in the store whole. The modem texts are upper-cased in `config`
// first. Runs as one step under `reporter` (a retry writes everything again);
// returns false when the save was skipped.
//
// The desktop program never writes the whole record from memory: another
// program (`mirolat-cli config import`) may have changed the store since it
// was read. Each window writes what it owns: the options dialog the record
// without the windows' settings (SaveConfigurationKeepingWindows), the log
// viewer and the report window their own settings (SaveViewLogSettings,
// SaveReportWindowSettings).
bool SaveConfiguration(SettingsStore& store, Configuration& config, ErrorReporter& reporter);

// Writes the record except the settings the windows own (the viewer's and
// the report windows'), which stay as stored (defaults where missing), in one
// write transaction, like ImportConfiguration. The modem texts are upper-cased
// in `config`; its window settings are left as they are.
bool SaveConfigurationKeepingWindows(SettingsStore& store, Configuration& config, ErrorReporter& reporter);

// What the log viewer writes when it closes, and nothing else of the record:
// with `settings.SaveSettings` on every value of the key ViewLog; off, that
// flag alone (as the text False), the stored font and window staying as they
// were. A height or width beyond the record's 16 bits is stored as the
// largest. A current image of the record is kept current. False when skipped.
bool SaveViewLogSettings(SettingsStore& store, const ViewLogSettings& settings, ErrorReporter& reporter);

// What a report window writes when it closes, and nothing else of the record:
// with `config.ReportSaveSettings` on the three values of ViewReport and both
// reports' layouts; off, that flag alone (as the text False, like the viewer's;
// the number 0 earlier versions wrote loads as false too), the stored layouts
// and presentation staying as they were. False when skipped.
bool SaveReportWindowSettings(SettingsStore& store, const Configuration& config, ErrorReporter& reporter);

// Replaces every missing setting by its first-run default, as loaded with
// `flags`. True when anything was replaced.
bool ApplyStartupDefaults(Configuration& config, const LoadedFlags& flags);

// The viewer's window settings back to their defaults.
void SetViewLogDefaults(Configuration& config);
// Both report windows and the three ViewReport flags back to their defaults.
void SetReportWindowDefaults(Configuration& config);

// Load, fill missing defaults, and save once when anything was filled in.
// True when defaults were applied (and saved). A damaged record is handled as
// LoadConfiguration does. The record is read in one snapshot, so it is never a
// mix of two saves; when anything must be filled in, it is read again inside
// one write transaction (BEGIN IMMEDIATE) that fills and saves it, so what is
// saved is the stored record completed, never a mix with another writer's.
// `modemLogFileName` (a name the modem check found) stands in for a missing
// ModemLogFile before the defaults are filled in. `changesRead`, when given,
// receives the store's change count (SettingsStore::ChangeCount) the record
// loaded matches.
bool LoadConfigurationWithDefaults(SettingsStore& store, Configuration& config, ErrorReporter& reporter,
                                   const QString& modemLogFileName = QString(), qint64* changesRead = nullptr);

// For a program that keeps the record in memory while others may change the
// store: when the store's change count is no longer `changesSeen`, the record
// is loaded again as LoadConfigurationWithDefaults loads it (the file name in
// use standing in for a missing ModemLogFile) and `changesSeen` follows. The
// windows' own settings (viewer, report windows) stay as `config` holds them:
// the open windows own them and write them when they close. True when the
// record was read again; false when the store had not changed or could not be
// read (then `config` is left alone).
bool ReloadConfigurationIfChanged(SettingsStore& store, Configuration& config, qint64& changesSeen,
                                  ErrorReporter& reporter);

// Replaces the stored record by `imported` in one write transaction, keeping
// the stored window layouts (viewer and report windows, which the JSON form
// does not carry; defaults where missing). The old record need not load: a
// damaged one is moved aside first, like any damaged store. The modem texts
// are upper-cased in `imported`. Returns false when the step was skipped.
bool ImportConfiguration(SettingsStore& store, Configuration& imported, ErrorReporter& reporter);

// The store's conversions, shared with anything else that writes the record's
// values: money is the amount × 10000, plain doubles are whole numbers, both
// rounded to the nearest, halves to even. Throw RunError (overflow) when the
// result does not fit 32 bits.
qint32 MoneyToStored(double amount);
qint32 DoubleToStored(double value);

// The value name of holiday n (1..100): the number with a leading blank.
QString HolidayValueName(int n);

}  // namespace mirolat
