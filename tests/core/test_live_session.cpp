// The session in progress and today's and the cycle's running totals, from
// small logs: what is open at the log's end, priced up to now.
#include <gtest/gtest.h>

#include <QStringList>

#include "core/planning/live_session.h"
#include "pricing_fixtures.h"

namespace mirolat {
namespace {

// Log lines "mm-dd-yyyy hh:mm:ss.00 - text" with the default response texts.
QString Line(const char* day, const char* time, const char* text) {
  return QStringLiteral("%1 %2.00 - %3\r\n").arg(day, time, text);
}
QString Dial(const char* day, const char* time) { return Line(day, time, "Recv: ATDT5551234<cr>"); }
QString Connect(const char* day, const char* time) { return Line(day, time, "Connection established at 24000bps."); }
QString Hangup(const char* day, const char* time) { return Line(day, time, "Hanging up the modem."); }
QByteArray Log(const QStringList& lines) { return lines.join(QString()).toLatin1(); }

// 0.10 a call and a flexi rate: the first hour of a day at 1.00 an hour, then 10.00.
Configuration FlexiConfiguration() {
  Configuration config;
  Service s = testing::FixedService(QStringLiteral("5551234"), 0.10);
  s.ServiceName = QStringLiteral("Provider A");
  s.ServiceOption = 2;
  s.FlexRate = 1;
  s.UpToHours = 1;
  s.PenaltyPeriod = QStringLiteral("Day");
  s.FlexRate2 = 10;
  testing::AddService(config, s);
  return config;
}

TEST(LiveSessionTest, SessionInProgressAndTotals) {
  struct Case {
    const char* name;
    QStringList log;
    bool open;
    TimeOfDay since;
    qint64 seconds;
    double cost;
    UsageTotals today, cycle;
  } cases[] = {
      {"empty log", {}, false, 0, 0, 0, {}, {}},
      {"one session ended", {Dial("03-10-2026", "09:00:00"), Connect("03-10-2026", "09:00:30"), Hangup("03-10-2026", "09:30:30")},
       false, 0, 0, 0, {0.6, 1800, 1}, {0.6, 1800, 1}},
      {"connected since 11:30",
       {Dial("03-10-2026", "11:29:40"), Connect("03-10-2026", "11:30:00")},
       true, MakeTime(11, 30, 0), 1800, 0.6, {0.6, 1800, 1}, {0.6, 1800, 1}},
      // 45 minutes earlier today leave 15 of the hour at the low rate: 0.10 + 0.25 + 2.50.
      {"the day's allowance is what earlier sessions left",
       {Dial("03-10-2026", "09:00:00"), Connect("03-10-2026", "09:00:00"), Hangup("03-10-2026", "09:45:00"),
        Dial("03-10-2026", "11:30:00"), Connect("03-10-2026", "11:30:00")},
       true, MakeTime(11, 30, 0), 1800, 2.85, {0.85 + 2.85, 4500, 2}, {0.85 + 2.85, 4500, 2}},
      // Eleven days back on the 1st: only the cycle counts the session of the 1st.
      {"the cycle counts days before today",
       {Dial("03-01-2026", "09:00:00"), Connect("03-01-2026", "09:00:00"), Hangup("03-01-2026", "09:30:00"),
        Dial("03-10-2026", "11:30:00"), Connect("03-10-2026", "11:30:00")},
       true, MakeTime(11, 30, 0), 1800, 0.6, {0.6, 1800, 1}, {1.2, 3600, 2}},
      // Since 23:00 yesterday: today counts 12 hours of it, the session 13.
      {"connected across midnight",
       {Dial("03-09-2026", "23:00:00"), Connect("03-09-2026", "23:00:00")},
       true, MakeTime(23, 0, 0), 13 * 3600, 0.1 + 1 + 12 * 10, {0.1 + 1 + 11 * 10, 12 * 3600, 1},
       {0.1 + 1 + 12 * 10, 13 * 3600, 1}},
      {"a dial after the connect ends it",
       {Dial("03-10-2026", "09:00:00"), Connect("03-10-2026", "09:00:00"), Dial("03-10-2026", "11:00:00")},
       false, 0, 0, 0, {0.1 + 0.25, 900, 1}, {0.1 + 0.25, 900, 1}},
      {"a connect older than the run reads back",
       {Dial("03-05-2026", "09:00:00"), Connect("03-05-2026", "09:00:00")}, false, 0, 0, 0, {}, {}},
  };
  const Configuration config = FlexiConfiguration();
  const Date today = MakeDate(2026, 3, 10);
  for (const Case& c : cases) {
    const QByteArray text = Log(c.log);
    const LiveStatus s = LiveStatusOfLog(config, testing::EnglishLocale(), text, today, MakeTime(12, 0, 0));
    EXPECT_EQ(s.Cycle, (BillingCycle{MakeDate(2026, 3, 1), MakeDate(2026, 3, 31)})) << c.name;
    ASSERT_EQ(s.Session.has_value(), c.open) << c.name;
    if (c.open) {
      EXPECT_EQ(s.Session->Number, QStringLiteral("5551234")) << c.name;
      EXPECT_EQ(s.Session->ServiceName, QStringLiteral("Provider A")) << c.name;
      EXPECT_EQ(s.Session->ConnectTime, c.since) << c.name;
      EXPECT_EQ(s.Session->Seconds, c.seconds) << c.name;
      EXPECT_NEAR(s.Session->Cost, c.cost, 1e-4) << c.name;
    }
    EXPECT_EQ(s.TodayTotals.Sessions, c.today.Sessions) << c.name;
    EXPECT_EQ(s.TodayTotals.Seconds, c.today.Seconds) << c.name;
    EXPECT_NEAR(s.TodayTotals.Cost, c.today.Cost, 1e-4) << c.name;
    EXPECT_EQ(s.CycleTotals.Sessions, c.cycle.Sessions) << c.name;
    EXPECT_EQ(s.CycleTotals.Seconds, c.cycle.Seconds) << c.name;
    EXPECT_NEAR(s.CycleTotals.Cost, c.cycle.Cost, 1e-4) << c.name;
  }
}

TEST(LiveSessionTest, ACallWithoutItsNumberAndAMissingFile) {
  const QByteArray text = Log({Connect("03-10-2026", "11:00:00")});
  const LiveStatus s =
      LiveStatusOfLog(FlexiConfiguration(), testing::EnglishLocale(), text, MakeDate(2026, 3, 10), MakeTime(11, 10, 0));
  ASSERT_TRUE(s.Session);
  EXPECT_EQ(s.Session->Number, QStringLiteral("Unknown Service"));
  EXPECT_EQ(s.Session->Seconds, 600);
  EXPECT_FALSE(LiveStatusOfFile(FlexiConfiguration(), testing::EnglishLocale(), QStringLiteral("/nonexistent/log"),
                                MakeDate(2026, 3, 10), 0));
}

TEST(LiveSessionTest, LinesTheTrayShows) {
  const Date today = MakeDate(2026, 3, 10);
  const QByteArray across = Log({Dial("03-09-2026", "23:00:00"), Connect("03-09-2026", "23:00:00")});
  const QByteArray ended = Log({Dial("03-10-2026", "09:00:00"), Connect("03-10-2026", "09:00:00"), Hangup("03-10-2026", "09:30:00")});
  struct Case {
    QByteArray log;
    bool withCosts;
    QStringList expected;
  } cases[] = {
      {across, true,
       {"Connected: Provider A (5551234)", "Since 3/9/26 23:00:00 (13:00:00), $121.10 so far", "Today: 12:00:00, 1 session, $111.10",
        "This cycle (1–31 Mar): 13:00:00, 1 session, $121.10"}},
      {ended, false, {"No connection", "Today: 00:30:00, 1 session", "This cycle (1–31 Mar): 00:30:00, 1 session"}},
  };
  for (const Case& c : cases) {
    const LiveStatus s = LiveStatusOfLog(FlexiConfiguration(), testing::EnglishLocale(), c.log, today, MakeTime(12, 0, 0));
    EXPECT_EQ(LiveStatusLines(s, testing::EnglishLocale(), c.withCosts), c.expected);
  }
}

}  // namespace
}  // namespace mirolat
