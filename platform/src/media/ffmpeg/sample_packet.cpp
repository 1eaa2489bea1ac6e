#include "media/ffmpeg/sample_packet.h"

#include <cstring>

namespace platform::media::ffmpeg {

HRESULT PacketFromSample(IMediaSample *sample, AVPacket *packet, std::optional<REFERENCE_TIME> &start) {
  av_packet_unref(packet);
  const LONG length = sample->GetActualDataLength();
  if (av_new_packet(packet, length) < 0) return E_OUTOFMEMORY;
  BYTE *data = nullptr;
  sample->GetPointer(&data);
  std::memcpy(packet->data, data, length);
  REFERENCE_TIME begins = 0, ends = 0;
  start.reset();
  if (SUCCEEDED(sample->GetTime(&begins, &ends))) start = begins;
  packet->pts = start ? *start : AV_NOPTS_VALUE;
  if (sample->IsSyncPoint() == S_OK) packet->flags |= AV_PKT_FLAG_KEY;
  return S_OK;
}

}  // namespace platform::media::ffmpeg
