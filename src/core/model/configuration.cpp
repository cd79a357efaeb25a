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

bool HasStoredWindowSize(const ReportWindowSettings& s) {
  const ReportWindowSettings defaults;
  return s.WinWidth > 0 && s.WinHeight > 0 && !(s.WinWidth == defaults.WinWidth && s.WinHeight == defaults.WinHeight);
}

bool HasStoredWindowPlace(const ReportWindowSettings& s) {
  const ReportWindowSettings defaults;
  return (s.WinLeft != 0 || s.WinTop != 0) && !(s.WinLeft == defaults.WinLeft && s.WinTop == defaults.WinTop);
}

}  // namespace mirolat
