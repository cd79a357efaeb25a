#pragma once
// The telephone side of a session: a fixed charge per call, or a walk through
// the service's time-segmented tariffs (minimum charge, per-minute rate, free
// threshold, by day of the week, holiday and time of day); and how much of a
// session's connected time lies inside the report range.
#include <QString>
#include <QStringView>
#include <vector>

#include "core/common/dates.h"
#include "core/common/locale_values.h"
#include "core/costs/pricing_context.h"
#include "core/model/configuration.h"
#include "core/model/session_table.h"

namespace mirolat {

// The dial-up cost of a session. `incomplete` is set when the tariffs did not
// cover the whole session (then `cost` is what the covered part cost), and for
// a time-segmented service without any tariff (cost 0). `cost` is never
// negative.
struct DialCostResult {
  double cost = 0;
  bool incomplete = false;
  bool operator==(const DialCostResult&) const = default;
};

// What a tariff walk met: each tariff it charged, in the order first met,
// with the seconds it charged and their charge (the minimum charge included
// when it was that tariff's), and the tariff whose minimum charge was taken.
// Time before the report range is not charged and leaves no trace.
struct DialTariffCharge {
  int Tariff = 0;  // 1..10 within the service
  qint32 Seconds = 0;
  double Cost = 0;
  bool operator==(const DialTariffCharge&) const = default;
};
struct DialWalkTrace {
  std::vector<DialTariffCharge> Tariffs;
  int MinimumChargeTariff = 0;  // 0: no minimum charge taken
  bool operator==(const DialWalkTrace&) const = default;
};

// Prices the interval start..end of `number`. When `notes` is given, the walk
// appends " - " and each tariff's Description it charges (once per
// description) to it. When `trace` is given, it is cleared and then records
// the tariffs the walk met; the price is the same with or without it.
DialCostResult CalcDialCost(const PricingContext& ctx, QStringView number, Date startDate, TimeOfDay startTime,
                            Date endDate, TimeOfDay endTime, QString* notes, DialWalkTrace* trace = nullptr);
// The same, annotating session `sessionIndex` of ctx.sessions (0, or no table:
// nothing is annotated).
DialCostResult CalcDialCost(const PricingContext& ctx, QStringView number, Date startDate, TimeOfDay startTime,
                            Date endDate, TimeOfDay endTime, int sessionIndex);

// The per-minute part of one segment of tariff `tariffNumber` (1..10) of
// service `serviceIndex`: with the threshold flag the tariff's After seconds
// are free (fewer seconds give 0); then seconds / 60 x PerMinuteRate. A
// negative span charges nothing.
double CalcTariffTimeCost(const Configuration& config, int serviceIndex, int tariffNumber, qint32 seconds,
                          bool applyThreshold);

// Does a tariff with this AppliesDays text cover the date? "Everyday",
// "Holidays", a full day name, or a range of two short day names joined by " - ".
bool TariffAppliesOn(Date date, const QString& appliesDays, const Configuration& config, const LocaleValues& locale);

// 1..7 (Monday..Sunday) for a short day name of the locale, 8 for anything else.
int DayNumber(QStringView shortDayName, const LocaleValues& locale);

// True when the date is one of the first UsedHolidays holidays.
bool IsHoliday(Date date, const Configuration& config);

// Seconds of the session inside the report range, the Details report's
// measure: whole days between connect and disconnect count in full; the part
// before midnight counts when the connect day is in range, the part after
// midnight when the disconnect day is. May replace the session's Notes with
// " Time prior to midnight", " Time from midnight" or empty text. A session
// whose disconnect lies before its connect counts 0 (notes untouched).
float SessionSecondsInRange(Session& session, Date reportStartDate, Date reportEndDate);

}  // namespace mirolat
