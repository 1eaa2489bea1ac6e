// Streams over global memory: CreateStreamOnHGlobal and GetHGlobalFromStream.
// The stream keeps its size apart from the block's: the block only grows.
#include <objbase.h>
#include <windows.h>

#include <algorithm>
#include <cstring>

#include "storage/byte_stream.h"

namespace platform::storage {
namespace {

class GlobalBytes final : public StreamBytes {
 public:
  GlobalBytes(HGLOBAL block, bool deleteOnRelease)
      : m_block(block), m_deleteOnRelease(deleteOnRelease), m_size(GlobalSize(block)) {}
  ~GlobalBytes() override {
    if (m_deleteOnRelease) GlobalFree(m_block);
  }

  HGLOBAL Block() const { return m_block; }

  uint64_t Size() const override { return m_size; }

  size_t Read(uint64_t offset, void *buffer, size_t count) const override {
    if (offset >= m_size) return 0;
    count = static_cast<size_t>(std::min<uint64_t>(count, m_size - offset));
    std::memcpy(buffer, static_cast<const char *>(GlobalLock(m_block)) + offset, count);
    GlobalUnlock(m_block);
    return count;
  }

  HRESULT Write(uint64_t offset, const void *buffer, size_t count) override {
    if (count == 0) return S_OK;
    if (offset + count > m_size) {
      if (HRESULT hr = Resize(offset + count); FAILED(hr)) return hr;
    }
    std::memcpy(static_cast<char *>(GlobalLock(m_block)) + offset, buffer, count);
    GlobalUnlock(m_block);
    return S_OK;
  }

  HRESULT Resize(uint64_t size) override {
    if (size > GlobalSize(m_block)) {
      const uint64_t old = GlobalSize(m_block);
      if (!GlobalReAlloc(m_block, static_cast<SIZE_T>(size), GMEM_MOVEABLE)) return E_OUTOFMEMORY;
      std::memset(static_cast<char *>(GlobalLock(m_block)) + old, 0, static_cast<size_t>(size - old));
      GlobalUnlock(m_block);
    }
    m_size = size;
    return S_OK;
  }

  std::wstring Name() const override { return {}; }

 private:
  const HGLOBAL m_block;
  const bool m_deleteOnRelease;
  uint64_t m_size;
};

}  // namespace
}  // namespace platform::storage

using platform::storage::ByteStream;

extern "C" HRESULT CreateStreamOnHGlobal(HGLOBAL hGlobal, BOOL fDeleteOnRelease, LPSTREAM *ppstm) {
  if (!ppstm) return E_INVALIDARG;
  *ppstm = nullptr;
  SetLastError(NO_ERROR);
  if (hGlobal && GlobalSize(hGlobal) == 0 && GetLastError() == ERROR_INVALID_HANDLE) return E_INVALIDARG;
  HGLOBAL block = hGlobal ? hGlobal : GlobalAlloc(GMEM_MOVEABLE, 0);
  if (!block) return E_OUTOFMEMORY;
  auto bytes = std::make_shared<platform::storage::GlobalBytes>(block, fDeleteOnRelease != FALSE);
  *ppstm = ByteStream::Create(std::move(bytes), STGM_READWRITE | STGM_SHARE_EXCLUSIVE, true);
  return S_OK;
}

extern "C" HRESULT GetHGlobalFromStream(LPSTREAM pstm, HGLOBAL *phglobal) {
  if (!phglobal) return E_INVALIDARG;
  *phglobal = nullptr;
  auto *bytes = dynamic_cast<platform::storage::GlobalBytes *>(pstm ? ByteStream::BytesOf(pstm) : nullptr);
  if (!bytes) return E_INVALIDARG;
  *phglobal = bytes->Block();
  return S_OK;
}
