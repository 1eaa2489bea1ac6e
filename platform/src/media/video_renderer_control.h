// The video renderer's IVideoWindow, on the renderer's window
// (video_renderer_window.h).
//
// It is a part of the renderer, not an object of its own: its IUnknown is
// the renderer's. Every method first answers VFW_E_NOT_CONNECTED while the
// renderer's input is not connected, then E_POINTER for a null out
// argument, E_INVALIDARG for a value the property does not take (a boolean
// other than OATRUE or OAFALSE, a style the window cannot be given, an owner
// that is not a window).
//
//   Position and size   the window's rectangle, in its owner's client area
//                       when it has one, on the screen otherwise; setting
//                       them never activates the window
//   Visible, AutoShow   AutoShow (on at first) shows the window when the
//                       renderer leaves the stopped state
//   WindowState         SW_ commands as ShowWindow takes them; minimized and
//                       maximized are kept as WS_MINIMIZE and WS_MAXIMIZE, a
//                       maximized window covering the work area (or its
//                       owner's client area), and GetRestorePosition gives the
//                       rectangle to go back to. get_WindowState gives
//                       SW_HIDE, SW_MINIMIZE, SW_MAXIMIZE or SW_SHOW
//   WindowStyle         WS_DISABLED, WS_HSCROLL, WS_VSCROLL, WS_MINIMIZE and
//                       WS_MAXIMIZE are refused; visibility and WS_CHILD stay
//                       as the window has them (WS_CHILD follows the owner)
//   Ideal image sizes   the video's display size; VFW_E_WRONG_STATE while
//                       the renderer is stopped
//   FullScreenMode      E_NOTIMPL: the renderer has no full-screen mode
//   BorderColor, BackgroundPalette, HideCursor  kept as values: the window
//                       always shows the whole picture, has no palette, and
//                       the screen view draws no cursor of its own
//   NotifyOwnerMessage  S_OK: none of the messages an owner passes on
//                       (palette and display changes) concerns this window
//   IDispatch           no type information: GetTypeInfoCount gives 0, the
//                       other methods E_NOTIMPL
// Any thread may call it. Its own lock guards its values and is held only
// briefly, never while the window is told anything.
#pragma once

#include <control.h>
#include <strmif.h>

#include <mutex>

#include "media/video_renderer_window.h"

namespace platform::media {

// What the window control asks of the renderer.
class VideoWindowHost {
 public:
  virtual bool IsInputConnected() const = 0;
  virtual FILTER_STATE FilterState() const = 0;
  // The display size of the connection's pictures.
  virtual SIZE VideoSize() const = 0;

 protected:
  ~VideoWindowHost() = default;
};

class VideoWindowControl final : public IVideoWindow {
 public:
  VideoWindowControl(IUnknown &owner, VideoWindowHost &host, RendererWindow &window);

  // Shows the window when AutoShow is on.
  void AutoShow();

  // IUnknown: the renderer's.
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void **ppv) override;
  ULONG STDMETHODCALLTYPE AddRef() override;
  ULONG STDMETHODCALLTYPE Release() override;

  // IDispatch
  HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT *pctinfo) override;
  HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT iTInfo, LCID lcid, ITypeInfo **ppTInfo) override;
  HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID riid, LPOLESTR *rgszNames, UINT cNames, LCID lcid,
                                          DISPID *rgDispId) override;
  HRESULT STDMETHODCALLTYPE Invoke(DISPID dispIdMember, REFIID riid, LCID lcid, WORD wFlags, DISPPARAMS *pDispParams,
                                   VARIANT *pVarResult, EXCEPINFO *pExcepInfo, UINT *puArgErr) override;

  // IVideoWindow
  HRESULT STDMETHODCALLTYPE put_Caption(BSTR strCaption) override;
  HRESULT STDMETHODCALLTYPE get_Caption(BSTR *strCaption) override;
  HRESULT STDMETHODCALLTYPE put_WindowStyle(LONG WindowStyle) override;
  HRESULT STDMETHODCALLTYPE get_WindowStyle(LONG *WindowStyle) override;
  HRESULT STDMETHODCALLTYPE put_WindowStyleEx(LONG WindowStyleEx) override;
  HRESULT STDMETHODCALLTYPE get_WindowStyleEx(LONG *WindowStyleEx) override;
  HRESULT STDMETHODCALLTYPE put_AutoShow(LONG AutoShow) override;
  HRESULT STDMETHODCALLTYPE get_AutoShow(LONG *AutoShow) override;
  HRESULT STDMETHODCALLTYPE put_WindowState(LONG WindowState) override;
  HRESULT STDMETHODCALLTYPE get_WindowState(LONG *WindowState) override;
  HRESULT STDMETHODCALLTYPE put_BackgroundPalette(LONG BackgroundPalette) override;
  HRESULT STDMETHODCALLTYPE get_BackgroundPalette(LONG *pBackgroundPalette) override;
  HRESULT STDMETHODCALLTYPE put_Visible(LONG Visible) override;
  HRESULT STDMETHODCALLTYPE get_Visible(LONG *pVisible) override;
  HRESULT STDMETHODCALLTYPE put_Left(LONG Left) override;
  HRESULT STDMETHODCALLTYPE get_Left(LONG *pLeft) override;
  HRESULT STDMETHODCALLTYPE put_Width(LONG Width) override;
  HRESULT STDMETHODCALLTYPE get_Width(LONG *pWidth) override;
  HRESULT STDMETHODCALLTYPE put_Top(LONG Top) override;
  HRESULT STDMETHODCALLTYPE get_Top(LONG *pTop) override;
  HRESULT STDMETHODCALLTYPE put_Height(LONG Height) override;
  HRESULT STDMETHODCALLTYPE get_Height(LONG *pHeight) override;
  HRESULT STDMETHODCALLTYPE put_Owner(OAHWND Owner) override;
  HRESULT STDMETHODCALLTYPE get_Owner(OAHWND *Owner) override;
  HRESULT STDMETHODCALLTYPE put_MessageDrain(OAHWND Drain) override;
  HRESULT STDMETHODCALLTYPE get_MessageDrain(OAHWND *Drain) override;
  HRESULT STDMETHODCALLTYPE get_BorderColor(LONG *Color) override;
  HRESULT STDMETHODCALLTYPE put_BorderColor(LONG Color) override;
  HRESULT STDMETHODCALLTYPE get_FullScreenMode(LONG *FullScreenMode) override;
  HRESULT STDMETHODCALLTYPE put_FullScreenMode(LONG FullScreenMode) override;
  HRESULT STDMETHODCALLTYPE SetWindowForeground(LONG Focus) override;
  HRESULT STDMETHODCALLTYPE NotifyOwnerMessage(OAHWND hwnd, LONG uMsg, LONG_PTR wParam, LONG_PTR lParam) override;
  HRESULT STDMETHODCALLTYPE SetWindowPosition(LONG Left, LONG Top, LONG Width, LONG Height) override;
  HRESULT STDMETHODCALLTYPE GetWindowPosition(LONG *pLeft, LONG *pTop, LONG *pWidth, LONG *pHeight) override;
  HRESULT STDMETHODCALLTYPE GetMinIdealImageSize(LONG *pWidth, LONG *pHeight) override;
  HRESULT STDMETHODCALLTYPE GetMaxIdealImageSize(LONG *pWidth, LONG *pHeight) override;
  HRESULT STDMETHODCALLTYPE GetRestorePosition(LONG *pLeft, LONG *pTop, LONG *pWidth, LONG *pHeight) override;
  HRESULT STDMETHODCALLTYPE HideCursor(LONG HideCursor) override;
  HRESULT STDMETHODCALLTYPE IsCursorHidden(LONG *CursorHidden) override;

 private:
  HRESULT Connected() const;
  HRESULT ReadPlacement(LONG RECT::*first, LONG RECT::*second, LONG *value, bool extent) const;
  HRESULT Move(LONG left, LONG top, LONG width, LONG height, UINT flags);
  HRESULT IdealImageSize(LONG *pWidth, LONG *pHeight) const;
  // The value behind a boolean property, after the usual checks.
  HRESULT PutBoolean(LONG value, bool &property);
  HRESULT GetBoolean(LONG *value, const bool &property) const;
  HRESULT PutLong(LONG value, LONG &property);
  HRESULT GetLong(LONG *value, const LONG &property) const;
  void Minimize();
  void Maximize();
  void Restore();
  void RememberRestorePosition();
  bool IsMinimizedOrMaximized() const;
  RECT MaximizedRect() const;

  IUnknown &m_owner;
  VideoWindowHost &m_host;
  RendererWindow &m_window;
  mutable std::mutex m_lock;
  bool m_autoShow = true;          // guarded by m_lock
  bool m_backgroundPalette = false;  // guarded by m_lock
  bool m_cursorHidden = false;     // guarded by m_lock
  LONG m_borderColor = 0;          // guarded by m_lock
  RECT m_restore{};                // guarded by m_lock: while minimized or maximized
};

}  // namespace platform::media
