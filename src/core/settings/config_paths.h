#pragma once
// Where the program keeps its files: the configuration folder (the settings
// store), the log directory (where the modem log is looked for), the
// program's folder and its read-only data.
#include <QString>

namespace mirolat {

// $MIROLAT_CONFIG_DIR when set, else $XDG_CONFIG_HOME/mirolat
// (~/.config/mirolat). Created when missing; throws RunError when it cannot be.
QString ConfigFolder();
// The same folder's path, neither created nor checked (for a reader that
// must leave the disk as it is).
QString ConfigFolderPath();

// The log directory, ending in '/': $WinDir with one '/' appended when set,
// else $XDG_DATA_HOME/mirolat/ (~/.local/share/mirolat/), created when missing.
QString LogDirectory();
// The same directory's path, ending in '/', neither created nor checked.
QString LogDirectoryPath();

// The folder of the running executable.
QString ProgramFolder();

// A read-only data file or folder: beside the executable, else in
// ../share/mirolat/ relative to it. The path beside the executable when
// neither exists.
QString FindDataPath(const QString& relativePath);

// The help pages' contents page.
QString HelpFilePath();

}  // namespace mirolat
