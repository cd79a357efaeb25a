#include "ui/charts/frm_charts.h"

#include <QActionGroup>
#include <QChartView>
#include <QComboBox>
#include <QDir>
#include <QEvent>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenuBar>
#include <QStandardPaths>
#include <QTabBar>
#include <QVBoxLayout>

#include "core/app/app_state.h"
#include "core/common/atomic_file.h"
#include "core/common/progress.h"
#include "ui/common/help_window.h"
#include "ui/dialogs/desktop_error_reporter.h"
#include "ui/dialogs/file_dialog.h"
#include "ui/dialogs/message_box.h"
#include "ui/dialogs/wait_cursor.h"

namespace mirolat {

namespace {

// F1 in the Charts window: the page on the charts.
constexpr int kChartsHelpTopic = 65;

struct KindSpec {
  ChartKind kind;
  const char* id;       // as `mirolat-cli chart --kind` names it
  const char* caption;  // the tab's and the View menu item's
  const char* shortcut;
};
constexpr KindSpec kKinds[] = {
    {ChartKind::Daily, "daily", "&Time and Cost", "Ctrl+1"},
    {ChartKind::Share, "share", "&Shares", "Ctrl+2"},
    {ChartKind::HeatMap, "heatmap", "&Hours of the Week", "Ctrl+3"},
    {ChartKind::Cumulative, "cumulative", "C&umulative Cost", "Ctrl+4"},
};

}  // namespace

frmCharts::frmCharts(AppState& state, QWidget* parent) : QMainWindow(parent, Qt::Window), state_(state) {
  setObjectName(QStringLiteral("frmCharts"));
  setWindowTitle(QStringLiteral("MRL Charts"));
  setAttribute(Qt::WA_DeleteOnClose);
  BuildControls();
  BuildCommands();
  InstallHelpKey(this, kChartsHelpTopic);
  setMinimumSize(480, 360);
  resize(920, 680);
}

frmCharts::~frmCharts() = default;

void frmCharts::BuildControls() {
  auto* central = new QWidget(this);
  auto* layout = new QVBoxLayout(central);
  layout->setContentsMargins(6, 6, 6, 6);
  auto* top = new QHBoxLayout;
  tabKinds = new QTabBar(central);
  tabKinds->setObjectName(QStringLiteral("tabKinds"));
  tabKinds->setExpanding(false);
  for (const KindSpec& k : kKinds) tabKinds->addTab(QString::fromLatin1(k.caption));
  connect(tabKinds, &QTabBar::currentChanged, this, [this](int index) { SetKind(kKinds[index].kind); });
  top->addWidget(tabKinds);
  top->addStretch();
  lblPeriod = new QLabel(QStringLiteral("&Period:"), central);
  lblPeriod->setObjectName(QStringLiteral("lblPeriod"));
  cboPeriod = new QComboBox(central);
  cboPeriod->setObjectName(QStringLiteral("cboPeriod"));
  cboPeriod->addItems({QStringLiteral("Automatic"), QStringLiteral("Days"), QStringLiteral("Weeks"),
                       QStringLiteral("Months")});
  lblPeriod->setBuddy(cboPeriod);
  connect(cboPeriod, &QComboBox::currentIndexChanged, this, [this] { Redraw(); });
  top->addWidget(lblPeriod);
  top->addWidget(cboPeriod);
  layout->addLayout(top);
  fraCharts = new QWidget(central);
  fraCharts->setObjectName(QStringLiteral("fraCharts"));
  chartsLayout_ = new QVBoxLayout(fraCharts);
  chartsLayout_->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(fraCharts, 1);
  setCentralWidget(central);
}

void frmCharts::BuildCommands() {
  QMenu* file = menuBar()->addMenu(QStringLiteral("&File"));
  file->setObjectName(QStringLiteral("mnuFile"));
  mnuSaveAs = file->addAction(QStringLiteral("Save &As..."));
  mnuSaveAs->setObjectName(QStringLiteral("mnuSaveAs"));
  mnuSaveAs->setShortcut(QKeySequence::Save);
  connect(mnuSaveAs, &QAction::triggered, this, &frmCharts::mnuSaveAs_Click);
  file->addSeparator();
  mnuClose = file->addAction(QStringLiteral("&Close"));
  mnuClose->setObjectName(QStringLiteral("mnuClose"));
  mnuClose->setShortcuts(QKeySequence::keyBindings(QKeySequence::Close) << QKeySequence(Qt::Key_Escape));
  connect(mnuClose, &QAction::triggered, this, &QWidget::close);

  QMenu* view = menuBar()->addMenu(QStringLiteral("&View"));
  view->setObjectName(QStringLiteral("mnuView"));
  kindGroup_ = new QActionGroup(this);
  for (const KindSpec& k : kKinds) {
    QAction* item = view->addAction(QString::fromLatin1(k.caption));
    item->setObjectName(QStringLiteral("mnuKind_%1").arg(QLatin1String(k.id)));
    item->setShortcut(QKeySequence(QString::fromLatin1(k.shortcut)));
    item->setCheckable(true);
    kindGroup_->addAction(item);
    const ChartKind kind = k.kind;
    connect(item, &QAction::triggered, this, [this, kind] { SetKind(kind); });
    kindItems_.push_back(item);
  }
  kindItems_.front()->setChecked(true);

  QMenu* help = menuBar()->addMenu(QStringLiteral("&Help"));
  help->setObjectName(QStringLiteral("mnuHelp"));
  QAction* topic = help->addAction(QStringLiteral("&Charts Help"));
  topic->setObjectName(QStringLiteral("mnuChartsHelp"));
  connect(topic, &QAction::triggered, this, [] { ShowHelp(kChartsHelpTopic); });
}

void frmCharts::ShowCharts() {
  {
    WaitCursor wait;
    const ReportInputs inputs = ReportInputsOf(state_);
    NullProgress quiet;
    if (state_.LastRun) {
      figures_ = BuildReportFigures(state_.LastRun->Tables, inputs, quiet);
    } else {
      // Nothing analysed yet: the range without a connection in it.
      figures_ = ReportFigures{};
      figures_.ReportStartDate = state_.ReportStartDate;
      figures_.ReportEndDate = state_.ReportEndDate;
    }
  }
  Redraw();
  show();
  raise();
  activateWindow();
}

void frmCharts::SetKind(ChartKind kind) {
  const int index = int(kind);
  if (tabKinds->currentIndex() != index) {
    tabKinds->setCurrentIndex(index);  // whose signal comes back here
    return;
  }
  kind_ = kind;
  kindItems_[std::size_t(index)]->setChecked(true);
  Redraw();
}

ChartOptions frmCharts::Options() const {
  ChartOptions options;
  static constexpr ChartPeriod kPeriods[] = {ChartPeriod::Automatic, ChartPeriod::Day, ChartPeriod::Week,
                                             ChartPeriod::Month};
  options.period = kPeriods[std::max(0, cboPeriod->currentIndex())];
  options.dark = DarkDesktop();
  options.locale = &state_.Locale;
  return options;
}

bool frmCharts::DarkDesktop() const { return palette().color(QPalette::Window).lightness() < 128; }

void frmCharts::Redraw() {
  const bool daily = kind_ == ChartKind::Daily;
  lblPeriod->setEnabled(daily);
  cboPeriod->setEnabled(daily);
  for (QChartView* view : views_) delete view;
  views_.clear();
  std::vector<std::unique_ptr<QChart>> charts = BuildCharts(kind_, figures_, Options());
  for (std::unique_ptr<QChart>& chart : charts) {
    InstallChartToolTips(*chart);
    auto* view = new QChartView(chart.release(), fraCharts);  // the view owns its chart
    view->setObjectName(QStringLiteral("ChartView%1").arg(views_.size() + 1));
    view->setRenderHint(QPainter::Antialiasing);
    view->setFocusPolicy(Qt::NoFocus);
    view->setMinimumHeight(180);
    chartsLayout_->addWidget(view, 1);  // two charts share the height evenly
    views_.push_back(view);
  }
}

void frmCharts::changeEvent(QEvent* event) {
  QMainWindow::changeEvent(event);
  if (event->type() == QEvent::PaletteChange && tabKinds != nullptr) Redraw();
}

void frmCharts::mnuSaveAs_Click() {
  QString folder = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
  if (folder.isEmpty() || !QDir(folder).exists()) folder = QDir::homePath();
  const QString proposed = QStringLiteral("chart-%1-%2-%3.png")
                               .arg(QLatin1String(kKinds[int(kind_)].id), DateToIso(figures_.ReportStartDate),
                                    DateToIso(figures_.ReportEndDate));
  const QString fileName =
      FileDialog::GetSaveFileName(this, QStringLiteral("Save Chart As"), QDir(folder).filePath(proposed),
                                  QStringLiteral("PNG image (*.png);;SVG drawing (*.svg)"), QStringLiteral("png"));
  if (fileName.isEmpty()) return;
  const QString suffix = QFileInfo(fileName).suffix().toLower();
  if (suffix != QLatin1String("png") && suffix != QLatin1String("svg")) {
    MessageBox::Show(QStringLiteral("A chart is saved as a PNG picture (.png) or an SVG drawing (.svg); "
                                    "'%1' is neither.")
                         .arg(QFileInfo(fileName).fileName()),
                     MessageButtons::Ok, MessageIcon::Exclamation, QString(), this);
    return;
  }
  // The picture at the size it has on the screen, not smaller than a page's width.
  const QSize size = fraCharts->size().expandedTo(QSize(640, 400));
  QByteArray bytes;
  {
    WaitCursor wait;
    bytes = suffix == QLatin1String("svg") ? ChartSvg(kind_, figures_, size, Options())
                                           : ChartPng(kind_, figures_, size, Options());
  }
  // Written beside and renamed over the target: a failed write leaves any
  // earlier file whole, and the failure is shown (Retry writes again).
  RunStep(SharedErrorReporter(), [&] { WriteFileAtomically(fileName, bytes); });
}

}  // namespace mirolat
