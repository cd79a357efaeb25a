// The options dialog and the service editor at the entries that once went
// wrong: what OK keeps of an untouched record, refused limits, the service
// table's size, holidays, the log's name, a number used twice. The whole
// set-up as a user goes through it is the journey in
// tests/journeys/journey_setup.cpp.
#include <QFile>
#include <QSignalSpy>
#include <QtTest>
#include <deque>
#include <memory>

#include "core/app/app_state.h"
#include "core/settings/configuration_io.h"
#include "core/settings/settings_store.h"
#include "support/common_test_env.h"
#include "support/sample_configuration.h"
#include "ui/dialogs/beep.h"
#include "ui/dialogs/desktop_error_reporter.h"
#include "ui/dialogs/file_dialog.h"
#include "ui/dialogs/message_box.h"
#include "ui/setup/frm_service.h"
#include "ui/setup/frm_setup.h"

using namespace mirolat;

namespace {

const QDate kToday(2026, 12, 6);

void WriteFile(const QString& path, const QByteArray& bytes) {
  QFile f(path);
  QVERIFY(f.open(QIODevice::WriteOnly));
  QCOMPARE(f.write(bytes), bytes.size());
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

  void MakeState() {
    state_ = std::make_unique<AppState>();
    state_->Locale = LoadLocaleInfo(QLocale(QLocale::English, QLocale::UnitedStates));
    state_->File.WindowsDir = env_->LogDir();
    state_->File.LogFileName = QStringLiteral("ModemLog.txt");
    state_->File.LogFilePath = env_->LogDir() + QStringLiteral("ModemLog.txt");
    state_->Store = std::make_shared<SettingsStore>(SettingsStore::FilePathIn(env_->ConfigDir()));
  }

  // The shared sample's first two services ("Work" dials 5559876), its past
  // and coming holiday, and values that do not survive a careless reformatting.
  void FillRecord() {
    Configuration& c = state_->Config;
    c = test::SampleConfiguration();
    c.UsedServices = 2;
    c.ShowErrors = true;
    c.NoDisconData = 512.4;
    c.NoDisconDuration = 900.6;
    c.DialCost = 0.123456;
  }

  void Open() {
    w_ = new frmSetup(*state_);
    w_->SetTodayProvider([] { return kToday; });
    w_->SetServiceEditorRunner([this](QWidget* parent, Configuration& draft, int index, bool isNew) {
      frmService editor(draft, index, isNew, state_->Locale, parent);
      editor.show();
      if (!QTest::qWaitForWindowActive(&editor)) qWarning("service editor not active");
      if (serviceScripts_.empty()) {
        editor.btnCancel->click();
      } else {
        auto script = serviceScripts_.front();
        serviceScripts_.pop_front();
        script(editor);
      }
      // The window under the closed editor takes the keyboard again.
      parent->activateWindow();
      if (!QTest::qWaitForWindowActive(parent)) qWarning("window not active again");
      return editor.result() == QDialog::Accepted;
    });
    w_->show();
    QVERIFY(QTest::qWaitForWindowActive(w_));
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
  Configuration Reloaded() {
    Configuration c;
    LoadConfiguration(*state_->Store, c, SharedErrorReporter());
    return c;
  }

 private Q_SLOTS:
  void init() {
    env_ = std::make_unique<test::CommonTestEnvironment>();
    MakeState();
    serviceScripts_.clear();
  }

  void cleanup() {
    delete w_.data();
    state_.reset();
    env_.reset();
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

};

QTEST_MAIN(SetupDialogsTest)
#include "tst_setup_dialogs.moc"
