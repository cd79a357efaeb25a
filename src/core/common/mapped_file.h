#pragma once
// A whole file's bytes, read-only, read into one buffer (never mapped: a
// mapped file cut short while it is walked would end the program with a bus
// error). For a file of any size, BlockReader reads it a block at a time.
#include <QByteArray>
#include <QByteArrayView>
#include <QFile>
#include <QString>
#include <memory>

namespace mirolat {

class MappedFile {
 public:
  MappedFile() = default;
  MappedFile(const MappedFile&) = delete;
  MappedFile& operator=(const MappedFile&) = delete;

  // Opens `path` and makes its bytes available. Throws RunError with the
  // condition of the failure (path not found, access error, device error ...).
  void Open(const QString& path);
  QByteArrayView data() const { return data_; }

 private:
  std::unique_ptr<QFile> file_;
  QByteArray buffer_;
  QByteArrayView data_;
};

// The size in bytes of the file at `path`. Throws RunError when it cannot be
// measured (no such file, a folder, no access).
qint64 MeasureFile(const QString& path);

}  // namespace mirolat
