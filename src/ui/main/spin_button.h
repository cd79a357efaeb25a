#pragma once
// A pair of arrow buttons, up above down, without a value of its own: each
// click is a step the owner applies. One that takes the keyboard focus steps
// with the Up and Down keys and shows a focus frame.
#include <QToolButton>
#include <QWidget>

namespace mirolat {

class SpinButton : public QWidget {
  Q_OBJECT
 public:
  explicit SpinButton(QWidget* parent = nullptr);
  QToolButton* upButton() const { return up_; }
  QToolButton* downButton() const { return down_; }
  void SetKeyboardFocus(bool on);

 Q_SIGNALS:
  void UpClick();
  void DownClick();

 protected:
  void resizeEvent(QResizeEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void paintEvent(QPaintEvent* event) override;
  void focusInEvent(QFocusEvent* event) override;
  void focusOutEvent(QFocusEvent* event) override;

 private:
  void LayoutButtons();
  QToolButton* up_;
  QToolButton* down_;
};

}  // namespace mirolat
