#pragma once
// Reading and writing whole files, the error a call raises, what a long task
// shows, and the environment a test sets.
#include <gtest/gtest.h>

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QString>
#include <QStringList>

#include "core/common/errors.h"
#include "core/common/progress.h"

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

// The error `f` raises (a test failure and an Other error "<none>" when it
// raises none).
template <class F>
RunError ErrorOf(F&& f) {
  try {
    f();
  } catch (const RunError& e) {
    return e;
  }
  ADD_FAILURE() << "no error raised";
  return RunError(ErrorCondition::Other, QStringLiteral("<none>"));
}

// Keeps what a long task shows.
class RecordingProgress : public Progress {
 public:
  void SetStatus(const QString& text) override { statuses.append(text); }
  void SetPercent(int percent) override { percents.append(percent); }
  void Yield() override { ++yields; }
  QStringList statuses;
  QList<int> percents;
  int yields = 0;
};

// Sets an environment variable (a null value unsets it) while it lives, then
// puts the old value back.
class ScopedEnv {
 public:
  ScopedEnv(const char* name, const QString& value)
      : name_(name), had_(qEnvironmentVariableIsSet(name)), previous_(qgetenv(name)) {
    value.isNull() ? qunsetenv(name) : qputenv(name, QFile::encodeName(value));
  }
  ~ScopedEnv() { had_ ? qputenv(name_, previous_) : qunsetenv(name_); }
  ScopedEnv(const ScopedEnv&) = delete;
  ScopedEnv& operator=(const ScopedEnv&) = delete;

 private:
  const char* name_;
  bool had_;
  QByteArray previous_;
};

}  // namespace mirolat::test
