// The main window driven as a user drives it: typing dates, clicking the
// calendar and the spin buttons, the quick-date commands, the held status
// messages, the availability of the commands for each state of the current
// file, switching to an archive and back, and Process on a small log.
#include <QAbstractItemView>
#include <QApplication>
#include <QClipboard>
#include <QCursor>
#include <QEventLoop>
#include <QFile>
#include <QMessageBox>
#include <QPointer>
#include <QSignalSpy>
#include <QTableView>
#include <QTimer>
#include <QtTest>
#include <memory>

#include "core/analysis/analysis_run.h"
#include "core/app/app_state.h"
#include "core/common/date_entry.h"
#include "core/logfile/log_checks.h"
#include "support/common_test_env.h"
#include "ui/common/end_program.h"
#include "ui/common/help_window.h"
#include "ui/dialogs/beep.h"
#include "ui/dialogs/desktop_error_reporter.h"
#include "ui/dialogs/file_dialog.h"
#include "ui/dialogs/message_box.h"
#include "ui/main/frm_main.h"

using namespace mirolat;

namespace {

const QDate kToday(2026, 12, 6);

// A modem log of dated lines: one session a day on each of the given days
// (mm-dd-yyyy), seven lines each.
QByteArray SessionLog(const QStringList& days) {
  QByteArray log;
  for (const QString& day : days) {
    const QByteArray d = day.toLatin1();
    log += d + " 10:23:40.00 - Opening Modem\r\n";
    log += d + " 10:23:42.74 - Dialing.\r\n";
    log += d + " 10:23:42.74 - Recv: ATDT5551234<cr>\r\n";
    log += d + " 10:24:05.25 - Connection established at 33600bps.\r\n";
    log += d + " 10:55:32.44 - Hanging up the modem.\r\n";
    log += d + " 10:55:34.00 - 104857 bytes written, 2097152 reads\r\n";
    log += d + " 10:55:35.00 - Session Statistics: Reads : 2097152 bytes; Writes: 104857 bytes\r\n";
  }
  return log;
}

// 15 to 21 January 1998.
QByteArray WeekLog() {
  return SessionLog({"01-15-1998", "01-17-1998", "01-19-1998", "01-21-1998"});
}

// 1 January to 31 March 1998.
QByteArray QuarterLog() {
  return SessionLog({"01-01-1998", "01-20-1998", "02-10-1998", "03-31-1998"});
}

void WriteFile(const QString& path, const QByteArray& bytes) {
  QFile f(path);
  QVERIFY(f.open(QIODevice::WriteOnly));
  QCOMPARE(f.write(bytes), bytes.size());
}

QDate D(int y, int m, int d) { return QDate(y, m, d); }

}  // namespace

class MainWindowTest : public QObject {
  Q_OBJECT

 private:
  std::unique_ptr<test::CommonTestEnvironment> env_;
  std::unique_ptr<AppState> state_;
  QPointer<frmMain> w_;
  int reportsShown_ = 0;
  int tipsShown_ = 0;
  int repairs_ = 0;

  // The state start-up leaves for a log directory holding `log` (none when
  // null) under `name`.
  void StartUp(const QByteArray* log, const QString& name = QStringLiteral("ModemLog.txt")) {
    state_ = std::make_unique<AppState>();
    state_->Locale = LoadLocaleInfo(QLocale(QLocale::English, QLocale::UnitedStates));
    state_->ShowTipsAtStartup = false;
    CurrentFileState& f = state_->File;
    f.WindowsDir = env_->LogDir();
    f.LogFileName = name;
    f.LogFilePath = f.WindowsDir + name;
    if (log != nullptr) WriteFile(f.LogFilePath, *log);
    f.LogExists = FileExists(f.LogFilePath);
    if (f.LogExists) {
      NullProgress quiet;
      f.LogCorrupt = CheckLogCharacters(f, false, quiet, SharedErrorReporter());
      if (!f.LogCorrupt) ScanLog(f, state_->Config, SharedErrorReporter());
    }
  }

  // The window over the state, with today pinned, loaded again as start-up
  // would see it, wired to counters for the report, tip and repair windows;
  // shown and active when `show`.
  void OpenWindow(bool show = true) {
    w_ = new frmMain(*state_);
    connect(w_, &frmMain::ReportRequested, this, [this] { ++reportsShown_; });
    connect(w_, &frmMain::TipsRequested, this, [this] { ++tipsShown_; });
    connect(w_, &frmMain::RepairRequested, this, [this] { ++repairs_; });
    w_->SetWindowConnected(WindowCommand::Repair, true);
    w_->SetTodayProvider([] { return kToday; });
    w_->Form_Load();
    if (show) {
      w_->show();
      QVERIFY(QTest::qWaitForWindowActive(w_));
      QCoreApplication::processEvents();
    }
  }

  void TypeDate(QLineEdit* box, const QString& text) {
    box->setFocus(Qt::MouseFocusReason);
    QTRY_VERIFY(box->hasFocus());
    box->selectAll();
    QString digits = text;
    digits.remove(QLatin1Char('/'));
    QTest::keyClicks(box, digits);
  }

  QString Box(Date d) const { return DateToBoxText(d, state_->Locale); }
  QString Box(const QDate& d) const { return Box(FromQDate(d)); }

  // Clicks day `day` of the month the calendar shows.
  void ClickCalendarDay(int day) {
    auto* view = w_->Calendar1->findChild<QTableView*>();
    QVERIFY(view != nullptr);
    QAbstractItemModel* model = view->model();
    // Row 0 holds the day names and column 0 the week numbers.
    for (int row = 1; row < model->rowCount(); ++row) {
      for (int col = model->columnCount() - 7; col < model->columnCount(); ++col) {
        const QModelIndex index = model->index(row, col);
        if (model->data(index).toInt() != day) continue;
        if (day > 20 && row < 3) continue;  // the previous month's tail
        QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, view->visualRect(index).center());
        return;
      }
    }
    QFAIL("day not on the calendar");
  }

 private Q_SLOTS:
  void init() {
    env_ = std::make_unique<test::CommonTestEnvironment>();
    reportsShown_ = 0;
    tipsShown_ = 0;
    repairs_ = 0;
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

  void noLogAllowsOnlyArchiveOptionsExitAndHelp() {
    StartUp(nullptr);
    state_->ShowTipsAtStartup = true;
    OpenWindow();
    QTRY_COMPARE(MessageBox::shownMessages().size(), 1);
    QCOMPARE(MessageBox::shownMessages()[0].title, QStringLiteral("No Modem Log Detected!"));
    QCOMPARE(w_->StatusText(), QStringLiteral("No Modem Log Found!"));
    QVERIFY(w_->StatusBold());
    QCOMPARE(tipsShown_, 0);  // a warning keeps the tip window away
    QCOMPARE(w_->LabelLogName2->text(), QStringLiteral("Log Not Found"));
    QCOMPARE(w_->LabelLogLength2->text(), QStringLiteral("N/A"));
    QCOMPARE(w_->windowTitle(), QStringLiteral("MIROLAT"));

    QVERIFY(!w_->btnProcess->isEnabled());
    QVERIFY(!w_->btnViewLog->isEnabled());
    QVERIFY(w_->mnuOpenArchive->isEnabled());
    QVERIFY(w_->ToolbarButton(2)->isEnabled());
    QVERIFY(!w_->mnuOpenLog->isEnabled());
    QVERIFY(!w_->mnuQuickDate->menuAction()->isEnabled());
    QVERIFY(!w_->mnuToday->isEnabled());
    QVERIFY(!w_->mnuTools->menuAction()->isEnabled());
    QVERIFY(!w_->mnuRepairLog->isEnabled());
    for (int position : {6, 7, 8, 9, 11, 12, 13}) QVERIFY2(!w_->ToolbarButton(position)->isEnabled(), qPrintable(QString::number(position)));
    for (int position : {2, 4, 15, 16, 17}) QVERIFY2(w_->ToolbarButton(position)->isEnabled(), qPrintable(QString::number(position)));
    QVERIFY(!w_->inputStarting->isEnabled());
    QVERIFY(!w_->inputEnding->isEnabled());
    QVERIFY(!w_->UpDown1->isEnabled());
    QVERIFY(!w_->UpDown4->isEnabled());
    QVERIFY(!w_->LabelStarting->isEnabled());
    QVERIFY(w_->btnExit->isEnabled());
    QVERIFY(w_->mnuExit->isEnabled());
    QVERIFY(w_->mnuTopics->isEnabled());
    QVERIFY(w_->mnuAbout->isEnabled());
    // Today's date stands in for the missing log's last entry.
    QCOMPARE(w_->inputStarting->text(), Box(kToday));

    // The no-log warning comes once a run.
    w_->Form_Activate();
    QCOMPARE(MessageBox::shownMessages().size(), 1);
    // With no date box ever active, the calendar writes nowhere.
    ClickCalendarDay(10);
    QCOMPARE(w_->inputStarting->text(), Box(kToday));
    QCOMPARE(w_->DateRange->ActiveDateField(), 0);
  }

  void fileWithoutDatesIsNoUsableLog() {
    const QByteArray log("hello\r\nworld\r\n");
    StartUp(&log);
    QVERIFY(state_->File.NotAModemLog);
    OpenWindow();
    QTRY_COMPARE(MessageBox::shownMessages().size(), 1);
    QCOMPARE(MessageBox::shownMessages()[0].title, QStringLiteral("WARNING"));
    QVERIFY(MessageBox::shownMessages()[0].text.startsWith(QStringLiteral("INVALID MODEM LOG FILE!")));
    QCOMPARE(w_->StatusText(), QStringLiteral("No Modem Log Found!"));
    QVERIFY(!w_->btnProcess->isEnabled());
    QVERIFY(!w_->inputStarting->isEnabled());
    QVERIFY(!w_->mnuTools->menuAction()->isEnabled());
    QVERIFY(w_->mnuOpenArchive->isEnabled());
    QCOMPARE(w_->LabelLogName2->text(), QStringLiteral("ModemLog.txt"));
    QCOMPARE(w_->LabelLogLength2->text(), QStringLiteral("N/A"));
    QCOMPARE(w_->inputStarting->text(), Box(kToday));

    // Coming back from another of the program's windows runs the activation
    // logic again; coming back from a message box does not.
    auto* form = new QWidget(w_, Qt::Window);
    form->show();
    QVERIFY(QTest::qWaitForWindowActive(form));
    w_->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(w_));
    QTRY_COMPARE(MessageBox::shownMessages().size(), 2);
    delete form;
    QMessageBox box(w_);
    box.show();
    QVERIFY(QTest::qWaitForWindowActive(&box));
    box.hide();
    w_->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(w_));
    QCoreApplication::processEvents();
    QCoreApplication::processEvents();
    QCOMPARE(MessageBox::shownMessages().size(), 2);
  }

  void optionsChangingTheLogNameSwitchesTheLog() {
    const QByteArray log = WeekLog();
    StartUp(&log);
    WriteFile(env_->LogDir() + QStringLiteral("Other.txt"), QuarterLog());
    QString nextName = QStringLiteral("Other.txt");
    int optionsShown = 0;
    OpenWindow();
    connect(w_, &frmMain::OptionsRequested, this, [&] {
      ++optionsShown;
      state_->Config.ModemLogFile = nextName;
      state_->LogFileChanged = !nextName.isEmpty();
      w_->ConfigurationChanged();
    });
    w_->SetWindowConnected(WindowCommand::Options, true);
    QVERIFY(w_->mnuSetup->isEnabled());
    QVERIFY(w_->ToolbarButton(3)->isEnabled());
    w_->ToolbarButtonByKey(QStringLiteral("Setup"))->trigger();
    QCOMPARE(optionsShown, 1);
    QCOMPARE(state_->File.LogFilePath, env_->LogDir() + QStringLiteral("Other.txt"));
    QCOMPARE(w_->LabelLogName2->text(), QStringLiteral("Other.txt"));
    QCOMPARE(w_->inputEnding->text(), QStringLiteral("03/31/98"));
    QVERIFY(!state_->LogFileChanged);

    // With an archive open only the parked log name changes.
    const QString archive = env_->LogDir() + QStringLiteral("Week.mrl");
    WriteFile(archive, WeekLog());
    FileDialog::setNextFileName(archive);
    w_->mnuOpenArchive->trigger();
    nextName = QStringLiteral("ModemLog.txt");
    w_->mnuSetup->trigger();
    QCOMPARE(state_->File.LogFilePath, archive);
    QCOMPARE(w_->btnViewLog->text(), QStringLiteral("&View Archive"));
    w_->mnuOpenLog->trigger();
    QCOMPARE(state_->File.LogFilePath, env_->LogDir() + QStringLiteral("ModemLog.txt"));
    QCOMPARE(w_->inputEnding->text(), QStringLiteral("01/21/98"));

    // A name with no file behind it: no log, and its warning.
    nextName = QStringLiteral("Missing.txt");
    MessageBox::clearShownMessages();
    w_->mnuSetup->trigger();
    QVERIFY(!state_->File.LogExists);
    QVERIFY(!w_->btnProcess->isEnabled());
    QCOMPARE(w_->LabelLogName2->text(), QStringLiteral("Log Not Found"));
    QCOMPARE(MessageBox::shownMessages().size(), 1);
    QCOMPARE(MessageBox::shownMessages()[0].title, QStringLiteral("No Modem Log Detected!"));
    QCOMPARE(w_->StatusText(), QStringLiteral("No Modem Log Found!"));

    // Options that leave the name alone change nothing here.
    nextName.clear();
    w_->mnuSetup->trigger();
    QCOMPARE(optionsShown, 4);
    QCOMPARE(state_->File.LogFilePath, env_->LogDir() + QStringLiteral("Missing.txt"));
  }

  void corruptLogOffersRepair() {
    QByteArray log = WeekLog();
    log[40] = '\x01';
    StartUp(&log);
    QVERIFY(state_->File.LogCorrupt);
    OpenWindow();
    QTRY_COMPARE(MessageBox::shownMessages().size(), 1);
    QCOMPARE(MessageBox::shownMessages()[0].text.left(38), QStringLiteral("Corruption Detected in Modem Log File!"));
    QCOMPARE(w_->StatusText(), QStringLiteral("Corruption Detected in Modem Log File!"));
    QVERIFY(w_->StatusBold());

    QVERIFY(!w_->btnProcess->isEnabled());
    QVERIFY(!w_->btnViewLog->isEnabled());
    QVERIFY(!w_->mnuOpenArchive->isEnabled());
    QVERIFY(w_->ToolbarButton(2)->isEnabled());
    QVERIFY(!w_->mnuOpenLog->isEnabled());
    QVERIFY(!w_->mnuQuickDate->menuAction()->isEnabled());
    QVERIFY(w_->mnuTools->menuAction()->isEnabled());
    QVERIFY(!w_->mnuViewLog->isEnabled());
    QVERIFY(!w_->mnuPurgeLog->isEnabled());
    QVERIFY(!w_->mnuOptimize->isEnabled());
    QVERIFY(w_->mnuClearLog->isEnabled());
    QVERIFY(w_->mnuRepairLog->isEnabled());
    QVERIFY(w_->ToolbarButton(9)->isEnabled());
    QVERIFY(!w_->ToolbarButton(7)->isEnabled());
    QVERIFY(!w_->ToolbarButton(8)->isEnabled());
    QVERIFY(!w_->inputStarting->isEnabled());
    QVERIFY(w_->btnExit->isEnabled());
    QCOMPARE(w_->LabelLogName2->text(), QStringLiteral("ModemLog.txt"));
    for (QLabel* l : {w_->LabelLogLength2, w_->LabelLogEntries2, w_->LabelLogFirst2, w_->LabelLogLast2}) {
      QCOMPARE(l->text(), QStringLiteral("N/A"));
    }
    w_->mnuRepairLog->trigger();
    QCOMPARE(repairs_, 1);
  }

  void goodLogStatisticsAndCommands() {
    // 2560 lines of 58 characters and CR LF: 153600 bytes, exactly MaxLogSize.
    QByteArray log;
    for (int i = 0; i < 2560; ++i) {
      QByteArray line = (i < 1280 ? QByteArray("01-15-1998") : QByteArray("01-21-1998")) + " 10:23:40.00 - Recv: OK";
      line += QByteArray(58 - line.size(), '.');
      log += line + "\r\n";
    }
    QCOMPARE(log.size(), 153600);
    StartUp(&log, QStringLiteral("ABCDEFGHIJKLMNOPQR.txt"));  // 22 characters
    state_->ShowTipsAtStartup = true;
    OpenWindow();
    connect(w_, &frmMain::PurgeRequested, this, [] {});
    w_->SetWindowConnected(WindowCommand::ViewLog, true);
    w_->SetWindowConnected(WindowCommand::Purge, true);
    QTRY_COMPARE(MessageBox::shownMessages().size(), 1);
    QCOMPARE(MessageBox::shownMessages()[0].text.left(26), QStringLiteral("Your Modem Log is Too Big!"));
    QCOMPARE(tipsShown_, 0);

    QCOMPARE(w_->LabelHeading->text(), QStringLiteral("Modem Log Stats"));
    QCOMPARE(w_->LabelHeading2->text(), QStringLiteral("Modem Log Stats"));
    QCOMPARE(w_->LabelLogName2->text(), QStringLiteral("ABCDEFGHIJKLMNOPQR.txt"));
    QCOMPARE(w_->LabelLogName2->toolTip(), QString());
    QCOMPARE(w_->LabelLogLength2->text(), QStringLiteral("153600 Bytes (150KB)"));
    QCOMPARE(w_->LabelLogEntries2->text(), QStringLiteral("2560"));
    QCOMPARE(w_->LabelLogFirst2->text(), QStringLiteral("Thursday, January 15, 1998"));
    QCOMPARE(w_->LabelLogLast2->text(), QStringLiteral("Wednesday, January 21, 1998"));

    QVERIFY(w_->btnProcess->isEnabled());
    QVERIFY(w_->btnViewLog->isEnabled());
    QVERIFY(w_->mnuQuickDate->menuAction()->isEnabled());
    QVERIFY(w_->mnuTools->menuAction()->isEnabled());
    QVERIFY(w_->mnuPurgeLog->isEnabled());
    QVERIFY(w_->mnuClearLog->isEnabled());
    QVERIFY(!w_->mnuRepairLog->isEnabled());
    QVERIFY(!w_->mnuOpenLog->isEnabled());
    QVERIFY(w_->inputStarting->isEnabled());
    // Commands whose windows are not connected stay disabled.
    QVERIFY(!w_->mnuSetup->isEnabled());
    QVERIFY(!w_->mnuOptimize->isEnabled());
    QVERIFY(!w_->ToolbarButton(8)->isEnabled());

    // A 23-character name is cut to 19 characters and "...".
    state_->File.LogFileName = QStringLiteral("ABCDEFGHIJKLMNOPQRS.txt");
    w_->ShowLogStatistics();
    QCOMPARE(w_->LabelLogName2->text(), QStringLiteral("ABCDEFGHIJKLMNOPQRS..."));
    QCOMPARE(w_->LabelLogName2->toolTip(), QStringLiteral("ABCDEFGHIJKLMNOPQRS.txt"));
  }

  void datesOutsideTheLogArePulledBack() {
    const QByteArray log = WeekLog();
    StartUp(&log);
    OpenWindow();
    TypeDate(w_->inputEnding, QStringLiteral("01/25/98"));
    QCOMPARE(w_->inputEnding->text(), QStringLiteral("01/21/98"));
    QCOMPARE(state_->ReportEndDate, FromQDate(D(1998, 1, 21)));
    QCOMPARE(w_->StatusText(), QStringLiteral("The end date cannot be greater than the last entry in modem log!"));
    QVERIFY(w_->StatusBold());
    QCOMPARE(BeepCount(), 1);

    w_->Timer1->setInterval(20);
    QTRY_COMPARE(w_->StatusText(), QStringLiteral("Enter the ending date for the report by clicking on the calendar or typing."));
    QVERIFY(!w_->StatusBold());

    TypeDate(w_->inputStarting, QStringLiteral("01/10/98"));
    QCOMPARE(w_->inputStarting->text(), QStringLiteral("01/15/98"));
    QCOMPARE(w_->StatusText(), QStringLiteral("The start date cannot be less than the first entry in modem log!"));
    QCOMPARE(BeepCount(), 2);
  }

  void heldMessageOutlastsFocusMessages() {
    const QByteArray log = WeekLog();
    StartUp(&log);
    OpenWindow();
    w_->Timer1->setInterval(60000);
    TypeDate(w_->inputEnding, QStringLiteral("02/01/98"));
    const QString held = QStringLiteral("The end date cannot be greater than the last entry in modem log!");
    QCOMPARE(w_->StatusText(), held);
    // Focus messages wait while the held one stands.
    w_->btnProcess->setFocus(Qt::TabFocusReason);
    QTRY_VERIFY(w_->btnProcess->hasFocus());
    w_->btnExit->setFocus(Qt::TabFocusReason);
    QTRY_VERIFY(w_->btnExit->hasFocus());
    QCOMPARE(w_->StatusText(), held);
    QVERIFY(w_->Timer1->isActive());
    // When it ends, the message of the current focus replaces it.
    w_->Timer1->setInterval(20);
    w_->Timer1->start();
    QTRY_COMPARE(w_->StatusText(), QStringLiteral("Exit Mirolat."));
    QVERIFY(!w_->Timer1->isActive());
    w_->btnProcess->setFocus(Qt::TabFocusReason);
    QTRY_COMPARE(w_->StatusText(), QStringLiteral("Process your report."));
  }

  void invalidDateKeepsTheFocus() {
    const QByteArray log = WeekLog();
    StartUp(&log);
    OpenWindow();
    w_->inputStarting->setFocus(Qt::MouseFocusReason);
    QTRY_VERIFY(w_->inputStarting->hasFocus());
    w_->inputStarting->selectAll();
    QTest::keyClicks(w_->inputStarting, QStringLiteral("011"));
    QVERIFY(!state_->StartDateValid);
    QVERIFY(!w_->btnProcess->isEnabled());
    QCOMPARE(w_->windowTitle(), QStringLiteral("MIROLAT"));
    w_->btnExit->setFocus(Qt::TabFocusReason);
    QTRY_VERIFY(w_->inputStarting->hasFocus());
    QCOMPARE(BeepCount(), 1);
    QCOMPARE(w_->StatusText(), QStringLiteral("Invalid date entry!"));
    QVERIFY(w_->StatusBold());
    // 30 February is no date either.
    TypeDate(w_->inputStarting, QStringLiteral("02/30/98"));
    QVERIFY(!state_->StartDateValid);
    TypeDate(w_->inputStarting, QStringLiteral("01/18/98"));
    QVERIFY(state_->StartDateValid);
    QVERIFY(w_->btnProcess->isEnabled());
    QCOMPARE(w_->windowTitle(), QStringLiteral("MIROLAT - Report for 4 days"));
  }

  void quickDatesActOnTheActiveBox() {
    const QByteArray log = QuarterLog();
    StartUp(&log);
    OpenWindow(false);
    // Before either box had the focus the commands do nothing.
    w_->mnuLogStart->trigger();
    w_->mnuToday->trigger();
    w_->mnuPlusMonth->trigger();
    w_->UpDown3->upButton()->click();
    QCOMPARE(w_->inputStarting->text(), QStringLiteral("03/31/98"));
    QCOMPARE(w_->inputEnding->text(), QStringLiteral("03/31/98"));

    w_->show();
    QVERIFY(QTest::qWaitForWindowActive(w_));
    w_->inputStarting->setFocus(Qt::MouseFocusReason);
    QTRY_COMPARE(w_->DateRange->ActiveDateField(), 1);
    QTest::keyClick(w_, Qt::Key_F, Qt::ControlModifier);  // First Entry
    QCOMPARE(w_->inputStarting->text(), QStringLiteral("01/01/98"));
    QCOMPARE(w_->inputEnding->text(), QStringLiteral("03/31/98"));
    w_->mnuPlusWeek->trigger();
    QCOMPARE(w_->inputStarting->text(), QStringLiteral("01/08/98"));
    w_->mnuPlusMonth->trigger();
    QCOMPARE(w_->inputStarting->text(), QStringLiteral("02/08/98"));

    w_->inputEnding->setFocus(Qt::MouseFocusReason);
    QTRY_COMPARE(w_->DateRange->ActiveDateField(), 2);
    w_->mnuMinusWeek->trigger();
    QCOMPARE(w_->inputEnding->text(), QStringLiteral("03/24/98"));
    w_->mnuMinusMonth->trigger();
    QCOMPARE(w_->inputEnding->text(), QStringLiteral("02/24/98"));
    QCOMPARE(w_->inputStarting->text(), QStringLiteral("02/08/98"));
    QCOMPARE(w_->windowTitle(), QStringLiteral("MIROLAT - Report for 17 days"));
    QTest::keyClick(w_, Qt::Key_L, Qt::ControlModifier);  // Last Entry
    QCOMPARE(w_->inputEnding->text(), QStringLiteral("03/31/98"));

    // Today lies after the log: the end box is pulled back to the last entry.
    QTest::keyClick(w_, Qt::Key_T, Qt::ControlModifier);
    QCOMPARE(w_->inputEnding->text(), QStringLiteral("03/31/98"));
    QCOMPARE(w_->StatusText(), QStringLiteral("The end date cannot be greater than the last entry in modem log!"));

    w_->ToolbarButtonByKey(QStringLiteral("First Entry"))->trigger();
    QCOMPARE(w_->inputEnding->text(), QStringLiteral("01/01/98"));
  }

  // A rewrite of the current file locks the window with its progress text;
  // the file's new state unlocks it.
  void lockedDuringARewrite() {
    const QByteArray log = WeekLog();
    StartUp(&log);
    OpenWindow();
    w_->SetWindowConnected(WindowCommand::Optimize, true);
    connect(w_, &frmMain::OptimizeRequested, this, [this] {
      w_->LockMainWindow(QStringLiteral("Optimizing..."));
      QCOMPARE(w_->StatusText(), QStringLiteral("Optimizing..."));
      QVERIFY(w_->ProgressBar1->isVisible());
      for (QWidget* c : {static_cast<QWidget*>(w_->btnProcess), static_cast<QWidget*>(w_->btnViewLog),
                         static_cast<QWidget*>(w_->btnExit), static_cast<QWidget*>(w_->inputStarting),
                         static_cast<QWidget*>(w_->UpDown4), static_cast<QWidget*>(w_->LabelEnding),
                         static_cast<QWidget*>(w_->ToolbarMain)}) {
        QVERIFY2(!c->isEnabled(), qPrintable(c->objectName()));
      }
      for (QAction* a : {w_->mnuOpenArchive, w_->mnuOptimize, w_->mnuPurgeLog, w_->mnuToday}) {
        QVERIFY2(!a->isEnabled(), qPrintable(a->objectName()));
      }
      QVERIFY(!w_->mnuQuickDate->menuAction()->isEnabled());
      WriteFile(state_->File.LogFilePath, QuarterLog());
      w_->LogChanged();
    });
    w_->mnuOptimize->trigger();
    QVERIFY(state_->AutoOptimizeAsked);
    QVERIFY(w_->btnProcess->isEnabled());
    QVERIFY(w_->ToolbarMain->isEnabled());
    QVERIFY(!w_->ProgressBar1->isVisible());
    QCOMPARE(w_->LabelLogLast2->text(), QStringLiteral("Tuesday, March 31, 1998"));
  }

  void calendarAndSpinButtons() {
    const QByteArray log = QuarterLog();
    StartUp(&log);
    OpenWindow();
    w_->inputStarting->setFocus(Qt::MouseFocusReason);
    QTRY_COMPARE(w_->DateRange->ActiveDateField(), 1);
    QVERIFY(w_->imgStartArrow->isVisible());
    QVERIFY(!w_->imgEndArrow->isVisible());
    QCOMPARE(w_->lblDateTitle->text(), QStringLiteral("Tuesday, March 31, 1998"));

    ClickCalendarDay(10);
    QCOMPARE(w_->inputStarting->text(), QStringLiteral("03/10/98"));
    QTRY_VERIFY(w_->inputStarting->hasFocus());
    QCOMPARE(w_->lblDateTitle->text(), QStringLiteral("Tuesday, March 10, 1998"));
    QCOMPARE(w_->windowTitle(), QStringLiteral("MIROLAT - Report for 22 days"));

    // Day steps of the start and end boxes.
    QTest::mouseClick(w_->UpDown1->upButton(), Qt::LeftButton);
    QCOMPARE(w_->inputStarting->text(), QStringLiteral("03/11/98"));
    QTest::mouseClick(w_->UpDown1->downButton(), Qt::LeftButton);
    QTest::mouseClick(w_->UpDown1->downButton(), Qt::LeftButton);
    QCOMPARE(w_->inputStarting->text(), QStringLiteral("03/09/98"));
    QTest::mouseClick(w_->UpDown2->downButton(), Qt::LeftButton);
    QCOMPARE(w_->inputEnding->text(), QStringLiteral("03/30/98"));
    QTRY_VERIFY(w_->inputEnding->hasFocus());
    QCOMPARE(w_->DateRange->ActiveDateField(), 2);
    QVERIFY(w_->imgEndArrow->isVisible());

    // Week and month steps move the calendar, then act as a click on it.
    QTest::mouseClick(w_->UpDown3->downButton(), Qt::LeftButton);
    QCOMPARE(w_->inputEnding->text(), QStringLiteral("03/23/98"));
    QTest::mouseClick(w_->UpDown4->downButton(), Qt::LeftButton);
    QCOMPARE(w_->inputEnding->text(), QStringLiteral("02/23/98"));
    // The end now lies before the start, which follows it.
    QCOMPARE(w_->inputStarting->text(), QStringLiteral("02/23/98"));
    QTest::mouseClick(w_->UpDown4->upButton(), Qt::LeftButton);
    QCOMPARE(w_->inputEnding->text(), QStringLiteral("03/23/98"));
    QCOMPARE(w_->windowTitle(), QStringLiteral("MIROLAT - Report for 29 days"));

    // Double-clicking a date label resets its box to today (pulled back here).
    QTest::mouseDClick(w_->LabelStarting, Qt::LeftButton);
    QCOMPARE(w_->inputStarting->text(), QStringLiteral("03/31/98"));
  }

  void toolbarMovesTheControls() {
    const QByteArray log = WeekLog();
    StartUp(&log);
    OpenWindow();
    QVERIFY(w_->ToolbarMain->isVisible());
    // Tops within the window's central area (the date controls sit in their panel).
    const auto top = [this](QWidget* w) { return w->mapTo(w_->Form, QPoint(0, 0)).y(); };
    const int frameTop = top(w_->inputFrame);
    const int calendarTop = top(w_->Calendar1);
    const int headingTop = top(w_->LabelHeading);
    QVERIFY(frameTop > w_->lineToolbar2->geometry().bottom());
    QVERIFY(calendarTop > w_->ToolbarMain->geometry().bottom());

    state_->Config.ShowToolbars = false;
    w_->Form_Activate();
    QVERIFY(!w_->ToolbarMain->isVisible());
    QVERIFY(!w_->lineToolbar1->isVisible());
    const int shift = frameTop - top(w_->inputFrame);
    QVERIFY(shift >= w_->ToolbarMain->sizeHint().height());
    QCOMPARE(calendarTop - top(w_->Calendar1), shift);
    QCOMPARE(headingTop - top(w_->LabelHeading), shift);

    state_->Config.ShowToolbars = true;
    state_->Config.ShowGraphic = false;
    w_->Form_Activate();
    QCOMPARE(top(w_->inputFrame), frameTop);
    QVERIFY(!w_->imgMain->isVisible());
  }

  void processShowsProgressAndOpensTheReport() {
    QStringList days;
    for (int d = 1; d <= 20; ++d) days << QStringLiteral("01-%1-1998").arg(d, 2, 10, QLatin1Char('0'));
    const QByteArray log = SessionLog(days);  // 140 dated lines
    StartUp(&log);
    OpenWindow();
    TypeDate(w_->inputStarting, QStringLiteral("01/01/98"));
    QVERIFY(w_->btnProcess->isEnabled());

    w_->btnProcess->setFocus(Qt::TabFocusReason);
    QTRY_COMPARE(w_->StatusText(), QStringLiteral("Process your report."));
    QStringList texts;
    QList<bool> barShown;
    connect(w_, &frmMain::StatusTextChanged, this, [&](const QString& text) {
      texts << text;
      barShown << w_->ProgressBar1->isVisible();
    });
    QTest::mouseClick(w_->btnProcess, Qt::LeftButton);

    QVERIFY(texts.size() >= 2);
    for (int i = 0; i + 1 < texts.size(); ++i) {
      QVERIFY2(texts[i].startsWith(QStringLiteral("Please Wait .....Processing  ")), qPrintable(texts[i]));
      QVERIFY(barShown[i]);
    }
    QCOMPARE(texts.first(), QStringLiteral("Please Wait .....Processing  10%"));
    QCOMPARE(texts.last(), QStringLiteral(" F I N I S H E D !  -  (140 entries processed)"));
    QCOMPARE(w_->StatusText(), texts.last());
    QVERIFY(!w_->ProgressBar1->isVisible());
    QCOMPARE(reportsShown_, 1);
    QVERIFY(state_->LastRun != nullptr);
    QCOMPARE(state_->LastRun->LinesRead, 140);
    QVERIFY(MessageBox::shownMessages().isEmpty());
  }

  void processOfACorruptLineWarnsAndShowsNoReport() {
    QByteArray log = WeekLog();
    log += "no date on this line\r\n";
    log += SessionLog({"01-22-1998"});
    StartUp(&log);
    QVERIFY(!state_->File.LogCorrupt);
    OpenWindow();
    TypeDate(w_->inputStarting, QStringLiteral("01/15/98"));
    TypeDate(w_->inputEnding, QStringLiteral("01/22/98"));
    QSignalSpy finished(w_, &frmMain::ProcessFinished);
    QTest::mouseClick(w_->btnProcess, Qt::LeftButton);
    QCOMPARE(finished.size(), 1);
    QCOMPARE(reportsShown_, 0);
    QVERIFY(state_->File.LogCorrupt);
    // The run stopped: the status bar says what stopped it, not that it finished.
    QVERIFY2(!w_->StatusText().contains(QStringLiteral("F I N I S H E D")), qPrintable(w_->StatusText()));
    QVERIFY2(w_->StatusText().startsWith(QStringLiteral(" STOPPED: undated line")), qPrintable(w_->StatusText()));
    QCOMPARE(MessageBox::shownMessages().size(), 1);
    QCOMPARE(MessageBox::shownMessages()[0].title, QStringLiteral("WARNING"));
    QVERIFY(MessageBox::shownMessages()[0].text.startsWith(QStringLiteral("Corruption Detected in Modem Log File!")));
    QVERIFY(w_->mnuRepairLog->isEnabled());
    QVERIFY(w_->ToolbarButton(9)->isEnabled());
  }

  // An empty log has no dated entry: First Entry and Last Entry have no date
  // to give, are disabled and write nothing.
  void quickDatesOnALogWithoutDates() {
    const QByteArray log;
    StartUp(&log);
    QVERIFY(state_->File.LogExists);
    QVERIFY(state_->File.LogEmpty);
    OpenWindow();
    QTRY_VERIFY(w_->inputStarting->hasFocus());
    QVERIFY(w_->mnuToday->isEnabled());
    for (QAction* a : {w_->mnuLogStart, w_->mnuLogEnd, w_->ToolbarButton(12), w_->ToolbarButton(13)}) {
      QVERIFY2(!a->isEnabled(), qPrintable(a->objectName()));
    }
    const QString before = w_->inputStarting->text();
    QTest::keyClick(w_->inputStarting, Qt::Key_F, Qt::ControlModifier);
    w_->mnuLogStart_Click();
    w_->mnuLogEnd_Click();
    QCOMPARE(w_->inputStarting->text(), before);
    QCOMPARE(w_->windowTitle(), QStringLiteral("MIROLAT - Report for 1 day"));
  }

  // Up and Down in a date box step its day; the week and month steps have
  // labels with keys and a place in the tab order, and step with the arrow
  // keys; the calendar shows when its days have the focus.
  void keyboardReachesEveryDateControl() {
    const QByteArray log = QuarterLog();
    StartUp(&log);
    OpenWindow();
    QTRY_VERIFY(w_->inputStarting->hasFocus());
    QCOMPARE(w_->inputStarting->text(), Box(D(1998, 3, 31)));
    QTest::keyClick(w_->inputStarting, Qt::Key_Down);
    QTest::keyClick(w_->inputStarting, Qt::Key_Down);
    QCOMPARE(w_->inputStarting->text(), Box(D(1998, 3, 29)));
    QTest::keyClick(w_->inputStarting, Qt::Key_Up);
    QCOMPARE(w_->inputStarting->text(), Box(D(1998, 3, 30)));
    QVERIFY(w_->inputStarting->hasFocus());

    QCOMPARE(w_->DateRange->lblWeek->buddy(), w_->UpDown3);
    QCOMPARE(w_->DateRange->lblMonth->buddy(), w_->UpDown4);
    QTest::keyClick(w_->inputStarting, Qt::Key_Tab);
    QTRY_VERIFY(w_->inputEnding->hasFocus());
    QTest::keyClick(w_->inputEnding, Qt::Key_Tab);
    QTRY_VERIFY(w_->UpDown3->hasFocus());
    QTest::keyClick(w_->UpDown3, Qt::Key_Tab);
    QTRY_VERIFY(w_->UpDown4->hasFocus());
    // A step writes into the active box (the end box) and gives it the focus.
    QTest::keyClick(w_->UpDown4, Qt::Key_Down);
    QCOMPARE(w_->inputEnding->text(), Box(D(1998, 2, 28)));
    QTRY_VERIFY(w_->inputEnding->hasFocus());
    QTest::keyClick(w_->inputEnding, Qt::Key_Tab);
    QTRY_VERIFY(w_->UpDown3->hasFocus());
    QTest::keyClick(w_->UpDown3, Qt::Key_Up);
    QCOMPARE(w_->inputEnding->text(), Box(D(1998, 3, 7)));

    auto* days = w_->Calendar1->findChild<QTableView*>();
    QVERIFY(days != nullptr);
    QVERIFY(!w_->DateRange->CalendarFocus->isVisible());
    days->setFocus(Qt::TabFocusReason);
    QTRY_VERIFY(w_->DateRange->CalendarFocus->isVisible());
    w_->btnExit->setFocus(Qt::TabFocusReason);
    QTRY_VERIFY(!w_->DateRange->CalendarFocus->isVisible());
  }

  // Destroying the window while one of its boxes has the focus moves the
  // focus while its children go: no focus change may reach the window then
  // (a sanitizer build checks the calls).
  void destroyingTheFocusedWindow() {
    const QByteArray log = WeekLog();
    StartUp(&log);
    OpenWindow();
    QTRY_VERIFY(w_->inputStarting->hasFocus());
    delete w_.data();
    QVERIFY(w_.isNull());
    QCOMPARE(BeepCount(), 0);  // no lost-focus rule ran on a dying box
  }

  // The menu keys work with the focus in a date box, where the window spends
  // most of its time; the box keeps its own editing keys: Ctrl+X cuts its
  // selected text, and Ctrl+Q ends the program.
  void menuKeysWorkFromTheDateBox() {
    const QByteArray log = QuarterLog();
    StartUp(&log);
    OpenWindow();
    int ended = 0;
    SetProgramExitHandler([&ended] { ++ended; });
    QTRY_VERIFY(w_->inputStarting->hasFocus());
    QTest::keyClick(w_->inputStarting, Qt::Key_F, Qt::ControlModifier);
    QCOMPARE(w_->inputStarting->text(), Box(D(1998, 1, 1)));
    QTest::keyClick(w_->inputStarting, Qt::Key_L, Qt::ControlModifier);
    QCOMPARE(w_->inputStarting->text(), Box(D(1998, 3, 31)));
    QCOMPARE(ended, 0);
    w_->inputStarting->selectAll();
    QTest::keyClick(w_->inputStarting, Qt::Key_X, Qt::ControlModifier);
    QCOMPARE(ended, 0);
    QCOMPARE(QApplication::clipboard()->text(), Box(D(1998, 3, 31)));
    QVERIFY(w_->inputStarting->text() != Box(D(1998, 3, 31)));
    QTest::keyClick(w_->inputStarting, Qt::Key_Q, Qt::ControlModifier);
    QCOMPARE(ended, 1);
    QVERIFY(ProgramEnding());
  }

  // Options and About load under the hourglass; once their own event loop
  // runs the user works in them with the normal pointer, and afterwards the
  // pointer is as it was.
  void modalWindowsAreNotUsedUnderTheHourglass() {
    const QByteArray log = WeekLog();
    StartUp(&log);
    QList<int> shapesInside;
    const auto modal = [&shapesInside] {
      QEventLoop loop;
      QTimer::singleShot(0, &loop, &QEventLoop::quit);
      loop.exec();
      const QCursor* cursor = QGuiApplication::overrideCursor();
      shapesInside.append(cursor != nullptr ? static_cast<int>(cursor->shape()) : -1);
    };
    OpenWindow();
    connect(w_, &frmMain::AboutRequested, this, modal);
    connect(w_, &frmMain::OptionsRequested, this, modal);
    w_->SetWindowConnected(WindowCommand::Options, true);
    QGuiApplication::setOverrideCursor(Qt::CrossCursor);
    w_->mnuAbout->trigger();
    w_->mnuSetup->trigger();
    QCOMPARE(shapesInside, (QList<int>{static_cast<int>(Qt::CrossCursor), static_cast<int>(Qt::CrossCursor)}));
    QVERIFY(QGuiApplication::overrideCursor() != nullptr);
    QCOMPARE(QGuiApplication::overrideCursor()->shape(), Qt::CrossCursor);
    QGuiApplication::restoreOverrideCursor();
    QCOMPARE(QGuiApplication::overrideCursor(), nullptr);
  }

  // A day picked on the calendar with the arrow keys and Enter goes into
  // the active box, as a click would put it there.
  void calendarTakesEnterFromTheKeyboard() {
    const QByteArray log = WeekLog();
    StartUp(&log);
    OpenWindow();
    QTRY_VERIFY(w_->inputStarting->hasFocus());
    QCOMPARE(w_->inputStarting->text(), Box(D(1998, 1, 21)));
    auto* view = w_->Calendar1->findChild<QTableView*>();
    QVERIFY(view != nullptr);
    view->setFocus(Qt::TabFocusReason);
    QTRY_VERIFY(view->hasFocus());
    QTest::keyClick(view, Qt::Key_Left);
    QTest::keyClick(view, Qt::Key_Left);
    QCOMPARE(w_->inputStarting->text(), Box(D(1998, 1, 21)));
    QTest::keyClick(view, Qt::Key_Return);
    QCOMPARE(w_->inputStarting->text(), Box(D(1998, 1, 19)));
    QCOMPARE(state_->ReportStartDate, FromQDate(D(1998, 1, 19)));
    QTRY_VERIFY(w_->inputStarting->hasFocus());
  }

  // The help window goes with the main window: left open it would keep the
  // program running with no main window.
  void closingTheWindowClosesHelp() {
    const QByteArray log = WeekLog();
    StartUp(&log);
    OpenWindow();
    QTest::keyClick(w_, Qt::Key_F1);
    QPointer<QWidget> help = HelpWindow();
    QVERIFY(!help.isNull());
    QVERIFY(help->isVisible());
    w_->close();
    QVERIFY(help.isNull() || !help->isVisible());
  }

  void clearModemLogAsksThenDeletesAndEnds() {
    const QByteArray log = WeekLog();
    StartUp(&log);
    OpenWindow();
    int ended = 0;
    SetProgramExitHandler([&ended] { ++ended; });
    MessageBox::setNextAnswer(MessageButton::No);
    QTest::keyClick(w_, Qt::Key_F5);
    QCOMPARE(MessageBox::shownMessages().size(), 1);
    const MessageBoxSpec question = MessageBox::shownMessages()[0];
    QCOMPARE(question.title, QStringLiteral("Delete Modem Log"));
    QCOMPARE(question.buttons, MessageButtons::YesNo);
    QCOMPARE(question.text, QStringLiteral("You are about to delete your modem log. Before clearing this log, \n"
                                           "you should save it as an archive if you haven't done so already.\n\n"
                                           "Are you sure you want to delete your modem log?"));
    QVERIFY(QFile::exists(state_->File.LogFilePath));
    QCOMPARE(ended, 0);

    MessageBox::setNextAnswer(MessageButton::Yes);
    MessageBox::setNextAnswer(MessageButton::Ok);
    w_->ToolbarButtonByKey(QStringLiteral("Clear Modem Log"))->trigger();
    QVERIFY(!QFile::exists(state_->File.LogFilePath));
    QCOMPARE(MessageBox::shownMessages().size(), 3);
    QCOMPARE(MessageBox::shownMessages()[2].text, QStringLiteral("Modem log has been deleted.\nMirolat will now terminate!"));
    QCOMPARE(ended, 1);
    QVERIFY(ProgramEnding());
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(w_.isNull());
  }
};

QTEST_MAIN(MainWindowTest)
#include "tst_main_window.moc"
