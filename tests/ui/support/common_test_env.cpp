#include "support/common_test_env.h"

#include <QLocale>

#include "ui/dialogs/beep.h"
#include "ui/dialogs/file_dialog.h"
#include "ui/dialogs/font_dialog.h"
#include "ui/dialogs/message_box.h"
#include "ui/dialogs/printer_dialog.h"
#include "ui/dialogs/unattended.h"

namespace mirolat::test {

CommonTestEnvironment::CommonTestEnvironment() {
  QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
  qputenv("MIROLAT_CONFIG_DIR", config_.path().toLocal8Bit());
  qputenv("WinDir", log_.path().toLocal8Bit());
  SetUnattended(true);
  ResetSeams();
}

CommonTestEnvironment::~CommonTestEnvironment() {
  qunsetenv("MIROLAT_CONFIG_DIR");
  qunsetenv("WinDir");
}

void CommonTestEnvironment::ResetSeams() {
  MessageBox::clearNextAnswers();
  MessageBox::clearShownMessages();
  FileDialog::clearNextFileNames();
  FileDialog::clearRequests();
  FontDialog::clearNext();
  PrinterDialog::clearNext();
  PrinterDialog::clearRequestCount();
  ResetBeepCount();
}

}  // namespace mirolat::test
