// Setting up a service with the keyboard alone: Options from the File menu, a
// new service with two time-segmented tariffs and a flexi charge, a holiday,
// OK with Enter; the report then shows the priced figure. A second visit
// left with Escape after edits (some refused as too long) changes nothing in
// the store.
#include <QAbstractButton>
#include <QAbstractItemView>
#include <QApplication>
#include <QDate>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLabel>
#include <QMap>
#include <QTabWidget>
#include <QHeaderView>
#include <QTreeView>

#include "support/journey.h"

namespace mirolat::journey {

namespace {

using namespace Qt::Literals::StringLiterals;

const QString kMain = u"frmMain"_s;
const QString kOptions = u"MRL - Options"_s;
const QString kService = u"MRL - Edit Service"_s;
const QString kTariff = u"MRL - Dial-up Tariff Definition"_s;
const QString kReport = u"MRL Report"_s;
const QString kWarning = u"WARNING"_s;

// Two calls to 5551234 on Monday 21 December 2026: 07:00:05-07:30:05 (1800 s)
// and 10:24:05-10:55:32 (1887 s).
QByteArray MondayLog() {
  QByteArray log;
  const auto call = [&](const char* open, const char* dial, const char* connect, const char* hangUp) {
    log += QByteArray("12-21-2026 ") + open + " - Opening Modem\r\n";
    log += QByteArray("12-21-2026 ") + dial + " - Recv: ATDT5551234<cr>\r\n";
    log += QByteArray("12-21-2026 ") + connect + " - Connection established at 33600bps.\r\n";
    log += QByteArray("12-21-2026 ") + hangUp + " - Hanging up the modem.\r\n";
    log += QByteArray("12-21-2026 ") + hangUp + " - 104857 bytes written, 2097152 reads\r\n";
  };
  call("07:00:00.00", "07:00:01.00", "07:00:05.00", "07:30:05.00");
  call("10:23:40.00", "10:23:42.74", "10:24:05.25", "10:55:32.44");
  return log;
}

// The letters after '&' that a window offers to Alt (buttons, labels with a
// buddy, tabs) and that occur more than once.
QStringList RepeatedMnemonics(QWidget* window) {
  QStringList texts;
  for (auto* b : window->findChildren<QAbstractButton*>()) texts << b->text();
  for (auto* l : window->findChildren<QLabel*>()) {
    if (l->buddy() != nullptr) texts << l->text();
  }
  for (auto* t : window->findChildren<QTabWidget*>()) {
    for (int i = 0; i < t->count(); ++i) texts << t->tabText(i);
  }
  QMap<QChar, int> seen;
  for (const QString& text : texts) {
    const qsizetype at = QString(text).replace(u"&&"_s, u"__"_s).indexOf(u'&');
    if (at >= 0 && at + 1 < text.size()) ++seen[text.at(at + 1).toUpper()];
  }
  QStringList repeated;
  for (auto it = seen.cbegin(); it != seen.cend(); ++it) {
    if (it.value() > 1) repeated << QString(it.key());
  }
  return repeated;
}

// The configuration's service as the journey sets it up.
const char* const kExpectedServices = R"([{
  "ServiceName": "Home ISP", "ServiceNumber": "5551234", "DialOption": 2, "DialFixedTariff": 0.2,
  "Tariffs": [
    {"Description": "Weekday Tariff", "AppliesDays": "Mon - Fri", "AppliesTimeStart": "08:00",
     "AppliesTimeEnd": "17:59", "DialRate": 0.1, "PerMinuteRate": 0.05, "After": 0},
    {"Description": "Everyday Rate", "AppliesDays": "Everyday", "AppliesTimeStart": "00:00",
     "AppliesTimeEnd": "23:59", "DialRate": 0.05, "PerMinuteRate": 0.01, "After": 0}],
  "ServiceOption": 2, "ServiceRate": 1.5, "FlexRate": 1, "UpToHours": 10, "PenaltyPeriod": "Month",
  "FlexRate2": 3, "PerMeg": 0, "AfterMeg": 0, "MegPeriod": "Month",
  "Budget": {"CycleOption": 0, "CycleStartDay": 1, "CycleDays": 30, "CycleFromDate": null, "BudgetMoney": 0,
             "BudgetHours": 0, "BudgetMegabytes": 0, "WarnPercent1": 80, "WarnPercent2": 100}}])";

}  // namespace

TEST_F(Journey, KeyboardOnlySetUpPricesTheReportAndCancelLeavesTheStoreAsItWas) {
  WriteFile(LogPath(), MondayLog());
  const QDate today = QDate::currentDate();
  QByteArray storedBeforeSecondVisit;

  const auto key = [&](const char* keys) { Key(QKeySequence(QString::fromLatin1(keys))); };
  const auto retype = [&](const QString& text) {
    Key(QKeySequence::SelectAll);
    Type(text);
  };
  const auto focusOn = [&](const char* name) { return WaitUntil([&] { return FocusName() == QLatin1String(name); }); };
  const auto text = [&](const QString& title, const char* control) {
    return Text(title, QLatin1String(control)).toStdString();
  };
  // The control's text holds `part`; a failure shows the whole text.
  const auto shows = [&](const QString& title, const char* control, const char* part) {
    const std::string shown = text(title, control);
    if (shown.find(part) != std::string::npos) return testing::AssertionSuccess();
    return testing::AssertionFailure() << control << " shows \"" << shown << "\"";
  };
  // Shown and taking the keys (a window manager may activate it a moment later).
  const auto opened = [&](const QString& title) {
    return WaitForWindow(title) && WaitUntil([&] {
             QWidget* w = Window(title);
             return w != nullptr && (w == QApplication::activeModalWidget() || w == QApplication::activeWindow());
           });
  };
  // The report's Cost column, as its list shows it.
  const auto reportCosts = [&] {
    QStringList costs;
    OnProgramThread([&] {
      auto* view = qobject_cast<QAbstractItemView*>(Control(kReport, u"ListView1"_s));
      const QAbstractItemModel* model = view != nullptr ? view->model() : nullptr;
      for (int c = 0; model != nullptr && c < model->columnCount(); ++c) {
        if (model->headerData(c, Qt::Horizontal).toString().trimmed() != u"Cost"_s) continue;
        for (int r = 0; r < model->rowCount(); ++r) costs << model->index(r, c).data().toString().trimmed();
      }
    });
    return costs;
  };
  const auto processShowsCost = [&](const QString& cost) {
    key("Alt+O");  // the main window's OK: process the log
    EXPECT_TRUE(opened(kReport));
    EXPECT_TRUE(WaitUntil([&] { return reportCosts().contains(cost); })) << reportCosts().join(u' ').toStdString();
    key("Alt+F");
    key("C");  // File > Close
    EXPECT_TRUE(WaitForClose(kReport));
  };
  const auto openOptions = [&] {
    key("Alt+F");
    key("M");  // File > MRL Options
    EXPECT_TRUE(opened(kOptions));
  };

  Run([&] {
    ASSERT_TRUE(WaitForWindow(kMain));
    ASSERT_TRUE(WaitUntil([&] { return Enabled(kMain, u"btnProcess"_s); }));
    ASSERT_TRUE(WaitForWindow(u"frmTip"_s));  // the tip of the day comes first
    key("Return");
    ASSERT_TRUE(WaitForClose(u"frmTip"_s));
    // Without a service the calls cost the defaults: 2 x 0.20 + 3687 s at 1.50 an hour.
    processShowsCost(u"$1.94"_s);

    openOptions();
    OnProgramThread([&] { EXPECT_EQ(RepeatedMnemonics(Window(kOptions)), QStringList()); });
    key("Alt+F");  // the Format tab tells where the formats come from on this system
    EXPECT_TRUE(shows(kOptions, "lblDateFormat", "LC_"));

    // Errors: a duration whose minutes are off the clock is refused, and the
    // dialog says why the cursor stays.
    key("Alt+E");
    ASSERT_TRUE(focusOn("mskNoDisconDuration")) << FocusName().toStdString();
    retype(u"259999"_s);
    key("Tab");
    EXPECT_TRUE(focusOn("mskNoDisconDuration"));
    EXPECT_TRUE(shows(kOptions, "lblDurationProblem", "The minutes (99) must be 00 to 59"));
    Screenshot(kOptions, u"setup-options-errors.png"_s);
    retype(u"003000"_s);
    key("Tab");
    EXPECT_TRUE(focusOn("mskNoDisconData"));
    EXPECT_FALSE(Visible(kOptions, u"lblDurationProblem"_s));

    // Services > New: the name and number, then time-segmented tariffs.
    key("Alt+S");
    key("Alt+N");
    ASSERT_TRUE(opened(kService));
    OnProgramThread([&] { EXPECT_EQ(RepeatedMnemonics(Window(kService)), QStringList()); });
    EXPECT_TRUE(shows(kService, "lblProblem", "Service Details: type the number"));
    Type(u"Home ISP"_s);
    key("Tab");
    Type(u"5551234"_s);
    key("Ctrl+Tab");  // Dial-up Cost
    key("Alt+T");     // Time Segmented Tariffs
    EXPECT_TRUE(Checked(kService, u"optDialCost1"_s));
    EXPECT_FALSE(Checked(kService, u"optDialCost0"_s));
    Screenshot(kService, u"setup-service-dialup.png"_s);
    key("Alt+D");  // the default tariff goes

    // The first tariff: Mon - Fri 08:00-17:59, 0.10 a call and 0.05 a minute.
    key("Alt+N");
    ASSERT_TRUE(opened(kTariff));
    EXPECT_FALSE(Enabled(kTariff, u"btnOK"_s));
    EXPECT_TRUE(shows(kTariff, "lblProblem", "End time: type or choose"));
    Type(u"Weekday Tariff"_s);
    key("Tab");
    Type(u"Mon - Fri"_s);
    key("Tab");
    Type(u"08:00"_s);
    // Typing the start moves nothing; leaving it moves the empty end after it, and says so.
    EXPECT_EQ(text(kTariff, "lstDialTimeTariffDialEnd"), "");
    key("Tab");
    EXPECT_EQ(text(kTariff, "lstDialTimeTariffDialEnd"), "08:14");
    EXPECT_TRUE(shows(kTariff, "lblProblem", "End time moved to 08:14"));
    // A time off the clock is refused: the old time comes back, the line says why.
    Type(u"25:00"_s);
    key("Tab");
    EXPECT_TRUE(focusOn("lstDialTimeTariffDialEnd"));
    EXPECT_EQ(text(kTariff, "lstDialTimeTariffDialEnd"), "08:14");
    EXPECT_TRUE(shows(kTariff, "lblProblem", "End time: \"25:00\" is not a time of day"));
    Screenshot(kTariff, u"setup-tariff-refused.png"_s);
    retype(u"17:59"_s);
    key("Tab");
    // A negative charge likewise.
    Type(u"-2"_s);
    key("Tab");
    EXPECT_TRUE(focusOn("txtDialTimeTariffDialRate"));
    EXPECT_EQ(text(kTariff, "txtDialTimeTariffDialRate"), "0.00");
    EXPECT_TRUE(shows(kTariff, "lblProblem", "Minimum charge: \"-2\" is not an amount"));
    retype(u"0.10"_s);
    key("Tab");
    Type(u"0.05"_s);
    key("Tab");
    EXPECT_TRUE(focusOn("txtDialTimeTariffAfterMins"));
    EXPECT_TRUE(Enabled(kTariff, u"btnOK"_s));
    EXPECT_EQ(text(kTariff, "lblProblem"), "");
    key("Return");
    ASSERT_TRUE(WaitForClose(kTariff));

    // The second: Everyday 00:00-23:59, 0.05 a call and 0.01 a minute, first
    // under the first one's name, which a new tariff may not take.
    key("Alt+N");
    ASSERT_TRUE(opened(kTariff));
    for (const QString& entry : {u"Weekday Tariff"_s, u"Everyday"_s, u"00:00"_s, u"23:59"_s, u"0.05"_s}) {
      Type(entry);
      key("Tab");
    }
    Type(u"0.01"_s);
    key("Return");
    ASSERT_TRUE(opened(kWarning));
    EXPECT_TRUE(shows(kWarning, "qt_msgbox_label", "A Tariff With This Name Already Exists!"));
    key("Return");
    ASSERT_TRUE(WaitForClose(kWarning));
    retype(u"Everyday Rate"_s);  // the cursor is back in the description
    key("Return");
    ASSERT_TRUE(WaitForClose(kTariff));
    OnProgramThread([&] {  // the tariff list shows every column whole
      auto* list = qobject_cast<QTreeView*>(Control(kService, u"lstDialTimeTariff"_s));
      ASSERT_NE(list, nullptr);
      EXPECT_LE(list->header()->length(), list->viewport()->width());
    });

    // Service Cost: 1.00 an hour up to 10 hours a month, then 3.00.
    key("Ctrl+Tab");
    key("Alt+X");  // Flexi Rate
    EXPECT_TRUE(Checked(kService, u"optServiceCost1"_s));
    EXPECT_FALSE(Checked(kService, u"optServiceCost0"_s));
    EXPECT_TRUE(shows(kService, "lblProblem", "the flexi rate or the excess rate must be above 0"));
    Screenshot(kService, u"setup-service-cost.png"_s);
    ASSERT_TRUE(focusOn("txtServiceFlexRate")) << FocusName().toStdString();
    retype(u"-1"_s);  // refused: the old rate comes back and the cursor stays
    key("Tab");
    EXPECT_TRUE(focusOn("txtServiceFlexRate"));
    EXPECT_EQ(text(kService, "txtServiceFlexRate"), "0.00");
    retype(u"1.00"_s);
    key("Tab");
    retype(u"10"_s);
    key("Tab");  // the period stays Month
    key("Tab");
    retype(u"3.00"_s);
    key("Return");
    ASSERT_TRUE(WaitForClose(kService));

    // Holidays: today's date; then OK with Enter, from the list (in the
    // calendar Enter adds the date).
    key("Alt+L");
    key("Alt+A");
    EXPECT_EQ(text(kOptions, "lblUsedHolidays"), "1 Holidays (Max 100)");
    key("Tab");
    EXPECT_TRUE(focusOn("lstHolidays"));
    Screenshot(kOptions, u"setup-options-holidays.png"_s);
    key("Return");
    ASSERT_TRUE(WaitForClose(kOptions));

    // 07:00: 0.05 + 1800 s at 0.01 a minute (Everyday); 10:24: 0.10 + 1887 s
    // at 0.05 a minute (Mon - Fri); both within the flexi hours at 1.00: 3.0467.
    processShowsCost(u"$3.05"_s);
    storedBeforeSecondVisit = Cli({u"config"_s, u"export"_s});

    // A second visit: edits in the dialog and both editors, each left with Escape.
    openOptions();
    key("Tab");
    key("Tab");
    ASSERT_TRUE(focusOn("txtMaxServices"));
    retype(u"12"_s);
    key("Tab");
    // A response text beyond the limit keeps the cursor, and the tab says why.
    key("Alt+M");
    ASSERT_TRUE(focusOn("TextOptDial")) << FocusName().toStdString();
    retype(QString(256, u'D'));
    key("Tab");
    EXPECT_TRUE(focusOn("TextOptDial"));
    EXPECT_TRUE(shows(kOptions, "lblModemProblem", "Dial: the text has 256 characters; at most 255 are allowed"));
    retype(u"ATD"_s);
    key("Tab");
    EXPECT_FALSE(Visible(kOptions, u"lblModemProblem"_s));
    key("Alt+S");
    key("Alt+I");  // Edit
    ASSERT_TRUE(opened(kService));
    // So does a name beyond the limit: OK is off until it is shortened.
    retype(QString(256, u'N'));
    EXPECT_FALSE(Enabled(kService, u"btnOK"_s));
    EXPECT_TRUE(shows(kService, "lblProblem", "the description has 256 characters; at most 255 are allowed"));
    retype(u"Renamed"_s);
    key("Ctrl+Tab");
    key("Alt+E");  // the selected tariff
    ASSERT_TRUE(opened(kTariff));
    retype(u"Changed"_s);
    key("Escape");
    ASSERT_TRUE(WaitForClose(kTariff));
    EXPECT_EQ(text(kService, "txtDescription"), "Renamed");
    key("Escape");
    ASSERT_TRUE(WaitForClose(kService));
    key("Alt+L");
    key("Alt+V");  // Remove the holiday
    EXPECT_EQ(text(kOptions, "lblUsedHolidays"), "0 Holidays (Max 100)");
    key("Escape");
    ASSERT_TRUE(WaitForClose(kOptions));
    Quit();
  });

  const QByteArray stored = Cli({u"config"_s, u"export"_s});
  EXPECT_EQ(stored.toStdString(), storedBeforeSecondVisit.toStdString());
  const QJsonObject config = QJsonDocument::fromJson(stored).object();
  EXPECT_EQ(QJsonDocument(config[u"Services"_s].toArray()).toJson().toStdString(),
            QJsonDocument::fromJson(kExpectedServices).toJson().toStdString());
  EXPECT_EQ(config[u"General"_s][u"NoDisconDuration"_s].toInt(), 1800);
  // The holiday is the calendar's today when the dialog opened.
  const QJsonArray holidays = config[u"Holidays"_s].toArray();
  ASSERT_EQ(holidays.size(), 1);
  EXPECT_TRUE(holidays[0].toString() == today.toString(Qt::ISODate) ||
              holidays[0].toString() == today.addDays(1).toString(Qt::ISODate))
      << holidays[0].toString().toStdString();
}

}  // namespace mirolat::journey
