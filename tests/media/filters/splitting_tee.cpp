// A filter with one input and several outputs, for rendering through a
// filter whose every output is a stream of its own.
#include <dshow.h>

#include <algorithm>
#include <cstring>

#include <platform_filters/input_pin.h>
#include <platform_filters/output_pin.h>

#include "connect_filters.h"

namespace test_filters {

class SplittingTee::TeeInput final : public platform::media::InputPin {
 public:
  explicit TeeInput(SplittingTee &tee) : InputPin(tee, L"In"), m_tee(tee) {}

 private:
  HRESULT CheckMediaType(const AM_MEDIA_TYPE &type) override {
    const bool rgb32 = IsEqualGUID(type.majortype, MEDIATYPE_Video) && IsEqualGUID(type.subtype, MEDIASUBTYPE_RGB32);
    return rgb32 ? S_OK : VFW_E_TYPE_NOT_ACCEPTED;
  }
  HRESULT OnReceive(IMediaSample *sample) override;
  HRESULT OnEndOfStream() override;
  HRESULT OnNewSegment(const platform::media::Segment &segment) override;
  HRESULT OnBeginFlush() override;
  HRESULT OnEndFlush() override;

  SplittingTee &m_tee;
};

// An output connects once the input is connected: the copies give the
// input's type, the text output its own.
class SplittingTee::TeeOutput final : public platform::media::OutputPin {
 public:
  TeeOutput(SplittingTee &tee, std::wstring name, bool copies)
      : OutputPin(tee, std::move(name)), m_tee(tee), m_copies(copies) {}
  bool Copies() const { return m_copies; }

 private:
  MediaType OfferedType() const { return m_copies ? m_tee.m_input->CurrentMediaType() : TextType(); }
  HRESULT CheckMediaType(const AM_MEDIA_TYPE &type) override {
    if (!m_tee.m_input->IsConnected()) return VFW_E_NOT_CONNECTED;
    return platform::media::IsSameMediaType(type, OfferedType().Get()) ? S_OK : VFW_E_TYPE_NOT_ACCEPTED;
  }
  HRESULT GetMediaType(ULONG position, MediaType *type) override {
    if (position > 0 || !m_tee.m_input->IsConnected()) return VFW_S_NO_MORE_ITEMS;
    *type = OfferedType();
    return S_OK;
  }
  HRESULT DecideBufferSize(ALLOCATOR_PROPERTIES &request) override {
    request.cBuffers = std::max(request.cBuffers, LONG{2});
    request.cbBuffer = std::max({request.cbBuffer, static_cast<LONG>(OfferedType()->lSampleSize), LONG{4}});
    return S_OK;
  }

  SplittingTee &m_tee;
  const bool m_copies;
};

HRESULT SplittingTee::TeeInput::OnReceive(IMediaSample *sample) {
  BYTE *from = nullptr;
  sample->GetPointer(&from);
  const LONG length = sample->GetActualDataLength();
  REFERENCE_TIME start = 0, stop = 0;
  const bool timed = SUCCEEDED(sample->GetTime(&start, &stop));
  for (TeeOutput *output : m_tee.CopyingOutputs()) {
    IMediaSample *copy = nullptr;
    if (HRESULT hr = output->GetDeliveryBuffer(&copy, nullptr, nullptr, 0); FAILED(hr)) return hr;
    BYTE *to = nullptr;
    copy->GetPointer(&to);
    std::memcpy(to, from, std::min(length, copy->GetSize()));
    copy->SetActualDataLength(std::min(length, copy->GetSize()));
    if (timed) copy->SetTime(&start, &stop);
    const HRESULT hr = output->Deliver(copy);
    copy->Release();
    if (FAILED(hr)) return hr;
  }
  return S_OK;
}

HRESULT SplittingTee::TeeInput::OnEndOfStream() {
  for (TeeOutput *output : m_tee.ConnectedOutputs()) output->DeliverEndOfStream();
  return S_OK;
}

HRESULT SplittingTee::TeeInput::OnNewSegment(const platform::media::Segment &segment) {
  for (TeeOutput *output : m_tee.ConnectedOutputs())
    output->DeliverNewSegment(segment.start, segment.stop, segment.rate);
  return S_OK;
}

HRESULT SplittingTee::TeeInput::OnBeginFlush() {
  for (TeeOutput *output : m_tee.ConnectedOutputs()) output->DeliverBeginFlush();
  return S_OK;
}

HRESULT SplittingTee::TeeInput::OnEndFlush() {
  for (TeeOutput *output : m_tee.ConnectedOutputs()) output->DeliverEndFlush();
  return S_OK;
}

SplittingTee *SplittingTee::Create() { return new SplittingTee(); }

SplittingTee::SplittingTee() : BaseFilter(kSplittingTeeClass), m_input(std::make_unique<TeeInput>(*this)) {
  AddPin(m_input.get());
  const std::pair<const wchar_t *, bool> outputs[] = {
      {L"video 0", true}, {L"video 1", true}, {L"text", false}, {L"~preview", true}};
  for (const auto &[name, copies] : outputs) {
    m_outputs.push_back(std::make_unique<TeeOutput>(*this, name, copies));
    AddPin(m_outputs.back().get());
  }
}

SplittingTee::~SplittingTee() = default;

IPin *SplittingTee::Input() const { return m_input.get(); }

IPin *SplittingTee::Output(const wchar_t *name) const { return PinOf(const_cast<SplittingTee *>(this), name); }

std::vector<SplittingTee::TeeOutput *> SplittingTee::ConnectedOutputs() const {
  std::vector<TeeOutput *> connected;
  for (const auto &output : m_outputs) {
    if (output->IsConnected()) connected.push_back(output.get());
  }
  return connected;
}

std::vector<SplittingTee::TeeOutput *> SplittingTee::CopyingOutputs() const {
  std::vector<TeeOutput *> copying = ConnectedOutputs();
  std::erase_if(copying, [](TeeOutput *output) { return !output->Copies(); });
  return copying;
}

}  // namespace test_filters
