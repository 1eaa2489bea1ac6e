// The Pellonex H264 Decoder filter: one input pin that takes H.264
// (MEDIASUBTYPE_H264 or MEDIASUBTYPE_AVC1, see input_format.h), one output
// pin that gives decoded pictures (see output_formats.h), and the decoder's
// settings (IDecoderSettings) and identity (IDecoderVersion).
//
// The output type carries the input's AvgTimePerFrame and the pictures'
// size, and follows the stream: when the decoded pictures change (size,
// chroma format, aspect ratio), the next output sample brings the new type.
//
// Settings. The thread count and the time-stamp switch need no new output
// type: the count is taken by the codec where no picture is lost (see
// stream_decoder.h), the switch from the next picture on. The aspect ratio
// and chroma format switches change the output type: while the output pin
// is not connected they only change the types it will offer; while the
// graph is stopped the output pin is connected again in the new type; while
// it runs or is paused the new type goes downstream with the next picture.
// Either way the downstream pin must accept it first, or the setter returns
// the refusal (VFW_E_TYPE_NOT_ACCEPTED, or the downstream pin's error) and
// nothing changes. See decoder_settings.cpp.
//
// Seeking and flushing: pictures that end before the segment's start are
// not delivered, and a flush drops every picture inside the codec. At end of
// stream the codec is drained, so the last pictures come out first.
//
// Threads and locks. Settings calls come from any thread, usually the
// program's UI thread, while the streaming thread decodes.
//   m_changeLock  serialises the setters that may change the output type;
//                 never taken by streaming.
//   m_formatLock  guards m_settings, m_input and m_picture. It is held while
//                 the output type is changed mid-stream (a QueryAccept
//                 downstream), never while samples are delivered or buffers
//                 are waited for.
// Lock order: m_changeLock, the base classes' locks, m_formatLock. Fields
// marked "streaming" belong to the streaming thread: they are used only in
// the hooks that run under the transform's streaming lock.
#pragma once

#include <platform_filters/transform_filter.h>

#include <H264DecoderApi.h>

#include <atomic>
#include <mutex>
#include <optional>

#include "decoder_server.h"
#include "input_format.h"
#include "output_formats.h"
#include "picture_writer.h"
#include "stream_decoder.h"
#include "time_stamps.h"

namespace h264decoder {

class H264DecoderFilter final : public platform::media::TransformFilter,
                                public IDecoderSettings,
                                public IDecoderVersion,
                                private PictureSink {
 public:
  // A new filter, handed out as riid.
  static HRESULT Create(REFIID riid, void **ppv);

  // IUnknown, shared by the filter's interfaces.
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void **ppv) override;
  ULONG STDMETHODCALLTYPE AddRef() override;
  ULONG STDMETHODCALLTYPE Release() override;

  // IDecoderSettings (decoder_settings.cpp)
  HRESULT STDMETHODCALLTYPE SetDeblocking(BOOL bEnable) override;
  HRESULT STDMETHODCALLTYPE GetDeblocking(BOOL *pbEnabled) override;
  HRESULT STDMETHODCALLTYPE SetMaintainAspectRatio(BOOL bMaintain) override;
  HRESULT STDMETHODCALLTYPE GetMaintainAspectRatio(BOOL *pbMaintain) override;
  HRESULT STDMETHODCALLTYPE SetPassThroughTimeStamps(BOOL bPassThrough) override;
  HRESULT STDMETHODCALLTYPE GetPassThroughTimeStamps(BOOL *pbPassThrough) override;
  HRESULT STDMETHODCALLTYPE SetForceOriginalChromaFormat(DWORD dwForce) override;
  HRESULT STDMETHODCALLTYPE GetForceOriginalChromaFormat(BOOL *pbForce) override;
  HRESULT STDMETHODCALLTYPE SetThreads(int nThreads) override;
  HRESULT STDMETHODCALLTYPE GetThreads(int *pnThreads) override;

  // IDecoderVersion (decoder_identity.cpp)
  HRESULT STDMETHODCALLTYPE GetBuildType(DECODER_BUILD_TYPE *peBuildType) override;
  HRESULT STDMETHODCALLTYPE GetPlatform(DECODER_PLATFORM *pePlatform) override;
  HRESULT STDMETHODCALLTYPE GetProductName(BSTR *pbstrName) override;
  HRESULT STDMETHODCALLTYPE GetVersionNumber(BSTR *pbstrVersion) override;
  HRESULT STDMETHODCALLTYPE GetBuildDateTime(BSTR *pbstrDateTime) override;

 private:
  struct Settings {
    CodecSettings codec;
    bool passThroughTimeStamps = true;
    OutputSettings output;
  };

  H264DecoderFilter();
  ~H264DecoderFilter() override;

  // One thread per processor, at most H264DECODER_MAX_THREADS.
  static int AutomaticThreadCount();

  // TransformFilter
  HRESULT QueryFilterInterface(REFIID riid, void **ppv) override;
  HRESULT CheckInputType(const AM_MEDIA_TYPE &input) override;
  HRESULT CheckTransform(const AM_MEDIA_TYPE &input, const AM_MEDIA_TYPE &output) override;
  HRESULT GetOutputType(ULONG position, platform::media::MediaType *output) override;
  HRESULT DecideBufferSize(ALLOCATOR_PROPERTIES &request) override;
  HRESULT SetMediaType(PIN_DIRECTION direction, const AM_MEDIA_TYPE &type) override;
  HRESULT Receive(IMediaSample *input) override;
  HRESULT StartStreaming() override;
  void StopStreaming() override;
  HRESULT OnEndOfStream() override;
  void OnFlush() override;

  // PictureSink: one decoded picture, delivered downstream.
  HRESULT OnPicture(const AVFrame &picture) override;

  // Streaming.
  HRESULT FollowPicture(const AVFrame &picture);
  PictureTimes TimesOf(const AVFrame &picture);
  void FollowSampleType(IMediaSample *output);
  HRESULT WritePicture(const AVFrame &picture, const PictureTimes &times, IMediaSample *output);
  Settings CurrentSettings() const;

  // Output types, with m_formatLock held. The types for a picture format and
  // settings, the connection's own layout first.
  std::vector<platform::media::MediaType> CandidateTypes(const PictureFormat &picture,
                                                         const OutputSettings &settings) const;
  HRESULT SwitchOutputType(const PictureFormat &picture, const OutputSettings &settings);

  // Settings that change the output type (decoder_settings.cpp).
  HRESULT ChangeOutputSettings(bool OutputSettings::*setting, bool value);
  HRESULT ReconnectOutput(IPin *output, IPin *peer, const OutputSettings &wanted);

  // First, so that the library stays loaded until the rest is gone.
  platform::media::ServerObject m_serverObject{DecoderServer()};
  std::mutex m_changeLock;
  mutable std::mutex m_formatLock;
  Settings m_settings;      // guarded by m_formatLock
  InputFormat m_input;      // guarded by m_formatLock: the input connection's
  PictureFormat m_picture;  // guarded by m_formatLock: what the output type describes
  std::atomic<bool> m_inputChanged{false};  // a new input type came with a sample
  std::atomic<DWORD> m_bufferSize{0};       // LargestImageSize(m_picture)

  StreamDecoder m_decoder;                     // streaming
  PictureWriter m_writer;                      // streaming
  DerivedClock m_clock;                        // streaming
  std::optional<OutputPicture> m_outputPicture;  // streaming: the layout being written
  bool m_discontinuity = true;                 // streaming
};

}  // namespace h264decoder
