#include <QApplication>
#include <QCoreApplication>
#include <memory>

#include "cli/cli.h"
#include "cli/commands.h"
#ifdef MIROLAT_HAVE_SERIALPORT
#include "serial/qt_serial_port_lister.h"
#endif

int main(int argc, char** argv) {
  // A command that draws (a chart, a PDF report) needs the GUI application,
  // on the offscreen platform unless one is chosen: it never shows a window.
  QStringList words;
  for (int i = 0; i < argc; ++i) words << QString::fromLocal8Bit(argv[i]);
  std::unique_ptr<QCoreApplication> app;
  if (mirolat::cli::CommandNeedsGui(words)) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    app = std::make_unique<QApplication>(argc, argv);
  } else {
    app = std::make_unique<QCoreApplication>(argc, argv);
  }
#ifdef MIROLAT_HAVE_SERIALPORT
  mirolat::QtSerialPortLister serialPorts;
  mirolat::cli::SetSerialPortLister(&serialPorts);
#endif
  return mirolat::cli::Run(QCoreApplication::arguments());
}
