// A source of a named clip, for the tests of saved graphs: a filter that
// has a file (IFileSourceFilter) and settings of its own (IPersistStream).
//
//   IFileSourceFilter  Load remembers the file name (the file is not read)
//                      and, the first time, adds the output pin "Output"
//                      (RGB32 video, 8x8); GetCurFile gives the name back
//   IPersistStream     its frame count, a DWORD (10 until set), which is
//                      how many numbered frames it pushes when it runs
//
// Created with one reference, which the test holds; the test filter server
// makes it without a file.
#pragma once

#include <platform_filters/source_filter.h>

#include <mutex>
#include <optional>
#include <string>

#include "test_filters.h"

namespace test_filters {

// {5B1C3E2A-7D41-4E6B-9A0F-2C8D1E4F6A05}
constexpr CLSID kFileClipSourceClass = {0x5B1C3E2A, 0x7D41, 0x4E6B, {0x9A, 0x0F, 0x2C, 0x8D, 0x1E, 0x4F, 0x6A, 0x0B}};

class FileClipSource final : public platform::media::SourceFilter, public IFileSourceFilter, public IPersistStream {
 public:
  static FileClipSource *Create();
  DWORD Frames() const;
  void SetFrames(DWORD frames);

  // IUnknown: those of the source, IFileSourceFilter and IPersistStream.
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void **ppv) override;
  ULONG STDMETHODCALLTYPE AddRef() override;
  ULONG STDMETHODCALLTYPE Release() override;

  // IPersist (with IBaseFilter's)
  HRESULT STDMETHODCALLTYPE GetClassID(CLSID *pClassID) override;

  // IFileSourceFilter
  HRESULT STDMETHODCALLTYPE Load(LPCOLESTR pszFileName, const AM_MEDIA_TYPE *pmt) override;
  HRESULT STDMETHODCALLTYPE GetCurFile(LPOLESTR *ppszFileName, AM_MEDIA_TYPE *pmt) override;

  // IPersistStream
  HRESULT STDMETHODCALLTYPE IsDirty() override;
  HRESULT STDMETHODCALLTYPE Load(IStream *pStm) override;
  HRESULT STDMETHODCALLTYPE Save(IStream *pStm, BOOL fClearDirty) override;
  HRESULT STDMETHODCALLTYPE GetSizeMax(ULARGE_INTEGER *pcbSize) override;

 private:
  platform::media::ServerObject m_serverObject{Server()};
  FileClipSource();
  HRESULT ProduceNext() override;

  mutable std::mutex m_lock;
  std::optional<std::wstring> m_file;  // guarded by m_lock
  DWORD m_frames = 10;                 // guarded by m_lock
  bool m_dirty = false;                // guarded by m_lock
  platform::media::SourcePin *m_pin = nullptr;  // set while stopped
  DWORD m_next = 0;  // the producing thread's own
};

}  // namespace test_filters
