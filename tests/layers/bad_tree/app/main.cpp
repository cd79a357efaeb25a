#include "ui/main/frm_main.h"
