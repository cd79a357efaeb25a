#pragma once
#include "core/common/dates.h"
