// The graph controller against a fake graph manager, fake filters and pins
// and a fake decoder: the decoder's placement check, the video window's
// placement, what reaches the video renderer, the decoder's identity,
// transport, seeking and events, the decoder's settings, teardown, and
// which names are taken for saved graphs. Debug assertions are checked with
// the source that raises them; every fake is back to the test's own
// reference at the end of each case.
#include <windows.h>

#include <gtest/gtest.h>

#include <math.h>
#include <stdio.h>

#include <algorithm>
#include <deque>
#include <limits>
#include <string>
#include <vector>

#include "Graph.h"
#include "debug_assertions.h"
#include "fake_decoder.h"
#include "fake_graph.h"
#include "private_registry.h"

// The platform library's own registration of its built-in classes.
STDAPI DllRegisterServer(void);

using testing_support::Assertions;
using testing_support::AssertionLog;
using testing_support::CountedObject;
using testing_support::FakeDecoder;
using testing_support::FakeFilter;
using testing_support::FakeGraph;
using testing_support::FakePin;
using testing_support::FakeSetting;
using testing_support::Hex;
using testing_support::InHeader;
using testing_support::InSource;
using testing_support::kResultNotOk;

namespace {

using Calls = std::vector<std::string>;

// A filter class other than the decoder's.
const CLSID kOtherClass = {0x5C0A7E11, 0x0001, 0x4000, {0x80, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x01}};

// The controller over a fake graph manager, with the filters, pins and
// decoder a case adds. Every connection type handed out carries a reference
// to typeObject. At the end the controller lets go of the fakes and each
// must be back to the case's own reference.
class Bench {
 public:
  Bench() { controller.m_spGraph = &graph; }
  ~Bench() {
    controller.m_spH264Decoder.Release();
    controller.m_spGraph.Release();
    ExpectEveryFakeReleased();
  }

  // A pin connected to a pin outside the graph unless told otherwise.
  FakePin &AddPin(PIN_DIRECTION direction, bool connected = true) {
    FakePin &pin = pins.emplace_back(direction);
    if (connected) pin.peer = &farEnd;
    pin.typeObject = &typeObject;
    return pin;
  }
  // A connected input pin whose connection has this major type and format.
  FakePin &AddInput(const GUID &majorType, const GUID &formatType, std::vector<BYTE> format) {
    FakePin &pin = AddPin(PINDIR_INPUT);
    pin.majorType = majorType;
    pin.formatType = formatType;
    pin.format = std::move(format);
    return pin;
  }
  // A filter, enumerated after those added before it.
  FakeFilter &AddFilter(const CLSID &clsid, std::vector<FakePin *> filterPins) {
    FakeFilter &filter = filters.emplace_back(clsid);
    filter.pins.items.assign(filterPins.begin(), filterPins.end());
    graph.filters.items.push_back(&filter);
    return filter;
  }
  void UseDecoder() { controller.m_spH264Decoder = &decoder; }

  // The assertions raised since the last call.
  Assertions TakeAssertions() { return assertions.TakeAssertions(); }

  AssertionLog assertions;
  FakePin farEnd{PINDIR_OUTPUT};
  CountedObject typeObject;
  std::deque<FakePin> pins;
  std::deque<FakeFilter> filters;
  FakeGraph graph;
  FakeDecoder decoder;
  CGraph controller;  // declared last, so it is gone before the fakes

 private:
  void ExpectEveryFakeReleased() const {
    EXPECT_EQ(graph.references, 1u) << "graph";
    EXPECT_EQ(graph.filters.references, 1u) << "filter enumerator";
    EXPECT_EQ(decoder.references, 1u) << "decoder";
    EXPECT_EQ(farEnd.references, 1u) << "connected pin outside the graph";
    EXPECT_EQ(typeObject.references, 1u) << "pUnk of the connection types";
    for (size_t i = 0; i < pins.size(); ++i) EXPECT_EQ(pins[i].references, 1u) << "pin " << i;
    for (size_t i = 0; i < filters.size(); ++i) {
      EXPECT_EQ(filters[i].references, 1u) << "filter " << i;
      EXPECT_EQ(filters[i].pins.references, 1u) << "pin enumerator of filter " << i;
    }
  }
};

// ---------------------------------------------------------------------------
// The decoder's placement check

struct PinLayout {
  PIN_DIRECTION direction;
  bool connected;
  HRESULT directionResult;
};
const PinLayout kIn{PINDIR_INPUT, true, S_OK};
const PinLayout kOut{PINDIR_OUTPUT, true, S_OK};
const PinLayout kLooseIn{PINDIR_INPUT, false, S_OK};
const PinLayout kLooseOut{PINDIR_OUTPUT, false, S_OK};
const PinLayout kMute{PINDIR_INPUT, true, E_UNEXPECTED};  // its direction cannot be asked

std::vector<FakePin *> AddPins(Bench &bench, const std::vector<PinLayout> &layouts) {
  std::vector<FakePin *> added;
  for (const PinLayout &layout : layouts) {
    FakePin &pin = bench.AddPin(layout.direction, layout.connected);
    pin.directionResult = layout.directionResult;
    added.push_back(&pin);
  }
  return added;
}

int DirectionQueries(const std::vector<FakePin *> &pins) {
  int n = 0;
  for (const FakePin *pin : pins) n += pin->directionQueries;
  return n;
}

TEST(DecoderPlacementCheck, PinLayouts) {
  const struct {
    const char *name;
    std::vector<PinLayout> pins;
    HRESULT expected;
    const wchar_t *assertion;  // null: none
    int directionsAsked;
  } cases[] = {
      {"in, out", {kIn, kOut}, S_OK, nullptr, 2},
      {"out, in", {kOut, kIn}, S_OK, nullptr, 2},
      {"only in", {kIn}, E_FAIL, L"CGraph::CheckFilter(): number of pins < 2", 1},
      {"only out", {kOut}, E_FAIL, L"CGraph::CheckFilter(): number of pins < 2", 1},
      {"no pins", {}, E_FAIL, L"CGraph::CheckFilter(): number of pins < 2", 0},
      {"in, in, out", {kIn, kIn, kOut}, E_FAIL, L"CGraph::CheckFilter(): Second input pin found", 2},
      {"in, unconnected in", {kIn, kLooseIn}, E_FAIL, L"CGraph::CheckFilter(): Second input pin found", 2},
      {"out, out, in", {kOut, kOut, kIn}, E_FAIL, L"CGraph::CheckFilter(): Second output pin found", 2},
      {"in, out, out", {kIn, kOut, kOut}, E_FAIL, L"CGraph::CheckFilter(): number of pins > 2", 2},
      {"in, out, in", {kIn, kOut, kIn}, E_FAIL, L"CGraph::CheckFilter(): number of pins > 2", 2},
      {"in, out, mute", {kIn, kOut, kMute}, E_FAIL, L"CGraph::CheckFilter(): number of pins > 2", 2},
      {"unconnected in, out", {kLooseIn, kOut}, E_FAIL,
       L"CGraph::CheckFilter(): Pin of wanted filter not connected", 1},
      {"in, unconnected out", {kIn, kLooseOut}, E_FAIL,
       L"CGraph::CheckFilter(): Pin of wanted filter not connected", 2},
      {"mute, out", {kMute, kOut}, E_UNEXPECTED, L"CGraph::CheckFilter(): spPin->QueryDirection() FAILED", 1},
  };
  for (const auto &c : cases) {
    SCOPED_TRACE(c.name);
    Bench bench;
    bench.AddFilter(kOtherClass, {&bench.AddPin(PINDIR_OUTPUT)});
    const std::vector<FakePin *> pins = AddPins(bench, c.pins);
    FakeFilter &decoder = bench.AddFilter(CLSID_H264Decoder, pins);

    CComPtr<IBaseFilter> spFound;
    EXPECT_EQ(Hex(bench.controller.CheckFilter(CLSID_H264Decoder, &spFound)), Hex(c.expected));
    EXPECT_EQ(bench.TakeAssertions(), c.assertion ? InSource({c.assertion}) : Assertions());
    EXPECT_EQ(static_cast<IBaseFilter *>(spFound), c.expected == S_OK ? &decoder : nullptr);
    EXPECT_EQ(DirectionQueries(pins), c.directionsAsked) << "pins whose direction was asked";
  }
}

TEST(DecoderPlacementCheck, HandsBackTheEnumeratorsReferenceWithoutAnotherAddRef) {
  Bench bench;
  FakeFilter &decoder = bench.AddFilter(CLSID_H264Decoder, AddPins(bench, {kIn, kOut}));
  IBaseFilter *pFound = nullptr;
  ASSERT_EQ(Hex(bench.controller.CheckFilter(CLSID_H264Decoder, &pFound)), Hex(S_OK));
  EXPECT_EQ(pFound, &decoder);
  EXPECT_EQ(decoder.references, 2u) << "the test's and the one handed back";
  pFound->Release();
}

TEST(DecoderPlacementCheck, OnlyTheFirstOfTwoDecodersIsExamined) {
  Bench bench;
  FakeFilter &first = bench.AddFilter(CLSID_H264Decoder, AddPins(bench, {kIn, kOut}));
  const std::vector<FakePin *> secondPins = AddPins(bench, {kMute});
  bench.AddFilter(CLSID_H264Decoder, secondPins);
  CComPtr<IBaseFilter> spFound;
  EXPECT_EQ(Hex(bench.controller.CheckFilter(CLSID_H264Decoder, &spFound)), Hex(S_OK));
  EXPECT_EQ(static_cast<IBaseFilter *>(spFound), &first);
  EXPECT_EQ(DirectionQueries(secondPins), 0);
  EXPECT_EQ(bench.TakeAssertions(), Assertions());
}

TEST(DecoderPlacementCheck, WithoutAnOutPointerTheCheckRunsTheSame) {
  Bench bench;
  bench.AddFilter(CLSID_H264Decoder, AddPins(bench, {kOut, kIn}));
  EXPECT_EQ(Hex(bench.controller.CheckFilter(CLSID_H264Decoder, nullptr)), Hex(S_OK));

  Bench broken;
  broken.AddFilter(CLSID_H264Decoder, AddPins(broken, {kIn, kIn}));
  EXPECT_EQ(Hex(broken.controller.CheckFilter(CLSID_H264Decoder, nullptr)), Hex(E_FAIL));
  EXPECT_EQ(broken.TakeAssertions(), InSource({L"CGraph::CheckFilter(): Second input pin found"}));
}

TEST(DecoderPlacementCheck, AGraphWithoutTheDecoder) {
  Bench bench;
  const std::vector<FakePin *> otherPins = AddPins(bench, {kIn, kOut});
  bench.AddFilter(kOtherClass, otherPins);
  IBaseFilter *pFound = &bench.filters.front();
  EXPECT_EQ(Hex(bench.controller.CheckFilter(CLSID_H264Decoder, &pFound)), Hex(E_FAIL));
  EXPECT_EQ(pFound, nullptr);
  EXPECT_EQ(bench.TakeAssertions(), InSource({L"CGraph::CheckFilter(): Wanted filter not found"}));
  EXPECT_EQ(DirectionQueries(otherPins), 0) << "other filters' pins are never looked at";
}

TEST(DecoderPlacementCheck, WithoutAGraphTheOutPointerIsLeftAlone) {
  Bench bench;
  bench.controller.m_spGraph.Release();
  FakeFilter &untouched = bench.AddFilter(kOtherClass, {});
  IBaseFilter *pFound = &untouched;
  EXPECT_EQ(Hex(bench.controller.CheckFilter(CLSID_H264Decoder, &pFound)), Hex(E_FAIL));
  EXPECT_EQ(pFound, &untouched);
  EXPECT_EQ(bench.TakeAssertions(), InSource({L"m_spGraph != 0"}));
}

TEST(DecoderPlacementCheck, AFailingEnumeratorStepEndsTheCheck) {
  Bench filtersFail;
  filtersFail.AddFilter(kOtherClass, {});
  filtersFail.graph.filters.endResult = VFW_E_ENUM_OUT_OF_SYNC;
  EXPECT_EQ(Hex(filtersFail.controller.CheckFilter(CLSID_H264Decoder, nullptr)), Hex(E_FAIL));
  EXPECT_EQ(filtersFail.TakeAssertions(), InSource({kResultNotOk}));

  Bench pinsFail;
  FakeFilter &decoder = pinsFail.AddFilter(CLSID_H264Decoder, AddPins(pinsFail, {kIn}));
  decoder.pins.endResult = VFW_E_ENUM_OUT_OF_SYNC;
  EXPECT_EQ(Hex(pinsFail.controller.CheckFilter(CLSID_H264Decoder, nullptr)), Hex(E_FAIL));
  EXPECT_EQ(pinsFail.TakeAssertions(), InSource({kResultNotOk}));
}

// ---------------------------------------------------------------------------
// The video window's placement above the dialog

class VideoWindowPlacement : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(SystemParametersInfoW(SPI_GETWORKAREA, 0, &savedArea_, 0));
    dialog_ = CreateWindowExW(0, L"STATIC", L"dialog", WS_POPUP, 0, 0, 400, 200, nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(dialog_, nullptr);
  }
  void TearDown() override {
    DestroyWindow(dialog_);
    SystemParametersInfoW(SPI_SETWORKAREA, 0, &savedArea_, 0);
  }
  void Arrange(RECT area, int dialogTop) {
    ASSERT_TRUE(SystemParametersInfoW(SPI_SETWORKAREA, 0, &area, 0));
    ASSERT_TRUE(MoveWindow(dialog_, 100, dialogTop, 400, 200, FALSE));
    RECT rc;
    ASSERT_TRUE(GetWindowRect(dialog_, &rc));
    ASSERT_EQ(rc.top, dialogTop);
  }
  static Calls PlacementCalls(LONG top, LONG left) {
    return {"get_Height", "put_Top(" + std::to_string(top) + ")", "get_Width",
            "put_Left(" + std::to_string(left) + ")", "put_Visible(-1)"};
  }

  HWND dialog_ = nullptr;
  RECT savedArea_{};
};

TEST_F(VideoWindowPlacement, AboveTheDialogAndCentredAcrossTheWorkArea) {
  const struct {
    const char *name;
    RECT area;
    int dialogTop;
    LONG videoWidth, videoHeight;
    LONG left, top;
  } cases[] = {
      {"centred above the dialog", {0, 0, 1000, 700}, 500, 640, 360, 180, 140},
      {"exactly the space above the dialog", {0, 0, 1000, 700}, 360, 640, 360, 180, 0},
      {"taller than the space above the dialog", {0, 0, 1000, 700}, 300, 640, 480, 180, 0},
      {"work area away from the left edge", {100, 0, 900, 700}, 500, 400, 300, 200, 200},
      {"odd difference", {0, 0, 901, 700}, 500, 400, 300, 250, 200},
      {"video wider than the work area", {0, 0, 600, 700}, 500, 801, 300, -100, 200},
  };
  for (const auto &c : cases) {
    SCOPED_TRACE(c.name);
    Arrange(c.area, c.dialogTop);
    Bench bench;
    bench.graph.videoWidth = c.videoWidth;
    bench.graph.videoHeight = c.videoHeight;
    EXPECT_EQ(Hex(bench.controller.PlaceVideoWindow(dialog_)), Hex(S_OK));
    EXPECT_EQ(bench.graph.calls, PlacementCalls(c.top, c.left));
    EXPECT_EQ(bench.TakeAssertions(), Assertions());
  }
}

TEST_F(VideoWindowPlacement, WithoutAVideoRendererEveryCallAssertsAndThePlacementSucceeds) {
  Arrange({0, 0, 1000, 700}, 500);
  Bench bench;
  bench.graph.videoWidth = 640;
  bench.graph.videoHeight = 360;
  bench.graph.videoWindowResult = E_NOINTERFACE;
  EXPECT_EQ(Hex(bench.controller.PlaceVideoWindow(dialog_)), Hex(S_OK));
  EXPECT_EQ(bench.graph.calls, PlacementCalls(500, 500)) << "failed reads leave their 0";
  EXPECT_EQ(bench.TakeAssertions(), InSource({kResultNotOk, kResultNotOk, kResultNotOk, kResultNotOk, kResultNotOk}));
}

TEST_F(VideoWindowPlacement, AGraphWithoutTheVideoWindowInterfaceIsNotPlaced) {
  Bench bench;
  bench.graph.Withhold(IID_IVideoWindow);
  EXPECT_EQ(Hex(bench.controller.PlaceVideoWindow(dialog_)), Hex(E_FAIL));
  EXPECT_EQ(bench.graph.calls, Calls());
  EXPECT_EQ(bench.TakeAssertions(), InSource({L"spVideoWindow != 0"}));
}

TEST_F(VideoWindowPlacement, WithoutAGraph) {
  Bench bench;
  bench.controller.m_spGraph.Release();
  EXPECT_EQ(Hex(bench.controller.PlaceVideoWindow(dialog_)), Hex(E_FAIL));
  EXPECT_EQ(bench.TakeAssertions(), InSource({L"m_spGraph != 0"}));
}

TEST_F(VideoWindowPlacement, AWindowThatIsGoneCountsAsATopOfZero) {
  Arrange({0, 0, 1000, 700}, 500);
  DestroyWindow(dialog_);
  Bench bench;
  bench.graph.videoWidth = 640;
  bench.graph.videoHeight = 360;
  EXPECT_EQ(Hex(bench.controller.PlaceVideoWindow(dialog_)), Hex(S_OK));
  EXPECT_EQ(bench.graph.calls, PlacementCalls(0, 180));
  EXPECT_EQ(bench.TakeAssertions(), InSource({L"::IsWindow(hWnd)"}));
}

// ---------------------------------------------------------------------------
// What reaches the video renderer

const REFERENCE_TIME kTwentyFiveFramesASecond = 400000;

template <typename Header>
std::vector<BYTE> VideoFormat(const RECT &target, LONG width, LONG height) {
  Header header;
  ZeroMemory(&header, sizeof(header));
  header.rcTarget = target;
  header.AvgTimePerFrame = kTwentyFiveFramesASecond;
  header.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  header.bmiHeader.biWidth = width;
  header.bmiHeader.biHeight = height;
  const BYTE *bytes = reinterpret_cast<const BYTE *>(&header);
  return std::vector<BYTE>(bytes, bytes + sizeof(header));
}

std::vector<BYTE> SomeVideoFormat() { return VideoFormat<VIDEOINFOHEADER>({0, 0, 0, 0}, 320, 240); }

// A source whose output feeds the filters added after it.
void AddSource(Bench &bench) { bench.AddFilter(kOtherClass, {&bench.AddPin(PINDIR_OUTPUT)}); }

TEST(VideoProperties, PictureSizeAndFrameDurationFromEitherVideoInfoHeader) {
  const struct {
    const char *name;
    RECT target;
    LONG width, height;
    SIZE expected;
  } cases[] = {
      {"empty target: the bitmap's size", {0, 0, 0, 0}, 1280, 720, {1280, 720}},
      {"target from the origin", {0, 0, 640, 360}, 1280, 720, {640, 360}},
      {"offset target: its right and bottom edges", {10, 10, 650, 370}, 1280, 720, {650, 370}},
      {"target without a bottom edge", {0, 0, 640, 0}, 1280, 720, {1280, 720}},
      {"target without a right edge", {0, 0, 0, 360}, 1280, 720, {1280, 720}},
      {"top-down bitmap", {0, 0, 0, 0}, 640, -480, {640, -480}},
  };
  const struct {
    const char *name;
    const GUID *formatType;
    std::vector<BYTE> (*format)(const RECT &, LONG, LONG);
  } headers[] = {
      {"VIDEOINFOHEADER", &FORMAT_VideoInfo, VideoFormat<VIDEOINFOHEADER>},
      {"VIDEOINFOHEADER2", &FORMAT_VideoInfo2, VideoFormat<VIDEOINFOHEADER2>},
  };
  for (const auto &h : headers) {
    for (const auto &c : cases) {
      SCOPED_TRACE(std::string(h.name) + ", " + c.name);
      Bench bench;
      AddSource(bench);
      FakePin &input = bench.AddInput(MEDIATYPE_Video, *h.formatType, h.format(c.target, c.width, c.height));
      bench.AddFilter(kOtherClass, {&input});
      REFERENCE_TIME tAvg = -1;
      SIZE s = {-1, -1};
      EXPECT_EQ(Hex(bench.controller.GetProperties(&tAvg, &s)), Hex(S_OK));
      EXPECT_EQ(s.cx, c.expected.cx);
      EXPECT_EQ(s.cy, c.expected.cy);
      EXPECT_EQ(tAvg, kTwentyFiveFramesASecond);
      EXPECT_EQ(bench.TakeAssertions(), Assertions());
    }
  }
}

TEST(VideoProperties, AFormatBlockThatIsNotAVideoInfoHeaderIsNotRead) {
  const struct {
    const char *name;
    const GUID *formatType;
    size_t size;
    const wchar_t *assertion;
  } cases[] = {
      {"short VIDEOINFOHEADER", &FORMAT_VideoInfo, sizeof(VIDEOINFOHEADER) - 1,
       L"mt.cbFormat >= sizeof(VIDEOINFOHEADER)"},
      {"VIDEOINFOHEADER as VIDEOINFOHEADER2", &FORMAT_VideoInfo2, sizeof(VIDEOINFOHEADER),
       L"mt.cbFormat >= sizeof(VIDEOINFOHEADER2)"},
      {"short VIDEOINFOHEADER2", &FORMAT_VideoInfo2, sizeof(VIDEOINFOHEADER2) - 1,
       L"mt.cbFormat >= sizeof(VIDEOINFOHEADER2)"},
      {"no format block", &FORMAT_VideoInfo, 0, L"mt.pbFormat != 0"},
      {"another format type", &FORMAT_MPEG2Video, sizeof(MPEG2VIDEOINFO), L"mt.formattype == FORMAT_VideoInfo2"},
  };
  for (const auto &c : cases) {
    SCOPED_TRACE(c.name);
    Bench bench;
    bench.AddFilter(kOtherClass, {&bench.AddInput(MEDIATYPE_Video, *c.formatType, std::vector<BYTE>(c.size, 0x7F))});
    REFERENCE_TIME tAvg = -1;
    SIZE s = {-1, -1};
    EXPECT_EQ(Hex(bench.controller.GetProperties(&tAvg, &s)), Hex(S_OK));
    EXPECT_EQ(s.cx, 0);
    EXPECT_EQ(s.cy, 0);
    EXPECT_EQ(tAvg, 0);
    EXPECT_EQ(bench.TakeAssertions(), InSource({c.assertion}));
  }
}

TEST(VideoProperties, WithoutAVideoRendererBothAreZero) {
  Bench bench;
  AddSource(bench);
  bench.AddFilter(kOtherClass, {&bench.AddInput(MEDIATYPE_Audio, FORMAT_WaveFormatEx, std::vector<BYTE>(18))});
  REFERENCE_TIME tAvg = -1;
  SIZE s = {-1, -1};
  EXPECT_EQ(Hex(bench.controller.GetProperties(&tAvg, &s)), Hex(E_FAIL));
  EXPECT_EQ(s.cx, 0);
  EXPECT_EQ(s.cy, 0);
  EXPECT_EQ(tAvg, 0);
  EXPECT_EQ(bench.TakeAssertions(), InSource({L"CGraph::GetProperties(): Video Renderer not found"}));
}

TEST(VideoProperties, NullArgumentsAndNoGraphWriteNothing) {
  Bench bench;
  REFERENCE_TIME tAvg = -1;
  SIZE s = {-1, -1};
  EXPECT_EQ(Hex(bench.controller.GetProperties(nullptr, &s)), Hex(E_POINTER));
  EXPECT_EQ(Hex(bench.controller.GetProperties(&tAvg, nullptr)), Hex(E_POINTER));
  EXPECT_EQ(bench.TakeAssertions(), InSource({L"ptAvg != 0", L"ps != 0"}));
  bench.controller.m_spGraph.Release();
  EXPECT_EQ(Hex(bench.controller.GetProperties(&tAvg, &s)), Hex(E_FAIL));
  EXPECT_EQ(bench.TakeAssertions(), Assertions());
  EXPECT_EQ(tAvg, -1);
  EXPECT_EQ(s.cx, -1);
  EXPECT_EQ(s.cy, -1);
}

TEST(VideoRendererPin, TheFirstConnectedVideoInputOfAFilterWithOnlyInputs) {
  Bench bench;
  AddSource(bench);
  // Transforms, whatever the order of their pins and whether their output is connected.
  bench.AddFilter(kOtherClass, {&bench.AddInput(MEDIATYPE_Video, FORMAT_VideoInfo, SomeVideoFormat()),
                                &bench.AddPin(PINDIR_OUTPUT, false)});
  bench.AddFilter(kOtherClass, {&bench.AddPin(PINDIR_OUTPUT),
                                &bench.AddInput(MEDIATYPE_Video, FORMAT_VideoInfo, SomeVideoFormat())});
  // Renderers of audio only, and of nothing connected.
  bench.AddFilter(kOtherClass, {&bench.AddInput(MEDIATYPE_Audio, FORMAT_WaveFormatEx, std::vector<BYTE>(18))});
  bench.AddFilter(kOtherClass, {&bench.AddPin(PINDIR_INPUT, false)});
  // The renderer: past an unconnected and an audio input, the first of two video inputs.
  FakePin &wanted = bench.AddInput(MEDIATYPE_Video, FORMAT_VideoInfo, SomeVideoFormat());
  bench.AddFilter(kOtherClass, {&bench.AddPin(PINDIR_INPUT, false),
                                &bench.AddInput(MEDIATYPE_Audio, FORMAT_WaveFormatEx, std::vector<BYTE>(18)),
                                &wanted, &bench.AddInput(MEDIATYPE_Video, FORMAT_VideoInfo, SomeVideoFormat())});
  bench.AddFilter(kOtherClass, {&bench.AddInput(MEDIATYPE_Video, FORMAT_VideoInfo, SomeVideoFormat())});

  CComPtr<IPin> spPin;
  EXPECT_EQ(Hex(bench.controller.FindVideoRendererPin(&spPin)), Hex(S_OK));
  EXPECT_EQ(static_cast<IPin *>(spPin), &wanted);
  EXPECT_EQ(bench.TakeAssertions(), Assertions());
}

TEST(VideoRendererPin, WhenNoFilterQualifiesTheSearchsEndIsReturned) {
  Bench bench;
  AddSource(bench);
  IPin *pPin = &bench.farEnd;
  EXPECT_EQ(Hex(bench.controller.FindVideoRendererPin(&pPin)), Hex(S_FALSE));
  EXPECT_EQ(pPin, nullptr);

  bench.graph.filters.endResult = VFW_E_ENUM_OUT_OF_SYNC;
  pPin = &bench.farEnd;
  EXPECT_EQ(Hex(bench.controller.FindVideoRendererPin(&pPin)), Hex(VFW_E_ENUM_OUT_OF_SYNC));
  EXPECT_EQ(pPin, nullptr);
  EXPECT_EQ(bench.TakeAssertions(), Assertions());
}

TEST(VideoRendererPin, NullOutPointerAndNoGraph) {
  Bench bench;
  EXPECT_EQ(Hex(bench.controller.FindVideoRendererPin(nullptr)), Hex(E_POINTER));
  EXPECT_EQ(bench.TakeAssertions(), InSource({L"ppPin != 0"}));
  bench.controller.m_spGraph.Release();
  IPin *pPin = &bench.farEnd;
  EXPECT_EQ(Hex(bench.controller.FindVideoRendererPin(&pPin)), Hex(E_FAIL));
  EXPECT_EQ(pPin, nullptr);
  EXPECT_EQ(bench.TakeAssertions(), InSource({L"m_spGraph != 0"}));
}

// ---------------------------------------------------------------------------
// The decoder's identity

const std::wstring kExampleIdentity = L"Dec [R32 v.2.1.0.5 2012-05-01 10:00]";

std::wstring TextOf(const CComBSTR &cbs) { return cbs.m_str ? std::wstring(cbs.m_str) : L"(null)"; }

TEST(DecoderIdentity, NameBuildPlatformNumberAndDate) {
  Bench bench;
  bench.UseDecoder();
  CComBSTR cbsVersion(L"earlier text");
  EXPECT_EQ(Hex(bench.controller.GetDecoderVersion(cbsVersion)), Hex(S_OK));
  EXPECT_EQ(TextOf(cbsVersion), kExampleIdentity);
  EXPECT_EQ(bench.TakeAssertions(), Assertions());
}

TEST(DecoderIdentity, OnlyZeroAgainstNonZeroMattersForBuildTypeAndPlatform) {
  const struct {
    INT32 buildType, platform;
    const wchar_t *marks;
  } cases[] = {
      {0, 0, L"D32"}, {1, 0, L"R32"}, {0, 1, L"D64"}, {1, 1, L"R64"}, {7, 2, L"R64"}, {-1, -1, L"R64"},
  };
  for (const auto &c : cases) {
    SCOPED_TRACE(testing::Message() << "build type " << c.buildType << ", platform " << c.platform);
    Bench bench;
    bench.UseDecoder();
    bench.decoder.buildType = c.buildType;
    bench.decoder.platform = c.platform;
    CComBSTR cbsVersion;
    EXPECT_EQ(Hex(bench.controller.GetDecoderVersion(cbsVersion)), Hex(S_OK));
    EXPECT_EQ(TextOf(cbsVersion), std::wstring(L"Dec [") + c.marks + L" v.2.1.0.5 2012-05-01 10:00]");
  }
}

TEST(DecoderIdentity, LongPiecesAreCutAt511Characters) {
  const struct {
    size_t name, number, dateTime;
  } cases[] = {
      {478, 7, 16}, {479, 7, 16}, {600, 7, 16}, {505, 7, 16}, {3, 600, 16}, {3, 7, 600}, {3, 495, 16},
  };
  for (const auto &c : cases) {
    SCOPED_TRACE(testing::Message() << "pieces of " << c.name << ", " << c.number << " and " << c.dateTime);
    const std::wstring name(c.name, L'n'), number(c.number, L'9'), dateTime(c.dateTime, L'd');
    Bench bench;
    bench.UseDecoder();
    bench.decoder.productName = name.c_str();
    bench.decoder.versionNumber = number.c_str();
    bench.decoder.buildDateTime = dateTime.c_str();
    CComBSTR cbsVersion;
    EXPECT_EQ(Hex(bench.controller.GetDecoderVersion(cbsVersion)), Hex(S_OK));
    const std::wstring whole = name + L" [R32 v." + number + L" " + dateTime + L"]";
    EXPECT_EQ(TextOf(cbsVersion), whole.substr(0, 511));
  }
}

TEST(DecoderIdentity, NullPiecesReadAsEmpty) {
  Bench bench;
  bench.UseDecoder();
  bench.decoder.productName = nullptr;
  bench.decoder.versionNumber = nullptr;
  bench.decoder.buildDateTime = nullptr;
  CComBSTR cbsVersion;
  EXPECT_EQ(Hex(bench.controller.GetDecoderVersion(cbsVersion)), Hex(S_OK));
  EXPECT_EQ(TextOf(cbsVersion), L" [R32 v. ]");
}

TEST(DecoderIdentity, FailingReadsAssertAndTheTextUsesWhatTheyGave) {
  Bench bench;
  bench.UseDecoder();
  bench.decoder.versionResult = E_UNEXPECTED;
  CComBSTR cbsVersion;
  EXPECT_EQ(Hex(bench.controller.GetDecoderVersion(cbsVersion)), Hex(S_OK));
  EXPECT_EQ(TextOf(cbsVersion), kExampleIdentity);
  EXPECT_EQ(bench.TakeAssertions(), InSource({kResultNotOk, kResultNotOk, kResultNotOk, kResultNotOk, kResultNotOk}));
}

TEST(DecoderIdentity, WithoutTheDecoderOrItsVersionInterfaceTheTextIsNull) {
  Bench bench;
  CComBSTR cbsVersion(L"earlier text");
  EXPECT_EQ(Hex(bench.controller.GetDecoderVersion(cbsVersion)), Hex(S_FALSE));
  EXPECT_EQ(TextOf(cbsVersion), L"(null)");
  EXPECT_EQ(bench.TakeAssertions(), Assertions());

  bench.UseDecoder();
  bench.decoder.givesVersion = false;
  cbsVersion = L"earlier text";
  EXPECT_EQ(Hex(bench.controller.GetDecoderVersion(cbsVersion)), Hex(E_NOINTERFACE));
  EXPECT_EQ(TextOf(cbsVersion), L"(null)");
  EXPECT_EQ(bench.TakeAssertions(), InSource({L"spVersion != 0"}));
}

// ---------------------------------------------------------------------------
// Transport and events

struct TransportOperation {
  const char *name;
  HRESULT (CGraph::*operation)();
  const wchar_t *noGraphAssertion;  // null: none
};
const TransportOperation kTransport[] = {
    {"Run", &CGraph::Run, L"m_spGraph != 0"},
    {"Pause", &CGraph::Pause, L"m_spGraph != 0"},
    {"Stop", &CGraph::Stop, nullptr},
};

TEST(Transport, EachCommandGoesToTheGraphAndItsResultComesBackUnchanged) {
  for (const auto &op : kTransport) {
    SCOPED_TRACE(op.name);
    Bench bench;
    bench.graph.controlResult = S_FALSE;
    EXPECT_EQ(Hex((bench.controller.*op.operation)()), Hex(S_FALSE));
    EXPECT_EQ(bench.graph.calls, Calls{op.name});
    bench.graph.controlResult = VFW_E_NOT_CONNECTED;
    EXPECT_EQ(Hex((bench.controller.*op.operation)()), Hex(VFW_E_NOT_CONNECTED));
    EXPECT_EQ(bench.TakeAssertions(), Assertions());
  }
}

TEST(Transport, WithoutAGraphOrItsMediaControl) {
  for (const auto &op : kTransport) {
    SCOPED_TRACE(op.name);
    Bench bench;
    bench.graph.Withhold(IID_IMediaControl);
    EXPECT_EQ(Hex((bench.controller.*op.operation)()), Hex(E_FAIL));
    EXPECT_EQ(bench.TakeAssertions(), InHeader({L"spMediaControl != 0"}));
    bench.controller.m_spGraph.Release();
    EXPECT_EQ(Hex((bench.controller.*op.operation)()), Hex(E_FAIL));
    EXPECT_EQ(bench.TakeAssertions(), op.noGraphAssertion ? InHeader({op.noGraphAssertion}) : Assertions());
    EXPECT_EQ(bench.graph.calls, Calls());
  }
}

TEST(GraphEvents, EachEventIsTakenWithoutWaitingAndFreedBeforeItsCodeIsReturned) {
  Bench bench;
  bench.graph.events = {{EC_COMPLETE, 11, 12}, {EC_USERABORT, 21, 22}};
  EXPECT_EQ(bench.controller.GetEvent(), EC_COMPLETE);
  EXPECT_EQ(bench.controller.GetEvent(), EC_USERABORT);
  EXPECT_EQ(bench.controller.GetEvent(), 0);
  EXPECT_EQ(bench.graph.calls, (Calls{"GetEvent(0 ms)", "FreeEventParams(1, 11, 12)", "GetEvent(0 ms)",
                                      "FreeEventParams(2, 21, 22)", "GetEvent(0 ms)"}));
  EXPECT_EQ(bench.TakeAssertions(), Assertions());
}

TEST(GraphEvents, WithoutAGraphOrItsEventInterfaceNoEventIsTaken) {
  Bench bench;
  bench.graph.events = {{EC_COMPLETE, 0, 0}};
  bench.graph.Withhold(IID_IMediaEvent);
  EXPECT_EQ(bench.controller.GetEvent(), 0);
  EXPECT_EQ(bench.TakeAssertions(), InHeader({L"spMediaEvent != 0"}));
  bench.controller.m_spGraph.Release();
  EXPECT_EQ(bench.controller.GetEvent(), 0);
  EXPECT_EQ(bench.TakeAssertions(), Assertions());
  EXPECT_EQ(bench.graph.calls, Calls());
}

// ---------------------------------------------------------------------------
// Seeking

const LONGLONG kUntouched = 0x5EED;

TEST(Seeking, NullOutPointersWithOrWithoutAGraph) {
  for (bool withGraph : {true, false}) {
    SCOPED_TRACE(withGraph ? "with a graph" : "without a graph");
    Bench bench;
    if (!withGraph) bench.controller.m_spGraph.Release();
    LONGLONG ll = kUntouched;
    EXPECT_EQ(Hex(bench.controller.GetPosition(nullptr)), Hex(E_POINTER));
    EXPECT_EQ(Hex(bench.controller.GetDuration(nullptr)), Hex(E_POINTER));
    EXPECT_EQ(Hex(bench.controller.GetAvailable(nullptr, &ll)), Hex(E_POINTER));
    EXPECT_EQ(Hex(bench.controller.GetAvailable(&ll, nullptr)), Hex(E_POINTER));
    EXPECT_EQ(ll, kUntouched);
    EXPECT_EQ(bench.TakeAssertions(),
              InSource({L"pllPosition != 0", L"pllDuration != 0", L"pllEarliest != 0", L"pllLatest != 0"}));
    EXPECT_EQ(bench.graph.calls, Calls());
  }
}

TEST(Seeking, WithoutAGraphOutValuesAreZeroAndNothingAsserts) {
  Bench bench;
  bench.controller.m_spGraph.Release();
  LONGLONG llDuration = kUntouched, llPosition = kUntouched, llEarliest = kUntouched, llLatest = kUntouched;
  EXPECT_EQ(Hex(bench.controller.GetDuration(&llDuration)), Hex(E_FAIL));
  EXPECT_EQ(Hex(bench.controller.GetPosition(&llPosition)), Hex(E_FAIL));
  EXPECT_EQ(Hex(bench.controller.GetAvailable(&llEarliest, &llLatest)), Hex(E_FAIL));
  EXPECT_EQ(Hex(bench.controller.SetPosition(10)), Hex(E_FAIL));
  EXPECT_EQ(Hex(bench.controller.SetPositionFraction(0.5)), Hex(E_FAIL));
  EXPECT_EQ(llDuration, 0);
  EXPECT_EQ(llPosition, 0);
  EXPECT_EQ(llEarliest, 0);
  EXPECT_EQ(llLatest, 0);
  EXPECT_EQ(bench.TakeAssertions(), Assertions());
}

TEST(Seeking, WithoutTheSeekingInterfaceEveryOperationGivesNoInterface) {
  Bench bench;
  bench.graph.Withhold(IID_IMediaSeeking);
  LONGLONG llDuration = kUntouched, llPosition = kUntouched, llEarliest = kUntouched, llLatest = kUntouched;
  EXPECT_EQ(Hex(bench.controller.GetDuration(&llDuration)), Hex(E_NOINTERFACE));
  EXPECT_EQ(Hex(bench.controller.GetPosition(&llPosition)), Hex(E_NOINTERFACE));
  EXPECT_EQ(Hex(bench.controller.GetAvailable(&llEarliest, &llLatest)), Hex(E_NOINTERFACE));
  EXPECT_EQ(Hex(bench.controller.SetPosition(10)), Hex(E_NOINTERFACE));
  EXPECT_EQ(Hex(bench.controller.SetPositionFraction(0.5)), Hex(E_NOINTERFACE));
  EXPECT_EQ(llDuration, 0);
  EXPECT_EQ(llPosition, 0);
  EXPECT_EQ(llEarliest, 0);
  EXPECT_EQ(llLatest, 0);
  const wchar_t *missing = L"spMediaSeeking != 0";
  EXPECT_EQ(bench.TakeAssertions(), InSource({missing, missing, missing, missing, missing}));
}

TEST(Seeking, ReadsPassTheGraphsValuesAndResults) {
  Bench bench;
  bench.graph.duration = 1234;
  bench.graph.current = 567;
  bench.graph.earliest = 10;
  bench.graph.latest = 900;
  LONGLONG llDuration = 0, llPosition = 0, llEarliest = 0, llLatest = 0;
  EXPECT_EQ(Hex(bench.controller.GetDuration(&llDuration)), Hex(S_OK));
  EXPECT_EQ(Hex(bench.controller.GetPosition(&llPosition)), Hex(S_OK));
  EXPECT_EQ(Hex(bench.controller.GetAvailable(&llEarliest, &llLatest)), Hex(S_OK));
  EXPECT_EQ(llDuration, 1234);
  EXPECT_EQ(llPosition, 567);
  EXPECT_EQ(llEarliest, 10);
  EXPECT_EQ(llLatest, 900);
  EXPECT_EQ(bench.TakeAssertions(), Assertions());

  bench.graph.durationResult = E_NOTIMPL;
  bench.graph.positionResult = E_NOTIMPL;
  bench.graph.availableResult = E_NOTIMPL;
  EXPECT_EQ(Hex(bench.controller.GetDuration(&llDuration)), Hex(E_NOTIMPL));
  EXPECT_EQ(Hex(bench.controller.GetPosition(&llPosition)), Hex(E_NOTIMPL));
  EXPECT_EQ(Hex(bench.controller.GetAvailable(&llEarliest, &llLatest)), Hex(E_NOTIMPL));
  EXPECT_EQ(llDuration, 0);
  EXPECT_EQ(llPosition, 0);
  EXPECT_EQ(llEarliest, 0);
  EXPECT_EQ(llLatest, 0);
  EXPECT_EQ(bench.TakeAssertions(), InSource({kResultNotOk, kResultNotOk})) << "none for the duration";
}

TEST(Seeking, SetPositionSeeksAbsolutelyAndLeavesTheStopPosition) {
  Bench bench;
  bench.graph.stop = 5000;
  EXPECT_EQ(Hex(bench.controller.SetPosition(1234)), Hex(S_OK));
  EXPECT_EQ(Hex(bench.controller.SetPosition(-5)), Hex(S_OK)) << "no range check";
  EXPECT_EQ(bench.graph.calls, (Calls{"SetPositions(1234, 1, null, 0)", "SetPositions(-5, 1, null, 0)"}));
  EXPECT_EQ(bench.graph.current, -5);
  EXPECT_EQ(bench.graph.stop, 5000);
  EXPECT_EQ(bench.TakeAssertions(), Assertions());

  bench.graph.setPositionsResult = S_FALSE;
  EXPECT_EQ(Hex(bench.controller.SetPosition(1)), Hex(S_FALSE));
  EXPECT_EQ(bench.TakeAssertions(), Assertions()) << "success codes pass";
  bench.graph.setPositionsResult = E_INVALIDARG;
  EXPECT_EQ(Hex(bench.controller.SetPosition(1)), Hex(E_INVALIDARG));
  EXPECT_EQ(bench.TakeAssertions(), InSource({L"(((HRESULT)(hr)) >= 0)"}));
}

TEST(Seeking, SetPositionFractionSeeksToThatPartOfTheDuration) {
  const LONGLONG kLongest = std::numeric_limits<LONGLONG>::max();
  const double kNaN = std::numeric_limits<double>::quiet_NaN();
  const double kInfinity = std::numeric_limits<double>::infinity();
  const struct {
    const char *name;
    LONGLONG duration;
    double fraction;
    LONGLONG expected;
  } cases[] = {
      {"below 0", 999, -0.25, 0},
      {"0", 999, 0.0, 0},
      {"half, truncated", 999, 0.5, 499},
      {"1", 999, 1.0, 999},
      {"above 1", 999, 1.5, 999},
      {"NaN", 999, kNaN, 0},
      {"minus infinity", 999, -kInfinity, 0},
      {"infinity", 999, kInfinity, 999},
      {"all of the longest duration", kLongest, 1.0, kLongest},
      {"half of the longest duration", kLongest, 0.5, 4611686018427387904LL},
      {"just below all of the longest duration", kLongest, nextafter(1.0, 0.0), 9223372036854774784LL},
      {"above 1 of the longest duration", kLongest, 2.0, kLongest},
  };
  for (const auto &c : cases) {
    SCOPED_TRACE(c.name);
    Bench bench;
    bench.graph.duration = c.duration;
    bench.graph.stop = 777;
    EXPECT_EQ(Hex(bench.controller.SetPositionFraction(c.fraction)), Hex(S_OK));
    const std::string seek = "SetPositions(" + std::to_string(c.expected) + ", 1, null, 0)";
    EXPECT_EQ(bench.graph.calls, (Calls{"GetDuration", seek}));
    EXPECT_EQ(bench.graph.stop, 777);
    EXPECT_EQ(bench.TakeAssertions(), Assertions());
  }
}

TEST(Seeking, SetPositionFractionGoesOnPastAFailedDurationAndPassesTheSeeksResult) {
  Bench bench;
  bench.graph.duration = 999;
  bench.graph.durationResult = E_NOTIMPL;
  bench.graph.setPositionsResult = E_INVALIDARG;
  EXPECT_EQ(Hex(bench.controller.SetPositionFraction(0.5)), Hex(E_INVALIDARG));
  EXPECT_EQ(bench.graph.calls, (Calls{"GetDuration", "SetPositions(0, 1, null, 0)"}));
  EXPECT_EQ(bench.TakeAssertions(), InSource({kResultNotOk, L"(((HRESULT)(hr)) >= 0)"}));
}

// ---------------------------------------------------------------------------
// The decoder's settings

struct Switch {
  const char *name;
  HRESULT (CGraph::*set)(bool);
  bool (CGraph::*get)();
  FakeSetting FakeDecoder::*setting;
};
const Switch kSwitches[] = {
    {"pass-through", &CGraph::SetPassThrough, &CGraph::GetPassThrough, &FakeDecoder::passThrough},
    {"aspect ratio", &CGraph::SetMaintainAspectRatio, &CGraph::GetMaintainAspectRatio,
     &FakeDecoder::maintainAspectRatio},
    {"original chroma", &CGraph::SetForceOriginalChroma, &CGraph::GetForceOriginalChroma,
     &FakeDecoder::forceOriginalChroma},
};

TEST(DecoderSettings, SwitchesAreSetAsOneOrZeroAndTheDecodersVerdictComesBack) {
  for (const Switch &sw : kSwitches) {
    SCOPED_TRACE(sw.name);
    Bench bench;
    bench.UseDecoder();
    FakeSetting &setting = bench.decoder.*sw.setting;
    EXPECT_EQ(Hex((bench.controller.*sw.set)(true)), Hex(S_OK));
    EXPECT_EQ(Hex((bench.controller.*sw.set)(false)), Hex(S_OK));
    setting.setResult = E_INVALIDARG;
    EXPECT_EQ(Hex((bench.controller.*sw.set)(true)), Hex(E_INVALIDARG));
    EXPECT_EQ(setting.written, (std::vector<int>{1, 0, 1}));
    EXPECT_EQ(bench.TakeAssertions(), Assertions());
  }
}

TEST(DecoderSettings, SwitchGettersGiveWhatTheDecoderWrote) {
  const struct {
    const char *name;
    int held;
    HRESULT result;
    bool writes;
    bool expected;
  } cases[] = {
      {"on", 1, S_OK, true, true},
      {"off", 0, S_OK, true, false},
      {"any non-zero BOOL", 2, S_OK, true, true},
      {"failed after writing on", 1, E_UNEXPECTED, true, true},
      {"failed without writing", 1, E_UNEXPECTED, false, false},
      {"success code other than S_OK", 1, S_FALSE, true, true},
  };
  for (const Switch &sw : kSwitches) {
    for (const auto &c : cases) {
      SCOPED_TRACE(std::string(sw.name) + ", " + c.name);
      Bench bench;
      bench.UseDecoder();
      FakeSetting &setting = bench.decoder.*sw.setting;
      setting.held = c.held;
      setting.getResult = c.result;
      setting.getWrites = c.writes;
      EXPECT_EQ((bench.controller.*sw.get)(), c.expected);
      EXPECT_EQ(bench.TakeAssertions(), c.result == S_OK ? Assertions() : InSource({kResultNotOk}));
    }
  }
}

TEST(DecoderSettings, ThreadCountsGoToTheDecoderUnchanged) {
  Bench bench;
  bench.UseDecoder();
  for (int n : {8, 1, 0, -3, std::numeric_limits<int>::max()}) {
    EXPECT_EQ(Hex(bench.controller.SetThreads(n)), Hex(S_OK)) << n;
  }
  bench.decoder.threads.setResult = E_INVALIDARG;
  EXPECT_EQ(Hex(bench.controller.SetThreads(-1)), Hex(E_INVALIDARG));
  EXPECT_EQ(bench.decoder.threads.written, (std::vector<int>{8, 1, 0, -3, std::numeric_limits<int>::max(), -1}));
  EXPECT_EQ(bench.TakeAssertions(), Assertions());
}

TEST(DecoderSettings, GetThreadsReadsIntoTheCallersVariable) {
  Bench bench;
  bench.UseDecoder();
  bench.decoder.threads.held = 6;
  int nThreads = 0;
  EXPECT_EQ(Hex(bench.controller.GetThreads(&nThreads)), Hex(S_OK));
  EXPECT_EQ(nThreads, 6);
  EXPECT_EQ(bench.TakeAssertions(), Assertions());

  bench.decoder.threads.getResult = E_UNEXPECTED;
  bench.decoder.threads.getWrites = false;
  nThreads = 9;
  EXPECT_EQ(Hex(bench.controller.GetThreads(&nThreads)), Hex(E_UNEXPECTED));
  EXPECT_EQ(nThreads, 9) << "not set to 0 first";
  EXPECT_EQ(bench.TakeAssertions(), InSource({kResultNotOk}));
}

TEST(DecoderSettings, GetThreadsRejectsANullPointerBeforeLookingForTheDecoder) {
  for (bool withDecoder : {true, false}) {
    SCOPED_TRACE(withDecoder ? "with the decoder" : "without the decoder");
    Bench bench;
    if (withDecoder) bench.UseDecoder();
    EXPECT_EQ(Hex(bench.controller.GetThreads(nullptr)), Hex(E_POINTER));
    EXPECT_EQ(bench.TakeAssertions(), InSource({L"pnThreads != 0"}));
  }
}

TEST(DecoderSettings, WithoutTheDecoderEverySettingFailsAndAsserts) {
  Bench bench;
  for (const Switch &sw : kSwitches) {
    SCOPED_TRACE(sw.name);
    EXPECT_EQ(Hex((bench.controller.*sw.set)(true)), Hex(E_FAIL));
    EXPECT_FALSE((bench.controller.*sw.get)());
    EXPECT_EQ(bench.TakeAssertions(), InSource({L"m_spH264Decoder != 0", L"m_spH264Decoder != 0"}));
  }
  int nThreads = 9;
  EXPECT_EQ(Hex(bench.controller.SetThreads(4)), Hex(E_FAIL));
  EXPECT_EQ(Hex(bench.controller.GetThreads(&nThreads)), Hex(E_FAIL));
  EXPECT_EQ(nThreads, 9);
  EXPECT_EQ(bench.TakeAssertions(), InSource({L"m_spH264Decoder != 0", L"m_spH264Decoder != 0"}));
}

// ---------------------------------------------------------------------------
// Teardown

TEST(GraphTeardownWithFakes, ReleasingStopsTheNotificationsAndLetsGoOfGraphAndDecoder) {
  Bench bench;
  bench.UseDecoder();
  EXPECT_FALSE(bench.controller.IsEmpty());
  bench.controller.ReleaseGraph();
  EXPECT_TRUE(bench.controller.IsEmpty());
  EXPECT_EQ(bench.graph.calls, Calls{"SetNotifyWindow(0, 0, 0)"});
  EXPECT_EQ(bench.graph.references, 1u);
  EXPECT_EQ(bench.decoder.references, 1u);
  EXPECT_EQ(bench.TakeAssertions(), Assertions());
}

TEST(GraphTeardownWithFakes, AGraphWithoutTheEventInterfaceIsReleasedAllTheSame) {
  Bench bench;
  bench.graph.Withhold(IID_IMediaEventEx);
  bench.controller.ReleaseGraph();
  EXPECT_TRUE(bench.controller.IsEmpty());
  EXPECT_EQ(bench.graph.references, 1u);
  EXPECT_EQ(bench.TakeAssertions(), InHeader({L"spMediaEventEx != 0"}));
}

TEST(GraphTeardownWithFakes, IsEmptyLooksAtTheGraphOnly) {
  Bench bench;
  bench.UseDecoder();
  bench.controller.m_spGraph.Release();
  EXPECT_TRUE(bench.controller.IsEmpty());
}

// ---------------------------------------------------------------------------
// Saved graphs

TEST(SavedGraphLoading, ANullNameOrAGraphThatCannotLoadIsRefused) {
  Bench bench;
  EXPECT_EQ(Hex(bench.controller.BuildFromGRFFile(nullptr)), Hex(E_POINTER));
  Assertions raised = bench.TakeAssertions();
  EXPECT_NE(std::find(raised.begin(), raised.end(), L"Graph.cpp: pszFile != 0"), raised.end());
  EXPECT_EQ(Hex(bench.controller.BuildFromGRFFile(L"saved.grf")), Hex(E_NOINTERFACE));
  EXPECT_EQ(bench.TakeAssertions(), InSource({L"spPersistStream != 0"}));
}

// Which names the build takes for saved graphs shows in where it fails: for
// a media file it creates the decoder first, which is not registered here;
// a saved graph is loaded instead, and the decoder is never created.
TEST(SavedGraphNames, OnlyNamesEndingInGrfAreSavedGraphs) {
  testing_support::PrivateRegistry registry;
  ASSERT_EQ(CoInitialize(nullptr), S_OK);
  ASSERT_EQ(Hex(DllRegisterServer()), Hex(S_OK)) << "the graph manager must be creatable";
  HWND hWnd = CreateWindowExW(0, L"STATIC", L"dialog", WS_POPUP, 0, 500, 400, 200, nullptr, nullptr, nullptr, nullptr);
  ASSERT_NE(hWnd, nullptr);
  const std::wstring kNoDecoder = L"Graph.cpp: CGraph::BuildGraph(): Can't create Pellonex H264 Decoder";
  const struct {
    const wchar_t *name;
    bool savedGraph;
  } cases[] = {
      {L"a", false},         {L"grf", false},           {L"clip.mp4", false}, {L".grf", true},
      {L"x.grf", true},      {L"missing.GrF", true},    {L"x.grf.mp4", false},
  };
  for (const auto &c : cases) {
    SCOPED_TRACE(testing::PrintToString(std::wstring(c.name)));
    AssertionLog log;
    CGraph controller;
    EXPECT_NE(Hex(controller.BuildGraph(c.name, hWnd, WM_APP + 1)), Hex(S_OK));
    const Assertions raised = log.TakeAssertions();
    EXPECT_EQ(std::find(raised.begin(), raised.end(), kNoDecoder) == raised.end(), c.savedGraph);
    controller.ReleaseGraph();
  }
  DestroyWindow(hWnd);
  CoUninitialize();
}

}  // namespace
