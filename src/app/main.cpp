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
#include "ui/dialogs/desktop_error_reporter.h"
#include "ui/wizard/frm_pre_configure.h"
#ifdef MIROLAT_HAVE_SERIALPORT
#include "serial/qt_serial_port_lister.h"
#endif

int main(int argc, char** argv) {
  mirolat::Application app(argc, argv);
  mirolat::Application::setApplicationName(QStringLiteral("Mirolat"));
  mirolat::Application::setApplicationVersion(QStringLiteral(MIROLAT_VERSION_STRING));
  QLocale::setDefault(QLocale::system());

  // The modem check at start-up: serial modems seen for the first time become
  // modem entries, and the configuration wizard shows when a modem must change.
  mirolat::StartupHooks& hooks = mirolat::ProgramStartupHooks();
#ifdef MIROLAT_HAVE_SERIALPORT
  hooks.DetectSerialModems = [](mirolat::ModemClassStore& store) {
    mirolat::QtSerialPortLister ports;
    mirolat::RegisterSerialModems(store, ports.Ports());
  };
#endif
  hooks.ShowModemWizard = [](mirolat::ModemClassStore& store, mirolat::ModemCheck& check) {
    mirolat::frmPreConfigure wizard(store, check, true, mirolat::SharedErrorReporter());
    wizard.exec();
  };

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
