// IStream over StreamBytes: the stream objects of compound files and of
// global memory. Clones share the bytes and start at the same position.
#pragma once

#include <memory>

#include "com/com_object.h"
#include "storage/stream_bytes.h"

namespace platform::storage {

class ByteStream final : public IStream {
 public:
  // A new stream with one reference. Without write access Write and SetSize
  // give STG_E_ACCESSDENIED. grfMode is what Stat reports.
  static IStream *Create(std::shared_ptr<StreamBytes> bytes, DWORD grfMode, bool writable);

  // The bytes of a stream made here, or null for any other stream.
  static StreamBytes *BytesOf(IStream *stream);

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void **ppvObject) override;
  ULONG STDMETHODCALLTYPE AddRef() override;
  ULONG STDMETHODCALLTYPE Release() override;

  HRESULT STDMETHODCALLTYPE Read(void *pv, ULONG cb, ULONG *pcbRead) override;
  HRESULT STDMETHODCALLTYPE Write(const void *pv, ULONG cb, ULONG *pcbWritten) override;
  HRESULT STDMETHODCALLTYPE Seek(LARGE_INTEGER dlibMove, DWORD dwOrigin, ULARGE_INTEGER *plibNewPosition) override;
  HRESULT STDMETHODCALLTYPE SetSize(ULARGE_INTEGER libNewSize) override;
  HRESULT STDMETHODCALLTYPE CopyTo(IStream *pstm, ULARGE_INTEGER cb, ULARGE_INTEGER *pcbRead,
                                   ULARGE_INTEGER *pcbWritten) override;
  HRESULT STDMETHODCALLTYPE Commit(DWORD grfCommitFlags) override;
  HRESULT STDMETHODCALLTYPE Revert() override;
  HRESULT STDMETHODCALLTYPE LockRegion(ULARGE_INTEGER libOffset, ULARGE_INTEGER cb, DWORD dwLockType) override;
  HRESULT STDMETHODCALLTYPE UnlockRegion(ULARGE_INTEGER libOffset, ULARGE_INTEGER cb, DWORD dwLockType) override;
  HRESULT STDMETHODCALLTYPE Stat(STATSTG *pstatstg, DWORD grfStatFlag) override;
  HRESULT STDMETHODCALLTYPE Clone(IStream **ppstm) override;

 private:
  ByteStream(std::shared_ptr<StreamBytes> bytes, DWORD grfMode, bool writable, uint64_t position);

  com::ReferenceCount m_references;
  const std::shared_ptr<StreamBytes> m_bytes;
  const DWORD m_mode;
  const bool m_writable;
  uint64_t m_position;
};

}  // namespace platform::storage
