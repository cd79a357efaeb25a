#include <gtest/gtest.h>

#include <QJsonDocument>
#include <QJsonObject>

#include "cli_test_support.h"
#include "core/analysis/log_generator.h"

namespace mirolat {
namespace {

using testing::CaseDir;

class CliReportTest : public testing::CliTest {
 protected:
  void ImportCase(const char* name) {
    ASSERT_EQ(Import(CaseDir(name) + QStringLiteral("/config.json")), 0) << err_.toStdString();
  }
  void ImportEdited(const char* name, const QByteArray& from, const QByteArray& to) {
    QByteArray config = Read(CaseDir(name) + QStringLiteral("/config.json"));
    config.replace(from, to);
    ASSERT_EQ(Import(Write(QStringLiteral("config.json"), config)), 0) << err_.toStdString();
  }
  QJsonObject Json() {
    QJsonParseError pe;
    const QJsonObject o = QJsonDocument::fromJson(out_.toUtf8(), &pe).object();
    EXPECT_EQ(pe.error, QJsonParseError::NoError) << pe.errorString().toStdString();
    return o;
  }
};

// The command prints the same texts as the report window, from the stored
// configuration, in the locale asked for.
TEST_F(CliReportTest, TextReportsMatchTheGoldenFiles) {
  ImportCase("several_numbers");
  for (const char* report : {"summary", "details"}) {
    QStringList words = ReportArgs("several_numbers", "1998-03-09", "1998-03-11", "de_DE");
    if (report == std::string("details")) words << QStringLiteral("--details");
    ASSERT_EQ(Run(words), 0) << err_.toStdString();
    EXPECT_EQ(out_.toStdString(),
              Read(CaseDir("several_numbers") + QLatin1Char('/') + QLatin1String(report) + QStringLiteral("_de.txt"))
                      .toStdString() + "\n");
  }
}

TEST_F(CliReportTest, CsvRowsPerEntryAndPerSession) {
  ImportEdited("costs_on", "\"CallNet\"", "\"Call \\\"Net\\\", Ltd\"");
  ASSERT_EQ(Run(ReportArgs("costs_on", "1998-01-15", "1998-01-15") << Words("--format csv")), 0);
  EXPECT_EQ(out_.toStdString(), "Number,Service,Seconds,Time,Sessions,Av/Session,Av/Day,Kilobytes,Cost\r\n"
            "5551234,NetOne,1800,00:30:00,1,00:30:00,00:30:00,2,2.30\r\n"
            "5559876,\"Call \"\"Net\"\", Ltd\",5400,01:30:00,1,01:30:00,01:30:00,3,2.75\r\n"
            "Answered Calls,Answered Calls,600,00:10:00,1,00:10:00,00:10:00,20,0.00\r\n"
            "5550000,5550000,1200,00:20:00,1,00:20:00,00:20:00,0,0.70\r\n");
  ASSERT_EQ(Run(ReportArgs("costs_on", "1998-01-15", "1998-01-15")
                << Words("--format csv --details")), 0);
  const QStringList lines = out_.split(QStringLiteral("\r\n"));
  ASSERT_EQ(lines.size(), 6);  // header, four sessions, the empty rest after the last line end
  EXPECT_EQ(lines[1], QStringLiteral("1,NetOne,5551234,1998-01-15,10:00:30,1998-01-15,10:30:30,1800,00:30:00,"
                                     "1.55,0.75,0.00,2.30,R:2 - W:1 KB - Peak"));
  EXPECT_EQ(lines[3], QStringLiteral("3,Answered Call,Answered Call,1998-01-15,21:00:15,1998-01-15,21:10:15,600,"
                                     "00:10:00,0.00,0.00,0.00,0.00,No Cost R:20"));
}

TEST_F(CliReportTest, ProblemsExitNonZeroWithAMessage) {
  ImportCase("costs_on");
  const QStringList range = Words("--from 1998-01-15 --to 1998-01-15");
  // A line without a date stops the run; the JSON still comes, without reports.
  const QString corrupt = Write(QStringLiteral("corrupt.txt"), "01-15-1998 10:00:00.00 - Recv: ATDT5551234<cr>\r\n"
                                "garbage in the middle\r\n"
                                "01-15-1998 10:00:30.00 - Connection established\r\n");
  EXPECT_EQ(Run(Words("report --log") << corrupt << Words("--format json") << range), 1);
  EXPECT_TRUE(err_.contains(QStringLiteral("Corruption Detected"))) << err_.toStdString();
  const QJsonObject o = Json();
  EXPECT_TRUE(o[QStringLiteral("LogCorrupt")].toBool());
  EXPECT_EQ(o[QStringLiteral("LinesRead")].toInt(), 1);
  EXPECT_TRUE(o[QStringLiteral("Summary")].isNull());
  // Not a modem log: no dated line at all.
  const QString text = Write(QStringLiteral("letter.txt"), "Dear friend,\r\nhow are you?\r\n");
  EXPECT_EQ(Run(Words("report --log") << text << range), 1);
  EXPECT_FALSE(err_.isEmpty());
  EXPECT_TRUE(out_.isEmpty());
  // Wrong use.
  EXPECT_EQ(Run(Words("report --log") << corrupt), 2);
  EXPECT_EQ(Run(Words("report --log") << corrupt << Words("--format xml") << range), 2);
  EXPECT_EQ(Run(Words("report --log") << corrupt << Words("--from 1998-01-16 --to 1998-01-15")), 2);
}

// Without a progress line the run goes along with the log checks' reading of
// the file; what the checks find still comes first, and a failure inside the
// run is reported once, as when the run reads the file on its own.
TEST_F(CliReportTest, RunReadAlongWithTheChecksAnswersAsBefore) {
  ImportCase("costs_on");
  const QStringList range = Words("--from 1998-01-15 --to 1998-01-15");
  const QByteArray session = "01-15-1998 10:00:00.00 - Recv: ATDT5551234<cr>\r\n"
                             "01-15-1998 10:00:30.00 - Connection established at 33600bps.\r\n"
                             "01-15-1998 10:10:30.00 - Hanging up the modem.\r\n";
  const QByteArray later = "01-16-1998 09:00:00.00 - Opening Modem\r\n";
  // A time that is no time of day, on the connect entry.
  const QString badTime = Write(QStringLiteral("badtime.txt"), QByteArray(session).replace("10:00:30.00", "10:0x:30.00"));
  EXPECT_EQ(Run(Words("report --log") << badTime << range), 1);
  EXPECT_TRUE(out_.isEmpty()) << out_.toStdString();
  EXPECT_EQ(err_.count(QStringLiteral("mirolat-cli: ")), 1) << err_.toStdString();
  // A forbidden byte after the lines the run needed: the checks still call the log corrupt.
  const QString lateByte = Write(QStringLiteral("latebyte.txt"), session + later + "01-16-1998 09:00:01.00 - \x01\r\n");
  EXPECT_EQ(Run(Words("report --log") << lateByte << Words("--format json") << range), 1);
  EXPECT_TRUE(err_.contains(QStringLiteral("Corruption Detected"))) << err_.toStdString();
  const QJsonObject o = Json();
  EXPECT_TRUE(o[QStringLiteral("LogCorrupt")].toBool());
  EXPECT_TRUE(o[QStringLiteral("Summary")].isNull());
  // The end-of-file mark as the last byte ends the text; as the first byte,
  // the log holds no entry and is no modem log.
  const QString marked = Write(QStringLiteral("marked.txt"), session + later + "\x1a");
  const QString plain = Write(QStringLiteral("plain.txt"), session + later);
  EXPECT_EQ(Run(Words("report --log") << plain << range), 0) << err_.toStdString();
  const QString expected = out_;
  EXPECT_TRUE(expected.contains(QStringLiteral("5551234")));
  EXPECT_EQ(Run(Words("report --log") << marked << range), 0) << err_.toStdString();
  EXPECT_EQ(out_, expected);
  const QString markFirst = Write(QStringLiteral("markfirst.txt"), "\x1a" + session);
  EXPECT_EQ(Run(Words("report --log") << markFirst << Words("--format json") << range), 1);
  EXPECT_TRUE(err_.contains(QStringLiteral("Corruption Detected"))) << err_.toStdString();
  EXPECT_EQ(Json()[QStringLiteral("LinesRead")].toInt(), 0);
  EXPECT_TRUE(Json()[QStringLiteral("Summary")].isNull());
}

// With MaxServices 3 the third distinct number stops the run.
TEST_F(CliReportTest, TooManyServicesStopsTheRun) {
  ImportEdited("costs_on", "\"MaxConnectDays\": 2", "\"MaxConnectDays\": 2, \"MaxServices\": 3");
  EXPECT_EQ(Run(ReportArgs("costs_on", "1998-01-15", "1998-01-15") << Words("--format json")), 1);
  const QJsonObject o = Json();
  EXPECT_TRUE(o[QStringLiteral("TooManyServices")].toBool());
  EXPECT_EQ(o[QStringLiteral("ServiceTotalsCount")].toInt(), 3);
  EXPECT_TRUE(o[QStringLiteral("Summary")].isNull());
  EXPECT_FALSE(err_.isEmpty());
}

TEST_F(CliReportTest, GenlogWritesTheGeneratorsLog) {
  const QString path = dir_.filePath(QStringLiteral("gen.txt"));
  ASSERT_EQ(Run(Words("genlog --seed 5 --days 12 --start 1999-02-01 --out") << path), 0) << err_.toStdString();
  LogGeneratorOptions o;
  o.seed = 5;
  o.days = 12;
  o.start = QDate(1999, 2, 1);
  EXPECT_EQ(Read(path), GenerateModemLog(o));
  ASSERT_EQ(Run(Words("genlog --seed 5 --days 12 --start 1999-02-01")), 0);
  EXPECT_EQ(out_.toLatin1(), GenerateModemLog(o));
  EXPECT_EQ(Run(Words("genlog --days 3")), 2);
  EXPECT_EQ(Run(Words("genlog --seed x --days 3")), 2);
}

}  // namespace
}  // namespace mirolat
