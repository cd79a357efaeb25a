// pppd and chat lines of a system log turned into modem-log entries.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <cerrno>

#include "core/common/errors.h"
#include "core/logfile/log_format.h"
#include "core/logfile/pppd_import.h"

#include "file_test_support.h"

namespace mirolat {
namespace {

QStringList Lines(const PppdImportResult& r) {
  QStringList out;
  for (const ImportedEntry& e : r.Entries) out.append(e.LogLine());
  return out;
}

PppdImportResult Parse(const QByteArray& log, int year = 2026, int fileYear = 0) {
  return ParsePppdLog(log, PppdImportOptions{year, fileYear}, Configuration{});
}

const QByteArray kSession = "Dec  6 21:03:11 host pppd[1234]: pppd 2.4.9 started by root, uid 0\n"
    "Dec  6 21:03:12 host chat[1235]: abort on (NO CARRIER)\n"
    "Dec  6 21:03:12 host chat[1235]: send (ATDT5551234^M)\n"
    "Dec  6 21:03:12 host chat[1235]: expect (CONNECT)\n"
    "Dec  6 21:03:35 host chat[1235]: CONNECT 46667/ARQ/V90\n"
    "Dec  6 21:03:35 host pppd[1234]: Serial connection established.\n"
    "Dec  6 21:45:10 host pppd[1234]: Terminating on signal 15\n"
    "Dec  6 21:45:10 host pppd[1234]: Connect time 41.6 minutes.\n"
    "Dec  6 21:45:10 host pppd[1234]: Sent 1000 bytes, received 20000 bytes.\n"
    "Dec  6 21:45:10 host pppd[1234]: Connection terminated.\n"
    "Dec  6 21:45:11 host pppd[1234]: Exit.\n";

const QStringList kSessionLines = {
    "12-06-2026 21:03:12.00 - RECV: ATDT5551234<cr>",
    "12-06-2026 21:03:35.00 - CONNECTION ESTABLISHED (CONNECT 46667/ARQ/V90)",
    "12-06-2026 21:45:10.00 - HANGING UP THE MODEM", "12-06-2026 21:45:10.00 - READS : 20000 bytes",
    "12-06-2026 21:45:10.00 - WRITES : 1000 bytes"};

struct Row { const char* name; QByteArray log; QStringList expected; };

TEST(PppdImport, SystemLogsBecomeModemLogEntries) {
  const Row rows[] = {
      {"classic syslog, a session ended here", kSession, kSessionLines},
      {"journalctl -o short-iso",
       "2026-12-06T21:03:12+0100 host chat[1235]: send (ATDP0123456^M)\n"
       "2026-12-06T21:03:35+0100 host pppd[1234]: Serial connection established.\n"
       "2026-12-06T22:00:00+0100 host pppd[1234]: Modem hangup\n"
       "2026-12-06T22:00:00+0100 host pppd[1234]: Sent 5 bytes, received 7 bytes.\n",
       {"12-06-2026 21:03:12.00 - RECV: ATDP0123456<cr>", "12-06-2026 21:03:35.00 - CONNECTION ESTABLISHED",
        "12-06-2026 22:00:00.00 - REMOTE MODEM HUNG UP", "12-06-2026 22:00:00.00 - READS : 7 bytes",
        "12-06-2026 22:00:00.00 - WRITES : 5 bytes"}},
      {"rsyslog RFC 3339 with fractions",
       "2026-12-06T21:03:12.345678+01:00 host chat[9]: send (ATD5551234^M)\n"
       "2026-12-06T21:03:35.5+01:00 host chat[9]: CONNECT 33600\n"
       "2026-12-06T21:10:00.999Z host pppd[8]: LCP terminated by peer\n",
       {"12-06-2026 21:03:12.34 - RECV: ATDT5551234<cr>",
        "12-06-2026 21:03:35.50 - CONNECTION ESTABLISHED (CONNECT 33600)",
        "12-06-2026 21:10:00.99 - REMOTE MODEM HUNG UP"}},
      {"a busy line",
       "Dec  6 09:00:00 host chat[1]: send (ATDT5551234^M)\n"
       "Dec  6 09:00:08 host chat[1]: BUSY\n"
       "Dec  6 09:00:08 host chat[1]: Failed (BUSY)\n"
       "Dec  6 09:00:08 host pppd[2]: Connect script failed\n",
       {"12-06-2026 09:00:00.00 - RECV: ATDT5551234<cr>", "12-06-2026 09:00:08.00 - Modem response: BUSY",
        "12-06-2026 09:00:08.00 - HANGING UP THE MODEM"}},
      {"no carrier, told only by chat's summary",
       "Dec  6 09:00:00 host chat[1]: send (ATDT5551234^M)\n"
       "Dec  6 09:00:50 host chat[1]: Failed (NO CARRIER)\n",
       {"12-06-2026 09:00:00.00 - RECV: ATDT5551234<cr>", "12-06-2026 09:00:50.00 - Modem response: NO CARRIER",
        "12-06-2026 09:00:50.00 - HANGING UP THE MODEM"}},
      {"a connect script that fails without a modem response",
       "Dec  6 09:00:00 host chat[1]: send (ATDT5551234^M)\n"
       "Dec  6 09:00:45 host chat[1]: alarm\n"
       "Dec  6 09:00:45 host pppd[2]: Connect script failed\n",
       {"12-06-2026 09:00:00.00 - RECV: ATDT5551234<cr>", "12-06-2026 09:00:45.00 - HANGING UP THE MODEM"}},
      {"an idle link that the peer stops answering", "Dec  6 09:00:00 host chat[1]: send (ATDT5551234^M)\n"
       "Dec  6 09:00:20 host pppd[2]: Serial connection established.\n"
       "Dec  6 10:00:00 host pppd[2]: No response to 4 echo-requests\n"
       "Dec  6 10:00:00 host pppd[2]: Serial link appears to be disconnected.\n"
       "Dec  6 10:00:01 host pppd[2]: Sent 1 bytes, received 2 bytes.\n",
       {"12-06-2026 09:00:00.00 - RECV: ATDT5551234<cr>", "12-06-2026 09:00:20.00 - CONNECTION ESTABLISHED",
        "12-06-2026 10:00:00.00 - REMOTE MODEM HUNG UP", "12-06-2026 10:00:01.00 - READS : 2 bytes",
        "12-06-2026 10:00:01.00 - WRITES : 1 bytes"}},
      {"other programs, other chat sends and broken lines are passed over",
       "Dec  6 09:00:00 host kernel: [ 1.0] usb 1-1: new full-speed USB device\n"
       "Dec  6 09:00:00 host chat[1]: send (ATZ^M)\n"
       "Dec  6 09:00:00 host chat[1]: CONNECT before any dial\n"
       "Dec  6 25:00:00 host pppd[2]: Modem hangup\n"
       "Feb 30 09:00:00 host chat[1]: send (ATDT1^M)\n"
       "Foo  6 09:00:00 host chat[1]: send (ATDT2^M)\n"
       "garbage\n"
       "Dec  6 09:00:00 host pppd[2]: Sent 1 bytes, received 2 bytes.\n", {}},
      {"CR LF line endings and an unended last line",
       "Dec  6 09:00:00 host chat[1]: send (ATDT5551234^M)\r\nDec  6 09:00:08 host chat[1]: NO DIALTONE",
       {"12-06-2026 09:00:00.00 - RECV: ATDT5551234<cr>", "12-06-2026 09:00:08.00 - Modem response: NO DIALTONE",
        "12-06-2026 09:00:08.00 - HANGING UP THE MODEM"}}};
  for (const Row& row : rows) { SCOPED_TRACE(row.name); EXPECT_EQ(Lines(Parse(row.log)), row.expected); }
}

TEST(PppdImport, TwoSessionsAreCounted) {
  QByteArray two = kSession;
  two += QByteArray(kSession).replace("Dec  6 21", "Dec  6 23").replace("ATDT5551234", "ATDT5559999");
  const PppdImportResult r = Parse(two);
  EXPECT_EQ(r.Sessions, 2);
  EXPECT_EQ(r.Connections, 2);
  EXPECT_EQ(r.LinesRead, 22);
  ASSERT_EQ(r.Entries.size(), 10);
  EXPECT_EQ(r.Entries[5].LogLine(), QStringLiteral("12-06-2026 23:03:12.00 - RECV: ATDT5559999<cr>"));
}

TEST(PppdImport, TheConfiguredResponseTextsAreWritten) {
  Configuration config;
  config.ModemDial = QStringLiteral("SEND: ATD");
  config.ModemConnect = QStringLiteral("CARRIER UP");
  config.ModemUserDisconnect = QStringLiteral("BYE");
  config.ModemReads = QStringLiteral("IN");
  config.ModemWrites = QStringLiteral("OUT");
  const PppdImportResult r = ParsePppdLog(kSession, PppdImportOptions{2026, 0}, config);
  EXPECT_EQ(Lines(r), (QStringList{"12-06-2026 21:03:12.00 - SEND: ATDT5551234<cr>",
                                   "12-06-2026 21:03:35.00 - CARRIER UP (CONNECT 46667/ARQ/V90)",
                                   "12-06-2026 21:45:10.00 - BYE", "12-06-2026 21:45:10.00 - IN : 20000 bytes",
                                   "12-06-2026 21:45:10.00 - OUT : 1000 bytes"}));
}

// A byte a log line cannot hold never reaches the modem log: its check would
// call the log corrupt and every report would refuse it.
TEST(PppdImport, CharactersALogLineCannotHoldAreLeftOut) {
  const QByteArray log = "Dec  6 21:03:12 host chat[1]: send (ATDT555\x7f" "12\x01" "34^M)\n"
      "Dec  6 21:03:35 host chat[1]: CONNECT 46667 caf\xc3\xa9\xff\x1b[0m\n";
  const PppdImportResult r = Parse(log);
  EXPECT_EQ(Lines(r), (QStringList{"12-06-2026 21:03:12.00 - RECV: ATDT5551234<cr>",
                                   "12-06-2026 21:03:35.00 - CONNECTION ESTABLISHED (CONNECT 46667 caf[0m)"}));
  EXPECT_EQ(r.CharactersLeftOut, 5);  // DEL, ^A, e-acute, a broken UTF-8 byte, ESC
}

TEST(PppdImport, ClassicLinesRollOverAtNewYear) {
  const QByteArray log = "Dec 31 23:40:03 host chat[1]: send (ATDT5551234^M)\n"
      "Dec 31 23:40:27 host chat[1]: CONNECT 31200\n"
      "Jan  1 00:25:03 host pppd[2]: Modem hangup\n";
  const QStringList expected = {"12-31-2026 23:40:03.00 - RECV: ATDT5551234<cr>",
                                "12-31-2026 23:40:27.00 - CONNECTION ESTABLISHED (CONNECT 31200)",
                                "01-01-2027 00:25:03.00 - REMOTE MODEM HUNG UP"};
  // --year names the year of the first line ...
  EXPECT_EQ(Lines(Parse(log, 2026)), expected);
  // ... the file's time the year of the last.
  EXPECT_EQ(Lines(Parse(log, 0, 2027)), expected);
}

class PppdImportFileTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(dir_.isValid()); }
  QString Log() const { return dir_.filePath(QStringLiteral("ModemLog.txt")); }
  void WriteLog(const QByteArray& bytes) { test::WriteRaw(Log(), bytes); }
  QTemporaryDir dir_;
};

TEST_F(PppdImportFileTest, OnlyEntriesAfterTheLogsLastAreAppended) {
  // The log was imported while the link was up; the rest comes later.
  WriteLog("12-06-2026 21:03:12.00 - RECV: ATDT5551234<cr>\r\n"
           "12-06-2026 21:03:35.00 - CONNECTION ESTABLISHED (CONNECT 46667/ARQ/V90)");
  EXPECT_EQ(ImportIntoModemLog(Log(), Parse(kSession).Entries), 3);
  EXPECT_EQ(test::ReadAll(Log()), kSessionLines.join(QStringLiteral("\r\n")).toLatin1() + "\r\n");
}

TEST(PppdImport, EntriesOutOfTimeOrderAreLeftOutSoTheLogStaysInOrder) {
  // The clock was set back an hour between two sessions.
  QByteArray log = kSession;
  log += QByteArray(kSession).replace("Dec  6 21:", "Dec  6 20:");
  const QList<ImportedEntry> entries = Parse(log).Entries;
  ASSERT_EQ(entries.size(), 10);
  int appended = 0;
  const QByteArray once = AppendImportedEntries(QByteArrayView(), entries, &appended);
  EXPECT_EQ(appended, 5);
  EXPECT_EQ(once, kSessionLines.join(QStringLiteral("\r\n")).toLatin1() + "\r\n");
  EXPECT_EQ(AppendImportedEntries(once, entries, &appended), once);
  EXPECT_EQ(appended, 0);
}

// The log's last line is placed to the hundredth, also when nothing follows its time.
TEST(PppdImport, TheHundredthsOfTheLogsLastLineCount) {
  const Date day = MakeDate(2026, 12, 6);
  const int at = 21 * 3600 + 3 * 60 + 35;
  const QList<ImportedEntry> entries{{day, at, 30, QStringLiteral("before")}, {day, at, 70, QStringLiteral("after")}};
  for (const QByteArray last : {"12-06-2026 21:03:35.50", "12-06-2026 21:03:35.50 - x"}) {
    int appended = 0;
    EXPECT_TRUE(AppendImportedEntries(last + "\r\n", entries, &appended).endsWith(".70 - after\r\n")) << last.constData();
    EXPECT_EQ(appended, 1) << last.constData();
  }
}

// A dialled number or a CONNECT text of any length in the system log never
// makes a line the log check calls corrupt.
TEST(PppdImport, AnEntryIsCutToTheLongestLineALogHolds) {
  const ImportedEntry entry{MakeDate(2026, 12, 6), 3600, 0, QString(3000, u'9')};
  int appended = 0;
  const QByteArray log = AppendImportedEntries(QByteArrayView(), {entry}, &appended);
  EXPECT_EQ(appended, 1);
  EXPECT_EQ(log, QByteArray("12-06-2026 01:00:00.00 - ") + QByteArray(kMaxLogLineLength - 25, '9') + "\r\n");
}

TEST_F(PppdImportFileTest, ALogEndingInAnEndOfFileMarkGetsTheEntriesBeforeIt) {
  WriteLog("12-06-2026 20:00:00.00 - x\r\n\x1a");
  EXPECT_EQ(ImportIntoModemLog(Log(), Parse(kSession).Entries), 5);
  EXPECT_TRUE(test::ReadAll(Log()).startsWith("12-06-2026 20:00:00.00 - x\r\n12-06-2026 21:03:12.00 - RECV"));
}

// A day that does not exist is no date either: 99-99-9999 once read as a day
// of the year 10007 that no import could ever follow.
TEST_F(PppdImportFileTest, ALogWhoseLastLineHasNoDateIsRefusedAndKept) {
  for (const char* last : {"no date here", "99-99-9999 23:59:59.00 - x", "02/30/99 10:00:00.00 - x"}) {
    const QByteArray bad = "12-06-2026 20:00:00.00 - x\r\n" + QByteArray(last) + "\r\n";
    WriteLog(bad);
    EXPECT_THROW(ImportIntoModemLog(Log(), Parse(kSession).Entries), RunError) << last;
    EXPECT_EQ(test::ReadAll(Log()), bad);
  }
}

TEST_F(PppdImportFileTest, AFolderThatCannotBeWrittenIsAClearErrorAndLeavesNothing) {
  const QString log = dir_.filePath(QStringLiteral("missing/ModemLog.txt"));
  const RunError e = test::ErrorOf([&] { ImportIntoModemLog(log, Parse(kSession).Entries); });
  EXPECT_TRUE(e.description().contains(QLatin1String("missing/ModemLog.txt"))) << e.description().toStdString();
  EXPECT_TRUE(QDir(dir_.path()).entryList(QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot).isEmpty());
}

// A sync that fails: the import is an error, the log keeps its bytes and
// no work file is left beside it.
TEST_F(PppdImportFileTest, AFailedWriteLeavesTheLogAsItWas) {
  WriteLog("12-06-2026 20:00:00.00 - x\r\n");
  test::FailingOps ops(test::Call::Sync, "", EIO);
  EXPECT_THROW(ImportIntoModemLog(Log(), Parse(kSession).Entries, ops), RunError);
  EXPECT_EQ(test::ReadAll(Log()), QByteArray("12-06-2026 20:00:00.00 - x\r\n"));
  EXPECT_EQ(QDir(dir_.path()).entryList(QDir::Files), QStringList{QStringLiteral("ModemLog.txt")});
}

}  // namespace
}  // namespace mirolat
