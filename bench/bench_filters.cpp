// The graph benchmark's filters.
#include "bench_filters.h"

#include <dshow.h>

#include <algorithm>

#include "frame_work.h"

namespace bench {
namespace {

using platform::media::MediaType;

// {7D3E5A4C-9F63-4A8D-BC21-4E0F3A6B8C01}, 02, 03
constexpr CLSID kFrameSourceClass = {0x7D3E5A4C, 0x9F63, 0x4A8D, {0xBC, 0x21, 0x4E, 0x0F, 0x3A, 0x6B, 0x8C, 0x01}};
constexpr CLSID kCopyTransformClass = {0x7D3E5A4C, 0x9F63, 0x4A8D, {0xBC, 0x21, 0x4E, 0x0F, 0x3A, 0x6B, 0x8C, 0x02}};
constexpr CLSID kChecksumRendererClass = {0x7D3E5A4C, 0x9F63, 0x4A8D, {0xBC, 0x21, 0x4E, 0x0F, 0x3A, 0x6B, 0x8C, 0x03}};

MediaType FrameType() {
  VIDEOINFOHEADER format{};
  format.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  format.bmiHeader.biWidth = kFrameWidth;
  format.bmiHeader.biHeight = kFrameHeight;
  format.bmiHeader.biPlanes = 1;
  format.bmiHeader.biBitCount = 32;
  format.bmiHeader.biCompression = BI_RGB;
  format.bmiHeader.biSizeImage = static_cast<DWORD>(kFrameBytes);
  return MediaType(MEDIATYPE_Video, MEDIASUBTYPE_RGB32, FORMAT_VideoInfo, &format, sizeof format,
                   format.bmiHeader.biSizeImage);
}

IPin *PinOf(IBaseFilter *filter, const wchar_t *name) {
  IPin *pin = nullptr;
  if (FAILED(filter->FindPin(name, &pin))) return nullptr;
  pin->Release();  // the filter's reference keeps it
  return pin;
}

BYTE *DataOf(IMediaSample *sample) {
  BYTE *data = nullptr;
  sample->GetPointer(&data);
  return data;
}

}  // namespace

FrameSource *FrameSource::Create(DWORD frames, LONG buffers) { return new FrameSource(frames, buffers); }

FrameSource::FrameSource(DWORD frames, LONG buffers)
    : SourceFilter(kFrameSourceClass),
      m_frames(frames),
      m_pin(AddOutputPin(L"Out", {FrameType()}, {buffers, static_cast<LONG>(kFrameBytes), 1, 0})) {}

IPin *FrameSource::Output() const { return m_pin; }

HRESULT FrameSource::ProduceNext() {
  if (m_next >= m_frames) return S_FALSE;
  IMediaSample *sample = nullptr;
  HRESULT hr = m_pin->GetDeliveryBuffer(&sample, nullptr, nullptr, 0);
  if (FAILED(hr)) return hr;
  MakeFrame(DataOf(sample), m_next);
  sample->SetActualDataLength(static_cast<LONG>(kFrameBytes));
  ++m_next;
  hr = m_pin->Queue(sample);
  sample->Release();
  return hr == S_OK ? S_OK : S_FALSE;
}

CopyTransform *CopyTransform::Create() { return new CopyTransform(); }

CopyTransform::CopyTransform() : TransformFilter(kCopyTransformClass) {}

IPin *CopyTransform::Input() const { return PinOf(const_cast<CopyTransform *>(this), L"In"); }
IPin *CopyTransform::Output() const { return PinOf(const_cast<CopyTransform *>(this), L"Out"); }

HRESULT CopyTransform::CheckInputType(const AM_MEDIA_TYPE &input) {
  return input.lSampleSize == kFrameBytes ? S_OK : VFW_E_TYPE_NOT_ACCEPTED;
}

HRESULT CopyTransform::CheckTransform(const AM_MEDIA_TYPE &input, const AM_MEDIA_TYPE &output) {
  return platform::media::IsSameMediaType(input, output) ? S_OK : VFW_E_TYPE_NOT_ACCEPTED;
}

HRESULT CopyTransform::GetOutputType(ULONG position, MediaType *output) {
  if (position > 0) return VFW_S_NO_MORE_ITEMS;
  *output = InputType();
  return S_OK;
}

HRESULT CopyTransform::DecideBufferSize(ALLOCATOR_PROPERTIES &request) {
  request.cBuffers = std::max(request.cBuffers, LONG{2});
  request.cbBuffer = std::max(request.cbBuffer, static_cast<LONG>(kFrameBytes));
  return S_OK;
}

HRESULT CopyTransform::Transform(IMediaSample *input, IMediaSample *output) {
  CopyFrame(DataOf(input), DataOf(output));
  return output->SetActualDataLength(static_cast<LONG>(kFrameBytes));
}

ChecksumRenderer *ChecksumRenderer::Create() { return new ChecksumRenderer(); }

ChecksumRenderer::ChecksumRenderer() : RendererFilter(kChecksumRendererClass) {}

IPin *ChecksumRenderer::Input() const { return PinOf(const_cast<ChecksumRenderer *>(this), L"In"); }

HRESULT ChecksumRenderer::CheckMediaType(const AM_MEDIA_TYPE &type) {
  return type.lSampleSize == kFrameBytes ? S_OK : VFW_E_TYPE_NOT_ACCEPTED;
}

// One sample at a time on the streaming thread: the sum needs no lock.
HRESULT ChecksumRenderer::DoRenderSample(IMediaSample *sample) {
  unsigned long long checksum = m_checksum.load(std::memory_order_relaxed);
  ConsumeFrame(DataOf(sample), checksum);
  m_checksum.store(checksum, std::memory_order_relaxed);
  return S_OK;
}

}  // namespace bench
