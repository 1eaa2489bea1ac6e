// Globally unique identifiers: GUID, IID and CLSID, their comparison, and
// DEFINE_GUID.
//
// DEFINE_GUID declares an identifier; in the one source that includes
// <initguid.h> first it defines it instead (a weak definition, so that several
// modules may each carry one). The platform library defines every identifier
// of its public headers that way, as uuid.lib and strmiids.lib do on Windows.
//
// __uuidof(T) gives the identifier of interface T (or of the interface an
// expression points to) in C++. An interface gets one through
// __CRT_UUID_DECL(T, ...) at global scope, the same declaration MinGW-w64
// headers use, so application code using __uuidof builds with either.
#ifndef GUID_DEFINED
#define GUID_DEFINED
#include "winnt.h"

typedef struct _GUID {
  ULONG Data1;
  unsigned short Data2;
  unsigned short Data3;
  unsigned char Data4[8];
} GUID;
#endif

// Outside the include guard: <initguid.h> includes this header again with
// INITGUID set to turn the declarations that follow into definitions.
#undef DEFINE_GUID
#ifdef INITGUID
#define DEFINE_GUID(name, l, w1, w2, b1, b2, b3, b4, b5, b6, b7, b8) \
  EXTERN_C const GUID DECLSPEC_SELECTANY name = {l, w1, w2, {b1, b2, b3, b4, b5, b6, b7, b8}}
#else
#define DEFINE_GUID(name, l, w1, w2, b1, b2, b3, b4, b5, b6, b7, b8) EXTERN_C const GUID name
#endif
#define DEFINE_OLEGUID(name, l, w1, w2) DEFINE_GUID(name, l, w1, w2, 0xC0, 0, 0, 0, 0, 0, 0, 0x46)

#ifndef _GUIDDEF_H_
#define _GUIDDEF_H_

#include <string.h>

typedef GUID *LPGUID;
typedef const GUID *LPCGUID;
typedef GUID IID;
typedef IID *LPIID;
typedef GUID CLSID;
typedef CLSID *LPCLSID;
typedef GUID FMTID;
typedef FMTID *LPFMTID;

#ifdef __cplusplus
#define REFGUID const GUID &
#define REFIID const IID &
#define REFCLSID const IID &
#define REFFMTID const IID &
#else
#define REFGUID const GUID *
#define REFIID const IID *
#define REFCLSID const IID *
#define REFFMTID const IID *
#endif

#ifdef __cplusplus
inline bool IsEqualGUID(REFGUID rguid1, REFGUID rguid2) { return memcmp(&rguid1, &rguid2, sizeof(GUID)) == 0; }
inline bool InlineIsEqualGUID(REFGUID rguid1, REFGUID rguid2) { return IsEqualGUID(rguid1, rguid2); }
inline bool operator==(REFGUID guidOne, REFGUID guidOther) { return IsEqualGUID(guidOne, guidOther); }
inline bool operator!=(REFGUID guidOne, REFGUID guidOther) { return !IsEqualGUID(guidOne, guidOther); }
#else
#define IsEqualGUID(rguid1, rguid2) (!memcmp(rguid1, rguid2, sizeof(GUID)))
#define InlineIsEqualGUID(rguid1, rguid2) IsEqualGUID(rguid1, rguid2)
#endif
#define IsEqualIID(riid1, riid2) IsEqualGUID(riid1, riid2)
#define IsEqualCLSID(rclsid1, rclsid2) IsEqualGUID(rclsid1, rclsid2)

#ifdef __cplusplus
extern "C++" {
// The identifier of each interface, one specialisation per interface (made by
// __CRT_UUID_DECL). A pointer or a const qualifier names the same interface,
// so that __uuidof(pUnknown) and __uuidof(*spGraph) both work.
template <typename T>
struct __platform_interface_id;
template <typename T>
struct __platform_interface_id<T *> : __platform_interface_id<T> {};
template <typename T>
struct __platform_interface_id<const T> : __platform_interface_id<T> {};

template <typename T>
constexpr const GUID &__platform_uuidof() {
  return __platform_interface_id<T>::value;
}
}

#define __CRT_UUID_DECL(type, l, w1, w2, b1, b2, b3, b4, b5, b6, b7, b8)        \
  extern "C++" {                                                               \
  template <>                                                                  \
  struct __platform_interface_id<type> {                                       \
    static constexpr GUID value = {l, w1, w2, {b1, b2, b3, b4, b5, b6, b7, b8}}; \
  };                                                                           \
  }

#define __uuidof(type) __platform_uuidof<__typeof__(type)>()

// IID_<interface> and __uuidof(<interface>) from one list of values.
#define _DEFINE_INTERFACE_ID(itf, l, w1, w2, b1, b2, b3, b4, b5, b6, b7, b8) \
  DEFINE_GUID(IID_##itf, l, w1, w2, b1, b2, b3, b4, b5, b6, b7, b8);          \
  __CRT_UUID_DECL(itf, l, w1, w2, b1, b2, b3, b4, b5, b6, b7, b8)
#endif

#endif  // _GUIDDEF_H_
