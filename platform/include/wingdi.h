// The few graphics-device types and constants the window manager's users name.
#pragma once

#include "windef.h"

#define LF_FACESIZE 32
#define FW_NORMAL 400
#define FW_BOLD 700
#define DEFAULT_CHARSET 1
#define ANSI_CHARSET 0
