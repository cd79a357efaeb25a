#pragma once
// The commands of the main window that open other windows. Each window plugs
// itself in here; a command whose hook is empty stays disabled.
#include <QPointer>
#include <functional>

class QWidget;

namespace mirolat {

class frmMain;
struct AppState;

struct MainWindowHooks {
  // The options dialog, modal. Sets state.LogFileChanged when its OK changed
  // the modem log's file name.
  std::function<void(frmMain& main, AppState& state)> ShowOptions;
  // Opens the log viewer modeless and returns it; the main window closes it
  // when View is chosen again while it is open.
  std::function<QWidget*(frmMain& main, AppState& state)> OpenLogViewer;
  // The optimize question and rewrite of the current file. The main window
  // re-scans the file and re-runs its load and activation logic afterwards.
  std::function<void(frmMain& main, AppState& state)> Optimize;
  // The purge dialog, modal; true when it purged.
  std::function<bool(frmMain& main, AppState& state)> Purge;
  // The repair window, modal.
  std::function<void(frmMain& main, AppState& state)> Repair;
  // The report window for the last analysis run, modeless.
  std::function<void(frmMain& main, AppState& state)> ShowReport;
  // The tip window, modal.
  std::function<void(frmMain& main, AppState& state)> ShowTips;
  // The About window, modal.
  std::function<void(frmMain& main, AppState& state)> ShowAbout;
};

// The hooks every main window uses.
MainWindowHooks& MainHooks();

}  // namespace mirolat
