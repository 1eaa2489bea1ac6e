// Decoder stand-ins: one input subtype in, a fixed output type out.
#include <dshow.h>

#include <algorithm>
#include <cstring>

#include "connect_filters.h"

namespace test_filters {
namespace {

MediaType WithSubtype(const MediaType &type, const GUID &subtype) {
  AM_MEDIA_TYPE changed = type.Get();
  changed.subtype = subtype;
  return MediaType(changed);
}

}  // namespace

MediaType TestVideoType() { return WithSubtype(VideoType(8, 8), kTestVideoSubtype); }

MediaType TestAudioType() { return WithSubtype(AudioType(), kTestAudioSubtype); }

MediaType TextType() { return MediaType(MEDIATYPE_Text, MEDIASUBTYPE_None, FORMAT_None, nullptr, 0, sizeof(DWORD)); }

TypeConverter *TypeConverter::Create(const CLSID &clsid) {
  if (IsEqualCLSID(clsid, kTestVideoDecoderClass) || IsEqualCLSID(clsid, kOtherVideoDecoderClass)) {
    return new TypeConverter(clsid, kTestVideoSubtype, VideoType(8, 8));
  }
  if (IsEqualCLSID(clsid, kTestAudioDecoderClass)) return new TypeConverter(clsid, kTestAudioSubtype, AudioType());
  return nullptr;
}

TypeConverter::TypeConverter(const CLSID &clsid, const GUID &inputSubtype, MediaType output)
    : TransformFilter(clsid), m_inputSubtype(inputSubtype), m_output(std::move(output)) {}

HRESULT TypeConverter::CheckInputType(const AM_MEDIA_TYPE &input) {
  const bool taken = IsEqualGUID(input.majortype, m_output->majortype) && IsEqualGUID(input.subtype, m_inputSubtype);
  return taken ? S_OK : VFW_E_TYPE_NOT_ACCEPTED;
}

HRESULT TypeConverter::CheckTransform(const AM_MEDIA_TYPE &input, const AM_MEDIA_TYPE &output) {
  if (CheckInputType(input) != S_OK) return VFW_E_TYPE_NOT_ACCEPTED;
  return platform::media::IsSameMediaType(output, m_output.Get()) ? S_OK : VFW_E_TYPE_NOT_ACCEPTED;
}

HRESULT TypeConverter::GetOutputType(ULONG position, MediaType *output) {
  if (position > 0) return VFW_S_NO_MORE_ITEMS;
  *output = m_output;
  return S_OK;
}

HRESULT TypeConverter::DecideBufferSize(ALLOCATOR_PROPERTIES &request) {
  request.cBuffers = std::max(request.cBuffers, LONG{2});
  request.cbBuffer = std::max({request.cbBuffer, static_cast<LONG>(m_output->lSampleSize), LONG{sizeof(DWORD)}});
  return S_OK;
}

HRESULT TypeConverter::Transform(IMediaSample *input, IMediaSample *output) {
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
