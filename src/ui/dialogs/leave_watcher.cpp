#include "ui/dialogs/leave_watcher.h"

#include <QFocusEvent>
#include <QWidget>

namespace mirolat {

LeaveWatcher::LeaveWatcher(QObject* parent) : QObject(parent) {}

void LeaveWatcher::Watch(QWidget* box, std::function<bool()> handler) {
  handlers_.insert(box, std::move(handler));
  box->installEventFilter(this);
}

bool LeaveWatcher::Leave(QObject* box) const {
  const auto it = handlers_.find(box);
  return it == handlers_.end() || it.value()();
}

bool LeaveWatcher::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::FocusOut) {
    const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
    if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason) Leave(watched);
  }
  return QObject::eventFilter(watched, event);
}

}  // namespace mirolat
