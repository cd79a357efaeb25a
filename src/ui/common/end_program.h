#pragma once
// The orderly end of the program. Windows register under their role when they
// open; EndProgram closes the About window, the splash window, the log viewer,
// the report window and the main window, in that order, then ends the process.
#include <QList>
#include <functional>

class QWidget;

namespace mirolat {

// In the order EndProgram closes them.
enum class WindowRole { About, Splash, LogViewer, Report, Main };

// Remembers `window` under `role` until it is destroyed.
void RegisterWindow(WindowRole role, QWidget* window);
void UnregisterWindow(QWidget* window);
// The live windows of a role, oldest first.
QList<QWidget*> RegisteredWindows(WindowRole role);

// Closes every registered window in role order (each gets its close event,
// then is deleted), then ends the event loop.
void EndProgram();
// True once EndProgram has run.
bool ProgramEnding();

// What ends the process after the windows are closed; QApplication::exit(0)
// unless replaced (tests). Passing an empty function restores the default.
void SetProgramExitHandler(std::function<void()> handler);
// Forgets ProgramEnding (tests that end the program more than once).
void ResetProgramEnding();

}  // namespace mirolat
