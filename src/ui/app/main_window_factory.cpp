#include "ui/app/main_window_factory.h"

#include "core/app/app_state.h"
#include "ui/common/about_window.h"
#include "ui/common/tip_window.h"
#include "ui/main/frm_main.h"
#include "ui/main/main_window_hooks.h"
#include "ui/reports/frm_report.h"

namespace mirolat {

QWidget* CreateMainWindow() {
  MainWindowHooks& hooks = MainHooks();
  if (!hooks.ShowTips) {
    hooks.ShowTips = [](frmMain& main, AppState& state) {
      if (!state.Store) return;
      frmTip tip(*state.Store, DefaultTipsFilePath(), &main);
      tip.exec();
    };
  }
  if (!hooks.ShowReport) InstallReportWindow();
  if (!hooks.ShowAbout) {
    hooks.ShowAbout = [](frmMain& main, AppState&) {
      frmAbout about(&main);
      about.exec();
    };
  }
  auto* window = new frmMain(TheAppState());
  window->setAttribute(Qt::WA_DeleteOnClose);
  return window;
}

}  // namespace mirolat
