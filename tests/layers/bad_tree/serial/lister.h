#pragma once
#include "ui/app/desktop_program.h"
