// The report window's computed layout and the faults it once had: Auto
// Arrange's widths, printed margins, a stored size larger than the screen,
// the no-connections frame in a narrow window, Save As on a full disk. The
// window as a user meets it is tests/journeys/journey_report.cpp.
#include <QAction>
#include <QFile>
#include <QLabel>
#include <QPointer>
#include <QScreen>
#include <QTemporaryDir>
#include <QTest>
#include <memory>

#include "core/app/app_state.h"
#include "core/common/locale_values.h"
#include "support/common_test_env.h"
#include "ui/dialogs/file_dialog.h"
#include "ui/dialogs/message_box.h"
#include "ui/dialogs/printer_dialog.h"
#include "ui/reports/frm_report.h"
#include "ui/reports/report_layout.h"

using namespace mirolat;
using test::Child;

class TestReportWindow : public QObject {
  Q_OBJECT

 private:
  std::unique_ptr<test::CommonTestEnvironment> env_;
  std::unique_ptr<AppState> state_;
  QPointer<frmReport> window_;

  // The window over a run that found no connection in January 1998.
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
    state_->ReportStartDate = MakeDate(1998, 1, 1);
    state_->ReportEndDate = MakeDate(1998, 1, 31);
    state_->PeriodDays = 31;
    state_->LastRun = std::make_shared<RunState>();
    state_->LastRun->Tables.Create(state_->Config.MaxServices, state_->Config.MaxConnections);
    frmReport::AutoArrangeOn = false;
  }

  void cleanup() {
    delete window_.data();
    state_.reset();
    env_.reset();
  }

  // Auto Arrange spreads the room over the columns but the first, never
  // below their widths, a Notes column keeping 4000 twips; printed text
  // stands in the middle of the page, text wider than the page smaller.
  void layoutRules() {
    const QStringList summary = {QString(), "Service", "Mirolat", "Sessions", "Av/Session", "Av/Day", "Kilobytes"};
    const QStringList details = {QString(), "Service", "Status", "Date", "Time", "Duration", " Notes"};
    const QList<double> widths = {1000, 1000, 700, 1000, 1000, 1000, 1000};
    const struct {
      double window;
      QStringList titles;
      QList<double> expected;
    } rows[] = {
        {9400, summary, {1000, 1200, 1200, 1200, 1200, 1200, 1200}},
        {2800, summary, widths},
        {2806, summary, {1000, 101, 101, 101, 101, 101, 101}},
        {9400, details, {1000, 1200, 1200, 1200, 1200, 1200, 4000}},
        {2000, details, {1000, 1000, 700, 1000, 1000, 1000, 4000}},
    };
    for (const auto& r : rows) QCOMPARE(AutoArrangeWidths(r.window, r.titles, widths), r.expected);
    const struct {
      double page, text, scale, left;
    } pages[] = {{1000, 600, 1, 200}, {1000, 1000, 1, 0}, {1000, 2000, 0.5, 0}, {1000, 0, 1, 0}};
    for (const auto& r : pages) {
      const PageFit fit = FitTextToPage(r.page, r.text);
      QCOMPARE(fit.scale, r.scale);
      QCOMPARE(fit.left, r.left);
    }
  }

  // Mended: a size stored on a larger screen opens at one that fits this screen.
  void storedSizeLargerThanTheScreenFits() {
    state_->Config.SummaryReport.WinWidth = 60000;
    state_->Config.SummaryReport.WinHeight = 60000;
    Open();
    const QRect available = window_->screen()->availableGeometry();
    QVERIFY2(window_->width() <= available.width(), qPrintable(QString::number(window_->width())));
    QVERIFY2(window_->height() <= available.height(), qPrintable(QString::number(window_->height())));
  }

  // Mended: in a narrow window the no-connections frame goes under the dates rather than over them.
  void noConnectionsFrameNeverCoversTheDates() {
    Open();
    auto* frame = Child<QWidget>(window_, "fraNoConn");
    auto* header = Child<QWidget>(window_, "fraReportHeader");
    for (int width : {900, 300}) {
      window_->resize(width, 400);
      QCoreApplication::processEvents();
      QVERIFY(frame->isVisible());
      for (const char* name : {"RepBegin", "RepEnd", "RepPeriod"}) {
        auto* value = Child<QLabel>(window_, name);
        const QRect shown(value->mapTo(header, QPoint(0, 0)),
                          QSize(value->fontMetrics().horizontalAdvance(value->text()), value->height()));
        QVERIFY2(!frame->geometry().intersects(shown), name);
      }
    }
  }

  // Mended: a disk that fills up while the report is written: the box says
  // so, the earlier file stays whole and no work file is left beside it.
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
    QFile old(target);
    QVERIFY(old.open(QIODevice::WriteOnly));
    old.write("the report saved before");
    old.close();
    MessageBox::setNextAnswer(MessageButton::Ignore);
    FileDialog::setNextFileName(target);
    Child<QAction>(window_, "mnuSaveAS")->trigger();
    QCOMPARE(MessageBox::shownMessages().size(), 1);
    QCOMPARE(MessageBox::shownMessages().first().text, QStringLiteral("Disk is full. Continue?"));
    QVERIFY(old.open(QIODevice::ReadOnly));
    QCOMPARE(old.readAll(), QByteArray("the report saved before"));
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList{QStringLiteral("report.txt")});
  }
};

QTEST_MAIN(TestReportWindow)
#include "tst_report_window.moc"
