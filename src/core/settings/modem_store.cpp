#include "core/settings/modem_store.h"

#include <QRegularExpression>

namespace mirolat {

namespace {

QString ClassName(DeviceClass c) { return c == DeviceClass::Modem ? QStringLiteral("Modem") : QStringLiteral("Ports"); }

// Writes one entry's values, each text value even when empty.
void WriteEntry(ModemClassStore& store, const QString& subKey, const DeviceClassEntry& e) {
  store.CreateKey(subKey);
  store.WriteValue(subKey, kDriverDesc, e.DriverDesc, ValueKind::Text);
  if (e.Class == DeviceClass::Modem) {
    store.WriteValue(subKey, kAttachedTo, e.AttachedTo, ValueKind::Text);
  } else {
    store.WriteValue(subKey, kConfigDialog, e.ConfigDialog, ValueKind::Text);
  }
  store.WriteValue(subKey, kLoggingPath, e.LoggingPath, ValueKind::Text);
  if (const auto* n = std::get_if<qint32>(&e.Logging)) {
    store.WriteValue(subKey, kLogging, *n, ValueKind::Byte);
  } else if (const auto* t = std::get_if<QString>(&e.Logging)) {
    store.WriteValue(subKey, kLogging, *t, ValueKind::Text);
  } else {
    store.WriteValue(subKey, kLogging, QString(), ValueKind::Text);
  }
  store.WriteValue(subKey, kUserInit, e.UserInit, ValueKind::Text);
}

}  // namespace

QString DeviceSubKey(DeviceClass deviceClass, int number) {
  return QStringLiteral("\\%1\\%2").arg(ClassName(deviceClass)).arg(number, 4, 10, QLatin1Char('0'));
}

QString DeviceEntryText(DeviceClass deviceClass, int number) {
  return QStringLiteral("%1 entry %2")
      .arg(deviceClass == DeviceClass::Modem ? QStringLiteral("modem") : QStringLiteral("port"))
      .arg(number, 4, 10, QLatin1Char('0'));
}

QString DeviceEntryText(const QString& subKey) {
  const QString kind = subKey.section(QLatin1Char('\\'), 1, 1);
  const QString number = subKey.section(QLatin1Char('\\'), 2, 2);
  return (kind.compare(QLatin1String("Ports"), Qt::CaseInsensitive) == 0 ? QStringLiteral("port entry ")
                                                                         : QStringLiteral("modem entry ")) +
         number;
}

SettingsValue ModemClassStore::ReadValue(const QString& subKey, const QString& name) {
  return store_.SettingsReadValue(Root::Machine, kDeviceClassKey + subKey, name);
}

void ModemClassStore::WriteValue(const QString& subKey, const QString& name, const QVariant& value, ValueKind kind) {
  store_.SettingsWriteValue(Root::Machine, kDeviceClassKey + subKey, name, value, static_cast<int>(kind));
}

void ModemClassStore::CreateKey(const QString& subKey) {
  store_.SettingsCreateKey(Root::Machine, kDeviceClassKey + subKey);
}

QString ModemClassStore::ReadText(const QString& subKey, const QString& name) {
  const SettingsValue v = ReadValue(subKey, name);
  if (const auto* t = std::get_if<QString>(&v)) return *t;
  if (const auto* n = std::get_if<qint32>(&v)) return QString::number(*n);
  return {};
}

QList<DeviceClassEntry> ReadDeviceClass(ModemClassStore& store, DeviceClass deviceClass) {
  QList<DeviceClassEntry> entries;
  for (int n = 0; n <= 9999; ++n) {
    DeviceClassEntry e;
    e.Class = deviceClass;
    e.Number = n;
    const QString key = e.SubKey();
    e.DriverDesc = store.ReadText(key, kDriverDesc);
    if (e.DriverDesc.isEmpty()) break;
    if (deviceClass == DeviceClass::Modem) {
      e.AttachedTo = store.ReadText(key, kAttachedTo);
    } else {
      e.ConfigDialog = store.ReadText(key, kConfigDialog);
    }
    e.LoggingPath = store.ReadText(key, kLoggingPath);
    e.Logging = store.ReadValue(key, kLogging);
    e.UserInit = store.ReadText(key, kUserInit);
    entries.append(e);
  }
  return entries;
}

int AddDeviceEntry(ModemClassStore& store, const NewModemEntry& entry) {
  SettingsStore::Transaction tx(store.Store());
  const int number = static_cast<int>(ReadDeviceClass(store, entry.Class).size());
  DeviceClassEntry e;
  e.Class = entry.Class;
  e.Number = number;
  e.DriverDesc = entry.DriverDesc;
  e.AttachedTo = entry.AttachedTo;
  e.ConfigDialog = entry.ConfigDialog;
  e.LoggingPath = entry.LoggingPath;
  if (entry.Logging >= 0) e.Logging = static_cast<qint32>(entry.Logging & 0xFF);
  e.UserInit = entry.UserInit;
  WriteEntry(store, e.SubKey(), e);
  tx.Commit();
  return number;
}

bool RemoveDeviceEntry(ModemClassStore& store, DeviceClass deviceClass, int number) {
  SettingsStore::Transaction tx(store.Store());
  const QList<DeviceClassEntry> entries = ReadDeviceClass(store, deviceClass);
  if (number < 0 || number >= entries.size()) return false;
  for (qsizetype i = number + 1; i < entries.size(); ++i) {
    DeviceClassEntry moved = entries[i];
    moved.Number = static_cast<int>(i - 1);
    WriteEntry(store, moved.SubKey(), moved);
  }
  store.WriteValue(DeviceSubKey(deviceClass, static_cast<int>(entries.size() - 1)), kDriverDesc, QString(),
                   ValueKind::Text);
  tx.Commit();
  return true;
}

bool IsSerialModemPort(const SerialDevice& device) {
  static const QRegularExpression modemPort(QStringLiteral("^tty(ACM|USB)[0-9]+$"));
  return modemPort.match(device.PortName).hasMatch();
}

NewModemEntry EntryForSerialDevice(const SerialDevice& device) {
  NewModemEntry e;
  e.Class = DeviceClass::Modem;
  e.DriverDesc = device.Description.trimmed();
  if (e.DriverDesc.isEmpty()) e.DriverDesc = device.Manufacturer.trimmed();
  if (e.DriverDesc.isEmpty()) e.DriverDesc = QStringLiteral("Serial Modem");
  e.AttachedTo = device.SystemLocation.isEmpty() ? device.PortName : device.SystemLocation;
  return e;
}

QStringList RegisterSerialModems(ModemClassStore& store, const QList<SerialDevice>& devices) {
  QStringList added;
  SettingsStore::Transaction tx(store.Store());
  QStringList ports;
  for (const DeviceClassEntry& e : ReadDeviceClass(store, DeviceClass::Modem)) ports.append(e.AttachedTo);
  for (const SerialDevice& device : devices) {
    if (!IsSerialModemPort(device)) continue;
    const NewModemEntry entry = EntryForSerialDevice(device);
    if (ports.contains(entry.AttachedTo)) continue;
    AddDeviceEntry(store, entry);
    ports.append(entry.AttachedTo);
    added.append(entry.DriverDesc + QStringLiteral(" on ") + entry.AttachedTo);
  }
  tx.Commit();
  return added;
}

}  // namespace mirolat
