// The filter graph manager's file sources and file rendering
// (IGraphBuilder::AddSourceFilter, RenderFile).
//
// RenderFile adds the file's source and renders each of its outputs
// (except those whose names begin with '~'). Its result says how far that
// got: S_OK when every stream rendered; VFW_S_AUDIO_NOT_RENDERED or
// VFW_S_VIDEO_NOT_RENDERED when the streams that did not render are all
// audio or all video; VFW_S_PARTIAL_RENDER for any other partial result;
// VFW_E_CANNOT_RENDER when no stream rendered (E_ABORT after an abort).
// Whatever was built stays in the graph, also when RenderFile fails: the
// application may complete or inspect it.
#include <platform_filters/media_type.h>
#include <uuids.h>
#include <vfwmsgs.h>

#include <algorithm>
#include <vector>

#include "media/filter_graph.h"
#include "media/graph_builder.h"
#include "media/source_lookup.h"

namespace platform::media {
namespace {

struct StreamOutcome {
  GUID majorType;
  HRESULT result;
};

GUID MajorTypeOf(IPin *pin) {
  GUID major = GUID_NULL;
  IEnumMediaTypes *types = nullptr;
  if (FAILED(pin->EnumMediaTypes(&types))) return major;
  AM_MEDIA_TYPE *type = nullptr;
  if (types->Next(1, &type, nullptr) == S_OK) {
    major = type->majortype;
    DeleteMediaType(type);
  }
  types->Release();
  return major;
}

bool AllOfMajorType(const std::vector<StreamOutcome> &streams, REFGUID major) {
  return std::all_of(streams.begin(), streams.end(), [&](const StreamOutcome &stream) {
    return SUCCEEDED(stream.result) || IsEqualGUID(stream.majorType, major);
  });
}

HRESULT RenderFileResult(const std::vector<StreamOutcome> &streams) {
  const auto rendered = [](const StreamOutcome &stream) { return SUCCEEDED(stream.result); };
  if (std::none_of(streams.begin(), streams.end(), rendered)) return VFW_E_CANNOT_RENDER;
  if (std::all_of(streams.begin(), streams.end(), [](const StreamOutcome &stream) { return stream.result == S_OK; })) {
    return S_OK;
  }
  const bool partlyRendered = std::any_of(streams.begin(), streams.end(), [](const StreamOutcome &stream) {
    return stream.result == VFW_S_PARTIAL_RENDER;
  });
  if (!partlyRendered && AllOfMajorType(streams, MEDIATYPE_Audio)) return VFW_S_AUDIO_NOT_RENDERED;
  if (!partlyRendered && AllOfMajorType(streams, MEDIATYPE_Video)) return VFW_S_VIDEO_NOT_RENDERED;
  return VFW_S_PARTIAL_RENDER;
}

com::ComPtr<IFileSourceFilter> FileSourceOf(IBaseFilter *filter) {
  IFileSourceFilter *fileSource = nullptr;
  com::ComPtr<IFileSourceFilter> held;
  if (filter && SUCCEEDED(filter->QueryInterface(IID_IFileSourceFilter, reinterpret_cast<void **>(&fileSource)))) {
    held = com::ComPtr<IFileSourceFilter>(fileSource);
    fileSource->Release();
  }
  return held;
}

// The stream type goes with the file when its contents chose the source.
HRESULT Load(IFileSourceFilter *source, LPCWSTR file, const SourceChoice &choice) {
  if (IsEqualGUID(choice.subtype, GUID_NULL)) return source->Load(file, nullptr);
  AM_MEDIA_TYPE streamType{};
  streamType.majortype = MEDIATYPE_Stream;
  streamType.subtype = choice.subtype;
  return source->Load(file, &streamType);
}

}  // namespace

// The source is found by the file's extension or contents (source_lookup.h),
// added under the name given or the file's, and loaded with
// IFileSourceFilter::Load; it is removed again when it cannot load the file.
HRESULT FilterGraph::AddSourceFilter(LPCWSTR lpcwstrFileName, LPCWSTR lpcwstrFilterName, IBaseFilter **ppFilter) {
  if (!ppFilter) return E_POINTER;
  *ppFilter = nullptr;
  if (!lpcwstrFileName) return E_POINTER;
  std::lock_guard lock(m_controlLock);
  SourceChoice choice{};
  if (HRESULT hr = FindSourceFilter(lpcwstrFileName, choice); FAILED(hr)) return hr;
  const com::ComPtr<IBaseFilter> source = CreateFilter(choice.source);
  const com::ComPtr<IFileSourceFilter> loader = FileSourceOf(source.Get());
  if (!loader) return VFW_E_CANNOT_LOAD_SOURCE_FILTER;
  HRESULT hr = AddFilter(source.Get(), lpcwstrFilterName ? lpcwstrFilterName : lpcwstrFileName);
  if (FAILED(hr)) return hr;
  hr = Load(loader.Get(), lpcwstrFileName, choice);
  if (FAILED(hr)) {
    RemoveFilter(source.Get());
    return hr;
  }
  *ppFilter = com::ComPtr<IBaseFilter>(source).Detach();
  return S_OK;
}

HRESULT FilterGraph::RenderFile(LPCWSTR lpcwstrFile, LPCWSTR) {
  if (!lpcwstrFile) return E_POINTER;
  std::lock_guard lock(m_controlLock);
  if (m_state != State_Stopped) return VFW_E_NOT_STOPPED;
  m_aborted = false;
  IBaseFilter *added = nullptr;
  if (HRESULT hr = AddSourceFilter(lpcwstrFile, nullptr, &added); FAILED(hr)) return hr;
  const com::ComPtr<IBaseFilter> source(added);
  added->Release();
  std::vector<StreamOutcome> streams;
  for (const auto &output : RenderableOutputs(source.Get())) {
    streams.push_back({MajorTypeOf(output.Get()), GraphBuilder(this).Render(output.Get())});
  }
  if (m_aborted) return E_ABORT;
  return RenderFileResult(streams);
}

}  // namespace platform::media
