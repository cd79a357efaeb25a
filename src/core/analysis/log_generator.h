#pragma once
// A synthetic modem log for demos, tests and benchmarks: dial-up and answered
// sessions with the modem driver's chatter around them, in the log's line
// format (MM-DD-YYYY HH:MM:SS.hh - text), every line ending in CR LF.
//
// The same options always give the same bytes: the generator draws from a
// seeded std::mt19937 through its own integer arithmetic, never through the
// standard distributions (whose results differ between libraries).
#include <QByteArray>
#include <QDate>
#include <QStringList>

namespace mirolat {

struct LogGeneratorOptions {
  quint32 seed = 1;
  int days = 30;                           // days of log, from `start`
  QDate start = QDate(1998, 1, 1);
  int sessionsPerDay = 3;                  // average calls per day (dials and answers)
  int maxBytesPerSecond = 3200;            // download rate of the fastest session
};

// What the generated log holds, for tests and demos.
struct GeneratedLogStats {
  int lines = 0;
  int connectedSessions = 0;   // sessions with a "Connection established" line
  int answeredSessions = 0;    // of those, answered calls
  int missingDisconnects = 0;  // connected sessions without a hang-up line
  int failedDials = 0;         // busy, no carrier or no answer: no connection
  int midnightCrossings = 0;   // sessions hung up on a later day than they connected
  int unusableNumbers = 0;     // dials whose number holds a comma
  QDate lastDate;              // the date of the last line (none for an empty log)
};

// The whole log as bytes (Latin-1 text, CR LF line ends).
QByteArray GenerateModemLog(const LogGeneratorOptions& options, GeneratedLogStats* stats = nullptr);

// The numbers the generator dials, most frequent first. The last one is
// dialled rarely and is meant to match no configured service; dials of the
// first one are now and then prefixed with "9," (an outside-line prefix whose
// comma makes the number unusable).
QStringList GeneratedLogNumbers();

}  // namespace mirolat
