#include "ui/dialogs/window_placement.h"

#include <QApplication>
#include <QGuiApplication>
#include <QScreen>
#include <QWidget>
#include <algorithm>
#include <cmath>

namespace mirolat {

int TwipsToPixels(double twips, double dpi) { return static_cast<int>(std::lround(twips * dpi / kTwipsPerInch)); }

int PixelsToTwips(int pixels, double dpi) {
  return static_cast<int>(std::lround(static_cast<double>(pixels) * kTwipsPerInch / dpi));
}

int PixelsToTwipsKeeping(int pixels, double dpi, int previousTwips) {
  if (previousTwips > 0 && TwipsToPixels(previousTwips, dpi) == pixels) return previousTwips;
  return PixelsToTwips(pixels, dpi);
}

QRect FitIntoArea(const QRect& window, const QRect& available) {
  if (available.isEmpty()) return window;
  QRect r(window.topLeft(), window.size().boundedTo(available.size()));
  r.moveLeft(std::clamp(r.left(), available.left(), available.right() + 1 - r.width()));
  r.moveTop(std::clamp(r.top(), available.top(), available.bottom() + 1 - r.height()));
  return r;
}

QRect CentredOnParent(const QSize& size, const QRect& parent, const QRect& available) {
  QRect r(QPoint(0, 0), size);
  r.moveCenter(parent.center());
  return FitIntoArea(r, available);
}

QRect BesideParent(const QSize& size, const QRect& parent, const QRect& available) {
  const QRect right(QPoint(parent.right() + 1, parent.top()), size);
  const QRect left(QPoint(parent.left() - size.width(), parent.top()), size);
  const bool leftFits = !available.isEmpty() && left.left() >= available.left() && right.right() > available.right();
  return FitIntoArea(leftFits ? left : right, available);
}

void PlaceOnParent(QWidget* window, QWidget* parent) {
  if (window == nullptr) return;
  if (parent == nullptr) parent = QApplication::activeWindow();
  if (parent == window) parent = nullptr;
  if (parent != nullptr) parent = parent->window();
  QScreen* screen = parent != nullptr ? parent->screen() : window->screen();
  if (screen == nullptr) screen = QGuiApplication::primaryScreen();
  if (screen == nullptr) return;
  window->ensurePolished();
  // A window laid out by its layout and never sized by hand takes its size
  // when first shown; it is centred at that size, not at Qt's default one.
  if (!window->isVisible() && !window->testAttribute(Qt::WA_Resized)) window->adjustSize();
  // The frame the window manager adds; before the first show it is not
  // known yet, and the parent's frame stands in for it.
  QSize frame = window->frameGeometry().size() - window->geometry().size();
  if (frame.isEmpty() && parent != nullptr) frame = parent->frameGeometry().size() - parent->geometry().size();
  const QSize outer = window->size() + frame;
  const QRect available = screen->availableGeometry();
  const QRect placed = parent != nullptr && parent->isVisible()
                           ? CentredOnParent(outer, parent->frameGeometry(), available)
                           : FitIntoArea(QRect(window->frameGeometry().topLeft(), outer), available);
  if (placed.size() != outer) window->resize(placed.size() - frame);
  window->move(placed.topLeft());
}

}  // namespace mirolat
