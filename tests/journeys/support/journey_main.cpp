// The journeys' main(): the program's own application object (it ends the
// program in order when a step is answered with Abort), then every journey.
#include <gtest/gtest.h>

#include "ui/common/application.h"

int main(int argc, char** argv) {
  // Journeys need no window manager nor display; a display can still be named.
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  qputenv("LC_ALL", "C.UTF-8");
  mirolat::Application app(argc, argv);
  mirolat::Application::setApplicationName(QStringLiteral("Mirolat"));
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
