#pragma once
// The progress of a long run shown in the main window: the text in its status
// bar, the percentage in its progress bar, and the window repainted at each
// step (user input waits until the run ends).
#include <QProgressBar>

#include "core/common/progress.h"
#include "ui/main/status_message_bar.h"

namespace mirolat {

class StatusBarProgress final : public Progress {
 public:
  StatusBarProgress(StatusMessageBar& messages, QProgressBar& bar) : messages_(messages), bar_(bar) {}
  void SetStatus(const QString& text) override;
  void SetPercent(int percent) override;
  void Yield() override;

 private:
  StatusMessageBar& messages_;
  QProgressBar& bar_;
};

}  // namespace mirolat
