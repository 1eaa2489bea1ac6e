// Answers the message boxes a test provokes, the way a tester would (Enter
// on the box), and records what each said.
#pragma once

#include <windows.h>

#include <mutex>
#include <string>
#include <vector>

#include "dialogs/message_box.h"
#include "input/input.h"

namespace testing_support {

class MessageBoxAnswerer {
 public:
  MessageBoxAnswerer() {
    platform::dialogs::SetMessageBoxHook([this](HWND, const platform::dialogs::MessageBoxInfo &info) {
      {
        std::lock_guard lock(mutex_);
        boxes_.push_back(info);
      }
      platform::input::PressKey(VK_RETURN);
    });
  }
  ~MessageBoxAnswerer() { platform::dialogs::SetMessageBoxHook(nullptr); }
  MessageBoxAnswerer(const MessageBoxAnswerer &) = delete;
  MessageBoxAnswerer &operator=(const MessageBoxAnswerer &) = delete;

  std::vector<platform::dialogs::MessageBoxInfo> Boxes() const {
    std::lock_guard lock(mutex_);
    return boxes_;
  }

 private:
  mutable std::mutex mutex_;
  std::vector<platform::dialogs::MessageBoxInfo> boxes_;
};

}  // namespace testing_support
