// The session builder's state machine over crafted lines: sessions, their
// durations inside the range, substitutes for missing disconnect entries,
// the data entries that follow a close, and the run's stops.
#include <gtest/gtest.h>

#include "analysis_fixtures.h"
#include "core/analysis/session_builder.h"
#include "core/costs/dial_tariffs.h"

namespace mirolat {
namespace {

using testing::AddService;
using testing::LogLine;
using testing::ScriptedReporter;
using testing::TariffService;

// Fixed day counts: namespace-scope constants must not depend on other files' initialisation.
constexpr Date kStart = 35810 /* 1998-01-15 */;
constexpr Date kEnd = 35815 /* 1998-01-20 */;
constexpr Date d13 = 35808 /* 1998-01-13 */, d14 = 35809 /* 1998-01-14 */, d16 = 35811 /* 1998-01-16 */,
           d17 = 35812 /* 1998-01-17 */, d21 = 35816 /* 1998-01-21 */;

QString Dial(Date d, TimeOfDay t, const char* number) {
  return LogLine(d, t, QStringLiteral("Recv: ATDT%1<cr>").arg(QLatin1String(number)));
}
QString Answer(Date d, TimeOfDay t) { return LogLine(d, t, QStringLiteral("Ring - Answering call")); }
QString Connect(Date d, TimeOfDay t) { return LogLine(d, t, QStringLiteral("Connection established at 33600bps.")); }
QString Hangup(Date d, TimeOfDay t) { return LogLine(d, t, QStringLiteral("Hanging up the modem.")); }
QString HostHangup(Date d, TimeOfDay t) { return LogLine(d, t, QStringLiteral("Remote modem hung up.")); }
QString Reads(Date d, TimeOfDay t, const char* count) {
  return LogLine(d, t, QStringLiteral("Reads : %1 bytes").arg(QLatin1String(count)));
}
QString Writes(Date d, TimeOfDay t, const char* count) {
  return LogLine(d, t, QStringLiteral("Writes : %1 bytes").arg(QLatin1String(count)));
}
QString Chatter(Date d, TimeOfDay t) { return LogLine(d, t, QStringLiteral("Opening Modem")); }

class Builder : public ::testing::Test {
 protected:
  Builder() { config.DialCost = 0; config.CostPerHour = 0; config.CostPerMeg = 0; }
  RunInputs Inputs(qint64 entries) {
    RunInputs in;
    in.config = &config;
    in.locale = &testing::EnglishLocale();
    in.ReportStartDate = kStart;
    in.ReportEndDate = kEnd;
    in.LogEntryCount = entries;
    return in;
  }
  RunState Run(const QStringList& lines) {
    RunState state;
    const RunInputs in = Inputs(lines.size());
    NullProgress progress;
    SessionBuilder builder(in, state, progress, reporter);
    builder.StartRun();
    for (const QString& line : lines) {
      if (!state.KeepGoing) break;
      const QByteArray bytes = line.toLatin1();
      builder.ProcessLogLine(bytes);
      if (state.TooManyServices) state.KeepGoing = false;
    }
    builder.FinishLog();
    return state;
  }
  const Session& S(const RunState& r, int i) { return r.Tables.Sessions[static_cast<size_t>(i)]; }
  const ServiceTotal& T(const RunState& r, int i) { return r.Tables.ServiceTotals[static_cast<size_t>(i)]; }
  Configuration config;
  ScriptedReporter reporter;
};

TEST_F(Builder, DialledSessionWithItsData) {
  config.CostPerHour = 1.5;
  config.DialCost = 0.2;
  config.CostPerMeg = 0.1;
  const RunState r = Run({Chatter(d16, MakeTime(9, 59, 0)), Dial(d16, MakeTime(10, 0, 0), "5551234"),
                          Connect(d16, MakeTime(10, 0, 30)), Chatter(d16, MakeTime(10, 10, 0)),
                          Hangup(d16, MakeTime(10, 30, 30)), Reads(d16, MakeTime(10, 30, 32), "24513"),
                          Writes(d16, MakeTime(10, 30, 33), "5120")});
  ASSERT_EQ(r.Tables.SessionCount, 1);
  const Session& s = S(r, 1);
  EXPECT_EQ(s.Number, QStringLiteral("5551234"));
  EXPECT_EQ(s.ConnectDate, d16);
  EXPECT_EQ(s.ConnectTime, MakeTime(10, 0, 30));
  EXPECT_EQ(s.DisconnectDate, d16);
  EXPECT_EQ(s.DisconnectTime, MakeTime(10, 30, 30));
  EXPECT_EQ(s.BytesRead, 24513);
  EXPECT_EQ(s.BytesWritten, 5120);
  EXPECT_EQ(s.Notes, QStringLiteral(" R:24 - W:5 KB"));
  EXPECT_EQ(r.Tables.ServiceTotalsCount, 1);
  EXPECT_EQ(T(r, 1).TotalSeconds, 1800);
  EXPECT_EQ(T(r, 1).TotalSessions, 1);
  EXPECT_EQ(T(r, 1).TotalBytesRead, 24513);
  EXPECT_DOUBLE_EQ(T(r, 1).TotalCost, 0.2 + 0.75 + 24513.0 / 1024 / 1024 * 0.1);
  EXPECT_FALSE(r.ErrorsFound);
  EXPECT_EQ(r.LinesRead, 7);
}

TEST_F(Builder, DurationCountsOnlyTheTimeInsideTheRange) {
  struct Case { Date cd; TimeOfDay ct; Date dd; TimeOfDay dt; qint32 seconds; };
  const Case cases[] = {
      {kStart, MakeTime(23, 50, 0), kStart + 1, MakeTime(0, 10, 0), 1200},
      {kEnd, MakeTime(23, 50, 0), kEnd + 1, MakeTime(0, 10, 0), 600},       // the next day is after the range
      {d14, MakeTime(23, 50, 0), kStart, MakeTime(0, 10, 0), 600},          // began the day before the range
      {kStart, MakeTime(23, 0, 0), kStart + 3, MakeTime(1, 0, 0), 2 * 86400 + 7200},  // whole days in full
      {d14, MakeTime(12, 0, 0), d21, MakeTime(12, 0, 0), 6 * 86400},        // whole days outside the range too
      {d16, MakeTime(10, 0, 0), d16, MakeTime(9, 0, 0), 0},                  // clock set back
      {d17, MakeTime(10, 0, 0), d16, MakeTime(11, 0, 0), 0}};
  for (const Case& c : cases) {
    const RunState r = Run({Dial(c.cd, c.ct, "1"), Connect(c.cd, c.ct), HostHangup(c.dd, c.dt)});
    ASSERT_EQ(r.Tables.SessionCount, 1) << c.cd << " " << c.ct;
    EXPECT_EQ(T(r, 1).TotalSeconds, c.seconds) << c.cd << " " << c.ct;
    EXPECT_EQ(T(r, 1).TotalSessions, 1);
  }
}

TEST_F(Builder, SessionsEndingBeforeTheRangeAreDiscardedWithEverythingBefore) {
  const RunState r = Run({
      Dial(d13, MakeTime(10, 0, 0), "111"), Connect(d13, MakeTime(10, 0, 10)),
      Dial(d13, MakeTime(11, 0, 0), "222"),  // no disconnect: substitute end on the 13th
      Connect(d13, MakeTime(11, 0, 10)), Hangup(d13, MakeTime(11, 30, 0)),
      Dial(d14, MakeTime(23, 0, 0), "333"), Connect(d14, MakeTime(23, 50, 0)),
      Hangup(kStart, MakeTime(0, 10, 0))});
  ASSERT_EQ(r.Tables.SessionCount, 1);
  EXPECT_EQ(r.Tables.ServiceTotalsCount, 1);
  EXPECT_EQ(T(r, 1).Number, QStringLiteral("333"));
  EXPECT_EQ(S(r, 1).Number, QStringLiteral("333"));
  EXPECT_EQ(T(r, 1).TotalSeconds, 600);
  EXPECT_FALSE(r.ErrorsFound);
  EXPECT_EQ(T(r, 0), ServiceTotal{});
}

TEST_F(Builder, LinesBeforeTheReadingWindowAreIgnored) {
  const Date d12 = MakeDate(1998, 1, 12);
  const RunState r = Run({Dial(d12, MakeTime(10, 0, 0), "111"), Connect(d12, MakeTime(10, 0, 10)),
                          Chatter(d13, MakeTime(9, 0, 0)), Hangup(d16, MakeTime(11, 0, 0))});
  EXPECT_EQ(r.Tables.SessionCount, 0);
  EXPECT_EQ(r.Tables.ServiceTotalsCount, 0);
  EXPECT_EQ(r.LinesRead, 4);
}

TEST_F(Builder, CallThatNeverConnectsLeavesNoSessionButKeepsItsEntry) {
  const RunState r = Run({Dial(d16, MakeTime(10, 0, 0), "111"), Hangup(d16, MakeTime(10, 0, 40)),
                          Dial(d16, MakeTime(11, 0, 0), "222"), Connect(d16, MakeTime(11, 0, 30)),
                          Hangup(d16, MakeTime(11, 1, 30)),
                          Dial(d16, MakeTime(12, 0, 0), "333")});  // still waiting at the end
  ASSERT_EQ(r.Tables.SessionCount, 1);
  EXPECT_EQ(S(r, 1).Number, QStringLiteral("222"));
  EXPECT_EQ(r.Tables.ServiceTotalsCount, 3);
  EXPECT_EQ(T(r, 1).Number, QStringLiteral("111"));
  EXPECT_EQ(T(r, 1).TotalSessions, 0);
  EXPECT_EQ(T(r, 3).Number, QStringLiteral("333"));
  EXPECT_EQ(T(r, 3).TotalSessions, 0);
  EXPECT_EQ(S(r, 2), Session{});  // the pending call's slot is given back empty
  EXPECT_EQ(r.CurrentService, 0);
}

TEST_F(Builder, MissingDisconnectGetsTheSubstituteAndTheDialStartsTheNextCall) {
  config.NoDisconData = 10;
  for (bool showErrors : {true, false}) {
    config.ShowErrors = showErrors;
    const RunState r = Run({Dial(d16, MakeTime(10, 0, 0), "111"), Connect(d16, MakeTime(10, 0, 30)),
                            Dial(d16, MakeTime(11, 0, 0), "222"), Connect(d16, MakeTime(11, 0, 30)),
                            Hangup(d16, MakeTime(11, 1, 30))});
    ASSERT_EQ(r.Tables.SessionCount, 2);
    const Session& first = S(r, 1);
    EXPECT_EQ(first.DisconnectDate, d16);
    EXPECT_EQ(first.DisconnectTime, showErrors ? MakeTime(10, 15, 30) : MakeTime(10, 0, 30));
    EXPECT_EQ(first.BytesRead, showErrors ? 10240 : 0);
    EXPECT_EQ(first.Notes, showErrors ? QStringLiteral(" ERROR - No Disconnect Entry - R:10KB")
                                      : QStringLiteral(" ERROR - No Disconnect Entry -"));
    EXPECT_EQ(T(r, 1).TotalSeconds, showErrors ? 900 : 0);
    EXPECT_EQ(T(r, 1).TotalSessions, 1);
    EXPECT_EQ(T(r, 1).TotalBytesRead, showErrors ? 10240 : 0);
    EXPECT_EQ(S(r, 2).Number, QStringLiteral("222"));
    EXPECT_EQ(T(r, 2).TotalSeconds, 60);
    EXPECT_TRUE(r.ErrorsFound);
  }
}

TEST_F(Builder, SubstituteEndCrossesMidnight) {
  const RunState r = Run({Connect(d16, MakeTime(23, 55, 0)), Connect(d17, MakeTime(1, 0, 0)), Hangup(d17, MakeTime(1, 0, 5))});
  ASSERT_EQ(r.Tables.SessionCount, 2);
  EXPECT_EQ(S(r, 1).DisconnectDate, d17);
  EXPECT_EQ(S(r, 1).DisconnectTime, MakeTime(0, 10, 0));
  EXPECT_EQ(T(r, 0).TotalSeconds, 900 + 5);  // substitute duration, unclipped, plus the second session
  EXPECT_EQ(T(r, 0).TotalSessions, 2);
}

TEST_F(Builder, OpenSessionAtTheEndIsKeptEvenWhenItEndsBeforeTheRange) {
  AddService(config, TariffService(QStringLiteral("555"), {Tariff{QStringLiteral("All"), QStringLiteral("Everyday"), 0,
                                                                  MakeTime(23, 59, 0), 0.10, 0.05, 0}}));
  const RunState r = Run({Dial(d13, MakeTime(10, 0, 0), "555"), Connect(d13, MakeTime(10, 0, 30))});
  ASSERT_EQ(r.Tables.SessionCount, 1);
  EXPECT_EQ(S(r, 1).DisconnectDate, d13);
  EXPECT_EQ(S(r, 1).DisconnectTime, MakeTime(10, 15, 30));
  EXPECT_TRUE(r.ErrorsFound);
  EXPECT_EQ(T(r, 1).TotalSeconds, 900);
  // The tariff walk charges nothing of the range for a session that ended before it.
  EXPECT_DOUBLE_EQ(T(r, 1).TotalCost, 0);
  EXPECT_FALSE(r.IncompleteTariffs);
}

TEST_F(Builder, ReadsEntryBelongsToTheLastClosedSessionWithinTwentySeconds) {
  struct Case { Date date; TimeOfDay time; bool counts; };
  const Case cases[] = {
      {d16, MakeTime(10, 30, 30), true},  {d16, MakeTime(10, 30, 49), true}, {d16, MakeTime(10, 30, 50), false},
      {d16, MakeTime(10, 30, 29), false},  // before the disconnect
      {d17, MakeTime(10, 30, 35), false},  // a day later
  };
  for (const Case& c : cases) {
    // Data entries while the call waits or is connected are ignored.
    const RunState r = Run({Dial(d16, MakeTime(10, 0, 0), "111"), Reads(d16, MakeTime(10, 0, 1), "7"),
                            Connect(d16, MakeTime(10, 0, 30)), Writes(d16, MakeTime(10, 0, 31), "8"),
                            Hangup(d16, MakeTime(10, 30, 30)), Reads(c.date, c.time, "2048"),
                            Writes(c.date, c.time, "1024")});
    EXPECT_EQ(S(r, 1).BytesRead, c.counts ? 2048 : 0) << c.time;
    EXPECT_EQ(S(r, 1).BytesWritten, c.counts ? 1024 : 0) << c.time;
    EXPECT_EQ(T(r, 1).TotalBytesRead, c.counts ? 2048 : 0) << c.time;
    EXPECT_EQ(S(r, 1).Notes, c.counts ? QStringLiteral(" R:2 - W:1 KB") : QString()) << c.time;
  }
}

TEST_F(Builder, ReadsAcrossMidnightAndOnlyTheFirstAfterEachClose) {
  const RunState r = Run({Dial(d16, MakeTime(23, 0, 0), "111"), Connect(d16, MakeTime(23, 0, 30)),
                          Hangup(d16, MakeTime(23, 59, 55)), Reads(d17, MakeTime(0, 0, 5), "1,024"),
                          Reads(d17, MakeTime(0, 0, 6), "999999"), Writes(d17, MakeTime(0, 0, 7), "10"),
                          Writes(d17, MakeTime(0, 0, 8), "20")});
  EXPECT_EQ(S(r, 1).BytesRead, 1);  // the comma ends the digits
  EXPECT_EQ(S(r, 1).BytesWritten, 10);
  EXPECT_EQ(T(r, 1).TotalBytesRead, 1);
  EXPECT_EQ(S(r, 1).Notes, QStringLiteral(" R:0 - W:0 KB"));
}

TEST_F(Builder, ReadsGoToTheClosedSessionsEntryEvenAfterAGivenBackCall) {
  config.CostPerMeg = 1.0;
  const RunState r = Run({Dial(d16, MakeTime(10, 0, 0), "111"), Connect(d16, MakeTime(10, 0, 30)),
                          Hangup(d16, MakeTime(10, 30, 30)), Dial(d16, MakeTime(10, 30, 31), "222"),
                          Hangup(d16, MakeTime(10, 30, 32)), Reads(d16, MakeTime(10, 30, 35), "1048576")});
  ASSERT_EQ(r.Tables.SessionCount, 1);
  EXPECT_EQ(S(r, 1).BytesRead, 1048576);
  EXPECT_EQ(T(r, 1).TotalBytesRead, 1048576);
  EXPECT_DOUBLE_EQ(T(r, 1).TotalCost, 1.0);
  EXPECT_EQ(T(r, 2).Number, QStringLiteral("222"));
  EXPECT_EQ(T(r, 2).TotalBytesRead, 0);
  EXPECT_DOUBLE_EQ(T(r, 2).TotalCost, 0);
}

TEST_F(Builder, AnsweredAndUnidentifiedCalls) {
  const RunState r = Run({Answer(d16, MakeTime(9, 0, 0)), Connect(d16, MakeTime(9, 0, 10)),
                          Hangup(d16, MakeTime(9, 10, 10)), Connect(d16, MakeTime(10, 0, 0)),
                          Hangup(d16, MakeTime(10, 1, 0)), Writes(d16, MakeTime(10, 1, 1), "5120")});
  ASSERT_EQ(r.Tables.SessionCount, 2);
  EXPECT_EQ(S(r, 1).Number, QStringLiteral("Answered Call"));
  EXPECT_TRUE(S(r, 1).Answered);
  EXPECT_EQ(S(r, 1).Notes, QStringLiteral(" No Cost"));
  EXPECT_EQ(T(r, 1).Number, QStringLiteral("Answered Calls"));
  EXPECT_EQ(T(r, 1).TotalSeconds, 600);
  EXPECT_EQ(S(r, 2).Number, QStringLiteral("Unknown Service"));
  EXPECT_EQ(S(r, 2).Notes, QStringLiteral(" Unable to get dialled number - - W:5 KB"));
  EXPECT_EQ(T(r, 0).Number, QStringLiteral("Unknown"));
  EXPECT_EQ(T(r, 0).TotalSeconds, 60);
  EXPECT_EQ(T(r, 0).TotalSessions, 1);
  config.CalcCosts = false;
  const RunState off = Run({Answer(d16, MakeTime(9, 0, 0)), Connect(d16, MakeTime(9, 0, 10)), Hangup(d16, MakeTime(9, 10, 10))});
  EXPECT_EQ(S(off, 1).Notes, QString());
}

TEST_F(Builder, IncompleteTariffsMarkTheSession) {
  AddService(config, TariffService(QStringLiteral("555"), {Tariff{QStringLiteral("Peak"), QStringLiteral("Everyday"),
                                                                  MakeTime(8, 0, 0), MakeTime(17, 59, 0), 0.30, 0.06, 0}}));
  AddService(config, TariffService(QStringLiteral("666"), {}));
  const RunState r = Run({Dial(d16, MakeTime(17, 0, 0), "555"), Connect(d16, MakeTime(17, 50, 0)),
                          Hangup(d16, MakeTime(18, 10, 0)), Reads(d16, MakeTime(18, 10, 1), "3072"),
                          Dial(d17, MakeTime(10, 0, 0), "666"), Connect(d17, MakeTime(10, 0, 30)),
                          Hangup(d17, MakeTime(10, 10, 30))});
  EXPECT_TRUE(r.IncompleteTariffs);
  EXPECT_EQ(S(r, 1).Notes, QStringLiteral(" ERROR - Incomplete Tariff - R:3"));
  EXPECT_DOUBLE_EQ(T(r, 1).TotalCost, 0.30 + 599.0 / 60 * 0.06);
  EXPECT_EQ(S(r, 2).Notes, QStringLiteral(" ERROR - Incomplete Tariff -"));  // no tariff at all
  EXPECT_DOUBLE_EQ(T(r, 2).TotalCost, 0);
}

TEST_F(Builder, DiscardForgetsUsageFlagsAndTheSessionForLaterReads) {
  Service flexi = TariffService(QStringLiteral("555"), {});  // no tariffs: incomplete
  flexi.ServiceOption = 2;
  flexi.UpToHours = 1;
  flexi.PenaltyPeriod = QStringLiteral("Month");
  flexi.FlexRate = 1.0;
  flexi.FlexRate2 = 10.0;
  AddService(config, flexi);
  config.NoDisconDuration = 3600;
  const RunState r = Run({
      Dial(d13, MakeTime(10, 0, 0), "555"), Connect(d13, MakeTime(10, 0, 0)),
      // No disconnect: the substitute hour is priced into period 0, the empty
      // tariff list flags the run; then the session ends before the range.
      Dial(d14, MakeTime(9, 0, 0), "555"), Hangup(d14, MakeTime(9, 0, 5)),
      Reads(d14, MakeTime(9, 0, 6), "100"),
      Dial(d16, MakeTime(10, 0, 0), "777"), Connect(d16, MakeTime(10, 0, 0)),
      Hangup(d16, MakeTime(10, 10, 0)), Dial(d16, MakeTime(11, 0, 0), "555"),
      Connect(d16, MakeTime(11, 0, 0)), Hangup(d16, MakeTime(12, 0, 0))});
  EXPECT_FALSE(r.ErrorsFound);
  ASSERT_EQ(r.Tables.SessionCount, 2);
  EXPECT_EQ(T(r, 1).Number, QStringLiteral("555"));
  EXPECT_EQ(T(r, 1).TotalBytesRead, 0);
  EXPECT_EQ(T(r, 2).Number, QStringLiteral("777"));
  // The whole allowance is still there for the session in the range.
  EXPECT_DOUBLE_EQ(T(r, 1).TotalCost, 1.0);
  EXPECT_EQ(r.Usage.Get(0, 0).Seconds, 3600);
  EXPECT_TRUE(r.IncompleteTariffs);  // raised again by the session in the range
  const RunState before = Run({Dial(d13, MakeTime(10, 0, 0), "555"), Connect(d13, MakeTime(10, 0, 0)),
                               Dial(d14, MakeTime(9, 0, 0), "555"), Hangup(d14, MakeTime(9, 0, 5)),
                               Chatter(d16, MakeTime(10, 0, 0))});
  EXPECT_FALSE(before.IncompleteTariffs);
  EXPECT_TRUE(before.Usage.Empty());
  EXPECT_EQ(before.Tables.SessionCount, 0);
}

TEST_F(Builder, RunStopsAfterTheRangeAndAtAnUndatedLine) {
  const RunState after = Run({Chatter(d16, MakeTime(10, 0, 0)), Chatter(d21, MakeTime(10, 0, 0)), Chatter(d21, MakeTime(10, 0, 1))});
  EXPECT_FALSE(after.KeepGoing);
  EXPECT_EQ(after.LinesRead, 2);
  EXPECT_FALSE(after.LogCorrupt);
  // A session still connected carries on past the end of the range.
  const RunState open = Run({Dial(kEnd, MakeTime(23, 0, 0), "1"), Connect(kEnd, MakeTime(23, 50, 0)),
                             Chatter(d21, MakeTime(0, 5, 0)), Hangup(d21, MakeTime(0, 10, 0)),
                             Chatter(d21, MakeTime(0, 11, 0)), Chatter(d21, MakeTime(0, 12, 0))});
  EXPECT_EQ(open.LinesRead, 5);
  EXPECT_EQ(open.Tables.ServiceTotals[1].TotalSeconds, 600);
  const RunState corrupt = Run({Chatter(d16, MakeTime(10, 0, 0)), QStringLiteral("   "), QString(),
                                QStringLiteral("garbage line"), Chatter(d16, MakeTime(10, 0, 1))});
  EXPECT_TRUE(corrupt.LogCorrupt);
  EXPECT_FALSE(corrupt.KeepGoing);
  EXPECT_EQ(corrupt.LinesRead, 1);
}

TEST_F(Builder, TooManyServicesStopsAfterTheLineAndGivesThePendingCallBack) {
  config.MaxServices = 3;
  const RunState r = Run({Dial(d16, MakeTime(10, 0, 0), "1"), Connect(d16, MakeTime(10, 0, 1)),
                          Hangup(d16, MakeTime(10, 1, 0)), Dial(d16, MakeTime(11, 0, 0), "2"),
                          Connect(d16, MakeTime(11, 0, 1)), Hangup(d16, MakeTime(11, 1, 0)),
                          Dial(d16, MakeTime(12, 0, 0), "3"), Connect(d16, MakeTime(12, 0, 1)),
                          Hangup(d16, MakeTime(12, 1, 0))});
  EXPECT_TRUE(r.TooManyServices);
  EXPECT_EQ(r.LinesRead, 7);
  EXPECT_EQ(r.Tables.ServiceTotalsCount, 3);
  EXPECT_EQ(r.Tables.SessionCount, 2);
  ASSERT_EQ(r.Messages.size(), 1);
}

TEST_F(Builder, TooManyConnectionsStopsCleanly) {
  config.MaxConnections = 2;
  const RunState r = Run({Connect(d16, MakeTime(10, 0, 1)), Hangup(d16, MakeTime(10, 1, 0)),
                          Dial(d16, MakeTime(11, 0, 0), "2"), Connect(d16, MakeTime(11, 0, 1)),
                          Hangup(d16, MakeTime(11, 1, 0)), Connect(d16, MakeTime(12, 0, 1)),
                          Hangup(d16, MakeTime(12, 1, 0))});
  EXPECT_TRUE(r.TooManyConnections);
  EXPECT_FALSE(r.KeepGoing);
  EXPECT_EQ(r.LinesRead, 6);
  EXPECT_EQ(r.Tables.SessionCount, 2);
  EXPECT_FALSE(r.InSession);
  EXPECT_EQ(r.Tables.ServiceTotals[0].TotalSessions, 1);
  ASSERT_EQ(r.Messages.size(), 1);
  EXPECT_TRUE(r.Messages[0].text.startsWith(QStringLiteral("Cannot Continue.... Exceeded Maximum Number of Connections.")));
}

TEST_F(Builder, TimeThatIsNotATimeOfDayGoesToTheReporter) {
  const RunState r = Run({Dial(d16, MakeTime(10, 0, 0), "1"), Connect(d16, MakeTime(10, 0, 30)),
                          QStringLiteral("01-16-1998 1x:00:00.00 - Hanging up the modem")});
  ASSERT_EQ(reporter.errors.size(), 1);
  EXPECT_EQ(reporter.errors[0], QStringLiteral("Type mismatch"));
  // Continued: the disconnect keeps the time of the line before.
  EXPECT_EQ(S(r, 1).DisconnectTime, MakeTime(10, 0, 30));
  EXPECT_EQ(T(r, 1).TotalSeconds, 0);
}

// The progress display moves every tenth of the log's entries, counted exactly.
TEST_F(Builder, ProgressStepIsATenthOfTheExactEntryCount) {
  const struct {
    qint64 entries;
    qint32 step;
  } cases[] = {{0, 0}, {9, 0}, {10, 1}, {16777217, 1677721}, {21000001, 2100000}, {200000009, 20000000},
               {qint64(1) << 40, std::numeric_limits<qint32>::max()}};
  for (const auto& c : cases) {
    RunState state;
    const RunInputs in = Inputs(c.entries);
    NullProgress progress;
    SessionBuilder builder(in, state, progress, reporter);
    builder.StartRun();
    EXPECT_EQ(state.ProgressStep, c.step) << c.entries;
  }
}

}  // namespace
}  // namespace mirolat
