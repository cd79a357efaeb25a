#pragma once
// The modem log's file name as the options dialog takes it: a plain name of a
// file inside the log folder, never a path or a pattern.
#include <QString>

namespace mirolat {

// True for a non-empty name without path separators ('/' or '\'), without
// wildcard characters ('*', '?', '[', ']'), without control characters, and
// other than "." and "..".
bool IsPlainLogFileName(const QString& name);

}  // namespace mirolat
