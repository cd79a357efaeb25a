// Taking the dialled number from a dial entry, opening its session and
// per-number entry, and mapping numbers to the user's services.
#include <gtest/gtest.h>

#include "core/analysis/service_identification.h"
#include "core/analysis/session_builder.h"
#include "pricing_fixtures.h"

namespace mirolat {
namespace {

class Identify : public ::testing::Test {
 protected:
  void SetUp() override { run.Tables.Create(config.MaxServices, config.MaxConnections); }
  IdentifyOutcome Dial(const QString& tail) {
    run.Answering = false;
    return IdentifyService(run, QStringLiteral("01-15-1998 10:00:00.00 - ") + tail, config);
  }
  Configuration config;
  RunState run;
};

TEST_F(Identify, NumberRunsFromAfterTheModeLetterToTheNextToLastCharacter) {
  struct Case { const char* tail; bool opens; const char* number; };
  const Case cases[] = {
      {"RECV: ATDT5551234<CR>", true, "5551234"}, {"RECV: ATDT5551234X", true, "5551234"},
      {"RECV: ATDP5551234<CR><LF>", true, "5551234"}, {"RECV: ATDT0,5551234<CR>", false, ""},
      {"RECV: ATDT555 1234<CR>", false, ""}, {"RECV: ATDT<CR>", true, ""},
      {"RECV: ATD", true, ""},   // nothing after the dial command
      {"RECV: ATDT", true, ""}};
  for (const Case& c : cases) {
    bool usable = false;
    const QString number = DialledNumber(QStringLiteral("01-15-1998 10:00:00.00 - ") + QString::fromLatin1(c.tail), config, &usable);
    EXPECT_EQ(usable, c.opens) << c.tail;
    if (c.opens) { EXPECT_EQ(number, QString::fromLatin1(c.number)) << c.tail; }
  }
}

TEST_F(Identify, OpensASessionAndItsPerNumberEntry) {
  ASSERT_EQ(Dial(QStringLiteral("RECV: ATDT5551234<CR>")), IdentifyOutcome::Opened);
  EXPECT_EQ(run.Tables.SessionCount, 1);
  EXPECT_EQ(run.Tables.Sessions[1].Number, QStringLiteral("5551234"));
  EXPECT_EQ(run.Tables.ServiceTotalsCount, 1);
  EXPECT_EQ(run.Tables.ServiceTotals[1].Number, QStringLiteral("5551234"));
  EXPECT_EQ(run.CurrentService, 1);
  EXPECT_EQ(run.LastService, 1);
  // An unusable number opens nothing and keeps LastService.
  run.InSession = true;
  EXPECT_EQ(Dial(QStringLiteral("RECV: ATDT0,5551234<CR>")), IdentifyOutcome::NoNumber);
  EXPECT_EQ(run.Tables.SessionCount, 1);
  EXPECT_EQ(run.CurrentService, 0);
  EXPECT_EQ(run.LastService, 1);
  EXPECT_FALSE(run.InSession);
  // An empty number is a number of its own.
  ASSERT_EQ(Dial(QStringLiteral("RECV: ATDT<CR>")), IdentifyOutcome::Opened);
  EXPECT_EQ(run.Tables.ServiceTotalsCount, 2);
  EXPECT_EQ(run.Tables.ServiceTotals[2].Number, QString());
  EXPECT_EQ(run.CurrentService, 2);
  // A session number given back is opened clean.
  run.Tables.Sessions[2] = Session{MakeDate(1998, 1, 14), 5, MakeDate(1998, 1, 14), 9, QStringLiteral("x"),
                                   QStringLiteral(" No Cost"), true, 3, 4};
  run.Tables.SessionCount = 1;
  ASSERT_EQ(Dial(QStringLiteral("RECV: ATDT2<CR>")), IdentifyOutcome::Opened);
  Session expected;
  expected.Number = QStringLiteral("2");
  EXPECT_EQ(run.Tables.Sessions[2], expected);
}

TEST_F(Identify, NoSessionNumberLeftStopsTheRunCleanly) {
  config.MaxConnections = 2;
  run.Tables.Create(config.MaxServices, config.MaxConnections);
  ASSERT_EQ(Dial(QStringLiteral("RECV: ATDT1<CR>")), IdentifyOutcome::Opened);
  ASSERT_EQ(Dial(QStringLiteral("RECV: ATDT2<CR>")), IdentifyOutcome::Opened);
  EXPECT_EQ(Dial(QStringLiteral("RECV: ATDT3<CR>")), IdentifyOutcome::TooManyConnections);
  EXPECT_TRUE(run.TooManyConnections);
  EXPECT_FALSE(run.KeepGoing);
  EXPECT_EQ(run.Tables.SessionCount, 2);
  EXPECT_EQ(run.Tables.ServiceTotalsCount, 2);
  EXPECT_EQ(run.CurrentService, 0);
  EXPECT_EQ(run.Messages.size(), 1);
}

// A table made for a run holds only the slots taken so far, yet takes numbers
// up to the same limit as a table made in full, and a slot once handed out
// stays where it is while later ones are made.
TEST_F(Identify, ARunsTableGrowsToTheSameLimitAsAFullOne) {
  config.MaxConnections = 40;
  for (const bool forRun : {false, true}) {
    SCOPED_TRACE(forRun ? "made for a run" : "made in full");
    run = RunState{};
    if (forRun) {
      run.Tables.CreateForRun(config.MaxServices, config.MaxConnections);
      EXPECT_EQ(run.Tables.Sessions.size(), 1u);
    } else { run.Tables.Create(config.MaxServices, config.MaxConnections); }
    EXPECT_EQ(run.Tables.SlotLimit(), 40);
    ASSERT_TRUE(TakeSessionNumber(run, config));
    const Session* first = &run.Tables.Sessions[1];
    run.Tables.Sessions[1].Notes = QStringLiteral(" kept");
    for (int i = 2; i <= 40; ++i) ASSERT_TRUE(TakeSessionNumber(run, config)) << i;
    EXPECT_EQ(&run.Tables.Sessions[1], first);
    EXPECT_EQ(run.Tables.Sessions[1].Notes, QStringLiteral(" kept"));
    EXPECT_FALSE(TakeSessionNumber(run, config));
    EXPECT_TRUE(run.TooManyConnections);
    EXPECT_EQ(run.Tables.SessionCount, 40);
    EXPECT_EQ(run.Tables.Sessions.size(), 41u);
  }
  // A limit below the configured one is the table's.
  config.MaxConnections = 100;
  run = RunState{};
  run.Tables.CreateForRun(config.MaxServices, 2);
  EXPECT_TRUE(TakeSessionNumber(run, config));
  EXPECT_TRUE(TakeSessionNumber(run, config));
  EXPECT_FALSE(TakeSessionNumber(run, config));
}

TEST(FindService, TrimsTheNumberNotTheStoredServiceNumber) {
  Configuration config;
  testing::AddService(config, testing::FixedService(QStringLiteral(" 5551234"), 1));
  testing::AddService(config, testing::FixedService(QStringLiteral("5551234"), 2));
  testing::AddService(config, testing::FixedService(QStringLiteral("5551234"), 3));
  config.Services[1].ServiceName = QStringLiteral("  My ISP  ");
  config.Services[4].ServiceNumber = QStringLiteral("777");  // beyond UsedServices
  EXPECT_EQ(FindServiceByNumber(config, u" 5551234 "), 1);
  EXPECT_EQ(FindServiceByNumber(config, u"5551234"), 1);
  EXPECT_EQ(FindServiceByNumber(config, u"555"), -1);
  EXPECT_EQ(FindServiceByNumber(config, u"777"), -1);
  EXPECT_EQ(ServiceDisplayName(config, QStringLiteral("5551234")), QStringLiteral("My ISP"));
  EXPECT_EQ(ServiceDisplayName(config, QStringLiteral("Answered Calls")), QStringLiteral("Answered Calls"));
}

}  // namespace
}  // namespace mirolat
