#include "ui/dialogs/beep.h"

#include <QApplication>

namespace mirolat {

namespace {
int g_beeps = 0;
}

void Beep() {
  ++g_beeps;
  QApplication::beep();
}

int BeepCount() { return g_beeps; }
void ResetBeepCount() { g_beeps = 0; }

}  // namespace mirolat
