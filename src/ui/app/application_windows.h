#pragma once
// The one place that creates the program's windows and connects them. The
// main window asks for other windows through its signals; each is answered
// here, and a window that changed the current file or the configuration
// calls the main window's slots back (LogChanged, ConfigurationChanged).
//
// Connecting a window to a main-window command is a few lines in Connect():
// connect the command's signal (OptionsRequested,
// ViewLogRequested/CloseLogViewerRequested, OptimizeRequested,
// PurgeRequested, RepairRequested) to a handler that opens the window, and
// tell the main window it is there: SetWindowConnected(WindowCommand::...,
// true). Until then the command stays disabled.
#include <QObject>
#include <QPointer>
#include <memory>

#include "ui/app/live_watch.h"
#include "ui/charts/frm_charts.h"
#include "ui/logviewer/frm_view_log.h"
#include "ui/main/frm_main.h"
#include "ui/planning/frm_compare.h"
#include "ui/reports/frm_report.h"

namespace mirolat {

struct AppState;
class OptimizePresenter;
class RewriteProgress;
class SerialPortLister;

class ApplicationWindows : public QObject {
  Q_OBJECT
 public:
  explicit ApplicationWindows(AppState& state, QObject* parent = nullptr);
  ~ApplicationWindows() override;

  // The main window over `state`, connected to the program's other windows.
  // It is not shown yet; it deletes itself when closed.
  frmMain* CreateMainWindow();

  frmMain* MainWindow() const { return main_; }
  // The report window of the last run, or null before the first.
  frmReport* ReportWindow() const { return report_; }
  // The open Charts window, or null.
  frmCharts* ChartsWindow() const { return charts_; }
  // The open Compare Plans window, or null.
  frmCompare* CompareWindow() const { return compare_; }
  // The open log viewer, or null.
  frmViewLog* LogViewer() const { return viewer_; }
  // The budget alerts and the tray icon over the main window's log.
  LiveWatch* Live() const { return live_; }

  // The serial ports the wizard's detect step registers (not taken over):
  // by default the machine's, when the program was built with QtSerialPort;
  // null: the step is not offered.
  void SetSerialPortLister(SerialPortLister* lister) { serialPorts_ = lister; }

 private:
  void Connect(frmMain& main);
  void ShowReport();
  void ShowCharts();
  void ShowComparePlans();
  void ShowTips();
  void ShowAbout();
  void ShowOptions();
  void OpenLogViewer();
  void CloseLogViewer();
  void Optimize();
  void Purge();
  void Repair();
  void ShowModemWizard();
  // A rewrite's progress drives the main window's status bar and progress bar.
  void ShowRewriteProgress(RewriteProgress& progress);

  AppState& state_;
  QPointer<frmMain> main_;
  QPointer<frmReport> report_;
  QPointer<frmCharts> charts_;
  QPointer<frmCompare> compare_;
  QPointer<frmViewLog> viewer_;
  RewriteProgress* rewriteProgress_ = nullptr;
  OptimizePresenter* optimizer_ = nullptr;
  QPointer<LiveWatch> live_;
  std::unique_ptr<SerialPortLister> systemSerialPorts_;
  SerialPortLister* serialPorts_ = nullptr;
};

}  // namespace mirolat
