// The main window at the faults it once had and the rules only it applies: a
// typed date outside the log, a month step past the other box, a run stopped
// by a corrupt line, windows under the hourglass, Optimize answered No, the
// window destroyed with the focus in a box, help closed with the window.
#include <QAction>
#include <QCursor>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QtTest>
#include <memory>

#include "core/app/app_state.h"
#include "core/common/date_entry.h"
#include "core/logfile/log_checks.h"
#include "support/common_test_env.h"
#include "ui/common/end_program.h"
#include "ui/common/help_window.h"
#include "ui/dialogs/beep.h"
#include "ui/dialogs/desktop_error_reporter.h"
#include "ui/dialogs/message_box.h"
#include "ui/main/frm_main.h"
#include "ui/maintenance/optimize_presenter.h"
#include "ui/main/spin_button.h"

using namespace mirolat;
using test::Child;

namespace {

// One session a day on each of the given days (mm-dd-yyyy).
QByteArray SessionLog(const QStringList& days) {
  QByteArray log;
  for (const QString& day : days) {
    const QByteArray d = day.toLatin1();
    log += d + " 10:23:42.74 - Recv: ATDT5551234<cr>\r\n";
    log += d + " 10:24:05.25 - Connection established at 33600bps.\r\n";
    log += d + " 10:55:32.44 - Hanging up the modem.\r\n";
  }
  return log;
}

}  // namespace

class MainWindowTest : public QObject {
  Q_OBJECT

 private:
  std::unique_ptr<test::CommonTestEnvironment> env_;
  std::unique_ptr<AppState> state_;
  QPointer<frmMain> w_;
  int reportsShown_ = 0;

  // The window over the state start-up leaves for a log holding `log`, shown and active.
  void Open(const QByteArray& log) {
    state_ = std::make_unique<AppState>();
    state_->Locale = LoadLocaleInfo(QLocale(QLocale::English, QLocale::UnitedStates));
    state_->ShowTipsAtStartup = false;
    CurrentFileState& f = state_->File;
    f.WindowsDir = env_->LogDir();
    f.LogFileName = QStringLiteral("ModemLog.txt");
    f.LogFilePath = f.WindowsDir + f.LogFileName;
    QFile file(f.LogFilePath);
    QVERIFY(file.open(QIODevice::WriteOnly) && file.write(log) == log.size());
    file.close();
    f.LogExists = true;
    ScanLog(f, state_->Config, SharedErrorReporter());
    w_ = new frmMain(*state_);
    connect(w_, &frmMain::ReportRequested, this, [this] { ++reportsShown_; });
    w_->show();
    QVERIFY(QTest::qWaitForWindowActive(w_));
    QCoreApplication::processEvents();
  }

  QLineEdit* Box(const char* name) const { return Child<QLineEdit>(w_, name); }
  QString Status() const { return Child<QLabel>(w_, "StatusPanel")->text(); }
  QString Text(int y, int m, int d) const { return DateToBoxText(MakeDate(y, m, d), state_->Locale); }

  void TypeDate(QLineEdit* box, const QString& text) {
    box->setFocus(Qt::MouseFocusReason);
    QTRY_VERIFY(box->hasFocus());
    box->selectAll();
    QString digits = text;
    digits.remove(QLatin1Char('/'));
    QTest::keyClicks(box, digits);
  }

 private Q_SLOTS:
  void init() {
    env_ = std::make_unique<test::CommonTestEnvironment>();
    reportsShown_ = 0;
    ResetProgramEnding();
    SetProgramExitHandler([] {});
  }

  void cleanup() {
    delete w_.data();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    state_.reset();
    env_.reset();
    SetProgramExitHandler({});
    ResetProgramEnding();
  }

  // A typed date outside the log is pulled back to its first or last entry, with a beep and a word why.
  void datesOutsideTheLogArePulledBack() {
    Open(SessionLog({"01-15-1998", "01-21-1998"}));
    TypeDate(Box("inputEnding"), QStringLiteral("01/25/98"));
    QCOMPARE(Box("inputEnding")->text(), Text(1998, 1, 21));
    QCOMPARE(state_->ReportEndDate, MakeDate(1998, 1, 21));
    QCOMPARE(Status(), QStringLiteral("The end date cannot be greater than the last entry in modem log!"));
    QCOMPARE(BeepCount(), 1);
    TypeDate(Box("inputStarting"), QStringLiteral("01/10/98"));
    QCOMPARE(Box("inputStarting")->text(), Text(1998, 1, 15));
    QCOMPARE(BeepCount(), 2);
  }

  // A month step of the end box from 31 March lands on 28 February, and the
  // start box, now after it, follows.
  void monthStepBeforeTheStartPullsTheStartAlong() {
    Open(SessionLog({"01-01-1998", "03-31-1998"}));
    TypeDate(Box("inputStarting"), QStringLiteral("03/09/98"));
    Box("inputEnding")->setFocus(Qt::MouseFocusReason);
    QTRY_VERIFY(Box("inputEnding")->hasFocus());
    QTest::mouseClick(Child<SpinButton>(w_, "UpDown4")->downButton(), Qt::LeftButton);
    QCOMPARE(Box("inputEnding")->text(), Text(1998, 2, 28));
    QCOMPARE(Box("inputStarting")->text(), Text(1998, 2, 28));
    QCOMPARE(w_->windowTitle(), QStringLiteral("MIROLAT - Report for 1 day"));
  }

  // Mended: a run stopped by an undated line says what stopped it, not that it finished.
  void processOfACorruptLineWarnsAndShowsNoReport() {
    Open(SessionLog({"01-15-1998"}) + "no date on this line\r\n" + SessionLog({"01-22-1998"}));
    QVERIFY(!state_->File.LogCorrupt);
    TypeDate(Box("inputStarting"), QStringLiteral("01/15/98"));
    QSignalSpy finished(w_, &frmMain::ProcessFinished);
    QTest::mouseClick(Child<QPushButton>(w_, "btnProcess"), Qt::LeftButton);
    QCOMPARE(finished.size(), 1);
    QCOMPARE(reportsShown_, 0);
    QVERIFY(state_->File.LogCorrupt);
    QVERIFY2(Status().startsWith(QStringLiteral(" STOPPED: undated line")), qPrintable(Status()));
    QCOMPARE(MessageBox::shownMessages().size(), 1);
    QVERIFY(MessageBox::shownMessages()[0].text.startsWith(QStringLiteral("Corruption Detected in Modem Log File!")));
  }

  // Mended: Options and About load under the hourglass, but their own event
  // loop runs with the pointer as it was, and afterwards it is as it was.
  void modalWindowsAreNotUsedUnderTheHourglass() {
    Open(SessionLog({"01-15-1998"}));
    QList<int> shapesInside;
    const auto modal = [&shapesInside] {
      QEventLoop loop;
      QTimer::singleShot(0, &loop, &QEventLoop::quit);
      loop.exec();
      const QCursor* cursor = QGuiApplication::overrideCursor();
      shapesInside.append(cursor != nullptr ? static_cast<int>(cursor->shape()) : -1);
    };
    connect(w_, &frmMain::AboutRequested, this, modal);
    connect(w_, &frmMain::OptionsRequested, this, modal);
    w_->SetWindowConnected(WindowCommand::Options, true);
    QGuiApplication::setOverrideCursor(Qt::CrossCursor);
    Child<QAction>(w_, "mnuAbout")->trigger();
    Child<QAction>(w_, "mnuSetup")->trigger();
    QCOMPARE(shapesInside, (QList<int>{Qt::CrossCursor, Qt::CrossCursor}));
    QCOMPARE(QGuiApplication::overrideCursor()->shape(), Qt::CrossCursor);
    QGuiApplication::restoreOverrideCursor();
  }

  // Mended: Optimize marks its question asked whatever the answer, so the
  // activation after it cannot ask again; No changes nothing.
  void optimizeAnsweredNoCountsAsAsked() {
    Open(SessionLog({"01-15-1998"}));
    OptimizePresenter presenter(*state_, SharedErrorReporter(), w_);
    QSignalSpy finished(&presenter, &OptimizePresenter::Finished);
    MessageBox::setNextAnswer(MessageButton::No);
    QVERIFY(!presenter.OptimizeCurrentFile());
    QVERIFY(state_->AutoOptimizeAsked);
    QCOMPARE(finished, QList<QList<QVariant>>{{false}});
  }

  // Mended: destroying the window while a box has the focus moves the focus
  // as its children go; no lost-focus rule may run on a dying box.
  void destroyingTheFocusedWindow() {
    Open(SessionLog({"01-15-1998"}));
    QTRY_VERIFY(Box("inputStarting")->hasFocus());
    delete w_.data();
    QVERIFY(w_.isNull());
    QCOMPARE(BeepCount(), 0);
  }

  // Mended: help left open would keep the program running with no main window.
  void closingTheWindowClosesHelp() {
    Open(SessionLog({"01-15-1998"}));
    QTest::keyClick(w_, Qt::Key_F1);
    QPointer<QWidget> help = HelpWindow();
    QVERIFY(!help.isNull() && help->isVisible());
    w_->close();
    QVERIFY(help.isNull() || !help->isVisible());
  }
};

QTEST_MAIN(MainWindowTest)
#include "tst_main_window.moc"
