#pragma once
// The hourglass for as long as an object of this class lives. A window that
// opens a modal dialog under it asks for UntilEventLoop: the pointer gives
// way as soon as the dialog's own event loop runs, so the user does not work
// in the dialog under a busy pointer.
#include <memory>

namespace mirolat {

class WaitCursor {
 public:
  enum class Span { WholeScope, UntilEventLoop };
  explicit WaitCursor(Span span = Span::WholeScope);
  ~WaitCursor();
  WaitCursor(const WaitCursor&) = delete;
  WaitCursor& operator=(const WaitCursor&) = delete;

 private:
  std::shared_ptr<bool> restored_;
};

}  // namespace mirolat
