#include "core/app/command_availability.h"

#include "core/app/report_range.h"

namespace mirolat {

namespace {
Availability OnIf(bool on) { return on ? Availability::On : Availability::Off; }
}  // namespace

CommandAvailability AvailabilityFor(const CurrentFileState& file, bool modemLogUsable) {
  using A = Availability;
  CommandAvailability a;
  if ((!file.LogExists || file.NotAModemLog) && !file.ArchiveOpen) {
    a.View = A::Off;
    a.Process = A::Off;
    a.OpenArchiveMenu = A::On;
    a.OpenArchiveButton = A::On;
    a.OpenModemLog = A::Off;
    a.QuickDate = A::Off;
    a.FirstLastEntry = A::Off;
    a.ToolsMenu = A::Off;
    a.Repair = A::Off;
    a.ClearButton = A::Off;
    a.OptimizeButton = A::Off;
    a.DateControls = A::Off;
  } else if (file.LogCorrupt) {
    a.View = A::Off;
    a.Process = A::Off;
    a.OpenArchiveMenu = A::Off;
    a.OpenArchiveButton = A::On;
    a.OpenModemLog = A::Off;
    a.QuickDate = A::Off;
    a.FirstLastEntry = A::Off;
    a.ToolsView = A::Off;
    a.ToolsPurge = A::Off;
    a.ToolsOptimize = A::Off;
    a.Repair = A::On;
    a.ClearButton = A::Off;
    a.OptimizeButton = A::Off;
    a.DateControls = A::Off;
    a.ExitButton = A::On;
  } else {
    a.View = A::On;
    a.Process = A::On;
    a.OpenArchiveMenu = A::On;
    a.OpenArchiveButton = A::On;
    a.OpenModemLog = OnIf(file.ArchiveOpen && modemLogUsable);
    a.QuickDate = A::On;
    a.FirstLastEntry = OnIf(HasDatedEntries(file));
    a.ToolsMenu = A::On;
    a.ToolsView = A::On;
    a.ToolsPurge = OnIf(!file.ArchiveOpen && !file.LogEmpty);
    a.ToolsOptimize = A::On;
    a.ToolsClear = OnIf(!file.ArchiveOpen);
    a.Repair = A::Off;
    a.ClearButton = OnIf(!file.ArchiveOpen);
    a.OptimizeButton = A::On;
    a.DateControls = A::On;
    a.ExitButton = A::On;
  }
  return a;
}

bool RewriteAllowed(const CurrentFileState& file, LogRewrite rewrite) {
  if (!file.LogCorrupt) return true;
  const CommandAvailability a = AvailabilityFor(file, false);
  switch (rewrite) {
    case LogRewrite::Optimize:
      return a.ToolsOptimize == Availability::On;
    case LogRewrite::Purge:
      return a.ToolsPurge == Availability::On;
    case LogRewrite::Repair:
      return a.Repair == Availability::On;
    case LogRewrite::Archive:
      return a.ToolsView == Availability::On;
  }
  return false;
}

}  // namespace mirolat
