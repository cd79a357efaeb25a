#include <gtest/gtest.h>

#include "core/planning/log_figures.h"
#include "core/planning/plan_comparison.h"
#include "core/settings/config_json.h"
#include "file_test_support.h"
#include "pricing_fixtures.h"

namespace mirolat {
namespace {

using testing::EnglishLocale;
using testing::FixedService;

Configuration SampleConfig() {
  Configuration config;
  QString error;
  const QByteArray json = test::ReadAll(QStringLiteral(MIROLAT_SAMPLES_DIR "/config.json"));
  EXPECT_TRUE(ConfigurationFromJson(json, Configuration{}, config, error)) << error.toStdString();
  return config;
}

ReportFigures SampleFigures(const Configuration& config) {
  const auto figures = FiguresOfLog(config, EnglishLocale(), QStringLiteral(MIROLAT_SAMPLES_DIR "/ModemLog.txt"),
                                    MakeDate(1998, 1, 1), MakeDate(1998, 2, 14));
  EXPECT_TRUE(figures.has_value());
  return figures.value_or(ReportFigures{});
}

// Each service's own sessions priced again under that very service cost
// exactly what the figures say they cost: the comparison uses the same
// pricing as the reports, and any drift between them shows here.
TEST(PlanComparison, OwnServiceRepricesToTheActualFigures) {
  const Configuration config = ConfigurationForComparison(SampleConfig());
  const ReportFigures figures = SampleFigures(config);
  for (const PlanToPrice& plan : ConfiguredPlans(config)) {
    SCOPED_TRACE(plan.Plan.ServiceName.toStdString());
    double dial = 0, time = 0, data = 0, total = 0;
    int sessions = 0;
    const auto own = [&](const SessionFigures& s) { return s.DialledNumber == plan.Plan.ServiceNumber; };
    for (const SessionFigures& s : figures.Sessions) {
      if (!own(s) || s.Answered) continue;
      dial += s.DialCost, time += s.TimeCost, data += s.DataCost, total += s.Cost, ++sessions;
    }
    const PlanPrice price = PricePlan(config, EnglishLocale(), figures, plan, own);
    ASSERT_GT(sessions, 0);
    EXPECT_EQ(price.Sessions, sessions);
    EXPECT_EQ(price.DialCost, dial);
    EXPECT_EQ(price.TimeCost, time);
    EXPECT_EQ(price.DataCost, data);
    EXPECT_EQ(price.Total, total);
    EXPECT_EQ(price.Actual, total);
  }
}

TEST(PlanComparison, RanksPlansOverTheCountedSessionsOnly) {
  Configuration config;
  testing::AddService(config, FixedService(QStringLiteral("111"), 0.5));
  testing::AddService(config, FixedService(QStringLiteral("222"), 0.25));
  Service flat = FixedService(QStringLiteral("333"), 0);
  flat.ServiceOption = 1;
  flat.ServiceRate = 3;  // per hour
  Service empty = testing::TariffService(QStringLiteral("444"), {});
  ReportFigures figures;
  figures.ReportStartDate = MakeDate(1998, 1, 1);
  figures.ReportEndDate = MakeDate(1998, 1, 31);
  auto session = [&](const char* number, bool answered, double cost) {
    SessionFigures s;
    s.DialledNumber = QLatin1String(number);
    s.Answered = answered;
    s.ConnectDate = s.DisconnectDate = MakeDate(1998, 1, 10);
    s.ConnectTime = 3600;
    s.DisconnectTime = 7200;
    s.Seconds = 3600;
    s.Cost = cost;
    figures.Sessions.push_back(s);
  };
  session("111", false, 0.5);
  session("222", false, 0.25);
  session("222", false, 0.25);
  session("Answered Call", true, 0);
  session("999", false, 7);

  const PlanComparison c =
      ComparePlans(config, EnglishLocale(), figures,
                   {{config.Services[0], 0}, {config.Services[1], 1}, {flat, -1}, {empty, -1}});
  EXPECT_EQ(c.SessionsCounted, 3);
  EXPECT_EQ(c.AnsweredLeftOut, 1);
  EXPECT_EQ(c.UnknownLeftOut, 1);
  EXPECT_DOUBLE_EQ(c.Actual, 1.0);
  struct Row {
    const char* name;
    double total;
    bool incomplete;
  };
  const Row expected[] = {
      {"Tariffed 444", 0, true}, {"Fixed 222", 0.75, false}, {"Fixed 111", 1.5, false}, {"Fixed 333", 9, false}};
  ASSERT_EQ(c.Plans.size(), std::size(expected));
  for (std::size_t i = 0; i < std::size(expected); ++i) {
    SCOPED_TRACE(i);
    EXPECT_EQ(c.Plans[i].Name, QLatin1String(expected[i].name));
    EXPECT_DOUBLE_EQ(c.Plans[i].Total, expected[i].total);
    EXPECT_EQ(c.Plans[i].IncompleteTariffs, expected[i].incomplete);
    EXPECT_EQ(c.Plans[i].Sessions, 3);
    EXPECT_DOUBLE_EQ(c.Plans[i].Difference(), expected[i].total - 1.0);
  }
}

TEST(PlanComparison, ReportsProgressAndStopsWhenCancelled) {
  const Configuration config = ConfigurationForComparison(SampleConfig());
  const ReportFigures figures = SampleFigures(config);
  std::atomic<bool> cancel{false};
  int last = -1;
  const PlanComparison whole = ComparePlans(config, EnglishLocale(), figures, ConfiguredPlans(config),
                                            {[&](int p) {
                                              EXPECT_GT(p, last);
                                              last = p;
                                            },
                                             &cancel});
  EXPECT_EQ(last, 100);
  EXPECT_EQ(whole.Plans.size(), 3u);
  const PlanComparison stopped = ComparePlans(config, EnglishLocale(), figures, ConfiguredPlans(config),
                                              {[&](int p) { cancel = p >= 10; }, &cancel});
  EXPECT_TRUE(stopped.Cancelled);
  EXPECT_TRUE(stopped.Plans.empty());
}

TEST(PlanComparison, CandidatePlanFileHoldsExactlyOneService) {
  const QByteArray service =
      R"({"ServiceName": "Trial", "ServiceNumber": "5550101", "DialOption": 1, "DialFixedTariff": 0.1,
          "ServiceOption": 1, "ServiceRate": 1})";
  struct Case {
    QByteArray json;
    const char* error;  // nullptr: accepted
  };
  const Case cases[] = {
      {"{\"Services\": [" + service + "]}", nullptr},
      {"{\"Services\": []}", "no service"},
      {"{\"Services\": [" + service + "," + service + "]}", "2 services"},
      {"{\"Services\": [", ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.json.toStdString());
    PlanToPrice plan;
    QString error;
    EXPECT_EQ(CandidatePlanFromJson(c.json, plan, error), c.error == nullptr);
    if (c.error) {
      EXPECT_TRUE(error.contains(QLatin1String(c.error))) << error.toStdString();
      EXPECT_FALSE(error.isEmpty());
    } else {
      EXPECT_EQ(plan.Plan.ServiceName, QStringLiteral("Trial"));
      EXPECT_EQ(plan.ConfiguredService, -1);
    }
  }
}

}  // namespace
}  // namespace mirolat
