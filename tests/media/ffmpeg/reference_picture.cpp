// Pictures of a clip, decoded straight with libavcodec.
#include "reference_picture.h"

extern "C" {
#include <libavutil/imgutils.h>
}

#include "media/frame_digest.h"
#include "media/ffmpeg/av_objects.h"

namespace ffmpeg_testing {
namespace {

using namespace platform::media::ffmpeg;

std::vector<BYTE> Plane(const AVFrame &frame, int plane, int width, int height) {
  std::vector<BYTE> bytes;
  for (int line = 0; line < height; ++line) {
    const BYTE *start = frame.data[plane] + line * frame.linesize[plane];
    bytes.insert(bytes.end(), start, start + width);
  }
  return bytes;
}

std::vector<BYTE> Bgra(const AVFrame &frame) {
  std::vector<BYTE> bytes(static_cast<size_t>(frame.width) * frame.height * 4);
  ScalerPtr scaler(sws_getContext(frame.width, frame.height, static_cast<AVPixelFormat>(frame.format), frame.width,
                                  frame.height, AV_PIX_FMT_BGRA, SWS_BILINEAR, nullptr, nullptr, nullptr));
  uint8_t *planes[4] = {bytes.data()};
  int strides[4] = {frame.width * 4};
  sws_scale(scaler.get(), frame.data, frame.linesize, 0, frame.height, planes, strides);
  return bytes;
}

// Calls take(frame) for each picture of the first video stream, in
// presentation order, until it returns false.
template <typename Take>
void DecodeEach(AVFormatContext *file, Take take) {
  const int index = av_find_best_stream(file, AVMEDIA_TYPE_VIDEO, -1, -1, nullptr, 0);
  if (index < 0) return;
  const AVCodecParameters *parameters = file->streams[index]->codecpar;
  CodecContextPtr codec(avcodec_alloc_context3(avcodec_find_decoder(parameters->codec_id)));
  if (avcodec_parameters_to_context(codec.get(), parameters) < 0 || avcodec_open2(codec.get(), nullptr, nullptr) < 0) {
    return;
  }
  PacketPtr packet(av_packet_alloc());
  FramePtr frame(av_frame_alloc());
  bool more = true;
  const auto receive = [&] {
    while (more && avcodec_receive_frame(codec.get(), frame.get()) == 0) more = take(*frame);
  };
  while (more && av_read_frame(file, packet.get()) == 0) {
    if (packet->stream_index == index) avcodec_send_packet(codec.get(), packet.get());
    av_packet_unref(packet.get());
    receive();
  }
  avcodec_send_packet(codec.get(), nullptr);
  receive();
}

FormatContextPtr OpenFile(const std::string &path) {
  AVFormatContext *opened = nullptr;
  if (avformat_open_input(&opened, path.c_str(), nullptr, nullptr) < 0) return nullptr;
  FormatContextPtr file(opened);
  if (avformat_find_stream_info(file.get(), nullptr) < 0) return nullptr;
  return file;
}

}  // namespace

std::optional<ReferencePicture> FirstPicture(const std::string &path) {
  const FormatContextPtr file = OpenFile(path);
  if (!file) return std::nullopt;
  std::optional<ReferencePicture> picture;
  DecodeEach(file.get(), [&](const AVFrame &frame) {
    if (frame.format != AV_PIX_FMT_YUV420P) return false;
    picture.emplace();
    picture->width = frame.width;
    picture->height = frame.height;
    picture->y = Plane(frame, 0, frame.width, frame.height);
    picture->u = Plane(frame, 1, frame.width / 2, frame.height / 2);
    picture->v = Plane(frame, 2, frame.width / 2, frame.height / 2);
    picture->bgra = Bgra(frame);
    return false;
  });
  return picture;
}

std::vector<std::string> Yv12Digests(const std::string &path) {
  const FormatContextPtr file = OpenFile(path);
  std::vector<std::string> digests;
  if (!file) return digests;
  DecodeEach(file.get(), [&](const AVFrame &frame) {
    if (frame.format != AV_PIX_FMT_YUV420P) return false;
    std::vector<BYTE> bytes = Plane(frame, 0, frame.width, frame.height);
    for (const int plane : {2, 1}) {
      const std::vector<BYTE> chroma = Plane(frame, plane, frame.width / 2, frame.height / 2);
      bytes.insert(bytes.end(), chroma.begin(), chroma.end());
    }
    digests.push_back(platform::media::DigestOf(bytes.data(), bytes.size()));
    return true;
  });
  return digests;
}

}  // namespace ffmpeg_testing
