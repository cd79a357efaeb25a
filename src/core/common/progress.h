#pragma once
#include <QString>

namespace mirolat {

// What a long loop tells the person waiting for it. The desktop program drives
// its status bar and progress bar; the command line draws a line on a terminal.
class Progress {
 public:
  virtual ~Progress() = default;
  virtual void SetStatus(const QString& text) = 0;
  virtual void SetPercent(int percent) = 0;
  // A chance for pending window events to run.
  virtual void Yield() {}
  // Something the person must see even where no progress is drawn (a wait
  // for another program, work files cleaned up): the status by default.
  virtual void Notice(const QString& text) { SetStatus(text); }
};

class NullProgress final : public Progress {
 public:
  void SetStatus(const QString&) override {}
  void SetPercent(int) override {}
};

}  // namespace mirolat
