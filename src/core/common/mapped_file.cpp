#include "core/common/mapped_file.h"

#include <QFileInfo>
#include <cerrno>

#include "core/common/errors.h"

namespace mirolat {

namespace {

RunError OpenFailure(const QFile& file, int savedErrno, const QString& path) {
  if (!QFileInfo::exists(path)) return FileErrorFromErrno(ENOENT, QStringLiteral("Cannot open"), path);
  if (file.error() == QFileDevice::PermissionsError) return FileErrorFromErrno(EACCES, QStringLiteral("Cannot open"), path);
  if (savedErrno != 0) return FileErrorFromErrno(savedErrno, QStringLiteral("Cannot open"), path);
  return RunError(ErrorCondition::PathFileAccess, QStringLiteral("Cannot open '%1': %2").arg(path, file.errorString()));
}

}  // namespace

void MappedFile::Open(const QString& path) {
  data_ = {};
  buffer_.clear();
  file_ = std::make_unique<QFile>(path);
  errno = 0;
  if (QFileInfo(path).isDir()) throw FileErrorFromErrno(EISDIR, QStringLiteral("Cannot open"), path);
  if (!file_->open(QIODevice::ReadOnly)) {
    const int saved = errno;
    throw OpenFailure(*file_, saved, path);
  }
  const qint64 size = file_->size();
  if (size <= 0) return;
  // Read, never mapped: a mapped file cut short by someone else while it is
  // walked would end the program with a bus error.
  errno = 0;
  buffer_ = file_->readAll();
  if (file_->error() != QFileDevice::NoError) {
    const int saved = errno;
    throw saved != 0 ? FileErrorFromErrno(saved, QStringLiteral("Cannot read"), path)
                     : RunError(ErrorCondition::DeviceIO,
                                QStringLiteral("Cannot read '%1': %2").arg(path, file_->errorString()));
  }
  if (buffer_.size() < size) {
    throw RunError(ErrorCondition::ReadPastEnd,
                   QStringLiteral("Cannot read '%1': the file changed while it was read").arg(path));
  }
  data_ = buffer_;
}

qint64 MeasureFile(const QString& path) {
  const QFileInfo info(path);
  if (!info.exists()) throw FileErrorFromErrno(ENOENT, QStringLiteral("Cannot measure"), path);
  if (info.isDir()) throw FileErrorFromErrno(EISDIR, QStringLiteral("Cannot measure"), path);
  return info.size();
}

}  // namespace mirolat
