#include "ui/app/desktop_program.h"

#include <QIcon>
#include <QLocale>
#include <QStandardPaths>
#include <QTimer>

#include "core/app/app_state.h"
#include "core/common/errors.h"
#include "ui/app/application_windows.h"
#include "ui/common/application.h"
#include "ui/common/end_program.h"
#include "ui/common/help_window.h"
#include "ui/common/program_startup.h"
#include "ui/common/splash_window.h"
#include "ui/dialogs/desktop_error_reporter.h"
#include "ui/dialogs/message_box.h"
#include "ui/wizard/frm_pre_configure.h"

namespace mirolat {

DesktopProgram::DesktopProgram(AppState& state)
    : state_(state), windows_(std::make_unique<ApplicationWindows>(state)) {
  // The desktop's icon theme; where no desktop names one, the freedesktop
  // theme most systems have, then the icons Qt bundles.
  if (QIcon::themeName().isEmpty()) {
    QIcon::setThemeName(QStringLiteral("hicolor"));
    QStringList paths = QIcon::themeSearchPaths();
    for (const QString& data : QStandardPaths::standardLocations(QStandardPaths::GenericDataLocation)) {
      if (!paths.contains(data + QStringLiteral("/icons"))) paths.append(data + QStringLiteral("/icons"));
    }
    QIcon::setThemeSearchPaths(paths);
  }
  if (QIcon::fallbackThemeName().isEmpty() || QIcon::fallbackThemeName() == QLatin1String("hicolor")) {
    QIcon::setFallbackThemeName(QStringLiteral("Adwaita"));
  }
  // The modem check at start-up shows the configuration wizard when a modem
  // entry must change. Serial ports are registered as modems only when the
  // user asks (the wizard's detect step); start-up has no hook for it.
  StartupHooks& hooks = ProgramStartupHooks();
  hooks.ShowModemWizard = [](ModemClassStore& store, ModemCheck& check) {
    frmPreConfigure wizard(store, check, true, SharedErrorReporter());
    wizard.exec();
  };
}

DesktopProgram::~DesktopProgram() = default;

void DesktopProgram::Start() {
  AppState& state = state_;
  ApplicationWindows& windows = *windows_;
  auto* splash = new frmSplash([&state](Progress& progress) { return RunProgramStartUp(state, progress); },
                               [&windows] { return windows.CreateMainWindow(); });
  QTimer::singleShot(0, splash, &frmSplash::Form_Load);
}

int RunDesktopProgram(int& argc, char** argv) {
  Application app(argc, argv);
  Application::setApplicationName(QStringLiteral("Mirolat"));
  Application::setApplicationVersion(QStringLiteral(MIROLAT_VERSION_STRING));
  QLocale::setDefault(QLocale::system());
  MessageBox::SetHelpOpener(&ShowHelp);

  DesktopProgram program(TheAppState());
  program.Start();
  try {
    return Application::exec();
  } catch (const EndProgramRequested&) {
    // Raised outside any window's handler: end in order all the same.
    SetProgramExitHandler([] {});
    EndProgram();
    return 0;
  }
}

}  // namespace mirolat
