#pragma once
// The main window's status messages: what each one says, whether it is held
// (stays for a while, in bold, before the message of the focused control
// comes back) and the number it has in the message table.
#include <QString>

namespace mirolat {

enum class StatusMessageId {
  None = 0,
  EnterStart = 1,
  EnterEnd = 2,
  ExitProgram = 3,
  ProcessReport = 4,
  ViewLog = 5,
  CalendarHint = 6,
  NoLog = 7,
  LogCorrupt = 8,
  InvalidDate = 9,
  StartBeforeFirst = 10,
  EndBeforeStart = 11,
  EndAfterLast = 12,
  StartAfterEnd = 13,
};

struct StatusMessageText {
  QString text;
  bool hold = false;  // held messages are also bold
};

StatusMessageText StatusMessageFor(StatusMessageId id);

}  // namespace mirolat
