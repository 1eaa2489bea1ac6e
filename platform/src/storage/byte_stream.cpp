#include "storage/byte_stream.h"

#include <algorithm>
#include <cstring>
#include <vector>

namespace platform::storage {

IStream *ByteStream::Create(std::shared_ptr<StreamBytes> bytes, DWORD grfMode, bool writable) {
  return new ByteStream(std::move(bytes), grfMode, writable, 0);
}

ByteStream::ByteStream(std::shared_ptr<StreamBytes> bytes, DWORD grfMode, bool writable, uint64_t position)
    : m_bytes(std::move(bytes)), m_mode(grfMode), m_writable(writable), m_position(position) {}

StreamBytes *ByteStream::BytesOf(IStream *stream) {
  auto *ours = dynamic_cast<ByteStream *>(stream);
  return ours ? ours->m_bytes.get() : nullptr;
}

HRESULT ByteStream::QueryInterface(REFIID riid, void **ppvObject) {
  return com::QueryInterfaceAmong<IStream, ISequentialStream>(this, riid, ppvObject);
}

ULONG ByteStream::AddRef() { return m_references.Increment(); }

ULONG ByteStream::Release() {
  const ULONG count = m_references.Decrement();
  if (count == 0) delete this;
  return count;
}

HRESULT ByteStream::Read(void *pv, ULONG cb, ULONG *pcbRead) {
  if (pcbRead) *pcbRead = 0;
  if (!pv) return STG_E_INVALIDPOINTER;
  const size_t read = m_bytes->Read(m_position, pv, cb);
  m_position += read;
  if (pcbRead) *pcbRead = static_cast<ULONG>(read);
  return S_OK;
}

HRESULT ByteStream::Write(const void *pv, ULONG cb, ULONG *pcbWritten) {
  if (pcbWritten) *pcbWritten = 0;
  if (!pv) return STG_E_INVALIDPOINTER;
  if (!m_writable) return STG_E_ACCESSDENIED;
  if (HRESULT hr = m_bytes->Write(m_position, pv, cb); FAILED(hr)) return hr;
  m_position += cb;
  if (pcbWritten) *pcbWritten = cb;
  return S_OK;
}

// A position before the start is refused; one past the end is allowed and
// reads nothing until the stream grows.
HRESULT ByteStream::Seek(LARGE_INTEGER dlibMove, DWORD dwOrigin, ULARGE_INTEGER *plibNewPosition) {
  int64_t base = 0;
  switch (dwOrigin) {
    case STREAM_SEEK_SET: base = 0; break;
    case STREAM_SEEK_CUR: base = static_cast<int64_t>(m_position); break;
    case STREAM_SEEK_END: base = static_cast<int64_t>(m_bytes->Size()); break;
    default: return STG_E_INVALIDFUNCTION;
  }
  int64_t position = 0;
  if (__builtin_add_overflow(base, dlibMove.QuadPart, &position) || position < 0) return STG_E_INVALIDFUNCTION;
  m_position = static_cast<uint64_t>(position);
  if (plibNewPosition) plibNewPosition->QuadPart = m_position;
  return S_OK;
}

HRESULT ByteStream::SetSize(ULARGE_INTEGER libNewSize) {
  if (!m_writable) return STG_E_ACCESSDENIED;
  return m_bytes->Resize(libNewSize.QuadPart);
}

HRESULT ByteStream::CopyTo(IStream *pstm, ULARGE_INTEGER cb, ULARGE_INTEGER *pcbRead, ULARGE_INTEGER *pcbWritten) {
  if (pcbRead) pcbRead->QuadPart = 0;
  if (pcbWritten) pcbWritten->QuadPart = 0;
  if (!pstm) return STG_E_INVALIDPOINTER;
  std::vector<uint8_t> buffer(64 * 1024);
  uint64_t left = cb.QuadPart;
  while (left > 0) {
    ULONG read = 0;
    Read(buffer.data(), static_cast<ULONG>(std::min<uint64_t>(left, buffer.size())), &read);
    if (read == 0) break;
    if (pcbRead) pcbRead->QuadPart += read;
    ULONG written = 0;
    if (HRESULT hr = pstm->Write(buffer.data(), read, &written); FAILED(hr)) return hr;
    if (pcbWritten) pcbWritten->QuadPart += written;
    left -= read;
  }
  return S_OK;
}

// Streams write through to their storage or memory: nothing to commit or revert.
HRESULT ByteStream::Commit(DWORD) { return S_OK; }
HRESULT ByteStream::Revert() { return S_OK; }

// Region locks are not supported by these streams, as by memory streams on Windows.
HRESULT ByteStream::LockRegion(ULARGE_INTEGER, ULARGE_INTEGER, DWORD) { return STG_E_INVALIDFUNCTION; }
HRESULT ByteStream::UnlockRegion(ULARGE_INTEGER, ULARGE_INTEGER, DWORD) { return STG_E_INVALIDFUNCTION; }

HRESULT ByteStream::Stat(STATSTG *pstatstg, DWORD grfStatFlag) {
  if (!pstatstg) return STG_E_INVALIDPOINTER;
  *pstatstg = STATSTG{};
  pstatstg->type = STGTY_STREAM;
  pstatstg->cbSize.QuadPart = m_bytes->Size();
  pstatstg->grfMode = m_mode;
  const std::wstring name = m_bytes->Name();
  if (!(grfStatFlag & STATFLAG_NONAME) && !name.empty()) {
    pstatstg->pwcsName = static_cast<LPOLESTR>(CoTaskMemAlloc((name.size() + 1) * sizeof(WCHAR)));
    if (!pstatstg->pwcsName) return STG_E_INSUFFICIENTMEMORY;
    std::memcpy(pstatstg->pwcsName, name.c_str(), (name.size() + 1) * sizeof(WCHAR));
  }
  return S_OK;
}

HRESULT ByteStream::Clone(IStream **ppstm) {
  if (!ppstm) return STG_E_INVALIDPOINTER;
  *ppstm = new ByteStream(m_bytes, m_mode, m_writable, m_position);
  return S_OK;
}

}  // namespace platform::storage
