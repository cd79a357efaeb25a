#include "core/logfile/byte_scan.h"

#include <algorithm>
#include <atomic>
#include <bit>
#include <cstring>
#include <limits>
#include <QtGlobal>

#if (defined(__SSE2__) && defined(__x86_64__)) || defined(_M_X64)
#include <emmintrin.h>
#define MIROLAT_BYTE_SCAN_SSE2 1
#endif
#if defined(__GNUC__) && defined(__x86_64__)
#include <immintrin.h>
#define MIROLAT_BYTE_SCAN_AVX2 1
#endif

namespace mirolat {

namespace {

constexpr bool EndsLine(unsigned char c) { return c == '\n' || c == '\r'; }

#ifdef MIROLAT_BYTE_SCAN_SSE2
inline __m128i Load(const unsigned char* p) { return _mm_loadu_si128(reinterpret_cast<const __m128i*>(p)); }

// Bytes of v that are forbidden: below 32 (signed, so 128..255 too) and not
// tab, line feed or carriage return; or 127.
inline __m128i Forbidden(__m128i v) {
  const __m128i low = _mm_cmplt_epi8(v, _mm_set1_epi8(32));
  const __m128i allowed = _mm_or_si128(_mm_or_si128(_mm_cmpeq_epi8(v, _mm_set1_epi8(9)), _mm_cmpeq_epi8(v, _mm_set1_epi8(10))),
                                       _mm_cmpeq_epi8(v, _mm_set1_epi8(13)));
  return _mm_or_si128(_mm_andnot_si128(allowed, low), _mm_cmpeq_epi8(v, _mm_set1_epi8(127)));
}
#endif

#ifdef MIROLAT_BYTE_SCAN_AVX2

std::atomic<bool> wideScansAllowed{true};

bool HasAvx2() {
  static const bool has = __builtin_cpu_supports("avx2") && __builtin_cpu_supports("popcnt");
  return has && wideScansAllowed.load(std::memory_order_relaxed);
}

// The check and the count 64 bytes at a time on processors with AVX2: stops
// before the first 64 bytes that hold a forbidden byte (kCheck), leaving them
// to the narrower walk. Returns how many bytes it took.
// Bytes of v that are forbidden (as Forbidden, 32 at a time).
__attribute__((target("avx2"), always_inline)) inline __m256i Forbidden32(__m256i v) {
  const __m256i low = _mm256_cmpgt_epi8(_mm256_set1_epi8(32), v);  // signed: 128..255 too
  const __m256i allowed = _mm256_or_si256(
      _mm256_or_si256(_mm256_cmpeq_epi8(v, _mm256_set1_epi8(9)), _mm256_cmpeq_epi8(v, _mm256_set1_epi8(10))),
      _mm256_cmpeq_epi8(v, _mm256_set1_epi8(13)));
  return _mm256_or_si256(_mm256_andnot_si256(allowed, low), _mm256_cmpeq_epi8(v, _mm256_set1_epi8(127)));
}

// The check and the count 64 bytes at a time on processors with AVX2: stops
// before the first 64 bytes that hold a forbidden byte (kCheck), leaving them
// to the narrower walk. Returns how many bytes it took.
template <bool kCheck>
__attribute__((target("avx2,popcnt"))) qsizetype WalkAvx2(const unsigned char* p, qsizetype n, qint64& ended,
                                                         bool& previousEnds) {
  const __m256i lf = _mm256_set1_epi8('\n');
  const __m256i cr = _mm256_set1_epi8('\r');
  quint64 carry = previousEnds ? 1 : 0;
  qint64 count = 0;
  qsizetype i = 0;
  for (; i + 64 <= n; i += 64) {
    const __m256i a = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(p + i));
    const __m256i b = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(p + i + 32));
    if constexpr (kCheck) {
      const __m256i bad = _mm256_or_si256(Forbidden32(a), Forbidden32(b));
      if (!_mm256_testz_si256(bad, bad)) break;
    }
    const quint64 ends =
        quint64(unsigned(_mm256_movemask_epi8(_mm256_or_si256(_mm256_cmpeq_epi8(a, lf), _mm256_cmpeq_epi8(a, cr))))) |
        (quint64(unsigned(_mm256_movemask_epi8(_mm256_or_si256(_mm256_cmpeq_epi8(b, lf), _mm256_cmpeq_epi8(b, cr)))))
         << 32);
    count += __builtin_popcountll(ends & ~((ends << 1) | carry));
    carry = ends >> 63;
  }
  ended += count;
  if (i > 0) previousEnds = carry != 0;
  return i;
}
#endif

constexpr bool EndsText(unsigned char c) { return c == '\n' || c == '\r' || c == 0x1a; }

// Where the line whose ending is at `end` lets the next one begin.
inline qsizetype PastEnding(const char* p, qsizetype n, qsizetype end) {
  if (end >= n || p[end] == '\x1a') return n;  // the end-of-file mark ends the text
  if (p[end] == '\r' && end + 1 < n && p[end + 1] == '\n') return end + 2;
  return end + 1;
}

qint64 SkipLinesPortable(const char* p, qsizetype n, qsizetype& pos, const char* prefix, qint64 maxLines) {
  qint64 passed = 0;
  qsizetype at = pos;
  while (passed < maxLines && at + 10 <= n && SameTenBytes(prefix, p + at)) {
    qsizetype end = at + 10;
    while (end < n && !EndsText(static_cast<unsigned char>(p[end]))) ++end;
    at = PastEnding(p, n, end);
    ++passed;
  }
  pos = at;
  return passed;
}

#ifdef MIROLAT_BYTE_SCAN_AVX2
// Bit i set when p[i] (of 32) ends a line or the text.
__attribute__((target("avx2"), always_inline)) inline unsigned TextEnds32(const char* p) {
  const __m256i v = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(p));
  return static_cast<unsigned>(_mm256_movemask_epi8(
      _mm256_or_si256(_mm256_or_si256(_mm256_cmpeq_epi8(v, _mm256_set1_epi8('\n')), _mm256_cmpeq_epi8(v, _mm256_set1_epi8('\r'))),
                      _mm256_cmpeq_epi8(v, _mm256_set1_epi8(0x1a)))));
}

__attribute__((target("avx2"))) qint64 SkipLinesAvx2(const char* p, qsizetype n, qsizetype& pos, const char* prefix,
                                                      qint64 maxLines) {
  quint64 prefix8;
  quint16 prefix2;
  std::memcpy(&prefix8, prefix, 8);
  std::memcpy(&prefix2, prefix + 8, 2);
  qint64 passed = 0;
  qsizetype at = pos;
  // The 64 bytes at `chunk` whose endings are in `ends`; none yet (any offset from it is 64 or more).
  qsizetype chunk = std::numeric_limits<qsizetype>::min() / 2;
  quint64 ends = 0;
  while (passed < maxLines && at + 10 <= n) {
    quint64 head8;
    quint16 head2;
    std::memcpy(&head8, p + at, 8);
    std::memcpy(&head2, p + at + 8, 2);
    if (head8 != prefix8 || head2 != prefix2) break;
    qsizetype from = at + 10;
    qsizetype end = -1;
    for (;;) {
      const auto offset = static_cast<quint64>(from - chunk);
      if (offset < 64) {
        if (const quint64 ahead = ends >> offset) {
          end = from + std::countr_zero(ahead);
          break;
        }
        from = chunk + 64;
      }
      if (from + 64 > n) break;
      chunk = from;
      ends = quint64(TextEnds32(p + chunk)) | (quint64(TextEnds32(p + chunk + 32)) << 32);
    }
    if (end < 0) {
      end = from;  // the last bytes, one by one
      while (end < n && !EndsText(static_cast<unsigned char>(p[end]))) ++end;
    }
    at = PastEnding(p, n, end);
    ++passed;
  }
  pos = at;
  return passed;
}
#endif

}  // namespace

void AllowWideByteScans([[maybe_unused]] bool allow) {
#ifdef MIROLAT_BYTE_SCAN_AVX2
  wideScansAllowed.store(allow, std::memory_order_relaxed);
#endif
}

qint64 SkipLinesStartingWith(QByteArrayView data, qsizetype& pos, const char* prefix, qint64 maxLines) {
#ifdef MIROLAT_BYTE_SCAN_AVX2
  if (HasAvx2()) return SkipLinesAvx2(data.data(), data.size(), pos, prefix, maxLines);
#endif
  return SkipLinesPortable(data.data(), data.size(), pos, prefix, maxLines);
}

qsizetype FindForbiddenByte(const unsigned char* p, qsizetype n) {
  qsizetype i = 0;
#ifdef MIROLAT_BYTE_SCAN_SSE2
  for (; i + 64 <= n; i += 64) {
    const __m128i any = _mm_or_si128(_mm_or_si128(Forbidden(Load(p + i)), Forbidden(Load(p + i + 16))),
                                     _mm_or_si128(Forbidden(Load(p + i + 32)), Forbidden(Load(p + i + 48))));
    if (_mm_movemask_epi8(any) != 0) break;
  }
  for (; i + 16 <= n; i += 16) {
    if (const int bits = _mm_movemask_epi8(Forbidden(Load(p + i)))) return i + std::countr_zero(unsigned(bits));
  }
#endif
  for (; i < n; ++i) {
    if (IsForbiddenLogByte(p[i])) return i;
  }
  return n;
}

bool LineLengthCheck::Feed(const unsigned char* p, qsizetype n) {
  // The current line may take limit_ - current_ more bytes, so a line ending
  // must come within the next limit_ - current_ + 1: the last ending in them
  // is searched for backwards (the library's vectorised memrchr), and the
  // next such stretch starts after it. Lines far shorter than the limit cost
  // a few steps per stretch, not one per line.
  qsizetype at = 0;
  while (at < n) {
    const qsizetype stretch = std::min(limit_ - current_ + 1, n - at);
    const auto* from = p + at;
    const auto* lf = static_cast<const unsigned char*>(memrchr(from, '\n', size_t(stretch)));
    const auto* afterLf = lf != nullptr ? lf + 1 : from;
    const auto* cr = static_cast<const unsigned char*>(memrchr(afterLf, '\r', size_t(from + stretch - afterLf)));
    const unsigned char* const ending = cr != nullptr ? cr : lf;
    if (ending == nullptr) {
      current_ += stretch;
      return current_ <= limit_;  // the stretch reached the end of the piece, or one byte too far
    }
    current_ = 0;
    at = ending + 1 - p;
  }
  return true;
}

void LineCounter::Feed(const unsigned char* p, qsizetype n) { Walk<false>(p, n); }

qsizetype LineCounter::FeedUnlessForbidden(const unsigned char* p, qsizetype n) { return Walk<true>(p, n); }

template <bool kCheck>
qsizetype LineCounter::Walk(const unsigned char* p, qsizetype n) {
  // A line ending ends a non-empty line when the byte before it is no line ending.
#ifdef MIROLAT_BYTE_SCAN_AVX2
  if (HasAvx2()) {
    const qsizetype i = WalkAvx2<kCheck>(p, n, ended_, previousEnds_);
    p += i;
    n -= i;
    const qsizetype rest = Walk16<kCheck>(p, n);
    return rest == n ? i + n : i + rest;
  }
#endif
  return Walk16<kCheck>(p, n);
}

template <bool kCheck>
qsizetype LineCounter::Walk16(const unsigned char* p, qsizetype n) {
  qsizetype i = 0;
#ifdef MIROLAT_BYTE_SCAN_SSE2
  const __m128i lf = _mm_set1_epi8('\n');
  const __m128i cr = _mm_set1_epi8('\r');
  // Bytes 0xFF where a line ending stands; the previous block's, to look one byte back.
  __m128i previous = previousEnds_ ? _mm_set1_epi8(-1) : _mm_setzero_si128();
  __m128i counts = _mm_setzero_si128();  // per byte lane, up to 255 line ends
  __m128i totals = _mm_setzero_si128();  // two 64-bit sums
  int inCounts = 0;
  // One block of 16 bytes: its line ends that follow no line end are counted.
  const auto count = [&](__m128i v) {
    const __m128i ends = _mm_or_si128(_mm_cmpeq_epi8(v, lf), _mm_cmpeq_epi8(v, cr));
    // Each byte's predecessor: this block moved up one byte, the last byte of the previous one in front.
    const __m128i before = _mm_or_si128(_mm_slli_si128(ends, 1), _mm_srli_si128(previous, 15));
    counts = _mm_sub_epi8(counts, _mm_andnot_si128(before, ends));  // 0xFF is -1: adds one
    previous = ends;
  };
  const auto settle = [&] {
    totals = _mm_add_epi64(totals, _mm_sad_epu8(counts, _mm_setzero_si128()));
    counts = _mm_setzero_si128();
    inCounts = 0;
  };
  // Four blocks at a time, checked together.
  for (; i + 64 <= n; i += 64) {
    const __m128i v0 = Load(p + i);
    const __m128i v1 = Load(p + i + 16);
    const __m128i v2 = Load(p + i + 32);
    const __m128i v3 = Load(p + i + 48);
    if constexpr (kCheck) {
      const __m128i bad = _mm_or_si128(_mm_or_si128(Forbidden(v0), Forbidden(v1)), _mm_or_si128(Forbidden(v2), Forbidden(v3)));
      if (_mm_movemask_epi8(bad) != 0) break;  // the blocks below find it
    }
    count(v0);
    count(v1);
    count(v2);
    count(v3);
    if ((inCounts += 4) >= 252) settle();
  }
  for (; i + 16 <= n; i += 16) {
    const __m128i v = Load(p + i);
    if constexpr (kCheck) {
      if (_mm_movemask_epi8(Forbidden(v)) != 0) return i + FindForbiddenByte(p + i, 16);
    }
    count(v);
    if (++inCounts == 255) settle();
  }
  totals = _mm_add_epi64(totals, _mm_sad_epu8(counts, _mm_setzero_si128()));
  ended_ += _mm_cvtsi128_si64(totals) + _mm_cvtsi128_si64(_mm_unpackhi_epi64(totals, totals));
  if (i > 0) previousEnds_ = (_mm_movemask_epi8(previous) & 0x8000) != 0;
#endif
  for (; i < n; ++i) {
    if constexpr (kCheck) {
      if (IsForbiddenLogByte(p[i])) return i;
    }
    const bool ends = EndsLine(p[i]);
    if (ends && !previousEnds_) ++ended_;
    previousEnds_ = ends;
  }
  return n;
}

}  // namespace mirolat
