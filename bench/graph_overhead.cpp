// What a filter graph costs per sample: frames pushed from a source through
// a transform to a renderer in an unclocked graph, against the same frame
// work called in a plain loop in this process. Runs alternate between the
// two and the medians are compared. Prints
//   BENCH graph-overhead <ns> ns/sample ratio=<graph/direct>
// where <ns> is the graph's time less the loop's, per sample.
//   bench_graph_overhead [frames per run] [runs] [source buffers]
// The source's buffer count decides how far it runs ahead of the streaming
// thread that delivers its samples, and so how often the two threads wait
// for each other.
#include <dshow.h>
#include <evcode.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "bench_filters.h"
#include "frame_work.h"
#include "graph_objects.h"

namespace {

using bench::Adopt;
using bench::Query;
using Clock = std::chrono::steady_clock;

constexpr DWORD kDefaultFrames = 20000;
constexpr int kDefaultRuns = 7;
// As many as the media file source gives a video pin, so the figure is that
// of a graph as the test bench builds it; fewer make the source wait for a
// returned buffer at nearly every sample (try 4).
constexpr LONG kDefaultBuffers = 24;
constexpr LONG kCompletionTimeoutMs = 60000;

struct Timing {
  double nanoseconds = 0;
  unsigned long long checksum = 0;
};

double NanosecondsSince(Clock::time_point start) {
  return std::chrono::duration<double, std::nano>(Clock::now() - start).count();
}

Timing RunDirect(DWORD frames) {
  std::vector<BYTE> made(bench::kFrameBytes), copied(bench::kFrameBytes);
  Timing timing;
  const auto start = Clock::now();
  for (DWORD number = 0; number < frames; ++number) {
    bench::MakeFrame(made.data(), number);
    bench::CopyFrame(made.data(), copied.data());
    bench::ConsumeFrame(copied.data(), timing.checksum);
  }
  timing.nanoseconds = NanosecondsSince(start);
  return timing;
}

// Source -> transform -> renderer, unclocked; timed from Run to EC_COMPLETE.
bool RunGraph(DWORD frames, LONG buffers, Timing &timing) {
  const auto graph = bench::CreateBuiltin<IGraphBuilder>(CLSID_FilterGraph);
  if (!graph) return false;
  const auto source = Adopt(bench::FrameSource::Create(frames, buffers));
  const auto transform = Adopt(bench::CopyTransform::Create());
  const auto renderer = Adopt(bench::ChecksumRenderer::Create());
  graph->AddFilter(source.Get(), L"Source");
  graph->AddFilter(transform.Get(), L"Transform");
  graph->AddFilter(renderer.Get(), L"Renderer");
  if (FAILED(graph->ConnectDirect(source->Output(), transform->Input(), nullptr)) ||
      FAILED(graph->ConnectDirect(transform->Output(), renderer->Input(), nullptr)) ||
      FAILED(Query<IMediaFilter>(graph.Get())->SetSyncSource(nullptr))) {
    return false;
  }
  const auto control = Query<IMediaControl>(graph.Get());
  const auto events = Query<IMediaEvent>(graph.Get());
  const auto start = Clock::now();
  const bool completed = SUCCEEDED(control->Run()) && bench::WaitForCompletion(events.Get(), kCompletionTimeoutMs);
  timing.nanoseconds = NanosecondsSince(start);
  control->Stop();
  timing.checksum = renderer->Checksum();
  return completed;
}

double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return values[values.size() / 2];
}

}  // namespace

int main(int argc, char **argv) {
  const DWORD frames = argc > 1 ? static_cast<DWORD>(std::strtoul(argv[1], nullptr, 10)) : kDefaultFrames;
  const int runs = argc > 2 ? std::atoi(argv[2]) : kDefaultRuns;
  const LONG buffers = argc > 3 ? std::atoi(argv[3]) : kDefaultBuffers;
  if (frames == 0 || runs <= 0 || buffers <= 0) {
    std::fprintf(stderr, "usage: %s [frames per run] [runs] [source buffers]\n", argv[0]);
    return 2;
  }
  CoInitializeEx(nullptr, COINIT_MULTITHREADED);
  std::vector<double> graphTimes, directTimes;
  for (int run = 0; run < runs; ++run) {
    Timing graph, direct = RunDirect(frames);
    if (!RunGraph(frames, buffers, graph)) {
      std::fprintf(stderr, "the graph did not run to its end\n");
      return 1;
    }
    if (graph.checksum != direct.checksum) {
      std::fprintf(stderr, "the graph's frames differ from the loop's\n");
      return 1;
    }
    graphTimes.push_back(graph.nanoseconds);
    directTimes.push_back(direct.nanoseconds);
  }
  CoUninitialize();
  const double graphTime = Median(graphTimes);
  const double directTime = Median(directTimes);
  std::printf("BENCH graph-overhead %.0f ns/sample ratio=%.1f\n", (graphTime - directTime) / frames,
              graphTime / directTime);
  return 0;
}
