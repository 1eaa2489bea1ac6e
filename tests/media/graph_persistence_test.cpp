// The graph manager's persistent form (IPersistStream): graphs saved to the
// "ActiveMovieGraph" stream of a compound file and loaded into a fresh
// graph, as saved-graph (.grf) files are; filters that are not installed;
// damaged streams; IsDirty and GetSizeMax.
#include <gtest/gtest.h>

#include <dshow.h>

#include <cstring>
#include <string>
#include <vector>

#include "file_clip_source.h"
#include "graph_test_fixture.h"
#include "media/saved_graph.h"
#include "registered_filters.h"

namespace {

using media_testing::CComPtr;
using media_testing::CComQIPtr;
using media_testing::GraphTest;
using platform::media::SavedFilter;
using platform::media::SavedGraph;
using test_filters::FileClipSource;
using test_filters::VideoType;

// {0BADF00D-0000-4000-8000-000000000001}: installed nowhere.
constexpr CLSID kMissingClass = {0x0BADF00D, 0, 0x4000, {0x80, 0, 0, 0, 0, 0, 0, 1}};
constexpr DWORD kOpenMode = STGM_READ | STGM_SHARE_EXCLUSIVE;  // 0x10, as the test bench opens .grf files
const wchar_t kClipFile[] = L"/media/clips/first clip \u00e9.mp4";

std::wstring GuidText(REFGUID guid) {
  WCHAR text[40];
  StringFromGUID2(guid, text, 40);
  return text;
}

std::wstring NameOf(IBaseFilter *filter) {
  FILTER_INFO info{};
  filter->QueryFilterInfo(&info);
  if (info.pGraph) info.pGraph->Release();
  return info.achName;
}

std::vector<CComPtr<IBaseFilter>> FiltersOf(IFilterGraph *graph) {
  std::vector<CComPtr<IBaseFilter>> filters;
  CComPtr<IEnumFilters> enumerator;
  graph->EnumFilters(&enumerator);
  for (CComPtr<IBaseFilter> filter; enumerator->Next(1, &filter, nullptr) == S_OK; filter.Release()) {
    filters.push_back(filter);
  }
  return filters;
}

std::wstring TypeText(const AM_MEDIA_TYPE &type) {
  std::wstring text = GuidText(type.majortype) + L" " + GuidText(type.subtype) + L" " + GuidText(type.formattype) +
                      L" fixed " + std::to_wstring(type.bFixedSizeSamples) + L" temporal " +
                      std::to_wstring(type.bTemporalCompression) + L" size " + std::to_wstring(type.lSampleSize) + L" ";
  for (ULONG i = 0; i < type.cbFormat; ++i) text += std::to_wstring(type.pbFormat[i]) + L".";
  return text;
}

// The graph as text: each filter with its class, each connection from an
// output pin with its media type.
std::vector<std::wstring> Topology(IFilterGraph *graph) {
  std::vector<std::wstring> lines;
  for (const auto &filter : FiltersOf(graph)) {
    CLSID clsid{};
    filter->GetClassID(&clsid);
    lines.push_back(NameOf(filter) + L" " + GuidText(clsid));
    CComPtr<IEnumPins> pins;
    filter->EnumPins(&pins);
    for (CComPtr<IPin> pin; pins->Next(1, &pin, nullptr) == S_OK; pin.Release()) {
      PIN_DIRECTION direction = PINDIR_INPUT;
      pin->QueryDirection(&direction);
      CComPtr<IPin> peer;
      if (direction != PINDIR_OUTPUT || pin->ConnectedTo(&peer) != S_OK) continue;
      PIN_INFO out{}, in{};
      pin->QueryPinInfo(&out);
      peer->QueryPinInfo(&in);
      AM_MEDIA_TYPE type{};
      pin->ConnectionMediaType(&type);
      lines.push_back(NameOf(out.pFilter) + L"." + out.achName + L" -> " + NameOf(in.pFilter) + L"." + in.achName +
                      L" " + TypeText(type));
      platform::media::FreeMediaType(type);
      out.pFilter->Release();
      in.pFilter->Release();
    }
  }
  return lines;
}

HRESULT SaveToFile(IUnknown *graph, const std::wstring &path) {
  CComQIPtr<IPersistStream> persist(graph);
  CComPtr<IStorage> storage;
  HRESULT hr = StgCreateDocfile(path.c_str(), STGM_CREATE | STGM_READWRITE | STGM_SHARE_EXCLUSIVE, 0, &storage);
  if (FAILED(hr)) return hr;
  CComPtr<IStream> stream;
  hr = storage->CreateStream(L"ActiveMovieGraph", STGM_WRITE | STGM_CREATE | STGM_SHARE_EXCLUSIVE, 0, 0, &stream);
  if (FAILED(hr)) return hr;
  hr = persist->Save(stream, TRUE);
  if (FAILED(hr)) return hr;
  return storage->Commit(STGC_DEFAULT);
}

// As the test bench loads a .grf file.
HRESULT LoadFromFile(IUnknown *graph, const std::wstring &path) {
  CComQIPtr<IPersistStream> persist(graph);
  CComPtr<IStorage> storage;
  HRESULT hr = StgOpenStorage(path.c_str(), nullptr, kOpenMode, nullptr, 0, &storage);
  if (FAILED(hr)) return hr;
  CComPtr<IStream> stream;
  hr = storage->OpenStream(L"ActiveMovieGraph", nullptr, kOpenMode, 0, &stream);
  if (FAILED(hr)) return hr;
  return persist->Load(stream);
}

CComPtr<IStream> MemoryStream(const std::vector<BYTE> &bytes) {
  CComPtr<IStream> stream;
  CreateStreamOnHGlobal(nullptr, TRUE, &stream);
  stream->Write(bytes.data(), static_cast<ULONG>(bytes.size()), nullptr);
  stream->Seek(LARGE_INTEGER{}, STREAM_SEEK_SET, nullptr);
  return stream;
}

std::vector<BYTE> ContentOf(IStream *stream) {
  STATSTG stat{};
  stream->Stat(&stat, STATFLAG_NONAME);
  std::vector<BYTE> bytes(static_cast<size_t>(stat.cbSize.QuadPart));
  stream->Seek(LARGE_INTEGER{}, STREAM_SEEK_SET, nullptr);
  ULONG read = 0;
  stream->Read(bytes.data(), static_cast<ULONG>(bytes.size()), &read);
  return bytes;
}

std::vector<BYTE> FormOf(IPersistStream *persist) {
  CComPtr<IStream> stream = MemoryStream({});
  EXPECT_HR(S_OK, persist->Save(stream, FALSE));
  return ContentOf(stream);
}

std::vector<BYTE> FormOf(const SavedGraph &graph) {
  std::vector<BYTE> form;
  EXPECT_HR(S_OK, platform::media::WriteSavedGraph(graph, form));
  return form;
}

// The frame count a clip source keeps, read through its IPersistStream.
DWORD FramesOf(IBaseFilter *source) {
  CComQIPtr<IPersistStream> persist(source);
  const std::vector<BYTE> data = FormOf(persist);
  DWORD frames = 0;
  if (data.size() == sizeof frames) std::memcpy(&frames, data.data(), sizeof frames);
  return frames;
}

std::wstring CurrentFileOf(IBaseFilter *source) {
  CComQIPtr<IFileSourceFilter> file(source);
  LPOLESTR name = nullptr;
  if (!file || FAILED(file->GetCurFile(&name, nullptr))) return L"(none)";
  std::wstring text = name;
  CoTaskMemFree(name);
  return text;
}

// A clock the graph can be given.
class StubClock final : public IReferenceClock {
 public:
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void **ppv) override {
    if (!IsEqualIID(riid, IID_IUnknown) && !IsEqualIID(riid, IID_IReferenceClock)) return E_NOINTERFACE;
    *ppv = this;
    AddRef();
    return S_OK;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return ++references_; }
  ULONG STDMETHODCALLTYPE Release() override { return --references_; }
  HRESULT STDMETHODCALLTYPE GetTime(REFERENCE_TIME *time) override {
    *time = 0;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE AdviseTime(REFERENCE_TIME, REFERENCE_TIME, HEVENT, DWORD_PTR *) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE AdvisePeriodic(REFERENCE_TIME, REFERENCE_TIME, HSEMAPHORE, DWORD_PTR *) override {
    return E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE Unadvise(DWORD_PTR) override { return E_NOTIMPL; }

 private:
  ULONG references_ = 1;  // the test's own, on the stack
};

class GraphPersistenceTest : public GraphTest {
 protected:
  void SetUp() override {
    GraphTest::SetUp();
    ASSERT_HR(S_OK, graph_.QueryInterface(&persist_));
  }
  void TearDown() override {
    persist_.Release();
    GraphTest::TearDown();
  }

  // Clip source -> transform -> renderer.
  FileClipSource *BuildClipLine() {
    FileClipSource *source = Keep(FileClipSource::Create());
    EXPECT_HR(S_OK, source->Load(kClipFile, nullptr));
    source->SetFrames(25);
    EXPECT_HR(S_OK, graph_->AddFilter(source, L"Clip"));
    auto *transform = AddTransform(L"Pass \u00fc");
    auto *renderer = AddRenderer(MEDIATYPE_Video, L"Renderer");
    EXPECT_HR(S_OK, graph_->ConnectDirect(test_filters::PinOf(source, L"Output"), transform->Input(), nullptr));
    EXPECT_HR(S_OK, graph_->ConnectDirect(transform->Output(), renderer->Input(), nullptr));
    return source;
  }

  std::wstring FilePath(const char *name) const {
    const std::string path = registered_.registry.folder + "/" + name;
    return std::wstring(path.begin(), path.end());
  }

  media_testing::RegisteredFilters registered_;
  CComPtr<IPersistStream> persist_;
};

TEST_F(GraphPersistenceTest, TheGraphSavesAsTheFilterGraphClass) {
  CLSID clsid{};
  EXPECT_HR(S_OK, persist_->GetClassID(&clsid));
  EXPECT_EQ(GuidText(clsid), GuidText(CLSID_FilterGraph));
  CComPtr<IUnknown> fromPersist, fromGraph;
  persist_.QueryInterface(&fromPersist);
  graph_.QueryInterface(&fromGraph);
  EXPECT_EQ(fromPersist, fromGraph);
}

TEST_F(GraphPersistenceTest, AGraphSavedToAFileLoadsIntoAFreshGraph) {
  BuildClipLine();
  const std::wstring path = FilePath("line.grf");
  ASSERT_HR(S_OK, SaveToFile(graph_, path));

  CComPtr<IGraphBuilder> loaded = media_testing::CreateGraph();
  ASSERT_HR(S_OK, LoadFromFile(loaded, path));
  EXPECT_EQ(Topology(loaded), Topology(graph_));
  CComPtr<IBaseFilter> source;
  ASSERT_HR(S_OK, loaded->FindFilterByName(L"Clip", &source));
  EXPECT_EQ(CurrentFileOf(source), kClipFile);
  EXPECT_EQ(FramesOf(source), 25u) << "the filter's own data";
  CComQIPtr<IPersistStream> loadedPersist(loaded);
  EXPECT_HR(S_FALSE, loadedPersist->IsDirty());
}

TEST_F(GraphPersistenceTest, FiltersAndConnectionsAreSavedInTheOrderDataFlows) {
  // Added renderer first, so that the order they were added in is not the
  // order data flows in.
  auto *renderer = AddRenderer(MEDIATYPE_Video, L"Renderer");
  auto *transform = AddTransform(L"Pass");
  FileClipSource *source = Keep(FileClipSource::Create());
  ASSERT_HR(S_OK, source->Load(kClipFile, nullptr));
  ASSERT_HR(S_OK, graph_->AddFilter(source, L"Clip"));
  ASSERT_HR(S_OK, graph_->ConnectDirect(test_filters::PinOf(source, L"Output"), transform->Input(), nullptr));
  ASSERT_HR(S_OK, graph_->ConnectDirect(transform->Output(), renderer->Input(), nullptr));

  SavedGraph saved;
  size_t consumed = 0;
  const std::vector<BYTE> form = FormOf(persist_);
  ASSERT_HR(S_OK, platform::media::ReadSavedGraph(form, saved, consumed));
  std::vector<std::wstring> filters, connections;
  for (const auto &filter : saved.filters) filters.push_back(filter.name);
  for (const auto &connection : saved.connections) {
    connections.push_back(saved.filters[connection.outputFilter - 1].name + L" -> " +
                          saved.filters[connection.inputFilter - 1].name);
  }
  EXPECT_EQ(filters, (std::vector<std::wstring>{L"Clip", L"Pass", L"Renderer"}));
  EXPECT_EQ(connections, (std::vector<std::wstring>{L"Clip -> Pass", L"Pass -> Renderer"}));
}

TEST_F(GraphPersistenceTest, ALoadedGraphRuns) {
  BuildClipLine();
  CComPtr<IGraphBuilder> loaded = media_testing::CreateGraph();
  ASSERT_HR(S_OK, CComQIPtr<IPersistStream>(loaded)->Load(MemoryStream(FormOf(persist_))));
  CComQIPtr<IMediaControl> control(loaded);
  CComQIPtr<IMediaEvent> events(loaded);
  control->Run();
  EXPECT_TRUE(media_testing::WaitForEvent(events, EC_COMPLETE));
  control->Stop();
}

TEST_F(GraphPersistenceTest, AFilterThatIsNotInstalledEndsTheLoadAndThoseBeforeStay) {
  SavedGraph saved;
  saved.filters.push_back({1, L"Clip", test_filters::kFileClipSourceClass, std::wstring(kClipFile), {}});
  saved.filters.push_back({2, L"Missing", kMissingClass, std::nullopt, {}});
  saved.filters.push_back({3, L"Renderer", test_filters::kRecordingRendererClass, std::nullopt, {}});
  EXPECT_HR(REGDB_E_CLASSNOTREG, persist_->Load(MemoryStream(FormOf(saved))));
  const auto filters = FiltersOf(graph_);
  ASSERT_EQ(filters.size(), 1u);
  EXPECT_EQ(NameOf(filters[0]), L"Clip");
  EXPECT_EQ(CurrentFileOf(filters[0]), kClipFile);
}

TEST_F(GraphPersistenceTest, AConnectionThatCannotBeMadeEndsTheLoad) {
  SavedGraph saved;
  saved.filters.push_back({1, L"Clip", test_filters::kFileClipSourceClass, std::wstring(kClipFile), {}});
  saved.filters.push_back({2, L"Renderer", test_filters::kRecordingRendererClass, std::nullopt, {}});
  saved.connections.push_back({1, L"Output", 2, L"No such pin", VideoType(8, 8)});
  EXPECT_HR(VFW_E_NOT_FOUND, persist_->Load(MemoryStream(FormOf(saved))));
  EXPECT_EQ(FiltersOf(graph_).size(), 2u);
  saved.connections[0] = {1, L"Output", 2, L"In", test_filters::AudioType()};
  EXPECT_HR(VFW_E_TYPE_NOT_ACCEPTED, CComQIPtr<IPersistStream>(media_testing::CreateGraph())->Load(
                                         MemoryStream(FormOf(saved))))
      << "the saved type is the one tried";
}

TEST_F(GraphPersistenceTest, ASourceWithoutAFileInterfaceIsRefused) {
  SavedGraph saved;
  saved.filters.push_back({1, L"Renderer", test_filters::kRecordingRendererClass, std::wstring(L"f.mp4"), {}});
  EXPECT_HR(E_NOINTERFACE, persist_->Load(MemoryStream(FormOf(saved))));
  EXPECT_TRUE(FiltersOf(graph_).empty()) << "the failing filter does not stay";
}

TEST_F(GraphPersistenceTest, DamagedStreamsAreRefusedAndChangeNothing) {
  BuildClipLine();
  const std::vector<BYTE> good = FormOf(persist_);
  CComPtr<IGraphBuilder> target = media_testing::CreateGraph();
  CComQIPtr<IPersistStream> persist(target);
  struct Case {
    const char *what;
    std::vector<BYTE> bytes;
  };
  std::vector<BYTE> flipped = good;
  flipped[12] ^= 0x5A;  // the F of FILTERS
  const Case cases[] = {
      {"empty", {}},
      {"garbage", {0xD0, 0xCF, 0x11, 0xE0, 'x', 0, 'y', 0}},
      {"half", std::vector<BYTE>(good.begin(), good.begin() + static_cast<std::ptrdiff_t>(good.size() / 2))},
      {"all but the last byte", std::vector<BYTE>(good.begin(), good.end() - 1)},
      {"a byte changed", flipped},
      {"as UTF-8", {'0', '0', '0', '3', '\r', '\n', 'F', 'I', 'L', 'T', 'E', 'R', 'S'}},
  };
  for (const Case &c : cases) {
    const HRESULT hr = persist->Load(MemoryStream(c.bytes));
    EXPECT_TRUE(FAILED(hr)) << c.what << ": " << media_testing::Hex(hr);
    EXPECT_TRUE(FiltersOf(target).empty()) << c.what;
  }
  EXPECT_HR(VFW_E_INVALID_FILE_FORMAT, persist->Load(MemoryStream({})));
  EXPECT_HR(E_POINTER, persist->Load(nullptr));
}

TEST_F(GraphPersistenceTest, LoadLeavesTheStreamJustAfterTheForm) {
  std::vector<BYTE> bytes = FormOf(SavedGraph());
  const size_t formSize = bytes.size();
  bytes.insert(bytes.end(), {'n', 'e', 'x', 't'});
  CComPtr<IStream> stream = MemoryStream(bytes);
  ASSERT_HR(S_OK, persist_->Load(stream));
  ULARGE_INTEGER position{};
  stream->Seek(LARGE_INTEGER{}, STREAM_SEEK_CUR, &position);
  EXPECT_EQ(position.QuadPart, formSize);
}

TEST_F(GraphPersistenceTest, AGraphThatIsNotStoppedCannotLoad) {
  const auto line = BuildLine(1);
  line.source->CloseGate();
  control_->Pause();
  EXPECT_HR(VFW_E_NOT_STOPPED, persist_->Load(MemoryStream(FormOf(SavedGraph()))));
  control_->Stop();
  line.source->OpenGate();
}

TEST_F(GraphPersistenceTest, TheClockIsSavedAsItsFilterOrTheSystemClock) {
  CComQIPtr<IMediaFilter> filter(graph_);
  StubClock clock;
  ASSERT_HR(S_OK, filter->SetSyncSource(&clock));
  SavedGraph read;
  size_t consumed = 0;
  ASSERT_HR(S_OK, platform::media::ReadSavedGraph(FormOf(persist_), read, consumed));
  EXPECT_TRUE(read.clock.set);
  EXPECT_EQ(read.clock.filter, platform::media::kNoFilter);
  filter->SetSyncSource(nullptr);
  ASSERT_HR(S_OK, platform::media::ReadSavedGraph(FormOf(persist_), read, consumed));
  EXPECT_FALSE(read.clock.set);
}

TEST_F(GraphPersistenceTest, ASavedClockIsSetAgainAndNoClockIsLeftToTheGraph) {
  struct Case {
    const char *what;
    bool set;
    bool clocked;
  };
  const Case cases[] = {{"saved without a clock", false, false}, {"saved with the system clock", true, true}};
  for (const Case &c : cases) {
    SavedGraph saved;
    saved.clock.set = c.set;
    CComPtr<IGraphBuilder> loaded = media_testing::CreateGraph();
    ASSERT_HR(S_OK, CComQIPtr<IPersistStream>(loaded)->Load(MemoryStream(FormOf(saved)))) << c.what;
    CComPtr<IReferenceClock> clock;
    CComQIPtr<IMediaFilter>(loaded)->GetSyncSource(&clock);
    EXPECT_EQ(clock != nullptr, c.clocked) << c.what;
  }
}

TEST_F(GraphPersistenceTest, ANameWithAQuoteCannotBeSaved) {
  AddRenderer(MEDIATYPE_Video, L"The \"best\" renderer");
  EXPECT_HR(E_INVALIDARG, persist_->Save(MemoryStream({}), TRUE));
  EXPECT_HR(S_OK, persist_->IsDirty());
}

TEST_F(GraphPersistenceTest, DirtinessFollowsTheChangesSinceTheLastSave) {
  ULARGE_INTEGER size{};
  EXPECT_HR(S_FALSE, persist_->IsDirty()) << "a new graph";
  FileClipSource *source = BuildClipLine();
  EXPECT_HR(S_OK, persist_->IsDirty()) << "filters added";
  EXPECT_HR(S_OK, persist_->Save(MemoryStream({}), FALSE));
  EXPECT_HR(S_OK, persist_->IsDirty()) << "saved without clearing";
  CComPtr<IStream> stream = MemoryStream({});
  EXPECT_HR(S_OK, persist_->Save(stream, TRUE));
  EXPECT_HR(S_FALSE, persist_->IsDirty()) << "saved";
  EXPECT_HR(S_OK, persist_->GetSizeMax(&size));
  EXPECT_EQ(size.QuadPart, ContentOf(stream).size());
  source->SetFrames(3);
  EXPECT_HR(S_OK, persist_->IsDirty()) << "a filter's own data changed";
  persist_->Save(MemoryStream({}), TRUE);
  graph_->Disconnect(test_filters::PinOf(source, L"Output"));
  EXPECT_HR(S_OK, persist_->IsDirty()) << "a pin disconnected";
}

}  // namespace
