#include "core/model/configuration.h"

namespace mirolat {

ReportWindowSettings DefaultSummaryReportSettings() {
  ReportWindowSettings s;
  s.Columns = {1000, 1000, 700, 1000, 1000, 1000, 0};
  return s;
}

ReportWindowSettings DefaultDetailReportSettings() {
  ReportWindowSettings s;
  s.Columns = {1000, 1000, 700, 1000, 1000, 2000, 1000};
  return s;
}

}  // namespace mirolat
