#include "core/logfile/log_text_file.h"

#include <QFile>
#include <QFileInfo>

#include "core/common/atomic_file.h"
#include "core/common/errors.h"
#include "core/common/mapped_file.h"
#include "core/logfile/log_lock.h"

namespace mirolat {

FileStamp StampOfFile(const QString& path) {
  const QFileInfo info(path);
  FileStamp stamp;
  if (!info.exists() || !info.isFile()) return stamp;
  stamp.exists = true;
  stamp.size = info.size();
  stamp.modified = info.lastModified();
  return stamp;
}

LogText ReadLogText(const QString& path) {
  LogText result;
  result.stamp = StampOfFile(path);
  MappedFile file;
  file.Open(path);
  const QByteArrayView data = file.data();
  const qsizetype n = data.size();
  result.text.resize(n);
  QChar* out = result.text.data();
  qsizetype w = 0;
  bool lineEndSeen = false;
  result.lineEnd = QByteArrayLiteral("\r\n");
  for (qsizetype i = 0; i < n; ++i) {
    const char c = data[i];
    if (c == '\r') {
      const bool pair = i + 1 < n && data[i + 1] == '\n';
      if (!lineEndSeen) {
        result.lineEnd = pair ? QByteArrayLiteral("\r\n") : QByteArrayLiteral("\r");
        lineEndSeen = true;
      }
      if (pair) ++i;
      out[w++] = QLatin1Char('\n');
    } else if (c == '\n') {
      if (!lineEndSeen) {
        result.lineEnd = QByteArrayLiteral("\n");
        lineEndSeen = true;
      }
      out[w++] = QLatin1Char('\n');
    } else {
      out[w++] = QChar(static_cast<char16_t>(static_cast<unsigned char>(c)));
    }
  }
  result.text.truncate(w);
  return result;
}

QByteArray LogTextBytes(QStringView text, const QByteArray& lineEnd) {
  QByteArray bytes;
  bytes.reserve(text.size() + text.size() / 32 + lineEnd.size());
  for (const QChar c : text) {
    const char16_t u = c.unicode();
    if (u == u'\n') {
      bytes.append(lineEnd);
    } else {
      bytes.append(u < 256 ? static_cast<char>(u) : '?');
    }
  }
  if (!text.isEmpty() && !text.endsWith(QLatin1Char('\n'))) bytes.append(lineEnd);
  return bytes;
}

void WriteLogText(const QString& path, QStringView text, const QByteArray& lineEnd, const QString& backupPath) {
  if (backupPath.isEmpty()) {
    WriteFileAtomically(path, LogTextBytes(text, lineEnd));
    return;
  }
  // Saving over the log (with its backup) waits for any other writer of it.
  const LogWriteLock lock(path);
  AtomicFileWriter writer(path);
  writer.Write(LogTextBytes(text, lineEnd));
  writer.CommitWithBackup(backupPath);
}

}  // namespace mirolat
