// Sharing modes of compound files across processes, kept with open file
// description locks (fcntl F_OFD_*) on bytes far past the end of the file.
// Each opener holds shared locks that say what it does (reads, writes) and
// what it denies others (reading, writing); an opener whose access another
// denies, or who denies an access another has, is refused. The locks belong
// to the opener's descriptor, so they end when it is closed, and two
// openers in one process conflict just as openers in two processes do.
// The locks are advisory: only this platform's openers honour them.
#pragma once

#include <objbase.h>

namespace platform::storage {

// Takes the locks of grfMode's access and sharing for the file open on fd.
// STG_E_SHAREVIOLATION when another opener's mode conflicts.
HRESULT AcquireShareMode(int fd, DWORD grfMode);

}  // namespace platform::storage
