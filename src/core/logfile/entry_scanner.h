#pragma once
// Splits a log's bytes into lines and finds, in the same pass over the bytes,
// which of the configured response texts each line holds. A line holds a text
// when the line, upper-cased (ASCII letters only), contains it.
#include <QByteArray>
#include <QByteArrayView>
#include <QList>
#include <QString>
#include <array>

namespace mirolat {

// The first line ending or end-of-file mark (LF, CR or byte 26) at or after
// `from`, or data.size() when there is none.
qsizetype FindLineEnd(QByteArrayView data, qsizetype from);

class EntryScanner {
 public:
  static constexpr int kMaxTexts = 8;

  // Text k (k < kMaxTexts) found in a line sets bit k of the line's kinds. An
  // empty text is in every line; a text that no upper-cased log line can hold
  // (a lower-case ASCII letter, a line ending or byte 26, a character beyond
  // Latin-1) is in none.
  explicit EntryScanner(const QList<QString>& texts);

  // The kinds of one line (without its ending), bytes as Latin-1.
  unsigned KindsOf(QByteArrayView line) const;

  // The next line of `data` from `pos`, as NextLogLine splits it (CR LF, lone
  // LF or lone CR end a line; byte 26 ends the text), with its kinds. Moves
  // `pos` past the line's ending; returns false when no line is left.
  bool Next(QByteArrayView data, qsizetype& pos, QByteArrayView& line, unsigned& kinds) const;

  // True when this processor runs the wide search of Lines (AVX2).
  static bool WideSearchAvailable();

  // The lines of one stretch of data in turn, as Next splits them and with the
  // same kinds. On processors with AVX2 the data is searched 64 bytes at a
  // time, each byte once however short the lines: a bit mask of the line
  // endings and one of the places where a text may begin (its first three
  // bytes, either case, looked up by their two halves), checked in full only
  // there. Elsewhere it calls Next. `data` must stay as it is while the
  // cursor reads it.
  class Lines {
   public:
    Lines(const EntryScanner& scanner, QByteArrayView data, qsizetype pos = 0);
    bool Next(QByteArrayView& line, unsigned& kinds);
    // Where the next line begins.
    qsizetype pos() const { return pos_; }

   private:
    void Verify(quint64 starts, unsigned& found) const;

    const EntryScanner& scanner_;
    QByteArrayView data_;
    qsizetype pos_;
    bool wide_;
    // The 64 bytes at chunkAt_ (-1: none yet): their line endings and the
    // places a text may begin, and for each place the texts that may.
    qsizetype chunkAt_ = -1;
    quint64 ends_ = 0;
    quint64 starts_ = 0;
    alignas(32) unsigned char candidates_[64] = {};
  };

 private:
  bool MatchesAt(int k, const unsigned char* data, qsizetype size, qsizetype at) const;
  static void StepPast(QByteArrayView data, qsizetype end, qsizetype& pos);

  std::array<QByteArray, kMaxTexts> texts_;  // Latin-1 bytes of the texts that can be found
  unsigned always_ = 0;                       // empty texts
  unsigned possible_ = 0;                     // texts that can be found, non-empty
  std::array<unsigned char, 256> upper_{};    // ASCII upper-casing of one byte

  // Portable search: a skip search over the set of texts (Horspool), indexed
  // by the line's raw byte: how far the window may move on, and which texts
  // end their first shortest_ bytes with that byte (any case).
  std::array<unsigned char, 256> skip_{};
  std::array<unsigned char, 256> lastKinds_{};
  qsizetype shortest_ = 0;

  // Block search (16 bytes at a time): each possible text is probed by its
  // first byte and its byte at probeOffset_ (the same offset for all texts,
  // the shortest text's last byte or the 16th), both with bit 0x20 set so that
  // either case of a letter passes; a position passing both is compared in
  // full. Unused probes repeat the first one. Each probe byte fills 16 bytes.
  struct alignas(16) ProbeBytes {
    unsigned char bytes[16];
  };
  int probeCount_ = 0;
  std::array<int, kMaxTexts> probeKind_{};
  std::array<ProbeBytes, kMaxTexts> probeFirst_{};
  std::array<ProbeBytes, kMaxTexts> probeOther_{};
  int probeOffset_ = 0;

  // Wide search: for each of a text's first three bytes, bit k of
  // nibbleLow_[j][b & 15] and of nibbleHigh_[j][b >> 4] set when byte b may
  // stand at place j of text k (both cases of a letter; every byte past the
  // end of a shorter text). Each table is written twice, for both halves of a
  // 32-byte register.
  struct alignas(32) NibbleTable {
    unsigned char bytes[32];
  };
  static_assert(sizeof(NibbleTable) == 32, "the three places' tables lie one after the other");
  std::array<NibbleTable, 3> nibbleLow_{};
  std::array<NibbleTable, 3> nibbleHigh_{};

  // MatchesAt 16 bytes at a time: each text's first 16 bytes (zeros after a
  // shorter one) and the bits of those that count.
  std::array<ProbeBytes, kMaxTexts> head_{};
  std::array<unsigned, kMaxTexts> headBits_{};
};

}  // namespace mirolat
