#pragma once
// How the program's start-up gets its main window.
class QWidget;

namespace mirolat {

// The main window over the program's shared state (TheAppState()), with the
// windows that are part of the program plugged into its commands. It is not
// shown yet; it deletes itself when closed.
QWidget* CreateMainWindow();

}  // namespace mirolat
