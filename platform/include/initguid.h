// Included first in a source file, makes every DEFINE_GUID that follows a
// definition of the identifier rather than a declaration.
#define INITGUID
#include "guiddef.h"
