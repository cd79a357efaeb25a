#include "core/reports/formats/text_format.h"

namespace mirolat {

void TextFormat::Write(const ReportDocument& document, const ReportSink& sink) const {
  const ReportModel* model = document.shown == ReportKind::Details ? document.details : document.summary;
  if (model == nullptr) return;
  SinkText out(sink);
  out.Write(model->Text);
  out.buffer() += QLatin1Char('\n');
  out.Flush();
}

}  // namespace mirolat
