#pragma once
// Run-time failures of file and long-running steps, the message each one shows,
// and the one helper that runs a step under the error reporter's decision:
// retry the step, continue with the next one, or end the program.
#include <QString>
#include <exception>
#include <utility>

namespace mirolat {

// This program's own numbers for the kinds of file failure. Each message is
// keyed by its number, the generic message shows it ("Error 76 ..."), and
// stored logs and help pages refer to these numbers, so they never change;
// ConditionFromErrno maps the system's errno values onto them.
enum class ErrorCondition : int {
  Other = 0,
  BadFileName = 52,        // also 64
  WrongAccessMode = 54,
  AlreadyOpen = 55,
  DeviceIO = 57,
  DiskFull = 61,
  ReadPastEnd = 62,
  DeviceUnavailable = 68,
  FileLocked = 70,
  DiskNotReady = 71,
  PathFileAccess = 75,
  PathNotFound = 76,
};

// This program's message numbers for a number too large for its field and
// for a text that is no number where one is due; the report's error notes and
// the checks' messages show them.
inline constexpr int kOverflowNumber = 6;
inline constexpr int kTypeMismatchNumber = 13;

// A failure of one step. `number` is the error number shown by the generic
// message (the condition's number, or the component's own for Other).
class RunError : public std::exception {
 public:
  RunError(ErrorCondition condition, QString description, QString source = QStringLiteral("Mirolat"),
           int number = -1);
  ErrorCondition condition() const { return condition_; }
  int number() const { return number_; }
  const QString& description() const { return description_; }
  const QString& source() const { return source_; }
  const char* what() const noexcept override { return what_.constData(); }

 private:
  ErrorCondition condition_;
  int number_;
  QString description_;
  QString source_;
  QByteArray what_;
};

// Maps an errno value (as left by a failed open/read/write/rename) to a condition.
ErrorCondition ConditionFromErrno(int err);
// A RunError for a failed operation on `path`, from errno.
RunError FileErrorFromErrno(int err, const QString& action, const QString& path);

enum class MessageButtons { Ok, OkCancel, AbortRetryIgnore, YesNo, YesNoCancel };
enum class MessageIcon { None, Critical, Question, Exclamation, Information };
enum class MessageButton { Ok = 1, Cancel = 2, Abort = 3, Retry = 4, Ignore = 5, Yes = 6, No = 7 };

// A message box as data: what the windows show, what the command line prints.
struct MessageBoxSpec {
  QString title;  // empty: the program's title
  QString text;
  MessageButtons buttons = MessageButtons::Ok;
  MessageIcon icon = MessageIcon::None;
  int helpTopic = 0;  // 0: no Help button
};

// What the program does after a failed step.
enum class ErrorAnswer : int { Retry = 0, Continue = 1, End = 2, Unknown = 3 };

// The message of a failure: text, buttons, icon and title of its condition.
MessageBoxSpec ErrorMessageFor(const RunError& error);
// The answer the pressed button stands for. Unknown errors (the generic
// message) always give Unknown, whatever was pressed.
ErrorAnswer MapErrorAnswer(const RunError& error, MessageButton pressed);

// Asked for a decision whenever a step fails.
class ErrorReporter {
 public:
  virtual ~ErrorReporter() = default;
  virtual ErrorAnswer ReportError(const RunError& error) = 0;
};

// A reporter that shows the condition's message and maps the pressed button.
class MessageErrorReporter : public ErrorReporter {
 public:
  ErrorAnswer ReportError(const RunError& error) override;

 protected:
  virtual MessageButton ShowMessage(const MessageBoxSpec& message) = 0;
};

// Thrown when the reporter's answer ends the program; unwinds to main(), which
// closes every window in order.
class EndProgramRequested : public std::exception {
 public:
  const char* what() const noexcept override { return "end of program requested"; }
};

// Runs `step` (which throws RunError on failure) and asks `reporter` what to do
// when it fails: retry it, continue (the step's effect is skipped; returns
// false), or end the program (throws EndProgramRequested).
template <class Step>
bool RunStep(ErrorReporter& reporter, Step&& step) {
  for (;;) {
    try {
      std::forward<Step>(step)();
      return true;
    } catch (const RunError& e) {
      switch (reporter.ReportError(e)) {
        case ErrorAnswer::Retry:
          continue;
        case ErrorAnswer::Continue:
          return false;
        default:
          throw EndProgramRequested();
      }
    }
  }
}

}  // namespace mirolat
