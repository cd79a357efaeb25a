#pragma once
// Reading a whole file that must be small and ordinary (a configuration to
// import, a system log and the modem log import-pppd adds to): a pipe, a device or a folder is refused before anything is read,
// so a FIFO cannot block the reader and /dev/zero cannot fill its memory.
#include <QByteArray>
#include <QString>

namespace mirolat {

// The whole content of the regular file at `path` (a symbolic link to one is
// followed). Throws RunError: no such file (PathNotFound), not a regular file
// or more than `maxBytes` bytes (BadFileName), or unreadable (PathFileAccess,
// DeviceIO); the message names the file.
QByteArray ReadSmallRegularFile(const QString& path, qint64 maxBytes);

// Everything that can be read from the open descriptor `fd` (standard input,
// a pipe) up to its end, at most `maxBytes`. Throws RunError: more than
// `maxBytes` bytes (BadFileName) or a failed read; the message names `name`.
// `expectedBytes`, when known, is room made at the start.
QByteArray ReadAllUpTo(int fd, qint64 maxBytes, const QString& name, qint64 expectedBytes = 0);

}  // namespace mirolat
