#pragma once
// The one place that creates the program's windows and connects them. The
// main window asks for other windows through its signals; each is answered
// here, and a window that changed the current file or the configuration
// calls the main window's slots back (LogChanged, ConfigurationChanged).
//
// Connecting a new window to a main-window command is a few lines in
// Connect(): connect the command's signal (OptionsRequested,
// ViewLogRequested/CloseLogViewerRequested, OptimizeRequested,
// PurgeRequested, RepairRequested) to a handler that opens the window, and
// tell the main window it is there: SetWindowConnected(WindowCommand::...,
// true). Until then the command stays disabled.
#include <QObject>
#include <QPointer>

#include "ui/main/frm_main.h"
#include "ui/reports/frm_report.h"

namespace mirolat {

struct AppState;

class ApplicationWindows : public QObject {
  Q_OBJECT
 public:
  explicit ApplicationWindows(AppState& state, QObject* parent = nullptr);

  // The main window over `state`, connected to the program's other windows.
  // It is not shown yet; it deletes itself when closed.
  frmMain* CreateMainWindow();

  frmMain* MainWindow() const { return main_; }
  // The report window of the last run, or null before the first.
  frmReport* ReportWindow() const { return report_; }

 private:
  void Connect(frmMain& main);
  void ShowReport();
  void ShowTips();
  void ShowAbout();

  AppState& state_;
  QPointer<frmMain> main_;
  QPointer<frmReport> report_;
};

}  // namespace mirolat
