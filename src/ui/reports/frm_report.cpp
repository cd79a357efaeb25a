#include "ui/reports/frm_report.h"

#include <QApplication>
#include <QClipboard>
#include <QCloseEvent>
#include <QDir>
#include <QElapsedTimer>
#include <QFontDatabase>
#include <QFontInfo>
#include <QGridLayout>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QMenuBar>
#include <QMimeData>
#include <QPointer>
#include <QPrinter>
#include <QScreen>
#include <QScrollBar>
#include <QStandardPaths>
#include <QStyle>
#include <QVBoxLayout>
#include <cmath>

#include "core/analysis/session_builder.h"
#include "core/app/app_state.h"
#include "core/common/atomic_file.h"
#include "core/reports/details_report.h"
#include "core/reports/report_list_rules.h"
#include "core/reports/summary_report.h"
#include "core/settings/configuration_io.h"
#include "render/report_formats.h"
#include "ui/common/end_program.h"
#include "ui/common/help_window.h"
#include "ui/dialogs/status_panels.h"
#include "ui/dialogs/desktop_error_reporter.h"
#include "ui/dialogs/file_dialog.h"
#include "ui/dialogs/printer_dialog.h"
#include "ui/dialogs/wait_cursor.h"
#include "ui/dialogs/window_placement.h"
#include "ui/reports/report_layout.h"

namespace mirolat {

bool frmReport::AutoArrangeOn = false;

namespace {

// The Details report's progress in the window's status bar, with the window
// repainted now and then while the report is built.
class ReportStatusProgress final : public Progress {
 public:
  explicit ReportStatusProgress(QLabel* panel) : panel_(panel) { clock_.start(); }
  void SetStatus(const QString& text) override {
    panel_->setText(text);
    Yield();
  }
  void SetPercent(int) override {}
  void Yield() override {
    if (clock_.elapsed() < 100) return;
    clock_.restart();
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
  }

 private:
  QLabel* panel_;
  QElapsedTimer clock_;
};

// Courier New at `points`, or the system's fixed-pitch font where it is missing.
QFont FixedPitchFont(int points) {
  QFont font(QStringLiteral("Courier New"), points);
  font.setStyleHint(QFont::TypeWriter);
  font.setFixedPitch(true);
  if (!QFontInfo(font).fixedPitch()) {
    font = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    font.setPointSize(points);
  }
  return font;
}

constexpr int kStoredColumns = 7;
// F1 in the report window: the page on the report window.
constexpr int kReportWindowHelpTopic = 5;
constexpr double kFrameMarginTwips = 120;

}  // namespace

frmReport::frmReport(AppState& state, QWidget* parent) : QMainWindow(parent, Qt::Window), state_(state) {
  setObjectName(QStringLiteral("frmReport"));
  setWindowTitle(QStringLiteral("MRL Report"));
  setAttribute(Qt::WA_DeleteOnClose);
  // Any size the user likes, however narrow: the layout's own minimum would
  // stop the window well before Auto Arrange gives up.
  setMinimumSize(120, 90);
  formats_ = AllReportFormats();
  saveFilter_ = formats_.front()->FileFilter();
  BuildControls();
  BuildCommands();
  InstallHelpKey(this, kReportWindowHelpTopic);
  RegisterWindow(WindowRole::Report, this);
  Form_Load();
}

frmReport::~frmReport() { UnregisterWindow(this); }

// ---------------------------------------------------------------------------
// Construction

void frmReport::BuildControls() {
  auto* central = new QWidget(this);
  central->setObjectName(QStringLiteral("Form"));
  auto* column = new QVBoxLayout(central);
  column->setContentsMargins(0, 0, 0, 0);
  column->setSpacing(0);

  fraReportHeader = new QFrame(central);
  fraReportHeader->setObjectName(QStringLiteral("fraReportHeader"));
  fraReportHeader->setFrameShape(QFrame::StyledPanel);
  auto* header = new QHBoxLayout(fraReportHeader);
  auto* values = new QGridLayout();
  auto label = [this](const QString& name, const QString& text) {
    auto* l = new QLabel(text, fraReportHeader);
    l->setObjectName(name);
    return l;
  };
  RepTitle = label(QStringLiteral("RepTitle"), QString());
  QFont titleFont = RepTitle->font();
  titleFont.setBold(true);
  titleFont.setPointSizeF(titleFont.pointSizeF() * 1.25);
  RepTitle->setFont(titleFont);
  lblBegin = label(QStringLiteral("lblBegin"), QStringLiteral("Beginning:"));
  lblEnd = label(QStringLiteral("lblEnd"), QStringLiteral("Ending:"));
  lblPeriod = label(QStringLiteral("lblPeriod"), QStringLiteral("Period:"));
  RepBegin = label(QStringLiteral("RepBegin"), QString());
  RepEnd = label(QStringLiteral("RepEnd"), QString());
  RepPeriod = label(QStringLiteral("RepPeriod"), QString());
  values->addWidget(RepTitle, 0, 0, 1, 2);
  values->addWidget(lblBegin, 1, 0);
  values->addWidget(RepBegin, 1, 1);
  values->addWidget(lblEnd, 2, 0);
  values->addWidget(RepEnd, 2, 1);
  values->addWidget(lblPeriod, 3, 0);
  values->addWidget(RepPeriod, 3, 1);
  header->addLayout(values);
  header->addStretch(1);

  fraWarning = new QFrame(fraReportHeader);
  fraWarning->setObjectName(QStringLiteral("fraWarning"));
  fraWarning->setFrameShape(QFrame::Box);
  auto* warning = new QVBoxLayout(fraWarning);
  RepWarn1 = new QLabel(QStringLiteral("Warning:"), fraWarning);
  RepWarn1->setObjectName(QStringLiteral("RepWarn1"));
  QFont warnFont = RepWarn1->font();
  warnFont.setBold(true);
  RepWarn1->setFont(warnFont);
  RepWarn1->setStyleSheet(QStringLiteral("color: rgb(192, 0, 0);"));
  RepWarn2 = new QLabel(QStringLiteral("Errors found in log!"), fraWarning);
  RepWarn2->setObjectName(QStringLiteral("RepWarn2"));
  RepWarn3 = new QLabel(QStringLiteral("Check detail report."), fraWarning);
  RepWarn3->setObjectName(QStringLiteral("RepWarn3"));
  warning->addWidget(RepWarn1);
  warning->addWidget(RepWarn2);
  warning->addWidget(RepWarn3);
  fraWarning->hide();
  header->addWidget(fraWarning, 0, Qt::AlignRight | Qt::AlignVCenter);

  fraNoConn = new QFrame(fraReportHeader);
  fraNoConn->setObjectName(QStringLiteral("fraNoConn"));
  fraNoConn->setFrameShape(QFrame::Box);
  auto* noConn = new QVBoxLayout(fraNoConn);
  RepWarnNoCon1 = new QLabel(QStringLiteral("No connections made during this period."), fraNoConn);
  RepWarnNoCon1->setObjectName(QStringLiteral("RepWarnNoCon1"));
  noConn->addWidget(RepWarnNoCon1);
  fraNoConn->hide();
  header->addWidget(fraNoConn, 0, Qt::AlignRight | Qt::AlignVCenter);
  column->addWidget(fraReportHeader);

  fraFilter = new QWidget(central);
  fraFilter->setObjectName(QStringLiteral("fraFilter"));
  auto* filter = new QHBoxLayout(fraFilter);
  filter->setContentsMargins(6, 3, 6, 3);
  auto* numberLabel = new QLabel(QStringLiteral("&Number:"), fraFilter);
  cboNumber = new QComboBox(fraFilter);
  cboNumber->setObjectName(QStringLiteral("cboNumber"));
  cboNumber->setSizeAdjustPolicy(QComboBox::AdjustToContents);
  numberLabel->setBuddy(cboNumber);
  chkErrors = new QCheckBox(QStringLiteral("Sessions with &errors"), fraFilter);
  chkErrors->setObjectName(QStringLiteral("chkErrors"));
  filter->addWidget(numberLabel);
  filter->addWidget(cboNumber);
  filter->addSpacing(12);
  filter->addWidget(chkErrors);
  filter->addStretch(1);
  connect(cboNumber, &QComboBox::currentIndexChanged, this, &frmReport::Filter_Change);
  connect(chkErrors, &QCheckBox::toggled, this, &frmReport::Filter_Change);
  fraFilter->hide();
  column->addWidget(fraFilter);

  ListModel = new ReportTableModel(this);
  ListView1 = new QTreeView(central);
  ListView1->setObjectName(QStringLiteral("ListView1"));
  ListView1->setModel(ListModel);
  ListView1->setRootIsDecorated(false);
  ListView1->setItemsExpandable(false);
  ListView1->setUniformRowHeights(true);
  ListView1->setAllColumnsShowFocus(true);
  // A cell too narrow for its text shows it cut with an ellipsis; its tooltip
  // holds the whole text.
  ListView1->setTextElideMode(Qt::ElideRight);
  ListView1->setItemDelegate(new ReportCellDelegate(ListView1));
  ListView1->setEditTriggers(QAbstractItemView::NoEditTriggers);
  QHeaderView* titles = ListView1->header();
  titles->setObjectName(QStringLiteral("ListView1Header"));
  titles->setStretchLastSection(false);
  titles->setSectionsMovable(false);
  // A click on a column's title sorts the list by it; until then the list
  // keeps the report's order.
  titles->setSortIndicator(-1, Qt::AscendingOrder);
  ListView1->setSortingEnabled(true);
  ListView1->setFont(QFont(QStringLiteral("Arial"), static_cast<int>(fontSize_)));
  column->addWidget(ListView1, 1);

  ReportTextBox = new ReportTextView(central);
  ReportTextBox->setObjectName(QStringLiteral("ReportTextBox"));
  ReportTextBox->setFont(FixedPitchFont(9));
  ReportTextBox->hide();
  column->addWidget(ReportTextBox, 1);
  setCentralWidget(central);

  StatusBar1 = new QStatusBar(this);
  StatusBar1->setObjectName(QStringLiteral("StatusBar1"));
  StatusPanels = AddStatusPanels<3>(StatusBar1);
  setStatusBar(StatusBar1);
}

namespace {

enum class ReportMenu { File, View, Options, Font };
enum class ReportGroup { None, Report, Format };

// Every command of the report window: its menu item and, when it has one,
// its toolbar button (the same action, shown by a short text).
struct ReportCommandSpec {
  ReportMenu menu;
  bool separatorBefore;
  QAction* frmReport::*item;
  const char* name;
  const char* caption;
  const char* shortcut;
  int toolbarPosition;  // 1-based, separators included; 0 when not on the toolbar
  const char* key;
  const char* buttonText;
  const char* tip;
  ReportGroup group;
  bool checkable;
  void (frmReport::*handler)();
};

constexpr int kReportToolbarPositions = 12;

}  // namespace

void frmReport::BuildCommands() {
  // Inside the window's own function: the table names its private items and handlers.
  using RM = ReportMenu;
  using RG = ReportGroup;
  static const ReportCommandSpec kReportCommands[] = {
      {RM::File, false, &frmReport::mnuSaveAS, "mnuSaveAS", "Save &As", "", 1, "Save", "Save", "Save Report", RG::None, false, &frmReport::mnuSaveAS_Click},
      {RM::File, false, &frmReport::mnuCopy, "mnuCopy", "Cop&y", "Ctrl+C", 0, "", "", "", RG::None, false, &frmReport::mnuCopy_Click},
      {RM::File, false, &frmReport::mnuPrint, "mnuPrint", "&Print", "Ctrl+P", 2, "Print", "Print", "Print Report", RG::None, false, &frmReport::mnuPrint_Click},
      {RM::File, true, &frmReport::mnuExit, "mnuExit", "&Close", "", 3, "Exit", "Close", "Close Report", RG::None, false, &frmReport::mnuExit_Click},
      {RM::View, false, &frmReport::mnuSummary, "mnuSummary", "&Summary Report", "F2", 5, "Summary", "Summary", "Summary Report", RG::Report, true, &frmReport::mnuSummary_Click},
      {RM::View, false, &frmReport::mnuDetails, "mnuDetails", "&Details Report", "F3", 6, "Detail", "Detail", "Detail Report", RG::Report, true, &frmReport::mnuDetails_Click},
      {RM::Options, false, &frmReport::mnuFormatStd, "mnuFormatStd", "&Standard Format", "F4", 8, "Standard", "Standard", "Standard View", RG::Format, true, &frmReport::mnuFormatStd_Click},
      {RM::Options, false, &frmReport::mnuListView, "mnuListView", "&List View Format", "F5", 9, "List View", "List", "List View", RG::Format, true, &frmReport::mnuListView_Click},
      {RM::Font, false, &frmReport::mnuFontIncrease, "mnuFontIncrease", "&Increase", "Ctrl+I", 11, "Bigger", "A+", "Increase Text Size", RG::None, false, &frmReport::mnuFontIncrease_Click},
      {RM::Font, false, &frmReport::mnuFontDecrease, "mnuFontDecrease", "&Decrease", "Ctrl+D", 12, "Smaller", "A-", "Decrease Text Size", RG::None, false, &frmReport::mnuFontDecrease_Click},
      {RM::Options, true, &frmReport::mnuAutoArrange, "mnuAutoArrange", "&Auto Arrange", "F6", 0, "", "", "", RG::None, true, &frmReport::mnuAutoArrange_Click},
      {RM::Options, true, &frmReport::mnuSaveSettings, "mnuSaveSettings", "&Save Settings on Exit", "", 0, "", "", "", RG::None, true, &frmReport::mnuSaveSettings_Click},
  };
  const auto menu = [this](const char* name, const QString& title) {
    QMenu* m = menuBar()->addMenu(title);
    m->setObjectName(QString::fromLatin1(name));
    return m;
  };
  mnuFile = menu("mnuFile", QStringLiteral("&File"));
  mnuView = menu("mnuView", QStringLiteral("&View"));
  mnuOptions = menu("mnuOptions", QStringLiteral("&Options"));

  Toolbar1 = new QToolBar(this);
  Toolbar1->setObjectName(QStringLiteral("Toolbar1"));
  Toolbar1->setMovable(false);
  Toolbar1->setFloatable(false);
  Toolbar1->setToolButtonStyle(Qt::ToolButtonTextOnly);
  // Compact buttons: all nine fit the window at its default width.
  QFont buttonFont = Toolbar1->font();
  buttonFont.setPointSizeF(buttonFont.pointSizeF() * 0.85);
  Toolbar1->setFont(buttonFont);
  Toolbar1->layout()->setSpacing(0);
  addToolBar(Qt::TopToolBarArea, Toolbar1);

  auto* reportGroup = new QActionGroup(this);
  auto* formatGroup = new QActionGroup(this);
  toolbarButtons_.fill(nullptr, kReportToolbarPositions);
  for (const ReportCommandSpec& c : kReportCommands) {
    QMenu* m = nullptr;
    switch (c.menu) {
      case RM::File: m = mnuFile; break;
      case RM::View: m = mnuView; break;
      case RM::Options: m = mnuOptions; break;
      case RM::Font:
        if (mnuFont == nullptr) {
          mnuFont = mnuOptions->addMenu(QStringLiteral("&Font Size"));
          mnuFont->setObjectName(QStringLiteral("mnuFont"));
        }
        m = mnuFont;
        break;
    }
    if (c.separatorBefore) m->addSeparator();
    QAction* a = m->addAction(QString::fromLatin1(c.caption));
    a->setObjectName(QString::fromLatin1(c.name));
    if (*c.shortcut != '\0') a->setShortcut(QKeySequence(QString::fromLatin1(c.shortcut)));
    a->setCheckable(c.checkable);
    if (c.group == RG::Report) reportGroup->addAction(a);
    if (c.group == RG::Format) formatGroup->addAction(a);
    connect(a, &QAction::triggered, this, c.handler);
    this->*c.item = a;
    if (c.toolbarPosition == 0) continue;
    a->setData(QString::fromLatin1(c.key));
    a->setIconText(QString::fromLatin1(c.buttonText));
    a->setToolTip(QString::fromLatin1(c.tip));
    toolbarButtons_[c.toolbarPosition - 1] = a;
  }
  for (QAction*& button : toolbarButtons_) {
    if (button != nullptr) {
      Toolbar1->addAction(button);
    } else {
      button = Toolbar1->addSeparator();
    }
  }
  // Closed as a desktop window is (Ctrl+W, Escape); Ctrl+X stays the text's Cut.
  mnuExit->setShortcuts(QKeySequence::keyBindings(QKeySequence::Close) << QKeySequence(Qt::Key_Escape));
  mnuSummary->setChecked(true);
  mnuListView->setChecked(true);
  mnuView->addSeparator();
  QAction* charts = mnuView->addAction(QStringLiteral("&Charts..."));
  charts->setObjectName(QStringLiteral("mnuCharts"));
  connect(charts, &QAction::triggered, this, &frmReport::ChartsRequested);
}

QAction* frmReport::ToolbarButtonByKey(const QString& key) const {
  for (QAction* button : toolbarButtons_) {
    if (!button->isSeparator() && button->data().toString() == key) return button;
  }
  return nullptr;
}

QString frmReport::PanelText(int panel) const {
  if (panel < 1 || panel > 3) return {};
  return StatusPanels[static_cast<std::size_t>(panel - 1)]->text();
}

// ---------------------------------------------------------------------------
// Units

double frmReport::DpiX() const {
  const int dpi = logicalDpiX();
  return dpi > 0 ? dpi : 96;
}

double frmReport::DpiY() const {
  const int dpi = logicalDpiY();
  return dpi > 0 ? dpi : 96;
}

bool frmReport::NormalState() const {
  return (windowState() & (Qt::WindowMinimized | Qt::WindowMaximized | Qt::WindowFullScreen)) == 0;
}

int frmReport::ColumnWidthTwips(int column) const {
  const int pixels = ListView1->header()->sectionSize(column);
  const int previous = column >= 0 && column < kStoredColumns ? appliedColumnTwips_[static_cast<std::size_t>(column)] : 0;
  return PixelsToTwipsKeeping(pixels, DpiX(), previous);
}

void frmReport::SetColumnWidthTwips(int column, double twips) {
  ListView1->header()->resizeSection(column, TwipsToPixels(twips, DpiX()));
  if (column >= 0 && column < kStoredColumns) {
    appliedColumnTwips_[static_cast<std::size_t>(column)] = static_cast<int>(std::lround(twips));
  }
}

int frmReport::WidthTwips() const { return PixelsToTwips(width(), DpiX()); }
int frmReport::HeightTwips() const { return PixelsToTwips(height(), DpiY()); }

// ---------------------------------------------------------------------------
// Window procedures

void frmReport::Form_Load() {
  Configuration& config = state_.Config;
  // The list starts at the size its report last had.
  if (config.SummaryReport.FontSize != 0) fontSize_ = config.SummaryReport.FontSize;
  ApplyListFont();

  mnuSaveSettings->setChecked(config.ReportSaveSettings);
  if (config.ReportListView) {
    mnuListView->setChecked(true);
    mnuFormatStd->setChecked(false);
  } else {
    mnuFormatStd->setChecked(true);
    mnuListView->setChecked(false);
  }
  if (mnuListView->isChecked()) {
    mnuListView_Click();
  } else {
    mnuFormatStd_Click();
  }
  mnuAutoArrange->setChecked(config.ReportAutoArrange);
  AutoArrangeOn = config.ReportAutoArrange;
  loaded_ = true;
}

void frmReport::Form_Activate() {
  if (building_) return;
  Toolbar1->setVisible(state_.Config.ShowToolbars);
  Toolbar1->setEnabled(state_.Config.ShowToolbars);
  Form_Resize();
  // The report is built again from the same run: the user keeps the place
  // and the row they were looking at. A new run starts at the top.
  const bool keepPlace = !freshRun_;
  freshRun_ = false;
  const int listTop = ListView1->verticalScrollBar()->value();
  const int listLeft = ListView1->horizontalScrollBar()->value();
  const int textTop = ReportTextBox->verticalScrollBar()->value();
  const int textLeft = ReportTextBox->horizontalScrollBar()->value();
  const int row = ListView1->currentIndex().isValid() ? ListView1->currentIndex().row() : -1;
  if (detailsChecked_) {
    mnuDetails_Click();
  } else {
    mnuSummary_Click();
  }
  if (!keepPlace) return;
  if (row >= 0 && row < ListModel->rowCount()) {
    ListView1->setCurrentIndex(ListModel->index(row, 0));
  }
  ListView1->verticalScrollBar()->setValue(listTop);
  ListView1->horizontalScrollBar()->setValue(listLeft);
  ReportTextBox->verticalScrollBar()->setValue(textTop);
  ReportTextBox->horizontalScrollBar()->setValue(textLeft);
}

void frmReport::Form_Unload() {
  if (unloaded_) return;
  unloaded_ = true;
  StoreReportLayout();
  Configuration& config = state_.Config;
  config.ReportSaveSettings = mnuSaveSettings->isChecked();
  config.ReportAutoArrange = mnuAutoArrange->isChecked();
  config.ReportListView = mnuListView->isChecked();
  // The window's own settings only: the rest of the record may have been
  // changed by another program since it was read.
  if (state_.Store) SaveReportWindowSettings(*state_.Store, config, SharedErrorReporter());
}

ReportWindowSettings& frmReport::LayoutOfCheckedReport() {
  return detailsChecked_ ? state_.Config.DetailReport : state_.Config.SummaryReport;
}

void frmReport::StoreReportLayout() {
  ReportWindowSettings& layout = LayoutOfCheckedReport();
  // Only a size the user gave the window is kept: one that fits what the
  // window showed is found again at the next opening.
  if (placed_ && userSized_ && NormalState()) {
    layout.WinHeight = PixelsToTwipsKeeping(height(), DpiY(), layout.WinHeight);
    layout.WinWidth = PixelsToTwipsKeeping(width(), DpiX(), layout.WinWidth);
  }
  if (placed_ && NormalState()) {
    layout.WinLeft = PixelsToTwipsKeeping(x(), DpiX(), layout.WinLeft);
    layout.WinTop = PixelsToTwipsKeeping(y(), DpiY(), layout.WinTop);
  }
  layout.FontSize = fontSize_;
  const int columns = std::min(ListModel->columnCount(), kStoredColumns);
  for (int i = 0; i < columns; ++i) {
    // A hidden column keeps the width it has in the record.
    if (!ListView1->header()->isSectionHidden(i)) layout.Columns[static_cast<std::size_t>(i)] = ColumnWidthTwips(i);
  }
}

void frmReport::ApplyReportLayout() {
  // The window's size and place come from the record only when it opens
  // (PlaceAtOpening): switching reports or presentations keeps the size the
  // user gave it (FitToContent).
  const ReportWindowSettings& layout = LayoutOfCheckedReport();
  if (mnuListView->isChecked()) {
    if (layout.FontSize != 0) {
      fontSize_ = layout.FontSize;
      ApplyListFont();
    }
    const int columns = std::min(ListModel->columnCount(), kStoredColumns);
    for (int i = 0; i < columns; ++i) {
      const qint32 stored = layout.Columns[static_cast<std::size_t>(i)];
      if (stored != 0) SetColumnWidthTwips(i, stored);
    }
    // The first time the list shows a run in this report, every column too
    // narrow for its text widens; the widths the user sets stay otherwise.
    std::weak_ptr<RunState>& widened = widenedRun_[detailsChecked_ ? 1 : 0];
    const bool newRun = widened.lock() != builtRun_.lock();
    widened = builtRun_;
    LayOutColumns(newRun);
  }
  RepWarn3->setText(detailsChecked_ ? QStringLiteral("Report may be inaccurate.")
                                            : QStringLiteral("Check details report."));
}

void frmReport::UpdateReportStatus() {
  if (mnuListView->isChecked()) {
    StatusPanels[0]->setText(QStringLiteral(" List View Format"));
    StatusPanels[1]->setText(AutoArrangeOn ? QStringLiteral(" Auto Arrange On") : QStringLiteral(" Auto Arrange Off"));
    StatusPanels[2]->setText(QStringLiteral(" Font Size ") + SignedNumberText(fontSize_));
  } else {
    StatusPanels[0]->setText(QStringLiteral(" Standard Format"));
    StatusPanels[1]->clear();
    StatusPanels[2]->clear();
  }
}

void frmReport::Form_Resize() {
  // The toolbar, header, list or text box and status bar follow the window
  // through its layouts.
  ArrangeHeaderFor(width());
  if (AutoArrangeOn) AutoArrangeColumns();
}

void frmReport::ArrangeHeaderFor(int windowWidth) {
  // The frames of the header sit 120 twips from its edge.
  const int margin = TwipsToPixels(kFrameMarginTwips, DpiX());
  if (auto* header = qobject_cast<QBoxLayout*>(fraReportHeader->layout())) {
    QMargins m = header->contentsMargins();
    m.setRight(margin);
    header->setContentsMargins(m);
    // The warning frames stand beside the dates while there is room, and
    // under them when there is not: they never cover the dates.
    int needed = m.left() + m.right() + header->itemAt(0)->sizeHint().width();
    for (QFrame* frame : {fraWarning, fraNoConn}) {
      if (!frame->isHidden()) needed += header->spacing() + frame->sizeHint().width();
    }
    const auto direction = windowWidth >= needed ? QBoxLayout::LeftToRight : QBoxLayout::TopToBottom;
    if (header->direction() != direction) header->setDirection(direction);
  }
}

void frmReport::AutoArrangeColumns() {
  const int columns = ListModel->columnCount();
  QStringList titles;
  QList<double> widths;
  for (int i = 0; i < columns; ++i) {
    titles.append(ListModel->headerData(i, Qt::Horizontal).toString());
    widths.append(ColumnWidthTwips(i));
  }
  const QList<double> arranged = AutoArrangeWidths(WidthTwips(), titles, widths);
  for (int i = 1; i < columns; ++i) {
    if (arranged[i] != widths[i]) SetColumnWidthTwips(i, arranged[i]);
  }
}

void frmReport::changeEvent(QEvent* event) {
  QMainWindow::changeEvent(event);
  if (event->type() != QEvent::ActivationChange || !loaded_ || unloaded_) return;
  if (!isActiveWindow()) {
    skipNextActivation_ = false;
    return;
  }
  if (skipNextActivation_) {
    // ShowReport has just built the report for this activation.
    skipNextActivation_ = false;
    return;
  }
  Form_Activate();
}

void frmReport::closeEvent(QCloseEvent* event) {
  Form_Unload();
  event->accept();
}

void frmReport::resizeEvent(QResizeEvent* event) {
  QMainWindow::resizeEvent(event);
  // Any size but the one the window gave itself is the user's.
  if (placed_ && event->size() != programSize_) userSized_ = true;
  if (loaded_) Form_Resize();
}

void frmReport::ShowReport() {
  freshRun_ = true;
  if (!placed_) {
    // The report is built before the window first shows, so that the window
    // opens at the size the report needs.
    Form_Activate();
    PlaceAtOpening();
    placed_ = true;
    skipNextActivation_ = true;
    show();
    raise();
    activateWindow();
    return;
  }
  skipNextActivation_ = !isActiveWindow();
  show();
  raise();
  activateWindow();
  Form_Activate();
}

QSize frmReport::ContentSize(const QSize& room) {
  ensurePolished();
  // A window not shown yet does not lay itself out again by itself: the
  // header panel's new arrangement reaches the window's size hint by hand.
  for (QWidget* w : {static_cast<QWidget*>(fraReportHeader), centralWidget()}) {
    w->layout()->invalidate();
    w->updateGeometry();
  }
  layout()->invalidate();
  const bool list = !ListView1->isHidden();
  const QAbstractScrollArea* shown = list ? static_cast<QAbstractScrollArea*>(ListView1) : ReportTextBox;
  QSize content;
  if (list) {
    const int frame = 2 * ListView1->frameWidth();
    const int rows = ListModel->rowCount();
    content = QSize(frame + ListView1->header()->length(),
                    frame + ListView1->header()->sizeHint().height() + (rows > 0 ? rows * ListView1->sizeHintForRow(0) : 0));
  } else {
    content = ReportTextBox->ContentSize();
  }
  // The menus, toolbar, header panel and status bar at their own sizes,
  // around all of the report.
  const QSize hint = sizeHint();
  QSize size(std::max(hint.width(), content.width()), hint.height() - shown->sizeHint().height() + content.height());
  const int bar = style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, shown);
  if (size.height() > room.height()) size.rwidth() += bar;
  if (size.width() > room.width()) size.rheight() += bar;
  return size;
}

void frmReport::FreeArea(QRect& available, QSize& frame) const {
  QWidget* main = parentWidget() != nullptr ? parentWidget()->window() : nullptr;
  QScreen* screen = isVisible() || main == nullptr ? this->screen() : main->screen();
  if (screen == nullptr) screen = QGuiApplication::primaryScreen();
  available = screen != nullptr ? screen->availableGeometry() : QRect();
  // The frame the window manager adds is not known before the first show:
  // the main window's stands in for it.
  frame = frameGeometry().size() - geometry().size();
  if (frame.isEmpty() && main != nullptr) frame = main->frameGeometry().size() - main->geometry().size();
}

QSize frmReport::FittedSize(const QRect& available, const QSize& frame) {
  const QSize room = available.isEmpty() ? QSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX) : available.size() - frame;
  const auto fitted = [&] { return ContentSize(room).boundedTo(room).expandedTo(minimumSize()); };
  // At the report's width the header panel may lay out otherwise: measure again.
  ArrangeHeaderFor(fitted().width());
  return fitted();
}

void frmReport::ResizeByProgram(const QSize& size) {
  programSize_ = size;
  resize(size);
}

void frmReport::PlaceAtOpening() {
  const ReportWindowSettings& layout = LayoutOfCheckedReport();
  QRect available;
  QSize frame;
  FreeArea(available, frame);
  userSized_ = HasStoredWindowSize(layout);
  QSize size = userSized_ ? QSize(TwipsToPixels(layout.WinWidth, DpiX()), TwipsToPixels(layout.WinHeight, DpiY()))
                          : FittedSize(available, frame);
  // A size stored on a larger screen opens at one that fits this screen.
  if (!available.isEmpty()) size = size.boundedTo(available.size() - frame);
  QRect outer(QPoint(0, 0), size + frame);
  const QPoint stored(TwipsToPixels(layout.WinLeft, DpiX()), TwipsToPixels(layout.WinTop, DpiY()));
  QWidget* main = parentWidget() != nullptr ? parentWidget()->window() : nullptr;
  // A place on a screen no longer attached would hide the window.
  if (HasStoredWindowPlace(layout) &&
      QGuiApplication::screenAt(stored + QPoint(size.width() / 2, size.height() / 2)) != nullptr) {
    outer = FitIntoArea(outer.translated(stored), available);
  } else if (main != nullptr && main->isVisible()) {
    outer = BesideParent(outer.size(), main->frameGeometry(), available);
  } else if (!available.isEmpty()) {
    outer = CentredOnParent(outer.size(), available, available);
  }
  ResizeByProgram(outer.size() - frame);
  move(outer.topLeft());
}

void frmReport::FitToContent() {
  // Until the user gives the window a size, it follows what it shows.
  if (!placed_ || userSized_ || !NormalState()) return;
  QRect available;
  QSize frame;
  FreeArea(available, frame);
  const QRect outer = FitIntoArea(QRect(frameGeometry().topLeft(), FittedSize(available, frame) + frame), available);
  if (outer.size() - frame != size()) ResizeByProgram(outer.size() - frame);
  if (outer.topLeft() != frameGeometry().topLeft()) move(outer.topLeft());
}

void frmReport::LayOutColumns(bool widen) {
  QHeaderView* header = ListView1->header();
  // A cell's text sits inside a margin on either side; the width of a text is
  // the sum of its characters' (never less than the text laid out whole).
  const int margin = 2 * (ListView1->style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, ListView1) + 1) + 1;
  const QFontMetricsF metrics(ListView1->font());
  std::array<qreal, 256> latin;
  latin.fill(-1);
  const auto textWidth = [&](const QString& text) {
    qreal width = 0;
    for (const QChar c : text) {
      if (c.unicode() >= latin.size()) {
        width += metrics.horizontalAdvance(c);
        continue;
      }
      qreal& advance = latin[c.unicode()];
      if (advance < 0) advance = metrics.horizontalAdvance(c);
      width += advance;
    }
    return static_cast<int>(std::ceil(width)) + margin;
  };
  const std::vector<int> needed = ColumnWidthsForData(ListModel->Report(), textWidth);
  for (int c = 0; c < ListModel->columnCount(); ++c) {
    const bool titled = !ListModel->headerData(c, Qt::Horizontal).toString().trimmed().isEmpty();
    const int cells = needed[static_cast<std::size_t>(c)];
    header->setSectionHidden(c, !titled && cells == 0);
    if (!widen || header->isSectionHidden(c)) continue;
    const int width = std::max(cells, titled ? header->sectionSizeHint(c) : 0);
    if (header->sectionSize(c) >= width) continue;
    header->resizeSection(c, width);
    if (c < kStoredColumns) appliedColumnTwips_[static_cast<std::size_t>(c)] = 0;
  }
}

// ---------------------------------------------------------------------------
// Building

void frmReport::BuildReport(ReportKind kind) {
  building_ = true;
  WaitCursor wait;
  if (!state_.LastRun) {
    // Nothing analysed yet: an empty run.
    state_.LastRun = std::make_shared<RunState>();
    state_.LastRun->Tables.Create(state_.Config.MaxServices, 0);
  }
  RunState& run = *state_.LastRun;
  builtRun_ = state_.LastRun;
  const ReportInputs inputs = ReportInputsOf(state_);

  inputs_ = inputs;
  if (sessionsRun_.lock() != state_.LastRun) {
    sessionsRun_ = state_.LastRun;
    const auto& all = run.Tables.Sessions;
    const std::size_t used = std::min(all.size(), std::size_t(std::max(run.Tables.SessionCount, 0)) + 1);
    sessionsAsRun_.assign(all.begin(), all.begin() + std::ptrdiff_t(used));
  }
  {
    ReportStatusProgress progress(StatusPanels[0]);
    figures_ = BuildReportFigures(run.Tables, inputs, progress);
  }
  built_ = kind == ReportKind::Details ? std::move(BuildDetailsReport(figures_, inputs).Model)
                                       : BuildSummaryReport(figures_, inputs);
  const ReportModel& model = built_;

  RepTitle->setText(model.RepTitle);
  RepBegin->setText(model.RepBegin);
  RepEnd->setText(model.RepEnd);
  RepPeriod->setText(model.RepPeriod);
  fraWarning->setVisible(model.WarningShown);
  fraNoConn->setVisible(model.NoConnShown);
  reportText_ = model.Text;

  std::vector<double> widths;
  widths.reserve(model.Columns.size());
  for (const ReportColumn& c : model.Columns) widths.push_back(c.WidthTwips != 0 ? c.WidthTwips : kDefaultColumnTwips);
  FillFilterChoices();
  ShowListRows();
  fraFilter->setVisible(detailsChecked_ && mnuListView->isChecked());
  for (std::size_t i = 0; i < widths.size(); ++i) SetColumnWidthTwips(static_cast<int>(i), widths[i]);

  ReportTextBox->setPlainText(reportText_);
  building_ = false;
}

void frmReport::FillFilterChoices() {
  const int chosen = cboNumber->currentData().isValid() ? cboNumber->currentData().toInt() : -1;
  const QString chosenText = cboNumber->currentText();
  const QSignalBlocker quiet(cboNumber);
  cboNumber->clear();
  cboNumber->addItem(QStringLiteral("All numbers"), -1);
  for (const FilterChoice& choice : DetailsFilterChoices(figures_)) cboNumber->addItem(choice.Text, choice.Number);
  const int again = chosen >= 0 ? cboNumber->findText(chosenText) : -1;
  cboNumber->setCurrentIndex(std::max(again, 0));
}

void frmReport::ShowListRows() {
  if (!detailsChecked_) {
    ListModel->SetReport(built_);
    return;
  }
  DetailsFilter filter;
  filter.Number = cboNumber->currentData().toInt();
  filter.ErrorsOnly = chkErrors->isChecked();
  std::vector<int> rowSessions;
  ReportModel shown = FilteredDetails(built_, figures_, filter, state_.Locale, rowSessions);
  ListModel->SetReport(std::move(shown), std::move(rowSessions), [this](int session) {
    if (session < 0 || std::size_t(session) >= figures_.Sessions.size()) return QString();
    return SessionCostExplanation(figures_.Sessions[std::size_t(session)], figures_.CostsShown, state_.Locale);
  });
}

void frmReport::Filter_Change() {
  if (building_) return;
  ShowListRows();
  LayOutColumns(false);
}

void frmReport::ApplyListFont() {
  // A size a font cannot take leaves the list at its last real size.
  if (fontSize_ < 1) return;
  QFont font = ListView1->font();
  font.setFamily(QStringLiteral("Arial"));
  font.setPointSizeF(fontSize_);
  ListView1->setFont(font);
}

void frmReport::SetPresentationEnabled(bool listView) {
  mnuFont->setEnabled(listView);
  mnuFont->menuAction()->setEnabled(listView);
  mnuFontIncrease->setEnabled(listView);
  mnuFontDecrease->setEnabled(listView);
  ToolbarButtonByKey(QStringLiteral("Bigger"))->setEnabled(listView);
  ToolbarButtonByKey(QStringLiteral("Smaller"))->setEnabled(listView);
  mnuAutoArrange->setEnabled(listView);
  mnuCopy->setEnabled(listView);
  fraFilter->setVisible(listView && detailsChecked_);
}

// ---------------------------------------------------------------------------
// Commands

void frmReport::ShowReportOfKind(ReportKind kind) {
  StoreReportLayout();
  // The other report starts in its own order: its columns are not these.
  if ((kind == ReportKind::Details) != detailsChecked_) ListView1->header()->setSortIndicator(-1, Qt::AscendingOrder);
  // A checkable menu item has already toggled itself when its command runs:
  // the report being left is remembered apart from the checks.
  detailsChecked_ = kind == ReportKind::Details;
  mnuSummary->setChecked(!detailsChecked_);
  mnuDetails->setChecked(detailsChecked_);
  BuildReport(kind);
  ApplyReportLayout();
  Form_Resize();
  UpdateReportStatus();
  FitToContent();
}

QString frmReport::SelectedSummaryNumber() const {
  if (detailsChecked_ || !ListView1->isVisible() || !ListView1->currentIndex().isValid()) return {};
  // The Summary's entry rows come first, one per number of the figures.
  const int shown = ListView1->currentIndex().row();
  const std::vector<int>& order = ListModel->ShownOrder();
  if (shown < 0 || std::size_t(shown) >= order.size()) return {};
  const int row = order[std::size_t(shown)];
  const auto& rows = ListModel->Report().Rows;
  if (row < 0 || std::size_t(row) >= rows.size() || rows[std::size_t(row)].Role != RowRole::Entry ||
      std::size_t(row) >= figures_.Numbers.size()) {
    return {};
  }
  return figures_.Numbers[std::size_t(row)].Number;
}

void frmReport::mnuSummary_Click() { ShowReportOfKind(ReportKind::Summary); }
void frmReport::mnuDetails_Click() { ShowReportOfKind(ReportKind::Details); }

void frmReport::mnuFormatStd_Click() {
  state_.Config.ReportListView = false;
  SetPresentationEnabled(false);
  ReportTextBox->show();
  ListView1->hide();
  fraReportHeader->hide();
  mnuFormatStd->setChecked(true);
  mnuListView->setChecked(false);
  ApplyReportLayout();
  Form_Resize();
  UpdateReportStatus();
  FitToContent();
}

void frmReport::mnuListView_Click() {
  state_.Config.ReportListView = true;
  SetPresentationEnabled(true);
  ListView1->show();
  fraReportHeader->show();
  ReportTextBox->hide();
  mnuListView->setChecked(true);
  mnuFormatStd->setChecked(false);
  ApplyReportLayout();
  Form_Resize();
  UpdateReportStatus();
  FitToContent();
}

void frmReport::mnuFontIncrease_Click() {
  fontSize_ += 1;
  ApplyListFont();
  // Larger text needs wider columns.
  LayOutColumns(true);
  UpdateReportStatus();
  FitToContent();
}

void frmReport::mnuFontDecrease_Click() {
  if (fontSize_ >= 1) {
    fontSize_ -= 1;
    ApplyListFont();
  }
  UpdateReportStatus();
}

void frmReport::mnuAutoArrange_Click() {
  AutoArrangeOn = !AutoArrangeOn;
  UpdateReportStatus();
  mnuAutoArrange->setChecked(AutoArrangeOn);
  Form_Resize();
}

void frmReport::mnuSaveSettings_Click() {
  // The menu item's check has already toggled; the setting follows it.
  state_.Config.ReportSaveSettings = mnuSaveSettings->isChecked();
}

void frmReport::mnuSaveAS_Click() {
  const QString proposed =
      DefaultReportFileName(detailsChecked_, state_.ReportStartDate, state_.ReportEndDate);
  // The documents folder, or the home folder where there is none; the name
  // carries the extension of the kind chosen last (text at first).
  QString folder = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
  if (folder.isEmpty() || !QDir(folder).exists()) folder = QDir::homePath();
  QStringList filters;
  for (const auto& format : formats_) filters << format->FileFilter();
  std::shared_ptr<const ReportFormat> format = formats_.front();
  for (const auto& f : formats_) {
    if (f->FileFilter() == saveFilter_) format = f;
  }
  const QString start = QDir(folder).filePath(proposed + QLatin1Char('.') + format->Extension());
  const QString fileName = FileDialog::GetSaveFileName(this, QStringLiteral("Save As"), start, filters, &saveFilter_);
  if (fileName.isEmpty()) return;
  // The name's extension chose the kind, and a name without one got the
  // chosen kind's: the kind and the name agree.
  format = FormatForFileName(formats_, fileName);
  for (const auto& f : formats_) {
    if (f->FileFilter() == saveFilter_) format = f;
  }
  if (!format) return;
  ReportDocument document;
  document.shown = detailsChecked_ ? ReportKind::Details : ReportKind::Summary;
  document.figures = &figures_;
  document.config = &state_.Config;
  document.locale = &state_.Locale;
  document.run = state_.LastRun.get();
  document.sessionsAsRun = &sessionsAsRun_;
  document.logCorrupt = state_.File.LogCorrupt;
  const bool both = format->Needs() == ReportNeeds::Both;
  ReportModel other;
  if (both) other = detailsChecked_ ? BuildSummaryReport(figures_, inputs_) : std::move(BuildDetailsReport(figures_, inputs_).Model);
  document.summary = !detailsChecked_ ? &built_ : both ? &other : nullptr;
  document.details = detailsChecked_ ? &built_ : both ? &other : nullptr;
  // Written beside and renamed over the target: a failed write leaves any
  // earlier file whole, and the failure is shown (Retry writes again).
  WaitCursor wait;
  RunStep(SharedErrorReporter(), [&] {
    AtomicFileWriter file(fileName, *files_);
    format->Write(document, [&file](QByteArrayView bytes) { file.Write(bytes); });
    file.Commit();
  });
}

void frmReport::mnuCopy_Click() {
  // The list as shown: its order, and the Details list through the filter.
  const std::vector<int>& order = ListModel->ShownOrder();
  auto* data = new QMimeData;
  data->setText(RowsAsTabSeparated(ListModel->Report(), order));
  data->setHtml(RowsAsHtmlTable(ListModel->Report(), order));
  QGuiApplication::clipboard()->setMimeData(data);
}

void frmReport::mnuPrint_Click() {
  QPrinter printer;
  if (!PrinterDialog::Choose(printer, this)) return;
  PrintPlainText(printer, reportText_, FixedPitchFont(10));
}

void frmReport::mnuExit_Click() { close(); }

}  // namespace mirolat
