// Configuration JSON import over arbitrary bytes. A refused document must say
// why and leave the target untouched; an accepted one must export and import
// again to the same record.
#include <QByteArray>
#include <cstdint>

#include "core/settings/config_json.h"

using namespace mirolat;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const QByteArray json = QByteArray::fromRawData(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
  const Configuration base;
  Configuration out;
  out.ModemLogFile = QStringLiteral("untouched");
  QString error;
  if (!ConfigurationFromJson(json, base, out, error)) {
    if (error.isEmpty() || out.ModemLogFile != QLatin1String("untouched")) __builtin_trap();
    return 0;
  }
  const QByteArray again = ConfigurationToJson(out);
  Configuration roundTrip;
  if (!ConfigurationFromJson(again, base, roundTrip, error)) __builtin_trap();
  if (ConfigurationToJson(roundTrip) != again) __builtin_trap();
  return 0;
}
