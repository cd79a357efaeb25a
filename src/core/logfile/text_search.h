#pragma once
// The log viewer's search: where the next occurrence of a text lies from the
// caret, down to the end or up to the beginning, with or without case.
#include <QStringView>

namespace mirolat {

struct TextSearchRequest {
  QStringView needle;           // the text searched for
  qsizetype caret = 0;          // the caret position, 0-based
  bool matchCase = false;       // false: both sides compared upper-cased
  bool down = true;             // false: towards the beginning
  // The caret still stands on the previous hit of the same text: the search
  // goes on behind it (down) or starts one character further (up).
  bool continueAfterHit = false;
};

// The hit as a 1-based position, 0 when there is none.
//
// start := caret + 1 when continuing after a hit, else caret.
// Down: the first occurrence beginning at 1-based position start + 1 or later
//   (so a new search finds a hit that begins at the caret).
// Up: the last 1-based position i from start - 1 down to 1 at which the
//   needle begins. A new upward search therefore never looks at the character
//   at the caret, nor at a hit that begins just before it; after a hit it
//   finds the one before, however close.
// Without case, each character is compared by its simple upper-case form, so
// positions never shift. An empty needle finds nothing.
qsizetype FindTextPosition(QStringView hay, const TextSearchRequest& request);

}  // namespace mirolat
