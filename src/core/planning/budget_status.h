#pragma once
// A budget's standing in its current cycle: what was used from the cycle's
// first day up to a day, the linear projection to the cycle's end, and
// whether a warning threshold or the limit itself was passed.
#include <QString>
#include <functional>
#include <optional>
#include <vector>

#include "core/common/dates.h"
#include "core/model/configuration.h"
#include "core/planning/billing_cycle.h"
#include "core/reports/report_figures.h"

namespace mirolat {

enum class BudgetMeasure { Money, Hours, Megabytes };
enum class BudgetState { Ok, Warning, Over };

// What one cycle used: the cost, the connected time and the bytes downloaded.
struct CycleUse {
  double Cost = 0;
  qint64 Seconds = 0;
  qint64 BytesRead = 0;
  bool operator==(const CycleUse&) const = default;
};

// One limit of a budget.
struct BudgetLimitStatus {
  BudgetMeasure Measure = BudgetMeasure::Money;
  double Limit = 0;      // money, hours or megabytes
  double Used = 0;       // in the same unit
  double Projected = 0;  // Used × cycle days / days elapsed
  double Percent = 0;    // Used / Limit × 100
  // The highest warning threshold (percent) Used has reached, 0: none.
  int ThresholdPassed = 0;
  BudgetState State = BudgetState::Ok;
  bool OverProjected = false;  // Over only because the projection passes the limit
  bool operator==(const BudgetLimitStatus&) const = default;
};

struct BudgetStatus {
  int Service = -1;  // position in Configuration::Services, -1: the overall budget
  QString Name;      // the service's name, or "All services"
  BillingCycle Cycle;
  Date At = 0;          // the day the figures reach
  int DaysElapsed = 0;  // days of the cycle up to and including At
  int DaysLeft = 0;     // days of the cycle after At
  std::vector<BudgetLimitStatus> Limits;  // one per limit set, money, hours, megabytes
  BudgetState State = BudgetState::Ok;    // the worst of the limits'
  bool operator==(const BudgetStatus&) const = default;
};

// The standing of `budget` in `cycle` on day `at` (inside the cycle) with
// `use` from the cycle's first day up to `at`: a limit is Over when Used
// reached it, or when the projection does (OverProjected); Warning when Used
// reached a warning threshold below 100 %; otherwise Ok.
BudgetStatus StatusOf(const BudgetSettings& budget, const BillingCycle& cycle, Date at, const CycleUse& use);

// What the figures' numbers of `service` used (the Summary rows whose number
// is the service's), or every dialled number's (service -1; answered calls
// left out).
CycleUse UseOf(const ReportFigures& figures, const Configuration& config, int service);

// The figures of the log over [first, last]; none when they cannot be had.
using FiguresOfRange = std::function<std::optional<ReportFigures>(Date first, Date last)>;

// Every budget with a limit (the overall one first, then the services in
// order) on day `at`: each cycle's figures come from `figures`, asked once
// per distinct range.
std::vector<BudgetStatus> BudgetStatuses(const Configuration& config, Date at, const FiguresOfRange& figures);

// The worst state of them all (Ok for none): the command line's exit status
// is its number.
BudgetState WorstState(const std::vector<BudgetStatus>& statuses);

// "ok", "warning", "over".
QString StateWord(BudgetState state);

}  // namespace mirolat
