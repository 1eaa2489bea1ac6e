// The push source and the recording sink.
#include "test_filters.h"

#include <uuids.h>
#include <vfwmsgs.h>

#include <algorithm>
#include <chrono>

namespace decoder_testing {
namespace {

// {7C2E9A41-3B5D-4F60-8E1A-9D4C2B7F5E01}
constexpr CLSID kPushSourceClass = {0x7C2E9A41, 0x3B5D, 0x4F60, {0x8E, 0x1A, 0x9D, 0x4C, 0x2B, 0x7F, 0x5E, 0x01}};
// {7C2E9A41-3B5D-4F60-8E1A-9D4C2B7F5E02}
constexpr CLSID kRecordingSinkClass = {0x7C2E9A41, 0x3B5D, 0x4F60, {0x8E, 0x1A, 0x9D, 0x4C, 0x2B, 0x7F, 0x5E, 0x02}};

// Room for any packet of the test clips.
constexpr LONG kPacketBufferSize = 1 << 20;

bool Listed(const std::vector<GUID> &list, const GUID &guid) {
  return list.empty() || std::any_of(list.begin(), list.end(), [&](const GUID &g) { return IsEqualGUID(g, guid); });
}

}  // namespace

class PushSource::Pin final : public platform::media::OutputPin {
 public:
  Pin(PushSource &filter, const MediaType &type) : OutputPin(filter, L"Out"), m_type(type) {}

 protected:
  HRESULT CheckMediaType(const AM_MEDIA_TYPE &type) override {
    return platform::media::IsSameMediaType(type, m_type.Get()) ? S_OK : VFW_E_TYPE_NOT_ACCEPTED;
  }
  HRESULT GetMediaType(ULONG position, MediaType *type) override {
    if (position > 0) return VFW_S_NO_MORE_ITEMS;
    *type = m_type;
    return S_OK;
  }
  HRESULT DecideBufferSize(ALLOCATOR_PROPERTIES &request) override {
    request.cBuffers = std::max<LONG>(request.cBuffers, 2);
    request.cbBuffer = std::max(request.cbBuffer, kPacketBufferSize);
    request.cbAlign = std::max<LONG>(request.cbAlign, 1);
    return S_OK;
  }

 private:
  const MediaType m_type;
};

PushSource *PushSource::Create(const MediaType &type) { return new PushSource(type); }

PushSource::PushSource(const MediaType &type) : BaseFilter(kPushSourceClass), m_pin(std::make_unique<Pin>(*this, type)) {
  AddPin(m_pin.get());
}

PushSource::~PushSource() = default;

IPin *PushSource::Output() { return m_pin.get(); }

HRESULT PushSource::Push(const Bytes &data, const SampleTimes &times, bool syncPoint) {
  IMediaSample *sample = nullptr;
  HRESULT hr = m_pin->GetDeliveryBuffer(&sample, nullptr, nullptr, 0);
  if (FAILED(hr)) return hr;
  BYTE *buffer = nullptr;
  sample->GetPointer(&buffer);
  const size_t size = std::min(data.size(), static_cast<size_t>(sample->GetSize()));
  std::copy_n(data.begin(), size, buffer);
  sample->SetActualDataLength(static_cast<LONG>(size));
  REFERENCE_TIME start = times.start.value_or(0), stop = times.stop.value_or(0);
  sample->SetTime(times.start ? &start : nullptr, times.stop ? &stop : nullptr);
  sample->SetSyncPoint(syncPoint);
  hr = m_pin->Deliver(sample);
  sample->Release();
  return hr;
}

HRESULT PushSource::EndOfStream() { return m_pin->DeliverEndOfStream(); }

HRESULT PushSource::Flush() {
  const HRESULT hr = m_pin->DeliverBeginFlush();
  return FAILED(hr) ? hr : m_pin->DeliverEndFlush();
}

HRESULT PushSource::NewSegment(REFERENCE_TIME start, REFERENCE_TIME stop) {
  return m_pin->DeliverNewSegment(start, stop, 1.0);
}

uint64_t HashOf(const uint8_t *data, size_t size) {
  uint64_t hash = 0xcbf29ce484222325ull;
  for (size_t i = 0; i < size; ++i) hash = (hash ^ data[i]) * 0x100000001b3ull;
  return hash;
}

RecordingSink *RecordingSink::Create(std::vector<GUID> subtypes, std::vector<GUID> formatTypes) {
  return new RecordingSink(std::move(subtypes), std::move(formatTypes));
}

RecordingSink::RecordingSink(std::vector<GUID> subtypes, std::vector<GUID> formatTypes)
    : RendererFilter(kRecordingSinkClass), m_subtypes(std::move(subtypes)), m_formatTypes(std::move(formatTypes)) {}

IPin *RecordingSink::Input() {
  IPin *pin = nullptr;
  FindPin(L"In", &pin);
  if (pin) pin->Release();  // the filter holds it
  return pin;
}

void RecordingSink::Accept(std::vector<GUID> subtypes, std::vector<GUID> formatTypes) {
  std::lock_guard lock(m_lock);
  m_subtypes = std::move(subtypes);
  m_formatTypes = std::move(formatTypes);
}

std::vector<RecordedPicture> RecordingSink::Pictures() const {
  std::lock_guard lock(m_lock);
  return m_pictures;
}

std::vector<MediaType> RecordingSink::Types() const {
  std::lock_guard lock(m_lock);
  return m_types;
}

bool RecordingSink::WaitForPictures(size_t count) const {
  std::unique_lock lock(m_lock);
  return m_rendered.wait_for(lock, std::chrono::seconds(20), [&] { return m_pictures.size() >= count; });
}

HRESULT RecordingSink::CheckMediaType(const AM_MEDIA_TYPE &type) {
  std::lock_guard lock(m_lock);
  if (!IsEqualGUID(type.majortype, MEDIATYPE_Video)) return VFW_E_TYPE_NOT_ACCEPTED;
  return Listed(m_subtypes, type.subtype) && Listed(m_formatTypes, type.formattype) ? S_OK : VFW_E_TYPE_NOT_ACCEPTED;
}

HRESULT RecordingSink::SetMediaType(const AM_MEDIA_TYPE &type) {
  std::lock_guard lock(m_lock);
  m_types.emplace_back(type);
  return S_OK;
}

HRESULT RecordingSink::DoRenderSample(IMediaSample *sample) {
  RecordedPicture picture;
  BYTE *data = nullptr;
  sample->GetPointer(&data);
  picture.size = static_cast<size_t>(sample->GetActualDataLength());
  picture.hash = HashOf(data, picture.size);
  const HRESULT timed = sample->GetTime(&picture.start, &picture.stop);
  picture.hasStart = timed == S_OK || timed == VFW_S_NO_STOP_TIME;
  picture.hasStop = timed == S_OK;
  picture.discontinuity = sample->IsDiscontinuity() == S_OK;
  std::lock_guard lock(m_lock);
  picture.type = m_types.empty() ? 0 : m_types.size() - 1;
  m_pictures.push_back(picture);
  m_rendered.notify_all();
  return S_OK;
}

}  // namespace decoder_testing
