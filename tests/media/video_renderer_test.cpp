// The built-in video renderer in a graph: its window's size and visibility,
// IVideoWindow through the graph manager, the frames that reach the video
// surface, closing the window, releasing it while it runs, and intelligent
// connect ending decoded video in it.
#include "media/video_renderer.h"

#include <dvdmedia.h>

#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <string>
#include <thread>

#include "graph_build_fixture.h"
#include "graph_test_fixture.h"
#include "input/input.h"
#include "private_registry.h"
#include "registered_filters.h"
#include "view/screenshot.h"

namespace {

using media_testing::CComPtr;
using media_testing::CComQIPtr;
using media_testing::ReferencesOf;
using test_filters::MediaType;
using test_filters::NumberedSource;
using test_filters::PinOf;
using test_filters::VideoType;

constexpr DWORD FourCC(char a, char b, char c, char d) {
  return static_cast<DWORD>(static_cast<unsigned char>(a)) | static_cast<DWORD>(static_cast<unsigned char>(b)) << 8 |
         static_cast<DWORD>(static_cast<unsigned char>(c)) << 16 |
         static_cast<DWORD>(static_cast<unsigned char>(d)) << 24;
}

// NV12 with a VIDEOINFOHEADER2, as a decoder gives it, with a picture aspect ratio.
MediaType Nv12Type(LONG width, LONG height, DWORD aspectX, DWORD aspectY) {
  VIDEOINFOHEADER2 info{};
  info.AvgTimePerFrame = test_filters::kFrameDuration;
  info.dwPictAspectRatioX = aspectX;
  info.dwPictAspectRatioY = aspectY;
  info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = height;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 12;
  info.bmiHeader.biCompression = FourCC('N', 'V', '1', '2');
  info.bmiHeader.biSizeImage = static_cast<DWORD>(width * height * 3 / 2);
  return MediaType(MEDIATYPE_Video, MEDIASUBTYPE_NV12, FORMAT_VideoInfo2, &info, sizeof info,
                   info.bmiHeader.biSizeImage);
}

CComPtr<IBaseFilter> CreateVideoRenderer() {
  CComPtr<IBaseFilter> filter;
  if (const auto builtin = platform::com::FindBuiltinClass(CLSID_VideoRenderer)) {
    builtin->create(nullptr, IID_IBaseFilter, reinterpret_cast<void **>(&filter));
  }
  return filter;
}

HWND WindowOf(IBaseFilter *renderer) { return static_cast<platform::media::VideoRenderer *>(renderer)->Window(); }

SIZE ClientSize(HWND hwnd) {
  RECT client{};
  GetClientRect(hwnd, &client);
  return SIZE{client.right, client.bottom};
}

std::string Text(SIZE size) { return std::to_string(size.cx) + "x" + std::to_string(size.cy); }
std::string Text(const RECT &r) {
  return "(" + std::to_string(r.left) + "," + std::to_string(r.top) + ")-(" + std::to_string(r.right) + "," +
         std::to_string(r.bottom) + ")";
}

// Waits, at most 10 s, until the condition holds.
bool WaitUntil(const std::function<bool()> &condition) {
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
  while (!condition()) {
    if (std::chrono::steady_clock::now() > deadline) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(2));
  }
  return true;
}

struct Quality {
  int dropped = -1, drawn = -1, syncOffset = -1;
};

Quality QualityOf(IBaseFilter *renderer) {
  Quality quality;
  CComQIPtr<IQualProp> figures(renderer);
  EXPECT_TRUE(figures);
  if (!figures) return quality;
  EXPECT_HR(S_OK, figures->get_FramesDroppedInRenderer(&quality.dropped));
  EXPECT_HR(S_OK, figures->get_FramesDrawn(&quality.drawn));
  EXPECT_HR(S_OK, figures->get_AvgSyncOffset(&quality.syncOffset));
  EXPECT_HR(E_POINTER, figures->get_Jitter(nullptr));
  return quality;
}

bool ShowsAFrame(HWND hwnd) {
  SIZE size{};
  return platform::view::VideoFrameSize(hwnd, size);
}

// A plain top-level window of the test's thread.
HWND CreateTestWindow() {
  static const ATOM registered = [] {
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = DefWindowProcW;
    windowClass.lpszClassName = L"VideoRendererTestOwner";
    return RegisterClassExW(&windowClass);
  }();
  EXPECT_NE(registered, 0);
  return CreateWindowExW(0, L"VideoRendererTestOwner", L"Owner", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 100, 100, 400, 300,
                         nullptr, nullptr, nullptr, nullptr);
}

class VideoRendererTest : public media_testing::GraphTest {
 protected:
  void SetUp() override {
    GraphTest::SetUp();
    renderer_ = CreateVideoRenderer();
    ASSERT_TRUE(renderer_);
    ASSERT_HR(S_OK, graph_->AddFilter(renderer_, L"Video Renderer"));
    ASSERT_HR(S_OK, graph_.QueryInterface(&window_));
  }

  void TearDown() override {
    window_.Release();
    GraphTest::TearDown();
    if (renderer_) {
      EXPECT_EQ(ReferencesOf(renderer_), 1u) << "the graph kept a reference to the renderer";
    }
  }

  IPin *Input() { return PinOf(renderer_, L"In"); }
  HWND Window() { return WindowOf(renderer_); }

  NumberedSource *ConnectSource(const MediaType &type, DWORD frames = 5) {
    NumberedSource *source = AddSource({{type, frames}});
    EXPECT_HR(S_OK, graph_->ConnectDirect(source->Output(0), Input(), nullptr));
    return source;
  }

  bool PauseCompletes() {
    control_->Pause();
    OAFilterState state = State_Stopped;
    return control_->GetState(10000, &state) == S_OK && state == State_Paused;
  }

  CComPtr<IBaseFilter> renderer_;
  CComPtr<IVideoWindow> window_;
};

TEST_F(VideoRendererTest, IsAHiddenTopLevelWindowWithACaptionAndAFrameAtFirst) {
  const HWND hwnd = Window();
  ASSERT_TRUE(IsWindow(hwnd));
  EXPECT_FALSE(IsWindowVisible(hwnd));
  EXPECT_EQ(GetParent(hwnd), nullptr);
  const LONG style = GetWindowLongW(hwnd, GWL_STYLE);
  EXPECT_EQ(style & WS_OVERLAPPEDWINDOW, WS_OVERLAPPEDWINDOW) << std::hex << "style 0x" << style;
  wchar_t caption[64] = {};
  GetWindowTextW(hwnd, caption, 64);
  EXPECT_EQ(std::wstring(caption), L"Video Renderer");
  EXPECT_NE(GetWindowThreadProcessId(hwnd, nullptr), GetCurrentThreadId()) << "the window has a thread of its own";
}

TEST_F(VideoRendererTest, ConnectingSizesTheClientAreaToThePictureItsAspectRatioIncluded) {
  struct Case {
    const char *name;
    MediaType type;
    SIZE client;
  };
  const Case cases[] = {
      {"RGB32 64x48", VideoType(64, 48), {64, 48}},
      {"NV12 720x576 at 16:9", Nv12Type(720, 576, 16, 9), {1024, 576}},
      {"NV12 352x288 with square pixels", Nv12Type(352, 288, 0, 0), {352, 288}},
  };
  for (const Case &c : cases) {
    NumberedSource *source = ConnectSource(c.type);
    EXPECT_EQ(Text(ClientSize(Window())), Text(c.client)) << c.name;
    RECT rect{};
    GetWindowRect(Window(), &rect);
    LONG width = 0, height = 0;
    EXPECT_HR(S_OK, window_->get_Width(&width));
    EXPECT_HR(S_OK, window_->get_Height(&height));
    EXPECT_EQ(width, rect.right - rect.left) << c.name << ": the window's outer width";
    EXPECT_EQ(height, rect.bottom - rect.top) << c.name << ": the window's outer height";
    EXPECT_GT(height, c.client.cy) << c.name << ": the caption and frame come on top";
    EXPECT_HR(S_OK, graph_->Disconnect(source->Output(0)));
    EXPECT_HR(S_OK, graph_->Disconnect(Input()));
  }
}

TEST_F(VideoRendererTest, TheWindowShowsWhenTheGraphLeavesTheStoppedState) {
  ConnectSource(VideoType(32, 16));
  LONG visible = OATRUE;
  EXPECT_HR(S_OK, window_->get_Visible(&visible));
  EXPECT_EQ(visible, OAFALSE);
  ASSERT_TRUE(PauseCompletes());
  EXPECT_TRUE(IsWindowVisible(Window()));
  EXPECT_HR(S_OK, window_->get_Visible(&visible));
  EXPECT_EQ(visible, OATRUE);
  control_->Stop();
  EXPECT_TRUE(IsWindowVisible(Window())) << "stopping does not hide it";
}

TEST_F(VideoRendererTest, WithoutAutoShowTheWindowStaysHiddenUntilShown) {
  ConnectSource(VideoType(32, 16));
  EXPECT_HR(S_OK, window_->put_AutoShow(OAFALSE));
  LONG autoShow = OATRUE;
  EXPECT_HR(S_OK, window_->get_AutoShow(&autoShow));
  EXPECT_EQ(autoShow, OAFALSE);
  control_->Run();
  EXPECT_TRUE(media_testing::WaitForEvent(events_, EC_COMPLETE));
  EXPECT_FALSE(IsWindowVisible(Window()));
  EXPECT_HR(S_OK, window_->put_Visible(OATRUE));
  EXPECT_TRUE(IsWindowVisible(Window()));
}

TEST_F(VideoRendererTest, PresentedFramesReachTheVideoSurface) {
  ConnectSource(VideoType(32, 16), 5);
  EXPECT_FALSE(ShowsAFrame(Window()));
  control_->Run();
  ASSERT_TRUE(media_testing::WaitForEvent(events_, EC_COMPLETE));
  SIZE size{};
  ASSERT_TRUE(platform::view::VideoFrameSize(Window(), size));
  EXPECT_EQ(Text(size), "32x16");

  const Quality quality = QualityOf(renderer_);
  EXPECT_EQ(quality.drawn, 5);
  EXPECT_EQ(quality.dropped, 0) << "without a clock nothing is late";
}

TEST_F(VideoRendererTest, PicturesTooLateToShowAreDroppedAndCounted) {
  CComPtr<IReferenceClock> clock;
  platform::com::FindBuiltinClass(CLSID_SystemClock)
      ->create(nullptr, IID_IReferenceClock, reinterpret_cast<void **>(&clock));
  ASSERT_HR(S_OK, CComQIPtr<IMediaFilter>(graph_)->SetSyncSource(clock));
  NumberedSource *source = ConnectSource(VideoType(32, 16), 20);
  source->CloseGate();
  control_->Run();
  // Held back this long, the first frames all come after their display time.
  std::this_thread::sleep_for(std::chrono::milliseconds(600));
  source->OpenGate();
  ASSERT_TRUE(media_testing::WaitForEvent(events_, EC_COMPLETE));
  control_->Stop();

  const Quality quality = QualityOf(renderer_);
  EXPECT_GE(quality.dropped, 2 * platform::media::RenderQuality::kMostDroppedInARow);
  EXPECT_GE(quality.drawn, 2) << "one after each run of drops";
  EXPECT_EQ(quality.dropped + quality.drawn, 20);
  EXPECT_GT(quality.syncOffset, 0);

  ASSERT_TRUE(PauseCompletes());
  EXPECT_EQ(QualityOf(renderer_).dropped, 0) << "leaving the stopped state starts the figures again";
  control_->Stop();
}

TEST_F(VideoRendererTest, ATypeChangeCarriedOnASampleResizesTheWindowAndItsPictures) {
  NumberedSource *source = AddSource({{VideoType(64, 32), 6, 3, VideoType(32, 16)}});
  ASSERT_HR(S_OK, graph_->ConnectDirect(source->Output(0), Input(), nullptr));
  EXPECT_EQ(Text(ClientSize(Window())), "64x32");
  control_->Run();
  ASSERT_TRUE(media_testing::WaitForEvent(events_, EC_COMPLETE));
  EXPECT_HR(S_OK, source->SwitchResult());
  EXPECT_EQ(Text(ClientSize(Window())), "32x16");
  SIZE size{};
  ASSERT_TRUE(platform::view::VideoFrameSize(Window(), size));
  EXPECT_EQ(Text(size), "32x16");
}

// The source's pictures are all zero bytes but the first four: in NV12
// that is a dark green, which only a converted picture shows.
TEST_F(VideoRendererTest, AScreenshotOfTheWindowShowsThePicture) {
  ConnectSource(Nv12Type(64, 32, 0, 0), 3);
  ASSERT_TRUE(PauseCompletes());
  ASSERT_TRUE(WaitUntil([&] { return ShowsAFrame(Window()); }));
  platform::view::Picture picture;
  ASSERT_TRUE(platform::view::TakeScreenshot(Window(), picture));
  RECT rect{};
  GetWindowRect(Window(), &rect);
  POINT origin{0, 0};
  ClientToScreen(Window(), &origin);
  const uint32_t pixel = picture.At(origin.x - rect.left + 32, origin.y - rect.top + 16);
  const int red = (pixel >> 16) & 0xFF, green = (pixel >> 8) & 0xFF, blue = pixel & 0xFF;
  EXPECT_TRUE(red < 16 && green > 120 && green < 150 && blue < 16)
      << "got (" << red << ", " << green << ", " << blue << "), expected about (0, 135, 0)";
}

TEST_F(VideoRendererTest, APausedGraphShowsAFrameAndASeekWhilePausedShowsItsTarget) {
  ConnectSource(Nv12Type(64, 32, 0, 0), 10);
  ASSERT_TRUE(PauseCompletes());
  SIZE size{};
  ASSERT_TRUE(platform::view::VideoFrameSize(Window(), size)) << "the held frame is shown";
  EXPECT_EQ(Text(size), "64x32");
  platform::view::ClearVideoFrame(Window());
  CComQIPtr<IMediaSeeking> seeking(graph_);
  REFERENCE_TIME position = 5 * test_filters::kFrameDuration;
  ASSERT_HR(S_OK, seeking->SetPositions(&position, AM_SEEKING_AbsolutePositioning, nullptr, AM_SEEKING_NoPositioning));
  OAFilterState state = State_Stopped;
  EXPECT_HR(S_OK, control_->GetState(10000, &state));
  EXPECT_TRUE(WaitUntil([&] { return ShowsAFrame(Window()); })) << "the seek's target is shown while paused";
}

TEST_F(VideoRendererTest, IVideoWindowPlacesTheWindowThroughTheGraphManager) {
  ConnectSource(VideoType(64, 48));
  EXPECT_HR(S_OK, window_->SetWindowPosition(10, 20, 300, 200));
  RECT rect{};
  GetWindowRect(Window(), &rect);
  EXPECT_EQ(Text(rect), Text(RECT{10, 20, 310, 220}));
  EXPECT_HR(S_OK, window_->put_Left(-100));
  EXPECT_HR(S_OK, window_->put_Top(140));
  EXPECT_HR(S_OK, window_->put_Width(640));
  EXPECT_HR(S_OK, window_->put_Height(360));
  GetWindowRect(Window(), &rect);
  EXPECT_EQ(Text(rect), Text(RECT{-100, 140, 540, 500}));
  LONG left = 0, top = 0, width = 0, height = 0;
  EXPECT_HR(S_OK, window_->GetWindowPosition(&left, &top, &width, &height));
  EXPECT_EQ(Text(RECT{left, top, width, height}), Text(RECT{-100, 140, 640, 360}));
  EXPECT_HR(S_OK, window_->get_Left(&left));
  EXPECT_HR(S_OK, window_->get_Top(&top));
  EXPECT_EQ(Text(RECT{left, top, 0, 0}), Text(RECT{-100, 140, 0, 0}));
  EXPECT_HR(S_OK, window_->put_Visible(OATRUE));
  EXPECT_TRUE(IsWindowVisible(Window()));
  EXPECT_NE(GetActiveWindow(), Window()) << "placing and showing it activates nothing of the caller's";
}

TEST_F(VideoRendererTest, CaptionAndStylesAreTheWindows) {
  ConnectSource(VideoType(64, 48));
  BSTR caption = nullptr;
  ASSERT_HR(S_OK, window_->get_Caption(&caption));
  EXPECT_EQ(std::wstring(caption), L"Video Renderer");
  SysFreeString(caption);
  BSTR clip = SysAllocString(L"Clip");
  EXPECT_HR(S_OK, window_->put_Caption(clip));
  SysFreeString(clip);
  wchar_t text[16] = {};
  GetWindowTextW(Window(), text, 16);
  EXPECT_EQ(std::wstring(text), L"Clip");

  EXPECT_HR(S_OK, window_->put_Visible(OATRUE));
  EXPECT_HR(S_OK, window_->put_WindowStyle(WS_POPUP | WS_BORDER));
  LONG style = 0;
  EXPECT_HR(S_OK, window_->get_WindowStyle(&style));
  EXPECT_EQ(static_cast<DWORD>(style), static_cast<DWORD>(WS_POPUP | WS_BORDER | WS_VISIBLE))
      << "the visibility stays as it was";
  EXPECT_HR(S_OK, window_->put_WindowStyleEx(WS_EX_TOOLWINDOW));
  EXPECT_HR(S_OK, window_->get_WindowStyleEx(&style));
  EXPECT_EQ(style, WS_EX_TOOLWINDOW);
}

TEST_F(VideoRendererTest, WindowStateMinimizesMaximizesAndRestores) {
  ConnectSource(VideoType(64, 48));
  EXPECT_HR(S_OK, window_->SetWindowPosition(10, 20, 300, 200));
  LONG state = -1;
  EXPECT_HR(S_OK, window_->get_WindowState(&state));
  EXPECT_EQ(state, SW_HIDE);

  EXPECT_HR(S_OK, window_->put_WindowState(SW_SHOWMAXIMIZED));
  EXPECT_HR(S_OK, window_->get_WindowState(&state));
  EXPECT_EQ(state, SW_MAXIMIZE);
  RECT workArea{}, rect{};
  SystemParametersInfoW(SPI_GETWORKAREA, 0, &workArea, 0);
  GetWindowRect(Window(), &rect);
  EXPECT_EQ(Text(rect), Text(workArea));
  LONG left = 0, top = 0, width = 0, height = 0;
  EXPECT_HR(S_OK, window_->GetRestorePosition(&left, &top, &width, &height));
  EXPECT_EQ(Text(RECT{left, top, width, height}), Text(RECT{10, 20, 300, 200}));

  EXPECT_HR(S_OK, window_->put_WindowState(SW_MINIMIZE));
  EXPECT_HR(S_OK, window_->get_WindowState(&state));
  EXPECT_EQ(state, SW_MINIMIZE);
  EXPECT_HR(S_OK, window_->put_WindowState(SW_RESTORE));
  EXPECT_HR(S_OK, window_->get_WindowState(&state));
  EXPECT_EQ(state, SW_SHOW);
  GetWindowRect(Window(), &rect);
  EXPECT_EQ(Text(rect), Text(RECT{10, 20, 310, 220}));
  EXPECT_HR(S_OK, window_->put_WindowState(SW_HIDE));
  EXPECT_FALSE(IsWindowVisible(Window()));
}

TEST_F(VideoRendererTest, IdealImageSizesAreTheDisplaySizeOnceTheGraphIsNotStopped) {
  ConnectSource(Nv12Type(720, 576, 16, 9));
  LONG width = 0, height = 0;
  EXPECT_HR(VFW_E_WRONG_STATE, window_->GetMinIdealImageSize(&width, &height));
  ASSERT_TRUE(PauseCompletes());
  EXPECT_HR(S_OK, window_->GetMinIdealImageSize(&width, &height));
  EXPECT_EQ(Text(SIZE{width, height}), "1024x576");
  EXPECT_HR(S_OK, window_->GetMaxIdealImageSize(&width, &height));
  EXPECT_EQ(Text(SIZE{width, height}), "1024x576");
}

struct Call {
  const char *name;
  std::function<HRESULT(IVideoWindow *)> call;
  HRESULT expected;
};

TEST_F(VideoRendererTest, ArgumentsAreCheckedAsDocumented) {
  ConnectSource(VideoType(64, 48));
  LONG value = 0;
  const Call calls[] = {
      {"put_AutoShow(1)", [](IVideoWindow *w) { return w->put_AutoShow(1); }, E_INVALIDARG},
      {"put_Visible(2)", [](IVideoWindow *w) { return w->put_Visible(2); }, E_INVALIDARG},
      {"put_WindowStyle(WS_DISABLED)",
       [](IVideoWindow *w) { return w->put_WindowStyle(WS_OVERLAPPEDWINDOW | WS_DISABLED); }, E_INVALIDARG},
      {"put_WindowStyle(WS_VSCROLL)", [](IVideoWindow *w) { return w->put_WindowStyle(WS_VSCROLL); }, E_INVALIDARG},
      {"put_WindowStyle(WS_MAXIMIZE)", [](IVideoWindow *w) { return w->put_WindowStyle(WS_MAXIMIZE); }, E_INVALIDARG},
      {"put_WindowState(99)", [](IVideoWindow *w) { return w->put_WindowState(99); }, E_INVALIDARG},
      {"SetWindowForeground(3)", [](IVideoWindow *w) { return w->SetWindowForeground(3); }, E_INVALIDARG},
      {"HideCursor(7)", [](IVideoWindow *w) { return w->HideCursor(7); }, E_INVALIDARG},
      {"put_Owner(not a window)", [](IVideoWindow *w) { return w->put_Owner(0x12345); }, E_INVALIDARG},
      {"get_FullScreenMode", [&](IVideoWindow *w) { return w->get_FullScreenMode(&value); }, E_NOTIMPL},
      {"put_FullScreenMode", [](IVideoWindow *w) { return w->put_FullScreenMode(OATRUE); }, E_NOTIMPL},
      {"get_Caption(null)", [](IVideoWindow *w) { return w->get_Caption(nullptr); }, E_POINTER},
      {"get_Width(null)", [](IVideoWindow *w) { return w->get_Width(nullptr); }, E_POINTER},
      {"GetWindowPosition(null)",
       [&](IVideoWindow *w) { return w->GetWindowPosition(&value, nullptr, &value, &value); }, E_POINTER},
      {"NotifyOwnerMessage", [](IVideoWindow *w) { return w->NotifyOwnerMessage(0, WM_NULL, 0, 0); }, S_OK},
      {"HideCursor(OATRUE)", [](IVideoWindow *w) { return w->HideCursor(OATRUE); }, S_OK},
      {"SetWindowForeground(OAFALSE)", [](IVideoWindow *w) { return w->SetWindowForeground(OAFALSE); }, S_OK},
      {"put_BorderColor", [](IVideoWindow *w) { return w->put_BorderColor(0x00FF00); }, S_OK},
      {"GetIDsOfNames", [](IVideoWindow *w) { return w->GetIDsOfNames(GUID_NULL, nullptr, 0, 0, nullptr); },
       E_NOTIMPL},
  };
  for (const Call &c : calls) EXPECT_HR(c.expected, c.call(window_)) << c.name;
  EXPECT_HR(S_OK, window_->IsCursorHidden(&value));
  EXPECT_EQ(value, OATRUE);
  EXPECT_HR(S_OK, window_->get_BorderColor(&value));
  EXPECT_EQ(value, 0x00FF00);
  UINT typeInfos = 1;
  EXPECT_HR(S_OK, window_->GetTypeInfoCount(&typeInfos));
  EXPECT_EQ(typeInfos, 0u);
}

TEST_F(VideoRendererTest, EveryMethodWantsAConnectedRenderer) {
  LONG value = 0;
  OAHWND owner = 0;
  BSTR caption = nullptr;
  const Call calls[] = {
      {"get_Width", [&](IVideoWindow *w) { return w->get_Width(&value); }, VFW_E_NOT_CONNECTED},
      {"put_Top", [](IVideoWindow *w) { return w->put_Top(0); }, VFW_E_NOT_CONNECTED},
      {"put_Visible", [](IVideoWindow *w) { return w->put_Visible(OATRUE); }, VFW_E_NOT_CONNECTED},
      {"get_Caption", [&](IVideoWindow *w) { return w->get_Caption(&caption); }, VFW_E_NOT_CONNECTED},
      {"put_AutoShow", [](IVideoWindow *w) { return w->put_AutoShow(OAFALSE); }, VFW_E_NOT_CONNECTED},
      {"get_Owner", [&](IVideoWindow *w) { return w->get_Owner(&owner); }, VFW_E_NOT_CONNECTED},
      {"SetWindowPosition", [](IVideoWindow *w) { return w->SetWindowPosition(0, 0, 10, 10); }, VFW_E_NOT_CONNECTED},
      {"GetMinIdealImageSize", [&](IVideoWindow *w) { return w->GetMinIdealImageSize(&value, &value); },
       VFW_E_NOT_CONNECTED},
  };
  for (const Call &c : calls) EXPECT_HR(c.expected, c.call(window_)) << c.name;
  EXPECT_FALSE(IsWindowVisible(Window()));
}

TEST_F(VideoRendererTest, AnOwnerMakesTheWindowItsChild) {
  ConnectSource(VideoType(64, 48));
  const HWND owner = CreateTestWindow();
  ASSERT_TRUE(IsWindow(owner));
  EXPECT_HR(S_OK, window_->put_Visible(OATRUE));
  ASSERT_HR(S_OK, window_->put_Owner(reinterpret_cast<OAHWND>(owner)));
  const HWND child = Window();
  EXPECT_EQ(GetParent(child), owner);
  EXPECT_TRUE(GetWindowLongW(child, GWL_STYLE) & WS_CHILD);
  EXPECT_TRUE(IsWindowVisible(child)) << "it stays shown";
  OAHWND got = 0;
  EXPECT_HR(S_OK, window_->get_Owner(&got));
  EXPECT_EQ(reinterpret_cast<HWND>(got), owner);
  EXPECT_HR(S_OK, window_->SetWindowPosition(5, 6, 100, 80));
  LONG left = 0, top = 0;
  EXPECT_HR(S_OK, window_->get_Left(&left));
  EXPECT_HR(S_OK, window_->get_Top(&top));
  EXPECT_EQ(Text(SIZE{left, top}), "5x6") << "in the owner's client area";

  ASSERT_HR(S_OK, window_->put_Owner(0));
  EXPECT_FALSE(IsWindow(child)) << "the child went";
  EXPECT_EQ(GetParent(Window()), nullptr);
  EXPECT_FALSE(GetWindowLongW(Window(), GWL_STYLE) & WS_CHILD);
  DestroyWindow(owner);
}

TEST_F(VideoRendererTest, TheMessageDrainGetsTheWindowsMouseAndKeyboardInput) {
  ConnectSource(VideoType(64, 48));
  const HWND drain = CreateTestWindow();
  EXPECT_HR(S_OK, window_->put_MessageDrain(reinterpret_cast<OAHWND>(drain)));
  OAHWND got = 0;
  EXPECT_HR(S_OK, window_->get_MessageDrain(&got));
  EXPECT_EQ(reinterpret_cast<HWND>(got), drain);
  SendMessageW(Window(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(3, 4));
  SendMessageW(Window(), WM_KEYDOWN, VK_SPACE, 0);
  MSG msg{};
  ASSERT_TRUE(PeekMessageW(&msg, drain, WM_LBUTTONDOWN, WM_LBUTTONDOWN, PM_REMOVE));
  EXPECT_EQ(msg.lParam, MAKELPARAM(3, 4));
  EXPECT_TRUE(PeekMessageW(&msg, drain, WM_KEYDOWN, WM_KEYDOWN, PM_REMOVE));
  DestroyWindow(drain);
}

TEST_F(VideoRendererTest, ClosingTheWindowHidesItReportsUserAbortAndPlaybackGoesOn) {
  ConnectSource(VideoType(32, 16), 20);
  ASSERT_TRUE(PauseCompletes());
  const HWND hwnd = Window();
  ASSERT_TRUE(IsWindowVisible(hwnd));
  ASSERT_TRUE(platform::input::ClickCloseBox(hwnd));
  EXPECT_TRUE(media_testing::WaitForEvent(events_, EC_USERABORT));
  EXPECT_TRUE(IsWindow(hwnd));
  EXPECT_FALSE(IsWindowVisible(hwnd));
  platform::view::ClearVideoFrame(hwnd);
  control_->Run();
  EXPECT_TRUE(media_testing::WaitForEvent(events_, EC_COMPLETE));
  EXPECT_TRUE(ShowsAFrame(hwnd)) << "frames still go to the hidden window";
}

// The renderer outside a fixture's graph, released last while its graph runs.
TEST(VideoRendererLifetime, ReleasingTheRunningGraphTakesTheWindowAndItsFramesAway) {
  CComPtr<IGraphBuilder> graph = media_testing::CreateGraph();
  CComQIPtr<IMediaFilter>(graph)->SetSyncSource(nullptr);
  CComPtr<IBaseFilter> renderer = CreateVideoRenderer();
  NumberedSource *source = NumberedSource::Create({{VideoType(32, 16), 1000000}});
  ASSERT_HR(S_OK, graph->AddFilter(source, L"Source"));
  ASSERT_HR(S_OK, graph->AddFilter(renderer, L"Video Renderer"));
  ASSERT_HR(S_OK, graph->ConnectDirect(source->Output(0), PinOf(renderer, L"In"), nullptr));
  const HWND hwnd = WindowOf(renderer);
  CComQIPtr<IMediaControl>(graph)->Run();
  ASSERT_TRUE(WaitUntil([&] { return ShowsAFrame(hwnd); }));
  graph.Release();
  source->Release();
  EXPECT_EQ(ReferencesOf(renderer), 1u);
  renderer.Release();
  EXPECT_FALSE(IsWindow(hwnd));
  EXPECT_FALSE(ShowsAFrame(hwnd)) << "the window's frame went with it";
}

// Intelligent connect with only the platform's own filters registered.
class VideoRendererConnectTest : public ::testing::Test {
 protected:
  void SetUp() override {
    CoInitializeEx(nullptr, COINIT_MULTITHREADED);
    ASSERT_HR(S_OK, media_testing::CallServerEntry(QUORVEL_PLATFORM_LIBRARY, "DllRegisterServer"));
    graph_ = media_testing::CreateGraph();
    ASSERT_TRUE(graph_);
  }
  void TearDown() override {
    graph_.Release();
    for (NumberedSource *source : sources_) {
      EXPECT_EQ(ReferencesOf(source), 1u);
      source->Release();
    }
    CoUninitialize();
  }

  IPin *AddSource(const MediaType &type) {
    sources_.push_back(NumberedSource::Create({{type, 3}}));
    EXPECT_HR(S_OK, graph_->AddFilter(sources_.back(), L"Source"));
    return sources_.back()->Output(0);
  }

  testing_support::PrivateRegistry registry_;
  CComPtr<IGraphBuilder> graph_;
  std::vector<NumberedSource *> sources_;
};

TEST_F(VideoRendererConnectTest, DecodedVideoIsRenderedByTheVideoRenderer) {
  for (const MediaType &type : {VideoType(32, 16), Nv12Type(64, 32, 16, 9)}) {
    graph_ = media_testing::CreateGraph();
    IPin *output = AddSource(type);
    EXPECT_HR(S_OK, graph_->Render(output));
    EXPECT_EQ(media_testing::Downstream(output), std::vector<std::wstring>{L"Video Renderer"});
  }
}

TEST_F(VideoRendererConnectTest, CompressedVideoIsNotTakenByIt) {
  IPin *output = AddSource(test_filters::TestVideoType());
  EXPECT_HR(VFW_E_CANNOT_RENDER, graph_->Render(output));
  EXPECT_EQ(media_testing::FilterNames(graph_), std::vector<std::wstring>{L"Source"});
}

}  // namespace
