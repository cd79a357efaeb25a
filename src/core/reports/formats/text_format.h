#pragma once
// The report's standard text, as the report window shows it, followed by one
// line end, in UTF-8: what Save As has always written.
#include "core/reports/formats/report_format.h"

namespace mirolat {

class TextFormat final : public ReportFormat {
 public:
  QString Id() const override { return QStringLiteral("text"); }
  QString FileFilter() const override { return QStringLiteral("Text files (*.txt)"); }
  QString Extension() const override { return QStringLiteral("txt"); }
  ReportNeeds Needs() const override { return ReportNeeds::Shown; }
  void Write(const ReportDocument& document, const ReportSink& sink) const override;
};

}  // namespace mirolat
