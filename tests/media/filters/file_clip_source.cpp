// A source of a named clip with settings of its own.
#include "file_clip_source.h"

#include <dshow.h>

#include <cstring>

namespace test_filters {
namespace {

constexpr ALLOCATOR_PROPERTIES kBuffers = {4, 8 * 8 * 4, 1, 0};

}  // namespace

FileClipSource *FileClipSource::Create() { return new FileClipSource(); }

FileClipSource::FileClipSource() : SourceFilter(kFileClipSourceClass) {}

DWORD FileClipSource::Frames() const {
  std::lock_guard lock(m_lock);
  return m_frames;
}

void FileClipSource::SetFrames(DWORD frames) {
  std::lock_guard lock(m_lock);
  m_frames = frames;
  m_dirty = true;
}

HRESULT FileClipSource::QueryInterface(REFIID riid, void **ppv) {
  if (ppv && IsEqualIID(riid, IID_IFileSourceFilter)) {
    *ppv = static_cast<IFileSourceFilter *>(this);
  } else if (ppv && IsEqualIID(riid, IID_IPersistStream)) {
    *ppv = static_cast<IPersistStream *>(this);
  } else {
    return SourceFilter::QueryInterface(riid, ppv);
  }
  AddRef();
  return S_OK;
}

ULONG FileClipSource::AddRef() { return SourceFilter::AddRef(); }
ULONG FileClipSource::Release() { return SourceFilter::Release(); }
HRESULT FileClipSource::GetClassID(CLSID *pClassID) { return SourceFilter::GetClassID(pClassID); }

HRESULT FileClipSource::Load(LPCOLESTR pszFileName, const AM_MEDIA_TYPE *) {
  if (!pszFileName) return E_POINTER;
  if (State() != State_Stopped) return VFW_E_NOT_STOPPED;
  std::lock_guard lock(m_lock);
  m_file = pszFileName;
  if (!m_pin) m_pin = AddOutputPin(L"Output", {VideoType(8, 8)}, kBuffers);
  return S_OK;
}

HRESULT FileClipSource::GetCurFile(LPOLESTR *ppszFileName, AM_MEDIA_TYPE *pmt) {
  if (!ppszFileName) return E_POINTER;
  *ppszFileName = nullptr;
  std::lock_guard lock(m_lock);
  if (!m_file) return E_FAIL;
  const size_t bytes = (m_file->size() + 1) * sizeof(wchar_t);
  *ppszFileName = static_cast<LPOLESTR>(CoTaskMemAlloc(bytes));
  if (!*ppszFileName) return E_OUTOFMEMORY;
  std::memcpy(*ppszFileName, m_file->c_str(), bytes);
  return pmt ? VideoType(8, 8).CopyTo(pmt) : S_OK;
}

HRESULT FileClipSource::IsDirty() {
  std::lock_guard lock(m_lock);
  return m_dirty ? S_OK : S_FALSE;
}

HRESULT FileClipSource::Load(IStream *pStm) {
  if (!pStm) return E_POINTER;
  DWORD frames = 0;
  ULONG read = 0;
  const HRESULT hr = pStm->Read(&frames, sizeof frames, &read);
  if (FAILED(hr)) return hr;
  if (read != sizeof frames) return E_FAIL;
  std::lock_guard lock(m_lock);
  m_frames = frames;
  m_dirty = false;
  return S_OK;
}

HRESULT FileClipSource::Save(IStream *pStm, BOOL fClearDirty) {
  if (!pStm) return E_POINTER;
  std::lock_guard lock(m_lock);
  const HRESULT hr = pStm->Write(&m_frames, sizeof m_frames, nullptr);
  if (SUCCEEDED(hr) && fClearDirty) m_dirty = false;
  return hr;
}

HRESULT FileClipSource::GetSizeMax(ULARGE_INTEGER *pcbSize) {
  if (!pcbSize) return E_POINTER;
  pcbSize->QuadPart = sizeof(DWORD);
  return S_OK;
}

HRESULT FileClipSource::ProduceNext() {
  if (!m_pin || m_next >= Frames() || !m_pin->IsConnected()) return S_FALSE;
  IMediaSample *sample = nullptr;
  HRESULT hr = m_pin->GetDeliveryBuffer(&sample, nullptr, nullptr, 0);
  if (FAILED(hr)) return hr;
  BYTE *data = nullptr;
  sample->GetPointer(&data);
  std::memcpy(data, &m_next, sizeof m_next);
  sample->SetActualDataLength(sizeof m_next);
  ++m_next;
  hr = m_pin->Queue(sample);
  sample->Release();
  return hr == S_OK ? S_OK : S_FALSE;
}

}  // namespace test_filters
