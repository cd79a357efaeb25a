#include "ui/dialogs/desktop_error_reporter.h"

#include "ui/dialogs/message_box.h"

namespace mirolat {

ErrorAnswer DesktopErrorReporter::ReportError(const RunError& error) {
  response_ = MessageErrorReporter::ReportError(error);
  return response_;
}

MessageButton DesktopErrorReporter::ShowMessage(const MessageBoxSpec& message) {
  return MessageBox::Show(message, parent_);
}

DesktopErrorReporter& SharedErrorReporter() {
  static DesktopErrorReporter reporter;
  return reporter;
}

}  // namespace mirolat
