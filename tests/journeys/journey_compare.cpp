// Comparing plans as a user does: after a run over January, Tools › Compare
// Plans opens on the main window's range, Enter compares the services' plans
// ranked by total, a candidate plan loaded from a file joins the ranking, and
// Escape closes the window.
#include <QTableWidget>

#include "support/journey.h"
#include "ui/dialogs/file_dialog.h"

namespace mirolat::journey {

namespace {
const QString kMain = QStringLiteral("frmMain");
const QString kCompare = QStringLiteral("MRL Compare Plans");
}  // namespace

TEST_F(Journey, PlansAreRankedByWhatTheRangeWouldHaveCost) {
  WriteFile(LogPath(), ReadFile(QStringLiteral(MIROLAT_SAMPLES_DIR "/ModemLog.txt")));
  Cli({QStringLiteral("config"), QStringLiteral("import"), QStringLiteral(MIROLAT_SAMPLES_DIR "/config.json")});
  const QString plan = ScratchDir() + QStringLiteral("trial.json");
  WriteFile(plan, R"({"Services": [{"ServiceName": "Trial", "ServiceNumber": "5550101", "DialOption": 1,
                     "DialFixedTariff": 0.1, "ServiceOption": 1, "ServiceRate": 0.5}]})");
  // The ranking as the table shows it: "plan total difference" per row.
  const auto ranking = [this] {
    QStringList rows;
    OnProgramThread([&] {
      auto* grid = qobject_cast<QTableWidget*>(Control(kCompare, QStringLiteral("grdPlans")));
      for (int r = 0; r < grid->rowCount(); ++r) {
        rows << grid->item(r, 0)->text() + u' ' + grid->item(r, 1)->text() + u' ' + grid->item(r, 2)->text();
      }
    });
    return rows;
  };

  Run([&] {
    ASSERT_TRUE(WaitForWindow(kMain));
    ASSERT_TRUE(WaitForWindow(QStringLiteral("frmTip")));
    Key(QKeySequence(Qt::Key_Escape));
    ASSERT_TRUE(WaitForClose(QStringLiteral("frmTip")));
    Click(kMain, QStringLiteral("inputStarting"));
    Key(QKeySequence(Qt::Key_Home));
    Type(QStringLiteral("010198"));
    Key(QKeySequence(Qt::Key_Tab));
    Key(QKeySequence(Qt::Key_Home));
    Type(QStringLiteral("013198"));
    Click(kMain, QStringLiteral("btnProcess"));
    ASSERT_TRUE(WaitForWindow(QStringLiteral("MRL Report")));

    Menu(kMain, {QStringLiteral("&Tools"), QStringLiteral("Compare P&lans...")});
    ASSERT_TRUE(WaitForWindow(kCompare));
    ASSERT_TRUE(WaitForActive(kCompare));
    EXPECT_FALSE(Visible(kCompare, QStringLiteral("cmdCancel")));
    Key(QKeySequence(Qt::Key_Return));
    ASSERT_TRUE(WaitUntil([&] { return ranking().size() == 3; }));
    EXPECT_EQ(ranking(), (QStringList{"CallNet $85.41 $-6.33", "FlatNet Local $94.16 +$2.42",
                                      "NetOne Internet $114.78 +$23.04"}));
    EXPECT_TRUE(Text(kCompare, QStringLiteral("lblSummary")).startsWith(QStringLiteral("86 sessions")));

    // A candidate from a file joins the ranking at once: 86 calls at 10 cents
    // and the connected time at half a unit an hour undercut every service.
    OnProgramThread([&] { FileDialog::setNextFileName(plan); });
    Click(kCompare, QStringLiteral("cmdLoadPlan"));
    ASSERT_TRUE(WaitUntil([&] { return ranking().size() == 4; }));
    EXPECT_EQ(ranking().front(), QStringLiteral("Trial $34.92 $-56.81"));
    Screenshot(kCompare, QStringLiteral("compare-plans.png"));
    Key(QKeySequence(Qt::Key_Escape));
    ASSERT_TRUE(WaitForClose(kCompare));
    CloseBox(QStringLiteral("MRL Report"));
    ASSERT_TRUE(WaitForClose(QStringLiteral("MRL Report")));
    Quit();
  });
}

}  // namespace mirolat::journey
