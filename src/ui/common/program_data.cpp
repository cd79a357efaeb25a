#include "common/program_data.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

namespace mirolat {

QString ProgramDataPath(const QString& name) {
  const QDir exeDir(QCoreApplication::applicationDirPath());
  const QString beside = exeDir.filePath(name);
  if (QFileInfo::exists(beside)) return beside;
  const QString shared = QDir::cleanPath(exeDir.filePath(QStringLiteral("../share/mirolat/") + name));
  if (QFileInfo::exists(shared)) return shared;
  return beside;
}

}  // namespace mirolat
