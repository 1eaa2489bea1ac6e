// Definitions of the interface and class identifiers that the platform's
// public headers declare, as uuid.lib and strmiids.lib provide them on
// Windows: programs and in-process servers link against these.
#include <initguid.h>

#include <dshow.h>
