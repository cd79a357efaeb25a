#include "core/logfile/warnings.h"

namespace mirolat {

namespace {

const QString kWarningTitle = QStringLiteral("WARNING");

MessageBoxSpec Box(const QString& title, const QString& text, MessageIcon icon, int helpTopic = 0) {
  return MessageBoxSpec{title, text, MessageButtons::Ok, icon, helpTopic};
}

}  // namespace

MessageBoxSpec WarnNoLog() {
  return Box(QStringLiteral("No Modem Log Detected!"),
             QStringLiteral("Mirolat Cannot Locate Your Modem Log File!\n\n"
                            "If you have configured your Dial-up connections to use a modem log\n"
                            "then you should check your Mirolat setup as it is INCORRECT.\n\n"
                            "If NOT, then you will need to configure your Dial-up Networking \n"
                            "connections to use a modem log file before Mirolat is fully\n"
                            "functional.\n\n"
                            "Click on the Help button below for information on how to do this."),
             MessageIcon::Exclamation, kNoLogHelpTopic);
}

MessageBoxSpec WarnLogCorrupt() {
  return Box(kWarningTitle,
             QStringLiteral("Corruption Detected in Modem Log File!\n\n"
                            "Your Modem Log File is either corrupt or not a valid\n"
                            "Modem Log!  If you are sure it is a valid Modem Log then \n"
                            "please select the 'Repair Modem Log' option from the\n"
                            "TOOLS menu. Reports will not be available until corruption\n"
                            "has been repaired or a valid log file is set up!"),
             MessageIcon::Critical);
}

MessageBoxSpec WarnNotModemLog() {
  return Box(kWarningTitle,
             QStringLiteral("INVALID MODEM LOG FILE!\n\n"
                            "The current file is NOT a Modem Log File.\n"
                            "Please review your configuration by clicking \n"
                            "on 'Setup' in the 'File' menu."),
             MessageIcon::Critical);
}

MessageBoxSpec WarnLogTooBig() {
  return Box(kWarningTitle,
             QStringLiteral("Your Modem Log is Too Big!\n\n"
                            "Your modem log can become unreliable and prone to\n"
                            "corruption if it is allowed to become too large. Select\n"
                            "one of the options in the TOOLS menu or ARCHIVE\n"
                            "this log to prevent it from growing any larger."),
             MessageIcon::Exclamation);
}

MessageBoxSpec WarnWrongDirectory(const QString& windowsDir) {
  return Box(kWarningTitle,
             QStringLiteral("Incorrect Directory For Modem Log File!\n\n"
                            "The file you have selected is not located\n"
                            "in the '") +
                 windowsDir +
                 QStringLiteral("' directory therefore\n"
                                "it can not be your modem log file!\n"
                                "Please select your modem log file from the\n") +
                 windowsDir + QStringLiteral(" ' directory."),
             MessageIcon::Exclamation);
}

MessageBoxSpec WarnTooManyServices() {
  return Box(QString(),
             QStringLiteral("Cannot Continue.... Exceeded Maximum Number of Services.\r"
                            "Please use the Setup Menu to increase the Max Services parameter."),
             MessageIcon::Critical);
}

MessageBoxSpec WarnTooManyConnections() {
  return Box(QString(),
             QStringLiteral("Cannot Continue.... Exceeded Maximum Number of Connections.\r"
                            "Please use the Setup Menu to increase the Max Connections parameter."),
             MessageIcon::Critical);
}

bool WarnNoLogApplies(const CurrentFileState& state, bool noLogWarned) { return !state.LogExists && !noLogWarned; }
bool WarnLogCorruptApplies(const CurrentFileState& state) { return state.LogCorrupt; }
bool WarnNotModemLogApplies(const CurrentFileState& state) { return state.NotAModemLog; }
bool WarnLogTooBigApplies(const CurrentFileState& state) { return state.LogTooBig; }

QList<MessageBoxSpec> ActivationWarnings(const CurrentFileState& state, bool noLogWarned) {
  QList<MessageBoxSpec> boxes;
  if (WarnNotModemLogApplies(state) && !state.ArchiveOpen) boxes.append(WarnNotModemLog());
  if (WarnNoLogApplies(state, noLogWarned) && !state.ArchiveOpen) boxes.append(WarnNoLog());
  if (WarnLogCorruptApplies(state)) boxes.append(WarnLogCorrupt());
  if (WarnLogTooBigApplies(state) && !state.ArchiveOpen) boxes.append(WarnLogTooBig());
  return boxes;
}

}  // namespace mirolat
