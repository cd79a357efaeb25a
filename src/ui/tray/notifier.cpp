#include "ui/tray/notifier.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QSystemTrayIcon>
#include <QVariantMap>

namespace mirolat {
namespace {

struct NotifierState {
  bool recording = false;
  QList<Notification> recorded;
  QString service = QStringLiteral("org.freedesktop.Notifications");
};

NotifierState& State() {
  static NotifierState state;
  return state;
}

// org.freedesktop.Notifications.Notify(app_name, replaces_id, app_icon,
// summary, body, actions, hints, expire_timeout); no answer is waited for.
bool SendOverDBus(const Notification& n) {
  QDBusConnection bus = QDBusConnection::sessionBus();
  if (!bus.isConnected() || bus.interface() == nullptr) return false;
  const QString service = State().service;
  // A notification daemon may be started by the bus on the first call.
  QDBusConnectionInterface* names = bus.interface();
  if (!names->isServiceRegistered(service).value() && !names->activatableServiceNames().value().contains(service)) {
    return false;
  }
  QDBusMessage call = QDBusMessage::createMethodCall(service, QStringLiteral("/org/freedesktop/Notifications"),
                                                     QStringLiteral("org.freedesktop.Notifications"),
                                                     QStringLiteral("Notify"));
  QVariantMap hints;
  hints.insert(QStringLiteral("urgency"), QVariant::fromValue<uchar>(n.Critical ? 2 : 1));
  hints.insert(QStringLiteral("desktop-entry"), QStringLiteral("mirolat"));
  call << QStringLiteral("Mirolat") << 0u << QStringLiteral("dialog-warning") << n.Title << n.Text << QStringList()
       << hints << -1;
  return bus.send(call);
}

}  // namespace

QString Notifier::Show(const Notification& notification, QSystemTrayIcon* trayIcon) {
  NotifierState& state = State();
  if (state.recording) {
    state.recorded.append(notification);
    return QStringLiteral("recorded");
  }
  if (SendOverDBus(notification)) return QStringLiteral("dbus");
  if (trayIcon != nullptr && trayIcon->isVisible() && QSystemTrayIcon::supportsMessages()) {
    trayIcon->showMessage(notification.Title, notification.Text,
                          notification.Critical ? QSystemTrayIcon::Critical : QSystemTrayIcon::Warning);
    return QStringLiteral("tray");
  }
  return QString();
}

void Notifier::setRecording(bool on) { State().recording = on; }
const QList<Notification>& Notifier::recorded() { return State().recorded; }
void Notifier::clearRecorded() { State().recorded.clear(); }
void Notifier::setServiceName(const QString& name) { State().service = name; }

}  // namespace mirolat
