#include "ui/common/application.h"

#include "core/common/errors.h"
#include "ui/common/end_program.h"

namespace mirolat {

Application::Application(int& argc, char** argv) : QApplication(argc, argv) {}

bool Application::notify(QObject* receiver, QEvent* event) {
  try {
    return QApplication::notify(receiver, event);
  } catch (const EndProgramRequested&) {
    EndProgram();
    return true;
  }
}

}  // namespace mirolat
