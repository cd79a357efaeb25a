#include "core/common/atomic_file.h"

#include <QDir>
#include <QFileInfo>
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

// A work-file name beside `target` that no other writer uses at the same time.
QString WorkPathFor(const QString& target, const char* tag) {
  return QStringLiteral("%1.%2-%3").arg(target, QString::fromLatin1(tag)).arg(::getpid());
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
    : target_(std::move(target)), workPath_(WorkPathFor(target_, "new")), ops_(ops) {}

AtomicFileWriter::~AtomicFileWriter() {
  if (!committed_) Discard();
}

void AtomicFileWriter::Open() {
  if (fd_ >= 0) return;
  // The new file takes the old one's permissions where there is one.
  int mode = 0666;
  struct stat st {};
  if (::stat(Native(target_).constData(), &st) == 0) mode = static_cast<int>(st.st_mode & 07777);
  fd_ = ops_.Open(Native(workPath_), O_WRONLY | O_CREAT | O_TRUNC, mode);
  if (fd_ < 0) throw FileErrorFromErrno(errno, QStringLiteral("create"), workPath_);
}

void AtomicFileWriter::Write(QByteArrayView bytes) {
  Open();
  buffer_.append(bytes.data(), bytes.size());
  if (buffer_.size() >= kBufferSize) Flush();
}

void AtomicFileWriter::Flush() {
  const char* data = buffer_.constData();
  qsizetype left = buffer_.size();
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
  buffer_.clear();
}

void AtomicFileWriter::FinishWorkFile() {
  if (committed_) return;
  Open();
  Flush();
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

void AtomicFileWriter::MakeBackup(const QString& backupPath) {
  if (!QFileInfo::exists(target_)) return;
  // The backup is made beside the old one and then renamed over it, so an
  // earlier backup is replaced only by a whole one.
  const QString workBackup = WorkPathFor(backupPath, "bak");
  ops_.Unlink(Native(workBackup));
  if (ops_.Link(Native(target_), Native(workBackup)) != 0) {
    // No hard links here (or across devices): copy the old file instead.
    QFile source(target_);
    bool copied = source.open(QIODevice::ReadOnly);
    if (copied) {
      try {
        AtomicFileWriter copy(workBackup, ops_);
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
  }
  if (ops_.Rename(Native(workBackup), Native(backupPath)) != 0) {
    const int err = errno;
    ops_.Unlink(Native(workBackup));
    Discard();
    throw FileErrorFromErrno(err, QStringLiteral("rename"), backupPath);
  }
}

void AtomicFileWriter::CommitWithBackup(const QString& backupPath) {
  FinishWorkFile();
  // The earlier backup is kept aside (a second name for it) until the new file
  // is in place, so that a failure of the last rename can put it back.
  const QString keptBackup = WorkPathFor(backupPath, "prev");
  ops_.Unlink(Native(keptBackup));
  const bool kept = QFileInfo::exists(backupPath) && ops_.Link(Native(backupPath), Native(keptBackup)) == 0;
  try {
    MakeBackup(backupPath);
    RenameOverTarget();
  } catch (const RunError&) {
    if (kept) {
      // (Where the backup was not replaced yet both names are the same file
      // and the rename leaves both: the unlink below drops the extra one.)
      ops_.Rename(Native(keptBackup), Native(backupPath));
      ops_.Unlink(Native(keptBackup));
    }
    throw;
  }
  if (kept) ops_.Unlink(Native(keptBackup));
}

void AtomicFileWriter::Discard() {
  if (fd_ >= 0) {
    ops_.Close(fd_);
    fd_ = -1;
  }
  ops_.Unlink(Native(workPath_));
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
