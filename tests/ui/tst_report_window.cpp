// The report window's parts the report journey does not reach: per-report
// layouts, Auto Arrange, font size, the status bar, rebuilding on activation,
// a full disk on saving and what closing writes to the settings store.
#include <QAbstractItemModelTester>
#include <QClipboard>
#include <QGuiApplication>
#include <QMouseEvent>
#include <QFile>
#include <QHeaderView>
#include <QPointer>
#include <QScreen>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTest>
#include <memory>

#include "core/analysis/session_builder.h"
#include "core/app/app_state.h"
#include "core/common/locale_values.h"
#include "core/settings/configuration_io.h"
#include "core/settings/settings_store.h"
#include "support/common_test_env.h"
#include "ui/common/help_window.h"
#include "ui/dialogs/desktop_error_reporter.h"
#include "ui/dialogs/file_dialog.h"
#include "ui/dialogs/message_box.h"
#include "ui/dialogs/printer_dialog.h"
#include "ui/reports/frm_report.h"
#include "ui/reports/report_layout.h"
#include "ui/reports/report_text_view.h"

using namespace mirolat;

namespace {

// Three sessions in January 1998 on two numbers, none of them answered.
std::shared_ptr<RunState> JanuaryRun(const Configuration& config) {
  auto run = std::make_shared<RunState>();
  SessionTable& t = run->Tables;
  t.Create(config.MaxServices, config.MaxConnections);
  t.ServiceTotals[1] = {QStringLiteral("5551234"), 3725, 1, 2.5, 1843};
  t.ServiceTotals[2] = {QStringLiteral("5559876"), 1200, 2, 1.0, 3174};
  t.ServiceTotalsCount = 2;
  t.Sessions[1] = {MakeDate(1998, 1, 5), MakeTime(10, 0, 0), MakeDate(1998, 1, 5), MakeTime(11, 2, 5),
                   QStringLiteral("5551234"), QString(), false, 1843, 400};
  t.Sessions[2] = {MakeDate(1998, 1, 6), MakeTime(20, 0, 0), MakeDate(1998, 1, 6), MakeTime(20, 10, 0),
                   QStringLiteral("5559876"), QString(), false, 1000, 300};
  t.Sessions[3] = {MakeDate(1998, 1, 7), MakeTime(8, 0, 0), MakeDate(1998, 1, 7), MakeTime(8, 10, 0),
                   QStringLiteral("5559876"), QString(), false, 2174, 200};
  t.SessionCount = 3;
  return run;
}

// `count` sessions on one number through January 1998, with long notes.
std::shared_ptr<RunState> LongRun(const Configuration& config, int count) {
  auto run = std::make_shared<RunState>();
  SessionTable& t = run->Tables;
  t.Create(config.MaxServices, count + 1);
  t.ServiceTotals[1] = {QStringLiteral("5551234"), 600 * count, count, 0.5 * count, 1000LL * count};
  t.ServiceTotalsCount = 1;
  for (int i = 1; i <= count; ++i) {
    const Date day = MakeDate(1998, 1, 1 + (i - 1) % 28);
    t.Sessions[i] = {day, MakeTime(10, 0, 0), day, MakeTime(10, 10, 0), QStringLiteral("5551234"),
                     QStringLiteral("Connection established at 33600bps after a long wait for the line"), false, 1000,
                     200};
  }
  t.SessionCount = count;
  return run;
}

QByteArray ReadAll(const QString& path) {
  QFile f(path);
  if (!f.open(QIODevice::ReadOnly)) return {};
  return f.readAll();
}

}  // namespace

class TestReportWindow : public QObject {
  Q_OBJECT

 private:
  std::unique_ptr<test::CommonTestEnvironment> env_;
  std::unique_ptr<AppState> state_;
  QPointer<frmReport> window_;

  double Dpi() const { return window_->logicalDpiX(); }
  int ColumnPixels(int column) const { return window_->ListView1->header()->sectionSize(column); }
  // Opens the window on the current state and shows the checked report.
  void Open() {
    window_ = new frmReport(*state_);
    window_->ShowReport();
    QVERIFY(QTest::qWaitForWindowExposed(window_));
  }

 private Q_SLOTS:
  void init() {
    env_ = std::make_unique<test::CommonTestEnvironment>();
    state_ = std::make_unique<AppState>();
    state_->Locale = LoadLocaleInfo(QLocale(QLocale::English, QLocale::UnitedStates));
    BuildDayNames(state_->Locale);
    state_->Store = std::make_shared<SettingsStore>(SettingsStore::FilePathIn(env_->ConfigDir()));
    QVERIFY(SaveConfiguration(*state_->Store, state_->Config, SharedErrorReporter()));
    state_->ReportStartDate = MakeDate(1998, 1, 1);
    state_->ReportEndDate = MakeDate(1998, 1, 31);
    state_->PeriodDays = 31;
    state_->LastRun = JanuaryRun(state_->Config);
    frmReport::AutoArrangeOn = false;
  }

  void cleanup() {
    delete window_.data();
    state_.reset();
    env_.reset();
  }

  // The list's model stays consistent through rebuilds and sorts, and the
  // selected row follows its entry when the list is sorted.
  void listModelIsConsistent() {
    Open();
    QAbstractItemModelTester tester(window_->ListModel, QAbstractItemModelTester::FailureReportingMode::QtTest);
    window_->mnuDetails->trigger();
    window_->ListView1->setCurrentIndex(window_->ListModel->index(4, 5));  // the third session's first row
    window_->ListModel->sort(5);  // by duration: the two of 00:10:00 in their order, then 01:02:05
    QCOMPARE(window_->ListModel->index(5, 5).data().toString(), QStringLiteral("01:02:05"));
    QCOMPARE(window_->ListView1->currentIndex().row(), 2);
    window_->mnuSummary->trigger();
    window_->ListModel->sort(-1);
    QCOMPARE(window_->ListModel->index(0, 1).data().toString(), QStringLiteral("5551234"));
  }

  void headerFrames() {
    state_->LastRun->ErrorsFound = true;
    Open();
    QVERIFY(window_->fraWarning->isVisible());
    QVERIFY(!window_->fraNoConn->isVisible());
    QCOMPARE(window_->RepWarn3->text(), QStringLiteral("Check details report."));
    delete window_.data();

    // No sessions at all: the no-connections frame and no warning.
    state_->LastRun = std::make_shared<RunState>();
    state_->LastRun->Tables.Create(state_->Config.MaxServices, state_->Config.MaxConnections);
    Open();
    QVERIFY(window_->fraNoConn->isVisible());
    QVERIFY(!window_->fraWarning->isVisible());
    QCOMPARE(window_->ListModel->rowCount(), 0);
  }

  // Each report keeps its own column widths; switching keeps the window's size.
  void columnWidthsPerReportInOneWindowSize() {
    state_->Config.DetailReport.Columns[2] = 1500;
    Open();
    const double dpi = Dpi();
    window_->resize(700, 400);
    QTRY_COMPARE(window_->width(), 700);
    window_->ListView1->header()->resizeSection(2, 150);

    window_->mnuDetails->trigger();
    QCOMPARE(window_->size(), QSize(700, 400));
    QCOMPARE(ColumnPixels(2), TwipsToPixels(1500, dpi));
    QCOMPARE(state_->Config.SummaryReport.Columns[2], PixelsToTwips(150, dpi));

    window_->ListView1->header()->resizeSection(4, 200);
    window_->mnuSummary->trigger();
    QCOMPARE(ColumnPixels(2), 150);
    QCOMPARE(state_->Config.DetailReport.Columns[4], PixelsToTwips(200, dpi));
    window_->mnuDetails->trigger();
    QCOMPARE(ColumnPixels(4), 200);
    QCOMPARE(window_->size(), QSize(700, 400));
  }

  void windowPositionPerReport() {
    state_->Config.SummaryReport.WinLeft = 1500;
    state_->Config.SummaryReport.WinTop = 1200;
    state_->Config.DetailReport.WinLeft = 900000;  // a screen no longer there
    state_->Config.DetailReport.WinTop = 900000;
    Open();
    const double dpi = Dpi();
    QTRY_COMPARE(window_->pos(), QPoint(TwipsToPixels(1500, dpi), TwipsToPixels(1200, dpi)));
    window_->move(30, 40);
    QTRY_COMPARE(window_->pos(), QPoint(30, 40));
    window_->mnuDetails->trigger();
    QCOMPARE(window_->pos(), QPoint(30, 40));  // stays put
    QCOMPARE(state_->Config.SummaryReport.WinLeft, PixelsToTwips(30, dpi));
    QCOMPARE(state_->Config.SummaryReport.WinTop, PixelsToTwips(40, dpi));
    window_->mnuSummary->trigger();
    QTRY_COMPARE(window_->pos(), QPoint(30, 40));
  }

  void autoArrangeRule_data() {
    QTest::addColumn<double>("windowTwips");
    QTest::addColumn<QStringList>("titles");
    QTest::addColumn<QList<double>>("expected");
    const QStringList summary = {QString(), "Service", "Mirolat", "Sessions", "Av/Session", "Av/Day", "Kilobytes"};
    const QList<double> kept = {1000, 1000, 700, 1000, 1000, 1000, 1000};
    QTest::newRow("9400 wide, 7 columns") << 9400.0 << summary << QList<double>{1000, 1200, 1200, 1200, 1200, 1200, 1200};
    QTest::newRow("2800 wide keeps widths") << 2800.0 << summary << kept;
    QTest::newRow("2000 wide keeps widths") << 2000.0 << summary << kept;
    QTest::newRow("2806 wide just above") << 2806.0 << summary << QList<double>{1000, 101, 101, 101, 101, 101, 101};
    const QStringList details = {QString(), "Service", "Status", "Date", "Time", "Duration", " Notes"};
    QTest::newRow("notes column 4000") << 9400.0 << details << QList<double>{1000, 1200, 1200, 1200, 1200, 1200, 4000};
    QTest::newRow("notes column even when narrow")
        << 2000.0 << details << QList<double>{1000, 1000, 700, 1000, 1000, 1000, 4000};
  }
  void autoArrangeRule() {
    QFETCH(double, windowTwips);
    QFETCH(QStringList, titles);
    QFETCH(QList<double>, expected);
    const QList<double> widths = {1000, 1000, 700, 1000, 1000, 1000, 1000};
    QCOMPARE(AutoArrangeWidths(windowTwips, titles, widths), expected);
  }

  // Auto Arrange in the window: a Summary of 7 columns (costs off).
  void autoArrangeInWindow() {
    state_->Config.CalcCosts = false;
    Open();
    QCOMPARE(window_->ListModel->columnCount(), 7);
    const double dpi = Dpi();
    const int before = ColumnPixels(1);
    window_->resize(TwipsToPixels(9400, dpi), window_->height());
    QTRY_COMPARE(window_->width(), TwipsToPixels(9400, dpi));
    QCOMPARE(ColumnPixels(1), before);  // off: nothing moves

    window_->mnuAutoArrange->trigger();
    QVERIFY(frmReport::AutoArrangeOn);
    QVERIFY(window_->mnuAutoArrange->isChecked());
    QCOMPARE(window_->PanelText(2), QStringLiteral(" Auto Arrange On"));
    for (int i = 1; i < 7; ++i) QCOMPARE(ColumnPixels(i), TwipsToPixels(1200, dpi));

    // Too narrow a window: the columns keep their widths.
    for (int i = 1; i < 7; ++i) window_->ListView1->header()->resizeSection(i, 50);
    window_->resize(int(2800 * dpi / 1440), window_->height());
    QTRY_COMPARE(window_->width(), int(2800 * dpi / 1440));
    for (int i = 1; i < 7; ++i) QCOMPARE(ColumnPixels(i), 50);

    window_->mnuAutoArrange->trigger();
    QVERIFY(!frmReport::AutoArrangeOn);
    QCOMPARE(window_->PanelText(2), QStringLiteral(" Auto Arrange Off"));
  }

  void fontSizeAndStatusBar() {
    state_->Config.SummaryReport.FontSize = 2;
    Open();
    QCOMPARE(window_->PanelText(1), QStringLiteral(" List View Format"));
    QCOMPARE(window_->PanelText(2), QStringLiteral(" Auto Arrange Off"));
    QCOMPARE(window_->PanelText(3), QStringLiteral(" Font Size  2"));
    window_->mnuFontIncrease->trigger();
    QCOMPARE(window_->ListFontSize(), 3.0f);
    QCOMPARE(window_->ListView1->font().pointSizeF(), 3.0);
    QCOMPARE(window_->PanelText(3), QStringLiteral(" Font Size  3"));
    window_->ToolbarButtonByKey(QStringLiteral("Smaller"))->trigger();
    window_->mnuFontDecrease->trigger();
    QCOMPARE(window_->PanelText(3), QStringLiteral(" Font Size  1"));
    window_->mnuFontDecrease->trigger();
    QCOMPARE(window_->ListFontSize(), 0.0f);
    QCOMPARE(window_->PanelText(3), QStringLiteral(" Font Size  0"));
    // Below 1 point Decrease does nothing.
    window_->mnuFontDecrease->trigger();
    QCOMPARE(window_->ListFontSize(), 0.0f);
    QCOMPARE(window_->PanelText(3), QStringLiteral(" Font Size  0"));
    window_->ToolbarButtonByKey(QStringLiteral("Bigger"))->trigger();
    QCOMPARE(window_->ListFontSize(), 1.0f);

    // A fractional size below 1 stays where it is too.
    window_->mnuDetails->trigger();
    state_->Config.SummaryReport.FontSize = 1.5f;
    window_->mnuSummary->trigger();
    window_->mnuFontDecrease->trigger();
    QCOMPARE(window_->ListFontSize(), 0.5f);
    QCOMPARE(window_->PanelText(3), QStringLiteral(" Font Size  0.5"));
    window_->mnuFontDecrease->trigger();
    QCOMPARE(window_->ListFontSize(), 0.5f);
  }

  // Activation builds the report again from the last run.
  void activationRebuildsFromLastRun() {
    Open();
    QCOMPARE(window_->ListModel->rowCount(), 4);
    state_->LastRun->Tables.ServiceTotals[3] = {QStringLiteral("5550000"), 60, 1, 0.2, 100};
    state_->LastRun->Tables.ServiceTotalsCount = 3;
    window_->ShowReport();
    QCOMPARE(window_->ListModel->rowCount(), 5);
  }

  // Activation builds the report again from the same run: the list keeps its
  // scroll position and selected row, the text view its scroll position.
  void activationKeepsThePlace() {
    state_->LastRun = LongRun(state_->Config, 120);
    Open();
    window_->resize(500, 300);
    window_->mnuDetails->trigger();
    QCoreApplication::processEvents();
    QScrollBar* listBar = window_->ListView1->verticalScrollBar();
    QVERIFY(listBar->maximum() > 40);
    window_->ListView1->setCurrentIndex(window_->ListModel->index(57, 0));
    listBar->setValue(40);
    window_->Form_Activate();
    QCOMPARE(window_->ListView1->currentIndex().row(), 57);
    QCOMPARE(listBar->value(), 40);

    window_->mnuFormatStd->trigger();
    QCoreApplication::processEvents();
    QScrollBar* textBar = window_->ReportTextBox->verticalScrollBar();
    QVERIFY(textBar->maximum() > 100);
    textBar->setValue(100);
    window_->Form_Activate();
    QCOMPARE(textBar->value(), 100);

    // A new run starts at the top.
    window_->ShowReport();
    QCOMPARE(textBar->value(), 0);
  }

  // A cell too narrow for its text shows it cut with an ellipsis, and the
  // whole text as its tooltip.
  void cutCellsShowTheirTextAsTooltip() {
    state_->LastRun = LongRun(state_->Config, 3);
    Open();
    window_->mnuDetails->trigger();
    QCOMPARE(window_->ListView1->textElideMode(), Qt::ElideRight);
    const int notes = window_->ListModel->columnCount() - 1;
    for (int row = 0; row < window_->ListModel->rowCount(); ++row) {
      const QModelIndex cell = window_->ListModel->index(row, notes);
      const QString text = cell.data().toString();
      // The rule's dashes are no text to read.
      QCOMPARE(cell.data(Qt::ToolTipRole).toString(), ReportTableModel::IsRule(text) ? QString() : text);
    }
    QVERIFY(window_->ListModel->index(0, notes).data(Qt::ToolTipRole).toString().contains(QStringLiteral("long wait")));
  }

  // A size stored on a larger screen opens at one that fits this screen.
  void storedSizeLargerThanTheScreenFits() {
    state_->Config.SummaryReport.WinWidth = 60000;
    state_->Config.SummaryReport.WinHeight = 60000;
    Open();
    const QRect available = window_->screen()->availableGeometry();
    QVERIFY2(window_->width() <= available.width(), qPrintable(QString::number(window_->width())));
    QVERIFY2(window_->height() <= available.height(), qPrintable(QString::number(window_->height())));
  }

  // In a narrow window the no-connections frame goes under the dates rather
  // than over them.
  void noConnectionsFrameNeverCoversTheDates() {
    state_->LastRun = std::make_shared<RunState>();
    state_->LastRun->Tables.Create(state_->Config.MaxServices, state_->Config.MaxConnections);
    Open();
    for (int width : {900, 300}) {
      window_->resize(width, 400);
      QCoreApplication::processEvents();
      QVERIFY(window_->fraNoConn->isVisible());
      for (QLabel* value : {window_->RepBegin, window_->RepEnd, window_->RepPeriod}) {
        const QRect shown(value->mapTo(window_->fraReportHeader, QPoint(0, 0)),
                          QSize(value->fontMetrics().horizontalAdvance(value->text()), value->height()));
        QVERIFY2(!window_->fraNoConn->geometry().intersects(shown), qPrintable(QString::number(width)));
      }
    }
  }

  // Printed text stands in the middle of the page; text wider than the page
  // is printed smaller.
  void printedTextHasEqualMargins() {
    const struct {
      double page, text, scale, left;
    } rows[] = {{1000, 600, 1, 200}, {1000, 1000, 1, 0}, {1000, 2000, 0.5, 0}, {1000, 0, 1, 0}};
    for (const auto& r : rows) {
      const PageFit fit = FitTextToPage(r.page, r.text);
      QCOMPARE(fit.scale, r.scale);
      QCOMPARE(fit.left, r.left);
      QCOMPARE(r.page - fit.left - r.text * fit.scale, r.text > 0 ? fit.left : r.page);
    }
  }

  // A disk that fills up while the report is written: the box says so, the
  // earlier file stays whole and no work file is left beside it.
  void saveAsOnAFullDiskKeepsTheEarlierFile() {
    struct FullDisk : FileSystemOps {
      long Write(int, const char*, unsigned long) override {
        errno = ENOSPC;
        return -1;
      }
    } fullDisk;
    Open();
    window_->SetFileSystemForTesting(fullDisk);
    QTemporaryDir dir;
    const QString target = dir.filePath(QStringLiteral("report.txt"));
    {
      QFile old(target);
      QVERIFY(old.open(QIODevice::WriteOnly));
      old.write("the report saved before");
    }
    MessageBox::clearShownMessages();
    MessageBox::setNextAnswer(MessageButton::Ignore);
    FileDialog::setNextFileName(target);
    window_->mnuSaveAS->trigger();
    QCOMPARE(MessageBox::shownMessages().size(), 1);
    QCOMPARE(MessageBox::shownMessages().first().text, QStringLiteral("Disk is full. Continue?"));
    QCOMPARE(ReadAll(target), QByteArray("the report saved before"));
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList{QStringLiteral("report.txt")});
  }

  // With Save Settings on Exit the window's size, presentation and Auto
  // Arrange reach the store (without it the flag alone: the core's rule).
  void closeSavingSettings() {
    Open();
    const double dpi = Dpi();
    window_->resize(700, 420);
    QTRY_COMPARE(window_->width(), 700);
    window_->mnuDetails->trigger();
    window_->mnuFormatStd->trigger();
    window_->mnuAutoArrange->setChecked(true);
    window_->mnuExit->trigger();
    QTRY_VERIFY(window_.isNull());

    Configuration reloaded;
    LoadConfiguration(*state_->Store, reloaded, SharedErrorReporter());
    QVERIFY(reloaded.ReportSaveSettings);
    QVERIFY(!reloaded.ReportListView);
    QVERIFY(reloaded.ReportAutoArrange);
    QCOMPARE(reloaded.SummaryReport.WinWidth, PixelsToTwips(700, dpi));
    QCOMPARE(reloaded.SummaryReport.WinHeight, PixelsToTwips(420, dpi));
    // Details kept the size the user gave the window.
    QCOMPARE(reloaded.DetailReport.WinWidth, PixelsToTwips(700, dpi));

    // The next window opens as this one was left.
    Open();
    QCOMPARE(window_->width(), 700);
    QVERIFY(window_->mnuFormatStd->isChecked());
    QVERIFY(window_->mnuAutoArrange->isChecked());
    QVERIFY(frmReport::AutoArrangeOn);
  }

  // The standard format's view: lines, selection by mouse and Select All, copying.
  void textViewSelectsAndCopies() {
    ReportTextView view;
    view.resize(400, 200);
    view.setFont(QFont(QStringLiteral("Courier New"), 9));
    view.show();
    QVERIFY(QTest::qWaitForWindowExposed(&view));
    view.setPlainText(QStringLiteral(" MIROLAT\n\n Totals: 01:02:05\n"));
    QCOMPARE(view.lineCount(), 4);
    QCOMPARE(view.line(0).toString(), QStringLiteral(" MIROLAT"));
    QCOMPARE(view.line(2).toString(), QStringLiteral(" Totals: 01:02:05"));
    QCOMPARE(view.line(3).toString(), QString());
    QCOMPARE(view.selectedText(), QString());

    const QFontMetrics metrics(view.font());
    const int cw = metrics.horizontalAdvance(QLatin1Char('0'));
    const int lh = metrics.lineSpacing();
    auto at = [&](int line, int column) { return QPoint(4 + column * cw, 4 + line * lh + lh / 2); };
    QTest::mousePress(view.viewport(), Qt::LeftButton, {}, at(0, 1));
    QMouseEvent move(QEvent::MouseMove, at(2, 7), view.viewport()->mapToGlobal(at(2, 7)), Qt::NoButton,
                     Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(view.viewport(), &move);
    QCOMPARE(view.selectedText(), QStringLiteral("MIROLAT\n\n Totals"));

    QTest::keyClick(&view, Qt::Key_A, Qt::ControlModifier);
    QCOMPARE(view.selectedText(), view.toPlainText());
    QTest::keyClick(&view, Qt::Key_C, Qt::ControlModifier);
    QCOMPARE(QGuiApplication::clipboard()->text(), view.toPlainText());

    // New text starts without a selection.
    view.setPlainText(QStringLiteral("x"));
    QCOMPARE(view.selectedText(), QString());
    QCOMPARE(view.lineCount(), 1);
  }

  // A text view as large as its text has nothing to scroll, also after it
  // was smaller and showed its scroll bars.
  void textViewAtTheSizeOfItsTextScrollsNot() {
    ReportTextView view;
    view.setPlainText(QStringLiteral(" MIROLAT - Summary Report\n\n Totals:   57:16:12      96       319,862\n"));
    view.resize(60, 30);
    view.show();
    QVERIFY(QTest::qWaitForWindowExposed(&view));
    QVERIFY(view.horizontalScrollBar()->maximum() > 0);
    view.resize(view.ContentSize());
    QCOMPARE(view.horizontalScrollBar()->maximum(), 0);
    QCOMPARE(view.verticalScrollBar()->maximum(), 0);
  }

  void defaultFileNames_data() {
    QTest::addColumn<bool>("details");
    QTest::addColumn<int>("start");
    QTest::addColumn<int>("end");
    QTest::addColumn<QString>("name");
    QTest::newRow("summary january 1998") << false << MakeDate(1998, 1, 1) << MakeDate(1998, 1, 31)
                                          << "Summary 01Jan98 - 31Jan98";
    QTest::newRow("details across years") << true << MakeDate(1999, 12, 28) << MakeDate(2000, 2, 9)
                                          << "Detail 28Dec99 - 09Feb00";
  }
  // F1 in the report window opens help at the page on the report window.
  void f1OpensTheReportWindowPage() {
    SetHelpDirectory(QStringLiteral(MIROLAT_SOURCE_DIR "/docs/help"));
    Open();
    QVERIFY(QTest::qWaitForWindowActive(window_));
    QTest::keyClick(window_, Qt::Key_F1);
    QPointer<frmHelp> help = HelpWindow();
    QVERIFY(!help.isNull());
    QCOMPARE(help->CurrentPage(), QStringLiteral("report_window.html"));
    delete help.data();
  }

  // At the opening size every toolbar button is on the bar, none hidden in
  // its overflow menu.
  void toolbarFitsTheOpeningWindow() {
    Open();
    for (const char* key : {"Save", "Print", "Exit", "Summary", "Detail", "Standard", "List View", "Bigger", "Smaller"}) {
      QWidget* button = window_->Toolbar1->widgetForAction(window_->ToolbarButtonByKey(QString::fromLatin1(key)));
      QVERIFY2(button != nullptr && button->isVisible(), key);
      QVERIFY2(window_->Toolbar1->rect().contains(button->geometry()), key);
    }
  }

  // With no documents folder the Save As dialog starts in the home folder.
  void saveAsWithoutDocumentsFolderStartsAtHome() {
    QTemporaryDir home;
    const QByteArray oldHome = qgetenv("HOME");
    const QByteArray oldConfig = qgetenv("XDG_CONFIG_HOME");
    qputenv("HOME", home.path().toLocal8Bit());
    qputenv("XDG_CONFIG_HOME", home.filePath(QStringLiteral(".config")).toLocal8Bit());
    Open();
    FileDialog::setNextFileName(QString());
    window_->mnuSaveAS->trigger();
    qputenv("HOME", oldHome);
    qputenv("XDG_CONFIG_HOME", oldConfig);
    QCOMPARE(FileDialog::requests().size(), 1);
    QCOMPARE(QFileInfo(FileDialog::requests().first().directory).absolutePath(), QDir(home.path()).absolutePath());
  }

  void defaultFileNames() {
    QFETCH(bool, details);
    QFETCH(int, start);
    QFETCH(int, end);
    QFETCH(QString, name);
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));  // months stay English
    QCOMPARE(DefaultReportFileName(details, start, end), name);
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
  }
};

QTEST_MAIN(TestReportWindow)
#include "tst_report_window.moc"
