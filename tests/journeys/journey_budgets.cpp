// A budget set up by keys in the service editor shows as a bar in the main
// window with its state in words; This and Last Billing Cycle on the Quick
// Date menu set both dates to the cycle.
#include <QApplication>
#include <QDate>

#include "support/journey.h"

namespace mirolat::journey {

namespace {

using namespace Qt::Literals::StringLiterals;

const QString kMain = u"frmMain"_s;
const QString kOptions = u"MRL - Options"_s;
const QString kService = u"MRL - Edit Service"_s;
const QString kReport = u"MRL Report"_s;

QString BoxText(const QDate& day) { return day.toString(u"MM/dd/yy"_s); }

}  // namespace

TEST_F(Journey, AServiceBudgetShowsAsABarAndTheCycleQuickDatesSetTheRange) {
  const QDate today = QDate::currentDate();
  const QDate monthStart(today.year(), today.month(), 1);
  const QDate lastMonth = monthStart.addMonths(-1);
  // 31 minutes 27 seconds on the first of last month and today.
  WriteFile(LogPath(), SessionLog({lastMonth.toString(u"MM-dd-yyyy"_s), today.toString(u"MM-dd-yyyy"_s)}));
  const QString config = ScratchDir() + u"config.json"_s;
  WriteFile(config, R"({"Services": [{"ServiceName": "Home ISP", "ServiceNumber": "5551234",
                                       "DialOption": 1, "ServiceOption": 1}]})");
  Cli({u"config"_s, u"import"_s, config});

  const auto key = [&](const char* keys) { Key(QKeySequence(QString::fromLatin1(keys))); };
  const auto opened = [&](const QString& title) {
    return WaitForWindow(title) && WaitUntil([&] {
             QWidget* w = Window(title);
             return w != nullptr && (w == QApplication::activeModalWidget() || w == QApplication::activeWindow());
           });
  };

  Run([&] {
    ASSERT_TRUE(WaitForWindow(kMain));
    ASSERT_TRUE(WaitForWindow(u"frmTip"_s));
    key("Return");
    ASSERT_TRUE(WaitForClose(u"frmTip"_s));
    EXPECT_FALSE(Visible(kMain, u"BudgetBars"_s));  // no budget has a limit

    // Options > Services > Edit > Budget: half an hour a cycle.
    key("Alt+F");
    key("M");
    ASSERT_TRUE(opened(kOptions));
    key("Alt+S");
    key("Alt+I");
    ASSERT_TRUE(opened(kService));
    key("Alt+U");
    EXPECT_TRUE(WaitUntil([&] { return FocusName() == u"optBudgetMonthly"_s; })) << FocusName().toStdString();
    key("Tab");  // cycles from the 28th
    Key(QKeySequence::SelectAll);
    Type(u"28"_s);
    Click(kService, u"txtBudgetHours"_s);
    Key(QKeySequence::SelectAll);
    Type(u"0.5x"_s);
    EXPECT_FALSE(Enabled(kService, u"btnOK"_s));
    EXPECT_EQ(Text(kService, u"lblProblem"_s), u"Budget: the hours limit \"0.5x\" is not an amount of 0 or more."_s);
    key("Backspace");
    EXPECT_TRUE(WaitUntil([&] { return Enabled(kService, u"btnOK"_s); }));
    key("Return");
    ASSERT_TRUE(WaitForClose(kService));
    key("Return");
    ASSERT_TRUE(WaitForClose(kOptions));

    // Today's call used 0.52 hours of the 0.5.
    ASSERT_TRUE(WaitUntil([&] { return Visible(kMain, u"BudgetBars"_s); }));
    EXPECT_EQ(Text(kMain, u"lblBudgetName0"_s), u"Home ISP, hours"_s);
    EXPECT_EQ(Text(kMain, u"lblBudgetState0"_s), u"Over budget"_s);
    EXPECT_TRUE(Text(kMain, u"lblBudgetFigures0"_s).startsWith(u"0.52 h of 0.50 h, projected "_s))
        << Text(kMain, u"lblBudgetFigures0"_s).toStdString();
    EXPECT_TRUE(Text(kMain, u"lblBudgetFigures0"_s).contains(u"(linear, "_s));
    Screenshot(kMain, u"main-window-budgets.png"_s);

    // The overall cycle (monthly from the 1st): this one up to today, then the whole last one.
    key("Alt+Q");
    key("B");
    EXPECT_TRUE(WaitUntil([&] { return Text(kMain, u"inputStarting"_s) == BoxText(monthStart); }))
        << Text(kMain, u"inputStarting"_s).toStdString();
    EXPECT_EQ(Text(kMain, u"inputEnding"_s), BoxText(today));
    key("Alt+Q");
    key("C");
    EXPECT_TRUE(WaitUntil([&] { return Text(kMain, u"inputEnding"_s) == BoxText(monthStart.addDays(-1)); }))
        << Text(kMain, u"inputEnding"_s).toStdString();
    EXPECT_EQ(Text(kMain, u"inputStarting"_s), BoxText(lastMonth));

    // With the service's row selected in the Summary, its own cycle from the 28th.
    key("Alt+Q");
    key("B");
    key("Alt+O");
    ASSERT_TRUE(WaitForActive(kReport));
    Click(kReport, u"ListView1"_s);
    key("Home");
    Click(kMain, u"inputEnding"_s);
    key("Alt+Q");
    key("B");
    const QDate cycleStart = today.day() >= 28 ? monthStart.addDays(27) : lastMonth.addDays(27);
    EXPECT_TRUE(WaitUntil([&] { return Text(kMain, u"inputStarting"_s) == BoxText(cycleStart); }))
        << Text(kMain, u"inputStarting"_s).toStdString();
  });
}

}  // namespace mirolat::journey
