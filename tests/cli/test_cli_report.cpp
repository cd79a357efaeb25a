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

// The rows unrounded, fields quoted where they must be; --out writes the same
// bytes to a file, and a file that cannot be written is reported, not half made.
TEST_F(CliReportTest, CsvRowsToStandardOutputOrAFile) {
  ImportEdited("costs_on", "\"CallNet\"", "\"Call \\\"Net\\\", Ltd\"");
  const QString file = dir_.filePath(QStringLiteral("summary.csv"));
  ASSERT_EQ(Run(ReportArgs("costs_on", "1998-01-15", "1998-01-15") << Words("--format csv --out") << file), 0);
  EXPECT_TRUE(out_.isEmpty());
  EXPECT_EQ(Read(file).toStdString(), "Number,Service,Seconds,Sessions,BytesRead,BytesWritten,Cost,DialCost,"
            "TimeCost,DataCost\r\n5551234,NetOne,1800,1,1843,512,2.3000000000000003,1.5500000000000003,0.75,0\r\n"
            "5559876,\"Call \"\"Net\"\", Ltd\",5400,1,3174,2048,2.75,0.25,2.5,0\r\n"
            "Answered Calls,Answered Calls,600,1,20480,0,0,0,0,0\r\n5550000,5550000,1200,1,0,0,0.7,0.2,0.5,0\r\n");
  ASSERT_EQ(Run(ReportArgs("costs_on", "1998-01-15", "1998-01-15") << Words("--format csv")), 0);
  EXPECT_EQ(out_.toUtf8(), Read(file));
  const QString nowhere = dir_.filePath(QStringLiteral("missing/summary.csv"));
  EXPECT_EQ(Run(ReportArgs("costs_on", "1998-01-15", "1998-01-15") << Words("--format csv --out") << nowhere), 1);
  EXPECT_TRUE(err_.contains(QStringLiteral("cannot write"))) << err_.toStdString();
  EXPECT_FALSE(QFile::exists(nowhere));
  // A run that stops leaves an existing file as it was.
  const QString letter = Write(QStringLiteral("letter.txt"), "Dear friend,\r\n");
  EXPECT_EQ(Run(Words("report --from 1998-01-15 --to 1998-01-15 --log") << letter << Words("--out") << file), 1);
  EXPECT_EQ(Read(file).left(7), QByteArray("Number,"));
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
  EXPECT_TRUE(err_.contains(QStringLiteral("text, csv, csv-locale, json"))) << err_.toStdString();
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
