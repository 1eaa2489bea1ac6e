// The platform's memory allocator (IMemAllocator): a fixed set of samples
// in ordinary memory, shared by an output pin and the input pin it
// delivers to.
//
// SetProperties fixes the number and size of the buffers while the
// allocator is decommitted and every sample is back
// (VFW_E_ALREADY_COMMITTED, VFW_E_BUFFERS_OUTSTANDING otherwise; the
// alignment must be a power of two, VFW_E_BADALIGN). Commit makes the
// samples (VFW_E_SIZENOTSET without properties); GetBuffer then hands a free
// one out, waiting for one to come back unless AM_GBF_NOWAIT is given
// (VFW_E_TIMEOUT). Decommit makes GetBuffer fail with VFW_E_NOT_COMMITTED,
// waiting callers included; samples still out come back as usual. The
// memory stays until the properties change or the allocator goes.
//
// A sample holds a reference on its allocator while it is out, so an
// allocator lives until its last sample is back. Everything is guarded by
// the allocator's lock, which is a leaf.
#pragma once

#include <strmif.h>

#include <atomic>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <vector>

#include "com/com_object.h"

namespace platform::media {

class MediaSample;

class MemAllocator final : public IMemAllocator {
 public:
  static HRESULT Create(IMemAllocator **allocator);

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void **ppv) override;
  ULONG STDMETHODCALLTYPE AddRef() override;
  ULONG STDMETHODCALLTYPE Release() override;

  HRESULT STDMETHODCALLTYPE SetProperties(ALLOCATOR_PROPERTIES *pRequest, ALLOCATOR_PROPERTIES *pActual) override;
  HRESULT STDMETHODCALLTYPE GetProperties(ALLOCATOR_PROPERTIES *pProps) override;
  HRESULT STDMETHODCALLTYPE Commit() override;
  HRESULT STDMETHODCALLTYPE Decommit() override;
  HRESULT STDMETHODCALLTYPE GetBuffer(IMediaSample **ppBuffer, REFERENCE_TIME *pStartTime, REFERENCE_TIME *pEndTime,
                                      DWORD dwFlags) override;
  // Takes back one of its samples whose last reference is gone; the
  // sample's own Release calls it.
  HRESULT STDMETHODCALLTYPE ReleaseBuffer(IMediaSample *pBuffer) override;

 private:
  MemAllocator();
  ~MemAllocator();

  void AwaitReturnBriefly() const;
  bool OwnsSample(IMediaSample *sample) const;

  com::ReferenceCount m_references;
  std::mutex m_lock;
  std::condition_variable m_sampleReturned;
  ALLOCATOR_PROPERTIES m_properties{};              // guarded by m_lock
  bool m_committed = false;                         // guarded by m_lock
  std::vector<std::unique_ptr<MediaSample>> m_samples;  // guarded by m_lock
  std::vector<MediaSample *> m_free;                // guarded by m_lock
  std::atomic<size_t> m_freeCount{0};               // m_free.size(), also read without the lock
};

}  // namespace platform::media
