// The configuration record's image read from arbitrary bytes, as a damaged
// or foreign piece of a settings store would give it. A decode either refuses
// the bytes and leaves the record alone, or gives a record the program can
// hold (counts within their limits, a service table of MaxServices + 1) that
// encodes and decodes again to itself.
#include <cstdint>

#include "core/settings/record_image.h"
#include "record_limits.h"

using namespace mirolat;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const QByteArrayView bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
  Configuration config;
  config.Holidays.fill(7);
  const Configuration before = config;
  RecordImageFacts facts;
  if (!DecodeRecordImage(bytes, config, facts)) {
    if (!(config == before)) __builtin_trap();
    return 0;
  }
  if (!WithinRecordLimits(config)) __builtin_trap();
  // Holidays beyond the used ones are not the image's to set.
  for (int n = config.UsedHolidays; n < kMaxHolidays; ++n) {
    if (config.Holidays[static_cast<size_t>(n)] != 7) __builtin_trap();
  }
  Configuration again = before;
  RecordImageFacts factsAgain;
  if (!DecodeRecordImage(EncodeRecordImage(config, facts), again, factsAgain)) __builtin_trap();
  // NaN amounts never equal themselves; compare the images instead.
  if (EncodeRecordImage(again, factsAgain) != EncodeRecordImage(config, facts)) __builtin_trap();
  return 0;
}
