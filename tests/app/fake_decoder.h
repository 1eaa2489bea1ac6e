// The decoder under test as the graph controller's tests need it: its
// settings interface, holding each setting with the results the test sets,
// and its version interface, with pieces the test chooses (null or of any
// length, build type and platform of any 32-bit value). It counts its
// references and never deletes itself.
#pragma once

#include <windows.h>

#include <H264DecoderApi.h>

#include <vector>

namespace testing_support {

// One setting as the decoder holds it. A setter's value is recorded and,
// when the setter answers S_OK, taken; a getter writes the held value
// (unless told to write nothing) and answers getResult.
struct FakeSetting {
  HRESULT Set(int value) {
    written.push_back(value);
    if (setResult == S_OK) held = value;
    return setResult;
  }
  HRESULT Get(int *out) const {
    if (getWrites) *out = held;
    return getResult;
  }

  int held = 0;
  HRESULT setResult = S_OK;
  HRESULT getResult = S_OK;
  bool getWrites = true;
  std::vector<int> written;
};

class FakeDecoder : public IDecoderSettings, public IDecoderVersion {
 public:
  // IUnknown
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void **ppv) override {
    if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IDecoderSettings)) {
      *ppv = static_cast<IDecoderSettings *>(this);
    } else if (IsEqualIID(riid, IID_IDecoderVersion) && givesVersion) {
      *ppv = static_cast<IDecoderVersion *>(this);
    } else {
      *ppv = nullptr;
      return E_NOINTERFACE;
    }
    AddRef();
    return S_OK;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return ++references; }
  ULONG STDMETHODCALLTYPE Release() override { return --references; }

  // IDecoderSettings
  HRESULT STDMETHODCALLTYPE SetDeblocking(BOOL) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetDeblocking(BOOL *) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE SetMaintainAspectRatio(BOOL b) override { return maintainAspectRatio.Set(b); }
  HRESULT STDMETHODCALLTYPE GetMaintainAspectRatio(BOOL *pb) override { return maintainAspectRatio.Get(pb); }
  HRESULT STDMETHODCALLTYPE SetPassThroughTimeStamps(BOOL b) override { return passThrough.Set(b); }
  HRESULT STDMETHODCALLTYPE GetPassThroughTimeStamps(BOOL *pb) override { return passThrough.Get(pb); }
  HRESULT STDMETHODCALLTYPE SetForceOriginalChromaFormat(DWORD dw) override {
    return forceOriginalChroma.Set(static_cast<int>(dw));
  }
  HRESULT STDMETHODCALLTYPE GetForceOriginalChromaFormat(BOOL *pb) override { return forceOriginalChroma.Get(pb); }
  HRESULT STDMETHODCALLTYPE SetThreads(int n) override { return threads.Set(n); }
  HRESULT STDMETHODCALLTYPE GetThreads(int *pn) override { return threads.Get(pn); }

  // IDecoderVersion. Every read answers versionResult and writes its value
  // all the same. The two enumerations are written as the 32-bit values
  // they are stored as, so values beyond their enumerators can be given.
  HRESULT STDMETHODCALLTYPE GetBuildType(DECODER_BUILD_TYPE *pe) override {
    CopyMemory(pe, &buildType, sizeof(*pe));
    return versionResult;
  }
  HRESULT STDMETHODCALLTYPE GetPlatform(DECODER_PLATFORM *pe) override {
    CopyMemory(pe, &platform, sizeof(*pe));
    return versionResult;
  }
  HRESULT STDMETHODCALLTYPE GetProductName(BSTR *pbstr) override { return Text(productName, pbstr); }
  HRESULT STDMETHODCALLTYPE GetVersionNumber(BSTR *pbstr) override { return Text(versionNumber, pbstr); }
  HRESULT STDMETHODCALLTYPE GetBuildDateTime(BSTR *pbstr) override { return Text(buildDateTime, pbstr); }

  ULONG references = 1;
  FakeSetting maintainAspectRatio;
  FakeSetting passThrough;
  FakeSetting forceOriginalChroma;
  FakeSetting threads;
  bool givesVersion = true;
  INT32 buildType = DECODER_BUILD_RELEASE;
  INT32 platform = DECODER_PLATFORM_32BIT;
  const WCHAR *productName = L"Dec";  // null: the read gives a null text
  const WCHAR *versionNumber = L"2.1.0.5";
  const WCHAR *buildDateTime = L"2012-05-01 10:00";
  HRESULT versionResult = S_OK;

 private:
  HRESULT Text(const WCHAR *text, BSTR *out) const {
    *out = text ? SysAllocString(text) : nullptr;
    return versionResult;
  }
};

}  // namespace testing_support
