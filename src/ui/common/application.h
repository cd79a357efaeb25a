#pragma once
// The desktop program's application object. A step whose error the user
// answered with Abort (or an unknown error) throws EndProgramRequested from
// inside a window's handler; it is caught here, before it can cross the event
// loop, and leads to EndProgram.
#include <QApplication>

namespace mirolat {

class Application : public QApplication {
  Q_OBJECT
 public:
  Application(int& argc, char** argv);
  bool notify(QObject* receiver, QEvent* event) override;
};

}  // namespace mirolat
