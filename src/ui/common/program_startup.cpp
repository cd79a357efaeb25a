#include "ui/common/program_startup.h"

#include <QLocale>
#include <memory>

#include "core/app/app_state.h"
#include "core/settings/config_paths.h"
#include "core/settings/settings_store.h"
#include "ui/dialogs/desktop_error_reporter.h"
#include "ui/dialogs/message_box.h"

namespace mirolat {

StartupHooks& ProgramStartupHooks() {
  static StartupHooks hooks;
  return hooks;
}

bool RunProgramStartUp(AppState& state, Progress& progress) {
  ErrorReporter& reporter = SharedErrorReporter();
  state.NoLogWarned = false;
  state.AutoOptimizeAsked = false;
  state.TipsShown = false;
  state.File.ArchiveOpen = false;

  if (!state.Store) {
    const bool opened = RunStep(reporter, [&] {
      state.Store = std::make_shared<SettingsStore>(SettingsStore::FilePathIn(ConfigFolder()));
    });
    if (!opened) throw EndProgramRequested();
  }

  const StartupResult result = StartUpCore(*state.Store, state.Config, state.Locale, state.File, QLocale(),
                                           progress, reporter, ProgramStartupHooks());
  // A damaged file found at open, or a stored record the program cannot use
  // found while loading it: either way the store was moved aside.
  if (!state.Store->DamageMessage().isEmpty()) {
    MessageBox::Show(state.Store->DamageMessage(), MessageButtons::Ok, MessageIcon::Exclamation,
                     QStringLiteral("WARNING"));
  }
  state.ConfigChanges = result.ConfigurationChanges;
  state.ShowTipsAtStartup = result.Options.ShowTipsAtStartup;
  return result.SplashWaitsForClick;
}

}  // namespace mirolat
