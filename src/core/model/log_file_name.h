#pragma once
// The rule for the configured modem log's name (ModemLogFile): the log is
// always looked for in the log directory, and Clear Modem Log deletes what the
// name names, so it must be a plain file name there and nothing else.
#include <QString>

namespace mirolat {

// True for a plain file name: not empty, not "." or "..", no path separator
// ('/' or '\'), no wildcard ('*', '?'), no control character, and at most 255
// bytes in UTF-8 (the longest name a folder entry can have).
bool IsPlainLogFileName(const QString& name);

// Why a name is not plain, for messages ("must be a plain file name ...").
QString PlainLogFileNameRule();

}  // namespace mirolat
