#include "view_test_support.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QWidget>
#include <chrono>
#include <thread>

#include "view/view_widgets.h"

namespace view_testing {

namespace {

constexpr UINT kRunScript = WM_APP + 1;

Script &PendingScript() {
  static Script script;
  return script;
}

void Record(UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NOTIFY) {
    const auto *header = reinterpret_cast<const NMHDR *>(lParam);
    Log().push_back({message, static_cast<UINT>(header->idFrom), header->code});
  } else {
    Log().push_back({message, LOWORD(wParam), HIWORD(wParam)});
  }
}

void SendMouse(QWidget *mirror, QEvent::Type type, QPoint at, Qt::MouseButton button, Qt::MouseButtons held) {
  QMouseEvent event(type, QPointF(at), QPointF(mirror->mapToGlobal(at)), button, held, Qt::NoModifier);
  QApplication::sendEvent(mirror, &event);
}

}  // namespace

std::ostream &operator<<(std::ostream &os, const Heard &h) {
  return os << "{0x" << std::hex << h.message << std::dec << ", " << h.low << ", " << h.high << "}";
}

std::vector<Heard> &Log() {
  static std::vector<Heard> log;
  return log;
}

std::vector<Heard> HeardFrom(int id) {
  std::vector<Heard> out;
  for (const Heard &h : Log()) {
    const bool scroll = h.message == WM_HSCROLL || h.message == WM_VSCROLL;
    if ((scroll && id == 0) || (!scroll && static_cast<int>(h.low) == id)) out.push_back(h);
  }
  return out;
}

INT_PTR CALLBACK RecordingProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_INITDIALOG: {
      HICON icon = LoadIconW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(kProgramIcon));
      SendMessageW(dialog, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon));
      SendMessageW(dialog, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icon));
      if (PendingScript()) PostMessageW(dialog, kRunScript, 0, 0);
      return TRUE;
    }
    case kRunScript: {
      Script script = std::exchange(PendingScript(), {});
      if (script) script(dialog);
      return TRUE;
    }
    case WM_COMMAND:
      Record(message, wParam, lParam);
      if (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL) EndDialog(dialog, LOWORD(wParam));
      return TRUE;
    case WM_HSCROLL:
    case WM_VSCROLL:
    case WM_NOTIFY: Record(message, wParam, lParam); return TRUE;
    default: return FALSE;
  }
}

HWND ShowMainDialog(Script script) {
  PendingScript() = std::move(script);
  HWND dialog = CreateDialogParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(kMainDialog), nullptr, RecordingProc, 0);
  if (!dialog) return nullptr;
  ShowWindow(dialog, SW_SHOWNORMAL);
  Pump(dialog);
  Log().clear();
  return dialog;
}

INT_PTR RunMainDialog(Script script) {
  PendingScript() = std::move(script);
  return DialogBoxParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(kMainDialog), nullptr, RecordingProc, 0);
}

bool Pump(HWND dialog, const std::function<bool()> &done) {
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
  int quietRounds = 0;
  while (std::chrono::steady_clock::now() < deadline) {
    if (done && done()) return true;
    QCoreApplication::processEvents();
    bool any = false;
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
      any = true;
      if (!dialog || !IsDialogMessageW(dialog, &msg)) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
      }
    }
    quietRounds = any ? 0 : quietRounds + 1;
    if (!done && quietRounds >= 3) return true;
    if (!any) std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
  return false;
}

QWidget *Mirror(HWND topLevel) { return platform::view::MirrorWidget(topLevel); }

QPoint PointOf(HWND control, POINT inControl) {
  HWND root = GetAncestor(control, GA_ROOT);
  POINT p = inControl;
  MapWindowPoints(control, root, &p, 1);
  return QPoint(p.x, p.y);
}

QPoint CentreOf(HWND control) {
  RECT r{};
  GetClientRect(control, &r);
  return PointOf(control, POINT{r.right / 2, r.bottom / 2});
}

void QtPress(QWidget *mirror, QPoint at) {
  SendMouse(mirror, QEvent::MouseButtonPress, at, Qt::LeftButton, Qt::LeftButton);
}

void QtMoveHeld(QWidget *mirror, QPoint to) { SendMouse(mirror, QEvent::MouseMove, to, Qt::NoButton, Qt::LeftButton); }

void QtRelease(QWidget *mirror, QPoint at) {
  SendMouse(mirror, QEvent::MouseButtonRelease, at, Qt::LeftButton, Qt::NoButton);
}

void QtClick(QWidget *mirror, QPoint at) {
  QtPress(mirror, at);
  QtRelease(mirror, at);
}

void QtKey(QWidget *mirror, int key, Qt::KeyboardModifiers modifiers, const QString &text) {
  QKeyEvent press(QEvent::KeyPress, key, modifiers, text);
  QApplication::sendEvent(mirror, &press);
  QKeyEvent release(QEvent::KeyRelease, key, modifiers, text);
  QApplication::sendEvent(mirror, &release);
}

void QtType(QWidget *mirror, const QString &text) {
  for (QChar c : text) QtKey(mirror, c.isLetter() ? Qt::Key_A + (c.toUpper().unicode() - 'A') : c.unicode(), {}, c);
}

std::wstring TextOf(HWND window) {
  wchar_t buffer[512];
  GetWindowTextW(window, buffer, 512);
  return buffer;
}

}  // namespace view_testing
