#include "core/model/service_lookup.h"

#include <algorithm>

#include "core/model/session_table.h"

namespace mirolat {

int FindServiceByNumber(const Configuration& config, QStringView number) {
  const QStringView wanted = TrimBlanks(number);
  const int used = std::min<int>(config.UsedServices, static_cast<int>(config.Services.size()));
  for (int i = 0; i < used; ++i) {
    if (config.Services[static_cast<size_t>(i)].ServiceNumber == wanted) return i;
  }
  return -1;
}

QString ServiceDisplayName(const Configuration& config, const QString& number) {
  const int index = FindServiceByNumber(config, number);
  if (index < 0) return number;
  const QString& name = config.Services[static_cast<size_t>(index)].ServiceName;
  const QStringView trimmed = TrimBlanks(name);
  return trimmed.size() == name.size() ? name : trimmed.toString();
}

}  // namespace mirolat
