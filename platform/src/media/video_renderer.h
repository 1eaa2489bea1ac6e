// The built-in video renderer (CLSID_VideoRenderer): shows uncompressed
// video in a window of its own.
//
// It takes the pictures video_renderer_formats.h lists, on one input pin,
// and is registered for intelligent connect with those media types at
// MERIT_PREFERRED, so that decoded video ends in it. Each sample presented,
// and the sample held while paused (so that a seek while paused shows its
// target), is read from the sample's buffer, which must hold a whole
// picture (a shorter one is passed over), and shown in the window
// (video_renderer_window.h), converted where the video surface needs it
// (video_renderer_picture.h). A new media type, at connection or carried on
// a sample, sizes the window's client area to the picture's display size.
//
// The window is hidden until the renderer leaves the stopped state (with
// AutoShow on, as it is at first) or the application shows it; IVideoWindow
// (video_renderer_control.h) places and shows it. Closing it hides it and
// reports EC_USERABORT to the graph; later pictures still go to it. The
// window and its thread go with the renderer.
//
// In a clocked run, pictures that come too late to show are dropped
// (render_quality.h says which); IQualProp reports what was dropped and
// drawn, and how well the pictures shown kept time, since the renderer last
// left the stopped state. Every picture shown, running or paused, goes into
// its presentation record (presentation_record.h).
#pragma once

#include <amvideo.h>
#include <platform_filters/renderer_filter.h>

#include <mutex>
#include <optional>

#include "media/presentation_record.h"
#include "media/render_quality.h"
#include "media/video_renderer_control.h"
#include "media/video_renderer_formats.h"
#include "media/video_renderer_picture.h"
#include "media/video_renderer_window.h"

namespace platform::media {

class VideoRenderer final : public RendererFilter, public IQualProp, private VideoWindowHost {
 public:
  static HRESULT Create(IUnknown *outer, REFIID riid, void **ppv);

  // The renderer's window now (it changes with the owner).
  HWND Window() const;
  // What it has shown since it last left the stopped state.
  PresentationRecordCopy Presented() const;

  // IUnknown: those of the renderer, IVideoWindow and IQualProp.
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void **ppv) override;
  ULONG STDMETHODCALLTYPE AddRef() override;
  ULONG STDMETHODCALLTYPE Release() override;

  // IMediaFilter: leaving the stopped state shows the window (AutoShow).
  HRESULT STDMETHODCALLTYPE Pause() override;
  HRESULT STDMETHODCALLTYPE Run(REFERENCE_TIME tStart) override;

  // IQualProp.
  HRESULT STDMETHODCALLTYPE get_FramesDroppedInRenderer(int *pcFrames) override;
  HRESULT STDMETHODCALLTYPE get_FramesDrawn(int *pcFramesDrawn) override;
  HRESULT STDMETHODCALLTYPE get_AvgFrameRate(int *piAvgFrameRate) override;
  HRESULT STDMETHODCALLTYPE get_Jitter(int *iJitter) override;
  HRESULT STDMETHODCALLTYPE get_AvgSyncOffset(int *piAvg) override;
  HRESULT STDMETHODCALLTYPE get_DevSyncOffset(int *piDev) override;

 private:
  VideoRenderer();

  HRESULT CheckMediaType(const AM_MEDIA_TYPE &type) override;
  HRESULT SetMediaType(const AM_MEDIA_TYPE &type) override;
  HRESULT DoRenderSample(IMediaSample *sample) override;
  void ShowPausedSample(IMediaSample *sample) override;
  bool TakeDueSample(IMediaSample *sample, REFERENCE_TIME lateness) override;
  void OnBeginFlush() override;

  bool IsInputConnected() const override;
  FILTER_STATE FilterState() const override;
  SIZE VideoSize() const override;

  bool Present(IMediaSample *sample, bool whilePaused);
  void Record(IMediaSample *sample, const BYTE *picture, size_t size, bool whilePaused);
  void SizeWindowTo(SIZE display);
  void BeforeLeaving(FILTER_STATE state);
  void AutoShowAfter(FILTER_STATE before, HRESULT result);
  HRESULT ReadFigure(int *value, int RenderQuality::Figures::*figure) const;

  RendererWindow m_window;
  VideoWindowControl m_control{static_cast<IBaseFilter &>(*this), *this, m_window};
  mutable std::mutex m_pictureLock;
  std::optional<RendererPicture> m_picture;  // guarded by m_pictureLock: the pictures of the current type
  PictureConverter m_converter;              // used by one sample at a time
  RenderQuality m_quality;
  PresentationRecord m_record;
};

}  // namespace platform::media
