// A video renderer for the graph manager's IVideoWindow tests: it gives
// IVideoWindow, keeps the window's LONG properties (position, size,
// visibility, styles, ...) as plain values, and records every call it gets
// as text, "put_Left(12)" or "get_Width", in order. Calls on the window's
// owner, caption, message drain and cursor are recorded and answered with
// E_NOTIMPL. Created with one reference, which the test holds.
#pragma once

#include <platform_filters/renderer_filter.h>

#include <control.h>

#include <map>
#include <mutex>
#include <string>
#include <vector>

#include "test_filters.h"

namespace test_filters {

class WindowRenderer final : public platform::media::RendererFilter, public IVideoWindow {
 public:
  static WindowRenderer *Create();
  std::vector<std::string> Calls() const;
  // The value a put_ call last set (0 before any).
  LONG Property(const std::string &name) const;
  void SetProperty(const std::string &name, LONG value);

  // IUnknown: those of the renderer and IVideoWindow.
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void **ppv) override;
  ULONG STDMETHODCALLTYPE AddRef() override;
  ULONG STDMETHODCALLTYPE Release() override;

  // IDispatch: no type information.
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
  platform::media::ServerObject m_serverObject{Server()};
  WindowRenderer();
  HRESULT CheckMediaType(const AM_MEDIA_TYPE &type) override;
  HRESULT DoRenderSample(IMediaSample *sample) override;

  HRESULT Put(const std::string &name, LONG value);
  HRESULT Get(const std::string &name, LONG *value);
  HRESULT Refuse(const std::string &call);
  void Record(const std::string &call);

  mutable std::mutex m_lock;
  std::map<std::string, LONG> m_properties;  // guarded by m_lock
  std::vector<std::string> m_calls;          // guarded by m_lock
};

}  // namespace test_filters
