// The decoder filter: its media types and its streaming.
#include "h264_decoder_filter.h"

#include <vfwmsgs.h>

extern "C" {
#include <libavutil/frame.h>
#include <libavutil/pixdesc.h>
}

#include <algorithm>
#include <new>

namespace h264decoder {
namespace {

using platform::media::MediaType;

// Enough for the renderer to hold one picture while the next is written.
constexpr LONG kOutputBuffers = 3;
constexpr LONG kOutputAlignment = 16;

ChromaFormat ChromaOfPicture(const AVFrame &picture) {
  const AVPixFmtDescriptor *descriptor = av_pix_fmt_desc_get(static_cast<AVPixelFormat>(picture.format));
  if (!descriptor || descriptor->nb_components < 3 || descriptor->log2_chroma_h == 1) return ChromaFormat::k420;
  return descriptor->log2_chroma_w == 1 ? ChromaFormat::k422 : ChromaFormat::k444;
}

// What a decoded picture says of its format; the rest is kept from known.
PictureFormat FormatOfPicture(const AVFrame &picture, PictureFormat known) {
  known.width = picture.width;
  known.height = picture.height;
  known.chroma = ChromaOfPicture(picture);
  if (picture.sample_aspect_ratio.num > 0 && picture.sample_aspect_ratio.den > 0) {
    known.sarWidth = picture.sample_aspect_ratio.num;
    known.sarHeight = picture.sample_aspect_ratio.den;
  }
  return known;
}

InputSample SampleOf(IMediaSample *input) {
  InputSample sample;
  BYTE *data = nullptr;
  const LONG length = input->GetActualDataLength();
  if (SUCCEEDED(input->GetPointer(&data)) && data && length > 0) sample.data = {data, static_cast<size_t>(length)};
  const HRESULT timed = input->GetTime(&sample.start, &sample.stop);
  sample.hasStart = timed == S_OK || timed == VFW_S_NO_STOP_TIME;
  sample.hasStop = timed == S_OK;
  return sample;
}

}  // namespace

HRESULT H264DecoderFilter::Create(REFIID riid, void **ppv) {
  if (!ppv) return E_POINTER;
  *ppv = nullptr;
  auto *filter = new (std::nothrow) H264DecoderFilter;
  if (!filter) return E_OUTOFMEMORY;
  const HRESULT hr = filter->QueryInterface(riid, ppv);
  filter->Release();
  return hr;
}

H264DecoderFilter::H264DecoderFilter() : TransformFilter(CLSID_H264Decoder, L"In", L"Out"), m_decoder(*this) {
  m_settings.codec.threads = AutomaticThreadCount();
}

H264DecoderFilter::~H264DecoderFilter() = default;

HRESULT H264DecoderFilter::QueryInterface(REFIID riid, void **ppv) { return TransformFilter::QueryInterface(riid, ppv); }
ULONG H264DecoderFilter::AddRef() { return TransformFilter::AddRef(); }
ULONG H264DecoderFilter::Release() { return TransformFilter::Release(); }

HRESULT H264DecoderFilter::QueryFilterInterface(REFIID riid, void **ppv) {
  IUnknown *found = nullptr;
  if (IsEqualIID(riid, IID_IDecoderSettings)) found = static_cast<IDecoderSettings *>(this);
  if (IsEqualIID(riid, IID_IDecoderVersion)) found = static_cast<IDecoderVersion *>(this);
  if (!found) return TransformFilter::QueryFilterInterface(riid, ppv);
  found->AddRef();
  *ppv = found;
  return S_OK;
}

H264DecoderFilter::Settings H264DecoderFilter::CurrentSettings() const {
  std::lock_guard lock(m_formatLock);
  return m_settings;
}

// Media types.

HRESULT H264DecoderFilter::CheckInputType(const AM_MEDIA_TYPE &input) { return ReadInputFormat(input, nullptr); }

HRESULT H264DecoderFilter::CheckTransform(const AM_MEDIA_TYPE &, const AM_MEDIA_TYPE &output) {
  std::lock_guard lock(m_formatLock);
  return CheckOutputType(output, m_picture, m_settings.output);
}

HRESULT H264DecoderFilter::GetOutputType(ULONG position, MediaType *output) {
  std::lock_guard lock(m_formatLock);
  std::vector<MediaType> types = CandidateTypes(m_picture, m_settings.output);
  if (position >= types.size()) return VFW_S_NO_MORE_ITEMS;
  *output = std::move(types[position]);
  return S_OK;
}

HRESULT H264DecoderFilter::DecideBufferSize(ALLOCATOR_PROPERTIES &request) {
  request.cBuffers = std::max(request.cBuffers, kOutputBuffers);
  request.cbBuffer = std::max(request.cbBuffer, static_cast<LONG>(m_bufferSize.load()));
  request.cbAlign = std::max(request.cbAlign, kOutputAlignment);
  return S_OK;
}

// The input's type describes the stream until pictures say otherwise. A type
// that comes with a sample restarts the codec with its parameter sets.
HRESULT H264DecoderFilter::SetMediaType(PIN_DIRECTION direction, const AM_MEDIA_TYPE &type) {
  if (direction != PINDIR_INPUT) return S_OK;
  InputFormat format;
  if (HRESULT hr = ReadInputFormat(type, &format); FAILED(hr)) return hr;
  std::lock_guard lock(m_formatLock);
  m_input = std::move(format);
  if (State() != State_Stopped) {
    m_inputChanged = true;
    return S_OK;
  }
  m_picture = m_input.picture;
  m_bufferSize = LargestImageSize(m_picture);
  return S_OK;
}

std::vector<MediaType> H264DecoderFilter::CandidateTypes(const PictureFormat &picture,
                                                         const OutputSettings &settings) const {
  std::vector<MediaType> types = OutputTypes(picture, settings);
  const auto current = OutputPictureOf(OutputType().Get());
  if (!current) return types;
  std::stable_partition(types.begin(), types.end(), [&](const MediaType &type) {
    return IsEqualGUID(type->subtype, SubtypeOf(current->layout));
  });
  return types;
}

// S_OK when the connection's type already fits, or when downstream took one
// of the candidates; otherwise the first refusal, and nothing changed.
HRESULT H264DecoderFilter::SwitchOutputType(const PictureFormat &picture, const OutputSettings &settings) {
  const std::vector<MediaType> candidates = CandidateTypes(picture, settings);
  const MediaType current = OutputType();
  if (!candidates.empty() && candidates.front() == current) return S_OK;
  HRESULT refusal = VFW_E_TYPE_NOT_ACCEPTED;
  for (const MediaType &candidate : candidates) {
    const HRESULT hr = ChangeOutputType(candidate.Get());
    if (hr == S_OK) return S_OK;
    if (&candidate == &candidates.front()) refusal = hr;
  }
  return refusal;
}

// Streaming.

HRESULT H264DecoderFilter::StartStreaming() {
  const Settings settings = CurrentSettings();
  InputFormat input;
  {
    std::lock_guard lock(m_formatLock);
    input = m_input;
  }
  m_inputChanged = false;
  m_clock.Reset();
  m_discontinuity = true;
  m_outputPicture = OutputPictureOf(OutputType().Get());
  return m_decoder.Start(input, settings.codec);
}

void H264DecoderFilter::StopStreaming() { m_decoder.Stop(); }

HRESULT H264DecoderFilter::Receive(IMediaSample *input) {
  const Settings settings = CurrentSettings();
  if (m_inputChanged.exchange(false)) {
    InputFormat format;
    {
      std::lock_guard lock(m_formatLock);
      format = m_input;
    }
    if (HRESULT hr = m_decoder.Restart(format, settings.codec); FAILED(hr)) {
      return m_decoder.IsStarted() ? hr : StreamingError(hr);
    }
  }
  const HRESULT hr = m_decoder.Decode(SampleOf(input), settings.codec);
  if (FAILED(hr) && !m_decoder.IsStarted()) return StreamingError(hr);
  return hr;
}

HRESULT H264DecoderFilter::OnEndOfStream() { return m_decoder.Drain(); }

void H264DecoderFilter::OnFlush() {
  m_decoder.Flush(CurrentSettings().codec);
  m_clock.Reset();
  m_discontinuity = true;
}

HRESULT H264DecoderFilter::OnPicture(const AVFrame &picture) {
  if (HRESULT hr = FollowPicture(picture); FAILED(hr)) return StreamingError(hr);
  const PictureTimes times = TimesOf(picture);
  if (times.EndsBeforeSegment()) return S_OK;
  IMediaSample *output = nullptr;
  HRESULT hr = NewOutputSample(nullptr, &output);
  if (FAILED(hr)) return hr;
  FollowSampleType(output);
  hr = WritePicture(picture, times, output);
  hr = SUCCEEDED(hr) ? DeliverOutput(output) : StreamingError(hr);
  output->Release();
  return hr;
}

PictureTimes H264DecoderFilter::TimesOf(const AVFrame &picture) {
  bool passThrough = true;
  REFERENCE_TIME frameDuration = 0;
  {
    std::lock_guard lock(m_formatLock);
    passThrough = m_settings.passThroughTimeStamps;
    frameDuration = m_picture.frameDuration;
  }
  return passThrough ? PassedThroughTimes(picture) : m_clock.Next(picture, frameDuration);
}

// The output type follows the pictures: a new size, chroma format or aspect
// ratio goes downstream before the first picture that has it.
HRESULT H264DecoderFilter::FollowPicture(const AVFrame &picture) {
  std::lock_guard lock(m_formatLock);
  PictureFormat seen = FormatOfPicture(picture, m_picture);
  const REFERENCE_TIME declared = m_input.picture.frameDuration;
  const REFERENCE_TIME coded = m_decoder.FrameDuration();
  if (declared > 0 || coded > 0) seen.frameDuration = declared > 0 ? declared : coded;
  if (seen == m_picture) return S_OK;
  const DWORD previousBufferSize = m_bufferSize.exchange(std::max(m_bufferSize.load(), LargestImageSize(seen)));
  if (HRESULT hr = SwitchOutputType(seen, m_settings.output); FAILED(hr)) {
    m_bufferSize = previousBufferSize;
    return hr;
  }
  m_picture = seen;
  return S_OK;
}

// A sample that carries a media type starts the pictures of that type.
void H264DecoderFilter::FollowSampleType(IMediaSample *output) {
  AM_MEDIA_TYPE *type = nullptr;
  if (output->GetMediaType(&type) != S_OK || !type) return;
  m_outputPicture = OutputPictureOf(*type);
  platform::media::DeleteMediaType(type);
}

// E_UNEXPECTED when the picture does not fit the output's type or buffer:
// the output type always follows the pictures, so this is never expected.
HRESULT H264DecoderFilter::WritePicture(const AVFrame &picture, const PictureTimes &times, IMediaSample *output) {
  BYTE *buffer = nullptr;
  if (!m_outputPicture || FAILED(output->GetPointer(&buffer))) return E_UNEXPECTED;
  const size_t capacity = static_cast<size_t>(std::max<LONG>(output->GetSize(), 0));
  if (!m_writer.Write(picture, *m_outputPicture, buffer, capacity)) return E_UNEXPECTED;
  output->SetActualDataLength(
      static_cast<LONG>(ImageSize(m_outputPicture->layout, m_outputPicture->width, m_outputPicture->height)));
  REFERENCE_TIME start = times.start, stop = times.stop;
  output->SetTime(times.hasStart ? &start : nullptr, times.hasStop ? &stop : nullptr);
  output->SetSyncPoint(TRUE);
  output->SetPreroll(FALSE);
  output->SetDiscontinuity(m_discontinuity);
  m_discontinuity = false;
  return S_OK;
}

}  // namespace h264decoder
