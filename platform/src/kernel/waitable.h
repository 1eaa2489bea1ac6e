// The two ways a kernel object can be waited on.
//
// ConditionObject: the signalled state lives in memory (events, threads).
// Subclasses say whether they are signalled and what a satisfied wait does;
// every change of state goes through Update(), which wakes all waiters to look
// again, so an auto-reset object hands its one signal to exactly one waiter.
//
// DescriptorObject: the object is signalled while a file descriptor is
// readable (a pidfd becomes readable when its process ends). It owns the
// descriptor and closes it on destruction.
#pragma once

#include <condition_variable>
#include <mutex>

#include "kernel/handles.h"

namespace platform::kernel {

class ConditionObject : public KernelObject {
 public:
  WaitResult Wait(const Deadline &deadline) final;

 protected:
  // Both are called with the object's lock held.
  virtual bool IsSignalled() const = 0;
  virtual void OnWaitSatisfied() {}

  // Applies a change of state under the object's lock, then wakes the waiters.
  template <typename Change>
  void Update(Change &&change) {
    {
      std::lock_guard<std::mutex> lock(mutex_);
      change();
    }
    changed_.notify_all();
  }

  // Reads state under the object's lock.
  template <typename Read>
  auto Inspect(Read &&read) const {
    std::lock_guard<std::mutex> lock(mutex_);
    return read();
  }

 private:
  mutable std::mutex mutex_;
  std::condition_variable changed_;
};

class DescriptorObject : public KernelObject {
 public:
  explicit DescriptorObject(int descriptor) : descriptor_(descriptor) {}
  ~DescriptorObject() override;
  DescriptorObject(const DescriptorObject &) = delete;
  DescriptorObject &operator=(const DescriptorObject &) = delete;

  WaitResult Wait(const Deadline &deadline) final;

 protected:
  int Descriptor() const { return descriptor_; }

 private:
  int descriptor_;
};

}  // namespace platform::kernel
