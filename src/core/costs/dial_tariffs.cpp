#include "core/costs/dial_tariffs.h"

#include <algorithm>
#include <cmath>

#include "core/model/service_lookup.h"

namespace mirolat {

namespace {

// The last second a tariff window covers: its end minute plus 59 seconds.
TimeOfDay WindowEnd(const Tariff& tariff) { return tariff.AppliesTimeEnd + 59; }

void Annotate(QString* notes, const Tariff& tariff) {
  if (notes && !notes->contains(tariff.Description)) {
    notes->append(QStringLiteral(" - "));
    notes->append(tariff.Description);
  }
}

// A plain amount's result: a negative amount is flagged and shown positive.
DialCostResult FromAmount(double amount) {
  if (amount < 0) return {-amount, true};
  return {amount, false};
}

}  // namespace

int DayNumber(QStringView shortDayName, const LocaleValues& locale) {
  for (int i = 0; i < 7; ++i) {
    if (locale.ShortDayNames[static_cast<size_t>(i)] == shortDayName) return i + 1;
  }
  return 8;
}

bool IsHoliday(Date date, const Configuration& config) {
  const int used = std::clamp(config.UsedHolidays, 0, kMaxHolidays);
  for (int i = 0; i < used; ++i) {
    if (config.Holidays[static_cast<size_t>(i)] == date) return true;
  }
  return false;
}

bool TariffAppliesOn(Date date, const QString& appliesDays, const Configuration& config, const LocaleValues& locale) {
  if (appliesDays == u"Holidays") return IsHoliday(date, config);
  if (appliesDays == u"Everyday") return true;
  const QString& name = locale.LongDayNames[static_cast<size_t>(WeekdayIndex(date))];
  if (appliesDays == name) return true;
  for (const QString& other : locale.LongDayNames) {
    if (appliesDays == other) return false;
  }
  const QStringView days(appliesDays);
  const int first = DayNumber(days.left(3), locale);
  const int last = DayNumber(days.right(3), locale);
  const int today = DayNumber(QStringView(name).left(3), locale);
  return first <= today && today <= last;
}

double CalcTariffTimeCost(const Configuration& config, int serviceIndex, int tariffNumber, qint32 seconds,
                          bool applyThreshold) {
  const Tariff& tariff =
      config.Services.at(static_cast<size_t>(serviceIndex)).Tariffs.at(static_cast<size_t>(tariffNumber - 1));
  qint64 chargeable = std::max<qint64>(seconds, 0);
  if (applyThreshold) chargeable = std::max<qint64>(chargeable - tariff.After, 0);
  return static_cast<double>(chargeable) / 60.0 * tariff.PerMinuteRate;
}

DialCostResult CalcDialCost(const PricingContext& ctx, QStringView number, Date startDate, TimeOfDay startTime,
                            Date endDate, TimeOfDay endTime, int sessionIndex) {
  QString* notes = nullptr;
  if (sessionIndex > 0 && ctx.sessions && static_cast<size_t>(sessionIndex) < ctx.sessions->Sessions.size()) {
    notes = &ctx.sessions->Sessions[static_cast<size_t>(sessionIndex)].Notes;
  }
  return CalcDialCost(ctx, number, startDate, startTime, endDate, endTime, notes);
}

DialCostResult CalcDialCost(const PricingContext& ctx, QStringView number, Date startDate, TimeOfDay startTime,
                            Date endDate, TimeOfDay endTime, QString* notes, DialWalkTrace* trace) {
  if (trace) *trace = DialWalkTrace{};
  const Configuration& config = *ctx.config;
  const int serviceIndex = FindServiceByNumber(config, number);
  if (serviceIndex < 0) return FromAmount(config.DialCost);
  const Service& service = config.Services[static_cast<size_t>(serviceIndex)];
  if (service.DialOption == 1) return FromAmount(service.DialFixedTariff);
  if (service.DialOption != 2) return {};

  const int usedTariffs = std::clamp(service.UsedTariffs, 0, kMaxTariffs);
  // A time-segmented service without a tariff covers nothing.
  if (usedTariffs == 0) return {0, true};

  const Date rangeStart = ctx.ReportStartDate;
  const Date rangeEnd = ctx.ReportEndDate;
  Date d = startDate;
  TimeOfDay t = startTime;
  double sum = 0;
  bool minimumTaken = false;
  bool threshold = true;
  bool finished = false;
  bool complete = false;
  int misses = 0;

  // The trace's entry of tariff i, made when the walk first meets it.
  auto traced = [&](int i) -> DialTariffCharge& {
    for (DialTariffCharge& c : trace->Tariffs) {
      if (c.Tariff == i) return c;
    }
    trace->Tariffs.push_back(DialTariffCharge{i, 0, 0});
    return trace->Tariffs.back();
  };
  auto charge = [&](int i, TimeOfDay from, TimeOfDay to) {
    const qint32 seconds = std::max(to - from, 0);
    const double cost = CalcTariffTimeCost(config, serviceIndex, i, seconds, threshold);
    sum += cost;
    Annotate(notes, service.Tariffs[static_cast<size_t>(i - 1)]);
    if (trace) {
      DialTariffCharge& c = traced(i);
      c.Seconds += seconds;
      c.Cost += cost;
    }
  };
  auto advancePast = [&](TimeOfDay e) {
    t = (e >= kLastSecondOfDay) ? 0 : e + 1;
    if (t == 0) ++d;
  };

  while (!finished) {
    misses = 0;
    const int count = usedTariffs;
    for (int i = 1; i <= count; ++i) {
      const Tariff& tariff = service.Tariffs[static_cast<size_t>(i - 1)];
      bool rangeCheck = false;
      for (;;) {  // visiting tariff i; `continue` visits it again from the top
        if (!TariffAppliesOn(d, tariff.AppliesDays, config, *ctx.locale)) break;
        if (tariff.AppliesTimeStart > t) {
          rangeCheck = true;
          break;
        }
        if (!minimumTaken) {
          sum += tariff.DialRate;
          minimumTaken = true;
          if (trace) {
            traced(i).Cost += tariff.DialRate;
            trace->MinimumChargeTariff = i;
          }
        }
        if (endDate == d && endDate <= rangeEnd && d >= rangeStart) {
          // The session ends today, inside the range.
          const TimeOfDay e = WindowEnd(tariff);
          if (endTime <= e) {
            charge(i, t, endTime);
            finished = complete = true;
            rangeCheck = true;
          } else if (t > e) {
            // the window is already behind us: next tariff
          } else {
            charge(i, t, e);
            threshold = false;
            misses = 0;
            advancePast(e);
            rangeCheck = true;
          }
          break;
        }
        if (d < rangeStart) {
          // Time before the range is not charged: no minimum charge, no threshold.
          d = rangeStart;
          t = 0;
          threshold = false;
          minimumTaken = true;
          sum = 0;
          if (trace) *trace = DialWalkTrace{};
          continue;
        }
        if (d <= rangeEnd) {
          if (endDate < d) {
            // The session ended before the day the walk has reached: nothing
            // more to charge.
            finished = complete = true;
            break;
          }
          TimeOfDay e;
          if (endDate > d || endTime > tariff.AppliesTimeEnd) {
            e = WindowEnd(tariff);
          } else {
            e = endTime;
            complete = true;
          }
          if (t > e) break;
          charge(i, t, e);
          threshold = false;
          misses = 0;
          advancePast(e);
          continue;
        }
        rangeCheck = true;
        break;
      }
      if (rangeCheck && d > rangeEnd) finished = complete = true;
      // Next tariff.
      if (finished) break;
      ++misses;
      if (misses >= count) finished = true;
    }
  }

  if (complete) return FromAmount(sum);
  return FromAmount(0 - sum);
}

float SessionSecondsInRange(Session& session, Date reportStartDate, Date reportEndDate) {
  const qint64 connect = static_cast<qint64>(session.ConnectDate) * kSecondsPerDay + session.ConnectTime;
  const qint64 disconnect = static_cast<qint64>(session.DisconnectDate) * kSecondsPerDay + session.DisconnectTime;
  if (disconnect < connect) return 0;
  if (session.ConnectDate == session.DisconnectDate) {
    return static_cast<float>(session.DisconnectTime - session.ConnectTime);
  }
  qint64 s = 0;
  if (session.ConnectDate + 1 < session.DisconnectDate) {
    s = static_cast<qint64>(session.DisconnectDate - session.ConnectDate - 1) * kSecondsPerDay;
  }
  if (session.ConnectDate >= reportStartDate) {
    session.Notes = QStringLiteral(" Time prior to midnight");
    s += kLastSecondOfDay - session.ConnectTime + 1;
  }
  if (session.DisconnectDate <= reportEndDate) {
    if (s == 0) {
      session.Notes = QStringLiteral(" Time from midnight");
    } else {
      session.Notes.clear();
    }
    s += session.DisconnectTime;
  }
  return static_cast<float>(s);
}

}  // namespace mirolat
