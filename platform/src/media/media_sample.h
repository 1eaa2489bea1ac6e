// A media sample of the platform's memory allocator: a buffer with its
// stream properties (times, media times, sync point, preroll,
// discontinuity, a media type when the format changes), implementing
// IMediaSample2.
//
// A sample is handed out by MemAllocator::GetBuffer with one reference and
// goes back to its allocator when the last reference is released. Between
// the two it belongs to whoever holds it; its properties are not locked.
#pragma once

#include <platform_filters/media_type.h>
#include <strmif.h>

#include <atomic>
#include <optional>
#include <utility>
#include <vector>

namespace platform::media {

class MemAllocator;

class MediaSample final : public IMediaSample2 {
 public:
  // A buffer of size bytes whose start is aligned to alignment bytes, with
  // prefix bytes before it.
  MediaSample(MemAllocator &allocator, LONG size, LONG alignment, LONG prefix);

  // Called by the allocator as it hands the sample out: one reference, no
  // properties, the whole buffer as data.
  void Prepare();

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void **ppv) override;
  ULONG STDMETHODCALLTYPE AddRef() override;
  ULONG STDMETHODCALLTYPE Release() override;

  HRESULT STDMETHODCALLTYPE GetPointer(BYTE **ppBuffer) override;
  LONG STDMETHODCALLTYPE GetSize() override;
  HRESULT STDMETHODCALLTYPE GetTime(REFERENCE_TIME *pTimeStart, REFERENCE_TIME *pTimeEnd) override;
  HRESULT STDMETHODCALLTYPE SetTime(REFERENCE_TIME *pTimeStart, REFERENCE_TIME *pTimeEnd) override;
  HRESULT STDMETHODCALLTYPE IsSyncPoint() override;
  HRESULT STDMETHODCALLTYPE SetSyncPoint(BOOL bIsSyncPoint) override;
  HRESULT STDMETHODCALLTYPE IsPreroll() override;
  HRESULT STDMETHODCALLTYPE SetPreroll(BOOL bIsPreroll) override;
  LONG STDMETHODCALLTYPE GetActualDataLength() override;
  HRESULT STDMETHODCALLTYPE SetActualDataLength(LONG lLen) override;
  HRESULT STDMETHODCALLTYPE GetMediaType(AM_MEDIA_TYPE **ppMediaType) override;
  HRESULT STDMETHODCALLTYPE SetMediaType(AM_MEDIA_TYPE *pMediaType) override;
  HRESULT STDMETHODCALLTYPE IsDiscontinuity() override;
  HRESULT STDMETHODCALLTYPE SetDiscontinuity(BOOL bDiscontinuity) override;
  HRESULT STDMETHODCALLTYPE GetMediaTime(LONGLONG *pTimeStart, LONGLONG *pTimeEnd) override;
  HRESULT STDMETHODCALLTYPE SetMediaTime(LONGLONG *pTimeStart, LONGLONG *pTimeEnd) override;

  HRESULT STDMETHODCALLTYPE GetProperties(DWORD cbProperties, BYTE *pbProperties) override;
  HRESULT STDMETHODCALLTYPE SetProperties(DWORD cbProperties, const BYTE *pbProperties) override;

 private:
  HRESULT SetFlag(DWORD flag, BOOL on);
  HRESULT TestFlag(DWORD flag) const { return (m_flags & flag) ? S_OK : S_FALSE; }

  MemAllocator &m_allocator;
  std::atomic<ULONG> m_references{0};
  std::vector<BYTE> m_storage;
  BYTE *m_buffer;
  LONG m_size;
  LONG m_actual = 0;
  DWORD m_flags = 0;  // AM_SAMPLE_ flags; TIMEVALID and STOPVALID say which times are set
  DWORD m_typeSpecificFlags = 0;
  DWORD m_streamId = AM_STREAM_MEDIA;
  REFERENCE_TIME m_start = 0;
  REFERENCE_TIME m_stop = 0;
  std::optional<std::pair<LONGLONG, LONGLONG>> m_mediaTime;
  std::optional<MediaType> m_type;  // set with AM_SAMPLE_TYPECHANGED
};

}  // namespace platform::media
