#pragma once
// The modem log's line format: a date in characters 1-10 (mm-dd-yyyy), a time
// of day in characters 12-19 (hh:mm:ss), then free text searched for the
// configured response texts.
#include <QByteArrayView>
#include <QString>
#include <QStringView>

#include "core/common/dates.h"
#include "core/model/configuration.h"

namespace mirolat {

// The longest line a modem log holds, in characters without its ending. The
// log checks call a log with a longer line corrupt, as they do one with a
// byte no log line holds, and Repair drops such a line: no entry the program
// reads comes near it, a response text being at most 255 characters.
inline constexpr qsizetype kMaxLogLineLength = 1024;

// The date of a line, or 0 when it carries none. Only the log's own form is a
// date: characters 1-10 are mm-dd-yyyy, every digit there, and name a day
// that exists from 1900 to 9999 (ExistingDate). Anything else (13-01-1998,
// 02-30-1999, 02/15/1999, 1-5-1998, a two-digit year) is an undated line.
Date ParseLogDate(QStringView line);

// When the line is at least 19 characters long, sets lineTime to the time of
// day in characters 12-19 and returns true; shorter lines leave lineTime as it
// was and return false. Characters 12-19 that are not a time of day throw a
// RunError (condition Other, "Type mismatch").
bool ReadLineTime(QStringView line, TimeOfDay& lineTime);

// Byte count of a reads / writes entry: the first run of digits after the
// first occurrence of the response text (0 when there is none). A count
// beyond the 32-bit range throws a RunError ("Overflow").
qint32 ExtractReads(QStringView upperLine, const Configuration& config);
qint32 ExtractWrites(QStringView upperLine, const Configuration& config);

// Entry recognition on an upper-cased line.
enum class EntryKind { Dial, Answer, Connect, UserDisconnect, HostDisconnect, Reads, Writes };
bool IsEntry(QStringView upperLine, EntryKind kind, const Configuration& config);
inline bool IsDisconnect(QStringView upperLine, const Configuration& config) {
  return IsEntry(upperLine, EntryKind::UserDisconnect, config) || IsEntry(upperLine, EntryKind::HostDisconnect, config);
}

// The first occurrence of `needle` in `hay` (0 for an empty needle), or -1:
// the needle's first character is looked for with the library's vectorised
// search, the rest compared in place.
qsizetype FindInLine(QStringView hay, QStringView needle);

// ASCII-only upper-casing, as the log is compared.
QString UpperAscii(QStringView line);
// The same into `out`, reusing its storage (no allocation once it is large enough).
void UpperAscii(QStringView line, QString& out);

// Walks a log's bytes line by line from `pos`: a line ends at CR LF, a lone LF
// or a lone CR; the last line needs no ending. An end-of-file mark (byte 26)
// ends the text. Sets `line` (without its ending) and moves `pos` past the
// ending; returns false when no line is left.
bool NextLogLine(QByteArrayView data, qsizetype& pos, QByteArrayView& line);

// The bytes of a log line as text, one character per byte, into `out`
// (reusing its storage).
void AssignLatin1(QByteArrayView bytes, QString& out);
// AssignLatin1 and UpperAscii in one pass, 16 bytes at a time where the
// processor allows: the bytes as characters, 'a' to 'z' upper-cased.
void AssignUpperLatin1(QByteArrayView bytes, QString& out);

}  // namespace mirolat
