#pragma once
// The warning sound of an invalid keystroke. Tests count the beeps.

namespace mirolat {

void Beep();
// Beeps since the last reset.
int BeepCount();
void ResetBeepCount();

}  // namespace mirolat
