// Service charges for connected time and downloaded data, and the usage
// counters that allowances and thresholds share within one pricing pass.
#include <gtest/gtest.h>

#include "core/costs/service_charges.h"
#include "pricing_fixtures.h"

namespace mirolat {
namespace {

using testing::AddService;
using testing::PricingFixture;

constexpr double kMeg = 1024.0 * 1024.0;

TEST(PeriodNumbers, AlignedOnTheReportsFirstDay) {
  const Date jan15 = MakeDate(1998, 1, 15);
  const Date jan31 = MakeDate(1998, 1, 31);
  struct Case { Date date; const char* period; Date start; int expected; };
  const Case cases[] = {
      {jan15, "Day", jan15, 0}, {jan15 + 150, "Day", jan15, 150}, {jan15 + 6, "Week", jan15, 0},
      {jan15 + 7, "Week", jan15, 1}, {jan15 + 20, "Week", jan15, 2}, {MakeDate(1998, 2, 14), "Month", jan15, 0},
      {MakeDate(1998, 2, 15), "Month", jan15, 1},
      {MakeDate(1998, 3, 18), "Month", jan15, 2},  // every month-period is 31 days long
      {MakeDate(1998, 2, 27), "Month", jan31, 0},  // 31 January to 28 February: 28 days
      {MakeDate(1998, 2, 28), "Month", jan31, 1}, {jan15 + 40, "Session", jan15, 0},
      {jan15 + 40, "Fortnight", jan15, 0}};
  for (const Case& c : cases) {
    EXPECT_EQ(PeriodNumber(c.date, QString::fromLatin1(c.period), c.start), c.expected) << c.period << " " << c.date;
  }
  EXPECT_DOUBLE_EQ(SecondsToHours(5400), 1.5);
}

class ServiceCharges : public ::testing::Test, public PricingFixture {
 protected:
  Service& Add(const QString& number) {
    Service s;
    s.ServiceName = QStringLiteral("Service ") + number;
    s.ServiceNumber = number;
    s.DialOption = 1;
    AddService(config, s);
    return config.Services[static_cast<size_t>(config.UsedServices - 1)];
  }
  // A flexi service: `hours` a period at `rate`, then `rate2`.
  void AddFlexi(const char* number, int hours, const char* period, double rate, double rate2) {
    Service& s = Add(QLatin1String(number));
    s.ServiceOption = 2;
    s.UpToHours = hours;
    s.PenaltyPeriod = QLatin1String(period);
    s.FlexRate = rate;
    s.FlexRate2 = rate2;
  }
  double Time(const QString& number, qint32 seconds, Date date) {
    return CalcServiceTimeCost(Context(), number, seconds, date);
  }
  double Data(const QString& number, double bytes, Date date) {
    return CalcServiceDataCost(Context(), number, bytes, date);
  }
};

TEST_F(ServiceCharges, FlexiAllowanceIsConsumedInSessionOrder) {
  AddFlexi("555", 10, "Month", 1.00, 3.00);
  EXPECT_DOUBLE_EQ(Time(QStringLiteral("555"), 6 * 3600, start), 6.00);
  EXPECT_DOUBLE_EQ(Time(QStringLiteral("555"), 6 * 3600, start + 3), 4 * 1.00 + 2 * 3.00);
  EXPECT_DOUBLE_EQ(Time(QStringLiteral("555"), 3600, start + 4), 3.00);
  // The next month-period starts with a fresh allowance.
  EXPECT_DOUBLE_EQ(Time(QStringLiteral("555"), 3600, MakeDate(1998, 2, 15)), 1.00);
}

// A session before the range counts in period 0; day periods far beyond the
// first hundred keep their own allowance.
TEST_F(ServiceCharges, DayAllowanceFromPeriodZeroToFarBeyondOneHundredDays) {
  AddFlexi("555", 1, "Day", 1.00, 5.00);
  EXPECT_DOUBLE_EQ(Time(QStringLiteral("555"), 3600, start - 1), 1.00);
  EXPECT_DOUBLE_EQ(Time(QStringLiteral("555"), 1800, start), 2.50);  // allowance already used in period 0
  EXPECT_EQ(usage.Get(0, 0).Seconds, 5400);
  EXPECT_DOUBLE_EQ(Time(QStringLiteral("555"), 3600, start + 150), 1.00);
  EXPECT_DOUBLE_EQ(Time(QStringLiteral("555"), 3600, start + 150), 5.00);
  EXPECT_EQ(usage.Get(150, 0).Seconds, 7200);
}

TEST_F(ServiceCharges, FlatRateOtherOptionsAndUnknownNumbers) {
  Service& flat = Add(QStringLiteral("555"));
  flat.ServiceOption = 1;
  flat.ServiceRate = 1.50;
  Service& none = Add(QStringLiteral("777"));
  none.ServiceOption = 0;
  none.ServiceRate = 1.50;
  config.CostPerHour = 2.40;
  config.CostPerMeg = 0.07;
  EXPECT_DOUBLE_EQ(Time(QStringLiteral("555"), 40 * 60, start), 1.00);
  EXPECT_DOUBLE_EQ(Time(QStringLiteral("777"), 40 * 60, start), 0);
  // A number of no service: the default hourly and per-megabyte costs, no allowances.
  EXPECT_DOUBLE_EQ(Time(QStringLiteral("999"), 2 * 3600, start) + Data(QStringLiteral("999"), 3 * kMeg, start),
                   2 * 2.40 + 3 * 0.07);
  EXPECT_TRUE(usage.Empty());
}

TEST_F(ServiceCharges, DataThresholdPerSessionAndPerDay) {
  Service& perSession = Add(QStringLiteral("555"));
  perSession.AfterMeg = 5;
  perSession.MegPeriod = QStringLiteral("Session");
  perSession.PerMeg = 0.10;
  Service& perDay = Add(QStringLiteral("666"));
  perDay.AfterMeg = 5;
  perDay.MegPeriod = QStringLiteral("Day");
  perDay.PerMeg = 0.10;
  EXPECT_DOUBLE_EQ(Data(QStringLiteral("555"), 6 * kMeg, start), 0.10);
  EXPECT_DOUBLE_EQ(Data(QStringLiteral("555"), 0, start), 0);  // zero bytes leave the counters alone
  EXPECT_EQ(usage.Get(0, 0).Bytes, static_cast<qint64>(6 * kMeg));
  EXPECT_DOUBLE_EQ(Data(QStringLiteral("555"), 4 * kMeg, start), 0);
  EXPECT_DOUBLE_EQ(Data(QStringLiteral("666"), 4 * kMeg, start), 0);
  EXPECT_DOUBLE_EQ(Data(QStringLiteral("666"), 4 * kMeg, start), 0.30);
  EXPECT_DOUBLE_EQ(Data(QStringLiteral("666"), 4 * kMeg, start + 1), 0);  // a new day
}

}  // namespace
}  // namespace mirolat
