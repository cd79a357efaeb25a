// The desktop program: the splash window runs start-up, then hands over to the
// main window. Every orderly end goes through EndProgram.
#include <QLocale>
#include <QTimer>

#include "common/application.h"
#include "common/end_program.h"
#include "common/errors.h"
#include "common/program_startup.h"
#include "common/splash_window.h"
#include "config/app_state.h"
#include "main/main_window_factory.h"

int main(int argc, char** argv) {
  mirolat::Application app(argc, argv);
  mirolat::Application::setApplicationName(QStringLiteral("Mirolat"));
  mirolat::Application::setApplicationVersion(QStringLiteral(MIROLAT_VERSION_STRING));
  QLocale::setDefault(QLocale::system());

  auto* splash = new mirolat::frmSplash(
      [](mirolat::Progress& progress) { return mirolat::RunProgramStartUp(mirolat::TheAppState(), progress); },
      [] { return mirolat::CreateMainWindow(); });
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
