#include "ui/reports/frm_report.h"

#include <QApplication>
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
#include <QPointer>
#include <QPrinter>
#include <QSaveFile>
#include <QStandardPaths>
#include <QVBoxLayout>

#include "core/analysis/session_builder.h"
#include "core/app/app_state.h"
#include "core/reports/details_report.h"
#include "core/reports/summary_report.h"
#include "core/settings/configuration_io.h"
#include "ui/common/end_program.h"
#include "ui/common/help_window.h"
#include "ui/dialogs/desktop_error_reporter.h"
#include "ui/dialogs/file_dialog.h"
#include "ui/dialogs/printer_dialog.h"
#include "ui/main/frm_main.h"
#include "ui/main/main_window_hooks.h"
#include "ui/reports/report_layout.h"
#include "ui/reports/report_screenshots.h"

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

// The waiting cursor while a report is built.
class WaitCursor {
 public:
  WaitCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
  ~WaitCursor() { QApplication::restoreOverrideCursor(); }
  WaitCursor(const WaitCursor&) = delete;
  WaitCursor& operator=(const WaitCursor&) = delete;
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
  BuildControls();
  BuildMenus();
  BuildToolbar();
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

  ListModel = new ReportTableModel(this);
  ListView1 = new QTreeView(central);
  ListView1->setObjectName(QStringLiteral("ListView1"));
  ListView1->setModel(ListModel);
  ListView1->setRootIsDecorated(false);
  ListView1->setItemsExpandable(false);
  ListView1->setUniformRowHeights(true);
  ListView1->setAllColumnsShowFocus(true);
  ListView1->setTextElideMode(Qt::ElideNone);
  ListView1->setEditTriggers(QAbstractItemView::NoEditTriggers);
  ListView1->header()->setStretchLastSection(false);
  ListView1->header()->setSectionsMovable(false);
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
  for (int i = 0; i < 3; ++i) {
    auto* panel = new QLabel(StatusBar1);
    panel->setObjectName(QStringLiteral("Panel%1").arg(i + 1));
    panel->setFrameShape(QFrame::StyledPanel);
    panel->setFrameShadow(QFrame::Sunken);
    StatusBar1->addWidget(panel, i == 0 ? 2 : 1);
    StatusPanels[static_cast<std::size_t>(i)] = panel;
  }
  setStatusBar(StatusBar1);
}

void frmReport::BuildMenus() {
  auto action = [this](QMenu* menu, const QString& name, const QString& caption, const QKeySequence& key,
                       void (frmReport::*handler)()) {
    auto* a = menu->addAction(caption);
    a->setObjectName(name);
    if (!key.isEmpty()) a->setShortcut(key);
    connect(a, &QAction::triggered, this, handler);
    return a;
  };

  mnuFile = menuBar()->addMenu(QStringLiteral("&File"));
  mnuFile->setObjectName(QStringLiteral("mnuFile"));
  mnuSaveAS = action(mnuFile, QStringLiteral("mnuSaveAS"), QStringLiteral("Save &As"), {}, &frmReport::mnuSaveAS_Click);
  mnuPrint = action(mnuFile, QStringLiteral("mnuPrint"), QStringLiteral("&Print"), QKeySequence(Qt::CTRL | Qt::Key_P),
                    &frmReport::mnuPrint_Click);
  mnuFile->addSeparator();
  mnuExit = action(mnuFile, QStringLiteral("mnuExit"), QStringLiteral("&Close"), QKeySequence(Qt::CTRL | Qt::Key_X),
                   &frmReport::mnuExit_Click);

  mnuView = menuBar()->addMenu(QStringLiteral("&View"));
  mnuView->setObjectName(QStringLiteral("mnuView"));
  mnuSummary = action(mnuView, QStringLiteral("mnuSummary"), QStringLiteral("&Summary Report"), QKeySequence(Qt::Key_F2),
                      &frmReport::mnuSummary_Click);
  mnuDetails = action(mnuView, QStringLiteral("mnuDetails"), QStringLiteral("&Details Report"), QKeySequence(Qt::Key_F3),
                      &frmReport::mnuDetails_Click);
  mnuSummary->setCheckable(true);
  mnuDetails->setCheckable(true);
  mnuSummary->setChecked(true);

  mnuOptions = menuBar()->addMenu(QStringLiteral("&Options"));
  mnuOptions->setObjectName(QStringLiteral("mnuOptions"));
  mnuFormatStd = action(mnuOptions, QStringLiteral("mnuFormatStd"), QStringLiteral("&Standard Format"),
                        QKeySequence(Qt::Key_F4), &frmReport::mnuFormatStd_Click);
  mnuListView = action(mnuOptions, QStringLiteral("mnuListView"), QStringLiteral("&List View Format"),
                       QKeySequence(Qt::Key_F5), &frmReport::mnuListView_Click);
  mnuFormatStd->setCheckable(true);
  mnuListView->setCheckable(true);
  mnuListView->setChecked(true);
  mnuFont = mnuOptions->addMenu(QStringLiteral("&Font Size"));
  mnuFont->setObjectName(QStringLiteral("mnuFont"));
  mnuFontIncrease = action(mnuFont, QStringLiteral("mnuFontIncrease"), QStringLiteral("&Increase"),
                           QKeySequence(Qt::CTRL | Qt::Key_I), &frmReport::mnuFontIncrease_Click);
  mnuFontDecrease = action(mnuFont, QStringLiteral("mnuFontDecrease"), QStringLiteral("&Decrease"),
                           QKeySequence(Qt::CTRL | Qt::Key_D), &frmReport::mnuFontDecrease_Click);
  mnuOptions->addSeparator();
  mnuAutoArrange = action(mnuOptions, QStringLiteral("mnuAutoArrange"), QStringLiteral("&Auto Arrange"),
                          QKeySequence(Qt::Key_F6), &frmReport::mnuAutoArrange_Click);
  mnuAutoArrange->setCheckable(true);
  mnuOptions->addSeparator();
  mnuSaveSettings = action(mnuOptions, QStringLiteral("mnuSaveSettings"), QStringLiteral("&Save Settings on Exit"), {},
                           &frmReport::mnuSaveSettings_Click);
  mnuSaveSettings->setCheckable(true);
}

QAction* frmReport::AddButton(const QString& key, const QString& text, const QString& tooltip, QActionGroup* group) {
  auto* button = Toolbar1->addAction(text);
  button->setObjectName(key);
  button->setData(key);
  button->setToolTip(tooltip);
  if (group != nullptr) {
    button->setCheckable(true);
    group->addAction(button);
  }
  toolbarButtons_.append(button);
  return button;
}

void frmReport::BuildToolbar() {
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

  reportButtons_ = new QActionGroup(this);
  reportButtons_->setExclusive(true);
  formatButtons_ = new QActionGroup(this);
  formatButtons_->setExclusive(true);

  AddButton(QStringLiteral("Save"), QStringLiteral("Save"), QStringLiteral("Save Report"), nullptr);
  AddButton(QStringLiteral("Print"), QStringLiteral("Print"), QStringLiteral("Print Report"), nullptr);
  AddButton(QStringLiteral("Exit"), QStringLiteral("Close"), QStringLiteral("Close Report"), nullptr);
  Toolbar1->addSeparator();
  AddButton(QStringLiteral("Summary"), QStringLiteral("Summary"), QStringLiteral("Summary Report"), reportButtons_);
  AddButton(QStringLiteral("Detail"), QStringLiteral("Detail"), QStringLiteral("Detail Report"), reportButtons_);
  Toolbar1->addSeparator();
  AddButton(QStringLiteral("Standard"), QStringLiteral("Standard"), QStringLiteral("Standard View"), formatButtons_);
  AddButton(QStringLiteral("List View"), QStringLiteral("List"), QStringLiteral("List View"), formatButtons_);
  Toolbar1->addSeparator();
  AddButton(QStringLiteral("Bigger"), QStringLiteral("A+"), QStringLiteral("Increase Text Size"), nullptr);
  AddButton(QStringLiteral("Smaller"), QStringLiteral("A-"), QStringLiteral("Decrease Text Size"), nullptr);
  connect(Toolbar1, &QToolBar::actionTriggered, this, &frmReport::Toolbar1_ButtonClick);
  SyncButtons();
}

QAction* frmReport::ToolbarButtonByKey(const QString& key) const {
  for (QAction* button : toolbarButtons_) {
    if (button->data().toString() == key) return button;
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
  SyncButtons();
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
  if (detailsChecked_) {
    ToolbarButtonByKey(QStringLiteral("Detail"))->setChecked(true);
    mnuDetails_Click();
  } else {
    ToolbarButtonByKey(QStringLiteral("Summary"))->setChecked(true);
    mnuSummary_Click();
  }
}

void frmReport::Form_Unload() {
  if (unloaded_) return;
  unloaded_ = true;
  StoreReportLayout();
  Configuration& config = state_.Config;
  config.ReportSaveSettings = mnuSaveSettings->isChecked();
  config.ReportAutoArrange = mnuAutoArrange->isChecked();
  config.ReportListView = mnuListView->isChecked();
  if (!state_.Store) return;
  if (config.ReportSaveSettings) {
    SaveConfiguration(*state_.Store, config, SharedErrorReporter());
  } else {
    // Only the flag: the stored layouts and presentation stay as they were.
    SettingsStore& store = *state_.Store;
    RunStep(SharedErrorReporter(), [&store] {
      store.SettingsWriteValue(Root::Machine, kViewReportKey, QStringLiteral("SaveSettings"), 0,
                               static_cast<int>(ValueKind::Number));
    });
  }
}

ReportWindowSettings& frmReport::LayoutOfCheckedReport() {
  return detailsChecked_ ? state_.Config.DetailReport : state_.Config.SummaryReport;
}

void frmReport::StoreReportLayout() {
  ReportWindowSettings& layout = LayoutOfCheckedReport();
  if (NormalState()) {
    layout.WinHeight = PixelsToTwipsKeeping(height(), DpiY(), layout.WinHeight);
    layout.WinWidth = PixelsToTwipsKeeping(width(), DpiX(), layout.WinWidth);
    layout.WinLeft = PixelsToTwipsKeeping(x(), DpiX(), layout.WinLeft);
    layout.WinTop = PixelsToTwipsKeeping(y(), DpiY(), layout.WinTop);
  }
  layout.FontSize = fontSize_;
  const int columns = std::min(ListModel->columnCount(), kStoredColumns);
  for (int i = 0; i < columns; ++i) layout.Columns[static_cast<std::size_t>(i)] = ColumnWidthTwips(i);
}

void frmReport::ApplyReportLayout() {
  const ReportWindowSettings& layout = LayoutOfCheckedReport();
  if (NormalState()) {
    const int h = layout.WinHeight != 0 ? TwipsToPixels(layout.WinHeight, DpiY()) : height();
    const int w = layout.WinWidth != 0 ? TwipsToPixels(layout.WinWidth, DpiX()) : width();
    if (h != height() || w != width()) resize(w, h);
    const int top = layout.WinTop != 0 ? TwipsToPixels(layout.WinTop, DpiY()) : y();
    const int left = layout.WinLeft != 0 ? TwipsToPixels(layout.WinLeft, DpiX()) : x();
    // A place on a screen no longer attached would hide the window: it stays put then.
    const bool onScreen = QGuiApplication::screenAt(QPoint(left + w / 2, top + h / 2)) != nullptr;
    if ((top != y() || left != x()) && onScreen) move(left, top);
  }
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
  // through its layouts; the frames of the header sit 120 twips from its edge.
  const int margin = TwipsToPixels(kFrameMarginTwips, DpiX());
  if (auto* header = fraReportHeader->layout()) {
    QMargins m = header->contentsMargins();
    m.setRight(margin);
    header->setContentsMargins(m);
  }
  if (!AutoArrangeOn) return;
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
  if (loaded_) Form_Resize();
}

void frmReport::ShowReport() {
  skipNextActivation_ = !isActiveWindow();
  show();
  raise();
  activateWindow();
  Form_Activate();
  MaybeTakeReportScreenshots(*this);
}

// ---------------------------------------------------------------------------
// Building

void frmReport::BuildReport(ReportKind kind) {
  building_ = true;
  WaitCursor wait;
  ReportInputs inputs;
  inputs.config = &state_.Config;
  inputs.locale = &state_.Locale;
  inputs.ReportStartDate = state_.ReportStartDate;
  inputs.ReportEndDate = state_.ReportEndDate;
  if (!state_.LastRun) {
    // Nothing analysed yet: an empty run.
    state_.LastRun = std::make_shared<RunState>();
    state_.LastRun->Tables.Create(state_.Config.MaxServices, 0);
  }
  RunState& run = *state_.LastRun;
  inputs.ErrorsFound = run.ErrorsFound;

  ReportModel model;
  if (kind == ReportKind::Details) {
    ReportStatusProgress progress(StatusPanels[0]);
    model = std::move(BuildDetailsReport(run.Tables, inputs, progress).Model);
  } else {
    model = BuildSummaryReport(run.Tables, inputs);
  }

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
  ListModel->SetReport(std::move(model));
  for (std::size_t i = 0; i < widths.size(); ++i) SetColumnWidthTwips(static_cast<int>(i), widths[i]);

  ReportTextBox->setPlainText(reportText_);
  building_ = false;
}

void frmReport::ApplyListFont() {
  // A size a font cannot take leaves the list at its last real size.
  if (fontSize_ < 1) return;
  QFont font = ListView1->font();
  font.setFamily(QStringLiteral("Arial"));
  font.setPointSizeF(fontSize_);
  ListView1->setFont(font);
}

void frmReport::SyncButtons() {
  ToolbarButtonByKey(QStringLiteral("Summary"))->setChecked(!detailsChecked_);
  ToolbarButtonByKey(QStringLiteral("Detail"))->setChecked(detailsChecked_);
  ToolbarButtonByKey(QStringLiteral("Standard"))->setChecked(mnuFormatStd->isChecked());
  ToolbarButtonByKey(QStringLiteral("List View"))->setChecked(mnuListView->isChecked());
}

void frmReport::SetPresentationEnabled(bool listView) {
  mnuFont->setEnabled(listView);
  mnuFont->menuAction()->setEnabled(listView);
  mnuFontIncrease->setEnabled(listView);
  mnuFontDecrease->setEnabled(listView);
  ToolbarButtonByKey(QStringLiteral("Bigger"))->setEnabled(listView);
  ToolbarButtonByKey(QStringLiteral("Smaller"))->setEnabled(listView);
  mnuAutoArrange->setEnabled(listView);
}

// ---------------------------------------------------------------------------
// Commands

void frmReport::ShowReportOfKind(ReportKind kind) {
  StoreReportLayout();
  // A checkable menu item has already toggled itself when its command runs:
  // the report being left is remembered apart from the checks.
  detailsChecked_ = kind == ReportKind::Details;
  mnuSummary->setChecked(!detailsChecked_);
  mnuDetails->setChecked(detailsChecked_);
  SyncButtons();
  BuildReport(kind);
  ApplyReportLayout();
  Form_Resize();
  UpdateReportStatus();
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
  SyncButtons();
  ApplyReportLayout();
  Form_Resize();
  UpdateReportStatus();
}

void frmReport::mnuListView_Click() {
  state_.Config.ReportListView = true;
  SetPresentationEnabled(true);
  ListView1->show();
  fraReportHeader->show();
  ReportTextBox->hide();
  mnuListView->setChecked(true);
  mnuFormatStd->setChecked(false);
  SyncButtons();
  ApplyReportLayout();
  Form_Resize();
  UpdateReportStatus();
}

void frmReport::mnuFontIncrease_Click() {
  fontSize_ += 1;
  ApplyListFont();
  UpdateReportStatus();
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
  // carries the text files' extension, which the dialog does not add itself.
  QString folder = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
  if (folder.isEmpty() || !QDir(folder).exists()) folder = QDir::homePath();
  const QString fileName =
      FileDialog::GetSaveFileName(this, QStringLiteral("Save As"), QDir(folder).filePath(proposed + QStringLiteral(".txt")),
                                  QStringLiteral("Text (*.txt)"));
  if (fileName.isEmpty()) return;
  // Written beside and renamed over the target: a failed write leaves any
  // earlier file whole. Other failures are passed over, as the command does.
  QSaveFile file(fileName);
  if (!file.open(QIODevice::WriteOnly)) return;
  file.write((reportText_ + QLatin1Char('\n')).toUtf8());
  file.commit();
}

void frmReport::mnuPrint_Click() {
  QPrinter printer;
  if (!PrinterDialog::Choose(printer, this)) return;
  PrintPlainText(printer, reportText_, FixedPitchFont(10));
}

void frmReport::mnuExit_Click() { close(); }

void frmReport::Toolbar1_ButtonClick(QAction* button) {
  if (button == nullptr) return;
  const QString key = button->data().toString();
  if (key == QLatin1String("Save")) {
    mnuSaveAS_Click();
  } else if (key == QLatin1String("Print")) {
    mnuPrint_Click();
  } else if (key == QLatin1String("Exit")) {
    mnuExit_Click();
  } else if (key == QLatin1String("Summary")) {
    mnuSummary_Click();
  } else if (key == QLatin1String("Detail")) {
    mnuDetails_Click();
  } else if (key == QLatin1String("Standard")) {
    mnuFormatStd_Click();
  } else if (key == QLatin1String("List View")) {
    mnuListView_Click();
  } else if (key == QLatin1String("Bigger")) {
    mnuFontIncrease_Click();
  } else if (key == QLatin1String("Smaller")) {
    mnuFontDecrease_Click();
  }
}

// ---------------------------------------------------------------------------

void InstallReportWindow() {
  MainHooks().ShowReport = [](frmMain& main, AppState& state) {
    static QPointer<frmReport> window;
    if (window.isNull()) window = new frmReport(state, &main);
    window->ShowReport();
  };
}

}  // namespace mirolat
