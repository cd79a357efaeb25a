// The log-line functions over arbitrary lines: dates, times, byte counts,
// entry kinds and the line walker. A RunError is an answer (a line whose time
// or count does not convert); anything else (a crash, a sanitizer report,
// another exception) is a finding.
#include <QByteArrayView>
#include <QString>
#include <cstdint>

#include "core/common/errors.h"
#include "core/logfile/log_format.h"

using namespace mirolat;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const Configuration config;
  const QByteArrayView bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
  qsizetype pos = 0;
  QByteArrayView lineBytes;
  QString line;
  QString upper;
  qsizetype previous = -1;
  while (NextLogLine(bytes, pos, lineBytes)) {
    // Each call must move on, or a log would be read for ever.
    if (pos <= previous) __builtin_trap();
    previous = pos;
    AssignLatin1(lineBytes, line);
    UpperAscii(line, upper);
    if (upper != UpperAscii(line) || upper.size() != line.size()) __builtin_trap();
    const Date date = ParseLogDate(line);
    (void)date;
    TimeOfDay time = -1;
    try {
      if (ReadLineTime(line, time) && (time < 0 || time > 86399)) __builtin_trap();
    } catch (const RunError&) {
    }
    for (EntryKind kind : {EntryKind::Dial, EntryKind::Answer, EntryKind::Connect, EntryKind::UserDisconnect,
                           EntryKind::HostDisconnect, EntryKind::Reads, EntryKind::Writes}) {
      (void)IsEntry(upper, kind, config);
    }
    try {
      (void)ExtractReads(upper, config);
    } catch (const RunError&) {
    }
    try {
      (void)ExtractWrites(upper, config);
    } catch (const RunError&) {
    }
  }
  return 0;
}
