#pragma once
// Journeys: the whole desktop program, started as main() starts it, driven only
// with keys and mouse clicks, and read back only from what a user sees.
//
// A journey's steps run on a thread of their own while the program's event
// loop runs on the main thread, so a step never waits inside a modal dialog's
// loop: every look at a window and every key or click is carried to the main
// thread, and input is delivered from the event loop a moment later, as the
// window system would deliver it.
#include <gtest/gtest.h>

#include <QByteArray>
#include <QKeySequence>
#include <QPoint>
#include <QRect>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <functional>
#include <memory>
#include <ostream>

class QWidget;

// Failures print texts as a user reads them.
inline void PrintTo(const QString& text, std::ostream* out) { *out << '"' << text.toStdString() << '"'; }

namespace mirolat {
struct AppState;
class DesktopProgram;
}  // namespace mirolat

namespace mirolat::journey {

class Journey : public ::testing::Test {
 protected:
  Journey();
  ~Journey() override;
  void SetUp() override;
  void TearDown() override;

  // The program's private folders and files.
  QString ConfigDir() const { return config_.path(); }
  QString LogDir() const { return logDir_; }
  // The log folder from now on: `relative` below the scratch folder, made here.
  void UseLogDir(const QString& relative);
  QString LogPath() const { return LogDir() + QStringLiteral("ModemLog.txt"); }
  QString ScratchDir() const { return scratch_.path() + QLatin1Char('/'); }
  static void WriteFile(const QString& path, const QByteArray& bytes);
  // One dial-up session in the log's own format on each day ("01-15-1998"),
  // dialling `number`, connected from 10:24:05 to 10:55:32.
  static QByteArray SessionLog(const QStringList& days, const QString& number = QStringLiteral("5551234"));
  static QByteArray ReadFile(const QString& path);
  // Runs mirolat-cli on the program's folders (setting up and checking the
  // store as a user would from a terminal); fails the journey on a non-zero exit.
  QByteArray Cli(const QStringList& args, const QByteArray& input = {});

  // Starts the desktop program, then runs `steps` on the journey's thread
  // until they return (the program goes on running until the journey ends it).
  void Run(const std::function<void()>& steps);
  // Leaves the program: the main window's Quit key, then waits for the end.
  void Quit();
  // True once the program ended (Quit, the main window closed).
  bool ProgramEnded() const;

  // --- Steps: call only from inside Run's function. ---
  // Waits (up to `ms`) until a visible top-level window has this title (a
  // title ending in '*' matches by its beginning; a window's object name, such
  // as "frmMain", names it whatever its title); false on timeout.
  bool WaitForWindow(const QString& title, int ms = 10000);
  bool WaitForClose(const QString& title, int ms = 10000);
  // Waits until the window is the active one (a window manager may take a
  // moment to activate a window that has just opened).
  bool WaitForActive(const QString& title, int ms = 10000);
  // Waits until `condition`, evaluated on the program's thread, holds.
  bool WaitUntil(const std::function<bool()>& condition, int ms = 10000);
  // Keys to the widget that has the keyboard focus (an open menu first, else
  // the focus widget of the active window), one key combination at a time.
  void Key(const QKeySequence& keys);
  // A standard key as the Linux desktops bind it (Close is Ctrl+W, Quit Ctrl+Q).
  void Key(QKeySequence::StandardKey key);
  void Type(const QString& text);
  // Focus on the control of window `title` found by object name or visible
  // text (without its '&'), by a mouse click on its middle (or at `at`).
  void Click(const QString& title, const QString& control, QPoint at = QPoint(-1, -1));
  void DoubleClick(const QString& title, const QString& control, QPoint at = QPoint(-1, -1));
  // Presses the left button at `from` on the control (on whichever child of it
  // lies there, as a mouse would: a size grip, a header), moves to `to` and
  // releases it there; both points in the control's coordinates.
  void Drag(const QString& title, const QString& control, QPoint from, QPoint to);
  // The close button of the window's title bar, as the window manager reports
  // a click on it.
  void CloseBox(const QString& title);
  // Opens a menu of the window's menu bar with a click and clicks an item of
  // it ("&File", "Save &As..."; '&' may be left out). A submenu path may follow.
  void Menu(const QString& title, const QStringList& path);
  // What a user sees of a control: its text (labels, boxes, buttons, the
  // current item of a list or combo box), whether it can be used, whether
  // it is shown, whether a check or radio button is checked.
  QString Text(const QString& title, const QString& control);
  bool Enabled(const QString& title, const QString& control);
  bool Visible(const QString& title, const QString& control);
  bool Checked(const QString& title, const QString& control);
  QString FocusName();  // object name of the focus widget
  QString ActiveTitle();
  QRect Geometry(const QString& title);
  // The control's place inside its window.
  QRect ControlGeometry(const QString& title, const QString& control);
  // What the window manager does when the user drags a window's border or
  // maximises it.
  void ResizeWindow(const QString& title, const QSize& size);
  // Any other look at the program's widgets, on its thread (read only).
  void OnProgramThread(const std::function<void()>& look);
  // Saves a picture of the window under $MIROLAT_JOURNEY_SHOTS (when set).
  void Screenshot(const QString& title, const QString& fileName);

  // The window's widget, for OnProgramThread looks; null when none.
  static QWidget* Window(const QString& title);
  static QWidget* Control(const QString& title, const QString& control);

 private:
  // Lets the program finish what a window's activation started.
  void Settle();
  // No window active (the one above closed): the one below becomes active.
  void ActivateForInput();

  QTemporaryDir config_, logs_, scratch_;
  QMetaObject::Connection activations_;  // the windows' activation order, as a window manager keeps it
  QString logDir_;
  std::unique_ptr<AppState> state_;
  std::unique_ptr<DesktopProgram> program_;
};

}  // namespace mirolat::journey
