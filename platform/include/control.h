// Media-graph automation interfaces: the graph's event queue (IMediaEvent)
// with window notification (IMediaEventEx).
#pragma once

#include "oaidl.h"

typedef LONG_PTR OAEVENT;
typedef LONG_PTR OAHWND;

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

struct IMediaEventEx;
_DEFINE_INTERFACE_ID(IMediaEventEx, 0x56A868C0, 0x0AD4, 0x11CE, 0xB0, 0x3A, 0x00, 0x20, 0xAF, 0x0B, 0xA7, 0x70)

struct IMediaEventEx : public IMediaEvent {
  // Posts lMsg, with lInstanceData as its lParam, to hwnd whenever events
  // are queued; a null hwnd stops the notification.
  virtual HRESULT STDMETHODCALLTYPE SetNotifyWindow(OAHWND hwnd, LONG lMsg, LONG_PTR lInstanceData) = 0;
  virtual HRESULT STDMETHODCALLTYPE SetNotifyFlags(LONG lNoNotifyFlags) = 0;
  virtual HRESULT STDMETHODCALLTYPE GetNotifyFlags(LONG *lplNoNotifyFlags) = 0;
};
