// What the rest of COM needs to know about apartments.
#pragma once

#include <objbase.h>

namespace platform::com {

// Whether the calling thread has entered COM (CoInitializeEx) and not left it.
bool ThreadHasCom();

}  // namespace platform::com
