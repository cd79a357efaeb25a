// Budget alerts and the tray icon: a session another program appends passes
// a budget and one notification goes out (and no second one); with the tray
// option turned on in the options, the tray icon tells the call in progress.
#include <QDate>
#include <QFile>
#include <QTime>

#include "core/app/app_state.h"
#include "support/journey.h"
#include "ui/main/frm_main.h"
#include "ui/tray/notifier.h"
#include "ui/tray/tray_icon.h"

namespace mirolat::journey {

namespace {

using namespace Qt::Literals::StringLiterals;

const QString kMain = u"frmMain"_s;
const QString kOptions = u"MRL - Options"_s;

QString Today() { return QDate::currentDate().toString(u"MM-dd-yyyy"_s); }

void Append(const QString& path, const QByteArray& bytes) {
  QFile log(path);
  ASSERT_TRUE(log.open(QIODevice::Append));
  log.write(bytes);
}

class AlertsJourney : public Journey {
 protected:
  void SetUp() override {
    Journey::SetUp();
    Notifier::clearRecorded();
    Notifier::setRecording(true);
  }
  void TearDown() override {
    Notifier::setRecording(false);
    Journey::TearDown();
  }
  void CloseTip() {
    ASSERT_TRUE(WaitForWindow(u"frmTip"_s));
    Key(QKeySequence(Qt::Key_Escape));
    ASSERT_TRUE(WaitForClose(u"frmTip"_s));
  }
  // The tray icon's tooltip, empty while there is none.
  QString TrayToolTip() {
    QString tip;
    OnProgramThread([&] {
      if (QWidget* main = Window(kMain)) {
        if (auto* tray = main->findChild<TrayIcon*>(u"trayIcon"_s)) tip = tray->ToolTip();
      }
    });
    return tip;
  }
};

}  // namespace

TEST_F(AlertsJourney, ASessionThatPassesABudgetIsNotifiedOnce) {
  // One session of 31 minutes today, against a budget of one hour a month.
  WriteFile(LogPath(), SessionLog({Today()}));
  Run([&] {
    CloseTip();
    OnProgramThread([&] { static_cast<frmMain*>(Window(kMain))->State().Config.OverallBudget.Hours = 1; });
    EXPECT_TRUE(Notifier::recorded().isEmpty());

    // A second session, appended as the pppd hook appends it: past the hour.
    Append(LogPath(), SessionLog({Today()}, u"5559876"_s));
    ASSERT_TRUE(WaitUntil([&] { return Text(kMain, u"LabelLogEntries2"_s) == u"12"_s; }));
    ASSERT_TRUE(WaitUntil([&] { return !Notifier::recorded().isEmpty(); }));
    ASSERT_EQ(Notifier::recorded().size(), 1);
    EXPECT_EQ(Notifier::recorded()[0].Title, u"Budget exceeded: All services"_s);
    EXPECT_TRUE(Notifier::recorded()[0].Text.startsWith(u"104 % of the 1-hour budget used in the cycle "_s))
        << Notifier::recorded()[0].Text.toStdString();
    EXPECT_TRUE(Notifier::recorded()[0].Critical);

    // A third: nothing new to say this cycle.
    Append(LogPath(), SessionLog({Today()}));
    ASSERT_TRUE(WaitUntil([&] { return Text(kMain, u"LabelLogEntries2"_s) == u"18"_s; }));
    EXPECT_EQ(Notifier::recorded().size(), 1);
    Quit();
  });
}

TEST_F(AlertsJourney, TheTrayIconTellsTheCallInProgress) {
  // Connected ten minutes ago (or since midnight), with no disconnect yet.
  const QTime since = QTime::fromMSecsSinceStartOfDay(std::max(0, QTime::currentTime().msecsSinceStartOfDay() - 600000));
  const QByteArray at = (Today() + u' ' + since.toString(u"HH:mm:ss"_s)).toLatin1();
  WriteFile(LogPath(), at + ".10 - Recv: ATDT5551234<cr>\r\n" + at + ".90 - Connection established at 33600bps.\r\n");
  Run([&] {
    CloseTip();
    EXPECT_TRUE(TrayToolTip().isEmpty()) << "the icon is off until the user turns it on";

    Key(QKeySequence(u"Alt+F"_s));
    Key(QKeySequence(u"M"_s));  // File > MRL Options
    ASSERT_TRUE(WaitForWindow(kOptions));
    EXPECT_TRUE(Checked(kOptions, u"chkBudgetAlerts"_s));
    EXPECT_FALSE(Checked(kOptions, u"chkTrayIcon"_s));
    Key(QKeySequence(u"Alt+Y"_s));
    EXPECT_TRUE(Checked(kOptions, u"chkTrayIcon"_s));
    Key(QKeySequence(Qt::Key_Return));
    ASSERT_TRUE(WaitForClose(kOptions));

    ASSERT_TRUE(WaitUntil([&] { return TrayToolTip().contains(u"Connected: 5551234"_s); })) << TrayToolTip().toStdString();
    const QString tip = TrayToolTip();
    EXPECT_TRUE(tip.contains(u"Since "_s + since.toString(u"HH:mm:ss"_s))) << tip.toStdString();
    EXPECT_TRUE(tip.contains(u", $0."_s)) << "the call's cost so far: " << tip.toStdString();
    EXPECT_TRUE(tip.contains(u"Today: "_s)) << tip.toStdString();

    // The choice is kept.
    Key(QKeySequence(u"Alt+F"_s));
    Key(QKeySequence(u"M"_s));
    ASSERT_TRUE(WaitForWindow(kOptions));
    EXPECT_TRUE(Checked(kOptions, u"chkTrayIcon"_s));
    Key(QKeySequence(Qt::Key_Escape));
    ASSERT_TRUE(WaitForClose(kOptions));
    Quit();
  });
}

}  // namespace mirolat::journey
