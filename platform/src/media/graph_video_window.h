// The filter graph manager's IVideoWindow. Every call goes on to the video
// renderer's own IVideoWindow: the first filter of the graph, in the
// graph's enumeration order, that gives the interface. The renderer is
// looked up at each call, so that one added or removed later is followed;
// with none in the graph, each call fails with E_NOINTERFACE and leaves its
// out arguments alone.
//
// It is a part of the graph manager, not an object of its own: its
// IUnknown and IDispatch are the graph's, and it lives as long as the graph.
// It takes no lock of its own; the renderer is called without the graph's.
#pragma once

#include <control.h>

#include "com/com_object.h"

namespace platform::media {

class FilterGraph;

class GraphVideoWindow final : public IVideoWindow {
 public:
  explicit GraphVideoWindow(FilterGraph &graph) : m_graph(graph) {}

  // IUnknown and IDispatch: the graph's.
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void **ppv) override;
  ULONG STDMETHODCALLTYPE AddRef() override;
  ULONG STDMETHODCALLTYPE Release() override;
  HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT *pctinfo) override;
  HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT iTInfo, LCID lcid, ITypeInfo **ppTInfo) override;
  HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID riid, LPOLESTR *rgszNames, UINT cNames, LCID lcid,
                                          DISPID *rgDispId) override;
  HRESULT STDMETHODCALLTYPE Invoke(DISPID dispIdMember, REFIID riid, LCID lcid, WORD wFlags, DISPPARAMS *pDispParams,
                                   VARIANT *pVarResult, EXCEPINFO *pExcepInfo, UINT *puArgErr) override;

  // IVideoWindow: the renderer's.
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
  // Null when no filter of the graph gives IVideoWindow.
  com::ComPtr<IVideoWindow> FindRenderer() const;

  // Calls the method on the renderer's IVideoWindow.
  template <typename... Parameters, typename... Arguments>
  HRESULT Forward(HRESULT (STDMETHODCALLTYPE IVideoWindow::*method)(Parameters...), Arguments... arguments) const {
    const com::ComPtr<IVideoWindow> renderer = FindRenderer();
    if (!renderer) return E_NOINTERFACE;
    return (renderer.Get()->*method)(arguments...);
  }

  FilterGraph &m_graph;
};

}  // namespace platform::media
