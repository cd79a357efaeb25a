#include "support/sample_configuration.h"

#include <algorithm>

#include "core/model/option_entries.h"

namespace mirolat::test {

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
  c.EditLog = false;
  c.ShowErrors = false;
  c.ShowToolbars = false;
  c.ShowGraphic = false;
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

  c.UsedServices = 3;
  Service& a = c.Services[0];
  a.ServiceName = QStringLiteral("Ünï ISP \"Home\" \\ 1");
  a.ServiceNumber = QStringLiteral("5551234");
  a.DialOption = 2;
  a.DialFixedTariff = 0.05;
  a.UsedTariffs = 2;
  a.Tariffs[0] = Tariff{QStringLiteral("Day"), QStringLiteral("Mon - Fri"), MakeTime(8, 0, 0), MakeTime(17, 59, 0),
                        0.05, 0.04, 90};
  a.Tariffs[1] = Tariff{QStringLiteral("Soirée ☎ 'late'"), QStringLiteral("Everyday"), MakeTime(18, 0, 0),
                        MakeTime(23, 59, 0), 0.06, 0.01, 30};
  a.ServiceOption = 2;
  a.ServiceRate = 1.25;
  a.FlexRate = 0.75;
  a.UpToHours = 20;
  a.PenaltyPeriod = QStringLiteral("Month");
  a.FlexRate2 = 1.5;
  a.PerMeg = 0.02;
  a.AfterMeg = 99;
  a.MegPeriod = QStringLiteral("Session");

  Service& b = c.Services[1];
  b.ServiceName = QStringLiteral("Work");
  b.ServiceNumber = QStringLiteral("5559876");
  b.DialOption = 1;
  b.DialFixedTariff = 0.1;
  b.UsedTariffs = 1;
  b.Tariffs[0] = Tariff{QStringLiteral("All day"), QStringLiteral("Sat - Sun"), MakeTime(0, 0, 0),
                        MakeTime(23, 59, 0), 0.02, 0.03, 60};
  b.ServiceOption = 1;
  b.ServiceRate = 0.5;
  b.FlexRate = 0.3;
  b.UpToHours = 5;
  b.PenaltyPeriod = QStringLiteral("Week");
  b.FlexRate2 = 0.9;
  b.PerMeg = 0.05;
  b.AfterMeg = 5;
  b.MegPeriod = QStringLiteral("Day");

  Service& n = c.Services[2];
  n.ServiceName = QStringLiteral("Night 𝄞 Net");
  n.ServiceNumber = QStringLiteral("0845123456");
  n.DialOption = 2;
  n.DialFixedTariff = 0.2;
  n.UsedTariffs = 3;
  n.Tariffs[0] = Tariff{QStringLiteral("Holiday"), QStringLiteral("Holidays"), MakeTime(0, 0, 0),
                        MakeTime(23, 59, 0), 0.01, 0.005, 0};
  n.Tariffs[1] = Tariff{QStringLiteral("Night"), QStringLiteral("Mon - Fri"), MakeTime(0, 0, 0), MakeTime(7, 59, 0),
                        0.03, 0.002, 15};
  n.Tariffs[2] = Tariff{QStringLiteral("Sunday"), QStringLiteral("Sunday"), MakeTime(9, 30, 0), MakeTime(21, 14, 0),
                        0.04, 0.0125, 45};
  n.ServiceOption = 2;
  n.ServiceRate = 2.25;
  n.FlexRate = 0.4;
  n.UpToHours = 99;
  n.PenaltyPeriod = QStringLiteral("Day");
  n.FlexRate2 = 3.3333;
  n.PerMeg = 0.1;
  n.AfterMeg = 1;
  n.MegPeriod = QStringLiteral("Month");

  c.ViewLog.SaveSettings = true;
  c.ViewLog.FontName = QStringLiteral("Courier New");
  c.ViewLog.FontSize = 11;
  c.ViewLog.FontBold = true;
  c.ViewLog.FontItalic = true;
  c.ViewLog.WinHeight = 5200;
  c.ViewLog.WinWidth = 7100;
  c.ViewLog.WinState = 2;
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
