#include "ui/main/frm_main.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QKeyEvent>
#include <QGuiApplication>
#include <QMenuBar>
#include <QMessageBox>
#include <QMouseEvent>
#include <QStandardPaths>
#include <QStyle>
#include <QWindow>
#include <cerrno>
#include <cstdio>
#include <memory>

#include "core/analysis/analysis_run.h"
#include "core/app/app_state.h"
#include "core/common/date_entry.h"
#include "core/logfile/log_checks.h"
#include "core/logfile/warnings.h"
#include "ui/common/end_program.h"
#include "ui/common/help_window.h"
#include "ui/dialogs/beep.h"
#include "ui/dialogs/desktop_error_reporter.h"
#include "ui/dialogs/file_dialog.h"
#include "ui/dialogs/message_box.h"
#include "ui/main/main_window_hooks.h"
#include "ui/main/status_bar_progress.h"

namespace mirolat {

namespace {

constexpr int kHoldIntervalMs = 5000;
constexpr int kShortNameLength = 22;
constexpr int kShortNameKeep = 19;

const char* const kViewLogCaption = "&View Modem Log";
const char* const kViewArchiveCaption = "&View Archive";
const char* const kOptimizeLogCaption = "&Optimize Modem Log";
const char* const kOptimizeArchiveCaption = "&Optimize Archive";
const char* const kArchiveFilter = "Mirolat Modem Log Archive (*.mrl)";

// Toolbar keys, by the position they stand at.
struct ToolbarButtonSpec {
  int position;
  const char* key;
  const char* tip;
  QStyle::StandardPixmap icon;
};

const ToolbarButtonSpec kToolbarButtons[] = {
    {2, "Open Archive", "Open Archive", QStyle::SP_DialogOpenButton},
    {3, "Setup", "MRL Options", QStyle::SP_FileDialogDetailedView},
    {4, "Exit", "Close Program", QStyle::SP_DialogCloseButton},
    {6, "View Modem Log", "View Modem Log or Archive", QStyle::SP_FileDialogContentsView},
    {7, "Clear Modem Log", "Clear Modem Log", QStyle::SP_TrashIcon},
    {8, "Optimize Modem Log", "Optimize Modem Log or Archive", QStyle::SP_BrowserReload},
    {9, "Repair Modem Log", "Repair Modem Log", QStyle::SP_DialogApplyButton},
    {11, "Today", "Today's Date", QStyle::SP_ArrowDown},
    {12, "First Entry", "Date of First Entry in Log", QStyle::SP_MediaSkipBackward},
    {13, "Last Entry", "Date of Last Entry in Log", QStyle::SP_MediaSkipForward},
    {15, "Help", "Help", QStyle::SP_DialogHelpButton},
    {16, "Search Help", "Search For Help", QStyle::SP_FileDialogContentsView},
    {17, "About MRL", "About MRL", QStyle::SP_MessageBoxInformation},
};
constexpr int kToolbarPositions = 18;

// Errors of Open Archive are passed over: each failing step is skipped.
class ContinueReporter final : public ErrorReporter {
 public:
  ErrorAnswer ReportError(const RunError&) override { return ErrorAnswer::Continue; }
};

// A name of at most 22 characters whole; a longer one as its first 19
// characters and "...", the whole name then being the label's tooltip.
void SetShortened(QLabel* label, const QString& text) {
  if (text.size() <= kShortNameLength) {
    label->setText(text);
    label->setToolTip(QString());
  } else {
    label->setText(text.left(kShortNameKeep) + QStringLiteral("..."));
    label->setToolTip(text);
  }
}

// A window the program shows as one of its forms (not a message box, a file
// dialog or a popup menu): coming back from one re-runs the activation logic.
bool IsFormWindow(QWindow* window) {
  if (window == nullptr) return false;
  for (QWidget* w : QApplication::topLevelWidgets()) {
    if (w->windowHandle() != window) continue;
    return qobject_cast<QMessageBox*>(w) == nullptr && qobject_cast<QFileDialog*>(w) == nullptr &&
           qobject_cast<QMenu*>(w) == nullptr;
  }
  return false;
}

class WaitCursor {
 public:
  WaitCursor() { QGuiApplication::setOverrideCursor(Qt::WaitCursor); }
  ~WaitCursor() { QGuiApplication::restoreOverrideCursor(); }
  WaitCursor(const WaitCursor&) = delete;
  WaitCursor& operator=(const WaitCursor&) = delete;
};

// The hourglass while a modal window loads: it gives way to the normal
// pointer as soon as the window's own event loop runs, so the user does not
// work in the window under a busy pointer.
class WaitCursorWhileLoading {
 public:
  WaitCursorWhileLoading() : restored_(std::make_shared<bool>(false)) {
    QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    QTimer::singleShot(0, qApp, [restored = restored_] { Restore(*restored); });
  }
  ~WaitCursorWhileLoading() { Restore(*restored_); }
  WaitCursorWhileLoading(const WaitCursorWhileLoading&) = delete;
  WaitCursorWhileLoading& operator=(const WaitCursorWhileLoading&) = delete;

 private:
  static void Restore(bool& restored) {
    if (restored) return;
    restored = true;
    QGuiApplication::restoreOverrideCursor();
  }
  std::shared_ptr<bool> restored_;
};

}  // namespace

MainWindowHooks& MainHooks() {
  static MainWindowHooks hooks;
  return hooks;
}

frmMain::frmMain(AppState& state, QWidget* parent)
    : QMainWindow(parent), state_(state), today_([] { return QDate::currentDate(); }) {
  setObjectName(QStringLiteral("frmMain"));
  setWindowTitle(QStringLiteral("Mirolat"));
  Timer1 = new QTimer(this);
  Timer1->setObjectName(QStringLiteral("Timer1"));
  Timer1->setInterval(kHoldIntervalMs);
  BuildMenus();
  BuildControls();
  BuildToolbar();
  ConnectHandlers();
  resize(600, 470);
  RegisterWindow(WindowRole::Main, this);
  Form_Load();
}

frmMain::~frmMain() { UnregisterWindow(this); }

// ---------------------------------------------------------------------------
// Building the window

void frmMain::BuildMenus() {
  auto item = [this](QMenu* menu, QAction*& action, const char* name, const QString& caption,
                     const QKeySequence& key = QKeySequence()) {
    action = menu->addAction(caption);
    action->setObjectName(QString::fromLatin1(name));
    if (!key.isEmpty()) action->setShortcut(key);
  };
  mnuFile = menuBar()->addMenu(QStringLiteral("&File"));
  mnuFile->setObjectName(QStringLiteral("mnuFile"));
  item(mnuFile, mnuOpenLog, "mnuOpenLog", QStringLiteral("&Open Modem Log"), QKeySequence(Qt::Key_F2));
  item(mnuFile, mnuOpenArchive, "mnuOpenArchive", QStringLiteral("Open &Archive"), QKeySequence(Qt::Key_F3));
  mnuFile->addSeparator();
  item(mnuFile, mnuSetup, "mnuSetup", QStringLiteral("&MRL Options"));
  mnuFile->addSeparator();
  item(mnuFile, mnuExit, "mnuExit", QStringLiteral("&Exit"), QKeySequence(Qt::CTRL | Qt::Key_X));

  mnuTools = menuBar()->addMenu(QStringLiteral("&Tools"));
  mnuTools->setObjectName(QStringLiteral("mnuTools"));
  item(mnuTools, mnuViewLog, "mnuViewLog", QString::fromLatin1(kViewLogCaption), QKeySequence(Qt::Key_F4));
  item(mnuTools, mnuClearLog, "mnuClearLog", QStringLiteral("&Clear Modem Log"), QKeySequence(Qt::Key_F5));
  item(mnuTools, mnuPurgeLog, "mnuPurgeLog", QStringLiteral("&Purge Modem Log"), QKeySequence(Qt::Key_F6));
  item(mnuTools, mnuOptimize, "mnuOptimize", QString::fromLatin1(kOptimizeLogCaption), QKeySequence(Qt::Key_F7));
  mnuTools->addSeparator();
  item(mnuTools, mnuRepairLog, "mnuRepairLog", QStringLiteral("&Repair Modem Log"), QKeySequence(Qt::Key_F8));

  mnuQuickDate = menuBar()->addMenu(QStringLiteral("&Quick Date"));
  mnuQuickDate->setObjectName(QStringLiteral("mnuQuickDate"));
  item(mnuQuickDate, mnuToday, "mnuToday", QStringLiteral("ToDay"), QKeySequence(Qt::CTRL | Qt::Key_T));
  mnuQuickDate->addSeparator();
  item(mnuQuickDate, mnuPlusWeek, "mnuPlusWeek", QStringLiteral("One Week +"));
  item(mnuQuickDate, mnuMinusWeek, "mnuMinusWeek", QStringLiteral("One Week -"));
  mnuQuickDate->addSeparator();
  item(mnuQuickDate, mnuPlusMonth, "mnuPlusMonth", QStringLiteral("One Month +"));
  item(mnuQuickDate, mnuMinusMonth, "mnuMinusMonth", QStringLiteral("One Month -"));
  mnuQuickDate->addSeparator();
  item(mnuQuickDate, mnuLogStart, "mnuLogStart", QStringLiteral("First Entry"), QKeySequence(Qt::CTRL | Qt::Key_F));
  item(mnuQuickDate, mnuLogEnd, "mnuLogEnd", QStringLiteral("Last Entry"), QKeySequence(Qt::CTRL | Qt::Key_L));

  mnuHelp = menuBar()->addMenu(QStringLiteral("&Help"));
  mnuHelp->setObjectName(QStringLiteral("mnuHelp"));
  item(mnuHelp, mnuTopics, "mnuTopics", QStringLiteral("&Topics"), QKeySequence(Qt::Key_F1));
  item(mnuHelp, mnsSearchHelp, "mnsSearchHelp", QStringLiteral("&Search for Help"));
  item(mnuHelp, mnuHowToHelp, "mnuHowToHelp", QStringLiteral("&Using Help"));
  mnuHelp->addSeparator();
  item(mnuHelp, mnuAbout, "mnuAbout", QStringLiteral("&About MRL"));
}

void frmMain::BuildToolbar() {
  ToolbarMain = new QToolBar(Form);
  ToolbarMain->setObjectName(QStringLiteral("ToolbarMain"));
  ToolbarMain->setMovable(false);
  ToolbarMain->setFloatable(false);
  ToolbarMain->setToolButtonStyle(Qt::ToolButtonIconOnly);
  ToolbarMain->setIconSize(QSize(20, 20));
  for (int position = 1; position <= kToolbarPositions; ++position) {
    const ToolbarButtonSpec* entry = nullptr;
    for (const ToolbarButtonSpec& s : kToolbarButtons) {
      if (s.position == position) entry = &s;
    }
    QAction* action;
    if (entry == nullptr) {
      action = ToolbarMain->addSeparator();
    } else {
      action = ToolbarMain->addAction(style()->standardIcon(entry->icon), QString::fromLatin1(entry->key));
      action->setData(QString::fromLatin1(entry->key));
      action->setToolTip(QString::fromLatin1(entry->tip));
      action->setObjectName(QStringLiteral("ToolbarMain_") + QString::number(position));
    }
    toolbarButtons_.append(action);
  }
  lineToolbar1 = new QFrame(Form);
  lineToolbar1->setObjectName(QStringLiteral("lineToolbar1"));
  lineToolbar1->setFrameShape(QFrame::HLine);
  lineToolbar1->setFrameShadow(QFrame::Sunken);
  lineToolbar2 = new QFrame(Form);
  lineToolbar2->setObjectName(QStringLiteral("lineToolbar2"));
  lineToolbar2->setFrameShape(QFrame::HLine);
  lineToolbar2->setFrameShadow(QFrame::Raised);
}

QAction* frmMain::ToolbarButton(int position) const {
  if (position < 1 || position > toolbarButtons_.size()) return nullptr;
  return toolbarButtons_[position - 1];
}

QAction* frmMain::ToolbarButtonByKey(const QString& key) const {
  for (QAction* a : toolbarButtons_) {
    if (!a->isSeparator() && a->data().toString() == key) return a;
  }
  return nullptr;
}

void frmMain::BuildControls() {
  Form = new QWidget(this);
  Form->setObjectName(QStringLiteral("Form"));
  setCentralWidget(Form);

  auto label = [](QWidget* parent, const char* name, const QString& text, const QRect& geometry) {
    auto* l = new QLabel(text, parent);
    l->setObjectName(QString::fromLatin1(name));
    l->setGeometry(geometry);
    return l;
  };

  inputFrame = new QFrame(Form);
  inputFrame->setObjectName(QStringLiteral("inputFrame"));
  inputFrame->setFrameShape(QFrame::StyledPanel);
  inputFrame->setGeometry(10, 10, 260, 130);

  LabelStarting = label(inputFrame, "LabelStarting", QStringLiteral("Starting Date: "), QRect(10, 16, 95, 24));
  LabelEnding = label(inputFrame, "LabelEnding", QStringLiteral("Ending Date: "), QRect(10, 52, 95, 24));
  for (QLabel* l : {LabelStarting, LabelEnding}) {
    l->setToolTip(QStringLiteral("Double click here to reset to current date"));
    l->installEventFilter(this);
  }
  const QPixmap arrow = style()->standardIcon(QStyle::SP_ArrowRight).pixmap(16, 16);
  imgStartArrow = label(inputFrame, "imgStartArrow", QString(), QRect(105, 20, 16, 16));
  imgEndArrow = label(inputFrame, "imgEndArrow", QString(), QRect(105, 56, 16, 16));
  for (QLabel* l : {imgStartArrow, imgEndArrow}) {
    l->setPixmap(arrow);
    l->hide();
  }

  inputStarting = new QLineEdit(inputFrame);
  inputStarting->setObjectName(QStringLiteral("inputStarting"));
  inputStarting->setGeometry(125, 16, 85, 24);
  inputStarting->setToolTip(QStringLiteral("Enter the starting date."));
  inputEnding = new QLineEdit(inputFrame);
  inputEnding->setObjectName(QStringLiteral("inputEnding"));
  inputEnding->setGeometry(125, 52, 85, 24);
  inputEnding->setToolTip(QStringLiteral("Enter the ending date."));
  // The menu's Exit key (Ctrl+X) ends the program from the date boxes too,
  // instead of cutting their text.
  inputStarting->installEventFilter(this);
  inputEnding->installEventFilter(this);

  auto spin = [this](const char* name, const QString& tip, const QRect& geometry) {
    auto* s = new SpinButton(inputFrame);
    s->setObjectName(QString::fromLatin1(name));
    s->setToolTip(tip);
    s->setGeometry(geometry);
    return s;
  };
  UpDown1 = spin("UpDown1", QStringLiteral("Increments/de-increments starting date by one day"),
                 QRect(212, 16, 17, 24));
  UpDown2 = spin("UpDown2", QStringLiteral("Increments/de-increments ending date by one day"),
                 QRect(212, 52, 17, 24));
  UpDown3 = spin("UpDown3", QStringLiteral("Increments/de-increments date by one week"), QRect(125, 90, 17, 28));
  UpDown4 = spin("UpDown4", QStringLiteral("Increments/de-increments date by one month"), QRect(160, 90, 17, 28));

  lblDateTitle = label(Form, "lblDateTitle", QString(), QRect(290, 10, 290, 22));
  lblDateTitle->setAlignment(Qt::AlignCenter);
  Calendar1 = new QCalendarWidget(Form);
  Calendar1->setObjectName(QStringLiteral("Calendar1"));
  Calendar1->setGeometry(290, 34, 290, 190);
  Calendar1->setToolTip(QStringLiteral("Click on the calendar to insert a date"));
  Calendar1->setGridVisible(true);

  // Statistics: the heading twice (the lower one a shadow), then the pairs.
  QFont headingFont = font();
  headingFont.setBold(true);
  headingFont.setPointSizeF(headingFont.pointSizeF() * 1.3);
  LabelHeading2 = label(Form, "LabelHeading2", QString(), QRect(12, 152, 260, 26));
  LabelHeading2->setFont(headingFont);
  LabelHeading2->setStyleSheet(QStringLiteral("color: gray"));
  LabelHeading = label(Form, "LabelHeading", QString(), QRect(10, 150, 260, 26));
  LabelHeading->setFont(headingFont);
  struct Pair {
    QLabel** caption;
    QLabel** value;
    const char* captionName;
    const char* valueName;
    const char* text;
  };
  const Pair pairs[] = {
      {&LabelLogName, &LabelLogName2, "LabelLogName", "LabelLogName2", "Filename:"},
      {&LabelLogPath, &LabelLogPath2, "LabelLogPath", "LabelLogPath2", "Path: "},
      {&LabelLogLength, &LabelLogLength2, "LabelLogLength", "LabelLogLength2", "Length: "},
      {&LabelLogEntries, &LabelLogEntries2, "LabelLogEntries", "LabelLogEntries2", "Entries: "},
      {&LabelLogFirst, &LabelLogFirst2, "LabelLogFirst", "LabelLogFirst2", "First Entry: "},
      {&LabelLogLast, &LabelLogLast2, "LabelLogLast", "LabelLogLast2", "Last Entry: "},
  };
  int y = 182;
  for (const Pair& p : pairs) {
    *p.caption = label(Form, p.captionName, QString::fromLatin1(p.text), QRect(10, y, 80, 22));
    *p.value = label(Form, p.valueName, QStringLiteral("N/A"), QRect(92, y, 190, 22));
    y += 24;
  }

  btnProcess = new QPushButton(QStringLiteral("&OK"), Form);
  btnProcess->setObjectName(QStringLiteral("btnProcess"));
  btnProcess->setToolTip(QStringLiteral("Click here to process your report "));
  btnProcess->setGeometry(290, 240, 80, 30);
  btnViewLog = new QPushButton(QString::fromLatin1(kViewLogCaption), Form);
  btnViewLog->setObjectName(QStringLiteral("btnViewLog"));
  btnViewLog->setToolTip(QStringLiteral("Click here to see the modem log"));
  btnViewLog->setGeometry(376, 240, 120, 30);
  btnExit = new QPushButton(QStringLiteral("E&xit"), Form);
  btnExit->setObjectName(QStringLiteral("btnExit"));
  btnExit->setToolTip(QStringLiteral("Close and exit Mirolat"));
  btnExit->setGeometry(502, 240, 78, 30);

  LabelMainVersion = label(Form, "LabelMainVersion", QString(), QRect(10, 340, 150, 20));
  imgMain = label(Form, "imgMain", QString(), QRect(0, 0, 48, 48));
  imgMain->setPixmap(style()->standardIcon(QStyle::SP_ComputerIcon).pixmap(48, 48));

  StatusBarMain = statusBar();
  StatusBarMain->setObjectName(QStringLiteral("StatusBarMain"));
  StatusBarMain->setSizeGripEnabled(false);
  StatusPanel = new QLabel(StatusBarMain);
  StatusPanel->setObjectName(QStringLiteral("StatusPanel"));
  StatusBarMain->addWidget(StatusPanel, 1);
  ProgressBar1 = new QProgressBar(StatusBarMain);
  ProgressBar1->setObjectName(QStringLiteral("ProgressBar1"));
  ProgressBar1->setRange(0, 100);
  ProgressBar1->setMaximumWidth(200);
  StatusBarMain->addPermanentWidget(ProgressBar1);
  ProgressBar1->hide();
}

void frmMain::ConnectHandlers() {
  connect(Timer1, &QTimer::timeout, this, &frmMain::Timer1_Timer);
  connect(btnProcess, &QPushButton::clicked, this, &frmMain::btnProcess_Click);
  connect(btnViewLog, &QPushButton::clicked, this, &frmMain::btnViewLog_Click);
  connect(btnExit, &QPushButton::clicked, this, &frmMain::btnExit_Click);

  connect(mnuOpenLog, &QAction::triggered, this, &frmMain::mnuOpenLog_Click);
  connect(mnuOpenArchive, &QAction::triggered, this, &frmMain::mnuOpenArchive_Click);
  connect(mnuSetup, &QAction::triggered, this, &frmMain::mnuSetup_Click);
  connect(mnuExit, &QAction::triggered, this, &frmMain::btnExit_Click);
  connect(mnuViewLog, &QAction::triggered, this, &frmMain::btnViewLog_Click);
  connect(mnuClearLog, &QAction::triggered, this, &frmMain::mnuClearLog_Click);
  connect(mnuPurgeLog, &QAction::triggered, this, &frmMain::mnuPurgeLog_Click);
  connect(mnuOptimize, &QAction::triggered, this, &frmMain::mnuOptimize_Click);
  connect(mnuRepairLog, &QAction::triggered, this, &frmMain::mnuRepairLog_Click);
  connect(mnuToday, &QAction::triggered, this, &frmMain::mnuToday_Click);
  connect(mnuPlusWeek, &QAction::triggered, this, &frmMain::mnuPlusWeek_Click);
  connect(mnuMinusWeek, &QAction::triggered, this, &frmMain::mnuMinusWeek_Click);
  connect(mnuPlusMonth, &QAction::triggered, this, &frmMain::mnuPlusMonth_Click);
  connect(mnuMinusMonth, &QAction::triggered, this, &frmMain::mnuMinusMonth_Click);
  connect(mnuLogStart, &QAction::triggered, this, &frmMain::mnuLogStart_Click);
  connect(mnuLogEnd, &QAction::triggered, this, &frmMain::mnuLogEnd_Click);
  connect(mnuTopics, &QAction::triggered, this, &frmMain::mnuTopics_Click);
  connect(mnsSearchHelp, &QAction::triggered, this, &frmMain::mnsSearchHelp_Click);
  connect(mnuHowToHelp, &QAction::triggered, this, &frmMain::mnuHowToHelp_Click);
  connect(mnuAbout, &QAction::triggered, this, &frmMain::mnuAbout_Click);
  connect(ToolbarMain, &QToolBar::actionTriggered, this, &frmMain::ToolbarMain_ButtonClick);

  connect(inputStarting, &QLineEdit::textChanged, this, &frmMain::inputStarting_Change);
  connect(inputEnding, &QLineEdit::textChanged, this, &frmMain::inputEnding_Change);
  connect(Calendar1, &QCalendarWidget::clicked, this, &frmMain::Calendar1_Click);
  // Enter on a day picked with the arrow keys is the keyboard's click.
  connect(Calendar1, &QCalendarWidget::activated, this, &frmMain::Calendar1_Click);
  connect(Calendar1, &QCalendarWidget::selectionChanged, this, &frmMain::ShowDateTitle);
  connect(UpDown1, &SpinButton::UpClick, this, &frmMain::UpDown1_UpClick);
  connect(UpDown1, &SpinButton::DownClick, this, &frmMain::UpDown1_DownClick);
  connect(UpDown2, &SpinButton::UpClick, this, &frmMain::UpDown2_UpClick);
  connect(UpDown2, &SpinButton::DownClick, this, &frmMain::UpDown2_DownClick);
  connect(UpDown3, &SpinButton::UpClick, this, &frmMain::UpDown3_UpClick);
  connect(UpDown3, &SpinButton::DownClick, this, &frmMain::UpDown3_DownClick);
  connect(UpDown4, &SpinButton::UpClick, this, &frmMain::UpDown4_UpClick);
  connect(UpDown4, &SpinButton::DownClick, this, &frmMain::UpDown4_DownClick);

  connect(qApp, &QApplication::focusChanged, this, &frmMain::OnFocusChanged);
  // Coming back to this window from another of the program's forms runs the
  // activation logic again; coming back from a message box or a file dialog,
  // or from another program, does not.
  connect(qApp, &QGuiApplication::focusWindowChanged, this, [this](QWindow* now) {
    const bool fromForm = lastFocusWasForm_;
    lastFocusWasForm_ = now != nullptr && now != windowHandle() && IsFormWindow(now);
    if (now == nullptr || now != windowHandle() || !firstShowDone_ || !fromForm) return;
    QTimer::singleShot(0, this, &frmMain::Form_Activate);
  });
}

// ---------------------------------------------------------------------------
// Load, activation and layout

void frmMain::SetDateMask() {
  const QString sep = QStringLiteral("\\") + state_.Locale.DateSeparator;
  const QString mask = QStringLiteral("99") + sep + QStringLiteral("99") + sep + QStringLiteral("99");
  for (QLineEdit* box : {inputStarting, inputEnding}) {
    if (box->inputMask() != mask + QStringLiteral("; ") && box->inputMask() != mask) box->setInputMask(mask);
  }
}

void frmMain::FillStatusMessages() {
  const auto set = [this](int i, const char* text, bool held) {
    StatusMessages[i] = StatusMessage{QString::fromLatin1(text), held, held};
  };
  set(0, "", false);
  set(1, "Enter the starting date for the report by clicking on the calendar or typing.", false);
  set(2, "Enter the ending date for the report by clicking on the calendar or typing.", false);
  set(3, "Exit Mirolat.", false);
  set(4, "Process your report.", false);
  set(5, "View the Modem Log File.", false);
  set(6, "Click on the calendar to enter a date without typing.", false);
  set(7, "No Modem Log Found!", true);
  set(8, "Corruption Detected in Modem Log File!", true);
  set(9, "Invalid date entry!", true);
  set(10, "The start date cannot be less than the first entry in modem log!", true);
  set(11, "The end date cannot be less than the start date!", true);
  set(12, "The end date cannot be greater than the last entry in modem log!", true);
  set(13, "The start date cannot be greater than the end date!", true);
}

void frmMain::Form_Load() {
  SetDateMask();
  commands_.Process = false;
  PushCommandStates();
  state_.LogFileChanged = false;
  LabelMainVersion->setText(QStringLiteral("Version %1.%2").arg(MIROLAT_VERSION_MAJOR).arg(MIROLAT_VERSION_MINOR));
  FillStatusMessages();
  InitDateRange();
  ShowLogStatistics();
  MessageIndex = 1;
  ApplyAvailability(AvailabilityFor(state_.File, parkedLogUsable_));
}

void frmMain::showEvent(QShowEvent* event) {
  QMainWindow::showEvent(event);
  if (!firstShowDone_) {
    firstShowDone_ = true;
    QTimer::singleShot(0, this, &frmMain::Form_Activate);
  }
}

void frmMain::Form_Activate() {
  if (activating_ || ProgramEnding()) return;
  activating_ = true;
  const struct Reset {
    bool& flag;
    ~Reset() { flag = false; }
  } reset{activating_};

  imgMain->setVisible(state_.Config.ShowGraphic);
  const bool toolbars = state_.Config.ShowToolbars;
  for (QWidget* w : {static_cast<QWidget*>(ToolbarMain), static_cast<QWidget*>(lineToolbar1),
                     static_cast<QWidget*>(lineToolbar2)}) {
    w->setVisible(toolbars);
  }
  ToolbarMain->setEnabled(toolbars && !commands_.Locked);
  Form_Resize();

  const CurrentFileState& f = state_.File;
  bool warned = false;
  if (WarnNotModemLogApplies(f) && !f.ArchiveOpen) {
    MessageBox::Show(WarnNotModemLog(), this);
    MessageIndex = 7;
    warned = true;
  }
  if (!f.LogExists && !f.ArchiveOpen) {
    if (WarnNoLogApplies(f, state_.NoLogWarned)) {
      state_.NoLogWarned = true;
      MessageBox::Show(WarnNoLog(), this);
    }
    MessageIndex = 7;
    warned = true;
  }
  if (WarnLogCorruptApplies(f)) {
    ShowWarnLogCorrupt();
    MessageIndex = 8;
    warned = true;
  }
  if (WarnLogTooBigApplies(f) && !f.ArchiveOpen) {
    MessageBox::Show(WarnLogTooBig(), this);
    warned = true;
  }
  ShowStatusMessage();

  if (mnuOptimize->isEnabled() && mnuTools->menuAction()->isEnabled() && state_.Config.AutoOptimize &&
      !state_.AutoOptimizeAsked) {
    activating_ = false;
    mnuOptimize_Click();
    activating_ = true;
  }

  if (inputStarting->isEnabled()) inputStarting->setFocus(Qt::OtherFocusReason);

  if (!warned && !state_.TipsShown && state_.ShowTipsAtStartup) {
    state_.TipsShown = true;
    if (MainHooks().ShowTips) MainHooks().ShowTips(*this, state_);
  }
}

int frmMain::ToolbarOffset() const {
  if (ToolbarMain == nullptr || ToolbarMain->isHidden()) return 0;
  return ToolbarMain->sizeHint().height() + 4;
}

void frmMain::resizeEvent(QResizeEvent* event) {
  QMainWindow::resizeEvent(event);
  Form_Resize();
}

void frmMain::Form_Resize() {
  if (ToolbarMain == nullptr) return;
  const int width = Form->width();
  const int toolbarHeight = ToolbarMain->sizeHint().height();
  ToolbarMain->setGeometry(0, 0, width, toolbarHeight);
  lineToolbar1->setGeometry(0, toolbarHeight, width, 2);
  lineToolbar2->setGeometry(0, toolbarHeight + 2, width, 2);
  const int offset = ToolbarOffset();
  struct Placed {
    QWidget* widget;
    int x;
    int y;
  };
  const Placed placed[] = {
      {inputFrame, 10, 10},       {lblDateTitle, 290, 10},     {Calendar1, 290, 34},
      {LabelHeading2, 12, 152},   {LabelHeading, 10, 150},     {LabelLogName, 10, 182},
      {LabelLogName2, 92, 182},   {LabelLogPath, 10, 206},     {LabelLogPath2, 92, 206},
      {LabelLogLength, 10, 230},  {LabelLogLength2, 92, 230},  {LabelLogEntries, 10, 254},
      {LabelLogEntries2, 92, 254}, {LabelLogFirst, 10, 278},   {LabelLogFirst2, 92, 278},
      {LabelLogLast, 10, 302},    {LabelLogLast2, 92, 302},    {btnProcess, 290, 240},
      {btnViewLog, 376, 240},     {btnExit, 502, 240},
  };
  for (const Placed& p : placed) p.widget->move(p.x, p.y + offset);
  LabelMainVersion->move(10, Form->height() - LabelMainVersion->height() - 4);
  imgMain->move(width - imgMain->width() - 6, Form->height() - imgMain->height() - 4);
}

// ---------------------------------------------------------------------------
// Commands and their availability

void frmMain::ApplyAvailability(const CommandAvailability& a) {
  const auto apply = [](bool& flag, Availability v) {
    if (v != Availability::Unchanged) flag = v == Availability::On;
  };
  apply(commands_.View, a.View);
  apply(commands_.Process, a.Process);
  apply(commands_.OpenArchiveMenu, a.OpenArchiveMenu);
  apply(commands_.OpenArchiveButton, a.OpenArchiveButton);
  apply(commands_.OpenModemLog, a.OpenModemLog);
  apply(commands_.QuickDate, a.QuickDate);
  apply(commands_.ToolsMenu, a.ToolsMenu);
  apply(commands_.ToolsView, a.ToolsView);
  apply(commands_.ToolsPurge, a.ToolsPurge);
  apply(commands_.ToolsOptimize, a.ToolsOptimize);
  apply(commands_.ToolsClear, a.ToolsClear);
  apply(commands_.Repair, a.Repair);
  apply(commands_.ClearButton, a.ClearButton);
  apply(commands_.OptimizeButton, a.OptimizeButton);
  apply(commands_.DateControls, a.DateControls);
  apply(commands_.ExitButton, a.ExitButton);
  commands_.Locked = false;
  PushCommandStates();
}

void frmMain::LockMainWindow() {
  commands_.Locked = true;
  PushCommandStates();
}

// Shows the logical command states on the widgets. A command whose window is
// not plugged in stays disabled; the items of a disabled menu are disabled
// with it (so their shortcut keys do nothing either).
void frmMain::PushCommandStates() {
  const MainWindowHooks& hooks = MainHooks();
  const CommandState& c = commands_;
  const bool unlocked = !c.Locked;
  const bool viewer = static_cast<bool>(hooks.OpenLogViewer);
  const bool optimizer = static_cast<bool>(hooks.Optimize);

  btnViewLog->setEnabled(c.View && viewer && unlocked);
  ToolbarButton(6)->setEnabled(c.View && viewer);
  btnProcess->setEnabled(c.Process && unlocked);
  mnuOpenArchive->setEnabled(c.OpenArchiveMenu && unlocked);
  ToolbarButton(2)->setEnabled(c.OpenArchiveButton);
  mnuOpenLog->setEnabled(c.OpenModemLog);
  mnuSetup->setEnabled(static_cast<bool>(hooks.ShowOptions));
  ToolbarButton(3)->setEnabled(static_cast<bool>(hooks.ShowOptions));

  const bool quick = c.QuickDate && unlocked;
  mnuQuickDate->menuAction()->setEnabled(quick);
  for (QAction* a : mnuQuickDate->actions()) {
    if (!a->isSeparator()) a->setEnabled(quick);
  }
  for (int position : {11, 12, 13}) ToolbarButton(position)->setEnabled(c.QuickDate);

  const bool tools = c.ToolsMenu;
  mnuTools->menuAction()->setEnabled(tools);
  mnuViewLog->setEnabled(tools && c.ToolsView && viewer && unlocked);
  mnuPurgeLog->setEnabled(tools && c.ToolsPurge && static_cast<bool>(hooks.Purge) && unlocked);
  mnuOptimize->setEnabled(tools && c.ToolsOptimize && optimizer && unlocked);
  mnuClearLog->setEnabled(tools && c.ToolsClear);
  mnuRepairLog->setEnabled(tools && c.Repair && static_cast<bool>(hooks.Repair));
  ToolbarButton(9)->setEnabled(c.Repair && static_cast<bool>(hooks.Repair));
  ToolbarButton(7)->setEnabled(c.ClearButton);
  ToolbarButton(8)->setEnabled(c.OptimizeButton && optimizer);

  const bool dates = c.DateControls && unlocked;
  for (QWidget* w : {static_cast<QWidget*>(inputStarting), static_cast<QWidget*>(inputEnding),
                     static_cast<QWidget*>(UpDown1), static_cast<QWidget*>(UpDown2), static_cast<QWidget*>(UpDown3),
                     static_cast<QWidget*>(UpDown4), static_cast<QWidget*>(LabelStarting),
                     static_cast<QWidget*>(LabelEnding)}) {
    w->setEnabled(dates);
  }
  btnExit->setEnabled(c.ExitButton && unlocked);
  ToolbarMain->setEnabled(state_.Config.ShowToolbars && unlocked);
}

void frmMain::ToolbarMain_ButtonClick(QAction* button) {
  const QString key = button->data().toString();
  if (key == QLatin1String("Open Archive")) {
    mnuOpenArchive_Click();
  } else if (key == QLatin1String("Setup")) {
    mnuSetup_Click();
  } else if (key == QLatin1String("Exit")) {
    EndProgram();
  } else if (key == QLatin1String("View Modem Log")) {
    btnViewLog_Click();
  } else if (key == QLatin1String("Clear Modem Log")) {
    mnuClearLog_Click();
  } else if (key == QLatin1String("Optimize Modem Log")) {
    mnuOptimize_Click();
  } else if (key == QLatin1String("Repair Modem Log")) {
    mnuRepairLog_Click();
  } else if (key == QLatin1String("Today")) {
    mnuToday_Click();
  } else if (key == QLatin1String("First Entry")) {
    mnuLogStart_Click();
  } else if (key == QLatin1String("Last Entry")) {
    mnuLogEnd_Click();
  } else if (key == QLatin1String("Help")) {
    mnuTopics_Click();
  } else if (key == QLatin1String("Search Help")) {
    mnsSearchHelp_Click();
  } else if (key == QLatin1String("About MRL")) {
    mnuAbout_Click();
  }
}

void frmMain::ShowWarnLogCorrupt() {
  MessageBox::Show(WarnLogCorrupt(), this);
  // The user can repair the log at once.
  commands_.Repair = true;
  PushCommandStates();
}

void frmMain::btnProcess_Click() {
  if (processing_) return;
  processing_ = true;
  const struct Reset {
    bool& flag;
    ~Reset() { flag = false; }
  } reset{processing_};

  RunInputs inputs;
  inputs.config = &state_.Config;
  inputs.locale = &state_.Locale;
  inputs.ReportStartDate = state_.ReportStartDate;
  inputs.ReportEndDate = state_.ReportEndDate;
  inputs.LogEntryCount = state_.File.LogEntryCount;
  StatusBarProgress progress(*this);
  std::shared_ptr<RunState> run;
  {
    WaitCursor wait;
    ProgressBar1->setValue(0);
    ProgressBar1->show();
    const struct HideBar {
      QProgressBar* bar;
      ~HideBar() { bar->hide(); }
    } hideBar{ProgressBar1};
    run = std::make_shared<RunState>(ProcessLog(inputs, state_.File.LogFilePath, progress, SharedErrorReporter()));
  }
  state_.LastRun = run;
  state_.File.LogCorrupt = state_.File.LogCorrupt || run->LogCorrupt;
  for (const MessageBoxSpec& message : run->Messages) MessageBox::Show(message, this);
  if (ReportWanted(*run) && MainHooks().ShowReport) MainHooks().ShowReport(*this, state_);
  if (WarnLogCorruptApplies(state_.File)) ShowWarnLogCorrupt();
}

void frmMain::btnViewLog_Click() {
  if (!logViewer_.isNull()) {
    logViewer_->close();
    logViewer_.clear();
    return;
  }
  if (MainHooks().OpenLogViewer) logViewer_ = MainHooks().OpenLogViewer(*this, state_);
}

void frmMain::btnExit_Click() { EndProgram(); }

void frmMain::SetViewCaptions(bool archive) {
  const QString view = QString::fromLatin1(archive ? kViewArchiveCaption : kViewLogCaption);
  btnViewLog->setText(view);
  mnuViewLog->setText(view);
  mnuOptimize->setText(QString::fromLatin1(archive ? kOptimizeArchiveCaption : kOptimizeLogCaption));
}

void frmMain::mnuOpenArchive_Click() {
  QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
  if (documents.isEmpty() || !QDir(documents).exists()) documents = QDir::homePath();
  const QString chosen = FileDialog::GetOpenFileName(this, QStringLiteral("Open Archive"), documents,
                                                     QString::fromLatin1(kArchiveFilter));
  if (chosen.isEmpty()) return;
  WaitCursor wait;
  CurrentFileState& f = state_.File;
  if (!f.ArchiveOpen) {
    parkedLogFileName_ = f.LogFileName;
    parkedLogFilePath_ = f.LogFilePath;
    parkedWindowsDir_ = f.WindowsDir;
    parkedLogUsable_ = f.LogExists && !f.NotAModemLog;
  }
  const QFileInfo info(chosen);
  f.LogFileName = info.fileName();
  f.LogFilePath = info.absoluteFilePath();
  f.WindowsDir = info.absolutePath() + QLatin1Char('/');
  ContinueReporter ignoreErrors;
  ScanLog(f, state_.Config, ignoreErrors);
  f.ArchiveOpen = true;
  Form_Load();
  SetViewCaptions(true);
  commands_.ToolsClear = false;
  commands_.ClearButton = false;
  commands_.ToolsPurge = false;
  commands_.ToolsOptimize = true;
  commands_.OptimizeButton = true;
  PushCommandStates();
}

void frmMain::mnuOpenLog_Click() {
  CurrentFileState& f = state_.File;
  if (!f.ArchiveOpen) return;
  f.LogFileName = parkedLogFileName_;
  f.WindowsDir = parkedWindowsDir_;
  f.LogFilePath = parkedLogFilePath_;
  ScanLog(f, state_.Config, SharedErrorReporter());
  f.ArchiveOpen = false;
  Form_Load();
  SetViewCaptions(false);
}

void frmMain::RescanCurrentFile() { ScanLog(state_.File, state_.Config, SharedErrorReporter()); }

void frmMain::mnuSetup_Click() {
  if (!MainHooks().ShowOptions) return;
  {
    WaitCursorWhileLoading wait;
    MainHooks().ShowOptions(*this, state_);
  }
  if (!state_.LogFileChanged) return;
  CurrentFileState& f = state_.File;
  const QString name = state_.Config.ModemLogFile;
  if (f.ArchiveOpen) {
    parkedLogFileName_ = name;
    parkedLogFilePath_ = parkedWindowsDir_ + name;
    return;
  }
  f.LogFileName = name;
  f.LogFilePath = f.WindowsDir + f.LogFileName;
  f.LogExists = FileExists(f.LogFilePath);
  if (f.LogExists) {
    NullProgress quiet;
    f.LogCorrupt = CheckLogCharacters(f, false, quiet, SharedErrorReporter());
    if (!f.LogCorrupt) RescanCurrentFile();
  }
  Form_Load();
  Form_Activate();
  SetViewCaptions(false);
}

void frmMain::mnuOptimize_Click() {
  if (!MainHooks().Optimize) return;
  {
    WaitCursor wait;
    MainHooks().Optimize(*this, state_);
  }
  state_.AutoOptimizeAsked = true;
  RescanCurrentFile();
  Form_Load();
  Form_Activate();
}

void frmMain::mnuPurgeLog_Click() {
  if (!MainHooks().Purge) return;
  if (MainHooks().Purge(*this, state_)) {
    RescanCurrentFile();
    Form_Load();
  }
}

void frmMain::mnuRepairLog_Click() {
  if (!MainHooks().Repair) return;
  MainHooks().Repair(*this, state_);
  RescanCurrentFile();
  Form_Load();
}

void frmMain::mnuClearLog_Click() {
  MessageBoxSpec question;
  question.title = QStringLiteral("Delete Modem Log");
  question.text = QStringLiteral(
      "You are about to delete your modem log. Before clearing this log, \n"
      "you should save it as an archive if you haven't done so already.\n\n"
      "Are you sure you want to delete your modem log?");
  question.buttons = MessageButtons::YesNo;
  if (MessageBox::Show(question, this, MessageButton::No) != MessageButton::Yes) return;
  const QString path = state_.File.LogFilePath;
  RunStep(SharedErrorReporter(), [&path] {
    if (std::remove(QFile::encodeName(path).constData()) != 0) {
      throw FileErrorFromErrno(errno, QStringLiteral("delete"), path);
    }
  });
  MessageBox::Show(QStringLiteral("Modem log has been deleted.\nMirolat will now terminate!"), MessageButtons::Ok,
                   MessageIcon::None, QString(), this);
  EndProgram();
}

void frmMain::mnuTopics_Click() { ShowHelpContents(); }
void frmMain::mnsSearchHelp_Click() { ShowHelpSearch(); }
void frmMain::mnuHowToHelp_Click() { ShowHelpUsing(); }

void frmMain::mnuAbout_Click() {
  if (!MainHooks().ShowAbout) return;
  WaitCursorWhileLoading wait;
  MainHooks().ShowAbout(*this, state_);
}

void frmMain::closeEvent(QCloseEvent* event) {
  if (!ProgramEnding()) {
    for (WindowRole role : {WindowRole::Splash, WindowRole::Report, WindowRole::About, WindowRole::LogViewer}) {
      for (QWidget* w : RegisteredWindows(role)) w->close();
    }
    if (!logViewer_.isNull()) logViewer_->close();
    // The help window is the program's too: left open it would keep the
    // program running with no main window.
    if (frmHelp* help = HelpWindow()) help->close();
  }
  event->accept();
}

// ---------------------------------------------------------------------------
// Status messages

QString frmMain::StatusText() const { return StatusPanel->text(); }
bool frmMain::StatusBold() const { return StatusPanel->font().bold(); }

void frmMain::SetStatusText(const QString& text) {
  StatusPanel->setText(text);
  Q_EMIT StatusTextChanged(text);
}

void frmMain::ShowStatusMessage() {
  if (MessageHeld) return;
  const StatusMessage& m = StatusMessages[static_cast<size_t>(MessageIndex)];
  QFont f = StatusPanel->font();
  f.setBold(m.bold);
  StatusPanel->setFont(f);
  SetStatusText(m.text);
  MessageHeld = m.hold;
  if (MessageHeld) {
    Timer1->start();
  } else {
    Timer1->stop();
  }
}

// The held message has stood its time: the message of the control that has
// the focus now replaces it.
void frmMain::Timer1_Timer() {
  MessageHeld = false;
  Timer1->stop();
  MessageIndex = FocusMessageIndex();
  ShowStatusMessage();
}

int frmMain::FocusMessageIndex() const {
  const QWidget* focus = focusWidget();
  if (focus == inputStarting) return 1;
  if (focus == inputEnding) return 2;
  if (focus == btnExit) return 3;
  if (focus == btnProcess) return 4;
  if (focus == btnViewLog) return 5;
  if (focus != nullptr && (focus == Calendar1 || Calendar1->isAncestorOf(focus))) return 6;
  return 0;
}

// ---------------------------------------------------------------------------
// Statistics, range and caption

void frmMain::InitDateRange() {
  const CurrentFileState& f = state_.File;
  const bool fromLog = f.ArchiveOpen || (f.LogExists && !f.NotAModemLog && !f.LogCorrupt && !f.LogEmpty);
  // An empty archive has no last date: today stands in for it.
  SetCalendarDate(fromLog && f.LogLastDate > 0 ? f.LogLastDate : Today());
  state_.ReportStartDate = CalendarDate();
  state_.ReportEndDate = CalendarDate();
  SetBoxDate(inputStarting, state_.ReportStartDate);
  SetBoxDate(inputEnding, state_.ReportEndDate);
}

void frmMain::ShowLogStatistics() {
  const CurrentFileState& f = state_.File;
  if (!f.LogExists && !f.ArchiveOpen) {
    LabelLogName2->setText(QStringLiteral("Log Not Found"));
    return;
  }
  Form->setUpdatesEnabled(false);
  const QString heading = f.ArchiveOpen ? QStringLiteral("Archive Statistics") : QStringLiteral("Modem Log Stats");
  LabelHeading->setText(heading);
  LabelHeading2->setText(heading);
  SetShortened(LabelLogName2, f.LogFileName);
  SetShortened(LabelLogPath2, f.WindowsDir);
  const QString na = QStringLiteral("N/A");
  if (!f.LogCorrupt && !f.NotAModemLog) {
    LabelLogLength2->setText(QStringLiteral("%1 Bytes (%2KB)").arg(f.LogFileSize).arg(qRound64(f.LogFileSize / 1024.0)));
    LabelLogEntries2->setText(QString::number(static_cast<qint64>(f.LogEntryCount)));
    if (f.LogEmpty) {
      LabelLogFirst2->setText(na);
      LabelLogLast2->setText(na);
    } else {
      const QLocale& locale = state_.Locale.Locale;
      LabelLogFirst2->setText(locale.toString(ToQDate(f.LogFirstDate), QLocale::LongFormat));
      LabelLogLast2->setText(locale.toString(ToQDate(f.LogLastDate), QLocale::LongFormat));
    }
  } else {
    for (QLabel* l : {LabelLogLength2, LabelLogEntries2, LabelLogFirst2, LabelLogLast2}) l->setText(na);
  }
  Form->setUpdatesEnabled(true);
}

void frmMain::UpdateCaption() {
  const CurrentFileState& f = state_.File;
  if (!state_.StartDateValid || !state_.EndDateValid || (!f.LogExists && !f.ArchiveOpen)) {
    commands_.Process = false;
    setWindowTitle(QStringLiteral("MIROLAT"));
  } else {
    commands_.Process = true;
    PeriodDays = state_.ReportEndDate - state_.ReportStartDate + 1;
    state_.PeriodDays = PeriodDays;
    // The number as signed-number text: a leading blank when it is positive.
    const QString number = (PeriodDays >= 0 ? QStringLiteral(" ") : QString()) + QString::number(PeriodDays);
    setWindowTitle(QStringLiteral("MIROLAT - Report for") + number +
                   (PeriodDays < 2 ? QStringLiteral(" day") : QStringLiteral(" days")));
  }
  btnProcess->setEnabled(commands_.Process && !commands_.Locked);
}

void frmMain::ShowDateTitle() {
  lblDateTitle->setText(state_.Locale.Locale.toString(Calendar1->selectedDate(), QLocale::LongFormat));
}

// ---------------------------------------------------------------------------
// Date entry

Date frmMain::Today() const { return FromQDate(today_()); }

Date frmMain::CalendarDate() const { return FromQDate(Calendar1->selectedDate()); }

void frmMain::SetCalendarDate(Date date) {
  if (date <= 0) return;
  Calendar1->setSelectedDate(ToQDate(date));
}

void frmMain::SetBoxDate(QLineEdit* box, Date date) { SetBoxText(box, DateToBoxText(date, state_.Locale)); }

// Writing into a box runs its change rule, also when the text stays the same.
void frmMain::SetBoxText(QLineEdit* box, const QString& text) {
  if (box->text() == text) {
    if (box == inputStarting) {
      inputStarting_Change();
    } else {
      inputEnding_Change();
    }
    return;
  }
  box->setText(text);
}

// One box drags the other along. A file whose last entry is dated before its
// first would pull the two boxes back and forth without end: the chain stops
// after a few steps.
void frmMain::DragOtherBox(QLineEdit* box, const QString& text) {
  constexpr int kMaxDragDepth = 4;
  if (dragDepth_ >= kMaxDragDepth) return;
  ++dragDepth_;
  SetBoxText(box, text);
  --dragDepth_;
}

bool frmMain::CurrentFileUsableForStart() const {
  const CurrentFileState& f = state_.File;
  return (f.LogExists || f.ArchiveOpen) && !f.NotAModemLog && !f.LogCorrupt;
}

bool frmMain::CurrentFileUsableForEnd() const { return CurrentFileUsableForStart() && !state_.File.LogEmpty; }

void frmMain::inputStarting_Change() {
  const Date date = DateFromBoxText(inputStarting->text(), state_.Locale);
  state_.StartDateValid = date != 0;
  if (state_.StartDateValid) {
    state_.ReportStartDate = date;
    const Date first = state_.File.LogFirstDate;
    if (date < first && CurrentFileUsableForStart()) {
      state_.ReportStartDate = first;
      SetBoxDate(inputStarting, first);
      MessageIndex = ActiveDateField == 1 ? 10 : 11;
      Beep();
      ShowStatusMessage();
    }
    SetCalendarDate(state_.ReportStartDate);
    if (state_.ReportEndDate < state_.ReportStartDate) DragOtherBox(inputEnding, inputStarting->text());
  }
  UpdateCaption();
  ShowDateTitle();
}

void frmMain::inputEnding_Change() {
  const Date date = DateFromBoxText(inputEnding->text(), state_.Locale);
  state_.EndDateValid = date != 0;
  if (state_.EndDateValid) {
    state_.ReportEndDate = date;
    const Date last = state_.File.LogLastDate;
    if (date > last && CurrentFileUsableForEnd()) {
      state_.ReportEndDate = last;
      SetBoxDate(inputEnding, last);
      MessageIndex = ActiveDateField == 2 ? 12 : 13;
      Beep();
      ShowStatusMessage();
    }
    SetCalendarDate(state_.ReportEndDate);
    if (state_.ReportEndDate < state_.ReportStartDate) DragOtherBox(inputStarting, inputEnding->text());
  }
  UpdateCaption();
  ShowDateTitle();
}

void frmMain::inputStarting_GotFocus() {
  ActiveDateField = 1;
  MessageIndex = 1;
  ShowStatusMessage();
  imgStartArrow->show();
  imgEndArrow->hide();
  SetCalendarDate(state_.ReportStartDate);
  ShowDateTitle();
}

void frmMain::inputEnding_GotFocus() {
  ActiveDateField = 2;
  MessageIndex = 2;
  ShowStatusMessage();
  imgEndArrow->show();
  imgStartArrow->hide();
  SetCalendarDate(state_.ReportEndDate);
  ShowDateTitle();
}

void frmMain::inputStarting_LostFocus() {
  if (!state_.StartDateValid) {
    Beep();
    MessageIndex = 9;
    ShowStatusMessage();
    QTimer::singleShot(0, inputStarting, [box = inputStarting] { box->setFocus(Qt::OtherFocusReason); });
  }
  UpdateCaption();
}

void frmMain::inputEnding_LostFocus() {
  if (!state_.EndDateValid) {
    Beep();
    MessageIndex = 9;
    ShowStatusMessage();
    QTimer::singleShot(0, inputEnding, [box = inputEnding] { box->setFocus(Qt::OtherFocusReason); });
  }
  UpdateCaption();
}

void frmMain::OnFocusChanged(QWidget* old, QWidget* now) {
  // Focus leaving the window (another program, a message box) is no change
  // within the window.
  if (now == nullptr || now->window() != this) return;
  if (old == inputStarting) {
    inputStarting_LostFocus();
  } else if (old == inputEnding) {
    inputEnding_LostFocus();
  } else if (old == btnExit) {
    MessageIndex = 0;
    ShowStatusMessage();
  }
  if (now == inputStarting) {
    inputStarting_GotFocus();
  } else if (now == inputEnding) {
    inputEnding_GotFocus();
  } else if (now == btnExit) {
    MessageIndex = 3;
    ShowStatusMessage();
  } else if (now == btnProcess) {
    MessageIndex = 4;
    ShowStatusMessage();
  } else if (now == btnViewLog) {
    MessageIndex = 5;
    ShowStatusMessage();
  } else if (now == Calendar1 || Calendar1->isAncestorOf(now)) {
    if (old != Calendar1 && (old == nullptr || !Calendar1->isAncestorOf(old))) {
      MessageIndex = 6;
      ShowStatusMessage();
    }
  }
}

bool frmMain::eventFilter(QObject* watched, QEvent* event) {
  // A date box takes Ctrl+X as its own Cut key: the menu's Exit comes first.
  if ((watched == inputStarting || watched == inputEnding) && event->type() == QEvent::KeyPress) {
    auto* key = static_cast<QKeyEvent*>(event);
    if (mnuExit->isEnabled() && QKeySequence(key->keyCombination()) == mnuExit->shortcut()) {
      mnuExit->trigger();
      return true;
    }
  }
  if (watched == LabelStarting || watched == LabelEnding) {
    if (event->type() == QEvent::MouseButtonPress) {
      if (watched == LabelStarting) {
        LabelStarting_Click();
      } else {
        LabelEnding_Click();
      }
    } else if (event->type() == QEvent::MouseButtonDblClick) {
      if (watched == LabelStarting) {
        LabelStarting_DblClick();
      } else {
        LabelEnding_DblClick();
      }
    }
  }
  return QMainWindow::eventFilter(watched, event);
}

void frmMain::LabelStarting_Click() { inputStarting->setFocus(Qt::MouseFocusReason); }
void frmMain::LabelEnding_Click() { inputEnding->setFocus(Qt::MouseFocusReason); }

void frmMain::LabelStarting_DblClick() {
  inputStarting->setFocus(Qt::MouseFocusReason);
  SetBoxDate(inputStarting, Today());
}

void frmMain::LabelEnding_DblClick() {
  inputEnding->setFocus(Qt::MouseFocusReason);
  SetBoxDate(inputEnding, Today());
}

QLineEdit* frmMain::ActiveBox() const {
  if (ActiveDateField == 1) return inputStarting;
  if (ActiveDateField == 2) return inputEnding;
  return nullptr;
}

void frmMain::SetActiveBoxDate(Date date) {
  if (QLineEdit* box = ActiveBox()) SetBoxDate(box, date);
}

void frmMain::Calendar1_Click() {
  QLineEdit* box = ActiveBox();
  if (box == nullptr) return;
  SetBoxDate(box, CalendarDate());
  box->setFocus(Qt::OtherFocusReason);
}

void frmMain::mnuToday_Click() { SetActiveBoxDate(Today()); }
void frmMain::mnuLogStart_Click() { SetActiveBoxDate(state_.File.LogFirstDate); }
void frmMain::mnuLogEnd_Click() { SetActiveBoxDate(state_.File.LogLastDate); }

Date frmMain::ActiveRangeDate() const {
  return ActiveDateField == 1 ? state_.ReportStartDate : state_.ReportEndDate;
}

void frmMain::mnuPlusWeek_Click() {
  if (ActiveDateField != 0) SetActiveBoxDate(ActiveRangeDate() + 7);
}

void frmMain::mnuMinusWeek_Click() {
  if (ActiveDateField != 0) SetActiveBoxDate(ActiveRangeDate() - 7);
}

void frmMain::MoveCalendarMonths(int months) {
  Calendar1->setSelectedDate(Calendar1->selectedDate().addMonths(months));
}

void frmMain::mnuPlusMonth_Click() {
  if (ActiveDateField == 0) return;
  MoveCalendarMonths(1);
  SetActiveBoxDate(CalendarDate());
}

void frmMain::mnuMinusMonth_Click() {
  if (ActiveDateField == 0) return;
  MoveCalendarMonths(-1);
  SetActiveBoxDate(CalendarDate());
}

void frmMain::CalendarStep(int days, int months) {
  if (ActiveDateField == 0) return;
  Calendar1->setSelectedDate(Calendar1->selectedDate().addDays(days).addMonths(months));
  Calendar1_Click();
}

void frmMain::UpDown3_UpClick() { CalendarStep(7, 0); }
void frmMain::UpDown3_DownClick() { CalendarStep(-7, 0); }
void frmMain::UpDown4_UpClick() { CalendarStep(0, 1); }
void frmMain::UpDown4_DownClick() { CalendarStep(0, -1); }

void frmMain::StepBox(QLineEdit* box, Date from, int days, int messageIndex) {
  SetCalendarDate(from + days);
  SetBoxDate(box, CalendarDate());
  box->setFocus(Qt::OtherFocusReason);
  MessageIndex = messageIndex;
}

void frmMain::UpDown1_UpClick() { StepBox(inputStarting, state_.ReportStartDate, 1, 1); }
void frmMain::UpDown1_DownClick() { StepBox(inputStarting, state_.ReportStartDate, -1, 1); }
void frmMain::UpDown2_UpClick() { StepBox(inputEnding, state_.ReportEndDate, 1, 2); }
void frmMain::UpDown2_DownClick() { StepBox(inputEnding, state_.ReportEndDate, -1, 2); }

}  // namespace mirolat
