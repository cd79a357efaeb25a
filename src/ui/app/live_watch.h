#pragma once
// What follows the log while the program runs, besides the main window: the
// budget alerts, given when a change to the log passes a budget's threshold,
// and the tray icon with the session in progress, refreshed on every change
// and every 30 seconds while a session is open. Both follow the per-user
// options (AlertOptions), read again after the options dialog's OK.
#include <QObject>
#include <QPointer>
#include <functional>

class QDateTime;
class QTimer;

namespace mirolat {

struct AppState;
class frmMain;
class TrayIcon;

class LiveWatch : public QObject {
  Q_OBJECT
 public:
  LiveWatch(AppState& state, frmMain& main, QObject* parent = nullptr);
  ~LiveWatch() override;

  // The tray icon, or null while the option is off.
  TrayIcon* Tray() const { return tray_; }
  // What "now" is (tests pin it).
  void SetClock(std::function<QDateTime()> now);

  // The options as stored now: the tray icon made or removed.
  void ApplyOptions();
  // The current log changed: alerts checked, the tray's status refreshed.
  void LogChanged();

 private:
  void CheckAlerts();
  void RefreshTray();

  AppState& state_;
  QPointer<frmMain> main_;
  TrayIcon* tray_ = nullptr;
  QTimer* timer_ = nullptr;
  std::function<QDateTime()> now_;
  bool alertsOn_ = true;
};

}  // namespace mirolat
