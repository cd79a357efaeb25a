#pragma once
// The per-user options of the budget alerts and the tray icon (application
// MRL, section Options): alerts on, the icon off until the user turns it on.
namespace mirolat {

class SettingsStore;

struct AlertOptions {
  bool ShowBudgetAlerts = true;
  bool ShowTrayIcon = false;
  bool operator==(const AlertOptions&) const = default;
};

// Absent or unreadable values take the defaults.
AlertOptions ReadAlertOptions(SettingsStore& store);
void WriteAlertOptions(SettingsStore& store, const AlertOptions& options);

}  // namespace mirolat
