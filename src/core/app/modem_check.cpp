#include "core/app/modem_check.h"

#include <fcntl.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <cerrno>

#include "core/app/startup.h"

namespace mirolat {

namespace {

// A read whose failure counts as an empty value.
SettingsValue ReadOrEmpty(ModemClassStore& store, const QString& key, const QString& name) {
  try {
    return store.ReadValue(key, name);
  } catch (const RunError&) {
    return {};
  }
}

QString TextOf(const SettingsValue& v) {
  if (const auto* t = std::get_if<QString>(&v)) return *t;
  if (const auto* n = std::get_if<qint32>(&v)) return QString::number(*n);
  return {};
}

// The driver's Logging value is not 0 (a text counts by its leading number).
bool IsOn(const SettingsValue& v) {
  if (const auto* n = std::get_if<qint32>(&v)) return *n != 0;
  if (const auto* t = std::get_if<QString>(&v)) {
    bool ok = false;
    const double d = t->trimmed().toDouble(&ok);
    return ok && d != 0;
  }
  return false;
}

void EnumerateClass(ModemClassStore& store, DeviceClass deviceClass, QList<ModemEntry>& table) {
  for (int n = 0; n <= 9999 && table.size() < kMaxModems; ++n) {
    const QString key = DeviceSubKey(deviceClass, n);
    const QString desc = TextOf(ReadOrEmpty(store, key, kDriverDesc));
    if (desc.isEmpty()) return;
    ModemEntry e;
    e.Name = desc;
    e.KeyPath = key;
    if (deviceClass == DeviceClass::Modem) {
      if (desc.contains(QLatin1String("2 PCs"), Qt::CaseInsensitive)) continue;
      e.Port = TextOf(ReadOrEmpty(store, key, kAttachedTo));
    } else {
      const QString dialog = TextOf(ReadOrEmpty(store, key, kConfigDialog));
      if (!dialog.contains(QLatin1String("modem"), Qt::CaseInsensitive)) continue;
    }
    table.append(e);
  }
}

// Writes a value and reads it back: a store that silently kept the old value
// (a key that vanished, for instance) is a failure too.
void WriteChecked(ModemClassStore& store, const QString& key, const QString& name, const QVariant& value,
                  ValueKind kind) {
  store.WriteValue(key, name, value, kind);
  const SettingsValue back = store.ReadValue(key, name);
  const bool same = kind == ValueKind::Text ? TextOf(back) == value.toString() && !IsEmptyValue(back)
                                            : std::holds_alternative<qint32>(back) &&
                                                  std::get<qint32>(back) == (value.toInt() & (kind == ValueKind::Byte
                                                                                                  ? 0xFF
                                                                                                  : ~0));
  if (!same) {
    throw RunError(ErrorCondition::Other,
                   QStringLiteral("The setting %1 of %2 could not be written.").arg(name, DeviceEntryText(key)));
  }
}

void CreateEmptyFile(const QString& path) {
  const QByteArray native = QFile::encodeName(path);
  const int fd = ::open(native.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
  if (fd < 0) {
    if (errno == EEXIST) return;
    throw FileErrorFromErrno(errno, QStringLiteral("Cannot create the modem log"), path);
  }
  if (::fsync(fd) != 0) {
    const int err = errno;
    ::close(fd);
    throw FileErrorFromErrno(err, QStringLiteral("Cannot create the modem log"), path);
  }
  ::close(fd);
}

}  // namespace

QString ModemEntry::ListText() const { return Port.isEmpty() ? Name : Name + QStringLiteral(" on ") + Port; }

QList<ModemEntry> DetectModems(ModemClassStore& store) {
  QList<ModemEntry> table;
  EnumerateClass(store, DeviceClass::Modem, table);
  EnumerateClass(store, DeviceClass::Ports, table);
  return table;
}

void CheckModem(ModemClassStore& store, ModemCheck& check, int n) {
  if (n < 1 || n > check.ModemCount()) {
    check.ModemConfigured = false;
    return;
  }
  ModemEntry& e = check.ModemTable[n - 1];
  e.LoggingPath = TextOf(ReadOrEmpty(store, e.KeyPath, kLoggingPath));
  e.LoggingOn = IsOn(ReadOrEmpty(store, e.KeyPath, kLogging));
  e.UserInit = TextOf(ReadOrEmpty(store, e.KeyPath, kUserInit));
  e.EchoOn = e.UserInit.toUpper().contains(QLatin1String("E1"));
  if (!e.ReadyForLogging()) check.ModemConfigured = false;
}

bool CheckModemConfiguration(ModemClassStore& store, ModemCheck& check, Progress& progress) {
  check.ModemConfigured = false;
  progress.SetStatus(QStringLiteral("Checking Modem Configuration"));
  check.ModemTable = DetectModems(store);
  if (check.ModemTable.isEmpty()) return false;

  check.ModemConfigured = true;
  // A preferred modem that is not among those detected now counts as none.
  if (check.PreferredModem < 1 || check.PreferredModem > check.ModemCount()) check.PreferredModem = 0;
  if (check.PreferredModem != 0) {
    CheckModem(store, check, check.PreferredModem);
    if (check.ModemConfigured) {
      check.DefaultLogFileName = LogFileNameFromLoggingPath(check.ModemTable[check.PreferredModem - 1].LoggingPath,
                                                            check.WindowsDir, check.DefaultLogFileName);
      return false;
    }
  } else {
    for (int n = 1; n <= check.ModemCount(); ++n) CheckModem(store, check, n);
    if (check.ModemConfigured) {
      check.DefaultLogFileName =
          LogFileNameFromLoggingPath(check.ModemTable[0].LoggingPath, check.WindowsDir, check.DefaultLogFileName);
      return false;
    }
  }
  return true;
}

bool LoggingPathInFolder(const QString& loggingPath, const QString& windowsDir) {
  if (loggingPath.isEmpty() || windowsDir.isEmpty()) return false;
  const QFileInfo file(loggingPath);
  if (!file.isAbsolute() || file.fileName().isEmpty()) return false;
  return QDir::cleanPath(file.absolutePath()) == QDir::cleanPath(windowsDir);
}

QString LogFileNameFromLoggingPath(const QString& loggingPath, const QString& windowsDir, const QString& current) {
  if (!LoggingPathInFolder(loggingPath, windowsDir)) return current;
  return QFileInfo(loggingPath).fileName();
}

QString EchoOnInitString(const QString& userInit) {
  const qsizetype at = userInit.indexOf(QLatin1String("E0"), 0, Qt::CaseInsensitive);
  if (at >= 0) {
    QString s = userInit;
    s[at + 1] = QLatin1Char('1');
    return s;
  }
  return userInit + QStringLiteral("E1");
}

FinishOutcome ApplyModemChanges(ModemClassStore& store, ModemCheck& check, int selected, ErrorReporter& reporter) {
  FinishOutcome outcome;
  if (selected < 1 || selected > check.ModemCount()) {
    outcome.Failures.append(QStringLiteral("No modem was selected."));
    return outcome;
  }
  ModemEntry& modem = check.ModemTable[selected - 1];
  const QString key = modem.KeyPath;
  auto step = [&](const QString& what, auto&& action) {
    if (!RunStep(reporter, action)) outcome.Failures.append(what);
  };

  // 1. The log file: the driver writes it in the log folder.
  QString logPath = modem.LoggingPath;
  if (!LoggingPathInFolder(logPath, check.WindowsDir)) {
    const QString wanted = check.WindowsDir + check.DefaultLogFileName;
    step(QStringLiteral("The log file path (LoggingPath) could not be set to %1.").arg(wanted), [&] {
      WriteChecked(store, key, kLoggingPath, wanted, ValueKind::Text);
      modem.LoggingPath = wanted;
    });
    logPath = wanted;
  }
  if (!QFileInfo::exists(logPath)) {
    step(QStringLiteral("The log file %1 could not be created.").arg(logPath), [&] {
      CreateEmptyFile(logPath);
      outcome.LogFileCreated = true;
    });
  }
  if (outcome.Failures.isEmpty()) {
    check.DefaultLogFileName = LogFileNameFromLoggingPath(logPath, check.WindowsDir, check.DefaultLogFileName);
  }

  // 2. Logging on, as a single byte.
  if (!modem.LoggingOn) {
    step(QStringLiteral("Logging could not be switched on."), [&] {
      WriteChecked(store, key, kLogging, 1, ValueKind::Byte);
      modem.LoggingOn = true;
    });
  }

  // 3. Echo on, keeping the rest of the initialisation string.
  if (!modem.EchoOn) {
    const QString init = EchoOnInitString(modem.UserInit);
    step(QStringLiteral("The initialisation string (UserInit) could not be set to %1.").arg(init), [&] {
      WriteChecked(store, key, kUserInit, init, ValueKind::Text);
      modem.UserInit = init;
      modem.EchoOn = true;
    });
  }

  // 4. Only a modem whose changes were all made becomes the preferred one.
  if (outcome.Succeeded()) {
    step(QStringLiteral("The preferred modem could not be saved."), [&] {
      store.Store().SaveSetting(QLatin1String(kOptionsAppName), QLatin1String(kOptionsSectionName),
                                QStringLiteral("Preferred Modem"), QString::number(selected));
    });
  }
  if (outcome.Succeeded()) {
    check.PreferredModem = selected;
    check.ModemConfigured = true;
  }
  return outcome;
}

QString FinishedPageText(const FinishOutcome& outcome) {
  if (!outcome.Succeeded()) {
    return QStringLiteral("T H E   W I Z A R D   C O U L D   N O T   F I N I S H .\n\n") +
           QStringLiteral("These changes to your modem settings could not be made:\n") +
           outcome.Failures.join(QLatin1Char('\n')) +
           QStringLiteral("\n\nMRL will check your settings again the next time you start."
                          "\n\nClick the 'OK' button to continue.");
  }
  QString text = QStringLiteral(
      "C O N G R A T U L A T I O N S .\n\nYou have finished configuring Mirolat's modem settings.\n\n");
  if (outcome.LogFileCreated) {
    text += QStringLiteral(
        "A new empty modem log file has been created for you. Reports will not be available until after your next "
        "dial-up session.");
  } else {
    text += QStringLiteral(
        "MRL will check your settings each time you start but you will not see this wizard again unless your "
        "system changes. You can disable this start check by unchecking the option below.");
  }
  text += QStringLiteral("\n\nClick the 'OK' button to continue.");
  return text;
}

void SaveRunConfigWizard(SettingsStore& store, bool on) {
  store.SaveSetting(QLatin1String(kOptionsAppName), QLatin1String(kOptionsSectionName),
                    QStringLiteral("Run Config Wizard"), on ? QStringLiteral("1") : QStringLiteral("0"));
}

}  // namespace mirolat
