#pragma once
// The program's main window: the statistics of the current file, the report
// range (typed, picked on the calendar, stepped with the spin buttons or set by
// the quick-date commands), the status messages and every command.
#include <QAction>
#include <QCalendarWidget>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QMenu>
#include <QPointer>
#include <QProgressBar>
#include <QPushButton>
#include <QStatusBar>
#include <QTimer>
#include <QToolBar>
#include <array>
#include <functional>

#include "core/common/dates.h"
#include "ui/main/command_availability.h"
#include "ui/main/spin_button.h"

namespace mirolat {

struct AppState;

class frmMain : public QMainWindow {
  Q_OBJECT
 public:
  explicit frmMain(AppState& state, QWidget* parent = nullptr);
  ~frmMain() override;

  AppState& State() { return state_; }

  // Controls, under the names the other windows use.
  QWidget* Form = nullptr;  // the central area
  QToolBar* ToolbarMain = nullptr;
  QFrame* lineToolbar1 = nullptr;
  QFrame* lineToolbar2 = nullptr;
  QTimer* Timer1 = nullptr;
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
  QPushButton* btnProcess = nullptr;
  QPushButton* btnViewLog = nullptr;
  QPushButton* btnExit = nullptr;
  QStatusBar* StatusBarMain = nullptr;
  QLabel* StatusPanel = nullptr;  // the status bar's one text
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
  QMenu* mnuQuickDate = nullptr;
  QAction* mnuToday = nullptr;
  QAction* mnuPlusWeek = nullptr;
  QAction* mnuMinusWeek = nullptr;
  QAction* mnuPlusMonth = nullptr;
  QAction* mnuMinusMonth = nullptr;
  QAction* mnuLogStart = nullptr;
  QAction* mnuLogEnd = nullptr;
  QMenu* mnuHelp = nullptr;
  QAction* mnuTopics = nullptr;
  QAction* mnsSearchHelp = nullptr;
  QAction* mnuHowToHelp = nullptr;
  QAction* mnuAbout = nullptr;

  // Toolbar buttons by position 1..18 (separators included).
  QAction* ToolbarButton(int position) const;
  // The toolbar button with this key, or null.
  QAction* ToolbarButtonByKey(const QString& key) const;

  // Window state.
  int ActiveDateField = 0;  // 1 start box, 2 end box, 0 none yet
  int MessageIndex = 0;
  bool MessageHeld = false;
  int PeriodDays = 0;

  // The status message table: 16 entries, 0..13 filled at load.
  struct StatusMessage {
    QString text;
    bool hold = false;
    bool bold = false;
  };
  std::array<StatusMessage, 16> StatusMessages{};

  // What "today" is (tests pin it).
  void SetTodayProvider(std::function<QDate()> today) { today_ = std::move(today); }

  // The status bar's text and weight as the user sees them.
  QString StatusText() const;
  bool StatusBold() const;
  // Puts `text` into the status bar (the run's progress and finished texts).
  void SetStatusText(const QString& text);

 Q_SIGNALS:
  // The status bar's text changed.
  void StatusTextChanged(const QString& text);

 public:

  // Window procedures.
  void Form_Load();
  void Form_Activate();
  void ShowStatusMessage();
  void Timer1_Timer();
  void InitDateRange();
  void ShowLogStatistics();
  void UpdateCaption();
  void ShowDateTitle();
  // Applies the availability table of the current file to every command.
  void ApplyAvailability(const CommandAvailability& availability);

  // Commands.
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
  void mnuTopics_Click();
  void mnsSearchHelp_Click();
  void mnuHowToHelp_Click();
  void mnuAbout_Click();
  void ToolbarMain_ButtonClick(QAction* button);

  // Date entry.
  void inputStarting_GotFocus();
  void inputEnding_GotFocus();
  void inputStarting_LostFocus();
  void inputEnding_LostFocus();
  void inputStarting_Change();
  void inputEnding_Change();
  void LabelStarting_Click();
  void LabelEnding_Click();
  void LabelStarting_DblClick();
  void LabelEnding_DblClick();
  void Calendar1_Click();
  void UpDown1_UpClick();
  void UpDown1_DownClick();
  void UpDown2_UpClick();
  void UpDown2_DownClick();
  void UpDown3_UpClick();
  void UpDown3_DownClick();
  void UpDown4_UpClick();
  void UpDown4_DownClick();

  // Lays the controls out below the toolbar (or at the top without it).
  void Form_Resize();
  // Toolbar height the controls are shifted by (0 when it is hidden).
  int ToolbarOffset() const;

  // Enables or disables the controls that Optimize locks while it runs.
  void LockMainWindow();

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void showEvent(QShowEvent* event) override;
  void closeEvent(QCloseEvent* event) override;

 private:
  // The logical enabled state of the commands the availability table and
  // WarnLogCorrupt set; shown on the widgets together with the menus' states
  // and whether a command's window is plugged in.
  struct CommandState {
    bool View = true, Process = false, OpenArchiveMenu = true, OpenArchiveButton = true, OpenModemLog = false,
         QuickDate = true, ToolsMenu = true, ToolsView = true, ToolsPurge = true, ToolsOptimize = true,
         ToolsClear = true, Repair = true, ClearButton = true, OptimizeButton = true, DateControls = true,
         ExitButton = true, Locked = false;
  };

  void BuildMenus();
  void BuildToolbar();
  void BuildControls();
  void ConnectHandlers();
  void FillStatusMessages();
  void SetDateMask();
  void PushCommandStates();
  void OnFocusChanged(QWidget* old, QWidget* now);
  void ShowWarnLogCorrupt();
  int FocusMessageIndex() const;
  QLineEdit* ActiveBox() const;
  Date ActiveRangeDate() const;
  void SetActiveBoxDate(Date date);
  void CalendarStep(int days, int months);
  void MoveCalendarMonths(int months);
  void StepBox(QLineEdit* box, Date from, int days, int messageIndex);
  void SetBoxDate(QLineEdit* box, Date date);
  void SetBoxText(QLineEdit* box, const QString& text);
  void DragOtherBox(QLineEdit* box, const QString& text);
  void SetCalendarDate(Date date);
  Date CalendarDate() const;
  Date Today() const;
  void SetViewCaptions(bool archive);
  void RescanCurrentFile();
  bool CurrentFileUsableForStart() const;
  bool CurrentFileUsableForEnd() const;

  AppState& state_;
  CommandState commands_;
  std::function<QDate()> today_;
  QList<QAction*> toolbarButtons_;  // index 0 = position 1
  QPointer<QWidget> logViewer_;
  bool firstShowDone_ = false;
  bool activating_ = false;
  bool processing_ = false;
  int dragDepth_ = 0;
  bool lastFocusWasForm_ = false;

  // The modem log parked while an archive is open.
  QString parkedLogFileName_;
  QString parkedLogFilePath_;
  QString parkedWindowsDir_;
  bool parkedLogUsable_ = false;
};

}  // namespace mirolat
