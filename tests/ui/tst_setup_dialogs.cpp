// The options dialog, the service editor and the tariff editor driven as a
// user drives them: every tab, both editors, Cancel and OK, the settings
// store and the prices a report shows afterwards.
#include <QComboBox>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSignalSpy>
#include <QTextBrowser>
#include <QtTest>
#include <deque>
#include <memory>

#include "core/analysis/analysis_run.h"
#include "core/app/app_state.h"
#include "core/common/progress.h"
#include "core/settings/config_json.h"
#include "core/settings/configuration_io.h"
#include "core/settings/settings_store.h"
#include "support/common_test_env.h"
#include "ui/common/help_window.h"
#include "ui/dialogs/beep.h"
#include "ui/dialogs/desktop_error_reporter.h"
#include "ui/dialogs/file_dialog.h"
#include "ui/dialogs/message_box.h"
#include "ui/setup/frm_service.h"
#include "ui/setup/frm_setup.h"
#include "ui/setup/frm_tariff.h"

using namespace mirolat;

namespace {

const QDate kToday(2026, 12, 6);
const QString kHelpDir = QStringLiteral(MIROLAT_SOURCE_DIR "/docs/help");

void WriteFile(const QString& path, const QByteArray& bytes) {
  QFile f(path);
  QVERIFY(f.open(QIODevice::WriteOnly));
  QCOMPARE(f.write(bytes), bytes.size());
}

// One session a day on each of the given days (mm-dd-yyyy) from 10:24:05 to
// 10:55:32 (1887 s) on 5551234, with 2 MB read.
QByteArray SessionLog(const QStringList& days) {
  QByteArray log;
  for (const QString& day : days) {
    const QByteArray d = day.toLatin1();
    log += d + " 10:23:40.00 - Opening Modem\r\n";
    log += d + " 10:23:42.74 - Recv: ATDT5551234<cr>\r\n";
    log += d + " 10:24:05.25 - Connection established at 33600bps.\r\n";
    log += d + " 10:55:32.44 - Hanging up the modem.\r\n";
    log += d + " 10:55:34.00 - 104857 bytes written, 2097152 reads\r\n";
  }
  return log;
}

Service StoredService(const QString& name, const QString& number) {
  Service s;
  s.ServiceName = name;
  s.ServiceNumber = number;
  s.DialOption = 2;
  s.DialFixedTariff = 0.25;
  s.UsedTariffs = 2;
  s.Tariffs[0] = Tariff{
      QStringLiteral("Peak"), QStringLiteral("Mon - Fri"), MakeTime(8, 0, 0), MakeTime(17, 59, 0), 0.1, 0.05, 60};
  s.Tariffs[1] = Tariff{
      QStringLiteral("Night"), QStringLiteral("Everyday"), MakeTime(0, 0, 0), MakeTime(23, 59, 0), 0.05, 0.01, 0};
  s.ServiceOption = 2;
  s.ServiceRate = 1.25;
  s.FlexRate = 1;
  s.UpToHours = 10;
  s.PenaltyPeriod = QStringLiteral("Week");
  s.FlexRate2 = 3;
  s.PerMeg = 0.1;
  s.AfterMeg = 5;
  s.MegPeriod = QStringLiteral("Session");
  return s;
}

}  // namespace

class SetupDialogsTest : public QObject {
  Q_OBJECT

 private:
  std::unique_ptr<test::CommonTestEnvironment> env_;
  std::unique_ptr<AppState> state_;
  QPointer<frmSetup> w_;
  std::deque<std::function<void(frmService&)>> serviceScripts_;
  std::deque<std::function<void(frmTariff&)>> tariffScripts_;

  void MakeState() {
    state_ = std::make_unique<AppState>();
    state_->Locale = LoadLocaleInfo(QLocale(QLocale::English, QLocale::UnitedStates));
    state_->File.WindowsDir = env_->LogDir();
    state_->File.LogFileName = QStringLiteral("ModemLog.txt");
    state_->File.LogFilePath = env_->LogDir() + QStringLiteral("ModemLog.txt");
    state_->Store = std::make_shared<SettingsStore>(SettingsStore::FilePathIn(env_->ConfigDir()));
  }

  // A record with two services, a past and a coming holiday, and values
  // that do not survive a careless reformatting.
  void FillRecord() {
    Configuration& c = state_->Config;
    c.UsedServices = 2;
    c.Services[0] = StoredService(QStringLiteral("Home ISP"), QStringLiteral("5551234"));
    c.Services[1] = StoredService(QStringLiteral("Work"), QStringLiteral("5559876"));
    c.NoDisconData = 512.4;
    c.NoDisconDuration = 900.6;
    c.DialCost = 0.123456;
    c.CostPerMeg = 0.05;
    c.UsedHolidays = 2;
    c.Holidays[0] = MakeDate(2025, 12, 25);  // past
    c.Holidays[1] = MakeDate(2026, 12, 25);
  }

  void Open() {
    w_ = new frmSetup(*state_);
    w_->SetTodayProvider([] { return kToday; });
    w_->SetServiceEditorRunner([this](QWidget* parent, Configuration& draft, int index, bool isNew) {
      frmService editor(draft, index, isNew, state_->Locale, parent);
      editor.SetTariffEditorRunner(
          [this](QWidget* p, std::array<Tariff, kMaxTariffs>& tariffs, int& count, int position) {
            frmTariff tariff(tariffs, count, position, state_->Locale, p);
            tariff.show();
            if (!QTest::qWaitForWindowActive(&tariff)) qWarning("tariff editor not active");
            if (tariffScripts_.empty()) {
              tariff.btnCancel->click();
            } else {
              auto script = tariffScripts_.front();
              tariffScripts_.pop_front();
              script(tariff);
            }
            Reactivate(p);
            return tariff.result() == QDialog::Accepted;
          });
      editor.show();
      if (!QTest::qWaitForWindowActive(&editor)) qWarning("service editor not active");
      if (serviceScripts_.empty()) {
        editor.btnCancel->click();
      } else {
        auto script = serviceScripts_.front();
        serviceScripts_.pop_front();
        script(editor);
      }
      Reactivate(parent);
      return editor.result() == QDialog::Accepted;
    });
    w_->show();
    QVERIFY(QTest::qWaitForWindowActive(w_));
  }

  // The window under a closed editor takes the keyboard again.
  static void Reactivate(QWidget* window) {
    if (window == nullptr) return;
    window->activateWindow();
    if (!QTest::qWaitForWindowActive(window)) qWarning("window not active again");
  }

  void Tab(int index) { w_->TabStrip1->setCurrentIndex(index); }

  // Types into a box as a user does and leaves it with Tab.
  static void Enter(QLineEdit* box, const QString& text) {
    box->setFocus();
    box->selectAll();
    if (text.isEmpty()) {
      QTest::keyClick(box, Qt::Key_Delete);
    } else {
      QTest::keyClicks(box, text);
    }
    QTest::keyClick(box, Qt::Key_Tab);
    QCoreApplication::processEvents();
  }
  // Types without leaving.
  static void Type(QLineEdit* box, const QString& text) {
    box->setFocus();
    box->selectAll();
    QTest::keyClicks(box, text);
  }
  static void Pick(QComboBox* list, const QString& text) {
    const int i = list->findText(text);
    if (i >= 0) {
      list->setCurrentIndex(i);
    } else {
      list->setCurrentText(text);
    }
  }
  static void TypeTime(QComboBox* list, const QString& text) {
    list->setFocus();
    list->lineEdit()->selectAll();
    QTest::keyClicks(list->lineEdit(), text);
  }

  // A tariff typed into the tariff editor, then OK.
  static std::function<void(frmTariff&)> AddTariff(const QString& name, const QString& days, const QString& start,
                                                   const QString& end, const QString& minimum,
                                                   const QString& perMinute = QStringLiteral("0")) {
    return [=](frmTariff& t) {
      t.lstDialTimeTariffDescrip->setCurrentText(name);
      Pick(t.lstDialTimeTariffDialDays, days);
      Pick(t.lstDialTimeTariffDialStart, start);
      Pick(t.lstDialTimeTariffDialEnd, end);
      Enter(t.txtDialTimeTariffDialRate, minimum);
      Enter(t.txtDialTimeTariffMinuteRate, perMinute);
      QVERIFY2(t.btnOK->isEnabled(), qPrintable(name));
      t.btnOK->click();
    };
  }

  Configuration Reloaded() {
    Configuration c;
    LoadConfiguration(*state_->Store, c, SharedErrorReporter());
    return c;
  }

 private Q_SLOTS:
  void init() {
    env_ = std::make_unique<test::CommonTestEnvironment>();
    SetHelpDirectory(kHelpDir);
    MakeState();
    serviceScripts_.clear();
    tariffScripts_.clear();
  }

  void cleanup() {
    delete w_.data();
    if (HelpWindow() != nullptr) delete HelpWindow();
    state_.reset();
    env_.reset();
  }

  void tabsCaptionsKeysAndHelp() {
    Open();
    QCOMPARE(w_->windowTitle(), QStringLiteral("MRL - Options"));
    const char* captions[] = {"General", "Modem", "Services", "Costs", "Format", "Errors", "Holidays"};
    const char* tips[] = {"General Operating Parameters",
                          "Modem Response Settings",
                          "Service Descriptions, Numbers and Costs",
                          "Default Connection Costs and Currency Format",
                          "Date & Currency Format",
                          "Error Correction",
                          "User Defined Holidays"};
    const char* frames[] = {"General Settings",          "Response Codes",
                            "Dialled Services Details",  "Default Costs",
                            "Currency and Date Formats", "Error Correction/Adjustment",
                            "User Defined Holidays"};
    const char* pages[] = {"options_general.html", "options_modem.html",  "options_services.html", "options_costs.html",
                           "options_format.html",  "options_errors.html", "options_holidays.html"};
    QCOMPARE(w_->TabStrip1->count(), 7);
    for (int i = 0; i < 7; ++i) {
      QCOMPARE(w_->TabStrip1->tabText(i), QLatin1String(captions[i]));
      QCOMPARE(w_->TabStrip1->tabToolTip(i), QLatin1String(tips[i]));
      QCOMPARE(w_->Settings[size_t(i)]->title(), QLatin1String(frames[i]));
      Tab(i);
      // Restore Defaults belongs to the Modem tab alone.
      QCOMPARE(w_->btnDefaults->isVisible(), i == 1);
      QCOMPARE(w_->btnDefaults->isEnabled(), i == 1);
      // F1 and the Help button open the tab's own page.
      QTest::keyClick(w_, Qt::Key_F1);
      QVERIFY(HelpWindow() != nullptr);
      QCOMPARE(HelpWindow()->CurrentPage(), QLatin1String(pages[i]));
      HelpWindow()->ShowContents();
      w_->btnHelp->click();
      QCOMPARE(HelpWindow()->CurrentPage(), QLatin1String(pages[i]));
      w_->activateWindow();
      QVERIFY(QTest::qWaitForWindowActive(w_));
    }
    QCOMPARE(w_->btnDefaults->text(), QStringLiteral("&Restore Defaults"));
    QCOMPARE(w_->btnDefaults->toolTip(), QStringLiteral("Restore Default Modem Settings"));
    // Ctrl+Tab from the last tab selects the first.
    Tab(6);
    QTest::keyClick(w_->lstHolidays, Qt::Key_Tab, Qt::ControlModifier);
    QCOMPARE(w_->TabStrip1->currentIndex(), 0);
    QTest::keyClick(w_->txtLogName, Qt::Key_Tab, Qt::ControlModifier);
    QCOMPARE(w_->TabStrip1->currentIndex(), 1);
    // The Format tab shows the locale read-only.
    QCOMPARE(w_->lblCountry->text(), QStringLiteral("United States"));
    QCOMPARE(w_->lblPreview->text(), QStringLiteral("$1,234,567.89"));
    QCOMPARE(w_->lblShortDate->text(),
             QLocale(QLocale::English, QLocale::UnitedStates).toString(kToday, QLocale::ShortFormat));
    QVERIFY(w_->lblRegionalSettings->text().startsWith(
        QStringLiteral("The Country setting for this computer is United States. Below are examples")));
    // Restore Defaults puts the modem texts back without asking.
    Tab(1);
    Enter(w_->TextOptDial, QStringLiteral("recv: atdp"));
    QCOMPARE(w_->TextOptDial->text(), QStringLiteral("RECV: ATDP"));
    QCOMPARE(w_->Draft().ModemDial, QStringLiteral("RECV: ATDP"));
    w_->btnDefaults->click();
    QCOMPARE(w_->TextOptDial->text(), QStringLiteral("RECV: ATD"));
    QCOMPARE(w_->Draft().ModemDial, QStringLiteral("RECV: ATD"));
    QCOMPARE(MessageBox::shownMessages().size(), 0);
  }

  void cancelAfterEditingEveryTabLeavesTheRecordAsItWas() {
    FillRecord();
    WriteFile(env_->LogDir() + QStringLiteral("Other.log"), "x");
    const Configuration before = state_->Config;
    Open();
    QSignalSpy changed(w_.data(), &frmSetup::ConfigurationChanged);
    // General
    Enter(w_->txtLogName, QStringLiteral("Other.log"));
    QCOMPARE(w_->Draft().ModemLogFile, QStringLiteral("Other.log"));
    Enter(w_->txtMaxConnections, QStringLiteral("300"));
    Enter(w_->txtMaxServices, QStringLiteral("20"));
    w_->optEditLog->click();
    w_->optAutoOpt->click();
    // Modem
    Tab(1);
    Enter(w_->TextOptReads, QStringLiteral("bytes read"));
    // Services: one deleted with the Del key, one edited, one added.
    Tab(2);
    w_->lstServices->setFocus();
    w_->lstServices->setCurrentItem(w_->lstServices->topLevelItem(0));
    QTest::keyClick(w_->lstServices, Qt::Key_Delete);
    QCOMPARE(w_->Draft().UsedServices, 1);
    serviceScripts_.push_back([](frmService& e) {
      Enter(e.txtDescription, QStringLiteral("Renamed"));
      e.btnOK->click();
    });
    w_->btnEdit->click();
    serviceScripts_.push_back([](frmService& e) {
      Enter(e.txtNumber, QStringLiteral("5550000"));
      e.btnOK->click();
    });
    w_->btnNew->click();
    QCOMPARE(w_->Draft().UsedServices, 2);
    QCOMPARE(w_->Draft().Services[0].ServiceName, QStringLiteral("Renamed"));
    // Costs
    Tab(3);
    Enter(w_->txtCostPerMeg, QStringLiteral("0.75"));
    QCOMPARE(w_->Draft().CostPerMeg, 0.75);
    w_->optCalcCosts->click();
    // Errors
    Tab(5);
    Enter(w_->mskNoDisconDuration, QStringLiteral("013000"));
    Enter(w_->mskNoDisconData, QStringLiteral("2048"));
    QCOMPARE(w_->Draft().NoDisconData, 2048.0);
    w_->optShowErrors->click();
    // Holidays
    Tab(6);
    w_->CalHolidays->setSelectedDate(QDate(2027, 1, 1));
    w_->btnAdd->click();
    QCOMPARE(w_->WorkingHolidays().size(), 3);
    QVERIFY(!(w_->Draft() == before));

    w_->btnCancel->click();
    QVERIFY(!w_->isVisible());
    QVERIFY(state_->Config == before);
    QCOMPARE(changed.count(), 0);
    QVERIFY(!state_->LogFileChanged);
    // Nothing reached the store.
    QCOMPARE(Reloaded().UsedServices, 0);
  }

  void closeBoxIsCancel() {
    FillRecord();
    const Configuration before = state_->Config;
    Open();
    Enter(w_->txtMaxConnectDays, QStringLiteral("9"));
    w_->close();
    QVERIFY(state_->Config == before);
  }

  // Mended: opening and OK-ing changes nothing that was not touched, the
  // data placeholder of the disabled box included; past holidays stay.
  void okWithoutEditsChangesNothing() {
    FillRecord();
    state_->Config.ShowErrors = false;
    const Configuration before = state_->Config;
    Open();
    QCOMPARE(w_->mskNoDisconData->text(), QStringLiteral("0"));
    QCOMPARE(w_->mskNoDisconDuration->displayText(), QStringLiteral("00:00:00"));
    QVERIFY(!w_->mskNoDisconData->isEnabled());
    QCOMPARE(w_->txtDialCost->text(), QStringLiteral("0.1235"));
    // Switching the substitutes on shows the stored values; off again, the
    // placeholders. Then walk through every box without typing.
    Tab(5);
    w_->optShowErrors->click();
    QCOMPARE(w_->mskNoDisconData->text(), QStringLiteral("512"));
    QCOMPARE(w_->mskNoDisconDuration->displayText(), QStringLiteral("00:15:00"));
    w_->mskNoDisconData->setFocus();
    QTest::keyClick(w_->mskNoDisconData, Qt::Key_Tab);
    w_->optShowErrors->click();
    QCOMPARE(w_->mskNoDisconData->text(), QStringLiteral("0"));
    for (int tab = 0; tab < 7; ++tab) {
      Tab(tab);
      for (QLineEdit* box : w_->Settings[size_t(tab)]->findChildren<QLineEdit*>()) {
        if (!box->isEnabled()) continue;
        box->setFocus();
        QTest::keyClick(box, Qt::Key_Tab);
      }
    }
    QSignalSpy changed(w_.data(), &frmSetup::ConfigurationChanged);
    w_->btnSave->click();
    QCOMPARE(changed.count(), 1);
    QCOMPARE(changed.at(0).at(0).toBool(), false);
    QVERIFY(state_->Config == before);
    const Configuration stored = Reloaded();
    QCOMPARE(stored.NoDisconData, 512.0);  // the store keeps whole kilobytes
    QCOMPARE(stored.UsedHolidays, 2);
    QCOMPARE(stored.Holidays[0], MakeDate(2025, 12, 25));
    QCOMPARE(stored.Services[1].ServiceName, QStringLiteral("Work"));
    QCOMPARE(BeepCount(), 0);
  }

  void durationIsStoredAsSecondsAndShownAgain() {
    Open();
    Tab(5);
    Enter(w_->mskNoDisconDuration, QStringLiteral("013000"));
    QCOMPARE(w_->Draft().NoDisconDuration, 5400.0);
    // Mended: minutes and seconds stay on the clock; a refused entry beeps
    // and changes nothing.
    Enter(w_->mskNoDisconDuration, QStringLiteral("007500"));
    QCOMPARE(BeepCount(), 1);
    QCOMPARE(w_->Draft().NoDisconDuration, 5400.0);
    Enter(w_->mskNoDisconDuration, QStringLiteral("000230"));
    QCOMPARE(w_->Draft().NoDisconDuration, 150.0);
    Enter(w_->mskNoDisconDuration, QStringLiteral("013000"));
    Enter(w_->mskNoDisconData, QStringLiteral("1,234"));
    QCOMPARE(w_->mskNoDisconData->text(), QStringLiteral("1,234"));
    Enter(w_->mskNoDisconData, QStringLiteral("-5"));
    QCOMPARE(w_->mskNoDisconData->text(), QStringLiteral("1,234"));
    w_->btnSave->click();
    QCOMPARE(state_->Config.NoDisconDuration, 5400.0);
    QCOMPARE(Reloaded().NoDisconDuration, 5400.0);
    QCOMPARE(Reloaded().NoDisconData, 1234.0);
    delete w_.data();
    Open();
    QCOMPARE(w_->mskNoDisconDuration->displayText(), QStringLiteral("01:30:00"));
  }

  // Mended: the limits refuse what is out of range like what is not a number.
  void limitsAreRangeChecked() {
    Open();
    struct Case {
      QLineEdit* box;
      const char* text;
      const char* shown;
    } cases[] = {
        {w_->txtMaxConnections, "abc", "200"},   {w_->txtMaxConnections, "0", "200"},
        {w_->txtMaxConnections, "-4", "200"},    {w_->txtMaxConnections, "40000", "200"},
        {w_->txtMaxConnections, "250.4", "250"}, {w_->txtMaxConnectDays, "0", "2"},
        {w_->txtMaxConnectDays, "7", "7"},       {w_->txtMaxLogSize, "3000000000", "150"},
        {w_->txtMaxLogSize, "2,000", "2000"},    {w_->txtMaxServices, "0", "10"},
        {w_->txtMaxServices, "99999", "10"},
    };
    int beeps = 0;
    for (const Case& c : cases) {
      Enter(c.box, QLatin1String(c.text));
      QCOMPARE(c.box->text(), QLatin1String(c.shown));
      if (QLatin1String(c.text) != QLatin1String(c.shown) && QLatin1String(c.text) != QLatin1String("250.4") &&
          QLatin1String(c.text) != QLatin1String("2,000")) {
        ++beeps;
      }
      QCOMPARE(BeepCount(), beeps);
    }
    QCOMPARE(w_->Draft().MaxConnections, 250);
    QCOMPARE(w_->Draft().MaxConnectDays, 7);
    QCOMPARE(w_->Draft().MaxLogSize, 2000);
  }

  // Mended: raising Maximum Services grows the service table.
  void maximumServicesFollowsTheServicesInUse() {
    Configuration& c = state_->Config;
    c.MaxServices = 3;
    c.Services.resize(4);
    c.UsedServices = 3;
    for (int i = 0; i < 3; ++i)
      c.Services[size_t(i)] = StoredService(QStringLiteral("S%1").arg(i), QString::number(100 + i));
    Open();
    Tab(2);
    QCOMPARE(w_->lblServices1->text(), QStringLiteral("3 Used"));
    QCOMPARE(w_->lblServices2->text(), QStringLiteral("(Max 3)"));
    QVERIFY(w_->lblServices1->styleSheet().contains(QStringLiteral("255, 0, 0")));
    w_->btnNew->click();  // full
    QCOMPARE(BeepCount(), 1);
    Tab(0);
    MessageBox::setNextAnswer(MessageButton::Ok);
    Enter(w_->txtMaxServices, QStringLiteral("2"));
    QCOMPARE(MessageBox::shownMessages().size(), 1);
    QCOMPARE(MessageBox::shownMessages().at(0).text,
             QStringLiteral("You are currently using more services than this.\n"
                            "Please reduce the number of defined services and try again!"));
    QCOMPARE(w_->txtMaxServices->text(), QStringLiteral("3"));
    Enter(w_->txtMaxServices, QStringLiteral("-1"));  // not a maximum at all: a beep
    QCOMPARE(MessageBox::shownMessages().size(), 1);
    QCOMPARE(BeepCount(), 2);
    QCOMPARE(w_->txtMaxServices->text(), QStringLiteral("3"));
    Enter(w_->txtMaxServices, QStringLiteral("5"));
    QCOMPARE(w_->Draft().Services.size(), size_t(6));
    Tab(2);
    QVERIFY(w_->lblServices1->styleSheet().isEmpty());
    for (const char* number : {"104", "105"}) {
      serviceScripts_.push_back([number](frmService& e) {
        Enter(e.txtNumber, QLatin1String(number));
        e.btnOK->click();
      });
      w_->btnNew->click();
    }
    QCOMPARE(w_->Draft().UsedServices, 5);
    QCOMPARE(w_->lblServices1->text(), QStringLiteral("5 Used"));
    QCOMPARE(w_->lstServices->topLevelItem(4)->text(0), QStringLiteral("New Service  "));
    QCOMPARE(w_->lstServices->topLevelItem(4)->text(1), QStringLiteral("105"));
    QCOMPARE(w_->lstServices->currentItem(), w_->lstServices->topLevelItem(4));
    // Setting the maximum to the number in use is accepted.
    Tab(0);
    Enter(w_->txtMaxServices, QStringLiteral("5"));
    QCOMPARE(w_->txtMaxServices->text(), QStringLiteral("5"));
    w_->btnSave->click();
    const Configuration stored = Reloaded();
    QCOMPARE(stored.UsedServices, 5);
    QCOMPARE(stored.MaxServices, 5);
    QCOMPARE(stored.Services[4].ServiceNumber, QStringLiteral("105"));
  }

  void deleteShiftsTheLaterServices() {
    Configuration& c = state_->Config;
    c.UsedServices = 3;
    for (int i = 0; i < 3; ++i)
      c.Services[size_t(i)] = StoredService(QStringLiteral("S%1").arg(i), QString::number(100 + i));
    Open();
    Tab(2);
    w_->lstServices->setCurrentItem(w_->lstServices->topLevelItem(1));
    w_->btnDelete->click();
    QCOMPARE(w_->Draft().UsedServices, 2);
    QCOMPARE(w_->Draft().Services[1].ServiceName, QStringLiteral("S2"));
    QCOMPARE(w_->Draft().Services[1].Tariffs[0].Description, QStringLiteral("Peak"));
    QCOMPARE(w_->lstServices->currentItem(), w_->lstServices->topLevelItem(1));
    QTest::keyClick(w_->lstServices, Qt::Key_Delete);  // the last: the new last is selected
    QCOMPARE(w_->lstServices->currentItem(), w_->lstServices->topLevelItem(0));
    QTest::keyClick(w_->lstServices, Qt::Key_Delete);
    QCOMPARE(w_->Draft().UsedServices, 0);
    QVERIFY(!w_->btnEdit->isEnabled());
    QVERIFY(!w_->btnDelete->isEnabled());
    w_->btnDelete->click();  // disabled: nothing
    QTest::keyClick(w_->lstServices, Qt::Key_Delete);
    QCOMPARE(BeepCount(), 1);
    // The Del key of another tab deletes nothing.
    c.UsedServices = 0;
  }

  void costsFollowCalculateCosts() {
    Open();
    Tab(3);
    QVERIFY(w_->txtDialCost->isEnabled());
    w_->optCalcCosts->click();
    QVERIFY(!w_->Draft().CalcCosts);
    for (QLineEdit* box : {w_->txtDialCost, w_->txtCostPerHour, w_->txtCostPerMeg}) QVERIFY(!box->isEnabled());
    w_->optCalcCosts->click();
    Enter(w_->txtCostPerHour, QStringLiteral("1,234.5"));
    QCOMPARE(w_->txtCostPerHour->text(), QStringLiteral("1,234.50"));
    QCOMPARE(w_->Draft().CostPerHour, 1234.5);
    // Mended: a negative amount is refused like a word.
    Enter(w_->txtDialCost, QStringLiteral("-1"));
    QCOMPARE(BeepCount(), 1);
    QCOMPARE(w_->Draft().DialCost, 0.2);
    QTRY_VERIFY(w_->txtDialCost->hasFocus());
    Enter(w_->txtDialCost, QStringLiteral("0.3"));
    QCOMPARE(w_->Draft().DialCost, 0.3);
  }

  // Mended: past holidays are kept and may be added; the list stays sorted
  // without duplicates.
  void holidays() {
    FillRecord();
    state_->Config.Holidays[0] = MakeDate(2026, 12, 24);
    state_->Config.Holidays[1] = MakeDate(2026, 12, 26);
    state_->Config.Holidays[2] = MakeDate(2020, 1, 1);
    state_->Config.UsedHolidays = 3;
    Open();
    Tab(6);
    QCOMPARE(w_->lstHolidays->count(), 3);
    QCOMPARE(w_->lstHolidays->item(0)->text(), QStringLiteral("1/1/20"));
    QCOMPARE(w_->CalHolidays->selectedDate(), QDate(2020, 1, 1));
    QCOMPARE(w_->lblUsedHolidays->text(), QStringLiteral("3 Holidays (Max 100)"));
    w_->CalHolidays->setSelectedDate(QDate(2026, 12, 25));
    w_->btnAdd->click();
    QCOMPARE(w_->lstHolidays->item(2)->text(), QStringLiteral("12/25/26"));
    QCOMPARE(w_->lstHolidays->currentRow(), 2);
    QCOMPARE(w_->CalHolidays->selectedDate(), QDate(2026, 12, 26));  // Add moves on a day
    w_->CalHolidays->setSelectedDate(QDate(2026, 12, 25));
    QTest::keyClick(w_->CalHolidays->findChild<QAbstractItemView*>(), Qt::Key_Return);  // activation adds
    QCOMPARE(BeepCount(), 1);
    QCOMPARE(w_->lstHolidays->currentRow(), 2);
    w_->CalHolidays->setSelectedDate(QDate(2001, 5, 1));  // a past date
    w_->btnAdd->click();
    QCOMPARE(w_->lstHolidays->item(0)->text(), QStringLiteral("5/1/01"));
    QCOMPARE(w_->WorkingHolidays().size(), 5);
    // A click on the list moves the calendar; Remove takes the selection.
    w_->lstHolidays->setCurrentRow(4);
    w_->lstHolidays->itemClicked(w_->lstHolidays->item(4));
    QCOMPARE(w_->CalHolidays->selectedDate(), QDate(2026, 12, 26));
    w_->btnRemove->click();
    QCOMPARE(w_->lstHolidays->currentRow(), 3);
    QCOMPARE(w_->lblUsedHolidays->text(), QStringLiteral("4 Holidays (Max 100)"));
    w_->btnSave->click();
    const Configuration stored = Reloaded();
    QCOMPARE(stored.UsedHolidays, 4);
    const Date expected[] = {MakeDate(2020, 1, 1), MakeDate(2001, 5, 1), MakeDate(2026, 12, 24),
                             MakeDate(2026, 12, 25)};
    QList<Date> got;
    for (int i = 0; i < 4; ++i) got.append(stored.Holidays[size_t(i)]);
    std::sort(got.begin(), got.end());
    QList<Date> want(std::begin(expected), std::end(expected));
    std::sort(want.begin(), want.end());
    QCOMPARE(got, want);
  }

  void holidayListHoldsAHundred() {
    Configuration& c = state_->Config;
    c.UsedHolidays = kMaxHolidays;
    for (int i = 0; i < kMaxHolidays; ++i) c.Holidays[size_t(i)] = MakeDate(2027, 1, 1) + i;
    Open();
    Tab(6);
    w_->CalHolidays->setSelectedDate(QDate(2030, 1, 1));
    w_->btnAdd->click();
    QCOMPARE(BeepCount(), 1);
    QVERIFY(w_->lblUsedHolidays->styleSheet().contains(QStringLiteral("255, 0, 0")));
    w_->lstHolidays->setCurrentRow(0);
    w_->btnRemove->click();
    QVERIFY(w_->lblUsedHolidays->styleSheet().isEmpty());
    QCOMPARE(w_->WorkingHolidays().size(), kMaxHolidays - 1);
  }

  // Mended: the log file name is a plain name of a file in the log folder.
  void logFileName() {
    WriteFile(env_->LogDir() + QStringLiteral("ModemLog.txt"), "x");
    WriteFile(env_->LogDir() + QStringLiteral("Other.log"), "x");
    QVERIFY(QDir(env_->LogDir()).mkpath(QStringLiteral("sub")));
    WriteFile(env_->LogDir() + QStringLiteral("sub/Inner.txt"), "x");
    QTemporaryDir elsewhere;
    WriteFile(elsewhere.path() + QStringLiteral("/Far.txt"), "x");
    Open();
    for (const char* refused : {"Missing.txt", "sub/Inner.txt", "../Other.log", "*.log", "Other.l?g", "sub"}) {
      Enter(w_->txtLogName, QLatin1String(refused));
      QCOMPARE(w_->txtLogName->text(), QStringLiteral("ModemLog.txt"));
      QCOMPARE(w_->Draft().ModemLogFile, QStringLiteral("ModemLog.txt"));
    }
    // Browse: another folder, then a folder inside the log folder (its path
    // contains the log folder's), each warned about; then a file of the folder.
    FileDialog::setNextFileName(elsewhere.path() + QStringLiteral("/Far.txt"));
    FileDialog::setNextFileName(env_->LogDir() + QStringLiteral("sub/Inner.txt"));
    FileDialog::setNextFileName(env_->LogDir() + QStringLiteral("Other.log"));
    w_->cmdBrowse->click();
    QCOMPARE(FileDialog::requests().size(), 3);
    QCOMPARE(FileDialog::requests().at(0).filter, QStringLiteral("Modem Log Files (*.txt *.log)"));
    QCOMPARE(MessageBox::shownMessages().size(), 2);
    QVERIFY(
        MessageBox::shownMessages().at(0).text.startsWith(QStringLiteral("Incorrect Directory For Modem Log File!")));
    QCOMPARE(w_->txtLogName->text(), QStringLiteral("Other.log"));
    QCOMPARE(w_->Draft().ModemLogFile, QStringLiteral("Other.log"));
    // Cancel in the file dialog changes nothing.
    w_->cmdBrowse->click();
    QCOMPARE(w_->Draft().ModemLogFile, QStringLiteral("Other.log"));
    state_->File.LogCorrupt = true;
    QSignalSpy changed(w_.data(), &frmSetup::ConfigurationChanged);
    w_->btnSave->click();
    QCOMPARE(changed.count(), 1);
    QCOMPARE(changed.at(0).at(0).toBool(), true);
    QVERIFY(state_->LogFileChanged);
    QVERIFY(!state_->File.LogCorrupt);
    QCOMPARE(Reloaded().ModemLogFile, QStringLiteral("Other.log"));
  }

  void serviceEditorNewServiceDefaultsAndValidity() {
    state_->Config.DialCost = 0.35;
    Open();
    Tab(2);
    serviceScripts_.push_back([](frmService& e) {
      QCOMPARE(e.windowTitle(), QStringLiteral("MRL - Edit Service"));
      QCOMPARE(e.TabStrip1->tabText(0), QStringLiteral("Service Details"));
      QCOMPARE(e.TabStrip1->tabText(2), QStringLiteral("Service Cost "));
      QCOMPARE(e.TabStrip1->tabToolTip(1), QStringLiteral("Dial-up Tariffs and Charges"));
      QCOMPARE(e.txtDescription->text(), QStringLiteral("New Service"));
      QCOMPARE(e.txtDescription->selectedText(), QStringLiteral("New Service"));
      QCOMPARE(e.txtDialFixedTariff->text(), QStringLiteral("0.35"));
      QCOMPARE(e.txtServiceFixedRate->text(), QStringLiteral("1.50"));
      QCOMPARE(e.lstServiceFlexPeriod->currentText(), QStringLiteral("Month"));
      QCOMPARE(e.lstMegPeriod->currentText(), QStringLiteral("Month"));
      QVERIFY(!e.btnOK->isEnabled());
      QCOMPARE(e.WorkingTariffCount(), 1);
      // The period lists offer only their choices.
      QVERIFY(!e.lstServiceFlexPeriod->isEditable());
      QVERIFY(!e.lstMegPeriod->isEditable());
      QCOMPARE(e.lstMegPeriod->count(), 4);
      // The tariff list: one Default Tariff row in six columns.
      e.TabStrip1->setCurrentIndex(1);
      QVERIFY(e.txtDialFixedTariff->isEnabled());
      QVERIFY(!e.lstDialTimeTariff->isEnabled());
      e.optDialCost[1]->click();
      QVERIFY(!e.txtDialFixedTariff->isEnabled());
      QVERIFY(e.lstDialTimeTariff->isEnabled());
      QTreeWidgetItem* row = e.lstDialTimeTariff->topLevelItem(0);
      QVERIFY(row != nullptr);
      const char* cells[] = {"Default Tariff", "Everyday", "12:00 AM - 11:59 PM", "$0.35", "$0.00", "0 Mins 0 Secs"};
      for (int i = 0; i < 6; ++i) QCOMPARE(row->text(i), QLatin1String(cells[i]));
      QCOMPARE(e.lblDialTimeTariff9->text(), QStringLiteral("1 Tariffs (Max 10)"));
      QCOMPARE(e.lstDialTimeTariff->toolTip(),
               QStringLiteral(
                   "Default Tariff - Everyday 12:00 AM - 11:59 PM - $0.35 /call + $0.00 /min after 0 mins 0 secs."));
      e.btnDialTimeTariffDelete->click();
      QCOMPARE(e.WorkingTariffCount(), 0);
      QVERIFY(!e.btnDialTimeTariffDelete->isEnabled());
      QCOMPARE(e.lstDialTimeTariff->toolTip(), QStringLiteral("User Defined Tariffs"));
      // Flexi: 0 and 0 keep OK disabled, 0 and 1.5 enable it.
      e.TabStrip1->setCurrentIndex(0);
      Enter(e.txtNumber, QStringLiteral(" 5551234 "));
      QVERIFY(!e.btnOK->isEnabled());  // time segmented without tariffs
      e.TabStrip1->setCurrentIndex(1);
      e.optDialCost[0]->click();
      QVERIFY(e.btnOK->isEnabled());
      e.TabStrip1->setCurrentIndex(2);
      e.optServiceCost[1]->click();
      QVERIFY(!e.txtServiceFixedRate->isEnabled());
      QVERIFY(e.txtServiceFlexRate->isEnabled());
      QVERIFY(!e.btnOK->isEnabled());
      Enter(e.txtServiceFlexRate2, QStringLiteral("1.5"));
      QVERIFY(e.btnOK->isEnabled());
      // 150 threshold hours become 99 with a beep; a negative is emptied.
      const int beeps = BeepCount();
      Type(e.txtServiceFlexHours, QStringLiteral("150"));
      QCOMPARE(e.txtServiceFlexHours->text(), QStringLiteral("99"));
      QCOMPARE(BeepCount(), beeps + 1);
      Enter(e.txtServiceFlexHours, QStringLiteral("-"));
      QCOMPARE(e.txtServiceFlexHours->text(), QStringLiteral("0"));
      Enter(e.txtServiceFlexHours, QStringLiteral("12"));
      // A per-megabyte rate needs a period; megabytes refuse negatives.
      Enter(e.txtPerMeg, QStringLiteral("0.10"));
      Enter(e.txtAfterMeg, QStringLiteral("-3"));
      QVERIFY(!e.btnOK->isEnabled());
      Enter(e.txtAfterMeg, QStringLiteral("5"));
      Pick(e.lstMegPeriod, QStringLiteral("Session"));
      QVERIFY(e.btnOK->isEnabled());
      Enter(e.txtServiceFlexRate, QStringLiteral("-1"));  // refused: shown as 0
      QCOMPARE(e.txtServiceFlexRate->text(), QStringLiteral("0.00"));
      e.TabStrip1->setCurrentIndex(1);
      Enter(e.txtDialFixedTariff, QStringLiteral("1,234.5"));
      e.btnOK->click();
    });
    w_->btnNew->click();
    const Service& s = w_->Draft().Services[0];
    QCOMPARE(w_->Draft().UsedServices, 1);
    QCOMPARE(s.ServiceNumber, QStringLiteral("5551234"));  // mended: trimmed
    QCOMPARE(s.DialOption, 1);
    QCOMPARE(s.DialFixedTariff, 1234.5);
    QCOMPARE(s.ServiceOption, 2);
    QCOMPARE(s.FlexRate2, 1.5);
    QCOMPARE(s.UpToHours, 12);
    QCOMPARE(s.PerMeg, 0.1);
    QCOMPARE(s.AfterMeg, 5.0);
    QCOMPARE(s.MegPeriod, QStringLiteral("Session"));
    QCOMPARE(s.UsedTariffs, 0);
  }

  // Mended: a number another service uses is warned about before OK.
  void duplicateNumberIsWarnedAbout() {
    FillRecord();
    Open();
    Tab(2);
    serviceScripts_.push_back([](frmService& e) {
      Enter(e.txtNumber, QStringLiteral("5559876 "));
      MessageBox::setNextAnswer(MessageButton::Cancel);
      e.btnOK->click();
      QVERIFY(e.isVisible());
      QCOMPARE(e.TabStrip1->currentIndex(), 0);
      MessageBox::setNextAnswer(MessageButton::Ok);
      e.btnOK->click();
    });
    w_->btnNew->click();
    QCOMPARE(MessageBox::shownMessages().size(), 2);
    QCOMPARE(MessageBox::shownMessages().at(0).title, QStringLiteral("WARNING"));
    QVERIFY(MessageBox::shownMessages().at(0).text.contains(QStringLiteral("'Work'")));
    QCOMPARE(w_->Draft().UsedServices, 3);
    // Editing a service keeps its own number without a warning.
    MessageBox::clearShownMessages();
    w_->lstServices->setCurrentItem(w_->lstServices->topLevelItem(0));
    serviceScripts_.push_back([](frmService& e) {
      QCOMPARE(e.txtNumber->text(), QStringLiteral("5551234"));
      e.btnOK->click();
    });
    w_->btnEdit->click();
    QCOMPARE(MessageBox::shownMessages().size(), 0);
  }

  // OK in the service editor without an edit writes the service back as it
  // was, periods that are empty or not among the choices included.
  void untouchedServiceIsWrittenBackAsItWas() {
    FillRecord();
    Service& s = state_->Config.Services[0];
    s.ServiceOption = 1;
    s.PenaltyPeriod = QStringLiteral("Year");
    s.PerMeg = 0;
    s.MegPeriod.clear();
    s.Tariffs[7].Description = QStringLiteral("left over");  // beyond UsedTariffs
    const Service before = s;
    Open();
    Tab(2);
    w_->lstServices->setCurrentItem(w_->lstServices->topLevelItem(0));
    serviceScripts_.push_back([](frmService& e) {
      QCOMPARE(e.lstMegPeriod->currentText(), QString());
      QVERIFY(e.btnOK->isEnabled());
      e.btnOK->click();
    });
    w_->btnEdit->click();
    QVERIFY(w_->Draft().Services[0] == before);
  }

  void invalidServiceOkShowsTheWarning() {
    Open();
    Tab(2);
    serviceScripts_.push_back([](frmService& e) {
      e.btnOK->setEnabled(true);
      e.btnOK->click();  // the number is missing
      QVERIFY(e.isVisible());
      QVERIFY(!e.btnOK->isEnabled());
      QCOMPARE(MessageBox::shownMessages().size(), 1);
      const MessageBoxSpec box = MessageBox::shownMessages().at(0);
      QCOMPARE(box.title, QStringLiteral("WARNING - Incorrect Parameters"));
      QCOMPARE(box.icon, MessageIcon::Exclamation);
      QCOMPARE(box.text, QStringLiteral("Not All Of The Options You Have Selected Have Been Entered Correctly!\n\n"
                                        "Please review your options for this service. The information you have\n"
                                        "entered is either incomplete or inappropriate."));
      e.btnCancel->click();
    });
    w_->btnNew->click();
    QCOMPARE(w_->Draft().UsedServices, 0);
  }

  void tariffsAreKeptInPricingOrder() {
    Open();
    Tab(2);
    serviceScripts_.push_back([this](frmService& e) {
      Enter(e.txtNumber, QStringLiteral("5551234"));
      e.TabStrip1->setCurrentIndex(1);
      e.optDialCost[1]->click();
      e.lstDialTimeTariff->setCurrentItem(e.lstDialTimeTariff->topLevelItem(0));
      e.btnDialTimeTariffDelete->click();
      tariffScripts_.push_back(AddTariff("Everyday Rate", "Everyday", "00:00", "23:59", "0.05"));
      tariffScripts_.push_back(AddTariff("Weekday Tariff", "Mon - Fri", "08:00", "17:59", "0.10", "0.02"));
      tariffScripts_.push_back(AddTariff("Holiday Tariff", "Holidays", "00:00", "23:59", "0.01"));
      tariffScripts_.push_back(AddTariff("Monday Special", "Monday", "00:00", "23:59", "0.03"));
      for (int i = 0; i < 4; ++i) e.btnDialTimeTariffNew->click();
      QCOMPARE(e.WorkingTariffCount(), 4);
      const char* order[] = {"Holidays", "Monday", "Mon - Fri", "Everyday"};
      for (int i = 0; i < 4; ++i) QCOMPARE(e.lstDialTimeTariff->topLevelItem(i)->text(1), QLatin1String(order[i]));
      // The new tariff stays selected where the sort put it.
      QCOMPARE(e.SelectedTariff(), 2);
      QCOMPARE(e.lstDialTimeTariff->currentItem()->text(0), QStringLiteral("Monday Special"));
      // Deleting the last selects the new last.
      e.lstDialTimeTariff->setCurrentItem(e.lstDialTimeTariff->topLevelItem(3));
      e.btnDialTimeTariffDelete->click();
      QCOMPARE(e.lstDialTimeTariff->currentItem(), e.lstDialTimeTariff->topLevelItem(2));
      e.btnOK->click();
    });
    w_->btnNew->click();
    const Service& s = w_->Draft().Services[0];
    QCOMPARE(s.DialOption, 2);
    QCOMPARE(s.UsedTariffs, 3);
    QCOMPARE(s.Tariffs[0].Description, QStringLiteral("Holiday Tariff"));
    QCOMPARE(s.Tariffs[2].AppliesTimeStart, MakeTime(8, 0, 0));
    QCOMPARE(s.Tariffs[2].PerMinuteRate, 0.02);
  }

  void tariffEditor() {
    std::array<Tariff, kMaxTariffs> tariffs{};
    int count = 1;
    tariffs[0] =
        Tariff{QStringLiteral("Standard Tariff"), QStringLiteral("Everyday"), 0, MakeTime(23, 59, 0), 0.1, 0, 0};
    {
      frmTariff t(tariffs, count, 0, state_->Locale);
      t.show();
      QVERIFY(QTest::qWaitForWindowActive(&t));
      QCOMPARE(t.windowTitle(), QStringLiteral("MRL - Dial-up Tariff Definition"));
      // The new tariff's entries, and OK waits for an end and a charge.
      QCOMPARE(t.lstDialTimeTariffDescrip->currentText(), QStringLiteral("New Tariff"));
      QCOMPARE(t.lstDialTimeTariffDialDays->currentText(), QStringLiteral("Everyday"));
      QCOMPARE(t.lstDialTimeTariffDialStart->currentText(), QStringLiteral("00:00"));
      QCOMPARE(t.lstDialTimeTariffDialEnd->currentText(), QString());
      QCOMPARE(t.txtDialTimeTariffDialRate->text(), QStringLiteral("0.00"));
      QVERIFY(!t.btnOK->isEnabled());
      QCOMPARE(t.lstDialTimeTariffDialDays->count(), 14);
      QCOMPARE(t.lstDialTimeTariffDialDays->itemText(3), QStringLiteral("Mon - Fri"));
      QCOMPARE(t.lstDialTimeTariffDialStart->count(), 96);
      QCOMPARE(t.lstDialTimeTariffDialEnd->itemText(95), QStringLiteral("23:59"));
      QCOMPARE(t.lstDialTimeTariffDialStart->toolTip(), QStringLiteral("Start Time (24 Hour Format)"));
      // The times move each other.
      Pick(t.lstDialTimeTariffDialEnd, QStringLiteral("17:59"));
      Pick(t.lstDialTimeTariffDialStart, QStringLiteral("18:00"));
      QCOMPARE(t.lstDialTimeTariffDialEnd->currentText(), QStringLiteral("18:14"));
      Pick(t.lstDialTimeTariffDialStart, QStringLiteral("08:00"));
      Pick(t.lstDialTimeTariffDialEnd, QStringLiteral("07:59"));
      QCOMPARE(t.lstDialTimeTariffDialStart->currentText(), QStringLiteral("07:45"));
      // The assist label shows the time in the locale's format.
      t.lstDialTimeTariffDialEnd->setFocus();
      QTRY_VERIFY(t.lblAssist->isVisible());
      QCOMPARE(t.lblAssist->text(), QStringLiteral("7:59 AM"));
      Pick(t.lstDialTimeTariffDialEnd, QStringLiteral("17:59"));
      QVERIFY(!t.btnOK->isEnabled());  // no charge yet
      // Mended: a typed time must be hh:mm.
      TypeTime(t.lstDialTimeTariffDialEnd, QStringLiteral("9:00"));
      QVERIFY(!t.btnOK->isEnabled());
      TypeTime(t.lstDialTimeTariffDialEnd, QStringLiteral("17:59"));
      // Mended: a negative minimum charge beeps and never counts.
      Type(t.txtDialTimeTariffDialRate, QStringLiteral("-"));
      QCOMPARE(BeepCount(), 1);
      Enter(t.txtDialTimeTariffDialRate, QStringLiteral("-2"));
      QCOMPARE(t.txtDialTimeTariffDialRate->text(), QStringLiteral("0.00"));
      // Per-minute 0: the threshold is 0 and locked; 0.05 opens it and moves there.
      QVERIFY(!t.txtDialTimeTariffAfterMins->isEnabled());
      Enter(t.txtDialTimeTariffMinuteRate, QStringLiteral("0.05"));
      QVERIFY(t.txtDialTimeTariffAfterMins->isEnabled());
      QTRY_VERIFY(t.txtDialTimeTariffAfterMins->hasFocus());
      QVERIFY(t.btnOK->isEnabled());
      const int beeps = BeepCount();
      Type(t.txtDialTimeTariffAfterSecs, QStringLiteral("61"));
      QCOMPARE(BeepCount(), beeps + 1);
      QVERIFY(!t.btnOK->isEnabled());
      Enter(t.txtDialTimeTariffAfterMins, QStringLiteral("2"));
      Enter(t.txtDialTimeTariffAfterSecs, QStringLiteral("30"));
      QVERIFY(t.btnOK->isEnabled());
      // A duplicate name for a new tariff is refused.
      t.lstDialTimeTariffDescrip->setCurrentText(QStringLiteral("Standard Tariff"));
      t.btnOK->click();
      QVERIFY(t.isVisible());
      QCOMPARE(MessageBox::shownMessages().size(), 1);
      QCOMPARE(MessageBox::shownMessages().at(0).text, QStringLiteral("A Tariff With This Name Already Exists!"));
      QCOMPARE(MessageBox::shownMessages().at(0).title, QStringLiteral("WARNING"));
      QCOMPARE(count, 1);
      t.lstDialTimeTariffDescrip->setCurrentText(QStringLiteral("standard tariff"));  // exact comparison
      t.btnOK->click();
      QCOMPARE(t.result(), int(QDialog::Accepted));
    }
    QCOMPARE(count, 2);
    const Tariff& added = tariffs[1];
    QCOMPARE(added.After, 150);
    QCOMPARE(added.AppliesTimeStart, MakeTime(7, 45, 0));
    QCOMPARE(added.AppliesTimeEnd, MakeTime(17, 59, 0));
    QCOMPARE(added.PerMinuteRate, 0.05);
    QCOMPARE(added.DialRate, 0.0);
    {
      // Reopened: 2 minutes and 30 seconds; renaming to an existing name is allowed.
      frmTariff t(tariffs, count, 2, state_->Locale);
      t.show();
      QVERIFY(QTest::qWaitForWindowActive(&t));
      QCOMPARE(t.txtDialTimeTariffAfterMins->text(), QStringLiteral("2"));
      QCOMPARE(t.txtDialTimeTariffAfterSecs->text(), QStringLiteral("30"));
      QCOMPARE(t.txtDialTimeTariffMinuteRate->text(), QStringLiteral("0.05"));
      Enter(t.txtDialTimeTariffAfterMins, QStringLiteral("1"));
      Enter(t.txtDialTimeTariffAfterSecs, QStringLiteral("60"));
      t.lstDialTimeTariffDescrip->setCurrentText(QStringLiteral("Standard Tariff"));
      t.btnOK->click();
      QCOMPARE(t.result(), int(QDialog::Accepted));
    }
    QCOMPARE(count, 2);
    QCOMPARE(tariffs[1].After, 120);
    QCOMPARE(tariffs[1].Description, QStringLiteral("Standard Tariff"));
    {
      // Cancel writes nothing.
      frmTariff t(tariffs, count, 0, state_->Locale);
      t.lstDialTimeTariffDescrip->setCurrentText(QStringLiteral("Other"));
      t.btnCancel->click();
    }
    QCOMPARE(count, 2);
  }

  void editorsHelpAndKeys() {
    Configuration c;
    frmService service(c, 0, true, state_->Locale);
    service.show();
    QVERIFY(QTest::qWaitForWindowActive(&service));
    QTest::keyClick(&service, Qt::Key_F1);
    QVERIFY(HelpWindow() != nullptr);
    QCOMPARE(HelpWindow()->CurrentPage(), QStringLiteral("service_editor.html"));
    service.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&service));
    QTest::keyClick(service.txtDescription, Qt::Key_Tab, Qt::ControlModifier);
    QCOMPARE(service.TabStrip1->currentIndex(), 1);
    service.TabStrip1->setCurrentIndex(2);
    QTest::keyClick(service.TabStrip1, Qt::Key_Tab, Qt::ControlModifier);
    QCOMPARE(service.TabStrip1->currentIndex(), 0);
    // Without the picture the details start at the left edge.
    QVERIFY(service.imgService->isVisible());
    c.ShowGraphic = false;
    frmService plain(c, 0, true, state_->Locale);
    plain.show();
    QVERIFY(!plain.imgService->isVisible());
    plain.close();
    service.close();

    std::array<Tariff, kMaxTariffs> tariffs{};
    int count = 0;
    frmTariff tariff(tariffs, count, 0, state_->Locale);
    tariff.show();
    QVERIFY(QTest::qWaitForWindowActive(&tariff));
    QTest::keyClick(&tariff, Qt::Key_F1);
    QCOMPARE(HelpWindow()->CurrentPage(), QStringLiteral("tariff_editor.html"));
    tariff.btnHelp->click();
    QCOMPARE(HelpWindow()->CurrentPage(), QStringLiteral("tariff_editor.html"));
  }

  void tariffDaysFollowTheLocale() {
    LocaleValues de = LoadLocaleInfo(QLocale(QLocale::German, QLocale::Germany));
    std::array<Tariff, kMaxTariffs> tariffs{};
    int count = 0;
    frmTariff t(tariffs, count, 0, de);
    QCOMPARE(t.lstDialTimeTariffDialDays->itemText(7), de.LongDayNames[0]);
    QCOMPARE(t.lstDialTimeTariffDialDays->itemText(3),
             de.ShortDayNames[0] + QStringLiteral(" - ") + de.ShortDayNames[4]);
    // Amounts in the German format.
    Pick(t.lstDialTimeTariffDialEnd, QStringLiteral("23:59"));
    t.txtDialTimeTariffDialRate->setText(QStringLiteral("1.234,5"));
    t.Amount_LostFocus(t.txtDialTimeTariffDialRate);
    QCOMPARE(t.txtDialTimeTariffDialRate->text(), QStringLiteral("1.234,50"));
    t.btnOK->click();
    QCOMPARE(count, 1);
    QCOMPARE(tariffs[0].DialRate, 1234.5);
  }

  // A user adds a service with two tariffs and a flexi charge and a holiday;
  // the exported configuration shows exactly that service and a report
  // priced before and after differs as the tariffs say.
  void endToEnd() {
    // Monday 21 December 2026 and Friday 25 December 2026, 1887 s each.
    const QString log = env_->LogDir() + QStringLiteral("ModemLog.txt");
    WriteFile(log, SessionLog({QStringLiteral("12-21-2026"), QStringLiteral("12-25-2026")}));
    const auto reportCost = [&] {
      RunInputs inputs;
      inputs.config = &state_->Config;
      inputs.locale = &state_->Locale;
      inputs.ReportStartDate = MakeDate(2026, 12, 1);
      inputs.ReportEndDate = MakeDate(2026, 12, 31);
      inputs.LogEntryCount = 10;
      NullProgress quiet;
      const RunState run = ProcessLog(inputs, log, quiet, SharedErrorReporter());
      double total = 0;
      for (int i = 0; i <= run.Tables.ServiceTotalsCount; ++i) total += run.Tables.ServiceTotals[size_t(i)].TotalCost;
      return std::make_pair(total, run.IncompleteTariffs);
    };
    const double seconds = 1887;
    const auto before = reportCost();
    QVERIFY(std::abs(before.first - (2 * 0.2 + 2 * seconds / 3600 * 1.5)) < 1e-4);

    Open();
    Tab(2);
    serviceScripts_.push_back([this](frmService& e) {
      Enter(e.txtDescription, QStringLiteral("Home ISP"));
      Enter(e.txtNumber, QStringLiteral("5551234"));
      e.TabStrip1->setCurrentIndex(1);
      e.optDialCost[1]->click();
      e.lstDialTimeTariff->setCurrentItem(e.lstDialTimeTariff->topLevelItem(0));
      e.btnDialTimeTariffDelete->click();
      tariffScripts_.push_back(AddTariff("Weekday Tariff", "Mon - Fri", "00:00", "23:59", "0.10", "0.05"));
      tariffScripts_.push_back(AddTariff("Holiday Tariff", "Holidays", "00:00", "23:59", "0.50"));
      e.btnDialTimeTariffNew->click();
      e.btnDialTimeTariffNew->click();
      e.TabStrip1->setCurrentIndex(2);
      e.optServiceCost[1]->click();
      Enter(e.txtServiceFlexRate, QStringLiteral("1.00"));
      Enter(e.txtServiceFlexHours, QStringLiteral("10"));
      Pick(e.lstServiceFlexPeriod, QStringLiteral("Month"));
      Enter(e.txtServiceFlexRate2, QStringLiteral("3.00"));
      QVERIFY(e.btnOK->isEnabled());
      e.btnOK->click();
    });
    w_->btnNew->click();
    Tab(6);
    w_->CalHolidays->setSelectedDate(QDate(2026, 12, 25));
    w_->btnAdd->click();
    w_->btnSave->click();

    const QJsonObject json = QJsonDocument::fromJson(ConfigurationToJson(Reloaded())).object();
    const QJsonObject expected = QJsonDocument::fromJson(R"({"Services": [{
        "ServiceName": "Home ISP", "ServiceNumber": "5551234", "DialOption": 2, "DialFixedTariff": 0.2,
        "Tariffs": [
          {"Description": "Holiday Tariff", "AppliesDays": "Holidays", "AppliesTimeStart": "00:00",
           "AppliesTimeEnd": "23:59", "DialRate": 0.5, "PerMinuteRate": 0, "After": 0},
          {"Description": "Weekday Tariff", "AppliesDays": "Mon - Fri", "AppliesTimeStart": "00:00",
           "AppliesTimeEnd": "23:59", "DialRate": 0.1, "PerMinuteRate": 0.05, "After": 0}],
        "ServiceOption": 2, "ServiceRate": 1.5, "FlexRate": 1, "UpToHours": 10, "PenaltyPeriod": "Month",
        "FlexRate2": 3, "PerMeg": 0, "AfterMeg": 0, "MegPeriod": "Month"}],
        "Holidays": ["2026-12-25"]})")
                                     .object();
    QCOMPARE(json.value(QStringLiteral("Services")), expected.value(QStringLiteral("Services")));
    QCOMPARE(json.value(QStringLiteral("Holidays")), expected.value(QStringLiteral("Holidays")));

    const auto after = reportCost();
    QVERIFY(!after.second);
    // Monday: the weekday tariff; Friday 25th: the holiday tariff; both
    // within the flexi allowance.
    const double monday = 0.10 + seconds / 60 * 0.05 + seconds / 3600 * 1.0;
    const double holiday = 0.50 + seconds / 3600 * 1.0;
    QVERIFY2(std::abs(after.first - (monday + holiday)) < 1e-4, qPrintable(QString::number(after.first)));
    QVERIFY(std::abs(after.first - before.first) > 1);
  }
};

QTEST_MAIN(SetupDialogsTest)
#include "tst_setup_dialogs.moc"
