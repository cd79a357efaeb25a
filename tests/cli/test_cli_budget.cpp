// `budget` on the sample log: its exit status is the worst budget's state,
// apart from the usage and failure statuses.
#include <QJsonArray>

#include "cli_test_support.h"

namespace mirolat {
namespace {

class CliBudgetTest : public testing::CliTest {
 protected:
  // The sample configuration with this overall budget ("" for none).
  void ImportWithBudget(const char* budget) {
    QByteArray config = Read(QStringLiteral(MIROLAT_SAMPLES_DIR "/config.json"));
    if (*budget != 0) config.replace("\"Holidays\": [", QByteArray("\"Budget\": ") + budget + ", \"Holidays\": [");
    ASSERT_EQ(ImportJson(config), 0) << err_.toStdString();
  }
  QStringList Budget(const char* more = "") {
    return Words("budget --at 1998-02-10 --locale en_US --log") << QStringLiteral(MIROLAT_SAMPLES_DIR "/ModemLog.txt")
                                                                << Words(more);
  }
};

TEST_F(CliBudgetTest, ExitStatusIsTheWorstState) {
  // The sample's numbers cost $24.42 from 1 to 10 February: $68.37 over the month.
  const struct {
    const char* budget;
    int status;
    const char* says;
  } cases[] = {
      {"", 0, "No budget has a limit"},
      {R"({"BudgetMoney": 100})", 0, "$24.42 of $100.00 (24 %), projected $68.37 by 28 Feb (linear, 18 days left): OK"},
      {R"({"BudgetMoney": 100, "WarnPercent1": 20, "WarnPercent2": 90})", 1, "Warning: 24 % used"},
      {R"({"BudgetMoney": 30})", 2, "Projected over budget"},
      {R"({"BudgetMoney": 20})", 2, ": Over budget"},
      {R"({"BudgetMoney": 100, "CycleOption": 1, "CycleDays": 5, "CycleFromDate": "1998-02-10"})", 0,
       "cycle 2/10/98 - 2/14/98, day 1 of 5"},
  };
  for (const auto& c : cases) {
    ImportWithBudget(c.budget);
    EXPECT_EQ(Run(Budget()), c.status) << c.budget << err_.toStdString();
    EXPECT_TRUE(out_.contains(QLatin1String(c.says))) << c.budget << "\n" << out_.toStdString();
  }
}

TEST_F(CliBudgetTest, JsonCarriesTheStatesAndFiguresForScripts) {
  ImportWithBudget(R"({"BudgetMoney": 30, "BudgetHours": 100})");
  ASSERT_EQ(Run(Budget("--json")), 2);
  const QJsonObject root = QJsonDocument::fromJson(out_.toUtf8()).object();
  EXPECT_EQ(root[QLatin1String("State")].toString(), QStringLiteral("over"));
  const QJsonObject overall = root[QLatin1String("Budgets")].toArray().at(0).toObject();
  EXPECT_EQ(overall[QLatin1String("CycleFirst")].toString(), QStringLiteral("1998-02-01"));
  const QJsonArray limits = overall[QLatin1String("Limits")].toArray();
  ASSERT_EQ(limits.size(), 2);
  EXPECT_TRUE(limits[0].toObject()[QLatin1String("OverProjected")].toBool());
  EXPECT_NEAR(limits[0].toObject()[QLatin1String("Used")].toDouble(), 24.4165, 1e-3);
  EXPECT_EQ(limits[1].toObject()[QLatin1String("State")].toString(), QStringLiteral("ok"));
}

TEST_F(CliBudgetTest, UsageAndFailureStatusesStayApartFromTheStates) {
  ImportWithBudget(R"({"BudgetMoney": 20})");
  const struct {
    QStringList words;
    int status;
  } cases[] = {
      {Words("budget --at 1998-13-01"), 64},
      {Words("budget --at"), 64},
      {Words("budget --week"), 64},
      {Words("budget --at 1998-02-10 --log /nonexistent/ModemLog.txt"), 3},
      {Words("budget --at 1998-02-10 --locale xx_NOPE"), 3},
  };
  for (const auto& c : cases) EXPECT_EQ(Run(c.words), c.status) << c.words.join(' ').toStdString();
}

}  // namespace
}  // namespace mirolat
