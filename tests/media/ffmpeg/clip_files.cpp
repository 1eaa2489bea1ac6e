// Files made from the generated clips.
#include "clip_files.h"

extern "C" {
#include <libavformat/avformat.h>
}

#include <fstream>
#include <iterator>
#include <vector>

#include "media/ffmpeg/av_objects.h"

namespace ffmpeg_testing {
namespace {

using platform::media::ffmpeg::FormatContextPtr;
using platform::media::ffmpeg::PacketPtr;

std::vector<char> ReadAll(const std::string &path) {
  std::ifstream in(path, std::ios::binary);
  return std::vector<char>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

bool WriteAll(const std::string &path, const std::vector<char> &bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  return static_cast<bool>(out);
}

struct OutputCloser {
  void operator()(AVFormatContext *context) const {
    if (context->pb) avio_closep(&context->pb);
    avformat_free_context(context);
  }
};

bool CopyPackets(AVFormatContext *input, AVFormatContext *output) {
  PacketPtr packet(av_packet_alloc());
  while (av_read_frame(input, packet.get()) == 0) {
    const AVStream *from = input->streams[packet->stream_index];
    av_packet_rescale_ts(packet.get(), from->time_base, output->streams[packet->stream_index]->time_base);
    packet->pos = -1;
    if (av_interleaved_write_frame(output, packet.get()) < 0) return false;
  }
  return av_write_trailer(output) == 0;
}

}  // namespace

bool WriteCutCopy(const std::string &from, const std::string &to, double fraction) {
  std::vector<char> bytes = ReadAll(from);
  bytes.resize(static_cast<size_t>(bytes.size() * fraction));
  return !bytes.empty() && WriteAll(to, bytes);
}

bool WriteDamagedCopy(const std::string &from, const std::string &to, double begin, double end) {
  std::vector<char> bytes = ReadAll(from);
  for (size_t i = static_cast<size_t>(bytes.size() * begin); i < static_cast<size_t>(bytes.size() * end); ++i) {
    bytes[i] = static_cast<char>(i * 97 + 13);
  }
  return !bytes.empty() && WriteAll(to, bytes);
}

bool WriteIndexFirstCopy(const std::string &from, const std::string &to) {
  AVFormatContext *opened = nullptr;
  if (avformat_open_input(&opened, from.c_str(), nullptr, nullptr) < 0) return false;
  FormatContextPtr input(opened);
  if (avformat_find_stream_info(input.get(), nullptr) < 0) return false;
  AVFormatContext *created = nullptr;
  if (avformat_alloc_output_context2(&created, nullptr, "mp4", to.c_str()) < 0) return false;
  std::unique_ptr<AVFormatContext, OutputCloser> output(created);
  for (unsigned i = 0; i < input->nb_streams; ++i) {
    AVStream *stream = avformat_new_stream(output.get(), nullptr);
    if (!stream || avcodec_parameters_copy(stream->codecpar, input->streams[i]->codecpar) < 0) return false;
    stream->codecpar->codec_tag = 0;
    stream->time_base = input->streams[i]->time_base;
  }
  if (avio_open(&output->pb, to.c_str(), AVIO_FLAG_WRITE) < 0) return false;
  AVDictionary *options = nullptr;
  av_dict_set(&options, "movflags", "+faststart", 0);
  const int written = avformat_write_header(output.get(), &options);
  av_dict_free(&options);
  return written >= 0 && CopyPackets(input.get(), output.get());
}

bool WriteSubtitleFile(const std::string &to) {
  const std::string text =
      "1\n00:00:00,000 --> 00:00:01,000\nA line of text\n\n2\n00:00:01,000 --> 00:00:02,000\nAnother\n\n";
  return WriteAll(to, std::vector<char>(text.begin(), text.end()));
}

}  // namespace ffmpeg_testing
