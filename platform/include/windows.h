// The Windows API subset this platform implements.
#pragma once

#include "windef.h"
#include "winerror.h"
#include "winbase.h"
#include "winreg.h"
#include "wingdi.h"
#include "winuser.h"

#ifndef WIN32_LEAN_AND_MEAN
#include "ole2.h"
#endif
