#pragma once
#include "ui/reports/frm_report.h"
