#include "core/common/small_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QFile>
#include <algorithm>
#include <cerrno>
#include <cstring>

#include "core/common/errors.h"

namespace mirolat {

namespace {

RunError Failure(ErrorCondition condition, const QString& path, const QString& what) {
  return RunError(condition, QStringLiteral("'%1' %2").arg(path, what));
}

ErrorCondition ConditionOf(int error) {
  switch (error) {
    case ENOENT:
    case ENOTDIR:
      return ErrorCondition::PathNotFound;
    case EACCES:
    case EPERM:
      return ErrorCondition::PathFileAccess;
    default:
      return ErrorCondition::DeviceIO;
  }
}

class Descriptor {
 public:
  explicit Descriptor(int fd) : fd_(fd) {}
  ~Descriptor() {
    if (fd_ >= 0) ::close(fd_);
  }
  Descriptor(const Descriptor&) = delete;
  Descriptor& operator=(const Descriptor&) = delete;
  int get() const { return fd_; }

 private:
  int fd_;
};

}  // namespace

QByteArray ReadSmallRegularFile(const QString& path, qint64 maxBytes) {
  // Opened without waiting: opening a FIFO for reading would otherwise block
  // until something writes to it. The checks then run on what was opened.
  const Descriptor fd(::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY));
  if (fd.get() < 0) {
    const int error = errno;
    throw Failure(ConditionOf(error), path, QStringLiteral("cannot be read: %1").arg(QString::fromLocal8Bit(std::strerror(error))));
  }
  struct stat info {};
  if (::fstat(fd.get(), &info) != 0) {
    const int error = errno;
    throw Failure(ConditionOf(error), path, QStringLiteral("cannot be read: %1").arg(QString::fromLocal8Bit(std::strerror(error))));
  }
  if (!S_ISREG(info.st_mode)) {
    throw Failure(ErrorCondition::BadFileName, path, QStringLiteral("is not a regular file"));
  }
  if (info.st_size > maxBytes) {
    throw Failure(ErrorCondition::BadFileName, path,
                  QStringLiteral("is too large (%1 bytes, at most %2)").arg(info.st_size).arg(maxBytes));
  }
  return ReadAllUpTo(fd.get(), maxBytes, path, info.st_size);
}

QByteArray ReadAllUpTo(int fd, qint64 maxBytes, const QString& name, qint64 expectedBytes) {
  // Read straight into the array, which grows as it fills; one byte more
  // than allowed tells a source that is too large.
  QByteArray content;
  content.resize(static_cast<qsizetype>(std::min<qint64>(std::max<qint64>(expectedBytes, 0), maxBytes) + 1));
  qint64 size = 0;
  for (;;) {
    if (size == content.size()) {
      content.resize(static_cast<qsizetype>(std::min<qint64>(std::max<qint64>(2 * size, 65536), maxBytes + 1)));
    }
    const ssize_t got = ::read(fd, content.data() + size, static_cast<size_t>(content.size() - size));
    if (got < 0) {
      if (errno == EINTR) continue;
      const int error = errno;
      throw Failure(ConditionOf(error), name, QStringLiteral("cannot be read: %1").arg(QString::fromLocal8Bit(std::strerror(error))));
    }
    if (got == 0) break;
    size += got;
    // A file that grows while it is read is held to the same limit.
    if (size > maxBytes) {
      throw Failure(ErrorCondition::BadFileName, name, QStringLiteral("is too large (more than %1 bytes)").arg(maxBytes));
    }
  }
  content.resize(static_cast<qsizetype>(size));
  return content;
}

}  // namespace mirolat
