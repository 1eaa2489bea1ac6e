// Event objects: CreateEventW, SetEvent, ResetEvent.
#include <windows.h>

#include "kernel/waitable.h"

namespace platform::kernel {

namespace {

// A manual-reset event stays signalled until reset and releases every
// waiter; an auto-reset event releases one waiter and resets itself.
class EventObject final : public ConditionObject {
 public:
  EventObject(bool manualReset, bool initialState) : manualReset_(manualReset), signalled_(initialState) {}

  void Set() {
    Update([this] { signalled_ = true; });
  }
  void Reset() {
    Update([this] { signalled_ = false; });
  }

 private:
  bool IsSignalled() const override { return signalled_; }
  void OnWaitSatisfied() override {
    if (!manualReset_) signalled_ = false;
  }

  const bool manualReset_;
  bool signalled_;
};

// Runs an operation on the event behind a handle, or fails as Windows does
// for a handle that is not an event.
template <typename Operation>
BOOL WithEvent(HANDLE handle, Operation &&operation) {
  auto event = ReferenceHandleAs<EventObject>(handle);
  if (!event) {
    SetLastError(ERROR_INVALID_HANDLE);
    return FALSE;
  }
  operation(*event);
  return TRUE;
}

}  // namespace

}  // namespace platform::kernel

using platform::kernel::EventObject;

// Named events, shared between processes, are not supported yet.
extern "C" HANDLE WINAPI CreateEventW(LPSECURITY_ATTRIBUTES lpEventAttributes, BOOL bManualReset, BOOL bInitialState,
                                      LPCWSTR lpName) {
  if (lpName) {
    SetLastError(ERROR_NOT_SUPPORTED);
    return nullptr;
  }
  return platform::kernel::InsertHandle(std::make_shared<EventObject>(bManualReset, bInitialState));
}

extern "C" BOOL WINAPI SetEvent(HANDLE hEvent) {
  return platform::kernel::WithEvent(hEvent, [](EventObject &event) { event.Set(); });
}

extern "C" BOOL WINAPI ResetEvent(HANDLE hEvent) {
  return platform::kernel::WithEvent(hEvent, [](EventObject &event) { event.Reset(); });
}
