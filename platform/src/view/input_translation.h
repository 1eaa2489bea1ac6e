// The tester's input on a mirror, handed to the input entry points
// (input/input.h) exactly as tests hand theirs, so the same messages flow.
//
// Mouse: a press goes to the window under the pointer, found the way
// Windows finds it (visible, enabled windows only; group boxes and static
// texts without SS_NOTIFY let the mouse through to what lies below). While the
// button is held, moves and the release go to the window that captured the
// mouse (SetCapture) or else to the one that took the press.
// Keyboard: navigation and editing keys become key presses, Ctrl+A/C/V/X the
// control characters an edit control takes, other text typed characters.
#pragma once

#include <windows.h>

class QKeyEvent;

namespace platform::view {

// The window under a point of a top-level window's client area (the
// top-level window itself when no child takes the point).
HWND WindowAt(HWND topLevel, POINT client);

class MouseRouter {
 public:
  explicit MouseRouter(HWND topLevel) : topLevel_(topLevel) {}
  // Points are in the top-level window's client coordinates.
  void Press(POINT client, bool doubleClick);
  void Move(POINT client);
  void Release(POINT client);

 private:
  HWND HeldTarget() const;

  HWND topLevel_;
  HWND pressed_ = nullptr;
};

void DeliverKey(const QKeyEvent &event);

}  // namespace platform::view
