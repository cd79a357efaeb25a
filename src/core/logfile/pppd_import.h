#pragma once
// Dial-up sessions from a Linux system log: the lines pppd and chat write
// (classic syslog "Dec  6 21:03:12 host pppd[1234]: ...", or ISO-8601 times
// as rsyslog and `journalctl -o short-iso` write them) become the entries a
// modem log would hold for the same calls, written with the configured
// response texts so that the analysis recognises them.
//
//   chat: send (ATDT5551234^M)        -> dial      "<ModemDial>T5551234<cr>"
//   chat: CONNECT 46667/ARQ           -> connect   "<ModemConnect> (CONNECT 46667/ARQ)"
//     or pppd: Serial connection established.
//   chat: BUSY, NO CARRIER, ...       -> the response, then "<ModemUserDisconnect>"
//   pppd: Modem hangup, LCP terminated by peer, ... -> "<ModemHostDisconnect>"
//   pppd: Terminating on signal 15, Connection terminated., ... -> "<ModemUserDisconnect>"
//   pppd: Sent N bytes, received M bytes. -> "<ModemReads> : M bytes", "<ModemWrites> : N bytes"
#include <QByteArray>
#include <QByteArrayView>
#include <QList>
#include <QString>

#include "core/common/atomic_file.h"
#include "core/common/dates.h"
#include "core/model/configuration.h"

namespace mirolat {

class Progress;

// One modem-log entry to write.
struct ImportedEntry {
  Date Day = 0;
  int Seconds = 0;     // time of day, 0..86399
  int Hundredths = 0;  // 0..99
  QString Text;        // after "MM-DD-YYYY HH:MM:SS.hh - "

  // The whole line, without its ending.
  QString LogLine() const;
  bool operator==(const ImportedEntry&) const = default;
};

struct PppdImportOptions {
  // The year of the first classic-syslog line (0: take FileYear for the last
  // line instead). Classic lines carry no year; a month that goes back (from
  // December to January) starts the next year.
  int Year = 0;
  // The year of the system log's last classic line (its file's modification
  // year, or the current year for standard input). Used when Year is 0.
  int FileYear = 0;
};

struct PppdImportResult {
  QList<ImportedEntry> Entries;  // in the order of the system log
  int Sessions = 0;              // dials seen
  int Connections = 0;           // connects seen
  int LinesRead = 0;
  int LinesUsed = 0;             // pppd/chat lines that produced or changed something
  int CharactersLeftOut = 0;     // characters of the entries' texts a log line cannot hold
};

// Parses a system log's text. Lines of other programs, lines without a time
// stamp and lines the rules do not know are passed over. An entry's text
// keeps only the characters a log line holds (blank to '~'): control
// characters, DEL and anything beyond ASCII are left out and counted, so the
// entries never make the modem log one its check calls corrupt.
PppdImportResult ParsePppdLog(QByteArrayView systemLog, const PppdImportOptions& options,
                              const Configuration& config);

// The moment of a modem log's last dated entry (day 0 when the log has no
// line or its last non-empty line carries no date).
struct LogMoment {
  Date Day = 0;
  int Seconds = 0;
  int Hundredths = 0;
  bool operator<(const LogMoment& o) const;
};
LogMoment LastEntryMoment(QByteArrayView modemLog);

// The modem log with the entries later than its last entry appended, each
// line ended by CR LF (a last line without an ending gets one first) and cut
// to kMaxLogLineLength characters. An entry
// earlier than the one appended before it is left out, so the log stays in
// time order and appending the same entries again adds nothing.
// `appended` receives the number of entries added.
QByteArray AppendImportedEntries(QByteArrayView modemLog, const QList<ImportedEntry>& entries, int* appended);

// The largest modem log an import reads (and writes again) whole.
inline constexpr qint64 kMaxImportModemLogBytes = 2LL * 1024 * 1024 * 1024;

// Reads the modem log at `logPath` (missing: empty), appends the entries later
// than its last entry, and replaces the file atomically: a complete new file
// is written beside it, synced and renamed over it. Throws RunError when the
// log cannot be read or written, when it is not a regular file (a FIFO, a
// device, a folder) or larger than kMaxImportModemLogBytes, and when its last
// non-empty line carries no date (the log is left as it was then). Returns
// the number of entries added; with none, the file is not touched. Holds the
// log's write lock throughout (a wait for it is told to `progress`).
int ImportIntoModemLog(const QString& logPath, const QList<ImportedEntry>& entries,
                       FileSystemOps& ops = FileSystemOps::System(), Progress* progress = nullptr);

}  // namespace mirolat
