#include "ui/app/application_windows.h"

#include "core/app/app_state.h"
#include "ui/common/about_window.h"
#include "ui/common/tip_window.h"
#include "ui/dialogs/window_placement.h"

namespace mirolat {

ApplicationWindows::ApplicationWindows(AppState& state, QObject* parent) : QObject(parent), state_(state) {}

frmMain* ApplicationWindows::CreateMainWindow() {
  auto* window = new frmMain(state_);
  window->setAttribute(Qt::WA_DeleteOnClose);
  main_ = window;
  Connect(*window);
  return window;
}

void ApplicationWindows::Connect(frmMain& main) {
  connect(&main, &frmMain::ReportRequested, this, &ApplicationWindows::ShowReport);
  connect(&main, &frmMain::TipsRequested, this, &ApplicationWindows::ShowTips);
  connect(&main, &frmMain::AboutRequested, this, &ApplicationWindows::ShowAbout);
  // The options dialog, the log viewer and the maintenance windows are
  // connected here as they join the program.
}

// One report window at a time, created when needed and shown again after each run.
void ApplicationWindows::ShowReport() {
  if (report_.isNull()) report_ = new frmReport(state_, main_);
  report_->ShowReport();
}

void ApplicationWindows::ShowTips() {
  if (!state_.Store) return;
  frmTip tip(*state_.Store, DefaultTipsFilePath(), main_);
  PlaceOnParent(&tip, main_);
  tip.exec();
}

void ApplicationWindows::ShowAbout() {
  frmAbout about(main_);
  PlaceOnParent(&about, main_);
  about.exec();
}

}  // namespace mirolat
