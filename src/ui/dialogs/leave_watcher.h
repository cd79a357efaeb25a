#pragma once
// The "leave" rule of a dialog's entry boxes: a box's handler runs when the
// box loses the focus to another control of its window (the handler checks
// the entry, and may beep, put the old value back and keep the focus there).
// Losing the focus to another window (a message box, a file dialog) or to a
// popup list is not leaving the box.
#include <QHash>
#include <QObject>
#include <functional>

class QWidget;

namespace mirolat {

class LeaveWatcher : public QObject {
  Q_OBJECT
 public:
  explicit LeaveWatcher(QObject* parent = nullptr);

  // `handler` answers whether the box's entry was accepted.
  void Watch(QWidget* box, std::function<bool()> handler);
  // Runs the handler of `box` as if it were left: true when it has none or
  // the entry was accepted.
  bool Leave(QObject* box) const;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  QHash<QObject*, std::function<bool()>> handlers_;
};

}  // namespace mirolat
