// The log changed by other programs while the main window is open: the
// statistics, the range and the warnings follow without a key pressed.
#include <QFile>
#include <cstdio>

#include "support/journey.h"

namespace mirolat::journey {

namespace {
const QString kMain = QStringLiteral("frmMain");
}

TEST_F(Journey, TheMainWindowFollowsTheLogAsOtherProgramsChangeIt) {
  WriteFile(LogPath(), SessionLog({"01-15-1998", "01-17-1998", "01-19-1998"}));
  Run([&] {
    ASSERT_TRUE(WaitForWindow(QStringLiteral("frmTip")));
    Key(QKeySequence(Qt::Key_Escape));
    ASSERT_TRUE(WaitForClose(QStringLiteral("frmTip")));
    ASSERT_EQ(Text(kMain, QStringLiteral("LabelLogEntries2")), QStringLiteral("18"));

    // The user's range: 16 to 17 January, typed.
    Click(kMain, QStringLiteral("inputStarting"));
    Key(QKeySequence::SelectAll);
    Type(QStringLiteral("01/16/98"));
    Click(kMain, QStringLiteral("inputEnding"));
    Key(QKeySequence::SelectAll);
    Type(QStringLiteral("01/17/98"));
    ASSERT_EQ(Text(kMain, QStringLiteral("inputStarting")), QStringLiteral("01/16/98"));

    // Appended to (a pppd import): one more session.
    {
      QFile log(LogPath());
      ASSERT_TRUE(log.open(QIODevice::Append));
      log.write(SessionLog({"01-21-1998"}));
    }
    EXPECT_TRUE(WaitUntil([&] { return Text(kMain, QStringLiteral("LabelLogEntries2")) == QStringLiteral("24"); }));
    EXPECT_EQ(Text(kMain, QStringLiteral("LabelLogLast2")), QStringLiteral("Wednesday, January 21, 1998"));
    EXPECT_EQ(Text(kMain, QStringLiteral("inputStarting")), QStringLiteral("01/16/98"));
    EXPECT_EQ(Text(kMain, QStringLiteral("inputEnding")), QStringLiteral("01/17/98"));
    // The Quick Date targets follow the log too.
    Click(kMain, QStringLiteral("inputEnding"));
    Menu(kMain, {QStringLiteral("Quick Date"), QStringLiteral("Last Entry")});
    EXPECT_TRUE(WaitUntil([&] { return Text(kMain, QStringLiteral("inputEnding")) == QStringLiteral("01/21/98"); }));

    // Replaced by a rename (an editor's save): the log now starts on the 17th.
    WriteFile(LogDir() + QStringLiteral("ModemLog.tmp"), SessionLog({"01-17-1998", "01-19-1998"}));
    ASSERT_EQ(std::rename(QFile::encodeName(LogDir() + QStringLiteral("ModemLog.tmp")).constData(),
                          QFile::encodeName(LogPath()).constData()),
              0);
    EXPECT_TRUE(WaitUntil([&] {
      return Text(kMain, QStringLiteral("LabelLogFirst2")) == QStringLiteral("Saturday, January 17, 1998");
    }));
    EXPECT_EQ(Text(kMain, QStringLiteral("LabelLogEntries2")), QStringLiteral("12"));
    // The range is clamped into the log.
    EXPECT_EQ(Text(kMain, QStringLiteral("inputStarting")), QStringLiteral("01/17/98"));
    EXPECT_EQ(Text(kMain, QStringLiteral("inputEnding")), QStringLiteral("01/19/98"));

    // Damaged in place: the corruption warning comes by itself.
    {
      QFile log(LogPath());
      ASSERT_TRUE(log.open(QIODevice::Append));
      static const char kDamaged[] = "01-19-1998 11:00:00.00 - \0\0\0 garbage\r\n";
      log.write(kDamaged, sizeof kDamaged - 1);
    }
    ASSERT_TRUE(WaitForWindow(QStringLiteral("WARNING")));
    EXPECT_TRUE(Text(QStringLiteral("WARNING"), QStringLiteral("qt_msgbox_label")).contains(QStringLiteral("Corruption")));
    Key(QKeySequence(Qt::Key_Return));
    ASSERT_TRUE(WaitForClose(QStringLiteral("WARNING")));

    // Truncated to nothing, then deleted.
    WriteFile(LogPath(), QByteArray());
    EXPECT_TRUE(WaitUntil([&] { return Text(kMain, QStringLiteral("LabelLogLength2")).startsWith(QStringLiteral("0 Bytes")); }))
        << Text(kMain, QStringLiteral("LabelLogLength2")).toStdString();
    ASSERT_TRUE(QFile::remove(LogPath()));
    ASSERT_TRUE(WaitForWindow(QStringLiteral("No Modem Log Detected!")));
    Key(QKeySequence(Qt::Key_Return));
    EXPECT_TRUE(WaitUntil([&] { return Text(kMain, QStringLiteral("LabelLogEntries2")) == QStringLiteral("N/A"); }));
    Quit();
  });
  // The program only watched: it wrote no log of its own.
  EXPECT_FALSE(QFile::exists(LogPath()));
}

}  // namespace mirolat::journey
