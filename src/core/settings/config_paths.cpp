#include "core/settings/config_paths.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

#include "core/common/errors.h"

namespace mirolat {

namespace {

QString EnvPath(const char* name) { return qEnvironmentVariable(name); }

// A folder that exists afterwards, or a RunError saying why not.
QString EnsureFolder(const QString& folder, const char* what) {
  const QFileInfo info(folder);
  if (info.isDir()) return folder;
  if (info.exists()) {
    throw RunError(ErrorCondition::PathFileAccess,
                   QStringLiteral("The %1 '%2' is a file, not a folder.").arg(QLatin1String(what), folder));
  }
  if (!QDir().mkpath(folder)) {
    throw RunError(ErrorCondition::PathFileAccess,
                   QStringLiteral("The %1 '%2' could not be created.").arg(QLatin1String(what), folder));
  }
  return folder;
}

QString HomeRelative(const char* xdgVariable, const char* fallback) {
  QString base = EnvPath(xdgVariable);
  if (base.isEmpty() || !QDir::isAbsolutePath(base)) base = QDir::homePath() + QLatin1String(fallback);
  return base;
}

}  // namespace

QString ConfigFolderPath() {
  const QString folder = EnvPath("MIROLAT_CONFIG_DIR");
  if (!folder.isEmpty()) return folder;
  return HomeRelative("XDG_CONFIG_HOME", "/.config") + QStringLiteral("/mirolat");
}

QString ConfigFolder() { return EnsureFolder(ConfigFolderPath(), "configuration folder"); }

QString LogDirectoryPath() {
  const QString winDir = EnvPath("WinDir");
  if (!winDir.isEmpty()) return winDir + QLatin1Char('/');
  return HomeRelative("XDG_DATA_HOME", "/.local/share") + QStringLiteral("/mirolat/");
}

QString LogDirectory() {
  const QString path = LogDirectoryPath();
  // $WinDir is taken as it is; the default folder is made when missing.
  if (!EnvPath("WinDir").isEmpty()) return path;
  return EnsureFolder(path.chopped(1), "log directory") + QLatin1Char('/');
}

QString ProgramFolder() {
  if (QCoreApplication::instance() != nullptr) return QCoreApplication::applicationDirPath();
  return QFileInfo(QStringLiteral("/proc/self/exe")).canonicalFilePath().section(QLatin1Char('/'), 0, -2);
}

QString FindDataPath(const QString& relativePath) {
  const QDir program(ProgramFolder());
  const QString beside = program.filePath(relativePath);
  if (QFileInfo::exists(beside)) return beside;
  const QString shared = QDir::cleanPath(program.filePath(QStringLiteral("../share/mirolat/") + relativePath));
  if (QFileInfo::exists(shared)) return shared;
  return beside;
}

QString HelpFilePath() { return FindDataPath(QStringLiteral("help/index.html")); }

}  // namespace mirolat
