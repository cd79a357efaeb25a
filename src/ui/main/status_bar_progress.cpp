#include "ui/main/status_bar_progress.h"

#include <QCoreApplication>

#include "ui/main/frm_main.h"

namespace mirolat {

void StatusBarProgress::SetStatus(const QString& text) { main_.SetStatusText(text); }

void StatusBarProgress::SetPercent(int percent) { main_.ProgressBar1->setValue(percent); }

void StatusBarProgress::Yield() { QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents); }

}  // namespace mirolat
