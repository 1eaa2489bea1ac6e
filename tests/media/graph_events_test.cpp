// The graph manager's event queue: taking events, freeing their
// parameters, the event handle, notification flags, WaitForCompletion, and
// the notification message posted to a window from streaming threads.
#include <windows.h>

#include <gtest/gtest.h>

#include <chrono>
#include <thread>
#include <vector>

#include "graph_test_fixture.h"

namespace {

using media_testing::CComPtr;
using media_testing::GraphTest;
using media_testing::NumberedSource;
using media_testing::PassThroughTransform;
using media_testing::RecordingRenderer;

constexpr UINT kGraphNotify = WM_APP + 1;
constexpr LONG_PTR kInstanceData = 0x1234;

// A window of this thread that receives the graph's notification.
class NotifiedWindow {
 public:
  NotifiedWindow() {
    WNDCLASSW windowClass{};
    windowClass.lpfnWndProc = DefWindowProcW;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.lpszClassName = L"GraphEventsTestWindow";
    RegisterClassW(&windowClass);
    m_window = CreateWindowExW(0, L"GraphEventsTestWindow", L"", 0, 0, 0, 10, 10, nullptr, nullptr,
                               GetModuleHandleW(nullptr), nullptr);
  }
  ~NotifiedWindow() { DestroyWindow(m_window); }

  HWND Handle() const { return m_window; }

  // Waits, at most 10 s, for the next notification and gives its lParam.
  bool WaitForNotification(LPARAM *lParam) const {
    const auto limit = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    MSG message;
    while (!PeekMessageW(&message, m_window, kGraphNotify, kGraphNotify, PM_REMOVE)) {
      if (std::chrono::steady_clock::now() > limit) return false;
      std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    *lParam = message.lParam;
    return true;
  }

  bool HasNotification() const {
    MSG message;
    return PeekMessageW(&message, m_window, kGraphNotify, kGraphNotify, PM_REMOVE);
  }

 private:
  HWND m_window = nullptr;
};

CComPtr<IMediaEventSink> SinkOf(IUnknown *graph) {
  CComPtr<IMediaEventSink> sink;
  graph->QueryInterface(IID_IMediaEventSink, reinterpret_cast<void **>(&sink));
  return sink;
}

TEST_F(GraphTest, AnEmptyQueueAbortsAtOnceWithZeroedOutputs) {
  LONG code = 1;
  LONG_PTR param1 = 1, param2 = 1;
  EXPECT_HR(E_ABORT, events_->GetEvent(&code, &param1, &param2, 0));
  EXPECT_EQ(code, 0);
  EXPECT_EQ(param1, 0);
  EXPECT_EQ(param2, 0);
  EXPECT_HR(E_ABORT, events_->GetEvent(&code, &param1, &param2, 20));
}

TEST_F(GraphTest, EventsFromFiltersComeOutInOrderWithTheirParameters) {
  CComPtr<IMediaEventSink> sink = SinkOf(graph_);
  ASSERT_TRUE(sink);
  sink->Notify(EC_USERABORT, 0, 0);
  sink->Notify(EC_ERRORABORT, E_FAIL, 0);
  sink->Notify(EC_USER + 5, 7, 8);
  LONG code = 0;
  LONG_PTR param1 = 0, param2 = 0;
  struct Expected {
    LONG code;
    LONG_PTR param1;
    LONG_PTR param2;
  };
  const std::vector<Expected> expected = {{EC_USERABORT, 0, 0}, {EC_ERRORABORT, E_FAIL, 0}, {EC_USER + 5, 7, 8}};
  for (const auto &event : expected) {
    ASSERT_HR(S_OK, events_->GetEvent(&code, &param1, &param2, 0));
    EXPECT_EQ(code, event.code);
    EXPECT_EQ(param1, event.param1);
    EXPECT_EQ(param2, event.param2);
  }
}

TEST_F(GraphTest, FreeEventParamsFreesStringParameters) {
  SinkOf(graph_)->Notify(EC_OLE_EVENT, reinterpret_cast<LONG_PTR>(SysAllocString(L"name")),
                         reinterpret_cast<LONG_PTR>(SysAllocString(L"value")));
  LONG code = 0;
  LONG_PTR param1 = 0, param2 = 0;
  ASSERT_HR(S_OK, events_->GetEvent(&code, &param1, &param2, 0));
  EXPECT_STREQ(reinterpret_cast<BSTR>(param1), L"name");
  EXPECT_HR(S_OK, events_->FreeEventParams(code, param1, param2));  // the sanitizer build checks both are freed
}

TEST_F(GraphTest, TheEventHandleIsSetWhileEventsWait) {
  OAEVENT handle = 0;
  ASSERT_HR(S_OK, events_->GetEventHandle(&handle));
  const HANDLE event = reinterpret_cast<HANDLE>(handle);
  EXPECT_EQ(WaitForSingleObject(event, 0), static_cast<DWORD>(WAIT_TIMEOUT));
  SinkOf(graph_)->Notify(EC_USER, 0, 0);
  EXPECT_EQ(WaitForSingleObject(event, 0), static_cast<DWORD>(WAIT_OBJECT_0));
  TakeEvents();
  EXPECT_EQ(WaitForSingleObject(event, 0), static_cast<DWORD>(WAIT_TIMEOUT));
}

TEST_F(GraphTest, NoNotifyKeepsNoEvents) {
  CComPtr<IMediaEventSink> sink = SinkOf(graph_);
  sink->Notify(EC_USER, 0, 0);
  ASSERT_HR(S_OK, events_->SetNotifyFlags(AM_MEDIAEVENT_NONOTIFY));
  LONG flags = 0;
  events_->GetNotifyFlags(&flags);
  EXPECT_EQ(flags, AM_MEDIAEVENT_NONOTIFY);
  sink->Notify(EC_USER + 1, 0, 0);
  EXPECT_EQ(TakeEvents(), std::vector<LONG>{}) << "the waiting event is dropped, the new one not kept";
  events_->SetNotifyFlags(0);
  sink->Notify(EC_USER + 2, 0, 0);
  EXPECT_EQ(TakeEvents(), std::vector<LONG>{EC_USER + 2});
  EXPECT_HR(E_INVALIDARG, events_->SetNotifyFlags(2));
}

TEST_F(GraphTest, NotificationsArePostedToTheWindowFromStreamingThreads) {
  NotifiedWindow window;
  ASSERT_TRUE(window.Handle());
  const Line line = BuildLine(5);
  ASSERT_HR(S_OK, events_->SetNotifyWindow(reinterpret_cast<OAHWND>(window.Handle()), kGraphNotify, kInstanceData));
  control_->Run();

  LPARAM lParam = 0;
  ASSERT_TRUE(window.WaitForNotification(&lParam));
  EXPECT_EQ(lParam, kInstanceData);
  ASSERT_TRUE(media_testing::WaitForEvent(events_, EC_COMPLETE));
  for (std::thread::id thread : line.renderer->Record().threads) EXPECT_NE(thread, std::this_thread::get_id());
  control_->Stop();
}

TEST_F(GraphTest, NoNotificationOnceTheWindowIsCleared) {
  NotifiedWindow window;
  CComPtr<IMediaEventSink> sink = SinkOf(graph_);
  events_->SetNotifyWindow(reinterpret_cast<OAHWND>(window.Handle()), kGraphNotify, kInstanceData);
  events_->SetNotifyWindow(0, 0, 0);
  sink->Notify(EC_USER, 0, 0);
  EXPECT_FALSE(window.HasNotification());
}

TEST_F(GraphTest, AWindowSetWhileEventsWaitIsNotifiedAtOnce) {
  NotifiedWindow window;
  SinkOf(graph_)->Notify(EC_USER, 0, 0);
  events_->SetNotifyWindow(reinterpret_cast<OAHWND>(window.Handle()), kGraphNotify, kInstanceData);
  LPARAM lParam = 0;
  EXPECT_TRUE(window.WaitForNotification(&lParam));
  events_->SetNotifyWindow(0, 0, 0);
}

TEST_F(GraphTest, WaitForCompletionWaitsForTheEndOfARunningGraph) {
  LONG code = 0;
  EXPECT_HR(VFW_E_WRONG_STATE, events_->WaitForCompletion(0, &code)) << "the graph is not running";
  BuildLine(10);
  control_->Run();
  ASSERT_HR(S_OK, events_->WaitForCompletion(10000, &code));
  EXPECT_EQ(code, EC_COMPLETE);
  EXPECT_TRUE(media_testing::WaitForEvent(events_, EC_COMPLETE)) << "the event stays in the queue";
  control_->Stop();
}

}  // namespace
