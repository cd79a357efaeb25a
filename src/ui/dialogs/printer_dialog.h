#pragma once
// The printer dialog and the printing of one text. Tests make the next dialog
// print to a PDF file (or cancel) without showing it.
#include <QFont>
#include <QString>

class QPrinter;
class QWidget;

namespace mirolat {

class PrinterDialog {
 public:
  // Lets the user choose and set up the printer; true when they chose to print.
  static bool Choose(QPrinter& printer, QWidget* parent = nullptr);

  // Test seam: the next Choose prints into this PDF file without a dialog.
  static void setNextPdfFile(const QString& pdfPath);
  // Test seam: the next Choose is cancelled.
  static void setNextCancel();
  static void clearNext();
  // How many times Choose was called since the last clear.
  static int requestCount();
  static void clearRequestCount();
};

// Prints `text` as it stands, line by line, in `font` (a fixed-pitch font
// keeps report columns aligned), breaking pages where they fill. The text
// stands in the middle of the page, its left and right margins equal; text
// wider than the page is printed smaller to fit.
void PrintPlainText(QPrinter& printer, const QString& text, const QFont& font);

// How text of `textWidth` goes onto a printable width of `pageWidth`: the
// scale it is printed at (1 when it fits) and its left offset, which leaves
// as much room on its right.
struct PageFit {
  double scale = 1;
  double left = 0;
};
PageFit FitTextToPage(double pageWidth, double textWidth);

}  // namespace mirolat
