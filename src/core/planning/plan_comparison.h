#pragma once
// What the sessions of a range would have cost under another plan: every
// dialled session to one of the configured services is priced again with a
// plan's dial-up tariffs and service charges (the same connect and disconnect
// times, the same bytes), by the cost code the reports use, and the plans are
// ranked by what they would have cost.
//
// Which sessions count: the sessions the Details report lists whose dialled
// number is one of the configured services. Answered calls cost the caller
// nothing under any plan, and a number no service has is priced by the
// general costs, not by a plan: both are left out and counted apart.
// Under a plan, all counted sessions share the plan's allowances (one
// subscription), consumed in session order from the range's first day.
#include <QByteArray>
#include <QString>
#include <atomic>
#include <functional>
#include <vector>

#include "core/common/locale_values.h"
#include "core/model/configuration.h"
#include "core/reports/report_figures.h"

namespace mirolat {

// A plan to price: a configured service, or a candidate from a file.
struct PlanToPrice {
  Service Plan;
  int ConfiguredService = -1;  // position in Configuration::Services, -1: a candidate
};

// What one plan would have cost.
struct PlanPrice {
  QString Name;
  int ConfiguredService = -1;
  double Total = 0;
  double DialCost = 0;
  double TimeCost = 0;
  double DataCost = 0;
  int Sessions = 0;                // sessions priced
  bool IncompleteTariffs = false;  // its dial-up tariffs left part of a session uncovered
  double Actual = 0;               // what the same sessions cost as they were priced
  double Difference() const { return Total - Actual; }
  bool operator==(const PlanPrice&) const = default;
};

struct PlanComparison {
  std::vector<PlanPrice> Plans;  // cheapest first; equal totals keep the order given
  int SessionsCounted = 0;       // dialled sessions to configured services
  int AnsweredLeftOut = 0;       // answered calls
  int UnknownLeftOut = 0;        // sessions to numbers no service has
  double Actual = 0;             // what the counted sessions cost
  bool Cancelled = false;        // stopped before the end: Plans is empty
};

// Progress and cancellation for a worker thread: `percent` is called (from
// the pricing thread) whenever the percentage done changes; setting `*cancel`
// stops the comparison at the next session.
struct CompareControl {
  std::function<void(int percent)> percent;
  const std::atomic<bool>* cancel = nullptr;
};

// Every configured service as a plan, in the configuration's order.
std::vector<PlanToPrice> ConfiguredPlans(const Configuration& config);

// Does this session of the figures count for the plans?
bool CountsForPlans(const SessionFigures& session, const Configuration& config);

// Prices `plan` for the counted sessions of `figures` that `include` accepts
// (all of them without it) over the figures' range, as if the plan were the
// service of the number dialled. The holidays and the locale's day names are
// the configuration's.
PlanPrice PricePlan(const Configuration& config, const LocaleValues& locale, const ReportFigures& figures,
                    const PlanToPrice& plan, const std::function<bool(const SessionFigures&)>& include = {});

// Prices every plan for the counted sessions and ranks them. The figures must
// have been built with costs on (see ConfigurationForComparison) for Actual
// to hold what was paid.
PlanComparison ComparePlans(const Configuration& config, const LocaleValues& locale, const ReportFigures& figures,
                            const std::vector<PlanToPrice>& plans, const CompareControl& control = {});

// The configuration the figures of a comparison are made with: costs on,
// whatever the Costs options say, so that the actual figures are there.
Configuration ConfigurationForComparison(const Configuration& config);

// A candidate plan from a configuration JSON file holding exactly one
// service (only "Services" is read; the service must be complete as the
// service editor would have it). False with a message in `error` otherwise.
bool CandidatePlanFromJson(const QByteArray& json, PlanToPrice& out, QString& error);

}  // namespace mirolat
