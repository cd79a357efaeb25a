// Pictures of the options dialog's tabs and of both editors, on the bundled
// sample configuration. With MIROLAT_SETUP_SCREENSHOT_DIR set (scripts/
// setup-screenshots does that under a virtual display) they are written
// there for the documentation; otherwise into a temporary folder, which
// checks that every tab and editor renders.
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>
#include <memory>

#include "core/app/app_state.h"
#include "core/settings/config_json.h"
#include "support/common_test_env.h"
#include "ui/setup/frm_service.h"
#include "ui/setup/frm_setup.h"
#include "ui/setup/frm_tariff.h"

using namespace mirolat;

class SetupScreenshots : public QObject {
  Q_OBJECT

 private Q_SLOTS:
  void takePictures() {
    test::CommonTestEnvironment env;
    QTemporaryDir scratch;
    QString folder = qEnvironmentVariable("MIROLAT_SETUP_SCREENSHOT_DIR");
    if (folder.isEmpty()) folder = scratch.path();

    AppState state;
    state.Locale = LoadLocaleInfo(QLocale(QLocale::English, QLocale::UnitedStates));
    state.File.WindowsDir = env.LogDir();
    QFile sample(QStringLiteral(MIROLAT_SAMPLES_DIR "/config.json"));
    QVERIFY(sample.open(QIODevice::ReadOnly));
    QString error;
    QVERIFY2(ConfigurationFromJson(sample.readAll(), Configuration(), state.Config, error), qPrintable(error));
    const QDate today(1998, 1, 20);

    const auto save = [&](QWidget& w, const QString& name) {
      QCoreApplication::processEvents();
      const QPixmap picture = w.grab();
      QVERIFY(!picture.isNull());
      QVERIFY2(picture.save(folder + QLatin1Char('/') + name + QStringLiteral(".png")), qPrintable(name));
    };

    frmSetup options(state);
    options.SetTodayProvider([today] { return today; });
    options.resize(560, 420);
    options.show();
    QVERIFY(QTest::qWaitForWindowActive(&options));
    const char* tabs[] = {"general", "modem", "services", "costs", "format", "errors", "holidays"};
    for (int i = 0; i < 7; ++i) {
      options.TabStrip1->setCurrentIndex(i);
      if (i == 2) options.lstServices->setCurrentItem(options.lstServices->topLevelItem(0));
      save(options, QStringLiteral("setup-options-") + QLatin1String(tabs[i]));
    }

    Configuration draft = options.Draft();
    frmService service(draft, 0, false, state.Locale);
    service.resize(720, 440);
    service.show();
    QVERIFY(QTest::qWaitForWindowActive(&service));
    const char* serviceTabs[] = {"details", "dialup", "cost"};
    for (int i = 0; i < 3; ++i) {
      service.TabStrip1->setCurrentIndex(i);
      save(service, QStringLiteral("setup-service-") + QLatin1String(serviceTabs[i]));
    }

    std::array<Tariff, kMaxTariffs> tariffs = draft.Services[0].Tariffs;
    int count = draft.Services[0].UsedTariffs;
    frmTariff tariff(tariffs, count, std::min(count, 4), state.Locale);
    tariff.show();
    QVERIFY(QTest::qWaitForWindowActive(&tariff));
    tariff.lstDialTimeTariffDialStart->setFocus();
    QTRY_VERIFY(tariff.lblAssist->isVisible());
    save(tariff, QStringLiteral("setup-tariff"));
  }
};

QTEST_MAIN(SetupScreenshots)
#include "tst_setup_screenshots.moc"
