// The system icons that LoadIconW gives for a null instance (IDI_APPLICATION,
// IDI_ERROR, IDI_QUESTION, IDI_WARNING, IDI_INFORMATION), drawn by the
// platform at 16, 32 and 48 pixels.
#pragma once

#include <windows.h>

#include <vector>

#include "resources/icons.h"

namespace platform::resources {

// The images of a system icon; empty when the id names none.
std::vector<IconImage> DrawSystemIcon(WORD id);

}  // namespace platform::resources
