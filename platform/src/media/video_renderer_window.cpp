// The video renderer's window and its thread.
#include "media/video_renderer_window.h"

#include <string>

namespace platform::media {
namespace {

constexpr wchar_t kClassName[] = L"VideoRendererWindow";

// Messages of the renderer's window class, sent by other threads so that
// its own thread does the work.
constexpr UINT kSetOwnerMessage = WM_USER + 1;    // wParam: the new owner, or null
constexpr UINT kForegroundMessage = WM_USER + 2;  // wParam: TRUE to take the keyboard focus too
// Posted to the window's thread: the loop ends.
constexpr UINT kStopMessage = WM_USER + 3;

// The client size of a window before it shows any video.
constexpr SIZE kInitialClient = {320, 240};
constexpr DWORD kTopLevelStyle = WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN;

void RegisterWindowClass(WNDPROC proc) {
  static std::once_flag registered;
  std::call_once(registered, [proc] {
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = proc;
    windowClass.lpszClassName = kClassName;
    RegisterClassExW(&windowClass);
  });
}

SIZE OuterSize(SIZE client, DWORD style, DWORD exStyle) {
  RECT rect{0, 0, client.cx, client.cy};
  AdjustWindowRectEx(&rect, style, FALSE, exStyle);
  return SIZE{rect.right - rect.left, rect.bottom - rect.top};
}

// The window's rectangle in its parent's client area, or on the screen.
RECT PlacementOf(HWND hwnd) {
  RECT rect{};
  GetWindowRect(hwnd, &rect);
  if (GetWindowLongW(hwnd, GWL_STYLE) & WS_CHILD) {
    MapWindowPoints(nullptr, GetParent(hwnd), reinterpret_cast<POINT *>(&rect), 2);
  }
  return rect;
}

std::wstring CaptionOf(HWND hwnd) {
  std::wstring caption(static_cast<size_t>(GetWindowTextLengthW(hwnd)) + 1, L'\0');
  caption.resize(static_cast<size_t>(GetWindowTextW(hwnd, caption.data(), static_cast<int>(caption.size()))));
  return caption;
}

bool IsInputMessage(UINT message) {
  return (message >= WM_MOUSEFIRST && message <= WM_MOUSELAST) || (message >= WM_KEYFIRST && message <= WM_KEYLAST);
}

}  // namespace

RendererWindow::RendererWindow(CloseHandler onClose) : m_onClose(std::move(onClose)) {
  RegisterWindowClass(&WindowProc);
  std::promise<HWND> created;
  std::future<HWND> window = created.get_future();
  m_thread = std::thread([this, created = std::move(created)]() mutable { Run(std::move(created)); });
  window.wait();
}

RendererWindow::~RendererWindow() {
  PostThreadMessageW(m_threadId, kStopMessage, 0, 0);
  m_thread.join();
}

void RendererWindow::Run(std::promise<HWND> created) {
  MSG msg{};
  PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE);  // the thread's queue, before anyone posts to it
  m_threadId = GetCurrentThreadId();
  const SIZE size = OuterSize(kInitialClient, kTopLevelStyle, 0);
  const HWND hwnd =
      CreateRendererWindow(kTopLevelStyle, 0, RECT{0, 0, size.cx, size.cy}, nullptr, kDefaultCaption);
  {
    std::lock_guard lock(m_presentLock);
    m_hwnd = hwnd;
  }
  created.set_value(hwnd);
  while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
    if (!msg.hwnd && msg.message == kStopMessage) break;
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  DestroyCurrentWindow();
}

HWND RendererWindow::CreateRendererWindow(DWORD style, DWORD exStyle, const RECT &rect, HWND parent,
                                          const wchar_t *caption) {
  return CreateWindowExW(exStyle, kClassName, caption, style & ~WS_VISIBLE, rect.left, rect.top,
                         rect.right - rect.left, rect.bottom - rect.top, parent, nullptr, nullptr, this);
}

void RendererWindow::DestroyCurrentWindow() {
  std::lock_guard lock(m_presentLock);
  if (!m_hwnd) return;
  DestroyWindow(m_hwnd);
  view::ClearVideoFrame(m_hwnd);
  m_hwnd = nullptr;
}

HWND RendererWindow::Handle() const {
  std::lock_guard lock(m_presentLock);
  return m_hwnd;
}

bool RendererWindow::Present(const view::VideoFrame &frame) {
  std::lock_guard lock(m_presentLock);
  return m_hwnd && view::PresentVideoFrame(m_hwnd, frame);
}

RECT RendererWindow::Placement() const { return PlacementOf(Handle()); }

SIZE RendererWindow::WindowSizeFor(SIZE client) const {
  const HWND hwnd = Handle();
  return OuterSize(client, GetWindowLongW(hwnd, GWL_STYLE), GetWindowLongW(hwnd, GWL_EXSTYLE));
}

bool RendererWindow::SetOwner(HWND owner) {
  if (owner && !IsWindow(owner)) return false;
  if (owner == Owner()) return true;
  const HWND hwnd = Handle();
  return hwnd && SendMessageW(hwnd, kSetOwnerMessage, reinterpret_cast<WPARAM>(owner), 0) != 0;
}

HWND RendererWindow::Owner() const {
  std::lock_guard lock(m_stateLock);
  return m_owner;
}

void RendererWindow::BringToForeground(bool focus) {
  if (const HWND hwnd = Handle()) SendMessageW(hwnd, kForegroundMessage, focus ? TRUE : FALSE, 0);
}

void RendererWindow::SetMessageDrain(HWND drain) {
  std::lock_guard lock(m_stateLock);
  m_drain = drain;
}

HWND RendererWindow::MessageDrain() const {
  std::lock_guard lock(m_stateLock);
  return m_drain;
}

LRESULT CALLBACK RendererWindow::WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE) {
    const auto *create = reinterpret_cast<const CREATESTRUCTW *>(lParam);
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
  }
  auto *window = reinterpret_cast<RendererWindow *>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  return window ? window->OnMessage(hwnd, message, wParam, lParam) : DefWindowProcW(hwnd, message, wParam, lParam);
}

LRESULT RendererWindow::OnMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_CLOSE: OnUserClose(hwnd); return 0;
    case kSetOwnerMessage: return ReplaceWindow(hwnd, reinterpret_cast<HWND>(wParam));
    case kForegroundMessage:
      if (wParam) {
        SetForegroundWindow(hwnd);
      } else {
        SetWindowPos(hwnd, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
      }
      return 0;
    default: break;
  }
  if (IsInputMessage(message) && ForwardToDrain(message, wParam, lParam)) return 0;
  return DefWindowProcW(hwnd, message, wParam, lParam);
}

bool RendererWindow::ForwardToDrain(UINT message, WPARAM wParam, LPARAM lParam) const {
  const HWND drain = MessageDrain();
  return drain && PostMessageW(drain, message, wParam, lParam);
}

void RendererWindow::OnUserClose(HWND hwnd) {
  ShowWindow(hwnd, SW_HIDE);
  if (m_onClose) m_onClose();
}

// A new window in the old one's place, a child of the owner or top-level;
// the old one goes once pictures go to the new one.
LRESULT RendererWindow::ReplaceWindow(HWND current, HWND owner) {
  const DWORD style = GetWindowLongW(current, GWL_STYLE);
  const DWORD newStyle = owner ? (style | WS_CHILD) : (style & ~WS_CHILD);
  const HWND replacement = CreateRendererWindow(newStyle, GetWindowLongW(current, GWL_EXSTYLE),
                                                PlacementOf(current), owner, CaptionOf(current).c_str());
  if (!replacement) return FALSE;
  {
    std::lock_guard lock(m_presentLock);
    m_hwnd = replacement;
  }
  {
    std::lock_guard lock(m_stateLock);
    m_owner = owner;
  }
  if (style & WS_VISIBLE) ShowWindow(replacement, SW_SHOWNOACTIVATE);
  DestroyWindow(current);
  view::ClearVideoFrame(current);
  return TRUE;
}

}  // namespace platform::media
