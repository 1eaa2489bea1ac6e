#include "view/input_translation.h"

#include <QKeyEvent>

#include "input/input.h"
#include "text/utf.h"
#include "view/window_snapshot.h"
#include "windowing/geometry.h"
#include "windowing/message_queue.h"

namespace platform::view {

namespace {

// WM_NCHITTEST's HTTRANSPARENT: group boxes, and static texts that do not ask for clicks.
bool LetsMouseThrough(const WindowSnapshot &w) {
  if (w.IsClass(L"Button")) return (w.style & BS_TYPEMASK) == BS_GROUPBOX;
  if (w.IsClass(L"Static")) return !(w.style & SS_NOTIFY);
  return false;
}

bool Contains(const RECT &r, POINT p) { return p.x >= r.left && p.x < r.right && p.y >= r.top && p.y < r.bottom; }

// Searches `parent`'s children (topmost first) for the point, given in the
// parent's client coordinates.
HWND ChildAt(const WindowSnapshot &parent, POINT point) {
  for (HWND child : parent.children) {
    WindowSnapshot w;
    if (!ReadWindow(child, w) || !w.Visible() || !w.Enabled() || !Contains(w.rect, point)) continue;
    if (LetsMouseThrough(w)) continue;
    const POINT inner{point.x - w.rect.left - w.insets.left, point.y - w.rect.top - w.insets.top};
    HWND deeper = ChildAt(w, inner);
    return deeper ? deeper : child;
  }
  return nullptr;
}

// A point of the top-level window's client area in `target`'s client coordinates.
POINT ClientPointOf(HWND topLevel, HWND target, POINT client) {
  const POINT from = windowing::ClientOrigin(topLevel), to = windowing::ClientOrigin(target);
  return POINT{client.x + from.x - to.x, client.y + from.y - to.y};
}

HWND CaptureOf(HWND topLevel) {
  auto queue = windowing::QueueOfThread(GetWindowThreadProcessId(topLevel, nullptr));
  HWND capture = queue ? queue->Capture() : nullptr;
  return capture && (capture == topLevel || IsChild(topLevel, capture)) ? capture : nullptr;
}

struct KeyMapping {
  int qtKey;
  UINT virtualKey;
};

const KeyMapping kKeys[] = {
    {Qt::Key_Tab, VK_TAB},       {Qt::Key_Backtab, VK_TAB},    {Qt::Key_Return, VK_RETURN},
    {Qt::Key_Enter, VK_RETURN},  {Qt::Key_Escape, VK_ESCAPE},  {Qt::Key_Space, VK_SPACE},
    {Qt::Key_Backspace, VK_BACK}, {Qt::Key_Delete, VK_DELETE}, {Qt::Key_Left, VK_LEFT},
    {Qt::Key_Right, VK_RIGHT},   {Qt::Key_Up, VK_UP},          {Qt::Key_Down, VK_DOWN},
    {Qt::Key_Home, VK_HOME},     {Qt::Key_End, VK_END},        {Qt::Key_PageUp, VK_PRIOR},
    {Qt::Key_PageDown, VK_NEXT},
};

UINT VirtualKeyOf(int qtKey) {
  for (const auto &mapping : kKeys) {
    if (mapping.qtKey == qtKey) return mapping.virtualKey;
  }
  return 0;
}

std::wstring PrintableText(const QString &text) {
  std::wstring out;
  for (wchar_t c : text::FromUtf8(text.toStdString())) {
    if (c >= L' ' && c != 0x7F) out += c;
  }
  return out;
}

}  // namespace

HWND WindowAt(HWND topLevel, POINT client) {
  WindowSnapshot root;
  if (!ReadWindow(topLevel, root)) return nullptr;
  HWND child = ChildAt(root, client);
  return child ? child : topLevel;
}

void MouseRouter::Press(POINT client, bool doubleClick) {
  HWND capture = CaptureOf(topLevel_);
  pressed_ = capture ? capture : WindowAt(topLevel_, client);
  if (pressed_) input::PressMouse(pressed_, ClientPointOf(topLevel_, pressed_, client), doubleClick);
}

void MouseRouter::Move(POINT client) {
  if (HWND target = HeldTarget()) input::MoveMouse(target, ClientPointOf(topLevel_, target, client));
}

void MouseRouter::Release(POINT client) {
  if (HWND target = HeldTarget()) input::ReleaseMouse(target, ClientPointOf(topLevel_, target, client));
  pressed_ = nullptr;
}

HWND MouseRouter::HeldTarget() const {
  HWND capture = CaptureOf(topLevel_);
  return capture ? capture : pressed_;
}

void DeliverKey(const QKeyEvent &event) {
  const bool shift = event.modifiers() & Qt::ShiftModifier;
  const bool control = event.modifiers() & Qt::ControlModifier;
  if (UINT vk = VirtualKeyOf(event.key())) {
    input::PressKey(vk, shift || event.key() == Qt::Key_Backtab);
    return;
  }
  if (control) {
    // Ctrl+letter reaches an edit control as the letter's control character.
    if (event.key() >= Qt::Key_A && event.key() <= Qt::Key_Z) {
      input::TypeText(std::wstring(1, static_cast<wchar_t>(event.key() - Qt::Key_A + 1)));
    }
    return;
  }
  const std::wstring text = PrintableText(event.text());
  if (!text.empty()) input::TypeText(text);
}

}  // namespace platform::view
