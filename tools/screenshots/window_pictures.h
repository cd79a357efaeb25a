#pragma once
// The pictures of windows shown one by one (not through the program's run):
// the log viewer and its find dialog, the purge dialog, the repair window, the
// options dialog's tabs and the service and tariff editors. Saved into
// `folder`; false when one could not be made.
#include <QString>

namespace mirolat {

bool TakeWindowPictures(const QString& folder);

}  // namespace mirolat
