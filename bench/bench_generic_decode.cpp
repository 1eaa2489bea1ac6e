// Decoding speed of the platform's generic video decoder against the FFmpeg
// tool (decode_bench.h says how it is measured):
//   BENCH generic-decode-720p-t<N> <fps> fps ratio=<ours/ffmpeg>
//   bench_generic_decode [clip] [runs]
#include <uuids.h>

#include "decode_bench.h"
#include "media/ffmpeg/generic_video_decoder.h"

namespace {

platform::com::ComPtr<IBaseFilter> MakeGenericDecoder(int threads) {
  IBaseFilter *created = nullptr;
  platform::media::ffmpeg::GenericVideoDecoder::CreateWithThreads(threads, IID_IBaseFilter,
                                                                  reinterpret_cast<void **>(&created));
  platform::com::ComPtr<IBaseFilter> decoder(created);
  if (created) created->Release();
  return decoder;
}

}  // namespace

int main(int argc, char **argv) {
  return bench::RunDecodeBench({"generic-decode-720p", MEDIASUBTYPE_YV12, &MakeGenericDecoder}, argc, argv);
}
