#pragma once
// Writing a user's file so that it is never seen half written: the bytes go to
// a work file beside the target, every write is checked, the work file is
// flushed to the disk and only then renamed over the target. Whatever fails,
// the target keeps its old bytes and the work file is removed.
//
// A replacement that keeps the previous file as a backup (ModemLog.old) makes
// the backup from the old file (a hard link, or a copy put in place by a
// rename) before the new file is renamed over the target, so the target path
// holds the old or the new file, whole, at every instant.
#include <QByteArray>
#include <QByteArrayView>
#include <QString>

namespace mirolat {

// The file-system calls the writer makes, as a seam: tests replace one of them
// with a failing one. Each returns 0 (or the byte count) on success and -1
// with errno set on failure, like the system calls they stand for.
class FileSystemOps {
 public:
  virtual ~FileSystemOps() = default;
  virtual int Open(const QByteArray& path, int flags, int mode);
  virtual long Write(int fd, const char* data, unsigned long size);
  virtual int Sync(int fd);
  virtual int Close(int fd);
  virtual int Rename(const QByteArray& from, const QByteArray& to);
  virtual int Link(const QByteArray& from, const QByteArray& to);
  virtual int Unlink(const QByteArray& path);

  // The calls of the running system.
  static FileSystemOps& System();
};

// One atomic write of `target`. Throws RunError (with the condition of the
// failing call) from Write and Commit; the target is untouched then.
class AtomicFileWriter {
 public:
  explicit AtomicFileWriter(QString target, FileSystemOps& ops = FileSystemOps::System());
  ~AtomicFileWriter();  // an uncommitted work file is removed
  AtomicFileWriter(const AtomicFileWriter&) = delete;
  AtomicFileWriter& operator=(const AtomicFileWriter&) = delete;

  // Appends bytes to the work file (buffered; a failed write throws).
  void Write(QByteArrayView bytes);
  // Flushes and syncs the work file, then renames it over the target.
  void Commit();
  // Like Commit, and first puts the target's current file (if any) at
  // `backupPath`, replacing an earlier backup only once the new one is whole.
  void CommitWithBackup(const QString& backupPath);

  const QString& target() const { return target_; }
  const QString& workPath() const { return workPath_; }

 private:
  void Open();
  void Flush();
  void FinishWorkFile();
  void MakeBackup(const QString& backupPath);
  void RenameOverTarget();
  void Discard();

  QString target_;
  QString workPath_;
  FileSystemOps& ops_;
  int fd_ = -1;
  bool committed_ = false;
  QByteArray buffer_;
};

// The whole file in one call: AtomicFileWriter, Write, Commit.
void WriteFileAtomically(const QString& target, QByteArrayView bytes,
                         FileSystemOps& ops = FileSystemOps::System());

// Writes all bytes to an open descriptor (standard output, for instance),
// retrying short writes; throws RunError naming `what` when a write fails.
void WriteAllToDescriptor(int fd, QByteArrayView bytes, const QString& what);

}  // namespace mirolat
