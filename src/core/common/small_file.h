#pragma once
// Reading a whole file that must be small and ordinary (a configuration to
// import): a pipe, a device or a folder is refused before anything is read,
// so a FIFO cannot block the reader and /dev/zero cannot fill its memory.
#include <QByteArray>
#include <QString>

namespace mirolat {

// The whole content of the regular file at `path` (a symbolic link to one is
// followed). Throws RunError: no such file (PathNotFound), not a regular file
// or more than `maxBytes` bytes (BadFileName), or unreadable (PathFileAccess,
// DeviceIO); the message names the file.
QByteArray ReadSmallRegularFile(const QString& path, qint64 maxBytes);

}  // namespace mirolat
