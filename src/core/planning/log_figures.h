#pragma once
// The figures of a log over a range of days, made without a window: an
// analysis run of the file and the report figures of the run. Failures to
// read are not asked about: the run goes on without the file.
#include <QString>
#include <optional>

#include "core/common/dates.h"
#include "core/common/locale_values.h"
#include "core/model/configuration.h"
#include "core/reports/report_figures.h"

namespace mirolat {

// None when the log cannot be read or the run stopped (too many services or
// connections, a corrupt line).
std::optional<ReportFigures> FiguresOfLog(const Configuration& config, const LocaleValues& locale,
                                          const QString& logPath, Date first, Date last);

}  // namespace mirolat
