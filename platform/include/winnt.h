// Basic Windows types, characters, strings, handles and language ids.
#pragma once

#include <string.h>

#include "basetsd.h"

#define WINAPI
#define WINAPIV
#define CALLBACK
#define APIENTRY
#define STDMETHODCALLTYPE
#define DECLSPEC_IMPORT
#define DECLSPEC_NOVTABLE
#define DECLSPEC_SELECTANY __attribute__((weak))
#define FORCEINLINE inline __attribute__((always_inline))

#ifdef __cplusplus
#define EXTERN_C extern "C"
#else
#define EXTERN_C extern
#endif

#define VOID void
typedef void *PVOID, *LPVOID;
typedef const void *LPCVOID;
typedef char CHAR;
typedef short SHORT;
typedef int32_t LONG, *PLONG, *LPLONG;
typedef int INT, *PINT, *LPINT;
typedef wchar_t WCHAR;
typedef unsigned char UCHAR;
typedef unsigned short USHORT;
typedef uint32_t ULONG, *PULONG;
typedef unsigned int UINT, *PUINT;
typedef int64_t LONGLONG;
typedef uint64_t ULONGLONG;
typedef uint64_t DWORDLONG;
typedef LONG HRESULT;
typedef ULONG LCID;
typedef unsigned short LANGID;

typedef WCHAR *PWSTR, *LPWSTR, *PWCHAR, *LPWCH;
typedef const WCHAR *PCWSTR, *LPCWSTR, *LPCWCH;
typedef CHAR *PSTR, *LPSTR;
typedef const CHAR *PCSTR, *LPCSTR;
#ifdef UNICODE
typedef WCHAR TCHAR;
typedef LPWSTR LPTSTR;
typedef LPCWSTR LPCTSTR;
#define __TEXT(quote) L##quote
#else
typedef char TCHAR;
typedef LPSTR LPTSTR;
typedef LPCSTR LPCTSTR;
#define __TEXT(quote) quote
#endif
#define TEXT(quote) __TEXT(quote)

typedef void *HANDLE, **PHANDLE, **LPHANDLE;
#define DECLARE_HANDLE(name) \
  struct name##__ {          \
    int unused;              \
  };                         \
  typedef struct name##__ *name

typedef union _LARGE_INTEGER {
  struct {
    ULONG LowPart;
    LONG HighPart;
  } u;
  LONGLONG QuadPart;
} LARGE_INTEGER, *PLARGE_INTEGER;

typedef union _ULARGE_INTEGER {
  struct {
    ULONG LowPart;
    ULONG HighPart;
  } u;
  ULONGLONG QuadPart;
} ULARGE_INTEGER, *PULARGE_INTEGER;

#define MAKELANGID(p, s) ((((WORD)(s)) << 10) | (WORD)(p))
#define PRIMARYLANGID(lgid) ((WORD)(lgid) & 0x3ff)
#define SUBLANGID(lgid) ((WORD)(lgid) >> 10)
#define LANG_NEUTRAL 0x00
#define LANG_ENGLISH 0x09
#define SUBLANG_NEUTRAL 0x00
#define SUBLANG_DEFAULT 0x01
#define SUBLANG_ENGLISH_US 0x01

#define MAXLONGLONG (0x7fffffffffffffffLL)
#define MINLONGLONG (-MAXLONGLONG - 1)
#define MAXLONG 0x7fffffff
#define MAXDWORD 0xffffffff

#define UNREFERENCED_PARAMETER(P) ((void)(P))

#define RtlZeroMemory(Destination, Length) memset((Destination), 0, (Length))
#define RtlCopyMemory(Destination, Source, Length) memcpy((Destination), (Source), (Length))
#define ZeroMemory RtlZeroMemory
#define CopyMemory RtlCopyMemory
