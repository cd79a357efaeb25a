// The rules of the options dialog, the service editor and the tariff editor:
// what each box accepts, the tariff order, new-service defaults, holidays.
#include <gtest/gtest.h>

#include "core/common/dates.h"
#include "core/common/locale_values.h"
#include "core/model/log_file_name.h"
#include "core/model/option_entries.h"
#include "core/model/service_rules.h"
#include "core/model/tariff_rules.h"

namespace mirolat {
namespace {

LocaleValues UnitedStates() { return LoadLocaleInfo(QLocale(QLocale::English, QLocale::UnitedStates)); }
LocaleValues Germany() { return LoadLocaleInfo(QLocale(QLocale::German, QLocale::Germany)); }

TEST(OptionEntries, WholeNumbersAreRoundedAndRangeChecked) {
  const LocaleValues us = UnitedStates();
  const LocaleValues de = Germany();
  struct Case {
    const char* text;
    qint64 min, max;
    std::optional<qint64> value;
    const LocaleValues* locale;
  } cases[] = {
      {"200", 1, kMax16, 200, &us}, {"1,234", 1, kMax16, 1234, &us}, {"1.234", 1, kMax16, 1234, &de},
      {"2.5", 1, kMax16, 2, &us}, {"3.5", 1, kMax16, 4, &us}, {" 7 ", 1, kMax16, 7, &us},
      {"0", 1, kMax16, std::nullopt, &us}, {"-3", 1, kMax16, std::nullopt, &us}, {"32767", 1, kMax16, 32767, &us},
      {"32768", 1, kMax16, std::nullopt, &us}, {"2147483647", 1, kMax32, 2147483647, &us},
      {"2147483648", 1, kMax32, std::nullopt, &us}, {"", 1, kMax16, std::nullopt, &us},
      {"abc", 1, kMax16, std::nullopt, &us}, {"12x", 1, kMax16, std::nullopt, &us}, {"1e3", 1, kMax16, 1000, &us},
      {"1e30", 1, kMax32, std::nullopt, &us}};
  for (const Case& c : cases) {
    EXPECT_EQ(ReadWholeNumber(QString::fromLatin1(c.text), c.min, c.max, *c.locale), c.value) << c.text;
  }
}

TEST(OptionEntries, AmountsAreNumbersNotNegativeAndStorable) {
  const LocaleValues us = UnitedStates();
  const LocaleValues de = Germany();
  struct Case { const char* text; const LocaleValues* locale; std::optional<double> value; } cases[] = {
      {"0.2", &us, 0.2}, {"1,234.5", &us, 1234.5}, {"1.234,5", &de, 1234.5}, {"1,5", &de, 1.5}, {"0", &us, 0.0},
      {"-0.01", &us, std::nullopt}, {"-0", &us, 0.0}, {"abc", &us, std::nullopt}, {"", &us, std::nullopt},
      {"214748.3647", &us, 214748.3647}, {"214748.3648", &us, std::nullopt}};
  for (const Case& c : cases) EXPECT_EQ(ReadAmount(QString::fromLatin1(c.text), *c.locale), c.value) << c.text;
  EXPECT_EQ(FormatAmount(1234.5, 4, us), QStringLiteral("1,234.50"));
  EXPECT_EQ(FormatAmount(0.12345, 4, us), QStringLiteral("0.1235"));
  EXPECT_EQ(FormatAmount(1.5, 4, de), QStringLiteral("1,50"));
}

TEST(OptionEntries, DurationTextIsHoursMinutesSecondsWithinTheClock) {
  struct Case {
    const char* text;
    std::optional<int> seconds;
    const char* problem;  // how the refusal begins
  } cases[] = {
      {"01:30:00", 5400, ""}, {"99:59:59", 359999, ""}, {"00:00:00", 0, ""},
      {"00:60:00", std::nullopt, "The minutes (60) must be 00 to 59."},
      {"00:00:60", std::nullopt, "The seconds (60) must be 00 to 59."},
      {"25:99:99", std::nullopt, "The minutes (99) must be 00 to 59."},
      {"1:30:00", std::nullopt, "Type the duration as hh:mm:ss"},
      {"01:3_:__", std::nullopt, "Type the duration as hh:mm:ss"},
      {"::::::::", std::nullopt, "Type the duration as hh:mm:ss"}, {"", std::nullopt, "Type the duration as hh:mm:ss"},
  };
  for (const Case& c : cases) {
    const QString text = QString::fromLatin1(c.text);
    EXPECT_EQ(ReadDurationText(text), c.seconds) << c.text;
    const QString problem = DurationTextProblem(text);
    EXPECT_TRUE(*c.problem == '\0' ? problem.isEmpty() : problem.startsWith(QLatin1String(c.problem)))
        << c.text << ": " << problem.toStdString();
  }
}

TEST(OptionEntries, KilobytesAreNotNegative) {
  const LocaleValues us = UnitedStates();
  EXPECT_EQ(ReadKilobytes(QStringLiteral("1,024"), us), 1024.0);
  EXPECT_EQ(ReadKilobytes(QStringLiteral("-1"), us), std::nullopt);
  EXPECT_EQ(ReadKilobytes(QStringLiteral("x"), us), std::nullopt);
  EXPECT_EQ(ReadKilobytes(QStringLiteral("3000000000"), us), std::nullopt);
}

TEST(OptionEntries, MaxServicesGrowsAndShrinksTheTableKeepingServicesInUse) {
  Configuration c;
  c.UsedServices = 3;
  for (int i = 0; i < 3; ++i) c.Services[static_cast<size_t>(i)].ServiceName = QString::number(i);
  EXPECT_EQ(MinMaxServices(c), 3);
  SetMaxServices(c, 25);
  EXPECT_EQ(c.Services.size(), 26u);
  SetMaxServices(c, 3);
  ASSERT_EQ(c.Services.size(), 4u);
  EXPECT_EQ(c.Services[2].ServiceName, QStringLiteral("2"));
  c.UsedServices = 0;
  EXPECT_EQ(MinMaxServices(c), 1);
}

TEST(OptionEntries, DeleteServiceMovesTheLaterServicesForward) {
  Configuration c;
  c.UsedServices = 4;
  for (int i = 0; i < 4; ++i) {
    Service& s = c.Services[static_cast<size_t>(i)];
    s.ServiceName = QStringLiteral("S%1").arg(i);
    s.UsedTariffs = i;
    s.FlexRate = i;
  }
  DeleteService(c, 1);
  ASSERT_EQ(c.UsedServices, 3);
  EXPECT_EQ(c.Services[0].ServiceName, QStringLiteral("S0"));
  EXPECT_EQ(c.Services[1].ServiceName, QStringLiteral("S2"));
  EXPECT_EQ(c.Services[1].UsedTariffs, 2);
  EXPECT_EQ(c.Services[2].FlexRate, 3);
  DeleteService(c, 2);  // the last
  EXPECT_EQ(c.UsedServices, 2);
  DeleteService(c, 5);  // not in use: nothing
  EXPECT_EQ(c.UsedServices, 2);
  DeleteService(c, 0);  // the first
  ASSERT_EQ(c.UsedServices, 1);
  EXPECT_EQ(c.Services[0].ServiceName, QStringLiteral("S2"));
}

TEST(OptionEntries, HolidaysStaySortedWithoutDuplicatesUpToTheLimit) {
  const Date d24 = MakeDate(2026, 12, 24), d25 = MakeDate(2026, 12, 25), d26 = MakeDate(2026, 12, 26);
  const Date past = MakeDate(1999, 1, 1);
  QList<Date> list{d24, d26};
  struct Step { Date date; HolidayAdd outcome; int index; } steps[] = {{d25, HolidayAdd::Added, 1},
               {d25, HolidayAdd::AlreadyListed, 1}, {past, HolidayAdd::Added, 0},
               {MakeDate(2030, 1, 1), HolidayAdd::Added, 4}};
  for (const Step& s : steps) {
    const HolidayAddResult r = AddHoliday(list, s.date);
    EXPECT_EQ(r.outcome, s.outcome) << qPrintable(DateToIso(s.date));
    EXPECT_EQ(r.index, s.index) << qPrintable(DateToIso(s.date));
  }
  EXPECT_EQ(list, (QList<Date>{past, d24, d25, d26, MakeDate(2030, 1, 1)}));
  QList<Date> full;
  for (int i = 0; i < kMaxHolidays; ++i) full.append(d24 + 2 * i);
  EXPECT_EQ(AddHoliday(full, d24 + 1).outcome, HolidayAdd::ListFull);
  EXPECT_EQ(AddHoliday(full, d24).outcome, HolidayAdd::AlreadyListed);
  EXPECT_EQ(full.size(), kMaxHolidays);
  // The stored list, past dates included, is read sorted and written whole.
  Configuration c;
  c.UsedHolidays = 3;
  c.Holidays[0] = d26;
  c.Holidays[1] = past;
  c.Holidays[2] = d24;
  const QList<Date> read = HolidaysOf(c);
  EXPECT_EQ(read, (QList<Date>{past, d24, d26}));
  Configuration out;
  StoreHolidays(out, read);
  EXPECT_EQ(out.UsedHolidays, 3);
  EXPECT_EQ(out.Holidays[0], past);
}

TEST(TariffRules, ListChoices) {
  const QStringList de = TariffDayChoices(Germany());  // the single days in the locale's words
  EXPECT_EQ(de.size(), 14);
  EXPECT_EQ(de[7], QStringLiteral("Montag"));
  const QStringList starts = TariffStartChoices();
  const QStringList ends = TariffEndChoices();
  ASSERT_EQ(starts.size(), 96);
  ASSERT_EQ(ends.size(), 96);
  EXPECT_EQ(starts[1], QStringLiteral("00:15"));
  EXPECT_EQ(starts.last(), QStringLiteral("23:45"));
  EXPECT_EQ(ends.first(), QStringLiteral("00:14"));
  EXPECT_EQ(ends.last(), QStringLiteral("23:59"));
}

TEST(TariffRules, TimesAreHhMmOnly) {
  struct Case { const char* text; TimeOfDay t; } cases[] = {{"00:00", 0},     {"09:05", 9 * 3600 + 300},
               {"23:59", 86340}, {"24:00", -1}, {"9:00", -1},     {"09:60", -1}, {"0900", -1},     {"", -1},
               {"ab:cd", -1},    {"09:00:00", -1}};
  for (const Case& c : cases) EXPECT_EQ(ReadHhMm(QString::fromLatin1(c.text)), c.t) << c.text;
}

TEST(TariffRules, StartAndEndMoveEachOther) {
  struct Case {
    const char* start;
    const char* end;
    const char* newEnd;    // after the start changed
    const char* newStart;  // after the end changed
  } cases[] = {
      {"09:00", "08:59", "09:14", "08:45"},  // both directions from the same pair
      {"00:00", "", "00:14", "00:00"},       // an empty end counts as earlier
      {"23:50", "23:00", "23:59", "22:46"},  // never past midnight
      {"00:10", "00:05", "00:24", "00:00"},  // never before it
      {"10:00", "9:00", "10:14", "10:00"},   // a text that is not hh:mm is replaced, never compared
      {"08:00", "17:59", "17:59", "08:00"},  // in order: nothing moves
      {"10:00", "09:30", "10:14", "09:16"},  // compared as times
  };
  for (const Case& c : cases) {
    const QString start = QString::fromLatin1(c.start), end = QString::fromLatin1(c.end);
    EXPECT_EQ(EndAfterStartChange(start, end), QLatin1String(c.newEnd)) << c.start << " " << c.end;
    EXPECT_EQ(StartAfterEndChange(start, end), QLatin1String(c.newStart)) << c.start << " " << c.end;
  }
}

TEST(TariffRules, ThresholdSplitsAndJoins) {
  EXPECT_EQ(AfterSeconds(2, 30), 150);
  EXPECT_EQ(AfterSeconds(1, 60), 120);
  EXPECT_EQ(SplitAfter(150).minutes, 2);
  EXPECT_EQ(SplitAfter(150).seconds, 30);
  EXPECT_EQ(AfterText(150), QStringLiteral("2 Mins 30 Secs"));
  EXPECT_EQ(ReadThreshold(QStringLiteral("999"), kMaxThresholdMinutes), 999);
  EXPECT_EQ(ReadThreshold(QStringLiteral("1000"), kMaxThresholdMinutes), -1);
  EXPECT_EQ(ReadThreshold(QStringLiteral("60"), kMaxThresholdSeconds), 60);
  EXPECT_EQ(ReadThreshold(QStringLiteral("61"), kMaxThresholdSeconds), -1);
  EXPECT_EQ(ReadThreshold(QStringLiteral("-1"), kMaxThresholdSeconds), -1);
  EXPECT_EQ(ReadThreshold(QStringLiteral("1.5"), kMaxThresholdSeconds), -1);
}

TEST(TariffRules, ValidateTariffNamesTheFieldsThatFail) {
  const LocaleValues us = UnitedStates();
  const TariffEntries good{"Peak", "Mon - Fri", "08:00", "17:59", "0.10", "0.05", "1", "0"};
  ASSERT_TRUE(ValidateTariff(good, us).ok());
  EXPECT_EQ(TariffProblem(good, us), QString());
  EXPECT_TRUE(ValidateTariff({QString(255, u'x'), QString(255, u'y'), "08:00", "17:59", "0.1", "0", "0", "0"}, us).ok());
  // Each case breaks one rule; the editor's line names the field and the rule.
  struct Case { const char* what; TariffEntries entries; bool TariffValidation::*field; const char* says; } cases[] = {
      {"no description", {"", "Everyday", "08:00", "17:59", "0.1", "0", "0", "0"}, &TariffValidation::description,
       "Description: type or choose a name"},
      {"no days", {"x", "", "08:00", "17:59", "0.1", "0", "0", "0"}, &TariffValidation::days, "Days: choose"},
      {"description of 256", {QString(256, u'x'), "Everyday", "08:00", "17:59", "0.1", "0", "0", "0"},
       &TariffValidation::description, "Description: the name has 256 characters; at most 255 are allowed"},
      {"days of 256", {"x", QString(256, u'x'), "08:00", "17:59", "0.1", "0", "0", "0"}, &TariffValidation::days,
       "Days: the text has 256 characters; at most 255 are allowed"},
      {"no end",
       {"x", "Everyday", "00:00", "", "0.1", "0", "0", "0"}, &TariffValidation::end,
       "End time: type or choose a time of day as hh:mm"},
      {"end before start",
       {"x", "Everyday", "10:00", "09:59", "0.1", "0", "0", "0"}, &TariffValidation::end,
       "End time: 09:59 is before the start time 10:00"},
      {"end off the clock",
       {"x", "Everyday", "10:00", "25:00", "0.1", "0", "0", "0"}, &TariffValidation::end,
       "End time: \"25:00\" is not a time of day"},
      {"start not a time",
       {"x", "Everyday", "8:00", "09:59", "0.1", "0", "0", "0"}, &TariffValidation::start,
       "Start time: \"8:00\" is not a time of day"},
      {"both charges 0",
       {"x", "Everyday", "00:00", "23:59", "0", "0", "0", "0"}, &TariffValidation::chargeAboveZero,
       "Costs: the minimum charge or the charge per minute must be above 0"},
      {"negative minimum",
       {"x", "Everyday", "00:00", "23:59", "-1", "2", "0", "0"}, &TariffValidation::dialRate,
       "Minimum charge: \"-1\" is not an amount of 0 or more"},
      {"negative per minute",
       {"x", "Everyday", "00:00", "23:59", "2", "-1", "0", "0"}, &TariffValidation::perMinuteRate,
       "Charge per minute: \"-1\" is not an amount"},
      {"minutes above 999", {"x", "Everyday", "00:00", "23:59", "1", "1", "1000", "0"}, &TariffValidation::afterMinutes,
       "Threshold minutes: \"1000\" is not a whole number from 0 to 999"},
      {"seconds 61",
       {"x", "Everyday", "00:00", "23:59", "1", "1", "0", "61"}, &TariffValidation::afterSeconds,
       "Threshold seconds: \"61\" is not a whole number from 0 to 60"}};
  for (const Case& c : cases) {
    const TariffValidation v = ValidateTariff(c.entries, us);
    EXPECT_FALSE(v.ok()) << c.what;
    EXPECT_FALSE(v.*c.field) << c.what;
    EXPECT_TRUE(TariffProblem(c.entries, us).startsWith(QLatin1String(c.says)))
        << c.what << ": " << TariffProblem(c.entries, us).toStdString();
  }
  // One charge above 0 is enough; a rate being typed ("0.") reads as its digits.
  EXPECT_TRUE(ValidateTariff({"x", "Everyday", "00:00", "23:59", "0", "0.05", "", ""}, us).ok());
  EXPECT_FALSE(ValidateTariff({"x", "Everyday", "00:00", "23:59", "0.", "0", "0", "0"}, us).ok());
  EXPECT_TRUE(ValidateTariff({"x", "Everyday", "00:00", "00:14", "2.", "0", "0", "0"}, us).ok());
}

TEST(TariffRules, BuildTariffStoresTheEntries) {
  const LocaleValues de = Germany();
  const Tariff t = BuildTariff({"Abend", "Montag", "18:00", "23:59", "0,1", "1.234,5", "2", "30"}, de);
  EXPECT_EQ(t.AppliesTimeStart, MakeTime(18, 0, 0));
  EXPECT_EQ(t.AppliesTimeEnd, MakeTime(23, 59, 0));
  EXPECT_DOUBLE_EQ(t.DialRate, 0.1);
  EXPECT_DOUBLE_EQ(t.PerMinuteRate, 1234.5);
  EXPECT_EQ(t.After, 150);
  // Without a per-minute rate the threshold is 0.
  EXPECT_EQ(BuildTariff({"x", "Everyday", "00:00", "23:59", "1", "0", "2", "30"}, de).After, 0);
  // And back: the entries show what was stored.
  const TariffEntries e = EntriesOf(t, de);
  EXPECT_EQ(e.DialRate, QStringLiteral("0,10"));
  EXPECT_EQ(e.PerMinuteRate, QStringLiteral("1.234,50"));
  EXPECT_EQ(BuildTariff(e, de), t);
}

TEST(TariffRules, TariffExistsComparesNamesExactly) {
  std::array<Tariff, kMaxTariffs> list{};
  list[0].Description = QStringLiteral("Economy Tariff");
  list[1].Description = QStringLiteral("Standard Tariff");
  list[2].Description = QStringLiteral("Standard Tariff");
  EXPECT_EQ(TariffExists(QStringLiteral("Standard Tariff"), list, 3), 2);
  EXPECT_EQ(TariffExists(QStringLiteral("standard tariff"), list, 3), 0);
  EXPECT_EQ(TariffExists(QStringLiteral("Standard Tariff"), list, 1), 0);
}

Tariff T(const char* days, int startHour) {
  Tariff t;
  t.AppliesDays = QString::fromLatin1(days);
  t.Description = QStringLiteral("%1 %2").arg(t.AppliesDays).arg(startHour);
  t.AppliesTimeStart = MakeTime(startHour, 0, 0);
  return t;
}

TEST(TariffRules, SortTariffsPutsThemInTheOrderTheCostEngineTriesThem) {
  struct Case {
    std::vector<Tariff> in;
    std::vector<const char*> out;  // descriptions
  } cases[] = {
      {{T("Everyday", 18), T("Everyday", 8)}, {"Everyday 8", "Everyday 18"}},
      {{T("Sat - Sun", 0), T("Holidays", 9), T("Everyday", 0), T("Holidays", 0), T("Friday", 0)},
       {"Holidays 0", "Holidays 9", "Friday 0", "Sat - Sun 0", "Everyday 0"}},
      // Two ranges keep their order unless their days are the same.
      {{T("Sat - Sun", 0), T("Mon - Fri", 0), T("Mon - Fri", 12), T("Mon - Fri", 6)},
       {"Sat - Sun 0", "Mon - Fri 0", "Mon - Fri 6", "Mon - Fri 12"}}, {{T("Monday", 0)}, {"Monday 0"}}};
  for (const Case& c : cases) {
    std::array<Tariff, kMaxTariffs> list{};
    std::copy(c.in.begin(), c.in.end(), list.begin());
    SortTariffs(list, static_cast<int>(c.in.size()));
    for (size_t i = 0; i < c.out.size(); ++i) EXPECT_EQ(list[i].Description, QLatin1String(c.out[i])) << i;
  }
  // The selection follows its tariff.
  std::array<Tariff, kMaxTariffs> list{};
  list[0] = T("Everyday", 0);
  list[1] = T("Mon - Fri", 0);
  list[2] = T("Holidays", 0);
  int selected = 3;
  SortTariffs(list, 3, &selected);
  EXPECT_EQ(selected, 1);
  EXPECT_EQ(list[0].AppliesDays, QStringLiteral("Holidays"));
}

TEST(ServiceRules, NewServiceDefaults) {
  const LocaleValues us = UnitedStates();
  Configuration c;
  c.DialCost = 0.123456;
  c.CostPerHour = 1.5;
  const ServiceEntries e = NewServiceEntries(c, us);
  EXPECT_EQ(e.DialFixedTariff, QStringLiteral("0.1235"));
  EXPECT_EQ(e.ServiceFixedRate, QStringLiteral("1.50"));
  EXPECT_DOUBLE_EQ(DefaultTariff(c).DialRate, 0.1235);
  // Valid once a number is typed.
  EXPECT_FALSE(ValidateService(e, 1, us).ok());
  ServiceEntries numbered = e;
  numbered.Number = QStringLiteral("5551234");
  EXPECT_TRUE(ValidateService(numbered, 1, us).ok());
}

TEST(ServiceRules, ValidateServiceNamesTheFieldsThatFail) {
  const LocaleValues us = UnitedStates();
  ServiceEntries base = NewServiceEntries(Configuration(), us);
  base.Number = QStringLiteral("5551234");
  struct Case {
    const char* what;
    void (*change)(ServiceEntries&);
    int tariffs;
    bool valid;
    bool ServiceValidation::*field;
    const char* says = "";  // how the editor's line begins
  } cases[] = {
      {"blank number", [](ServiceEntries& e) { e.Number = QStringLiteral("  "); }, 1, false,
       &ServiceValidation::number, "Service Details: type the number"},
      {"no description", [](ServiceEntries& e) { e.Description.clear(); }, 1, false, &ServiceValidation::description,
       "Service Details: type a description"},
      {"description of 255", [](ServiceEntries& e) { e.Description = QString(255, u'x'); }, 1, true,
       &ServiceValidation::description},
      {"description of 256", [](ServiceEntries& e) { e.Description = QString(256, u'x'); }, 1, false,
       &ServiceValidation::description, "Service Details: the description has 256 characters; at most 255"},
      {"number of 64 in blanks", [](ServiceEntries& e) { e.Number = QLatin1Char(' ') + QString(64, u'5') + QLatin1Char(' '); },
       1, true, &ServiceValidation::number},
      {"number of 65", [](ServiceEntries& e) { e.Number = QString(65, u'5'); }, 1, false, &ServiceValidation::number,
       "Service Details: the number has 65 characters; at most 64"},
      {"per call not a number", [](ServiceEntries& e) { e.DialFixedTariff = QStringLiteral("x"); }, 1, false,
       &ServiceValidation::dialCost, "Dial-up Cost: the cost per call \"x\" is not an amount"},
      {"tariffs without any", [](ServiceEntries& e) { e.DialOption = 2; }, 0, false, &ServiceValidation::dialCost,
       "Dial-up Cost: add a time-segmented tariff"},
      {"tariffs with one", [](ServiceEntries& e) { e.DialOption = 2; }, 1, true, &ServiceValidation::dialCost},
      {"flexi 0 and 0", [](ServiceEntries& e) { e.ServiceOption = 2; }, 1, false, &ServiceValidation::flexAboveZero,
       "Service Cost: the flexi rate or the excess rate must be above 0"},
      {"flexi 0 and 1.5", [](ServiceEntries& e) { e.ServiceOption = 2; e.FlexRate2 = QStringLiteral("1.5"); }, 1, true,
       &ServiceValidation::serviceCost},
      {"flexi negative rate",
       [](ServiceEntries& e) { e.ServiceOption = 2; e.FlexRate = QStringLiteral("-1"); e.FlexRate2 = QStringLiteral("3"); },
       1, false, &ServiceValidation::flexRate, "Service Cost: the flexi rate \"-1\""},
      {"flexi hours 100",
       [](ServiceEntries& e) { e.ServiceOption = 2; e.FlexRate = QStringLiteral("1"); e.FlexHours = QStringLiteral("100"); },
       1, false, &ServiceValidation::flexHours, "Service Cost: the flexi hours must be a whole number from 0 to 99"},
      {"flexi period not listed",
       [](ServiceEntries& e) { e.ServiceOption = 2; e.FlexRate = QStringLiteral("1"); e.FlexPeriod = QStringLiteral("Year"); },
       1, false, &ServiceValidation::flexPeriod, "Service Cost: choose the flexi period"},
      {"flat rate ignores the flexi boxes", [](ServiceEntries& e) { e.FlexHours = QStringLiteral("x"); }, 1, true,
       &ServiceValidation::serviceCost},
      {"per megabyte with no period", [](ServiceEntries& e) { e.PerMeg = QStringLiteral("0.5"); e.MegPeriod.clear(); },
       1, false, &ServiceValidation::megPeriod, "Service Cost: choose the period the free megabytes count over"},
      {"megabyte period not listed, no per megabyte", [](ServiceEntries& e) { e.MegPeriod = QStringLiteral("Year"); },
       1, true, &ServiceValidation::megPeriod},
      {"megabytes above 99", [](ServiceEntries& e) { e.AfterMeg = QStringLiteral("150"); }, 1, false,
       &ServiceValidation::afterMeg, "Service Cost: the free megabytes must be a whole number from 0 to 99"},
      {"per megabyte negative", [](ServiceEntries& e) { e.PerMeg = QStringLiteral("-0.1"); }, 1, false,
       &ServiceValidation::perMeg, "Service Cost: the cost per megabyte \"-0.1\""}};
  for (const Case& c : cases) {
    ServiceEntries e = base;
    c.change(e);
    const ServiceValidation v = ValidateService(e, c.tariffs, us);
    EXPECT_EQ(v.ok(), c.valid) << c.what;
    EXPECT_EQ(v.*c.field, c.valid) << c.what;
    const QString problem = ServiceProblem(e, c.tariffs, us);
    EXPECT_TRUE(c.valid ? problem.isEmpty() : problem.startsWith(QLatin1String(c.says)))
        << c.what << ": " << problem.toStdString();
  }
}

TEST(ServiceRules, BuildServiceStoresBothOptionsAndTrimsTheNumber) {
  const LocaleValues us = UnitedStates();
  ServiceEntries e = NewServiceEntries(Configuration(), us);
  e.Description = QStringLiteral("Home ISP");
  e.Number = QStringLiteral("  5551234 ");
  e.DialFixedTariff = QStringLiteral("1,234.5");
  e.ServiceOption = 2;
  e.FlexRate = QStringLiteral("1.00");
  e.FlexHours = QStringLiteral("10");
  e.FlexRate2 = QStringLiteral("1,234.50");
  e.PerMeg = QStringLiteral("0.1234");  // four decimals, shown again as four
  e.AfterMeg = QStringLiteral("5");
  e.MegPeriod = QStringLiteral("Session");
  std::array<Tariff, kMaxTariffs> tariffs{};
  tariffs[0] = DefaultTariff(Configuration());
  const Service s = BuildService(e, tariffs, 1, us);
  EXPECT_EQ(s.ServiceNumber, QStringLiteral("5551234"));
  EXPECT_DOUBLE_EQ(s.DialFixedTariff, 1234.5);
  EXPECT_DOUBLE_EQ(s.FlexRate2, 1234.5);
  EXPECT_DOUBLE_EQ(s.ServiceRate, 1.5);
  EXPECT_EQ(s.ServiceOption, 2);
  EXPECT_EQ(s.UpToHours, 10);
  EXPECT_EQ(s.PenaltyPeriod, QStringLiteral("Month"));
  EXPECT_EQ(s.AfterMeg, 5);
  EXPECT_EQ(s.MegPeriod, QStringLiteral("Session"));
  EXPECT_EQ(s.UsedTariffs, 1);
  // Shown again, then stored again: the same record.
  Configuration c;
  EXPECT_EQ(BuildService(EntriesOf(s, c, us), s.Tariffs, s.UsedTariffs, us), s);
}

TEST(ServiceRules, AnotherServiceWithTheSameNumberIsFound) {
  Configuration c;
  c.UsedServices = 3;
  c.Services[0].ServiceNumber = QStringLiteral("111");
  c.Services[1].ServiceNumber = QStringLiteral(" 222 ");
  c.Services[2].ServiceNumber = QStringLiteral("333");
  c.Services[3].ServiceNumber = QStringLiteral("444");  // not in use
  EXPECT_EQ(FindOtherServiceWithNumber(c, QStringLiteral("222"), -1), 1);
  EXPECT_EQ(FindOtherServiceWithNumber(c, QStringLiteral(" 222"), 1), -1);  // itself
  EXPECT_EQ(FindOtherServiceWithNumber(c, QStringLiteral("111"), 2), 0);
  EXPECT_EQ(FindOtherServiceWithNumber(c, QStringLiteral("444"), -1), -1);
}

}  // namespace
}  // namespace mirolat
