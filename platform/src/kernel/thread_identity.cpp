// Thread identifiers: the kernel's thread id, unique on the machine while
// the thread runs, as a Windows thread id is.
#include <windows.h>

#include <unistd.h>

extern "C" DWORD WINAPI GetCurrentThreadId(void) { return static_cast<DWORD>(gettid()); }
