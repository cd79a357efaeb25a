#include "ui/reports/report_screenshots.h"

#include <QApplication>
#include <QCoreApplication>
#include <QDir>
#include <QPixmap>
#include <QPointer>
#include <QPushButton>
#include <QTimer>
#include <cstdio>

#include "ui/common/end_program.h"
#include "ui/main/frm_main.h"
#include "ui/reports/frm_report.h"

namespace mirolat {

namespace {

constexpr int kPollMs = 250;
constexpr int kGiveUpMs = 60000;

bool Save(QWidget& window, const QString& name) {
  QCoreApplication::processEvents();
  const QString path = QDir(ScreenshotFolder()).filePath(name);
  const bool ok = window.grab().save(path, "PNG");
  std::fprintf(stderr, "%s %s\n", ok ? "saved" : "could not save", qPrintable(path));
  return ok;
}

frmMain* FindMainWindow() {
  for (QWidget* w : QApplication::topLevelWidgets()) {
    if (auto* main = qobject_cast<frmMain*>(w); main != nullptr && main->isVisible()) return main;
  }
  return nullptr;
}

// Waits for the main window, clears boxes out of its way and presses OK.
void PressProcessWhenReady(int waitedMs) {
  if (QWidget* modal = QApplication::activeModalWidget()) {
    modal->close();
  } else if (frmMain* main = FindMainWindow(); main != nullptr && main->btnProcess->isEnabled()) {
    // The whole log: from its first day to its last.
    main->inputStarting_GotFocus();
    main->mnuLogStart_Click();
    main->inputEnding_GotFocus();
    main->mnuLogEnd_Click();
    QCoreApplication::processEvents();
    main->btnProcess->click();
    return;
  }
  if (waitedMs >= kGiveUpMs) {
    std::fprintf(stderr, "screenshots: the main window never offered OK\n");
    QCoreApplication::exit(1);
    return;
  }
  QTimer::singleShot(kPollMs, [waitedMs] { PressProcessWhenReady(waitedMs + kPollMs); });
}

void StartScreenshots() {
  if (ScreenshotFolder().isEmpty()) return;
  QDir().mkpath(ScreenshotFolder());
  QTimer::singleShot(kPollMs, [] { PressProcessWhenReady(0); });
}

}  // namespace

Q_COREAPP_STARTUP_FUNCTION(StartScreenshots)

QString ScreenshotFolder() { return qEnvironmentVariable("MIROLAT_SCREENSHOT_DIR"); }

void MaybeTakeReportScreenshots(frmReport& window) {
  static bool taken = false;
  if (taken || ScreenshotFolder().isEmpty()) return;
  taken = true;
  QPointer<frmReport> report(&window);
  QTimer::singleShot(500, [report] {
    if (report.isNull()) return;
    frmReport& w = *report;
    bool ok = true;
    if (frmMain* main = FindMainWindow()) ok = Save(*main, QStringLiteral("main-window.png")) && ok;
    // Each report and presentation applies its own stored size: a readable
    // one is given after each, and the list columns spread over it.
    const auto shoot = [&w, &ok](void (frmReport::*command)(), const QString& name) {
      (w.*command)();
      w.resize(880, 540);
      ok = Save(w, name) && ok;
    };
    w.mnuSummary_Click();
    if (!frmReport::AutoArrangeOn) w.mnuAutoArrange_Click();
    shoot(&frmReport::mnuListView_Click, QStringLiteral("summary-list.png"));
    shoot(&frmReport::mnuFormatStd_Click, QStringLiteral("summary-standard.png"));
    shoot(&frmReport::mnuDetails_Click, QStringLiteral("details-standard.png"));
    shoot(&frmReport::mnuListView_Click, QStringLiteral("details-list.png"));
    if (!ok) {
      QCoreApplication::exit(1);
      return;
    }
    EndProgram();
  });
}

}  // namespace mirolat
