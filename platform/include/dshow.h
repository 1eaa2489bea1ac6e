// The media graph: interfaces, class identifiers and the COM services they
// rest on.
#pragma once

#include "windows.h"
#include "ole2.h"
#include "strmif.h"
#include "control.h"
#include "uuids.h"
