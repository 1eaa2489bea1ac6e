// The graph's persistent form: what the writer writes, byte for byte, and
// what the reader accepts and refuses.
#include <gtest/gtest.h>

#include <dshow.h>

#include <string>
#include <vector>

#include "media/saved_graph.h"
#include "media_test_support.h"
#include "test_filters.h"
#include "text/utf.h"

namespace {

using platform::media::MediaType;
using platform::media::ReadSavedGraph;
using platform::media::SavedClock;
using platform::media::SavedConnection;
using platform::media::SavedFilter;
using platform::media::SavedGraph;
using platform::media::WriteSavedGraph;

// {11111111-2222-3333-4455-66778899AABB}
constexpr CLSID kSourceClass = {0x11111111, 0x2222, 0x3333, {0x44, 0x55, 0x66, 0x77, 0x88, 0x99, 0xAA, 0xBB}};
// {0000ABCD-0000-0000-0000-000000000001}
constexpr CLSID kRendererClass = {0x0000ABCD, 0, 0, {0, 0, 0, 0, 0, 0, 0, 1}};

// Text as the form holds it: UTF-16LE.
std::vector<BYTE> Text(const std::wstring &text) {
  std::vector<BYTE> bytes;
  for (char16_t unit : platform::text::ToUtf16(text)) {
    bytes.push_back(static_cast<BYTE>(unit & 0xFF));
    bytes.push_back(static_cast<BYTE>(unit >> 8));
  }
  return bytes;
}

std::vector<BYTE> Join(std::initializer_list<std::vector<BYTE>> parts) {
  std::vector<BYTE> joined;
  for (const auto &part : parts) joined.insert(joined.end(), part.begin(), part.end());
  return joined;
}

// A source with three bytes of its own data and a renderer, connected with
// a type whose format block is five bytes; the renderer gives the clock.
SavedGraph SampleGraph() {
  SavedGraph graph;
  graph.filters.push_back({1, L"Clip Source", kSourceClass, std::wstring(L"/tmp/clip \u00e9.mp4"), {0x01, 0x00, 0x7F}});
  graph.filters.push_back({2, L"Video Renderer", kRendererClass, std::nullopt, {}});
  const BYTE format[] = {'"', 0, '\r', '\n', 0xFF};
  AM_MEDIA_TYPE type{MEDIATYPE_Video, MEDIASUBTYPE_RGB32, TRUE, FALSE, 1024, FORMAT_VideoInfo, nullptr,
                     sizeof format, const_cast<BYTE *>(format)};
  graph.connections.push_back({1, L"Output", 2, L"In", MediaType(type)});
  graph.clock = {true, 2, std::nullopt};
  return graph;
}

const std::vector<BYTE> kFormatPart =
    Join({Text(L"1024 {05589F80-C356-11CE-BF01-00AA0055595A} 5 "), {'"', 0, '\r', '\n', 0xFF}});

const std::vector<BYTE> kSampleForm = Join({
    Text(L"0003\r\nFILTERS\r\n"
         L"0001 \"Clip Source\" {11111111-2222-3333-4455-66778899AABB} SOURCE \"/tmp/clip \u00e9.mp4\" 3 "),
    {0x01, 0x00, 0x7F},
    Text(L"\r\n0002 \"Video Renderer\" {0000ABCD-0000-0000-0000-000000000001} 0 \r\n"
         L"CONNECTIONS\r\n"
         L"0001 \"Output\" 0002 \"In\" {73646976-0000-0010-8000-00AA00389B71} {E436EB7E-524F-11CE-9F53-0020AF0BA770} "
         L"1 0 " +
         std::to_wstring(kFormatPart.size()) + L" "),
    kFormatPart,
    Text(L"\r\nCLOCK 1 0002\r\nEND"),
});

TEST(SavedGraphWriter, WritesTheDocumentedLayout) {
  std::vector<BYTE> form;
  ASSERT_HR(S_OK, WriteSavedGraph(SampleGraph(), form));
  EXPECT_EQ(form, kSampleForm);
}

TEST(SavedGraphWriter, AnEmptyUnclockedGraph) {
  std::vector<BYTE> form;
  ASSERT_HR(S_OK, WriteSavedGraph(SavedGraph(), form));
  EXPECT_EQ(form, Text(L"0003\r\nFILTERS\r\nCONNECTIONS\r\nCLOCK 0 0000\r\nEND"));
}

TEST(SavedGraphWriter, RefusesWhatTheFormCannotHold) {
  struct Case {
    const char *what;
    void (*spoil)(SavedGraph &graph);
  };
  const Case cases[] = {
      {"quote in a name", [](SavedGraph &g) { g.filters[0].name = L"say \"hi\""; }},
      {"null in a pin id", [](SavedGraph &g) { g.connections[0].inputPin = std::wstring(L"I\0n", 3); }},
      {"quote in a file", [](SavedGraph &g) { g.filters[0].sourceFile = L"a\"b"; }},
      {"id 0", [](SavedGraph &g) { g.filters[1].id = 0; }},
      {"five-digit id", [](SavedGraph &g) { g.filters[1].id = 0x10000; }},
  };
  for (const Case &c : cases) {
    SavedGraph graph = SampleGraph();
    c.spoil(graph);
    std::vector<BYTE> form;
    EXPECT_HR(E_INVALIDARG, WriteSavedGraph(graph, form)) << c.what;
  }
}

TEST(SavedGraphReader, ReadsBackWhatWasWritten) {
  SavedGraph graph;
  size_t consumed = 0;
  ASSERT_HR(S_OK, ReadSavedGraph(kSampleForm, graph, consumed));
  EXPECT_EQ(consumed, kSampleForm.size());
  ASSERT_EQ(graph.filters.size(), 2u);
  EXPECT_EQ(graph.filters[0].name, L"Clip Source");
  EXPECT_TRUE(IsEqualCLSID(graph.filters[0].classId, kSourceClass));
  EXPECT_EQ(graph.filters[0].sourceFile.value_or(L"(none)"), L"/tmp/clip \u00e9.mp4");
  EXPECT_EQ(graph.filters[0].data, (std::vector<BYTE>{0x01, 0x00, 0x7F}));
  EXPECT_FALSE(graph.filters[1].sourceFile);
  ASSERT_EQ(graph.connections.size(), 1u);
  const SavedConnection &connection = graph.connections[0];
  EXPECT_EQ(connection.outputFilter, 1u);
  EXPECT_EQ(connection.outputPin, L"Output");
  EXPECT_EQ(connection.inputFilter, 2u);
  EXPECT_EQ(connection.inputPin, L"In");
  EXPECT_TRUE(connection.type == SampleGraph().connections[0].type);
  EXPECT_EQ(connection.type->lSampleSize, 1024u);
  EXPECT_TRUE(connection.type->bFixedSizeSamples);
  EXPECT_FALSE(connection.type->bTemporalCompression);
  EXPECT_TRUE(graph.clock.set);
  EXPECT_EQ(graph.clock.filter, 2u);
}

TEST(SavedGraphReader, StopsAfterEnd) {
  const std::vector<BYTE> followed = Join({kSampleForm, Text(L"more")});
  SavedGraph graph;
  size_t consumed = 0;
  ASSERT_HR(S_OK, ReadSavedGraph(followed, graph, consumed));
  EXPECT_EQ(consumed, kSampleForm.size());
}

TEST(SavedGraphReader, AcceptsWhatTheLayoutAllows) {
  struct Case {
    const char *what;
    std::wstring form;
  };
  const Case cases[] = {
      {"version 2, no clock", L"0002\r\nFILTERS\r\nCONNECTIONS\r\nEND"},
      {"any blanks", L"0003 \t\r\n FILTERS\t0001\n\"A\"\r\r{0000ABCD-0000-0000-0000-000000000001}  0 \n"
                     L"CONNECTIONS CLOCK\t0 0000\nEND"},
      {"lower-case hex", L"0003\r\nFILTERS\r\n00ab \"A\" {0000abcd-0000-0000-0000-000000000001} 0 \r\n"
                         L"CONNECTIONS\r\nCLOCK 1 00AB\r\nEND"},
      {"clock by class", L"0003\r\nFILTERS\r\nCONNECTIONS\r\nCLOCK 1 {E436EBB1-524F-11CE-9F53-0020AF0BA770}\r\nEND"},
      {"padded length", L"0003\r\nFILTERS\r\n0001 \"A\" {0000ABCD-0000-0000-0000-000000000001} 0000000000 \r\n"
                        L"CONNECTIONS\r\nCLOCK 0 0000\r\nEND"},
  };
  for (const Case &c : cases) {
    SavedGraph graph;
    size_t consumed = 0;
    EXPECT_HR(S_OK, ReadSavedGraph(Text(c.form), graph, consumed)) << c.what;
  }
}

TEST(SavedGraphReader, ReadsAClockGivenByClass) {
  SavedGraph graph;
  size_t consumed = 0;
  ASSERT_HR(S_OK, ReadSavedGraph(Text(L"0003 FILTERS CONNECTIONS CLOCK 1 {E436EBB1-524F-11CE-9F53-0020AF0BA770} END"),
                                 graph, consumed));
  ASSERT_TRUE(graph.clock.classId);
  EXPECT_TRUE(IsEqualCLSID(*graph.clock.classId, CLSID_SystemClock));
}

TEST(SavedGraphReader, RefusesDamagedForms) {
  const std::wstring filter = L"0001 \"A\" {0000ABCD-0000-0000-0000-000000000001} 0 \r\n";
  struct Case {
    const char *what;
    std::wstring form;
  };
  const Case cases[] = {
      {"nothing", L""},
      {"unknown version", L"0004\r\nFILTERS\r\nCONNECTIONS\r\nCLOCK 0 0000\r\nEND"},
      {"no END", L"0003\r\nFILTERS\r\nCONNECTIONS\r\nCLOCK 0 0000\r\n"},
      {"version 3 without clock", L"0003\r\nFILTERS\r\nCONNECTIONS\r\nEND"},
      {"no blank", L"0003FILTERS\r\nCONNECTIONS\r\nCLOCK 0 0000\r\nEND"},
      {"id 0000", L"0003\r\nFILTERS\r\n0000 \"A\" {0000ABCD-0000-0000-0000-000000000001} 0 \r\n"
                  L"CONNECTIONS\r\nCLOCK 0 0000\r\nEND"},
      {"short id", L"0003\r\nFILTERS\r\n001 \"A\" {0000ABCD-0000-0000-0000-000000000001} 0 \r\n"
                   L"CONNECTIONS\r\nCLOCK 0 0000\r\nEND"},
      {"two filters, one id", L"0003\r\nFILTERS\r\n" + filter + filter + L"CONNECTIONS\r\nCLOCK 0 0000\r\nEND"},
      {"unquoted name", L"0003\r\nFILTERS\r\n0001 A {0000ABCD-0000-0000-0000-000000000001} 0 \r\n"
                        L"CONNECTIONS\r\nCLOCK 0 0000\r\nEND"},
      {"bad class id", L"0003\r\nFILTERS\r\n0001 \"A\" {0000ABCD-0000-0000-0000-00000000000G} 0 \r\n"
                       L"CONNECTIONS\r\nCLOCK 0 0000\r\nEND"},
      {"data past the end", L"0003\r\nFILTERS\r\n0001 \"A\" {0000ABCD-0000-0000-0000-000000000001} 999 \r\n"
                            L"CONNECTIONS\r\nCLOCK 0 0000\r\nEND"},
      {"length over 32 bits", L"0003\r\nFILTERS\r\n0001 \"A\" {0000ABCD-0000-0000-0000-000000000001} 4294967296 "
                              L"\r\nCONNECTIONS\r\nCLOCK 0 0000\r\nEND"},
      {"a length the data does not have", L"0003\r\nFILTERS\r\n0001 \"A\" {0000ABCD-0000-0000-0000-000000000001} 1  \r\n"
                                 L"CONNECTIONS\r\nCLOCK 0 0000\r\nEND"},
      {"a sink", L"0003\r\nFILTERS\r\n0001 \"A\" {0000ABCD-0000-0000-0000-000000000001} SINK \"f\" 0 \r\n"
                 L"CONNECTIONS\r\nCLOCK 0 0000\r\nEND"},
      {"connection to no filter",
       L"0003\r\nFILTERS\r\n" + filter +
           L"CONNECTIONS\r\n0001 \"Out\" 0002 \"In\" {00000000-0000-0000-0000-000000000000} "
           L"{00000000-0000-0000-0000-000000000000} 0 0 86 0 {00000000-0000-0000-0000-000000000000} 0 \r\n"
           L"CLOCK 0 0000\r\nEND"},
      {"format length off by one",
       L"0003\r\nFILTERS\r\n0001 \"A\" {0000ABCD-0000-0000-0000-000000000001} 0 \r\n"
       L"0002 \"B\" {0000ABCD-0000-0000-0000-000000000001} 0 \r\n"
       L"CONNECTIONS\r\n0001 \"Out\" 0002 \"In\" {00000000-0000-0000-0000-000000000000} "
       L"{00000000-0000-0000-0000-000000000000} 0 0 87 0 {00000000-0000-0000-0000-000000000000} 0 \r\n"
       L"CLOCK 0 0000\r\nEND"},
      {"flag of 2", L"0003\r\nFILTERS\r\nCONNECTIONS\r\nCLOCK 2 0000\r\nEND"},
      {"clock of no filter", L"0003\r\nFILTERS\r\nCONNECTIONS\r\nCLOCK 1 0003\r\nEND"},
  };
  for (const Case &c : cases) {
    SavedGraph graph;
    size_t consumed = 7;
    EXPECT_HR(VFW_E_INVALID_FILE_FORMAT, ReadSavedGraph(Text(c.form), graph, consumed)) << c.what;
    EXPECT_EQ(consumed, 0u) << c.what;
    EXPECT_TRUE(graph.filters.empty()) << c.what;
  }
}

TEST(SavedGraphReader, RefusesANullInAName) {
  const std::wstring form = std::wstring(L"0003 FILTERS 0001 \"A") + L'\0' +
                            L"B\" {0000ABCD-0000-0000-0000-000000000001} 0  CONNECTIONS CLOCK 0 0000 END";
  SavedGraph graph;
  size_t consumed = 0;
  EXPECT_HR(VFW_E_INVALID_FILE_FORMAT, ReadSavedGraph(Text(form), graph, consumed));
}

TEST(SavedGraphReader, RefusesEveryTruncation) {
  for (size_t size = 0; size < kSampleForm.size(); ++size) {
    SavedGraph graph;
    size_t consumed = 0;
    const std::vector<BYTE> cut(kSampleForm.begin(), kSampleForm.begin() + static_cast<std::ptrdiff_t>(size));
    EXPECT_HR(VFW_E_INVALID_FILE_FORMAT, ReadSavedGraph(cut, graph, consumed)) << "cut to " << size << " bytes";
  }
}

}  // namespace
