// First start on a machine whose modem writes no log yet: the wizard switches
// logging on, and the main window shows the log.
#include "support/journey.h"

namespace mirolat::journey {

TEST_F(Journey, FirstStartWizardSwitchesLoggingOnAndTheMainWindowShowsTheLog) {
  WriteFile(LogPath(), ReadFile(QStringLiteral(MIROLAT_SAMPLES_DIR "/ModemLog.txt")));
  Cli({QStringLiteral("modem"), QStringLiteral("add"), QStringLiteral("--name"), QStringLiteral("Test Modem 56K"),
       QStringLiteral("--port"), QStringLiteral("ttyS0"), QStringLiteral("--logging"), QStringLiteral("off")});

  Run([&] {
    const QString wizard = QStringLiteral(" MRL Configuration Wizard");
    ASSERT_TRUE(WaitForWindow(wizard));
    Screenshot(wizard, QStringLiteral("wizard-1-introduction.png"));
    Key(QKeySequence(QStringLiteral("Alt+N")));  // introduction -> installed modems
    Screenshot(wizard, QStringLiteral("wizard-2-installed-modems.png"));
    Key(QKeySequence(QStringLiteral("Alt+N")));  // -> the modem's settings
    ASSERT_TRUE(WaitUntil([&] { return Text(wizard, QStringLiteral("lblCurrentLogging")) == QStringLiteral("OFF"); }));
    Screenshot(wizard, QStringLiteral("wizard-3-settings.png"));
    Key(QKeySequence(QStringLiteral("Alt+F")));  // Finish: the changes are made
    ASSERT_TRUE(WaitUntil([&] { return Text(wizard, QStringLiteral("btnNext")) == QStringLiteral("OK"); }));
    Screenshot(wizard, QStringLiteral("wizard-4-finished.png"));
    Key(QKeySequence(QStringLiteral("Alt+O")));
    ASSERT_TRUE(WaitForClose(wizard));

    // Start-up goes on past the wizard to the main window and the log's statistics.
    ASSERT_TRUE(WaitForWindow(QStringLiteral("frmMain")));
    ASSERT_TRUE(WaitUntil([&] { return Text(QStringLiteral("frmMain"), QStringLiteral("LabelLogEntries2")) == "3760"; }))
        << Text(QStringLiteral("frmMain"), QStringLiteral("LabelLogEntries2")).toStdString();
    EXPECT_EQ(Text(QStringLiteral("frmMain"), QStringLiteral("LabelLogFirst2")), QStringLiteral("Thursday, January 1, 1998"));
    Screenshot(QStringLiteral("frmMain"), QStringLiteral("main-window.png"));
    // The sample log is larger than the default limit: the warning says so once.
    ASSERT_TRUE(WaitForWindow(QStringLiteral("WARNING")));
    EXPECT_TRUE(Text(QStringLiteral("WARNING"), QStringLiteral("qt_msgbox_label")).contains(QStringLiteral("Too Big")));
    Key(QKeySequence(Qt::Key_Return));
    ASSERT_TRUE(WaitForClose(QStringLiteral("WARNING")));
    Key(QKeySequence(QStringLiteral("Ctrl+Q")));
    EXPECT_TRUE(WaitUntil([&] { return ProgramEnded(); }));
  });

  // The store now has the modem's logging on, into the program's log.
  const QString modems = QString::fromUtf8(Cli({QStringLiteral("modem"), QStringLiteral("list")}));
  EXPECT_TRUE(modems.contains(QStringLiteral("Logging: on")) || modems.contains(QStringLiteral("Logging=1")))
      << modems.toStdString();
}

}  // namespace mirolat::journey
