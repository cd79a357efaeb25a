#include <QCoreApplication>

#include "cli/cli.h"
#include "cli/commands.h"
#ifdef MIROLAT_HAVE_SERIALPORT
#include "serial/qt_serial_port_lister.h"
#endif

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
#ifdef MIROLAT_HAVE_SERIALPORT
  mirolat::QtSerialPortLister serialPorts;
  mirolat::cli::SetSerialPortLister(&serialPorts);
#endif
  return mirolat::cli::Run(QCoreApplication::arguments());
}
