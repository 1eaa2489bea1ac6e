// The platform's memory allocator.
#include "media/mem_allocator.h"

#include <vfwmsgs.h>

#include <algorithm>
#include <thread>

#include "media/media_sample.h"

namespace platform::media {
namespace {

bool IsPowerOfTwo(LONG value) { return value > 0 && (value & (value - 1)) == 0; }

}  // namespace

HRESULT MemAllocator::Create(IMemAllocator **allocator) {
  if (!allocator) return E_POINTER;
  *allocator = new MemAllocator();
  return S_OK;
}

MemAllocator::MemAllocator() = default;
MemAllocator::~MemAllocator() = default;

HRESULT MemAllocator::QueryInterface(REFIID riid, void **ppv) {
  return com::QueryInterfaceAmong<IMemAllocator>(this, riid, ppv);
}

ULONG MemAllocator::AddRef() { return m_references.Increment(); }

ULONG MemAllocator::Release() {
  const ULONG remaining = m_references.Decrement();
  if (remaining == 0) delete this;
  return remaining;
}

HRESULT MemAllocator::SetProperties(ALLOCATOR_PROPERTIES *pRequest, ALLOCATOR_PROPERTIES *pActual) {
  if (!pRequest || !pActual) return E_POINTER;
  if (!IsPowerOfTwo(pRequest->cbAlign)) return VFW_E_BADALIGN;
  if (pRequest->cBuffers < 0 || pRequest->cbBuffer < 0 || pRequest->cbPrefix < 0) return E_INVALIDARG;
  std::lock_guard lock(m_lock);
  if (m_committed) return VFW_E_ALREADY_COMMITTED;
  if (m_free.size() != m_samples.size()) return VFW_E_BUFFERS_OUTSTANDING;
  m_properties = *pRequest;
  m_samples.clear();
  m_free.clear();
  m_freeCount = 0;
  *pActual = m_properties;
  return S_OK;
}

HRESULT MemAllocator::GetProperties(ALLOCATOR_PROPERTIES *pProps) {
  if (!pProps) return E_POINTER;
  std::lock_guard lock(m_lock);
  *pProps = m_properties;
  return S_OK;
}

HRESULT MemAllocator::Commit() {
  std::lock_guard lock(m_lock);
  if (m_properties.cBuffers == 0 || m_properties.cbBuffer == 0) return VFW_E_SIZENOTSET;
  if (m_samples.empty()) {
    for (LONG i = 0; i < m_properties.cBuffers; ++i) {
      m_samples.push_back(std::make_unique<MediaSample>(*this, m_properties.cbBuffer, m_properties.cbAlign,
                                                        m_properties.cbPrefix));
      m_free.push_back(m_samples.back().get());
    }
    m_freeCount = m_free.size();
  }
  m_committed = true;
  return S_OK;
}

HRESULT MemAllocator::Decommit() {
  std::lock_guard lock(m_lock);
  m_committed = false;
  m_sampleReturned.notify_all();
  return S_OK;
}

// The time hints are not used: samples are handed out in any order.
HRESULT MemAllocator::GetBuffer(IMediaSample **ppBuffer, REFERENCE_TIME *, REFERENCE_TIME *, DWORD dwFlags) {
  if (!ppBuffer) return E_POINTER;
  *ppBuffer = nullptr;
  if (!(dwFlags & AM_GBF_NOWAIT)) AwaitReturnBriefly();
  std::unique_lock lock(m_lock);
  if (!(dwFlags & AM_GBF_NOWAIT)) m_sampleReturned.wait(lock, [this] { return !m_committed || !m_free.empty(); });
  if (!m_committed) return VFW_E_NOT_COMMITTED;
  if (m_free.empty()) return VFW_E_TIMEOUT;
  MediaSample *sample = m_free.back();
  m_free.pop_back();
  m_freeCount = m_free.size();
  sample->Prepare();
  AddRef();
  *ppBuffer = sample;
  return S_OK;
}

HRESULT MemAllocator::ReleaseBuffer(IMediaSample *pBuffer) {
  if (!pBuffer) return E_POINTER;
  {
    std::lock_guard lock(m_lock);
    if (!OwnsSample(pBuffer)) return E_INVALIDARG;
    m_free.push_back(static_cast<MediaSample *>(pBuffer));
    m_freeCount = m_free.size();
    m_sampleReturned.notify_one();
  }
  // The reference the sample held while it was out; it may be the last.
  Release();
  return S_OK;
}

// Samples downstream usually come back within microseconds of each other
// while the graph streams: looking for one a little while, giving the
// processor away between looks, spares a sleep and wake-up per sample.
void MemAllocator::AwaitReturnBriefly() const {
  constexpr int kLooks = 64;
  for (int look = 0; look < kLooks && m_freeCount.load(std::memory_order_relaxed) == 0; ++look) {
    std::this_thread::yield();
  }
}

bool MemAllocator::OwnsSample(IMediaSample *sample) const {
  return std::any_of(m_samples.begin(), m_samples.end(),
                     [sample](const auto &owned) { return static_cast<IMediaSample *>(owned.get()) == sample; });
}

}  // namespace platform::media
