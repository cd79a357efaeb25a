#pragma once
// The report command's JSON, written as a stream: the same bytes as an
// indented QJsonDocument of the run and both reports (members in key order,
// four blanks a level), without building the document in memory.
#include <QTextStream>
#include <vector>

#include "core/analysis/session_builder.h"
#include "core/reports/details_report.h"
#include "core/reports/report_model.h"

namespace mirolat::cli {

struct ReportJsonInput {
  const RunState* run = nullptr;  // the run's flags and per-number totals
  bool ran = false;               // false: the run never started (counts 0, lists empty)
  bool logCorrupt = false;        // the run's or the start-up check's
  // Sessions 1..n as the run left them, before the Details report rewrote notes.
  const std::vector<Session>* sessions = nullptr;
  int sessionCount = 0;
  const ReportModel* summary = nullptr;        // null: no report
  const DetailsReport* details = nullptr;      // null: no report
};

void WriteReportJson(QTextStream& out, const ReportJsonInput& in);

}  // namespace mirolat::cli
