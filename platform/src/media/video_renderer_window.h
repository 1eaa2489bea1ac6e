// The video renderer's window and the thread that owns it.
//
// The window is a platform window of the renderer's own class: top-level,
// with caption, system menu, sizing frame and the minimize and maximize
// boxes, created hidden. It belongs to a thread of its own that runs its
// message loop from construction to destruction, so the window answers
// whichever threads the application and the streaming use: they change it
// through the Windows API (SetWindowPos and the like send it messages, which
// that thread processes). Nothing here activates the window from another
// thread: activation belongs to the thread that owns a window.
//
// Closing it (the close box, WM_CLOSE) only hides it and calls the close
// handler, on the window's thread; the window lives until the object goes.
// With a message drain set, the mouse and keyboard messages the window
// receives are posted to the drain instead.
//
// Owner. A window with an owner is a child window of it (WS_CHILD, its
// position in the owner's client area); without one it is top-level again.
// The platform makes a window a child only when it creates it, so a change
// of owner replaces the window with a new one of the same caption, styles,
// position and visibility: Handle() then gives the new window, which shows
// no picture until the next one is presented.
//
// Frames. Present shows a picture in the window (view/video_surface.h).
// Presenting, replacing and destroying the window take the presentation
// lock, so no picture reaches a window that is gone, and the window's last
// picture is dropped with it.
#pragma once

#include <windows.h>

#include <functional>
#include <future>
#include <mutex>
#include <thread>

#include "view/video_surface.h"

namespace platform::media {

class RendererWindow {
 public:
  // The caption a new window has.
  static constexpr wchar_t kDefaultCaption[] = L"Video Renderer";

  // Called on the window's thread when the user closes the window.
  using CloseHandler = std::function<void()>;

  // Returns once the window exists.
  explicit RendererWindow(CloseHandler onClose);
  // Destroys the window on its thread and ends the thread.
  ~RendererWindow();
  RendererWindow(const RendererWindow &) = delete;
  RendererWindow &operator=(const RendererWindow &) = delete;

  // Null if the window could not be created or was destroyed by its owner.
  HWND Handle() const;
  bool Present(const view::VideoFrame &frame);

  // The window's outer size for a client area of that size, with its styles now.
  SIZE WindowSizeFor(SIZE client) const;
  // The window's rectangle: in its owner's client area, or on the screen.
  RECT Placement() const;

  // Null: top-level. False when owner is not a window.
  bool SetOwner(HWND owner);
  HWND Owner() const;

  // The window becomes the foreground window, activated on its own thread;
  // with focus, it also takes the keyboard focus.
  void BringToForeground(bool focus);

  void SetMessageDrain(HWND drain);
  HWND MessageDrain() const;

 private:
  static LRESULT CALLBACK WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT OnMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
  void Run(std::promise<HWND> created);
  bool ForwardToDrain(UINT message, WPARAM wParam, LPARAM lParam) const;
  HWND CreateRendererWindow(DWORD style, DWORD exStyle, const RECT &rect, HWND parent, const wchar_t *caption);
  LRESULT ReplaceWindow(HWND current, HWND owner);
  void DestroyCurrentWindow();
  void OnUserClose(HWND hwnd);

  const CloseHandler m_onClose;
  mutable std::mutex m_presentLock;
  HWND m_hwnd = nullptr;  // guarded by m_presentLock; changed on the window's thread only
  mutable std::mutex m_stateLock;
  HWND m_owner = nullptr;  // guarded by m_stateLock
  HWND m_drain = nullptr;  // guarded by m_stateLock
  DWORD m_threadId = 0;
  std::thread m_thread;
};

}  // namespace platform::media
