// Timing of the log viewer on a 15 MB log of 300,000 lines: opening it (read
// and shown from its first lines; then the whole text in the window) and Find
// through the window (down to a hit near the end, Find Next past it, up from
// the end), each the best of five runs.
// Not a benchmark library program: it needs windows, so it runs on the
// offscreen platform by itself. Run by hand: build/bench/viewer_timing
#include <QAction>
#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QPlainTextEdit>
#include <QTextDocument>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <ctime>
#include <functional>

#include "core/app/app_state.h"
#include "core/common/errors.h"
#include "core/logfile/log_checks.h"
#include "ui/dialogs/message_box.h"
#include "ui/dialogs/unattended.h"
#include "ui/logviewer/frm_view_log.h"

using namespace mirolat;

namespace {

constexpr int kLines = 300000;
constexpr int kRuns = 5;

class QuietReporter final : public ErrorReporter {
 public:
  ErrorAnswer ReportError(const RunError& e) override {
    std::fprintf(stderr, "error: %s\n", qPrintable(e.description()));
    return ErrorAnswer::Continue;
  }
};

QByteArray Log() {
  QByteArray log;
  log.reserve(static_cast<qsizetype>(kLines) * 52);
  for (int i = 0; i < kLines; ++i) {
    log += QStringLiteral("01-%1-1998 10:%2:00.00 - Recv: ATDT5551234 line %3\r\n")
               .arg(1 + (i * 28) / kLines, 2, 10, QLatin1Char('0'))
               .arg(i % 60, 2, 10, QLatin1Char('0'))
               .arg(i, 6, 10, QLatin1Char('0'))
               .toLatin1();
  }
  log += "01-28-1998 23:59:59.00 - The Needle Is Here\r\n";
  return log;
}

double CpuMs() {
  timespec ts{};
  clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &ts);
  return static_cast<double>(ts.tv_sec) * 1e3 + static_cast<double>(ts.tv_nsec) / 1e6;
}

struct Timing {
  double wall = 1e9;
  double cpu = 1e9;
};

// The best of five runs, by the clock and in processor time (the machine may be busy).
Timing BestOf(const std::function<void()>& run) {
  Timing best;
  for (int i = 0; i < kRuns; ++i) {
    QElapsedTimer t;
    t.start();
    const double cpu0 = CpuMs();
    run();
    best.wall = std::min(best.wall, static_cast<double>(t.nsecsElapsed()) / 1e6);
    best.cpu = std::min(best.cpu, CpuMs() - cpu0);
  }
  return best;
}

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  SetUnattended(true);
  QTemporaryDir dir;
  qputenv("MIROLAT_CONFIG_DIR", dir.path().toLocal8Bit());
  AppState state;
  state.File.WindowsDir = dir.path() + QLatin1Char('/');
  state.File.LogFileName = QStringLiteral("ModemLog.txt");
  state.File.LogFilePath = state.File.WindowsDir + state.File.LogFileName;
  {
    QFile f(state.File.LogFilePath);
    if (!f.open(QIODevice::WriteOnly) || f.write(Log()) < 0) return 1;
  }
  QuietReporter reporter;
  ScanLog(state.File, state.Config, reporter);
  std::printf("log: %lld bytes, %.0f entries\n", static_cast<long long>(QFile(state.File.LogFilePath).size()),
              static_cast<double>(state.File.LogEntryCount));

  double shownBest = 1e9;
  double loadedBest = 1e9;
  double loadedCpuBest = 1e9;
  for (int i = 0; i < kRuns; ++i) {
    QElapsedTimer t;
    t.start();
    const double cpu0 = CpuMs();
    auto* viewer = new frmViewLog(state, reporter);
    viewer->ShowViewer();
    viewer->repaint();
    shownBest = std::min(shownBest, static_cast<double>(t.nsecsElapsed()) / 1e6);
    while (viewer->IsLoading()) QCoreApplication::processEvents();
    loadedBest = std::min(loadedBest, static_cast<double>(t.nsecsElapsed()) / 1e6);
    loadedCpuBest = std::min(loadedCpuBest, CpuMs() - cpu0);
    viewer->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  }
  std::printf("open: read, shown and painted from its first lines: %.1f ms\n", shownBest);
  std::printf("open: whole text in the window: %.1f ms (%.1f ms of processor time)\n", loadedBest, loadedCpuBest);

  auto* viewer = new frmViewLog(state, reporter);
  viewer->ShowViewer();
  QCoreApplication::processEvents();
  SearchState& s = frmViewLog::Search();
  auto* shown = viewer->findChild<QPlainTextEdit*>("TextViewLog");
  QAction* findNext = viewer->findChild<QAction*>("mnuSearchFindNext");
  const auto find = [&](const QString& text, bool down, bool fromEnd) {
    s.SearchText = text;
    s.SearchDirection = down ? 1 : 0;
    s.MatchCase = false;
    s.NewSearch = true;
    viewer->findChild<QAction*>(fromEnd ? "mnuBottom" : "mnuTop")->trigger();
    findNext->trigger();
    return shown->textCursor().hasSelection();
  };
  bool ok = true;
  const Timing down = BestOf([&] { ok = find(QStringLiteral("needle is here"), true, false) && ok; });
  const Timing up = BestOf([&] { ok = find(QStringLiteral("line 000000"), false, true) && ok; });
  const Timing next = BestOf([&] {
    find(QStringLiteral("needle is here"), true, false);
    findNext->trigger();  // nothing further: the "Cannot find" box (answered unattended)
  });
  std::printf("find down to the last line, no case: %.1f ms (%.1f ms of processor time)\n", down.wall, down.cpu);
  std::printf("find up to the first line, no case: %.1f ms (%.1f ms of processor time)\n", up.wall, up.cpu);
  std::printf("find down and Find Next past the last hit: %.1f ms (%.1f ms of processor time)\n", next.wall, next.cpu);
  shown->document()->setModified(false);
  viewer->close();
  return ok ? 0 : 1;
}
