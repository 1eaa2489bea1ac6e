// The media graph: interfaces, structures, identifiers, event and result
// codes, and the COM services they rest on.
#pragma once

#include "windows.h"
#include "ole2.h"
#include "strmif.h"
#include "amvideo.h"
#include "control.h"
#include "evcode.h"
#include "uuids.h"
#include "errors.h"
