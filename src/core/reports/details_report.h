#pragma once
// The Details report: every session of the last analysis run with its
// connect and disconnect moments, its duration inside the report range, its
// cost split into dial-up, service and data charges, and its remarks. Each
// session is priced again with usage counters of the report's own.
#include <vector>

#include "core/common/progress.h"
#include "core/model/session_table.h"
#include "core/reports/report_figures.h"
#include "core/reports/report_model.h"

namespace mirolat {

// The figures of one listed session.
struct DetailFigures {
  int Index = 0;        // session number
  qint32 Seconds = 0;   // inside the report range
  double DialCost = 0;  // the four costs stay 0 when costs are not shown
  double ServiceCost = 0;
  double DataCost = 0;
  double Cost = 0;
  QString Notes;        // the session's notes as rewritten, before tidying
};

struct DetailsReport {
  ReportModel Model;
  std::vector<DetailFigures> Figures;  // each listed session, in order
  bool CostsShown = false;
};

// Builds both presentations from the session table: the figures
// (BuildReportFigures), then the report made of them. Adds to the notes of the
// sessions it lists the midnight remarks and tariff descriptions they do not
// hold yet, so building it again gives the same report. Progress gets "Processing . . . n%"
// as the percentage of sessions done changes. Column widths come from the
// configuration's DetailReport layout.
// Without listRows the model gets no list rows (the text, the header values
// and the figures only): for a caller that shows no list, such as the command
// line, which then needs a fraction of the memory.
DetailsReport BuildDetailsReport(SessionTable& tables, const ReportInputs& inputs, Progress& progress,
                                 bool listRows = true);
// The same report made of figures already built over inputs' range.
DetailsReport BuildDetailsReport(const ReportFigures& figures, const ReportInputs& inputs, bool listRows = true);

// Width in characters of the text's money column: 0 when costs are not shown.
int DetailsCostWidth(const LocaleValues& locale, bool costsShown);

}  // namespace mirolat
