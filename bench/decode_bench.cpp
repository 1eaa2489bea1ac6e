#include "decode_bench.h"

#include <dshow.h>
#include <evcode.h>
#include <platform_filters/renderer_filter.h>
#include <uuids.h>

#include <spawn.h>
#include <sys/wait.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "graph_objects.h"
#include "media/ffmpeg/media_file_source.h"
#include "text/utf.h"

extern char **environ;

namespace bench {
namespace {

using Clock = std::chrono::steady_clock;

constexpr int kDefaultRuns = 5;
constexpr LONG kCompletionTimeoutMs = 300000;
constexpr int kThreadCounts[] = {1, 2};

// {0C3B7E21-94A8-4F5D-B6E2-7A19D4C58E30}
constexpr CLSID kFrameCounterClass = {0x0C3B7E21, 0x94A8, 0x4F5D, {0xB6, 0xE2, 0x7A, 0x19, 0xD4, 0xC5, 0x8E, 0x30}};

// Takes the decoder's frames of one subtype and counts them.
class FrameCounter final : public platform::media::RendererFilter {
 public:
  explicit FrameCounter(const GUID &subtype) : RendererFilter(kFrameCounterClass), m_subtype(subtype) {}
  DWORD Frames() const { return m_frames; }

 private:
  HRESULT CheckMediaType(const AM_MEDIA_TYPE &type) override {
    const bool taken = IsEqualGUID(type.majortype, MEDIATYPE_Video) && IsEqualGUID(type.subtype, m_subtype);
    return taken ? S_OK : VFW_E_TYPE_NOT_ACCEPTED;
  }
  HRESULT DoRenderSample(IMediaSample *) override {
    m_frames.fetch_add(1, std::memory_order_relaxed);
    return S_OK;
  }

  const GUID m_subtype;
  std::atomic<DWORD> m_frames{0};
};

ComPtr<IPin> PinOf(IBaseFilter *filter, const wchar_t *name) {
  IPin *pin = nullptr;
  filter->FindPin(name, &pin);
  return Adopt(pin);
}

double SecondsSince(Clock::time_point start) { return std::chrono::duration<double>(Clock::now() - start).count(); }

struct Decode {
  double seconds = 0;
  DWORD frames = 0;
};

// Source -> decoder -> frame counter, unclocked; 0 frames when the graph
// could not be built or did not run to its end.
Decode DecodeThroughGraph(const DecodeBench &bench, const std::string &clip, int threads) {
  Decode decode;
  const auto start = Clock::now();
  const auto graph = CreateBuiltin<IGraphBuilder>(CLSID_FilterGraph);
  const auto source = CreateBuiltin<IBaseFilter>(platform::media::ffmpeg::kMediaFileSourceClass);
  const auto decoder = bench.makeDecoder(threads);
  const auto counter = Adopt(new FrameCounter(bench.outputSubtype));
  const auto file = Query<IFileSourceFilter>(source.Get());
  if (!graph || !file || !decoder || FAILED(file->Load(platform::text::FromUtf8(clip).c_str(), nullptr))) {
    return decode;
  }
  graph->AddFilter(source.Get(), L"Source");
  graph->AddFilter(decoder.Get(), L"Decoder");
  graph->AddFilter(counter.Get(), L"Renderer");
  if (FAILED(graph->ConnectDirect(PinOf(source.Get(), L"Video").Get(), PinOf(decoder.Get(), L"In").Get(), nullptr)) ||
      FAILED(graph->ConnectDirect(PinOf(decoder.Get(), L"Out").Get(), PinOf(counter.Get(), L"In").Get(), nullptr)) ||
      FAILED(Query<IMediaFilter>(graph.Get())->SetSyncSource(nullptr))) {
    return decode;
  }
  const auto control = Query<IMediaControl>(graph.Get());
  const bool completed = SUCCEEDED(control->Run()) && WaitForCompletion(Query<IMediaEvent>(graph.Get()).Get(), kCompletionTimeoutMs);
  decode.seconds = SecondsSince(start);
  control->Stop();
  decode.frames = completed ? counter->Frames() : 0;
  return decode;
}

// The FFmpeg tool's decode; a negative time when it failed.
double DecodeWithFfmpeg(const std::string &clip, int threads) {
  const std::string threadCount = std::to_string(threads);
  const char *const arguments[] = {"ffmpeg", "-hide_banner", "-loglevel", "error", "-nostdin", "-threads",
                                   threadCount.c_str(), "-i", clip.c_str(), "-an", "-f", "null", "-", nullptr};
  const auto start = Clock::now();
  pid_t child = 0;
  if (posix_spawnp(&child, "ffmpeg", nullptr, nullptr, const_cast<char *const *>(arguments), environ) != 0) return -1;
  int status = 0;
  if (waitpid(child, &status, 0) != child || !WIFEXITED(status) || WEXITSTATUS(status) != 0) return -1;
  return SecondsSince(start);
}

double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return values[values.size() / 2];
}

// Prints the line for one thread count; false when a decode failed.
bool Measure(const DecodeBench &bench, const std::string &clip, int threads, int runs) {
  std::vector<double> ours, theirs;
  DWORD frames = 0;
  for (int run = 0; run < runs; ++run) {
    const Decode decode = DecodeThroughGraph(bench, clip, threads);
    const double ffmpeg = DecodeWithFfmpeg(clip, threads);
    if (decode.frames == 0 || ffmpeg < 0) return false;
    frames = decode.frames;
    ours.push_back(decode.seconds);
    theirs.push_back(ffmpeg);
  }
  const double ourSeconds = Median(ours);
  std::printf("BENCH %s-t%d %.1f fps ratio=%.3f\n", bench.name, threads, frames / ourSeconds,
              Median(theirs) / ourSeconds);
  std::fflush(stdout);
  return true;
}

}  // namespace

int RunDecodeBench(const DecodeBench &bench, int argc, char **argv) {
  const std::string clip = argc > 1 ? argv[1] : QUORVEL_SAMPLES_DIR "/bench-h264-720p.mp4";
  const int runs = argc > 2 ? std::atoi(argv[2]) : kDefaultRuns;
  if (runs <= 0) {
    std::fprintf(stderr, "usage: %s [clip] [runs]\n", argv[0]);
    return 2;
  }
  CoInitializeEx(nullptr, COINIT_MULTITHREADED);
  int result = 0;
  for (const int threads : kThreadCounts) {
    if (!Measure(bench, clip, threads, runs)) {
      std::fprintf(stderr, "decoding %s on %d threads failed\n", clip.c_str(), threads);
      result = 1;
    }
  }
  CoUninitialize();
  return result;
}

}  // namespace bench
