#pragma once
// Every format a report can be saved in where the program can draw: the
// core's (text, CSV, JSON, HTML) and PDF.
#include "core/reports/formats/report_format.h"

namespace mirolat {

std::vector<std::shared_ptr<const ReportFormat>> AllReportFormats();

}  // namespace mirolat
