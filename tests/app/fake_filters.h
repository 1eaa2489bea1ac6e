// Filters and pins for the graph controller's tests: pins of a given
// direction, connected or not, with the media type of their connection;
// filters of a given class with their pins; and the enumerators that hand
// both out. Each is a Counted<> stand-in, so a test can check that every
// reference it handed out came back. What the controller never calls
// answers E_NOTIMPL.
#pragma once

#include <dshow.h>

#include <string.h>

#include <vector>

#include "com_test_objects.h"

namespace testing_support {

// Hands out a fixed list, one reference per item handed out. Past the end
// it answers endResult: S_FALSE, or a failure such as the one an
// enumerator gives when its graph changed.
template <typename Enumerator, typename Item>
class FakeEnumerator : public Counted<Enumerator> {
 public:
  // Rewinds and hands out a reference to the enumerator itself: its owner
  // gives it out as a fresh enumerator.
  Enumerator *Start() {
    position = 0;
    this->AddRef();
    return this;
  }

  HRESULT STDMETHODCALLTYPE Next(ULONG count, Item **out, ULONG *fetched) override {
    ULONG n = 0;
    for (; n < count && position < items.size(); ++n) {
      out[n] = items[position++];
      out[n]->AddRef();
    }
    if (fetched) *fetched = n;
    return n == count ? S_OK : endResult;
  }
  HRESULT STDMETHODCALLTYPE Skip(ULONG) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE Reset() override {
    position = 0;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE Clone(Enumerator **) override { return E_NOTIMPL; }

  std::vector<Item *> items;
  HRESULT endResult = S_FALSE;
  size_t position = 0;
};

// A pin that is connected while it has a peer. Its connection type is
// handed out as IPin::ConnectionMediaType does: the format block copied into
// task memory, pUnk with a reference of its own.
class FakePin : public Counted<IPin> {
 public:
  explicit FakePin(PIN_DIRECTION direction) : direction(direction) {}

  HRESULT STDMETHODCALLTYPE QueryDirection(PIN_DIRECTION *pPinDir) override {
    ++directionQueries;
    if (directionResult == S_OK) *pPinDir = direction;
    return directionResult;
  }
  HRESULT STDMETHODCALLTYPE ConnectedTo(IPin **pPin) override {
    *pPin = peer;
    if (!peer) return VFW_E_NOT_CONNECTED;
    peer->AddRef();
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE ConnectionMediaType(AM_MEDIA_TYPE *pmt) override {
    ZeroMemory(pmt, sizeof(*pmt));
    if (!peer) return VFW_E_NOT_CONNECTED;
    pmt->majortype = majorType;
    pmt->formattype = formatType;
    if (!format.empty()) {
      pmt->pbFormat = static_cast<BYTE *>(CoTaskMemAlloc(format.size()));
      memcpy(pmt->pbFormat, format.data(), format.size());
      pmt->cbFormat = static_cast<ULONG>(format.size());
    }
    if (typeObject) {
      typeObject->AddRef();
      pmt->pUnk = typeObject;
    }
    return S_OK;
  }

  HRESULT STDMETHODCALLTYPE Connect(IPin *, const AM_MEDIA_TYPE *) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE ReceiveConnection(IPin *, const AM_MEDIA_TYPE *) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE Disconnect() override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE QueryPinInfo(PIN_INFO *) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE QueryId(LPWSTR *) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE QueryAccept(const AM_MEDIA_TYPE *) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE EnumMediaTypes(IEnumMediaTypes **) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE QueryInternalConnections(IPin **, ULONG *) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE EndOfStream() override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE BeginFlush() override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE EndFlush() override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE NewSegment(REFERENCE_TIME, REFERENCE_TIME, double) override { return E_NOTIMPL; }

  PIN_DIRECTION direction;
  HRESULT directionResult = S_OK;  // what QueryDirection answers; a failure writes nothing
  int directionQueries = 0;
  IPin *peer = nullptr;  // the pin at the other end of the connection; null: not connected
  GUID majorType = GUID_NULL;
  GUID formatType = GUID_NULL;
  std::vector<BYTE> format;        // the format block; empty: none
  IUnknown *typeObject = nullptr;  // the connection type's pUnk
};

// A filter of a given class with its pins, in enumeration order.
class FakeFilter : public Counted<IBaseFilter> {
 public:
  explicit FakeFilter(const CLSID &clsid) : clsid(clsid) {}

  HRESULT STDMETHODCALLTYPE GetClassID(CLSID *pClassID) override {
    *pClassID = clsid;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE EnumPins(IEnumPins **ppEnum) override {
    *ppEnum = pins.Start();
    return S_OK;
  }

  HRESULT STDMETHODCALLTYPE Stop() override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE Pause() override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE Run(REFERENCE_TIME) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetState(DWORD, FILTER_STATE *) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE SetSyncSource(IReferenceClock *) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetSyncSource(IReferenceClock **) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE FindPin(LPCWSTR, IPin **) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE QueryFilterInfo(FILTER_INFO *) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE JoinFilterGraph(IFilterGraph *, LPCWSTR) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE QueryVendorInfo(LPWSTR *) override { return E_NOTIMPL; }

  CLSID clsid;
  FakeEnumerator<IEnumPins, IPin> pins;
};

}  // namespace testing_support
