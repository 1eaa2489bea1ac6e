// The filters of the graph benchmark, each doing one step of the frame
// work (frame_work.h) on the shared base classes and nothing else:
//   FrameSource      makes a given number of frames, then ends its stream;
//                    its pin asks for the given number of buffers
//   CopyTransform    copies each frame into a buffer of its output
//   ChecksumRenderer checks each frame as it arrives
// Each is created with one reference, which the benchmark holds.
#pragma once

#include <platform_filters/renderer_filter.h>
#include <platform_filters/source_filter.h>
#include <platform_filters/transform_filter.h>

#include <atomic>

namespace bench {

class FrameSource final : public platform::media::SourceFilter {
 public:
  static FrameSource *Create(DWORD frames, LONG buffers);
  IPin *Output() const;

 private:
  FrameSource(DWORD frames, LONG buffers);
  HRESULT ProduceNext() override;

  const DWORD m_frames;
  platform::media::SourcePin *m_pin;
  DWORD m_next = 0;  // the producing thread's own
};

class CopyTransform final : public platform::media::TransformFilter {
 public:
  static CopyTransform *Create();
  IPin *Input() const;
  IPin *Output() const;

 private:
  CopyTransform();
  HRESULT CheckInputType(const AM_MEDIA_TYPE &input) override;
  HRESULT CheckTransform(const AM_MEDIA_TYPE &input, const AM_MEDIA_TYPE &output) override;
  HRESULT GetOutputType(ULONG position, platform::media::MediaType *output) override;
  HRESULT DecideBufferSize(ALLOCATOR_PROPERTIES &request) override;
  HRESULT Transform(IMediaSample *input, IMediaSample *output) override;
};

class ChecksumRenderer final : public platform::media::RendererFilter {
 public:
  static ChecksumRenderer *Create();
  IPin *Input() const;
  unsigned long long Checksum() const { return m_checksum; }

 private:
  ChecksumRenderer();
  HRESULT CheckMediaType(const AM_MEDIA_TYPE &type) override;
  HRESULT DoRenderSample(IMediaSample *sample) override;

  std::atomic<unsigned long long> m_checksum{0};
};

}  // namespace bench
