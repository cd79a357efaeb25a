#pragma once
// The report as one self-contained HTML page: UTF-8, its own style sheet, no
// script and nothing fetched from elsewhere, readable in any browser and
// printable (the table's head repeats on each printed page, no row is split
// across pages). The header panel's values, then the list's cells as the
// report window shows them, the totals in the table's foot; a Details
// session's rows carry the explanation of its cost as their title.
#include "core/reports/formats/report_format.h"

namespace mirolat {

class HtmlFormat final : public ReportFormat {
 public:
  QString Id() const override { return QStringLiteral("html"); }
  QString FileFilter() const override { return QStringLiteral("HTML files (*.html *.htm)"); }
  QString Extension() const override { return QStringLiteral("html"); }
  ReportNeeds Needs() const override { return ReportNeeds::Shown; }
  bool NeedsListRows() const override { return true; }
  void Write(const ReportDocument& document, const ByteSink& sink) const override;
};

// Whether a column's cells are figures (times, counts, amounts, days), which
// the exported tables right-align.
bool IsFigureColumn(const ReportColumn& column);

}  // namespace mirolat
