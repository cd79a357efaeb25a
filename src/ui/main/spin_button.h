#pragma once
// A pair of arrow buttons, up above down, without a value of its own: each
// click is a step the owner applies.
#include <QToolButton>
#include <QWidget>

namespace mirolat {

class SpinButton : public QWidget {
  Q_OBJECT
 public:
  explicit SpinButton(QWidget* parent = nullptr);
  QToolButton* upButton() const { return up_; }
  QToolButton* downButton() const { return down_; }

 Q_SIGNALS:
  void UpClick();
  void DownClick();

 protected:
  void resizeEvent(QResizeEvent* event) override;

 private:
  QToolButton* up_;
  QToolButton* down_;
};

}  // namespace mirolat
