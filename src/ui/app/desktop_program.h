#pragma once
// The desktop program as a user starts it: the start-up hooks (the modem
// configuration wizard), the splash window running start-up, the windows
// created and wired by ApplicationWindows, and the end of the program. main()
// runs it with RunDesktopProgram; journey tests start the same program with
// DesktopProgram over a state of their own.
#include <memory>

namespace mirolat {

struct AppState;
class ApplicationWindows;

class DesktopProgram {
 public:
  explicit DesktopProgram(AppState& state);
  ~DesktopProgram();
  DesktopProgram(const DesktopProgram&) = delete;
  DesktopProgram& operator=(const DesktopProgram&) = delete;

  // Shows the splash window; start-up runs as soon as the event loop does,
  // then the main window takes over.
  void Start();
  // The program's windows (the screenshot driver follows them).
  ApplicationWindows& Windows() { return *windows_; }

 private:
  AppState& state_;
  std::unique_ptr<ApplicationWindows> windows_;
};

// main() of the desktop program: the application object, the program over the
// one shared state, its event loop and the orderly end; returns the exit code.
int RunDesktopProgram(int& argc, char** argv);

}  // namespace mirolat
