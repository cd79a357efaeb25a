#include "core/logfile/log_lock.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QThread>
#include <QElapsedTimer>
#include <cerrno>
#include <limits>
#include <csignal>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include "core/common/errors.h"
#include "core/common/progress.h"

namespace mirolat {

namespace {

QByteArray Native(const QString& path) { return QFile::encodeName(path); }

qint64 ModifiedNs(const struct stat& st) {
  return static_cast<qint64>(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec;
}

qint64 NowNs() {
  struct timespec ts {};
  ::clock_gettime(CLOCK_REALTIME, &ts);
  return static_cast<qint64>(ts.tv_sec) * 1000000000 + ts.tv_nsec;
}

// The file the lock guards: where a link at the log's path points.
QString GuardedPath(const QString& logPath) {
  const QFileInfo info(logPath);
  if (info.isSymLink()) {
    const QString resolved = info.canonicalFilePath();
    if (!resolved.isEmpty()) return resolved;
  }
  return info.absoluteFilePath();
}

bool ProcessRuns(qint64 pid) {
  if (pid <= 0 || pid > std::numeric_limits<pid_t>::max()) return false;
  return ::kill(static_cast<pid_t>(pid), 0) == 0 || errno == EPERM;
}

}  // namespace

std::chrono::milliseconds LogWriteLock::DefaultWait() {
  bool ok = false;
  const double seconds = qEnvironmentVariable("MIROLAT_LOCK_WAIT").toDouble(&ok);
  if (ok && seconds >= 0 && seconds <= 3600) return std::chrono::milliseconds(static_cast<qint64>(seconds * 1000));
  return std::chrono::seconds(10);
}

LogWriteLock::LogWriteLock(const QString& logPath, Progress* progress)
    : LogWriteLock(logPath, DefaultWait(), progress) {}

LogWriteLock::LogWriteLock(const QString& logPath, std::chrono::milliseconds wait, Progress* progress) {
  const QString guarded = GuardedPath(logPath);
  const QFileInfo info(guarded);
  lockPath_ = info.absolutePath() + QStringLiteral("/.") + info.fileName() + QStringLiteral(".lock");
  fd_ = ::open(Native(lockPath_).constData(), O_RDWR | O_CREAT | O_NOFOLLOW | O_CLOEXEC, 0600);
  if (fd_ < 0) throw FileErrorFromErrno(errno, QStringLiteral("lock"), guarded);
  QElapsedTimer waited;
  waited.start();
  bool told = false;
  while (::flock(fd_, LOCK_EX | LOCK_NB) != 0) {
    const int err = errno;
    if (err != EWOULDBLOCK && err != EINTR) {
      ::close(fd_);
      fd_ = -1;
      throw FileErrorFromErrno(err, QStringLiteral("lock"), lockPath_);
    }
    if (waited.elapsed() >= wait.count()) {
      ::close(fd_);
      fd_ = -1;
      const QString busy = QLatin1String(kLogBusyText);
      throw RunError(ErrorCondition::FileLocked,
                     QStringLiteral("%1 (%2); nothing was changed. Try again when it has finished.")
                         .arg(busy.left(1).toUpper() + busy.mid(1), guarded));
    }
    if (!told && progress != nullptr) {
      progress->Notice(QStringLiteral("Waiting: %1 (%2)").arg(QLatin1String(kLogBusyText), guarded));
      told = true;
    }
    if (progress != nullptr) progress->Yield();
    QThread::msleep(50);
  }
  RemoveStaleWorkFiles(guarded, NowNs());
  if (logPath != guarded) RemoveStaleWorkFiles(QFileInfo(logPath).absoluteFilePath(), NowNs());
  if (progress != nullptr && !removed_.isEmpty()) {
    progress->Notice(QStringLiteral("Removed %1 work file(s) left by an interrupted run: %2")
                         .arg(removed_.size())
                         .arg(removed_.join(QStringLiteral(", "))));
  }
  if (progress != nullptr && !restored_.isEmpty()) {
    progress->Notice(QStringLiteral("Put in place the backup an interrupted run had made: %1")
                         .arg(restored_.join(QStringLiteral(", "))));
  }
}

LogWriteLock::~LogWriteLock() {
  if (fd_ >= 0) ::close(fd_);  // closing the descriptor lets the lock go
}

LogWorkFileName ParseLogWorkFileName(const QString& fileName, const QString& logFileName) {
  static const QRegularExpression kWork(QStringLiteral(
      R"(^(.+)\.(new|bak|prev)-(\d{1,10})(?:-[A-Za-z0-9]{6})?$|^(ModemLog\.(opt|pge|fx2))-(\d{1,10})-[A-Za-z0-9]{6}$)"));
  LogWorkFileName name;
  const QRegularExpressionMatch m = kWork.match(fileName);
  if (!m.hasMatch()) return name;
  if (m.capturedLength(1) > 0) {
    name.Base = m.captured(1);
    name.Tag = m.captured(2);
    name.Pid = m.captured(3).toLongLong();
    // Only the names made for this log, its backups and the repair's files.
    name.Matches = name.Base == logFileName || name.Base.startsWith(QStringLiteral("ModemLog")) ||
                   name.Base.startsWith(QFileInfo(logFileName).completeBaseName() + QLatin1Char('.'));
  } else {
    name.Base = m.captured(4);
    name.Tag = m.captured(5);
    name.Pid = m.captured(6).toLongLong();
    name.Matches = true;
  }
  return name;
}

void LogWriteLock::RemoveStaleWorkFiles(const QString& logPath, qint64 lockTakenNs) {
  const QFileInfo log(logPath);
  const QDir folder = log.absoluteDir();
  struct stat logStat {};
  const bool logThere = ::stat(Native(logPath).constData(), &logStat) == 0;
  const QStringList names = folder.entryList(QDir::Files | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
  for (const QString& fileName : names) {
    const LogWorkFileName name = ParseLogWorkFileName(fileName, log.fileName());
    if (!name.Matches) continue;
    const QString path = folder.absoluteFilePath(fileName);
    struct stat st {};
    if (::lstat(Native(path).constData(), &st) != 0) continue;
    // Only our own files, made before we held the lock, by a run that is gone.
    if (st.st_uid != ::geteuid() || !(S_ISREG(st.st_mode) || S_ISLNK(st.st_mode))) continue;
    if (ModifiedNs(st) >= lockTakenNs) continue;
    if (name.Pid != ::getpid() && ProcessRuns(name.Pid)) continue;
    if (name.Tag == QLatin1String("bak") && S_ISREG(st.st_mode) &&
        !(logThere && st.st_ino == logStat.st_ino && st.st_dev == logStat.st_dev)) {
      // The file as it was before an interrupted rewrite, no longer the log.
      // (Every writer clears these first, so it is newer than the backup.)
      const QString backup = folder.absoluteFilePath(name.Base);
      if (::rename(Native(path).constData(), Native(backup).constData()) == 0) {
        restored_ << name.Base;
        continue;
      }
    }
    if (::unlink(Native(path).constData()) == 0) removed_ << fileName;
  }
}

}  // namespace mirolat
