// The main window as a user meets it on the desktop: its icons, its menus'
// keys, a long log folder, and the room it gives its contents when larger.
#include <QAction>
#include <QApplication>
#include <QIcon>
#include <QLabel>

#include "support/journey.h"

namespace mirolat::journey {

namespace {
const QString kMain = QStringLiteral("frmMain");
}

TEST_F(Journey, TheMainWindowGrowsWithItsContentsAndShowsALongFolderWhole) {
  UseLogDir(QStringLiteral("dial-up logs of the family computer/kept since the first modem/and never moved"));
  qputenv("WinDir", LogDir().chopped(1).toLocal8Bit());
  WriteFile(LogPath(), SessionLog({"01-15-1998", "01-17-1998", "01-19-1998"}));
  Run([&] {
    ASSERT_TRUE(WaitForWindow(QStringLiteral("frmTip")));
    // The tip stands over the middle of the main window.
    const QRect tip = Geometry(QStringLiteral("frmTip"));
    const QRect main = Geometry(kMain);
    EXPECT_LE(std::abs(tip.center().x() - main.center().x()), 2) << tip.x() << " " << main.x();
    EXPECT_LE(std::abs(tip.center().y() - main.center().y()), 2) << tip.y() << " " << main.y();
    Key(QKeySequence(Qt::Key_Escape));
    ASSERT_TRUE(WaitForClose(QStringLiteral("frmTip")));

    // The folder does not fit: its middle gives way, the tooltip holds it whole.
    const QString shown = Text(kMain, QStringLiteral("LabelLogPath2"));
    EXPECT_TRUE(shown.contains(QChar(0x2026)) && shown.startsWith(QLatin1Char('/')) &&
                shown.endsWith(QStringLiteral("never moved/")))
        << shown.toStdString();
    QString tooltip;
    OnProgramThread([&] { tooltip = Control(kMain, QStringLiteral("LabelLogPath2"))->toolTip(); });
    EXPECT_EQ(tooltip, LogDir());

    // The desktop's icons: Close Program is the theme's exit icon, not Cut.
    QString exitIcon;
    OnProgramThread([&] {
      for (QAction* a : Window(kMain)->findChildren<QAction*>()) {
        if (a->toolTip() == QLatin1String("Close Program")) exitIcon = a->icon().name();
      }
    });
    EXPECT_EQ(exitIcon, QStringLiteral("application-exit"));

    // The Quick Date menu's keys.
    Click(kMain, QStringLiteral("inputEnding"));
    Key(QKeySequence(QStringLiteral("Alt+Q")));
    Key(QKeySequence(Qt::Key_F));
    EXPECT_TRUE(WaitUntil([&] { return Text(kMain, QStringLiteral("inputEnding")) == QStringLiteral("01/15/98"); }));
    // Larger: the calendar and the statistics take the room; the buttons stay under the calendar.
    const QRect calendar = ControlGeometry(kMain, QStringLiteral("Calendar1"));
    ResizeWindow(kMain, QSize(1200, 900));
    ASSERT_TRUE(WaitUntil([&] { return ControlGeometry(kMain, QStringLiteral("Calendar1")).width() > calendar.width() + 300; }));
    const QRect grown = ControlGeometry(kMain, QStringLiteral("Calendar1"));
    EXPECT_GT(grown.height(), calendar.height() + 300);
    const QRect ok = ControlGeometry(kMain, QStringLiteral("btnProcess"));
    EXPECT_GT(ok.top(), grown.bottom());
    EXPECT_LE(ControlGeometry(kMain, QStringLiteral("btnExit")).right(), grown.right() + 1);
    EXPECT_GT(Text(kMain, QStringLiteral("LabelLogPath2")).size(), shown.size() + 20);
    Screenshot(kMain, QStringLiteral("main-window-maximised.png"));

    ResizeWindow(kMain, QSize(600, 470));
    ASSERT_TRUE(WaitUntil([&] { return ControlGeometry(kMain, QStringLiteral("Calendar1")) == calendar; }));
    Quit();
  });
}

}  // namespace mirolat::journey
