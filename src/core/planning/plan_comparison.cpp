#include "core/planning/plan_comparison.h"

#include <algorithm>

#include "core/costs/dial_tariffs.h"
#include "core/costs/service_charges.h"
#include "core/model/service_lookup.h"
#include "core/settings/config_json.h"

namespace mirolat {

namespace {

// The number the plan answers to in its own configuration copy.
const QString& PlanNumber() {
  static const QString number = QStringLiteral("plan");
  return number;
}

// The configuration a plan is priced in: the user's own (holidays, general
// costs) with the plan as its only service.
Configuration PlanConfiguration(const Configuration& config, const Service& plan) {
  Configuration copy = config;
  copy.CalcCosts = true;
  copy.Services.assign(1, plan);
  copy.Services.front().ServiceNumber = PlanNumber();
  copy.UsedServices = 1;
  return copy;
}

QString PlanName(const Service& plan) {
  const QString name = plan.ServiceName.trimmed();
  return name.isEmpty() ? plan.ServiceNumber.trimmed() : name;
}

// Prices one plan over the counted sessions; false when cancelled.
bool Price(const Configuration& config, const LocaleValues& locale, const ReportFigures& figures,
           const PlanToPrice& plan, const std::function<bool(const SessionFigures&)>& include,
           const std::function<bool()>& onSession, PlanPrice& out) {
  const Configuration planConfig = PlanConfiguration(config, plan.Plan);
  PeriodUsage usage;
  PricingContext ctx;
  ctx.config = &planConfig;
  ctx.locale = &locale;
  ctx.ReportStartDate = figures.ReportStartDate;
  ctx.ReportEndDate = figures.ReportEndDate;
  ctx.usage = &usage;
  out = PlanPrice{};
  out.Name = PlanName(plan.Plan);
  out.ConfiguredService = plan.ConfiguredService;
  const QString& number = PlanNumber();
  for (const SessionFigures& s : figures.Sessions) {
    if (onSession && !onSession()) return false;
    if (!CountsForPlans(s, config) || (include && !include(s))) continue;
    const DialCostResult dial = CalcDialCost(ctx, number, s.ConnectDate, s.ConnectTime, s.DisconnectDate,
                                             s.DisconnectTime, static_cast<QString*>(nullptr));
    const double time = CalcServiceTimeCost(ctx, number, s.Seconds, s.ConnectDate);
    const double data = CalcServiceDataCost(ctx, number, double(s.BytesRead), s.ConnectDate);
    out.DialCost += dial.cost;
    out.TimeCost += time;
    out.DataCost += data;
    out.Total += dial.cost + time + data;
    out.IncompleteTariffs = out.IncompleteTariffs || dial.incomplete;
    out.Actual += s.Cost;
    ++out.Sessions;
  }
  return true;
}

}  // namespace

std::vector<PlanToPrice> ConfiguredPlans(const Configuration& config) {
  std::vector<PlanToPrice> plans;
  const int used = std::min<int>(config.UsedServices, int(config.Services.size()));
  for (int i = 0; i < used; ++i) plans.push_back(PlanToPrice{config.Services[std::size_t(i)], i});
  return plans;
}

bool CountsForPlans(const SessionFigures& session, const Configuration& config) {
  return !session.Answered && FindServiceByNumber(config, session.DialledNumber) >= 0;
}

PlanPrice PricePlan(const Configuration& config, const LocaleValues& locale, const ReportFigures& figures,
                    const PlanToPrice& plan, const std::function<bool(const SessionFigures&)>& include) {
  PlanPrice price;
  Price(config, locale, figures, plan, include, {}, price);
  return price;
}

PlanComparison ComparePlans(const Configuration& config, const LocaleValues& locale, const ReportFigures& figures,
                            const std::vector<PlanToPrice>& plans, const CompareControl& control) {
  PlanComparison result;
  for (const SessionFigures& s : figures.Sessions) {
    if (CountsForPlans(s, config)) {
      ++result.SessionsCounted;
      result.Actual += s.Cost;
    } else if (s.Answered) {
      ++result.AnsweredLeftOut;
    } else {
      ++result.UnknownLeftOut;
    }
  }

  // Progress over every session of every plan.
  const qint64 steps = std::max<qint64>(qint64(figures.Sessions.size()) * qint64(plans.size()), 1);
  qint64 done = 0;
  int shown = -1;
  const auto onSession = [&]() {
    if (control.cancel && control.cancel->load(std::memory_order_relaxed)) return false;
    const int percent = int(++done * 100 / steps);
    if (percent != shown) {
      shown = percent;
      if (control.percent) control.percent(percent);
    }
    return true;
  };
  result.Plans.reserve(plans.size());
  for (const PlanToPrice& plan : plans) {
    PlanPrice price;
    if (!Price(config, locale, figures, plan, {}, onSession, price)) {
      result.Plans.clear();
      result.Cancelled = true;
      return result;
    }
    result.Plans.push_back(std::move(price));
  }
  std::stable_sort(result.Plans.begin(), result.Plans.end(),
                   [](const PlanPrice& a, const PlanPrice& b) { return a.Total < b.Total; });
  if (control.percent && shown < 100) control.percent(100);
  return result;
}

Configuration ConfigurationForComparison(const Configuration& config) {
  Configuration copy = config;
  copy.CalcCosts = true;
  return copy;
}

bool CandidatePlanFromJson(const QByteArray& json, PlanToPrice& out, QString& error) {
  Configuration read;
  if (!ConfigurationFromJson(json, Configuration{}, read, error)) return false;
  const int used = std::min<int>(read.UsedServices, int(read.Services.size()));
  if (used != 1) {
    error = used == 0 ? QStringLiteral("the file holds no service: a plan is one entry of \"Services\"")
                      : QStringLiteral("the file holds %1 services: a plan file holds exactly one").arg(used);
    return false;
  }
  out = PlanToPrice{read.Services.front(), -1};
  return true;
}

}  // namespace mirolat
