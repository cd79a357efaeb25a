#pragma once
#include <QStringList>
#include <QTextStream>

namespace mirolat {
class FileSystemOps;
}

namespace mirolat::cli {

// Runs one mirolat-cli command (args[0] is the program name) and returns the
// exit status. Output goes to `out`, messages to `err`; the files a command
// writes go through `files`.
int Run(const QStringList& args, QTextStream& out, QTextStream& err);
int Run(const QStringList& args, QTextStream& out, QTextStream& err, FileSystemOps& files);
// The program's own run: standard output written through checked writes; a
// failed write (a full disk, for instance) is reported on standard error and
// ends with a non-zero status.
int Run(const QStringList& args);

// Whether the command of `args` (args[0] is the program name) draws, and so
// needs a QApplication rather than a QCoreApplication: `chart`, and `report`
// with `--format pdf`.
bool CommandNeedsGui(const QStringList& args);

}  // namespace mirolat::cli
