#include "ui/dialogs/printer_dialog.h"

#include <QPrintDialog>
#include <QPrinter>
#include <QFontMetricsF>
#include <QPainter>
#include <algorithm>
#include <deque>
#include <optional>

#include "ui/dialogs/unattended.h"

namespace mirolat {

namespace {

struct PrinterDialogState {
  std::deque<std::optional<QString>> next;  // a PDF path, or nothing for Cancel
  int requests = 0;
};

PrinterDialogState& State() {
  static PrinterDialogState state;
  return state;
}

}  // namespace

bool PrinterDialog::Choose(QPrinter& printer, QWidget* parent) {
  PrinterDialogState& state = State();
  ++state.requests;
  if (!state.next.empty()) {
    const std::optional<QString> pdf = state.next.front();
    state.next.pop_front();
    if (!pdf) return false;
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(*pdf);
    return true;
  }
  if (Unattended()) return false;
  QPrintDialog dialog(&printer, parent);
  return dialog.exec() == QDialog::Accepted;
}

void PrinterDialog::setNextPdfFile(const QString& pdfPath) { State().next.emplace_back(pdfPath); }
void PrinterDialog::setNextCancel() { State().next.emplace_back(std::nullopt); }
void PrinterDialog::clearNext() { State().next.clear(); }
int PrinterDialog::requestCount() { return State().requests; }
void PrinterDialog::clearRequestCount() { State().requests = 0; }

PageFit FitTextToPage(double pageWidth, double textWidth) {
  PageFit fit;
  if (pageWidth <= 0 || textWidth <= 0) return fit;
  if (textWidth > pageWidth) fit.scale = pageWidth / textWidth;
  fit.left = (pageWidth - textWidth * fit.scale) / 2;
  return fit;
}

void PrintPlainText(QPrinter& printer, const QString& text, const QFont& font) {
  // Equal margins all round; what is left over across the page goes to both
  // sides alike.
  constexpr double kMarginMm = 15;
  printer.setPageMargins(QMarginsF(kMarginMm, kMarginMm, kMarginMm, kMarginMm), QPageLayout::Millimeter);
  QPainter painter;
  if (!painter.begin(&printer)) return;
  const QRectF page = printer.pageLayout().paintRectPixels(printer.resolution());
  const QStringList lines = text.split(QLatin1Char('\n'));
  QFont printed = font;
  QFontMetricsF metrics(printed, &printer);
  double widest = 0;
  for (const QString& line : lines) widest = std::max(widest, metrics.horizontalAdvance(line));
  const PageFit fit = FitTextToPage(page.width(), widest);
  if (fit.scale < 1) {
    printed.setPointSizeF(printed.pointSizeF() * fit.scale);
    metrics = QFontMetricsF(printed, &printer);
  }
  painter.setFont(printed);
  const double lineHeight = metrics.lineSpacing();
  double y = 0;
  for (const QString& line : lines) {
    if (y + lineHeight > page.height() && y > 0) {
      printer.newPage();
      y = 0;
    }
    painter.drawText(QPointF(fit.left, y + metrics.ascent()), line);
    y += lineHeight;
  }
  painter.end();
}

}  // namespace mirolat
