#include "ui/dialogs/printer_dialog.h"

#include <QPrintDialog>
#include <QPrinter>
#include <QTextDocument>
#include <QTextOption>
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

void PrintPlainText(QPrinter& printer, const QString& text, const QFont& font) {
  QTextDocument document;
  document.setDefaultFont(font);
  QTextOption option = document.defaultTextOption();
  option.setWrapMode(QTextOption::NoWrap);
  document.setDefaultTextOption(option);
  document.setPlainText(text);
  document.print(&printer);
}

}  // namespace mirolat
