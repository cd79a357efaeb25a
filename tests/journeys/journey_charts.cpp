// The Charts window as a user meets it: opened from the main window's Tools
// menu after a run, its kinds switched by a tab and by a key, the period
// chosen, the chart saved through the real file dialog as a PNG and as an
// SVG, closed with Escape, and opened again from the report window.
#include <QChart>
#include <QChartView>
#include <QTabBar>

#include "support/journey.h"

namespace mirolat::journey {

namespace {
const QString kMain = QStringLiteral("frmMain");
const QString kReport = QStringLiteral("MRL Report");
const QString kCharts = QStringLiteral("MRL Charts");
}  // namespace

TEST_F(Journey, ChartsOfTheRunAreSwitchedAndSavedAsPictures) {
  WriteFile(LogPath(), ReadFile(QStringLiteral(MIROLAT_SAMPLES_DIR "/ModemLog.txt")));
  Cli({QStringLiteral("config"), QStringLiteral("import"), QStringLiteral(MIROLAT_SAMPLES_DIR "/config.json")});
  const QString png = ScratchDir() + QStringLiteral("january.png");
  const QString svg = ScratchDir() + QStringLiteral("hours.svg");
  // The titles of the charts on the screen, top to bottom.
  const auto shownTitles = [this] {
    QStringList titles;
    OnProgramThread([&] {
      for (QChartView* view : Window(kCharts)->findChildren<QChartView*>()) {
        if (view->isVisible()) titles << view->chart()->title();
      }
    });
    return titles;
  };
  const auto saveAs = [this](const QString& path) {
    Menu(kCharts, {QStringLiteral("&File"), QStringLiteral("Save &As...")});
    ASSERT_TRUE(WaitForWindow(QStringLiteral("Save Chart As")));
    Key(QKeySequence::SelectAll);
    Type(path);
    Key(QKeySequence(Qt::Key_Return));
    ASSERT_TRUE(WaitForClose(QStringLiteral("Save Chart As")));
    ASSERT_TRUE(WaitUntil([&] { return ReadFile(path).size() > 1000; }));
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
    ASSERT_TRUE(WaitForWindow(kReport));

    // Tools › Charts: a month is drawn by day, time above cost.
    Menu(kMain, {QStringLiteral("&Tools"), QStringLiteral("&Charts...")});
    ASSERT_TRUE(WaitForWindow(kCharts));
    ASSERT_TRUE(WaitForActive(kCharts));
    EXPECT_EQ(shownTitles(), (QStringList{"Connected time per day", "Cost per day"}));
    Screenshot(kCharts, QStringLiteral("charts-daily.png"));
    // Weeks from the period box, by its key and the arrow keys.
    Key(QKeySequence(QStringLiteral("Alt+P")));
    Key(QKeySequence(Qt::Key_Down));
    Key(QKeySequence(Qt::Key_Down));
    EXPECT_EQ(Text(kCharts, QStringLiteral("cboPeriod")), QStringLiteral("Weeks"));
    EXPECT_EQ(shownTitles(), (QStringList{"Connected time per week", "Cost per week"}));
    saveAs(png);
    EXPECT_TRUE(ReadFile(png).startsWith("\x89PNG"));

    // The shares by a click on their tab; the period has nothing to say there.
    QRect tab;
    OnProgramThread([&] { tab = qobject_cast<QTabBar*>(Control(kCharts, QStringLiteral("tabKinds")))->tabRect(1); });
    Click(kCharts, QStringLiteral("tabKinds"), tab.center());
    EXPECT_EQ(shownTitles(), QStringList{"Share of connected time and cost"});
    EXPECT_FALSE(Enabled(kCharts, QStringLiteral("cboPeriod")));
    // The hours of the week by their key, saved as a drawing.
    Key(QKeySequence(QStringLiteral("Ctrl+3")));
    EXPECT_EQ(shownTitles(), QStringList{"Connected time by hour of the week"});
    Screenshot(kCharts, QStringLiteral("charts-heatmap.png"));
    saveAs(svg);
    EXPECT_TRUE(ReadFile(svg).startsWith("<?xml"));
    Key(QKeySequence(Qt::Key_Escape));
    ASSERT_TRUE(WaitForClose(kCharts));

    // From the report window's View menu; Ctrl+W closes it.
    Menu(kReport, {QStringLiteral("&View"), QStringLiteral("&Charts...")});
    ASSERT_TRUE(WaitForWindow(kCharts));
    ASSERT_TRUE(WaitForActive(kCharts));
    EXPECT_EQ(shownTitles(), (QStringList{"Connected time per day", "Cost per day"}));
    Key(QKeySequence::Close);
    ASSERT_TRUE(WaitForClose(kCharts));
    CloseBox(kReport);
    ASSERT_TRUE(WaitForClose(kReport));
    Quit();
  });
}

}  // namespace mirolat::journey
