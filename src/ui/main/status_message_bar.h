#pragma once
// The main window's status bar text: the status messages, a held message
// standing for its five seconds before the message of the focused control
// replaces it (Timer1), and the plain texts of a run's progress.
#include <QLabel>
#include <QObject>
#include <QStatusBar>
#include <QTimer>
#include <functional>

#include "core/app/status_messages.h"

namespace mirolat {

class StatusMessageBar : public QObject {
  Q_OBJECT
 public:
  // Puts its text panel into `bar`.
  explicit StatusMessageBar(QStatusBar* bar);

  // The message of the control that has the focus, shown when a held message
  // has stood its time.
  void SetFocusMessage(std::function<StatusMessageId()> focusMessage) { focusMessage_ = std::move(focusMessage); }

  // Shows `id` unless a held message stands.
  void Show(StatusMessageId id);
  // The held message gives way at once (the next Show is shown).
  void Release();
  bool Held() const { return held_; }
  // A text of its own (progress), shown whatever stands.
  void SetText(const QString& text);
  // What a finished command did: it stands until the user moves on
  // (ReleaseDone) or another command's text replaces it.
  void ShowDone(const QString& text);
  void ReleaseDone();

  QString Text() const { return panel_->text(); }
  bool Bold() const { return panel_->font().bold(); }

  QLabel* StatusPanel = nullptr;
  QTimer* Timer1 = nullptr;

 Q_SIGNALS:
  void TextChanged(const QString& text);

 private:
  void Timer1_Timer();

  QLabel* panel_;
  bool held_ = false;
  bool doneHeld_ = false;
  std::function<StatusMessageId()> focusMessage_;
};

}  // namespace mirolat
