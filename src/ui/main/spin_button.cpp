#include "ui/main/spin_button.h"

#include <QKeyEvent>
#include <QPainter>

namespace mirolat {

SpinButton::SpinButton(QWidget* parent) : QWidget(parent), up_(new QToolButton(this)), down_(new QToolButton(this)) {
  up_->setObjectName(QStringLiteral("up"));
  down_->setObjectName(QStringLiteral("down"));
  up_->setArrowType(Qt::UpArrow);
  down_->setArrowType(Qt::DownArrow);
  for (QToolButton* b : {up_, down_}) {
    b->setFocusPolicy(Qt::NoFocus);
    b->setAutoRepeat(true);
  }
  connect(up_, &QToolButton::clicked, this, &SpinButton::UpClick);
  connect(down_, &QToolButton::clicked, this, &SpinButton::DownClick);
  resize(17, 26);
}

void SpinButton::resizeEvent(QResizeEvent*) { LayoutButtons(); }

// With the focus the buttons stand back from the edge, inside the focus frame.
void SpinButton::LayoutButtons() {
  const QRect area = hasFocus() ? rect().adjusted(2, 2, -2, -2) : rect();
  const int half = area.height() / 2;
  up_->setGeometry(area.x(), area.y(), area.width(), half);
  down_->setGeometry(area.x(), area.y() + half, area.width(), area.height() - half);
}

void SpinButton::focusInEvent(QFocusEvent* event) {
  QWidget::focusInEvent(event);
  LayoutButtons();
  update();
}

void SpinButton::focusOutEvent(QFocusEvent* event) {
  QWidget::focusOutEvent(event);
  LayoutButtons();
  update();
}

void SpinButton::SetKeyboardFocus(bool on) { setFocusPolicy(on ? Qt::StrongFocus : Qt::NoFocus); }

void SpinButton::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_Up) {
    Q_EMIT UpClick();
  } else if (event->key() == Qt::Key_Down) {
    Q_EMIT DownClick();
  } else {
    QWidget::keyPressEvent(event);
  }
}

void SpinButton::paintEvent(QPaintEvent*) {
  if (!hasFocus()) return;
  QPainter painter(this);
  painter.setPen(QPen(palette().color(QPalette::Highlight), 2));
  painter.drawRect(rect().adjusted(1, 1, -1, -1));
}

}  // namespace mirolat
