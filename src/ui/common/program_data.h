#pragma once
// Read-only data of the program (the tips file, the help pages): beside the
// executable, else in ../share/mirolat/ (an installed program).
#include <QString>

namespace mirolat {

// The first existing of <exe dir>/<name> and <exe dir>/../share/mirolat/<name>;
// the first of them when neither exists.
QString ProgramDataPath(const QString& name);

}  // namespace mirolat
