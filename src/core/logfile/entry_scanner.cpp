#include "core/logfile/entry_scanner.h"

#include <algorithm>
#include <bit>
#include <cstring>

#if defined(__SSE2__) || defined(_M_X64)
#include <emmintrin.h>
#define MIROLAT_BLOCK_SEARCH 1
#endif

namespace mirolat {

namespace {

constexpr bool EndsLine(unsigned char c) { return c == '\n' || c == '\r' || c == 0x1a; }

#ifdef MIROLAT_BLOCK_SEARCH
// Bits of the bytes of `block` that end a line.
inline unsigned LineEndBits(__m128i block) {
  const __m128i lf = _mm_cmpeq_epi8(block, _mm_set1_epi8('\n'));
  const __m128i cr = _mm_cmpeq_epi8(block, _mm_set1_epi8('\r'));
  const __m128i eof = _mm_cmpeq_epi8(block, _mm_set1_epi8(0x1a));
  return static_cast<unsigned>(_mm_movemask_epi8(_mm_or_si128(_mm_or_si128(lf, cr), eof)));
}
inline __m128i Load(const unsigned char* p) { return _mm_loadu_si128(reinterpret_cast<const __m128i*>(p)); }
#endif

}  // namespace

qsizetype FindLineEnd(QByteArrayView data, qsizetype from) {
  const auto* p = reinterpret_cast<const unsigned char*>(data.data());
  const qsizetype n = data.size();
  qsizetype i = from;
#ifdef MIROLAT_BLOCK_SEARCH
  for (; i + 16 <= n; i += 16) {
    if (const unsigned bits = LineEndBits(Load(p + i))) return i + std::countr_zero(bits);
  }
#endif
  while (i < n && !EndsLine(p[i])) ++i;
  return i;
}

EntryScanner::EntryScanner(const QList<QString>& texts) {
  for (int b = 0; b < 256; ++b) upper_[static_cast<size_t>(b)] = static_cast<unsigned char>(b >= 'a' && b <= 'z' ? b - ('a' - 'A') : b);
  const int count = std::min<int>(static_cast<int>(texts.size()), kMaxTexts);
  for (int k = 0; k < count; ++k) {
    bool possible = true;
    QByteArray bytes;
    for (QChar c : texts[k]) {
      const char16_t u = c.unicode();
      // Upper-cased Latin-1 lines without their endings hold none of these.
      if (u > 0xFF || (u >= 'a' && u <= 'z') || EndsLine(static_cast<unsigned char>(u))) possible = false;
      bytes.append(static_cast<char>(u & 0xFF));
    }
    if (!possible) continue;
    if (bytes.isEmpty()) {
      always_ |= 1u << k;
      continue;
    }
    texts_[static_cast<size_t>(k)] = bytes;
    possible_ |= 1u << k;
  }

  for (const QByteArray& text : texts_) {
    if (!text.isEmpty() && (shortest_ == 0 || text.size() < shortest_)) shortest_ = text.size();
  }
  if (shortest_ >= 1) {
    const qsizetype m = shortest_;
    const auto maxShift = static_cast<unsigned char>(std::min<qsizetype>(m, 255));
    for (int b = 0; b < 256; ++b) {
      const unsigned char u = upper_[static_cast<size_t>(b)];
      unsigned char shift = maxShift;
      unsigned char kinds = 0;
      for (int k = 0; k < kMaxTexts; ++k) {
        const QByteArray& text = texts_[static_cast<size_t>(k)];
        if (text.isEmpty()) continue;
        for (qsizetype j = 0; j < m; ++j) {
          if (static_cast<unsigned char>(text[j]) != u) continue;
          shift = std::min(shift, static_cast<unsigned char>(std::min<qsizetype>(m - 1 - j, 255)));
          if (j == m - 1) kinds |= static_cast<unsigned char>(1u << k);
        }
      }
      skip_[static_cast<size_t>(b)] = shift;
      lastKinds_[static_cast<size_t>(b)] = kinds;
    }
  }

  probeOffset_ = static_cast<int>(std::min<qsizetype>(shortest_ - 1, 15));
  for (int k = 0; k < kMaxTexts; ++k) {
    const QByteArray& text = texts_[static_cast<size_t>(k)];
    if (text.isEmpty()) continue;
    const auto i = static_cast<size_t>(probeCount_++);
    probeKind_[i] = k;
    std::memset(probeFirst_[i].bytes, text[0] | 0x20, 16);
    std::memset(probeOther_[i].bytes, text[probeOffset_] | 0x20, 16);
  }
  for (int i = probeCount_; i < kMaxTexts && probeCount_ > 0; ++i) {
    probeKind_[static_cast<size_t>(i)] = probeKind_[0];
    probeFirst_[static_cast<size_t>(i)] = probeFirst_[0];
    probeOther_[static_cast<size_t>(i)] = probeOther_[0];
  }
}

bool EntryScanner::MatchesAt(int k, const unsigned char* data, qsizetype size, qsizetype at) const {
  const QByteArray& text = texts_[static_cast<size_t>(k)];
  const qsizetype length = text.size();
  if (length > size - at) return false;
  const auto* t = reinterpret_cast<const unsigned char*>(text.constData());
  for (qsizetype j = 0; j < length; ++j) {
    if (upper_[data[at + j]] != t[j]) return false;
  }
  return true;
}

unsigned EntryScanner::KindsOf(QByteArrayView line) const {
  unsigned found = always_;
  if (shortest_ < 1) return found;
  const auto* p = reinterpret_cast<const unsigned char*>(line.data());
  const qsizetype n = line.size();
  const qsizetype m = shortest_;
  qsizetype i = m - 1;  // the window's last byte
  while (i < n) {
    const unsigned char shift = skip_[p[i]];
    if (shift != 0) {
      i += shift;
      continue;
    }
    unsigned candidates = lastKinds_[p[i]] & ~found;
    while (candidates != 0) {
      const int k = std::countr_zero(candidates);
      candidates &= candidates - 1;
      if (MatchesAt(k, p, n, i - (m - 1))) found |= 1u << k;
    }
    ++i;
  }
  return found;
}

void EntryScanner::StepPast(QByteArrayView data, qsizetype end, qsizetype& pos) {
  const qsizetype n = data.size();
  const char* p = data.data();
  if (end >= n) {
    pos = n;
  } else if (p[end] == '\x1a') {
    pos = n;  // the end-of-file mark ends the text
  } else if (p[end] == '\r' && end + 1 < n && p[end + 1] == '\n') {
    pos = end + 2;
  } else {
    pos = end + 1;
  }
}

bool EntryScanner::Next(QByteArrayView data, qsizetype& pos, QByteArrayView& line, unsigned& kinds) const {
  const qsizetype n = data.size();
  if (pos >= n) return false;
  const auto* p = reinterpret_cast<const unsigned char*>(data.data());
  if (p[pos] == 0x1a) {
    pos = n;
    return false;
  }
  const qsizetype start = pos;
#ifdef MIROLAT_BLOCK_SEARCH
  unsigned found = always_;
  qsizetype q = start;
  if (probeCount_ > 0) {
    // A block at q reads bytes q .. q + probeOffset_ + 15.
    const qsizetype lastBlock = n - 16 - probeOffset_;
    const __m128i caseBit = _mm_set1_epi8(0x20);
    auto probe = [&](const std::array<ProbeBytes, kMaxTexts>& probes, int i) {
      return _mm_load_si128(reinterpret_cast<const __m128i*>(probes[static_cast<size_t>(i)].bytes));
    };
    for (; q <= lastBlock; q += 16) {
      const __m128i block = Load(p + q);
      const unsigned endBits = LineEndBits(block);
      // Positions before the line's end (all 16 when it goes on).
      const unsigned inLine = endBits != 0 ? (endBits & (0u - endBits)) - 1 : 0xFFFFu;
      const __m128i folded = _mm_or_si128(block, caseBit);
      const __m128i shifted = _mm_or_si128(Load(p + q + probeOffset_), caseBit);
      __m128i any = _mm_setzero_si128();
#if defined(__GNUC__) && !defined(__clang__)
#pragma GCC unroll 8
#endif
      for (int i = 0; i < kMaxTexts; ++i) {
        const __m128i hit = _mm_and_si128(_mm_cmpeq_epi8(folded, probe(probeFirst_, i)),
                                          _mm_cmpeq_epi8(shifted, probe(probeOther_, i)));
        any = _mm_or_si128(any, hit);
      }
      if ((static_cast<unsigned>(_mm_movemask_epi8(any)) & inLine) != 0) {
        for (int i = 0; i < probeCount_; ++i) {
          const int k = probeKind_[static_cast<size_t>(i)];
          if ((found >> k) & 1u) continue;
          const __m128i hit = _mm_and_si128(_mm_cmpeq_epi8(folded, probe(probeFirst_, i)),
                                            _mm_cmpeq_epi8(shifted, probe(probeOther_, i)));
          unsigned bits = static_cast<unsigned>(_mm_movemask_epi8(hit)) & inLine;
          while (bits != 0) {
            const int j = std::countr_zero(bits);
            bits &= bits - 1;
            // A text holds no line ending, so a full match lies inside the line.
            if (MatchesAt(k, p, n, q + j)) {
              found |= 1u << k;
              break;
            }
          }
        }
      }
      if (endBits != 0) {
        const qsizetype end = q + std::countr_zero(endBits);
        line = data.sliced(start, end - start);
        kinds = found;
        StepPast(data, end, pos);
        return true;
      }
    }
  }
  // The last bytes of the data: the portable search over the whole line.
  const qsizetype end = FindLineEnd(data, q);
  line = data.sliced(start, end - start);
  kinds = found | KindsOf(line);
#else
  const qsizetype end = FindLineEnd(data, start);
  line = data.sliced(start, end - start);
  kinds = KindsOf(line);
#endif
  StepPast(data, end, pos);
  return true;
}

}  // namespace mirolat
