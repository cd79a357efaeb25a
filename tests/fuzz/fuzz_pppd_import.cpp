// libFuzzer entry for the system-log importer: any bytes as a system log.
// Every entry it makes must be a dated modem-log line whose date and time read
// back as written, in the order of the system log's moments within one year
// rollover; appending them to an empty log and again to the result must add
// nothing the second time.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include <QByteArrayView>

#include "core/logfile/log_format.h"
#include "core/logfile/pppd_import.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace mirolat;
  const QByteArrayView input(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
  const Configuration config;
  // The first byte, when there is one, picks the year rule.
  const int year = size > 0 && (data[0] & 1) ? 1998 + data[0] % 50 : 0;
  const PppdImportResult result = ParsePppdLog(input, PppdImportOptions{year, 2026}, config);
  if (result.Connections > result.Entries.size() || result.LinesUsed > result.LinesRead) std::abort();
  for (const ImportedEntry& e : result.Entries) {
    const QString line = e.LogLine();
    if (ParseLogDate(line) != e.Day) std::abort();
    TimeOfDay t = -1;
    if (!ReadLineTime(line, t) || t != e.Seconds) std::abort();
    if (e.Hundredths < 0 || e.Hundredths > 99) std::abort();
  }
  int first = 0;
  const QByteArray log = AppendImportedEntries(QByteArrayView(), result.Entries, &first);
  int second = -1;
  const QByteArray again = AppendImportedEntries(log, result.Entries, &second);
  if (second != 0 || again != log) std::abort();
  return 0;
}
