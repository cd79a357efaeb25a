#pragma once
// The two walks over every byte of a log that the start-up checks make, 16
// bytes at a time where the processor allows: the search for a byte a modem
// log cannot contain, and the count of non-empty lines.
#include <QByteArrayView>
#include <QtGlobal>
#include <cstring>

namespace mirolat {

// The first ten bytes at a and at b (a log line's date) are equal: two loads
// each rather than a library call.
inline bool SameTenBytes(const char* a, const char* b) {
  quint64 a8, b8;
  quint16 a2, b2;
  std::memcpy(&a8, a, 8);
  std::memcpy(&b8, b, 8);
  std::memcpy(&a2, a + 8, 2);
  std::memcpy(&b2, b + 8, 2);
  return a8 == b8 && a2 == b2;
}

// Whether the walks below may go 64 bytes at a time with AVX2 where the
// processor has it (the default). Off, every processor's 16-byte and
// byte-at-a-time walks run, so that tests reach them on any machine.
void AllowWideByteScans(bool allow);

// A byte a modem log cannot contain: control characters other than tab, line
// feed and carriage return, and everything above '~'.
constexpr bool IsForbiddenLogByte(unsigned char b) { return (b < 32 && b != 9 && b != 10 && b != 13) || b > 126; }

// The index of the first forbidden byte of p[0..n), or n when there is none.
qsizetype FindForbiddenByte(const unsigned char* p, qsizetype n);

// Moves `pos` past the lines of `data` from `pos` on that begin with the ten
// bytes at `prefix` (which hold no line ending), one after the other, at most
// `maxLines` of them, and returns how many it passed. Lines are split as
// NextLogLine splits them: CR LF, lone LF or lone CR end a line, byte 26 ends
// the text (`pos` then moves to the end), the last line needs no ending. On
// processors with AVX2 the line endings are found 64 bytes at a time.
qint64 SkipLinesStartingWith(QByteArrayView data, qsizetype& pos, const char* prefix, qint64 maxLines);

// Follows the length of the current line through a text fed to it in
// pieces, in order (a line ends at a line feed or a carriage return, as the
// log is split; the ending is not part of its length), and tells when a line
// grows beyond `limit` bytes.
class LineLengthCheck {
 public:
  explicit LineLengthCheck(qsizetype limit) : limit_(limit) {}
  // Feeds p[0..n); false when a line so far is longer than the limit.
  bool Feed(const unsigned char* p, qsizetype n);

 private:
  qsizetype limit_;
  qsizetype current_ = 0;  // bytes of the line not yet ended
};

// Counts the non-empty lines of a text fed to it in pieces, in order. A line
// ends at a line feed or a carriage return (CR LF, lone LF, lone CR, as the
// log is split); the last line needs no ending.
class LineCounter {
 public:
  void Feed(const unsigned char* p, qsizetype n);
  // FindForbiddenByte and Feed in one walk: feeds p[0..n) and returns n when
  // no byte of it is forbidden; otherwise returns the index of the first
  // forbidden byte (what was fed is then unspecified).
  qsizetype FeedUnlessForbidden(const unsigned char* p, qsizetype n);
  // Lines so far, the last one included when the text does not end with a line ending.
  qint64 Lines() const { return ended_ + (previousEnds_ ? 0 : 1); }

 private:
  template <bool kCheck>
  qsizetype Walk(const unsigned char* p, qsizetype n);
  template <bool kCheck>
  qsizetype Walk16(const unsigned char* p, qsizetype n);

  qint64 ended_ = 0;         // non-empty lines whose ending was seen
  bool previousEnds_ = true;  // the last byte fed was a line ending (or nothing was fed)
};

}  // namespace mirolat
