#include "core/common/atomic_file.h"

#include <QDir>
#include <QFileInfo>
#include <QRandomGenerator>
#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "core/common/errors.h"

namespace mirolat {

namespace {

constexpr qsizetype kBufferSize = 1 << 16;

QByteArray Native(const QString& path) { return QFile::encodeName(path); }

QString RandomTag() {
  static constexpr char kChars[] = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
  QString tag;
  for (int i = 0; i < 6; ++i) tag += QLatin1Char(kChars[QRandomGenerator::global()->bounded(62)]);
  return tag;
}

// The mask new files get: read from /proc, where reading it does not change
// it for the other threads as umask() would.
mode_t ProcessUmask() {
  QFile status(QStringLiteral("/proc/self/status"));
  if (status.open(QIODevice::ReadOnly)) {
    for (const QByteArray& line : status.readAll().split('\n')) {
      if (!line.startsWith("Umask:")) continue;
      bool ok = false;
      const uint mask = line.mid(6).trimmed().toUInt(&ok, 8);
      if (ok) return static_cast<mode_t>(mask & 0777);
    }
  }
  return 022;
}

const char* KindOf(mode_t mode) {
  if (S_ISDIR(mode)) return "a folder";
  if (S_ISFIFO(mode)) return "a FIFO";
  if (S_ISCHR(mode)) return "a character device";
  if (S_ISBLK(mode)) return "a block device";
  if (S_ISSOCK(mode)) return "a socket";
  return "a special file";
}

// Makes the rename of an entry of `folder` durable. A folder that cannot be
// opened or synced (some file systems refuse) costs durability, not data.
void SyncFolder(const QString& folder) {
  const int fd = ::open(Native(folder).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return;
  ::fsync(fd);
  ::close(fd);
}

}  // namespace

QString ReplaceablePath(const QString& path) {
  struct stat st {};
  if (::lstat(Native(path).constData(), &st) != 0) return path;  // nothing there (or the open says why)
  if (S_ISREG(st.st_mode)) return path;
  if (S_ISLNK(st.st_mode)) {
    const QString pointsTo = QFileInfo(path).symLinkTarget();
    struct stat target {};
    if (::stat(Native(path).constData(), &target) != 0) {
      throw RunError(ErrorCondition::BadFileName,
                     QStringLiteral("'%1' is a link to '%2', which does not exist").arg(path, pointsTo));
    }
    if (!S_ISREG(target.st_mode)) {
      throw RunError(ErrorCondition::BadFileName,
                     QStringLiteral("'%1' is a link to '%2', which is %3, not a regular file")
                         .arg(path, pointsTo, QLatin1String(KindOf(target.st_mode))));
    }
    return QFileInfo(path).canonicalFilePath();
  }
  throw RunError(ErrorCondition::BadFileName, QStringLiteral("'%1' is %2, not a regular file")
                                                  .arg(path, QLatin1String(KindOf(st.st_mode))));
}

QString UniqueWorkPath(const QString& target, const QString& tag) {
  return QStringLiteral("%1.%2-%3-%4").arg(target, tag).arg(::getpid()).arg(RandomTag());
}

int CreateExclusive(FileSystemOps& ops, const QString& path) {
  return ops.Open(Native(path), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW, 0600);
}

int FileSystemOps::Open(const QByteArray& path, int flags, int mode) {
  return ::open(path.constData(), flags | O_CLOEXEC, mode);
}
long FileSystemOps::Write(int fd, const char* data, unsigned long size) { return ::write(fd, data, size); }
int FileSystemOps::Sync(int fd) { return ::fsync(fd); }
int FileSystemOps::Close(int fd) { return ::close(fd); }
int FileSystemOps::Rename(const QByteArray& from, const QByteArray& to) {
  return ::rename(from.constData(), to.constData());
}
int FileSystemOps::Link(const QByteArray& from, const QByteArray& to) { return ::link(from.constData(), to.constData()); }
int FileSystemOps::Unlink(const QByteArray& path) { return ::unlink(path.constData()); }

FileSystemOps& FileSystemOps::System() {
  static FileSystemOps ops;
  return ops;
}

AtomicFileWriter::AtomicFileWriter(QString target, FileSystemOps& ops)
    : target_(ReplaceablePath(target)), workName_(QFileInfo(target_).fileName() + QStringLiteral(".new")), ops_(ops) {}

AtomicFileWriter::AtomicFileWriter(QString target, QString workName, FileSystemOps& ops)
    : target_(ReplaceablePath(target)), workName_(QFileInfo(workName).fileName()), ops_(ops) {}

AtomicFileWriter::~AtomicFileWriter() {
  if (!committed_) Discard();
}

void AtomicFileWriter::Open() {
  if (fd_ >= 0 || committed_) return;
  const QString stem = QFileInfo(target_).absolutePath() + QLatin1Char('/') + workName_;
  // A name someone else holds (another run, a planted file or link) is passed over.
  for (int attempt = 0; attempt < 100 && fd_ < 0; ++attempt) {
    const QString path = QStringLiteral("%1-%2-%3").arg(stem).arg(::getpid()).arg(RandomTag());
    fd_ = CreateExclusive(ops_, path);
    if (fd_ >= 0) {
      workPath_ = path;
    } else if (errno != EEXIST) {
      throw FileErrorFromErrno(errno, QStringLiteral("create"), path);
    }
  }
  if (fd_ < 0) throw FileErrorFromErrno(EEXIST, QStringLiteral("create"), stem);
}

void AtomicFileWriter::GiveModeAndOwner() {
  // The new file takes the old one's permissions where there is one (or those
  // of the file it is made from), else those a new file gets.
  struct stat st {};
  const bool hasSource = ::stat(Native(target_).constData(), &st) == 0 ||
                         (!modeFrom_.isEmpty() && ::stat(Native(modeFrom_).constData(), &st) == 0);
  if (!hasSource) {
    ::fchmod(fd_, 0666 & ~ProcessUmask());
    return;
  }
  // Only the owner (or root) can give the file away; otherwise it stays ours.
  if (st.st_uid != ::geteuid() || st.st_gid != ::getegid()) {
    [[maybe_unused]] const int ignored = ::fchown(fd_, st.st_uid, st.st_gid);
  }
  ::fchmod(fd_, st.st_mode & 07777);
}

void AtomicFileWriter::Write(QByteArrayView bytes) {
  Open();
  if (bytes.size() < kBufferSize) {
    buffer_.append(bytes.data(), bytes.size());
    if (buffer_.size() >= kBufferSize) Flush();
    return;
  }
  // A large piece goes to the file as it is, after what is buffered.
  Flush();
  WriteOut(bytes.data(), bytes.size());
}

void AtomicFileWriter::Flush() {
  WriteOut(buffer_.constData(), buffer_.size());
  buffer_.clear();
}

void AtomicFileWriter::WriteOut(const char* data, qsizetype left) {
  while (left > 0) {
    const long n = ops_.Write(fd_, data, static_cast<unsigned long>(left));
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) {
      const int err = n < 0 ? errno : ENOSPC;
      buffer_.clear();
      Discard();
      throw FileErrorFromErrno(err, QStringLiteral("write"), workPath_);
    }
    data += n;
    left -= n;
  }
}

void AtomicFileWriter::FinishWorkFile() {
  if (committed_) return;
  Open();
  Flush();
  GiveModeAndOwner();
  if (ops_.Sync(fd_) != 0) {
    const int err = errno;
    Discard();
    throw FileErrorFromErrno(err, QStringLiteral("write"), workPath_);
  }
  const int fd = fd_;
  fd_ = -1;
  if (ops_.Close(fd) != 0) {
    const int err = errno;
    Discard();
    throw FileErrorFromErrno(err, QStringLiteral("write"), workPath_);
  }
}

void AtomicFileWriter::RenameOverTarget() {
  if (ops_.Rename(Native(workPath_), Native(target_)) != 0) {
    const int err = errno;
    Discard();
    throw FileErrorFromErrno(err, QStringLiteral("rename"), target_);
  }
  committed_ = true;
  SyncFolder(QFileInfo(target_).absolutePath());
}

void AtomicFileWriter::Commit() {
  FinishWorkFile();
  RenameOverTarget();
}

QString AtomicFileWriter::SecondNameForOld(const QString& backupPath) {
  if (!QFileInfo::exists(target_)) return {};
  for (int attempt = 0; attempt < 100; ++attempt) {
    const QString second = UniqueWorkPath(backupPath, QStringLiteral("bak"));
    if (ops_.Link(Native(target_), Native(second)) == 0) return second;
    if (errno == EEXIST) continue;
    // No hard links here (or across devices): copy the old file instead.
    QFile source(target_);
    bool copied = source.open(QIODevice::ReadOnly);
    if (copied) {
      try {
        AtomicFileWriter copy(second, ops_);
        copy.TakeModeFrom(target_);
        while (!source.atEnd()) {
          const QByteArray chunk = source.read(kBufferSize);
          if (chunk.isEmpty() && source.error() != QFileDevice::NoError) {
            copied = false;
            break;
          }
          copy.Write(chunk);
        }
        if (copied) copy.Commit();
      } catch (const RunError&) {
        Discard();
        throw;
      }
    }
    if (!copied) {
      Discard();
      throw RunError(ErrorCondition::DeviceIO, QStringLiteral("Cannot read %1 to back it up").arg(target_));
    }
    return second;
  }
  Discard();
  throw FileErrorFromErrno(EEXIST, QStringLiteral("create"), backupPath);
}

void AtomicFileWriter::CommitWithBackup(const QString& backupPath) {
  FinishWorkFile();
  // The old file gets a second name first; the new file goes over the target
  // and only then the second name over the backup. Interrupted anywhere, the
  // backup is the earlier backup or the old file, never the live target.
  const QString second = SecondNameForOld(backupPath);
  if (ops_.Rename(Native(workPath_), Native(target_)) != 0) {
    const int err = errno;
    if (!second.isEmpty()) ops_.Unlink(Native(second));
    Discard();
    throw FileErrorFromErrno(err, QStringLiteral("rename"), target_);
  }
  committed_ = true;
  SyncFolder(QFileInfo(target_).absolutePath());
  if (second.isEmpty() || ops_.Rename(Native(second), Native(backupPath)) == 0) return;
  const int err = errno;
  // No backup, no rewrite: the old file goes back to the target.
  if (ops_.Rename(Native(second), Native(target_)) == 0) throw FileErrorFromErrno(err, QStringLiteral("rename"), backupPath);
  throw RunError(FileErrorFromErrno(err, QStringLiteral("rename"), backupPath).condition(),
                 QStringLiteral("%1 was rewritten, but its backup could not be put at %2; the file as it was is %3")
                     .arg(target_, backupPath, second));
}

void AtomicFileWriter::Discard() {
  if (fd_ >= 0) {
    ops_.Close(fd_);
    fd_ = -1;
  }
  if (!workPath_.isEmpty() && !committed_) ops_.Unlink(Native(workPath_));
}

void WriteFileAtomically(const QString& target, QByteArrayView bytes, FileSystemOps& ops) {
  AtomicFileWriter writer(target, ops);
  writer.Write(bytes);
  writer.Commit();
}

void WriteAllToDescriptor(int fd, QByteArrayView bytes, const QString& what) {
  const char* data = bytes.data();
  qsizetype left = bytes.size();
  while (left > 0) {
    const ssize_t n = ::write(fd, data, static_cast<size_t>(left));
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) throw FileErrorFromErrno(n < 0 ? errno : ENOSPC, QStringLiteral("write"), what);
    data += n;
    left -= n;
  }
}

}  // namespace mirolat
