#pragma once
// Writing a user's file so that it is never seen half written: the bytes go to
// a work file beside the target, every write is checked, the work file is
// flushed to the disk and only then renamed over the target. Whatever fails,
// the target keeps its old bytes and the work file is removed.
//
// Work files get a name of their own per run (NAME-PID-XXXXXX beside the
// target), created exclusively with mode 0600 and never through a link, so a
// file or link planted at a predictable name is never written through and two
// writers never share one. Once whole, a work file takes the mode (and, where
// allowed, the owner) of the file it replaces.
//
// Only a regular file, or a name where nothing is yet, is replaced. A target
// that is a symbolic link to a regular file is replaced where the link points
// (the link stays a link); a link to nothing, a device, a FIFO, a socket or a
// folder is refused.
//
// A replacement that keeps the previous file as a backup (ModemLog.old) takes
// a second name for the old file (a hard link, or a copy), renames the new
// file over the target and only then renames the second name over the backup.
// The target path holds the old or the new file, whole, at every instant, and
// the backup is never the same file as the live target: a program appending
// to the log never changes the backup.
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
  // The same with work files named after `workName` (a file name: the
  // maintenance commands write ModemLog.opt-PID-XXXXXX and the like).
  AtomicFileWriter(QString target, QString workName, FileSystemOps& ops = FileSystemOps::System());
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

  // The new file takes the mode and owner of `path` (the log an archive or a
  // work copy is made from) when the target does not exist yet.
  void TakeModeFrom(const QString& path) { modeFrom_ = path; }

  // The file replaced: the target, or the file a link at the target points to.
  const QString& target() const { return target_; }
  const QString& workPath() const { return workPath_; }

 private:
  void Open();
  void Flush();
  void WriteOut(const char* data, qsizetype size);
  void FinishWorkFile();
  void GiveModeAndOwner();
  QString SecondNameForOld(const QString& backupPath);
  void RenameOverTarget();
  void Discard();

  QString target_;
  QString workName_;
  QString workPath_;
  QString modeFrom_;
  FileSystemOps& ops_;
  int fd_ = -1;
  bool committed_ = false;
  QByteArray buffer_;
};

// The whole file in one call: AtomicFileWriter, Write, Commit.
void WriteFileAtomically(const QString& target, QByteArrayView bytes,
                         FileSystemOps& ops = FileSystemOps::System());

// What may be replaced at `path`: the path itself, or the regular file a
// symbolic link there points to. Throws RunError (BadFileName) for anything
// else: a device, a FIFO, a socket, a folder, a link to nothing.
QString ReplaceablePath(const QString& path);

// A fresh work-file name beside `target`: `target` + "." + `tag`, the process
// id and six random characters (NAME.tag-PID-XXXXXX).
QString UniqueWorkPath(const QString& target, const QString& tag);

// Creates `path` exclusively (O_EXCL, never through a link) with mode 0600.
// -1 with errno set when it fails (EEXIST when something is there).
int CreateExclusive(FileSystemOps& ops, const QString& path);

// Writes all bytes to an open descriptor (standard output, for instance),
// retrying short writes; throws RunError naming `what` when a write fails.
void WriteAllToDescriptor(int fd, QByteArrayView bytes, const QString& what);

}  // namespace mirolat
