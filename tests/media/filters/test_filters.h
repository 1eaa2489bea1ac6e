// Small filters for the media-graph tests, built as a library of their own
// on the platform's public filter headers alone, as the decoder and other
// filter libraries are.
//
//   NumberedSource       one output pin per stream; pushes frames whose
//                        data is their number (a DWORD), 40 ms apart, and
//                        end of stream last; a stream may switch to another
//                        media type at a given frame. It is seekable: frame
//                        n is at n * 40 ms, the duration that of the
//                        longest stream. Its gate, when closed, holds the
//                        frames back
//   PassThroughTransform copies each sample; its output type follows its
//                        input type, mid-stream changes included
//   RecordingRenderer    records what reaches it: frame numbers (presented,
//                        and held while paused), the type each frame came in, their times and discontinuity
//                        flags, the stream time each was presented at, the
//                        segment of the last one, and the threads it was
//                        called on
//
// Each is created with one reference, which the test holds. The library is
// also an in-process server of these classes (test_filter_server.cpp): its
// class objects make them in a default configuration.
#pragma once

#include <platform_filters/filter_server.h>
#include <platform_filters/media_type.h>
#include <platform_filters/renderer_filter.h>
#include <platform_filters/source_filter.h>
#include <platform_filters/transform_filter.h>

#include <atomic>
#include <condition_variable>
#include <mutex>
#include <thread>
#include <vector>

namespace test_filters {

using platform::media::MediaType;

// {5B1C3E2A-7D41-4E6B-9A0F-2C8D1E4F6A01}
constexpr CLSID kNumberedSourceClass = {0x5B1C3E2A, 0x7D41, 0x4E6B, {0x9A, 0x0F, 0x2C, 0x8D, 0x1E, 0x4F, 0x6A, 0x01}};
// {5B1C3E2A-7D41-4E6B-9A0F-2C8D1E4F6A02}
constexpr CLSID kPassThroughClass = {0x5B1C3E2A, 0x7D41, 0x4E6B, {0x9A, 0x0F, 0x2C, 0x8D, 0x1E, 0x4F, 0x6A, 0x02}};
// {5B1C3E2A-7D41-4E6B-9A0F-2C8D1E4F6A03}
constexpr CLSID kRecordingRendererClass = {
    0x5B1C3E2A, 0x7D41, 0x4E6B, {0x9A, 0x0F, 0x2C, 0x8D, 0x1E, 0x4F, 0x6A, 0x03}};

// The library's server: every filter of the library counts as one of its
// objects while it lives.
platform::media::FilterServer &Server();

constexpr REFERENCE_TIME kFrameDuration = 400000;  // 40 ms

// Video of the given size, RGB32, with a VIDEOINFOHEADER; its fixed sample
// size is the frame's.
MediaType VideoType(LONG width, LONG height);
// 16-bit stereo PCM audio at 48 kHz.
MediaType AudioType();
// The frame width of a VIDEOINFOHEADER type, 0 for others.
LONG WidthOf(const AM_MEDIA_TYPE &type);
// The filter's pin of that name, without a reference of its own.
IPin *PinOf(IBaseFilter *filter, const wchar_t *name);

constexpr DWORD kNoSwitch = 0xFFFFFFFF;

struct Stream {
  Stream(MediaType type, DWORD frames, DWORD switchAt = kNoSwitch, MediaType switchedType = MediaType(),
         DWORD keyInterval = 1)
      : type(std::move(type)),
        frames(frames),
        switchAt(switchAt),
        switchedType(std::move(switchedType)),
        keyInterval(keyInterval) {}

  MediaType type;
  DWORD frames;
  // From frame number switchAt on, the stream's samples are in switchedType.
  DWORD switchAt;
  MediaType switchedType;
  // Every keyInterval-th frame is a sync point. A seek starts at the sync
  // point before the position, the frames up to it marked preroll.
  DWORD keyInterval;
};

class NumberedSource final : public platform::media::SourceFilter {
 public:
  static NumberedSource *Create(std::vector<Stream> streams);
  IPin *Output(size_t stream) const;
  // The result of the last media type switch asked of a pin.
  HRESULT SwitchResult() const { return m_switchResult; }
  void CloseGate();
  void OpenGate();

 private:
  platform::media::ServerObject m_serverObject{Server()};
  explicit NumberedSource(std::vector<Stream> streams);
  HRESULT ProduceNext() override;
  HRESULT QueryDuration(REFERENCE_TIME *duration) override;
  HRESULT SeekTo(REFERENCE_TIME position) override;
  HRESULT PushFrame(size_t index);
  void WaitAtGate();

  std::vector<Stream> m_streams;
  std::vector<platform::media::SourcePin *> m_pins;
  // The producing thread's own, set by SeekTo while it is stopped.
  std::vector<DWORD> m_next;
  std::vector<DWORD> m_firstShown;  // frames before it are preroll
  size_t m_turn = 0;
  REFERENCE_TIME m_segmentStart = 0;
  std::atomic<HRESULT> m_switchResult{S_OK};
  std::mutex m_gateLock;
  std::condition_variable m_gateOpened;
  bool m_gateClosed = false;  // guarded by m_gateLock
};

class PassThroughTransform final : public platform::media::TransformFilter {
 public:
  static PassThroughTransform *Create();
  IPin *Input() const;
  IPin *Output() const;

 private:
  platform::media::ServerObject m_serverObject{Server()};
  PassThroughTransform();
  HRESULT CheckInputType(const AM_MEDIA_TYPE &input) override;
  HRESULT CheckTransform(const AM_MEDIA_TYPE &input, const AM_MEDIA_TYPE &output) override;
  HRESULT GetOutputType(ULONG position, MediaType *output) override;
  HRESULT DecideBufferSize(ALLOCATOR_PROPERTIES &request) override;
  HRESULT SetMediaType(PIN_DIRECTION direction, const AM_MEDIA_TYPE &type) override;
  HRESULT Transform(IMediaSample *input, IMediaSample *output) override;
};

struct Recorded {
  std::vector<DWORD> frames;
  std::vector<DWORD> held;  // the frames held while paused
  std::vector<LONG> frameWidths;  // the width of the type each frame came in
  std::vector<REFERENCE_TIME> starts;
  std::vector<bool> discontinuities;
  // The stream time when each frame was presented; only with a clock.
  std::vector<REFERENCE_TIME> presentedAt;
  platform::media::Segment segment;
  std::vector<std::thread::id> threads;
};

class RecordingRenderer final : public platform::media::RendererFilter {
 public:
  // Takes the major type given (video or audio); refuses a width of
  // refusedWidth, to test refusals.
  static RecordingRenderer *Create(const GUID &majorType, LONG refusedWidth = -1);
  IPin *Input() const;
  Recorded Record() const;
  // Waits, at most 10 s, until count frames have been rendered.
  bool WaitForFrames(size_t count) const;

 private:
  platform::media::ServerObject m_serverObject{Server()};
  RecordingRenderer(const GUID &majorType, LONG refusedWidth);
  HRESULT CheckMediaType(const AM_MEDIA_TYPE &type) override;
  HRESULT DoRenderSample(IMediaSample *sample) override;
  void ShowPausedSample(IMediaSample *sample) override;

  const GUID m_majorType;
  const LONG m_refusedWidth;
  mutable std::mutex m_lock;
  mutable std::condition_variable m_rendered;
  Recorded m_record;  // guarded by m_lock
};

}  // namespace test_filters
