// The modem logging wizard as a user meets it outside the first start: from
// the Tools menu with no modem entry, and at a start where a modem logs and
// echoes but has no log file.
#include "support/journey.h"

namespace mirolat::journey {

namespace {
const QString kWizard = QStringLiteral(" MRL Configuration Wizard");
const QString kMain = QStringLiteral("frmMain");
const QString kTip = QStringLiteral("  Tip of the Day");
}  // namespace

// With no modem entry the start-up check has nothing to show; Tools opens the
// wizard all the same, and its first page says why there is nothing to
// configure and how a Linux dial-up user gets a log. Nothing is registered.
TEST_F(Journey, ToolsOpensTheWizardWhichSaysNoModemWasFound) {
  WriteFile(LogPath(), SessionLog({QStringLiteral("01-15-1998")}));
  Run([&] {
    ASSERT_TRUE(WaitForWindow(kMain));
    ASSERT_TRUE(WaitForWindow(kTip));
    Key(QKeySequence(Qt::Key_Escape));
    ASSERT_TRUE(WaitForClose(kTip));
    Menu(kMain, {QStringLiteral("&Tools"), QStringLiteral("Modem Logging &Wizard...")});
    ASSERT_TRUE(WaitForWindow(kWizard));
    const QString intro = Text(kWizard, QStringLiteral("lblIntro"));
    EXPECT_TRUE(intro.startsWith(QStringLiteral("No modem entry was found"))) << intro.toStdString();
    EXPECT_TRUE(intro.contains(QStringLiteral("mirolat-cli import-pppd"))) << intro.toStdString();
    EXPECT_TRUE(intro.contains(QStringLiteral("README"))) << intro.toStdString();
    EXPECT_FALSE(Enabled(kWizard, QStringLiteral("btnNext")));
    Key(QKeySequence(Qt::Key_Escape));
    ASSERT_TRUE(WaitForClose(kWizard));
    Key(QKeySequence(QStringLiteral("Ctrl+Q")));
    EXPECT_TRUE(WaitUntil([&] { return ProgramEnded(); }));
  });
  EXPECT_TRUE(Cli({QStringLiteral("modem"), QStringLiteral("list")}).startsWith("Modem entries: none\n"));
}

// Logging and echo on but no log file: the check fails, so the wizard must
// not call the modem configured (it would come back at every start); Finish
// gives it the log folder's file and leaves the rest as it was.
TEST_F(Journey, WizardGivesAModemWithoutALogFileTheLogFoldersFile) {
  WriteFile(LogPath(), SessionLog({QStringLiteral("01-15-1998")}));
  Cli({QStringLiteral("modem"), QStringLiteral("add"), QStringLiteral("--name"), QStringLiteral("Pathless 56K"),
       QStringLiteral("--logging"), QStringLiteral("on"), QStringLiteral("--init"), QStringLiteral("ATE1V1")});
  Run([&] {
    ASSERT_TRUE(WaitForWindow(kWizard));
    Key(QKeySequence(QStringLiteral("Alt+N")));
    Key(QKeySequence(QStringLiteral("Alt+N")));
    ASSERT_TRUE(WaitUntil([&] { return Text(kWizard, QStringLiteral("lblCurrentLogging")) == QStringLiteral("ON"); }));
    EXPECT_EQ(Text(kWizard, QStringLiteral("lblCurrentEcho")), QStringLiteral("ON"));
    EXPECT_TRUE(Text(kWizard, QStringLiteral("lblAdvice")).contains(LogPath()))
        << Text(kWizard, QStringLiteral("lblAdvice")).toStdString();
    ASSERT_EQ(Text(kWizard, QStringLiteral("btnNext")), QStringLiteral("Finish"));
    Key(QKeySequence(QStringLiteral("Alt+F")));
    ASSERT_TRUE(WaitUntil([&] { return Text(kWizard, QStringLiteral("btnNext")) == QStringLiteral("OK"); }));
    Key(QKeySequence(QStringLiteral("Alt+O")));
    ASSERT_TRUE(WaitForClose(kWizard));
    ASSERT_TRUE(WaitForWindow(kMain));
    ASSERT_TRUE(WaitForWindow(kTip));
    Key(QKeySequence(Qt::Key_Escape));
    ASSERT_TRUE(WaitForClose(kTip));
    Key(QKeySequence(QStringLiteral("Ctrl+Q")));
    EXPECT_TRUE(WaitUntil([&] { return ProgramEnded(); }));
  });
  const QString modems = QString::fromUtf8(Cli({QStringLiteral("modem"), QStringLiteral("list")}));
  EXPECT_TRUE(modems.contains(QStringLiteral("Logging path: ") + LogPath() + QLatin1Char('\n'))) << modems.toStdString();
  EXPECT_TRUE(modems.contains(QStringLiteral("Init string: ATE1V1\n"))) << modems.toStdString();
}

}  // namespace mirolat::journey
