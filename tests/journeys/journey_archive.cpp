// Archives: the viewer saves the log as an archive (a name typed without its
// extension, then the same name again over the first archive), the main window
// opens the archive in the log's place, the viewer shows and saves it while
// the commands that would change the current file wait, and Open Modem Log
// goes back to the log.
#include <QApplication>
#include <QFile>
#include <QLabel>
#include <QMenu>
#include <QStatusBar>

#include "support/journey.h"

namespace mirolat::journey {

namespace {

const QByteArray kLog =
    "01-05-1998 10:00:00.00 - Recv: ATDT5551234\r\n"
    "01-05-1998 10:00:20.00 - Connection established at 33600bps.\r\n"
    "01-05-1998 10:30:00.00 - Hanging up the modem.\r\n"
    "01-09-1998 10:30:01.00 - 1843 bytes read.\r\n";
const QByteArray kAdded = "01-09-1998 11:00:00.00 - added to the archive\r\n";
const QByteArray kAddedLater = "01-09-1998 12:00:00.00 - added to the opened archive\r\n";
const QString kMain = QStringLiteral("frmMain");
const QString kSaveDialog = QStringLiteral("Save as Archive");

}  // namespace

TEST_F(Journey, ArchiveSavedOpenedViewedAndLeftForTheModemLog) {
  WriteFile(LogPath(), kLog);
  const QString archive = ScratchDir() + QStringLiteral("January.mrl");

  Run([&] {
    const QString logViewer = QStringLiteral("MRL - View Modem Log");
    const QString archiveViewer = QStringLiteral("MRL - View Archive (January.mrl)");
    // Whether an item of a menu of the main window can be chosen, as the open menu shows it.
    const QString file = QStringLiteral("&File");
    const auto itemEnabled = [&](const QString& menuTitle, const QString& item) {
      Menu(kMain, {menuTitle});
      bool enabled = false;
      EXPECT_TRUE(WaitUntil([&] {
        auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        for (QAction* a : menu ? menu->actions() : QList<QAction*>()) {
          if (a->text().remove(QLatin1Char('&')) != item) continue;
          enabled = a->isEnabled();
          return true;
        }
        return false;
      })) << "no item " << item.toStdString();
      Key(QKeySequence(Qt::Key_Escape));
      EXPECT_TRUE(WaitUntil([] { return QApplication::activePopupWidget() == nullptr; }));
      return enabled;
    };
    const auto saveAsArchive = [&](const QString& viewer, const QString& typed) {
      Menu(viewer, {QStringLiteral("&File"), QStringLiteral("Save as &Archive")});
      ASSERT_TRUE(WaitForActive(kSaveDialog));
      ASSERT_TRUE(WaitUntil([&] { return FocusName() == QStringLiteral("fileNameEdit"); }));
      Key(QKeySequence::SelectAll);
      Type(typed);
      Key(QKeySequence(Qt::Key_Return));
    };
    // The question before a file is replaced, active.
    const auto replaceQuestion = [&] {
      return WaitUntil([] {
        const QWidget* w = QApplication::activeWindow();
        const auto* text = w ? w->findChild<QLabel*>(QStringLiteral("qt_msgbox_label")) : nullptr;
        return text != nullptr && text->text().contains(QStringLiteral("exists"));
      });
    };

    ASSERT_TRUE(WaitForWindow(kMain));
    ASSERT_TRUE(WaitForActive(QStringLiteral("frmTip")));
    Key(QKeySequence(Qt::Key_Escape));
    ASSERT_TRUE(WaitForClose(QStringLiteral("frmTip")));
    Key(QKeySequence(Qt::Key_F4));
    ASSERT_TRUE(WaitForActive(logViewer));
    // Meanwhile the commands that rewrite the log wait.
    const QString tools = QStringLiteral("&Tools");
    EXPECT_EQ(Text(kMain, QStringLiteral("btnViewLog")), QStringLiteral("Close Modem Log"));
    EXPECT_FALSE(itemEnabled(tools, QStringLiteral("Purge Modem Log")));
    EXPECT_FALSE(itemEnabled(tools, QStringLiteral("Clear Modem Log")));

    // The dialog proposes the log's first and last days as the name. A name
    // typed without ".mrl" gets it; the status bar says where the archive went.
    Menu(logViewer, {QStringLiteral("&File"), QStringLiteral("Save as &Archive")});
    ASSERT_TRUE(WaitForActive(kSaveDialog));
    EXPECT_EQ(Text(kSaveDialog, QStringLiteral("fileNameEdit")).toStdString(), "05Jan98 - 09Jan98.mrl");
    Key(QKeySequence(Qt::Key_Escape));
    ASSERT_TRUE(WaitForClose(kSaveDialog));
    saveAsArchive(logViewer, ScratchDir() + QStringLiteral("January"));
    ASSERT_TRUE(WaitForClose(kSaveDialog));
    ASSERT_TRUE(WaitUntil([&] { return ReadFile(archive) == kLog; }));
    QString message;
    OnProgramThread([&] {
      message = qobject_cast<QStatusBar*>(Control(logViewer, QStringLiteral("StatusBar1")))->currentMessage();
    });
    EXPECT_TRUE(message.contains(archive)) << message.toStdString();

    // The same name again, for the edited text: the archive is replaced only
    // when the user says so. No goes back to the dialog.
    Key(QKeySequence(QStringLiteral("Ctrl+End")));
    Type(QString::fromLatin1(kAdded.chopped(2)));
    saveAsArchive(logViewer, ScratchDir() + QStringLiteral("January"));
    ASSERT_TRUE(replaceQuestion()) << "no question before replacing " << archive.toStdString();
    EXPECT_TRUE(Text(kSaveDialog, QStringLiteral("qt_msgbox_label")).contains(QStringLiteral("January.mrl")));
    Key(QKeySequence(Qt::Key_Escape));
    ASSERT_TRUE(WaitUntil([&] { return FocusName() == QStringLiteral("fileNameEdit"); }));
    Key(QKeySequence(Qt::Key_Escape));
    ASSERT_TRUE(WaitForClose(kSaveDialog));
    EXPECT_EQ(ReadFile(archive).toStdString(), kLog.toStdString());
    saveAsArchive(logViewer, ScratchDir() + QStringLiteral("January"));
    ASSERT_TRUE(replaceQuestion());
    Key(QKeySequence(QStringLiteral("Alt+Y")));
    ASSERT_TRUE(WaitForClose(kSaveDialog));
    ASSERT_TRUE(WaitUntil([&] { return ReadFile(archive) == kLog + kAdded; })) << ReadFile(archive).toStdString();

    // The viewer closes; the edits of the log itself are let go.
    Key(QKeySequence(QStringLiteral("Ctrl+W")));
    ASSERT_TRUE(WaitForActive(QStringLiteral("Mirolat")));
    Key(QKeySequence(QStringLiteral("Alt+N")));
    ASSERT_TRUE(WaitForClose(logViewer));
    EXPECT_TRUE(itemEnabled(tools, QStringLiteral("Purge Modem Log")));

    // File > Open Archive puts the archive in the log's place.
    Menu(kMain, {QStringLiteral("&File"), QStringLiteral("Open &Archive")});
    ASSERT_TRUE(WaitForActive(QStringLiteral("Open Archive")));
    ASSERT_TRUE(WaitUntil([&] { return FocusName() == QStringLiteral("fileNameEdit"); }));
    Type(archive);
    Key(QKeySequence(Qt::Key_Return));
    ASSERT_TRUE(WaitForClose(QStringLiteral("Open Archive")));
    ASSERT_TRUE(WaitUntil([&] { return Text(kMain, QStringLiteral("LabelHeading")) == "Archive Statistics"; }));
    EXPECT_EQ(Text(kMain, QStringLiteral("LabelLogName2")).toStdString(), "January.mrl");
    EXPECT_TRUE(itemEnabled(file, QStringLiteral("Open Modem Log")));
    EXPECT_FALSE(itemEnabled(tools, QStringLiteral("Purge Modem Log")));  // not for an archive
    EXPECT_FALSE(itemEnabled(tools, QStringLiteral("Clear Modem Log")));

    // While the viewer shows the archive, nothing changes which file is current.
    Key(QKeySequence(Qt::Key_F4));
    ASSERT_TRUE(WaitForActive(archiveViewer));
    EXPECT_FALSE(itemEnabled(file, QStringLiteral("Open Modem Log")));
    EXPECT_FALSE(itemEnabled(file, QStringLiteral("MRL Options")));
    EXPECT_FALSE(itemEnabled(file, QStringLiteral("Open Archive")));
    EXPECT_FALSE(itemEnabled(tools, QStringLiteral("Optimize Archive")));

    // Edits saved on closing go to the archive, the previous one kept beside it.
    ASSERT_TRUE(WaitUntil([&] { return FocusName() == QStringLiteral("TextViewLog"); })) << FocusName().toStdString();
    Key(QKeySequence(QStringLiteral("Ctrl+End")));
    Type(QString::fromLatin1(kAddedLater.chopped(2)));
    Key(QKeySequence(QStringLiteral("Ctrl+W")));
    ASSERT_TRUE(WaitForActive(QStringLiteral("Mirolat")));
    EXPECT_TRUE(Text(QStringLiteral("Mirolat"), QStringLiteral("qt_msgbox_label")).contains(archive));
    Key(QKeySequence(QStringLiteral("Alt+Y")));
    ASSERT_TRUE(WaitForClose(archiveViewer));
    EXPECT_EQ(ReadFile(archive).toStdString(), (kLog + kAdded + kAddedLater).toStdString());

    // Back to the modem log.
    EXPECT_TRUE(itemEnabled(file, QStringLiteral("MRL Options")));
    Menu(kMain, {QStringLiteral("&File"), QStringLiteral("&Open Modem Log")});
    ASSERT_TRUE(WaitUntil([&] { return Text(kMain, QStringLiteral("LabelHeading")) == "Modem Log Stats"; }));
    EXPECT_EQ(Text(kMain, QStringLiteral("LabelLogName2")).toStdString(), "ModemLog.txt");
  });

  // The log as it was, without a backup; the archive with both edits, its backup with the first.
  EXPECT_EQ(ReadFile(LogPath()).toStdString(), kLog.toStdString());
  EXPECT_FALSE(QFile::exists(LogDir() + QStringLiteral("ModemLog.old")));
  EXPECT_EQ(ReadFile(archive).toStdString(), (kLog + kAdded + kAddedLater).toStdString());
  EXPECT_EQ(ReadFile(ScratchDir() + QStringLiteral("ModemLogArchive.old")).toStdString(),
            (kLog + kAdded).toStdString());
}

}  // namespace mirolat::journey
