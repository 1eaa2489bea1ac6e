// RendererFilter: holding the paused sample, presenting samples at their
// time, reporting the end of the stream, and seeking upstream.
#include <platform_filters/renderer_filter.h>

#include <evcode.h>
#include <vfwmsgs.h>
#include <winbase.h>

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <optional>

#include "com/com_object.h"
#include "media/seeking_pass_through.h"

namespace platform::media {
namespace {

using Ticks = std::chrono::duration<REFERENCE_TIME, std::ratio<1, 10000000>>;

// A wait for a sample's time looks at the clock again at least this often:
// the clock need not run at the pace of the machine's timer.
constexpr REFERENCE_TIME kLongestWait = 10000000;  // 1 s

}  // namespace

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
  Impl(RendererFilter &filter, const wchar_t *inputName)
      : filter(filter),
        input(filter, inputName),
        seeking(static_cast<IBaseFilter &>(filter), input, [this] { return PositionReached(); }) {}

  // A new stream: after a stop or a flush.
  void Restart() {
    ready = false;
    endOfStream = false;
    completionReported = false;
    reached.reset();
    ++stream;
    changed.notify_all();
  }

  std::optional<REFERENCE_TIME> PositionReached() {
    std::lock_guard lock(renderLock);
    return reached;
  }

  // With the render lock. Holds the sample while paused, and waits for its
  // time while running: S_OK when it is due (lateness: how long after its
  // time, when it has one and there is a clock), S_FALSE when flushed,
  // VFW_E_WRONG_STATE when stopped.
  // The held sample is shown before the pause completes.
  HRESULT WaitUntilDue(std::unique_lock<std::mutex> &lock, IMediaSample *sample,
                       std::optional<REFERENCE_TIME> &lateness) {
    bool shown = false;
    for (;;) {
      if (input.IsFlushing()) return S_FALSE;
      const FILTER_STATE state = filter.State();
      if (state == State_Stopped) return VFW_E_WRONG_STATE;
      if (state == State_Paused && !shown) {
        shown = true;
        lock.unlock();
        filter.ShowPausedSample(sample);
        lock.lock();
        continue;
      }
      if (state == State_Paused) {
        ready = true;
        changed.notify_all();
        changed.wait(lock);
        continue;
      }
      const std::optional<REFERENCE_TIME> early = TimeUntilDue(sample);
      if (!early || *early <= 0) {
        if (early) lateness = -*early;
        return S_OK;
      }
      changed.wait_for(lock, Ticks(std::min(*early, kLongestWait)));
    }
  }

  // How long before the sample's start the stream time is; empty when there
  // is no clock or the sample has no time.
  std::optional<REFERENCE_TIME> TimeUntilDue(IMediaSample *sample) const {
    REFERENCE_TIME start = 0, stop = 0;
    if (FAILED(sample->GetTime(&start, &stop))) return std::nullopt;
    REFERENCE_TIME now = 0;
    if (filter.StreamTime(&now) != S_OK) return std::nullopt;
    return start - filter.RenderAhead() - now;
  }

  // With the render lock, after the sample was presented: the media time it
  // took the stream to, the end of the sample in its segment.
  void Reached(IMediaSample *sample) {
    REFERENCE_TIME start = 0, stop = 0;
    const HRESULT timed = sample->GetTime(&start, &stop);
    if (SUCCEEDED(timed)) reached = input.CurrentSegment().start + (timed == S_OK ? stop : start);
  }

  RendererFilter &filter;
  RendererInputPin input;
  SeekingPassThrough seeking;
  std::mutex renderLock;
  std::condition_variable changed;  // the state, the flags or flushing changed
  bool ready = false;               // guarded by renderLock: a sample or end of stream came while paused
  bool waiting = false;             // guarded by renderLock: a sample waits for its time
  bool endOfStream = false;         // guarded by renderLock
  bool completionReported = false;  // guarded by renderLock
  std::optional<REFERENCE_TIME> reached;  // guarded by renderLock: media time of the last sample presented
  ULONG stream = 0;                 // guarded by renderLock: counts the restarts
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
  if (ppv && IsEqualIID(riid, IID_IMediaSeeking)) {
    *ppv = static_cast<IMediaSeeking *>(&m_impl->seeking);
    AddRef();
    return S_OK;
  }
  return com::QueryInterfaceAmong<IAMFilterMiscFlags>(this, riid, ppv);
}

HRESULT RendererFilter::SetMediaType(const AM_MEDIA_TYPE &) { return S_OK; }
void RendererFilter::ShowPausedSample(IMediaSample *) {}
bool RendererFilter::TakeDueSample(IMediaSample *, REFERENCE_TIME) { return true; }
REFERENCE_TIME RendererFilter::RenderAhead() const { return 0; }
void RendererFilter::OnBeginFlush() {}
void RendererFilter::OnEndOfStream() {}

MediaType RendererFilter::CurrentMediaType() const { return m_impl->input.CurrentMediaType(); }
Segment RendererFilter::CurrentSegment() const { return m_impl->input.CurrentSegment(); }

HRESULT RendererFilter::OnPause(FILTER_STATE from) {
  std::lock_guard lock(m_impl->renderLock);
  if (from == State_Stopped) {
    m_impl->Restart();
    m_impl->ready = !m_impl->input.IsConnected();
  } else if (from == State_Running) {
    m_impl->ready = m_impl->endOfStream || m_impl->waiting;
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
  if (sample->IsPreroll() == S_OK) return S_OK;
  std::unique_lock lock(m_impl->renderLock);
  m_impl->waiting = true;
  std::optional<REFERENCE_TIME> lateness;
  const HRESULT due = m_impl->WaitUntilDue(lock, sample, lateness);
  m_impl->waiting = false;
  if (due != S_OK) return due;
  const ULONG stream = m_impl->stream;
  lock.unlock();
  const bool taken = !lateness || TakeDueSample(sample, *lateness);
  const HRESULT hr = taken ? DoRenderSample(sample) : S_OK;
  lock.lock();
  if (m_impl->stream == stream) m_impl->Reached(sample);
  return hr;
}

HRESULT RendererFilter::EndOfStreamOnStream() {
  OnEndOfStream();
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
  {
    std::lock_guard lock(m_impl->renderLock);
    m_impl->Restart();
  }
  OnBeginFlush();
  return S_OK;
}

void RendererFilter::ReportCompletion() {
  NotifyEvent(EC_COMPLETE, S_OK, reinterpret_cast<LONG_PTR>(static_cast<IBaseFilter *>(this)));
}

}  // namespace platform::media
