#include "ui/dialogs/unattended.h"

namespace mirolat {

namespace {
bool g_unattended = false;
}

bool Unattended() { return g_unattended; }
void SetUnattended(bool on) { g_unattended = on; }

}  // namespace mirolat
