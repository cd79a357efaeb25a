#include "core/settings/alert_options.h"

#include "core/settings/settings_store.h"
#include "core/settings/user_options.h"

namespace mirolat {
namespace {

const QString kShowBudgetAlerts = QStringLiteral("Show Budget Alerts");
const QString kShowTrayIcon = QStringLiteral("Show Tray Icon");

bool ReadFlag(SettingsStore& store, const QString& key, bool defaultValue) {
  const QString text = store.GetSetting(QString::fromLatin1(kUserOptionsApp), QString::fromLatin1(kUserOptionsSection),
                                        key, QString());
  bool ok = false;
  const int value = text.trimmed().toInt(&ok);
  return ok ? value != 0 : defaultValue;
}

void WriteFlag(SettingsStore& store, const QString& key, bool value) {
  store.SaveSetting(QString::fromLatin1(kUserOptionsApp), QString::fromLatin1(kUserOptionsSection), key,
                    value ? QStringLiteral("1") : QStringLiteral("0"));
}

}  // namespace

AlertOptions ReadAlertOptions(SettingsStore& store) {
  AlertOptions options;
  options.ShowBudgetAlerts = ReadFlag(store, kShowBudgetAlerts, options.ShowBudgetAlerts);
  options.ShowTrayIcon = ReadFlag(store, kShowTrayIcon, options.ShowTrayIcon);
  return options;
}

void WriteAlertOptions(SettingsStore& store, const AlertOptions& options) {
  SettingsStore::Transaction tx(store);
  WriteFlag(store, kShowBudgetAlerts, options.ShowBudgetAlerts);
  WriteFlag(store, kShowTrayIcon, options.ShowTrayIcon);
  tx.Commit();
}

}  // namespace mirolat
