#pragma once
// Reading and writing whole files in tests of the code that writes files.
#include <gtest/gtest.h>

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QString>
#include <QStringList>

namespace mirolat::test {

// The file's bytes, or "<missing>" when it cannot be read.
inline QByteArray ReadAll(const QString& path) {
  QFile f(path);
  if (!f.open(QIODevice::ReadOnly)) return QByteArray("<missing>");
  return f.readAll();
}

// Puts exactly `bytes` in the file (a test assertion fails otherwise).
inline void WriteRaw(const QString& path, const QByteArray& bytes) {
  QFile f(path);
  ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate)) << path.toStdString();
  ASSERT_EQ(f.write(bytes), bytes.size());
}

// The files of a folder by name, hidden work files included, the lock files
// of the log writers left out (they stay beside a log for good).
inline QStringList FilesIn(const QString& folder) {
  QStringList names = QDir(folder).entryList(QDir::Files | QDir::Hidden | QDir::System, QDir::Name);
  names.removeIf([](const QString& name) { return name.startsWith(QLatin1Char('.')) && name.endsWith(".lock"); });
  return names;
}

}  // namespace mirolat::test
