#include <gtest/gtest.h>

#include <QFile>

#include "cli_test_support.h"

namespace mirolat {
namespace {

class CliScanTest : public testing::CliTest {
 protected:
  int Scan(const QStringList& words) { return CliTest::Run(Words("scan") + words); }
  int ScanEn(const QString& path) { return Scan(Words("--log") << path << Words("--locale en_US")); }
};

const QByteArray kLog = "01-15-1998 10:23:45.12 - Dialing.\r\n"
    "01-15-1998 10:23:45.20 - Recv: ATDT5551234\r\n"
    "01-15-1998 10:24:10.00 - Connection established at 33600bps.\r\n"
    "\r\n"
    "02-03-1998 11:00:00.00 - Hanging up the modem.\r\n";

TEST_F(CliScanTest, PrintsTheStatisticsOfAHealthyLog) {
  const QString path = Write(QStringLiteral("ModemLog.txt"), kLog);
  EXPECT_EQ(ScanEn(path), 0) << err_.toStdString();
  const QString expected = QStringLiteral("Name: ModemLog.txt\n"
                               "Path: %1\n"
                               "Size: %2 bytes (0 KB)\n"
                               "Entries: 4\n"
                               "First entry: Thursday, January 15, 1998\n"
                               "Last entry: Tuesday, February 3, 1998\n"
                               "Warnings: none\n")
                               .arg(path)
                               .arg(kLog.size());
  EXPECT_EQ(out_, expected);
}

// Logs the scan fails on, and an empty one it does not; what it prints of each.
TEST_F(CliScanTest, MissingCorruptUndatedAndEmptyLogs) {
  const struct {
    const char* what;
    QByteArray bytes;  // null: no file
    int exit;
    const char* says[2];
  } cases[] = {
      {"missing", QByteArray(), 1,
       {"Size: no such file\n", "  No Modem Log Detected!: Mirolat Cannot Locate Your Modem Log File!\n"}},
      {"corrupt", kLog + "\x01" + kLog, 1,
       {"Entries: not counted (the log is corrupt)\n", "  WARNING: Corruption Detected in Modem Log File!\n"}},
      {"undated last line", kLog + "a final undated line\r\n", 1, {"Last entry: none\n", "  WARNING: INVALID MODEM LOG FILE!\n"}},
      {"empty", QByteArray(""), 0, {"Size: 0 bytes (0 KB)\nEntries: 0 (empty log)\n", "Warnings: none\n"}}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    const QString path = dir_.filePath(QStringLiteral("ModemLog.txt"));
    QFile::remove(path);
    if (!c.bytes.isNull()) Write(QStringLiteral("ModemLog.txt"), c.bytes);
    EXPECT_EQ(ScanEn(path), c.exit) << err_.toStdString();
    for (const char* text : c.says) EXPECT_TRUE(out_.contains(QLatin1String(text))) << out_.toStdString();
  }
}

TEST_F(CliScanTest, UsageErrors) {
  EXPECT_EQ(Scan(Words("--log")), 2);
  EXPECT_TRUE(err_.contains(QStringLiteral("usage: mirolat-cli scan [--log FILE]")));
  EXPECT_EQ(Scan(Words("--log x --bogus")), 2);
}

}  // namespace
}  // namespace mirolat
