// IDecoderSettings: the decoder's settings, checked and applied.
//
//   switches        0 or 1, anything else E_INVALIDARG
//   thread count    0 (one per processor) to H264DECODER_MAX_THREADS, else
//                   E_INVALIDARG; GetThreads gives the count chosen
//   deblocking      on by default; off skips H.264's in-loop deblocking
//                   filter (faster, blockier pictures), from the next packet
//   time stamps     passed through by default; off, the decoder derives
//                   them (time_stamps.h), from the next picture
//   aspect ratio,   off by default; they change the output type, which the
//   chroma format   downstream pin must accept (h264_decoder_filter.h)
#include <vfwmsgs.h>

#include <algorithm>
#include <thread>
#include <utility>

#include "h264_decoder_filter.h"
#include "interface_ref.h"

namespace h264decoder {
namespace {

using platform::media::MediaType;

bool IsSwitchValue(DWORD value) { return value == 0 || value == 1; }

HRESULT ReadSwitch(BOOL *out, bool value) {
  if (!out) return E_POINTER;
  *out = value ? TRUE : FALSE;
  return S_OK;
}

}  // namespace

int H264DecoderFilter::AutomaticThreadCount() {
  const int processors = static_cast<int>(std::thread::hardware_concurrency());
  return std::clamp(processors, 1, H264DECODER_MAX_THREADS);
}

HRESULT H264DecoderFilter::SetDeblocking(BOOL bEnable) {
  if (!IsSwitchValue(static_cast<DWORD>(bEnable))) return E_INVALIDARG;
  std::lock_guard lock(m_formatLock);
  m_settings.codec.deblocking = bEnable;
  return S_OK;
}

HRESULT H264DecoderFilter::GetDeblocking(BOOL *pbEnabled) {
  return ReadSwitch(pbEnabled, CurrentSettings().codec.deblocking);
}

HRESULT H264DecoderFilter::SetPassThroughTimeStamps(BOOL bPassThrough) {
  if (!IsSwitchValue(static_cast<DWORD>(bPassThrough))) return E_INVALIDARG;
  std::lock_guard lock(m_formatLock);
  m_settings.passThroughTimeStamps = bPassThrough;
  return S_OK;
}

HRESULT H264DecoderFilter::GetPassThroughTimeStamps(BOOL *pbPassThrough) {
  return ReadSwitch(pbPassThrough, CurrentSettings().passThroughTimeStamps);
}

HRESULT H264DecoderFilter::SetThreads(int nThreads) {
  if (nThreads < 0 || nThreads > H264DECODER_MAX_THREADS) return E_INVALIDARG;
  std::lock_guard lock(m_formatLock);
  m_settings.codec.threads = nThreads == 0 ? AutomaticThreadCount() : nThreads;
  return S_OK;
}

HRESULT H264DecoderFilter::GetThreads(int *pnThreads) {
  if (!pnThreads) return E_POINTER;
  *pnThreads = CurrentSettings().codec.threads;
  return S_OK;
}

HRESULT H264DecoderFilter::SetMaintainAspectRatio(BOOL bMaintain) {
  if (!IsSwitchValue(static_cast<DWORD>(bMaintain))) return E_INVALIDARG;
  return ChangeOutputSettings(&OutputSettings::maintainAspectRatio, bMaintain);
}

HRESULT H264DecoderFilter::GetMaintainAspectRatio(BOOL *pbMaintain) {
  return ReadSwitch(pbMaintain, CurrentSettings().output.maintainAspectRatio);
}

HRESULT H264DecoderFilter::SetForceOriginalChromaFormat(DWORD dwForce) {
  if (!IsSwitchValue(dwForce)) return E_INVALIDARG;
  return ChangeOutputSettings(&OutputSettings::keepChromaFormat, dwForce);
}

HRESULT H264DecoderFilter::GetForceOriginalChromaFormat(BOOL *pbForce) {
  return ReadSwitch(pbForce, CurrentSettings().output.keepChromaFormat);
}

// Without an output connection the new setting only changes the types the
// output pin offers. With one, the type changes at once: by connecting the
// pin again while stopped, by a type change mid-stream otherwise.
HRESULT H264DecoderFilter::ChangeOutputSettings(bool OutputSettings::*setting, bool value) {
  std::lock_guard change(m_changeLock);
  OutputSettings wanted = CurrentSettings().output;
  wanted.*setting = value;
  IPin *found = nullptr;
  if (FAILED(FindPin(L"Out", &found))) return E_UNEXPECTED;
  const InterfaceRef<IPin> output(found);
  IPin *connected = nullptr;
  const InterfaceRef<IPin> peer(output->ConnectedTo(&connected) == S_OK ? connected : nullptr);
  if (peer && State() == State_Stopped) return ReconnectOutput(output.get(), peer.get(), wanted);
  std::lock_guard lock(m_formatLock);
  const HRESULT hr = peer ? SwitchOutputType(m_picture, wanted) : S_OK;
  if (hr == S_OK) m_settings.output = wanted;
  return hr;
}

// The connection is broken only once the downstream pin has said it takes a
// type of the new settings; if the new connection still fails, the old one
// is made again in its old type.
HRESULT H264DecoderFilter::ReconnectOutput(IPin *output, IPin *peer, const OutputSettings &wanted) {
  std::vector<MediaType> candidates;
  {
    std::lock_guard lock(m_formatLock);
    candidates = CandidateTypes(m_picture, wanted);
  }
  const MediaType previous = OutputType();
  const auto accepted = std::find_if(candidates.begin(), candidates.end(),
                                     [&](const MediaType &type) { return peer->QueryAccept(&type.Get()) == S_OK; });
  if (accepted == candidates.end()) return VFW_E_TYPE_NOT_ACCEPTED;
  OutputSettings old;
  {
    std::lock_guard lock(m_formatLock);
    old = std::exchange(m_settings.output, wanted);
  }
  if (*accepted == previous) return S_OK;
  output->Disconnect();
  peer->Disconnect();
  const HRESULT hr = output->Connect(peer, &accepted->Get());
  if (SUCCEEDED(hr)) return S_OK;
  {
    std::lock_guard lock(m_formatLock);
    m_settings.output = old;
  }
  output->Connect(peer, &previous.Get());
  return hr;
}

}  // namespace h264decoder
