// A file source of listed streams, found by AddSourceFilter through its
// registered extension or signature.
#include <dshow.h>
#include <mmreg.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "connect_filters.h"

namespace test_filters {
namespace {

constexpr ALLOCATOR_PROPERTIES kBuffers = {4, 64 * 64 * 4, 1, 0};

struct StreamLine {
  std::wstring pinName;
  MediaType type;
  DWORD frames;
};

GUID FourccSubtype(const std::string &fourcc) {
  GUID subtype = MEDIASUBTYPE_PCM;
  subtype.Data1 = static_cast<ULONG>(fourcc[0]) | static_cast<ULONG>(fourcc[1]) << 8 |
                  static_cast<ULONG>(fourcc[2]) << 16 | static_cast<ULONG>(fourcc[3]) << 24;
  return subtype;
}

// Video streams are 8x8 frames, audio streams 48 kHz stereo and text
// streams plain numbers, in the subtype the line names.
bool TypeOf(const std::string &kind, const std::string &subtype, MediaType &type) {
  if (kind == "video") {
    type = VideoType(8, 8);
  } else if (kind == "audio") {
    type = AudioType();
  } else if (kind == "text") {
    type = TextType();
  } else {
    return false;
  }
  if (subtype == "RGB32" || subtype == "PCM") return true;
  if (subtype.size() != 4) return false;
  AM_MEDIA_TYPE compressed = type.Get();
  compressed.subtype = FourccSubtype(subtype);
  type = MediaType(compressed);
  return true;
}

bool ParseLine(const std::string &line, size_t index, StreamLine &stream) {
  std::istringstream fields(line);
  std::string kind;
  std::string subtype;
  long long frames = -1;
  if (!(fields >> kind >> subtype >> frames) || frames < 0 || frames > 1000) return false;
  const bool hidden = kind[0] == '~';
  if (hidden) kind.erase(0, 1);
  if (!TypeOf(kind, subtype, stream.type)) return false;
  stream.pinName =
      std::wstring(hidden ? L"~" : L"") + std::wstring(kind.begin(), kind.end()) + L" " + std::to_wstring(index);
  stream.frames = static_cast<DWORD>(frames);
  return true;
}

HRESULT ReadStreamList(const std::wstring &path, std::vector<StreamLine> &streams) {
  std::ifstream file{std::filesystem::path(path)};
  if (!file) return HRESULT_FROM_WIN32(ERROR_FILE_NOT_FOUND);
  std::string line;
  while (std::getline(file, line)) {
    if (line.empty() || line[0] == '#' || line == kStreamListSignature) continue;
    StreamLine stream;
    if (!ParseLine(line, streams.size(), stream)) return VFW_E_INVALID_FILE_FORMAT;
    streams.push_back(std::move(stream));
  }
  return S_OK;
}

}  // namespace

StreamListSource *StreamListSource::Create() { return new StreamListSource(); }

StreamListSource::StreamListSource() : SourceFilter(kStreamListSourceClass) {}

HRESULT StreamListSource::QueryInterface(REFIID riid, void **ppv) { return SourceFilter::QueryInterface(riid, ppv); }
ULONG StreamListSource::AddRef() { return SourceFilter::AddRef(); }
ULONG StreamListSource::Release() { return SourceFilter::Release(); }

HRESULT StreamListSource::QueryFilterInterface(REFIID riid, void **ppv) {
  if (!IsEqualIID(riid, IID_IFileSourceFilter)) return E_NOINTERFACE;
  AddRef();
  *ppv = static_cast<IFileSourceFilter *>(this);
  return S_OK;
}

HRESULT StreamListSource::Load(LPCOLESTR pszFileName, const AM_MEDIA_TYPE *pmt) {
  if (!pszFileName) return E_POINTER;
  if (!m_file.empty()) return VFW_E_WRONG_STATE;
  std::vector<StreamLine> streams;
  if (HRESULT hr = ReadStreamList(pszFileName, streams); FAILED(hr)) return hr;
  for (auto &stream : streams) {
    m_streams.push_back({AddOutputPin(std::move(stream.pinName), {stream.type}, kBuffers), stream.frames, 0});
  }
  m_file = pszFileName;
  m_fileType = pmt ? MediaType(*pmt) : MediaType();
  return S_OK;
}

HRESULT StreamListSource::GetCurFile(LPOLESTR *ppszFileName, AM_MEDIA_TYPE *pmt) {
  if (!ppszFileName) return E_POINTER;
  *ppszFileName = nullptr;
  if (m_file.empty()) return E_FAIL;
  const size_t bytes = (m_file.size() + 1) * sizeof(WCHAR);
  *ppszFileName = static_cast<LPOLESTR>(CoTaskMemAlloc(bytes));
  if (!*ppszFileName) return E_OUTOFMEMORY;
  std::memcpy(*ppszFileName, m_file.c_str(), bytes);
  return pmt ? platform::media::CopyMediaType(pmt, m_fileType.Get()) : S_OK;
}

// The connected streams take turns, a frame each.
HRESULT StreamListSource::ProduceNext() {
  for (size_t tried = 0; tried < m_streams.size(); ++tried) {
    ListedStream &stream = m_streams[m_turn];
    m_turn = (m_turn + 1) % m_streams.size();
    if (stream.next < stream.frames && stream.pin->IsConnected()) return PushFrame(stream);
  }
  return S_FALSE;
}

HRESULT StreamListSource::PushFrame(ListedStream &stream) {
  const DWORD number = stream.next++;
  if (number == 0) stream.pin->QueueNewSegment(0, stream.frames * kFrameDuration, 1.0);
  IMediaSample *sample = nullptr;
  HRESULT hr = stream.pin->GetDeliveryBuffer(&sample, nullptr, nullptr, 0);
  if (FAILED(hr)) return hr;
  BYTE *data = nullptr;
  sample->GetPointer(&data);
  std::memcpy(data, &number, sizeof number);
  sample->SetActualDataLength(sizeof number);
  REFERENCE_TIME start = number * kFrameDuration;
  REFERENCE_TIME stop = start + kFrameDuration;
  sample->SetTime(&start, &stop);
  sample->SetSyncPoint(TRUE);
  hr = stream.pin->Queue(sample);
  sample->Release();
  if (hr == S_FALSE) stream.next = stream.frames;
  return SUCCEEDED(hr) ? S_OK : hr;
}

}  // namespace test_filters
