// The graph controller on real graphs: the generated clips rendered with the
// decoder under test registered as it is installed, saved graphs written by
// saving such a graph, the decoder's identity and settings, transport and
// seeking. Each case has a registry of its own with the platform's classes
// and the decoder in it.
#include <windows.h>

#include <gtest/gtest.h>
#include <math.h>
#include <stdlib.h>

#include <algorithm>
#include <filesystem>
#include <regex>
#include <string>

#include "Graph.h"
#include "debug_assertions.h"
#include "private_registry.h"
#include "server_entry.h"
#include "work_area.h"

// The platform library's own registration of its built-in classes.
STDAPI DllRegisterServer(void);

using testing_support::Assertions;
using testing_support::AssertionLog;
using testing_support::CallServerEntry;
using testing_support::Hex;
using testing_support::InSource;

namespace {

const UINT kGraphMessage = WM_APP + 7;
const REFERENCE_TIME kSecond = 10000000;
const REFERENCE_TIME kFrameAt25 = 400000;

std::wstring Clip(const char *name) { return (std::filesystem::path(QUORVEL_SAMPLES_DIR) / name).wstring(); }

// A folder of the case's own, removed with everything in it.
class TempFolder {
 public:
  TempFolder() {
    std::string pattern = (std::filesystem::temp_directory_path() / "quorvel-graphs-XXXXXX").string();
    m_path = mkdtemp(pattern.data());
  }
  ~TempFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(m_path, ignored);
  }
  std::wstring File(const char *name) const { return (m_path / name).wstring(); }

 private:
  std::filesystem::path m_path;
};

HRESULT SaveGraph(IGraphBuilder *graph, const std::wstring &file) {
  CComQIPtr<IPersistStream> persist(graph);
  if (!persist) return E_NOINTERFACE;
  CComPtr<IStorage> storage;
  HRESULT hr = StgCreateDocfile(file.c_str(), STGM_CREATE | STGM_READWRITE | STGM_SHARE_EXCLUSIVE, 0, &storage);
  if (FAILED(hr)) return hr;
  CComPtr<IStream> stream;
  hr = storage->CreateStream(L"ActiveMovieGraph", STGM_CREATE | STGM_WRITE | STGM_SHARE_EXCLUSIVE, 0, 0, &stream);
  if (FAILED(hr)) return hr;
  hr = persist->Save(stream, TRUE);
  return FAILED(hr) ? hr : storage->Commit(STGC_DEFAULT);
}

int FilterCount(IGraphBuilder *graph) {
  CComPtr<IEnumFilters> filters;
  if (!graph || graph->EnumFilters(&filters) != S_OK) return -1;
  int count = 0;
  for (CComPtr<IBaseFilter> filter; filters->Next(1, &filter, nullptr) == S_OK; filter.Release()) ++count;
  return count;
}

class RealGraph : public testing::Test {
 protected:
  void SetUp() override {
    ASSERT_EQ(Hex(CoInitialize(nullptr)), Hex(S_OK));
    ASSERT_EQ(Hex(DllRegisterServer()), Hex(S_OK)) << "the platform's classes";
    ASSERT_EQ(Hex(CallServerEntry(QUORVEL_DECODER_LIBRARY, "DllRegisterServer")), Hex(S_OK)) << "the decoder";
    dialog = CreateWindowExW(0, L"STATIC", L"dialog", WS_POPUP, 0, kDialogTop, 400, 200, nullptr, nullptr, nullptr,
                             nullptr);
    ASSERT_NE(dialog, nullptr);
  }
  void TearDown() override {
    controller.ReleaseGraph();
    DestroyWindow(dialog);
    CoUninitialize();
  }

  void Build(const std::wstring &name) {
    ASSERT_EQ(Hex(controller.BuildGraph(name.c_str(), dialog, kGraphMessage)), Hex(S_OK));
    ASSERT_EQ(log.TakeAssertions(), Assertions());
  }
  HRESULT UnregisterDecoder() { return CallServerEntry(QUORVEL_DECODER_LIBRARY, "DllUnregisterServer"); }

  OAFilterState GraphState() {
    CComQIPtr<IMediaControl> control(controller.m_spGraph);
    OAFilterState state = -1;
    if (control) control->GetState(0, &state);
    return state;
  }
  void ExpectVideoWindowAboveTheDialog() {
    CComQIPtr<IVideoWindow> window(controller.m_spGraph);
    ASSERT_TRUE(window);
    LONG left = 0, top = 0, width = 0, height = 0, visible = 0;
    EXPECT_EQ(Hex(window->get_Width(&width)), Hex(S_OK));
    EXPECT_EQ(Hex(window->get_Height(&height)), Hex(S_OK));
    EXPECT_EQ(Hex(window->get_Left(&left)), Hex(S_OK));
    EXPECT_EQ(Hex(window->get_Top(&top)), Hex(S_OK));
    EXPECT_EQ(Hex(window->get_Visible(&visible)), Hex(S_OK));
    EXPECT_GT(width, 0);
    EXPECT_EQ(left, (kAreaWidth - width) / 2);
    EXPECT_EQ(top, std::max<LONG>(0, kDialogTop - height));
    EXPECT_EQ(visible, OATRUE);
  }
  // Takes the graph's events as the window is told of them, until
  // EC_COMPLETE or ten seconds; the number of EC_COMPLETE taken.
  int CompletionsWithin10s() {
    int completions = 0;
    for (int waited = 0; waited < 10000 && completions == 0; waited += 10) {
      MSG msg;
      while (PeekMessageW(&msg, dialog, kGraphMessage, kGraphMessage, PM_REMOVE)) {
        for (LONG code = controller.GetEvent(); code != 0; code = controller.GetEvent()) {
          if (code == EC_COMPLETE) ++completions;
        }
      }
      Sleep(10);
    }
    return completions;
  }

  static constexpr LONG kAreaWidth = 1000;
  static constexpr LONG kDialogTop = 500;
  testing_support::PrivateRegistry registry;
  testing_support::WorkArea workArea{{0, 0, kAreaWidth, 700}};
  AssertionLog log;
  HWND dialog = nullptr;
  CGraph controller;
};

// ---------------------------------------------------------------------------
// Building

TEST_F(RealGraph, EachClipIsBuiltWithTheDecoderInPlaceAndTheVideoAboveTheDialog) {
  for (const char *clip : {"clip-h264-aac.mp4", "clip-h264.m4v", "clip-h264-aac.mov", "clip-h264-annexb.ts",
                           "clip-h264-anamorphic.mp4"}) {
    SCOPED_TRACE(clip);
    Build(Clip(clip));
    CComPtr<IBaseFilter> decoder;
    EXPECT_EQ(Hex(controller.CheckFilter(CLSID_H264Decoder, &decoder)), Hex(S_OK));
    EXPECT_TRUE(controller.m_spH264Decoder) << "the settings interface is taken";
    EXPECT_EQ(GraphState(), State_Stopped);
    ExpectVideoWindowAboveTheDialog();
  }
}

TEST_F(RealGraph, VideoTooTallForTheSpaceAboveTheDialogStartsAtTheTop) {
  SetWindowPos(dialog, nullptr, 0, 100, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
  Build(Clip("clip-h264-anamorphic.mp4"));
  CComQIPtr<IVideoWindow> window(controller.m_spGraph);
  LONG top = -1;
  window->get_Top(&top);
  EXPECT_EQ(top, 0);
}

TEST_F(RealGraph, FailedBuilds) {
  // Sound no decoder takes: the partial result, with what was built kept.
  EXPECT_EQ(Hex(controller.BuildGraph(Clip("clip-h264-opus.mkv").c_str(), dialog, kGraphMessage)),
            Hex(VFW_S_AUDIO_NOT_RENDERED));
  EXPECT_EQ(FilterCount(controller.m_spGraph), 3) << "source, decoder and video renderer";
  EXPECT_EQ(log.TakeAssertions(), Assertions());

  // Video the decoder under test does not take goes to the generic decoder,
  // and the decoder is found unconnected.
  EXPECT_NE(Hex(controller.BuildGraph(Clip("clip-mpeg4.mp4").c_str(), dialog, kGraphMessage)), Hex(S_OK));
  const Assertions raised = log.TakeAssertions();
  ASSERT_FALSE(raised.empty());
  EXPECT_EQ(raised.back().rfind(L"Graph.cpp: CGraph::CheckFilter(): ", 0), 0u) << testing::PrintToString(raised);

  ASSERT_EQ(Hex(UnregisterDecoder()), Hex(S_OK));
  EXPECT_EQ(Hex(controller.BuildGraph(Clip("clip-h264.m4v").c_str(), dialog, kGraphMessage)),
            Hex(REGDB_E_CLASSNOTREG));
  EXPECT_EQ(log.TakeAssertions(), InSource({L"CGraph::BuildGraph(): Can't create Pellonex H264 Decoder"}));
}

TEST_F(RealGraph, NoNameOrNoWindowLeavesThePreviousGraph) {
  Build(Clip("clip-h264.m4v"));
  IGraphBuilder *const built = controller.m_spGraph;
  EXPECT_EQ(Hex(controller.BuildGraph(nullptr, dialog, kGraphMessage)), Hex(E_INVALIDARG));
  EXPECT_EQ(Hex(controller.BuildGraph(Clip("clip-h264.m4v").c_str(), nullptr, kGraphMessage)), Hex(E_INVALIDARG));
  EXPECT_EQ(controller.m_spGraph, built);
  EXPECT_EQ(FilterCount(controller.m_spGraph), FilterCount(built));
}

// ---------------------------------------------------------------------------
// Saved graphs

TEST_F(RealGraph, SavedGraphLoadsAndPassesTheCheck) {
  TempFolder folder;
  Build(Clip("clip-h264.m4v"));
  ASSERT_EQ(Hex(SaveGraph(controller.m_spGraph, folder.File("Saved.GRF"))), Hex(S_OK));
  controller.ReleaseGraph();
  Build(folder.File("Saved.GRF"));
  CComPtr<IBaseFilter> decoder;
  EXPECT_EQ(Hex(controller.CheckFilter(CLSID_H264Decoder, &decoder)), Hex(S_OK));
  REFERENCE_TIME frame = 0;
  SIZE size{};
  EXPECT_EQ(Hex(controller.GetProperties(&frame, &size)), Hex(S_OK));
  EXPECT_EQ(frame, kFrameAt25);
}

TEST_F(RealGraph, SavedGraphsThatCannotBeUsed) {
  TempFolder folder;
  // A media file named as a saved graph fails where the compound file is opened.
  const std::wstring plain = folder.File("plain.grf");
  std::filesystem::copy_file(Clip("clip-h264.m4v"), plain);
  CComPtr<IStorage> storage;
  const HRESULT openResult = StgOpenStorage(plain.c_str(), nullptr, STGM_READ | STGM_SHARE_DENY_WRITE, nullptr, 0,
                                            &storage);
  ASSERT_TRUE(FAILED(openResult));
  EXPECT_EQ(Hex(controller.BuildGraph(plain.c_str(), dialog, kGraphMessage)), Hex(openResult));

  // A compound file without the graph's stream.
  const std::wstring empty = folder.File("empty.grf");
  ASSERT_EQ(Hex(StgCreateDocfile(empty.c_str(), STGM_CREATE | STGM_READWRITE | STGM_SHARE_EXCLUSIVE, 0, &storage)),
            Hex(S_OK));
  storage.Release();
  EXPECT_EQ(Hex(controller.BuildGraph(empty.c_str(), dialog, kGraphMessage)), Hex(STG_E_FILENOTFOUND));

  // A graph saved without the decoder under test: while it is not
  // registered, the generic decoder takes the video.
  ASSERT_EQ(Hex(UnregisterDecoder()), Hex(S_OK));
  CComPtr<IGraphBuilder> graph;
  ASSERT_EQ(Hex(graph.CoCreateInstance(CLSID_FilterGraph, nullptr, CLSCTX_INPROC_SERVER)), Hex(S_OK));
  ASSERT_EQ(Hex(graph->RenderFile(Clip("clip-h264.m4v").c_str(), nullptr)), Hex(S_OK));
  ASSERT_EQ(Hex(SaveGraph(graph, folder.File("generic.grf"))), Hex(S_OK));
  ASSERT_EQ(Hex(CallServerEntry(QUORVEL_DECODER_LIBRARY, "DllRegisterServer")), Hex(S_OK));
  log.TakeAssertions();
  EXPECT_EQ(Hex(controller.BuildGraph(folder.File("generic.grf").c_str(), dialog, kGraphMessage)), Hex(E_FAIL));
  EXPECT_EQ(log.TakeAssertions(), InSource({L"CGraph::CheckFilter(): Wanted filter not found"}));
}

TEST_F(RealGraph, SavedGraphNamingAnUnregisteredFilterFailsInLoadAndKeepsWhatWasLoaded) {
  TempFolder folder;
  Build(Clip("clip-h264.m4v"));
  ASSERT_EQ(Hex(SaveGraph(controller.m_spGraph, folder.File("saved.grf"))), Hex(S_OK));
  controller.ReleaseGraph();
  ASSERT_EQ(Hex(UnregisterDecoder()), Hex(S_OK));
  const HRESULT hr = controller.BuildGraph(folder.File("saved.grf").c_str(), dialog, kGraphMessage);
  EXPECT_TRUE(FAILED(hr)) << Hex(hr);
  EXPECT_EQ(FilterCount(controller.m_spGraph), 1) << "the source, saved before the decoder, stays in the graph";
}

// ---------------------------------------------------------------------------
// Properties and identity

TEST_F(RealGraph, PropertiesComeFromTheRenderersInput) {
  const struct {
    const char *clip;
    LONG width, height;
  } cases[] = {{"clip-h264.m4v", 320, 240}, {"clip-h264-annexb.ts", 320, 240}, {"clip-h264-anamorphic.mp4", 720, 576}};
  for (const auto &c : cases) {
    SCOPED_TRACE(c.clip);
    Build(Clip(c.clip));
    REFERENCE_TIME frame = 0;
    SIZE size{};
    EXPECT_EQ(Hex(controller.GetProperties(&frame, &size)), Hex(S_OK));
    EXPECT_EQ(frame, kFrameAt25);
    EXPECT_EQ(size.cx, c.width);
    EXPECT_EQ(size.cy, c.height);
  }
}

TEST_F(RealGraph, IdentityNamesTheDecoderBuildPlatformVersionAndDate) {
  Build(Clip("clip-h264.m4v"));
  CComBSTR identity;
  ASSERT_EQ(Hex(controller.GetDecoderVersion(identity)), Hex(S_OK));
  ASSERT_TRUE(identity.m_str);
  const std::wregex form(LR"(Pellonex H264 Decoder \[[RD]64 v\.\d+\.\d+\.\d+\.\d+ \d{4}-\d\d-\d\d \d\d:\d\d\])");
  EXPECT_TRUE(std::regex_match(std::wstring(identity.m_str), form)) << testing::PrintToString(identity.m_str);
}

// ---------------------------------------------------------------------------
// Settings

TEST_F(RealGraph, SettingsReachTheDecoderAndRefusalsComeBackUnchanged) {
  Build(Clip("clip-h264.m4v"));
  int threads = -1;
  EXPECT_EQ(Hex(controller.SetThreads(3)), Hex(S_OK));
  EXPECT_EQ(Hex(controller.GetThreads(&threads)), Hex(S_OK));
  EXPECT_EQ(threads, 3);
  EXPECT_EQ(Hex(controller.SetThreads(-1)), Hex(E_INVALIDARG));
  EXPECT_EQ(Hex(controller.SetThreads(H264DECODER_MAX_THREADS + 1)), Hex(E_INVALIDARG));
  controller.GetThreads(&threads);
  EXPECT_EQ(threads, 3) << "a refused count changes nothing";

  const struct {
    const char *name;
    HRESULT (CGraph::*set)(bool);
    bool (CGraph::*get)();
  } switches[] = {{"pass-through", &CGraph::SetPassThrough, &CGraph::GetPassThrough},
                  {"aspect ratio", &CGraph::SetMaintainAspectRatio, &CGraph::GetMaintainAspectRatio},
                  {"chroma", &CGraph::SetForceOriginalChroma, &CGraph::GetForceOriginalChroma}};
  for (const auto &s : switches) {
    SCOPED_TRACE(s.name);
    const bool before = (controller.*s.get)();
    EXPECT_EQ(Hex((controller.*s.set)(!before)), Hex(S_OK));
    EXPECT_EQ((controller.*s.get)(), !before);
    EXPECT_EQ(Hex((controller.*s.set)(before)), Hex(S_OK));
    EXPECT_EQ((controller.*s.get)(), before);
  }
  EXPECT_EQ(log.TakeAssertions(), Assertions());
}

// ---------------------------------------------------------------------------
// Transport and seeking

TEST_F(RealGraph, RunningToTheEndPostsCompleteToTheWindowOnce) {
  Build(Clip("clip-h264.m4v"));
  ASSERT_EQ(Hex(controller.SetPositionFraction(0.9)), Hex(S_OK));
  const HRESULT ran = controller.Run();
  ASSERT_TRUE(ran == S_OK || ran == S_FALSE) << Hex(ran) << ": S_FALSE while the filters are still pausing";
  EXPECT_EQ(CompletionsWithin10s(), 1);
  EXPECT_EQ(Hex(controller.Stop()), Hex(S_OK));
}

TEST_F(RealGraph, SeekingByFractionClampsAndTruncates) {
  Build(Clip("clip-h264.m4v"));
  LONGLONG duration = 0;
  ASSERT_EQ(Hex(controller.GetDuration(&duration)), Hex(S_OK));
  EXPECT_EQ(duration, 2 * kSecond);
  LONGLONG earliest = -1, latest = -1;
  EXPECT_EQ(Hex(controller.GetAvailable(&earliest, &latest)), Hex(S_OK));
  EXPECT_EQ(earliest, 0);
  EXPECT_EQ(latest, duration);

  const struct {
    double fraction;
    LONGLONG position;
  } cases[] = {{0.5, duration / 2}, {0.3333333, static_cast<LONGLONG>(duration * 0.3333333)}, {-1.0, 0},
               {7.0, duration},     {NAN, 0},                                                  {1.0, duration}};
  for (const auto &c : cases) {
    SCOPED_TRACE(c.fraction);
    EXPECT_EQ(Hex(controller.SetPositionFraction(c.fraction)), Hex(S_OK));
    LONGLONG position = -1;
    EXPECT_EQ(Hex(controller.GetPosition(&position)), Hex(S_OK));
    EXPECT_EQ(position, c.position);
  }
}

TEST_F(RealGraph, SetPositionLeavesTheStopPositionAlone) {
  Build(Clip("clip-h264.m4v"));
  CComQIPtr<IMediaSeeking> seeking(controller.m_spGraph);
  LONGLONG stop = 0;
  ASSERT_EQ(Hex(seeking->GetStopPosition(&stop)), Hex(S_OK));
  EXPECT_EQ(Hex(controller.SetPosition(kSecond)), Hex(S_OK));
  LONGLONG after = 0;
  seeking->GetStopPosition(&after);
  EXPECT_EQ(after, stop);
  LONGLONG position = 0;
  controller.GetPosition(&position);
  EXPECT_EQ(position, kSecond);
}

}  // namespace
