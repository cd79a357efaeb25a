#include <gtest/gtest.h>

#include "core/settings/config_json.h"
#include "support/sample_configuration.h"

namespace mirolat {
namespace {

TEST(ConfigJson, AbsentFieldsTakeDefaultsAndWindowLayoutsComeFromTheBase) {
  const Configuration base = test::SampleConfiguration();
  Configuration out;
  QString error;
  ASSERT_TRUE(ConfigurationFromJson(R"({"General": {"MaxConnections": 300},
                                         "Services": [{"ServiceName": "X", "ServiceNumber": "1",
                                                       "DialOption": 1, "ServiceOption": 1}]})",
                                    base, out, error))
      << error.toStdString();
  Configuration expected;
  expected.MaxConnections = 300;
  expected.UsedServices = 1;
  expected.Services[0].ServiceName = QStringLiteral("X");
  expected.Services[0].ServiceNumber = QStringLiteral("1");
  expected.Services[0].DialOption = 1;
  expected.Services[0].ServiceOption = 1;
  expected.ViewLog = base.ViewLog;
  expected.ReportSaveSettings = base.ReportSaveSettings;
  expected.ReportListView = base.ReportListView;
  expected.ReportAutoArrange = base.ReportAutoArrange;
  expected.SummaryReport = base.SummaryReport;
  expected.DetailReport = base.DetailReport;
  EXPECT_EQ(out, expected);
}

TEST(ConfigJson, BadInputIsRefusedNamingTheFieldAndChangesNothing) {
  // `n` entries of a list, `entry` each.
  const auto list = [](const std::string& entry, int n) {
    std::string t = entry;
    for (int i = 1; i < n; ++i) t += ',' + entry;
    return t;
  };
  const std::string tooManyTariffs = R"({"Services": [{"Tariffs": [)" + list("{}", 11) + "]}]}";
  const std::string tooManyHolidays = R"({"Holidays": [)" + list(R"("2000-01-01")", 101) + "]}";
  const auto text = [](int length, char c = 'x') { return '"' + std::string(std::size_t(length), c) + '"'; };
  struct Case {
    std::string json;
    const char* mentioned;
  } cases[] = {
      {"{\"General\": ", "JSON"},
      {"[1, 2]", "object"},
      {R"({"General": {"MaxServices": "ten"}})", "General.MaxServices"},
      {R"({"General": {"MaxConnections": 2.5}})", "General.MaxConnections"},
      {R"({"General": {"MaxConnections": 40000}})", "General.MaxConnections"},
      {R"({"General": {"EditLog": "True"}})", "General.EditLog"},
      {R"({"General": {"Colour": 1}})", "General.Colour"},
      {R"({"Costs": {"DialCost": 1e9}})", "Costs.DialCost"},
      {R"({"Modem": {"ModemDial": 5}})", "Modem.ModemDial"},
      {R"({"Modem": []})", "Modem"},
      {R"({"Services": {}})", "Services"},
      {R"({"General": {"MaxServices": 1}, "Services": [{}, {}]})", "MaxServices"},
      {tooManyTariffs, "Services[0].Tariffs"},
      {R"({"Services": [{}, {"Tariffs": [{"AppliesTimeStart": "25:00"}]}]})", "Services[1].Tariffs[0].AppliesTimeStart"},
      {R"({"General": {"ModemLogFile": "../thesis.tex"}})", "General.ModemLogFile"},
      {tooManyHolidays, "Holidays"},
      {R"({"Holidays": ["1999-02-30"]})", "Holidays[0]"},
      {R"({"Holidays": [36161]})", "Holidays[0]"},
      {R"({"Modem": {"ModemReads": )" + text(256) + "}}", "Modem.ModemReads: has 256 characters; at most 255"},
      {R"({"Services": [{}, {"ServiceName": )" + text(256) + "}]}", "Services[1].ServiceName: has 256 characters"},
      {R"({"Services": [{"ServiceNumber": )" + text(65, '5') + "}]}", "Services[0].ServiceNumber: has 65 characters; at most 64"},
      {R"({"Services": [{"Tariffs": [{}, {"AppliesDays": )" + text(256) + "}]}]}", "Services[0].Tariffs[1].AppliesDays"},
  };
  const Configuration before = test::SampleConfiguration();
  for (const auto& c : cases) {
    Configuration out = before;
    QString error;
    EXPECT_FALSE(ConfigurationFromJson(QByteArray::fromStdString(c.json), Configuration{}, out, error)) << c.json;
    EXPECT_TRUE(error.contains(QLatin1String(c.mentioned))) << c.json << " -> " << error.toStdString();
    EXPECT_EQ(out, before) << c.json;
  }
}

// What the Options dialog and the service and tariff editors refuse is
// refused, every such value named: these once went into the store.
TEST(ConfigJson, ValuesTheDialogsRefuseAreRefusedEachNamed) {
  const struct {
    const char* json;
    QStringList named;
  } cases[] = {
      {R"({"General": {"MaxConnections": -1}})", {"General.MaxConnections: -1 is not a whole number from 1 to 32767"}},
      {R"({"General": {"MaxConnectDays": -32768, "NoDisconDuration": 2147483647, "MaxLogSize": 0}})",
       {"General.MaxConnectDays: -32768 is", "General.MaxLogSize: 0 is",
        "General.NoDisconDuration: 2147483647 is not a duration"}},
      {R"({"General": {"NoDisconDuration": -60, "NoDisconData": -1}, "Costs": {"CostPerHour": -0.5}})",
       {"General.NoDisconDuration: -60", "General.NoDisconData: -1", "Costs.CostPerHour: -0.5"}},
      {R"({"General": {"NoDisconDuration": 360000}})", {"General.NoDisconDuration: 360000"}},
      {R"({"Services": [{"ServiceName": "A", "ServiceNumber": "1", "DialOption": 3, "ServiceOption": 1}]})",
       {"Services[0].DialOption: 3 is neither 1"}},
      {R"({"Services": [{"ServiceName": "A", "DialOption": 1, "ServiceOption": 1}]})",
       {"Services[0]: Service Details: type the number"}},
      {R"({"Services": [{"ServiceName": "A", "ServiceNumber": "1", "DialOption": 1, "ServiceOption": 1,
                         "ServiceRate": -2}]})",
       {"Services[0]: Service Cost: the hourly rate"}},
      {R"({"Services": [{"ServiceName": "A", "ServiceNumber": "1", "DialOption": 2, "ServiceOption": 1,
                         "Tariffs": [{"Description": "Night", "AppliesDays": "Everyday", "AppliesTimeStart": "18:00",
                                      "AppliesTimeEnd": "07:59", "DialRate": 0.1}]}]})",
       {"Services[0].Tariffs[0]: End time: 07:59 is before the start time 18:00"}},
      {R"({"Services": [{"ServiceName": "A", "ServiceNumber": "1", "DialOption": 1, "ServiceOption": 1,
                         "Tariffs": [{"Description": "T", "AppliesDays": "Everyday", "AppliesTimeStart": "00:00",
                                      "AppliesTimeEnd": "23:59", "PerMinuteRate": 0.1, "After": 60001}]}]})",
       {"Services[0].Tariffs[0]: Threshold minutes"}},
  };
  for (const auto& c : cases) {
    Configuration out = test::SampleConfiguration();
    QString error;
    EXPECT_FALSE(ConfigurationFromJson(c.json, Configuration{}, out, error)) << c.json;
    const QStringList lines = error.split(QLatin1Char('\n'));
    EXPECT_EQ(lines.size(), c.named.size()) << error.toStdString();
    for (int i = 0; i < std::min(lines.size(), c.named.size()); ++i) {
      EXPECT_TRUE(lines[i].startsWith(c.named[i])) << lines[i].toStdString();
    }
    EXPECT_EQ(out, test::SampleConfiguration());
  }
  // A free tariff passes: a new service's first tariff is made so from a
  // default cost of 0; so does the largest threshold, 999 minutes 60 seconds.
  Configuration out;
  QString error;
  EXPECT_TRUE(ConfigurationFromJson(R"({"Services": [{"ServiceName": "A", "ServiceNumber": "1", "DialOption": 2,
      "ServiceOption": 1, "Tariffs": [{"Description": "Default Tariff", "AppliesDays": "Everyday",
      "AppliesTimeStart": "00:00", "AppliesTimeEnd": "23:59"}, {"Description": "T", "AppliesDays": "Everyday",
      "AppliesTimeStart": "00:00", "AppliesTimeEnd": "23:59", "PerMinuteRate": 0.1, "After": 60000}]}]})",
                                    Configuration{}, out, error))
      << error.toStdString();
}

}  // namespace
}  // namespace mirolat
