// The filter graph manager's IVideoWindow: each call goes on to the video
// renderer's IVideoWindow.
#include "media/graph_video_window.h"

#include "media/filter_graph.h"

namespace platform::media {

HRESULT GraphVideoWindow::QueryInterface(REFIID riid, void **ppv) { return m_graph.QueryInterface(riid, ppv); }
ULONG GraphVideoWindow::AddRef() { return m_graph.AddRef(); }
ULONG GraphVideoWindow::Release() { return m_graph.Release(); }

HRESULT GraphVideoWindow::GetTypeInfoCount(UINT *pctinfo) { return m_graph.GetTypeInfoCount(pctinfo); }

HRESULT GraphVideoWindow::GetTypeInfo(UINT iTInfo, LCID lcid, ITypeInfo **ppTInfo) {
  return m_graph.GetTypeInfo(iTInfo, lcid, ppTInfo);
}

HRESULT GraphVideoWindow::GetIDsOfNames(REFIID riid, LPOLESTR *rgszNames, UINT cNames, LCID lcid, DISPID *rgDispId) {
  return m_graph.GetIDsOfNames(riid, rgszNames, cNames, lcid, rgDispId);
}

HRESULT GraphVideoWindow::Invoke(DISPID dispIdMember, REFIID riid, LCID lcid, WORD wFlags, DISPPARAMS *pDispParams,
                                 VARIANT *pVarResult, EXCEPINFO *pExcepInfo, UINT *puArgErr) {
  return m_graph.Invoke(dispIdMember, riid, lcid, wFlags, pDispParams, pVarResult, pExcepInfo, puArgErr);
}

com::ComPtr<IVideoWindow> GraphVideoWindow::FindRenderer() const {
  IEnumFilters *enumerator = nullptr;
  if (FAILED(m_graph.EnumFilters(&enumerator))) return {};
  com::ComPtr<IVideoWindow> found;
  IBaseFilter *filter = nullptr;
  while (!found && enumerator->Next(1, &filter, nullptr) == S_OK) {
    IVideoWindow *window = nullptr;
    if (SUCCEEDED(filter->QueryInterface(IID_IVideoWindow, reinterpret_cast<void **>(&window)))) {
      found = com::ComPtr<IVideoWindow>(window);
      window->Release();
    }
    filter->Release();
  }
  enumerator->Release();
  return found;
}

HRESULT GraphVideoWindow::put_Caption(BSTR v) { return Forward(&IVideoWindow::put_Caption, v); }
HRESULT GraphVideoWindow::get_Caption(BSTR *v) { return Forward(&IVideoWindow::get_Caption, v); }
HRESULT GraphVideoWindow::put_WindowStyle(LONG v) { return Forward(&IVideoWindow::put_WindowStyle, v); }
HRESULT GraphVideoWindow::get_WindowStyle(LONG *v) { return Forward(&IVideoWindow::get_WindowStyle, v); }
HRESULT GraphVideoWindow::put_WindowStyleEx(LONG v) { return Forward(&IVideoWindow::put_WindowStyleEx, v); }
HRESULT GraphVideoWindow::get_WindowStyleEx(LONG *v) { return Forward(&IVideoWindow::get_WindowStyleEx, v); }
HRESULT GraphVideoWindow::put_AutoShow(LONG v) { return Forward(&IVideoWindow::put_AutoShow, v); }
HRESULT GraphVideoWindow::get_AutoShow(LONG *v) { return Forward(&IVideoWindow::get_AutoShow, v); }
HRESULT GraphVideoWindow::put_WindowState(LONG v) { return Forward(&IVideoWindow::put_WindowState, v); }
HRESULT GraphVideoWindow::get_WindowState(LONG *v) { return Forward(&IVideoWindow::get_WindowState, v); }
HRESULT GraphVideoWindow::put_BackgroundPalette(LONG v) { return Forward(&IVideoWindow::put_BackgroundPalette, v); }
HRESULT GraphVideoWindow::get_BackgroundPalette(LONG *v) { return Forward(&IVideoWindow::get_BackgroundPalette, v); }
HRESULT GraphVideoWindow::put_Visible(LONG v) { return Forward(&IVideoWindow::put_Visible, v); }
HRESULT GraphVideoWindow::get_Visible(LONG *v) { return Forward(&IVideoWindow::get_Visible, v); }
HRESULT GraphVideoWindow::put_Left(LONG v) { return Forward(&IVideoWindow::put_Left, v); }
HRESULT GraphVideoWindow::get_Left(LONG *v) { return Forward(&IVideoWindow::get_Left, v); }
HRESULT GraphVideoWindow::put_Width(LONG v) { return Forward(&IVideoWindow::put_Width, v); }
HRESULT GraphVideoWindow::get_Width(LONG *v) { return Forward(&IVideoWindow::get_Width, v); }
HRESULT GraphVideoWindow::put_Top(LONG v) { return Forward(&IVideoWindow::put_Top, v); }
HRESULT GraphVideoWindow::get_Top(LONG *v) { return Forward(&IVideoWindow::get_Top, v); }
HRESULT GraphVideoWindow::put_Height(LONG v) { return Forward(&IVideoWindow::put_Height, v); }
HRESULT GraphVideoWindow::get_Height(LONG *v) { return Forward(&IVideoWindow::get_Height, v); }
HRESULT GraphVideoWindow::put_Owner(OAHWND v) { return Forward(&IVideoWindow::put_Owner, v); }
HRESULT GraphVideoWindow::get_Owner(OAHWND *v) { return Forward(&IVideoWindow::get_Owner, v); }
HRESULT GraphVideoWindow::put_MessageDrain(OAHWND v) { return Forward(&IVideoWindow::put_MessageDrain, v); }
HRESULT GraphVideoWindow::get_MessageDrain(OAHWND *v) { return Forward(&IVideoWindow::get_MessageDrain, v); }
HRESULT GraphVideoWindow::get_BorderColor(LONG *v) { return Forward(&IVideoWindow::get_BorderColor, v); }
HRESULT GraphVideoWindow::put_BorderColor(LONG v) { return Forward(&IVideoWindow::put_BorderColor, v); }
HRESULT GraphVideoWindow::get_FullScreenMode(LONG *v) { return Forward(&IVideoWindow::get_FullScreenMode, v); }
HRESULT GraphVideoWindow::put_FullScreenMode(LONG v) { return Forward(&IVideoWindow::put_FullScreenMode, v); }
HRESULT GraphVideoWindow::SetWindowForeground(LONG v) { return Forward(&IVideoWindow::SetWindowForeground, v); }
HRESULT GraphVideoWindow::HideCursor(LONG v) { return Forward(&IVideoWindow::HideCursor, v); }
HRESULT GraphVideoWindow::IsCursorHidden(LONG *v) { return Forward(&IVideoWindow::IsCursorHidden, v); }

HRESULT GraphVideoWindow::NotifyOwnerMessage(OAHWND hwnd, LONG uMsg, LONG_PTR wParam, LONG_PTR lParam) {
  return Forward(&IVideoWindow::NotifyOwnerMessage, hwnd, uMsg, wParam, lParam);
}

HRESULT GraphVideoWindow::SetWindowPosition(LONG Left, LONG Top, LONG Width, LONG Height) {
  return Forward(&IVideoWindow::SetWindowPosition, Left, Top, Width, Height);
}

HRESULT GraphVideoWindow::GetWindowPosition(LONG *pLeft, LONG *pTop, LONG *pWidth, LONG *pHeight) {
  return Forward(&IVideoWindow::GetWindowPosition, pLeft, pTop, pWidth, pHeight);
}

HRESULT GraphVideoWindow::GetMinIdealImageSize(LONG *pWidth, LONG *pHeight) {
  return Forward(&IVideoWindow::GetMinIdealImageSize, pWidth, pHeight);
}

HRESULT GraphVideoWindow::GetMaxIdealImageSize(LONG *pWidth, LONG *pHeight) {
  return Forward(&IVideoWindow::GetMaxIdealImageSize, pWidth, pHeight);
}

HRESULT GraphVideoWindow::GetRestorePosition(LONG *pLeft, LONG *pTop, LONG *pWidth, LONG *pHeight) {
  return Forward(&IVideoWindow::GetRestorePosition, pLeft, pTop, pWidth, pHeight);
}

}  // namespace platform::media
