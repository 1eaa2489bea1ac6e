// The built-in generic video decoder on libavcodec.
#include "media/ffmpeg/generic_video_decoder.h"

#include <uuids.h>
#include <vfwmsgs.h>

#include <algorithm>

#include "com/builtin_classes.h"
#include "media/ffmpeg/av_errors.h"
#include "media/ffmpeg/builtin_filter_factory.h"

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
    : CodecDecoderFilter(kGenericVideoDecoderClass), m_decoder(threads) {}

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

HRESULT GenericVideoDecoder::OpenCodec() {
  const auto input = DescribeDecoderInput(InputType().Get());
  const auto output = DescribeDecoderOutput(OutputType().Get());
  if (!input || !output) return VFW_E_TYPE_NOT_ACCEPTED;
  const int opened = m_decoder.Open(*input);
  if (opened < 0) return StreamFailureResult(opened);
  m_output = *output;
  m_frameDuration = input->avgTimePerFrame;
  return S_OK;
}

void GenericVideoDecoder::OnPacket(IMediaSample *input, std::optional<REFERENCE_TIME> start) {
  if (start && input->IsPreroll() == S_OK) m_prerollTimes.insert(*start);
}

bool GenericVideoDecoder::IsDamage(int error) const { return error == AVERROR_INVALIDDATA; }

HRESULT GenericVideoDecoder::DeliverDecoded(const AVFrame &frame) {
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

void GenericVideoDecoder::ForgetStream() {
  m_prerollTimes.clear();
  m_discontinuity = true;
}

}  // namespace platform::media::ffmpeg
