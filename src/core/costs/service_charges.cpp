#include "core/costs/service_charges.h"

#include <algorithm>
#include <cmath>

#include "core/model/service_lookup.h"
#include "core/model/configuration.h"

namespace mirolat {

namespace {

constexpr double kBytesPerMegabyte = 1024.0 * 1024.0;

const Service* ServiceFor(const PricingContext& ctx, QStringView number, int* index) {
  *index = FindServiceByNumber(*ctx.config, number);
  if (*index < 0) return nullptr;
  return &ctx.config->Services[static_cast<size_t>(*index)];
}

}  // namespace

int PeriodNumber(Date date, QStringView periodName, Date reportStartDate) {
  const int days = date - reportStartDate;
  if (periodName == u"Day") return days;
  if (periodName == u"Week") return days / 7;
  if (periodName == u"Month") {
    const Date oneMonthLater = FromQDate(ToQDate(reportStartDate).addMonths(1));
    const int monthDays = std::max(oneMonthLater - reportStartDate, 1);
    return days / monthDays;
  }
  return 0;
}

double SecondsToHours(float seconds) { return static_cast<double>(seconds) / 3600.0; }

double CalcServiceTimeCost(const PricingContext& ctx, QStringView number, qint32 seconds, Date startDate) {
  int index = -1;
  const Service* service = ServiceFor(ctx, number, &index);
  const auto hours = [](qint64 s) { return SecondsToHours(static_cast<float>(s)); };
  if (!service) return ctx.config->CostPerHour * hours(seconds);
  if (service->ServiceOption == 1) return service->ServiceRate * hours(seconds);
  if (service->ServiceOption != 2) return 0;

  const qint64 allowance = static_cast<qint64>(service->UpToHours) * 3600;
  const Date date = std::max(startDate, ctx.ReportStartDate);
  const int period = PeriodNumber(date, service->PenaltyPeriod, ctx.ReportStartDate);
  PeriodUsage::Cell& cell = ctx.usage->At(period, index);
  cell.Seconds += seconds;
  if (cell.Seconds > allowance) {
    const qint64 within = std::max<qint64>(seconds - (cell.Seconds - allowance), 0);
    return service->FlexRate * hours(within) + service->FlexRate2 * hours(seconds - within);
  }
  return service->FlexRate * hours(seconds);
}

double CalcServiceDataCost(const PricingContext& ctx, QStringView number, double bytes, Date startDate) {
  if (bytes == 0) return 0;
  int index = -1;
  const Service* service = ServiceFor(ctx, number, &index);
  if (!service) return bytes / 1024 / 1024 * ctx.config->CostPerMeg;

  const double threshold = std::nearbyint(service->AfterMeg * kBytesPerMegabyte);
  const Date date = std::max(startDate, ctx.ReportStartDate);
  const int period = PeriodNumber(date, service->MegPeriod, ctx.ReportStartDate);
  PeriodUsage::Cell& cell = ctx.usage->At(period, index);
  if (service->MegPeriod == u"Session") cell.Bytes = 0;
  cell.Bytes = static_cast<qint64>(std::nearbyint(static_cast<double>(cell.Bytes) + bytes));
  const double counter = static_cast<double>(cell.Bytes);
  if (counter > threshold) {
    const double charged = std::min(bytes, counter - threshold);
    return charged / 1024 / 1024 * service->PerMeg;
  }
  return 0;
}

}  // namespace mirolat
