// Process entry of a Windows desktop program on Linux: builds the command line
// from argv the way Windows would show it and calls the program's wWinMain.
#include <windows.h>

#include <string>

#include "../src/text/utf.h"


static std::wstring CommandLineTail(int argc, char **argv) {
  std::wstring line;
  for (int i = 1; i < argc; ++i) {
    if (i > 1) line += L' ';
    line += platform::text::FromUtf8(argv[i]);
  }
  return line;
}

int main(int argc, char **argv) {
  std::wstring tail = CommandLineTail(argc, argv);
  return wWinMain(GetModuleHandleW(nullptr), nullptr, tail.data(), SW_SHOWDEFAULT);
}
