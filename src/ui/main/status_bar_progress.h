#pragma once
// The progress of a long run shown in the main window: the text in its status
// bar, the percentage in its progress bar, and the window repainted at each
// step (user input waits until the run ends).
#include "core/common/progress.h"

namespace mirolat {

class frmMain;

class StatusBarProgress final : public Progress {
 public:
  explicit StatusBarProgress(frmMain& main) : main_(main) {}
  void SetStatus(const QString& text) override;
  void SetPercent(int percent) override;
  void Yield() override;

 private:
  frmMain& main_;
};

}  // namespace mirolat
