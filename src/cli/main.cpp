#include <QCoreApplication>

#include "cli/cli.h"

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  return mirolat::cli::Run(QCoreApplication::arguments());
}
