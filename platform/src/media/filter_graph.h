// The filter graph manager (CLSID_FilterGraph): the object behind
// IGraphBuilder and IFilterGraph (filters and connections), IMediaControl
// and IMediaFilter (running the graph), IMediaSeeking (positions),
// IMediaEventEx (the event queue) and IMediaEventSink (events from filters).
//
// It is free-threaded. Its methods are split by area:
//   filter_graph.cpp   creation, interfaces, teardown
//   graph_filters.cpp  filters, names, connections
//   graph_control.cpp  Run, Pause, Stop, GetState, the clock
//   graph_seeking.cpp  positions, seeking
//   graph_events.cpp   the event queue and events from filters
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
// filter has finished. Releasing the last reference stops a running graph:
// every streaming thread has ended when the release returns.
//
// The clock. SetSyncSource gives the graph and every filter a reference
// clock, or none (null: the graph runs unclocked, as fast as the filters
// go); SetDefaultSyncSource chooses one: the clock of a filter in the graph
// that has one, renderers first, else the system clock. A graph that was
// never given a clock chooses the default as it first leaves Stopped. The
// clock changes only while stopped. Stream time is the clock's time minus
// the run's start time: Run starts it where the last pause left it, so a
// pause holds the stream's time.
//
// Positions (IMediaSeeking, media time only). The graph asks the renderers
// (filters that end a stream), which ask upstream, down to the source. The
// current position is the start of the segment (where the last seek or
// start went) plus the stream time while running (unclocked: the position
// the renderers reached), the position reached while paused or stopped,
// never past the stop position. A seek (SetPositions moving the current
// position) while running pauses the filters, seeks, and runs them again
// with stream time 0 at the new position; while paused, the renderers show
// the new position's first frame once it comes (GetState meanwhile gives
// VFW_S_STATE_INTERMEDIATE); while stopped, it sets where the next pause
// starts. Either way EC_COMPLETE comes once more after the new segment
// ends. Stop keeps the position: the next run resumes where it stopped.
// A rate other than 1.0 is refused with E_INVALIDARG, as is a time format
// other than media time (VFW_E_WRONG_STATE while not stopped).
//
// Threads and locks.
//   The control lock (recursive: a filter may call back into the graph
//   while the graph calls it) guards the filters, their names, the state,
//   the clock and the positions. It is held while the graph calls filters'
//   connection, state and seeking methods (a seek joins the source's
//   threads), and never taken by streaming threads: they reach the
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
#include "media/graph_worker.h"
#include "media/media_time_seeking.h"

namespace platform::media {

class FilterGraph final : public IGraphBuilder,
                          public IMediaControl,
                          public IMediaEventEx,
                          public IMediaFilter,
                          public MediaTimeSeeking,
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

  // IMediaSeeking (the time formats and rates of MediaTimeSeeking)
  HRESULT STDMETHODCALLTYPE GetCapabilities(DWORD *pCapabilities) override;
  HRESULT STDMETHODCALLTYPE SetTimeFormat(const GUID *pFormat) override;
  HRESULT STDMETHODCALLTYPE GetDuration(LONGLONG *pDuration) override;
  HRESULT STDMETHODCALLTYPE GetStopPosition(LONGLONG *pStop) override;
  HRESULT STDMETHODCALLTYPE GetCurrentPosition(LONGLONG *pCurrent) override;
  HRESULT STDMETHODCALLTYPE SetPositions(LONGLONG *pCurrent, DWORD dwCurrentFlags, LONGLONG *pStop,
                                         DWORD dwStopFlags) override;
  HRESULT STDMETHODCALLTYPE GetAvailable(LONGLONG *pEarliest, LONGLONG *pLatest) override;

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
  HRESULT RunFilters(const std::vector<com::ComPtr<IBaseFilter>> &ordered, REFERENCE_TIME start);
  HRESULT PauseFilters(const std::vector<com::ComPtr<IBaseFilter>> &ordered);
  HRESULT StopFilters(const std::vector<com::ComPtr<IBaseFilter>> &ordered);
  void StartStreams(const std::vector<com::ComPtr<IBaseFilter>> &filters);
  HRESULT WaitForFilters(DWORD timeoutMs);
  void WatchPause(ULONG transition);
  void TakeDefaultClockIfNone();
  void UseClock(IReferenceClock *clock);
  void ForgetClockOf(IBaseFilter *filter);
  REFERENCE_TIME ClockTime();
  REFERENCE_TIME RunStartTime();

  // graph_seeking.cpp
  std::vector<com::ComPtr<IMediaSeeking>> SeekingRenderers();
  REFERENCE_TIME StreamTimeNow();
  REFERENCE_TIME PositionNow();
  void HoldStreamTime();
  void KeepPositionAcrossStop(REFERENCE_TIME position);
  HRESULT MoveRenderers(REFERENCE_TIME current, DWORD currentFlags, REFERENCE_TIME stop, DWORD stopFlags);
  void RestartSegment(REFERENCE_TIME position);

  com::ReferenceCount m_references;
  std::recursive_mutex m_controlLock;
  FilterList m_filters;                    // guarded by m_controlLock
  FILTER_STATE m_state = State_Stopped;    // guarded by m_controlLock
  com::ComPtr<IReferenceClock> m_clock;    // guarded by m_controlLock
  bool m_clockChosen = false;              // guarded by m_controlLock: set, even to none
  REFERENCE_TIME m_runStart = 0;           // guarded by m_controlLock: clock time of stream time 0
  REFERENCE_TIME m_segmentStart = 0;       // guarded by m_controlLock: the position at stream time 0
  REFERENCE_TIME m_streamTimeHeld = 0;     // guarded by m_controlLock: stream time reached, not running
  std::atomic<ULONG> m_transition{0};      // changes with every state command
  std::atomic<bool> m_aborted{false};      // IGraphBuilder::Abort
  std::atomic<bool> m_completionByDefault{true};
  EventQueue m_events;
  CompletionTracker m_completion;
  GraphWorker m_worker;
};

}  // namespace platform::media
