#pragma once
#include <QStringList>
#include <QTextStream>

namespace mirolat::cli {

// Runs one mirolat-cli command (args[0] is the program name) and returns the
// exit status. Output goes to `out`, messages to `err`.
int Run(const QStringList& args, QTextStream& out, QTextStream& err);
int Run(const QStringList& args);

}  // namespace mirolat::cli
