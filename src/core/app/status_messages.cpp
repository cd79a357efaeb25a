#include "core/app/status_messages.h"

namespace mirolat {

StatusMessageText StatusMessageFor(StatusMessageId id) {
  using S = StatusMessageId;
  switch (id) {
    case S::None: return {QString(), false};
    case S::EnterStart: return {QStringLiteral("Enter the starting date for the report by clicking on the calendar or typing."), false};
    case S::EnterEnd: return {QStringLiteral("Enter the ending date for the report by clicking on the calendar or typing."), false};
    case S::ExitProgram: return {QStringLiteral("Exit Mirolat."), false};
    case S::ProcessReport: return {QStringLiteral("Process your report."), false};
    case S::ViewLog: return {QStringLiteral("View the Modem Log File."), false};
    case S::CalendarHint: return {QStringLiteral("Click on the calendar to enter a date without typing."), false};
    case S::NoLog: return {QStringLiteral("No Modem Log Found!"), true};
    case S::LogCorrupt: return {QStringLiteral("Corruption Detected in Modem Log File!"), true};
    case S::InvalidDate: return {QStringLiteral("Invalid date entry!"), true};
    case S::StartBeforeFirst: return {QStringLiteral("The start date cannot be less than the first entry in modem log!"), true};
    case S::EndBeforeStart: return {QStringLiteral("The end date cannot be less than the start date!"), true};
    case S::EndAfterLast: return {QStringLiteral("The end date cannot be greater than the last entry in modem log!"), true};
    case S::StartAfterEnd: return {QStringLiteral("The start date cannot be greater than the end date!"), true};
  }
  return {};
}

}  // namespace mirolat
