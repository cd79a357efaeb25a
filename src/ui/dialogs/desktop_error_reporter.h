#pragma once
// The desktop program's error reporter: the failure's message box, its answer
// mapped to retry, continue or end. The last answer is kept (ErrorResponse).
#include "core/common/errors.h"

class QWidget;

namespace mirolat {

class DesktopErrorReporter : public MessageErrorReporter {
 public:
  explicit DesktopErrorReporter(QWidget* parent = nullptr) : parent_(parent) {}

  ErrorAnswer ReportError(const RunError& error) override;
  // The answer of the last report (0 retry, 1 continue, 2 end, 3 unknown error).
  ErrorAnswer ErrorResponse() const { return response_; }
  void SetParent(QWidget* parent) { parent_ = parent; }

 protected:
  MessageButton ShowMessage(const MessageBoxSpec& message) override;

 private:
  QWidget* parent_;
  ErrorAnswer response_ = ErrorAnswer::Retry;
};

// The reporter the windows share.
DesktopErrorReporter& SharedErrorReporter();

}  // namespace mirolat
