// The filter graph manager for the graph controller's tests. It gives the
// interfaces the controller asks a graph for (IGraphBuilder, IMediaControl,
// IMediaEvent and IMediaEventEx, IMediaSeeking, IVideoWindow), any of which a
// test can withhold; it records the calls it receives, in order, as text;
// and it answers with values and results the test sets. It counts its
// references and never deletes itself. What the controller never calls
// answers E_NOTIMPL.
#pragma once

#include <dshow.h>

#include <deque>
#include <string>
#include <vector>

#include "fake_filters.h"

namespace testing_support {

class FakeGraph : public IGraphBuilder,
                  public IMediaControl,
                  public IMediaEventEx,
                  public IMediaSeeking,
                  public IVideoWindow {
 public:
  struct Event {
    LONG code;
    LONG_PTR param1;
    LONG_PTR param2;
  };

  // Makes QueryInterface refuse the interface.
  void Withhold(REFIID riid) { withheld.push_back(riid); }

  // IUnknown
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void **ppv) override {
    *ppv = InterfaceFor(riid);
    if (!*ppv) return E_NOINTERFACE;
    AddRef();
    return S_OK;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return ++references; }
  ULONG STDMETHODCALLTYPE Release() override { return --references; }

  // IFilterGraph
  HRESULT STDMETHODCALLTYPE EnumFilters(IEnumFilters **ppEnum) override {
    *ppEnum = filters.Start();
    return S_OK;
  }

  // IMediaControl
  HRESULT STDMETHODCALLTYPE Run() override { return Control("Run"); }
  HRESULT STDMETHODCALLTYPE Pause() override { return Control("Pause"); }
  HRESULT STDMETHODCALLTYPE Stop() override { return Control("Stop"); }

  // IMediaEvent, IMediaEventEx
  HRESULT STDMETHODCALLTYPE GetEvent(LONG *lEventCode, LONG_PTR *lParam1, LONG_PTR *lParam2,
                                     LONG msTimeout) override {
    calls.push_back("GetEvent(" + std::to_string(msTimeout) + " ms)");
    if (events.empty()) return E_ABORT;  // the time-out result
    *lEventCode = events.front().code;
    *lParam1 = events.front().param1;
    *lParam2 = events.front().param2;
    events.pop_front();
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE FreeEventParams(LONG lEvCode, LONG_PTR lParam1, LONG_PTR lParam2) override {
    calls.push_back("FreeEventParams(" + std::to_string(lEvCode) + ", " + std::to_string(lParam1) + ", " +
                    std::to_string(lParam2) + ")");
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE SetNotifyWindow(OAHWND hwnd, LONG lMsg, LONG_PTR lInstanceData) override {
    calls.push_back("SetNotifyWindow(" + std::to_string(hwnd) + ", " + std::to_string(lMsg) + ", " +
                    std::to_string(lInstanceData) + ")");
    return S_OK;
  }

  // IMediaSeeking. A result other than S_OK leaves the out values alone.
  HRESULT STDMETHODCALLTYPE GetDuration(LONGLONG *pDuration) override {
    calls.push_back("GetDuration");
    if (durationResult == S_OK) *pDuration = duration;
    return durationResult;
  }
  HRESULT STDMETHODCALLTYPE GetCurrentPosition(LONGLONG *pCurrent) override {
    calls.push_back("GetCurrentPosition");
    if (positionResult == S_OK) *pCurrent = current;
    return positionResult;
  }
  HRESULT STDMETHODCALLTYPE GetAvailable(LONGLONG *pEarliest, LONGLONG *pLatest) override {
    calls.push_back("GetAvailable");
    if (availableResult == S_OK) {
      *pEarliest = earliest;
      *pLatest = latest;
    }
    return availableResult;
  }
  HRESULT STDMETHODCALLTYPE SetPositions(LONGLONG *pCurrent, DWORD dwCurrentFlags, LONGLONG *pStop,
                                         DWORD dwStopFlags) override {
    calls.push_back("SetPositions(" + Position(pCurrent) + ", " + std::to_string(dwCurrentFlags) + ", " +
                    Position(pStop) + ", " + std::to_string(dwStopFlags) + ")");
    if ((dwCurrentFlags & AM_SEEKING_PositioningBitsMask) == AM_SEEKING_AbsolutePositioning) current = *pCurrent;
    if ((dwStopFlags & AM_SEEKING_PositioningBitsMask) == AM_SEEKING_AbsolutePositioning) stop = *pStop;
    return setPositionsResult;
  }

  // IVideoWindow. A failing read writes nothing.
  HRESULT STDMETHODCALLTYPE get_Height(LONG *pHeight) override {
    return ReadWindow("get_Height", videoHeight, pHeight);
  }
  HRESULT STDMETHODCALLTYPE get_Width(LONG *pWidth) override { return ReadWindow("get_Width", videoWidth, pWidth); }
  HRESULT STDMETHODCALLTYPE put_Top(LONG Top) override { return WriteWindow("put_Top", Top); }
  HRESULT STDMETHODCALLTYPE put_Left(LONG Left) override { return WriteWindow("put_Left", Left); }
  HRESULT STDMETHODCALLTYPE put_Visible(LONG Visible) override { return WriteWindow("put_Visible", Visible); }

  ULONG references = 1;
  std::vector<IID> withheld;
  std::vector<std::string> calls;
  FakeEnumerator<IEnumFilters, IBaseFilter> filters;
  HRESULT controlResult = S_OK;  // of Run, Pause and Stop
  std::deque<Event> events;
  LONGLONG duration = 0;
  HRESULT durationResult = S_OK;
  LONGLONG current = 0;
  HRESULT positionResult = S_OK;
  LONGLONG stop = 0;
  HRESULT setPositionsResult = S_OK;
  LONGLONG earliest = 0;
  LONGLONG latest = 0;
  HRESULT availableResult = S_OK;
  LONG videoWidth = 0;
  LONG videoHeight = 0;
  HRESULT videoWindowResult = S_OK;  // of every IVideoWindow call

  // Not used by the controller.
  HRESULT STDMETHODCALLTYPE AddFilter(IBaseFilter *, LPCWSTR) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE RemoveFilter(IBaseFilter *) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE FindFilterByName(LPCWSTR, IBaseFilter **) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE ConnectDirect(IPin *, IPin *, const AM_MEDIA_TYPE *) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE Reconnect(IPin *) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE Disconnect(IPin *) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE SetDefaultSyncSource() override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE Connect(IPin *, IPin *) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE Render(IPin *) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE RenderFile(LPCWSTR, LPCWSTR) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE AddSourceFilter(LPCWSTR, LPCWSTR, IBaseFilter **) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE SetLogFile(DWORD_PTR) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE Abort() override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE ShouldOperationContinue() override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT *) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo **) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR *, UINT, LCID, DISPID *) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS *, VARIANT *, EXCEPINFO *,
                                   UINT *) override {
    return E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE GetState(LONG, OAFilterState *) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE RenderFile(BSTR) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE AddSourceFilter(BSTR, IDispatch **) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE get_FilterCollection(IDispatch **) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE get_RegFilterCollection(IDispatch **) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE StopWhenReady() override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetEventHandle(OAEVENT *) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE WaitForCompletion(LONG, LONG *) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE CancelDefaultHandling(LONG) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE RestoreDefaultHandling(LONG) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE SetNotifyFlags(LONG) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetNotifyFlags(LONG *) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetCapabilities(DWORD *) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE CheckCapabilities(DWORD *) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE IsFormatSupported(const GUID *) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE QueryPreferredFormat(GUID *) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetTimeFormat(GUID *) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE IsUsingTimeFormat(const GUID *) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE SetTimeFormat(const GUID *) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetStopPosition(LONGLONG *) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE ConvertTimeFormat(LONGLONG *, const GUID *, LONGLONG, const GUID *) override {
    return E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE GetPositions(LONGLONG *, LONGLONG *) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE SetRate(double) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetRate(double *) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetPreroll(LONGLONG *) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE put_Caption(BSTR) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE get_Caption(BSTR *) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE put_WindowStyle(LONG) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE get_WindowStyle(LONG *) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE put_WindowStyleEx(LONG) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE get_WindowStyleEx(LONG *) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE put_AutoShow(LONG) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE get_AutoShow(LONG *) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE put_WindowState(LONG) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE get_WindowState(LONG *) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE put_BackgroundPalette(LONG) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE get_BackgroundPalette(LONG *) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE get_Visible(LONG *) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE get_Left(LONG *) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE put_Width(LONG) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE get_Top(LONG *) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE put_Height(LONG) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE put_Owner(OAHWND) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE get_Owner(OAHWND *) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE put_MessageDrain(OAHWND) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE get_MessageDrain(OAHWND *) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE get_BorderColor(LONG *) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE put_BorderColor(LONG) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE get_FullScreenMode(LONG *) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE put_FullScreenMode(LONG) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE SetWindowForeground(LONG) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE NotifyOwnerMessage(OAHWND, LONG, LONG_PTR, LONG_PTR) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE SetWindowPosition(LONG, LONG, LONG, LONG) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetWindowPosition(LONG *, LONG *, LONG *, LONG *) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetMinIdealImageSize(LONG *, LONG *) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetMaxIdealImageSize(LONG *, LONG *) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetRestorePosition(LONG *, LONG *, LONG *, LONG *) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE HideCursor(LONG) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE IsCursorHidden(LONG *) override { return E_NOTIMPL; }

 private:
  void *InterfaceFor(REFIID riid) {
    for (const IID &refused : withheld) {
      if (IsEqualIID(refused, riid)) return nullptr;
    }
    const struct {
      const IID *iid;
      void *itf;
    } given[] = {
        {&IID_IUnknown, static_cast<IGraphBuilder *>(this)},
        {&IID_IFilterGraph, static_cast<IGraphBuilder *>(this)},
        {&IID_IGraphBuilder, static_cast<IGraphBuilder *>(this)},
        {&IID_IMediaControl, static_cast<IMediaControl *>(this)},
        {&IID_IMediaEvent, static_cast<IMediaEventEx *>(this)},
        {&IID_IMediaEventEx, static_cast<IMediaEventEx *>(this)},
        {&IID_IMediaSeeking, static_cast<IMediaSeeking *>(this)},
        {&IID_IVideoWindow, static_cast<IVideoWindow *>(this)},
    };
    for (const auto &entry : given) {
      if (IsEqualIID(*entry.iid, riid)) return entry.itf;
    }
    return nullptr;
  }

  HRESULT Control(const char *name) {
    calls.push_back(name);
    return controlResult;
  }
  HRESULT ReadWindow(const char *name, LONG value, LONG *out) {
    calls.push_back(name);
    if (videoWindowResult == S_OK) *out = value;
    return videoWindowResult;
  }
  HRESULT WriteWindow(const char *name, LONG value) {
    calls.push_back(std::string(name) + "(" + std::to_string(value) + ")");
    return videoWindowResult;
  }
  static std::string Position(const LONGLONG *position) {
    return position ? std::to_string(*position) : std::string("null");
  }
};

}  // namespace testing_support
