// RendererFilter: a filter with one input pin that presents the samples it
// receives (a video window, an audio device, a test recorder) and reports
// the end of its stream to the graph.
//
// What it handles:
//   Paused    the first sample to arrive is held: the input's Receive waits
//             until the filter runs (then the sample is presented), is
//             flushed or stops (then it is dropped). Until a sample or end
//             of stream arrives, the pause is not complete: Pause returns
//             S_FALSE and GetState gives VFW_S_STATE_INTERMEDIATE. A
//             renderer whose input is not connected completes at once.
//   Running   each sample is presented at its time: when the stream time
//             (see base_filter.h) reaches the sample's start. Until then
//             Receive waits; a stop or flush ends the wait at once (the
//             sample is dropped), a pause turns it into the held sample.
//             Without a clock, or for a sample without times or already
//             late, the sample is presented on arrival.
//   Preroll   samples marked preroll are never presented, nor held: they
//             only lead up to the first sample of a seek's new position.
//   End of stream  reported to the graph as EC_COMPLETE (S_OK, the filter)
//             once per stream, when the filter runs: at once if running,
//             else when Run comes. A flush or stop starts a new stream.
//   Seeking   IMediaSeeking goes upstream to the output pin connected to
//             the input (the source answers in the end); GetCurrentPosition
//             gives the end of the last sample presented in media time
//             (segment start + sample stop) until a flush or stop, and asks
//             upstream before any.
// The renderer tells the graph it is one through IAMFilterMiscFlags.
//
// What a subclass overrides:
//   CheckMediaType   S_OK for a type it can present
//   SetMediaType     a type was agreed, at connection or when a sample
//                    brings a new one (the mid-stream change); the samples
//                    that follow are in it
//   DoRenderSample   present one sample; called on the streaming thread
//                    without the renderer's lock, one sample at a time
//   ShowPausedSample a sample is held while paused (the first after a
//                    pause or a seek): a video renderer shows it as the
//                    still picture. Called like DoRenderSample, before the
//                    pause completes; the sample is presented again by
//                    DoRenderSample when the filter runs. Default: nothing
//   TakeDueSample    a sample came due in a clocked run, lateness after its
//                    start (0 or more): false drops it instead of presenting
//                    it (a video renderer drops pictures too late to show).
//                    Called like DoRenderSample, just before it. Default: true
//   RenderAhead      how long before its time a sample is presented: a
//                    renderer that plays from a buffer of its own (an audio
//                    device's) takes samples that much early. Default: 0
//   OnBeginFlush     a flush began: a renderer that keeps samples of its own
//                    drops them, and a DoRenderSample that waits returns.
//                    Called without the render lock. Default: nothing
//   OnEndOfStream    the end of the stream came, before it is reported: a
//                    renderer with a buffer waits until it has played it
//                    out (a flush or a stop must end that wait). Called on
//                    the streaming thread without the render lock.
//                    Default: nothing
//
// Locks. The render lock guards the sample's wait and the stream's flags
// (ready, waiting, end of stream, completion reported, position reached);
// it is taken after the filter's state lock and never held while calling
// the subclass or the graph. While it is held, only the clock's lock (a
// leaf) and the clock itself are called.
#pragma once

#include "base_filter.h"
#include "input_pin.h"

namespace platform::media {

class RendererInputPin;

class PLATFORM_FILTERS_API RendererFilter : public BaseFilter, public IAMFilterMiscFlags {
 public:
  // IUnknown: those of BaseFilter and IAMFilterMiscFlags.
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void **ppv) override;
  ULONG STDMETHODCALLTYPE AddRef() override;
  ULONG STDMETHODCALLTYPE Release() override;

  // IAMFilterMiscFlags: AM_FILTER_MISC_FLAGS_IS_RENDERER.
  ULONG STDMETHODCALLTYPE GetMiscFlags() override;

 protected:
  explicit RendererFilter(const CLSID &clsid, const wchar_t *inputName = L"In");
  ~RendererFilter() override;

  virtual HRESULT CheckMediaType(const AM_MEDIA_TYPE &type) = 0;
  virtual HRESULT SetMediaType(const AM_MEDIA_TYPE &type);
  virtual HRESULT DoRenderSample(IMediaSample *sample) = 0;
  virtual void ShowPausedSample(IMediaSample *sample);
  virtual bool TakeDueSample(IMediaSample *sample, REFERENCE_TIME lateness);
  virtual REFERENCE_TIME RenderAhead() const;
  virtual void OnBeginFlush();
  virtual void OnEndOfStream();

  // For the hooks.
  MediaType CurrentMediaType() const;
  Segment CurrentSegment() const;

 private:
  friend class RendererInputPin;

  HRESULT QueryFilterInterface(REFIID riid, void **ppv) override;
  HRESULT OnPause(FILTER_STATE from) override;
  HRESULT OnRun(REFERENCE_TIME tStart) override;
  void OnStop() override;
  HRESULT WaitForTransition(DWORD dwMilliSecsTimeout) override;
  HRESULT ReceiveOnStream(IMediaSample *sample);
  HRESULT EndOfStreamOnStream();
  HRESULT BeginFlushOnStream();
  void ReportCompletion();

  struct Impl;
  std::unique_ptr<Impl> m_impl;
};

}  // namespace platform::media
