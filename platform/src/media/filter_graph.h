// The filter graph manager (CLSID_FilterGraph): the object behind
// IGraphBuilder and IFilterGraph (filters and connections), IMediaControl
// and IMediaFilter (running the graph), IMediaEventEx (the event queue) and
// IMediaEventSink (events from filters). Two parts of it answer for the
// video renderer's window (IVideoWindow) and the graph's persistent form
// (IPersistStream); their IUnknown is the graph's.
//
// It is free-threaded. Its methods are split by area:
//   filter_graph.cpp   creation, interfaces, teardown
//   graph_filters.cpp  filters, names, connections
//   graph_control.cpp  Run, Pause, Stop, GetState, the clock
//   graph_events.cpp   the event queue and events from filters
//   graph_video_window.cpp, graph_persistence.cpp  the two parts
//
// Filters. The graph holds a reference on each filter it has; a filter
// holds none on the graph. EnumFilters gives the most recently added filter
// first. Connections are made and broken only while the graph is stopped.
//
// States. Run, Pause and Stop go to every filter, renderers first and
// sources last, so that no filter sends data to one that is not ready for
// it. Pause and Run return S_FALSE while a filter has not finished its
// transition (a renderer waiting for its first sample); GetState then gives
// VFW_S_STATE_INTERMEDIATE until the time-out. Every pause that completes
// queues EC_PAUSED: at once, or from the graph's worker thread once every
// filter has finished. The graph runs unclocked until a clock is set with
// SetSyncSource: stream time then starts at the clock's time of Run.
// Releasing the last reference stops a running graph: every streaming
// thread has ended when the release returns.
//
// Threads and locks.
//   The control lock (recursive: a filter may call back into the graph
//   while the graph calls it) guards the filters, their names, the state
//   and the clock. It is held while the graph calls filters' connection
//   and state methods, and never taken by streaming threads: they reach the
//   graph only through IMediaEventSink::Notify, which uses the event
//   queue's and the completion tracker's own locks. Waiting for filters
//   (GetState, the pause watch) happens without it.
//   Lock order: control lock, then filters' locks; the event queue's and
//   the tracker's locks are leaves.
#pragma once

#include <control.h>
#include <strmif.h>

#include <atomic>
#include <mutex>
#include <vector>

#include "com/com_object.h"
#include "media/completion_tracker.h"
#include "media/event_queue.h"
#include "media/filter_list.h"
#include "media/graph_persistence.h"
#include "media/graph_video_window.h"
#include "media/graph_worker.h"

namespace platform::media {

class FilterGraph final : public IGraphBuilder,
                          public IMediaControl,
                          public IMediaEventEx,
                          public IMediaFilter,
                          public IMediaEventSink {
 public:
  static HRESULT Create(IUnknown *outer, REFIID riid, void **ppv);

  // IUnknown
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void **ppv) override;
  ULONG STDMETHODCALLTYPE AddRef() override;
  ULONG STDMETHODCALLTYPE Release() override;

  // IDispatch, of IMediaControl and IMediaEventEx: no type information.
  HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT *pctinfo) override;
  HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT iTInfo, LCID lcid, ITypeInfo **ppTInfo) override;
  HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID riid, LPOLESTR *rgszNames, UINT cNames, LCID lcid,
                                          DISPID *rgDispId) override;
  HRESULT STDMETHODCALLTYPE Invoke(DISPID dispIdMember, REFIID riid, LCID lcid, WORD wFlags, DISPPARAMS *pDispParams,
                                   VARIANT *pVarResult, EXCEPINFO *pExcepInfo, UINT *puArgErr) override;

  // IFilterGraph
  HRESULT STDMETHODCALLTYPE AddFilter(IBaseFilter *pFilter, LPCWSTR pName) override;
  HRESULT STDMETHODCALLTYPE RemoveFilter(IBaseFilter *pFilter) override;
  HRESULT STDMETHODCALLTYPE EnumFilters(IEnumFilters **ppEnum) override;
  HRESULT STDMETHODCALLTYPE FindFilterByName(LPCWSTR pName, IBaseFilter **ppFilter) override;
  HRESULT STDMETHODCALLTYPE ConnectDirect(IPin *ppinOut, IPin *ppinIn, const AM_MEDIA_TYPE *pmt) override;
  HRESULT STDMETHODCALLTYPE Reconnect(IPin *ppin) override;
  HRESULT STDMETHODCALLTYPE Disconnect(IPin *ppin) override;
  HRESULT STDMETHODCALLTYPE SetDefaultSyncSource() override;

  // IGraphBuilder
  HRESULT STDMETHODCALLTYPE Connect(IPin *ppinOut, IPin *ppinIn) override;
  HRESULT STDMETHODCALLTYPE Render(IPin *ppinOut) override;
  HRESULT STDMETHODCALLTYPE RenderFile(LPCWSTR lpcwstrFile, LPCWSTR lpcwstrPlayList) override;
  HRESULT STDMETHODCALLTYPE AddSourceFilter(LPCWSTR lpcwstrFileName, LPCWSTR lpcwstrFilterName,
                                            IBaseFilter **ppFilter) override;
  HRESULT STDMETHODCALLTYPE SetLogFile(DWORD_PTR hFile) override;
  HRESULT STDMETHODCALLTYPE Abort() override;
  HRESULT STDMETHODCALLTYPE ShouldOperationContinue() override;

  // IMediaControl (Stop and Pause are also IMediaFilter's)
  HRESULT STDMETHODCALLTYPE Run() override;
  HRESULT STDMETHODCALLTYPE Pause() override;
  HRESULT STDMETHODCALLTYPE Stop() override;
  HRESULT STDMETHODCALLTYPE GetState(LONG msTimeout, OAFilterState *pfs) override;
  HRESULT STDMETHODCALLTYPE RenderFile(BSTR strFilename) override;
  HRESULT STDMETHODCALLTYPE AddSourceFilter(BSTR strFilename, IDispatch **ppUnk) override;
  HRESULT STDMETHODCALLTYPE get_FilterCollection(IDispatch **ppUnk) override;
  HRESULT STDMETHODCALLTYPE get_RegFilterCollection(IDispatch **ppUnk) override;
  HRESULT STDMETHODCALLTYPE StopWhenReady() override;

  // IMediaFilter
  HRESULT STDMETHODCALLTYPE GetClassID(CLSID *pClassID) override;
  HRESULT STDMETHODCALLTYPE Run(REFERENCE_TIME tStart) override;
  HRESULT STDMETHODCALLTYPE GetState(DWORD dwMilliSecsTimeout, FILTER_STATE *State) override;
  HRESULT STDMETHODCALLTYPE SetSyncSource(IReferenceClock *pClock) override;
  HRESULT STDMETHODCALLTYPE GetSyncSource(IReferenceClock **pClock) override;

  // IMediaEvent, IMediaEventEx
  HRESULT STDMETHODCALLTYPE GetEventHandle(OAEVENT *hEvent) override;
  HRESULT STDMETHODCALLTYPE GetEvent(LONG *lEventCode, LONG_PTR *lParam1, LONG_PTR *lParam2, LONG msTimeout) override;
  HRESULT STDMETHODCALLTYPE WaitForCompletion(LONG msTimeout, LONG *pEvCode) override;
  HRESULT STDMETHODCALLTYPE CancelDefaultHandling(LONG lEvCode) override;
  HRESULT STDMETHODCALLTYPE RestoreDefaultHandling(LONG lEvCode) override;
  HRESULT STDMETHODCALLTYPE FreeEventParams(LONG lEvCode, LONG_PTR lParam1, LONG_PTR lParam2) override;
  HRESULT STDMETHODCALLTYPE SetNotifyWindow(OAHWND hwnd, LONG lMsg, LONG_PTR lInstanceData) override;
  HRESULT STDMETHODCALLTYPE SetNotifyFlags(LONG lNoNotifyFlags) override;
  HRESULT STDMETHODCALLTYPE GetNotifyFlags(LONG *lplNoNotifyFlags) override;

  // IMediaEventSink
  HRESULT STDMETHODCALLTYPE Notify(LONG EventCode, LONG_PTR EventParam1, LONG_PTR EventParam2) override;

 private:
  FilterGraph() = default;
  ~FilterGraph();

  // graph_filters.cpp
  bool InGraph(IPin *pin);
  void DisconnectAll(IBaseFilter *filter);
  void RemoveAllFilters();

  // graph_control.cpp
  HRESULT RunFrom(REFERENCE_TIME start);
  HRESULT PauseFilters(const std::vector<com::ComPtr<IBaseFilter>> &ordered);
  HRESULT StopFilters(const std::vector<com::ComPtr<IBaseFilter>> &ordered);
  void StartStreams(const std::vector<com::ComPtr<IBaseFilter>> &filters);
  HRESULT WaitForFilters(DWORD timeoutMs);
  void WatchPause(ULONG transition);
  REFERENCE_TIME StreamStartTime();

  com::ReferenceCount m_references;
  std::recursive_mutex m_controlLock;
  GraphVideoWindow m_videoWindow{*this};
  GraphPersistence m_persistence{*this, m_controlLock};
  FilterList m_filters;                    // guarded by m_controlLock
  FILTER_STATE m_state = State_Stopped;    // guarded by m_controlLock
  com::ComPtr<IReferenceClock> m_clock;    // guarded by m_controlLock
  std::atomic<ULONG> m_transition{0};      // changes with every state command
  std::atomic<bool> m_aborted{false};      // IGraphBuilder::Abort
  std::atomic<bool> m_completionByDefault{true};
  EventQueue m_events;
  CompletionTracker m_completion;
  GraphWorker m_worker;
};

}  // namespace platform::media
