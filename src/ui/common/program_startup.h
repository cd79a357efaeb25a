#pragma once
// StartUp as the splash window drives it: opens the settings store, runs the
// start-up steps with the splash's progress and the desktop error reporter,
// and leaves their results in the program's shared state.
#include "core/app/startup.h"
#include "core/common/progress.h"

namespace mirolat {

struct AppState;

// The start-up hooks of the desktop program (the modem configuration check
// plugs in here).
StartupHooks& ProgramStartupHooks();

// Runs start-up into `state`; true when the splash must wait for a click (no
// modem log was found). A settings store that cannot be opened goes to the
// error reporter; without one the program cannot go on and ends.
bool RunProgramStartUp(AppState& state, Progress& progress);

}  // namespace mirolat
