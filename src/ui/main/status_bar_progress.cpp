#include "ui/main/status_bar_progress.h"

#include <QCoreApplication>

namespace mirolat {

void StatusBarProgress::SetStatus(const QString& text) { messages_.SetText(text); }

void StatusBarProgress::SetPercent(int percent) { bar_.setValue(percent); }

void StatusBarProgress::Yield() { QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents); }

}  // namespace mirolat
