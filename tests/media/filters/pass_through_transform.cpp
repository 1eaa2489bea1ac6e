// A transform whose output is a copy of its input.
#include <dshow.h>

#include <algorithm>
#include <cstring>

#include "test_filters.h"

namespace test_filters {
PassThroughTransform *PassThroughTransform::Create() { return new PassThroughTransform(); }

PassThroughTransform::PassThroughTransform() : TransformFilter(kPassThroughClass) {}

IPin *PassThroughTransform::Input() const { return PinOf(const_cast<PassThroughTransform *>(this), L"In"); }

IPin *PassThroughTransform::Output() const { return PinOf(const_cast<PassThroughTransform *>(this), L"Out"); }

HRESULT PassThroughTransform::CheckInputType(const AM_MEDIA_TYPE &input) {
  return IsEqualGUID(input.majortype, MEDIATYPE_Video) ? S_OK : VFW_E_TYPE_NOT_ACCEPTED;
}

HRESULT PassThroughTransform::CheckTransform(const AM_MEDIA_TYPE &input, const AM_MEDIA_TYPE &output) {
  return platform::media::IsSameMediaType(input, output) ? S_OK : VFW_E_TYPE_NOT_ACCEPTED;
}

HRESULT PassThroughTransform::GetOutputType(ULONG position, MediaType *output) {
  if (position > 0) return VFW_S_NO_MORE_ITEMS;
  *output = InputType();
  return S_OK;
}

HRESULT PassThroughTransform::DecideBufferSize(ALLOCATOR_PROPERTIES &request) {
  request.cBuffers = std::max(request.cBuffers, LONG{2});
  request.cbBuffer = std::max(request.cbBuffer, static_cast<LONG>(OutputType()->lSampleSize));
  return S_OK;
}

// A new input type mid-stream becomes the output's type.
HRESULT PassThroughTransform::SetMediaType(PIN_DIRECTION direction, const AM_MEDIA_TYPE &type) {
  const MediaType output = OutputType();
  if (direction != PINDIR_INPUT || output.IsEmpty() || platform::media::IsSameMediaType(output.Get(), type)) {
    return S_OK;
  }
  return ChangeOutputType(type);
}

HRESULT PassThroughTransform::Transform(IMediaSample *input, IMediaSample *output) {
  BYTE *from = nullptr;
  BYTE *to = nullptr;
  input->GetPointer(&from);
  output->GetPointer(&to);
  const LONG length = input->GetActualDataLength();
  if (length > output->GetSize()) return VFW_E_BUFFER_OVERFLOW;
  std::memcpy(to, from, length);
  return output->SetActualDataLength(length);
}

}  // namespace test_filters
