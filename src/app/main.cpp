// The desktop program.
#include "ui/app/desktop_program.h"

int main(int argc, char** argv) { return mirolat::RunDesktopProgram(argc, argv); }
