#include "core/reports/formats/report_format.h"

#include "core/reports/formats/csv_format.h"
#include "core/reports/formats/html_format.h"
#include "core/reports/formats/json_format.h"
#include "core/reports/formats/text_format.h"

namespace mirolat {

SinkText::SinkText(const ByteSink& sink) : sink_(sink) { buffer_.reserve(kPiece + 4096); }

void SinkText::Flush() {
  if (buffer_.isEmpty()) return;
  sink_(buffer_.toUtf8());
  buffer_.clear();
}

void SinkText::Write(QStringView text) {
  Flush();
  while (!text.isEmpty()) {
    qsizetype n = std::min(text.size(), kPiece);
    if (n < text.size() && text[n - 1].isHighSurrogate()) ++n;
    sink_(text.first(n).toUtf8());
    text = text.sliced(n);
  }
}

std::vector<std::shared_ptr<const ReportFormat>> CoreReportFormats() {
  return {std::make_shared<TextFormat>(), std::make_shared<CsvFormat>(CsvLayout::Standard),
          std::make_shared<CsvFormat>(CsvLayout::Locale), std::make_shared<JsonFormat>(), std::make_shared<HtmlFormat>()};
}

std::shared_ptr<const ReportFormat> FormatForFileName(const std::vector<std::shared_ptr<const ReportFormat>>& formats,
                                                      const QString& fileName) {
  const qsizetype dot = fileName.lastIndexOf(QLatin1Char('.'));
  if (dot < 0 || fileName.indexOf(QLatin1Char('/'), dot) >= 0) return nullptr;
  QString suffix = fileName.sliced(dot + 1).toLower();
  if (suffix == QLatin1String("htm")) suffix = QStringLiteral("html");
  for (const auto& format : formats) {
    if (format->Extension() == suffix) return format;
  }
  return nullptr;
}

std::shared_ptr<const ReportFormat> FormatWithId(const std::vector<std::shared_ptr<const ReportFormat>>& formats,
                                                 const QString& id) {
  for (const auto& format : formats) {
    if (format->Id() == id) return format;
  }
  return nullptr;
}

}  // namespace mirolat
