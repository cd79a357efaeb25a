#include "core/logfile/log_format.h"

#include <cstring>
#include <limits>

#if defined(__SSE2__) || defined(_M_X64)
#include <emmintrin.h>
#endif

#include "core/common/errors.h"
#include "core/logfile/entry_scanner.h"

namespace mirolat {

namespace {

constexpr bool IsDigit(QChar c) { return c.unicode() >= u'0' && c.unicode() <= u'9'; }

// Two digits at line[i], i + 1, or -1.
int TwoDigits(QStringView line, qsizetype i) {
  if (!IsDigit(line[i]) || !IsDigit(line[i + 1])) return -1;
  return (line[i].unicode() - u'0') * 10 + (line[i + 1].unicode() - u'0');
}


const QString& ResponseText(EntryKind kind, const Configuration& config) {
  switch (kind) {
    case EntryKind::Dial:
      return config.ModemDial;
    case EntryKind::Answer:
      return config.ModemAnswer;
    case EntryKind::Connect:
      return config.ModemConnect;
    case EntryKind::UserDisconnect:
      return config.ModemUserDisconnect;
    case EntryKind::HostDisconnect:
      return config.ModemHostDisconnect;
    case EntryKind::Reads:
      return config.ModemReads;
    case EntryKind::Writes:
      return config.ModemWrites;
  }
  return config.ModemDial;
}

// The first run of digits after the first occurrence of `text`. A run that
// reaches the end of the line counts as well.
qint32 ExtractCount(QStringView upperLine, const QString& text) {
  const qsizetype at = FindInLine(upperLine, text);
  if (at < 0) return 0;
  qsizetype i = at + text.size();
  const qsizetype n = upperLine.size();
  while (i < n && !IsDigit(upperLine[i])) ++i;
  qint64 value = 0;
  for (; i < n && IsDigit(upperLine[i]); ++i) {
    value = value * 10 + (upperLine[i].unicode() - u'0');
    if (value > std::numeric_limits<qint32>::max()) {
      throw RunError(ErrorCondition::Other, QStringLiteral("Overflow"), QStringLiteral("Mirolat"), kOverflowNumber);
    }
  }
  return static_cast<qint32>(value);
}

}  // namespace

Date ParseLogDate(QStringView line) {
  if (line.size() < 10) return 0;
  const char16_t* c = reinterpret_cast<const char16_t*>(line.data());
  if (c[2] != u'-' || c[5] != u'-') return 0;
  // Each character minus '0' as an unsigned number: a digit gives 0..9, any
  // other character something above 9.
  const auto d = [c](int i) { return static_cast<unsigned>(c[i]) - u'0'; };
  for (const int i : {0, 1, 3, 4, 6, 7, 8, 9}) {
    if (d(i) > 9) return 0;
  }
  return ExistingDate(static_cast<int>(d(6) * 1000 + d(7) * 100 + d(8) * 10 + d(9)), static_cast<int>(d(0) * 10 + d(1)),
                      static_cast<int>(d(3) * 10 + d(4)));
}

bool ReadLineTime(QStringView line, TimeOfDay& lineTime) {
  if (line.size() < 19) return false;
  const int h = TwoDigits(line, 11);
  const int m = TwoDigits(line, 14);
  const int s = TwoDigits(line, 17);
  if (h < 0 || m < 0 || s < 0 || line[13] != u':' || line[16] != u':' || h > 23 || m > 59 || s > 59) {
    throw RunError(ErrorCondition::Other, QStringLiteral("Type mismatch"), QStringLiteral("Mirolat"),
                   kTypeMismatchNumber);
  }
  lineTime = MakeTime(h, m, s);
  return true;
}

qint32 ExtractReads(QStringView upperLine, const Configuration& config) {
  return ExtractCount(upperLine, config.ModemReads);
}

qint32 ExtractWrites(QStringView upperLine, const Configuration& config) {
  return ExtractCount(upperLine, config.ModemWrites);
}

bool IsEntry(QStringView upperLine, EntryKind kind, const Configuration& config) {
  return FindInLine(upperLine, ResponseText(kind, config)) >= 0;
}

void UpperAscii(QStringView line, QString& out) {
  out.resize(line.size());
  QChar* dst = out.data();
  const QChar* src = line.data();
  for (qsizetype i = 0, n = line.size(); i < n; ++i) {
    const char16_t c = src[i].unicode();
    dst[i] = QChar(c >= u'a' && c <= u'z' ? static_cast<char16_t>(c - (u'a' - u'A')) : c);
  }
}

QString UpperAscii(QStringView line) {
  QString out;
  UpperAscii(line, out);
  return out;
}

bool NextLogLine(QByteArrayView data, qsizetype& pos, QByteArrayView& line) {
  const qsizetype n = data.size();
  if (pos >= n) return false;
  const char* p = data.data();
  if (p[pos] == '\x1a') {
    pos = n;
    return false;
  }
  const qsizetype i = FindLineEnd(data, pos);
  line = data.sliced(pos, i - pos);
  if (i < n && p[i] == '\x1a') {
    pos = n;
  } else if (i < n && p[i] == '\r' && i + 1 < n && p[i + 1] == '\n') {
    pos = i + 2;
  } else {
    pos = i < n ? i + 1 : n;
  }
  return true;
}

void AssignLatin1(QByteArrayView bytes, QString& out) {
  out.resize(bytes.size());
  QChar* dst = out.data();
  const char* src = bytes.data();
  for (qsizetype i = 0, n = bytes.size(); i < n; ++i) dst[i] = QChar(static_cast<char16_t>(static_cast<unsigned char>(src[i])));
}

void AssignUpperLatin1(QByteArrayView bytes, QString& out) {
  const qsizetype n = bytes.size();
  out.resize(n);
  const auto* src = reinterpret_cast<const unsigned char*>(bytes.data());
  QChar* dst = out.data();
  qsizetype i = 0;
#if defined(__SSE2__) || defined(_M_X64)
  for (; i + 16 <= n; i += 16) {
    const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(src + i));
    // Signed compares: bytes from 128 up count as below 'a'.
    const __m128i lower =
        _mm_and_si128(_mm_cmpgt_epi8(v, _mm_set1_epi8('a' - 1)), _mm_cmplt_epi8(v, _mm_set1_epi8('z' + 1)));
    const __m128i upper = _mm_sub_epi8(v, _mm_and_si128(lower, _mm_set1_epi8(0x20)));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(dst + i), _mm_unpacklo_epi8(upper, _mm_setzero_si128()));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(dst + i + 8), _mm_unpackhi_epi8(upper, _mm_setzero_si128()));
  }
#endif
  for (; i < n; ++i) {
    const unsigned char c = src[i];
    dst[i] = QChar(static_cast<char16_t>(c >= 'a' && c <= 'z' ? c - ('a' - 'A') : c));
  }
}

qsizetype FindInLine(QStringView hay, QStringView needle) {
  const qsizetype n = needle.size();
  if (n == 0) return 0;
  const qsizetype lastStart = hay.size() - n;
  const QChar first = needle[0];
  qsizetype from = 0;
  while (from <= lastStart) {
    const qsizetype at = hay.sliced(from, lastStart - from + 1).indexOf(first);
    if (at < 0) return -1;
    const qsizetype p = from + at;
    if (std::memcmp(hay.data() + p + 1, needle.data() + 1, static_cast<std::size_t>(n - 1) * sizeof(QChar)) == 0) {
      return p;
    }
    from = p + 1;
  }
  return -1;
}

}  // namespace mirolat
