// The filter graph manager's event queue (IMediaEvent, IMediaEventEx) and
// the events filters send it (IMediaEventSink).
#include <evcode.h>
#include <oleauto.h>

#include "media/filter_graph.h"

namespace platform::media {

HRESULT FilterGraph::GetEventHandle(OAEVENT *hEvent) {
  if (!hEvent) return E_POINTER;
  *hEvent = reinterpret_cast<OAEVENT>(m_events.EventHandle());
  return S_OK;
}

// E_ABORT, with the outputs 0, when no event came within the time-out.
HRESULT FilterGraph::GetEvent(LONG *lEventCode, LONG_PTR *lParam1, LONG_PTR *lParam2, LONG msTimeout) {
  if (!lEventCode || !lParam1 || !lParam2) return E_POINTER;
  GraphEvent event{0, 0, 0};
  const HRESULT hr = m_events.Take(static_cast<DWORD>(msTimeout), &event);
  *lEventCode = event.code;
  *lParam1 = event.param1;
  *lParam2 = event.param2;
  return hr;
}

// Waits for the event that ends playback while the graph runs; the event
// stays in the queue.
HRESULT FilterGraph::WaitForCompletion(LONG msTimeout, LONG *pEvCode) {
  if (!pEvCode) return E_POINTER;
  *pEvCode = 0;
  return m_events.WaitForCompletion(static_cast<DWORD>(msTimeout), pEvCode);
}

// Only EC_COMPLETE has a default handling to cancel: without it, each
// renderer's EC_COMPLETE reaches the queue as it comes.
HRESULT FilterGraph::CancelDefaultHandling(LONG lEvCode) {
  if (lEvCode != EC_COMPLETE) return E_INVALIDARG;
  m_completionByDefault = false;
  return S_OK;
}

HRESULT FilterGraph::RestoreDefaultHandling(LONG lEvCode) {
  if (lEvCode != EC_COMPLETE) return E_INVALIDARG;
  m_completionByDefault = true;
  return S_OK;
}

// The parameters that are strings are freed.
HRESULT FilterGraph::FreeEventParams(LONG lEvCode, LONG_PTR lParam1, LONG_PTR lParam2) {
  if (lEvCode == EC_OLE_EVENT || lEvCode == EC_STATUS) SysFreeString(reinterpret_cast<BSTR>(lParam1));
  if (lEvCode == EC_OLE_EVENT || lEvCode == EC_STATUS || lEvCode == EC_ERRORABORTEX) {
    SysFreeString(reinterpret_cast<BSTR>(lParam2));
  }
  return S_OK;
}

HRESULT FilterGraph::SetNotifyWindow(OAHWND hwnd, LONG lMsg, LONG_PTR lInstanceData) {
  m_events.SetNotifyWindow(hwnd, lMsg, lInstanceData);
  return S_OK;
}

HRESULT FilterGraph::SetNotifyFlags(LONG lNoNotifyFlags) {
  if (lNoNotifyFlags & ~AM_MEDIAEVENT_NONOTIFY) return E_INVALIDARG;
  m_events.SetNotifyFlags(lNoNotifyFlags);
  return S_OK;
}

HRESULT FilterGraph::GetNotifyFlags(LONG *lplNoNotifyFlags) {
  if (!lplNoNotifyFlags) return E_POINTER;
  *lplNoNotifyFlags = m_events.NotifyFlags();
  return S_OK;
}

// From any thread, streaming threads included: only the event queue and the
// completion tracker are touched.
HRESULT FilterGraph::Notify(LONG EventCode, LONG_PTR EventParam1, LONG_PTR EventParam2) {
  if (EventCode == EC_COMPLETE && m_completionByDefault) {
    if (m_completion.Report(EventParam2)) m_events.Put({EC_COMPLETE, S_OK, 0});
    return S_OK;
  }
  m_events.Put({EventCode, EventParam1, EventParam2});
  return S_OK;
}

}  // namespace platform::media
