#include "render/report_formats.h"

#include "render/pdf_report_format.h"

namespace mirolat {

std::vector<std::shared_ptr<const ReportFormat>> AllReportFormats() {
  std::vector<std::shared_ptr<const ReportFormat>> formats = CoreReportFormats();
  formats.push_back(std::make_shared<PdfReportFormat>());
  return formats;
}

}  // namespace mirolat
