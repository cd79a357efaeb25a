#pragma once
// What every record the program goes on with must hold, whatever it was read
// from: counts within their limits and a service table of MaxServices + 1.
#include "core/model/configuration.h"

namespace mirolat {

inline bool WithinRecordLimits(const Configuration& c) {
  if (c.MaxServices < 0 || c.UsedServices < 0 || c.UsedServices > c.MaxServices ||
      c.Services.size() != static_cast<size_t>(c.MaxServices) + 1 || c.UsedHolidays < 0 ||
      c.UsedHolidays > kMaxHolidays) {
    return false;
  }
  for (int n = 0; n < c.UsedServices; ++n) {
    const int tariffs = c.Services[static_cast<size_t>(n)].UsedTariffs;
    if (tariffs < 0 || tariffs > kMaxTariffs) return false;
  }
  return true;
}

}  // namespace mirolat
