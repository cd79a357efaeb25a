// The log viewer and its find dialog where the journeys do not reach:
// searching down and up and Find Next, saving (without growing the file, not
// over lines written since it was read, only to the file it read), a save that
// fails, a large file loaded in parts, and what closing writes to the settings
// store.
#include <QApplication>
#include <QDir>
#include <QPointer>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>
#include <cmath>
#include <functional>
#include <memory>

#include "core/app/app_state.h"
#include "core/settings/configuration_io.h"
#include "core/settings/settings_store.h"
#include "support/common_test_env.h"
#include "support/log_window_support.h"
#include "ui/dialogs/file_dialog.h"
#include "ui/dialogs/font_dialog.h"
#include "ui/dialogs/message_box.h"
#include "ui/logviewer/frm_find.h"
#include "ui/logviewer/frm_view_log.h"

using namespace mirolat;
using test::ReadAll;

class TestLogViewer : public QObject {
  Q_OBJECT

 private:
  std::unique_ptr<test::CommonTestEnvironment> env_;
  std::unique_ptr<AppState> state_;
  test::RecordingReporter reporter_;
  QPointer<frmViewLog> viewer_;

  QString LogPath() const { return state_->File.LogFilePath; }

  void Open() {
    viewer_ = new frmViewLog(*state_, reporter_);
    viewer_->ShowViewer();
    QVERIFY(QTest::qWaitForWindowExposed(viewer_));
  }

  // Opens the find dialog and lets `act` work on it while it is up; the
  // dialog is cancelled afterwards when `act` left it open.
  void WithFindDialog(const std::function<void(frmFind&)>& act) {
    bool ran = false;
    QTimer::singleShot(0, this, [this, &act, &ran] {
      frmFind* dialog = viewer_->FindDialog();
      if (dialog == nullptr) return;
      ran = true;
      act(*dialog);
      if (viewer_->FindDialog() != nullptr && viewer_->FindDialog()->isVisible()) viewer_->FindDialog()->cmdcancel->click();
    });
    viewer_->mnuSearchFind->trigger();
    QVERIFY(ran);
  }

  void Find(const QString& text, bool down, bool matchCase = false) {
    WithFindDialog([&](frmFind& f) {
      f.Text1->setText(text);
      if (!down) f.optDirection[0]->click();
      if (matchCase != f.chkCase->isChecked()) f.chkCase->click();
      f.cmdFind->click();
    });
  }

  int SelectionStart() const { return viewer_->TextViewLog->textCursor().selectionStart(); }
  QString Selected() const { return viewer_->TextViewLog->textCursor().selectedText(); }
  void PutCaret(int position) {
    QTextCursor c = viewer_->TextViewLog->textCursor();
    c.setPosition(position);
    viewer_->TextViewLog->setTextCursor(c);
  }
  void TypeAtEnd(const QString& text) {
    viewer_->TextViewLog->setFocus();
    viewer_->mnuBottom_Click();
    QTest::keyClicks(viewer_->TextViewLog, text);
  }
  int CountOf(const QString& text) const {
    int n = 0;
    for (const MessageBoxSpec& m : MessageBox::shownMessages()) n += m.text == text ? 1 : 0;
    return n;
  }

 private Q_SLOTS:
  void init() {
    env_ = std::make_unique<test::CommonTestEnvironment>();
    state_ = std::make_unique<AppState>();
    state_->Locale = LoadLocaleInfo(QLocale(QLocale::English, QLocale::UnitedStates));
    state_->Store = std::make_shared<SettingsStore>(SettingsStore::FilePathIn(env_->ConfigDir()));
    QVERIFY(SaveConfiguration(*state_->Store, state_->Config, reporter_));
    test::UseLogFile(*state_, env_->LogDir(), QStringLiteral("ModemLog.txt"), test::JanuaryLog());
    reporter_ = test::RecordingReporter{};
    frmViewLog::ResetSearch();
  }

  void cleanup() {
    if (!viewer_.isNull()) {
      // Nothing left to ask about when the test closes it.
      viewer_->TextViewLog->document()->setModified(false);
      viewer_->close();
    }
    QTRY_VERIFY(viewer_.isNull());
    state_.reset();
    env_.reset();
  }

  void findDownThenFindNextContinuesBehindEachHit() {
    Open();
    const QString text = viewer_->ShownText();
    const QString needle = QStringLiteral("connection established");
    const int first = text.indexOf(needle, 0, Qt::CaseInsensitive);
    const int second = text.indexOf(needle, first + 1, Qt::CaseInsensitive);
    const int third = text.indexOf(needle, second + 1, Qt::CaseInsensitive);
    QVERIFY(first > 0 && second > first && third > second);
    Find(needle, true);
    QVERIFY(viewer_->FindDialog() == nullptr);  // closed by the hit
    QCOMPARE(SelectionStart(), first);
    QCOMPARE(Selected().size(), needle.size());
    viewer_->mnuSearchFindNext->trigger();
    QCOMPARE(SelectionStart(), second);
    viewer_->mnuSearchFindNext->trigger();
    QCOMPARE(SelectionStart(), third);
    // Past the last hit: the box, and the caret stays.
    viewer_->mnuSearchFindNext->trigger();
    QCOMPARE(SelectionStart(), third);
    QCOMPARE(CountOf(QStringLiteral("Cannot find \"connection established\"")), 1);
  }

  void findUpNeverLooksAtTheCaretAndContinuesUpwards() {
    Open();
    const QString text = viewer_->ShownText();
    const QString needle = QStringLiteral("Recv");
    const int first = text.indexOf(needle);
    const int second = text.indexOf(needle, first + 1);
    // The caret on the second hit: a new upward search passes over it.
    PutCaret(second);
    Find(needle, false);
    QCOMPARE(SelectionStart(), first);
    viewer_->mnuBottom_Click();
    // From the end: the last hit; then Find Next goes on upwards.
    Find(needle, false);
    QCOMPARE(SelectionStart(), second);
    viewer_->mnuSearchFindNext->trigger();
    QCOMPARE(SelectionStart(), first);
  }

  void changedSearchTextStartsAtTheCaretAgain() {
    Open();
    const QString text = viewer_->ShownText();
    Find(QStringLiteral("Recv"), true);
    const int hit = SelectionStart();
    // A new text that matches right at the caret finds that place, not the next one.
    Find(QStringLiteral("Recv: ATDT555"), true);
    QCOMPARE(SelectionStart(), hit);
    QCOMPARE(text.mid(hit, 4), QStringLiteral("Recv"));
  }

  void savingWritesTheTextOnceWithoutGrowing() {
    Open();
    QSignalSpy saved(viewer_.data(), &frmViewLog::LogSaved);
    TypeAtEnd(QStringLiteral("01-31-1998 23:59:30.00 - typed"));
    QVERIFY(viewer_->mnuSave->isEnabled());
    MessageBox::setNextAnswer(MessageButton::Ok);
    viewer_->mnuSave->trigger();
    const QByteArray expected = test::JanuaryLog() + "01-31-1998 23:59:30.00 - typed\r\n";
    QCOMPARE(ReadAll(LogPath()), expected);
    QCOMPARE(saved.count(), 1);
    QVERIFY(!viewer_->mnuSave->isEnabled());
    // An edit and its undoing, then a second save: the same bytes.
    TypeAtEnd(QStringLiteral("x"));
    QTest::keyClick(viewer_->TextViewLog, Qt::Key_Backspace);
    viewer_->TextViewLog->document()->setModified(true);
    MessageBox::setNextAnswer(MessageButton::Ok);
    viewer_->mnuSave_Click();
    QCOMPARE(ReadAll(LogPath()), expected);
    QVERIFY(reporter_.errors.isEmpty());
  }

  void saveAsksBeforeReplacingLinesWrittenSinceReading() {
    Open();
    TypeAtEnd(QStringLiteral("x"));
    // The modem writes a line meanwhile.
    const QByteArray grown = test::JanuaryLog() + "02-01-1998 09:00:00.00 - Recv: ATDT5551234\r\n";
    test::WriteAll(LogPath(), grown);
    MessageBox::setNextAnswer(MessageButton::Ok);
    MessageBox::setNextAnswer(MessageButton::No);
    viewer_->mnuSave_Click();
    QCOMPARE(MessageBox::shownMessages().last().title, QStringLiteral("WARNING"));
    QCOMPARE(ReadAll(LogPath()), grown);
    QVERIFY(viewer_->mnuSave->isEnabled());
    // Answered Yes the second time: the shown text replaces it.
    MessageBox::setNextAnswer(MessageButton::Ok);
    MessageBox::setNextAnswer(MessageButton::Yes);
    viewer_->mnuSave_Click();
    QCOMPARE(ReadAll(LogPath()), test::JanuaryLog() + "x\r\n");
  }

  void closingKeepsTheWindowWhenTheEditsCouldNotBeSaved() {
    Open();
    QSignalSpy closed(viewer_.data(), &frmViewLog::Closed);
    TypeAtEnd(QStringLiteral("precious"));
    // A folder has taken the file's place: the write fails and the reporter is told.
    QVERIFY(QFile::remove(LogPath()));
    QVERIFY(QDir().mkpath(LogPath()));
    MessageBox::setNextAnswer(MessageButton::Yes);  // save the changes
    MessageBox::setNextAnswer(MessageButton::Yes);  // though the file has changed
    QVERIFY(!viewer_->close());
    QCOMPARE(reporter_.errors.size(), 1);
    QCOMPARE(closed.count(), 0);
    QVERIFY(!viewer_.isNull());
    QVERIFY(viewer_->ShownText().endsWith(QStringLiteral("precious")));
    QVERIFY(viewer_->mnuSave->isEnabled());
    // Saved elsewhere, the edits may then be let go.
    MessageBox::setNextAnswer(MessageButton::No);
    QVERIFY(viewer_->close());
    QCOMPARE(closed.count(), 1);
  }

  void savesToTheFileItReadWhenAnotherBecameCurrent() {
    const QString archive = env_->LogDir() + QStringLiteral("Jan98.mrl");
    test::UseLogFile(*state_, env_->LogDir(), QStringLiteral("Jan98.mrl"), test::JanuaryLog(), true);
    const QByteArray log = "02-01-1998 09:00:00.00 - Recv: ATDT5551234\r\n";
    test::WriteAll(env_->LogDir() + QStringLiteral("ModemLog.txt"), log);
    Open();
    TypeAtEnd(QStringLiteral("x"));
    // The main window goes back to the modem log meanwhile.
    state_->File.LogFilePath = env_->LogDir() + QStringLiteral("ModemLog.txt");
    state_->File.ArchiveOpen = false;
    MessageBox::setNextAnswer(MessageButton::Ok);
    viewer_->mnuSave_Click();
    QCOMPARE(ReadAll(archive), test::JanuaryLog() + "x\r\n");
    QCOMPARE(ReadAll(env_->LogDir() + QStringLiteral("ModemLogArchive.old")), test::JanuaryLog());
    QCOMPARE(ReadAll(env_->LogDir() + QStringLiteral("ModemLog.txt")), log);
    QVERIFY(!QFile::exists(env_->LogDir() + QStringLiteral("ModemLog.old")));
    QVERIFY(MessageBox::shownMessages().last().text.contains(archive));
  }

  void saveAsArchiveReportsAWriteError() {
    Open();
    QSignalSpy archived(viewer_.data(), &frmViewLog::ArchiveSaved);
    FileDialog::setNextFileName(env_->LogDir() + QStringLiteral("missing/folder/a.mrl"));
    viewer_->mnuSaveArchive_Click();
    QCOMPARE(reporter_.errors.size(), 1);
    QCOMPARE(archived.count(), 0);
  }

  // With Save on Exit the font and the size reach the store (without it the
  // flag alone is written: the core's rule).
  void closingWithSaveOnExitStoresTheFontAndSize() {
    Open();
    QCOMPARE(viewer_->mnuSaveSettings->isChecked(), false);
    viewer_->mnuSaveSettings->trigger();
    QFont chosen(QStringLiteral("Courier New"), 11);
    chosen.setBold(true);
    FontDialog::setNextFont(chosen);
    viewer_->mnuFont_Click();
    viewer_->resize(2600, 300);  // wider than the record's 16 bits of twips at 96 dpi
    viewer_->close();
    const auto text = [this](const char* name) {
      const SettingsValue v = state_->Store->SettingsReadValue(Root::Machine, kViewLogKey, QString::fromLatin1(name));
      return std::holds_alternative<QString>(v) ? std::get<QString>(v) : QStringLiteral("<not text>");
    };
    const auto number = [this](const char* name) {
      const SettingsValue v = state_->Store->SettingsReadValue(Root::Machine, kViewLogKey, QString::fromLatin1(name));
      return std::holds_alternative<qint32>(v) ? std::get<qint32>(v) : -1;
    };
    QCOMPARE(text("SaveSettings"), QStringLiteral("True"));
    QCOMPARE(text("FontName"), QStringLiteral("Courier New"));
    QCOMPARE(number("FontSize"), 11);
    QCOMPARE(text("FontBold"), QStringLiteral("True"));
    QCOMPARE(number("WinWidth"), std::min(32767, static_cast<int>(std::lround(2600 * 1440.0 / QWidget().logicalDpiX()))));
    Configuration reloaded;
    LoadConfiguration(*state_->Store, reloaded, reporter_);
    QCOMPARE(state_->Store->DamageMessage(), QString());
  }

  void restoreDefaultsPutsBackFontCheckAndSize() {
    state_->Config.ViewLog.SaveSettings = true;
    state_->Config.ViewLog.FontName = QStringLiteral("Courier New");
    state_->Config.ViewLog.FontSize = 14;
    state_->Config.ViewLog.FontItalic = true;
    Open();
    QVERIFY(viewer_->mnuSaveSettings->isChecked());
    viewer_->resize(300, 200);
    viewer_->mnuRestore->trigger();
    QCOMPARE(viewer_->TextViewLog->font().family(), QStringLiteral("MS Sans Serif"));
    QVERIFY(!viewer_->TextViewLog->font().italic());
    QCOMPARE(viewer_->PanelText(3), QString());
    QVERIFY(!viewer_->mnuSaveSettings->isChecked());
    QVERIFY(state_->Config.ViewLog == ViewLogSettings{});
    const int dpi = viewer_->logicalDpiX();
    QCOMPARE(viewer_->width(), static_cast<int>(std::lround(6000.0 * dpi / 1440)));
  }

  void largeLogShowsAtOnceAndCompletesForEveryWholeTextCommand() {
    QByteArray big;
    for (int i = 0; i < 40000; ++i) {
      big += QStringLiteral("01-%1-1998 10:00:00.00 - Recv: line %2\r\n").arg(1 + i / 2000, 2, 10, QLatin1Char('0')).arg(i).toLatin1();
    }
    big += "01-31-1998 23:59:59.00 - the last line\r\n";
    test::UseLogFile(*state_, env_->LogDir(), QStringLiteral("ModemLog.txt"), big);
    Open();
    QVERIFY(viewer_->IsLoading());
    QVERIFY(viewer_->TextViewLog->isReadOnly());
    QVERIFY(!viewer_->mnuSave->isEnabled());
    QCOMPARE(viewer_->TextViewLog->textCursor().position(), 0);
    // Find reaches the last line before the rest has arrived.
    Find(QStringLiteral("the last line"), true);
    QVERIFY(!viewer_->IsLoading());
    QCOMPARE(Selected(), QStringLiteral("the last line"));
    QVERIFY(!viewer_->TextViewLog->isReadOnly());
    QVERIFY(!viewer_->mnuSave->isEnabled());
    // Edits after loading are edits like any other, and the save writes everything.
    TypeAtEnd(QStringLiteral("x"));
    MessageBox::setNextAnswer(MessageButton::Ok);
    viewer_->mnuSave_Click();
    QCOMPARE(ReadAll(LogPath()), big + "x\r\n");
    // Undo cannot take away what was loaded.
    QVERIFY(viewer_->TextViewLog->document()->availableUndoSteps() <= 1);
  }

  void largeLogFinishesLoadingByItself() {
    QByteArray big;
    for (int i = 0; i < 40000; ++i) big += "01-05-1998 10:00:00.00 - a line of the log\r\n";
    test::UseLogFile(*state_, env_->LogDir(), QStringLiteral("ModemLog.txt"), big);
    Open();
    QTRY_VERIFY(!viewer_->IsLoading());
    QCOMPARE(viewer_->TextViewLog->document()->blockCount(), 40001);
    QCOMPARE(viewer_->TextViewLog->textCursor().position(), 0);
    QVERIFY(!viewer_->mnuSave->isEnabled());
    viewer_->mnuExit_Click();
    QVERIFY(MessageBox::shownMessages().isEmpty());
  }

  void missingFileGoesToTheReporterAndShowsNothing() {
    QFile::remove(LogPath());
    Open();
    QCOMPARE(reporter_.errors.size(), 1);
    QVERIFY(viewer_->ShownText().isEmpty());
  }
};

QTEST_MAIN(TestLogViewer)
#include "tst_log_viewer.moc"
