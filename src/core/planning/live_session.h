#pragma once
// The session in progress and the running totals: a log whose last connect
// has no disconnect after it is connected now. Its cost so far is what the
// dial-up tariffs and the service's time charge make of it from the connect
// up to now; today's and the overall billing cycle's totals add it to the
// sessions that ended, priced as a report of that range prices them. A
// connect older than the run reads back (MaxConnectDays before today) is not
// taken for a session in progress.
#include <QByteArrayView>
#include <QString>
#include <QStringList>
#include <optional>

#include "core/common/dates.h"
#include "core/common/locale_values.h"
#include "core/model/configuration.h"
#include "core/planning/billing_cycle.h"

namespace mirolat {

struct LiveSession {
  QString Number;       // the dialled number, "Answered Call" or "Unknown Service"
  QString ServiceName;  // the service that has the number, else the number itself
  Date ConnectDate = 0;
  TimeOfDay ConnectTime = 0;
  qint64 Seconds = 0;  // connected up to now
  double Cost = 0;     // dial-up charge and the service's time charge up to now
  bool operator==(const LiveSession&) const = default;
};

struct UsageTotals {
  double Cost = 0;
  qint64 Seconds = 0;
  int Sessions = 0;
  bool operator==(const UsageTotals&) const = default;
};

struct LiveStatus {
  std::optional<LiveSession> Session;  // none: not connected
  Date Today = 0;
  BillingCycle Cycle;       // the overall cycle that holds today
  UsageTotals TodayTotals;  // the sessions of today, the one in progress included
  UsageTotals CycleTotals;  // the same over the cycle up to today
  bool operator==(const LiveStatus&) const = default;
};

// The standing of the log `text` on `today` at `now`.
LiveStatus LiveStatusOfLog(const Configuration& config, const LocaleValues& locale, QByteArrayView text, Date today,
                           TimeOfDay now);
// The same for the file at `path`; none when it cannot be read.
std::optional<LiveStatus> LiveStatusOfFile(const Configuration& config, const LocaleValues& locale,
                                           const QString& path, Date today, TimeOfDay now);

// The standing as the tray shows it, a line each: the session in progress
// ("Connected: Provider A (5551234)", "Since 11:30:00 (00:30:00), $0.60 so far") or
// "No connection", then "Today: ..." and "This cycle (1–31 Mar): ...";
// amounts of money only with `withCosts`.
QStringList LiveStatusLines(const LiveStatus& status, const LocaleValues& locale, bool withCosts);

}  // namespace mirolat
