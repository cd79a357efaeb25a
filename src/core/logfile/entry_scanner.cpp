#include "core/logfile/entry_scanner.h"

#include <algorithm>
#include <bit>
#include <cstring>

#if defined(__SSE2__) || defined(_M_X64)
#include <emmintrin.h>
#define MIROLAT_BLOCK_SEARCH 1
#endif
#if defined(__GNUC__) && defined(__x86_64__)
#include <immintrin.h>
#define MIROLAT_WIDE_SEARCH 1
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

#ifdef MIROLAT_WIDE_SEARCH
// The texts that may have byte v[i] at one place: the table entries of its low
// and its high half, ANDed.
__attribute__((target("avx2"), always_inline)) inline __m256i NibbleLookup(__m256i low, __m256i high, __m256i v) {
  const __m256i nibble = _mm256_set1_epi8(0x0f);
  return _mm256_and_si256(_mm256_shuffle_epi8(low, _mm256_and_si256(v, nibble)),
                          _mm256_shuffle_epi8(high, _mm256_and_si256(_mm256_srli_epi16(v, 4), nibble)));
}

__attribute__((target("avx2"), always_inline)) inline __m256i Load32(const unsigned char* at) {
  return _mm256_loadu_si256(reinterpret_cast<const __m256i*>(at));
}

// The 64 bytes at p (reading p[0] .. p[65]): bit i of `ends` for a line
// ending at p[i], bit i of `starts` when some text may begin at p[i], and in
// candidates[i] which texts may. `low` and `high` are the three places'
// tables of 32 bytes each, one after the other.
__attribute__((target("avx2"))) void WideChunk(const unsigned char* p, const unsigned char* low,
                                               const unsigned char* high, quint64& ends, quint64& starts,
                                               unsigned char* candidates) {
  const __m256i low0 = Load32(low), low1 = Load32(low + 32), low2 = Load32(low + 64);
  const __m256i high0 = Load32(high), high1 = Load32(high + 32), high2 = Load32(high + 64);
  quint64 e = 0;
  quint64 s = 0;
  for (int half = 0; half < 2; ++half) {
    const unsigned char* q = p + 32 * half;
    const __m256i v = Load32(q);
    const __m256i endBytes =
        _mm256_or_si256(_mm256_or_si256(_mm256_cmpeq_epi8(v, _mm256_set1_epi8('\n')), _mm256_cmpeq_epi8(v, _mm256_set1_epi8('\r'))),
                        _mm256_cmpeq_epi8(v, _mm256_set1_epi8(0x1a)));
    const __m256i texts = _mm256_and_si256(
        _mm256_and_si256(NibbleLookup(low0, high0, v), NibbleLookup(low1, high1, Load32(q + 1))),
        NibbleLookup(low2, high2, Load32(q + 2)));
    _mm256_storeu_si256(reinterpret_cast<__m256i*>(candidates + 32 * half), texts);
    const auto none = static_cast<unsigned>(_mm256_movemask_epi8(_mm256_cmpeq_epi8(texts, _mm256_setzero_si256())));
    e |= quint64(static_cast<unsigned>(_mm256_movemask_epi8(endBytes))) << (32 * half);
    s |= quint64(~none) << (32 * half);
  }
  ends = e;
  starts = s;
}
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
  for (int k = 0; k < kMaxTexts; ++k) {
    const QByteArray& text = texts_[static_cast<size_t>(k)];
    const qsizetype head = std::min<qsizetype>(text.size(), 16);
    std::memcpy(head_[static_cast<size_t>(k)].bytes, text.constData(), static_cast<size_t>(head));
    headBits_[static_cast<size_t>(k)] = head == 16 ? 0xFFFFu : (1u << head) - 1;
  }

  // The wide search's tables.
  for (int k = 0; k < kMaxTexts; ++k) {
    const QByteArray& text = texts_[static_cast<size_t>(k)];
    if (text.isEmpty()) continue;
    const auto bit = static_cast<unsigned char>(1u << k);
    for (size_t j = 0; j < nibbleLow_.size(); ++j) {
      const auto set = [&](int b) {
        for (int half : {0, 16}) {
          nibbleLow_[j].bytes[half + (b & 15)] |= bit;
          nibbleHigh_[j].bytes[half + (b >> 4)] |= bit;
        }
      };
      if (qsizetype(j) >= text.size()) {
        for (int b = 0; b < 256; b += 17) set(b);  // every low and every high half
        continue;
      }
      const auto b = static_cast<unsigned char>(text[qsizetype(j)]);
      set(b);
      if (b >= 'A' && b <= 'Z') set(b + ('a' - 'A'));
    }
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
  qsizetype j = 0;
#ifdef MIROLAT_BLOCK_SEARCH
  if (at + 16 <= size) {
    // The first 16 bytes upper-cased ('a' to 'z' lose bit 0x20) against the text's.
    const __m128i v = Load(data + at);
    const __m128i lower =
        _mm_and_si128(_mm_cmpgt_epi8(v, _mm_set1_epi8('a' - 1)), _mm_cmplt_epi8(v, _mm_set1_epi8('z' + 1)));
    const __m128i upper = _mm_sub_epi8(v, _mm_and_si128(lower, _mm_set1_epi8(0x20)));
    const auto same = static_cast<unsigned>(_mm_movemask_epi8(
        _mm_cmpeq_epi8(upper, _mm_load_si128(reinterpret_cast<const __m128i*>(head_[static_cast<size_t>(k)].bytes)))));
    const unsigned counted = headBits_[static_cast<size_t>(k)];
    if ((same & counted) != counted) return false;
    j = std::min<qsizetype>(length, 16);
  }
#endif
  for (; j < length; ++j) {
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

bool EntryScanner::WideSearchAvailable() {
#ifdef MIROLAT_WIDE_SEARCH
  static const bool has = __builtin_cpu_supports("avx2");
  return has;
#else
  return false;
#endif
}

EntryScanner::Lines::Lines(const EntryScanner& scanner, QByteArrayView data, qsizetype pos)
    : scanner_(scanner), data_(data), pos_(pos), wide_(WideSearchAvailable() && scanner.possible_ != 0) {}

void EntryScanner::Lines::Verify(quint64 starts, unsigned& found) const {
  const auto* p = reinterpret_cast<const unsigned char*>(data_.data());
  while (starts != 0) {
    const int i = std::countr_zero(starts);
    starts &= starts - 1;
    unsigned texts = candidates_[i] & ~found;
    while (texts != 0) {
      const int k = std::countr_zero(texts);
      texts &= texts - 1;
      // A text holds no line ending, so a full match lies inside the line.
      if (scanner_.MatchesAt(k, p, data_.size(), chunkAt_ + i)) found |= 1u << k;
    }
  }
}

bool EntryScanner::Lines::Next(QByteArrayView& line, unsigned& kinds) {
  if (!wide_) return scanner_.Next(data_, pos_, line, kinds);
#ifdef MIROLAT_WIDE_SEARCH
  const qsizetype n = data_.size();
  if (pos_ >= n) return false;
  const auto* p = reinterpret_cast<const unsigned char*>(data_.data());
  if (p[pos_] == 0x1a) {
    pos_ = n;
    return false;
  }
  const qsizetype start = pos_;
  unsigned found = scanner_.always_;
  qsizetype q = start;
  // A chunk at c reads bytes c .. c + 65; the last bytes go to the portable search.
  while (q + 66 <= n) {
    // Outside the chunk (or before the first one) the offset is 64 or more.
    auto offset = static_cast<quint64>(q - chunkAt_);
    if (chunkAt_ < 0 || offset >= 64) {
      chunkAt_ = q;
      offset = 0;
      WideChunk(p + q, scanner_.nibbleLow_[0].bytes, scanner_.nibbleHigh_[0].bytes, ends_, starts_, candidates_);
    }
    const quint64 ahead = ~quint64(0) << offset;
    const quint64 ends = ends_ & ahead;
    quint64 starts = starts_ & ahead;
    if (ends != 0) {
      const int endBit = std::countr_zero(ends);
      starts &= (quint64(1) << endBit) - 1;
      if (starts != 0) Verify(starts, found);
      const qsizetype end = chunkAt_ + endBit;
      line = QByteArrayView(data_.data() + start, end - start);
      kinds = found;
      // A chunk ends at least two bytes before the data: the byte after the ending is there.
      const unsigned char c = p[end];
      pos_ = c == 0x1a ? n : (c == '\r' && p[end + 1] == '\n') ? end + 2 : end + 1;
      return true;
    }
    if (starts != 0) Verify(starts, found);
    q = chunkAt_ + 64;
  }
  const qsizetype end = FindLineEnd(data_, q);
  line = data_.sliced(start, end - start);
  kinds = found | scanner_.KindsOf(line);
  StepPast(data_, end, pos_);
  return true;
#else
  return false;
#endif
}

}  // namespace mirolat
