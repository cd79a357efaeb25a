#pragma once
// The status-bar text an analysis run ends with: the finished text when it
// went through, otherwise what stopped it.
#include <QString>

#include "core/analysis/session_builder.h"

namespace mirolat {

QString RunEndText(const RunState& run);

}  // namespace mirolat
