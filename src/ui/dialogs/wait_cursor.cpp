#include "ui/dialogs/wait_cursor.h"

#include <QCoreApplication>
#include <QCursor>
#include <QGuiApplication>
#include <QTimer>

namespace mirolat {

namespace {
void Restore(bool& restored) {
  if (restored) return;
  restored = true;
  QGuiApplication::restoreOverrideCursor();
}
}  // namespace

WaitCursor::WaitCursor(Span span) : restored_(std::make_shared<bool>(false)) {
  QGuiApplication::setOverrideCursor(Qt::WaitCursor);
  if (span == Span::UntilEventLoop) {
    QTimer::singleShot(0, qApp, [restored = restored_] { Restore(*restored); });
  }
}

WaitCursor::~WaitCursor() { Restore(*restored_); }

}  // namespace mirolat
