#pragma once
// The start-up check of the modems' logging and the changes the configuration
// wizard makes, over the modem class entries of the settings store. The
// wizard window only presents this state and calls ApplyModemChanges.
#include <QList>
#include <QString>
#include <QStringList>

#include "core/common/errors.h"
#include "core/common/progress.h"
#include "core/settings/modem_store.h"
#include "core/settings/settings_store.h"

namespace mirolat {

inline constexpr int kMaxModems = 10;

// One detected modem (an entry of ModemTable).
struct ModemEntry {
  QString Name;         // DriverDesc
  QString Port;         // AttachedTo; empty for an entry of the port class
  QString KeyPath;      // "\Modem\nnnn" or "\Ports\nnnn"
  QString LoggingPath;  // read by CheckModem
  QString UserInit;     // read by CheckModem
  bool LoggingOn = false;
  bool EchoOn = false;

  // The line of the wizard's list: the name, then " on " and the port when known.
  QString ListText() const;
  // What CheckModem read passes: a log file path, logging on and echo on.
  bool ReadyForLogging() const { return !LoggingPath.isEmpty() && LoggingOn && EchoOn; }
  bool operator==(const ModemEntry&) const = default;
};

// The state of one check and of the wizard that may follow it.
struct ModemCheck {
  QList<ModemEntry> ModemTable;  // at most kMaxModems
  bool ModemConfigured = false;
  // Per-user "Preferred Modem" for this run (0: none); the wizard's OK on a
  // modem already configured sets it for the rest of the run.
  int PreferredModem = 0;
  QString WindowsDir;  // the log directory, ending in '/'
  // The name given to ModemLogFile when the configuration holds none.
  QString DefaultLogFileName = QStringLiteral("ModemLog.txt");

  int ModemCount() const { return static_cast<int>(ModemTable.size()); }
};

// The detected modems: the modem class entries (a description containing
// "2 PCs", the direct cable, is skipped), then the port class entries whose
// ConfigDialog names a modem dialog; at most kMaxModems. A failing read ends
// that class's enumeration.
QList<ModemEntry> DetectModems(ModemClassStore& store);

// Reads the logging values of entry n (1-based) and clears ModemConfigured
// when the log path is empty, logging is off or echo is off. Failing reads
// count as empty.
void CheckModem(ModemClassStore& store, ModemCheck& check, int n);

// The whole start-up check: "Checking Modem Configuration" on `progress`,
// detection, then CheckModem of the preferred modem (a preferred number
// outside 1..ModemCount counts as none) or of every modem. When everything
// passed, the default log file name is taken from the checked modem's
// LoggingPath. True when the wizard must be shown.
bool CheckModemConfiguration(ModemClassStore& store, ModemCheck& check, Progress& progress);

// The default log file name a driver's LoggingPath gives: its file name when
// it lies in `windowsDir`, else `current` unchanged.
QString LogFileNameFromLoggingPath(const QString& loggingPath, const QString& windowsDir, const QString& current);

// True when `loggingPath` names a file directly in `windowsDir`.
bool LoggingPathInFolder(const QString& loggingPath, const QString& windowsDir);

// The initialisation string with echo on: an E0 becomes E1; otherwise E1 is
// added to what is there ("E1" for an empty string).
QString EchoOnInitString(const QString& userInit);

// What Finish did.
struct FinishOutcome {
  bool LogFileCreated = false;
  // One line per change that could not be made (empty when all were made).
  QStringList Failures;
  bool Succeeded() const { return Failures.isEmpty(); }
};

// Applies the wizard's changes to modem `selected` (1-based): points its
// LoggingPath at the log folder's file when it is empty or lies elsewhere,
// creates that file empty when missing, switches logging on (a byte 1), turns
// echo on in UserInit, and, when every change was made, saves the modem as
// "Preferred Modem" and marks the check configured. Each step runs under
// `reporter`; a write that does not read back as written is a failure.
FinishOutcome ApplyModemChanges(ModemClassStore& store, ModemCheck& check, int selected, ErrorReporter& reporter);

// The Finished page's text for the outcome.
QString FinishedPageText(const FinishOutcome& outcome);

// Saves "Run Config Wizard" (0 or 1) in the per-user options at once.
void SaveRunConfigWizard(SettingsStore& store, bool on);

}  // namespace mirolat
