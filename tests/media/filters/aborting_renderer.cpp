// A renderer that stops the build that brings it into a graph.
#include <dshow.h>

#include "connect_filters.h"

namespace test_filters {

AbortingRenderer *AbortingRenderer::Create() { return new AbortingRenderer(); }

AbortingRenderer::AbortingRenderer() : RendererFilter(kAbortingRendererClass) {}

HRESULT AbortingRenderer::JoinFilterGraph(IFilterGraph *pGraph, LPCWSTR pName) {
  const HRESULT hr = RendererFilter::JoinFilterGraph(pGraph, pName);
  IGraphBuilder *builder = nullptr;
  if (pGraph && SUCCEEDED(pGraph->QueryInterface(IID_IGraphBuilder, reinterpret_cast<void **>(&builder)))) {
    builder->Abort();
    builder->Release();
  }
  return hr;
}

HRESULT AbortingRenderer::CheckMediaType(const AM_MEDIA_TYPE &type) {
  return IsEqualGUID(type.majortype, MEDIATYPE_Video) ? S_OK : VFW_E_TYPE_NOT_ACCEPTED;
}

HRESULT AbortingRenderer::DoRenderSample(IMediaSample *) { return S_OK; }

}  // namespace test_filters
