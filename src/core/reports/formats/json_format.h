#pragma once
// The run and both reports as JSON, for scripts and tests: the same bytes as
// an indented QJsonDocument of them (members in key order, four blanks a
// level), written as a stream without building the document in memory.
//
// Top level: DetailRows, Details, ErrorsFound, IncompleteTariffs, LinesRead,
// LogCorrupt, ServiceTotals, ServiceTotalsCount, SessionCount, Sessions,
// Summary, TooManyConnections, TooManyServices and format_version (2). A
// DetailRow holds a listed session's Index, Seconds, Notes (before tidying),
// its Cost split into DialCost, ServiceCost and DataCost, the Tariffs its
// dial-up walk met (Tariff, Description, Seconds, Cost) and the
// MinimumChargeTariff; the money, the tariffs and the minimum are null when
// costs are off, the minimum also when none was taken.
#include "core/reports/formats/report_format.h"

namespace mirolat {

class JsonFormat final : public ReportFormat {
 public:
  QString Id() const override { return QStringLiteral("json"); }
  QString FileFilter() const override { return QStringLiteral("JSON files (*.json)"); }
  QString Extension() const override { return QStringLiteral("json"); }
  ReportNeeds Needs() const override { return ReportNeeds::Both; }
  void Write(const ReportDocument& document, const ReportSink& sink) const override;
};

// The version format_version carries: 2 added the tariffs and the minimum
// charge to each DetailRow.
inline constexpr int kReportJsonVersion = 2;

}  // namespace mirolat
