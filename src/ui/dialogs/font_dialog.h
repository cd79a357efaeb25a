#pragma once
// The font dialog. Tests queue the font the next dialog returns, or Cancel.
#include <QFont>
#include <QString>

class QWidget;

namespace mirolat {

class FontDialog {
 public:
  // Lets the user pick a font starting from `font`; on OK `font` takes the
  // choice and the result is true.
  static bool Choose(QFont& font, QWidget* parent = nullptr, const QString& title = QString());

  // Test seam: the next dialogs return these fonts (or Cancel), in order.
  static void setNextFont(const QFont& font);
  static void setNextCancel();
  static void clearNext();
};

}  // namespace mirolat
