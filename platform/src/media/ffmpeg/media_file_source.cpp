// The built-in source and splitter on libavformat.
#include "media/ffmpeg/media_file_source.h"

#include <objbase.h>
#include <uuids.h>
#include <vfwmsgs.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <string>

#include "com/builtin_classes.h"
#include "com/com_object.h"
#include "media/ffmpeg/av_errors.h"
#include "media/ffmpeg/builtin_filter_factory.h"
#include "media/ffmpeg/key_frame_seek.h"
#include "media/ffmpeg/media_file_types.h"
#include "media/ffmpeg/packet_timing.h"
#include "text/utf.h"

namespace platform::media::ffmpeg {
namespace {

constexpr LONG kMinVideoBuffer = 256 * 1024;
constexpr LONG kMinAudioBuffer = 64 * 1024;

// Enough buffers that a paused renderer holding one sample does not stop
// the reading of the other streams, interleaved as files usually are.
ALLOCATOR_PROPERTIES BuffersFor(const AVCodecParameters &codec) {
  if (codec.codec_type == AVMEDIA_TYPE_VIDEO) {
    // A compressed picture is smaller than the picture's luma plane.
    const LONG picture = static_cast<LONG>(std::min<int64_t>(int64_t{codec.width} * codec.height, INT32_MAX));
    return {24, std::max(kMinVideoBuffer, picture), 1, 0};
  }
  return {64, std::max<LONG>(kMinAudioBuffer, codec.block_align * 4096), 1, 0};
}

std::wstring PinName(const AVCodecParameters &codec, int sameKindBefore) {
  std::wstring name = codec.codec_type == AVMEDIA_TYPE_VIDEO ? L"Video" : L"Audio";
  return sameKindBefore == 0 ? name : name + L" " + std::to_wstring(sameKindBefore + 1);
}

// Found by its file types; with no input, intelligent connect never puts
// it between two filters.
const REGPINTYPES kOutputTypes[] = {{&MEDIATYPE_Video, nullptr}, {&MEDIATYPE_Audio, nullptr}};
const REGFILTERPINS2 kPins[] = {FilterPin(REG_PINFLAG_B_OUTPUT | REG_PINFLAG_B_MANY, kOutputTypes)};
const REGFILTER2 kRegistration = FilterRegistration(MERIT_NORMAL, kPins);

const bool kRegistered = com::AddBuiltinClass(
    {&kMediaFileSourceClass, L"Media File Source", L"Both", &MediaFileSource::Create, &kRegistration, &kMediaFileTypes});

}  // namespace

HRESULT MediaFileSource::Create(IUnknown *outer, REFIID riid, void **ppv) {
  return CreateBuiltinFilter(outer, riid, ppv, [] { return new MediaFileSource(); });
}

MediaFileSource::MediaFileSource() : SourceFilter(kMediaFileSourceClass), m_packet(av_packet_alloc()) {}

HRESULT MediaFileSource::QueryInterface(REFIID riid, void **ppv) { return SourceFilter::QueryInterface(riid, ppv); }
ULONG MediaFileSource::AddRef() { return SourceFilter::AddRef(); }
ULONG MediaFileSource::Release() { return SourceFilter::Release(); }

HRESULT MediaFileSource::QueryFilterInterface(REFIID riid, void **ppv) {
  return com::QueryInterfaceAmong<IFileSourceFilter>(this, riid, ppv);
}

HRESULT MediaFileSource::Load(LPCOLESTR pszFileName, const AM_MEDIA_TYPE *pmt) {
  if (!pszFileName) return E_POINTER;
  std::lock_guard lock(m_fileLock);
  if (!m_fileName.empty() || State() != State_Stopped) return E_UNEXPECTED;
  MediaFile file;
  const int opened = file.Open(text::ToUtf8(pszFileName));
  if (opened < 0) return OpenFailureResult(opened);
  const HRESULT hr = AddStreamPins(file);
  if (FAILED(hr)) return hr;
  m_file = std::move(file);
  if (m_file.Duration() != AV_NOPTS_VALUE) m_duration = ReferenceTimeOf(m_file.Duration());
  m_fileName = pszFileName;
  if (pmt) m_fileType = MediaType(*pmt);
  return S_OK;
}

// Every pin's type is known before the first pin is added: a file that
// fails adds none.
HRESULT MediaFileSource::AddStreamPins(MediaFile &file) {
  struct Named {
    int index;
    MediaType type;
    const AVCodecParameters *codec;
  };
  std::vector<Named> named;
  for (int index = 0; index < file.StreamCount(); ++index) {
    const StreamDescription stream = file.Describe(index);
    if (auto type = StreamMediaType(stream)) named.push_back({index, std::move(*type), stream.codec});
  }
  if (named.empty()) return VFW_E_UNSUPPORTED_STREAM;
  int videos = 0, audios = 0;
  for (Named &stream : named) {
    int &sameKind = stream.codec->codec_type == AVMEDIA_TYPE_VIDEO ? videos : audios;
    SourcePin *pin =
        AddOutputPin(PinName(*stream.codec, sameKind++), {std::move(stream.type)}, BuffersFor(*stream.codec));
    m_streams.push_back({stream.index, pin});
  }
  return S_OK;
}

HRESULT MediaFileSource::GetCurFile(LPOLESTR *ppszFileName, AM_MEDIA_TYPE *pmt) {
  if (!ppszFileName) return E_POINTER;
  *ppszFileName = nullptr;
  if (pmt) *pmt = AM_MEDIA_TYPE{};
  std::lock_guard lock(m_fileLock);
  if (m_fileName.empty()) return E_FAIL;
  const size_t bytes = (m_fileName.size() + 1) * sizeof(WCHAR);
  *ppszFileName = static_cast<LPOLESTR>(CoTaskMemAlloc(bytes));
  if (!*ppszFileName) return E_OUTOFMEMORY;
  std::memcpy(*ppszFileName, m_fileName.c_str(), bytes);
  if (!pmt) return S_OK;
  // Without a type given to Load, the file is described as a byte stream.
  const MediaType described =
      m_fileType.IsEmpty() ? MediaType(MEDIATYPE_Stream, GUID{}, GUID{}, nullptr, 0) : m_fileType;
  const HRESULT hr = described.CopyTo(pmt);
  if (FAILED(hr)) {
    CoTaskMemFree(*ppszFileName);
    *ppszFileName = nullptr;
  }
  return hr;
}

HRESULT MediaFileSource::QueryDuration(REFERENCE_TIME *duration) {
  if (!m_duration) return E_NOTIMPL;
  *duration = *m_duration;
  return S_OK;
}

// With the producer stopped; the file is found there by the producer.
HRESULT MediaFileSource::SeekTo(REFERENCE_TIME position) {
  m_start = position;
  m_startPending = true;
  m_packetHeld = false;
  for (OutputStream &stream : m_streams) stream.ended = false;
  return S_OK;
}

HRESULT MediaFileSource::ProduceNext() {
  if (m_startPending) {
    const HRESULT found = GoToStart();
    if (found != S_OK) return found;
  }
  if (std::none_of(m_streams.begin(), m_streams.end(), [this](const OutputStream &s) { return TakesSamples(s); })) {
    return S_FALSE;
  }
  const int read = ReadPacket();
  if (read == AVERROR_EOF) return S_FALSE;
  if (read < 0) return StreamFailureResult(read);
  OutputStream *stream = StreamOf(m_packet->stream_index);
  return stream && TakesSamples(*stream) ? Deliver(*stream, *m_packet) : S_OK;
}

// S_FALSE when there is nothing from the start position on.
HRESULT MediaFileSource::GoToStart() {
  m_startPending = false;
  if (m_duration && m_start >= *m_duration) return S_FALSE;
  const int keyStream = KeyStream();
  if (keyStream < 0) return S_FALSE;
  const int found = SeekToKeyFrame(m_file, keyStream, FileTimeOf(m_start), m_packet.get());
  if (found < 0) return StreamFailureResult(found);
  m_packetHeld = m_packet->data != nullptr;
  return S_OK;
}

// The stream whose key frames decide where streaming starts: the first
// connected video stream, else the first connected stream; -1 for none.
int MediaFileSource::KeyStream() const {
  int first = -1;
  for (const OutputStream &stream : m_streams) {
    if (!stream.pin->IsConnected()) continue;
    if (m_file.Describe(stream.index).codec->codec_type == AVMEDIA_TYPE_VIDEO) return stream.index;
    if (first < 0) first = stream.index;
  }
  return first;
}

bool MediaFileSource::TakesSamples(const OutputStream &stream) const {
  return !stream.ended && stream.pin->IsConnected();
}

// The key frame a seek found comes first.
int MediaFileSource::ReadPacket() {
  if (!m_packetHeld) return m_file.ReadPacket(m_packet.get());
  m_packetHeld = false;
  return 0;
}

MediaFileSource::OutputStream *MediaFileSource::StreamOf(int index) {
  const auto found = std::find_if(m_streams.begin(), m_streams.end(),
                                  [&](const OutputStream &stream) { return stream.index == index; });
  return found != m_streams.end() ? &*found : nullptr;
}

// A stream whose pin takes no more samples ends until the next start.
HRESULT MediaFileSource::Deliver(OutputStream &stream, const AVPacket &packet) {
  IMediaSample *sample = nullptr;
  HRESULT hr = stream.pin->GetDeliveryBuffer(&sample, nullptr, nullptr, 0);
  if (FAILED(hr)) return hr;
  hr = FillSample(stream, packet, sample);
  if (SUCCEEDED(hr)) hr = stream.pin->Queue(sample);
  sample->Release();
  if (hr == S_FALSE) stream.ended = true;
  return SUCCEEDED(hr) ? S_OK : hr;
}

HRESULT MediaFileSource::FillSample(const OutputStream &stream, const AVPacket &packet, IMediaSample *sample) {
  if (packet.size > sample->GetSize()) return VFW_E_BUFFER_OVERFLOW;
  BYTE *data = nullptr;
  sample->GetPointer(&data);
  if (packet.size > 0) std::memcpy(data, packet.data, packet.size);
  sample->SetActualDataLength(packet.size);
  const auto times = PacketSampleTimes(packet, m_file.TimeBase(stream.index), m_file.Origin(stream.index));
  REFERENCE_TIME start = 0, stop = 0;
  // A damaged file's time too far off to count from the start leaves the sample untimed.
  if (times && !__builtin_sub_overflow(times->start, m_start, &start) &&
      !__builtin_sub_overflow(times->stop.value_or(times->start), m_start, &stop)) {
    sample->SetTime(&start, times->stop ? &stop : nullptr);
    sample->SetPreroll(times->stop ? *times->stop <= m_start : times->start < m_start);
  }
  sample->SetSyncPoint((packet.flags & AV_PKT_FLAG_KEY) != 0);
  return S_OK;
}

}  // namespace platform::media::ffmpeg
