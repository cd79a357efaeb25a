#pragma once
// The configuration record the tests, the benchmarks and the fuzz targets
// share, so that each does not build its own.
#include "core/model/configuration.h"

namespace mirolat::test {

// A record the dialogs accept with every field away from its default: three
// services (tariffed and per call, flexi and flat) dialling the numbers of
// GenerateModemLog's log, texts with quotes,
// backslashes and characters beyond ASCII, two holidays (2025-12-25 and
// 2026-12-25) and the windows' settings.
Configuration SampleConfiguration();

// `c` made to price the log GenerateModemLog writes: the default response
// texts (the sample's services dial its numbers) and costs on.
Configuration ForGeneratedLog(Configuration c);

// `services` services of `tariffs` tariffs each and a hundred holidays, for
// the benchmarks; `longestTexts`: every name as long as its limit lets it be.
Configuration ScaledConfiguration(int services, int tariffs, bool longestTexts = false);

}  // namespace mirolat::test
