#pragma once
// The Summary report: one row per dialled number of the last analysis run
// (connected time, sessions, averages per session and per day, kilobytes
// read, cost), then totals.
#include "core/model/session_table.h"
#include "core/reports/report_figures.h"
#include "core/reports/report_model.h"

namespace mirolat {

// Builds both presentations from the per-number totals. Column widths come
// from the configuration's SummaryReport layout.
ReportModel BuildSummaryReport(const SessionTable& tables, const ReportInputs& inputs);
// The same report made of the figures' Numbers (the sessions are not read).
ReportModel BuildSummaryReport(const ReportFigures& figures, const ReportInputs& inputs);

// The per-number entries the Summary lists, first..last (first > last: none
// listed). Entries are listed when entry 0 has a number or any other entry
// exists; entry 0 leads only when it has connected time. `listed` tells
// whether the list holds rows and totals at all.
struct SummaryEntries {
  bool listed = false;
  int first = 1;
  int last = 0;
};
SummaryEntries ListedSummaryEntries(const SessionTable& tables);

// Widths in characters of the text's columns: Service, time, Sessions,
// Av/Session, Av/Day, Kilobytes, and Cost when costs are shown.
std::vector<int> SummaryTextWidths(const LocaleValues& locale, bool costsShown);

}  // namespace mirolat
