// The log viewer where the journeys do not reach: the upward search's rule,
// a save over lines the modem wrote since the file was read, and closing
// when the edits the user chose to save could not be written.
#include <QAction>
#include <QApplication>
#include <QDir>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>
#include <memory>

#include "core/app/app_state.h"
#include "core/logfile/log_checks.h"
#include "core/settings/configuration_io.h"
#include "core/settings/settings_store.h"
#include "support/common_test_env.h"
#include "ui/dialogs/message_box.h"
#include "ui/logviewer/frm_find.h"
#include "ui/logviewer/frm_view_log.h"

using namespace mirolat;
using test::Child;

namespace {

// Dated 1 to 31 January 1998, CR LF line ends.
const QByteArray kJanuaryLog(
    "01-01-1998 10:00:00.00 - Recv: ATDT5551234\r\n"
    "01-01-1998 10:00:20.00 - Connection established at 33600bps.\r\n"
    "01-15-1998 20:00:00.00 - Recv: ATDT5559876\r\n"
    "01-31-1998 23:59:00.00 - Hanging up the modem.\r\n");

QByteArray ReadAll(const QString& path) {
  QFile f(path);
  return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
}

void WriteAll(const QString& path, const QByteArray& bytes) {
  QFile f(path);
  if (f.open(QIODevice::WriteOnly | QIODevice::Truncate)) f.write(bytes);
}

class RecordingReporter final : public ErrorReporter {
 public:
  ErrorAnswer ReportError(const RunError& error) override {
    errors.append(error.description());
    return ErrorAnswer::Continue;
  }
  QStringList errors;
};

}  // namespace

class TestLogViewer : public QObject {
  Q_OBJECT

 private:
  std::unique_ptr<test::CommonTestEnvironment> env_;
  std::unique_ptr<AppState> state_;
  RecordingReporter reporter_;
  QPointer<frmViewLog> viewer_;

  QString LogPath() const { return state_->File.LogFilePath; }
  QPlainTextEdit* Text() const { return Child<QPlainTextEdit>(viewer_, "TextViewLog"); }
  void Command(const char* name) { Child<QAction>(viewer_, name)->trigger(); }

  void Open() {
    viewer_ = new frmViewLog(*state_, reporter_);
    viewer_->ShowViewer();
    QVERIFY(QTest::qWaitForWindowExposed(viewer_));
  }

  // Find with the dialog: `text` upwards, as a user sets it and clicks Find.
  void FindUp(const QString& text) {
    QTimer::singleShot(0, this, [text] {
      auto* find = qobject_cast<frmFind*>(QApplication::activeModalWidget());
      if (find == nullptr) return;
      Child<QLineEdit>(find, "Text1")->setText(text);
      Child<QRadioButton>(find, "optDirection0")->click();
      Child<QPushButton>(find, "cmdFind")->click();
    });
    Command("mnuSearchFind");
  }

  void TypeAtEnd(const QString& text) {
    Text()->setFocus();
    Command("mnuBottom");
    QTest::keyClicks(Text(), text);
  }

 private Q_SLOTS:
  void init() {
    env_ = std::make_unique<test::CommonTestEnvironment>();
    state_ = std::make_unique<AppState>();
    state_->Locale = LoadLocaleInfo(QLocale(QLocale::English, QLocale::UnitedStates));
    state_->Store = std::make_shared<SettingsStore>(SettingsStore::FilePathIn(env_->ConfigDir()));
    QVERIFY(SaveConfiguration(*state_->Store, state_->Config, reporter_));
    CurrentFileState& f = state_->File;
    f.WindowsDir = env_->LogDir();
    f.LogFileName = QStringLiteral("ModemLog.txt");
    f.LogFilePath = f.WindowsDir + f.LogFileName;
    f.LogExists = true;
    WriteAll(f.LogFilePath, kJanuaryLog);
    ScanLog(f, state_->Config, reporter_);
    reporter_ = RecordingReporter{};
    frmViewLog::ResetSearch();
  }

  void cleanup() {
    if (!viewer_.isNull()) {
      Text()->document()->setModified(false);  // nothing left to ask about
      viewer_->close();
    }
    QTRY_VERIFY(viewer_.isNull());
    state_.reset();
    env_.reset();
  }

  // A new upward search passes over a hit at the caret; Find Next goes on upwards.
  void findUpNeverLooksAtTheCaretAndContinuesUpwards() {
    Open();
    const QString text = Text()->toPlainText();
    const int first = text.indexOf(QStringLiteral("Recv"));
    const int second = text.indexOf(QStringLiteral("Recv"), first + 1);
    QTextCursor caret = Text()->textCursor();
    caret.setPosition(second);
    Text()->setTextCursor(caret);
    FindUp(QStringLiteral("Recv"));
    QCOMPARE(Text()->textCursor().selectionStart(), first);
    Command("mnuBottom");
    FindUp(QStringLiteral("Recv"));
    QCOMPARE(Text()->textCursor().selectionStart(), second);
    Command("mnuSearchFindNext");
    QCOMPARE(Text()->textCursor().selectionStart(), first);
  }

  // Lines the modem wrote since the file was read are replaced only when the user says so.
  void saveAsksBeforeReplacingLinesWrittenSinceReading() {
    Open();
    TypeAtEnd(QStringLiteral("x"));
    const QByteArray grown = kJanuaryLog + "02-01-1998 09:00:00.00 - Recv: ATDT5551234\r\n";
    WriteAll(LogPath(), grown);
    MessageBox::setNextAnswer(MessageButton::Ok);
    MessageBox::setNextAnswer(MessageButton::No);
    Command("mnuSave");
    QCOMPARE(MessageBox::shownMessages().last().title, QStringLiteral("WARNING"));
    QCOMPARE(ReadAll(LogPath()), grown);
    MessageBox::setNextAnswer(MessageButton::Ok);
    MessageBox::setNextAnswer(MessageButton::Yes);
    Command("mnuSave");
    QCOMPARE(ReadAll(LogPath()), kJanuaryLog + "x\r\n");
  }

  // Mended: closing keeps the window (and the edits) when the user chose to
  // save and the log could not be written.
  void closingKeepsTheWindowWhenTheEditsCouldNotBeSaved() {
    Open();
    QSignalSpy closed(viewer_.data(), &frmViewLog::Closed);
    TypeAtEnd(QStringLiteral("precious"));
    QVERIFY(QFile::remove(LogPath()));
    QVERIFY(QDir().mkpath(LogPath()));  // a folder in the file's place: the write fails
    MessageBox::setNextAnswer(MessageButton::Yes);  // save the changes
    MessageBox::setNextAnswer(MessageButton::Yes);  // though the file has changed
    QVERIFY(!viewer_->close());
    QCOMPARE(reporter_.errors.size(), 1);
    QCOMPARE(closed.count(), 0);
    QVERIFY(Text()->toPlainText().endsWith(QStringLiteral("precious")));
    MessageBox::setNextAnswer(MessageButton::No);  // saved elsewhere: let them go
    QVERIFY(viewer_->close());
    QCOMPARE(closed.count(), 1);
  }
};

QTEST_MAIN(TestLogViewer)
#include "tst_log_viewer.moc"
