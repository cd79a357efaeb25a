#include <gtest/gtest.h>

#include "core/settings/record_image.h"
#include "support/sample_configuration.h"

namespace mirolat {
namespace {

// The sample with a smaller service table, so that a count can go beyond it.
Configuration WithServices() {
  Configuration c = test::SampleConfiguration();
  c.MaxServices = 3;
  c.Services.resize(4);
  return c;
}

RecordImageFacts Facts() {
  RecordImageFacts f;
  f.Flags.EditLog = QStringLiteral("False");
  f.Flags.CalcCosts = 1;
  f.AllKeysPresent = true;
  return f;
}

TEST(RecordImageTest, ARecordComesBackWithItsFactsAndLeavesTheRestAlone) {
  const Configuration c = WithServices();
  const QByteArray image = EncodeRecordImage(c, Facts());
  Configuration back;
  back.Holidays.fill(9);
  back.DetailReport.Columns[6] = 55;
  RecordImageFacts facts;
  ASSERT_TRUE(DecodeRecordImage(image, back, facts));
  Configuration expected = c;
  for (int n = 2; n < kMaxHolidays; ++n) expected.Holidays[static_cast<size_t>(n)] = 9;
  expected.DetailReport.Columns[6] = 55;
  EXPECT_EQ(back, expected);
  EXPECT_EQ(facts.Flags.EditLog, SettingsValue(QStringLiteral("False")));
  EXPECT_EQ(facts.Flags.CalcCosts, SettingsValue(1));
  EXPECT_TRUE(IsEmptyValue(facts.Flags.ShowErrors));
  EXPECT_TRUE(facts.AllKeysPresent);
}

// Anything short of a whole image of this format is refused and changes nothing.
TEST(RecordImageTest, AnythingButAWholeImageIsRefusedAndChangesNothing) {
  const QByteArray image = EncodeRecordImage(WithServices(), Facts());
  std::vector<std::pair<std::string, QByteArray>> bad;
  for (qsizetype n = 0; n < image.size(); ++n) bad.emplace_back("cut at " + std::to_string(n), image.left(n));
  for (qsizetype n = 0; n < image.size(); n += 7) {
    QByteArray flipped = image;
    flipped[n] = static_cast<char>(flipped[n] ^ 0x10);
    bad.emplace_back("byte " + std::to_string(n) + " changed", flipped);
  }
  bad.emplace_back("a byte too many", image + QByteArray(1, '\0'));
  for (const auto& [label, bytes] : bad) {
    Configuration c;
    c.ModemLogFile = QStringLiteral("Untouched.txt");
    RecordImageFacts facts;
    facts.AllKeysPresent = true;
    EXPECT_FALSE(DecodeRecordImage(bytes, c, facts)) << label;
    EXPECT_EQ(c.ModemLogFile, QLatin1String("Untouched.txt")) << label;
    EXPECT_EQ(c.Services.size(), 11u) << label;
    EXPECT_TRUE(facts.AllKeysPresent) << label;
  }
}

// An image whose counts a record cannot hold is refused even when whole.
TEST(RecordImageTest, CountsBeyondTheRecordsLimitsAreRefused) {
  struct Case {
    const char* label;
    void (*spoil)(Configuration&);
  } cases[] = {
      {"more services used than allowed", [](Configuration& c) { c.UsedServices = 4; }},
      {"negative services used", [](Configuration& c) { c.UsedServices = -1; }},
      {"MaxServices beyond 32766", [](Configuration& c) { c.MaxServices = 32767; c.UsedServices = 0; }},
      {"negative tariffs used", [](Configuration& c) { c.Services[0].UsedTariffs = -2; }},
      {"more tariffs used than a service has", [](Configuration& c) { c.Services[0].UsedTariffs = 11; }},
      {"more holidays used than allowed", [](Configuration& c) { c.UsedHolidays = 101; }},
      {"negative holidays used", [](Configuration& c) { c.UsedHolidays = -1; }},
  };
  for (const auto& c : cases) {
    Configuration spoiled = WithServices();
    c.spoil(spoiled);
    Configuration back;
    RecordImageFacts facts;
    EXPECT_FALSE(DecodeRecordImage(EncodeRecordImage(spoiled, Facts()), back, facts)) << c.label;
    EXPECT_EQ(back, Configuration{}) << c.label;
  }
}

}  // namespace
}  // namespace mirolat
