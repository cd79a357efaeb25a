#include "ui/app/application_windows.h"

#include <QTimer>

#include "core/app/app_state.h"
#include "core/app/modem_check.h"
#include "core/app/startup.h"
#include "core/logfile/log_checks.h"
#include "core/logfile/log_rewrites.h"
#include "core/model/service_lookup.h"
#include "core/settings/config_paths.h"
#include "core/settings/modem_store.h"
#include "ui/app/live_watch.h"
#include "ui/common/about_window.h"
#include "ui/common/tip_window.h"
#include "ui/dialogs/desktop_error_reporter.h"
#include "ui/dialogs/wait_cursor.h"
#include "ui/dialogs/window_placement.h"
#include "ui/maintenance/frm_file_repair.h"
#include "ui/maintenance/frm_purge.h"
#include "ui/maintenance/optimize_presenter.h"
#include "ui/maintenance/rewrite_progress.h"
#include "ui/setup/frm_setup.h"
#include "ui/wizard/frm_pre_configure.h"
#ifdef MIROLAT_HAVE_SERIALPORT
#include "serial/qt_serial_port_lister.h"
#endif

namespace mirolat {

ApplicationWindows::ApplicationWindows(AppState& state, QObject* parent) : QObject(parent), state_(state) {
#ifdef MIROLAT_HAVE_SERIALPORT
  systemSerialPorts_ = std::make_unique<QtSerialPortLister>();
  serialPorts_ = systemSerialPorts_.get();
#endif
}

ApplicationWindows::~ApplicationWindows() = default;

frmMain* ApplicationWindows::CreateMainWindow() {
  auto* window = new frmMain(state_);
  window->setAttribute(Qt::WA_DeleteOnClose);
  main_ = window;
  Connect(*window);
  return window;
}

void ApplicationWindows::Connect(frmMain& main) {
  connect(&main, &frmMain::ReportRequested, this, &ApplicationWindows::ShowReport);
  connect(&main, &frmMain::ChartsRequested, this, &ApplicationWindows::ShowCharts);
  connect(&main, &frmMain::ComparePlansRequested, this, &ApplicationWindows::ShowComparePlans);
  connect(&main, &frmMain::TipsRequested, this, &ApplicationWindows::ShowTips);
  connect(&main, &frmMain::AboutRequested, this, &ApplicationWindows::ShowAbout);
  connect(&main, &frmMain::OptionsRequested, this, &ApplicationWindows::ShowOptions);
  connect(&main, &frmMain::ViewLogRequested, this, &ApplicationWindows::OpenLogViewer);
  connect(&main, &frmMain::CloseLogViewerRequested, this, &ApplicationWindows::CloseLogViewer);
  connect(&main, &frmMain::OptimizeRequested, this, &ApplicationWindows::Optimize);
  connect(&main, &frmMain::PurgeRequested, this, &ApplicationWindows::Purge);
  connect(&main, &frmMain::RepairRequested, this, &ApplicationWindows::Repair);
  connect(&main, &frmMain::ModemWizardRequested, this, &ApplicationWindows::ShowModemWizard);
  // This/Last Billing Cycle follow the service of the Summary row selected in the report window.
  main.SetCycleServiceProvider([this] {
    return report_ && report_->isVisible() ? FindServiceByNumber(state_.Config, report_->SelectedSummaryNumber()) : -1;
  });

  rewriteProgress_ = new RewriteProgress(&main);
  ShowRewriteProgress(*rewriteProgress_);
  optimizer_ = new OptimizePresenter(state_, SharedErrorReporter(), &main, &main);
  ShowRewriteProgress(optimizer_->progress());
  connect(optimizer_, &OptimizePresenter::LockMainWindowRequested, &main, [&main] { main.LockMainWindow(QString()); });
  // Optimized or not, the file is scanned again and the window reloads (which
  // also lifts the lock).
  connect(optimizer_, &OptimizePresenter::Finished, &main, [&main](bool optimized) {
    main.LogChanged();
    if (optimized) main.ShowCommandDone(QString::fromLatin1(kOptimizeFinishedText));
  });

  // Alerts and the tray icon follow the log from the first look at it on.
  live_ = new LiveWatch(state_, main, &main);
  live_->ApplyOptions();
  QTimer::singleShot(0, live_, &LiveWatch::LogChanged);

  for (const WindowCommand command : {WindowCommand::Options, WindowCommand::ViewLog, WindowCommand::Optimize,
                                      WindowCommand::Purge, WindowCommand::Repair, WindowCommand::ModemWizard}) {
    main.SetWindowConnected(command, true);
  }
}

void ApplicationWindows::ShowRewriteProgress(RewriteProgress& progress) {
  frmMain* main = main_;
  connect(&progress, &RewriteProgress::StatusTextChanged, main,
          [main](const QString& text) { main->StatusProgress().SetStatus(text); });
  connect(&progress, &RewriteProgress::ProgressValueChanged, main,
          [main](int percent) { main->StatusProgress().SetPercent(percent); });
}

// The options dialog, modal; its OK hands the new record to the main window,
// which switches to another log when the file name changed.
void ApplicationWindows::ShowOptions() {
  const WaitCursor wait(WaitCursor::Span::UntilEventLoop);
  main_->FollowStoredConfiguration();
  frmSetup setup(state_, main_);
  PlaceOnParent(&setup, main_);
  connect(&setup, &frmSetup::ConfigurationChanged, main_, [this](bool) {
    main_->ConfigurationChanged();
    if (!live_.isNull()) {
      live_->ApplyOptions();
      live_->LogChanged();
    }
  });
  setup.exec();
}

// The log viewer, modeless and one at a time. While it is open the main window
// holds back the commands that rewrite the file; its saves and its closing
// make the main window read the file again.
void ApplicationWindows::OpenLogViewer() {
  if (!viewer_.isNull()) {
    viewer_->raise();
    viewer_->activateWindow();
    return;
  }
  auto* viewer = new frmViewLog(state_, SharedErrorReporter(), main_);
  viewer_ = viewer;
  connect(viewer, &frmViewLog::ViewerOpenChanged, main_, &frmMain::SetLogViewerOpen);
  connect(viewer, &frmViewLog::LogSaved, main_, &frmMain::LogChanged);
  connect(viewer, &frmViewLog::Closed, main_, [this](bool) { main_->LogChanged(); });
  viewer->ShowViewer();
}

void ApplicationWindows::CloseLogViewer() {
  if (!viewer_.isNull()) viewer_->close();
}

void ApplicationWindows::Optimize() {
  const WaitCursor wait(WaitCursor::Span::UntilEventLoop);
  optimizer_->OptimizeCurrentFile();
}

// The purge dialog, modal; the main window is locked while the log is
// rewritten and reloads itself when something was purged.
void ApplicationWindows::Purge() {
  frmPurge purge(state_, SharedErrorReporter(), *rewriteProgress_, main_);
  PlaceOnParent(&purge, main_);
  const QMetaObject::Connection lock = connect(rewriteProgress_, &RewriteProgress::ProgressBarShown, main_,
                                               [this](bool shown) {
                                                 if (shown) main_->LockMainWindow(QString());
                                               });
  purge.exec();
  disconnect(lock);
  if (purge.PurgeDone()) {
    main_->LogChanged();
    main_->ShowCommandDone(QString::fromLatin1(kPurgeFinishedText));
  } else {
    main_->UnlockMainWindow();
  }
}

// The repair window, modal; the file is scanned again whatever it did.
void ApplicationWindows::Repair() {
  frmFileRepair repair(state_, SharedErrorReporter(), main_);
  PlaceOnParent(&repair, main_);
  repair.exec();
  main_->LogChanged();
  if (repair.Repaired()) main_->ShowCommandDone(QString::fromLatin1(kRepairFinishedText));
}

// The modem logging wizard (Tools menu), modal, over the modem entries as
// they are now, whatever the start-up check found. When it created the modem
// log that was missing, the main window reads it.
void ApplicationWindows::ShowModemWizard() {
  if (!state_.Store) return;
  main_->FollowStoredConfiguration();
  ErrorReporter& reporter = SharedErrorReporter();
  ModemClassStore modems(*state_.Store);
  ModemCheck check;
  if (!RunStep(reporter, [&] { check.WindowsDir = LogDirectory(); })) return;
  check.DefaultLogFileName = state_.Config.ModemLogFile;
  StartupOptions options;
  RunStep(reporter, [&] { options = ReadStartupOptions(*state_.Store); });
  check.PreferredModem = options.PreferredModem;
  check.ModemTable = DetectModems(modems);

  frmPreConfigure wizard(modems, check, options.RunConfigWizard, reporter, main_);
  wizard.SetSerialPortLister(serialPorts_);
  PlaceOnParent(&wizard, main_);
  wizard.exec();

  CurrentFileState& file = state_.File;
  if (!file.ArchiveOpen && !file.LogExists && FileExists(file.LogFilePath)) {
    file.LogExists = true;
    main_->LogChanged();
  }
}

// One report window at a time, created when needed and shown again after each run.
void ApplicationWindows::ShowReport() {
  if (report_.isNull()) {
    report_ = new frmReport(state_, main_);
    connect(report_, &frmReport::ChartsRequested, this, &ApplicationWindows::ShowCharts);
  }
  report_->ShowReport();
}

// One Charts window at a time, drawn again from the last run each time it is asked for.
void ApplicationWindows::ShowCharts() {
  if (charts_.isNull()) charts_ = new frmCharts(state_, main_);
  charts_->ShowCharts();
}

// One Compare Plans window at a time, over the main window's range and the
// configuration as it is when the window opens.
void ApplicationWindows::ShowComparePlans() {
  if (compare_.isNull()) {
    CompareSetup setup{state_.Config, state_.Locale, state_.File.LogFilePath, state_.ReportStartDate,
                       state_.ReportEndDate};
    if (setup.LogPath.isEmpty()) setup.LogPath = state_.File.WindowsDir + state_.Config.ModemLogFile;
    compare_ = new frmCompare(std::move(setup), main_);
    PlaceOnParent(compare_, main_);
  }
  compare_->show();
  compare_->raise();
  compare_->activateWindow();
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
