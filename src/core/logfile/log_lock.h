#pragma once
// One writer at a time for a log: every command and window that changes a log
// (optimize, purge, repair, clear, the viewer's save, the pppd import) holds
// an exclusive advisory lock (flock) on a lock file beside it for the whole
// read-modify-replace. The lock file (.NAME.lock, hidden, beside the file a
// link at the log's path points to) outlives every rename of the log, so the
// lock is never lost with the file it guards. Readers (reports, scans) take no
// lock: they already fail cleanly when the file changes under them.
//
// A second writer waits a bounded time, saying why, and then gives up with a
// RunError, having touched nothing. Once it holds the lock it removes the work
// files that killed runs left beside the log (its owner's, older than the
// lock) and says so. A backup's second name left by a run killed between
// its two renames holds the file as it was before that run: it is put in
// place as the backup.
#include <QString>
#include <QStringList>
#include <chrono>

namespace mirolat {

class Progress;

inline constexpr const char* kLogBusyText = "another Mirolat command is changing the log";

class LogWriteLock {
 public:
  // Takes the lock of the log at `logPath`, waiting at most `wait` (the
  // default: MIROLAT_LOCK_WAIT seconds from the environment, else 10 s). The
  // waiting message and the removed work files are told to `progress`.
  explicit LogWriteLock(const QString& logPath, Progress* progress = nullptr);
  LogWriteLock(const QString& logPath, std::chrono::milliseconds wait, Progress* progress = nullptr);
  ~LogWriteLock();
  LogWriteLock(const LogWriteLock&) = delete;
  LogWriteLock& operator=(const LogWriteLock&) = delete;

  const QString& LockPath() const { return lockPath_; }
  // The work files of interrupted runs removed when the lock was taken.
  const QStringList& RemovedWorkFiles() const { return removed_; }
  // The backups an interrupted run had made and this lock put in place.
  const QStringList& RestoredBackups() const { return restored_; }

  static std::chrono::milliseconds DefaultWait();

 private:
  void RemoveStaleWorkFiles(const QString& logPath, qint64 lockTakenNs);

  QString lockPath_;
  int fd_ = -1;
  QStringList removed_;
  QStringList restored_;
};

// A work file a rewrite of a log makes beside it: NAME.new-PID-XXXXXX,
// ModemLog.opt-PID-XXXXXX, the backup's second name ModemLog.old.bak-PID-XXXXXX,
// and the PID-only names of earlier versions.
struct LogWorkFileName {
  bool Matches = false;
  QString Base;  // the file it was made for (ModemLog.old for a .bak-)
  QString Tag;   // new, bak, prev, opt, pge or fx2
  qint64 Pid = 0;
};
LogWorkFileName ParseLogWorkFileName(const QString& fileName, const QString& logFileName);

}  // namespace mirolat
