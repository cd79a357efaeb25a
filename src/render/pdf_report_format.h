#pragma once
// The report as a PDF document on A4: a title block with the header panel's
// values, on the Summary's first page its daily and share charts, then the
// list's table, whose title row starts every page; no entry is split across
// pages, and each page ends with "Page n of m". Needs a QApplication (the
// fonts, and the charts' graphics scene); an offscreen one will do.
#include "core/reports/formats/report_format.h"

namespace mirolat {

class PdfReportFormat final : public ReportFormat {
 public:
  QString Id() const override { return QStringLiteral("pdf"); }
  QString FileFilter() const override { return QStringLiteral("PDF files (*.pdf)"); }
  QString Extension() const override { return QStringLiteral("pdf"); }
  ReportNeeds Needs() const override { return ReportNeeds::Shown; }
  bool NeedsListRows() const override { return true; }
  void Write(const ReportDocument& document, const ByteSink& sink) const override;
};

}  // namespace mirolat
