// The H.264 decoder filter as programs see it: its class identifier and its
// two private interfaces, IDecoderSettings and IDecoderVersion.
//
// The decoder is an in-process COM server. A program creates it with
// CoCreateInstance(CLSID_H264Decoder, NULL, CLSCTX_INPROC_SERVER,
// IID_IBaseFilter, ...), and the filter's IPersist::GetClassID gives the same
// class identifier back. This header builds against the platform's headers,
// the Windows SDK and MinGW-w64 alike; the identifiers are defined here, so a
// program needs no <initguid.h> for them.
#pragma once

#include <objbase.h>

// {FF48094C-9470-43A9-B056-EB50CCFB62BA}
EXTERN_C const CLSID DECLSPEC_SELECTANY CLSID_H264Decoder = {
    0xFF48094C, 0x9470, 0x43A9, {0xB0, 0x56, 0xEB, 0x50, 0xCC, 0xFB, 0x62, 0xBA}};

// {A40112D5-22ED-4146-AF10-7D6E7978B410}
EXTERN_C const IID DECLSPEC_SELECTANY IID_IDecoderSettings = {
    0xA40112D5, 0x22ED, 0x4146, {0xAF, 0x10, 0x7D, 0x6E, 0x79, 0x78, 0xB4, 0x10}};

// {835633A9-233A-416A-8F9C-615733DF908F}
EXTERN_C const IID DECLSPEC_SELECTANY IID_IDecoderVersion = {
    0x835633A9, 0x233A, 0x416A, {0x8F, 0x9C, 0x61, 0x57, 0x33, 0xDF, 0x90, 0x8F}};

// The largest number of decoding threads SetThreads takes.
#define H264DECODER_MAX_THREADS 16

// The decoder's settings, which may be changed at any time, also while the
// graph runs. A setter's S_OK means the decoder took the value; any other
// result is a refusal and the decoder keeps what it had. Each getter writes
// the value the decoder holds; it may differ from the last value set (the
// decoder may adjust a thread count to what it can use).
//
// Refusals:
//   E_INVALIDARG   a switch set to anything but 0 or 1; a thread count below
//                  0 or above H264DECODER_MAX_THREADS
//   E_POINTER      a getter given no place to write
//   a switch that changes the output format (aspect ratio, chroma format)
//   while the output pin is connected needs the downstream filter to take
//   the new format: while the graph runs or is paused it comes with the
//   next picture once the downstream pin accepts it (QueryAccept), and
//   while the graph is stopped the output pin is connected again. When
//   downstream refuses, the setter returns its error, or
//   VFW_E_TYPE_NOT_ACCEPTED, and the connection stays as it was.
//
// The thread count 0 asks for one thread per processor (at most
// H264DECODER_MAX_THREADS); GetThreads then gives the count chosen. A new
// count takes effect at once while the graph is stopped, and while it runs
// at the next IDR picture or after the next flush, so that no picture is lost.
MIDL_INTERFACE("A40112D5-22ED-4146-AF10-7D6E7978B410")
IDecoderSettings : public IUnknown {
  // The in-loop deblocking filter of H.264.
  virtual HRESULT STDMETHODCALLTYPE SetDeblocking(BOOL bEnable) = 0;
  virtual HRESULT STDMETHODCALLTYPE GetDeblocking(BOOL *pbEnabled) = 0;
  // Keep the picture's aspect ratio in the output format.
  virtual HRESULT STDMETHODCALLTYPE SetMaintainAspectRatio(BOOL bMaintain) = 0;
  virtual HRESULT STDMETHODCALLTYPE GetMaintainAspectRatio(BOOL *pbMaintain) = 0;
  // Stamp output samples with the input's time stamps as they came.
  virtual HRESULT STDMETHODCALLTYPE SetPassThroughTimeStamps(BOOL bPassThrough) = 0;
  virtual HRESULT STDMETHODCALLTYPE GetPassThroughTimeStamps(BOOL *pbPassThrough) = 0;
  // Output the source's own chroma format instead of converting it; set
  // with 1 or 0.
  virtual HRESULT STDMETHODCALLTYPE SetForceOriginalChromaFormat(DWORD dwForce) = 0;
  virtual HRESULT STDMETHODCALLTYPE GetForceOriginalChromaFormat(BOOL *pbForce) = 0;
  // The number of decoding threads.
  virtual HRESULT STDMETHODCALLTYPE SetThreads(int nThreads) = 0;
  virtual HRESULT STDMETHODCALLTYPE GetThreads(int *pnThreads) = 0;
};

// How the decoder was built, as IDecoderVersion reports it.
typedef enum DECODER_BUILD_TYPE { DECODER_BUILD_DEBUG = 0, DECODER_BUILD_RELEASE = 1 } DECODER_BUILD_TYPE;
typedef enum DECODER_PLATFORM { DECODER_PLATFORM_32BIT = 0, DECODER_PLATFORM_64BIT = 1 } DECODER_PLATFORM;

// The decoder's identity. The texts are BSTRs that the decoder allocates
// and the caller frees with SysFreeString.
MIDL_INTERFACE("835633A9-233A-416A-8F9C-615733DF908F")
IDecoderVersion : public IUnknown {
  virtual HRESULT STDMETHODCALLTYPE GetBuildType(DECODER_BUILD_TYPE *peBuildType) = 0;
  virtual HRESULT STDMETHODCALLTYPE GetPlatform(DECODER_PLATFORM *pePlatform) = 0;
  virtual HRESULT STDMETHODCALLTYPE GetProductName(BSTR *pbstrName) = 0;
  virtual HRESULT STDMETHODCALLTYPE GetVersionNumber(BSTR *pbstrVersion) = 0;
  virtual HRESULT STDMETHODCALLTYPE GetBuildDateTime(BSTR *pbstrDateTime) = 0;
};

#ifdef __CRT_UUID_DECL
__CRT_UUID_DECL(IDecoderSettings, 0xA40112D5, 0x22ED, 0x4146, 0xAF, 0x10, 0x7D, 0x6E, 0x79, 0x78, 0xB4, 0x10)
__CRT_UUID_DECL(IDecoderVersion, 0x835633A9, 0x233A, 0x416A, 0x8F, 0x9C, 0x61, 0x57, 0x33, 0xDF, 0x90, 0x8F)
#endif
