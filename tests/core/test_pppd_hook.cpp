#include <gtest/gtest.h>

#include <QDir>
#include <QTemporaryDir>

#include "core/logfile/pppd_hook.h"
#include "file_test_support.h"

namespace mirolat {
namespace {

// A peers file named "isp" and, when given, a chat script "script" beside it.
struct PeerCase {
  const char* peers;
  const char* script;
  const char* number;  // "": none found
  const char* error;   // part of the reason when none is found
};

TEST(PppdHook, FindsTheNumberThePeerDials) {
  const PeerCase cases[] = {
      {"connect \"/usr/sbin/chat -v '' ATDT5551234 CONNECT ''\"\n", nullptr, "5551234", ""},
      {"noauth\nconnect '/usr/bin/chat -f script'\n", "ABORT BUSY\n'' ATZ\nOK ATDP5559876\nCONNECT ''\n", "5559876",
       ""},
      {"connect \"/usr/sbin/chat -v -f script -T 0845123456\"\n", "ABORT 'NO DIALTONE'\nOK-AT-OK ATDT\\T\n",
       "0845123456", ""},
      {"connect \"exec chat -t 30 -f script\"\n", "'' 'ATD9,W555-1234^M'\nCONNECT \\d\\c\n", "95551234", ""},
      {"# connect \"chat ATDT111\"\nconnect \"chat '' ATDT222\"\n", nullptr, "222", ""},
      {"connect \"chat '' ATZ OK ATD\"\n", nullptr, "", "dials no number"},
      {"noauth\ndefaultroute\n", nullptr, "", "no connect option"},
      {"connect /etc/ppp/dial.sh\n", nullptr, "", "runs no chat"},
      {"connect 'chat -f missing'\n", nullptr, "", "missing"},
  };
  for (const PeerCase& c : cases) {
    SCOPED_TRACE(c.peers);
    QTemporaryDir dir;
    test::WriteRaw(dir.filePath(QStringLiteral("isp")), c.peers);
    if (c.script) test::WriteRaw(dir.filePath(QStringLiteral("script")), c.script);
    QString error;
    EXPECT_EQ(DialledNumberOfPeer(dir.path(), QStringLiteral("isp"), error), QLatin1String(c.number));
    EXPECT_TRUE(error.contains(QLatin1String(c.error))) << error.toStdString();
  }
  QString error;
  EXPECT_TRUE(DialledNumberOfPeer(QStringLiteral("/etc"), QStringLiteral("../passwd"), error).isEmpty());
  EXPECT_FALSE(error.isEmpty());
}

TEST(PppdHook, SessionEntriesStartBeforeMidnightAndEndAfter) {
  Configuration config;
  FinishedSession session{QStringLiteral("5551234"), 3700, 1200, 34000, MakeDate(2026, 12, 8), 1800};
  QStringList lines;
  for (const ImportedEntry& e : SessionEntries(session, config)) lines << e.LogLine();
  EXPECT_EQ(lines, (QStringList{
                       QStringLiteral("12-07-2026 23:28:20.00 - RECV: ATDT5551234<cr>"),
                       QStringLiteral("12-07-2026 23:28:20.01 - CONNECTION ESTABLISHED"),
                       QStringLiteral("12-08-2026 00:30:00.02 - HANGING UP THE MODEM"),
                       QStringLiteral("12-08-2026 00:30:00.03 - READS : 34000 bytes"),
                       QStringLiteral("12-08-2026 00:30:00.04 - WRITES : 1200 bytes"),
                   }));
}

}  // namespace
}  // namespace mirolat
