#include "support/sample_configuration.h"

#include <algorithm>

#include "core/model/option_entries.h"

namespace mirolat::test {

namespace {

Tariff T(const char* description, const char* days, TimeOfDay start, TimeOfDay end, double dial, double perMinute,
         qint32 after) {
  return Tariff{QString::fromUtf8(description), QString::fromUtf8(days), start, end, dial, perMinute, after};
}

}  // namespace

Configuration SampleConfiguration() {
  Configuration c;
  c.ModemLogFile = QStringLiteral("Modem Log ü.txt");
  c.MaxServices = 25;
  c.Services.assign(26, Service{});
  c.MaxConnections = 500;
  c.MaxConnectDays = 7;
  c.NoDisconDuration = 600;
  c.NoDisconData = 512;
  c.MaxLogSize = 300;
  c.EditLog = c.ShowErrors = c.ShowToolbars = c.ShowGraphic = false;
  c.AutoOptimize = true;
  c.ModemDial = QStringLiteral("ATDT");
  c.ModemAnswer = QStringLiteral("RING \"A\"");
  c.ModemConnect = QStringLiteral("CONNECT Ü");
  c.ModemUserDisconnect = QStringLiteral("HANGUP\\USER");
  c.ModemHostDisconnect = QStringLiteral("NO CARRIER");
  c.ModemReads = QStringLiteral("RX");
  c.ModemWrites = QStringLiteral("TX");
  c.CalcCosts = false;
  c.DialCost = 0.1234;
  c.CostPerHour = 2.5;
  c.CostPerMeg = 0.01;

  // Name, number, DialOption, DialFixedTariff, tariffs, UsedTariffs,
  // ServiceOption, ServiceRate, FlexRate, UpToHours, PenaltyPeriod, FlexRate2,
  // PerMeg, AfterMeg, MegPeriod.
  c.UsedServices = 3;
  c.Services[0] = Service{QStringLiteral("Ünï ISP \"Home\" \\ 1"), QStringLiteral("5551234"), 2, 0.05,
                          {T("Day", "Mon - Fri", MakeTime(8, 0, 0), MakeTime(17, 59, 0), 0.05, 0.04, 90),
                           T("Soirée ☎ 'late'", "Everyday", MakeTime(18, 0, 0), MakeTime(23, 59, 0), 0.06, 0.01, 30)},
                          2, 2, 1.25, 0.75, 20, QStringLiteral("Month"), 1.5, 0.02, 99, QStringLiteral("Session"), {}};
  c.Services[1] = Service{QStringLiteral("Work"), QStringLiteral("5559876"), 1, 0.1,
                          {T("All day", "Sat - Sun", MakeTime(0, 0, 0), MakeTime(23, 59, 0), 0.02, 0.03, 60)},
                          1, 1, 0.5, 0.3, 5, QStringLiteral("Week"), 0.9, 0.05, 5, QStringLiteral("Day"), {}};
  c.Services[2] = Service{QStringLiteral("Night 𝄞 Net"), QStringLiteral("0845123456"), 2, 0.2,
                          {T("Holiday", "Holidays", MakeTime(0, 0, 0), MakeTime(23, 59, 0), 0.01, 0.005, 0),
                           T("Night", "Mon - Fri", MakeTime(0, 0, 0), MakeTime(7, 59, 0), 0.03, 0.002, 15),
                           T("Sunday", "Sunday", MakeTime(9, 30, 0), MakeTime(21, 14, 0), 0.04, 0.0125, 45)},
                          3, 2, 2.25, 0.4, 99, QStringLiteral("Day"), 3.3333, 0.1, 1, QStringLiteral("Month"), {}};

  c.ViewLog = ViewLogSettings{true, QStringLiteral("Courier New"), 11, true, true, 5200, 7100, 2};
  c.ReportSaveSettings = false;
  c.ReportListView = false;
  c.ReportAutoArrange = true;
  // Slots past a report's columns (5 and 6) are never stored: they keep their defaults.
  c.SummaryReport = ReportWindowSettings{6000, 8000, 250, 300, 11, {1100, 1200, 800, 900, 950, 1000, 0}};
  c.DetailReport = ReportWindowSettings{6100, 8100, 350, 400, 12, {1010, 1020, 710, 1030, 1040, 2100, 1000}};
  c.UsedHolidays = 2;
  c.Holidays[0] = MakeDate(2025, 12, 25);
  c.Holidays[1] = MakeDate(2026, 12, 25);
  return c;
}

Configuration ForGeneratedLog(Configuration c) {
  const Configuration defaults;
  for (QString Configuration::*text : {&Configuration::ModemDial, &Configuration::ModemAnswer, &Configuration::ModemConnect,
                                       &Configuration::ModemUserDisconnect, &Configuration::ModemHostDisconnect,
                                       &Configuration::ModemReads, &Configuration::ModemWrites}) {
    c.*text = defaults.*text;
  }
  c.CalcCosts = true;
  return c;
}

Configuration ScaledConfiguration(int services, int tariffs, bool longestTexts) {
  const auto filled = [longestTexts](QString text, int limit) {
    if (longestTexts && text.size() < limit) text += QString(limit - text.size(), QLatin1Char('x'));
    return text;
  };
  Configuration c;
  c.MaxServices = std::max(services, 10);
  c.Services.assign(static_cast<size_t>(c.MaxServices) + 1, Service{});
  c.UsedServices = services;
  for (int n = 0; n < services; ++n) {
    Service& s = c.Services[static_cast<size_t>(n)];
    s.ServiceName = filled(QStringLiteral("Service %1").arg(n + 1), kMaxNameLength);
    s.ServiceNumber = filled(QStringLiteral("0845%1").arg(n + 1), kMaxNumberLength);
    s.DialOption = 2;
    s.UsedTariffs = tariffs;
    for (int t = 0; t < tariffs; ++t) {
      s.Tariffs[static_cast<size_t>(t)] = Tariff{filled(QStringLiteral("Tariff %1").arg(t + 1), kMaxNameLength),
                                                 QStringLiteral("Mon - Fri"), t * 3600, t * 3600 + 3540, 0.05,
                                                 0.01 * t, 60};
    }
    s.ServiceOption = 2;
    s.FlexRate = 0.5;
    s.UpToHours = 10;
    s.PenaltyPeriod = QStringLiteral("Week");
    s.MegPeriod = QStringLiteral("Month");
  }
  c.UsedHolidays = kMaxHolidays;
  for (int n = 0; n < kMaxHolidays; ++n) c.Holidays[static_cast<size_t>(n)] = 36000 + n;
  return c;
}

}  // namespace mirolat::test
