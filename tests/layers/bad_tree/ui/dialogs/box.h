#pragma once
#include "ui/common/help_window.h"
