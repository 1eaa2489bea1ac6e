// The handle table, CloseHandle and WaitForSingleObject.
#include "kernel/handles.h"

#include <mutex>
#include <unordered_map>

namespace platform::kernel {

namespace {

class HandleTable {
 public:
  HANDLE Insert(std::shared_ptr<KernelObject> object) {
    std::lock_guard<std::mutex> lock(mutex_);
    nextValue_ += kHandleStep;
    objects_.emplace(nextValue_, std::move(object));
    return reinterpret_cast<HANDLE>(nextValue_);
  }

  std::shared_ptr<KernelObject> Find(HANDLE handle) const {
    std::lock_guard<std::mutex> lock(mutex_);
    auto it = objects_.find(reinterpret_cast<uintptr_t>(handle));
    return it == objects_.end() ? nullptr : it->second;
  }

  // The object is released after the lock is dropped: its destructor may take
  // other locks (a thread object's, for instance).
  bool Remove(HANDLE handle) {
    std::shared_ptr<KernelObject> removed;
    std::lock_guard<std::mutex> lock(mutex_);
    auto it = objects_.find(reinterpret_cast<uintptr_t>(handle));
    if (it == objects_.end()) return false;
    removed = std::move(it->second);
    objects_.erase(it);
    return true;
  }

 private:
  // Windows kernel handles are multiples of four.
  static constexpr uintptr_t kHandleStep = 4;

  mutable std::mutex mutex_;
  uintptr_t nextValue_ = 0;
  std::unordered_map<uintptr_t, std::shared_ptr<KernelObject>> objects_;
};

// Never destroyed: threads still running at exit may close their handles.
HandleTable &Table() {
  static HandleTable *table = new HandleTable;
  return *table;
}

}  // namespace

HANDLE InsertHandle(std::shared_ptr<KernelObject> object) { return Table().Insert(std::move(object)); }

std::shared_ptr<KernelObject> ReferenceHandle(HANDLE handle) { return Table().Find(handle); }

bool RemoveHandle(HANDLE handle) { return Table().Remove(handle); }

}  // namespace platform::kernel

using platform::kernel::Deadline;

extern "C" BOOL WINAPI CloseHandle(HANDLE hObject) {
  if (platform::kernel::RemoveHandle(hObject)) return TRUE;
  SetLastError(ERROR_INVALID_HANDLE);
  return FALSE;
}

extern "C" DWORD WINAPI WaitForSingleObject(HANDLE hHandle, DWORD dwMilliseconds) {
  auto object = platform::kernel::ReferenceHandle(hHandle);
  if (!object) {
    SetLastError(ERROR_INVALID_HANDLE);
    return WAIT_FAILED;
  }
  switch (object->Wait(Deadline::After(dwMilliseconds))) {
    case platform::kernel::WaitResult::kSignalled:
      return WAIT_OBJECT_0;
    case platform::kernel::WaitResult::kTimedOut:
      return WAIT_TIMEOUT;
    case platform::kernel::WaitResult::kFailed:
      break;
  }
  return WAIT_FAILED;
}
