// File sources and file rendering (IGraphBuilder::AddSourceFilter,
// RenderFile): the source found by extension or by byte pattern, the
// results of a full, partial and failed render, and the graph each leaves.
#include <dshow.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "graph_build_fixture.h"
#include "media/source_lookup.h"

namespace {

using media_testing::BuildTest;
using media_testing::CComPtr;
using media_testing::CComQIPtr;
using media_testing::Downstream;
using Names = std::vector<std::wstring>;
using namespace test_filters;

const std::string kSignatureLine = std::string(kStreamListSignature) + "\n";

class RenderFileTest : public BuildTest {};

struct RenderFileCase {
  const char *name;
  std::string streams;
  std::vector<const CLSID *> unregistered;
  HRESULT expected;
  Names filters;  // besides the source
};

// A failed or partial render keeps what was built: the source always, and
// each chain that reached a renderer.
TEST_F(RenderFileTest, ResultSaysWhichStreamsRenderedAndTheGraphKeepsWhatWasBuilt) {
  const Names kVideoChain = {L"Recording Renderer", L"Test Video Decoder"};
  const Names kAudioChain = {L"Recording Audio Renderer", L"Test Audio Decoder"};
  const Names kBothChains = {L"Recording Audio Renderer", L"Recording Renderer", L"Test Audio Decoder",
                             L"Test Video Decoder"};
  const RenderFileCase cases[] = {
      {"every stream renders", "video TV01 5\naudio TA01 5\n", {}, S_OK, kBothChains},
      {"no audio decoder",
       "video TV01 5\naudio TA01 5\n",
       {&kTestAudioDecoderClass},
       VFW_S_AUDIO_NOT_RENDERED,
       kVideoChain},
      {"no audio renderer",
       "video TV01 5\naudio TA01 5\n",
       {&kRecordingAudioRendererClass},
       VFW_S_AUDIO_NOT_RENDERED,
       kVideoChain},
      {"two audio streams fail",
       "video RGB32 5\naudio TA01 5\naudio TA01 5\n",
       {&kTestAudioDecoderClass},
       VFW_S_AUDIO_NOT_RENDERED,
       {L"Recording Renderer"}},
      {"no video decoder",
       "video TV01 5\naudio TA01 5\n",
       {&kTestVideoDecoderClass, &kOtherVideoDecoderClass},
       VFW_S_VIDEO_NOT_RENDERED,
       kAudioChain},
      {"a stream of neither kind fails", "video TV01 5\ntext TT01 5\n", {}, VFW_S_PARTIAL_RENDER, kVideoChain},
      {"audio and text fail",
       "video TV01 5\naudio TA01 5\ntext TT01 5\n",
       {&kTestAudioDecoderClass},
       VFW_S_PARTIAL_RENDER,
       kVideoChain},
      {"nothing renders",
       "video TV01 5\naudio TA01 5\n",
       {&kTestVideoDecoderClass, &kOtherVideoDecoderClass, &kTestAudioDecoderClass},
       VFW_E_CANNOT_RENDER,
       {}},
      {"no streams", "", {}, VFW_E_CANNOT_RENDER, {}},
      {"a pin named with ~ is left alone", "video TV01 5\n~video TV01 5\n", {}, S_OK, kVideoChain},
  };
  for (const auto &render : cases) {
    ASSERT_HR(S_OK, media_testing::CallServerEntry(QUORVEL_MEDIA_TEST_FILTERS, "DllRegisterServer"));
    for (const CLSID *clsid : render.unregistered) Unregister(*clsid);
    const std::wstring file = clips_.Write("clip.qts", kSignatureLine + render.streams);
    CComPtr<IGraphBuilder> graph = media_testing::CreateGraph();
    EXPECT_HR(render.expected, graph->RenderFile(file.c_str(), nullptr)) << render.name;
    Names expected = render.filters;
    expected.insert(expected.begin(), file);
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(media_testing::FilterNames(graph), expected) << render.name;
  }
}

TEST_F(RenderFileTest, TildePinsStayUnconnected) {
  const std::wstring file = clips_.Write("clip.qts", "video TV01 5\n~video TV01 5\n");
  ASSERT_HR(S_OK, graph_->RenderFile(file.c_str(), nullptr));
  CComPtr<IBaseFilter> source;
  ASSERT_HR(S_OK, graph_->FindFilterByName(file.c_str(), &source));
  EXPECT_EQ(Downstream(PinOf(source, L"video 0")), (Names{L"Test Video Decoder", L"Recording Renderer"}));
  EXPECT_EQ(Downstream(PinOf(source, L"~video 1")), Names{});
}

TEST_F(RenderFileTest, TheRenderedGraphPlaysEveryStreamToTheEnd) {
  const std::wstring file = clips_.Write("clip.qts", kSignatureLine + "video TV01 5\naudio TA01 3\n");
  ASSERT_HR(S_OK, graph_->RenderFile(file.c_str(), nullptr));
  const HRESULT ran = control_->Run();
  ASSERT_TRUE(SUCCEEDED(ran)) << media_testing::Hex(ran);
  EXPECT_TRUE(media_testing::WaitForEvent(events_, EC_COMPLETE));
  control_->Stop();
  for (const auto &[name, frames] :
       {std::pair{L"Recording Renderer", 5u}, std::pair{L"Recording Audio Renderer", 3u}}) {
    CComPtr<IBaseFilter> filter;
    ASSERT_HR(S_OK, graph_->FindFilterByName(name, &filter));
    auto *renderer = dynamic_cast<RecordingRenderer *>(filter.p);
    ASSERT_NE(renderer, nullptr);
    EXPECT_EQ(renderer->Record().frames.size(), frames) << name;
  }
}

TEST_F(RenderFileTest, AddSourceFilterFindsTheSourceByExtensionWithoutAType) {
  const std::wstring file = clips_.Write("no-signature.qts", "video RGB32 5\n");
  CComPtr<IBaseFilter> source;
  ASSERT_HR(S_OK, graph_->AddSourceFilter(file.c_str(), nullptr, &source));
  EXPECT_EQ(media_testing::NameOf(source), file) << "named after the file";
  CComQIPtr<IFileSourceFilter> fileSource(source);
  ASSERT_TRUE(fileSource);
  LPOLESTR loaded = nullptr;
  AM_MEDIA_TYPE type{};
  ASSERT_HR(S_OK, fileSource->GetCurFile(&loaded, &type));
  EXPECT_EQ(std::wstring(loaded), file);
  EXPECT_TRUE(IsEqualGUID(type.majortype, GUID_NULL)) << "no type is given with a source chosen by extension";
  CoTaskMemFree(loaded);
  platform::media::FreeMediaType(type);
}

TEST_F(RenderFileTest, AddSourceFilterFindsTheSourceBySignatureAndGivesItsType) {
  const std::wstring file = clips_.Write("signed.bin", kSignatureLine + "video RGB32 5\n");
  CComPtr<IBaseFilter> source;
  ASSERT_HR(S_OK, graph_->AddSourceFilter(file.c_str(), L"Named source", &source));
  EXPECT_EQ(media_testing::NameOf(source), L"Named source");
  CComQIPtr<IFileSourceFilter> fileSource(source);
  LPOLESTR loaded = nullptr;
  AM_MEDIA_TYPE type{};
  ASSERT_HR(S_OK, fileSource->GetCurFile(&loaded, &type));
  EXPECT_TRUE(IsEqualGUID(type.majortype, MEDIATYPE_Stream));
  EXPECT_TRUE(IsEqualGUID(type.subtype, kStreamListSubtype));
  CoTaskMemFree(loaded);
  platform::media::FreeMediaType(type);
}

TEST_F(RenderFileTest, AddSourceFilterFailuresLeaveNoFilterBehind) {
  struct Failure {
    const char *name;
    std::wstring file;
    HRESULT expected;
  };
  const Failure failures[] = {
      {"missing file", clips_.PathOf("missing.qts"), HRESULT_FROM_WIN32(ERROR_FILE_NOT_FOUND)},
      {"unknown type", clips_.Write("unknown.bin", "video RGB32 5\n"), VFW_E_UNKNOWN_FILE_TYPE},
      {"source cannot load it", clips_.Write("bad.qts", "video RGB32 many\n"), VFW_E_INVALID_FILE_FORMAT},
  };
  for (const auto &failure : failures) {
    IBaseFilter *source = reinterpret_cast<IBaseFilter *>(1);
    EXPECT_HR(failure.expected, graph_->AddSourceFilter(failure.file.c_str(), nullptr, &source)) << failure.name;
    EXPECT_EQ(source, nullptr) << failure.name;
    EXPECT_HR(failure.expected, graph_->RenderFile(failure.file.c_str(), nullptr)) << failure.name;
    EXPECT_EQ(FilterNames(), Names{}) << failure.name;
  }
  EXPECT_EQ(0x80070002u, static_cast<unsigned>(HRESULT_FROM_WIN32(ERROR_FILE_NOT_FOUND)));
}

struct PatternCase {
  const char *name;
  std::vector<std::wstring> patterns;  // values "0", "1", ...
  std::string content;
  bool matches;
};

// {5B1C3E2A-7D41-4E6B-9A0F-2C8D1E4F6B01}
constexpr GUID kPatternSubtype = {0x5B1C3E2A, 0x7D41, 0x4E6B, {0x9A, 0x0F, 0x2C, 0x8D, 0x1E, 0x4F, 0x6B, 0x01}};

void WritePatterns(const std::vector<std::wstring> &patterns) {
  WCHAR stream[40], subtype[40], source[40];
  StringFromGUID2(MEDIATYPE_Stream, stream, 40);
  StringFromGUID2(kPatternSubtype, subtype, 40);
  StringFromGUID2(kNumberedSourceClass, source, 40);
  const std::wstring path = std::wstring(L"Media Type\\") + stream + L"\\" + subtype;
  RegDeleteTreeW(HKEY_CLASSES_ROOT, path.c_str());
  HKEY key = nullptr;
  ASSERT_EQ(RegCreateKeyExW(HKEY_CLASSES_ROOT, path.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, &key, nullptr),
            ERROR_SUCCESS);
  const auto set = [key](const std::wstring &name, const std::wstring &text) {
    RegSetValueExW(key, name.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE *>(text.c_str()),
                   static_cast<DWORD>((text.size() + 1) * sizeof(WCHAR)));
  };
  set(L"Source Filter", source);
  for (size_t i = 0; i < patterns.size(); ++i) set(std::to_wstring(i), patterns[i]);
  RegCloseKey(key);
}

TEST_F(RenderFileTest, BytePatternsMatchAsTheRegistryDescribesThem) {
  const PatternCase cases[] = {
      {"four bytes at the start", {L"0,4,,52494646"}, "RIFF and more", true},
      {"a byte differs", {L"0,4,,52494646"}, "RIFX and more", false},
      {"the mask drops a bit", {L"0,4,FFFFFFDF,52494646"}, "RIFf and more", true},
      {"from the end", {L"-4,4,,454E4421"}, "anything at all END!", true},
      {"two groups, both match", {L"0,2,,4142,4,2,,4546"}, "ABCDEF", true},
      {"two groups, one fails", {L"0,2,,4142,4,2,,4546"}, "ABCDXF", false},
      {"the second value matches", {L"0,2,,5858", L"2,2,,4344"}, "ABCDEF", true},
      {"longer than the file", {L"0,16,,41424344454600000000000000000000"}, "ABCDEF", false},
      {"value shorter than its count", {L"0,4,,4142"}, "ABCDEF", false},
      {"odd hexadecimal digits", {L"0,2,,414"}, "ABCDEF", false},
      {"not a pattern", {L"ABCDEF"}, "ABCDEF", false},
      {"a group cut short", {L"0,2,"}, "ABCDEF", false},
      {"a count beyond any file", {L"0,4294967295,,41"}, "ABCDEF", false},
      {"an offset beyond any file", {L"9223372036854775807,1,,41"}, "ABCDEF", false},
      {"an offset before any file", {L"-9223372036854775807,1,,41"}, "ABCDEF", false},
  };
  for (const auto &pattern : cases) {
    WritePatterns(pattern.patterns);
    const std::wstring file = clips_.Write("pattern.bin", pattern.content);
    platform::media::SourceChoice choice{};
    const HRESULT hr = platform::media::FindSourceFilter(file, choice);
    EXPECT_HR(pattern.matches ? S_OK : VFW_E_UNKNOWN_FILE_TYPE, hr) << pattern.name;
    if (pattern.matches && hr == S_OK) {
      EXPECT_TRUE(IsEqualGUID(choice.subtype, kPatternSubtype)) << pattern.name;
      EXPECT_TRUE(IsEqualCLSID(choice.source, kNumberedSourceClass)) << pattern.name;
    }
  }
}

}  // namespace
