// The COM task allocator: memory that one component allocates and another
// frees (out strings, media-type format blocks).
#include <objbase.h>

#include <cstdlib>

// A zero-byte request still gives a valid, distinct block.
extern "C" LPVOID CoTaskMemAlloc(SIZE_T cb) { return std::malloc(cb ? cb : 1); }

// A null block is allocated afresh; a size of zero frees the block and gives null.
extern "C" LPVOID CoTaskMemRealloc(LPVOID pv, SIZE_T cb) {
  if (!pv) return CoTaskMemAlloc(cb);
  if (cb == 0) {
    std::free(pv);
    return nullptr;
  }
  return std::realloc(pv, cb);
}

extern "C" void CoTaskMemFree(LPVOID pv) { std::free(pv); }
