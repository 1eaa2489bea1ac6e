// Global memory: GlobalAlloc and its family, for the memory that
// CreateStreamOnHGlobal and clipboard-style callers exchange.
//
// A fixed block's handle is its address. A movable block's handle is a
// separate token; GlobalLock gives the block's address and counts locks.
// Every live block is recorded by its handle, so a handle that was never
// allocated or is freed already is recognised (ERROR_INVALID_HANDLE).
#include <windows.h>

#include <cstdlib>
#include <cstring>
#include <map>
#include <memory>
#include <mutex>

namespace {

struct Block {
  void *data = nullptr;
  SIZE_T size = 0;
  bool movable = false;
  ULONG locks = 0;
};

// Movable handles point at a token of their own, never at the data.
struct MovableToken {
  char unused;
};

struct BlockTable {
  std::mutex mutex;
  std::map<HGLOBAL, Block> blocks;
};

BlockTable &TheTable() {
  static BlockTable *table = new BlockTable;
  return *table;
}

void *AllocateBytes(SIZE_T bytes, UINT flags) {
  const SIZE_T size = bytes ? bytes : 1;  // a zero-byte block still has an address
  return (flags & GMEM_ZEROINIT) ? std::calloc(1, size) : std::malloc(size);
}

// The block of a handle, with the table locked; null for an unknown handle.
Block *FindBlock(BlockTable &table, HGLOBAL handle) {
  auto it = table.blocks.find(handle);
  if (it != table.blocks.end()) return &it->second;
  SetLastError(ERROR_INVALID_HANDLE);
  return nullptr;
}

}  // namespace

extern "C" HGLOBAL WINAPI GlobalAlloc(UINT uFlags, SIZE_T dwBytes) {
  void *data = AllocateBytes(dwBytes, uFlags);
  if (!data) {
    SetLastError(ERROR_NOT_ENOUGH_MEMORY);
    return nullptr;
  }
  const bool movable = (uFlags & GMEM_MOVEABLE) != 0;
  HGLOBAL handle = movable ? static_cast<HGLOBAL>(new MovableToken) : static_cast<HGLOBAL>(data);
  BlockTable &table = TheTable();
  std::lock_guard lock(table.mutex);
  table.blocks[handle] = {data, dwBytes, movable, 0};
  return handle;
}

// A fixed block moves only when GMEM_MOVEABLE allows it; the handle returned
// is then the new address. Bytes added are zero with GMEM_ZEROINIT.
extern "C" HGLOBAL WINAPI GlobalReAlloc(HGLOBAL hMem, SIZE_T dwBytes, UINT uFlags) {
  BlockTable &table = TheTable();
  std::lock_guard lock(table.mutex);
  Block *block = FindBlock(table, hMem);
  if (!block) return nullptr;
  if (uFlags & GMEM_MODIFY) return hMem;
  if (!block->movable && !(uFlags & GMEM_MOVEABLE) && dwBytes > block->size) {
    SetLastError(ERROR_NOT_ENOUGH_MEMORY);
    return nullptr;
  }
  void *data = std::realloc(block->data, dwBytes ? dwBytes : 1);
  if (!data) {
    SetLastError(ERROR_NOT_ENOUGH_MEMORY);
    return nullptr;
  }
  if ((uFlags & GMEM_ZEROINIT) && dwBytes > block->size) {
    std::memset(static_cast<char *>(data) + block->size, 0, dwBytes - block->size);
  }
  Block moved{data, dwBytes, block->movable, block->locks};
  if (moved.movable) {
    *block = moved;
    return hMem;
  }
  table.blocks.erase(hMem);
  table.blocks[static_cast<HGLOBAL>(data)] = moved;
  return static_cast<HGLOBAL>(data);
}

extern "C" SIZE_T WINAPI GlobalSize(HGLOBAL hMem) {
  BlockTable &table = TheTable();
  std::lock_guard lock(table.mutex);
  Block *block = FindBlock(table, hMem);
  return block ? block->size : 0;
}

extern "C" LPVOID WINAPI GlobalLock(HGLOBAL hMem) {
  BlockTable &table = TheTable();
  std::lock_guard lock(table.mutex);
  Block *block = FindBlock(table, hMem);
  if (!block) return nullptr;
  if (block->movable) ++block->locks;
  return block->data;
}

// TRUE while the block stays locked; FALSE once it is unlocked (last error
// NO_ERROR) or for a fixed block.
extern "C" BOOL WINAPI GlobalUnlock(HGLOBAL hMem) {
  BlockTable &table = TheTable();
  std::lock_guard lock(table.mutex);
  Block *block = FindBlock(table, hMem);
  if (!block) return FALSE;
  if (block->locks > 0) --block->locks;
  if (block->locks == 0) SetLastError(NO_ERROR);
  return block->locks > 0;
}

// Null on success; the handle again for a handle that is not a block.
extern "C" HGLOBAL WINAPI GlobalFree(HGLOBAL hMem) {
  if (!hMem) return nullptr;
  Block freed;
  {
    BlockTable &table = TheTable();
    std::lock_guard lock(table.mutex);
    Block *block = FindBlock(table, hMem);
    if (!block) return hMem;
    freed = *block;
    table.blocks.erase(hMem);
  }
  std::free(freed.data);
  if (freed.movable) delete static_cast<MovableToken *>(hMem);
  return nullptr;
}
