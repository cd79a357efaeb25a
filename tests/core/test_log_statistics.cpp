// Entry counts stay exact however long the log: the count of a log's bytes,
// the texts the main window and `scan` show, and the statistics of a file.
#include <gtest/gtest.h>

#include <cstring>

#include "core/logfile/log_checks.h"
#include "core/logfile/log_statistics.h"

namespace mirolat {
namespace {

LocaleValues English() { return LoadLocaleInfo(QLocale(QLocale::English, QLocale::UnitedStates)); }

// A log of `entries` non-empty lines: a dated first and last line, one-letter
// lines between them, and an empty line after every 1000th (not counted).
QByteArray LongLog(qint64 entries) {
  const QByteArray first = "01-15-1998 12:00:00.00 - Opening Modem\r\n";
  const QByteArray last = "02-16-1998 12:00:00.00 - Closing Modem.\r\n";
  const qint64 middle = entries - 2;
  QByteArray bytes(first.size() + middle * 2 + middle / 1000 + last.size(), Qt::Uninitialized);
  char* out = bytes.data();
  std::memcpy(out, first.constData(), std::size_t(first.size()));
  out += first.size();
  for (qint64 i = 1; i <= middle; ++i) { *out++ = 'x'; *out++ = '\n'; if (i % 1000 == 0) *out++ = '\n'; }
  std::memcpy(out, last.constData(), std::size_t(last.size()));
  return bytes;
}

// 21,000,001 entries: past 2^24, where a single-precision count stops growing
// (16,777,216 + 1 is 16,777,216 again).
TEST(LogEntryCount, CountsPastTwoToTheTwentyFourExactly) {
  const qint64 entries = 21000001;
  const LogEntryFigures figures = CountLogEntries(LongLog(entries));
  EXPECT_EQ(figures.Entries, entries);
  EXPECT_EQ(figures.FirstDate, MakeDate(1998, 1, 15));
  EXPECT_EQ(figures.LastDate, MakeDate(1998, 2, 16));
  EXPECT_EQ(LogEntryCountText(figures.Entries), QStringLiteral("21000001"));
}

// The main window's four statistics: a log, an empty log, a corrupt file and
// a file that is not a modem log.
TEST(LogStatistics, TextsFollowTheFileState) {
  CurrentFileState log;
  log.LogFileSize = 153600;
  log.LogEntryCount = 21000001;
  log.LogFirstDate = MakeDate(1998, 1, 15);
  log.LogLastDate = MakeDate(1998, 2, 16);
  CurrentFileState empty;
  empty.LogEmpty = true;
  CurrentFileState corrupt = log;
  corrupt.LogCorrupt = true;
  CurrentFileState notModemLog = log;
  notModemLog.NotAModemLog = true;
  const struct {
    const char* name;
    const CurrentFileState& file;
    const char* length;
    const char* entries;
    const char* first;
    const char* last;
  } cases[] = {
      {"log", log, "153600 Bytes (150KB)", "21000001", "Thursday, January 15, 1998", "Monday, February 16, 1998"},
      {"empty", empty, "0 Bytes (0KB)", "0", "N/A", "N/A"}, {"corrupt", corrupt, "N/A", "N/A", "N/A", "N/A"},
      {"not a modem log", notModemLog, "N/A", "N/A", "N/A", "N/A"}};
  const LocaleValues english = English();
  for (const auto& c : cases) {
    const LogStatisticsTexts t = LogStatistics(c.file, english);
    EXPECT_EQ(t.Length, QLatin1String(c.length)) << c.name;
    EXPECT_EQ(t.Entries, QLatin1String(c.entries)) << c.name;
    EXPECT_EQ(t.First, QLatin1String(c.first)) << c.name;
    EXPECT_EQ(t.Last, QLatin1String(c.last)) << c.name;
  }
}

}  // namespace
}  // namespace mirolat
