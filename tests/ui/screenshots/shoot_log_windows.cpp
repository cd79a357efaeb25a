// Pictures of the log viewer (and its find dialog), the purge dialog and the repair window for the
// documentation: each window on a sample log in a scratch folder, saved as a
// PNG in the folder given on the command line (docs/screenshots by default).
// Run under a display (xvfb-run -a build/tests/shoot_log_windows docs/screenshots).
#include <QApplication>
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
#include "ui/dialogs/unattended.h"
#include "ui/logviewer/frm_find.h"
#include "ui/logviewer/frm_view_log.h"
#include "ui/maintenance/frm_file_repair.h"
#include "ui/maintenance/frm_purge.h"
#include "ui/maintenance/rewrite_progress.h"

using namespace mirolat;

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

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  const QString folder = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("docs/screenshots");
  QDir().mkpath(folder);
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
    viewer->FindText();
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
    purge.optPurge[2]->click();
    purge.MaskEdBox2[0]->setText(DateToBoxText(MakeDate(1998, 1, 5), state.Locale));
    purge.MaskEdBox2[1]->setText(DateToBoxText(MakeDate(1998, 1, 9), state.Locale));
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
  return ok ? 0 : 1;
}
