#include <gtest/gtest.h>

#include <QDir>
#include <QJsonArray>
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

struct GoldenCase {
  const char* name;
  const char* from;
  const char* to;
  const char* locale = "en_US";
  const char* suffix = "";  // of the expected files: summary<suffix>.txt, details<suffix>.txt
};

const GoldenCase kCases[] = {{"costs_off", "1998-01-15", "1998-01-15"}, {"no_sessions", "1998-01-16", "1998-01-16"},
                             {"several_numbers", "1998-03-09", "1998-03-11", "de_DE", "_de"},
                             {"flexi_allowance", "1998-03-10", "1998-03-11"}};

// The command prints the same texts as the report window, from the stored
// configuration, in the locale asked for.
TEST_F(CliReportTest, TextReportsMatchTheGoldenFiles) {
  for (const GoldenCase& g : kCases) {
    SCOPED_TRACE(std::string(g.name) + g.suffix);
    ImportCase(g.name);
    for (const char* report : {"summary", "details"}) {
      QStringList words = ReportArgs(g.name, g.from, g.to, g.locale);
      if (report == std::string("details")) words << QStringLiteral("--details");
      ASSERT_EQ(Run(words), 0) << err_.toStdString();
      EXPECT_EQ(out_.toStdString(), Read(CaseDir(g.name) + QLatin1Char('/') + QLatin1String(report) +
                                         QLatin1String(g.suffix) + QStringLiteral(".txt"))
                                            .toStdString() + "\n");
    }
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
  EXPECT_EQ(lines[0], QStringLiteral("Index,Service,Number,ConnectDate,ConnectTime,DisconnectDate,DisconnectTime,"
                                     "Seconds,Duration,DialCost,ServiceCost,DataCost,Cost,Notes"));
  EXPECT_EQ(lines[1], QStringLiteral("1,NetOne,5551234,1998-01-15,10:00:30,1998-01-15,10:30:30,1800,00:30:00,"
                                     "1.55,0.75,0.00,2.30,R:2 - W:1 KB - Peak"));
  EXPECT_EQ(lines[3], QStringLiteral("3,Answered Call,Answered Call,1998-01-15,21:00:15,1998-01-15,21:10:15,600,"
                                     "00:10:00,0.00,0.00,0.00,0.00,No Cost R:20"));
}

TEST_F(CliReportTest, ProblemsExitNonZeroWithAMessage) {
  ImportCase("costs_on");
  const QStringList range = Words("--from 1998-01-15 --to 1998-01-15");
  // No such file.
  EXPECT_EQ(Run(Words("report --log") << dir_.filePath(QStringLiteral("none")) << range), 1);
  EXPECT_TRUE(err_.contains(QStringLiteral("no modem log"))) << err_.toStdString();
  EXPECT_TRUE(out_.isEmpty());
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
  EXPECT_TRUE(o[QStringLiteral("Details")].isNull());
  EXPECT_TRUE(o[QStringLiteral("DetailRows")].isNull());
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
  EXPECT_EQ(QDir(dir_.path()).entryList(QDir::Files), QStringList{QStringLiteral("gen.txt")});  // nothing left beside
  ASSERT_EQ(Run(Words("genlog --seed 5 --days 12 --start 1999-02-01")), 0);
  EXPECT_EQ(out_.toLatin1(), GenerateModemLog(o));
  EXPECT_EQ(Run(Words("genlog --days 3")), 2);
  EXPECT_EQ(Run(Words("genlog --seed x --days 3")), 2);
  EXPECT_EQ(Run(Words("genlog --seed 1 --days 3 --out") << dir_.filePath(QStringLiteral("no/such/dir/x.txt"))), 1);
}

// A generated log is a log the analysis takes whole: every connected session
// is found, the missing hang-ups are reported as errors.
TEST_F(CliReportTest, GeneratedLogAnalysesCleanly) {
  LogGeneratorOptions o;
  o.seed = 9;
  o.days = 20;
  GeneratedLogStats stats;
  const QString log = Write(QStringLiteral("gen.txt"), GenerateModemLog(o, &stats));
  ImportEdited("costs_on", "\"MaxConnectDays\": 2",
               "\"MaxConnectDays\": 2, \"MaxConnections\": 1000, \"MaxLogSize\": 100000");
  ASSERT_EQ(Run(Words("report --log") << log << Words("--from 1998-01-01 --to 1998-01-25 --format json --locale en_US")),
            0)
      << err_.toStdString();
  const QJsonObject j = Json();
  EXPECT_EQ(j[QStringLiteral("LinesRead")].toInt(), stats.lines);
  EXPECT_EQ(j[QStringLiteral("SessionCount")].toInt(), stats.connectedSessions);
  EXPECT_EQ(j[QStringLiteral("ErrorsFound")].toBool(), stats.missingDisconnects > 0);
  int errorSessions = 0;
  for (const QJsonValue& s : j[QStringLiteral("Sessions")].toArray()) {
    if (s.toObject()[QStringLiteral("Notes")].toString().contains(QStringLiteral("No Disconnect"))) ++errorSessions;
  }
  EXPECT_EQ(errorSessions, stats.missingDisconnects);
  EXPECT_FALSE(j[QStringLiteral("Summary")].isNull());
}

// The figures of the report JSON (its names and layout are checked against a
// whole document in test_report_json); the never-connected number and the
// untidied notes as the run left them.
TEST_F(CliReportTest, JsonFieldNamesAndFigures) {
  ImportCase("several_numbers");
  const QStringList words = ReportArgs("several_numbers", "1998-03-09", "1998-03-11") << Words("--format json");
  ASSERT_EQ(Run(words), 0) << err_.toStdString();
  const QJsonObject o = Json();
  EXPECT_EQ(o[QStringLiteral("LinesRead")].toInt(), 27);  // the line after the range included
  EXPECT_EQ(o[QStringLiteral("SessionCount")].toInt(), 5);
  EXPECT_EQ(o[QStringLiteral("ServiceTotalsCount")].toInt(), 3);
  const QJsonArray totals = o[QStringLiteral("ServiceTotals")].toArray();
  ASSERT_EQ(totals.size(), 4);
  EXPECT_EQ(totals[0].toObject()[QStringLiteral("Number")].toString(), QStringLiteral("Unknown"));
  EXPECT_EQ(totals[0].toObject()[QStringLiteral("TotalBytesRead")].toInteger(), 1536);
  EXPECT_EQ(totals[3].toObject(), (QJsonObject{{"Index", 3},
                                               {"Number", "5558888"}, {"TotalSeconds", 0}, {"TotalSessions", 0},
                                               {"TotalCost", 0.0}, {"TotalBytesRead", 0}}));
  const QJsonArray sessions = o[QStringLiteral("Sessions")].toArray();
  ASSERT_EQ(sessions.size(), 5);
  EXPECT_EQ(sessions[2].toObject(), (QJsonObject{{"Index", 3},
                                                 {"ConnectDate", "1998-03-10"}, {"ConnectTime", "08:00:00"},
                                                 {"DisconnectDate", "1998-03-10"}, {"DisconnectTime", "08:20:00"},
                                                 {"Number", "Unknown Service"},
                                                 {"Notes", " Unable to get dialled number - R:2"}, {"Answered", false},
                                                 {"BytesRead", 1536}, {"BytesWritten", 0}}));
  // The reads entry 30 seconds after the last disconnect was not taken.
  EXPECT_EQ(sessions[4].toObject()[QStringLiteral("BytesRead")].toInt(), 0);
  const QJsonArray rows = o[QStringLiteral("DetailRows")].toArray();
  ASSERT_EQ(rows.size(), 5);
  const QJsonObject r2 = rows[1].toObject();
  EXPECT_EQ(r2[QStringLiteral("Seconds")].toInt(), 5400);
  EXPECT_DOUBLE_EQ(r2[QStringLiteral("DialCost")].toDouble(), 0.25);
  EXPECT_DOUBLE_EQ(r2[QStringLiteral("ServiceCost")].toDouble(), 3.6);
  EXPECT_DOUBLE_EQ(r2[QStringLiteral("DataCost")].toDouble(), 1.5);
  EXPECT_EQ(r2[QStringLiteral("Notes")].toString(), QStringLiteral(" R:3,072"));
}

TEST_F(CliReportTest, CsvQuotesNotesWithCommas) {
  ImportCase("several_numbers");
  const QStringList csv = ReportArgs("several_numbers", "1998-03-09", "1998-03-11") << Words("--format csv");
  ASSERT_EQ(Run(csv), 0);
  EXPECT_EQ(out_.toStdString(), "Number,Service,Seconds,Time,Sessions,Av/Session,Av/Day,Kilobytes,Cost\r\n"
            "Unknown,Unknown,1200,00:20:00,1,00:20:00,00:06:40,2,1.05\r\n"
            "5551234,NetOne,4500,01:15:00,2,00:37:30,00:25:00,201,2.50\r\n"
            "5557777,5557777,6000,01:40:00,2,00:50:00,00:33:20,3072,6.00\r\n"
            "5558888,5558888,0,00:00:00,0,00:00:00,00:00:00,0,0.00\r\n");
  ASSERT_EQ(Run(QStringList(csv) << QStringLiteral("--details")), 0);
  EXPECT_EQ(out_.toStdString(),
            "Index,Service,Number,ConnectDate,ConnectTime,DisconnectDate,DisconnectTime,Seconds,Duration,"
            "DialCost,ServiceCost,DataCost,Cost,Notes\r\n"
            "1,NetOne,5551234,1998-03-09,09:00:00,1998-03-09,09:45:00,2700,00:45:00,0.50,0.90,0.00,1.40,"
            "R:200 - W:10 KB\r\n"
            "2,5557777,5557777,1998-03-09,14:00:00,1998-03-09,15:30:00,5400,01:30:00,0.25,3.60,1.50,5.35,"
            "\"R:3,072\"\r\n"
            "3,Unknown Service,Unknown Service,1998-03-10,08:00:00,1998-03-10,08:20:00,1200,00:20:00,0.25,0.80,0.00,"
            "1.05,Unable to get dialled number - R:2\r\n"
            "4,NetOne,5551234,1998-03-11,20:00:00,1998-03-11,20:30:00,1800,00:30:00,0.50,0.60,0.00,1.10,R:1\r\n"
            "5,5557777,5557777,1998-03-11,21:00:00,1998-03-11,21:10:00,600,00:10:00,0.25,0.40,0.00,0.65,\r\n");
}

}  // namespace
}  // namespace mirolat
