#pragma once
// Desktop notifications: the freedesktop notification service on the session
// bus (org.freedesktop.Notifications), else a balloon of the tray icon when
// there is one. Tests record the notifications instead of showing them.
#include <QList>
#include <QString>
#include <functional>

class QSystemTrayIcon;

namespace mirolat {

struct Notification {
  QString Title;
  QString Text;
  bool Critical = false;  // a limit passed, rather than a warning
  bool operator==(const Notification&) const = default;
};

class Notifier {
 public:
  // Shows `notification` on the desktop. `trayIcon` (may be null) gives the
  // balloon when the desktop has no notification service. Returns how it
  // went out: "dbus", "tray", "recorded" or "" when it could not be shown.
  static QString Show(const Notification& notification, QSystemTrayIcon* trayIcon = nullptr);

  // Test seam: while recording, notifications are kept here and not shown.
  static void setRecording(bool on);
  static const QList<Notification>& recorded();
  static void clearRecorded();

  // The session bus service's name ("org.freedesktop.Notifications"); tests
  // point it at a fake service of their own.
  static void setServiceName(const QString& name);
};

}  // namespace mirolat
