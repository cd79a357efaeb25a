// compare and record-session, and the pppd ip-down hook around the latter.
#include <QDir>
#include <QJsonArray>
#include <QProcess>

#include "cli_test_support.h"

namespace mirolat::testing {
namespace {

class CliCompareTest : public CliTest {
 protected:
  void SetUp() override {
    CliTest::SetUp();
    ASSERT_EQ(Import(QStringLiteral(MIROLAT_SAMPLES_DIR "/config.json")), 0) << err_.toStdString();
  }
  QStringList Compare(const char* extra) {
    return Words("compare --from 1998-01-01 --to 1998-02-14 --locale en_US --log") << QStringLiteral(
               MIROLAT_SAMPLES_DIR "/ModemLog.txt")
                                                                               << Words(extra);
  }
  QString Plan(const char* name, const QByteArray& services) {
    return Write(QLatin1String(name), "{\"Services\": [" + services + "]}");
  }
  const QByteArray trial_ = R"({"ServiceName": "Trial", "ServiceNumber": "5550101", "DialOption": 1,
                               "DialFixedTariff": 0.01, "ServiceOption": 1, "ServiceRate": 0.01})";
};

TEST_F(CliCompareTest, RanksServicesAndCandidatesByTotal) {
  ASSERT_EQ(Run(Compare("--json --plan") << Plan("trial.json", trial_)), 0) << err_.toStdString();
  const QJsonObject json = QJsonDocument::fromJson(out_.toUtf8()).object();
  EXPECT_EQ(json[QStringLiteral("SessionsCounted")].toInt(), 121);
  EXPECT_EQ(json[QStringLiteral("AnsweredLeftOut")].toInt(), 5);
  EXPECT_EQ(json[QStringLiteral("UnknownLeftOut")].toInt(), 7);
  // The Summary's costs of the three services' numbers.
  EXPECT_NEAR(json[QStringLiteral("Actual")].toDouble(), 28.38 + 74.45 + 21.35, 0.01);
  QStringList ranked;
  double previous = -1;
  for (const QJsonValue& plan : json[QStringLiteral("Plans")].toArray()) {
    ranked << plan[QStringLiteral("Name")].toString();
    EXPECT_GE(plan[QStringLiteral("Total")].toDouble(), previous);
    previous = plan[QStringLiteral("Total")].toDouble();
  }
  EXPECT_EQ(ranked, (QStringList{"Trial", "CallNet", "FlatNet Local", "NetOne Internet"}));

  ASSERT_EQ(Run(Compare("")), 0) << err_.toStdString();
  EXPECT_TRUE(out_.contains(QStringLiteral("1  CallNet          $117.94      $-6.24"))) << out_.toStdString();
  EXPECT_TRUE(out_.contains(QStringLiteral("5 answered, 7 to numbers no service has"))) << out_.toStdString();
}

TEST_F(CliCompareTest, BadCommandLinesAndPlanFilesAreRefused) {
  struct Case {
    QStringList words;
    int rc;
    const char* message;
  };
  const Case cases[] = {
      {Words("compare --to 1998-01-01"), 2, "--from and --to are required"},
      {Compare("--plan"), 2, "missing its value"},
      {Compare("--plan") << Plan("none.json", ""), 1, "no service"},
      {Compare("--plan") << Plan("two.json", trial_ + "," + trial_), 1, "2 services"},
      {Compare("--plan /nonexistent/plan.json"), 1, "cannot read the plan"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.words.join(u' ').toStdString());
    EXPECT_EQ(Run(c.words), c.rc);
    EXPECT_TRUE(err_.contains(QLatin1String(c.message))) << err_.toStdString();
  }
}

// A fake /etc/ppp/peers with a peer "isp" whose chat script dials 5551234.
class CliRecordTest : public CliCompareTest {
 protected:
  QString Peers() {
    QDir(dir_.path()).mkpath(QStringLiteral("peers"));
    Write(QStringLiteral("peers/isp"), "connect \"/usr/sbin/chat -v -f chat-isp -T 5551234\"\n");
    Write(QStringLiteral("peers/chat-isp"), "ABORT BUSY\n'' ATZ\nOK ATDT\\T\nCONNECT ''\n");
    return dir_.filePath(QStringLiteral("peers"));
  }
  // The report's sessions over the log, as "number seconds read".
  QStringList Sessions(const QString& log) {
    EXPECT_EQ(Run(Words("report --format json --from 2026-12-01 --to 2026-12-31 --log") << log), 0);
    QStringList sessions;
    const QJsonObject json = QJsonDocument::fromJson(out_.toUtf8()).object();
    for (const QJsonValue& s : json[QStringLiteral("Sessions")].toArray()) {
      sessions << s[QStringLiteral("Number")].toString() + QLatin1Char(' ') + s[QStringLiteral("ConnectTime")].toString() +
                      QLatin1Char(' ') + QString::number(s[QStringLiteral("BytesRead")].toInt());
    }
    return sessions;
  }
};

TEST_F(CliRecordTest, RecordsFromOptionsAndFromPppdsEnvironment) {
  const QString log = dir_.filePath(QStringLiteral("ModemLog.txt"));
  ASSERT_EQ(Run(Words("record-session --number 5559876 --seconds 600 --bytes-received 4000 --bytes-sent 90 "
                      "--end") << QStringLiteral("2026-12-05 10:10:00") << QStringLiteral("--log") << log),
            0)
      << err_.toStdString();
  {
    EnvGuard peers("MIROLAT_PPP_PEERS_DIR", Peers());
    EnvGuard call("CALL_FILE", QStringLiteral("isp"));
    EnvGuard time("CONNECT_TIME", QStringLiteral("3600"));
    EnvGuard read("BYTES_RCVD", QStringLiteral("123456"));
    EnvGuard sent("BYTES_SENT", QStringLiteral("7890"));
    ASSERT_EQ(Run(Words("record-session --pppd-env --end") << QStringLiteral("2026-12-06 21:00:00")
                                                             << QStringLiteral("--log") << log),
              0)
        << err_.toStdString();
    // A session that began before the log's last entry would lose its dial.
    EXPECT_EQ(Run(Words("record-session --pppd-env --end") << QStringLiteral("2026-12-06 20:30:00")
                                                             << QStringLiteral("--log") << log),
              1);
    EXPECT_TRUE(err_.contains(QLatin1String("nothing was recorded")));
  }
  EXPECT_TRUE(Read(log).startsWith("12-05-2026 10:00:00.00 - RECV: ATDT5559876<cr>\r\n"
                                   "12-05-2026 10:00:00.01 - CONNECTION ESTABLISHED\r\n"
                                   "12-05-2026 10:10:00.02 - HANGING UP THE MODEM\r\n"
                                   "12-05-2026 10:10:00.03 - READS : 4000 bytes\r\n"
                                   "12-05-2026 10:10:00.04 - WRITES : 90 bytes\r\n"));
  EXPECT_EQ(Sessions(log), (QStringList{"5559876 10:00:00 4000", "5551234 20:00:00 123456"}));
}

TEST_F(CliRecordTest, TheIpDownHookRecordsTheSessionAsItsUser) {
  const QString log = dir_.filePath(QStringLiteral("hooked.txt"));
  const QString conf = Write(QStringLiteral("hook.conf"), "MIROLAT_CLI='" MIROLAT_CLI_PATH "'\nMIROLAT_LOG='" +
                                                               log.toUtf8() + "'\n");
  QProcess hook;
  QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
  env.insert(QStringLiteral("MIROLAT_HOOK_CONF"), conf);
  env.insert(QStringLiteral("MIROLAT_PPP_PEERS_DIR"), Peers());
  env.insert(QStringLiteral("CALL_FILE"), QStringLiteral("isp"));
  env.insert(QStringLiteral("CONNECT_TIME"), QStringLiteral("1200"));
  env.insert(QStringLiteral("BYTES_RCVD"), QStringLiteral("5000"));
  env.insert(QStringLiteral("BYTES_SENT"), QStringLiteral("700"));
  hook.setProcessEnvironment(env);
  hook.start(QStringLiteral("/bin/sh"), {QStringLiteral(MIROLAT_SOURCE_DIR "/contrib/ppp/ip-down.d/mirolat")});
  ASSERT_TRUE(hook.waitForFinished(30000));
  EXPECT_EQ(hook.exitCode(), 0) << hook.readAllStandardError().toStdString();
  const QList<QByteArray> lines = Read(log).split('\n');
  ASSERT_EQ(lines.size(), 6);
  EXPECT_TRUE(lines[0].endsWith(" - RECV: ATDT5551234<cr>\r"));
  EXPECT_TRUE(lines[3].endsWith(" - READS : 5000 bytes\r"));
  const Date today = FromQDate(QDate::currentDate());
  EXPECT_EQ(Run(Words("report --format json --log") << log << QStringLiteral("--from")
                                                     << ToQDate(today - 1).toString(Qt::ISODate)
                                                     << QStringLiteral("--to") << ToQDate(today).toString(Qt::ISODate)),
            0);
  const QJsonObject json = QJsonDocument::fromJson(out_.toUtf8()).object();
  ASSERT_EQ(json[QStringLiteral("SessionCount")].toInt(), 1);
  EXPECT_EQ(json[QStringLiteral("Sessions")].toArray()[0][QStringLiteral("Number")].toString(), "5551234");
}

}  // namespace
}  // namespace mirolat::testing
