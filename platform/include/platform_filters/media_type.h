// Media types: the AM_MEDIA_TYPE helpers of Windows filters, and MediaType,
// a value that owns one media type.
//
// An AM_MEDIA_TYPE handed across an interface owns its format block, which is
// allocated with CoTaskMemAlloc, and holds a reference on pUnk when that is
// set. The helpers copy and free it that way:
//   CopyMediaType    deep copy into a caller's AM_MEDIA_TYPE
//   FreeMediaType    frees the format block, releases pUnk, zeroes the type
//   CreateMediaType  a copy in CoTaskMemAlloc memory, as enumerators and
//                    IMediaSample::GetMediaType hand out
//   DeleteMediaType  frees such a copy with its format block
//
// MediaType keeps its format block in ordinary memory and copies like any
// value; Get() shows it as an AM_MEDIA_TYPE that stays valid while the
// MediaType lives unchanged. It is not locked: share it between threads only
// by copying.
#pragma once

#include <strmif.h>

#include <cstddef>
#include <vector>

#include "filters_api.h"

namespace platform::media {

// S_OK, or E_OUTOFMEMORY with *target zeroed.
PLATFORM_FILTERS_API HRESULT CopyMediaType(AM_MEDIA_TYPE *target, const AM_MEDIA_TYPE &source);
PLATFORM_FILTERS_API void FreeMediaType(AM_MEDIA_TYPE &type);
// Null when out of memory.
PLATFORM_FILTERS_API AM_MEDIA_TYPE *CreateMediaType(const AM_MEDIA_TYPE &source);
// Accepts null.
PLATFORM_FILTERS_API void DeleteMediaType(AM_MEDIA_TYPE *type);

// True when every field that describes the data is equal, the format block
// byte for byte (pUnk and the sample-size fields are not compared).
PLATFORM_FILTERS_API bool IsSameMediaType(const AM_MEDIA_TYPE &a, const AM_MEDIA_TYPE &b);
// True when type fits a partly given pattern, as IPin::Connect takes one: a
// major type, subtype or format type of GUID_NULL in the pattern matches
// anything, and a pattern's format block, when it has one, must be equal.
PLATFORM_FILTERS_API bool MatchesPattern(const AM_MEDIA_TYPE &type, const AM_MEDIA_TYPE &pattern);
// A type is complete when its major type, subtype and format type are all
// given; IPin::Connect tries a complete type alone.
PLATFORM_FILTERS_API bool IsCompleteMediaType(const AM_MEDIA_TYPE &type);

class PLATFORM_FILTERS_API MediaType {
 public:
  // All zero: GUID_NULL types, no format block.
  MediaType();
  explicit MediaType(const AM_MEDIA_TYPE &type);
  // A type whose format block is a copy of the given bytes; lSampleSize is
  // the fixed size of a sample, 0 for variable-size samples.
  MediaType(const GUID &majorType, const GUID &subtype, const GUID &formatType, const void *format,
            size_t formatSize, ULONG lSampleSize = 0);
  MediaType(const MediaType &other);
  MediaType(MediaType &&other) noexcept;
  MediaType &operator=(MediaType other) noexcept;
  ~MediaType();

  const AM_MEDIA_TYPE &Get() const { return m_type; }
  const AM_MEDIA_TYPE *operator->() const { return &m_type; }
  bool IsEmpty() const;

  // The format block as a structure, or null when the block has another
  // format type or is shorter than the structure.
  template <typename Format>
  const Format *FormatAs(const GUID &formatType) const {
    if (!IsEqualGUID(m_type.formattype, formatType) || m_format.size() < sizeof(Format)) return nullptr;
    return reinterpret_cast<const Format *>(m_format.data());
  }
  // Replaces the format block (the format type stays).
  void SetFormat(const void *format, size_t formatSize);
  void SetSampleSize(ULONG lSampleSize);

  // A deep copy in CoTaskMemAlloc memory: S_OK or E_OUTOFMEMORY.
  HRESULT CopyTo(AM_MEDIA_TYPE *target) const;

  friend bool operator==(const MediaType &a, const MediaType &b) { return IsSameMediaType(a.m_type, b.m_type); }

 private:
  void Swap(MediaType &other) noexcept;
  void PointAtFormat();

  AM_MEDIA_TYPE m_type;        // pbFormat points into m_format; pUnk holds a reference
  std::vector<BYTE> m_format;
};

}  // namespace platform::media
