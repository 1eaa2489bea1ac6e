// Local memory: LocalAlloc and LocalFree for fixed blocks, the memory that
// FormatMessageW hands out and its callers release.
#include <windows.h>

#include <cstdlib>

extern "C" HLOCAL WINAPI LocalAlloc(UINT uFlags, SIZE_T uBytes) {
  // A zero-byte request still yields a block that LocalFree accepts.
  size_t size = uBytes ? uBytes : 1;
  void *block = (uFlags & LMEM_ZEROINIT) ? calloc(1, size) : malloc(size);
  if (!block) SetLastError(ERROR_NOT_ENOUGH_MEMORY);
  return static_cast<HLOCAL>(block);
}

// Returns null on success, as Windows does.
extern "C" HLOCAL WINAPI LocalFree(HLOCAL hMem) {
  free(hMem);
  return nullptr;
}
