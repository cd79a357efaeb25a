#pragma once
// The program's main window: the statistics of the current file, the report
// range (DateRangePanel), the status messages (StatusMessageBar) and every
// command (MainCommands()). Commands that open another window emit a signal;
// ui/app connects them, says which of those windows are there
// (SetWindowConnected) and calls the public slots back. A command whose
// window is not there stays disabled.
#include <QAction>
#include <QFrame>
#include <QLabel>
#include <QMainWindow>
#include <QMenu>
#include <QProgressBar>
#include <QPushButton>
#include <QStatusBar>
#include <QToolBar>
#include <functional>
#include <memory>
#include <span>

#include "core/app/command_availability.h"
#include "core/common/progress.h"
#include "ui/main/budget_bars.h"
#include "ui/main/date_range_panel.h"
#include "ui/main/status_message_bar.h"

namespace mirolat {

struct AppState;
class ErrorReporter;
class FileWatch;
struct MainCommandSpec;

// The commands whose windows ui/app connects.
enum class WindowCommand { Options, ViewLog, Optimize, Purge, Repair, ModemWizard };

class frmMain : public QMainWindow {
  Q_OBJECT
 public:
  explicit frmMain(AppState& state, QWidget* parent = nullptr);
  ~frmMain() override;

  AppState& State() { return state_; }

  // What "today" is (tests pin it).
  void SetTodayProvider(std::function<QDate()> today) { DateRange->SetTodayProvider(std::move(today)); }
  // The run's progress in the status bar and the progress bar.
  Progress& StatusProgress() { return *progress_; }
  // The service (0-based) whose billing cycle This/Last Billing Cycle take,
  // or -1 for the overall one: ui/app answers with the report window's
  // selected Summary row.
  void SetCycleServiceProvider(std::function<int()> provider) { cycleService_ = std::move(provider); }

 private:
  // The command table names the menu items and handlers below.
  friend std::span<const MainCommandSpec> MainCommands();

  // Parts of the window.
  DateRangePanel* DateRange = nullptr;
  StatusMessageBar* Messages = nullptr;
  BudgetBars* Budgets = nullptr;

  // Controls, under the window's own names (the date controls are the panel's).
  QWidget* Form = nullptr;  // the central area
  QToolBar* ToolbarMain = nullptr;
  QFrame* lineToolbar1 = nullptr;
  QFrame* lineToolbar2 = nullptr;
  QFrame* inputFrame = nullptr;
  QLineEdit* inputStarting = nullptr;
  QLineEdit* inputEnding = nullptr;
  SpinButton* UpDown1 = nullptr;
  SpinButton* UpDown2 = nullptr;
  SpinButton* UpDown3 = nullptr;
  SpinButton* UpDown4 = nullptr;
  QCalendarWidget* Calendar1 = nullptr;
  QLabel* lblDateTitle = nullptr;
  QLabel* LabelStarting = nullptr;
  QLabel* LabelEnding = nullptr;
  QLabel* imgStartArrow = nullptr;
  QLabel* imgEndArrow = nullptr;
  QTimer* Timer1 = nullptr;
  QPushButton* btnProcess = nullptr;
  QPushButton* btnViewLog = nullptr;
  QPushButton* btnExit = nullptr;
  QStatusBar* StatusBarMain = nullptr;
  QLabel* LabelHeading = nullptr;
  QLabel* LabelHeading2 = nullptr;
  QLabel* LabelLogName = nullptr;
  QLabel* LabelLogName2 = nullptr;
  QLabel* LabelLogPath = nullptr;
  QLabel* LabelLogPath2 = nullptr;
  QLabel* LabelLogLength = nullptr;
  QLabel* LabelLogLength2 = nullptr;
  QLabel* LabelLogEntries = nullptr;
  QLabel* LabelLogEntries2 = nullptr;
  QLabel* LabelLogFirst = nullptr;
  QLabel* LabelLogFirst2 = nullptr;
  QLabel* LabelLogLast = nullptr;
  QLabel* LabelLogLast2 = nullptr;
  QLabel* LabelMainVersion = nullptr;
  QLabel* imgMain = nullptr;
  QProgressBar* ProgressBar1 = nullptr;

  QMenu* mnuFile = nullptr;
  QAction* mnuOpenLog = nullptr;
  QAction* mnuOpenArchive = nullptr;
  QAction* mnuSetup = nullptr;
  QAction* mnuExit = nullptr;
  QMenu* mnuTools = nullptr;
  QAction* mnuViewLog = nullptr;
  QAction* mnuClearLog = nullptr;
  QAction* mnuPurgeLog = nullptr;
  QAction* mnuOptimize = nullptr;
  QAction* mnuRepairLog = nullptr;
  QAction* mnuModemWizard = nullptr;
  QAction* mnuCharts = nullptr;
  QAction* mnuComparePlans = nullptr;
  QMenu* mnuQuickDate = nullptr;
  QAction* mnuToday = nullptr;
  QAction* mnuPlusWeek = nullptr;
  QAction* mnuMinusWeek = nullptr;
  QAction* mnuPlusMonth = nullptr;
  QAction* mnuMinusMonth = nullptr;
  QAction* mnuLogStart = nullptr;
  QAction* mnuLogEnd = nullptr;
  QAction* mnuThisCycle = nullptr;
  QAction* mnuLastCycle = nullptr;
  QMenu* mnuHelp = nullptr;
  QAction* mnuTopics = nullptr;
  QAction* mnsSearchHelp = nullptr;
  QAction* mnuHowToHelp = nullptr;
  QAction* mnuAbout = nullptr;

  // Toolbar buttons by position 1..18 (separators included).
  QAction* ToolbarButton(int position) const;
  // The toolbar button with this key, or null.
  QAction* ToolbarButtonByKey(const QString& key) const;

  // The status bar's text and weight as the user sees them.
  QString StatusText() const { return Messages->Text(); }
  bool StatusBold() const { return Messages->Bold(); }

  // Window procedures.
  void Form_Load();
  void Form_Activate();
  void ShowLogStatistics();
  void UpdateCaption();
  // Lays the controls out below the toolbar (or at the top without it).
  void Form_Resize();
  // Toolbar height the controls are shifted by (0 when it is hidden).
  int ToolbarOffset() const;

 private Q_SLOTS:
  // Commands (the handlers of MainCommands()).
  void btnProcess_Click();
  void btnViewLog_Click();
  void btnExit_Click();
  void mnuOpenArchive_Click();
  void mnuOpenLog_Click();
  void mnuSetup_Click();
  void mnuOptimize_Click();
  void mnuPurgeLog_Click();
  void mnuRepairLog_Click();
  void mnuClearLog_Click();
  void mnuToday_Click();
  void mnuLogStart_Click();
  void mnuLogEnd_Click();
  void mnuPlusWeek_Click();
  void mnuMinusWeek_Click();
  void mnuPlusMonth_Click();
  void mnuMinusMonth_Click();
  void mnuThisCycle_Click();
  void mnuLastCycle_Click();
  void mnuTopics_Click();
  void mnsSearchHelp_Click();
  void mnuHowToHelp_Click();
  void mnuAbout_Click();

 public Q_SLOTS:
  // The window of `command` is connected to its signal (or no longer): the
  // command is enabled when the state of the current file allows it.
  void SetWindowConnected(WindowCommand command, bool connected);
  // The current file changed on disk (optimized, purged, repaired, saved by
  // the viewer): scan it again and re-run the load and activation logic.
  void LogChanged();
  // A rewrite of the current file finished: what it did stays on the status
  // bar until the user moves on.
  void ShowCommandDone(const QString& text);
  // The options dialog's OK: when it changed the modem log's file name
  // (AppState::LogFileChanged) the window switches to that log.
  void ConfigurationChanged();
  // Another program (`mirolat-cli config import`) may have changed the stored
  // record since it was read: when it did, the record is read again and the
  // window follows it (the picture, the toolbars, another modem log). Runs
  // before the record is shown or used: the options and setup dialogs, a run.
  // True when the current file changed to another log.
  bool FollowStoredConfiguration();
  // A long rewrite of the current file: the commands that touch it, the date
  // controls, Exit and the toolbar are disabled, `text` stands in the status
  // bar and the progress bar is shown (StatusProgress() drives both) until
  // UnlockMainWindow or LogChanged.
  void LockMainWindow(const QString& text);
  void UnlockMainWindow();
  // The log viewer opened or closed: View reads "&Close ..." and closes it
  // while it is open; Clear, Purge, Open Archive and Optimize wait for it.
  void SetLogViewerOpen(bool open);
  // Today's report, as Quick Date's Today and OK make it (the tray's menu).
  void RunTodaysReport();
  // The program ends as the Exit button ends it.
  void QuitProgram() { btnExit_Click(); }

 Q_SIGNALS:
  // The status bar's text changed.
  void StatusTextChanged(const QString& text);
  // An analysis run ended (also one that stopped); AppState::LastRun holds it.
  void ProcessFinished();
  // The run went through: the report window shows AppState::LastRun.
  void ReportRequested();
  // The options dialog, modal.
  void OptionsRequested();
  // Open the log viewer (modeless) / close the open one.
  void ViewLogRequested();
  void CloseLogViewerRequested();
  // The optimize question and rewrite of the current file.
  void OptimizeRequested();
  // The purge dialog, modal.
  void PurgeRequested();
  // The repair window, modal.
  void RepairRequested();
  // The modem logging wizard, modal (offered even without a log).
  void ModemWizardRequested();
  // The Charts window over the last run.
  void ChartsRequested();
  void ComparePlansRequested();
  // The tip window, modal (first activation without a warning).
  void TipsRequested();
  // The About window, modal.
  void AboutRequested();
  // The current file was read again after it changed (on disk or by a rewrite).
  void CurrentLogChanged();

 protected:
  void resizeEvent(QResizeEvent* event) override;
  void showEvent(QShowEvent* event) override;
  void closeEvent(QCloseEvent* event) override;

 private:
  // The logical enabled state of the commands the availability table and
  // WarnLogCorrupt set; shown on the widgets together with the lock, the log
  // viewer and whether a command's window is connected.
  struct CommandState {
    bool View = true, Process = false, OpenArchiveMenu = true, OpenArchiveButton = true, OpenModemLog = false,
         QuickDate = true, FirstLastEntry = true, ToolsMenu = true, ToolsView = true, ToolsPurge = true,
         ToolsOptimize = true, ToolsClear = true, Repair = true, ClearButton = true, OptimizeButton = true,
         DateControls = true, ExitButton = true, Locked = false, ViewerOpen = false;
  };

  // Form_Load's work; a change to the current file on disk keeps the range.
  enum class RangeOnLoad { Reset, Keep };
  void LoadWindow(RangeOnLoad range);
  void BuildCommands();
  void BuildControls();
  void ConnectHandlers();
  void ApplyAvailability(const CommandAvailability& availability);
  void PushCommandStates();
  bool Connected(WindowCommand command) const;
  void OnFocusChanged(QWidget* old, QWidget* now);
  void OnFocusWindowChanged(QWindow* now);
  void ShowWarnLogCorrupt();
  // The picture and the toolbars as the record says.
  void ApplyShowSettings();
  StatusMessageId FocusMessage() const;
  void SetViewCaptions();
  void RescanCurrentFile();
  // The current file's existence, character check and scan, read afresh.
  void CheckCurrentFile(ErrorReporter& reporter);
  void CurrentFileChangedOnDisk();
  // The budget bars over the current file, once the events queued now are done.
  void ScheduleBudgets();
  void RefreshBudgets();
  // The height the budget bars add to the window (0 while hidden).
  int BudgetBarsRoom() const;

  AppState& state_;
  CommandState commands_;
  std::unique_ptr<Progress> progress_;
  QList<QAction*> toolbarButtons_;  // index 0 = position 1
  QList<QMetaObject::Connection> appConnections_;
  unsigned connectedWindows_ = 0;  // bit per WindowCommand
  bool firstShowDone_ = false;
  bool activating_ = false;
  bool processing_ = false;
  bool lastFocusWasForm_ = false;
  FileWatch* fileWatch_ = nullptr;
  bool diskChangePending_ = false;
  bool budgetsPending_ = false;
  std::function<int()> cycleService_;

  // The modem log parked while an archive is open.
  QString parkedLogFileName_;
  QString parkedLogFilePath_;
  QString parkedWindowsDir_;
  bool parkedLogUsable_ = false;
};

}  // namespace mirolat
