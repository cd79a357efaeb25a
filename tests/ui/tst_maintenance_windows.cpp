// The maintenance windows driven as a user would: the purge dialog's options,
// clamped dates and confirmation, the repair window (once per opening), and
// the optimize question with the main window's lock and progress texts.
#include <QDir>
#include <QPointer>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <memory>

#include "core/app/app_state.h"
#include "core/logfile/log_rewrites.h"
#include "support/common_test_env.h"
#include "support/log_window_support.h"
#include "ui/dialogs/beep.h"
#include "ui/dialogs/message_box.h"
#include "ui/maintenance/frm_file_repair.h"
#include "ui/maintenance/frm_purge.h"
#include "ui/maintenance/optimize_presenter.h"
#include "ui/maintenance/rewrite_progress.h"

using namespace mirolat;
using test::ReadAll;

class TestMaintenanceWindows : public QObject {
  Q_OBJECT

 private:
  std::unique_ptr<test::CommonTestEnvironment> env_;
  std::unique_ptr<AppState> state_;
  test::RecordingReporter reporter_;
  RewriteProgress progress_;
  QStringList statuses_;
  QList<bool> barShown_;

  QString LogPath() const { return state_->File.LogFilePath; }
  QString Beside(const char* name) const { return state_->File.WindowsDir + QString::fromLatin1(name); }

  // Types a date into a masked box as a user would: select all, then the digits.
  static void TypeDate(QLineEdit* box, const QString& digits) {
    box->setFocus();
    box->selectAll();
    QTest::keyClick(box, Qt::Key_Delete);
    box->setCursorPosition(0);
    QTest::keyClicks(box, digits);
  }

 private Q_SLOTS:
  void init() {
    env_ = std::make_unique<test::CommonTestEnvironment>();
    state_ = std::make_unique<AppState>();
    state_->Locale = LoadLocaleInfo(QLocale(QLocale::English, QLocale::UnitedStates));
    test::UseLogFile(*state_, env_->LogDir(), QStringLiteral("ModemLog.txt"), test::JanuaryLog());
    reporter_ = test::RecordingReporter{};
    statuses_.clear();
    barShown_.clear();
    progress_.disconnect(this);
    connect(&progress_, &RewriteProgress::StatusTextChanged, this, [this](const QString& t) { statuses_.append(t); });
    connect(&progress_, &RewriteProgress::ProgressBarShown, this, [this](bool shown) { barShown_.append(shown); });
  }

  void cleanup() {
    state_.reset();
    env_.reset();
  }

  // ---------------------------------------------------------------- purge

  void purgeOptionsEnableTheirOwnBoxes() {
    frmPurge dialog(*state_, reporter_, progress_);
    QCOMPARE(dialog.windowTitle(), QStringLiteral("Purge Modem Log"));
    QCOMPARE(dialog.PurgeOption(), 1);
    QCOMPARE(dialog.optPurge[1]->text(), QStringLiteral("Purge from first entry up to and including "));
    QCOMPARE(dialog.btnCancel->text(), QStringLiteral("&Cancel"));
    struct Row {
      int option;
      bool box1, box2a, box2b, box3;
    };
    for (const Row& r : {Row{1, true, false, false, false}, Row{2, false, true, true, false},
                         Row{3, false, false, false, true}}) {
      dialog.optPurge[static_cast<std::size_t>(r.option)]->click();
      QCOMPARE(dialog.PurgeOption(), r.option);
      for (int i = 1; i <= 3; ++i) QCOMPARE(dialog.optPurge[static_cast<std::size_t>(i)]->isChecked(), i == r.option);
      QCOMPARE(dialog.MaskEdBox1->isEnabled(), r.box1);
      QCOMPARE(dialog.MaskEdBox2[0]->isEnabled(), r.box2a);
      QCOMPARE(dialog.MaskEdBox2[1]->isEnabled(), r.box2b);
      QCOMPARE(dialog.MaskEdBox3->isEnabled(), r.box3);
      // Nothing typed yet: no valid range.
      QVERIFY(!dialog.btnOK->isEnabled());
    }
  }

  void purgeRangesOfTheThreeOptions_data() {
    QTest::addColumn<int>("option");
    QTest::addColumn<QString>("first");
    QTest::addColumn<QString>("second");
    QTest::addColumn<int>("fromDay");
    QTest::addColumn<int>("toDay");
    QTest::newRow("up to a day") << 1 << "011598" << "" << 1 << 15;
    QTest::newRow("between two days") << 2 << "011098" << "011698" << 10 << 16;
    QTest::newRow("from a day to the end") << 3 << "011698" << "" << 16 << 31;
  }
  void purgeRangesOfTheThreeOptions() {
    QFETCH(int, option);
    QFETCH(QString, first);
    QFETCH(QString, second);
    QFETCH(int, fromDay);
    QFETCH(int, toDay);
    frmPurge dialog(*state_, reporter_, progress_);
    dialog.show();
    dialog.optPurge[static_cast<std::size_t>(option)]->click();
    QLineEdit* box = option == 1 ? dialog.MaskEdBox1 : option == 2 ? dialog.MaskEdBox2[0] : dialog.MaskEdBox3;
    TypeDate(box, first);
    if (!second.isEmpty()) TypeDate(dialog.MaskEdBox2[1], second);
    QVERIFY(dialog.PurgeFromValid());
    QVERIFY(dialog.PurgeToValid());
    QCOMPARE(dialog.PurgeFrom(), MakeDate(1998, 1, fromDay));
    QCOMPARE(dialog.PurgeTo(), MakeDate(1998, 1, toDay));
    QVERIFY(dialog.btnOK->isEnabled());
    QCOMPARE(BeepCount(), 0);
  }

  void typedDatesOutsideTheLogAreClampedWithABeep_data() {
    QTest::addColumn<QString>("typedFrom");
    QTest::addColumn<QString>("typedTo");
    QTest::addColumn<QString>("shownFrom");
    QTest::addColumn<QString>("shownTo");
    QTest::addColumn<int>("beeps");
    QTest::newRow("start before the first entry") << "120197" << "011098" << "01/01/98" << "01/10/98" << 1;
    QTest::newRow("end after the last entry") << "011098" << "022098" << "01/10/98" << "01/31/98" << 1;
    QTest::newRow("both outside") << "010190" << "123199" << "01/01/98" << "01/31/98" << 2;
    QTest::newRow("both inside") << "010298" << "013098" << "01/02/98" << "01/30/98" << 0;
  }
  void typedDatesOutsideTheLogAreClampedWithABeep() {
    QFETCH(QString, typedFrom);
    QFETCH(QString, typedTo);
    QFETCH(QString, shownFrom);
    QFETCH(QString, shownTo);
    QFETCH(int, beeps);
    frmPurge dialog(*state_, reporter_, progress_);
    dialog.show();
    dialog.optPurge[2]->click();
    TypeDate(dialog.MaskEdBox2[0], typedFrom);
    TypeDate(dialog.MaskEdBox2[1], typedTo);
    QCOMPARE(dialog.MaskEdBox2[0]->text(), shownFrom);
    QCOMPARE(dialog.MaskEdBox2[1]->text(), shownTo);
    QCOMPARE(BeepCount(), beeps);
    QVERIFY(dialog.btnOK->isEnabled());
  }

  void endBeforeStartKeepsOkDisabled() {
    frmPurge dialog(*state_, reporter_, progress_);
    dialog.show();
    dialog.optPurge[2]->click();
    TypeDate(dialog.MaskEdBox2[0], QStringLiteral("012098"));
    TypeDate(dialog.MaskEdBox2[1], QStringLiteral("011098"));
    QVERIFY(dialog.PurgeFromValid() && dialog.PurgeToValid());
    QVERIFY(!dialog.btnOK->isEnabled());
    // A half-typed date is no date.
    TypeDate(dialog.MaskEdBox2[1], QStringLiteral("0125"));
    QVERIFY(!dialog.PurgeToValid());
    QVERIFY(!dialog.btnOK->isEnabled());
  }

  void purgeAskedYesRemovesTheRangeAndKeepsTheOldLog() {
    frmPurge dialog(*state_, reporter_, progress_);
    QSignalSpy purged(&dialog, &frmPurge::Purged);
    dialog.show();
    TypeDate(dialog.MaskEdBox1, QStringLiteral("011598"));
    MessageBox::setNextAnswer(MessageButton::Yes);
    dialog.btnOK->click();
    const MessageBoxSpec question = MessageBox::shownMessages().last();
    QCOMPARE(question.title, QStringLiteral("PURGE ENTRIES"));
    QCOMPARE(question.text, PurgeQuestion(MakeDate(1998, 1, 1), MakeDate(1998, 1, 15), state_->Locale.Locale).text);
    QVERIFY(question.text.startsWith(QStringLiteral("About to purge all entries in Modem\nLog File between ")));
    QVERIFY(question.text.endsWith(QStringLiteral(".\n\nAre You Sure?")));
    QVERIFY(dialog.PurgeDone());
    QCOMPARE(purged.count(), 1);
    QCOMPARE(dialog.result(), int(QDialog::Accepted));
    QCOMPARE(ReadAll(LogPath()), QByteArray("01-16-1998 08:00:00.00 - Initializing modem.\r\n"
                                            "01-31-1998 23:59:00.00 - Session statistics: connection established\r\n"));
    QCOMPARE(ReadAll(Beside(kLogBackupFileName)), test::JanuaryLog());
    QVERIFY(!QFile::exists(Beside(kPurgeWorkFileName)));
    QCOMPARE(barShown_, (QList<bool>{true, false}));
    QVERIFY(statuses_.size() >= 2);
    QVERIFY(statuses_.first().startsWith(QStringLiteral("Please Wait .....Purging  ")));
    QCOMPARE(statuses_.last(), QStringLiteral("Finished Purging Records!"));
  }

  void purgeAskedNoChangesNothing() {
    frmPurge dialog(*state_, reporter_, progress_);
    QSignalSpy purged(&dialog, &frmPurge::Purged);
    dialog.show();
    TypeDate(dialog.MaskEdBox1, QStringLiteral("011598"));
    MessageBox::setNextAnswer(MessageButton::No);
    dialog.btnOK->click();
    QVERIFY(!dialog.PurgeDone());
    QCOMPARE(purged.count(), 0);
    QVERIFY(!dialog.isVisible());
    QCOMPARE(ReadAll(LogPath()), test::JanuaryLog());
    QVERIFY(!QFile::exists(Beside(kLogBackupFileName)));
    QVERIFY(statuses_.isEmpty());
  }

  void purgeCancelClosesWithoutChange() {
    frmPurge dialog(*state_, reporter_, progress_);
    dialog.show();
    TypeDate(dialog.MaskEdBox1, QStringLiteral("011598"));
    dialog.btnCancel->click();
    QCOMPARE(dialog.result(), int(QDialog::Rejected));
    QVERIFY(MessageBox::shownMessages().isEmpty());
    QCOMPARE(ReadAll(LogPath()), test::JanuaryLog());
  }

  // ---------------------------------------------------------------- repair

  void repairRemovesBadBytesOnceAndKeepsTheOldLog() {
    const QByteArray corrupt = QByteArray("01-01-1998 10:00:00.00 - Recv:\tATDT555") + QByteArray(1, '\0') +
                               QByteArray("1234\r\ngarbage line\r\n\r\n01-02-1998 11:00:00.00 - Hanging up the modem.\r\n");
    test::UseLogFile(*state_, env_->LogDir(), QStringLiteral("ModemLog.txt"), corrupt);
    state_->File.LogCorrupt = true;
    frmFileRepair window(*state_, reporter_);
    QSignalSpy repaired(&window, &frmFileRepair::LogRepaired);
    QCOMPARE(window.windowTitle(), QStringLiteral("File Repair"));
    QVERIFY(!window.btnOK->isEnabled());
    window.show();
    QTRY_VERIFY(window.RepairRun());
    QTRY_VERIFY(window.btnOK->isEnabled());
    QVERIFY(window.lblFileRepair->text().startsWith(QStringLiteral("Modem File Successfully Repaired!")));
    QCOMPARE(window.ProgressBar->value(), 100);
    QCOMPARE(BeepCount(), 1);
    QCOMPARE(repaired.count(), 1);
    QVERIFY(!state_->File.LogCorrupt);
    QCOMPARE(ReadAll(LogPath()), QByteArray("01-01-1998 10:00:00.00 - Recv:ATDT5551234\r\n"
                                            "01-02-1998 11:00:00.00 - Hanging up the modem.\r\n"));
    QCOMPARE(ReadAll(Beside(kLogBackupFileName)), corrupt);
    QVERIFY(QFile::exists(Beside(kRepairFirstPassFileName)));

    // Activated again (another window in front, then back): nothing runs again.
    test::WriteAll(LogPath(), corrupt);
    window.hide();
    window.show();
    window.activateWindow();
    QTest::qWait(50);
    QCOMPARE(ReadAll(LogPath()), corrupt);
    QCOMPARE(BeepCount(), 1);
    window.btnOK->click();
    QCOMPARE(window.result(), int(QDialog::Accepted));
  }

  void repairOfAMissingLogReportsAndLetsTheWindowClose() {
    QFile::remove(LogPath());
    frmFileRepair window(*state_, reporter_);
    QSignalSpy repaired(&window, &frmFileRepair::LogRepaired);
    window.show();
    QTRY_VERIFY(window.btnOK->isEnabled());
    QVERIFY(!reporter_.errors.isEmpty());
    QVERIFY(window.lblFileRepair->text() != QStringLiteral("Modem File Successfully Repaired!"));
    QCOMPARE(repaired.count(), 0);
    QCOMPARE(BeepCount(), 0);
  }

  // ---------------------------------------------------------------- optimize

  void optimizeAnArchiveLocksAndKeepsItsBackupBesideIt() {
    QTemporaryDir archives;
    const QString folder = archives.path() + QLatin1Char('/');
    test::UseLogFile(*state_, folder, QStringLiteral("January.mrl"), test::JanuaryLog(), true);
    OptimizePresenter presenter(*state_, reporter_, nullptr);
    connect(&presenter.progress(), &RewriteProgress::StatusTextChanged, this,
            [this](const QString& t) { statuses_.append(t); });
    QSignalSpy locked(&presenter, &OptimizePresenter::LockMainWindowRequested);
    QSignalSpy finished(&presenter, &OptimizePresenter::Finished);
    MessageBox::setNextAnswer(MessageButton::Yes);
    QVERIFY(presenter.OptimizeCurrentFile());
    const MessageBoxSpec question = MessageBox::shownMessages().last();
    QCOMPARE(question.title, QStringLiteral("OPTIMIZE MODEM LOG"));
    QCOMPARE(question.text, QStringLiteral("About to optimize Current Modem Log File!\n\nAre You Sure?"));
    QVERIFY(state_->AutoOptimizeAsked);
    QCOMPARE(locked.count(), 1);
    QCOMPARE(finished.count(), 1);
    QCOMPARE(finished.at(0).at(0).toBool(), true);
    QCOMPARE(ReadAll(folder + QStringLiteral("ModemLogArchive.old")), test::JanuaryLog());
    QVERIFY(!QFile::exists(env_->LogDir() + QStringLiteral("ModemLogArchive.old")));
    QVERIFY(!QFile::exists(folder + QStringLiteral("ModemLog.old")));
    // Only the lines the analysis reads are left.
    const QByteArray optimized = ReadAll(LogPath());
    QVERIFY(!optimized.contains("Initializing modem."));
    QVERIFY(optimized.contains("Recv: ATDT5551234"));
    QVERIFY(statuses_.first().startsWith(QStringLiteral("Please Wait .....Optimizing  ")));
    QCOMPARE(statuses_.last(), QStringLiteral("Finished Optimizing Modem Log File!"));
  }

  void optimizeAnsweredNoChangesNothingButCountsAsAsked() {
    OptimizePresenter presenter(*state_, reporter_, nullptr);
    QSignalSpy locked(&presenter, &OptimizePresenter::LockMainWindowRequested);
    QSignalSpy finished(&presenter, &OptimizePresenter::Finished);
    MessageBox::setNextAnswer(MessageButton::No);
    QVERIFY(!presenter.OptimizeCurrentFile());
    QVERIFY(state_->AutoOptimizeAsked);
    QCOMPARE(locked.count(), 0);
    QCOMPARE(finished.count(), 1);
    QCOMPARE(finished.at(0).at(0).toBool(), false);
    QCOMPARE(ReadAll(LogPath()), test::JanuaryLog());
    QVERIFY(!QFile::exists(Beside(kLogBackupFileName)));
  }
};

QTEST_MAIN(TestMaintenanceWindows)
#include "tst_maintenance_windows.moc"
