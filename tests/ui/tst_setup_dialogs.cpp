// The options dialog and the service editor at the entries that once went
// wrong: what OK keeps of an untouched record or service, refused limits. The
// whole set-up as a user goes through it is the journey in
// tests/journeys/journey_setup.cpp.
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTreeWidget>
#include <QtTest>
#include <memory>

#include "core/app/app_state.h"
#include "core/settings/configuration_io.h"
#include "core/settings/settings_store.h"
#include "support/common_test_env.h"
#include "support/sample_configuration.h"
#include "ui/dialogs/beep.h"
#include "ui/dialogs/desktop_error_reporter.h"
#include "ui/setup/frm_service.h"
#include "ui/setup/frm_setup.h"

using namespace mirolat;
using test::Child;

namespace {

const QDate kToday(2026, 12, 6);

}  // namespace

class SetupDialogsTest : public QObject {
  Q_OBJECT

 private:
  std::unique_ptr<test::CommonTestEnvironment> env_;
  std::unique_ptr<AppState> state_;
  QPointer<frmSetup> w_;
  std::function<void(frmService&)> serviceScript_;  // the editor's user; none: Cancel

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
      if (serviceScript_) {
        serviceScript_(editor);
      } else {
        Child<QPushButton>(&editor, "btnCancel")->click();
      }
      // The window under the closed editor takes the keyboard again.
      parent->activateWindow();
      if (!QTest::qWaitForWindowActive(parent)) qWarning("window not active again");
      return editor.result() == QDialog::Accepted;
    });
    w_->show();
    QVERIFY(QTest::qWaitForWindowActive(w_));
  }

  void Tab(int index) { Child<QTabWidget>(w_, "TabStrip1")->setCurrentIndex(index); }
  QLineEdit* Box(const char* name) const { return Child<QLineEdit>(w_, name); }

  // Types into a box as a user does and leaves it with Tab.
  static void Enter(QLineEdit* box, const QString& text) {
    box->setFocus();
    box->selectAll();
    QTest::keyClicks(box, text);
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
    serviceScript_ = nullptr;
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
    QCOMPARE(Box("mskNoDisconData")->text(), QStringLiteral("0"));
    QCOMPARE(Box("txtDialCost")->text(), QStringLiteral("0.1235"));
    // Switching the substitutes on shows the stored values; off again, the
    // placeholders. Then walk through every box without typing.
    Tab(5);
    Child<QCheckBox>(w_, "optShowErrors")->click();
    QCOMPARE(Box("mskNoDisconData")->text(), QStringLiteral("512"));
    Box("mskNoDisconData")->setFocus();
    QTest::keyClick(Box("mskNoDisconData"), Qt::Key_Tab);
    Child<QCheckBox>(w_, "optShowErrors")->click();
    QCOMPARE(Box("mskNoDisconData")->text(), QStringLiteral("0"));
    for (int tab = 0; tab < 7; ++tab) {
      Tab(tab);
      for (QLineEdit* box : w_->findChild<QWidget*>(QStringLiteral("Settings%1").arg(tab))->findChildren<QLineEdit*>()) {
        if (!box->isEnabled()) continue;
        box->setFocus();
        QTest::keyClick(box, Qt::Key_Tab);
      }
    }
    QSignalSpy changed(w_.data(), &frmSetup::ConfigurationChanged);
    Child<QPushButton>(w_, "btnSave")->click();
    QCOMPARE(changed, QList<QList<QVariant>>{{false}});  // once, the log's name unchanged
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
        {Box("txtMaxConnections"), "abc", "200"},   {Box("txtMaxConnections"), "0", "200"},
        {Box("txtMaxConnections"), "-4", "200"},    {Box("txtMaxConnections"), "40000", "200"},
        {Box("txtMaxConnections"), "250.4", "250"}, {Box("txtMaxConnectDays"), "0", "2"},
        {Box("txtMaxConnectDays"), "7", "7"},       {Box("txtMaxLogSize"), "3000000000", "150"},
        {Box("txtMaxLogSize"), "2,000", "2000"},    {Box("txtMaxServices"), "0", "10"},
        {Box("txtMaxServices"), "99999", "10"},
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
    auto* services = Child<QTreeWidget>(w_, "lstServices");
    services->setCurrentItem(services->topLevelItem(0));
    serviceScript_ = [](frmService& e) {
      QCOMPARE(Child<QComboBox>(&e, "lstMegPeriod")->currentText(), QString());
      auto* ok = Child<QPushButton>(&e, "btnOK");
      QVERIFY(ok->isEnabled());
      ok->click();
    };
    Child<QPushButton>(w_, "btnEdit")->click();
    QVERIFY(w_->Draft().Services[0] == before);
  }
};

QTEST_MAIN(SetupDialogsTest)
#include "tst_setup_dialogs.moc"
