#pragma once
// The report window: shows the Summary or Details report of the last analysis
// run as a list with a header panel or as fixed-pitch text, switches between
// them, changes the list's font size, spreads the columns over the window,
// sorts the list by a column and filters the Details list, saves the report
// in any format, copies the shown list and prints it. Window size, position, font
// size and column widths are kept per report type in the ViewReport settings.
// The window opens at the size its report needs (or the size the user left it
// at) beside the main window, follows what it shows until the user sizes it,
// and keeps the user's size when switching reports or presentations.
#include <QAction>
#include <QActionGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QFrame>
#include <QLabel>
#include <QMainWindow>
#include <QMenu>
#include <QStatusBar>
#include <QToolBar>
#include <QTreeView>
#include <array>
#include <memory>

#include "core/common/atomic_file.h"
#include "core/model/configuration.h"
#include "core/reports/report_figures.h"
#include "core/reports/report_list_rules.h"
#include "core/reports/report_model.h"
#include "ui/reports/report_table_model.h"
#include "ui/reports/report_text_view.h"

namespace mirolat {

struct AppState;
struct RunState;
class ReportFormat;

class frmReport : public QMainWindow {
  Q_OBJECT
 public:
  // Reads the configuration, locale, report range and last analysis run of
  // `state` each time a report is built; writes the window settings back into
  // state.Config. Loads the window (its settings and presentation) at once.
  explicit frmReport(AppState& state, QWidget* parent = nullptr);
  ~frmReport() override;

  // Shows the window (modeless), brings it to the front and builds the
  // checked report from the last analysis run.
  void ShowReport();
  // The dialled number of the Summary row selected in the list, or empty
  // (the Details report, the text, the totals or no row selected).
  QString SelectedSummaryNumber() const;
  // The file-system calls Save As makes (tests make them fail).
  void SetFileSystemForTesting(FileSystemOps& files) { files_ = &files; }

  // The Charts window over the same run and range.
 Q_SIGNALS:
  void ChartsRequested();

 public:
  // Program-wide Auto Arrange state: cleared at start-up, set from the
  // AutoArrange setting when the window loads, toggled by Auto Arrange.
  static bool AutoArrangeOn;

 private:
  // Controls, under the window's own names.
  QToolBar* Toolbar1 = nullptr;
  QStatusBar* StatusBar1 = nullptr;
  std::array<QLabel*, 3> StatusPanels{};  // panels 1..3
  QTreeView* ListView1 = nullptr;
  ReportTableModel* ListModel = nullptr;
  QFrame* fraReportHeader = nullptr;
  QLabel* RepTitle = nullptr;
  QLabel* lblBegin = nullptr;
  QLabel* lblEnd = nullptr;
  QLabel* lblPeriod = nullptr;
  QLabel* RepBegin = nullptr;
  QLabel* RepEnd = nullptr;
  QLabel* RepPeriod = nullptr;
  QFrame* fraWarning = nullptr;
  QLabel* RepWarn1 = nullptr;
  QLabel* RepWarn2 = nullptr;
  QLabel* RepWarn3 = nullptr;
  QFrame* fraNoConn = nullptr;
  QLabel* RepWarnNoCon1 = nullptr;
  // The Details list's filter: a number or all, only sessions with errors.
  QWidget* fraFilter = nullptr;
  QComboBox* cboNumber = nullptr;
  QCheckBox* chkErrors = nullptr;
  ReportTextView* ReportTextBox = nullptr;

  QMenu* mnuFile = nullptr;
  QAction* mnuSaveAS = nullptr;
  QAction* mnuCopy = nullptr;
  QAction* mnuPrint = nullptr;
  QAction* mnuExit = nullptr;
  QMenu* mnuView = nullptr;
  QAction* mnuSummary = nullptr;
  QAction* mnuDetails = nullptr;
  QMenu* mnuOptions = nullptr;
  QAction* mnuFormatStd = nullptr;
  QAction* mnuListView = nullptr;
  QMenu* mnuFont = nullptr;
  QAction* mnuFontIncrease = nullptr;
  QAction* mnuFontDecrease = nullptr;
  QAction* mnuAutoArrange = nullptr;
  QAction* mnuSaveSettings = nullptr;

  // The toolbar button with this key ("Save", "Print", "Exit", "Summary",
  // "Detail", "Standard", "List View", "Bigger", "Smaller"), or null. Each
  // is the QAction of its menu item, shown on the toolbar by a short text.
  QAction* ToolbarButtonByKey(const QString& key) const;
  QString PanelText(int panel) const;  // 1..3

  // The report as built: its list, header values and standard-format text.
  const ReportModel& Report() const { return ListModel->Report(); }
  // The plain text that Save As writes and Print prints.
  const QString& ReportText() const { return reportText_; }
  // The list's font size in points (it may fall to 0 or below the smallest
  // size a font can take; the list then keeps its last real size).
  float ListFontSize() const { return fontSize_; }
  bool DetailsShown() const { return detailsChecked_; }
  bool ListViewShown() const { return mnuListView->isChecked(); }
  // Column widths of the list in twips, at the screen's logical resolution.
  int ColumnWidthTwips(int column) const;
  void SetColumnWidthTwips(int column, double twips);
  // Window width and height in twips.
  int WidthTwips() const;
  int HeightTwips() const;

  // Window procedures.
  void Form_Load();
  void Form_Activate();
  void Form_Unload();
  void Form_Resize();  // the layout step
  void StoreReportLayout();
  void ApplyReportLayout();
  void UpdateReportStatus();

 private Q_SLOTS:
  // Commands.
  void mnuSummary_Click();
  void mnuDetails_Click();
  void mnuFormatStd_Click();
  void mnuListView_Click();
  void mnuFontIncrease_Click();
  void mnuFontDecrease_Click();
  void mnuAutoArrange_Click();
  void mnuSaveSettings_Click();
  void mnuSaveAS_Click();
  void mnuCopy_Click();
  void mnuPrint_Click();
  void Filter_Change();
  void mnuExit_Click();

 protected:
  void changeEvent(QEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;

 private:
  FileSystemOps* files_ = &FileSystemOps::System();
  void BuildCommands();
  void BuildControls();
  void ShowReportOfKind(ReportKind kind);
  void BuildReport(ReportKind kind);
  // The Details filter's numbers for the figures just built, the chosen one
  // kept while it is still there.
  void FillFilterChoices();
  // The list: the built report, the Details list through the filter.
  void ShowListRows();
  void SetPresentationEnabled(bool listView);
  void ApplyListFont();
  // Hides the columns with neither title nor text; with `widen`, gives every
  // other column at least the width its title and text need.
  void LayOutColumns(bool widen);
  // The first opening's size and place, from the checked report's record or,
  // when it holds none, the size the report needs beside the main window.
  void PlaceAtOpening();
  // The size that shows all the window shows, while the user has given it none.
  void FitToContent();
  // The screen's free area and the window manager's frame around the window.
  void FreeArea(QRect& available, QSize& frame) const;
  // The size that shows the whole report (with scroll bars where it is
  // larger than `room`), and that size fitted to the free area.
  QSize ContentSize(const QSize& room);
  QSize FittedSize(const QRect& available, const QSize& frame);
  void ResizeByProgram(const QSize& size);
  // The layout step's parts: the header panel for a window `windowWidth`
  // wide, and the Auto Arrange widths.
  void ArrangeHeaderFor(int windowWidth);
  void AutoArrangeColumns();
  ReportWindowSettings& LayoutOfCheckedReport();
  double DpiX() const;
  double DpiY() const;
  bool NormalState() const;

  AppState& state_;
  QString reportText_;
  // The figures and inputs of the last build and the report built of them;
  // the other report is made of the same figures when a format needs it.
  ReportFigures figures_;
  ReportInputs inputs_;
  ReportModel built_;
  // The run's sessions before the first build added remarks to their notes
  // (JSON keeps them as the run left them), and the run they are of.
  std::vector<Session> sessionsAsRun_;
  std::weak_ptr<RunState> sessionsRun_;
  std::vector<std::shared_ptr<const ReportFormat>> formats_;
  QString saveFilter_;  // the Save As kind chosen last
  float fontSize_ = 9;
  bool detailsChecked_ = false;  // Details checked rather than Summary
  bool loaded_ = false;
  bool unloaded_ = false;
  bool building_ = false;
  bool skipNextActivation_ = false;
  bool freshRun_ = false;
  bool placed_ = false;     // the window has had its opening size and place
  bool userSized_ = false;  // the size is the user's (stored, or set since)
  QSize programSize_;       // the size the window last gave itself
  // The run the list holds, and the run each report's columns (Summary,
  // Details) were last widened to.
  std::weak_ptr<RunState> builtRun_;
  std::array<std::weak_ptr<RunState>, 2> widenedRun_;
  // The twips each column was last given, so unchanged widths are stored back exactly.
  std::array<int, 7> appliedColumnTwips_{};
  QList<QAction*> toolbarButtons_;
};

}  // namespace mirolat
