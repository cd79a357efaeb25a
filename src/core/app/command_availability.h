#pragma once
// Which of the main window's commands the state of the current file allows.
// One table, recomputed by the window's load logic whenever the current file
// changes; commands whose entry is Unchanged keep what they had.
#include "core/logfile/current_file.h"

namespace mirolat {

enum class Availability { Off, On, Unchanged };

struct CommandAvailability {
  Availability View = Availability::Unchanged;               // btnViewLog, toolbar button 6
  Availability Process = Availability::Unchanged;            // btnProcess
  Availability OpenArchiveMenu = Availability::Unchanged;    // mnuOpenArchive
  Availability OpenArchiveButton = Availability::Unchanged;  // toolbar button 2
  Availability OpenModemLog = Availability::Unchanged;       // mnuOpenLog
  Availability QuickDate = Availability::Unchanged;          // mnuQuickDate, toolbar buttons 11 to 13
  Availability FirstLastEntry = Availability::Unchanged;     // mnuLogStart, mnuLogEnd, toolbar buttons 12, 13
  Availability ToolsMenu = Availability::Unchanged;          // mnuTools as a whole
  Availability ToolsView = Availability::Unchanged;          // mnuViewLog
  Availability ToolsPurge = Availability::Unchanged;         // mnuPurgeLog
  Availability ToolsOptimize = Availability::Unchanged;      // mnuOptimize
  Availability ToolsClear = Availability::Unchanged;         // mnuClearLog
  Availability Repair = Availability::Unchanged;             // mnuRepairLog, toolbar button 9
  Availability ClearButton = Availability::Unchanged;        // toolbar button 7
  Availability OptimizeButton = Availability::Unchanged;     // toolbar button 8
  Availability DateControls = Availability::Unchanged;       // date boxes, spin buttons, date labels
  Availability ExitButton = Availability::Unchanged;         // btnExit
};

// The state of the current file in the three cases the window knows:
// - no usable log: the log is missing or not a modem log, and no archive is open;
// - a corrupt current file;
// - otherwise. Open Modem Log is offered only while an archive is open and the
//   parked modem log is usable (`modemLogUsable`: it exists and is a modem log);
//   Purge only for a modem log that is not empty; Clear Modem Log never while
//   an archive is open; First Entry and Last Entry only when the file has a
//   dated entry.
CommandAvailability AvailabilityFor(const CurrentFileState& file, bool modemLogUsable);

// The log rewrites, as the command line runs them.
enum class LogRewrite { Optimize, Purge, Repair, Archive };

// Whether the state of the file lets `rewrite` run. A corrupt file takes what
// the table above offers then (Repair only: Optimize, Purge and the viewer,
// which saves archives, are off), so that no command rewrites a log its own
// check calls corrupt; any other file takes every rewrite.
bool RewriteAllowed(const CurrentFileState& file, LogRewrite rewrite);

}  // namespace mirolat
