// Threads: CreateThread, GetExitCodeThread, GetCurrentThreadId.
//
// A Windows thread is a POSIX thread whose thread object is signalled when its
// start routine returns. Its id is the Linux thread id, unique across the
// system as Windows thread ids are.
#include <windows.h>

#include <limits.h>
#include <pthread.h>
#include <unistd.h>

#include <future>

#include "kernel/waitable.h"

namespace platform::kernel {

namespace {

// Signalled once the start routine has returned. The exit code reads
// STILL_ACTIVE until then (and afterwards too if the routine returned that
// value, as on Windows), so the wait state is kept apart from it.
class ThreadObject final : public ConditionObject {
 public:
  void Finish(DWORD exitCode) {
    Update([&] {
      exitCode_ = exitCode;
      finished_ = true;
    });
  }
  DWORD ExitCode() const {
    return Inspect([this] { return exitCode_; });
  }

 private:
  bool IsSignalled() const override { return finished_; }

  DWORD exitCode_ = STILL_ACTIVE;
  bool finished_ = false;
};

// What the new thread needs; it owns a reference to its thread object for as
// long as it runs.
struct ThreadStart {
  std::shared_ptr<ThreadObject> thread;
  LPTHREAD_START_ROUTINE routine;
  LPVOID parameter;
  std::promise<DWORD> id;
};

void *RunThread(void *argument) {
  std::unique_ptr<ThreadStart> start(static_cast<ThreadStart *>(argument));
  start->id.set_value(GetCurrentThreadId());
  start->thread->Finish(start->routine(start->parameter));
  return nullptr;
}

// Windows rounds a requested stack size up; a POSIX thread needs at least
// PTHREAD_STACK_MIN, in whole pages.
size_t PosixStackSize(SIZE_T requested) {
  const auto page = static_cast<size_t>(sysconf(_SC_PAGESIZE));
  const auto minimum = static_cast<size_t>(PTHREAD_STACK_MIN);
  size_t size = requested < minimum ? minimum : requested;
  return (size + page - 1) / page * page;
}

// Starts the POSIX thread detached: its end is observed through the thread
// object, never by joining. Returns an errno value.
int StartPosixThread(ThreadStart *start, SIZE_T stackSize) {
  pthread_attr_t attributes;
  pthread_attr_init(&attributes);
  pthread_attr_setdetachstate(&attributes, PTHREAD_CREATE_DETACHED);
  if (stackSize) pthread_attr_setstacksize(&attributes, PosixStackSize(stackSize));
  pthread_t posixThread;
  int error = pthread_create(&posixThread, &attributes, RunThread, start);
  pthread_attr_destroy(&attributes);
  return error;
}

HANDLE FailCreation(DWORD error) {
  SetLastError(error);
  return nullptr;
}

}  // namespace

}  // namespace platform::kernel

using platform::kernel::ThreadObject;
using platform::kernel::ThreadStart;

extern "C" DWORD WINAPI GetCurrentThreadId(void) { return static_cast<DWORD>(gettid()); }

// Suspended creation is not supported. The thread id is known, and handed
// back, once the new thread runs.
extern "C" HANDLE WINAPI CreateThread(LPSECURITY_ATTRIBUTES lpThreadAttributes, SIZE_T dwStackSize,
                                      LPTHREAD_START_ROUTINE lpStartAddress, LPVOID lpParameter, DWORD dwCreationFlags,
                                      LPDWORD lpThreadId) {
  if (!lpStartAddress) return platform::kernel::FailCreation(ERROR_INVALID_PARAMETER);
  if (dwCreationFlags & CREATE_SUSPENDED) return platform::kernel::FailCreation(ERROR_NOT_SUPPORTED);
  auto thread = std::make_shared<ThreadObject>();
  auto start = std::make_unique<ThreadStart>(ThreadStart{thread, lpStartAddress, lpParameter, {}});
  std::future<DWORD> id = start->id.get_future();
  if (platform::kernel::StartPosixThread(start.get(), dwStackSize) != 0) {
    return platform::kernel::FailCreation(ERROR_NOT_ENOUGH_MEMORY);
  }
  start.release();  // the new thread owns it now
  HANDLE handle = platform::kernel::InsertHandle(std::move(thread));
  DWORD threadId = id.get();
  if (lpThreadId) *lpThreadId = threadId;
  return handle;
}

extern "C" BOOL WINAPI GetExitCodeThread(HANDLE hThread, LPDWORD lpExitCode) {
  auto thread = platform::kernel::ReferenceHandleAs<ThreadObject>(hThread);
  if (!thread) {
    SetLastError(ERROR_INVALID_HANDLE);
    return FALSE;
  }
  *lpExitCode = thread->ExitCode();
  return TRUE;
}
