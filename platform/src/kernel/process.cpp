// The current process.
#include <windows.h>

#include <unistd.h>

extern "C" DWORD WINAPI GetCurrentProcessId(void) { return static_cast<DWORD>(getpid()); }
