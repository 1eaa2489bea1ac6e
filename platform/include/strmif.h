// Media-graph interfaces: the filter graph (IFilterGraph) and the graph
// builder (IGraphBuilder). Filters, pins, their enumerators and media types
// are named here for the graph's methods; their methods and layouts are
// declared with the filters.
#pragma once

#include "objidl.h"

// Media time: a signed count of 100-nanosecond units.
typedef LONGLONG REFERENCE_TIME;

typedef struct _AMMediaType AM_MEDIA_TYPE;

struct IPin;
_DEFINE_INTERFACE_ID(IPin, 0x56A86891, 0x0AD4, 0x11CE, 0xB0, 0x3A, 0x00, 0x20, 0xAF, 0x0B, 0xA7, 0x70)

struct IEnumFilters;
_DEFINE_INTERFACE_ID(IEnumFilters, 0x56A86893, 0x0AD4, 0x11CE, 0xB0, 0x3A, 0x00, 0x20, 0xAF, 0x0B, 0xA7, 0x70)

struct IBaseFilter;
_DEFINE_INTERFACE_ID(IBaseFilter, 0x56A86895, 0x0AD4, 0x11CE, 0xB0, 0x3A, 0x00, 0x20, 0xAF, 0x0B, 0xA7, 0x70)

struct IFilterGraph;
_DEFINE_INTERFACE_ID(IFilterGraph, 0x56A8689F, 0x0AD4, 0x11CE, 0xB0, 0x3A, 0x00, 0x20, 0xAF, 0x0B, 0xA7, 0x70)

struct IFilterGraph : public IUnknown {
  virtual HRESULT STDMETHODCALLTYPE AddFilter(IBaseFilter *pFilter, LPCWSTR pName) = 0;
  virtual HRESULT STDMETHODCALLTYPE RemoveFilter(IBaseFilter *pFilter) = 0;
  virtual HRESULT STDMETHODCALLTYPE EnumFilters(IEnumFilters **ppEnum) = 0;
  virtual HRESULT STDMETHODCALLTYPE FindFilterByName(LPCWSTR pName, IBaseFilter **ppFilter) = 0;
  virtual HRESULT STDMETHODCALLTYPE ConnectDirect(IPin *ppinOut, IPin *ppinIn, const AM_MEDIA_TYPE *pmt) = 0;
  virtual HRESULT STDMETHODCALLTYPE Reconnect(IPin *ppin) = 0;
  virtual HRESULT STDMETHODCALLTYPE Disconnect(IPin *ppin) = 0;
  virtual HRESULT STDMETHODCALLTYPE SetDefaultSyncSource(void) = 0;
};
typedef IFilterGraph *PFILTERGRAPH;

struct IGraphBuilder;
_DEFINE_INTERFACE_ID(IGraphBuilder, 0x56A868A9, 0x0AD4, 0x11CE, 0xB0, 0x3A, 0x00, 0x20, 0xAF, 0x0B, 0xA7, 0x70)

struct IGraphBuilder : public IFilterGraph {
  virtual HRESULT STDMETHODCALLTYPE Connect(IPin *ppinOut, IPin *ppinIn) = 0;
  virtual HRESULT STDMETHODCALLTYPE Render(IPin *ppinOut) = 0;
  virtual HRESULT STDMETHODCALLTYPE RenderFile(LPCWSTR lpcwstrFile, LPCWSTR lpcwstrPlayList) = 0;
  virtual HRESULT STDMETHODCALLTYPE AddSourceFilter(LPCWSTR lpcwstrFileName, LPCWSTR lpcwstrFilterName,
                                                    IBaseFilter **ppFilter) = 0;
  virtual HRESULT STDMETHODCALLTYPE SetLogFile(DWORD_PTR hFile) = 0;
  virtual HRESULT STDMETHODCALLTYPE Abort(void) = 0;
  virtual HRESULT STDMETHODCALLTYPE ShouldOperationContinue(void) = 0;
};
