// mirolat-cli modem list|add|remove|detect: the modem entries of the device
// class keys that the desktop program's modem check and wizard look at.
#include <optional>

#include "cli/cli_context.h"
#include "cli/commands.h"
#include "core/app/modem_check.h"
#include "core/settings/modem_store.h"

namespace mirolat::cli {

namespace {

SerialPortLister* g_lister = nullptr;

const char* kModemUsage =
    "usage: mirolat-cli modem list\n"
    "       mirolat-cli modem add --name TEXT [--port PORT] [--logging-path FILE]\n"
    "                             [--logging on|off] [--init TEXT] [--ports --config-dialog TEXT]\n"
    "       mirolat-cli modem remove NUMBER [--ports]\n"
    "       mirolat-cli modem detect\n";

QString LoggingText(const SettingsValue& v) {
  if (IsEmptyValue(v)) return QStringLiteral("(not set)");
  if (const auto* n = std::get_if<qint32>(&v)) return *n != 0 ? QStringLiteral("on") : QStringLiteral("off");
  const QString t = std::get<QString>(v);
  return t.isEmpty() ? QStringLiteral("(not set)") : t;
}

QString OrNotSet(const QString& s) { return s.isEmpty() ? QStringLiteral("(not set)") : s; }

void PrintClass(QTextStream& out, const QList<DeviceClassEntry>& entries, DeviceClass c) {
  out << (c == DeviceClass::Modem ? "Modem entries:" : "Port entries:");
  if (entries.isEmpty()) {
    out << " none\n";
    return;
  }
  out << '\n';
  for (const DeviceClassEntry& e : entries) {
    out << "  " << QStringLiteral("%1").arg(e.Number, 4, 10, QLatin1Char('0')) << "  " << e.DriverDesc << '\n';
    if (c == DeviceClass::Modem) {
      out << "        Port: " << OrNotSet(e.AttachedTo) << '\n';
    } else {
      out << "        Config dialog: " << OrNotSet(e.ConfigDialog) << '\n';
    }
    out << "        Logging path: " << OrNotSet(e.LoggingPath) << '\n';
    out << "        Logging: " << LoggingText(e.Logging) << '\n';
    out << "        Init string: " << OrNotSet(e.UserInit) << '\n';
  }
}

// `store` is null when no settings are stored: then there is no entry.
int List(const QStringList& args, QTextStream& out, QTextStream& err, ModemClassStore* store) {
  if (!args.isEmpty()) {
    err << kModemUsage;
    return 2;
  }
  for (const DeviceClass c : {DeviceClass::Modem, DeviceClass::Ports}) {
    PrintClass(out, store != nullptr ? ReadDeviceClass(*store, c) : QList<DeviceClassEntry>{}, c);
  }
  const QList<ModemEntry> detected = store != nullptr ? DetectModems(*store) : QList<ModemEntry>{};
  out << "Checked at start-up:";
  if (detected.isEmpty()) out << " none";
  out << '\n';
  for (int i = 0; i < detected.size(); ++i) out << "  " << (i + 1) << ". " << detected[i].ListText() << '\n';
  return 0;
}

int Add(const QStringList& arguments, QTextStream& out, QTextStream& err, ModemClassStore& store) {
  QStringList args = arguments;
  NewModemEntry entry;
  const bool ports = args.removeAll(QStringLiteral("--ports")) > 0;
  entry.Class = ports ? DeviceClass::Ports : DeviceClass::Modem;
  bool missing[6] = {};
  entry.DriverDesc = TakeOption(args, QStringLiteral("--name"), &missing[0]);
  entry.AttachedTo = TakeOption(args, QStringLiteral("--port"), &missing[1]);
  entry.LoggingPath = TakeOption(args, QStringLiteral("--logging-path"), &missing[2]);
  const QString logging = TakeOption(args, QStringLiteral("--logging"), &missing[3]);
  entry.UserInit = TakeOption(args, QStringLiteral("--init"), &missing[4]);
  entry.ConfigDialog = TakeOption(args, QStringLiteral("--config-dialog"), &missing[5]);
  for (bool m : missing) {
    if (m) {
      err << "mirolat-cli modem add: an option lacks its value\n" << kModemUsage;
      return 2;
    }
  }
  if (!args.isEmpty()) {
    err << "mirolat-cli modem add: unexpected argument '" << args.first() << "'\n" << kModemUsage;
    return 2;
  }
  if (entry.DriverDesc.trimmed().isEmpty()) {
    err << "mirolat-cli modem add: --name is required\n" << kModemUsage;
    return 2;
  }
  if (ports && !entry.AttachedTo.isEmpty()) {
    err << "mirolat-cli modem add: a port entry has no --port; give --config-dialog\n";
    return 2;
  }
  if (!ports && !entry.ConfigDialog.isEmpty()) {
    err << "mirolat-cli modem add: --config-dialog belongs to a port entry (--ports)\n";
    return 2;
  }
  if (logging == QLatin1String("on") || logging == QLatin1String("1")) {
    entry.Logging = 1;
  } else if (logging == QLatin1String("off") || logging == QLatin1String("0")) {
    entry.Logging = 0;
  } else if (!logging.isEmpty()) {
    err << "mirolat-cli modem add: --logging is on or off, not '" << logging << "'\n";
    return 2;
  }
  const int number = AddDeviceEntry(store, entry);
  out << "Added " << DeviceEntryText(entry.Class, number) << ": " << entry.DriverDesc << '\n';
  return 0;
}

int Remove(const QStringList& arguments, QTextStream& out, QTextStream& err, ModemClassStore& store) {
  QStringList args = arguments;
  const bool ports = args.removeAll(QStringLiteral("--ports")) > 0;
  bool ok = false;
  const int number = args.size() == 1 ? args[0].toInt(&ok) : -1;
  if (!ok || number < 0) {
    err << "mirolat-cli modem remove: give the entry's number (as `modem list` shows it)\n" << kModemUsage;
    return 2;
  }
  const DeviceClass c = ports ? DeviceClass::Ports : DeviceClass::Modem;
  const QList<DeviceClassEntry> entries = ReadDeviceClass(store, c);
  if (number >= entries.size()) {
    err << "mirolat-cli modem remove: there is no " << DeviceEntryText(c, number) << '\n';
    return 1;
  }
  RemoveDeviceEntry(store, c, number);
  out << "Removed " << DeviceEntryText(c, number) << ": " << entries[number].DriverDesc << '\n';
  return 0;
}

int Detect(const QStringList& args, QTextStream& out, QTextStream& err, ModemClassStore& store) {
  if (!args.isEmpty()) {
    err << kModemUsage;
    return 2;
  }
  if (g_lister == nullptr) {
    err << "mirolat-cli modem detect: this build cannot list serial ports\n";
    return 1;
  }
  const QStringList added = RegisterSerialModems(store, g_lister->Ports());
  if (added.isEmpty()) out << "No new serial modem found.\n";
  for (const QString& a : added) out << "Added " << a << '\n';
  return 0;
}

}  // namespace

void SetSerialPortLister(SerialPortLister* lister) { g_lister = lister; }

const char* ModemHelp() {
  return "usage: mirolat-cli modem list\n"
         "       mirolat-cli modem add --name TEXT [--port PORT] [--logging-path FILE]\n"
         "                             [--logging on|off] [--init TEXT] [--ports --config-dialog TEXT]\n"
         "       mirolat-cli modem remove NUMBER [--ports]\n"
         "       mirolat-cli modem detect\n"
         "\n"
         "The modem entries the desktop program checks at start-up (when \"Run Config\n"
         "Wizard\" is on) and that its Modem Logging Wizard (Tools menu) changes. They\n"
         "are Mirolat's own modem settings, kept in its settings store: modem entries\n"
         "0000, 0001, ... and port entries (counted apart) whose configuration dialog\n"
         "is a modem's. Nothing of the system's own modem or serial setup is changed.\n"
         "\n"
         "  list              every entry with its port, log file path, logging flag and\n"
         "                    initialisation string, and the modems the check looks at\n"
         "  add               a new entry after the last one:\n"
         "      --name TEXT           the modem's description (DriverDesc)\n"
         "      --port PORT           the port it is attached to (AttachedTo), e.g. /dev/ttyACM0\n"
         "      --logging-path FILE   the file the driver logs to (LoggingPath)\n"
         "      --logging on|off      the driver's logging flag (Logging, a byte)\n"
         "      --init TEXT           the user initialisation string (UserInit), e.g. ATE1V1\n"
         "      --ports               a port entry instead of a modem entry\n"
         "      --config-dialog TEXT  the port entry's ConfigDialog (contains \"modem\" for a modem)\n"
         "  remove NUMBER     removes entry NUMBER (0 for 0000); later entries move down one\n"
         "      --ports               a port entry\n"
         "  detect            adds a modem entry for each USB or ACM serial modem of this\n"
         "                    machine (/dev/ttyUSBn, /dev/ttyACMn) that no entry has as its\n"
         "                    port; nothing is registered unless you ask (here or with the\n"
         "                    wizard's Detect Serial Modems)\n";
}

int CmdModem(const QStringList& args, QTextStream& out, QTextStream& err) {
  if (args.isEmpty()) {
    err << kModemUsage;
    return 2;
  }
  const QString sub = args[0];
  const QStringList rest = args.mid(1);
  CliContext context;
  const bool listing = sub == QLatin1String("list");
  if (!OpenCliContext(context, err, QString(), listing ? StoreUse::ReadOnly : StoreUse::Write)) return 1;
  std::optional<ModemClassStore> opened;
  if (context.Store) opened.emplace(*context.Store);
  try {
    if (listing) return List(rest, out, err, opened ? &*opened : nullptr);
    ModemClassStore& store = *opened;
    if (sub == QLatin1String("add")) return Add(rest, out, err, store);
    if (sub == QLatin1String("remove")) return Remove(rest, out, err, store);
    if (sub == QLatin1String("detect")) return Detect(rest, out, err, store);
  } catch (const RunError& e) {
    err << "mirolat-cli: " << e.description() << '\n';
    return 1;
  }
  err << "mirolat-cli modem: unknown subcommand '" << sub << "'\n" << kModemUsage;
  return 2;
}

}  // namespace mirolat::cli
