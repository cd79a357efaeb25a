#pragma once
// Everything one pricing pass needs besides the session itself: the
// configuration, the locale's day names, the report range, the usage counters
// of the pass (service charges) and, optionally, the session table whose notes
// the dial-up tariff walk annotates.
#include "core/common/dates.h"

namespace mirolat {

struct Configuration;
struct LocaleValues;
class PeriodUsage;
struct SessionTable;

struct PricingContext {
  const Configuration* config = nullptr;
  const LocaleValues* locale = nullptr;  // day names for AppliesDays
  Date ReportStartDate = 0;
  Date ReportEndDate = 0;
  PeriodUsage* usage = nullptr;      // required by the time and data charges
  SessionTable* sessions = nullptr;  // optional: notes annotated by session index
};

}  // namespace mirolat
