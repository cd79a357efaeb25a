#pragma once
// What the viewer remembers of the last search for the whole run.

#include <QString>

namespace mirolat {

struct SearchState {
  QString SearchText;       // the text last searched for
  bool MatchCase = false;   // compare with case
  int SearchDirection = 1;  // 1 = down, 0 = up
  // The caret position after the last search (-1: none yet). A whole number:
  // caret positions of a large log do not fit a float exactly.
  qint64 LastFoundPos = -1;
  bool NewSearch = true;    // the search text changed since the last search
};

}  // namespace mirolat
