#include "ui/main/frm_main.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QKeyEvent>
#include <QMenuBar>
#include <QMessageBox>
#include <QStandardPaths>
#include <QStyle>
#include <QTimer>
#include <QWindow>
#include <algorithm>

#include "core/analysis/analysis_run.h"
#include "core/app/app_state.h"
#include "core/app/run_status.h"
#include "core/logfile/file_watch.h"
#include "core/logfile/log_checks.h"
#include "core/logfile/log_rewrites.h"
#include "core/logfile/warnings.h"
#include "core/planning/log_figures.h"
#include "core/settings/configuration_io.h"
#include "ui/common/end_program.h"
#include "ui/common/help_window.h"
#include "ui/dialogs/desktop_error_reporter.h"
#include "ui/dialogs/file_dialog.h"
#include "ui/dialogs/message_box.h"
#include "ui/dialogs/wait_cursor.h"
#include "ui/main/main_commands.h"
#include "ui/main/status_bar_progress.h"

namespace mirolat {

namespace {

constexpr int kShortNameLength = 22;
constexpr int kShortNameKeep = 19;

const char* const kArchiveFilter = "Mirolat Modem Log Archive (*.mrl)";

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

// The natural size of the window's central area (the controls' arrangement
// below the toolbar) and of the statistics' values.
constexpr int kNaturalFormWidth = 600;
constexpr int kNaturalFormHeight = 370;
constexpr int kStatisticsValueWidth = 190;
constexpr const char* kFullTextProperty = "fullText";

// A long text (the log's folder) is shortened in the middle to the label's
// width; the whole text is its tooltip then.
void ElideToWidth(QLabel* label) {
  const QString full = label->property(kFullTextProperty).toString();
  const QString shown = label->fontMetrics().elidedText(full, Qt::ElideMiddle, label->width());
  label->setText(shown);
  label->setToolTip(shown == full ? QString() : full);
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

QMenu* MenuOf(const std::array<QMenu*, 4>& menus, MainMenu menu) {
  switch (menu) {
    case MainMenu::File: return menus[0];
    case MainMenu::Tools: return menus[1];
    case MainMenu::QuickDate: return menus[2];
    case MainMenu::Help: return menus[3];
  }
  return nullptr;
}

}  // namespace

frmMain::frmMain(AppState& state, QWidget* parent) : QMainWindow(parent), state_(state) {
  setObjectName(QStringLiteral("frmMain"));
  setWindowTitle(QStringLiteral("Mirolat"));
  fileWatch_ = new FileWatch(this);
  connect(fileWatch_, &FileWatch::Changed, this, &frmMain::CurrentFileChangedOnDisk);
  BuildControls();
  BuildCommands();
  ConnectHandlers();
  resize(600, 470);
  setMinimumSize(600, 470);
  RegisterWindow(WindowRole::Main, this);
  Form_Load();
}

frmMain::~frmMain() {
  // First of all: the application's focus signals must not reach a window
  // that is half destroyed.
  for (const QMetaObject::Connection& c : appConnections_) disconnect(c);
  UnregisterWindow(this);
}

// ---------------------------------------------------------------------------
// Building the window

void frmMain::BuildCommands() {
  const auto menu = [this](const char* name, const QString& title) {
    QMenu* m = menuBar()->addMenu(title);
    m->setObjectName(QString::fromLatin1(name));
    return m;
  };
  mnuFile = menu("mnuFile", QStringLiteral("&File"));
  mnuTools = menu("mnuTools", QStringLiteral("&Tools"));
  mnuQuickDate = menu("mnuQuickDate", QStringLiteral("&Quick Date"));
  mnuHelp = menu("mnuHelp", QStringLiteral("&Help"));

  ToolbarMain = new QToolBar(Form);
  ToolbarMain->setObjectName(QStringLiteral("ToolbarMain"));
  ToolbarMain->setMovable(false);
  ToolbarMain->setFloatable(false);
  ToolbarMain->setToolButtonStyle(Qt::ToolButtonIconOnly);
  ToolbarMain->setIconSize(QSize(20, 20));
  toolbarButtons_.fill(nullptr, kMainToolbarPositions);

  for (const MainCommandSpec& c : MainCommands()) {
    QMenu* m = MenuOf({mnuFile, mnuTools, mnuQuickDate, mnuHelp}, c.menu);
    if (c.separatorBefore) m->addSeparator();
    QAction* item = m->addAction(QString::fromLatin1(c.caption));
    item->setObjectName(QString::fromLatin1(c.name));
    if (*c.shortcut != '\0') item->setShortcuts(QKeySequence::listFromString(QString::fromLatin1(c.shortcut)));
    const auto handler = c.handler;
    connect(item, &QAction::triggered, this, [this, handler] { (this->*handler)(); });
    this->*c.item = item;
    if (c.toolbarPosition == 0) continue;
    QAction* button = item;
    if (c.ownButton) {
      button = new QAction(this);
      button->setObjectName(QStringLiteral("ToolbarMain_%1").arg(c.toolbarPosition));
      connect(button, &QAction::triggered, this, [this, handler] { (this->*handler)(); });
    }
    button->setIcon(QIcon::fromTheme(QString::fromLatin1(c.themeIcon), style()->standardIcon(c.icon)));
    button->setData(QString::fromLatin1(c.toolbarKey));
    button->setToolTip(QString::fromLatin1(c.toolbarTip));
    toolbarButtons_[c.toolbarPosition - 1] = button;
  }
  for (int i = 0; i < kMainToolbarPositions; ++i) {
    if (toolbarButtons_[i] != nullptr) {
      ToolbarMain->addAction(toolbarButtons_[i]);
    } else {
      toolbarButtons_[i] = ToolbarMain->addSeparator();
    }
  }
  mnuTools->addSeparator();
  mnuModemWizard = mnuTools->addAction(QStringLiteral("Modem Logging &Wizard..."));
  mnuModemWizard->setObjectName(QStringLiteral("mnuModemWizard"));
  connect(mnuModemWizard, &QAction::triggered, this, &frmMain::ModemWizardRequested);
  mnuCharts = mnuTools->addAction(QStringLiteral("&Charts..."));
  mnuCharts->setObjectName(QStringLiteral("mnuCharts"));
  connect(mnuCharts, &QAction::triggered, this, &frmMain::ChartsRequested);
  mnuComparePlans = mnuTools->addAction(QStringLiteral("Compare P&lans..."));
  mnuComparePlans->setObjectName(QStringLiteral("mnuComparePlans"));
  connect(mnuComparePlans, &QAction::triggered, this, &frmMain::ComparePlansRequested);
  // The menus keep the icons to the toolbar.
  for (QMenu* m : {mnuFile, mnuTools, mnuQuickDate, mnuHelp}) {
    for (QAction* a : m->actions()) a->setIconVisibleInMenu(false);
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

  // The date panel first: the statistics below it stand above it.
  DateRange = new DateRangePanel(state_, Form);
  Budgets = new BudgetBars(Form);
  inputFrame = DateRange->inputFrame;
  inputStarting = DateRange->inputStarting;
  inputEnding = DateRange->inputEnding;
  UpDown1 = DateRange->UpDown1;
  UpDown2 = DateRange->UpDown2;
  UpDown3 = DateRange->UpDown3;
  UpDown4 = DateRange->UpDown4;
  Calendar1 = DateRange->Calendar1;
  lblDateTitle = DateRange->lblDateTitle;
  LabelStarting = DateRange->LabelStarting;
  LabelEnding = DateRange->LabelEnding;
  imgStartArrow = DateRange->imgStartArrow;
  imgEndArrow = DateRange->imgEndArrow;

  const auto label = [](QWidget* parent, const char* name, const QString& text, const QRect& geometry) {
    auto* l = new QLabel(text, parent);
    l->setObjectName(QString::fromLatin1(name));
    l->setGeometry(geometry);
    return l;
  };
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
    *p.value = label(Form, p.valueName, QStringLiteral("N/A"), QRect(92, y, kStatisticsValueWidth, 22));
    y += 24;
  }

  const auto button = [this](const char* name, const QString& text, const QString& tip, const QRect& geometry) {
    auto* b = new QPushButton(text, Form);
    b->setObjectName(QString::fromLatin1(name));
    b->setToolTip(tip);
    b->setGeometry(geometry);
    return b;
  };
  btnProcess = button("btnProcess", QStringLiteral("&OK"), QStringLiteral("Click here to process your report "),
                      QRect(290, 240, 80, 30));
  btnViewLog = button("btnViewLog", QStringLiteral("&View Modem Log"), QStringLiteral("Click here to see the modem log"),
                      QRect(376, 240, 120, 30));
  btnExit = button("btnExit", QStringLiteral("E&xit"), QStringLiteral("Close and exit Mirolat"), QRect(502, 240, 78, 30));
  QWidget* previous = nullptr;
  for (QWidget* w : DateRange->TabOrder() + QList<QWidget*>{btnProcess, btnViewLog, btnExit}) {
    if (previous != nullptr) setTabOrder(previous, w);
    previous = w;
  }

  LabelMainVersion = label(Form, "LabelMainVersion", QString(), QRect(10, 340, 150, 20));
  imgMain = label(Form, "imgMain", QString(), QRect(0, 0, 48, 48));
  imgMain->setPixmap(style()->standardIcon(QStyle::SP_ComputerIcon).pixmap(48, 48));

  StatusBarMain = statusBar();
  StatusBarMain->setObjectName(QStringLiteral("StatusBarMain"));
  StatusBarMain->setSizeGripEnabled(false);
  Messages = new StatusMessageBar(StatusBarMain);
  Messages->SetFocusMessage([this] { return FocusMessage(); });
  Timer1 = Messages->Timer1;
  ProgressBar1 = new QProgressBar(StatusBarMain);
  ProgressBar1->setObjectName(QStringLiteral("ProgressBar1"));
  ProgressBar1->setRange(0, 100);
  ProgressBar1->setMaximumWidth(200);
  StatusBarMain->addPermanentWidget(ProgressBar1);
  ProgressBar1->hide();
  progress_ = std::make_unique<StatusBarProgress>(*Messages, *ProgressBar1);
}

void frmMain::ConnectHandlers() {
  connect(btnProcess, &QPushButton::clicked, this, &frmMain::btnProcess_Click);
  connect(btnViewLog, &QPushButton::clicked, this, &frmMain::btnViewLog_Click);
  connect(btnExit, &QPushButton::clicked, this, &frmMain::btnExit_Click);
  connect(Messages, &StatusMessageBar::TextChanged, this, &frmMain::StatusTextChanged);
  connect(DateRange, &DateRangePanel::Message, Messages, &StatusMessageBar::Show);
  connect(DateRange, &DateRangePanel::RangeChanged, this, &frmMain::UpdateCaption);

  appConnections_ << connect(qApp, &QApplication::focusChanged, this, &frmMain::OnFocusChanged);
  appConnections_ << connect(qApp, &QGuiApplication::focusWindowChanged, this, &frmMain::OnFocusWindowChanged);
}

// Coming back to this window from another of the program's forms runs the
// activation logic again; coming back from a message box or a file dialog, or
// from another program, does not.
void frmMain::OnFocusWindowChanged(QWindow* now) {
  const bool fromForm = lastFocusWasForm_;
  lastFocusWasForm_ = now != nullptr && now != windowHandle() && IsFormWindow(now);
  if (now == nullptr || now != windowHandle() || !firstShowDone_ || !fromForm) return;
  QTimer::singleShot(0, this, &frmMain::Form_Activate);
}

// ---------------------------------------------------------------------------
// Load, activation and layout

void frmMain::Form_Load() { LoadWindow(RangeOnLoad::Reset); }

void frmMain::LoadWindow(RangeOnLoad range) {
  ProgressBar1->hide();
  DateRange->SetDateMask();
  commands_.Process = false;
  PushCommandStates();
  state_.LogFileChanged = false;
  LabelMainVersion->setText(QStringLiteral("Version %1.%2").arg(MIROLAT_VERSION_MAJOR).arg(MIROLAT_VERSION_MINOR));
  if (range == RangeOnLoad::Keep) {
    DateRange->KeepDateRange();
  } else {
    DateRange->InitDateRange();
  }
  ShowLogStatistics();
  ApplyAvailability(AvailabilityFor(state_.File, parkedLogUsable_));
  fileWatch_->Watch(state_.File.LogFilePath);
  ScheduleBudgets();
}

int frmMain::BudgetBarsRoom() const {
  // Below the bars the version and the picture keep their strip.
  return Budgets->isVisibleTo(this) ? Budgets->sizeHint().height() + 22 : 0;
}

void frmMain::ScheduleBudgets() {
  if (budgetsPending_) return;
  budgetsPending_ = true;
  QTimer::singleShot(0, this, [this] {
    budgetsPending_ = false;
    RefreshBudgets();
  });
}

void frmMain::RefreshBudgets() {
  const Configuration& config = state_.Config;
  const CurrentFileState& f = state_.File;
  const bool readable = (f.LogExists || f.ArchiveOpen) && !f.LogCorrupt && !f.NotAModemLog;
  // Every budget's cycle is one analysis of the file over its days (a
  // typical log of 150-200 kB takes well under a millisecond in all, see
  // bench_budgets): cheap enough for the window's own thread.
  const std::vector<BudgetStatus> statuses =
      BudgetStatuses(config, DateRange->Today(), [&](Date first, Date last) -> std::optional<ReportFigures> {
        if (!readable) return std::nullopt;
        return FiguresOfLog(config, state_.Locale, f.LogFilePath, first, last);
      });
  const bool wasVisible = Budgets->isVisibleTo(this);
  Budgets->Show(statuses, state_.Locale);
  const int extra = BudgetBarsRoom();
  setMinimumSize(600, 470 + extra);
  if (height() < 470 + extra) resize(width(), 470 + extra);
  if (wasVisible || extra > 0) Form_Resize();
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

  ApplyShowSettings();

  const CurrentFileState& f = state_.File;
  bool warned = false;
  StatusMessageId message = StatusMessageId::EnterStart;
  if (WarnNotModemLogApplies(f) && !f.ArchiveOpen) {
    MessageBox::Show(WarnNotModemLog(), this);
    message = StatusMessageId::NoLog;
    warned = true;
  }
  if (!f.LogExists && !f.ArchiveOpen) {
    if (WarnNoLogApplies(f, state_.NoLogWarned)) {
      state_.NoLogWarned = true;
      MessageBox::Show(WarnNoLog(), this);
    }
    message = StatusMessageId::NoLog;
    warned = true;
  }
  if (WarnLogCorruptApplies(f)) {
    ShowWarnLogCorrupt();
    message = StatusMessageId::LogCorrupt;
    warned = true;
  }
  if (WarnLogTooBigApplies(f) && !f.ArchiveOpen) {
    MessageBox::Show(WarnLogTooBig(), this);
    warned = true;
  }
  Messages->Show(message);

  if (mnuOptimize->isEnabled() && mnuTools->menuAction()->isEnabled() && state_.Config.AutoOptimize &&
      !state_.AutoOptimizeAsked) {
    activating_ = false;
    mnuOptimize_Click();
    activating_ = true;
  }

  if (inputStarting->isEnabled()) inputStarting->setFocus(Qt::OtherFocusReason);

  if (!warned && !state_.TipsShown && state_.ShowTipsAtStartup) {
    state_.TipsShown = true;
    Q_EMIT TipsRequested();
  }
}

void frmMain::ApplyShowSettings() {
  imgMain->setVisible(state_.Config.ShowGraphic);
  const bool toolbars = state_.Config.ShowToolbars;
  for (QWidget* w : {static_cast<QWidget*>(ToolbarMain), static_cast<QWidget*>(lineToolbar1),
                     static_cast<QWidget*>(lineToolbar2)}) {
    w->setVisible(toolbars);
  }
  ToolbarMain->setEnabled(toolbars && !commands_.Locked);
  Form_Resize();
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
  if (ToolbarMain == nullptr || lineToolbar2 == nullptr) return;
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
      {DateRange, 10, 10},        {LabelHeading2, 12, 152},    {LabelHeading, 10, 150},
      {LabelLogName, 10, 182},    {LabelLogName2, 92, 182},    {LabelLogPath, 10, 206},
      {LabelLogPath2, 92, 206},   {LabelLogLength, 10, 230},   {LabelLogLength2, 92, 230},
      {LabelLogEntries, 10, 254}, {LabelLogEntries2, 92, 254}, {LabelLogFirst, 10, 278},
      {LabelLogFirst2, 92, 278},  {LabelLogLast, 10, 302},     {LabelLogLast2, 92, 302},
      {btnProcess, 290, 240},     {btnViewLog, 376, 240},      {btnExit, 502, 240},
  };
  // At its natural size the window keeps its arrangement; larger, the
  // calendar takes the extra room (a third of the width going to the
  // statistics beside it) and the buttons stay under the calendar.
  const int extraWidth = std::max(0, width - kNaturalFormWidth);
  // The budget bars, when shown, sit under the statistics and the buttons.
  const int budgetHeight = BudgetBarsRoom();
  const int extraHeight = std::max(0, Form->height() - offset - kNaturalFormHeight - budgetHeight);
  Budgets->setGeometry(10, offset + kNaturalFormHeight - 40 + extraHeight, width - 20, Budgets->sizeHint().height());
  DateRange->SetExtraRoom(extraWidth, extraHeight);
  for (const Placed& p : placed) {
    const bool button = p.widget == btnProcess || p.widget == btnViewLog || p.widget == btnExit;
    p.widget->move(p.x + (button ? extraWidth : 0), p.y + offset + (button ? extraHeight : 0));
  }
  for (QLabel* value : {LabelLogName2, LabelLogPath2, LabelLogLength2, LabelLogEntries2, LabelLogFirst2,
                        LabelLogLast2}) {
    value->resize(kStatisticsValueWidth + extraWidth / 3, value->height());
  }
  ElideToWidth(LabelLogPath2);
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
  apply(commands_.FirstLastEntry, a.FirstLastEntry);
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

void frmMain::LockMainWindow(const QString& text) {
  commands_.Locked = true;
  PushCommandStates();
  Messages->Release();
  Messages->SetText(text);
  ProgressBar1->setValue(0);
  ProgressBar1->show();
}

void frmMain::UnlockMainWindow() {
  commands_.Locked = false;
  PushCommandStates();
  ProgressBar1->hide();
  Messages->Show(FocusMessage());
}

void frmMain::SetLogViewerOpen(bool open) {
  commands_.ViewerOpen = open;
  SetViewCaptions();
  PushCommandStates();
}

void frmMain::SetWindowConnected(WindowCommand command, bool connected) {
  const unsigned bit = 1u << static_cast<unsigned>(command);
  connectedWindows_ = connected ? (connectedWindows_ | bit) : (connectedWindows_ & ~bit);
  PushCommandStates();
}

bool frmMain::Connected(WindowCommand command) const {
  return (connectedWindows_ & (1u << static_cast<unsigned>(command))) != 0;
}

// Shows the logical command states on the widgets. A command whose window is
// not connected stays disabled; the items of a disabled menu are disabled
// with it (so their shortcut keys do nothing either).
void frmMain::PushCommandStates() {
  const CommandState& c = commands_;
  const bool unlocked = !c.Locked;
  const bool free = unlocked && !c.ViewerOpen;  // commands that rewrite or replace the current file
  const bool viewer = Connected(WindowCommand::ViewLog);
  const bool options = Connected(WindowCommand::Options);
  const bool optimizer = Connected(WindowCommand::Optimize);
  const bool purger = Connected(WindowCommand::Purge);
  const bool repairer = Connected(WindowCommand::Repair);
  const bool tools = c.ToolsMenu;

  btnViewLog->setEnabled(c.View && viewer && unlocked);
  mnuViewLog->setEnabled(tools && c.ToolsView && c.View && viewer && unlocked);
  btnProcess->setEnabled(c.Process && unlocked);
  mnuOpenArchive->setEnabled(c.OpenArchiveMenu && free);
  ToolbarButton(2)->setEnabled(c.OpenArchiveButton && !c.ViewerOpen);
  mnuOpenLog->setEnabled(c.OpenModemLog && free);
  mnuSetup->setEnabled(options && free);

  const bool quick = c.QuickDate && unlocked;
  mnuQuickDate->menuAction()->setEnabled(quick);
  for (QAction* a : mnuQuickDate->actions()) {
    if (!a->isSeparator()) a->setEnabled(quick);
  }
  mnuLogStart->setEnabled(quick && c.FirstLastEntry);
  mnuLogEnd->setEnabled(quick && c.FirstLastEntry);

  // The wizard is offered even without a log: the Tools menu then opens with
  // only the items the state allows.
  const bool wizard = Connected(WindowCommand::ModemWizard) && unlocked;
  mnuModemWizard->setEnabled(wizard);
  mnuCharts->setEnabled(unlocked);
  mnuComparePlans->setEnabled(unlocked);
  mnuTools->menuAction()->setEnabled(tools || wizard);
  mnuPurgeLog->setEnabled(tools && c.ToolsPurge && purger && free);
  mnuOptimize->setEnabled(tools && c.ToolsOptimize && c.OptimizeButton && optimizer && free);
  mnuClearLog->setEnabled(tools && c.ToolsClear && !c.ViewerOpen);
  ToolbarButton(7)->setEnabled(c.ClearButton && !c.ViewerOpen);
  mnuRepairLog->setEnabled(c.Repair && repairer && free);

  DateRange->SetControlsEnabled(c.DateControls && unlocked);
  btnExit->setEnabled(c.ExitButton && unlocked);
  ToolbarMain->setEnabled(state_.Config.ShowToolbars && unlocked);
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

  // A record changed by another program is read first; a run does not go on
  // over another log than the one the window showed.
  if (FollowStoredConfiguration()) {
    Messages->ShowDone(QStringLiteral("The settings were changed by another program: the modem log is now %1.")
                           .arg(state_.File.LogFileName));
    return;
  }

  RunInputs inputs;
  inputs.config = &state_.Config;
  inputs.locale = &state_.Locale;
  inputs.ReportStartDate = state_.ReportStartDate;
  inputs.ReportEndDate = state_.ReportEndDate;
  inputs.LogEntryCount = state_.File.LogEntryCount;
  std::shared_ptr<RunState> run;
  {
    WaitCursor wait;
    ProgressBar1->setValue(0);
    ProgressBar1->show();
    const struct HideBar {
      QProgressBar* bar;
      ~HideBar() { bar->hide(); }
    } hideBar{ProgressBar1};
    run = std::make_shared<RunState>(ProcessLog(inputs, state_.File.LogFilePath, *progress_, SharedErrorReporter()));
  }
  // A run that stopped says what stopped it rather than that it finished.
  if (const QString end = RunEndText(*run); end != Messages->Text()) Messages->SetText(end);
  state_.LastRun = run;
  state_.File.LogCorrupt = state_.File.LogCorrupt || run->LogCorrupt;
  for (const MessageBoxSpec& message : run->Messages) MessageBox::Show(message, this);
  Q_EMIT ProcessFinished();
  if (ReportWanted(*run)) Q_EMIT ReportRequested();
  if (WarnLogCorruptApplies(state_.File)) ShowWarnLogCorrupt();
}

void frmMain::btnViewLog_Click() {
  if (commands_.ViewerOpen) {
    Q_EMIT CloseLogViewerRequested();
  } else {
    Q_EMIT ViewLogRequested();
  }
}

void frmMain::btnExit_Click() {
  // The viewer asks about unsaved edits first; its Cancel keeps the program.
  if (commands_.ViewerOpen) Q_EMIT CloseLogViewerRequested();
  if (commands_.ViewerOpen) return;
  EndProgram();
}

void frmMain::SetViewCaptions() {
  const bool archive = state_.File.ArchiveOpen;
  QString view;
  if (commands_.ViewerOpen) {
    view = archive ? QStringLiteral("&Close Archive") : QStringLiteral("&Close Modem Log");
  } else {
    view = archive ? QStringLiteral("&View Archive") : QStringLiteral("&View Modem Log");
  }
  btnViewLog->setText(view);
  mnuViewLog->setText(view);
  mnuOptimize->setText(archive ? QStringLiteral("&Optimize Archive") : QStringLiteral("&Optimize Modem Log"));
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
  SetViewCaptions();
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
  SetViewCaptions();
}

void frmMain::RescanCurrentFile() { ScanLog(state_.File, state_.Config, SharedErrorReporter()); }

void frmMain::CheckCurrentFile(ErrorReporter& reporter) {
  CurrentFileState& f = state_.File;
  f.LogExists = FileExists(f.LogFilePath);
  f.LogCorrupt = false;
  if (f.LogExists) {
    NullProgress quiet;
    f.LogCorrupt = CheckLogCharacters(f, false, quiet, reporter);
    if (!f.LogCorrupt) ScanLog(f, state_.Config, reporter);
  } else {
    f.LogFileSize = 0;
    f.LogEntryCount = 0;
    f.LogFirstDate = 0;
    f.LogLastDate = 0;
  }
}

// Another program appended to, truncated or replaced the current file: the
// statistics, the range and the warnings follow. A warning box shows only
// when its warning newly applies; a change met while the window is busy
// (a run, a rewrite) is looked at once it is done.
void frmMain::CurrentFileChangedOnDisk() {
  if (ProgramEnding()) return;
  if (commands_.Locked || processing_ || activating_ || QApplication::activeModalWidget() != nullptr) {
    diskChangePending_ = true;
    QTimer::singleShot(500, this, [this] {
      if (diskChangePending_) CurrentFileChangedOnDisk();
    });
    return;
  }
  diskChangePending_ = false;
  const CurrentFileState before = state_.File;
  ContinueReporter quietly;  // a file going away while it is read is looked at again next time
  CheckCurrentFile(quietly);
  LoadWindow(RangeOnLoad::Keep);
  const CurrentFileState& after = state_.File;
  const bool newWarning = (WarnLogCorruptApplies(after) && !WarnLogCorruptApplies(before)) ||
                          (WarnNotModemLogApplies(after) && !WarnNotModemLogApplies(before)) ||
                          (WarnLogTooBigApplies(after) && !WarnLogTooBigApplies(before)) ||
                          (!after.LogExists && before.LogExists);
  if (newWarning) {
    if (!after.LogExists) state_.NoLogWarned = false;
    Form_Activate();
  } else {
    Messages->Show(FocusMessage());
  }
  Q_EMIT CurrentLogChanged();
}

void frmMain::ShowCommandDone(const QString& text) { Messages->ShowDone(text); }

void frmMain::LogChanged() {
  RescanCurrentFile();
  LoadWindow(RangeOnLoad::Keep);
  Form_Activate();
  Q_EMIT CurrentLogChanged();
}

void frmMain::RunTodaysReport() {
  if (commands_.Locked || processing_) return;
  mnuToday_Click();
  if (btnProcess->isEnabled()) btnProcess_Click();
}

void frmMain::mnuSetup_Click() {
  WaitCursor wait(WaitCursor::Span::UntilEventLoop);
  Q_EMIT OptionsRequested();
}

void frmMain::ConfigurationChanged() {
  ScheduleBudgets();
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
  CheckCurrentFile(SharedErrorReporter());
  Form_Load();
  Form_Activate();
  SetViewCaptions();
}

bool frmMain::FollowStoredConfiguration() {
  if (!state_.Store) return false;
  SettingsStore& store = *state_.Store;
  const QString damagedBefore = store.DamagedFilePath();
  const QString logFile = state_.Config.ModemLogFile;
  if (!ReloadConfigurationIfChanged(store, state_.Config, state_.ConfigChanges, SharedErrorReporter())) return false;
  // A record the program cannot use was moved aside, as at start-up.
  if (store.DamagedFilePath() != damagedBefore && !store.DamageMessage().isEmpty()) {
    MessageBox::Show(store.DamageMessage(), MessageButtons::Ok, MessageIcon::Exclamation, QStringLiteral("WARNING"));
  }
  ApplyShowSettings();
  ScheduleBudgets();  // another program may have changed a budget
  if (state_.Config.ModemLogFile == logFile) return false;
  state_.LogFileChanged = true;
  ConfigurationChanged();
  return !state_.File.ArchiveOpen;
}

void frmMain::mnuOptimize_Click() {
  // Asked at most once a run, whatever the answer: also the activation that
  // follows the rewrite does not ask again.
  state_.AutoOptimizeAsked = true;
  WaitCursor wait;
  Q_EMIT OptimizeRequested();
}

void frmMain::mnuPurgeLog_Click() { Q_EMIT PurgeRequested(); }
void frmMain::mnuRepairLog_Click() { Q_EMIT RepairRequested(); }

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
  // A log that could not be deleted (or that another command is changing) is
  // not reported as deleted, and the program goes on.
  if (!RunStep(SharedErrorReporter(), [&path] { DeleteLog(path); })) return;
  MessageBox::Show(QStringLiteral("Modem log has been deleted.\nMirolat will now terminate!"), MessageButtons::Ok,
                   MessageIcon::None, QString(), this);
  EndProgram();
}

void frmMain::mnuToday_Click() { DateRange->ApplyQuickDate(QuickDate::Today); }
void frmMain::mnuLogStart_Click() { DateRange->ApplyQuickDate(QuickDate::FirstEntry); }
void frmMain::mnuLogEnd_Click() { DateRange->ApplyQuickDate(QuickDate::LastEntry); }
void frmMain::mnuPlusWeek_Click() { DateRange->ApplyQuickDate(QuickDate::WeekForward); }
void frmMain::mnuMinusWeek_Click() { DateRange->ApplyQuickDate(QuickDate::WeekBack); }
void frmMain::mnuPlusMonth_Click() { DateRange->ApplyQuickDate(QuickDate::MonthForward); }
void frmMain::mnuMinusMonth_Click() { DateRange->ApplyQuickDate(QuickDate::MonthBack); }
void frmMain::mnuThisCycle_Click() {
  const int service = cycleService_ ? cycleService_() : -1;
  DateRange->ApplyRange(BillingCycleRange(CycleQuickDate::ThisCycle, QuickDateBudget(state_.Config, service),
                                          DateRange->Today()));
}
void frmMain::mnuLastCycle_Click() {
  const int service = cycleService_ ? cycleService_() : -1;
  DateRange->ApplyRange(BillingCycleRange(CycleQuickDate::LastCycle, QuickDateBudget(state_.Config, service),
                                          DateRange->Today()));
}

void frmMain::mnuTopics_Click() { ShowHelpContents(); }
void frmMain::mnsSearchHelp_Click() { ShowHelpSearch(); }
void frmMain::mnuHowToHelp_Click() { ShowHelpUsing(); }

void frmMain::mnuAbout_Click() {
  WaitCursor wait(WaitCursor::Span::UntilEventLoop);
  Q_EMIT AboutRequested();
}

void frmMain::closeEvent(QCloseEvent* event) {
  if (!ProgramEnding()) {
    // The viewer asks about unsaved edits first; its Cancel keeps every window.
    if (commands_.ViewerOpen) Q_EMIT CloseLogViewerRequested();
    if (commands_.ViewerOpen) {
      event->ignore();
      return;
    }
    for (WindowRole role : {WindowRole::Splash, WindowRole::Report, WindowRole::About, WindowRole::LogViewer}) {
      for (QWidget* w : RegisteredWindows(role)) w->close();
    }
    // The help window is the program's too: left open it would keep the
    // program running with no main window.
    if (frmHelp* help = HelpWindow()) help->close();
  }
  event->accept();
}

// ---------------------------------------------------------------------------
// Status messages, statistics and caption

StatusMessageId frmMain::FocusMessage() const {
  const QWidget* focus = focusWidget();
  if (focus == inputStarting) return StatusMessageId::EnterStart;
  if (focus == inputEnding) return StatusMessageId::EnterEnd;
  if (focus == btnExit) return StatusMessageId::ExitProgram;
  if (focus == btnProcess) return StatusMessageId::ProcessReport;
  if (focus == btnViewLog) return StatusMessageId::ViewLog;
  if (focus != nullptr && (focus == Calendar1 || Calendar1->isAncestorOf(focus))) return StatusMessageId::CalendarHint;
  return StatusMessageId::None;
}

void frmMain::ShowLogStatistics() {
  const CurrentFileState& f = state_.File;
  const QString na = QStringLiteral("N/A");
  if (!f.LogExists && !f.ArchiveOpen) {
    // Also a log that went away while the window was open: nothing of it stays.
    LabelLogName2->setText(QStringLiteral("Log Not Found"));
    for (QLabel* l : {LabelLogLength2, LabelLogEntries2, LabelLogFirst2, LabelLogLast2}) l->setText(na);
    return;
  }
  Form->setUpdatesEnabled(false);
  const QString heading = f.ArchiveOpen ? QStringLiteral("Archive Statistics") : QStringLiteral("Modem Log Stats");
  LabelHeading->setText(heading);
  LabelHeading2->setText(heading);
  SetShortened(LabelLogName2, f.LogFileName);
  LabelLogPath2->setProperty(kFullTextProperty, f.WindowsDir);
  ElideToWidth(LabelLogPath2);
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
  const ReportRange range{state_.ReportStartDate, state_.ReportEndDate, state_.StartDateValid, state_.EndDateValid};
  const RangeCaption caption = CaptionFor(range, state_.File);
  commands_.Process = caption.processEnabled;
  if (caption.processEnabled) state_.PeriodDays = caption.periodDays;
  setWindowTitle(caption.title);
  btnProcess->setEnabled(commands_.Process && !commands_.Locked);
}

// ---------------------------------------------------------------------------
// Focus

void frmMain::OnFocusChanged(QWidget* old, QWidget* now) {
  // Focus leaving the window (another program, a message box) is no change
  // within the window.
  if (now == nullptr || now->window() != this) return;
  // The user moves on within the window: a finished command's text gives way.
  if (old != nullptr && old->window() == this) Messages->ReleaseDone();
  if (old == inputStarting) {
    DateRange->BoxLostFocus(DateBox::Start);
  } else if (old == inputEnding) {
    DateRange->BoxLostFocus(DateBox::End);
  } else if (old == btnExit) {
    Messages->Show(StatusMessageId::None);
  }
  if (now == inputStarting) {
    DateRange->BoxGotFocus(DateBox::Start);
  } else if (now == inputEnding) {
    DateRange->BoxGotFocus(DateBox::End);
  } else if (now == btnExit || now == btnProcess || now == btnViewLog) {
    Messages->Show(FocusMessage());
  } else if (now == Calendar1 || Calendar1->isAncestorOf(now)) {
    if (old != Calendar1 && (old == nullptr || !Calendar1->isAncestorOf(old))) {
      Messages->Show(StatusMessageId::CalendarHint);
    }
  }
}


}  // namespace mirolat
