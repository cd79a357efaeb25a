#pragma once
// The modem driver's device-class settings, kept under the settings store's
// machine root below "System\CurrentControlSet\Services\Class":
//   \Modem\nnnn  DriverDesc, AttachedTo, LoggingPath, Logging (byte), UserInit
//   \Ports\nnnn  DriverDesc, ConfigDialog (and the same three logging values)
// nnnn is the running number 0000, 0001, ...; an enumeration stops at the first
// number without a DriverDesc. Every read and write goes through the store's
// SettingsReadValue / SettingsWriteValue.
#include <QList>
#include <QString>
#include <QVariant>

#include "core/settings/settings_store.h"

namespace mirolat {

inline const QString kDeviceClassKey = QStringLiteral("System\\CurrentControlSet\\Services\\Class");

// The value names of a device-class entry.
inline const QString kDriverDesc = QStringLiteral("DriverDesc");
inline const QString kAttachedTo = QStringLiteral("AttachedTo");
inline const QString kConfigDialog = QStringLiteral("ConfigDialog");
inline const QString kLoggingPath = QStringLiteral("LoggingPath");
inline const QString kLogging = QStringLiteral("Logging");
inline const QString kUserInit = QStringLiteral("UserInit");

enum class DeviceClass { Modem, Ports };

// "\Modem\0003" or "\Ports\0003": a sub-key relative to the class key.
QString DeviceSubKey(DeviceClass deviceClass, int number);

// How the user is told of an entry: "modem entry 0003", "port entry 0003";
// the second form takes a sub-key ("\Ports\0003").
QString DeviceEntryText(DeviceClass deviceClass, int number);
QString DeviceEntryText(const QString& subKey);

// The modem class values as the wizard reads and writes them. A seam: tests
// make a write or a read fail by overriding ReadValue / WriteValue.
class ModemClassStore {
 public:
  explicit ModemClassStore(SettingsStore& store) : store_(store) {}
  virtual ~ModemClassStore() = default;
  ModemClassStore(const ModemClassStore&) = delete;
  ModemClassStore& operator=(const ModemClassStore&) = delete;

  // `subKey` is relative to the class key ("\Modem\0000").
  virtual SettingsValue ReadValue(const QString& subKey, const QString& name);
  virtual void WriteValue(const QString& subKey, const QString& name, const QVariant& value, ValueKind kind);
  virtual void CreateKey(const QString& subKey);

  // A text value; a number reads as its digits, an absent value as empty.
  QString ReadText(const QString& subKey, const QString& name);

  SettingsStore& Store() { return store_; }

 private:
  SettingsStore& store_;
};

// One entry of a device class as stored.
struct DeviceClassEntry {
  DeviceClass Class = DeviceClass::Modem;
  int Number = 0;           // nnnn
  QString DriverDesc;
  QString AttachedTo;       // modem class
  QString ConfigDialog;     // ports class
  QString LoggingPath;
  SettingsValue Logging;    // as stored (a byte, normally)
  QString UserInit;

  QString SubKey() const { return DeviceSubKey(Class, Number); }
};

// Every entry of a class, 0000 upwards, up to the first without a DriverDesc.
QList<DeviceClassEntry> ReadDeviceClass(ModemClassStore& store, DeviceClass deviceClass);

// What `modem add` and the serial-port detection register.
struct NewModemEntry {
  DeviceClass Class = DeviceClass::Modem;
  QString DriverDesc;
  QString AttachedTo;       // modem class only
  QString ConfigDialog;     // ports class only
  QString LoggingPath;      // empty: not written
  int Logging = -1;         // -1: not written, else written as a byte
  QString UserInit;         // empty: not written
};

// Adds the entry after the last one of its class (its number is returned).
// Values the entry leaves out are written empty over any left from an earlier
// entry of that number, so nothing of a removed modem comes back.
int AddDeviceEntry(ModemClassStore& store, const NewModemEntry& entry);

// Removes entry `number` of a class: the later entries move down one number
// and the last number's DriverDesc is emptied, which ends the enumeration
// there. False when there is no such entry.
bool RemoveDeviceEntry(ModemClassStore& store, DeviceClass deviceClass, int number);

// A serial port as the system lists it.
struct SerialDevice {
  QString PortName;        // ttyACM0
  QString SystemLocation;  // /dev/ttyACM0
  QString Description;     // the product text
  QString Manufacturer;
  QString SerialNumber;
  int VendorId = -1;       // -1: unknown
  int ProductId = -1;
};

// True for the ports that are USB or ACM modems (ttyUSBn, ttyACMn).
bool IsSerialModemPort(const SerialDevice& device);

// The modem entry a serial modem is registered as: its product text (else its
// maker's name, else "Serial Modem") on its device path.
NewModemEntry EntryForSerialDevice(const SerialDevice& device);

// Adds a modem entry for each serial modem among `devices` whose device path
// is not already a modem entry's port, and returns their descriptions. Only a
// user's request calls it (the wizard's detect step, `mirolat-cli modem
// detect`): a port never becomes a modem by merely being there.
QStringList RegisterSerialModems(ModemClassStore& store, const QList<SerialDevice>& devices);

// Lists the serial ports of the machine (the desktop program and the command
// line plug in the QtSerialPort lister; tests plug in their own).
class SerialPortLister {
 public:
  virtual ~SerialPortLister() = default;
  virtual QList<SerialDevice> Ports() = 0;
};

}  // namespace mirolat
