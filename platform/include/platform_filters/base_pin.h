// BasePin: what input and output pins share. It implements the IPin methods
// that do not depend on the direction: the connection's description
// (ConnectedTo, ConnectionMediaType), the pin's own (QueryPinInfo,
// QueryDirection, QueryId), media-type negotiation (QueryAccept,
// EnumMediaTypes) and Disconnect. InputPin and OutputPin add the rest.
//
// Contract. A pin belongs to its filter (BaseFilter::AddPin) and shares the
// filter's reference count. It is connected to at most one pin of the other
// direction, with one media type. Connections are made and broken only
// while the filter is stopped (VFW_E_NOT_STOPPED otherwise); the media type
// may change while streaming, carried on a sample (see input_pin.h and
// output_pin.h).
//
// What a subclass overrides:
//   CheckMediaType   S_OK when the pin can take the type, a failure code
//                    (VFW_E_TYPE_NOT_ACCEPTED, ...) when not. It decides
//                    connections, QueryAccept and mid-stream changes.
//   GetMediaType     the pin's preferred types, position 0 first: S_OK, or
//                    VFW_S_NO_MORE_ITEMS past the last (the default: none).
//   SetMediaType     the type has been agreed, at connection or mid-stream;
//                    a failure undoes a connection.
//   CompleteConnect  the connection is made (the peer given); a failure
//                    undoes it.
//   BreakConnect     the connection has just been broken.
//   QueryPinInterface  interfaces beyond IPin.
// The hooks are called without any of the pin's locks held.
//
// Results. Disconnect gives S_FALSE when the pin was not connected;
// ConnectedTo and ConnectionMediaType give VFW_E_NOT_CONNECTED (with a null
// pin and a zeroed type); QueryAccept gives S_OK or S_FALSE.
//
// Locks. The connection lock guards the connected pin and the media type.
// It is a leaf: it is never held while calling a hook or another pin.
#pragma once

#include <strmif.h>

#include <memory>
#include <string>

#include "filters_api.h"
#include "media_type.h"

namespace platform::media {

class BaseFilter;

class PLATFORM_FILTERS_API BasePin : public IPin {
 public:
  BasePin(const BasePin &) = delete;
  BasePin &operator=(const BasePin &) = delete;

  // IUnknown: IPin, then QueryPinInterface. The count is the filter's.
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void **ppv) override;
  ULONG STDMETHODCALLTYPE AddRef() override;
  ULONG STDMETHODCALLTYPE Release() override;

  // IPin
  HRESULT STDMETHODCALLTYPE Disconnect() override;
  HRESULT STDMETHODCALLTYPE ConnectedTo(IPin **pPin) override;
  HRESULT STDMETHODCALLTYPE ConnectionMediaType(AM_MEDIA_TYPE *pmt) override;
  HRESULT STDMETHODCALLTYPE QueryPinInfo(PIN_INFO *pInfo) override;
  HRESULT STDMETHODCALLTYPE QueryDirection(PIN_DIRECTION *pPinDir) override;
  HRESULT STDMETHODCALLTYPE QueryId(LPWSTR *Id) override;
  HRESULT STDMETHODCALLTYPE QueryAccept(const AM_MEDIA_TYPE *pmt) override;
  HRESULT STDMETHODCALLTYPE EnumMediaTypes(IEnumMediaTypes **ppEnum) override;
  // E_NOTIMPL: every input pin feeds every output pin.
  HRESULT STDMETHODCALLTYPE QueryInternalConnections(IPin **apPin, ULONG *nPin) override;

  BaseFilter &Filter() const;
  const std::wstring &Name() const;
  PIN_DIRECTION Direction() const;
  bool IsConnected() const;
  // Empty when not connected.
  MediaType CurrentMediaType() const;

  // Called by the filter's state changes, under its state lock: streaming
  // starts (S_OK or a failure that stops the pause) and stops.
  virtual HRESULT Active();
  virtual void Inactive();

 protected:
  BasePin(BaseFilter &filter, std::wstring name, PIN_DIRECTION direction);
  virtual ~BasePin();

  virtual HRESULT CheckMediaType(const AM_MEDIA_TYPE &type) = 0;
  virtual HRESULT GetMediaType(ULONG position, MediaType *type);
  virtual HRESULT SetMediaType(const AM_MEDIA_TYPE &type);
  virtual HRESULT CompleteConnect(IPin *peer);
  virtual void BreakConnect();
  virtual HRESULT QueryPinInterface(REFIID riid, void **ppv);

  // For InputPin and OutputPin.
  // S_OK when this pin may connect to peer now: E_POINTER,
  // VFW_E_ALREADY_CONNECTED, VFW_E_NOT_STOPPED or VFW_E_INVALID_DIRECTION.
  HRESULT CheckConnectable(IPin *peer);
  // Records the connection; VFW_E_ALREADY_CONNECTED if another was made
  // meanwhile.
  HRESULT SetConnection(IPin *peer, const AM_MEDIA_TYPE &type);
  void ClearConnection();
  // The media type of a connection that stays.
  void ReplaceMediaType(const AM_MEDIA_TYPE &type);

 private:
  struct Impl;
  std::unique_ptr<Impl> m_impl;
};

}  // namespace platform::media
