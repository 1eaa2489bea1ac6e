// quorvel-sample-graph MEDIA GRAPH: renders MEDIA with the decoder under
// test added first, so that it takes the video, and saves the graph as a
// compound file GRAPH whose "ActiveMovieGraph" stream holds the graph
// manager's persistent form. The classes must be registered in the registry
// the tool runs with. A file rendered only in part (a stream no filter
// takes) is saved with a warning. Exit code 0 when saved, 1 for bad
// arguments, 2 when a step failed (reported on standard error with its
// HRESULT).
#include <windows.h>

#include <atlbase.h>
#include <dshow.h>

#include <H264DecoderApi.h>

#include <cstdio>
#include <string>

#include "text/utf.h"

namespace {

struct Failure {
  const char *step;
  HRESULT hr;
};

void Check(const char *step, HRESULT hr) {
  if (hr != S_OK) throw Failure{step, hr};
}

void RenderWithDecoder(IGraphBuilder *graph, const std::wstring &media) {
  CComPtr<IBaseFilter> decoder;
  Check("creating the decoder", decoder.CoCreateInstance(CLSID_H264Decoder, nullptr, CLSCTX_INPROC_SERVER));
  Check("adding the decoder", graph->AddFilter(decoder, L"Pellonex H264 Decoder"));
  const HRESULT hr = graph->RenderFile(media.c_str(), nullptr);
  if (FAILED(hr)) throw Failure{"rendering the media file", hr};
  if (hr != S_OK) std::fprintf(stderr, "warning: the media file was rendered only in part: 0x%08X\n", unsigned(hr));
}

void SaveGraph(IGraphBuilder *graph, const std::wstring &file) {
  CComPtr<IPersistStream> persist;
  Check("asking the graph for IPersistStream", graph->QueryInterface(IID_IPersistStream, (void **)&persist));
  CComPtr<IStorage> storage;
  Check("creating the graph file",
        StgCreateDocfile(file.c_str(), STGM_CREATE | STGM_READWRITE | STGM_SHARE_EXCLUSIVE, 0, &storage));
  CComPtr<IStream> stream;
  Check("creating the graph stream",
        storage->CreateStream(L"ActiveMovieGraph", STGM_CREATE | STGM_WRITE | STGM_SHARE_EXCLUSIVE, 0, 0, &stream));
  Check("saving the graph", persist->Save(stream, TRUE));
  Check("committing the graph file", storage->Commit(STGC_DEFAULT));
}

void MakeSampleGraph(const std::wstring &media, const std::wstring &file) {
  CComPtr<IGraphBuilder> graph;
  Check("creating the graph manager", graph.CoCreateInstance(CLSID_FilterGraph, nullptr, CLSCTX_INPROC_SERVER));
  RenderWithDecoder(graph, media);
  SaveGraph(graph, file);
}

}  // namespace

int main(int argc, char **argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: %s MEDIA GRAPH\n", argv[0]);
    return 1;
  }
  if (CoInitialize(nullptr) != S_OK) {
    std::fprintf(stderr, "%s: COM could not be initialised\n", argv[0]);
    return 2;
  }
  int exitCode = 0;
  try {
    MakeSampleGraph(platform::text::FromUtf8(argv[1]), platform::text::FromUtf8(argv[2]));
  } catch (const Failure &failure) {
    std::fprintf(stderr, "%s: %s failed: 0x%08X\n", argv[0], failure.step, static_cast<unsigned>(failure.hr));
    exitCode = 2;
  }
  CoUninitialize();
  return exitCode;
}
