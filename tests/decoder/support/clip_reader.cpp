// Reading test clips with libavformat.
#include "clip_reader.h"

#include <dvdmedia.h>
#include <uuids.h>

#include <gtest/gtest.h>

extern "C" {
#include <libavformat/avformat.h>
}

#include <algorithm>
#include <memory>

namespace decoder_testing {
namespace {

constexpr AVRational kReferenceTime = {1, 10000000};

struct InputCloser {
  void operator()(AVFormatContext *context) const { avformat_close_input(&context); }
};
using Input = std::unique_ptr<AVFormatContext, InputCloser>;

// The parameter sets of an AVC decoder configuration record: SPS count in the
// low 5 bits of byte 5, each with a 2-byte size, then the PPS count and PPSs.
std::vector<Bytes> ConfigurationUnits(const Bytes &record) {
  std::vector<Bytes> units;
  size_t offset = 5;
  for (int list = 0; list < 2 && offset < record.size(); ++list) {
    const int count = list == 0 ? record[offset] & 0x1F : record[offset];
    ++offset;
    for (int i = 0; i < count && offset + 2 <= record.size(); ++i) {
      const size_t size = size_t{record[offset]} << 8 | record[offset + 1];
      offset += 2;
      if (offset + size > record.size()) break;
      units.emplace_back(record.begin() + static_cast<ptrdiff_t>(offset),
                         record.begin() + static_cast<ptrdiff_t>(offset + size));
      offset += size;
    }
  }
  return units;
}

BITMAPINFOHEADER Bitmap(const AVCodecParameters &codec, DWORD fourcc) {
  BITMAPINFOHEADER bitmap{};
  bitmap.biSize = sizeof bitmap;
  bitmap.biWidth = codec.width;
  bitmap.biHeight = codec.height;
  bitmap.biPlanes = 1;
  bitmap.biBitCount = 24;
  bitmap.biCompression = fourcc;
  return bitmap;
}

platform::media::MediaType Avc1Type(const Clip &clip, const AVCodecParameters &codec) {
  Bytes sequenceHeader;
  for (const Bytes &unit : clip.parameterSets) {
    sequenceHeader.push_back(static_cast<uint8_t>(unit.size() >> 8));
    sequenceHeader.push_back(static_cast<uint8_t>(unit.size()));
    sequenceHeader.insert(sequenceHeader.end(), unit.begin(), unit.end());
  }
  Bytes block(std::max(sizeof(MPEG2VIDEOINFO), offsetof(MPEG2VIDEOINFO, dwSequenceHeader) + sequenceHeader.size()));
  auto *info = reinterpret_cast<MPEG2VIDEOINFO *>(block.data());
  info->hdr.AvgTimePerFrame = clip.frameDuration;
  info->hdr.bmiHeader = Bitmap(codec, MEDIASUBTYPE_AVC1.Data1);
  info->dwProfile = static_cast<DWORD>(codec.profile);
  info->dwLevel = static_cast<DWORD>(codec.level);
  info->dwFlags = clip.extradata.size() > 4 ? (clip.extradata[4] & 3u) + 1 : 4;
  info->cbSequenceHeader = static_cast<DWORD>(sequenceHeader.size());
  std::copy(sequenceHeader.begin(), sequenceHeader.end(), block.begin() + offsetof(MPEG2VIDEOINFO, dwSequenceHeader));
  return platform::media::MediaType(MEDIATYPE_Video, MEDIASUBTYPE_AVC1, FORMAT_MPEG2Video, block.data(), block.size());
}

platform::media::MediaType ByteStreamType(const Clip &clip, const AVCodecParameters &codec) {
  VIDEOINFOHEADER info{};
  info.AvgTimePerFrame = clip.frameDuration;
  info.bmiHeader = Bitmap(codec, MEDIASUBTYPE_H264.Data1);
  return platform::media::MediaType(MEDIATYPE_Video, MEDIASUBTYPE_H264, FORMAT_VideoInfo, &info, sizeof info);
}

void ReadPackets(AVFormatContext *input, const AVStream &stream, Clip &clip) {
  const int64_t origin = stream.start_time == AV_NOPTS_VALUE ? 0 : stream.start_time;
  AVPacket *packet = av_packet_alloc();
  while (av_read_frame(input, packet) >= 0) {
    if (packet->stream_index == stream.index) {
      ClipPacket read;
      read.data.assign(packet->data, packet->data + packet->size);
      read.start = av_rescale_q(packet->pts - origin, stream.time_base, kReferenceTime);
      read.stop = read.start + av_rescale_q(packet->duration, stream.time_base, kReferenceTime);
      read.key = packet->flags & AV_PKT_FLAG_KEY;
      clip.packets.push_back(std::move(read));
    }
    av_packet_unref(packet);
  }
  av_packet_free(&packet);
}

}  // namespace

Clip ReadClip(const std::string &path) {
  Clip clip;
  AVFormatContext *opened = nullptr;
  if (avformat_open_input(&opened, path.c_str(), nullptr, nullptr) < 0) {
    ADD_FAILURE() << "cannot open " << path;
    return clip;
  }
  Input input(opened);
  const int index = avformat_find_stream_info(input.get(), nullptr) >= 0
                        ? av_find_best_stream(input.get(), AVMEDIA_TYPE_VIDEO, -1, -1, nullptr, 0)
                        : -1;
  if (index < 0) {
    ADD_FAILURE() << "no video stream in " << path;
    return clip;
  }
  const AVStream &stream = *input->streams[index];
  const AVCodecParameters &codec = *stream.codecpar;
  clip.extradata.assign(codec.extradata, codec.extradata + codec.extradata_size);
  clip.width = codec.width;
  clip.height = codec.height;
  clip.sarWidth = codec.sample_aspect_ratio.num;
  clip.sarHeight = codec.sample_aspect_ratio.den;
  clip.frameDuration = av_rescale_q(1, av_inv_q(stream.avg_frame_rate), kReferenceTime);
  const bool configurationRecord = !clip.extradata.empty() && clip.extradata[0] == 1;
  if (configurationRecord) clip.parameterSets = ConfigurationUnits(clip.extradata);
  clip.type = configurationRecord ? Avc1Type(clip, codec) : ByteStreamType(clip, codec);
  ReadPackets(input.get(), stream, clip);
  return clip;
}

std::string SamplePath(const char *name) { return std::string(QUORVEL_SAMPLES_DIR) + "/" + name; }

std::string TestClipPath(const char *name) { return std::string(DECODER_TEST_CLIPS_DIR) + "/" + name; }

}  // namespace decoder_testing
