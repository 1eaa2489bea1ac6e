// Threads: the handle is signalled when the thread ends, the exit code is
// STILL_ACTIVE until then, and the thread id is the one the thread sees.
#include <windows.h>

#include <gtest/gtest.h>

#include <atomic>

namespace {

constexpr DWORD kBound = 10000;  // ms: far longer than any of these threads runs

struct Gate {
  HANDLE release = CreateEventW(nullptr, TRUE, FALSE, nullptr);
  std::atomic<DWORD> seenThreadId{0};
  DWORD exitCode = 0;
  ~Gate() { CloseHandle(release); }
};

DWORD WINAPI WaitAtGate(LPVOID parameter) {
  auto gate = static_cast<Gate *>(parameter);
  gate->seenThreadId = GetCurrentThreadId();
  WaitForSingleObject(gate->release, INFINITE);
  return gate->exitCode;
}

TEST(KernelThreads, HandleIsSignalledWhenTheThreadEnds) {
  Gate gate;
  gate.exitCode = 42;
  DWORD threadId = 0;
  HANDLE thread = CreateThread(nullptr, 0, WaitAtGate, &gate, 0, &threadId);
  ASSERT_NE(thread, nullptr);

  DWORD exitCode = 0;
  EXPECT_TRUE(GetExitCodeThread(thread, &exitCode));
  EXPECT_EQ(exitCode, STILL_ACTIVE);
  EXPECT_EQ(WaitForSingleObject(thread, 20), static_cast<DWORD>(WAIT_TIMEOUT));

  SetEvent(gate.release);
  EXPECT_EQ(WaitForSingleObject(thread, kBound), WAIT_OBJECT_0);
  EXPECT_EQ(WaitForSingleObject(thread, 0), WAIT_OBJECT_0) << "an ended thread stays signalled";
  EXPECT_TRUE(GetExitCodeThread(thread, &exitCode));
  EXPECT_EQ(exitCode, 42u);
  EXPECT_EQ(threadId, gate.seenThreadId.load());
  EXPECT_NE(threadId, GetCurrentThreadId());
  EXPECT_TRUE(CloseHandle(thread));
}

// Copies what it needs first, so it touches nothing of its creator's once
// done has been signalled.
struct Relay {
  HANDLE go;
  HANDLE done;
};

DWORD WINAPI RelaySignal(LPVOID parameter) {
  Relay relay = *static_cast<Relay *>(parameter);
  WaitForSingleObject(relay.go, INFINITE);
  SetEvent(relay.done);
  return 0;
}

TEST(KernelThreads, ThreadRunsOnAfterItsHandleIsClosed) {
  Relay relay{CreateEventW(nullptr, TRUE, FALSE, nullptr), CreateEventW(nullptr, TRUE, FALSE, nullptr)};
  HANDLE thread = CreateThread(nullptr, 0, RelaySignal, &relay, 0, nullptr);
  ASSERT_NE(thread, nullptr);
  EXPECT_TRUE(CloseHandle(thread));
  SetEvent(relay.go);
  EXPECT_EQ(WaitForSingleObject(relay.done, kBound), WAIT_OBJECT_0);
  CloseHandle(relay.go);
  CloseHandle(relay.done);
}

TEST(KernelThreads, TinyStackRequestIsRoundedUp) {
  HANDLE thread = CreateThread(
      nullptr, 1, [](LPVOID) -> DWORD { return 7; }, nullptr, 0, nullptr);
  ASSERT_NE(thread, nullptr);
  EXPECT_EQ(WaitForSingleObject(thread, kBound), WAIT_OBJECT_0);
  DWORD exitCode = 0;
  EXPECT_TRUE(GetExitCodeThread(thread, &exitCode));
  EXPECT_EQ(exitCode, 7u);
  CloseHandle(thread);
}

TEST(KernelThreads, ExitCodeOfOtherHandlesFails) {
  HANDLE event = CreateEventW(nullptr, TRUE, FALSE, nullptr);
  DWORD exitCode = 0;
  for (HANDLE handle : {HANDLE{nullptr}, event}) {
    SetLastError(ERROR_SUCCESS);
    EXPECT_FALSE(GetExitCodeThread(handle, &exitCode)) << handle;
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_HANDLE)) << handle;
  }
  CloseHandle(event);
}

TEST(KernelThreads, SuspendedCreationIsNotSupported) {
  Gate gate;
  EXPECT_EQ(CreateThread(nullptr, 0, WaitAtGate, &gate, CREATE_SUSPENDED, nullptr), nullptr);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_NOT_SUPPORTED));
}

}  // namespace
