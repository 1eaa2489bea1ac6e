// How a control looks right now, for the screen view to draw it. Each look is
// read under the window manager's lock, without calling the control's
// procedure, so the view can read controls of any thread.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace platform::controls {

struct ButtonLook {
  UINT check = BST_UNCHECKED;
  bool pushed = false;
};

struct EditLook {
  size_t selStart = 0;
  size_t selEnd = 0;  // the caret
};

struct ListBoxLook {
  std::vector<std::wstring> items;
  int selected = LB_ERR;
  int top = 0;
  int itemHeight = 0;
};

struct TrackbarLook {
  int rangeMin = 0;
  int rangeMax = 0;
  int position = 0;
  int selStart = 0;
  int selEnd = 0;
};

ButtonLook LookOfButton(HWND hwnd);
EditLook LookOfEdit(HWND hwnd);
ListBoxLook LookOfListBox(HWND hwnd);
TrackbarLook LookOfTrackbar(HWND hwnd);

}  // namespace platform::controls
