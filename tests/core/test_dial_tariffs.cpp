// Dial-up cost of a session: per-call charges, the walk through
// time-segmented tariffs, the day tests, and seconds inside the report range.
#include <gtest/gtest.h>

#include "core/costs/dial_tariffs.h"
#include "pricing_fixtures.h"

namespace mirolat {
namespace {

using testing::AddService;
using testing::EnglishLocale;
using testing::FixedService;
using testing::PricingFixture;
using testing::TariffService;

const TimeOfDay k0000 = MakeTime(0, 0, 0);
const TimeOfDay k2359 = MakeTime(23, 59, 0);

class DialTariffs : public ::testing::Test, public PricingFixture {
 protected:
  DialCostResult Cost(const QString& number, Date sd, TimeOfDay st, Date ed, TimeOfDay et, QString* notes = nullptr) {
    return CalcDialCost(Context(), number, sd, st, ed, et, notes);
  }
  // Service 555 with one tariff for the whole of every day.
  void AddAllDay(double dialRate, double perMinute, qint32 after) {
    AddService(config, TariffService(QStringLiteral("555"), {Tariff{QStringLiteral("All"), QStringLiteral("Everyday"),
                                                                    k0000, k2359, dialRate, perMinute, after}}));
  }
  const Date day = MakeDate(1998, 1, 16);  // a Friday inside the range 15..20 January
};

TEST_F(DialTariffs, PerCallChargesIgnoreTheLengthOfTheCall) {
  config.DialCost = 0.25;
  AddService(config, FixedService(QStringLiteral("5551234"), 0.40));
  Service other = FixedService(QStringLiteral("5559999"), 0.40);
  other.DialOption = 3;
  AddService(config, other);
  EXPECT_EQ(Cost(QStringLiteral("5551234"), day, MakeTime(10, 0, 0), day, MakeTime(10, 0, 5)), (DialCostResult{0.40, false}));
  EXPECT_EQ(Cost(QStringLiteral("1234"), day, MakeTime(10, 0, 0), day, MakeTime(11, 0, 0)), (DialCostResult{0.25, false}));
  EXPECT_EQ(Cost(QStringLiteral("5559999"), day, MakeTime(10, 0, 0), day, MakeTime(11, 0, 0)), (DialCostResult{0, false}));
}

TEST_F(DialTariffs, OneEverydayTariffChargesMinimumThenPerMinuteAfterThreshold) {
  AddAllDay(0.10, 0.05, 60);
  struct Case { TimeOfDay start, end; double cost; };
  const Case cases[] = {
      {MakeTime(10, 0, 0), MakeTime(10, 3, 0), 0.20},   // 0.10 + (180 - 60) / 60 * 0.05
      {MakeTime(10, 0, 0), MakeTime(10, 0, 40), 0.10},  // inside the threshold
      {MakeTime(10, 0, 0), MakeTime(10, 1, 30), 0.10 + 30.0 / 60 * 0.05},  // to the second, no whole minutes
  };
  for (const Case& c : cases) {
    const DialCostResult r = Cost(QStringLiteral("555"), day, c.start, day, c.end);
    EXPECT_DOUBLE_EQ(r.cost, c.cost) << c.end;
    EXPECT_FALSE(r.incomplete);
  }
}

class TwoWindows : public DialTariffs {
 protected:
  void SetUp() override {
    AddService(config, TariffService(QStringLiteral("555"),
                                     {Tariff{QStringLiteral("Peak Period Tariff"), QStringLiteral("Everyday"),
                                             MakeTime(8, 0, 0), MakeTime(17, 59, 0), 0.30, 0.06, 30},
                                      Tariff{QStringLiteral("Economy Tariff"), QStringLiteral("Everyday"),
                                             MakeTime(18, 0, 0), k2359, 0.20, 0.03, 30}}));
  }
};

TEST_F(TwoWindows, CallCrossingWindowsPaysOneMinimumAndThresholdOnlyOnce) {
  QString notes = QStringLiteral(" x");
  const DialCostResult r = Cost(QStringLiteral("555"), day, MakeTime(17, 50, 0), day, MakeTime(18, 10, 0), &notes);
  // 599 s at Peak less its 30 free seconds, 600 s at Economy, Peak's minimum charge.
  EXPECT_DOUBLE_EQ(r.cost, 0.30 + (599.0 - 30) / 60 * 0.06 + 600.0 / 60 * 0.03);
  EXPECT_FALSE(r.incomplete);
  EXPECT_EQ(notes, QStringLiteral(" x - Peak Period Tariff - Economy Tariff"));
  // A session given by index gets each description once; without one nothing is annotated.
  table.Create(10, 5);
  table.Sessions[2].Notes = QStringLiteral(" - Economy Tariff");
  CalcDialCost(Context(), QStringLiteral("555"), day, MakeTime(17, 50, 0), day, MakeTime(18, 10, 0), 2);
  EXPECT_EQ(table.Sessions[2].Notes, QStringLiteral(" - Economy Tariff - Peak Period Tariff"));
  CalcDialCost(Context(), QStringLiteral("555"), day, MakeTime(17, 50, 0), day, MakeTime(18, 10, 0), 0);
  EXPECT_EQ(table.Sessions[0].Notes, QString());
}

TEST_F(TwoWindows, LeftoverThresholdIsNotCarriedOnAndTimeBeforeEveryWindowIsFree) {
  EXPECT_DOUBLE_EQ(Cost(QStringLiteral("555"), day, MakeTime(17, 59, 50), day, MakeTime(18, 5, 0)).cost,
                   0.30 + 300.0 / 60 * 0.03);
  EXPECT_EQ(Cost(QStringLiteral("555"), day, MakeTime(7, 0, 0), day, MakeTime(7, 30, 0)), (DialCostResult{0, false}));
}

TEST_F(DialTariffs, MinimumChargeComesFromFirstListedTariffStartedByTheCall) {
  const Tariff night{QStringLiteral("Night"), QStringLiteral("Everyday"), k0000, MakeTime(7, 59, 0), 0.11, 0, 0};
  const Tariff daytime{QStringLiteral("Day"), QStringLiteral("Everyday"), MakeTime(8, 0, 0), MakeTime(17, 59, 0), 0.55, 0, 0};
  AddService(config, TariffService(QStringLiteral("1"), {night, daytime}));
  AddService(config, TariffService(QStringLiteral("2"), {daytime, night}));
  EXPECT_EQ(Cost(QStringLiteral("1"), day, MakeTime(10, 0, 0), day, MakeTime(10, 5, 0)), (DialCostResult{0.11, false}));
  EXPECT_EQ(Cost(QStringLiteral("2"), day, MakeTime(10, 0, 0), day, MakeTime(10, 5, 0)), (DialCostResult{0.55, false}));
}

TEST_F(DialTariffs, CallAcrossMidnightChargesBothDaysWithOneMinimum) {
  AddAllDay(0.10, 0.05, 60);
  const DialCostResult r = Cost(QStringLiteral("555"), day, MakeTime(23, 50, 0), day + 1, MakeTime(0, 10, 0));
  EXPECT_DOUBLE_EQ(r.cost, 0.10 + (599.0 - 60) / 60 * 0.05 + 600.0 / 60 * 0.05);
  EXPECT_FALSE(r.incomplete);
}

TEST_F(DialTariffs, RangeLimitsTheWalk) {
  AddAllDay(0.10, 0.05, 60);
  // Began the day before the range: only from midnight, no minimum, no threshold.
  EXPECT_EQ(Cost(QStringLiteral("555"), start - 1, MakeTime(23, 0, 0), start, MakeTime(0, 30, 0)),
            (DialCostResult{1800.0 / 60 * 0.05, false}));
  // Runs past the end of the range: charged up to midnight, complete.
  const DialCostResult pastEnd = Cost(QStringLiteral("555"), end, MakeTime(23, 50, 0), end + 1, MakeTime(0, 10, 0));
  EXPECT_DOUBLE_EQ(pastEnd.cost, 0.10 + (599.0 - 60) / 60 * 0.05);
  EXPECT_FALSE(pastEnd.incomplete);
  // Ended before the range began (a session kept open at the end of the log):
  // the walk stops at the range's first day without charging it.
  EXPECT_EQ(Cost(QStringLiteral("555"), start - 2, MakeTime(23, 55, 0), start - 1, MakeTime(0, 10, 0)),
            (DialCostResult{0, false}));
}

TEST_F(DialTariffs, ClockSetBackNeverChargesNegativeTime) {
  AddAllDay(0.10, 0.05, 0);
  EXPECT_EQ(Cost(QStringLiteral("555"), day, MakeTime(10, 0, 0), day, MakeTime(9, 0, 0)), (DialCostResult{0.10, false}));
  EXPECT_EQ(Cost(QStringLiteral("555"), day + 1, MakeTime(10, 0, 0), day, MakeTime(9, 0, 0)), (DialCostResult{0.10, false}));
}

TEST(TariffDays, DayNamesRangesAndHolidays) {
  Configuration config;
  config.UsedHolidays = 2;
  config.Holidays[0] = MakeDate(1998, 1, 21);  // a Wednesday
  config.Holidays[1] = MakeDate(1998, 1, 25);  // a Sunday
  const LocaleValues& locale = EnglishLocale();
  const Date monday = MakeDate(1998, 1, 19);
  struct Case { const char* days; const char* week; };  // Monday..Sunday, 1 = applies
  const Case cases[] = {
      {"Everyday", "1111111"}, {"Monday", "1000000"},  {"Sunday", "0000001"},  {"Mon - Fri", "1111100"},
      {"Fri - Sun", "0000111"}, {"Sat - Sun", "0000011"}, {"Mon - Thu", "1111000"}, {"Fri - Sat", "0000110"},
      {"Holidays", "0010001"}, {"monday", "0000000"},  {"Foo - Sun", "0000000"}, {"Mon - Foo", "1111111"}};
  for (const Case& c : cases) {
    QString got;
    for (int i = 0; i < 7; ++i) got += TariffAppliesOn(monday + i, QString::fromLatin1(c.days), config, locale) ? u'1' : u'0';
    EXPECT_EQ(got, QString::fromLatin1(c.week)) << c.days;
  }
  EXPECT_EQ(DayNumber(u"Mon", locale), 1);
  EXPECT_EQ(DayNumber(u"Sun", locale), 7);
  EXPECT_EQ(DayNumber(u"Xyz", locale), 8);
  EXPECT_TRUE(IsHoliday(MakeDate(1998, 1, 25), config));
  config.UsedHolidays = 1;
  EXPECT_FALSE(IsHoliday(MakeDate(1998, 1, 25), config));
}

TEST(TariffTimeCost, ThresholdIsFreeAndNeverNegative) {
  Configuration config;
  AddService(config, TariffService(QStringLiteral("555"), {Tariff{QStringLiteral("A"), QStringLiteral("Everyday"), k0000,
                                                                  k2359, 0, 0.60, 45}}));
  EXPECT_DOUBLE_EQ(CalcTariffTimeCost(config, 0, 1, 105, true), 0.60);
  EXPECT_DOUBLE_EQ(CalcTariffTimeCost(config, 0, 1, 105, false), 1.05);
  EXPECT_DOUBLE_EQ(CalcTariffTimeCost(config, 0, 1, 30, true), 0);
  EXPECT_DOUBLE_EQ(CalcTariffTimeCost(config, 0, 1, -30, false), 0);
}

TEST(SecondsInRange, CountsWholeDaysAndTheEndsInsideTheRange) {
  const Date first = MakeDate(1998, 1, 15);
  const Date last = MakeDate(1998, 1, 20);
  struct Case { Date cd; TimeOfDay ct; Date dd; TimeOfDay dt; float seconds; const char* notes; };
  const Case cases[] = {
      {first + 1, MakeTime(10, 0, 0), first + 1, MakeTime(10, 30, 0), 1800, "before"},            // same day: untouched
      {first + 1, MakeTime(23, 0, 0), first + 2, MakeTime(1, 0, 0), 7200, ""},                     // both in range
      {last, MakeTime(23, 0, 0), last + 1, MakeTime(1, 0, 0), 3600, " Time prior to midnight"},    // past the end
      {first - 1, MakeTime(23, 0, 0), first, MakeTime(1, 0, 0), 3600, " Time from midnight"},      // before the start
      {first - 1, MakeTime(22, 0, 0), last + 2, MakeTime(2, 0, 0), 7 * 86400.0f, "before"},       // only whole days
      {first + 1, MakeTime(22, 0, 0), first + 3, MakeTime(2, 0, 0), 86400 + 7200 + 7200, ""},
      {first + 2, MakeTime(10, 0, 0), first + 1, MakeTime(11, 0, 0), 0, "before"},                 // clock set back
      {first + 1, MakeTime(10, 0, 0), first + 1, MakeTime(9, 0, 0), 0, "before"}};
  for (const Case& c : cases) {
    Session s;
    s.ConnectDate = c.cd;
    s.ConnectTime = c.ct;
    s.DisconnectDate = c.dd;
    s.DisconnectTime = c.dt;
    s.Notes = QStringLiteral("before");
    EXPECT_EQ(SessionSecondsInRange(s, first, last), c.seconds) << c.cd << " " << c.dd;
    EXPECT_EQ(s.Notes, QString::fromLatin1(c.notes)) << c.cd << " " << c.dd;
  }
}

}  // namespace
}  // namespace mirolat
