// The log viewer as an editor: locked at first, editing allowed in the
// options, the log opened from the main window, edited with the desktop's
// editing keys and saved; a
// later session of edits survives every key that once closed the window or
// ran another command, and is kept by Cancel at the save question.
#include <QApplication>
#include <QFontInfo>
#include <QMenu>
#include <QPlainTextEdit>

#include "support/journey.h"

namespace mirolat::journey {

namespace {

const QByteArray kLog =
    "01-05-1998 10:00:00.00 - Recv: ATDT5551234\r\n"
    "01-05-1998 10:00:20.00 - Connection established at 33600bps.\r\n"
    "01-05-1998 10:30:00.00 - Hanging up the modem.\r\n"
    "01-05-1998 10:30:01.00 - 1843 bytes read.\r\n";
const QByteArray kFirstLine = "01-05-1998 10:00:00.00 - Recv: ATDT5551234\r\n";
// The log after the first session: a line typed at its end, its first line cut and pasted after it.
const QByteArray kEdited = kLog.mid(kFirstLine.size()) + "01-05-1998 11:00:00.00 - typed by hand\r\n" + kFirstLine;
const QString kMain = QStringLiteral("frmMain");

// The log's bytes as the viewer shows them: lines ended by '\n'.
std::string AsShown(const QByteArray& log) { return QByteArray(log).replace("\r\n", "\n").toStdString(); }

const QString kViewer = QStringLiteral("MRL - View Modem Log");
const QString kQuestion = QStringLiteral("Mirolat");  // the boxes with the program's title

}  // namespace

TEST_F(Journey, ViewerEditsWithTheDesktopKeysAndNoKeyLosesAnEdit) {
  WriteFile(LogPath(), kLog);
  WriteFile(ScratchDir() + QStringLiteral("locked.json"), R"({"General": {"EditLog": false}})");
  Cli({QStringLiteral("config"), QStringLiteral("import"), ScratchDir() + QStringLiteral("locked.json")});

  const auto shown = [&] { return Text(kViewer, QStringLiteral("TextViewLog")); };
  Run([&] {
    ASSERT_TRUE(WaitForWindow(kMain));
    ASSERT_TRUE(WaitForActive(QStringLiteral("frmTip")));
    Key(QKeySequence(Qt::Key_Escape));
    ASSERT_TRUE(WaitForClose(QStringLiteral("frmTip")));

    // Locked, the text takes no keys.
    Key(QKeySequence(Qt::Key_F4));
    ASSERT_TRUE(WaitForActive(kViewer));
    EXPECT_EQ(Text(kViewer, QStringLiteral("Panel4")).toStdString(), "Locked");
    Type(QStringLiteral("locked"));
    EXPECT_EQ(shown().toStdString(), AsShown(kLog));
    Key(QKeySequence(QStringLiteral("Ctrl+W")));
    ASSERT_TRUE(WaitForClose(kViewer));

    // Editing is allowed in the options.
    Menu(kMain, {QStringLiteral("&File"), QStringLiteral("&MRL Options")});
    ASSERT_TRUE(WaitForActive(QStringLiteral("MRL - Options")));
    Click(QStringLiteral("MRL - Options"), QStringLiteral("Allow editing of log"));
    Click(QStringLiteral("MRL - Options"), QStringLiteral("OK"));
    ASSERT_TRUE(WaitForClose(QStringLiteral("MRL - Options")));

    Key(QKeySequence(Qt::Key_F4));
    ASSERT_TRUE(WaitForActive(kViewer));
    ASSERT_TRUE(WaitUntil([&] { return FocusName() == QStringLiteral("TextViewLog"); })) << FocusName().toStdString();
    EXPECT_EQ(Text(kViewer, QStringLiteral("Panel4")).toStdString(), "Edit Allowed");
    // The status bar names the font the text is drawn in.
    QString used;
    OnProgramThread([&] {
      const QFontInfo info(Control(kViewer, QStringLiteral("TextViewLog"))->font());
      used = info.family() + QLatin1Char(' ') + QString::number(info.pointSize());
    });
    EXPECT_EQ(Text(kViewer, QStringLiteral("Panel1")).toStdString(), used.toStdString());

    // A line typed at the end; the first line cut and pasted after it.
    Key(QKeySequence(QStringLiteral("Ctrl+End")));
    Type(QStringLiteral("01-05-1998 11:00:00.00 - typed by hand"));
    Key(QKeySequence(Qt::Key_Return));
    Key(QKeySequence(QStringLiteral("Ctrl+Home")));
    Key(QKeySequence(QStringLiteral("Shift+Down")));
    Key(QKeySequence::Cut);
    ASSERT_TRUE(Visible(kViewer, QStringLiteral("TextViewLog")));
    Key(QKeySequence(QStringLiteral("Ctrl+End")));
    Key(QKeySequence::Paste);
    // Undo and Redo work on the text.
    Type(QStringLiteral("x"));
    Key(QKeySequence::Undo);
    Key(QKeySequence::Redo);
    Key(QKeySequence::Undo);
    EXPECT_EQ(shown().toStdString(), AsShown(kEdited));

    Key(QKeySequence::Save);
    ASSERT_TRUE(WaitForActive(kQuestion));
    EXPECT_TRUE(Text(kQuestion, QStringLiteral("qt_msgbox_label")).contains(LogPath()))
        << Text(kQuestion, QStringLiteral("qt_msgbox_label")).toStdString();
    Key(QKeySequence(Qt::Key_Return));
    ASSERT_TRUE(WaitForClose(kQuestion));
    ASSERT_TRUE(WaitUntil([&] { return ReadFile(LogPath()) == kEdited; })) << ReadFile(LogPath()).toStdString();
    EXPECT_FALSE(Enabled(kViewer, QStringLiteral("Save")));

    // A second session of edits: every key that used to close the window,
    // save an archive or open another dialog leaves it open with the edits.
    Type(QStringLiteral("second session"));
    Key(QKeySequence(QStringLiteral("Ctrl+A")));  // all selected, and nothing else
    Key(QKeySequence(QStringLiteral("Ctrl+C")));
    Key(QKeySequence(QStringLiteral("Ctrl+X")));  // all cut, and the window stays
    EXPECT_EQ(ActiveTitle().toStdString(), kViewer.toStdString());
    EXPECT_EQ(shown().toStdString(), "");
    Key(QKeySequence(QStringLiteral("Ctrl+V")));
    Key(QKeySequence(QStringLiteral("Ctrl+V")));
    Key(QKeySequence(QStringLiteral("Ctrl+Z")));
    EXPECT_TRUE(shown().endsWith(QStringLiteral("second session"))) << shown().toStdString();
    Screenshot(kViewer, QStringLiteral("log-viewer.png"));
    Key(QKeySequence(Qt::Key_Escape));
    EXPECT_EQ(ActiveTitle().toStdString(), kViewer.toStdString());
    // Ctrl+F is the viewer's own Find, with the selected text, downwards. A
    // text not found is said so, and the dialog stays.
    const QString find = QStringLiteral("Find");
    Key(QKeySequence(QStringLiteral("Shift+Home")));
    Key(QKeySequence(QStringLiteral("Ctrl+F")));
    ASSERT_TRUE(WaitForActive(find));
    EXPECT_EQ(Text(find, QStringLiteral("Text1")), QStringLiteral("second session"));
    EXPECT_TRUE(Checked(find, QStringLiteral("optDirection1")));
    Key(QKeySequence(QStringLiteral("Ctrl+A")));
    Type(QStringLiteral("no such text"));
    Key(QKeySequence(Qt::Key_Return));
    ASSERT_TRUE(WaitForActive(kQuestion));
    EXPECT_EQ(Text(kQuestion, QStringLiteral("qt_msgbox_label")), QStringLiteral("Cannot find \"no such text\""));
    Key(QKeySequence(Qt::Key_Return));
    ASSERT_TRUE(WaitForClose(kQuestion));
    Key(QKeySequence(Qt::Key_Escape));
    ASSERT_TRUE(WaitForClose(find));

    // Closing asks; Cancel (Escape) goes back to the edits, by the key and by the close box.
    Key(QKeySequence(QStringLiteral("Ctrl+W")));
    ASSERT_TRUE(WaitForActive(kQuestion));
    EXPECT_TRUE(Visible(kQuestion, QStringLiteral("Cancel")));
    Key(QKeySequence(Qt::Key_Escape));
    ASSERT_TRUE(WaitForClose(kQuestion));
    CloseBox(kViewer);
    ASSERT_TRUE(WaitForActive(kQuestion));
    Click(kQuestion, QStringLiteral("Cancel"));
    ASSERT_TRUE(WaitForClose(kQuestion));
    ASSERT_TRUE(Visible(kViewer, QStringLiteral("TextViewLog")));
    EXPECT_TRUE(shown().endsWith(QStringLiteral("second session"))) << shown().toStdString();
    EXPECT_EQ(ReadFile(LogPath()).toStdString(), kEdited.toStdString());

    // Exit in the main window asks too, and Cancel keeps the program and the edits.
    Click(kMain, QStringLiteral("btnExit"));
    ASSERT_TRUE(WaitForActive(kQuestion));
    Key(QKeySequence(Qt::Key_Escape));
    ASSERT_TRUE(WaitForClose(kQuestion));
    EXPECT_FALSE(ProgramEnded());
    ASSERT_TRUE(Visible(kViewer, QStringLiteral("TextViewLog")));
    EXPECT_TRUE(shown().endsWith(QStringLiteral("second session"))) << shown().toStdString();

    // Back in the viewer, No lets them go.
    Click(kViewer, QStringLiteral("TextViewLog"));
    Key(QKeySequence::Close);
    ASSERT_TRUE(WaitForActive(kQuestion));
    Key(QKeySequence(QStringLiteral("Alt+N")));
    ASSERT_TRUE(WaitForClose(kViewer));
  });

  // The log holds the first session's edits; its backup, the log as it was.
  EXPECT_EQ(ReadFile(LogPath()).toStdString(), kEdited.toStdString());
  EXPECT_EQ(ReadFile(LogDir() + QStringLiteral("ModemLog.old")).toStdString(), kLog.toStdString());
}

}  // namespace mirolat::journey
