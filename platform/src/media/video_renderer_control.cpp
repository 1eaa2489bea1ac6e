// The video renderer's IVideoWindow.
#include "media/video_renderer_control.h"

#include <oleauto.h>
#include <vfwmsgs.h>

#include <string>

namespace platform::media {
namespace {

// Styles a video window cannot be given: its state belongs to WindowState,
// its size to the position methods.
constexpr DWORD kRefusedStyles = WS_DISABLED | WS_HSCROLL | WS_VSCROLL | WS_MINIMIZE | WS_MAXIMIZE;
// Styles that stay as the window has them.
constexpr DWORD kKeptStyles = WS_VISIBLE | WS_CHILD | WS_MINIMIZE | WS_MAXIMIZE;
constexpr UINT kQuietly = SWP_NOZORDER | SWP_NOACTIVATE;

bool IsAutomationBoolean(LONG value) { return value == OATRUE || value == OAFALSE; }

DWORD StyleOf(HWND hwnd) { return static_cast<DWORD>(GetWindowLongW(hwnd, GWL_STYLE)); }

void SetStyleBits(HWND hwnd, DWORD set, DWORD cleared) {
  SetWindowLongW(hwnd, GWL_STYLE, static_cast<LONG>((StyleOf(hwnd) & ~cleared) | set));
}

void Place(HWND hwnd, const RECT &rect) {
  SetWindowPos(hwnd, nullptr, rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top, kQuietly);
}

}  // namespace

VideoWindowControl::VideoWindowControl(IUnknown &owner, VideoWindowHost &host, RendererWindow &window)
    : m_owner(owner), m_host(host), m_window(window) {}

void VideoWindowControl::AutoShow() {
  {
    std::lock_guard lock(m_lock);
    if (!m_autoShow) return;
  }
  const HWND hwnd = m_window.Handle();
  if (hwnd && !IsWindowVisible(hwnd)) ShowWindow(hwnd, SW_SHOWNOACTIVATE);
}

HRESULT VideoWindowControl::QueryInterface(REFIID riid, void **ppv) { return m_owner.QueryInterface(riid, ppv); }
ULONG VideoWindowControl::AddRef() { return m_owner.AddRef(); }
ULONG VideoWindowControl::Release() { return m_owner.Release(); }

HRESULT VideoWindowControl::GetTypeInfoCount(UINT *pctinfo) {
  if (!pctinfo) return E_POINTER;
  *pctinfo = 0;
  return S_OK;
}
HRESULT VideoWindowControl::GetTypeInfo(UINT, LCID, ITypeInfo **) { return E_NOTIMPL; }
HRESULT VideoWindowControl::GetIDsOfNames(REFIID, LPOLESTR *, UINT, LCID, DISPID *) { return E_NOTIMPL; }
HRESULT VideoWindowControl::Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS *, VARIANT *, EXCEPINFO *, UINT *) {
  return E_NOTIMPL;
}

HRESULT VideoWindowControl::Connected() const {
  return m_host.IsInputConnected() ? S_OK : VFW_E_NOT_CONNECTED;
}

HRESULT VideoWindowControl::PutBoolean(LONG value, bool &property) {
  if (const HRESULT hr = Connected(); FAILED(hr)) return hr;
  if (!IsAutomationBoolean(value)) return E_INVALIDARG;
  std::lock_guard lock(m_lock);
  property = value == OATRUE;
  return S_OK;
}

HRESULT VideoWindowControl::GetBoolean(LONG *value, const bool &property) const {
  if (const HRESULT hr = Connected(); FAILED(hr)) return hr;
  if (!value) return E_POINTER;
  std::lock_guard lock(m_lock);
  *value = property ? OATRUE : OAFALSE;
  return S_OK;
}

HRESULT VideoWindowControl::PutLong(LONG value, LONG &property) {
  if (const HRESULT hr = Connected(); FAILED(hr)) return hr;
  std::lock_guard lock(m_lock);
  property = value;
  return S_OK;
}

HRESULT VideoWindowControl::GetLong(LONG *value, const LONG &property) const {
  if (const HRESULT hr = Connected(); FAILED(hr)) return hr;
  if (!value) return E_POINTER;
  std::lock_guard lock(m_lock);
  *value = property;
  return S_OK;
}

HRESULT VideoWindowControl::put_Caption(BSTR strCaption) {
  if (const HRESULT hr = Connected(); FAILED(hr)) return hr;
  return SetWindowTextW(m_window.Handle(), strCaption ? strCaption : L"") ? S_OK : E_FAIL;
}

HRESULT VideoWindowControl::get_Caption(BSTR *strCaption) {
  if (const HRESULT hr = Connected(); FAILED(hr)) return hr;
  if (!strCaption) return E_POINTER;
  const HWND hwnd = m_window.Handle();
  std::wstring caption(static_cast<size_t>(GetWindowTextLengthW(hwnd)) + 1, L'\0');
  caption.resize(static_cast<size_t>(GetWindowTextW(hwnd, caption.data(), static_cast<int>(caption.size()))));
  *strCaption = SysAllocString(caption.c_str());
  return *strCaption ? S_OK : E_OUTOFMEMORY;
}

HRESULT VideoWindowControl::put_WindowStyle(LONG WindowStyle) {
  if (const HRESULT hr = Connected(); FAILED(hr)) return hr;
  const DWORD style = static_cast<DWORD>(WindowStyle);
  if (style & kRefusedStyles) return E_INVALIDARG;
  const HWND hwnd = m_window.Handle();
  SetWindowLongW(hwnd, GWL_STYLE, static_cast<LONG>((style & ~kKeptStyles) | (StyleOf(hwnd) & kKeptStyles)));
  return S_OK;
}

HRESULT VideoWindowControl::get_WindowStyle(LONG *WindowStyle) {
  if (const HRESULT hr = Connected(); FAILED(hr)) return hr;
  if (!WindowStyle) return E_POINTER;
  *WindowStyle = GetWindowLongW(m_window.Handle(), GWL_STYLE);
  return S_OK;
}

HRESULT VideoWindowControl::put_WindowStyleEx(LONG WindowStyleEx) {
  if (const HRESULT hr = Connected(); FAILED(hr)) return hr;
  SetWindowLongW(m_window.Handle(), GWL_EXSTYLE, WindowStyleEx);
  return S_OK;
}

HRESULT VideoWindowControl::get_WindowStyleEx(LONG *WindowStyleEx) {
  if (const HRESULT hr = Connected(); FAILED(hr)) return hr;
  if (!WindowStyleEx) return E_POINTER;
  *WindowStyleEx = GetWindowLongW(m_window.Handle(), GWL_EXSTYLE);
  return S_OK;
}

HRESULT VideoWindowControl::put_AutoShow(LONG AutoShow) { return PutBoolean(AutoShow, m_autoShow); }
HRESULT VideoWindowControl::get_AutoShow(LONG *AutoShow) { return GetBoolean(AutoShow, m_autoShow); }

HRESULT VideoWindowControl::put_WindowState(LONG WindowState) {
  if (const HRESULT hr = Connected(); FAILED(hr)) return hr;
  switch (WindowState) {
    case SW_HIDE: ShowWindow(m_window.Handle(), SW_HIDE); return S_OK;
    case SW_SHOWNORMAL:
    case SW_RESTORE:
    case SW_SHOWDEFAULT: Restore(); break;
    case SW_SHOWMINIMIZED:
    case SW_MINIMIZE:
    case SW_SHOWMINNOACTIVE: Minimize(); break;
    case SW_SHOWMAXIMIZED: Maximize(); break;
    case SW_SHOWNOACTIVATE:
    case SW_SHOW:
    case SW_SHOWNA: break;
    default: return E_INVALIDARG;
  }
  ShowWindow(m_window.Handle(), SW_SHOWNOACTIVATE);
  return S_OK;
}

HRESULT VideoWindowControl::get_WindowState(LONG *WindowState) {
  if (const HRESULT hr = Connected(); FAILED(hr)) return hr;
  if (!WindowState) return E_POINTER;
  const DWORD style = StyleOf(m_window.Handle());
  if (!(style & WS_VISIBLE)) {
    *WindowState = SW_HIDE;
  } else if (style & WS_MINIMIZE) {
    *WindowState = SW_MINIMIZE;
  } else {
    *WindowState = (style & WS_MAXIMIZE) ? SW_MAXIMIZE : SW_SHOW;
  }
  return S_OK;
}

bool VideoWindowControl::IsMinimizedOrMaximized() const {
  return StyleOf(m_window.Handle()) & (WS_MINIMIZE | WS_MAXIMIZE);
}

void VideoWindowControl::RememberRestorePosition() {
  if (IsMinimizedOrMaximized()) return;
  const RECT placement = m_window.Placement();
  std::lock_guard lock(m_lock);
  m_restore = placement;
}

// A minimized window keeps its place: the screen view has no icons to show.
void VideoWindowControl::Minimize() {
  RememberRestorePosition();
  SetStyleBits(m_window.Handle(), WS_MINIMIZE, WS_MAXIMIZE);
}

void VideoWindowControl::Maximize() {
  RememberRestorePosition();
  const HWND hwnd = m_window.Handle();
  SetStyleBits(hwnd, WS_MAXIMIZE, WS_MINIMIZE);
  Place(hwnd, MaximizedRect());
}

void VideoWindowControl::Restore() {
  if (!IsMinimizedOrMaximized()) return;
  const HWND hwnd = m_window.Handle();
  SetStyleBits(hwnd, 0, WS_MINIMIZE | WS_MAXIMIZE);
  RECT restore{};
  {
    std::lock_guard lock(m_lock);
    restore = m_restore;
  }
  Place(hwnd, restore);
}

RECT VideoWindowControl::MaximizedRect() const {
  RECT rect{};
  if (const HWND owner = m_window.Owner()) {
    GetClientRect(owner, &rect);
  } else {
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &rect, 0);
  }
  return rect;
}

HRESULT VideoWindowControl::put_BackgroundPalette(LONG BackgroundPalette) {
  return PutBoolean(BackgroundPalette, m_backgroundPalette);
}
HRESULT VideoWindowControl::get_BackgroundPalette(LONG *pBackgroundPalette) {
  return GetBoolean(pBackgroundPalette, m_backgroundPalette);
}

HRESULT VideoWindowControl::put_Visible(LONG Visible) {
  if (const HRESULT hr = Connected(); FAILED(hr)) return hr;
  if (!IsAutomationBoolean(Visible)) return E_INVALIDARG;
  ShowWindow(m_window.Handle(), Visible == OATRUE ? SW_SHOWNOACTIVATE : SW_HIDE);
  return S_OK;
}

HRESULT VideoWindowControl::get_Visible(LONG *pVisible) {
  if (const HRESULT hr = Connected(); FAILED(hr)) return hr;
  if (!pVisible) return E_POINTER;
  *pVisible = IsWindowVisible(m_window.Handle()) ? OATRUE : OAFALSE;
  return S_OK;
}

HRESULT VideoWindowControl::ReadPlacement(LONG RECT::*first, LONG RECT::*second, LONG *value, bool extent) const {
  if (const HRESULT hr = Connected(); FAILED(hr)) return hr;
  if (!value) return E_POINTER;
  const RECT placement = m_window.Placement();
  *value = extent ? placement.*second - placement.*first : placement.*first;
  return S_OK;
}

HRESULT VideoWindowControl::Move(LONG left, LONG top, LONG width, LONG height, UINT flags) {
  if (const HRESULT hr = Connected(); FAILED(hr)) return hr;
  return SetWindowPos(m_window.Handle(), nullptr, left, top, width, height, flags | kQuietly) ? S_OK : E_FAIL;
}

HRESULT VideoWindowControl::put_Left(LONG Left) {
  const RECT placement = m_window.Placement();
  return Move(Left, placement.top, 0, 0, SWP_NOSIZE);
}
HRESULT VideoWindowControl::get_Left(LONG *pLeft) { return ReadPlacement(&RECT::left, &RECT::right, pLeft, false); }

HRESULT VideoWindowControl::put_Top(LONG Top) {
  const RECT placement = m_window.Placement();
  return Move(placement.left, Top, 0, 0, SWP_NOSIZE);
}
HRESULT VideoWindowControl::get_Top(LONG *pTop) { return ReadPlacement(&RECT::top, &RECT::bottom, pTop, false); }

HRESULT VideoWindowControl::put_Width(LONG Width) {
  const RECT placement = m_window.Placement();
  return Move(0, 0, Width, placement.bottom - placement.top, SWP_NOMOVE);
}
HRESULT VideoWindowControl::get_Width(LONG *pWidth) {
  return ReadPlacement(&RECT::left, &RECT::right, pWidth, true);
}

HRESULT VideoWindowControl::put_Height(LONG Height) {
  const RECT placement = m_window.Placement();
  return Move(0, 0, placement.right - placement.left, Height, SWP_NOMOVE);
}
HRESULT VideoWindowControl::get_Height(LONG *pHeight) {
  return ReadPlacement(&RECT::top, &RECT::bottom, pHeight, true);
}

HRESULT VideoWindowControl::SetWindowPosition(LONG Left, LONG Top, LONG Width, LONG Height) {
  return Move(Left, Top, Width, Height, 0);
}

HRESULT VideoWindowControl::GetWindowPosition(LONG *pLeft, LONG *pTop, LONG *pWidth, LONG *pHeight) {
  if (const HRESULT hr = Connected(); FAILED(hr)) return hr;
  if (!pLeft || !pTop || !pWidth || !pHeight) return E_POINTER;
  const RECT placement = m_window.Placement();
  *pLeft = placement.left;
  *pTop = placement.top;
  *pWidth = placement.right - placement.left;
  *pHeight = placement.bottom - placement.top;
  return S_OK;
}

HRESULT VideoWindowControl::GetRestorePosition(LONG *pLeft, LONG *pTop, LONG *pWidth, LONG *pHeight) {
  if (const HRESULT hr = Connected(); FAILED(hr)) return hr;
  if (!pLeft || !pTop || !pWidth || !pHeight) return E_POINTER;
  RECT restore = m_window.Placement();
  if (IsMinimizedOrMaximized()) {
    std::lock_guard lock(m_lock);
    restore = m_restore;
  }
  *pLeft = restore.left;
  *pTop = restore.top;
  *pWidth = restore.right - restore.left;
  *pHeight = restore.bottom - restore.top;
  return S_OK;
}

HRESULT VideoWindowControl::put_Owner(OAHWND Owner) {
  if (const HRESULT hr = Connected(); FAILED(hr)) return hr;
  return m_window.SetOwner(reinterpret_cast<HWND>(Owner)) ? S_OK : E_INVALIDARG;
}

HRESULT VideoWindowControl::get_Owner(OAHWND *Owner) {
  if (const HRESULT hr = Connected(); FAILED(hr)) return hr;
  if (!Owner) return E_POINTER;
  *Owner = reinterpret_cast<OAHWND>(m_window.Owner());
  return S_OK;
}

HRESULT VideoWindowControl::put_MessageDrain(OAHWND Drain) {
  if (const HRESULT hr = Connected(); FAILED(hr)) return hr;
  m_window.SetMessageDrain(reinterpret_cast<HWND>(Drain));
  return S_OK;
}

HRESULT VideoWindowControl::get_MessageDrain(OAHWND *Drain) {
  if (const HRESULT hr = Connected(); FAILED(hr)) return hr;
  if (!Drain) return E_POINTER;
  *Drain = reinterpret_cast<OAHWND>(m_window.MessageDrain());
  return S_OK;
}

HRESULT VideoWindowControl::get_BorderColor(LONG *Color) { return GetLong(Color, m_borderColor); }
HRESULT VideoWindowControl::put_BorderColor(LONG Color) { return PutLong(Color, m_borderColor); }

HRESULT VideoWindowControl::get_FullScreenMode(LONG *FullScreenMode) {
  if (const HRESULT hr = Connected(); FAILED(hr)) return hr;
  return FullScreenMode ? E_NOTIMPL : E_POINTER;
}

HRESULT VideoWindowControl::put_FullScreenMode(LONG) { return E_NOTIMPL; }

HRESULT VideoWindowControl::SetWindowForeground(LONG Focus) {
  if (const HRESULT hr = Connected(); FAILED(hr)) return hr;
  if (!IsAutomationBoolean(Focus)) return E_INVALIDARG;
  m_window.BringToForeground(Focus == OATRUE);
  return S_OK;
}

HRESULT VideoWindowControl::NotifyOwnerMessage(OAHWND, LONG, LONG_PTR, LONG_PTR) { return Connected(); }

HRESULT VideoWindowControl::IdealImageSize(LONG *pWidth, LONG *pHeight) const {
  if (const HRESULT hr = Connected(); FAILED(hr)) return hr;
  if (!pWidth || !pHeight) return E_POINTER;
  if (m_host.FilterState() == State_Stopped) return VFW_E_WRONG_STATE;
  const SIZE size = m_host.VideoSize();
  *pWidth = size.cx;
  *pHeight = size.cy;
  return S_OK;
}

HRESULT VideoWindowControl::GetMinIdealImageSize(LONG *pWidth, LONG *pHeight) {
  return IdealImageSize(pWidth, pHeight);
}
HRESULT VideoWindowControl::GetMaxIdealImageSize(LONG *pWidth, LONG *pHeight) {
  return IdealImageSize(pWidth, pHeight);
}

HRESULT VideoWindowControl::HideCursor(LONG HideCursor) { return PutBoolean(HideCursor, m_cursorHidden); }
HRESULT VideoWindowControl::IsCursorHidden(LONG *CursorHidden) { return GetBoolean(CursorHidden, m_cursorHidden); }

}  // namespace platform::media
