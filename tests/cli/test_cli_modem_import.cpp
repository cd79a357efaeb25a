// mirolat-cli modem and import-pppd, and the commands' --help.
#include <gtest/gtest.h>

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <sys/stat.h>

#include "cli_test_support.h"

namespace mirolat {
namespace {

class CliModemTest : public testing::CliTest {};

TEST_F(CliModemTest, AddListAndRemoveEntries) {
  EXPECT_EQ(Run(Words("modem list")), 0) << err_.toStdString();
  EXPECT_EQ(out_, QStringLiteral("Modem entries: none\nPort entries: none\nChecked at start-up: none\n"));
  ASSERT_EQ(Run(QStringList{"modem", "add", "--name", "Standard 56K", "--port", "/dev/ttyACM0", "--logging-path",
                            "/logs/ModemLog.txt", "--logging", "on", "--init", "ATE1V1"}), 0)
      << err_.toStdString();
  EXPECT_EQ(out_, QStringLiteral("Added modem entry 0000: Standard 56K\n"));
  ASSERT_EQ(Run(QStringList{"modem", "add", "--name", "Direct cable between 2 PCs"}), 0);
  ASSERT_EQ(Run(QStringList{"modem", "add", "--ports", "--name", "PCI Modem", "--config-dialog", "modemui.dll"}), 0);
  ASSERT_EQ(Run(Words("modem list")), 0);
  EXPECT_EQ(out_, QStringLiteral("Modem entries:\n"
                                 "  0000  Standard 56K\n"
                                 "        Port: /dev/ttyACM0\n"
                                 "        Logging path: /logs/ModemLog.txt\n"
                                 "        Logging: on\n"
                                 "        Init string: ATE1V1\n"
                                 "  0001  Direct cable between 2 PCs\n"
                                 "        Port: (not set)\n"
                                 "        Logging path: (not set)\n"
                                 "        Logging: (not set)\n"
                                 "        Init string: (not set)\n"
                                 "Port entries:\n"
                                 "  0000  PCI Modem\n"
                                 "        Config dialog: modemui.dll\n"
                                 "        Logging path: (not set)\n"
                                 "        Logging: (not set)\n"
                                 "        Init string: (not set)\n"
                                 "Checked at start-up:\n"
                                 "  1. Standard 56K on /dev/ttyACM0\n"
                                 "  2. PCI Modem\n"));
  ASSERT_EQ(Run(Words("modem remove 0")), 0) << err_.toStdString();
  EXPECT_EQ(out_, QStringLiteral("Removed modem entry 0000: Standard 56K\n"));
  ASSERT_EQ(Run(Words("modem list")), 0);
  EXPECT_TRUE(out_.startsWith(QStringLiteral("Modem entries:\n  0000  Direct cable between 2 PCs\n")))
      << out_.toStdString();
  EXPECT_TRUE(out_.endsWith(QStringLiteral("Checked at start-up:\n  1. PCI Modem\n"))) << out_.toStdString();
  EXPECT_EQ(Run(Words("modem remove 1")), 1);
  EXPECT_EQ(err_, QStringLiteral("mirolat-cli modem remove: there is no modem entry 0001\n"));
}

TEST_F(CliModemTest, WrongCommandLinesAreRefused) {
  const struct { QStringList words; const char* message; } rows[] = {
      {{"modem"}, "usage: mirolat-cli modem list"}, {{"modem", "add", "--port", "COM1"}, "--name is required"},
      {{"modem", "add", "--name", "M", "--logging", "maybe"}, "--logging is on or off, not 'maybe'"},
      {{"modem", "add", "--name"}, "an option lacks its value"},
      {{"modem", "add", "--name", "M", "--config-dialog", "x"}, "--config-dialog belongs to a port entry"},
      {{"modem", "remove", "first"}, "give the entry's number"}, {{"modem", "rename"}, "unknown subcommand 'rename'"},
      {{"import-pppd", "--year", "26"}, "--year needs a year YYYY, not '26'"},
      {{"import-pppd", "extra"}, "unexpected argument 'extra'"}};
  for (const auto& row : rows) {
    EXPECT_EQ(Run(row.words), 2) << row.words.join(' ').toStdString();
    EXPECT_TRUE(err_.contains(QLatin1String(row.message))) << err_.toStdString();
  }
}

class CliImportTest : public testing::CliTest {
 protected:
  QString Sample() const { return QStringLiteral(MIROLAT_SAMPLES_DIR "/pppd-syslog.log"); }
  int Import(const QString& log) {
    return Run(QStringList{"import-pppd", "--from", Sample(), "--year", "2026", "--log", log});
  }
};

// The report over the imported log gives the sessions, durations and bytes of
// the system log.
TEST_F(CliImportTest, AReportOverTheImportedLogHasTheSystemLogsSessions) {
  const QString log = dir_.filePath(QStringLiteral("ModemLog.txt"));
  ASSERT_EQ(Import(log), 0) << err_.toStdString();
  EXPECT_EQ(out_, QStringLiteral("Read 67 lines: 4 dials, 2 connections.\nAppended 16 entries to %1.\n").arg(log));
  ASSERT_EQ(Run(QStringList{"report", "--log", log, "--from", "2026-12-30", "--to", "2027-01-01", "--details",
                            "--format", "json", "--locale", "en_US"}), 0)
      << err_.toStdString();
  const QJsonObject run = QJsonDocument::fromJson(out_.toUtf8()).object();
  EXPECT_EQ(run["SessionCount"].toInt(), 2);
  EXPECT_EQ(run["ErrorsFound"].toBool(), false);
  const QJsonArray sessions = run["Sessions"].toArray();
  ASSERT_EQ(sessions.size(), 2);
  const struct {
    const char *number, *connectDate, *connectTime, *disconnectDate, *disconnectTime;
    qint64 read, written;
    int seconds;
  } expected[] = {{"5551234", "2026-12-30", "21:03:34", "2026-12-30", "21:45:10", 2345678, 183412, 2496},
                  {"5559876", "2026-12-31", "23:40:27", "2027-01-01", "00:25:03", 913377, 52110, 2676}};
  const QJsonArray rows = run["DetailRows"].toArray();
  ASSERT_EQ(rows.size(), 2);
  for (int i = 0; i < 2; ++i) {
    const QJsonObject s = sessions[i].toObject();
    EXPECT_EQ(s["Number"].toString(), QLatin1String(expected[i].number));
    EXPECT_EQ(s["ConnectDate"].toString(), QLatin1String(expected[i].connectDate));
    EXPECT_EQ(s["ConnectTime"].toString(), QLatin1String(expected[i].connectTime));
    EXPECT_EQ(s["DisconnectDate"].toString(), QLatin1String(expected[i].disconnectDate));
    EXPECT_EQ(s["DisconnectTime"].toString(), QLatin1String(expected[i].disconnectTime));
    EXPECT_EQ(s["BytesRead"].toInteger(), expected[i].read);
    EXPECT_EQ(s["BytesWritten"].toInteger(), expected[i].written);
    EXPECT_EQ(rows[i].toObject()["Seconds"].toInt(), expected[i].seconds);
  }
  // Importing the same system log again adds nothing.
  const QByteArray before = Read(log);
  ASSERT_EQ(Import(log), 0);
  EXPECT_EQ(out_, QStringLiteral("Read 67 lines: 4 dials, 2 connections.\nNothing new for %1.\n").arg(log));
  EXPECT_EQ(Read(log), before);
}

TEST_F(CliImportTest, AMissingSystemLogIsAClearError) {
  EXPECT_EQ(Run(QStringList{"import-pppd", "--from", dir_.filePath(QStringLiteral("absent.log")), "--log",
                            dir_.filePath(QStringLiteral("ModemLog.txt"))}), 1);
  EXPECT_TRUE(err_.startsWith(QStringLiteral("mirolat-cli import-pppd: cannot read the system log"))) << err_.toStdString();
  EXPECT_FALSE(QFile::exists(dir_.filePath(QStringLiteral("ModemLog.txt"))));
}

// Only regular files of a sensible size are read (standard input up to the
// same size), run as a process of its own: neither a FIFO nor /dev/zero hangs it.
TEST_F(CliImportTest, OnlySmallRegularFilesAreRead) {
  const QString fifo = dir_.filePath(QStringLiteral("pipe"));
  ASSERT_EQ(mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
  const auto sparse = [&](const char* name, qint64 size) {
    QFile f(dir_.filePath(QLatin1String(name)));
    EXPECT_TRUE(f.open(QIODevice::WriteOnly) && f.resize(size));  // no disk space used
    return f.fileName();
  };
  const QString hugeSyslog = sparse("huge.log", 256LL * 1024 * 1024 + 1);
  const QString hugeLog = sparse("huge.txt", 2LL * 1024 * 1024 * 1024 + 1);
  const QString log = Write(QStringLiteral("ModemLog.txt"), "12-01-2026 10:00:00.00 - x\r\n");
  const struct { QStringList args; const char* mentioned; } cases[] = {
      {{"--from", fifo, "--log", log}, "not a regular file"},
      {{"--from", "/dev/zero", "--log", log}, "not a regular file"},
      {{"--from", hugeSyslog, "--log", log}, "too large"},
      {{"--from", "-", "--log", log}, "too large"},  // /dev/zero as standard input
      {{"--from", Sample(), "--log", fifo}, "not a regular file"},
      {{"--from", Sample(), "--log", hugeLog}, "too large"}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.args.join(QLatin1Char(' ')).toStdString());
    QProcess cli;
    cli.setStandardInputFile(QStringLiteral("/dev/zero"));
    cli.start(QStringLiteral(MIROLAT_CLI_PATH), QStringList{QStringLiteral("import-pppd")} + c.args);
    ASSERT_TRUE(cli.waitForFinished(10000)) << "still running";
    EXPECT_EQ(cli.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(cli.exitCode(), 1);
    const QString err = QString::fromLocal8Bit(cli.readAllStandardError());
    EXPECT_TRUE(err.contains(QLatin1String(c.mentioned))) << err.toStdString();
    EXPECT_EQ(Read(log), "12-01-2026 10:00:00.00 - x\r\n");
  }
}

// "X --help", "X -h" and "help X" print the same usage of X.
TEST_F(CliModemTest, EveryCommandHasItsHelp) {
  for (const char* c : {"scan", "report", "config", "genlog", "modem", "import-pppd"}) {
    ASSERT_EQ(Run(QStringList{"help", QLatin1String(c)}), 0) << c;
    EXPECT_TRUE(out_.startsWith(QStringLiteral("usage: mirolat-cli %1").arg(QLatin1String(c)))) << c;
    const QString help = out_;
    for (const char* form : {"--help", "-h"}) {
      ASSERT_EQ(Run(QStringList{QLatin1String(c), QLatin1String(form)}), 0) << c;
      EXPECT_EQ(out_, help) << c;
    }
  }
}

}  // namespace
}  // namespace mirolat
