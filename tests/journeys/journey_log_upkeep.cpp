// Keeping the log healthy from the main window: Optimize, Purge a range and
// Repair a damaged log, each followed on disk and in the statistics, with the
// user's range kept; a log another command is changing is left alone.
#include <QFile>

#include "core/logfile/log_lock.h"
#include "support/journey.h"

namespace mirolat::journey {

namespace {
const QString kMain = QStringLiteral("frmMain");
}

TEST_F(Journey, OptimizePurgeAndRepairKeepTheRangeAndSayWhatTheyDid) {
  const QByteArray original =
      SessionLog({"01-15-1998", "01-16-1998", "01-17-1998", "01-18-1998", "01-19-1998", "01-20-1998"});
  WriteFile(LogPath(), original);
  qputenv("MIROLAT_LOCK_WAIT", "0.5");
  Run([&] {
    ASSERT_TRUE(WaitForWindow(QStringLiteral("frmTip")));
    Key(QKeySequence(Qt::Key_Escape));
    ASSERT_EQ(Text(kMain, QStringLiteral("LabelLogEntries2")), QStringLiteral("36"));
    Click(kMain, QStringLiteral("inputStarting"));
    Key(QKeySequence::SelectAll);
    Type(QStringLiteral("01/17/98"));
    Click(kMain, QStringLiteral("inputEnding"));
    Key(QKeySequence::SelectAll);
    Type(QStringLiteral("01/19/98"));

    // Optimize: only the lines with a response text stay.
    Menu(kMain, {QStringLiteral("Tools"), QStringLiteral("Optimize Modem Log")});
    ASSERT_TRUE(WaitForWindow(QStringLiteral("OPTIMIZE MODEM LOG")));
    Key(QKeySequence(QStringLiteral("Alt+Y")));
    ASSERT_TRUE(WaitUntil([&] { return Text(kMain, QStringLiteral("LabelLogEntries2")) == QStringLiteral("18"); }))
        << Text(kMain, QStringLiteral("LabelLogEntries2")).toStdString();
    EXPECT_EQ(Text(kMain, QStringLiteral("StatusPanel")), QStringLiteral("Finished Optimizing Modem Log File!"));
    EXPECT_EQ(Text(kMain, QStringLiteral("inputStarting")), QStringLiteral("01/17/98"));
    EXPECT_EQ(Text(kMain, QStringLiteral("inputEnding")), QStringLiteral("01/19/98"));
    EXPECT_EQ(ReadFile(LogDir() + QStringLiteral("ModemLog.old")), original);
    EXPECT_FALSE(ReadFile(LogPath()).contains("Opening Modem"));

    // Purge the first two days.
    Menu(kMain, {QStringLiteral("Tools"), QStringLiteral("Purge Modem Log")});
    ASSERT_TRUE(WaitForWindow(QStringLiteral("Purge Modem Log")));
    Click(QStringLiteral("Purge Modem Log"), QStringLiteral("optPurge2"));
    Click(QStringLiteral("Purge Modem Log"), QStringLiteral("MaskEdBox2_0"));
    Key(QKeySequence(Qt::Key_Home));
    Type(QStringLiteral("011598"));
    Click(QStringLiteral("Purge Modem Log"), QStringLiteral("MaskEdBox2_1"));
    Key(QKeySequence(Qt::Key_Home));
    Type(QStringLiteral("011698"));
    Screenshot(QStringLiteral("Purge Modem Log"), QStringLiteral("purge-dialog.png"));
    Key(QKeySequence(Qt::Key_Return));
    ASSERT_TRUE(WaitForWindow(QStringLiteral("PURGE ENTRIES")));
    Key(QKeySequence(QStringLiteral("Alt+Y")));
    ASSERT_TRUE(WaitForClose(QStringLiteral("Purge Modem Log")));
    ASSERT_TRUE(WaitUntil([&] {
      return Text(kMain, QStringLiteral("LabelLogFirst2")) == QStringLiteral("Saturday, January 17, 1998");
    }));
    EXPECT_EQ(Text(kMain, QStringLiteral("StatusPanel")), QStringLiteral("Finished Purging Records!"));
    EXPECT_EQ(Text(kMain, QStringLiteral("inputStarting")), QStringLiteral("01/17/98"));
    EXPECT_EQ(Text(kMain, QStringLiteral("inputEnding")), QStringLiteral("01/19/98"));
    EXPECT_FALSE(ReadFile(LogPath()).contains("01-16-1998"));

    // A damaged copy: NUL bytes and a line without a date.
    const QByteArray clean = ReadFile(LogPath());
    QByteArray damaged = clean;
    damaged.insert(damaged.indexOf("Connection"), QByteArray("\0\0", 2));
    damaged += "this line has no date\r\n";
    WriteFile(LogPath(), damaged);
    ASSERT_TRUE(WaitForWindow(QStringLiteral("WARNING")));
    Key(QKeySequence(Qt::Key_Return));
    ASSERT_TRUE(WaitForClose(QStringLiteral("WARNING")));
    Menu(kMain, {QStringLiteral("Tools"), QStringLiteral("Repair Modem Log")});
    ASSERT_TRUE(WaitForWindow(QStringLiteral("File Repair")));
    ASSERT_TRUE(WaitUntil([&] { return Enabled(QStringLiteral("File Repair"), QStringLiteral("btnOK")); }));
    const QString said = Text(QStringLiteral("File Repair"), QStringLiteral("lblFileRepair"));
    EXPECT_TRUE(said.contains(QStringLiteral("1 line removed")) && said.contains(QStringLiteral("2 characters removed")))
        << said.toStdString();
    Screenshot(QStringLiteral("File Repair"), QStringLiteral("repair-window.png"));
    Key(QKeySequence(Qt::Key_Return));
    ASSERT_TRUE(WaitForClose(QStringLiteral("File Repair")));
    EXPECT_TRUE(WaitUntil([&] { return Text(kMain, QStringLiteral("LabelLogEntries2")) == QStringLiteral("12"); }));
    EXPECT_EQ(Text(kMain, QStringLiteral("inputStarting")), QStringLiteral("01/17/98"));
    EXPECT_EQ(Text(kMain, QStringLiteral("inputEnding")), QStringLiteral("01/19/98"));

    // Another command is changing the log: Optimize waits, then says the log
    // is locked and changes nothing; Clear does not claim to have deleted it.
    const QByteArray repaired = ReadFile(LogPath());
    {
      const LogWriteLock otherWriter(LogPath());
      Menu(kMain, {QStringLiteral("Tools"), QStringLiteral("Optimize Modem Log")});
      ASSERT_TRUE(WaitForWindow(QStringLiteral("OPTIMIZE MODEM LOG")));
      Key(QKeySequence(QStringLiteral("Alt+Y")));
      ASSERT_TRUE(WaitForWindow(QStringLiteral("MRL - Lock Error")));
      Key(QKeySequence(Qt::Key_Escape));  // Ignore
      ASSERT_TRUE(WaitForClose(QStringLiteral("MRL - Lock Error")));
      Menu(kMain, {QStringLiteral("Tools"), QStringLiteral("Clear Modem Log")});
      ASSERT_TRUE(WaitForWindow(QStringLiteral("Delete Modem Log")));
      Key(QKeySequence(QStringLiteral("Alt+Y")));
      ASSERT_TRUE(WaitForWindow(QStringLiteral("MRL - Lock Error")));
      Key(QKeySequence(Qt::Key_Escape));  // Ignore
      ASSERT_TRUE(WaitForClose(QStringLiteral("MRL - Lock Error")));
    }
    EXPECT_EQ(ReadFile(LogPath()), repaired);
    EXPECT_EQ(Text(kMain, QStringLiteral("LabelLogEntries2")), QStringLiteral("12"));
    Quit();
  });
  EXPECT_EQ(ReadFile(LogPath()), ReadFile(LogDir() + QStringLiteral("ModemLog.old")).replace(QByteArray("\0\0", 2), "")
                                     .replace("this line has no date\r\n", ""));
}

}  // namespace mirolat::journey
