// The filter graph manager's IPersistStream: the graph saved to and loaded
// from its persistent form.
#include "media/graph_persistence.h"

#include <uuids.h>
#include <vfwmsgs.h>

#include <algorithm>

#include "media/filter_graph.h"
#include "media/graph_topology.h"

namespace platform::media {
namespace {

// Larger forms are refused: a form holds a handful of filters and types.
constexpr size_t kLargestForm = 64 * 1024 * 1024;
constexpr ULONG kReadChunk = 64 * 1024;

template <typename Interface>
com::ComPtr<Interface> Query(IUnknown *object) {
  Interface *found = nullptr;
  if (FAILED(object->QueryInterface(__uuidof(Interface), reinterpret_cast<void **>(&found)))) return {};
  com::ComPtr<Interface> held(found);
  found->Release();
  return held;
}

// Reads the stream from its position to its end.
HRESULT ReadToEnd(IStream *stream, std::vector<BYTE> &bytes) {
  bytes.clear();
  for (;;) {
    const size_t before = bytes.size();
    if (before > kLargestForm) return VFW_E_INVALID_FILE_FORMAT;
    bytes.resize(before + kReadChunk);
    ULONG read = 0;
    const HRESULT hr = stream->Read(bytes.data() + before, kReadChunk, &read);
    bytes.resize(before + read);
    if (FAILED(hr)) return hr;
    if (read == 0) return S_OK;
  }
}

HRESULT WriteAll(IStream *stream, const std::vector<BYTE> &bytes) {
  ULONG written = 0;
  const HRESULT hr = stream->Write(bytes.data(), static_cast<ULONG>(bytes.size()), &written);
  if (FAILED(hr)) return hr;
  return written == bytes.size() ? S_OK : STG_E_WRITEFAULT;
}

// A filter's own persistent data, through a stream in memory.
HRESULT SaveObject(IPersistStream *object, BOOL clearDirty, std::vector<BYTE> &data) {
  IStream *stream = nullptr;
  HRESULT hr = CreateStreamOnHGlobal(nullptr, TRUE, &stream);
  if (FAILED(hr)) return hr;
  hr = object->Save(stream, clearDirty);
  const LARGE_INTEGER start{};
  if (SUCCEEDED(hr)) hr = stream->Seek(start, STREAM_SEEK_SET, nullptr);
  if (SUCCEEDED(hr)) hr = ReadToEnd(stream, data);
  stream->Release();
  return hr;
}

HRESULT LoadObject(IPersistStream *object, const std::vector<BYTE> &data) {
  IStream *stream = nullptr;
  HRESULT hr = CreateStreamOnHGlobal(nullptr, TRUE, &stream);
  if (FAILED(hr)) return hr;
  hr = WriteAll(stream, data);
  const LARGE_INTEGER start{};
  if (SUCCEEDED(hr)) hr = stream->Seek(start, STREAM_SEEK_SET, nullptr);
  if (SUCCEEDED(hr)) hr = object->Load(stream);
  stream->Release();
  return hr;
}

// The graph's filters in its enumeration order: the newest first.
std::vector<com::ComPtr<IBaseFilter>> EnumeratedFilters(IFilterGraph &graph) {
  std::vector<com::ComPtr<IBaseFilter>> filters;
  IEnumFilters *enumerator = nullptr;
  if (FAILED(graph.EnumFilters(&enumerator))) return filters;
  IBaseFilter *filter = nullptr;
  while (enumerator->Next(1, &filter, nullptr) == S_OK) {
    filters.emplace_back(filter);
    filter->Release();
  }
  enumerator->Release();
  return filters;
}

// The order filters and connections are saved in: sources first, and each
// filter before those downstream of it (unconnected filters in the order
// they were added). A load makes and connects them in the order data flows,
// so a transform's input is connected before its output, which transforms
// need, and a filter that cannot be made stops the load after the filters
// upstream of it.
std::vector<com::ComPtr<IBaseFilter>> SavingOrder(IFilterGraph &graph) {
  auto filters = DownstreamFirst(EnumeratedFilters(graph));
  std::reverse(filters.begin(), filters.end());
  return filters;
}

// The id a filter is saved under: its place among filters, from 1.
DWORD IdOf(const std::vector<com::ComPtr<IBaseFilter>> &filters, IUnknown *filter) {
  for (size_t i = 0; i < filters.size(); ++i) {
    if (filters[i].Get() == filter) return static_cast<DWORD>(i + 1);
  }
  return kNoFilter;
}

HRESULT DescribeFilter(IBaseFilter *filter, DWORD id, BOOL clearDirty, SavedFilter &saved) {
  saved.id = id;
  FILTER_INFO info{};
  HRESULT hr = filter->QueryFilterInfo(&info);
  if (FAILED(hr)) return hr;
  if (info.pGraph) info.pGraph->Release();
  saved.name = info.achName;
  hr = filter->GetClassID(&saved.classId);
  if (FAILED(hr)) return hr;
  if (const auto source = Query<IFileSourceFilter>(filter)) {
    LPOLESTR file = nullptr;
    AM_MEDIA_TYPE type{};
    if (source->GetCurFile(&file, &type) == S_OK && file) saved.sourceFile = file;
    CoTaskMemFree(file);
    FreeMediaType(type);
  }
  if (const auto persist = Query<IPersistStream>(filter)) return SaveObject(persist.Get(), clearDirty, saved.data);
  return S_OK;
}

std::wstring PinIdOf(IPin *pin) {
  LPWSTR id = nullptr;
  if (FAILED(pin->QueryId(&id))) return {};
  std::wstring text = id;
  CoTaskMemFree(id);
  return text;
}

// The connections of the filter's output pins to filters of the graph.
void DescribeConnections(const std::vector<com::ComPtr<IBaseFilter>> &filters, IBaseFilter *filter,
                         std::vector<SavedConnection> &connections) {
  for (const auto &pin : PinsOf(filter)) {
    IPin *peer = nullptr;
    if (DirectionOf(pin.Get()) != PINDIR_OUTPUT || pin->ConnectedTo(&peer) != S_OK) continue;
    const com::ComPtr<IPin> input(peer);
    peer->Release();
    const DWORD inputFilter = IdOf(filters, OwnerOf(input.Get()).Get());
    AM_MEDIA_TYPE type{};
    if (inputFilter != kNoFilter && SUCCEEDED(pin->ConnectionMediaType(&type))) {
      connections.push_back({IdOf(filters, filter), PinIdOf(pin.Get()), inputFilter, PinIdOf(input.Get()),
                             MediaType(type)});
    }
    FreeMediaType(type);
  }
}

// The filter that gives the clock, if one of the graph's does.
SavedClock DescribeClock(const std::vector<com::ComPtr<IBaseFilter>> &filters, IReferenceClock *clock) {
  SavedClock saved;
  saved.set = clock != nullptr;
  if (!clock) return saved;
  const auto clockIdentity = Query<IUnknown>(clock);
  for (const auto &filter : filters) {
    if (Query<IUnknown>(filter.Get()).Get() == clockIdentity.Get() && Query<IReferenceClock>(filter.Get())) {
      saved.filter = IdOf(filters, filter.Get());
    }
  }
  return saved;
}

}  // namespace

HRESULT GraphPersistence::QueryInterface(REFIID riid, void **ppv) { return m_graph.QueryInterface(riid, ppv); }
ULONG GraphPersistence::AddRef() { return m_graph.AddRef(); }
ULONG GraphPersistence::Release() { return m_graph.Release(); }

HRESULT GraphPersistence::GetClassID(CLSID *pClassID) { return m_graph.GetClassID(pClassID); }

HRESULT GraphPersistence::IsDirty() {
  std::lock_guard lock(m_controlLock);
  std::vector<BYTE> now;
  if (FAILED(CurrentForm(FALSE, now))) return S_OK;
  if (m_cleanForm) return now == *m_cleanForm ? S_FALSE : S_OK;
  std::vector<BYTE> empty;
  WriteSavedGraph(SavedGraph(), empty);
  return now == empty ? S_FALSE : S_OK;
}

HRESULT GraphPersistence::Save(IStream *pStm, BOOL fClearDirty) {
  if (!pStm) return E_POINTER;
  std::lock_guard lock(m_controlLock);
  std::vector<BYTE> form;
  HRESULT hr = CurrentForm(fClearDirty, form);
  if (SUCCEEDED(hr)) hr = WriteAll(pStm, form);
  if (FAILED(hr)) return hr;
  if (fClearDirty) m_cleanForm = std::move(form);
  return S_OK;
}

HRESULT GraphPersistence::GetSizeMax(ULARGE_INTEGER *pcbSize) {
  if (!pcbSize) return E_POINTER;
  std::lock_guard lock(m_controlLock);
  std::vector<BYTE> form;
  const HRESULT hr = CurrentForm(FALSE, form);
  pcbSize->QuadPart = SUCCEEDED(hr) ? form.size() : 0;
  return hr;
}

HRESULT GraphPersistence::Load(IStream *pStm) {
  if (!pStm) return E_POINTER;
  std::lock_guard lock(m_controlLock);
  FILTER_STATE state = State_Stopped;
  m_graph.GetState(0, &state);
  if (state != State_Stopped) return VFW_E_NOT_STOPPED;
  ULARGE_INTEGER start{};
  const bool seekable = SUCCEEDED(pStm->Seek(LARGE_INTEGER{}, STREAM_SEEK_CUR, &start));
  std::vector<BYTE> form;
  HRESULT hr = ReadToEnd(pStm, form);
  if (FAILED(hr)) return hr;
  SavedGraph saved;
  size_t consumed = 0;
  hr = ReadSavedGraph(form, saved, consumed);
  if (FAILED(hr)) return hr;
  if (seekable) {
    LARGE_INTEGER end{};
    end.QuadPart = static_cast<LONGLONG>(start.QuadPart + consumed);
    pStm->Seek(end, STREAM_SEEK_SET, nullptr);
  }
  hr = Rebuild(saved);
  if (FAILED(hr)) return hr;
  std::vector<BYTE> loaded;
  if (SUCCEEDED(CurrentForm(FALSE, loaded))) m_cleanForm = std::move(loaded);
  return S_OK;
}

HRESULT GraphPersistence::CurrentForm(BOOL clearDirty, std::vector<BYTE> &form) {
  SavedGraph saved;
  const HRESULT hr = Describe(clearDirty, saved);
  return SUCCEEDED(hr) ? WriteSavedGraph(saved, form) : hr;
}

HRESULT GraphPersistence::Describe(BOOL clearDirty, SavedGraph &saved) {
  const auto filters = SavingOrder(m_graph);
  for (const auto &filter : filters) {
    SavedFilter described;
    const HRESULT hr = DescribeFilter(filter.Get(), IdOf(filters, filter.Get()), clearDirty, described);
    if (FAILED(hr)) return hr;
    saved.filters.push_back(std::move(described));
  }
  for (const auto &filter : filters) DescribeConnections(filters, filter.Get(), saved.connections);
  IReferenceClock *clock = nullptr;
  m_graph.GetSyncSource(&clock);
  saved.clock = DescribeClock(filters, clock);
  if (clock) clock->Release();
  return S_OK;
}

HRESULT GraphPersistence::Rebuild(const SavedGraph &saved) {
  LoadedFilters loaded;
  for (const SavedFilter &filter : saved.filters) {
    const HRESULT hr = AddSavedFilter(filter, loaded);
    if (FAILED(hr)) return hr;
  }
  for (const SavedConnection &connection : saved.connections) {
    const HRESULT hr = ConnectSaved(connection, loaded);
    if (FAILED(hr)) return hr;
  }
  RestoreClock(saved.clock, loaded);
  return S_OK;
}

HRESULT GraphPersistence::AddSavedFilter(const SavedFilter &saved, LoadedFilters &loaded) {
  IBaseFilter *created = nullptr;
  HRESULT hr = CoCreateInstance(saved.classId, nullptr, CLSCTX_INPROC_SERVER, IID_IBaseFilter,
                                reinterpret_cast<void **>(&created));
  if (FAILED(hr)) return hr;
  const com::ComPtr<IBaseFilter> filter(created);
  created->Release();
  hr = m_graph.AddFilter(filter.Get(), saved.name.c_str());
  if (FAILED(hr)) return hr;
  hr = RestoreFilterState(filter.Get(), saved);
  if (FAILED(hr)) {
    m_graph.RemoveFilter(filter.Get());
    return hr;
  }
  loaded[saved.id] = filter;
  return S_OK;
}

HRESULT GraphPersistence::RestoreFilterState(IBaseFilter *filter, const SavedFilter &saved) {
  if (saved.sourceFile) {
    const auto source = Query<IFileSourceFilter>(filter);
    if (!source) return E_NOINTERFACE;
    const HRESULT hr = source->Load(saved.sourceFile->c_str(), nullptr);
    if (FAILED(hr)) return hr;
  }
  const auto persist = Query<IPersistStream>(filter);
  return persist && !saved.data.empty() ? LoadObject(persist.Get(), saved.data) : S_OK;
}

HRESULT GraphPersistence::ConnectSaved(const SavedConnection &connection, const LoadedFilters &loaded) {
  IPin *output = nullptr;
  HRESULT hr = loaded.at(connection.outputFilter)->FindPin(connection.outputPin.c_str(), &output);
  if (FAILED(hr)) return hr;
  const com::ComPtr<IPin> outputPin(output);
  output->Release();
  IPin *input = nullptr;
  hr = loaded.at(connection.inputFilter)->FindPin(connection.inputPin.c_str(), &input);
  if (FAILED(hr)) return hr;
  const com::ComPtr<IPin> inputPin(input);
  input->Release();
  return m_graph.ConnectDirect(outputPin.Get(), inputPin.Get(), &connection.type.Get());
}

void GraphPersistence::RestoreClock(const SavedClock &clock, const LoadedFilters &loaded) {
  if (!clock.set) return;
  com::ComPtr<IReferenceClock> chosen;
  if (clock.filter != kNoFilter) {
    chosen = Query<IReferenceClock>(loaded.at(clock.filter).Get());
  } else if (clock.classId) {
    IReferenceClock *created = nullptr;
    if (SUCCEEDED(CoCreateInstance(*clock.classId, nullptr, CLSCTX_INPROC_SERVER, IID_IReferenceClock,
                                   reinterpret_cast<void **>(&created)))) {
      chosen = com::ComPtr<IReferenceClock>(created);
      created->Release();
    }
  }
  if (chosen) {
    m_graph.SetSyncSource(chosen.Get());
  } else {
    m_graph.SetDefaultSyncSource();
  }
}

}  // namespace platform::media
