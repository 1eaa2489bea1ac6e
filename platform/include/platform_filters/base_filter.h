// BaseFilter: what every filter shares. It implements IBaseFilter (with
// IMediaFilter and IPersist): the reference count, the filter's pins, its
// name and graph, its reference clock, and the three states.
//
// Contract. A filter is created with one reference and deletes itself when
// the last one is released. Its pins are its own objects: they pass AddRef
// and Release on to the filter, so a reference to a pin keeps the filter
// alive. Pins are added while the filter is stopped, usually in the
// constructor, and stay until it is destroyed; EnumPins gives them in the
// order they were added.
//
// States. Stop, Pause and Run change the state under the state lock, in this
// order: the new state is set first, so that streaming threads see it, then
// the pins and the subclass are told.
//   Stopped -> Paused: each connected pin's Active() (allocators committed),
//                      then OnPause(State_Stopped).
//   Running -> Paused: OnPause(State_Running).
//   -> Running:        from Stopped through Paused first; then OnRun(tStart).
//   -> Stopped:        each pin's Inactive() (allocators decommitted, which
//                      frees threads waiting for buffers), then OnStop(),
//                      which returns once no streaming thread is inside the
//                      filter.
// A pause whose Active() or OnPause fails leaves the filter stopped (its
// pins inactive, OnStop not called) and returns the failure.
// OnPause and OnRun return S_FALSE when the filter has not finished its
// transition (a renderer waiting for its first sample); Pause and Run pass
// that on. GetState reports the state and WaitForTransition's result:
// VFW_S_STATE_INTERMEDIATE while the transition is still not finished after
// the time-out.
//
// What a subclass overrides. Filters are normally written on the transform,
// renderer or source base classes, which implement these hooks; a filter
// written directly on BaseFilter overrides the hooks it needs:
//   OnPause, OnRun, OnStop, WaitForTransition  state changes, as above
//   QueryFilterInterface                       interfaces beyond IBaseFilter
//                                              (a filter's settings, ...)
//
// Events. NotifyEvent passes an EC_ code to the graph's IMediaEventSink. It
// may be called from any thread while the filter is not stopped, or from
// its state changes; the graph is not held (a filter never holds a
// reference on its graph).
//
// Clock. The graph gives every filter its reference clock (SetSyncSource;
// null when the graph runs unclocked) while the filter is stopped. Stream
// time is the clock's time minus the tStart of the last Run: a sample is
// due when the stream time reaches its start time. StreamTime gives it, from
// any thread.
//
// Locks. The state lock guards the state changes, the name and the graph.
// The state itself is also readable without it (State()), which is how
// streaming threads read it. The clock has a lock of its own, a leaf, so
// that streaming threads can read it. Lock order: the state lock comes
// before any lock of the pins or of the subclass.
#pragma once

#include <strmif.h>

#include <memory>
#include <string>

#include "filters_api.h"

namespace platform::media {

class BasePin;

class PLATFORM_FILTERS_API BaseFilter : public IBaseFilter {
 public:
  BaseFilter(const BaseFilter &) = delete;
  BaseFilter &operator=(const BaseFilter &) = delete;

  // IUnknown: IBaseFilter, IMediaFilter, IPersist, then QueryFilterInterface.
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void **ppv) override;
  ULONG STDMETHODCALLTYPE AddRef() override;
  ULONG STDMETHODCALLTYPE Release() override;

  // IPersist
  HRESULT STDMETHODCALLTYPE GetClassID(CLSID *pClassID) override;

  // IMediaFilter
  HRESULT STDMETHODCALLTYPE Stop() override;
  HRESULT STDMETHODCALLTYPE Pause() override;
  HRESULT STDMETHODCALLTYPE Run(REFERENCE_TIME tStart) override;
  HRESULT STDMETHODCALLTYPE GetState(DWORD dwMilliSecsTimeout, FILTER_STATE *State) override;
  HRESULT STDMETHODCALLTYPE SetSyncSource(IReferenceClock *pClock) override;
  HRESULT STDMETHODCALLTYPE GetSyncSource(IReferenceClock **pClock) override;

  // IBaseFilter
  HRESULT STDMETHODCALLTYPE EnumPins(IEnumPins **ppEnum) override;
  HRESULT STDMETHODCALLTYPE FindPin(LPCWSTR Id, IPin **ppPin) override;
  HRESULT STDMETHODCALLTYPE QueryFilterInfo(FILTER_INFO *pInfo) override;
  HRESULT STDMETHODCALLTYPE JoinFilterGraph(IFilterGraph *pGraph, LPCWSTR pName) override;
  HRESULT STDMETHODCALLTYPE QueryVendorInfo(LPWSTR *pVendorInfo) override;

  // Any thread.
  FILTER_STATE State() const;
  // The tStart of the last Run: stream time 0 on the reference clock.
  REFERENCE_TIME StartTime() const;
  // The stream time now: S_OK, or VFW_E_NO_CLOCK when the filter has no
  // clock (*time is then 0).
  HRESULT StreamTime(REFERENCE_TIME *time) const;
  // E_NOTIMPL when the filter is in no graph; otherwise the sink's result.
  HRESULT NotifyEvent(LONG code, LONG_PTR param1, LONG_PTR param2);

 protected:
  explicit BaseFilter(const CLSID &clsid);
  virtual ~BaseFilter();

  // The pin stays the subclass's object; it must outlive the filter's use of
  // it, which ends in ~BaseFilter.
  void AddPin(BasePin *pin);

  virtual HRESULT OnPause(FILTER_STATE from);
  virtual HRESULT OnRun(REFERENCE_TIME tStart);
  virtual void OnStop();
  virtual HRESULT WaitForTransition(DWORD dwMilliSecsTimeout);
  virtual HRESULT QueryFilterInterface(REFIID riid, void **ppv);

 private:
  HRESULT PauseLocked();

  struct Impl;
  std::unique_ptr<Impl> m_impl;
};

}  // namespace platform::media
