#include "support/journey.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QDir>
#include <QElapsedTimer>
#include <QFileDialog>
#include <QEventLoop>
#include <QFile>
#include <QGroupBox>
#include <QHash>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QPointer>
#include <QProcess>
#include <QTextEdit>
#include <QThread>
#include <QTimer>
#include <QWindow>
#include <QtTest>
#include <atomic>
#include <thread>

#include "core/app/app_state.h"
#include "ui/app/desktop_program.h"
#include "ui/common/end_program.h"
#include "ui/dialogs/unattended.h"

namespace mirolat::journey {

namespace {

// Runs `f` on the program's thread and waits for it.
void OnMain(const std::function<void()>& f) {
  if (QThread::currentThread() == qApp->thread()) {
    f();
    return;
  }
  QMetaObject::invokeMethod(qApp, f, Qt::BlockingQueuedConnection);
}

template <class T>
T Ask(const std::function<T()>& f) {
  T value{};
  OnMain([&] { value = f(); });
  return value;
}

// Input is delivered from the event loop, so that a modal window it opens runs
// its loop there and not under the journey's step.
void Deliver(const std::function<void()>& input) {
  auto started = std::make_shared<std::atomic<bool>>(false);
  OnMain([input, started] {
    QTimer::singleShot(0, qApp, [input, started] {
      *started = true;
      input();
    });
  });
  while (!*started) QThread::msleep(2);
  // Once more through the loop: the input's handler has returned, or it is
  // running a nested loop of its own (a modal window is up).
  OnMain([] {});
}

QString Plain(QString text) { return text.remove(QLatin1Char('&')); }

bool TitleMatches(const QString& pattern, const QString& title) {
  if (pattern.endsWith(QLatin1Char('*'))) return title.startsWith(pattern.chopped(1));
  return title == pattern;
}

QString VisibleText(QWidget* w) {
  if (auto* e = qobject_cast<QLineEdit*>(w)) return e->text();
  if (auto* e = qobject_cast<QPlainTextEdit*>(w)) return e->toPlainText();
  if (auto* e = qobject_cast<QTextEdit*>(w)) return e->toPlainText();
  if (auto* l = qobject_cast<QLabel*>(w)) return l->text();
  if (auto* b = qobject_cast<QAbstractButton*>(w)) return Plain(b->text());
  if (auto* c = qobject_cast<QComboBox*>(w)) return c->currentText();
  if (auto* g = qobject_cast<QGroupBox*>(w)) return Plain(g->title());
  if (auto* v = qobject_cast<QAbstractItemView*>(w)) {
    const QModelIndex current = v->currentIndex();
    return current.isValid() ? current.data().toString() : QString();
  }
  return w->windowTitle();
}

bool Activatable(const QWidget* w) {
  return w->isVisible() && w->windowType() != Qt::SplashScreen && w->windowType() != Qt::Popup &&
         w->windowType() != Qt::ToolTip;
}

// The windows that were active, the latest first.
QList<QPointer<QWidget>>& ActivationOrder() {
  static QList<QPointer<QWidget>> order;
  return order;
}

void NoteActivation(QWindow* window) {
  for (QWidget* w : QApplication::topLevelWidgets()) {
    if (window == nullptr || w->windowHandle() != window) continue;
    ActivationOrder().removeAll(w);
    ActivationOrder().prepend(w);
  }
}

// What a window manager does when the active window goes away: the window
// below it (a modal dialog first, else the window that was active before,
// else the main window, else any) becomes active. The offscreen platform has
// no window manager to do it.
bool ActivateLikeWindowManager() {
  if (QApplication::activeWindow() != nullptr || QApplication::activePopupWidget() != nullptr) return false;
  QWidget* next = QApplication::activeModalWidget();
  for (const QPointer<QWidget>& w : ActivationOrder()) {
    if (next == nullptr && w != nullptr && Activatable(w)) next = w;
  }
  for (QWidget* w : QApplication::topLevelWidgets()) {
    if (next != nullptr && next->objectName() == QLatin1String("frmMain")) break;
    if (next != nullptr && (next == QApplication::activeModalWidget() || ActivationOrder().contains(next))) break;
    if (Activatable(w) && (next == nullptr || w->objectName() == QLatin1String("frmMain"))) {
      next = w;
    }
  }
  if (next == nullptr) return false;
  next->activateWindow();
  return true;
}

QWidget* KeyTarget() {
  if (QWidget* popup = QApplication::activePopupWidget()) return popup;
  if (QWidget* focus = QApplication::focusWidget()) return focus;
  if (QWidget* modal = QApplication::activeModalWidget()) return modal;
  return QApplication::activeWindow();
}

// A button pressed by its mnemonic or by Space clicks a moment later, as it
// is drawn pressed (QAbstractButton::animateClick).
bool ButtonAnimating() {
  for (QWidget* top : QApplication::topLevelWidgets()) {
    if (!top->isVisible()) continue;
    for (QAbstractButton* b : top->findChildren<QAbstractButton*>()) {
      // (The file dialog shows its view mode by a button held down.)
      if (b->isDown() && qobject_cast<QFileDialog*>(b->window()) == nullptr) return true;
    }
  }
  return false;
}

int TimeoutFactor() {
  const int factor = qEnvironmentVariableIntValue("MIROLAT_JOURNEY_TIME_FACTOR");
  return factor > 0 ? factor : 1;
}

}  // namespace

Journey::Journey() = default;
Journey::~Journey() = default;

void Journey::SetUp() {
  ASSERT_TRUE(config_.isValid() && logs_.isValid() && scratch_.isValid());
  QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
  qputenv("MIROLAT_CONFIG_DIR", config_.path().toLocal8Bit());
  qputenv("WinDir", logs_.path().toLocal8Bit());
  logDir_ = logs_.path() + QLatin1Char('/');
  // Real message boxes and dialogs, answered with keys.
  SetUnattended(false);
  ResetProgramEnding();
  // The program's end closes its windows; the journey, not the process, goes on.
  SetProgramExitHandler([] {});
  state_ = std::make_unique<AppState>();
  ActivationOrder().clear();
  activations_ = QObject::connect(qApp, &QGuiApplication::focusWindowChanged, qApp, &NoteActivation);
}

void Journey::TearDown() {
  // Whatever the journey left open is closed without questions.
  SetUnattended(true);
  if (program_ && !ProgramEnding()) EndProgram();
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  QCoreApplication::processEvents();
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  program_.reset();
  state_.reset();
  SetProgramExitHandler({});
  QObject::disconnect(activations_);
  qunsetenv("MIROLAT_CONFIG_DIR");
  qunsetenv("WinDir");
}

void Journey::WriteFile(const QString& path, const QByteArray& bytes) {
  QFile f(path);
  ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate)) << path.toStdString();
  ASSERT_EQ(f.write(bytes), bytes.size());
}

void Journey::UseLogDir(const QString& relative) {
  logDir_ = ScratchDir() + relative;
  if (!logDir_.endsWith(QLatin1Char('/'))) logDir_ += QLatin1Char('/');
  ASSERT_TRUE(QDir().mkpath(logDir_));
  qputenv("WinDir", logDir_.toLocal8Bit());
}

QByteArray Journey::SessionLog(const QStringList& days, const QString& number) {
  QByteArray log;
  for (const QString& day : days) {
    const QByteArray d = day.toLatin1();
    log += d + " 10:23:40.00 - Opening Modem\r\n";
    log += d + " 10:23:42.74 - Recv: ATDT" + number.toLatin1() + "<cr>\r\n";
    log += d + " 10:23:43.00 - Send: ATZ<cr>\r\n";
    log += d + " 10:24:05.25 - Connection established at 33600bps.\r\n";
    log += d + " 10:55:32.44 - Hanging up the modem.\r\n";
    log += d + " 10:55:33.00 - Modem closed.\r\n";
  }
  return log;
}

QByteArray Journey::ReadFile(const QString& path) {
  QFile f(path);
  return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

QByteArray Journey::Cli(const QStringList& args, const QByteArray& input) {
  QProcess cli;
  cli.setProgram(QStringLiteral(MIROLAT_CLI_PATH));
  cli.setArguments(args);
  cli.start();
  if (!input.isEmpty()) cli.write(input);
  cli.closeWriteChannel();
  const bool finished = cli.waitForFinished(60000);
  EXPECT_TRUE(finished && cli.exitStatus() == QProcess::NormalExit && cli.exitCode() == 0)
      << "mirolat-cli " << args.join(QLatin1Char(' ')).toStdString() << ": "
      << cli.readAllStandardError().toStdString();
  return cli.readAllStandardOutput();
}

void Journey::Run(const std::function<void()>& steps) {
  if (!program_) {
    program_ = std::make_unique<DesktopProgram>(*state_);
    program_->Start();
  }
  std::atomic<bool> done{false};
  std::thread worker([&] {
    steps();
    done = true;
  });
  QEventLoop loop;
  QTimer poll;
  poll.setInterval(20);
  QObject::connect(&poll, &QTimer::timeout, &loop, [&] {
    if (!done) return;
    // The steps are over (or failed): anything modal they left up is closed
    // so that its loop gives way.
    if (QWidget* popup = QApplication::activePopupWidget()) {
      popup->close();
    } else if (QWidget* modal = QApplication::activeModalWidget()) {
      SetUnattended(true);
      modal->close();
    } else {
      loop.quit();
    }
  });
  poll.start();
  loop.exec();
  worker.join();
}

bool Journey::ProgramEnded() const { return ProgramEnding(); }

void Journey::Quit() {
  Key(QKeySequence::Quit);
  EXPECT_TRUE(WaitUntil([this] { return ProgramEnded(); })) << "the program did not end; active: "
                                                            << ActiveTitle().toStdString();
}

QWidget* Journey::Window(const QString& title) {
  QWidget* found = nullptr;
  for (QWidget* w : QApplication::topLevelWidgets()) {
    if (!w->isVisible() || !(TitleMatches(title, w->windowTitle()) || w->objectName() == title)) continue;
    if (found == nullptr || w == QApplication::activeWindow()) found = w;
  }
  return found;
}

QWidget* Journey::Control(const QString& title, const QString& control) {
  QWidget* window = Window(title);
  if (window == nullptr) return nullptr;
  if (window->objectName() == control) return window;
  QWidget* byText = nullptr;
  for (QWidget* w : window->findChildren<QWidget*>()) {
    if (w->objectName() == control) return w;
    if (byText == nullptr && w->isVisible() &&
        (qobject_cast<QAbstractButton*>(w) || qobject_cast<QLabel*>(w) || qobject_cast<QGroupBox*>(w)) &&
        VisibleText(w) == control) {
      byText = w;
    }
  }
  return byText;
}

bool Journey::WaitUntil(const std::function<bool()>& condition, int ms) {
  QElapsedTimer timer;
  timer.start();
  const qint64 limit = static_cast<qint64>(ms) * TimeoutFactor();
  for (;;) {
    if (Ask<bool>(condition)) return true;
    if (timer.elapsed() > limit) return false;
    QThread::msleep(20);
  }
}

bool Journey::WaitForWindow(const QString& title, int ms) {
  return WaitUntil([title] { return Window(title) != nullptr; }, ms);
}

bool Journey::WaitForClose(const QString& title, int ms) {
  return WaitUntil([title] { return Window(title) == nullptr; }, ms);
}

bool Journey::WaitForActive(const QString& title, int ms) {
  return WaitUntil(
      [title] {
        const QWidget* w = QApplication::activeWindow();
        return w != nullptr && (TitleMatches(title, w->windowTitle()) || w->objectName() == title);
      },
      ms);
}

void Journey::Key(const QKeySequence& keys) {
  ActivateForInput();
  for (int i = 0; i < keys.count(); ++i) {
    const QKeyCombination combination = keys[i];
    Deliver([combination] {
      if (QWidget* target = KeyTarget()) {
        QTest::keyClick(target, combination.key(), combination.keyboardModifiers());
      }
    });
    WaitUntil([] { return !ButtonAnimating(); }, 2000);
  }
}

void Journey::Key(QKeySequence::StandardKey key) {
  // The keys of the Linux desktops (the offscreen platform reports another
  // system's keyboard scheme).
  using K = QKeySequence;
  static const QHash<int, QString> kDesktopKeys = {
      {K::Cut, "Ctrl+X"},    {K::Copy, "Ctrl+C"},  {K::Paste, "Ctrl+V"}, {K::SelectAll, "Ctrl+A"},
      {K::Undo, "Ctrl+Z"},   {K::Redo, "Ctrl+Shift+Z"}, {K::Find, "Ctrl+F"}, {K::FindNext, "Ctrl+G"},
      {K::Save, "Ctrl+S"},   {K::SaveAs, "Ctrl+Shift+S"}, {K::Open, "Ctrl+O"}, {K::Print, "Ctrl+P"},
      {K::Close, "Ctrl+W"},  {K::Quit, "Ctrl+Q"},  {K::HelpContents, "F1"}, {K::Refresh, "F5"},
  };
  const auto found = kDesktopKeys.find(key);
  ASSERT_TRUE(found != kDesktopKeys.end()) << "no desktop key for standard key " << key;
  Key(QKeySequence(found.value()));
}

void Journey::Settle() {
  // The activation reaches the program through the event loop, and what it
  // does there (a timer of no delay) one turn later.
  for (int i = 0; i < 3; ++i) {
    QThread::msleep(20);
    OnMain([] { QCoreApplication::processEvents(); });
  }
}

void Journey::ActivateForInput() {
  bool activated = false;
  Deliver([&] { activated = ActivateLikeWindowManager(); });
  if (activated) Settle();
}

void Journey::Type(const QString& text) {
  ActivateForInput();
  Deliver([text] {
    if (QWidget* target = KeyTarget()) QTest::keyClicks(target, text);
  });
}

void Journey::Click(const QString& title, const QString& control, QPoint at) {
  ASSERT_TRUE(WaitUntil([&] { return Control(title, control) != nullptr; }))
      << "no control " << control.toStdString() << " in " << title.toStdString();
  // A click into a window makes it the active one, as window managers do;
  // what the program does on its activation comes before the click lands.
  bool activated = false;
  Deliver([&] {
    QWidget* w = Control(title, control);
    if (w && w->window() != QApplication::activeWindow() && QApplication::activeModalWidget() == nullptr) {
      w->window()->activateWindow();
      activated = true;
    }
  });
  if (activated) Settle();
  Deliver([title, control, at] {
    if (QWidget* w = Control(title, control)) QTest::mouseClick(w, Qt::LeftButton, {}, at.x() < 0 ? w->rect().center() : at);
  });
}

void Journey::DoubleClick(const QString& title, const QString& control, QPoint at) {
  ASSERT_TRUE(WaitUntil([&] { return Control(title, control) != nullptr; }))
      << "no control " << control.toStdString() << " in " << title.toStdString();
  Deliver([title, control, at] {
    if (QWidget* w = Control(title, control)) {
      const QPoint p = at.x() < 0 ? w->rect().center() : at;
      QTest::mouseClick(w, Qt::LeftButton, {}, p);
      QTest::mouseDClick(w, Qt::LeftButton, {}, p);
    }
  });
}

void Journey::Drag(const QString& title, const QString& control, QPoint from, QPoint to) {
  ASSERT_TRUE(WaitUntil([&] { return Control(title, control) != nullptr; }))
      << "no control " << control.toStdString() << " in " << title.toStdString();
  Deliver([title, control, from, to] {
    QWidget* w = Control(title, control);
    if (w == nullptr) return;
    QWidget* target = w->childAt(from) != nullptr ? w->childAt(from) : w;
    // The button stays with the widget it went down on, wherever the mouse goes.
    const QPoint start = w->mapToGlobal(from);
    const QPoint end = w->mapToGlobal(to);
    QTest::mousePress(target, Qt::LeftButton, {}, target->mapFromGlobal(start));
    QMouseEvent move(QEvent::MouseMove, QPointF(target->mapFromGlobal(end)), QPointF(end), Qt::NoButton,
                     Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(target, &move);
    QTest::mouseRelease(target, Qt::LeftButton, {}, target->mapFromGlobal(end));
  });
}

void Journey::CloseBox(const QString& title) {
  ASSERT_TRUE(WaitForWindow(title)) << title.toStdString();
  Deliver([title] {
    QWidget* w = Window(title);
    if (w == nullptr || w->windowHandle() == nullptr) return;
    QCloseEvent close;
    QCoreApplication::sendEvent(w->windowHandle(), &close);
  });
}

void Journey::Menu(const QString& title, const QStringList& path) {
  ASSERT_FALSE(path.isEmpty());
  ASSERT_TRUE(WaitForWindow(title)) << title.toStdString();
  const auto findAction = [](const QList<QAction*>& actions, const QString& text) -> QAction* {
    for (QAction* a : actions) {
      if (a->isVisible() && !a->isSeparator() && Plain(a->text()) == Plain(text)) return a;
    }
    return nullptr;
  };
  // The menu bar's entry.
  const bool opened = Ask<bool>([&] {
    QWidget* window = Window(title);
    auto* bar = window ? window->findChild<QMenuBar*>() : nullptr;
    QAction* action = bar ? findAction(bar->actions(), path.first()) : nullptr;
    if (action == nullptr) return false;
    const QPoint centre = bar->actionGeometry(action).center();
    QTimer::singleShot(0, bar, [bar, centre] { QTest::mouseClick(bar, Qt::LeftButton, {}, centre); });
    return true;
  });
  ASSERT_TRUE(opened) << "no menu " << path.first().toStdString() << " in " << title.toStdString();
  for (int i = 1; i < path.size(); ++i) {
    const QString item = path[i];
    ASSERT_TRUE(WaitUntil([&] {
      auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
      return menu && findAction(menu->actions(), item) && findAction(menu->actions(), item)->isEnabled();
    })) << "no enabled menu item " << item.toStdString();
    Deliver([&] {
      auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
      QAction* action = menu ? findAction(menu->actions(), item) : nullptr;
      if (action) QTest::mouseClick(menu, Qt::LeftButton, {}, menu->actionGeometry(action).center());
    });
  }
}

QString Journey::Text(const QString& title, const QString& control) {
  return Ask<QString>([&] {
    QWidget* w = Control(title, control);
    return w ? VisibleText(w) : QStringLiteral("<no control %1>").arg(control);
  });
}

bool Journey::Enabled(const QString& title, const QString& control) {
  return Ask<bool>([&] {
    QWidget* w = Control(title, control);
    return w && w->isEnabled();
  });
}

bool Journey::Visible(const QString& title, const QString& control) {
  return Ask<bool>([&] {
    QWidget* w = Control(title, control);
    return w && w->isVisible();
  });
}

bool Journey::Checked(const QString& title, const QString& control) {
  return Ask<bool>([&] {
    auto* b = qobject_cast<QAbstractButton*>(Control(title, control));
    return b && b->isChecked();
  });
}

QString Journey::FocusName() {
  return Ask<QString>([] {
    QWidget* w = QApplication::focusWidget();
    return w ? w->objectName() : QString();
  });
}

QString Journey::ActiveTitle() {
  return Ask<QString>([] {
    QWidget* w = QApplication::activeModalWidget() ? QApplication::activeModalWidget() : QApplication::activeWindow();
    return w ? w->windowTitle() : QString();
  });
}

QRect Journey::Geometry(const QString& title) {
  return Ask<QRect>([&] {
    QWidget* w = Window(title);
    return w ? w->frameGeometry() : QRect();
  });
}

QRect Journey::ControlGeometry(const QString& title, const QString& control) {
  return Ask<QRect>([&] {
    QWidget* w = Control(title, control);
    return w ? QRect(w->mapTo(w->window(), QPoint(0, 0)), w->size()) : QRect();
  });
}

void Journey::ResizeWindow(const QString& title, const QSize& size) {
  Deliver([title, size] {
    if (QWidget* w = Window(title)) w->resize(size);
  });
}

void Journey::OnProgramThread(const std::function<void()>& look) { OnMain(look); }

void Journey::Screenshot(const QString& title, const QString& fileName) {
  const QString folder = qEnvironmentVariable("MIROLAT_JOURNEY_SHOTS");
  if (folder.isEmpty()) return;
  OnMain([&] {
    if (QWidget* w = Window(title)) w->grab().save(QDir(folder).filePath(fileName));
  });
}

}  // namespace mirolat::journey
