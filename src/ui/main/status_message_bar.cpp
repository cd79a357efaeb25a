#include "ui/main/status_message_bar.h"

namespace mirolat {

namespace {
constexpr int kHoldIntervalMs = 5000;
}  // namespace

StatusMessageBar::StatusMessageBar(QStatusBar* bar) : QObject(bar), panel_(new QLabel(bar)) {
  StatusPanel = panel_;
  panel_->setObjectName(QStringLiteral("StatusPanel"));
  bar->addWidget(panel_, 1);
  Timer1 = new QTimer(this);
  Timer1->setObjectName(QStringLiteral("Timer1"));
  Timer1->setInterval(kHoldIntervalMs);
  connect(Timer1, &QTimer::timeout, this, &StatusMessageBar::Timer1_Timer);
}

void StatusMessageBar::Show(StatusMessageId id) {
  if (held_) return;
  const StatusMessageText m = StatusMessageFor(id);
  QFont f = panel_->font();
  f.setBold(m.hold);
  panel_->setFont(f);
  SetText(m.text);
  held_ = m.hold;
  if (held_) {
    Timer1->start();
  } else {
    Timer1->stop();
  }
}

void StatusMessageBar::Release() {
  held_ = false;
  doneHeld_ = false;
  Timer1->stop();
}

void StatusMessageBar::ShowDone(const QString& text) {
  Timer1->stop();
  QFont f = panel_->font();
  f.setBold(false);
  panel_->setFont(f);
  SetText(text);
  held_ = true;
  doneHeld_ = true;
}

void StatusMessageBar::ReleaseDone() {
  if (doneHeld_) Release();
}

void StatusMessageBar::SetText(const QString& text) {
  panel_->setText(text);
  Q_EMIT TextChanged(text);
}

// The held message has stood its time: the message of the control that has
// the focus now replaces it.
void StatusMessageBar::Timer1_Timer() {
  Release();
  Show(focusMessage_ ? focusMessage_() : StatusMessageId::None);
}

}  // namespace mirolat
