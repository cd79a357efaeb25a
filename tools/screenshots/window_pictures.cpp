// Pictures of the windows the program run does not reach on its own, each
// window shown by itself over a scratch folder: the log viewer (and its find
// dialog), the purge dialog and the repair window on a sample log, and every
// tab of the options dialog and both editors on samples/config.json.
#include "window_pictures.h"

#include <QAction>
#include <QApplication>
#include <QLineEdit>
#include <QListWidget>
#include <QRadioButton>
#include <QTabWidget>
#include <QTreeWidget>
#include <QDir>
#include <QFile>
#include <QPixmap>
#include <QTemporaryDir>
#include <QTest>
#include <QTextCursor>
#include <cstdio>

#include "core/app/app_state.h"
#include "core/common/date_entry.h"
#include "core/common/errors.h"
#include "core/logfile/log_checks.h"
#include "core/settings/config_json.h"
#include "ui/dialogs/unattended.h"
#include "ui/logviewer/frm_find.h"
#include "ui/logviewer/frm_view_log.h"
#include "ui/maintenance/frm_file_repair.h"
#include "ui/maintenance/frm_purge.h"
#include "ui/maintenance/rewrite_progress.h"
#include "ui/setup/frm_service.h"
#include "ui/setup/frm_setup.h"
#include "ui/setup/frm_tariff.h"

namespace mirolat {

namespace {

class QuietReporter final : public ErrorReporter {
 public:
  ErrorAnswer ReportError(const RunError& e) override {
    std::fprintf(stderr, "error: %s\n", qPrintable(e.description()));
    return ErrorAnswer::Continue;
  }
};

QByteArray SampleLog() {
  QByteArray log;
  const char* lines[] = {
      "01-05-1998 19:02:11.05 - Initializing modem.",
      "01-05-1998 19:02:11.10 - Send: AT<cr>",
      "01-05-1998 19:02:11.20 - Recv: <cr><lf>OK<cr><lf>",
      "01-05-1998 19:02:11.30 - Interpreted response: Ok",
      "01-05-1998 19:02:11.40 - Dialing.",
      "01-05-1998 19:02:11.50 - Recv: ATDT5551234<cr>",
      "01-05-1998 19:02:31.70 - Connection established at 33600bps.",
      "01-05-1998 19:02:31.80 - Error-control on.",
      "01-05-1998 19:02:31.90 - Data compression on.",
      "01-05-1998 20:14:52.00 - Hanging up the modem.",
      "01-05-1998 20:14:53.10 - 1843204 bytes read from the modem.",
      "01-05-1998 20:14:53.20 - 213877 bytes written to the modem.",
      "01-09-1998 08:30:02.00 - Recv: ATDT5559876<cr>",
      "01-09-1998 08:30:20.00 - Connection established at 28800bps.",
      "01-09-1998 08:52:44.00 - Remote modem hung up.",
      "01-09-1998 08:52:45.00 - 302113 bytes read from the modem.",
      "01-09-1998 08:52:45.10 - 41120 bytes written to the modem.",
      "01-31-1998 22:10:00.00 - Recv: ATDT5551234<cr>",
      "01-31-1998 22:10:19.00 - Connection established at 33600bps.",
      "01-31-1998 23:40:07.00 - Hanging up the modem.",
  };
  for (const char* line : lines) log += QByteArray(line) + "\r\n";
  return log;
}

bool Save(QWidget& window, const QString& folder, const QString& name) {
  QTest::qWait(200);
  QCoreApplication::processEvents();
  const QString path = QDir(folder).filePath(name);
  const bool ok = window.grab().save(path, "PNG");
  std::fprintf(stderr, "%s %s\n", ok ? "saved" : "could not save", qPrintable(path));
  return ok;
}

void UseLog(AppState& state, const QString& dir, const QByteArray& bytes) {
  QFile f(dir + QStringLiteral("ModemLog.txt"));
  if (f.open(QIODevice::WriteOnly | QIODevice::Truncate)) f.write(bytes);
  f.close();
  state.File = CurrentFileState{};
  state.File.WindowsDir = dir;
  state.File.LogFileName = QStringLiteral("ModemLog.txt");
  state.File.LogFilePath = dir + state.File.LogFileName;
  state.File.LogExists = true;
  QuietReporter quiet;
  ScanLog(state.File, state.Config, quiet);
}

}  // namespace

template <typename T>
static T* Child(QWidget& window, const QString& name) {
  T* child = window.findChild<T*>(name);
  if (child == nullptr) std::fprintf(stderr, "no %s in %s\n", qPrintable(name), qPrintable(window.objectName()));
  return child;
}

// The options dialog's seven tabs, the service editor's three and the tariff
// editor with its assistant showing, on the sample configuration.
static bool TakeSetupPictures(const QString& folder, const QString& logDir) {
  AppState state;
  state.Locale = LoadLocaleInfo(QLocale(QLocale::English, QLocale::UnitedStates));
  state.File.WindowsDir = logDir;
  QFile sample(QStringLiteral(MIROLAT_SAMPLES_DIR "/config.json"));
  QString error;
  if (!sample.open(QIODevice::ReadOnly) ||
      !ConfigurationFromJson(sample.readAll(), Configuration(), state.Config, error)) {
    std::fprintf(stderr, "samples/config.json: %s\n", qPrintable(error));
    return false;
  }
  const QDate today(1998, 1, 20);
  bool ok = true;

  frmSetup options(state);
  options.SetTodayProvider([today] { return today; });
  options.resize(560, 420);
  options.show();
  auto* tabs = Child<QTabWidget>(options, QStringLiteral("TabStrip1"));
  auto* services = Child<QTreeWidget>(options, QStringLiteral("lstServices"));
  if (tabs == nullptr || services == nullptr) return false;
  const char* tabNames[] = {"general", "modem", "services", "costs", "format", "errors", "holidays"};
  for (int i = 0; i < 7; ++i) {
    tabs->setCurrentIndex(i);
    if (i == 2) services->setCurrentItem(services->topLevelItem(0));
    ok = Save(options, folder, QStringLiteral("setup-options-%1.png").arg(QLatin1String(tabNames[i]))) && ok;
  }

  Configuration draft = options.Draft();
  frmService service(draft, 0, false, state.Locale);
  service.resize(720, 440);
  service.show();
  auto* serviceTabs = Child<QTabWidget>(service, QStringLiteral("TabStrip1"));
  if (serviceTabs == nullptr) return false;
  const char* serviceTabNames[] = {"details", "dialup", "cost"};
  for (int i = 0; i < 3; ++i) {
    serviceTabs->setCurrentIndex(i);
    ok = Save(service, folder, QStringLiteral("setup-service-%1.png").arg(QLatin1String(serviceTabNames[i]))) && ok;
  }

  std::array<Tariff, kMaxTariffs> tariffs = draft.Services[0].Tariffs;
  int count = draft.Services[0].UsedTariffs;
  frmTariff tariff(tariffs, count, std::min(count, 4), state.Locale);
  tariff.show();
  QTest::qWait(200);
  if (auto* start = Child<QWidget>(tariff, QStringLiteral("lstDialTimeTariffDialStart"))) start->setFocus();
  ok = Save(tariff, folder, QStringLiteral("setup-tariff.png")) && ok;
  return ok;
}

bool TakeWindowPictures(const QString& folder) {
  QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
  SetUnattended(true);
  QTemporaryDir scratch;
  qputenv("MIROLAT_CONFIG_DIR", scratch.path().toLocal8Bit());
  const QString dir = scratch.path() + QLatin1Char('/');
  AppState state;
  state.Locale = LoadLocaleInfo(QLocale(QLocale::English, QLocale::UnitedStates));
  QuietReporter reporter;
  bool ok = true;

  UseLog(state, dir, SampleLog());
  {
    state.Config.ViewLog.FontName = QStringLiteral("DejaVu Sans Mono");
    state.Config.ViewLog.FontSize = 9;
    auto* viewer = new frmViewLog(state, reporter);
    viewer->ShowViewer();
    viewer->resize(720, 420);
    // A search hit selected, as Find leaves it.
    frmViewLog::Search().SearchText = QStringLiteral("connection established");
    frmViewLog::Search().NewSearch = true;
    if (auto* findNext = viewer->findChild<QAction*>(QStringLiteral("mnuSearchFindNext"))) findNext->trigger();
    ok = Save(*viewer, folder, QStringLiteral("log-viewer.png")) && ok;
    SearchState search;
    search.SearchText = QStringLiteral("hanging up");
    frmFind find(search, [] { return false; }, QString(), viewer);
    find.show();
    ok = Save(find, folder, QStringLiteral("find-dialog.png")) && ok;
    find.close();
    viewer->close();
  }
  {
    RewriteProgress progress;
    frmPurge purge(state, reporter, progress);
    purge.show();
    auto* option = Child<QRadioButton>(purge, QStringLiteral("optPurge2"));
    auto* from = Child<QLineEdit>(purge, QStringLiteral("MaskEdBox2_0"));
    auto* to = Child<QLineEdit>(purge, QStringLiteral("MaskEdBox2_1"));
    if (option == nullptr || from == nullptr || to == nullptr) return false;
    option->click();
    from->setText(DateToBoxText(MakeDate(1998, 1, 5), state.Locale));
    to->setText(DateToBoxText(MakeDate(1998, 1, 9), state.Locale));
    ok = Save(purge, folder, QStringLiteral("purge-dialog.png")) && ok;
  }
  {
    QByteArray corrupt = SampleLog();
    corrupt.insert(40, '\0');
    corrupt.insert(200, "\x01\x02garbage\r\n");
    UseLog(state, dir, corrupt);
    frmFileRepair repair(state, reporter);
    repair.show();
    QTest::qWait(100);
    if (!repair.RepairRun()) repair.Repair();
    ok = Save(repair, folder, QStringLiteral("repair-window.png")) && ok;
  }
  ok = TakeSetupPictures(folder, dir) && ok;
  return ok;
}

}  // namespace mirolat
