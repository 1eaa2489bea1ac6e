// The built-in generic audio decoder on libavcodec.
#include "media/ffmpeg/generic_audio_decoder.h"

#include <vfwmsgs.h>

#include <algorithm>
#include <cstring>

#include "com/builtin_classes.h"
#include "media/ffmpeg/av_errors.h"
#include "media/ffmpeg/builtin_filter_factory.h"

namespace platform::media::ffmpeg {
namespace {

constexpr int64_t kUnitsPerSecond = 10000000;  // REFERENCE_TIME's 100 ns

// A tenth of a second of sound a buffer, four buffers.
constexpr LONG kOutputBuffers = 4;
constexpr LONG kSmallestBuffer = 4096;

const REGFILTERPINS2 kPins[] = {FilterPin(0, AudioDecoderInputPinTypes()),
                                FilterPin(REG_PINFLAG_B_OUTPUT, AudioDecoderOutputPinTypes())};
const REGFILTER2 kRegistration = FilterRegistration(MERIT_NORMAL, kPins);

const bool kRegistered = com::AddBuiltinClass({&kGenericAudioDecoderClass, L"Generic Audio Decoder", L"Both",
                                               &GenericAudioDecoder::Create, &kRegistration});

REFERENCE_TIME DurationOf(size_t samples, DWORD samplesPerSec) {
  return static_cast<REFERENCE_TIME>(samples / samplesPerSec * kUnitsPerSecond +
                                     samples % samplesPerSec * kUnitsPerSecond / samplesPerSec);
}

}  // namespace

HRESULT GenericAudioDecoder::Create(IUnknown *outer, REFIID riid, void **ppv) {
  return CreateBuiltinFilter(outer, riid, ppv, [] { return new GenericAudioDecoder(); });
}

GenericAudioDecoder::GenericAudioDecoder()
    : CodecDecoderFilter(kGenericAudioDecoderClass) {}

HRESULT GenericAudioDecoder::CheckInputType(const AM_MEDIA_TYPE &input) {
  const auto described = DescribeAudioDecoderInput(input);
  return described && avcodec_find_decoder(described->codec) ? S_OK : VFW_E_TYPE_NOT_ACCEPTED;
}

HRESULT GenericAudioDecoder::CheckTransform(const AM_MEDIA_TYPE &input, const AM_MEDIA_TYPE &output) {
  const auto from = DescribeAudioDecoderInput(input);
  const auto to = DescribeAudioDecoderOutput(output);
  return from && to && from->samplesPerSec == to->samplesPerSec ? S_OK : VFW_E_TYPE_NOT_ACCEPTED;
}

HRESULT GenericAudioDecoder::GetOutputType(ULONG position, MediaType *output) {
  const auto input = DescribeAudioDecoderInput(InputType().Get());
  auto type = input ? AudioDecoderOutputType(*input, position) : std::nullopt;
  if (!type) return VFW_S_NO_MORE_ITEMS;
  *output = std::move(*type);
  return S_OK;
}

HRESULT GenericAudioDecoder::DecideBufferSize(ALLOCATOR_PROPERTIES &request) {
  const auto output = DescribeAudioDecoderOutput(OutputType().Get());
  if (!output) return VFW_E_TYPE_NOT_ACCEPTED;
  const LONG tenth = static_cast<LONG>(output->samplesPerSec / 10 * output->blockAlign);
  request.cBuffers = std::max(request.cBuffers, kOutputBuffers);
  request.cbBuffer = std::max({request.cbBuffer, tenth, kSmallestBuffer});
  request.cbAlign = std::max(request.cbAlign, LONG{1});
  return S_OK;
}

HRESULT GenericAudioDecoder::OpenCodec() {
  const auto input = DescribeAudioDecoderInput(InputType().Get());
  const auto output = DescribeAudioDecoderOutput(OutputType().Get());
  if (!input || !output) return VFW_E_TYPE_NOT_ACCEPTED;
  const int opened = m_decoder.Open(*input);
  if (opened < 0) return StreamFailureResult(opened);
  m_output = *output;
  m_converter.Reset();
  return S_OK;
}

void GenericAudioDecoder::OnPacket(IMediaSample *input, std::optional<REFERENCE_TIME> start) {
  if (start && input->IsPreroll() == S_OK) m_lastPreroll = *start;
}

// Audio decoders fail a damaged packet with many different codes (invalid
// data, a feature they lack, a bad argument).
bool GenericAudioDecoder::IsDamage(int error) const { return error != AVERROR(ENOMEM); }

// A frame the resampler cannot take is passed over like damaged data.
HRESULT GenericAudioDecoder::DeliverDecoded(const AVFrame &frame) {
  if (m_converter.Convert(frame, m_output, &m_converted) < 0) return S_OK;
  if (frame.best_effort_timestamp != AV_NOPTS_VALUE) m_nextStart = frame.best_effort_timestamp;
  const bool preroll = m_lastPreroll && m_nextStart <= *m_lastPreroll;
  for (size_t done = 0; done < m_converted.size();) {
    size_t taken = 0;
    const HRESULT hr = DeliverPart(m_converted.data() + done, m_converted.size() - done, preroll, &taken);
    if (hr != S_OK) return hr;
    done += taken;
  }
  return S_OK;
}

// As much of the data as one output buffer holds, in whole samples.
HRESULT GenericAudioDecoder::DeliverPart(const BYTE *data, size_t size, bool preroll, size_t *taken) {
  IMediaSample *output = nullptr;
  HRESULT hr = NewOutputSample(nullptr, &output);
  if (FAILED(hr)) return hr;
  const size_t room = static_cast<size_t>(std::max(output->GetSize(), LONG{0})) / m_output.blockAlign * m_output.blockAlign;
  if (room == 0) {
    output->Release();
    return StreamingError(VFW_E_BUFFER_OVERFLOW);
  }
  *taken = std::min(size, room);
  BYTE *buffer = nullptr;
  output->GetPointer(&buffer);
  std::memcpy(buffer, data, *taken);
  output->SetActualDataLength(static_cast<LONG>(*taken));
  REFERENCE_TIME start = m_nextStart;
  REFERENCE_TIME stop = start + DurationOf(*taken / m_output.blockAlign, m_output.samplesPerSec);
  output->SetTime(&start, &stop);
  m_nextStart = stop;
  output->SetSyncPoint(TRUE);
  output->SetDiscontinuity(m_discontinuity);
  m_discontinuity = false;
  output->SetPreroll(preroll);
  hr = DeliverOutput(output);
  output->Release();
  return hr;
}

void GenericAudioDecoder::ForgetStream() {
  m_discontinuity = true;
  m_lastPreroll.reset();
  m_converter.Reset();
}

}  // namespace platform::media::ffmpeg
