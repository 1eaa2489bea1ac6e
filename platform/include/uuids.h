// Class identifiers of the media graph's objects.
#pragma once

#include "guiddef.h"

// The filter graph manager.
DEFINE_GUID(CLSID_FilterGraph, 0xE436EBB3, 0x524F, 0x11CE, 0x9F, 0x53, 0x00, 0x20, 0xAF, 0x0B, 0xA7, 0x70);
