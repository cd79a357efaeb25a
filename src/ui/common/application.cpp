#include "common/application.h"

#include "common/end_program.h"
#include "common/errors.h"

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
