// The filter graph manager's IPersistStream: the graph's filters, their
// names, class ids, source files and own persistent data, its connections
// with their media types, and its clock, in the persistent form of
// saved_graph.h. Saved-graph (.grf) files hold that form in their
// "ActiveMovieGraph" stream.
//
// Save writes the graph as it is. Load reads the whole form first and
// refuses one that does not read (VFW_E_INVALID_FILE_FORMAT) before it
// changes anything; a graph that is not stopped gives VFW_E_NOT_STOPPED.
// It then adds to the graph, in the form's order, each filter:
//   CoCreateInstance(class id, CLSCTX_INPROC_SERVER, IID_IBaseFilter),
//   IFilterGraph::AddFilter under its saved name,
//   IFileSourceFilter::Load of its source file, if it has one,
//   IPersistStream::Load of its data, if it has data and takes it (a
//   filter without IPersistStream starts from its defaults);
// then makes each connection with ConnectDirect and the saved media type,
// and sets the clock. The first step that fails ends the load with its
// result (the CoCreateInstance result for a filter that is not
// installed): the filters loaded before it stay in the graph, the failing
// one does not. A graph saved without a clock is left to choose its own
// when it first runs; one saved with a clock gets the saved filter's, the
// saved clock class's, or else the graph's default (SetDefaultSyncSource);
// not getting it fails nothing. A graph that was made to run unclocked
// (SetSyncSource(NULL)) is saved as one without a clock: the form has no
// way to say it. The stream is left just after the form.
//
// IsDirty is S_OK when Save would now write another form than the one last
// saved (with fClearDirty) or loaded, or, before either, when the graph has
// anything to save; GetSizeMax gives the size Save would write now.
//
// It is a part of the graph manager: its IUnknown is the graph's. It works
// through the graph's own interfaces, holding the graph's control lock for
// the whole of each call, which also guards the form kept for IsDirty.
#pragma once

#include <objidl.h>
#include <strmif.h>

#include <map>
#include <mutex>
#include <optional>
#include <vector>

#include "com/com_object.h"
#include "media/saved_graph.h"

namespace platform::media {

class FilterGraph;

class GraphPersistence final : public IPersistStream {
 public:
  GraphPersistence(FilterGraph &graph, std::recursive_mutex &controlLock) : m_graph(graph), m_controlLock(controlLock) {}

  // IUnknown: the graph's.
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void **ppv) override;
  ULONG STDMETHODCALLTYPE AddRef() override;
  ULONG STDMETHODCALLTYPE Release() override;

  // IPersist: CLSID_FilterGraph.
  HRESULT STDMETHODCALLTYPE GetClassID(CLSID *pClassID) override;

  // IPersistStream
  HRESULT STDMETHODCALLTYPE IsDirty() override;
  HRESULT STDMETHODCALLTYPE Load(IStream *pStm) override;
  HRESULT STDMETHODCALLTYPE Save(IStream *pStm, BOOL fClearDirty) override;
  HRESULT STDMETHODCALLTYPE GetSizeMax(ULARGE_INTEGER *pcbSize) override;

 private:
  using LoadedFilters = std::map<DWORD, com::ComPtr<IBaseFilter>>;

  // The graph as it is now, in persistent form.
  HRESULT CurrentForm(BOOL clearDirty, std::vector<BYTE> &form);
  HRESULT Describe(BOOL clearDirty, SavedGraph &saved);
  HRESULT Rebuild(const SavedGraph &saved);
  HRESULT AddSavedFilter(const SavedFilter &saved, LoadedFilters &loaded);
  HRESULT RestoreFilterState(IBaseFilter *filter, const SavedFilter &saved);
  HRESULT ConnectSaved(const SavedConnection &connection, const LoadedFilters &loaded);
  void RestoreClock(const SavedClock &clock, const LoadedFilters &loaded);

  FilterGraph &m_graph;
  std::recursive_mutex &m_controlLock;
  std::optional<std::vector<BYTE>> m_cleanForm;  // guarded by m_controlLock
};

}  // namespace platform::media
