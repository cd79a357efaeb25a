#pragma once
// The warning boxes about the current file and about a run that cannot go
// on, as data, and when each of them applies.
#include <QList>
#include <QString>

#include "core/common/errors.h"
#include "core/logfile/current_file.h"

namespace mirolat {

inline constexpr int kNoLogHelpTopic = 6;

// "No Modem Log Detected!": exclamation, with a Help button (topic 6).
MessageBoxSpec WarnNoLog();
// "WARNING", critical: corrupt log.
MessageBoxSpec WarnLogCorrupt();
// "WARNING", critical: not a modem log.
MessageBoxSpec WarnNotModemLog();
// "WARNING", exclamation: log too big.
MessageBoxSpec WarnLogTooBig();
// "WARNING", exclamation: a file chosen outside the log directory
// (`windowsDir` as the text shows it, ending in its separator).
MessageBoxSpec WarnWrongDirectory(const QString& windowsDir);
// The program's title, critical: too many distinct numbers (lines joined by CR).
MessageBoxSpec WarnTooManyServices();
// The program's title, critical: no session number left (lines joined by CR).
MessageBoxSpec WarnTooManyConnections();

// When each box about the current file applies. WarnNoLog is shown once per
// run: the caller passes and then sets its own "already warned" flag.
bool WarnNoLogApplies(const CurrentFileState& state, bool noLogWarned);
bool WarnLogCorruptApplies(const CurrentFileState& state);
bool WarnNotModemLogApplies(const CurrentFileState& state);
bool WarnLogTooBigApplies(const CurrentFileState& state);

// The boxes the main window shows when it becomes active, in its order: not a
// modem log, no log (both only while no archive is open), corrupt, too big
// (only while no archive is open).
QList<MessageBoxSpec> ActivationWarnings(const CurrentFileState& state, bool noLogWarned);

}  // namespace mirolat
