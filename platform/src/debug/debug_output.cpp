// Debug output goes to standard error (the debugger a Linux tester has).
#include <windows.h>

#include <cstdio>

#include "text/utf.h"

extern "C" void WINAPI OutputDebugStringW(LPCWSTR lpOutputString) {
  if (!lpOutputString) return;
  std::string text = platform::text::ToUtf8(lpOutputString);
  fwrite(text.data(), 1, text.size(), stderr);
}
