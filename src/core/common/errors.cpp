#include "core/common/errors.h"

#include <cerrno>
#include <cstring>

namespace mirolat {

RunError::RunError(ErrorCondition condition, QString description, QString source, int number)
    : condition_(condition),
      number_(number >= 0 ? number : static_cast<int>(condition)),
      description_(std::move(description)),
      source_(std::move(source)),
      what_(description_.toUtf8()) {}

ErrorCondition ConditionFromErrno(int err) {
  switch (err) {
    case ENAMETOOLONG:
    case EINVAL:
    case EILSEQ:
      return ErrorCondition::BadFileName;
    case EBADF:
      return ErrorCondition::WrongAccessMode;
    case ETXTBSY:
      return ErrorCondition::AlreadyOpen;
    case EIO:
      return ErrorCondition::DeviceIO;
    case ENOSPC:
    case EDQUOT:
    case EFBIG:
      return ErrorCondition::DiskFull;
    case ENXIO:
    case ENODEV:
      return ErrorCondition::DeviceUnavailable;
    case EAGAIN:
    case EBUSY:
      return ErrorCondition::FileLocked;
    case ENOMEDIUM:
      return ErrorCondition::DiskNotReady;
    case EACCES:
    case EPERM:
    case EROFS:
    case EISDIR:
      return ErrorCondition::PathFileAccess;
    case ENOENT:
    case ENOTDIR:
      return ErrorCondition::PathNotFound;
    default:
      return ErrorCondition::Other;
  }
}

RunError FileErrorFromErrno(int err, const QString& action, const QString& path) {
  const QString text = QStringLiteral("%1 '%2': %3").arg(action, path, QString::fromLocal8Bit(std::strerror(err)));
  return RunError(ConditionFromErrno(err), text, QStringLiteral("Mirolat"), err > 0 ? 1000 + err : -1);
}

namespace {
const QString kDiskError = QStringLiteral("Disk Error");

MessageBoxSpec DiskBox(const QString& text, MessageButtons buttons, const QString& title = kDiskError) {
  return MessageBoxSpec{title, text, buttons, MessageIcon::Exclamation, 0};
}
}  // namespace

MessageBoxSpec ErrorMessageFor(const RunError& error) {
  using B = MessageButtons;
  switch (error.condition()) {
    case ErrorCondition::BadFileName:
      return DiskBox(QStringLiteral("That filename is illegal."), B::AbortRetryIgnore);
    case ErrorCondition::WrongAccessMode:
      return DiskBox(QStringLiteral("Can't open your file for that type of access."), B::Ok);
    case ErrorCondition::AlreadyOpen:
      return DiskBox(QStringLiteral("This file is already open."), B::Ok);
    case ErrorCondition::DeviceIO:
      return DiskBox(QStringLiteral("Internal disk error."), B::Ok);
    case ErrorCondition::DiskFull:
      return DiskBox(QStringLiteral("Disk is full. Continue?"), B::AbortRetryIgnore);
    case ErrorCondition::ReadPastEnd:
      return DiskBox(QStringLiteral("This file has a nonstandard end-of-file marker, "
                                    "or an attempt was made to read beyond "
                                    "the end-of-file marker."),
                     B::AbortRetryIgnore);
    case ErrorCondition::DeviceUnavailable:
      return DiskBox(QStringLiteral("That device appears unavailable."), B::OkCancel);
    case ErrorCondition::FileLocked:
      return DiskBox(QStringLiteral("MRL cannot gain access to your modem log file because another application or "
                                    "process is using or has locked this file.\n\nTry closing the other application "
                                    "or shutting down and restarting your computer."),
                     B::AbortRetryIgnore, QStringLiteral("MRL - Lock Error"));
    case ErrorCondition::DiskNotReady:
      return DiskBox(QStringLiteral("Insert a disk in the drive and close the door."), B::OkCancel);
    case ErrorCondition::PathFileAccess:
      return DiskBox(QStringLiteral("MRL cannot gain access to a file because another application or process is "
                                    "using or has locked this file.\n\nTry closing the other application or "
                                    "shutting down and restarting your computer."),
                     B::AbortRetryIgnore, QStringLiteral("MRL - Access Error"));
    case ErrorCondition::PathNotFound:
      return DiskBox(QStringLiteral("That path doesn't exist."), B::AbortRetryIgnore);
    case ErrorCondition::Other:
      break;
  }
  MessageBoxSpec box;
  box.title = error.source() + QStringLiteral(" - Error");
  box.text = QStringLiteral("An Error has occurred during processing.\n\nError code: %1\nDescription: %2\n")
                 .arg(error.number())
                 .arg(error.description());
  box.buttons = MessageButtons::Ok;
  box.icon = MessageIcon::None;
  return box;
}

ErrorAnswer MapErrorAnswer(const RunError& error, MessageButton pressed) {
  if (error.condition() == ErrorCondition::Other) return ErrorAnswer::Unknown;
  switch (pressed) {
    case MessageButton::Ok:
    case MessageButton::Retry:
      return ErrorAnswer::Retry;
    case MessageButton::Cancel:
    case MessageButton::Ignore:
      return ErrorAnswer::Continue;
    case MessageButton::Abort:
      return ErrorAnswer::End;
    default:
      return ErrorAnswer::Unknown;
  }
}

ErrorAnswer MessageErrorReporter::ReportError(const RunError& error) {
  return MapErrorAnswer(error, ShowMessage(ErrorMessageFor(error)));
}

}  // namespace mirolat
