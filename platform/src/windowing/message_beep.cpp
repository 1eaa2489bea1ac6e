// MessageBeep: the alert a control gives when it refuses input. These
// machines have no speaker of their own; the beep is written to the debug
// output so a tester running from a terminal still notices it.
#include <windows.h>

extern "C" BOOL WINAPI MessageBeep(UINT uType) {
  OutputDebugStringW(L"(beep)\n");
  return TRUE;
}
