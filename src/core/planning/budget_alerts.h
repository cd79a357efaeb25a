#pragma once
// Budget alerts: which thresholds of which budgets were newly passed in their
// current cycles, and the notice each gets. A notice is given once per budget,
// cycle, limit and threshold (the warning thresholds and the limit itself);
// a projection that passes a limit before the usage does gets one notice of
// its own in a cycle, once a quarter of the cycle has gone by (earlier the
// projection of a day or two says little). What was given is kept in the
// per-user settings, so that a restart does not repeat it; a new cycle
// starts with nothing given.
#include <QString>
#include <QStringList>
#include <vector>

#include "core/common/locale_values.h"
#include "core/planning/budget_status.h"

namespace mirolat {

class SettingsStore;

enum class AlertKind { Warning, Over, Projected };

struct BudgetAlert {
  AlertKind Kind = AlertKind::Warning;
  QString Key;    // what was given, as kept in the settings
  QString Title;  // "Budget warning: Provider A"
  QString Text;   // "85 % of the $30.00 budget used in the cycle 1–31 Jan; ..."
  bool operator==(const BudgetAlert&) const = default;
};

struct AlertCheck {
  std::vector<BudgetAlert> New;  // to give now: at most one per budget and limit, the highest passed
  QStringList Given;             // what is given in the budgets' current cycles, these included
};

// The notices `statuses` call for that are not among `given`. Given keys of
// cycles no status is in any more are dropped from the result's Given.
AlertCheck CheckBudgetAlerts(const std::vector<BudgetStatus>& statuses, const QStringList& given,
                             const LocaleValues& locale);

// "1–31 Jan", "15 Jan – 14 Feb", "15 Dec 2026 – 14 Jan 2027" in the locale's month names.
QString CycleText(const BillingCycle& cycle, const QLocale& locale);

// What was given, in the per-user settings (application MRL, section "Budget Alerts").
QStringList ReadGivenAlerts(SettingsStore& store);
void WriteGivenAlerts(SettingsStore& store, const QStringList& given);

}  // namespace mirolat
