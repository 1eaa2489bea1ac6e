// Media samples of the platform's memory allocator.
#include "media/media_sample.h"

#include <vfwmsgs.h>

#include <algorithm>
#include <cstddef>
#include <cstring>

#include "media/mem_allocator.h"

namespace platform::media {
namespace {

// The bytes of AM_SAMPLE2_PROPERTIES up to and including a field.
#define SAMPLE2_BYTES_TO(field) (offsetof(AM_SAMPLE2_PROPERTIES, field) + sizeof(AM_SAMPLE2_PROPERTIES::field))

// The flags a caller may set through IMediaSample2::SetProperties; the type
// comes with its own pointer.
constexpr DWORD kSettableFlags = AM_SAMPLE_SPLICEPOINT | AM_SAMPLE_PREROLL | AM_SAMPLE_DATADISCONTINUITY |
                                 AM_SAMPLE_TIMEVALID | AM_SAMPLE_STOPVALID | AM_SAMPLE_TIMEDISCONTINUITY |
                                 AM_SAMPLE_FLUSH_ON_PAUSE | AM_SAMPLE_ENDOFSTREAM;

}  // namespace

MediaSample::MediaSample(MemAllocator &allocator, LONG size, LONG alignment, LONG prefix)
    : m_allocator(allocator), m_storage(static_cast<size_t>(prefix) + size + alignment - 1), m_size(size) {
  const auto start = reinterpret_cast<uintptr_t>(m_storage.data()) + prefix;
  const uintptr_t aligned = (start + alignment - 1) & ~static_cast<uintptr_t>(alignment - 1);
  m_buffer = m_storage.data() + (aligned - reinterpret_cast<uintptr_t>(m_storage.data()));
}

void MediaSample::Prepare() {
  m_references = 1;
  m_actual = m_size;
  m_flags = 0;
  m_typeSpecificFlags = 0;
  m_streamId = AM_STREAM_MEDIA;
  m_mediaTime.reset();
  m_type.reset();
}

HRESULT MediaSample::QueryInterface(REFIID riid, void **ppv) {
  return com::QueryInterfaceAmong<IMediaSample2, IMediaSample>(this, riid, ppv);
}

ULONG MediaSample::AddRef() { return ++m_references; }

// The allocator may go away with its last sample, this one included: nothing
// of the sample is used once it is back.
ULONG MediaSample::Release() {
  const ULONG remaining = --m_references;
  if (remaining == 0) m_allocator.ReleaseBuffer(this);
  return remaining;
}

HRESULT MediaSample::GetPointer(BYTE **ppBuffer) {
  if (!ppBuffer) return E_POINTER;
  *ppBuffer = m_buffer;
  return S_OK;
}

LONG MediaSample::GetSize() { return m_size; }

// Without a stop time, the stop reads as the start plus one.
HRESULT MediaSample::GetTime(REFERENCE_TIME *pTimeStart, REFERENCE_TIME *pTimeEnd) {
  if (!pTimeStart || !pTimeEnd) return E_POINTER;
  if (!(m_flags & AM_SAMPLE_TIMEVALID)) return VFW_E_SAMPLE_TIME_NOT_SET;
  *pTimeStart = m_start;
  if (!(m_flags & AM_SAMPLE_STOPVALID)) {
    *pTimeEnd = m_start + 1;
    return VFW_S_NO_STOP_TIME;
  }
  *pTimeEnd = m_stop;
  return S_OK;
}

// A null start clears both times; a null stop sets the start alone.
HRESULT MediaSample::SetTime(REFERENCE_TIME *pTimeStart, REFERENCE_TIME *pTimeEnd) {
  m_flags &= ~(AM_SAMPLE_TIMEVALID | AM_SAMPLE_STOPVALID);
  if (!pTimeStart) return S_OK;
  m_start = *pTimeStart;
  m_flags |= AM_SAMPLE_TIMEVALID;
  if (pTimeEnd) {
    m_stop = *pTimeEnd;
    m_flags |= AM_SAMPLE_STOPVALID;
  }
  return S_OK;
}

HRESULT MediaSample::IsSyncPoint() { return TestFlag(AM_SAMPLE_SPLICEPOINT); }
HRESULT MediaSample::SetSyncPoint(BOOL bIsSyncPoint) { return SetFlag(AM_SAMPLE_SPLICEPOINT, bIsSyncPoint); }
HRESULT MediaSample::IsPreroll() { return TestFlag(AM_SAMPLE_PREROLL); }
HRESULT MediaSample::SetPreroll(BOOL bIsPreroll) { return SetFlag(AM_SAMPLE_PREROLL, bIsPreroll); }
HRESULT MediaSample::IsDiscontinuity() { return TestFlag(AM_SAMPLE_DATADISCONTINUITY); }
HRESULT MediaSample::SetDiscontinuity(BOOL bDiscontinuity) {
  return SetFlag(AM_SAMPLE_DATADISCONTINUITY, bDiscontinuity);
}

LONG MediaSample::GetActualDataLength() { return m_actual; }

HRESULT MediaSample::SetActualDataLength(LONG lLen) {
  if (lLen < 0 || lLen > m_size) return VFW_E_BUFFER_OVERFLOW;
  m_actual = lLen;
  return S_OK;
}

// S_FALSE with null when the sample carries no new type.
HRESULT MediaSample::GetMediaType(AM_MEDIA_TYPE **ppMediaType) {
  if (!ppMediaType) return E_POINTER;
  *ppMediaType = nullptr;
  if (!m_type) return S_FALSE;
  *ppMediaType = CreateMediaType(m_type->Get());
  return *ppMediaType ? S_OK : E_OUTOFMEMORY;
}

// Null clears the type.
HRESULT MediaSample::SetMediaType(AM_MEDIA_TYPE *pMediaType) {
  m_type.reset();
  m_flags &= ~AM_SAMPLE_TYPECHANGED;
  if (!pMediaType) return S_OK;
  m_type.emplace(*pMediaType);
  m_flags |= AM_SAMPLE_TYPECHANGED;
  return S_OK;
}

HRESULT MediaSample::GetMediaTime(LONGLONG *pTimeStart, LONGLONG *pTimeEnd) {
  if (!pTimeStart || !pTimeEnd) return E_POINTER;
  if (!m_mediaTime) return VFW_E_MEDIA_TIME_NOT_SET;
  *pTimeStart = m_mediaTime->first;
  *pTimeEnd = m_mediaTime->second;
  return S_OK;
}

// A null start clears the media times; both are set together.
HRESULT MediaSample::SetMediaTime(LONGLONG *pTimeStart, LONGLONG *pTimeEnd) {
  if (!pTimeStart) {
    m_mediaTime.reset();
    return S_OK;
  }
  if (!pTimeEnd) return E_POINTER;
  m_mediaTime.emplace(*pTimeStart, *pTimeEnd);
  return S_OK;
}

// The first cbProperties bytes of the sample's AM_SAMPLE2_PROPERTIES; the
// media type pointer points at the sample's own type.
HRESULT MediaSample::GetProperties(DWORD cbProperties, BYTE *pbProperties) {
  if (!pbProperties) return E_POINTER;
  if (cbProperties > sizeof(AM_SAMPLE2_PROPERTIES)) return E_INVALIDARG;
  AM_SAMPLE2_PROPERTIES properties{};
  properties.cbData = cbProperties;
  properties.dwTypeSpecificFlags = m_typeSpecificFlags;
  properties.dwSampleFlags = m_flags;
  properties.lActual = m_actual;
  properties.tStart = m_start;
  properties.tStop = m_stop;
  properties.dwStreamId = m_streamId;
  properties.pMediaType = m_type ? const_cast<AM_MEDIA_TYPE *>(&m_type->Get()) : nullptr;
  properties.pbBuffer = m_buffer;
  properties.cbBuffer = m_size;
  std::memcpy(pbProperties, &properties, cbProperties);
  return S_OK;
}

// Sets the fields that the first cbProperties bytes hold, up to the stream
// id and the media type; the buffer cannot be changed.
HRESULT MediaSample::SetProperties(DWORD cbProperties, const BYTE *pbProperties) {
  if (!pbProperties) return E_POINTER;
  if (cbProperties > sizeof(AM_SAMPLE2_PROPERTIES)) return E_INVALIDARG;
  AM_SAMPLE2_PROPERTIES properties{};
  std::memcpy(&properties, pbProperties, cbProperties);
  if (properties.cbData != cbProperties) return E_INVALIDARG;
  if (cbProperties >= SAMPLE2_BYTES_TO(lActual) && (properties.lActual < 0 || properties.lActual > m_size)) {
    return VFW_E_BUFFER_OVERFLOW;
  }
  if (cbProperties >= SAMPLE2_BYTES_TO(dwTypeSpecificFlags)) m_typeSpecificFlags = properties.dwTypeSpecificFlags;
  if (cbProperties >= SAMPLE2_BYTES_TO(dwSampleFlags)) {
    m_flags = (m_flags & AM_SAMPLE_TYPECHANGED) | (properties.dwSampleFlags & kSettableFlags);
  }
  if (cbProperties >= SAMPLE2_BYTES_TO(lActual)) m_actual = properties.lActual;
  if (cbProperties >= SAMPLE2_BYTES_TO(tStop)) {
    m_start = properties.tStart;
    m_stop = properties.tStop;
  }
  if (cbProperties >= SAMPLE2_BYTES_TO(dwStreamId)) m_streamId = properties.dwStreamId;
  if (cbProperties >= SAMPLE2_BYTES_TO(pMediaType) && (properties.dwSampleFlags & AM_SAMPLE_TYPECHANGED)) {
    SetMediaType(properties.pMediaType);
  }
  return S_OK;
}

HRESULT MediaSample::SetFlag(DWORD flag, BOOL on) {
  m_flags = on ? (m_flags | flag) : (m_flags & ~flag);
  return S_OK;
}

}  // namespace platform::media
