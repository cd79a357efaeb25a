#include "core/planning/budget_status.h"

#include <algorithm>
#include <map>
#include <utility>

#include "core/model/service_lookup.h"

namespace mirolat {
namespace {

constexpr double kBytesPerMegabyte = 1024.0 * 1024.0;

double UsedIn(BudgetMeasure measure, const CycleUse& use) {
  switch (measure) {
    case BudgetMeasure::Money: return use.Cost;
    case BudgetMeasure::Hours: return double(use.Seconds) / 3600.0;
    case BudgetMeasure::Megabytes: return double(use.BytesRead) / kBytesPerMegabyte;
  }
  return 0;
}

// Reached, with room for the last bit of a sum of doubles.
bool Reached(double value, double mark) { return value >= mark - 1e-9 * std::max(1.0, mark); }

BudgetLimitStatus LimitStatus(const BudgetSettings& budget, BudgetMeasure measure, double limit,
                              const CycleUse& use, int cycleDays, int daysElapsed) {
  BudgetLimitStatus s;
  s.Measure = measure;
  s.Limit = limit;
  s.Used = UsedIn(measure, use);
  s.Projected = s.Used * cycleDays / daysElapsed;
  s.Percent = s.Used / limit * 100.0;
  for (const int threshold : {budget.WarnPercent1, budget.WarnPercent2}) {
    if (threshold > 0 && threshold > s.ThresholdPassed && Reached(s.Used, limit * threshold / 100.0))
      s.ThresholdPassed = threshold;
  }
  if (Reached(s.Used, limit)) {
    s.State = BudgetState::Over;
  } else if (Reached(s.Projected, limit)) {
    s.State = BudgetState::Over;
    s.OverProjected = true;
  } else if (s.ThresholdPassed > 0) {
    s.State = BudgetState::Warning;
  }
  return s;
}

bool IsAnsweredRow(const NumberFigures& n) { return n.Number.contains(QLatin1String("Answer")); }

}  // namespace

BudgetStatus StatusOf(const BudgetSettings& budget, const BillingCycle& cycle, Date at, const CycleUse& use) {
  BudgetStatus status;
  status.Cycle = cycle;
  status.At = std::clamp(at, cycle.First, cycle.Last);
  status.DaysElapsed = status.At - cycle.First + 1;
  status.DaysLeft = cycle.Last - status.At;
  const std::pair<BudgetMeasure, double> limits[] = {{BudgetMeasure::Money, budget.Money},
                                                     {BudgetMeasure::Hours, budget.Hours},
                                                     {BudgetMeasure::Megabytes, budget.Megabytes}};
  for (const auto& [measure, limit] : limits) {
    if (limit <= 0) continue;
    status.Limits.push_back(LimitStatus(budget, measure, limit, use, cycle.Days(), status.DaysElapsed));
    status.State = std::max(status.State, status.Limits.back().State);
  }
  return status;
}

CycleUse UseOf(const ReportFigures& figures, const Configuration& config, int service) {
  CycleUse use;
  for (const NumberFigures& n : figures.Numbers) {
    if (IsAnsweredRow(n)) continue;
    if (service >= 0 && FindServiceByNumber(config, n.Number) != service) continue;
    use.Cost += n.Cost;
    use.Seconds += n.Seconds;
    use.BytesRead += n.BytesRead;
  }
  return use;
}

std::vector<BudgetStatus> BudgetStatuses(const Configuration& config, Date at, const FiguresOfRange& figures) {
  std::vector<std::pair<int, const BudgetSettings*>> budgets;
  if (config.OverallBudget.HasLimit()) budgets.emplace_back(-1, &config.OverallBudget);
  const int used = std::min<int>(config.UsedServices, int(config.Services.size()));
  for (int i = 0; i < used; ++i) {
    if (config.Services[std::size_t(i)].Budget.HasLimit()) budgets.emplace_back(i, &config.Services[std::size_t(i)].Budget);
  }
  std::map<std::pair<Date, Date>, std::optional<ReportFigures>> asked;
  std::vector<BudgetStatus> statuses;
  for (const auto& [service, budget] : budgets) {
    const BillingCycle cycle = CycleContaining(*budget, at);
    const std::pair<Date, Date> range{cycle.First, at};
    auto found = asked.find(range);
    if (found == asked.end()) found = asked.emplace(range, figures(cycle.First, at)).first;
    const CycleUse use = found->second ? UseOf(*found->second, config, service) : CycleUse{};
    BudgetStatus status = StatusOf(*budget, cycle, at, use);
    status.Service = service;
    status.Name = service < 0 ? QStringLiteral("All services")
                              : config.Services[std::size_t(service)].ServiceName.trimmed();
    statuses.push_back(std::move(status));
  }
  return statuses;
}

BudgetState WorstState(const std::vector<BudgetStatus>& statuses) {
  BudgetState worst = BudgetState::Ok;
  for (const BudgetStatus& s : statuses) worst = std::max(worst, s.State);
  return worst;
}

QString StateWord(BudgetState state) {
  switch (state) {
    case BudgetState::Ok: return QStringLiteral("ok");
    case BudgetState::Warning: return QStringLiteral("warning");
    case BudgetState::Over: return QStringLiteral("over");
  }
  return {};
}

}  // namespace mirolat
