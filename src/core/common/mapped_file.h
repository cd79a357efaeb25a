#pragma once
// A whole file's bytes, read-only, for one pass over them: memory-mapped where
// the system allows it, read into one buffer otherwise.
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
