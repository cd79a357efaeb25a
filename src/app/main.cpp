// The desktop program: the splash window runs start-up, then hands over to the
// main window. Every orderly end goes through EndProgram.
#include <QLocale>
#include <QTimer>

#include "core/app/app_state.h"
#include "core/common/errors.h"
#include "ui/app/application_windows.h"
#include "ui/common/application.h"
#include "ui/common/end_program.h"
#include "ui/common/program_startup.h"
#include "ui/common/splash_window.h"

int main(int argc, char** argv) {
  mirolat::Application app(argc, argv);
  mirolat::Application::setApplicationName(QStringLiteral("Mirolat"));
  mirolat::Application::setApplicationVersion(QStringLiteral(MIROLAT_VERSION_STRING));
  QLocale::setDefault(QLocale::system());

  mirolat::ApplicationWindows windows(mirolat::TheAppState());
  auto* splash = new mirolat::frmSplash(
      [](mirolat::Progress& progress) { return mirolat::RunProgramStartUp(mirolat::TheAppState(), progress); },
      [&windows] { return windows.CreateMainWindow(); });
  QTimer::singleShot(0, splash, &mirolat::frmSplash::Form_Load);

  try {
    return mirolat::Application::exec();
  } catch (const mirolat::EndProgramRequested&) {
    // Raised outside any window's handler: end in order all the same.
    mirolat::SetProgramExitHandler([] {});
    mirolat::EndProgram();
    return 0;
  }
}
