// Decoding the clips with libavcodec for the reference pictures.
#include "reference_decode.h"

#include <gtest/gtest.h>

extern "C" {
#include <libavcodec/avcodec.h>
}

#include <algorithm>
#include <cstring>

#include "test_filters.h"

namespace decoder_testing {
namespace {

struct Plane {
  const uint8_t *data;
  int stride, width, height;
  uint8_t at(int x, int y) const { return data[ptrdiff_t{y} * stride + x]; }
};

void Append(Bytes &out, const Plane &plane) {
  for (int y = 0; y < plane.height; ++y) {
    out.insert(out.end(), plane.data + ptrdiff_t{y} * plane.stride, plane.data + ptrdiff_t{y} * plane.stride + plane.width);
  }
}

Bytes Pack(const AVFrame &frame, PackedLayout layout) {
  const bool full = layout == PackedLayout::kYV24 || layout == PackedLayout::kAYUV;
  const bool halfHeight = layout == PackedLayout::kNV12 || layout == PackedLayout::kYV12 || layout == PackedLayout::kI420;
  const int cw = full ? frame.width : (frame.width + 1) / 2, ch = halfHeight ? (frame.height + 1) / 2 : frame.height;
  const Plane y{frame.data[0], frame.linesize[0], frame.width, frame.height};
  const Plane u{frame.data[1], frame.linesize[1], cw, ch}, v{frame.data[2], frame.linesize[2], cw, ch};
  Bytes out;
  switch (layout) {
    case PackedLayout::kNV12:
      Append(out, y);
      for (int row = 0; row < ch; ++row) {
        for (int x = 0; x < cw; ++x) out.insert(out.end(), {u.at(x, row), v.at(x, row)});
      }
      break;
    case PackedLayout::kI420:
      Append(out, y), Append(out, u), Append(out, v);
      break;
    case PackedLayout::kYV12: case PackedLayout::kYV16: case PackedLayout::kYV24:
      Append(out, y), Append(out, v), Append(out, u);
      break;
    case PackedLayout::kYUY2:
      for (int row = 0; row < frame.height; ++row) {
        for (int x = 0; x < cw; ++x) {
          const int second = std::min(2 * x + 1, frame.width - 1);
          out.insert(out.end(), {y.at(2 * x, row), u.at(x, row), y.at(second, row), v.at(x, row)});
        }
      }
      break;
    case PackedLayout::kAYUV:
      for (int row = 0; row < frame.height; ++row) {
        for (int x = 0; x < frame.width; ++x) out.insert(out.end(), {v.at(x, row), u.at(x, row), y.at(x, row), 0xFF});
      }
      break;
  }
  return out;
}

void Receive(AVCodecContext *context, AVFrame *frame, PackedLayout layout, std::vector<ReferencePicture> &pictures) {
  while (avcodec_receive_frame(context, frame) == 0) {
    const Bytes packed = Pack(*frame, layout);
    pictures.push_back({HashOf(packed.data(), packed.size()), packed.size(), frame->pts});
    av_frame_unref(frame);
  }
}

}  // namespace

std::vector<ReferencePicture> ReferenceDecode(const Clip &clip, PackedLayout layout) {
  std::vector<ReferencePicture> pictures;
  const AVCodec *codec = avcodec_find_decoder(AV_CODEC_ID_H264);
  AVCodecContext *context = avcodec_alloc_context3(codec);
  context->thread_count = 1;
  if (!clip.extradata.empty()) {
    context->extradata = static_cast<uint8_t *>(av_mallocz(clip.extradata.size() + AV_INPUT_BUFFER_PADDING_SIZE));
    std::memcpy(context->extradata, clip.extradata.data(), clip.extradata.size());
    context->extradata_size = static_cast<int>(clip.extradata.size());
  }
  EXPECT_EQ(avcodec_open2(context, codec, nullptr), 0);
  AVPacket *packet = av_packet_alloc();
  AVFrame *frame = av_frame_alloc();
  for (const ClipPacket &read : clip.packets) {
    av_new_packet(packet, static_cast<int>(read.data.size()));
    std::memcpy(packet->data, read.data.data(), read.data.size());
    packet->pts = read.start;
    avcodec_send_packet(context, packet);
    av_packet_unref(packet);
    Receive(context, frame, layout, pictures);
  }
  avcodec_send_packet(context, nullptr);
  Receive(context, frame, layout, pictures);
  av_frame_free(&frame);
  av_packet_free(&packet);
  avcodec_free_context(&context);
  return pictures;
}

}  // namespace decoder_testing
