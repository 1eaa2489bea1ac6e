// The built-in source and splitter: opens a media file with libavformat
// (IFileSourceFilter) and gives one output pin per audio and video stream
// it can name, carrying the stream as it is stored (stream_media_type.h
// says in which media types).
//
// Load results: HRESULT_FROM_WIN32(ERROR_FILE_NOT_FOUND) for a missing
// file, VFW_E_UNKNOWN_FILE_TYPE for one that no demuxer recognises,
// VFW_E_UNSUPPORTED_STREAM when none of its streams can be named. A filter
// loads one file (E_UNEXPECTED after that).
//
// Streaming. The producing thread reads packets in file order; each becomes
// one sample of its stream's pin: times in 100 ns from the stream's time
// base (see packet_timing.h), counted from the start position, a sync point
// for a key frame. The end of the file ends every stream; a read failure (a
// damaged or cut file) stops streaming with EC_ERRORABORT, through the
// base class. A packet larger than the pin's buffers fails the same way
// (VFW_E_BUFFER_OVERFLOW).
//
// Seeking. A file whose duration libavformat knows is seekable (the base
// class keeps the positions, sends the segments and flushes). Streaming
// starts at the key frame of the first connected video stream (else of the
// first connected stream) at or before the start position (key_frame_seek.h);
// the samples that end at or before the position (that start before it,
// when their length is not known) are preroll, so the renderers present
// exactly what lies at the position. The file is found there by the
// producing thread, so a file that fails there ends the streams with
// EC_ERRORABORT like any read failure; a start at the end of the file ends
// them at once. A stop leaves the position where it is: the graph decides
// where the next run starts.
#pragma once

#include <platform_filters/source_filter.h>

#include <mutex>
#include <optional>
#include <vector>

#include "media/ffmpeg/av_objects.h"
#include "media/ffmpeg/media_file.h"

namespace platform::media::ffmpeg {

// {6D462FF1-D529-4A55-BCAB-C60D1C3D16C7}
inline constexpr CLSID kMediaFileSourceClass = {
    0x6D462FF1, 0xD529, 0x4A55, {0xBC, 0xAB, 0xC6, 0x0D, 0x1C, 0x3D, 0x16, 0xC7}};

class MediaFileSource final : public SourceFilter, public IFileSourceFilter {
 public:
  static HRESULT Create(IUnknown *outer, REFIID riid, void **ppv);

  // IUnknown: those of the filter and IFileSourceFilter.
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void **ppv) override;
  ULONG STDMETHODCALLTYPE AddRef() override;
  ULONG STDMETHODCALLTYPE Release() override;

  // IFileSourceFilter
  HRESULT STDMETHODCALLTYPE Load(LPCOLESTR pszFileName, const AM_MEDIA_TYPE *pmt) override;
  HRESULT STDMETHODCALLTYPE GetCurFile(LPOLESTR *ppszFileName, AM_MEDIA_TYPE *pmt) override;

 private:
  // A stream of the file that has a pin; the producing thread's own once
  // the file is loaded.
  struct OutputStream {
    int index;
    SourcePin *pin;
    bool ended = false;  // its pin takes no more samples from this start
  };

  MediaFileSource();
  HRESULT QueryFilterInterface(REFIID riid, void **ppv) override;
  HRESULT ProduceNext() override;
  HRESULT QueryDuration(REFERENCE_TIME *duration) override;
  HRESULT SeekTo(REFERENCE_TIME position) override;

  HRESULT AddStreamPins(MediaFile &file);
  HRESULT GoToStart();
  int KeyStream() const;
  bool TakesSamples(const OutputStream &stream) const;
  int ReadPacket();
  OutputStream *StreamOf(int index);
  HRESULT Deliver(OutputStream &stream, const AVPacket &packet);
  HRESULT FillSample(const OutputStream &stream, const AVPacket &packet, IMediaSample *sample);

  std::mutex m_fileLock;
  std::wstring m_fileName;  // guarded by m_fileLock; set once
  MediaType m_fileType;     // guarded by m_fileLock; the type given to Load

  MediaFile m_file;
  std::vector<OutputStream> m_streams;
  std::optional<REFERENCE_TIME> m_duration;  // set by Load; empty when not known

  // The producing thread's own; SeekTo sets them while it is stopped.
  PacketPtr m_packet;
  bool m_packetHeld = false;  // m_packet is the key frame a seek found, not yet delivered
  bool m_startPending = false;  // the file is still to be found at m_start
  REFERENCE_TIME m_start = 0;
};

}  // namespace platform::media::ffmpeg
