// The desktop program's common windows and seams where they once went wrong
// or apply a rule of their own: the disk-full answers, the splash outliving
// a quit, placement on the parent and the screen, help used while a box is up.
#include <QGuiApplication>
#include <QLabel>
#include <QListWidget>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QScreen>
#include <QTest>
#include <QTimer>

#include "support/common_test_env.h"
#include "ui/common/end_program.h"
#include "ui/common/help_window.h"
#include "ui/common/program_startup.h"
#include "ui/common/splash_window.h"
#include "ui/dialogs/desktop_error_reporter.h"
#include "ui/dialogs/window_placement.h"
#include "ui/dialogs/message_box.h"
#include "ui/dialogs/unattended.h"

using namespace mirolat;

namespace {

const QString kHelpDir = QStringLiteral(MIROLAT_SOURCE_DIR "/docs/help");

// Follows whether the watched window is blocked by a modal window.
class BlockWatcher : public QObject {
 public:
  bool blocked = false;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::WindowBlocked) blocked = true;
    if (event->type() == QEvent::WindowUnblocked) blocked = false;
    return QObject::eventFilter(watched, event);
  }
};

// Runs `steps` one after another against the modal box that is up, each once
// a box is there, while `show` waits in the box's own event loop.
template <class Show>
void WithModalBoxes(QList<std::function<void(QMessageBox&)>> steps, Show&& show) {
  auto* timer = new QTimer;
  int remaining = 200;  // gives up (closing the box) instead of hanging
  QObject::connect(timer, &QTimer::timeout, [&] {
    auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    if (box == nullptr) return;
    if (!steps.isEmpty()) {
      steps.takeFirst()(*box);
    } else if (--remaining == 0) {
      box->reject();
    }
  });
  timer->start(20);
  show();
  timer->stop();
  delete timer;
}

}  // namespace

class CommonWindowsTest : public QObject {
  Q_OBJECT

 private:
  test::CommonTestEnvironment* env_ = nullptr;

 private Q_SLOTS:
  void init() {
    env_ = new test::CommonTestEnvironment;
    ResetProgramEnding();
    SetProgramExitHandler([] {});
    SetHelpDirectory(kHelpDir);
    MessageBox::SetHelpOpener(&ShowHelp);
  }

  void cleanup() {
    if (HelpWindow() != nullptr) delete HelpWindow();
    SetProgramExitHandler({});
    SetUnattended(true);
    delete env_;
    env_ = nullptr;
  }

  void diskFullIgnoreContinuesAbortEnds() {
    DesktopErrorReporter reporter;
    auto failingWrite = [&] { throw RunError(ErrorCondition::DiskFull, QStringLiteral("no space")); };

    MessageBox::setNextAnswer(MessageButton::Retry);
    MessageBox::setNextAnswer(MessageButton::Ignore);
    int attempts = 0;
    const bool wrote = RunStep(reporter, [&] {
      ++attempts;
      failingWrite();
    });
    QCOMPARE(wrote, false);  // Ignore: the program goes on after two tries
    QCOMPARE(attempts, 2);
    QCOMPARE(MessageBox::shownMessages().constLast().text, QStringLiteral("Disk is full. Continue?"));

    MessageBox::setNextAnswer(MessageButton::Abort);
    QVERIFY_THROWS_EXCEPTION(EndProgramRequested, RunStep(reporter, failingWrite));
  }

  // Closing the wizard started by start-up can make Qt quit (no other
  // primary window is up yet), which closes every window: the splash stays
  // until start-up is done, and its progress goes on reaching it.
  void splashOutlivesAQuitDuringStartUp() {
    QPointer<frmSplash> splash;
    bool reachedTheEnd = false;
    splash = new frmSplash(
        [&](Progress& progress) {
          QEvent quit(QEvent::Quit);
          QCoreApplication::sendEvent(qApp, &quit);
          QCoreApplication::processEvents();
          QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
          progress.SetStatus(QStringLiteral("Please Wait . . . Checking Modem Log"));
          progress.Yield();
          reachedTheEnd = !splash.isNull();
          return true;
        },
        [] { return nullptr; });
    splash->Form_Load();
    QVERIFY(reachedTheEnd);
    QVERIFY(!splash.isNull());
    QCOMPARE(test::Child<QLabel>(splash, "SplashLabel1")->text(), QStringLiteral("Click to continue..."));
    delete splash;
  }

  // Boxes and dialogs stand centred on their parent window and whole on the
  // screen, also when the parent is partly off it.
  void windowsStandOnTheirParentAndOnTheScreen() {
    const QRect screen(0, 0, 800, 600);
    struct Row {
      QSize size;
      QRect parent, placed;
    };
    const Row rows[] = {
        {{200, 100}, {100, 100, 400, 300}, {200, 200, 200, 100}},   // centred
        {{200, 100}, {-300, 50, 400, 300}, {0, 150, 200, 100}},     // parent off the left edge
        {{200, 100}, {600, 500, 400, 300}, {600, 500, 200, 100}},   // off the bottom right
        {{900, 700}, {100, 100, 400, 300}, {0, 0, 800, 600}},       // larger than the screen
    };
    for (const auto& r : rows) QCOMPARE(CentredOnParent(r.size, r.parent, screen), r.placed);
    // A window that opens beside its parent: the right, the left, else the
    // right moved back onto the screen, the parent's left part in sight.
    const Row beside[] = {
        {{300, 200}, {100, 100, 300, 300}, {400, 100, 300, 200}},  // on the right
        {{300, 200}, {400, 100, 300, 300}, {100, 100, 300, 200}},  // on the left
        {{500, 200}, {200, 450, 300, 100}, {300, 400, 500, 200}},  // neither: the right, moved in and up
    };
    for (const auto& r : beside) QCOMPARE(BesideParent(r.size, r.parent, screen), r.placed);

    // The help window, wider than this screen, opens whole on it.
    QWidget parent;
    parent.resize(300, 200);
    parent.show();
    parent.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&parent));
    delete HelpWindow();
    ShowHelpContents();
    QPointer<frmHelp> help = HelpWindow();
    QVERIFY(!help.isNull());
    const QRect available = help->screen()->availableGeometry();
    QVERIFY(available.contains(help->frameGeometry()));
    delete help.data();
  }


  // The box stays up after its Help button opened the help window, and the
  // help window can be used meanwhile: its contents list takes clicks.
  void helpWindowUsableWhileItsBoxIsUp() {
    SetUnattended(false);
    QWidget owner;
    owner.show();
    QVERIFY(QTest::qWaitForWindowExposed(&owner));
    // The help window is blocked by a modal window when it gets WindowBlocked.
    ShowHelpContents();
    QPointer<frmHelp> helpWindow = HelpWindow();
    BlockWatcher watcher;
    helpWindow->installEventFilter(&watcher);
    QStringList pagesAfterClick;
    bool blockedWhileUp = true;
    WithModalBoxes({[&](QMessageBox& box) { box.button(QMessageBox::Help)->click(); },
                    [&](QMessageBox& box) {
                      frmHelp* help = HelpWindow();
                      blockedWhileUp = help != helpWindow || watcher.blocked;
                      auto* list = help->findChild<QListWidget*>("lstContents");
                      const QList<QListWidgetItem*> items =
                          list->findItems(QStringLiteral("Looking after the log"), Qt::MatchExactly);
                      if (!items.isEmpty()) {
                        QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                                          list->visualItemRect(items.constFirst()).center());
                      }
                      pagesAfterClick.append(help->CurrentPage());
                      box.button(QMessageBox::Ok)->click();
                    }},
                   [&] {
                     MessageBox::Show(MessageBoxSpec{QStringLiteral("No Modem Log Detected!"), QStringLiteral("No log."),
                                                     MessageButtons::Ok, MessageIcon::Exclamation, 6},
                                      &owner);
                   });
    QVERIFY(!blockedWhileUp);
    QCOMPARE(pagesAfterClick, QStringList{QStringLiteral("log_maintenance.html")});
  }
};

QTEST_MAIN(CommonWindowsTest)
#include "tst_common_windows.moc"
