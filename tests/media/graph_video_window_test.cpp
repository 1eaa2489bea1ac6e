// The graph manager's IVideoWindow: it is always given, and every call goes
// to the video renderer's own IVideoWindow, found when the call is made.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "graph_test_fixture.h"
#include "window_renderer.h"

namespace {

using media_testing::CComPtr;
using media_testing::CComQIPtr;
using media_testing::GraphTest;
using test_filters::WindowRenderer;

class GraphVideoWindowTest : public GraphTest {
 protected:
  void SetUp() override {
    GraphTest::SetUp();
    ASSERT_HR(S_OK, graph_.QueryInterface(&window_));
  }
  void TearDown() override {
    window_.Release();
    GraphTest::TearDown();
  }

  WindowRenderer *AddWindowRenderer(const wchar_t *name = L"Video Renderer") {
    WindowRenderer *renderer = Keep(WindowRenderer::Create());
    EXPECT_HR(S_OK, graph_->AddFilter(renderer, name));
    return renderer;
  }

  CComPtr<IVideoWindow> window_;
};

// A call and what it returns when there is no renderer to take it.
struct Call {
  const char *name;
  HRESULT (*make)(IVideoWindow *window);
};

const Call kCalls[] = {
    {"get_Width", [](IVideoWindow *w) { LONG v = 0; return w->get_Width(&v); }},
    {"get_Height", [](IVideoWindow *w) { LONG v = 0; return w->get_Height(&v); }},
    {"put_Left", [](IVideoWindow *w) { return w->put_Left(1); }},
    {"put_Top", [](IVideoWindow *w) { return w->put_Top(1); }},
    {"put_Visible", [](IVideoWindow *w) { return w->put_Visible(OATRUE); }},
    {"put_Owner", [](IVideoWindow *w) { return w->put_Owner(0); }},
    {"SetWindowPosition", [](IVideoWindow *w) { return w->SetWindowPosition(0, 0, 1, 1); }},
    {"GetWindowPosition", [](IVideoWindow *w) { LONG l, t, wd, h; return w->GetWindowPosition(&l, &t, &wd, &h); }},
};

TEST_F(GraphVideoWindowTest, WithoutAVideoRendererEveryCallHasNoInterface) {
  AddRenderer(MEDIATYPE_Video);  // a renderer without a window
  for (const Call &call : kCalls) EXPECT_HR(E_NOINTERFACE, call.make(window_)) << call.name;
}

TEST_F(GraphVideoWindowTest, TheWindowPlacementReachesTheRendererInOrder) {
  WindowRenderer *renderer = AddWindowRenderer();
  renderer->SetProperty("Width", 320);
  renderer->SetProperty("Height", 240);
  LONG height = 0, width = 0;
  EXPECT_HR(S_OK, window_->get_Height(&height));
  EXPECT_HR(S_OK, window_->put_Top(600 - height));
  EXPECT_HR(S_OK, window_->get_Width(&width));
  EXPECT_HR(S_OK, window_->put_Left((1024 - width) / 2));
  EXPECT_HR(S_OK, window_->put_Visible(OATRUE));
  EXPECT_EQ(height, 240);
  EXPECT_EQ(width, 320);
  const std::vector<std::string> expected = {"get_Height", "put_Top(360)", "get_Width", "put_Left(352)",
                                             "put_Visible(-1)"};
  EXPECT_EQ(renderer->Calls(), expected);
}

TEST_F(GraphVideoWindowTest, TheRendererAnswersWithItsOwnResults) {
  WindowRenderer *renderer = AddWindowRenderer();
  OAHWND owner = 0;
  EXPECT_HR(E_NOTIMPL, window_->get_Owner(&owner));
  EXPECT_HR(S_OK, window_->SetWindowPosition(1, 2, 3, 4));
  LONG left = 0, top = 0, width = 0, height = 0;
  EXPECT_HR(S_OK, window_->GetWindowPosition(&left, &top, &width, &height));
  EXPECT_EQ(std::vector<LONG>({left, top, width, height}), std::vector<LONG>({1, 2, 3, 4}));
  const std::vector<std::string> expected = {"get_Owner", "SetWindowPosition(1,2,3,4)", "GetWindowPosition"};
  EXPECT_EQ(renderer->Calls(), expected);
}

TEST_F(GraphVideoWindowTest, TheRendererIsFoundAtEachCall) {
  LONG width = 0;
  EXPECT_HR(E_NOINTERFACE, window_->get_Width(&width));
  WindowRenderer *renderer = AddWindowRenderer();
  renderer->SetProperty("Width", 640);
  EXPECT_HR(S_OK, window_->get_Width(&width));
  EXPECT_EQ(width, 640);
  EXPECT_HR(S_OK, graph_->RemoveFilter(renderer));
  EXPECT_HR(E_NOINTERFACE, window_->put_Width(8));
  EXPECT_EQ(renderer->Calls(), std::vector<std::string>{"get_Width"});
}

TEST_F(GraphVideoWindowTest, ItIsPartOfTheGraphManager) {
  CComPtr<IUnknown> fromGraph, fromWindow;
  graph_.QueryInterface(&fromGraph);
  window_.QueryInterface(&fromWindow);
  EXPECT_EQ(fromGraph, fromWindow);
  CComQIPtr<IMediaControl> control(window_);
  EXPECT_TRUE(control);
  UINT count = 1;
  EXPECT_HR(S_OK, window_->GetTypeInfoCount(&count));
  EXPECT_EQ(count, 0u);
  DISPID id = 0;
  LPOLESTR name = const_cast<LPOLESTR>(L"Left");
  EXPECT_HR(E_NOTIMPL, window_->GetIDsOfNames(GUID_NULL, &name, 1, 0, &id));
}

}  // namespace
