#include "core/model/log_file_name.h"

namespace mirolat {

bool IsPlainLogFileName(const QString& name) {
  if (name.isEmpty() || name == QLatin1String(".") || name == QLatin1String("..")) return false;
  for (const QChar c : name) {
    const char16_t u = c.unicode();
    if (u < 0x20 || u == 0x7F || u == u'/' || u == u'\\' || u == u'*' || u == u'?') return false;
  }
  return name.toUtf8().size() <= 255;
}

QString PlainLogFileNameRule() {
  return QStringLiteral(
      "must be a plain file name in the log folder (no folder, no '/' or '\\', no '*' or '?', not '.' or '..')");
}

}  // namespace mirolat
