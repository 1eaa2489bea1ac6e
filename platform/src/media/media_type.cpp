// Media types: copying and freeing AM_MEDIA_TYPE the Windows way, comparing
// and matching them, and the owning MediaType value.
#include <platform_filters/media_type.h>

#include <objbase.h>

#include <cstring>
#include <utility>

namespace platform::media {
namespace {

constexpr GUID kNullGuid = {};

bool IsNull(const GUID &guid) { return IsEqualGUID(guid, kNullGuid); }

bool SameFormatBlock(const AM_MEDIA_TYPE &a, const AM_MEDIA_TYPE &b) {
  if (a.cbFormat != b.cbFormat) return false;
  return a.cbFormat == 0 || std::memcmp(a.pbFormat, b.pbFormat, a.cbFormat) == 0;
}

}  // namespace

HRESULT CopyMediaType(AM_MEDIA_TYPE *target, const AM_MEDIA_TYPE &source) {
  *target = source;
  target->pbFormat = nullptr;
  if (source.cbFormat != 0) {
    target->pbFormat = static_cast<BYTE *>(CoTaskMemAlloc(source.cbFormat));
    if (!target->pbFormat) {
      *target = AM_MEDIA_TYPE{};
      return E_OUTOFMEMORY;
    }
    std::memcpy(target->pbFormat, source.pbFormat, source.cbFormat);
  }
  if (target->pUnk) target->pUnk->AddRef();
  return S_OK;
}

void FreeMediaType(AM_MEDIA_TYPE &type) {
  CoTaskMemFree(type.pbFormat);
  if (type.pUnk) type.pUnk->Release();
  type = AM_MEDIA_TYPE{};
}

AM_MEDIA_TYPE *CreateMediaType(const AM_MEDIA_TYPE &source) {
  auto *copy = static_cast<AM_MEDIA_TYPE *>(CoTaskMemAlloc(sizeof(AM_MEDIA_TYPE)));
  if (copy && FAILED(CopyMediaType(copy, source))) {
    CoTaskMemFree(copy);
    return nullptr;
  }
  return copy;
}

void DeleteMediaType(AM_MEDIA_TYPE *type) {
  if (!type) return;
  FreeMediaType(*type);
  CoTaskMemFree(type);
}

bool IsSameMediaType(const AM_MEDIA_TYPE &a, const AM_MEDIA_TYPE &b) {
  return IsEqualGUID(a.majortype, b.majortype) && IsEqualGUID(a.subtype, b.subtype) &&
         IsEqualGUID(a.formattype, b.formattype) && SameFormatBlock(a, b);
}

bool MatchesPattern(const AM_MEDIA_TYPE &type, const AM_MEDIA_TYPE &pattern) {
  auto fits = [](const GUID &value, const GUID &wanted) { return IsNull(wanted) || IsEqualGUID(value, wanted); };
  if (!fits(type.majortype, pattern.majortype) || !fits(type.subtype, pattern.subtype) ||
      !fits(type.formattype, pattern.formattype)) {
    return false;
  }
  return pattern.cbFormat == 0 || SameFormatBlock(type, pattern);
}

bool IsCompleteMediaType(const AM_MEDIA_TYPE &type) {
  return !IsNull(type.majortype) && !IsNull(type.subtype) && !IsNull(type.formattype);
}

MediaType::MediaType() : m_type{} {}

MediaType::MediaType(const AM_MEDIA_TYPE &type)
    : m_type(type), m_format(type.pbFormat, type.pbFormat + (type.pbFormat ? type.cbFormat : 0)) {
  PointAtFormat();
  if (m_type.pUnk) m_type.pUnk->AddRef();
}

MediaType::MediaType(const GUID &majorType, const GUID &subtype, const GUID &formatType, const void *format,
                     size_t formatSize, ULONG lSampleSize)
    : m_type{} {
  m_type.majortype = majorType;
  m_type.subtype = subtype;
  m_type.formattype = formatType;
  SetSampleSize(lSampleSize);
  SetFormat(format, formatSize);
}

MediaType::MediaType(const MediaType &other) : MediaType(other.m_type) {}

MediaType::MediaType(MediaType &&other) noexcept : MediaType() { Swap(other); }

MediaType &MediaType::operator=(MediaType other) noexcept {
  Swap(other);
  return *this;
}

MediaType::~MediaType() {
  if (m_type.pUnk) m_type.pUnk->Release();
}

bool MediaType::IsEmpty() const { return IsNull(m_type.majortype); }

void MediaType::SetFormat(const void *format, size_t formatSize) {
  const auto *bytes = static_cast<const BYTE *>(format);
  m_format.assign(bytes, bytes + (bytes ? formatSize : 0));
  PointAtFormat();
}

// A fixed sample size means fixed-size samples; 0 means they vary.
void MediaType::SetSampleSize(ULONG lSampleSize) {
  m_type.lSampleSize = lSampleSize;
  m_type.bFixedSizeSamples = lSampleSize != 0;
}

HRESULT MediaType::CopyTo(AM_MEDIA_TYPE *target) const { return CopyMediaType(target, m_type); }

void MediaType::Swap(MediaType &other) noexcept {
  std::swap(m_type, other.m_type);
  std::swap(m_format, other.m_format);
  PointAtFormat();
  other.PointAtFormat();
}

void MediaType::PointAtFormat() {
  m_type.cbFormat = static_cast<ULONG>(m_format.size());
  m_type.pbFormat = m_format.empty() ? nullptr : m_format.data();
}

}  // namespace platform::media
