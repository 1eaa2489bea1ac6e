// The graph controller's teardown and the graph-viewer link's close.
#include <windows.h>

#include <gtest/gtest.h>

#include "Graph.h"
#include "com_test_objects.h"

using testing_support::CountedObject;
using testing_support::NamedMoniker;

namespace {

class GraphTeardown : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_EQ(CoInitialize(nullptr), S_OK);
    ASSERT_EQ(GetRunningObjectTable(0, &rot_), S_OK);
  }
  void TearDown() override {
    rot_.Release();
    CoUninitialize();
  }
  DWORD RegisterGraph() {
    DWORD cookie = 0;
    EXPECT_EQ(rot_->Register(0, &graph_, &name_, &cookie), S_OK);
    return cookie;
  }
  bool Registered() { return rot_->IsRunning(&name_) == S_OK; }

  CComPtr<IRunningObjectTable> rot_;
  CountedObject graph_;
  NamedMoniker name_{L"FilterGraph 00000abc pid 00001234"};
};

TEST_F(GraphTeardown, ReleasingWithoutAGraphOrTwiceIsHarmless) {
  CGraph graph;
  EXPECT_TRUE(graph.IsEmpty());
  graph.ReleaseGraph();
  graph.ReleaseGraph();
  EXPECT_TRUE(graph.IsEmpty());
}

TEST_F(GraphTeardown, ClosingAnEmptyLinkLeavesTheRunningObjectTableAlone) {
  const DWORD cookie = RegisterGraph();
  CGraphEdit link;
  link.Close();
  link.Close();
  EXPECT_TRUE(Registered()) << "a cookie of 0 makes no call on the table";
  rot_->Revoke(cookie);
}

TEST_F(GraphTeardown, ReleasingTheGraphRevokesItsRegistrationOnce) {
  CGraph graph;
  graph.m_GraphEdit.m_dwCookie = RegisterGraph();
  graph.ReleaseGraph();
  EXPECT_FALSE(Registered());
  EXPECT_EQ(graph.m_GraphEdit.m_dwCookie, 0u);
  EXPECT_EQ(graph_.references, 1u) << "the table let go of the graph";
}

TEST_F(GraphTeardown, AViewerThreadThatIsGoneStillHasItsHandlesClosed) {
  CGraphEdit link;
  link.m_rgPI.hThread = CreateThread(nullptr, 0, [](LPVOID) -> DWORD { return 0; }, nullptr, 0,
                                     &link.m_rgPI.dwThreadId);
  ASSERT_NE(link.m_rgPI.hThread, nullptr);
  ASSERT_EQ(WaitForSingleObject(link.m_rgPI.hThread, 5000), WAIT_OBJECT_0);
  const HANDLE thread = link.m_rgPI.hThread;
  link.Close();
  EXPECT_EQ(link.m_rgPI.hThread, nullptr);
  EXPECT_EQ(link.m_rgPI.dwThreadId, 0u);
  SetLastError(0);
  EXPECT_FALSE(CloseHandle(thread)) << "the link closed the thread handle";
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_HANDLE));
}

}  // namespace
