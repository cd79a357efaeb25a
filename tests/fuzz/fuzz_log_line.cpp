// The log-line functions over arbitrary lines: dates, times, byte counts,
// entry kinds and the line walker; the wide search of the response texts
// (and the bulk skip of a day's lines) against the line-by-line one. A RunError is an answer (a line whose time
// or count does not convert); anything else (a crash, a sanitizer report,
// another exception) is a finding.
#include <QByteArrayView>
#include <QString>
#include <cstdint>

#include "core/common/errors.h"
#include "core/logfile/byte_scan.h"
#include "core/logfile/entry_scanner.h"
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
  {
    // The cursor splits and searches exactly as Next does, line by line.
    static const EntryScanner scanner(QList<QString>{config.ModemDial, config.ModemAnswer, config.ModemConnect,
                                                     config.ModemUserDisconnect, config.ModemHostDisconnect,
                                                     config.ModemReads, config.ModemWrites});
    EntryScanner::Lines lines(scanner, bytes);
    qsizetype at = 0;
    QByteArrayView expected;
    QByteArrayView got;
    unsigned expectedKinds = 0;
    unsigned gotKinds = 0;
    for (;;) {
      const bool more = scanner.Next(bytes, at, expected, expectedKinds);
      if (lines.Next(got, gotKinds) != more) __builtin_trap();
      if (!more) break;
      if (got.data() != expected.data() || got.size() != expected.size() || gotKinds != expectedKinds ||
          lines.pos() != at) {
        __builtin_trap();
      }
    }
    // The lines that begin with the first line's ten bytes, passed in bulk and one by one.
    if (size >= 10) {
      qsizetype skipped = 0;
      const qint64 passed = SkipLinesStartingWith(bytes, skipped, reinterpret_cast<const char*>(data), 1000000);
      qsizetype walked = 0;
      qint64 count = 0;
      QByteArrayView line;
      for (;;) {
        qsizetype next = walked;
        if (!NextLogLine(bytes, next, line) || !line.startsWith(bytes.first(10))) break;
        walked = next;
        ++count;
      }
      // Only a prefix without line endings is a day's prefix.
      if (FindLineEnd(bytes.first(10), 0) == 10 && (passed != count || skipped != walked)) __builtin_trap();
    }
  }
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
