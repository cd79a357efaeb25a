// mirolat-cli report on the hand-written cases: the texts in two locales, the
// exact field names of the JSON, and CSV rows whose notes need quoting.
#include <gtest/gtest.h>

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>

#include "cli_test_support.h"

namespace mirolat {
namespace {

using testing::CaseDir;

QString ReadText(const QString& path) {
  QFile f(path);
  EXPECT_TRUE(f.open(QIODevice::ReadOnly)) << path.toStdString();
  return QString::fromUtf8(f.readAll());
}

class CliReportReview : public testing::CliTest {
 protected:
  // Imports the case's configuration and runs the report with the given extra words.
  int Report(const char* name, const char* from, const char* to, const char* locale, const QStringList& extra) {
    EXPECT_EQ(Run({QStringLiteral("config"), QStringLiteral("import"), CaseDir(name) + QStringLiteral("/config.json")}),
              0)
        << err_.toStdString();
    return Run(QStringList{QStringLiteral("report"), QStringLiteral("--log"),
                           CaseDir(name) + QStringLiteral("/ModemLog.txt"), QStringLiteral("--from"),
                           QLatin1String(from), QStringLiteral("--to"), QLatin1String(to), QStringLiteral("--locale"),
                           QLatin1String(locale)} +
               extra);
  }
};

TEST_F(CliReportReview, TextsInTwoLocales) {
  const struct {
    const char* name;
    const char* from;
    const char* to;
    const char* locale;
    const char* suffix;
  } cases[] = {{"several_numbers", "1998-03-09", "1998-03-11", "en_US", ""},
               {"several_numbers", "1998-03-09", "1998-03-11", "de_DE", "_de"},
               {"tariff_walk", "1998-03-10", "1998-03-11", "en_US", ""},
               {"flexi_allowance", "1998-03-10", "1998-03-11", "en_US", ""}};
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.name) + c.suffix);
    const QString dir = CaseDir(c.name);
    ASSERT_EQ(Report(c.name, c.from, c.to, c.locale, {}), 0) << err_.toStdString();
    EXPECT_EQ(out_.toStdString(),
              ReadText(dir + QStringLiteral("/summary") + QLatin1String(c.suffix) + QStringLiteral(".txt")).toStdString() + "\n");
    ASSERT_EQ(Report(c.name, c.from, c.to, c.locale, {QStringLiteral("--details")}), 0) << err_.toStdString();
    EXPECT_EQ(out_.toStdString(),
              ReadText(dir + QStringLiteral("/details") + QLatin1String(c.suffix) + QStringLiteral(".txt")).toStdString() + "\n");
  }
}

QStringList Keys(const QJsonObject& o) {
  QStringList keys = o.keys();
  keys.sort();
  return keys;
}

QStringList Sorted(QStringList l) {
  l.sort();
  return l;
}

// Every field of the report JSON under its own name, nothing else; the
// never-connected number and the untidied notes as the run left them.
TEST_F(CliReportReview, JsonFieldNamesAndFigures) {
  ASSERT_EQ(Report("several_numbers", "1998-03-09", "1998-03-11", "en_US",
                   {QStringLiteral("--format"), QStringLiteral("json")}),
            0)
      << err_.toStdString();
  QJsonParseError pe;
  const QJsonObject o = QJsonDocument::fromJson(out_.toUtf8(), &pe).object();
  ASSERT_EQ(pe.error, QJsonParseError::NoError);
  EXPECT_EQ(Keys(o), Sorted({"LinesRead", "ErrorsFound", "IncompleteTariffs", "LogCorrupt", "TooManyServices",
                             "TooManyConnections", "SessionCount", "ServiceTotalsCount", "ServiceTotals", "Sessions",
                             "Summary", "Details", "DetailRows"}));
  EXPECT_EQ(o[QStringLiteral("LinesRead")].toInt(), 27);  // the line after the range included
  EXPECT_EQ(o[QStringLiteral("SessionCount")].toInt(), 5);
  EXPECT_EQ(o[QStringLiteral("ServiceTotalsCount")].toInt(), 3);

  const QJsonArray totals = o[QStringLiteral("ServiceTotals")].toArray();
  ASSERT_EQ(totals.size(), 4);
  for (const QJsonValue& v : totals) {
    EXPECT_EQ(Keys(v.toObject()),
              Sorted({"Index", "Number", "TotalSeconds", "TotalSessions", "TotalCost", "TotalBytesRead"}));
  }
  EXPECT_EQ(totals[0].toObject()[QStringLiteral("Number")].toString(), QStringLiteral("Unknown"));
  EXPECT_EQ(totals[0].toObject()[QStringLiteral("TotalBytesRead")].toInteger(), 1536);
  EXPECT_EQ(totals[3].toObject(), (QJsonObject{{"Index", 3},
                                               {"Number", "5558888"},
                                               {"TotalSeconds", 0},
                                               {"TotalSessions", 0},
                                               {"TotalCost", 0.0},
                                               {"TotalBytesRead", 0}}));

  const QJsonArray sessions = o[QStringLiteral("Sessions")].toArray();
  ASSERT_EQ(sessions.size(), 5);
  for (const QJsonValue& v : sessions) {
    EXPECT_EQ(Keys(v.toObject()), Sorted({"Index", "ConnectDate", "ConnectTime", "DisconnectDate", "DisconnectTime",
                                          "Number", "Notes", "Answered", "BytesRead", "BytesWritten"}));
  }
  EXPECT_EQ(sessions[2].toObject(), (QJsonObject{{"Index", 3},
                                                 {"ConnectDate", "1998-03-10"},
                                                 {"ConnectTime", "08:00:00"},
                                                 {"DisconnectDate", "1998-03-10"},
                                                 {"DisconnectTime", "08:20:00"},
                                                 {"Number", "Unknown Service"},
                                                 {"Notes", " Unable to get dialled number - R:2"},
                                                 {"Answered", false},
                                                 {"BytesRead", 1536},
                                                 {"BytesWritten", 0}}));
  // The reads entry 30 seconds after the last disconnect was not taken.
  EXPECT_EQ(sessions[4].toObject()[QStringLiteral("BytesRead")].toInt(), 0);

  const QJsonArray rows = o[QStringLiteral("DetailRows")].toArray();
  ASSERT_EQ(rows.size(), 5);
  for (const QJsonValue& v : rows) {
    EXPECT_EQ(Keys(v.toObject()), Sorted({"Index", "Seconds", "DialCost", "ServiceCost", "DataCost", "Cost", "Notes"}));
  }
  const QJsonObject r2 = rows[1].toObject();
  EXPECT_EQ(r2[QStringLiteral("Seconds")].toInt(), 5400);
  EXPECT_DOUBLE_EQ(r2[QStringLiteral("DialCost")].toDouble(), 0.25);
  EXPECT_DOUBLE_EQ(r2[QStringLiteral("ServiceCost")].toDouble(), 3.6);
  EXPECT_DOUBLE_EQ(r2[QStringLiteral("DataCost")].toDouble(), 1.5);
  EXPECT_EQ(r2[QStringLiteral("Notes")].toString(), QStringLiteral(" R:3,072"));
  EXPECT_EQ(o[QStringLiteral("Summary")].toString(),
            ReadText(CaseDir("several_numbers") + QStringLiteral("/summary.txt")));
  EXPECT_EQ(o[QStringLiteral("Details")].toString(),
            ReadText(CaseDir("several_numbers") + QStringLiteral("/details.txt")));
}

TEST_F(CliReportReview, CsvQuotesNotesWithCommas) {
  ASSERT_EQ(Report("several_numbers", "1998-03-09", "1998-03-11", "en_US",
                   {QStringLiteral("--format"), QStringLiteral("csv")}),
            0);
  EXPECT_EQ(out_.toStdString(),
            "Number,Service,Seconds,Time,Sessions,Av/Session,Av/Day,Kilobytes,Cost\r\n"
            "Unknown,Unknown,1200,00:20:00,1,00:20:00,00:06:40,2,1.05\r\n"
            "5551234,NetOne,4500,01:15:00,2,00:37:30,00:25:00,201,2.50\r\n"
            "5557777,5557777,6000,01:40:00,2,00:50:00,00:33:20,3072,6.00\r\n"
            "5558888,5558888,0,00:00:00,0,00:00:00,00:00:00,0,0.00\r\n");
  ASSERT_EQ(Report("several_numbers", "1998-03-09", "1998-03-11", "en_US",
                   {QStringLiteral("--format"), QStringLiteral("csv"), QStringLiteral("--details")}),
            0);
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
