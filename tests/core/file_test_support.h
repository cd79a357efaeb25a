#pragma once
// Reading and writing whole files, the error a call raises, what a long task
// shows, and the environment a test sets.
#include <gtest/gtest.h>

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QString>
#include <QStringList>
#include <algorithm>
#include <cerrno>
#include <deque>
#include <functional>
#include <vector>

#include "core/common/atomic_file.h"
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

// Answers each failure from a script, then with `otherwise`, and keeps the
// failures; `onReport` (when set) runs at each one.
class ScriptedReporter : public ErrorReporter {
 public:
  explicit ScriptedReporter(std::deque<ErrorAnswer> answers = {}, ErrorAnswer otherwise = ErrorAnswer::Continue)
      : answers_(std::move(answers)), otherwise_(otherwise) {}
  ErrorAnswer ReportError(const RunError& error) override {
    errors.push_back(error);
    if (onReport) onReport();
    if (answers_.empty()) return otherwise_;
    const ErrorAnswer a = answers_.front();
    answers_.pop_front();
    return a;
  }
  std::vector<ErrorCondition> Conditions() const {
    std::vector<ErrorCondition> out;
    for (const RunError& e : errors) out.push_back(e.condition());
    return out;
  }
  std::vector<RunError> errors;
  std::function<void()> onReport;

 private:
  std::deque<ErrorAnswer> answers_;
  ErrorAnswer otherwise_;
};

// The system's calls, with the calls of one kind failing with `err` (those
// that take a path only on a path holding `pathPart`) up to `times` times. A
// write budget lets that many bytes through first, as a full disk does.
enum class Call { Open, Write, Sync, Close, Link, Rename, RenameTo };

class FailingOps : public FileSystemOps {
 public:
  FailingOps(Call call, QByteArray pathPart, int err, long writeBudget = 0, int times = 1000)
      : call_(call), part_(std::move(pathPart)), err_(err), writeBudget_(writeBudget), times_(times) {}
  int Open(const QByteArray& path, int flags, int mode) override {
    return Hits(Call::Open, path) ? Fail() : FileSystemOps::Open(path, flags, mode);
  }
  long Write(int fd, const char* data, unsigned long size) override {
    if (call_ != Call::Write || times_ <= 0) return FileSystemOps::Write(fd, data, size);
    if (writeBudget_ <= 0) return Fail();
    const unsigned long n = std::min<unsigned long>(size, static_cast<unsigned long>(writeBudget_));
    writeBudget_ -= static_cast<long>(n);
    return FileSystemOps::Write(fd, data, n);
  }
  int Sync(int fd) override { return call_ == Call::Sync && times_ > 0 ? Fail() : FileSystemOps::Sync(fd); }
  int Close(int fd) override {
    const int r = FileSystemOps::Close(fd);
    return call_ == Call::Close && times_ > 0 ? Fail() : r;
  }
  int Link(const QByteArray& from, const QByteArray& to) override {
    return Hits(Call::Link, to) ? Fail() : FileSystemOps::Link(from, to);
  }
  int Rename(const QByteArray& from, const QByteArray& to) override {
    return Hits(Call::Rename, from) || Hits(Call::RenameTo, to) ? Fail() : FileSystemOps::Rename(from, to);
  }
  int failures = 0;

 private:
  bool Hits(Call call, const QByteArray& path) const { return call_ == call && times_ > 0 && path.contains(part_); }
  int Fail() {
    --times_;
    ++failures;
    errno = err_;
    return -1;
  }
  Call call_;
  QByteArray part_;
  int err_;
  long writeBudget_;
  int times_;
};

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
