// The built-in audio renderer.
#include "media/audio/audio_renderer.h"

#include <uuids.h>
#include <vfwmsgs.h>

#include "com/builtin_classes.h"
#include "media/ffmpeg/builtin_filter_factory.h"

namespace platform::media::audio {
namespace {

const REGPINTYPES kPcmTypes[] = {{&MEDIATYPE_Audio, &MEDIASUBTYPE_PCM}, {&MEDIATYPE_Audio, &MEDIASUBTYPE_IEEE_FLOAT}};
const REGFILTERPINS2 kPins[] = {FilterPin(REG_PINFLAG_B_RENDERER, kPcmTypes)};
const REGFILTER2 kRegistration = FilterRegistration(MERIT_PREFERRED, kPins);

const bool kRegistered = com::AddBuiltinClass(
    {&CLSID_DSoundRender, L"Default DirectSound Device", L"Both", &AudioRenderer::Create, &kRegistration});

}  // namespace

HRESULT AudioRenderer::Create(IUnknown *outer, REFIID riid, void **ppv) {
  return ffmpeg::CreateBuiltinFilter(outer, riid, ppv, [] { return new AudioRenderer(); });
}

AudioRenderer::AudioRenderer() : RendererFilter(CLSID_DSoundRender, L"Audio Input pin (rendered)"), m_clock(static_cast<IBaseFilter &>(*this)) {}

AudioRenderer::~AudioRenderer() {
  std::lock_guard lock(m_outputLock);
  CloseOutput();
}

HRESULT AudioRenderer::QueryInterface(REFIID riid, void **ppv) {
  if (ppv && IsEqualIID(riid, IID_IReferenceClock)) {
    *ppv = static_cast<IReferenceClock *>(&m_clock);
    AddRef();
    return S_OK;
  }
  return RendererFilter::QueryInterface(riid, ppv);
}

// The sound stops before the filter does, so none is heard after Stop.
HRESULT AudioRenderer::Stop() {
  {
    std::lock_guard lock(m_outputLock);
    PauseOutput();
  }
  m_queue.Clear();
  const HRESULT hr = RendererFilter::Stop();
  std::lock_guard lock(m_outputLock);
  CloseOutput();
  m_queue.Clear();
  return hr;
}

HRESULT AudioRenderer::Pause() {
  {
    std::lock_guard lock(m_outputLock);
    PauseOutput();
    OpenOutput();
  }
  return RendererFilter::Pause();
}

// A Run from Stopped pauses on the way, inside the base class.
HRESULT AudioRenderer::Run(REFERENCE_TIME tStart) {
  {
    std::lock_guard lock(m_outputLock);
    OpenOutput();
  }
  const HRESULT hr = RendererFilter::Run(tStart);
  if (SUCCEEDED(hr)) {
    std::lock_guard lock(m_outputLock);
    StartOutput();
  }
  return hr;
}

const char *AudioRenderer::OutputKind() const {
  std::lock_guard lock(m_outputLock);
  return m_output ? m_output->Kind() : nullptr;
}

HRESULT AudioRenderer::CheckMediaType(const AM_MEDIA_TYPE &type) {
  return DescribePcm(type) ? S_OK : VFW_E_TYPE_NOT_ACCEPTED;
}

// A new type while the output is open: what is queued in the old one is
// dropped, and the output plays the new one.
HRESULT AudioRenderer::SetMediaType(const AM_MEDIA_TYPE &type) {
  const auto format = DescribePcm(type);
  if (!format) return VFW_E_TYPE_NOT_ACCEPTED;
  std::lock_guard lock(m_outputLock);
  m_format = format;
  m_queue.SetCapacity(format->BytesOf(kQueueLength));
  if (!m_output) return S_OK;
  const bool playing = m_playing;
  CloseOutput();
  m_queue.Clear();
  OpenOutput();
  if (playing) StartOutput();
  return S_OK;
}

// Whole samples of all channels only.
HRESULT AudioRenderer::DoRenderSample(IMediaSample *sample) {
  BYTE *data = nullptr;
  if (FAILED(sample->GetPointer(&data))) return E_POINTER;
  const LONG length = sample->GetActualDataLength();
  WORD blockAlign = 1;
  {
    std::lock_guard lock(m_outputLock);
    if (m_format) blockAlign = m_format->blockAlign;
  }
  if (length <= 0) return S_OK;
  m_queue.Write(data, static_cast<size_t>(length) / blockAlign * blockAlign);
  return S_OK;
}

REFERENCE_TIME AudioRenderer::RenderAhead() const { return kRenderAhead; }

void AudioRenderer::OnBeginFlush() { m_queue.Clear(); }

void AudioRenderer::OnEndOfStream() { m_queue.WaitUntilEmpty(); }

void AudioRenderer::OpenOutput() {
  if (m_output || !m_format) return;
  m_feed = std::make_unique<PlaybackFeed>(*m_format, m_queue, m_clock);
  m_output = OpenAudioOutput(*m_feed);
}

void AudioRenderer::CloseOutput() {
  PauseOutput();
  m_output.reset();
  m_feed.reset();
}

void AudioRenderer::PauseOutput() {
  m_queue.SetFlowing(false);
  if (m_output) m_output->Pause();
  m_playing = false;
  m_clock.Idle();
}

void AudioRenderer::StartOutput() {
  if (!m_output) return;
  m_playing = true;
  m_queue.SetFlowing(true);
  m_output->Start();
}

}  // namespace platform::media::audio
