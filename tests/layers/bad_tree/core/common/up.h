#pragma once
#include "core/app/app_state.h"
