// Every core format of the bundled sample and of two generated logs against
// the files under tests/data/reports/formats, byte for byte; and how the
// figures spread a session's time over the days and hours it falls on.
// MIROLAT_REGENERATE_GOLDEN=1 writes the expected files instead of comparing.
#include <gtest/gtest.h>

#include <QTemporaryDir>

#include "core/analysis/log_generator.h"
#include "core/reports/details_report.h"
#include "core/reports/formats/report_format.h"
#include "core/reports/summary_report.h"
#include "report_test_support.h"

namespace mirolat {
namespace {

using testing_support::FailingReporter;

struct FormatCase {
  const char* name;
  quint32 seed;  // 0: the bundled sample log, else a generated log of `days` days
  int days;
  const char* from;
  const char* to;
  QLocale::Language language;
  QLocale::Territory territory;
};

class ReportFormats : public ::testing::TestWithParam<FormatCase> {};

TEST_P(ReportFormats, EachFormatMatchesItsExpectedFile) {
  const FormatCase& c = GetParam();
  QTemporaryDir dir;
  QString log = QStringLiteral(MIROLAT_SAMPLES_DIR "/ModemLog.txt");
  if (c.seed != 0) {
    log = dir.filePath(QStringLiteral("ModemLog.txt"));
    test::WriteRaw(log, GenerateModemLog(LogGeneratorOptions{c.seed, c.days}));
  }
  Configuration config;
  QString error;
  ASSERT_TRUE(ConfigurationFromJson(test::ReadAll(QStringLiteral(MIROLAT_SAMPLES_DIR "/config.json")),
                                    Configuration(), config, error));
  const LocaleValues locale = LoadLocaleInfo(QLocale(c.language, c.territory));
  RunInputs inputs;
  inputs.config = &config;
  inputs.locale = &locale;
  inputs.ReportStartDate = DateFromIso(QString::fromLatin1(c.from));
  inputs.ReportEndDate = DateFromIso(QString::fromLatin1(c.to));
  NullProgress progress;
  FailingReporter reporter;
  RunState run = ProcessLog(inputs, log, progress, reporter);
  const std::vector<Session> sessionsAsRun = run.Tables.Sessions;
  const ReportInputs in{&config, &locale, inputs.ReportStartDate, inputs.ReportEndDate, run.ErrorsFound};
  const ReportFigures figures = BuildReportFigures(run.Tables, in, progress);
  const ReportModel summary = BuildSummaryReport(figures, in);
  const ReportModel details = BuildDetailsReport(figures, in).Model;
  for (const NumberFigures& n : figures.Numbers) {
    EXPECT_NEAR(n.DialCost + n.TimeCost + n.DataCost, n.Cost, 1e-9) << n.Number.toStdString();
  }

  const QString expectedDir = QStringLiteral(MIROLAT_TEST_DATA_DIR "/reports/formats/") + QLatin1String(c.name);
  const bool regenerate = qEnvironmentVariableIsSet("MIROLAT_REGENERATE_GOLDEN");
  const ReportDocument document{ReportKind::Summary, &figures, &summary, &details, &config, &locale, &run,
                                &sessionsAsRun};
  for (const auto& format : CoreReportFormats()) {
    for (const ReportKind kind : {ReportKind::Summary, ReportKind::Details}) {
      if (format->Needs() == ReportNeeds::Both && kind == ReportKind::Details) continue;  // both in one
      ReportDocument shown = document;
      shown.shown = kind;
      QByteArray bytes;
      format->Write(shown, [&](QByteArrayView piece) { bytes += piece; });
      const QString file = expectedDir + QLatin1Char('/') +
                           (format->Needs() == ReportNeeds::Both ? QStringLiteral("report")
                            : kind == ReportKind::Details        ? QStringLiteral("details")
                                                                 : QStringLiteral("summary")) +
                           QLatin1Char('-') + format->Id() + QLatin1Char('.') + format->Extension();
      if (regenerate) test::WriteRaw(file, bytes);
      EXPECT_EQ(bytes.toStdString(), test::ReadAll(file).toStdString()) << file.toStdString();
    }
  }
}

INSTANTIATE_TEST_SUITE_P(
    Logs, ReportFormats,
    ::testing::Values(FormatCase{"sample", 0, 0, "1998-01-01", "1998-02-14", QLocale::English, QLocale::UnitedStates},
                      // The range cuts sessions at both ends; decimal comma.
                      FormatCase{"generated_de", 21, 12, "1998-01-03", "1998-01-10", QLocale::German, QLocale::Germany},
                      // Whole yen on the reports; 0.15 a call in the CSV and JSON.
                      FormatCase{"generated_ja", 12, 6, "1998-01-01", "1998-01-06", QLocale::Japanese, QLocale::Japan}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(ReportFormats, FileNamesAndIdsFindTheirFormat) {
  const auto formats = CoreReportFormats();
  EXPECT_EQ(FormatForFileName(formats, QStringLiteral("/tmp/a.b/Report.CSV"))->Id(), QStringLiteral("csv"));
  EXPECT_EQ(FormatForFileName(formats, QStringLiteral("report.json"))->Id(), QStringLiteral("json"));
  EXPECT_EQ(FormatForFileName(formats, QStringLiteral("notes.txt"))->Id(), QStringLiteral("text"));
  EXPECT_EQ(FormatForFileName(formats, QStringLiteral("/tmp/a.csv/report")), nullptr);
  EXPECT_EQ(FormatForFileName(formats, QStringLiteral("report.xml")), nullptr);
  EXPECT_EQ(FormatWithId(formats, QStringLiteral("csv-locale"))->Extension(), QStringLiteral("csv"));
  EXPECT_EQ(FormatWithId(formats, QStringLiteral("CSV")), nullptr);
}

class FigureSpread : public testing_support::TableReportTest {};

// A session's connected time lands on the days and hours of the week it falls
// on, cut at the range's ends; its cost on its connect day, or the range's
// first day when it connected before it. 12 March 1998 was a Thursday.
TEST_F(FigureSpread, TimeOverDaysAndHoursCostOnTheConnectDay) {
  struct Case {
    TimeOfDay connect;
    int disconnectDay;  // after the connect day
    TimeOfDay disconnect;
    int firstDay, lastDay;  // the range, after the connect day
    std::vector<qint64> days;
    std::vector<std::pair<int, qint64>> hours;  // (day * 24 + hour, seconds)
    int costDay;
  };
  const Case cases[] = {
      {MakeTime(10, 30, 0), 0, MakeTime(11, 15, 0), 0, 0, {2700}, {{3 * 24 + 10, 1800}, {3 * 24 + 11, 900}}, 0},
      {MakeTime(23, 30, 0), 1, MakeTime(0, 20, 0), 0, 1, {1800, 1200}, {{3 * 24 + 23, 1800}, {4 * 24, 1200}}, 0},
      {MakeTime(23, 30, 0), 1, MakeTime(0, 20, 0), 1, 1, {1200}, {{4 * 24, 1200}}, 0},  // connected before the range
      {MakeTime(23, 50, 0), 1, MakeTime(0, 10, 0), 0, 0, {600}, {{3 * 24 + 23, 600}}, 0},  // ends after it
      {MakeTime(22, 0, 0), 3, MakeTime(1, 0, 0), 1, 2, {86400, 86400}, {}, 0},  // whole days inside
      {MakeTime(9, 0, 0), 0, MakeTime(8, 0, 0), 0, 0, {0}, {}, 0},  // a clock set back: no time
  };
  config.CalcCosts = true;
  config.DialCost = 0.25;
  config.CostPerHour = 0;
  tables.ServiceTotals[1].Number = QStringLiteral("5551234");
  tables.ServiceTotalsCount = 1;
  const Date day = MakeDate(1998, 3, 12);
  for (const Case& c : cases) {
    tables.SessionCount = 0;
    AddSession("5551234", day, c.connect, day + c.disconnectDay, c.disconnect);
    NullProgress progress;
    const ReportFigures f = BuildReportFigures(tables, Inputs(day + c.firstDay, day + c.lastDay), progress);
    const std::string label = std::to_string(c.connect) + " to day " + std::to_string(c.disconnectDay);
    ASSERT_EQ(f.Days.size(), c.days.size()) << label;
    for (std::size_t d = 0; d < c.days.size(); ++d) {
      EXPECT_EQ(f.Days[d].Day, day + c.firstDay + int(d)) << label;
      EXPECT_EQ(f.Days[d].Seconds, std::vector<qint64>{c.days[d]}) << label << " day " << d;
      EXPECT_EQ(f.Days[d].Cost, std::vector<double>{int(d) == c.costDay ? 0.25 : 0.0}) << label << " day " << d;
    }
    std::array<qint64, 168> hours{};
    for (const auto& [hour, seconds] : c.hours) hours[std::size_t(hour)] = seconds;
    if (c.days.size() == 2 && c.days[0] == 86400) {  // whole days: every hour of Friday and Saturday
      std::fill(hours.begin() + 4 * 24, hours.begin() + 6 * 24, 3600);
    }
    EXPECT_EQ(f.HourOfWeekSeconds, hours) << label;
  }
}

}  // namespace
}  // namespace mirolat
