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
#include "media/ffmpeg/packet_timing.h"
#include "text/utf.h"

namespace platform::media::ffmpeg {
namespace {

constexpr LONG kMinVideoBuffer = 256 * 1024;
constexpr LONG kMinAudioBuffer = 64 * 1024;
constexpr REFERENCE_TIME kNoEnd = INT64_MAX;  // a segment's stop for a file of unknown duration

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

const bool kRegistered =
    com::AddBuiltinClass({&kMediaFileSourceClass, L"Media File Source", L"Both", &MediaFileSource::Create});

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

// The producing thread has ended when the base's Stop returns.
HRESULT MediaFileSource::Stop() {
  const HRESULT hr = SourceFilter::Stop();
  if (!m_runStarting.exchange(true) && m_file.IsOpen()) m_rewound = m_file.Rewind();
  return hr;
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

HRESULT MediaFileSource::ProduceNext() {
  if (m_runStarting.exchange(false)) {
    if (m_rewound < 0) return StreamFailureResult(m_rewound);
    BeginRun();
  }
  if (std::none_of(m_streams.begin(), m_streams.end(), [](const OutputStream &stream) { return stream.open; })) {
    return S_FALSE;
  }
  const int read = m_file.ReadPacket(m_packet.get());
  if (read == AVERROR_EOF) return S_FALSE;
  if (read < 0) return StreamFailureResult(read);
  OutputStream *stream = StreamOf(m_packet->stream_index);
  return stream && stream->open ? Deliver(*stream, *m_packet) : S_OK;
}

// The streams whose pins are connected open with a segment over the whole file.
void MediaFileSource::BeginRun() {
  const int64_t duration = m_file.Duration();
  const REFERENCE_TIME stop = duration == AV_NOPTS_VALUE ? kNoEnd : ReferenceTimeOf(duration);
  for (OutputStream &stream : m_streams) {
    stream.open = stream.pin->IsConnected();
    if (stream.open) stream.pin->QueueNewSegment(0, stop, 1.0);
  }
}

MediaFileSource::OutputStream *MediaFileSource::StreamOf(int index) {
  const auto found = std::find_if(m_streams.begin(), m_streams.end(),
                                  [&](const OutputStream &stream) { return stream.index == index; });
  return found != m_streams.end() ? &*found : nullptr;
}

// A stream whose pin takes no more samples is closed for the rest of the run.
HRESULT MediaFileSource::Deliver(OutputStream &stream, const AVPacket &packet) {
  IMediaSample *sample = nullptr;
  HRESULT hr = stream.pin->GetDeliveryBuffer(&sample, nullptr, nullptr, 0);
  if (FAILED(hr)) return hr;
  hr = FillSample(stream, packet, sample);
  if (SUCCEEDED(hr)) hr = stream.pin->Queue(sample);
  sample->Release();
  if (hr == S_FALSE) stream.open = false;
  return SUCCEEDED(hr) ? S_OK : hr;
}

HRESULT MediaFileSource::FillSample(const OutputStream &stream, const AVPacket &packet, IMediaSample *sample) {
  if (packet.size > sample->GetSize()) return VFW_E_BUFFER_OVERFLOW;
  BYTE *data = nullptr;
  sample->GetPointer(&data);
  if (packet.size > 0) std::memcpy(data, packet.data, packet.size);
  sample->SetActualDataLength(packet.size);
  if (const auto times = PacketSampleTimes(packet, m_file.TimeBase(stream.index), m_file.Origin(stream.index))) {
    REFERENCE_TIME start = times->start;
    REFERENCE_TIME stop = times->stop.value_or(0);
    sample->SetTime(&start, times->stop ? &stop : nullptr);
  }
  sample->SetSyncPoint((packet.flags & AV_PKT_FLAG_KEY) != 0);
  return S_OK;
}

}  // namespace platform::media::ffmpeg
