#include "core/model/log_file_name.h"

namespace mirolat {

bool IsPlainLogFileName(const QString& name) {
  if (name.isEmpty() || name == QLatin1String(".") || name == QLatin1String("..")) return false;
  for (QChar c : name) {
    switch (c.unicode()) {
      case u'/':
      case u'\\':
      case u'*':
      case u'?':
      case u'[':
      case u']':
        return false;
      default:
        if (c.unicode() < 0x20 || c.unicode() == 0x7f) return false;
    }
  }
  return true;
}

}  // namespace mirolat
