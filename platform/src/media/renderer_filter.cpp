// RendererFilter: holding the paused sample, presenting samples, and
// reporting the end of the stream.
#include <platform_filters/renderer_filter.h>

#include <evcode.h>
#include <vfwmsgs.h>
#include <winbase.h>

#include <chrono>
#include <condition_variable>
#include <mutex>

#include "com/com_object.h"

namespace platform::media {

class RendererInputPin final : public InputPin {
 public:
  RendererInputPin(RendererFilter &filter, const wchar_t *name) : InputPin(filter, name), m_filter(filter) {}

 protected:
  HRESULT CheckMediaType(const AM_MEDIA_TYPE &type) override { return m_filter.CheckMediaType(type); }
  HRESULT SetMediaType(const AM_MEDIA_TYPE &type) override { return m_filter.SetMediaType(type); }
  HRESULT OnReceive(IMediaSample *sample) override { return m_filter.ReceiveOnStream(sample); }
  HRESULT OnEndOfStream() override { return m_filter.EndOfStreamOnStream(); }
  HRESULT OnBeginFlush() override { return m_filter.BeginFlushOnStream(); }

 private:
  RendererFilter &m_filter;
};

struct RendererFilter::Impl {
  Impl(RendererFilter &filter, const wchar_t *inputName) : input(filter, inputName) {}

  // A new stream: after a stop or a flush.
  void Restart() {
    ready = false;
    endOfStream = false;
    completionReported = false;
    changed.notify_all();
  }

  RendererInputPin input;
  std::mutex renderLock;
  std::condition_variable changed;  // the state, the flags or flushing changed
  bool ready = false;               // guarded by renderLock: a sample or end of stream came while paused
  bool endOfStream = false;         // guarded by renderLock
  bool completionReported = false;  // guarded by renderLock
};

RendererFilter::RendererFilter(const CLSID &clsid, const wchar_t *inputName)
    : BaseFilter(clsid), m_impl(std::make_unique<Impl>(*this, inputName)) {
  AddPin(&m_impl->input);
}

RendererFilter::~RendererFilter() = default;

HRESULT RendererFilter::QueryInterface(REFIID riid, void **ppv) { return BaseFilter::QueryInterface(riid, ppv); }
ULONG RendererFilter::AddRef() { return BaseFilter::AddRef(); }
ULONG RendererFilter::Release() { return BaseFilter::Release(); }

ULONG RendererFilter::GetMiscFlags() { return AM_FILTER_MISC_FLAGS_IS_RENDERER; }

HRESULT RendererFilter::QueryFilterInterface(REFIID riid, void **ppv) {
  return com::QueryInterfaceAmong<IAMFilterMiscFlags>(this, riid, ppv);
}

HRESULT RendererFilter::SetMediaType(const AM_MEDIA_TYPE &) { return S_OK; }

MediaType RendererFilter::CurrentMediaType() const { return m_impl->input.CurrentMediaType(); }
Segment RendererFilter::CurrentSegment() const { return m_impl->input.CurrentSegment(); }

HRESULT RendererFilter::OnPause(FILTER_STATE from) {
  std::lock_guard lock(m_impl->renderLock);
  if (from == State_Stopped) {
    m_impl->Restart();
    m_impl->ready = !m_impl->input.IsConnected();
  } else if (from == State_Running) {
    m_impl->ready = m_impl->endOfStream;
  }
  m_impl->changed.notify_all();
  return m_impl->ready ? S_OK : S_FALSE;
}

// Frees a held sample, and reports an end of stream that came while paused.
HRESULT RendererFilter::OnRun(REFERENCE_TIME) {
  bool report = false;
  bool ready = false;
  {
    std::lock_guard lock(m_impl->renderLock);
    m_impl->changed.notify_all();
    report = m_impl->endOfStream && !m_impl->completionReported;
    m_impl->completionReported = m_impl->completionReported || report;
    ready = m_impl->ready;
  }
  if (report) ReportCompletion();
  return ready ? S_OK : S_FALSE;
}

void RendererFilter::OnStop() {
  std::lock_guard lock(m_impl->renderLock);
  m_impl->Restart();
}

HRESULT RendererFilter::WaitForTransition(DWORD dwMilliSecsTimeout) {
  std::unique_lock lock(m_impl->renderLock);
  auto complete = [this] { return m_impl->ready || State() != State_Paused; };
  if (dwMilliSecsTimeout == INFINITE) {
    m_impl->changed.wait(lock, complete);
  } else {
    m_impl->changed.wait_for(lock, std::chrono::milliseconds(dwMilliSecsTimeout), complete);
  }
  return complete() ? S_OK : VFW_S_STATE_INTERMEDIATE;
}

HRESULT RendererFilter::ReceiveOnStream(IMediaSample *sample) {
  std::unique_lock lock(m_impl->renderLock);
  while (State() == State_Paused && !m_impl->input.IsFlushing()) {
    m_impl->ready = true;
    m_impl->changed.notify_all();
    m_impl->changed.wait(lock);
  }
  if (m_impl->input.IsFlushing()) return S_FALSE;
  if (State() != State_Running) return VFW_E_WRONG_STATE;
  lock.unlock();
  return DoRenderSample(sample);
}

HRESULT RendererFilter::EndOfStreamOnStream() {
  {
    std::lock_guard lock(m_impl->renderLock);
    m_impl->endOfStream = true;
    m_impl->ready = true;
    m_impl->changed.notify_all();
    if (State() != State_Running || m_impl->completionReported) return S_OK;
    m_impl->completionReported = true;
  }
  ReportCompletion();
  return S_OK;
}

HRESULT RendererFilter::BeginFlushOnStream() {
  std::lock_guard lock(m_impl->renderLock);
  m_impl->Restart();
  return S_OK;
}

void RendererFilter::ReportCompletion() {
  NotifyEvent(EC_COMPLETE, S_OK, reinterpret_cast<LONG_PTR>(static_cast<IBaseFilter *>(this)));
}

}  // namespace platform::media
