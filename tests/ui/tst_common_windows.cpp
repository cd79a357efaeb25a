// The desktop program's common windows and seams: the error reporter's boxes
// and answers, the orderly end, the splash, the tips, help and About.
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QPointer>
#include <QPrinter>
#include <QPushButton>
#include <QRegularExpression>
#include <QScreen>
#include <QSignalSpy>
#include <QTest>
#include <QTextBrowser>
#include <QTimer>

#include "core/app/app_state.h"
#include "core/logfile/log_checks.h"
#include "core/settings/settings_store.h"
#include "support/common_test_env.h"
#include "ui/common/about_window.h"
#include "ui/common/application.h"
#include "ui/common/end_program.h"
#include "ui/common/help_window.h"
#include "ui/common/program_startup.h"
#include "ui/common/splash_window.h"
#include "ui/common/tip_window.h"
#include "ui/dialogs/beep.h"
#include "ui/dialogs/desktop_error_reporter.h"
#include "ui/dialogs/window_placement.h"
#include "ui/dialogs/file_dialog.h"
#include "ui/dialogs/message_box.h"
#include "ui/dialogs/printer_dialog.h"
#include "ui/dialogs/unattended.h"

using namespace mirolat;

Q_DECLARE_METATYPE(mirolat::ErrorCondition)
Q_DECLARE_METATYPE(mirolat::MessageButton)
Q_DECLARE_METATYPE(mirolat::ErrorAnswer)
Q_DECLARE_METATYPE(mirolat::MessageButtons)

namespace {

const QString kHelpDir = QStringLiteral(MIROLAT_SOURCE_DIR "/docs/help");

// A window that notes, in a shared list, when it is closed.
class ClosingWindow : public QWidget {
 public:
  ClosingWindow(QString name, QStringList& log) : name_(std::move(name)), log_(log) {}

 protected:
  void closeEvent(QCloseEvent* event) override {
    log_.append(name_);
    QWidget::closeEvent(event);
  }

 private:
  QString name_;
  QStringList& log_;
};

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

// An object whose event handler fails with an answer that ends the program.
class FailingObject : public QObject {
 protected:
  bool event(QEvent* e) override {
    if (e->type() == QEvent::User) throw EndProgramRequested();
    return QObject::event(e);
  }
};

void WriteFile(const QString& path, const QByteArray& bytes) {
  QFile file(path);
  QVERIFY(file.open(QIODevice::WriteOnly));
  file.write(bytes);
}

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
  QStringList exits_;

 private Q_SLOTS:
  void init() {
    env_ = new test::CommonTestEnvironment;
    exits_.clear();
    ResetProgramEnding();
    SetProgramExitHandler([this] { exits_.append(QStringLiteral("exit")); });
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

  // --- error reporter ---------------------------------------------------

  void errorReporterMapsAnswers_data() {
    QTest::addColumn<ErrorCondition>("condition");
    QTest::addColumn<MessageButton>("pressed");
    QTest::addColumn<ErrorAnswer>("answer");
    QTest::addColumn<QString>("title");
    QTest::addColumn<MessageButtons>("buttons");
    QTest::addColumn<QString>("lastAnswer");
    using C = ErrorCondition;
    using B = MessageButton;
    using A = ErrorAnswer;
    const QString disk = QStringLiteral("Disk Error");
    QTest::newRow("disk full, Ignore") << C::DiskFull << B::Ignore << A::Continue << disk
                                       << MessageButtons::AbortRetryIgnore << "5";
    QTest::newRow("disk full, Abort") << C::DiskFull << B::Abort << A::End << disk << MessageButtons::AbortRetryIgnore
                                      << "3";
    QTest::newRow("disk full, Retry") << C::DiskFull << B::Retry << A::Retry << disk
                                      << MessageButtons::AbortRetryIgnore << "4";
    QTest::newRow("locked, Ignore") << C::FileLocked << B::Ignore << A::Continue << "MRL - Lock Error"
                                    << MessageButtons::AbortRetryIgnore << "5";
    QTest::newRow("device unavailable, Cancel") << C::DeviceUnavailable << B::Cancel << A::Continue << disk
                                                << MessageButtons::OkCancel << "2";
    QTest::newRow("internal disk error, OK") << C::DeviceIO << B::Ok << A::Retry << disk << MessageButtons::Ok
                                             << "1";
    QTest::newRow("unknown error, OK") << C::Other << B::Ok << A::Unknown << "Scanner - Error" << MessageButtons::Ok
                                       << "1";
  }

  void errorReporterMapsAnswers() {
    QFETCH(ErrorCondition, condition);
    QFETCH(MessageButton, pressed);
    QFETCH(ErrorAnswer, answer);
    QFETCH(QString, title);
    QFETCH(MessageButtons, buttons);
    QFETCH(QString, lastAnswer);
    DesktopErrorReporter reporter;
    MessageBox::setNextAnswer(pressed);
    QCOMPARE(reporter.ReportError(RunError(condition, QStringLiteral("it broke"), QStringLiteral("Scanner"), 1234)),
             answer);
    QCOMPARE(reporter.ErrorResponse(), answer);
    QCOMPARE(MessageBox::pendingAnswers(), 0);
    QCOMPARE(MessageBox::shownMessages().size(), 1);
    const MessageBoxSpec& shown = MessageBox::shownMessages().constFirst();
    QCOMPARE(shown.title, title);
    QCOMPARE(shown.buttons, buttons);
    QCOMPARE(MessageBox::LastMessageAnswer(), lastAnswer);
  }

  void unknownErrorShowsNumberAndDescription() {
    DesktopErrorReporter reporter;
    MessageBox::setNextAnswer(MessageButton::Ok);
    reporter.ReportError(RunError(ErrorCondition::Other, QStringLiteral("no more handles"), QStringLiteral("Scanner"),
                                  1234));
    QCOMPARE(MessageBox::shownMessages().constFirst().text,
             QStringLiteral("An Error has occurred during processing.\n\nError code: 1234\nDescription: no more "
                            "handles\n"));
  }

  void diskFullIgnoreContinuesAbortEnds() {
    DesktopErrorReporter reporter;
    QStringList done;
    auto failingWrite = [&] { throw RunError(ErrorCondition::DiskFull, QStringLiteral("no space")); };

    MessageBox::setNextAnswer(MessageButton::Retry);
    MessageBox::setNextAnswer(MessageButton::Ignore);
    int attempts = 0;
    const bool wrote = RunStep(reporter, [&] {
      ++attempts;
      failingWrite();
    });
    done.append(QStringLiteral("next step"));
    QCOMPARE(wrote, false);
    QCOMPARE(attempts, 2);
    QCOMPARE(done, QStringList{QStringLiteral("next step")});
    QCOMPARE(MessageBox::shownMessages().constLast().text, QStringLiteral("Disk is full. Continue?"));

    MessageBox::setNextAnswer(MessageButton::Abort);
    QVERIFY_THROWS_EXCEPTION(EndProgramRequested, RunStep(reporter, failingWrite));
  }

  void endRequestInsideAHandlerEndsTheProgram() {
    QStringList closed;
    auto* main = new ClosingWindow(QStringLiteral("main"), closed);
    RegisterWindow(WindowRole::Main, main);
    main->show();
    FailingObject failing;
    QEvent event(QEvent::User);
    QCoreApplication::sendEvent(&failing, &event);
    QCOMPARE(closed, QStringList{QStringLiteral("main")});
    QCOMPARE(exits_, QStringList{QStringLiteral("exit")});
    QVERIFY(ProgramEnding());
  }

  // --- EndProgram -----------------------------------------------------

  void endProgramClosesWindowsInOrder() {
    QStringList log;
    SetProgramExitHandler([&log] { log.append(QStringLiteral("exit")); });
    QPointer<QWidget> main = new ClosingWindow(QStringLiteral("main"), log);
    QPointer<QWidget> report = new ClosingWindow(QStringLiteral("report"), log);
    QPointer<QWidget> viewer = new ClosingWindow(QStringLiteral("viewer"), log);
    QPointer<QWidget> splash = new ClosingWindow(QStringLiteral("splash"), log);
    QPointer<QWidget> about = new ClosingWindow(QStringLiteral("about"), log);
    QPointer<QWidget> gone = new ClosingWindow(QStringLiteral("gone"), log);
    RegisterWindow(WindowRole::Main, main);
    RegisterWindow(WindowRole::Report, report);
    RegisterWindow(WindowRole::Report, gone);
    RegisterWindow(WindowRole::LogViewer, viewer);
    RegisterWindow(WindowRole::Splash, splash);
    RegisterWindow(WindowRole::About, about);
    RegisterWindow(WindowRole::About, about);
    delete gone;
    for (QWidget* w : {main.data(), report.data(), viewer.data(), splash.data(), about.data()}) w->show();

    EndProgram();
    QCOMPARE(log, (QStringList{"about", "splash", "viewer", "report", "main", "exit"}));
    QTRY_VERIFY(main.isNull() && report.isNull() && viewer.isNull() && splash.isNull() && about.isNull());
    QVERIFY(RegisteredWindows(WindowRole::Main).isEmpty());
  }

  // --- splash ---------------------------------------------------------

  void splashWithoutLogBlinksUntilContinued_data() {
    QTest::addColumn<QString>("how");
    QTest::newRow("click on the picture") << "picture";
    QTest::newRow("click on the label") << "label";
    QTest::newRow("key press") << "key";
  }

  void splashWithoutLogBlinksUntilContinued() {
    QFETCH(QString, how);
    int created = 0;
    QPointer<QWidget> mainWindow;
    QPointer<frmSplash> splash = new frmSplash([](Progress&) { return true; },
                                               [&] {
                                                 ++created;
                                                 mainWindow = new QWidget;
                                                 return mainWindow.data();
                                               });
    QCOMPARE(splash->SplashTimer1->interval(), 1000);
    QVERIFY(!splash->SplashTimer1->isActive());
    splash->Form_Load();
    QVERIFY(splash->SplashWaitsForClick());
    QCOMPARE(splash->SplashLabel1->text(), QStringLiteral("Click to continue..."));
    QCOMPARE(splash->LabelVersion->text(), QStringLiteral("Version 1.0"));
    QVERIFY(splash->SplashTimer1->isActive());
    QCOMPARE(created, 0);

    splash->SplashTimer1->setInterval(5);
    QTRY_VERIFY(!splash->SplashLabel1->isVisible());
    QTRY_VERIFY(splash->SplashLabel1->isVisible());

    if (how == QLatin1String("picture")) {
      QTest::mouseClick(splash->Picture1, Qt::LeftButton, {}, QPoint(10, 10));
    } else if (how == QLatin1String("label")) {
      splash->SplashTimer1->stop();
      splash->SplashLabel1->show();
      QTest::mouseClick(splash->SplashLabel1, Qt::LeftButton);
    } else {
      QTest::keyClick(splash.data(), Qt::Key_Space);
    }
    QCOMPARE(created, 1);
    QVERIFY(!mainWindow.isNull());
    QVERIFY(mainWindow->isVisible());
    QCOMPARE(RegisteredWindows(WindowRole::Main), QList<QWidget*>{mainWindow.data()});
    QTRY_VERIFY(splash.isNull());
    delete mainWindow;
  }

  // Every text start-up puts in the status label fits it, inside the
  // picture; the splash stands in the middle of the screen and, waiting for
  // a click, takes the keyboard so that a key press continues.
  void splashLabelHoldsEveryTextAndTheWindowIsCentred() {
    QPointer<QWidget> mainWindow;
    QPointer<frmSplash> splash = new frmSplash([](Progress&) { return true; }, [&] {
      mainWindow = new QWidget;
      return mainWindow.data();
    });
    QLabel* label = splash->SplashLabel1;
    for (const QString& text : {QStringLiteral("Reading User Configuration"),
                                QStringLiteral("Please Wait . . . Checking Modem Log"),
                                QStringLiteral("Please Wait .....Loading  99%"),
                                QStringLiteral("Please Wait .....Loading 100%"), QStringLiteral("Click to continue...")}) {
      QVERIFY2(label->fontMetrics().horizontalAdvance(text) <= label->contentsRect().width(), qPrintable(text));
    }
    QVERIFY(splash->Picture1->geometry().contains(label->geometry()));
    splash->Form_Load();
    QVERIFY(splash->SplashWaitsForClick());
    const QPoint centre = QGuiApplication::primaryScreen()->availableGeometry().center();
    QVERIFY2((splash->geometry().center() - centre).manhattanLength() <= 2,
             qPrintable(QStringLiteral("%1,%2").arg(splash->geometry().center().x()).arg(splash->geometry().center().y())));
    QTRY_VERIFY(splash->isActiveWindow());
    QTest::keyClick(splash.data(), Qt::Key_Return);
    QVERIFY(!mainWindow.isNull());
    QTRY_VERIFY(splash.isNull());
    delete mainWindow;
  }

  void splashWithLogHandsOverAtOnceAndShowsTheCheck() {
    // 200 bytes: the label changes every 2 bytes, 1% to 99%, then 100%.
    const QString log = env_->LogDir() + QStringLiteral("ModemLog.txt");
    WriteFile(log, QByteArray(199, 'a') + '\n');
    int created = 0;
    QPointer<QWidget> mainWindow;
    QPointer<frmSplash> splash = new frmSplash(
        [&](Progress& progress) {
          CurrentFileState state;
          state.LogFilePath = log;
          return CheckLogCharacters(state, true, progress, SharedErrorReporter());
        },
        [&] {
          ++created;
          mainWindow = new QWidget;
          return mainWindow.data();
        });
    QSignalSpy labels(splash.data(), &frmSplash::StatusTextChanged);
    splash->Form_Load();
    QCOMPARE(labels.size(), 100);
    QCOMPARE(labels.at(0).at(0).toString(), QStringLiteral("Please Wait .....Loading  1%"));
    QCOMPARE(labels.at(49).at(0).toString(), QStringLiteral("Please Wait .....Loading  50%"));
    QCOMPARE(labels.at(98).at(0).toString(), QStringLiteral("Please Wait .....Loading  99%"));
    QCOMPARE(labels.at(99).at(0).toString(), QStringLiteral("Please Wait .....Loading 100%"));
    QCOMPARE(created, 1);
    QVERIFY(mainWindow->isVisible());
    QTRY_VERIFY(splash.isNull());
    delete mainWindow;
  }

  void splashRunsStartUp_data() {
    QTest::addColumn<bool>("logExists");
    QTest::addColumn<QStringList>("labels");
    QTest::newRow("no log: waits for a click")
        << false
        << QStringList{"Checking Modem Configuration", "Reading User Configuration",
                       "Please Wait . . . Checking Modem Log", "Click to continue..."};
    QTest::newRow("a small log: checked, then the main window")
        << true
        << QStringList{"Checking Modem Configuration", "Reading User Configuration",
                       "Please Wait . . . Checking Modem Log", "Please Wait .....Loading 100%"};
  }

  void splashRunsStartUp() {
    QFETCH(bool, logExists);
    QFETCH(QStringList, labels);
    if (logExists) WriteFile(env_->LogDir() + QStringLiteral("ModemLog.txt"), "12-25-2004 10:00:00.00 - x\r\n");
    AppState state;
    int created = 0;
    QPointer<frmSplash> splash = new frmSplash([&](Progress& progress) { return RunProgramStartUp(state, progress); },
                                               [&] {
                                                 ++created;
                                                 return nullptr;
                                               });
    QSignalSpy shown(splash.data(), &frmSplash::StatusTextChanged);
    splash->Form_Load();
    QStringList texts;
    for (const QList<QVariant>& args : shown) texts.append(args.at(0).toString());
    QCOMPARE(texts, labels);
    QVERIFY(state.Store != nullptr);
    QCOMPARE(state.Store->FilePath(), env_->ConfigDir() + QStringLiteral("/settings.sqlite"));
    QCOMPARE(state.File.LogFilePath, env_->LogDir() + QStringLiteral("ModemLog.txt"));
    QCOMPARE(state.File.LogExists, logExists);
    QCOMPARE(created, logExists ? 1 : 0);
    if (logExists) {
      QTRY_VERIFY(splash.isNull());
    } else {
      QVERIFY(splash->SplashWaitsForClick());
      splash->ContinueFromSplash();
      QCOMPARE(created, 1);
      QTRY_VERIFY(splash.isNull());
    }
  }

  void splashClickBeforeStartUpEndsDoesNothing() {
    int created = 0;
    QPointer<frmSplash> splash =
        new frmSplash([](Progress&) { return true; }, [&] {
          ++created;
          return nullptr;
        });
    splash->ContinueFromSplash();
    QCOMPARE(created, 0);
    QVERIFY(!splash.isNull());
    delete splash;
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
    QCOMPARE(splash->SplashLabel1->text(), QStringLiteral("Click to continue..."));
    delete splash;
  }

  // --- tips -----------------------------------------------------------

  void tipWindowPagesThroughTheFile_data() {
    QTest::addColumn<QString>("lastTip");
    QTest::addColumn<QStringList>("clicks");
    QTest::addColumn<QString>("shown");
    QTest::addColumn<QString>("stored");
    QTest::newRow("after the last tip comes the first") << "3" << QStringList{} << "first tip" << "1";
    QTest::newRow("no tip shown yet") << "" << QStringList{} << "first tip" << "1";
    QTest::newRow("next after the first") << "1" << QStringList{} << "" << "2";
    QTest::newRow("previous on the first wraps to the last") << "3" << QStringList{"previous"} << "third tip"
                                                            << "3";
    QTest::newRow("next wraps") << "2" << QStringList{"next"} << "first tip" << "1";
    QTest::newRow("beyond a shorter file") << "9" << QStringList{"next"} << "" << "2";
  }

  void tipWindowPagesThroughTheFile() {
    QFETCH(QString, lastTip);
    QFETCH(QStringList, clicks);
    QFETCH(QString, shown);
    QFETCH(QString, stored);
    const QString tips = env_->ConfigDir() + QStringLiteral("/MrlTips.txt");
    WriteFile(tips, "first tip\n\nthird tip\n");
    SettingsStore store(SettingsStore::FilePathIn(env_->ConfigDir()));
    if (!lastTip.isEmpty()) store.SaveSetting("MRL", "Options", "Last Tip", lastTip);
    {
      frmTip tip(store, tips);
      QCOMPARE(tip.windowTitle(), QStringLiteral("  Tip of the Day"));
      QCOMPARE(tip.Tips().size(), 3);
      for (const QString& click : clicks) {
        QTest::mouseClick(tip.findChild<QPushButton*>(click == QLatin1String("next") ? "cmdNextTip" : "btnPrevious"),
                          Qt::LeftButton);
      }
      QCOMPARE(tip.findChild<QLabel*>("lblTipText")->text(), shown);
      QTest::mouseClick(tip.findChild<QPushButton*>("cmdOK"), Qt::LeftButton);
      QCOMPARE(tip.result(), int(QDialog::Accepted));
    }
    QCOMPARE(store.GetSetting("MRL", "Options", "Last Tip", "none"), stored);
  }

  void tipWindowLayoutAndStartupChoice() {
    SettingsStore store(SettingsStore::FilePathIn(env_->ConfigDir()));
    store.SaveSetting("MRL", "Options", "Show Tips at Startup", "1");
    frmTip tip(store, QString());
    QCOMPARE(tip.findChild<QLabel*>("lblDidYouKnow")->text(), QStringLiteral("Did you know..."));
    QCOMPARE(tip.findChild<QPushButton*>("cmdNextTip")->text(), QStringLiteral("&Next Tip"));
    QCOMPARE(tip.findChild<QPushButton*>("btnPrevious")->text(), QStringLiteral("&Previous"));
    QCOMPARE(tip.findChild<QPushButton*>("cmdOK")->text(), QStringLiteral("OK"));
    auto* check = tip.findChild<QCheckBox*>("chkLoadTipsAtStartup");
    QCOMPARE(check->text(), QStringLiteral("&Show Tips at Startup"));
    QVERIFY(check->isChecked());
    QTest::mouseClick(check, Qt::LeftButton);
    QCOMPARE(store.GetSetting("MRL", "Options", "Show Tips at Startup", "none"), QStringLiteral("0"));
    QTest::mouseClick(check, Qt::LeftButton);
    QCOMPARE(store.GetSetting("MRL", "Options", "Show Tips at Startup", "none"), QStringLiteral("1"));
  }

  void tipWindowWithoutFileExplains() {
    SettingsStore store(SettingsStore::FilePathIn(env_->ConfigDir()));
    frmTip tip(store, env_->ConfigDir() + QStringLiteral("/absent.txt"));
    const QString expected = QStringLiteral(
        "That the MrlTips.txt file was not found? \r\n\r\nCreate a text file named MrlTips.txt using NotePad with 1 "
        "tip per line. Then place it in the same directory as the application. ");
    auto* label = tip.findChild<QLabel*>("lblTipText");
    QCOMPARE(label->text(), expected);
    QTest::mouseClick(tip.findChild<QPushButton*>("cmdNextTip"), Qt::LeftButton);
    QTest::mouseClick(tip.findChild<QPushButton*>("btnPrevious"), Qt::LeftButton);
    QCOMPARE(label->text(), expected);
  }

  void shippedTipsFileHasTips() {
    QFile file(QStringLiteral(MIROLAT_SOURCE_DIR "/data/MrlTips.txt"));
    QVERIFY(file.open(QIODevice::ReadOnly | QIODevice::Text));
    const QStringList lines = QString::fromUtf8(file.readAll()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    QVERIFY2(lines.size() >= 12, qPrintable(QString::number(lines.size())));
  }

  // --- help -----------------------------------------------------------

  void helpHasAPageForEveryTopicAsked_data() {
    QTest::addColumn<int>("topic");
    QTest::addColumn<QString>("page");
    QTest::newRow("missing modem log") << 6 << "modem_log.html";
    QTest::newRow("options: general") << 51 << "options_general.html";
    QTest::newRow("options: modem") << 33 << "options_modem.html";
    QTest::newRow("options: services") << 36 << "options_services.html";
    QTest::newRow("options: costs") << 46 << "options_costs.html";
    QTest::newRow("options: format") << 47 << "options_format.html";
    QTest::newRow("options: errors") << 48 << "options_errors.html";
    QTest::newRow("options: holidays") << 54 << "options_holidays.html";
    QTest::newRow("service editor") << 37 << "service_editor.html";
    QTest::newRow("tariff editor") << 38 << "tariff_editor.html";
    QTest::newRow("unknown topic: contents") << 999 << "index.html";
  }

  void helpHasAPageForEveryTopicAsked() {
    QFETCH(int, topic);
    QFETCH(QString, page);
    ShowHelp(topic);
    QVERIFY(HelpWindow() != nullptr);
    QVERIFY(HelpWindow()->isVisible());
    QCOMPARE(HelpWindow()->CurrentPage(), page);
  }

  void helpTopicSixExplainsTheModemLog() {
    ShowHelp(6);
    const QString text = HelpWindow()->findChild<QTextBrowser*>("txtPage")->toPlainText();
    QVERIFY(text.contains(QStringLiteral("Configuring a modem log")));
    QVERIFY(text.contains(QStringLiteral("WinDir")));
  }

  void helpEntryPoints() {
    ShowHelpContents();
    QCOMPARE(HelpWindow()->CurrentPage(), QStringLiteral("index.html"));
    ShowHelpSearch();
    QCOMPARE(HelpWindow()->CurrentPage(), QStringLiteral("search.html"));
    ShowHelpUsing();
    QCOMPARE(HelpWindow()->CurrentPage(), QStringLiteral("using_help.html"));
    QCOMPARE(HelpWindow()->Pages().constFirst().fileName, QStringLiteral("index.html"));
  }

  // Boxes and dialogs stand centred on their parent window and whole on the
  // screen, also when the parent is partly off it.
  void windowsStandOnTheirParentAndOnTheScreen() {
    const QRect screen(0, 0, 800, 600);
    const struct {
      QSize size;
      QRect parent;
      QRect placed;
    } rows[] = {
        {{200, 100}, {100, 100, 400, 300}, {200, 200, 200, 100}},   // centred
        {{200, 100}, {-300, 50, 400, 300}, {0, 150, 200, 100}},     // parent off the left edge
        {{200, 100}, {600, 500, 400, 300}, {600, 500, 200, 100}},   // off the bottom right
        {{900, 700}, {100, 100, 400, 300}, {0, 0, 800, 600}},       // larger than the screen
    };
    for (const auto& r : rows) QCOMPARE(CentredOnParent(r.size, r.parent, screen), r.placed);
    // A window that opens beside its parent: the right, the left, else the
    // right moved back onto the screen, the parent's left part in sight.
    const struct {
      QSize size;
      QRect parent;
      QRect placed;
    } beside[] = {
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
    QVERIFY2(available.contains(help->frameGeometry()), qPrintable(QStringLiteral("%1,%2 %3x%4 in %5x%6").arg(help->frameGeometry().x()).arg(help->frameGeometry().y()).arg(help->frameGeometry().width()).arg(help->frameGeometry().height()).arg(available.width()).arg(available.height())));
    delete help.data();
  }

  void helpSearchListsPagesWithEveryWord() {
    ShowHelpSearch();
    frmHelp* help = HelpWindow();
    QCOMPARE(help->FindPages(QStringLiteral("holidays TARIFFS")),
             (QStringList{"index.html", "costs_tariffs.html", "options_holidays.html", "tariff_editor.html"}));
    QCOMPARE(help->FindPages(QStringLiteral("xyzzy")), QStringList{});
    auto* list = help->findChild<QListWidget*>("lstContents");
    const int all = list->count();
    QCOMPARE(all, help->Pages().size());
    QTest::keyClicks(help->findChild<QLineEdit*>("txtSearch"), QStringLiteral("purge archive"));
    QStringList titles;
    for (int i = 0; i < list->count(); ++i) titles.append(list->item(i)->text());
    QVERIFY2(titles.contains(QStringLiteral("Looking after the log")), qPrintable(titles.join(", ")));
    QVERIFY(titles.size() < all);
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                      list->visualItemRect(list->findItems("Looking after the log", Qt::MatchExactly).constFirst())
                          .center());
    QCOMPARE(help->CurrentPage(), QStringLiteral("log_maintenance.html"));
  }

  void helpLinksLeadToPages() {
    const QDir dir(kHelpDir);
    static const QRegularExpression link(QStringLiteral("href=\"([^\"#:]+)\""));
    for (const QString& name : dir.entryList({QStringLiteral("*.html")})) {
      QFile file(dir.filePath(name));
      QVERIFY(file.open(QIODevice::ReadOnly));
      const QString html = QString::fromUtf8(file.readAll());
      for (auto it = link.globalMatch(html); it.hasNext();) {
        const QString target = it.next().captured(1);
        QVERIFY2(dir.exists(target), qPrintable(name + " -> " + target));
      }
    }
  }

  void messageBoxHelpButtonOpensTheTopic() {
    SetUnattended(false);
    MessageButton pressed = MessageButton::Cancel;
    QString title;
    QStringList pagesWhileUp;
    WithModalBoxes({[&](QMessageBox& box) {
                      title = box.windowTitle();
                      box.button(QMessageBox::Help)->click();
                    },
                    [&](QMessageBox& box) {
                      pagesWhileUp.append(HelpWindow() ? HelpWindow()->CurrentPage() : QString());
                      box.button(QMessageBox::No)->click();
                    }},
                   [&] {
                     pressed = MessageBox::Show(MessageBoxSpec{QString(), QStringLiteral("Go on?"),
                                                               MessageButtons::YesNo, MessageIcon::Question, 6});
                   });
    QCOMPARE(title, QStringLiteral("Mirolat"));
    QCOMPARE(pagesWhileUp, QStringList{QStringLiteral("modem_log.html")});
    QCOMPARE(pressed, MessageButton::No);
    QCOMPARE(MessageBox::LastMessageAnswer(), QStringLiteral("7"));
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

  // --- About ----------------------------------------------------------

  void aboutShowsVersionAndSystemInfo() {
    frmAbout about;
    QCOMPARE(about.lblTitle->text(), QStringLiteral("Mirolat"));
    QCOMPARE(about.lblVersion->text(), QStringLiteral("Version 1.0"));
    QCOMPARE(RegisteredWindows(WindowRole::About), QList<QWidget*>{&about});
    MessageBox::setNextAnswer(MessageButton::Ok);
    QTest::mouseClick(about.cmdSysInfo, Qt::LeftButton);
    QCOMPARE(MessageBox::shownMessages().size(), 1);
    const MessageBoxSpec& info = MessageBox::shownMessages().constFirst();
    QCOMPARE(info.title, QStringLiteral("System Information"));
    const QStringList lines = info.text.split(QLatin1Char('\n'));
    QCOMPARE(lines.size(), 6);
    QCOMPARE(lines[0], QStringLiteral("Mirolat 1.0.0"));
    QVERIFY(lines[1].startsWith(QStringLiteral("Qt version: ") + QString::fromLatin1(qVersion())));
    QVERIFY(lines[2].startsWith(QStringLiteral("Platform: ")));
    QVERIFY(lines[2].contains(QStringLiteral("\"offscreen\"")));
    QCOMPARE(lines[3], QStringLiteral("Locale: en_US (English, United States)"));
    QCOMPARE(lines[4], QStringLiteral("Settings file: ") + env_->ConfigDir() + QStringLiteral("/settings.sqlite"));
    QCOMPARE(lines[5], QStringLiteral("Log directory: ") + env_->LogDir());
  }

  // --- other seams ----------------------------------------------------

  void fileDialogTakesScriptedNames() {
    FileDialog::setNextFileName(QStringLiteral("/tmp/a.mrl"));
    FileDialog::setNextFileName(QString());
    QCOMPARE(FileDialog::GetOpenFileName(nullptr, "Open Archive", "/home", "Archives (*.mrl)"),
             QStringLiteral("/tmp/a.mrl"));
    QCOMPARE(FileDialog::GetSaveFileName(nullptr, "Save As", "/home", "Text (*.txt)"), QString());
    QCOMPARE(FileDialog::GetOpenFileName(nullptr, "Again", "/home", "*"), QString());
    QCOMPARE(FileDialog::requests().size(), 3);
    QCOMPARE(FileDialog::requests().at(1).kind, FileDialogRequest::Save);
    QCOMPARE(FileDialog::requests().at(1).caption, QStringLiteral("Save As"));
  }

  void printerDialogPrintsToPdf() {
    const QString pdf = env_->ConfigDir() + QStringLiteral("/report.pdf");
    PrinterDialog::setNextCancel();
    PrinterDialog::setNextPdfFile(pdf);
    QPrinter printer;
    QVERIFY(!PrinterDialog::Choose(printer));
    QVERIFY(PrinterDialog::Choose(printer));
    PrintPlainText(printer, QStringLiteral("Number      Time\n0123456789  1:02:03\n"),
                   QFont(QStringLiteral("Monospace"), 10));
    QFile file(pdf);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QVERIFY(file.read(5) == "%PDF-");
    QCOMPARE(PrinterDialog::requestCount(), 2);
  }

  void beepsAreCounted() {
    Beep();
    Beep();
    QCOMPARE(BeepCount(), 2);
    ResetBeepCount();
    QCOMPARE(BeepCount(), 0);
  }
};

int main(int argc, char** argv) {
  mirolat::Application app(argc, argv);
  app.setApplicationName(QStringLiteral("Mirolat"));
  CommonWindowsTest test;
  QTEST_SET_MAIN_SOURCE_PATH
  return QTest::qExec(&test, argc, argv);
}

#include "tst_common_windows.moc"
