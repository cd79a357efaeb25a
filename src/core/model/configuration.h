#pragma once
// The configuration record: every setting of the program, in memory for the
// whole run, read once from the settings store and written back as a whole.
#include <QString>
#include <array>
#include <vector>

#include "core/common/dates.h"

namespace mirolat {

inline constexpr int kMaxTariffs = 10;
inline constexpr int kMaxHolidays = 100;

struct Tariff {
  QString Description;
  QString AppliesDays;          // "Everyday", a day name, "Mon - Fri", "Holidays", ...
  TimeOfDay AppliesTimeStart = 0;  // first minute covered
  TimeOfDay AppliesTimeEnd = 0;    // last minute covered
  double DialRate = 0;          // minimum call charge
  double PerMinuteRate = 0;
  qint32 After = 0;             // free seconds before the per-minute rate applies
  bool operator==(const Tariff&) const = default;
};

// A billing cycle and an optional budget over it: a service's, or the
// overall one of every dialled number together. A limit of 0 sets none.
struct BudgetSettings {
  int CycleOption = 0;     // 0 = monthly from CycleStartDay, 1 = every CycleDays days from CycleFromDate
  int CycleStartDay = 1;   // 1..28
  int CycleDays = 30;      // 1..366
  Date CycleFromDate = 0;  // the first day of one cycle (any of them); 0: none
  double Money = 0;        // the bill's limit
  double Hours = 0;        // connected hours
  double Megabytes = 0;    // megabytes downloaded (1,048,576 bytes)
  int WarnPercent1 = 80;   // warning thresholds, percent of a limit; 0: none
  int WarnPercent2 = 100;
  bool HasLimit() const { return Money > 0 || Hours > 0 || Megabytes > 0; }
  bool operator==(const BudgetSettings&) const = default;
};

struct Service {
  QString ServiceName;
  QString ServiceNumber;
  int DialOption = 0;  // 1 = per call (DialFixedTariff), 2 = time segmented tariffs
  double DialFixedTariff = 0;
  std::array<Tariff, kMaxTariffs> Tariffs{};
  int UsedTariffs = 0;
  int ServiceOption = 0;  // 1 = flat hourly rate, 2 = flexi rate
  double ServiceRate = 0;
  double FlexRate = 0;
  int UpToHours = 0;
  QString PenaltyPeriod;  // "Day", "Week", "Month"
  double FlexRate2 = 0;
  double PerMeg = 0;
  double AfterMeg = 0;    // megabytes
  QString MegPeriod;      // "Day", "Week", "Month", "Session"
  BudgetSettings Budget;
  bool operator==(const Service&) const = default;
};

struct ViewLogSettings {
  bool SaveSettings = false;
  QString FontName = QStringLiteral("MS Sans Serif");
  int FontSize = 8;
  bool FontBold = false;
  bool FontItalic = false;
  int WinHeight = 4300;  // twips
  int WinWidth = 6000;   // twips
  int WinState = 0;
  bool operator==(const ViewLogSettings&) const = default;
};

// One report window's layout (Summary or Details).
struct ReportWindowSettings {
  qint32 WinHeight = 5100;
  qint32 WinWidth = 6900;
  qint32 WinLeft = 100;
  qint32 WinTop = 100;
  float FontSize = 9;
  std::array<qint32, 7> Columns{};  // twips
  bool operator==(const ReportWindowSettings&) const = default;
};

ReportWindowSettings DefaultSummaryReportSettings();
ReportWindowSettings DefaultDetailReportSettings();
// Whether the record holds a window size, a window place, that the window was
// left at: the defaults written at the first start and 0 stand for none, and
// the window then opens at the size its report needs, beside the main window.
bool HasStoredWindowSize(const ReportWindowSettings& s);
bool HasStoredWindowPlace(const ReportWindowSettings& s);

struct Configuration {
  // General
  QString ModemLogFile = QStringLiteral("ModemLog.txt");
  int MaxServices = 10;
  int UsedServices = 0;
  int MaxConnections = 200;
  int MaxConnectDays = 2;
  double NoDisconDuration = 900;  // seconds
  double NoDisconData = 0;        // kilobytes
  qint32 MaxLogSize = 150;        // kilobytes
  bool EditLog = true;
  bool ShowErrors = true;
  bool ShowToolbars = true;
  bool ShowGraphic = true;
  bool AutoOptimize = false;

  // Modem response texts, upper case.
  QString ModemDial = QStringLiteral("RECV: ATD");
  QString ModemAnswer = QStringLiteral("ANSWERING");
  QString ModemConnect = QStringLiteral("CONNECTION ESTABLISHED");
  QString ModemUserDisconnect = QStringLiteral("HANGING UP THE MODEM");
  QString ModemHostDisconnect = QStringLiteral("REMOTE MODEM HUNG UP");
  QString ModemReads = QStringLiteral("READS");
  QString ModemWrites = QStringLiteral("WRITES");

  // Costs
  bool CalcCosts = true;
  double DialCost = 0.2;
  double CostPerHour = 1.5;
  double CostPerMeg = 0;

  // The overall billing cycle and budget: every dialled number together.
  BudgetSettings OverallBudget;

  // Services: MaxServices + 1 slots, service n of the store at position n - 1;
  // positions 0..UsedServices-1 are in use.
  std::vector<Service> Services = std::vector<Service>(11);

  ViewLogSettings ViewLog;

  // ViewReport
  bool ReportSaveSettings = true;
  bool ReportListView = true;
  bool ReportAutoArrange = false;
  ReportWindowSettings SummaryReport = DefaultSummaryReportSettings();
  ReportWindowSettings DetailReport = DefaultDetailReportSettings();

  // Holidays: slots 0..UsedHolidays-1 in use.
  int UsedHolidays = 0;
  std::array<Date, kMaxHolidays> Holidays{};

  bool operator==(const Configuration&) const = default;
};

}  // namespace mirolat
