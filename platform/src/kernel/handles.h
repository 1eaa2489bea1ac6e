// Kernel objects and the process's handle table.
//
// A kernel object (event, thread, later processes) is shared by every handle
// that refers to it and by whoever else needs it alive (a running thread
// holds its own thread object), so objects are reference counted through
// std::shared_ptr and die with their last reference, as on Windows.
//
// Handle values are small multiples of four, never null and never
// INVALID_HANDLE_VALUE. A looked-up object stays alive for the caller even if
// another thread closes the handle meanwhile.
#pragma once

#include <windows.h>

#include <memory>

#include "kernel/deadline.h"

namespace platform::kernel {

enum class WaitResult { kSignalled, kTimedOut, kFailed };

class KernelObject {
 public:
  virtual ~KernelObject() = default;

  // Blocks until the object is signalled or the deadline passes. A satisfied
  // wait has the object's side effect (an auto-reset event resets). On
  // kFailed the object has set the thread's last error.
  virtual WaitResult Wait(const Deadline &deadline) = 0;
};

// Enters the object in the handle table and returns its new handle.
HANDLE InsertHandle(std::shared_ptr<KernelObject> object);

// The object a handle refers to, or null for an unknown handle.
std::shared_ptr<KernelObject> ReferenceHandle(HANDLE handle);

// The object a handle refers to if it is of type T, else null.
template <typename T>
std::shared_ptr<T> ReferenceHandleAs(HANDLE handle) {
  return std::dynamic_pointer_cast<T>(ReferenceHandle(handle));
}

// Removes a handle from the table; false for an unknown handle.
bool RemoveHandle(HANDLE handle);

}  // namespace platform::kernel
