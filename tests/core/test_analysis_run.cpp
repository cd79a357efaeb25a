// Whole analysis runs over crafted log files: reading the file, progress and
// finished texts, the warnings, and what the run leaves for the reports.
#include <gtest/gtest.h>

#include <QTemporaryDir>

#include "analysis_fixtures.h"
#include "core/analysis/analysis_run.h"
#include "core/logfile/log_format.h"

namespace mirolat {
namespace {

using testing::AddService;
using testing::LogLine;
using testing::RecordingProgress;
using testing::ScriptedReporter;
using testing::TariffService;

// Fixed day counts: namespace-scope constants must not depend on other files' initialisation.
constexpr Date kStart = 35810 /* 1998-01-15 */;
constexpr Date kEnd = 35815 /* 1998-01-20 */;
constexpr Date d16 = 35811 /* 1998-01-16 */;

class AnalysisRunTest : public ::testing::Test {
 protected:
  QString Write(const QByteArray& bytes) {
    const QString path = dir.filePath(QStringLiteral("ModemLog.txt"));
    test::WriteRaw(path, bytes);
    return path;
  }
  QString Write(const QStringList& lines) { return Write(lines.join(QStringLiteral("\r\n")).toLatin1() + "\r\n"); }
  RunInputs Inputs(qint64 entryCount = 0) {
    RunInputs in;
    in.config = &config;
    in.locale = &testing::EnglishLocale();
    in.ReportStartDate = kStart;
    in.ReportEndDate = kEnd;
    in.LogEntryCount = entryCount;
    return in;
  }
  RunState Process(const QString& path, qint64 entryCount) { return ProcessLog(Inputs(entryCount), path, progress, reporter); }
  QTemporaryDir dir;
  Configuration config;
  RecordingProgress progress;
  ScriptedReporter reporter;
};

QString Dial(TimeOfDay t, const char* number) {
  return LogLine(d16, t, QStringLiteral("Recv: ATDT%1<cr>").arg(QLatin1String(number)));
}
QString Connect(TimeOfDay t) { return LogLine(d16, t, QStringLiteral("CONNECTION ESTABLISHED")); }
QString Hangup(TimeOfDay t) { return LogLine(d16, t, QStringLiteral("Hanging up the modem")); }
QString Chatter(TimeOfDay t) { return LogLine(d16, t, QStringLiteral("Initializing modem.")); }

// Every line ending ends a line, blank lines are skipped, tabs and other
// control bytes stay inside a line and byte 26 ends the text.
TEST_F(AnalysisRunTest, EveryLineEndingEndsALine) {
  const QByteArray log = Dial(MakeTime(10, 0, 0), "111").toLatin1() + "\r\n" + Connect(MakeTime(10, 0, 30)).toLatin1() +
                         "\t\x01x\n" + Hangup(MakeTime(10, 10, 30)).toLatin1() + "\r\r\n\n   \n\r" +
                         LogLine(d16, MakeTime(10, 10, 31), QStringLiteral("Reads : 4096 bytes")).toLatin1() + "\x1a" +
                         Chatter(MakeTime(10, 20, 0)).toLatin1();
  const RunState r = Process(Write(log), 4);
  EXPECT_EQ(r.LinesRead, 4);
  ASSERT_EQ(r.Tables.SessionCount, 1);
  EXPECT_EQ(r.Tables.ServiceTotals[1].TotalSeconds, 600);
  EXPECT_EQ(r.Tables.Sessions[1].BytesRead, 4096);
  EXPECT_TRUE(ReportWanted(r));
  EXPECT_TRUE(r.Messages.isEmpty());
  EXPECT_TRUE(reporter.errors.isEmpty());
}

TEST_F(AnalysisRunTest, ProgressAboutTenTimesNoneForAShortLog) {
  QStringList lines;
  for (int i = 0; i < 7; ++i) lines << Chatter(MakeTime(10, 0, i));
  EXPECT_EQ(Process(Write(lines), 7).LinesRead, 7);
  EXPECT_EQ(progress.statuses, QStringList{QStringLiteral(" F I N I S H E D !  -  (7 entries processed)")});
  EXPECT_TRUE(progress.percents.isEmpty());
  for (int i = 7; i < 25; ++i) lines << Chatter(MakeTime(10, 0, i));
  progress = RecordingProgress{};
  Process(Write(lines), 25);  // a step of 2 lines
  ASSERT_EQ(progress.percents.size(), 12);
  EXPECT_EQ(progress.percents.first(), 8);
  EXPECT_EQ(progress.percents.last(), 96);
  EXPECT_EQ(progress.statuses.first(), QStringLiteral("Please Wait .....Processing  8%"));
  EXPECT_EQ(progress.statuses.last(), QStringLiteral(" F I N I S H E D !  -  (25 entries processed)"));
  EXPECT_EQ(progress.yields, 12);
  // A count that falls short of the lines read never shows more than 100%.
  progress = RecordingProgress{};
  Process(Write(lines), 10);
  EXPECT_EQ(progress.percents.last(), 100);
  EXPECT_EQ(progress.percents.size(), 10);

  // Nor 101%: 121 lines of 119 counted (a step of 11) stop at 110 lines, 92%.
  lines.clear();
  for (int i = 0; i < 121; ++i) lines << Chatter(MakeTime(10, i / 60, i % 60));
  progress = RecordingProgress{};
  Process(Write(lines), 119);
  EXPECT_EQ(progress.percents.last(), 92);
}

TEST_F(AnalysisRunTest, BytesReadOfOneNumberAddUpBeyondTwoGibibytes) {
  QStringList lines;
  for (int i = 0; i < 3; ++i) {
    const TimeOfDay t = MakeTime(10 + i, 0, 0);
    lines << Dial(t, "111") << Connect(t + 30) << Hangup(t + 600)
          << LogLine(d16, t + 602, QStringLiteral("READS : 2000000000 BYTES"));
  }
  const RunState r = Process(Write(lines), lines.size());
  EXPECT_TRUE(reporter.errors.isEmpty()) << reporter.errors.join(QLatin1Char('|')).toStdString();
  ASSERT_EQ(r.Tables.ServiceTotalsCount, 1);
  EXPECT_EQ(r.Tables.ServiceTotals[1].TotalBytesRead, Q_INT64_C(6000000000));
  EXPECT_EQ(r.Tables.ServiceTotals[1].TotalSessions, 3);
  EXPECT_TRUE(ReportWanted(r));
}

TEST_F(AnalysisRunTest, IncompleteTariffsWarnAndStillReport) {
  AddService(config, TariffService(QStringLiteral("555"), {Tariff{QStringLiteral("Day"), QStringLiteral("Everyday"),
                                                                  MakeTime(8, 0, 0), MakeTime(17, 59, 0), 0.3, 0, 0}}));
  const QStringList lines{Dial(MakeTime(17, 0, 0), "555"), Connect(MakeTime(17, 30, 0)), Hangup(MakeTime(18, 30, 0))};
  const RunState r = Process(Write(lines), 3);
  EXPECT_TRUE(r.IncompleteTariffs);
  EXPECT_TRUE(ReportWanted(r));
  ASSERT_EQ(r.Messages.size(), 1);
  EXPECT_TRUE(r.Messages[0].text.startsWith(QStringLiteral("Your Dialup Tariff Definitions Are Incomplete!")));
}

// Each stop leaves no report; the builder's tests show when each is raised.
TEST_F(AnalysisRunTest, StopsShowNoReport) {
  const RunState corrupt = Process(Write(QStringList{Chatter(MakeTime(10, 0, 0)), QStringLiteral("no date here")}), 2);
  EXPECT_TRUE(corrupt.LogCorrupt);
  EXPECT_FALSE(ReportWanted(corrupt));
  EXPECT_EQ(progress.statuses.last(), QStringLiteral(" F I N I S H E D !  -  (1 entries processed)"));
  for (bool RunState::*stop : {&RunState::TooManyServices, &RunState::TooManyConnections}) {
    RunState r;
    r.*stop = true;
    EXPECT_FALSE(ReportWanted(r));
  }
}

TEST_F(AnalysisRunTest, MissingFileGoesToTheReporterAnEmptyOneIsAnEmptyRun) {
  const RunState r = Process(dir.filePath(QStringLiteral("absent.txt")), 0);
  ASSERT_EQ(reporter.errors.size(), 1);
  EXPECT_EQ(r.LinesRead, 0);
  ScriptedReporter ending(ErrorAnswer::End);
  EXPECT_THROW(ProcessLog(Inputs(), dir.filePath(QStringLiteral("absent.txt")), progress, ending), EndProgramRequested);
  EXPECT_EQ(Process(Write(QByteArray()), 0).LinesRead, 0);
  EXPECT_EQ(reporter.errors.size(), 1);
}

}  // namespace
}  // namespace mirolat
