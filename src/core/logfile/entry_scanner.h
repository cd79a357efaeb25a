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
};

}  // namespace mirolat
