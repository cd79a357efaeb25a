#pragma once
// The report's figures: the numbers of one analysis run over the report range,
// before any of them is formatted. Built once per run (and report range) from
// the session table and the costs; the Summary and Details reports, the export
// formats, the charts and the command line all read them. Money is a double,
// never rounded; durations are whole seconds; texts are the names the reports
// show, never a formatted figure.
#include <QString>
#include <array>
#include <vector>

#include "core/common/dates.h"
#include "core/common/progress.h"
#include "core/model/session_table.h"
#include "core/reports/report_model.h"

namespace mirolat {

// One tariff a session's dial-up walk met: its description, the seconds of the
// session it covered and what it charged for them (minimum charge included
// when that tariff's minimum was the one taken).
struct TariffUse {
  int Tariff = 0;  // 1..10 within the session's service
  QString Description;
  qint32 Seconds = 0;
  double Cost = 0;
  bool operator==(const TariffUse&) const = default;
};

// One Summary row: a dialled number (or "Answered Calls" / "Unknown").
struct NumberFigures {
  int Entry = 0;          // the ServiceTotals entry
  QString Number;         // as the log has it, trimmed
  QString Name;           // the service name the reports show for it
  qint64 Seconds = 0;     // connected time
  qint32 Sessions = 0;
  qint64 BytesRead = 0;
  qint64 BytesWritten = 0;
  double Cost = 0;        // what the Summary shows (0 for answered calls)
  double DialCost = 0;    // Cost split into the telephone charge,
  double TimeCost = 0;    // the service's time charge
  double DataCost = 0;    // and its data charge
  bool operator==(const NumberFigures&) const = default;
};

// One Details row: a session as the report lists it.
struct SessionFigures {
  int Index = 0;   // session number in the run
  int Number = 0;  // index into ReportFigures::Numbers, -1 when not listed there
  QString DialledNumber;  // the session's own: a number, "Answered Call" or "Unknown Service"
  QString Name;           // the service name the Details report shows for it
  Date ConnectDate = 0;
  TimeOfDay ConnectTime = 0;
  Date DisconnectDate = 0;
  TimeOfDay DisconnectTime = 0;
  qint32 Seconds = 0;  // inside the report range
  qint32 BytesRead = 0;
  qint32 BytesWritten = 0;
  bool Answered = false;
  bool Error = false;  // the session's notes carry an error mark
  double DialCost = 0;
  double TimeCost = 0;
  double DataCost = 0;
  double Cost = 0;     // the three above; all 0 when costs are off or answered
  std::vector<TariffUse> Tariffs;  // the tariffs the dial-up walk met, in order
  int MinimumChargeTariff = 0;     // the tariff whose minimum charge was taken, 0: none
  QString Notes;                   // as the Details report keeps them, before tidying
  bool operator==(const SessionFigures&) const = default;
};

// Connected time and cost of one day of the range, per number. A session's
// connected time counts on the days it falls on (inside the range), its cost
// on its connect day (the range's first day when it connected before).
struct DayFigures {
  Date Day = 0;
  std::vector<qint64> Seconds;  // one per ReportFigures::Numbers
  std::vector<double> Cost;     // one per ReportFigures::Numbers (a session's cost on its connect day)
  bool operator==(const DayFigures&) const = default;
};

struct ReportFigures {
  Date ReportStartDate = 0;
  Date ReportEndDate = 0;
  bool CostsShown = false;
  bool ErrorsFound = false;
  int SessionCount = 0;        // sessions of the run, listed or not
  bool NumbersListed = false;  // the Summary lists rows and totals (ListedSummaryEntries)
  std::vector<NumberFigures> Numbers;    // the Summary's rows, in its order
  std::vector<SessionFigures> Sessions;  // every session the Details lists, in order
  std::vector<DayFigures> Days;          // one per day of the range, first to last
  // Connected seconds per hour of the week: [day * 24 + hour], day 0 Monday;
  // the listed sessions' time inside the range, each second in its own hour.
  std::array<qint64, 168> HourOfWeekSeconds{};
};

// Builds the figures of the last run over inputs' range. Prices the sessions
// the way the Details report does (its own usage counters, in session order)
// and adds the midnight remarks and tariff descriptions to the sessions'
// notes as that report does. Progress gets "Processing . . . n%".
ReportFigures BuildReportFigures(SessionTable& tables, const ReportInputs& inputs, Progress& progress);

}  // namespace mirolat
