// Media-graph automation interfaces of the filter graph manager: running the
// graph (IMediaControl), its event queue (IMediaEvent) with window
// notification (IMediaEventEx), and the video window (IVideoWindow).
//
// These interfaces are dual on Windows: they derive from IDispatch, whose
// four methods keep their slots before the interface's own.
#pragma once

#include "oaidl.h"

typedef LONG_PTR OAEVENT;
typedef LONG_PTR OAHWND;
// A FILTER_STATE as the automation interfaces pass it.
typedef LONG OAFilterState;

// Automation booleans of IVideoWindow.
#define OATRUE (-1)
#define OAFALSE (0)

struct IMediaControl;
_DEFINE_INTERFACE_ID(IMediaControl, 0x56A868B1, 0x0AD4, 0x11CE, 0xB0, 0x3A, 0x00, 0x20, 0xAF, 0x0B, 0xA7, 0x70)

struct IMediaControl : public IDispatch {
  virtual HRESULT STDMETHODCALLTYPE Run(void) = 0;
  virtual HRESULT STDMETHODCALLTYPE Pause(void) = 0;
  virtual HRESULT STDMETHODCALLTYPE Stop(void) = 0;
  virtual HRESULT STDMETHODCALLTYPE GetState(LONG msTimeout, OAFilterState *pfs) = 0;
  virtual HRESULT STDMETHODCALLTYPE RenderFile(BSTR strFilename) = 0;
  virtual HRESULT STDMETHODCALLTYPE AddSourceFilter(BSTR strFilename, IDispatch **ppUnk) = 0;
  virtual HRESULT STDMETHODCALLTYPE get_FilterCollection(IDispatch **ppUnk) = 0;
  virtual HRESULT STDMETHODCALLTYPE get_RegFilterCollection(IDispatch **ppUnk) = 0;
  virtual HRESULT STDMETHODCALLTYPE StopWhenReady(void) = 0;
};

struct IMediaEvent;
_DEFINE_INTERFACE_ID(IMediaEvent, 0x56A868B6, 0x0AD4, 0x11CE, 0xB0, 0x3A, 0x00, 0x20, 0xAF, 0x0B, 0xA7, 0x70)

struct IMediaEvent : public IDispatch {
  virtual HRESULT STDMETHODCALLTYPE GetEventHandle(OAEVENT *hEvent) = 0;
  virtual HRESULT STDMETHODCALLTYPE GetEvent(LONG *lEventCode, LONG_PTR *lParam1, LONG_PTR *lParam2,
                                             LONG msTimeout) = 0;
  virtual HRESULT STDMETHODCALLTYPE WaitForCompletion(LONG msTimeout, LONG *pEvCode) = 0;
  virtual HRESULT STDMETHODCALLTYPE CancelDefaultHandling(LONG lEvCode) = 0;
  virtual HRESULT STDMETHODCALLTYPE RestoreDefaultHandling(LONG lEvCode) = 0;
  virtual HRESULT STDMETHODCALLTYPE FreeEventParams(LONG lEvCode, LONG_PTR lParam1, LONG_PTR lParam2) = 0;
};

// IMediaEventEx::SetNotifyFlags: no window messages and no queued events.
#define AM_MEDIAEVENT_NONOTIFY 0x01

struct IMediaEventEx;
_DEFINE_INTERFACE_ID(IMediaEventEx, 0x56A868C0, 0x0AD4, 0x11CE, 0xB0, 0x3A, 0x00, 0x20, 0xAF, 0x0B, 0xA7, 0x70)

struct IMediaEventEx : public IMediaEvent {
  // Posts lMsg, with lInstanceData as its lParam, to hwnd whenever events
  // are queued; a null hwnd stops the notification.
  virtual HRESULT STDMETHODCALLTYPE SetNotifyWindow(OAHWND hwnd, LONG lMsg, LONG_PTR lInstanceData) = 0;
  virtual HRESULT STDMETHODCALLTYPE SetNotifyFlags(LONG lNoNotifyFlags) = 0;
  virtual HRESULT STDMETHODCALLTYPE GetNotifyFlags(LONG *lplNoNotifyFlags) = 0;
};

struct IVideoWindow;
_DEFINE_INTERFACE_ID(IVideoWindow, 0x56A868B4, 0x0AD4, 0x11CE, 0xB0, 0x3A, 0x00, 0x20, 0xAF, 0x0B, 0xA7, 0x70)

struct IVideoWindow : public IDispatch {
  virtual HRESULT STDMETHODCALLTYPE put_Caption(BSTR strCaption) = 0;
  virtual HRESULT STDMETHODCALLTYPE get_Caption(BSTR *strCaption) = 0;
  virtual HRESULT STDMETHODCALLTYPE put_WindowStyle(LONG WindowStyle) = 0;
  virtual HRESULT STDMETHODCALLTYPE get_WindowStyle(LONG *WindowStyle) = 0;
  virtual HRESULT STDMETHODCALLTYPE put_WindowStyleEx(LONG WindowStyleEx) = 0;
  virtual HRESULT STDMETHODCALLTYPE get_WindowStyleEx(LONG *WindowStyleEx) = 0;
  virtual HRESULT STDMETHODCALLTYPE put_AutoShow(LONG AutoShow) = 0;
  virtual HRESULT STDMETHODCALLTYPE get_AutoShow(LONG *AutoShow) = 0;
  virtual HRESULT STDMETHODCALLTYPE put_WindowState(LONG WindowState) = 0;
  virtual HRESULT STDMETHODCALLTYPE get_WindowState(LONG *WindowState) = 0;
  virtual HRESULT STDMETHODCALLTYPE put_BackgroundPalette(LONG BackgroundPalette) = 0;
  virtual HRESULT STDMETHODCALLTYPE get_BackgroundPalette(LONG *pBackgroundPalette) = 0;
  virtual HRESULT STDMETHODCALLTYPE put_Visible(LONG Visible) = 0;
  virtual HRESULT STDMETHODCALLTYPE get_Visible(LONG *pVisible) = 0;
  virtual HRESULT STDMETHODCALLTYPE put_Left(LONG Left) = 0;
  virtual HRESULT STDMETHODCALLTYPE get_Left(LONG *pLeft) = 0;
  virtual HRESULT STDMETHODCALLTYPE put_Width(LONG Width) = 0;
  virtual HRESULT STDMETHODCALLTYPE get_Width(LONG *pWidth) = 0;
  virtual HRESULT STDMETHODCALLTYPE put_Top(LONG Top) = 0;
  virtual HRESULT STDMETHODCALLTYPE get_Top(LONG *pTop) = 0;
  virtual HRESULT STDMETHODCALLTYPE put_Height(LONG Height) = 0;
  virtual HRESULT STDMETHODCALLTYPE get_Height(LONG *pHeight) = 0;
  virtual HRESULT STDMETHODCALLTYPE put_Owner(OAHWND Owner) = 0;
  virtual HRESULT STDMETHODCALLTYPE get_Owner(OAHWND *Owner) = 0;
  virtual HRESULT STDMETHODCALLTYPE put_MessageDrain(OAHWND Drain) = 0;
  virtual HRESULT STDMETHODCALLTYPE get_MessageDrain(OAHWND *Drain) = 0;
  virtual HRESULT STDMETHODCALLTYPE get_BorderColor(LONG *Color) = 0;
  virtual HRESULT STDMETHODCALLTYPE put_BorderColor(LONG Color) = 0;
  virtual HRESULT STDMETHODCALLTYPE get_FullScreenMode(LONG *FullScreenMode) = 0;
  virtual HRESULT STDMETHODCALLTYPE put_FullScreenMode(LONG FullScreenMode) = 0;
  virtual HRESULT STDMETHODCALLTYPE SetWindowForeground(LONG Focus) = 0;
  virtual HRESULT STDMETHODCALLTYPE NotifyOwnerMessage(OAHWND hwnd, LONG uMsg, LONG_PTR wParam, LONG_PTR lParam) = 0;
  virtual HRESULT STDMETHODCALLTYPE SetWindowPosition(LONG Left, LONG Top, LONG Width, LONG Height) = 0;
  virtual HRESULT STDMETHODCALLTYPE GetWindowPosition(LONG *pLeft, LONG *pTop, LONG *pWidth, LONG *pHeight) = 0;
  virtual HRESULT STDMETHODCALLTYPE GetMinIdealImageSize(LONG *pWidth, LONG *pHeight) = 0;
  virtual HRESULT STDMETHODCALLTYPE GetMaxIdealImageSize(LONG *pWidth, LONG *pHeight) = 0;
  virtual HRESULT STDMETHODCALLTYPE GetRestorePosition(LONG *pLeft, LONG *pTop, LONG *pWidth, LONG *pHeight) = 0;
  virtual HRESULT STDMETHODCALLTYPE HideCursor(LONG HideCursor) = 0;
  virtual HRESULT STDMETHODCALLTYPE IsCursorHidden(LONG *CursorHidden) = 0;
};
