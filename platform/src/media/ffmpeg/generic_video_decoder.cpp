// The built-in generic video decoder on libavcodec.
#include "media/ffmpeg/generic_video_decoder.h"

#include <uuids.h>
#include <vfwmsgs.h>

#include <algorithm>

#include "com/builtin_classes.h"
#include "media/ffmpeg/av_errors.h"
#include "media/ffmpeg/builtin_filter_factory.h"
#include "media/ffmpeg/sample_packet.h"

namespace platform::media::ffmpeg {
namespace {

// One picture at the renderer, one being filled, one to spare.
constexpr LONG kOutputBuffers = 3;
constexpr int kThreadsOfLibavcodec = 0;

// Below the decoder under test (MERIT_PREFERRED), so that intelligent
// connect tries it first for what it takes, and high enough to be tried
// for the rest. Any video: CheckInputType takes what libavcodec decodes.
constexpr DWORD kDecoderMerit = MERIT_NORMAL;
const REGPINTYPES kInputTypes[] = {{&MEDIATYPE_Video, nullptr}};
const REGPINTYPES kOutputTypes[] = {
    {&MEDIATYPE_Video, &MEDIASUBTYPE_YV12}, {&MEDIATYPE_Video, &MEDIASUBTYPE_NV12}, {&MEDIATYPE_Video, &MEDIASUBTYPE_RGB32}};
const REGFILTERPINS2 kPins[] = {FilterPin(0, kInputTypes), FilterPin(REG_PINFLAG_B_OUTPUT, kOutputTypes)};
const REGFILTER2 kRegistration = FilterRegistration(kDecoderMerit, kPins);

const bool kRegistered = com::AddBuiltinClass(
    {&kGenericVideoDecoderClass, L"Generic Video Decoder", L"Both", &GenericVideoDecoder::Create, &kRegistration});

bool SameSize(const DecoderInput &input, const DecoderOutput &output) {
  return input.width == output.width && input.height == output.height;
}

}  // namespace

HRESULT GenericVideoDecoder::Create(IUnknown *outer, REFIID riid, void **ppv) {
  return CreateBuiltinFilter(outer, riid, ppv, [] { return new GenericVideoDecoder(kThreadsOfLibavcodec); });
}

HRESULT GenericVideoDecoder::CreateWithThreads(int threads, REFIID riid, void **ppv) {
  if (ppv) *ppv = nullptr;
  if (threads < 0) return E_INVALIDARG;
  return CreateBuiltinFilter(nullptr, riid, ppv, [threads] { return new GenericVideoDecoder(threads); });
}

GenericVideoDecoder::GenericVideoDecoder(int threads)
    : TransformFilter(kGenericVideoDecoderClass),
      m_decoder(threads),
      m_packet(av_packet_alloc()),
      m_frame(av_frame_alloc()) {}

HRESULT GenericVideoDecoder::CheckInputType(const AM_MEDIA_TYPE &input) {
  const auto described = DescribeDecoderInput(input);
  return described && avcodec_find_decoder(described->codec) ? S_OK : VFW_E_TYPE_NOT_ACCEPTED;
}

HRESULT GenericVideoDecoder::CheckTransform(const AM_MEDIA_TYPE &input, const AM_MEDIA_TYPE &output) {
  const auto from = DescribeDecoderInput(input);
  const auto to = DescribeDecoderOutput(output);
  return from && to && SameSize(*from, *to) ? S_OK : VFW_E_TYPE_NOT_ACCEPTED;
}

HRESULT GenericVideoDecoder::GetOutputType(ULONG position, MediaType *output) {
  const auto input = DescribeDecoderInput(InputType().Get());
  auto type = input ? DecoderOutputType(*input, position) : std::nullopt;
  if (!type) return VFW_S_NO_MORE_ITEMS;
  *output = std::move(*type);
  return S_OK;
}

HRESULT GenericVideoDecoder::DecideBufferSize(ALLOCATOR_PROPERTIES &request) {
  const auto output = DescribeDecoderOutput(OutputType().Get());
  if (!output) return VFW_E_TYPE_NOT_ACCEPTED;
  request.cBuffers = std::max(request.cBuffers, kOutputBuffers);
  request.cbBuffer = std::max(request.cbBuffer, static_cast<LONG>(output->imageSize));
  request.cbAlign = std::max(request.cbAlign, LONG{1});
  return S_OK;
}

HRESULT GenericVideoDecoder::SetMediaType(PIN_DIRECTION direction, const AM_MEDIA_TYPE &) {
  if (direction == PINDIR_INPUT) m_inputChanged = true;
  return S_OK;
}

// A decoder without both connections has nothing to do.
HRESULT GenericVideoDecoder::StartStreaming() {
  m_discontinuity = true;
  m_prerollTimes.clear();
  if (InputType().IsEmpty() || OutputType().IsEmpty()) return S_OK;
  return OpenDecoder();
}

void GenericVideoDecoder::StopStreaming() { m_decoder.Close(); }

HRESULT GenericVideoDecoder::OpenDecoder() {
  m_inputChanged = false;
  const auto input = DescribeDecoderInput(InputType().Get());
  const auto output = DescribeDecoderOutput(OutputType().Get());
  if (!input || !output) return VFW_E_TYPE_NOT_ACCEPTED;
  const int opened = m_decoder.Open(*input);
  if (opened < 0) return StreamFailureResult(opened);
  m_output = *output;
  m_frameDuration = input->avgTimePerFrame;
  return S_OK;
}

HRESULT GenericVideoDecoder::Receive(IMediaSample *input) {
  if (m_inputChanged || !m_decoder.IsOpen()) {
    const HRESULT opened = OpenDecoder();
    if (FAILED(opened)) return StreamingError(opened);
  }
  if (input->GetActualDataLength() <= 0) return S_OK;
  const HRESULT hr = PacketFromSample(input);
  return FAILED(hr) ? StreamingError(hr) : SendPacket(m_packet.get());
}

HRESULT GenericVideoDecoder::PacketFromSample(IMediaSample *input) {
  std::optional<REFERENCE_TIME> start;
  const HRESULT hr = ffmpeg::PacketFromSample(input, m_packet.get(), start);
  if (FAILED(hr)) return hr;
  if (start && input->IsPreroll() == S_OK) m_prerollTimes.insert(*start);
  return S_OK;
}

// Damaged data is passed over.
HRESULT GenericVideoDecoder::SendPacket(const AVPacket *packet) {
  int sent = m_decoder.Send(packet);
  if (sent == AVERROR(EAGAIN)) {
    const HRESULT hr = DeliverPictures();
    if (hr != S_OK) return hr;
    sent = m_decoder.Send(packet);
  }
  if (sent < 0 && sent != AVERROR_INVALIDDATA) return StreamingError(StreamFailureResult(sent));
  return DeliverPictures();
}

HRESULT GenericVideoDecoder::DeliverPictures() {
  for (;;) {
    const int received = m_decoder.Receive(m_frame.get());
    if (received == AVERROR(EAGAIN) || received == AVERROR_EOF) return S_OK;
    if (received == AVERROR_INVALIDDATA) continue;
    if (received < 0) return StreamingError(StreamFailureResult(received));
    const HRESULT hr = DeliverPicture(*m_frame);
    av_frame_unref(m_frame.get());
    if (hr != S_OK) return hr;
  }
}

HRESULT GenericVideoDecoder::DeliverPicture(const AVFrame &frame) {
  IMediaSample *output = nullptr;
  HRESULT hr = NewOutputSample(nullptr, &output);
  if (FAILED(hr)) return hr;
  BYTE *buffer = nullptr;
  output->GetPointer(&buffer);
  if (output->GetSize() < static_cast<LONG>(m_output.imageSize)) {
    hr = StreamingError(VFW_E_BUFFER_OVERFLOW);
  } else if (const int converted = m_converter.Convert(frame, m_output, buffer); converted < 0) {
    hr = StreamingError(StreamFailureResult(converted));
  } else {
    output->SetActualDataLength(static_cast<LONG>(m_output.imageSize));
    SetPictureProperties(frame, output);
    hr = DeliverOutput(output);
  }
  output->Release();
  return hr;
}

// Preroll times of pictures that never came are forgotten once a later picture comes.
void GenericVideoDecoder::SetPictureProperties(const AVFrame &frame, IMediaSample *output) {
  REFERENCE_TIME start = frame.best_effort_timestamp != AV_NOPTS_VALUE ? frame.best_effort_timestamp : m_nextStart;
  REFERENCE_TIME stop = start + m_frameDuration;
  output->SetTime(&start, m_frameDuration > 0 ? &stop : nullptr);
  m_nextStart = stop;
  output->SetSyncPoint(TRUE);
  output->SetDiscontinuity(m_discontinuity);
  m_discontinuity = false;
  output->SetPreroll(m_prerollTimes.erase(start) > 0);
  m_prerollTimes.erase(m_prerollTimes.begin(), m_prerollTimes.lower_bound(start));
}

HRESULT GenericVideoDecoder::OnEndOfStream() {
  if (!m_decoder.IsOpen()) return S_OK;
  const HRESULT hr = SendPacket(nullptr);
  m_decoder.Flush();
  return hr;
}

void GenericVideoDecoder::OnFlush() {
  if (m_decoder.IsOpen()) m_decoder.Flush();
  m_prerollTimes.clear();
  m_discontinuity = true;
}

}  // namespace platform::media::ffmpeg
