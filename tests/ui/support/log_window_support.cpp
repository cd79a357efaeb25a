#include "support/log_window_support.h"

#include "core/logfile/log_checks.h"

namespace mirolat::test {

QByteArray JanuaryLog() {
  return QByteArrayLiteral(
      "01-01-1998 10:00:00.00 - Recv: ATDT5551234\r\n"
      "01-01-1998 10:00:20.00 - Connection established at 33600bps.\r\n"
      "01-01-1998 10:30:00.00 - Hanging up the modem.\r\n"
      "01-01-1998 10:30:01.00 - 1843 bytes read.\r\n"
      "01-15-1998 20:00:00.00 - Recv: ATDT5559876\r\n"
      "01-15-1998 20:00:15.00 - CONNECTION ESTABLISHED at 28800bps.\r\n"
      "01-15-1998 20:10:00.00 - Remote modem hung up.\r\n"
      "01-16-1998 08:00:00.00 - Initializing modem.\r\n"
      "01-31-1998 23:59:00.00 - Session statistics: connection established\r\n");
}

QByteArray ReadAll(const QString& path) {
  QFile f(path);
  if (!f.open(QIODevice::ReadOnly)) return QByteArrayLiteral("<missing>");
  return f.readAll();
}

void WriteAll(const QString& path, const QByteArray& bytes) {
  QFile f(path);
  if (f.open(QIODevice::WriteOnly | QIODevice::Truncate)) f.write(bytes);
}

void UseLogFile(AppState& state, const QString& dir, const QString& name, const QByteArray& bytes, bool archive) {
  WriteAll(dir + name, bytes);
  CurrentFileState& f = state.File;
  f = CurrentFileState{};
  f.WindowsDir = dir;
  f.LogFileName = name;
  f.LogFilePath = dir + name;
  f.LogExists = true;
  f.ArchiveOpen = archive;
  RecordingReporter quiet;
  ScanLog(f, state.Config, quiet);
}

}  // namespace mirolat::test
