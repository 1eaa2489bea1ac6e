// A video renderer that gives IVideoWindow and records the calls it gets.
#include "window_renderer.h"

#include <dshow.h>

namespace test_filters {
namespace {

// {6C2D4F3B-8E52-4F7C-AB10-3D9E2F5A7B14}
constexpr CLSID kWindowRendererClass = {0x6C2D4F3B, 0x8E52, 0x4F7C, {0xAB, 0x10, 0x3D, 0x9E, 0x2F, 0x5A, 0x7B, 0x14}};

}  // namespace

WindowRenderer *WindowRenderer::Create() { return new WindowRenderer(); }

WindowRenderer::WindowRenderer() : RendererFilter(kWindowRendererClass) {}

std::vector<std::string> WindowRenderer::Calls() const {
  std::lock_guard lock(m_lock);
  return m_calls;
}

LONG WindowRenderer::Property(const std::string &name) const {
  std::lock_guard lock(m_lock);
  const auto found = m_properties.find(name);
  return found == m_properties.end() ? 0 : found->second;
}

void WindowRenderer::SetProperty(const std::string &name, LONG value) {
  std::lock_guard lock(m_lock);
  m_properties[name] = value;
}

HRESULT WindowRenderer::QueryInterface(REFIID riid, void **ppv) {
  if (ppv && IsEqualIID(riid, IID_IVideoWindow)) {
    *ppv = static_cast<IVideoWindow *>(this);
    AddRef();
    return S_OK;
  }
  return RendererFilter::QueryInterface(riid, ppv);
}

ULONG WindowRenderer::AddRef() { return RendererFilter::AddRef(); }
ULONG WindowRenderer::Release() { return RendererFilter::Release(); }

HRESULT WindowRenderer::GetTypeInfoCount(UINT *pctinfo) {
  *pctinfo = 0;
  return S_OK;
}
HRESULT WindowRenderer::GetTypeInfo(UINT, LCID, ITypeInfo **) { return E_NOTIMPL; }
HRESULT WindowRenderer::GetIDsOfNames(REFIID, LPOLESTR *, UINT, LCID, DISPID *) { return E_NOTIMPL; }
HRESULT WindowRenderer::Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS *, VARIANT *, EXCEPINFO *, UINT *) {
  return E_NOTIMPL;
}

HRESULT WindowRenderer::CheckMediaType(const AM_MEDIA_TYPE &type) {
  return IsEqualGUID(type.majortype, MEDIATYPE_Video) ? S_OK : VFW_E_TYPE_NOT_ACCEPTED;
}

HRESULT WindowRenderer::DoRenderSample(IMediaSample *) { return S_OK; }

void WindowRenderer::Record(const std::string &call) {
  std::lock_guard lock(m_lock);
  m_calls.push_back(call);
}

HRESULT WindowRenderer::Put(const std::string &name, LONG value) {
  Record("put_" + name + "(" + std::to_string(value) + ")");
  SetProperty(name, value);
  return S_OK;
}

HRESULT WindowRenderer::Get(const std::string &name, LONG *value) {
  Record("get_" + name);
  if (!value) return E_POINTER;
  *value = Property(name);
  return S_OK;
}

HRESULT WindowRenderer::Refuse(const std::string &call) {
  Record(call);
  return E_NOTIMPL;
}

HRESULT WindowRenderer::put_Caption(BSTR) { return Refuse("put_Caption"); }
HRESULT WindowRenderer::get_Caption(BSTR *) { return Refuse("get_Caption"); }
HRESULT WindowRenderer::put_WindowStyle(LONG v) { return Put("WindowStyle", v); }
HRESULT WindowRenderer::get_WindowStyle(LONG *v) { return Get("WindowStyle", v); }
HRESULT WindowRenderer::put_WindowStyleEx(LONG v) { return Put("WindowStyleEx", v); }
HRESULT WindowRenderer::get_WindowStyleEx(LONG *v) { return Get("WindowStyleEx", v); }
HRESULT WindowRenderer::put_AutoShow(LONG v) { return Put("AutoShow", v); }
HRESULT WindowRenderer::get_AutoShow(LONG *v) { return Get("AutoShow", v); }
HRESULT WindowRenderer::put_WindowState(LONG v) { return Put("WindowState", v); }
HRESULT WindowRenderer::get_WindowState(LONG *v) { return Get("WindowState", v); }
HRESULT WindowRenderer::put_BackgroundPalette(LONG v) { return Put("BackgroundPalette", v); }
HRESULT WindowRenderer::get_BackgroundPalette(LONG *v) { return Get("BackgroundPalette", v); }
HRESULT WindowRenderer::put_Visible(LONG v) { return Put("Visible", v); }
HRESULT WindowRenderer::get_Visible(LONG *v) { return Get("Visible", v); }
HRESULT WindowRenderer::put_Left(LONG v) { return Put("Left", v); }
HRESULT WindowRenderer::get_Left(LONG *v) { return Get("Left", v); }
HRESULT WindowRenderer::put_Width(LONG v) { return Put("Width", v); }
HRESULT WindowRenderer::get_Width(LONG *v) { return Get("Width", v); }
HRESULT WindowRenderer::put_Top(LONG v) { return Put("Top", v); }
HRESULT WindowRenderer::get_Top(LONG *v) { return Get("Top", v); }
HRESULT WindowRenderer::put_Height(LONG v) { return Put("Height", v); }
HRESULT WindowRenderer::get_Height(LONG *v) { return Get("Height", v); }
HRESULT WindowRenderer::put_Owner(OAHWND) { return Refuse("put_Owner"); }
HRESULT WindowRenderer::get_Owner(OAHWND *) { return Refuse("get_Owner"); }
HRESULT WindowRenderer::put_MessageDrain(OAHWND) { return Refuse("put_MessageDrain"); }
HRESULT WindowRenderer::get_MessageDrain(OAHWND *) { return Refuse("get_MessageDrain"); }
HRESULT WindowRenderer::get_BorderColor(LONG *v) { return Get("BorderColor", v); }
HRESULT WindowRenderer::put_BorderColor(LONG v) { return Put("BorderColor", v); }
HRESULT WindowRenderer::get_FullScreenMode(LONG *v) { return Get("FullScreenMode", v); }
HRESULT WindowRenderer::put_FullScreenMode(LONG v) { return Put("FullScreenMode", v); }
HRESULT WindowRenderer::SetWindowForeground(LONG) { return Refuse("SetWindowForeground"); }
HRESULT WindowRenderer::NotifyOwnerMessage(OAHWND, LONG, LONG_PTR, LONG_PTR) { return Refuse("NotifyOwnerMessage"); }
HRESULT WindowRenderer::HideCursor(LONG) { return Refuse("HideCursor"); }
HRESULT WindowRenderer::IsCursorHidden(LONG *) { return Refuse("IsCursorHidden"); }

HRESULT WindowRenderer::SetWindowPosition(LONG left, LONG top, LONG width, LONG height) {
  Record("SetWindowPosition(" + std::to_string(left) + "," + std::to_string(top) + "," + std::to_string(width) + "," +
         std::to_string(height) + ")");
  SetProperty("Left", left);
  SetProperty("Top", top);
  SetProperty("Width", width);
  SetProperty("Height", height);
  return S_OK;
}

HRESULT WindowRenderer::GetWindowPosition(LONG *left, LONG *top, LONG *width, LONG *height) {
  Record("GetWindowPosition");
  *left = Property("Left");
  *top = Property("Top");
  *width = Property("Width");
  *height = Property("Height");
  return S_OK;
}

HRESULT WindowRenderer::GetMinIdealImageSize(LONG *, LONG *) { return Refuse("GetMinIdealImageSize"); }
HRESULT WindowRenderer::GetMaxIdealImageSize(LONG *, LONG *) { return Refuse("GetMaxIdealImageSize"); }
HRESULT WindowRenderer::GetRestorePosition(LONG *, LONG *, LONG *, LONG *) { return Refuse("GetRestorePosition"); }

}  // namespace test_filters
