#include "core/logfile/text_search.h"

#include <QChar>
#include <QString>

namespace mirolat {

namespace {

inline char16_t Upper(char16_t c) {
  if (c < 128) return (c >= u'a' && c <= u'z') ? static_cast<char16_t>(c - 32) : c;
  return static_cast<char16_t>(QChar::toUpper(static_cast<char32_t>(c)));
}

// Does `needle` (already upper-cased when !matchCase) begin at `at`?
inline bool MatchesAt(const char16_t* hay, qsizetype at, const char16_t* needle, qsizetype n, bool matchCase) {
  if (matchCase) {
    for (qsizetype k = 0; k < n; ++k) {
      if (hay[at + k] != needle[k]) return false;
    }
    return true;
  }
  for (qsizetype k = 0; k < n; ++k) {
    if (Upper(hay[at + k]) != needle[k]) return false;
  }
  return true;
}

}  // namespace

qsizetype FindTextPosition(QStringView hay, const TextSearchRequest& request) {
  const qsizetype n = request.needle.size();
  const qsizetype size = hay.size();
  if (n == 0 || n > size) return 0;
  const qsizetype start = request.caret + (request.continueAfterHit ? 1 : 0);

  QString upperNeedle;
  const char16_t* needle = request.needle.utf16();
  if (!request.matchCase) {
    upperNeedle.resize(n);
    for (qsizetype k = 0; k < n; ++k) upperNeedle[k] = QChar(Upper(request.needle[k].unicode()));
    needle = QStringView(upperNeedle).utf16();
  }
  const char16_t* h = hay.utf16();
  const qsizetype last = size - n;  // the last 0-based index a hit can begin at

  if (request.down) {
    qsizetype from = start < 0 ? 0 : start;  // 0-based index of 1-based start + 1
    if (from > last) return 0;
    if (request.matchCase) {
      const qsizetype at = hay.indexOf(request.needle, from, Qt::CaseSensitive);
      return at < 0 ? 0 : at + 1;
    }
    const char16_t first = needle[0];
    for (qsizetype i = from; i <= last; ++i) {
      if (Upper(h[i]) == first && MatchesAt(h, i, needle, n, false)) return i + 1;
    }
    return 0;
  }

  // Up: 1-based i from start - 1 down to 1, i.e. 0-based start - 2 down to 0.
  qsizetype from = start - 2;
  if (from > last) from = last;
  if (from < 0) return 0;
  if (request.matchCase) {
    const qsizetype at = hay.lastIndexOf(request.needle, from, Qt::CaseSensitive);
    return at < 0 ? 0 : at + 1;
  }
  const char16_t first = needle[0];
  for (qsizetype i = from; i >= 0; --i) {
    if (Upper(h[i]) == first && MatchesAt(h, i, needle, n, false)) return i + 1;
  }
  return 0;
}

}  // namespace mirolat
