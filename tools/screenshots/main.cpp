// mirolat-screenshots: the pictures the documentation shows (scripts/
// screenshots runs it under a virtual display). `mirolat-screenshots FOLDER`
// runs the desktop program as it starts for a user, driven to take them: once
// the main window offers OK it sets the range to the whole log and presses
// OK; the windows then grab themselves into FOLDER: the main window and each
// report (Summary, Details) in each presentation (list view, standard format).
// `mirolat-screenshots --windows FOLDER` shows the windows that run does not
// reach one by one (window_pictures.h) and saves them.
#include <QAction>
#include <QApplication>
#include <QDir>
#include <QLocale>
#include <QPointer>
#include <QPushButton>
#include <QTimer>
#include <cstdio>

#include "core/app/app_state.h"
#include "core/common/errors.h"
#include "ui/app/application_windows.h"
#include "ui/app/desktop_program.h"
#include "ui/common/application.h"
#include "ui/common/end_program.h"
#include "ui/common/program_startup.h"
#include "ui/common/splash_window.h"
#include "ui/main/date_range_panel.h"
#include "ui/main/frm_main.h"
#include "ui/reports/frm_report.h"
#include "window_pictures.h"

namespace {

constexpr int kPollMs = 250;
constexpr int kGiveUpMs = 60000;

using namespace mirolat;

class ScreenshotDriver : public QObject {
 public:
  ScreenshotDriver(ApplicationWindows& windows, QString folder) : windows_(windows), folder_(std::move(folder)) {}

  void Start() { QTimer::singleShot(kPollMs, this, [this] { PressProcessWhenReady(0); }); }

 private:
  bool Save(QWidget& window, const QString& name) {
    QCoreApplication::processEvents();
    const QString path = QDir(folder_).filePath(name);
    const bool ok = window.grab().save(path, "PNG");
    std::fprintf(stderr, "%s %s\n", ok ? "saved" : "could not save", qPrintable(path));
    return ok;
  }

  // Runs the command of the menu item `name` of `window`, as a click on it does.
  static void Command(QWidget& window, const char* name) {
    if (auto* item = window.findChild<QAction*>(QLatin1String(name))) item->trigger();
  }

  // Waits for the main window, clears boxes out of its way and presses OK.
  void PressProcessWhenReady(int waitedMs) {
    frmMain* main = windows_.MainWindow();
    if (QWidget* modal = QApplication::activeModalWidget()) {
      modal->close();
    } else if (auto* process = main != nullptr ? main->findChild<QPushButton*>(QStringLiteral("btnProcess")) : nullptr;
               process != nullptr && main->isVisible() && process->isEnabled()) {
      connect(main, &frmMain::ReportRequested, this, [this] { QTimer::singleShot(500, this, [this] { Shoot(); }); },
              Qt::SingleShotConnection);
      // The whole log: from its first day to its last.
      auto* range = main->findChild<DateRangePanel*>(QStringLiteral("DateRange"));
      range->BoxGotFocus(DateBox::Start);
      Command(*main, "mnuLogStart");
      range->BoxGotFocus(DateBox::End);
      Command(*main, "mnuLogEnd");
      QCoreApplication::processEvents();
      process->click();
      return;
    }
    if (waitedMs >= kGiveUpMs) {
      std::fprintf(stderr, "screenshots: the main window never offered OK\n");
      QCoreApplication::exit(1);
      return;
    }
    QTimer::singleShot(kPollMs, this, [this, waitedMs] { PressProcessWhenReady(waitedMs + kPollMs); });
  }

  void Shoot() {
    frmReport* report = windows_.ReportWindow();
    frmMain* main = windows_.MainWindow();
    if (report == nullptr || main == nullptr) {
      std::fprintf(stderr, "screenshots: no report window\n");
      QCoreApplication::exit(1);
      return;
    }
    bool ok = Save(*main, QStringLiteral("main-window.png"));
    // Each report and presentation applies its own stored size: a readable
    // one is given after each, and the list columns spread over it.
    const auto shoot = [this, report, &ok](const char* command, const QString& name) {
      Command(*report, command);
      report->resize(880, 540);
      ok = Save(*report, name) && ok;
    };
    Command(*report, "mnuSummary");
    if (!frmReport::AutoArrangeOn) Command(*report, "mnuAutoArrange");
    shoot("mnuListView", QStringLiteral("summary-list.png"));
    shoot("mnuFormatStd", QStringLiteral("summary-standard.png"));
    shoot("mnuDetails", QStringLiteral("details-standard.png"));
    shoot("mnuListView", QStringLiteral("details-list.png"));
    if (!ok) {
      QCoreApplication::exit(1);
      return;
    }
    EndProgram();
  }

  ApplicationWindows& windows_;
  QString folder_;
};

}  // namespace

int main(int argc, char** argv) {
  Application app(argc, argv);
  Application::setApplicationName(QStringLiteral("Mirolat"));
  Application::setApplicationVersion(QStringLiteral(MIROLAT_VERSION_STRING));
  QLocale::setDefault(QLocale::system());
  const bool windows = argc == 3 && QLatin1String(argv[1]) == QLatin1String("--windows");
  if (argc != 2 && !windows) {
    std::fprintf(stderr, "usage: mirolat-screenshots [--windows] FOLDER\n");
    return 2;
  }
  const QString folder = QString::fromLocal8Bit(argv[argc - 1]);
  QDir().mkpath(folder);
  if (windows) return TakeWindowPictures(folder) ? 0 : 1;

  // The program as main() starts it, with the driver following its windows.
  DesktopProgram program(TheAppState());
  ScreenshotDriver driver(program.Windows(), folder);
  program.Start();
  driver.Start();
  try {
    return Application::exec();
  } catch (const EndProgramRequested&) {
    SetProgramExitHandler([] {});
    EndProgram();
    return 0;
  }
}
