#include "ui/dialogs/font_dialog.h"

#include <QFontDialog>
#include <deque>
#include <optional>

#include "ui/dialogs/unattended.h"

namespace mirolat {

namespace {
std::deque<std::optional<QFont>>& Next() {
  static std::deque<std::optional<QFont>> next;
  return next;
}
}  // namespace

bool FontDialog::Choose(QFont& font, QWidget* parent, const QString& title) {
  if (!Next().empty()) {
    const std::optional<QFont> chosen = Next().front();
    Next().pop_front();
    if (!chosen) return false;
    font = *chosen;
    return true;
  }
  if (Unattended()) return false;
  bool ok = false;
  const QFont chosen = QFontDialog::getFont(&ok, font, parent, title);
  if (ok) font = chosen;
  return ok;
}

void FontDialog::setNextFont(const QFont& font) { Next().emplace_back(font); }
void FontDialog::setNextCancel() { Next().emplace_back(std::nullopt); }
void FontDialog::clearNext() { Next().clear(); }

}  // namespace mirolat
