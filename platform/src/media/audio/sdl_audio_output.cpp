// The sound device through SDL.
#include "media/audio/sdl_audio_output.h"

#include <SDL2/SDL.h>

#include <mutex>

namespace platform::media::audio {
namespace {

std::mutex &SdlLock() {
  static std::mutex lock;
  return lock;
}

void SDLCALL FillFromFeed(void *feed, Uint8 *stream, int len) {
  static_cast<PlaybackFeed *>(feed)->Fill(stream, static_cast<size_t>(len));
}

// WAVE samples are little-endian whatever the machine.
SDL_AudioFormat SdlFormatOf(const PcmFormat &format) {
  if (format.isFloat) return AUDIO_F32LSB;
  switch (format.bitsPerSample) {
    case 8:
      return AUDIO_U8;
    case 16:
      return AUDIO_S16LSB;
    default:
      return AUDIO_S32LSB;
  }
}

// About 20 ms a buffer, a power of two as SDL prefers.
Uint16 BufferSamples(DWORD samplesPerSec) {
  Uint16 samples = 256;
  while (samples < 8192 && samples < samplesPerSec / 50) samples *= 2;
  return samples;
}

}  // namespace

std::unique_ptr<AudioOutput> SdlAudioOutput::Open(PlaybackFeed &feed) {
  std::lock_guard lock(SdlLock());
  if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) return nullptr;
  const PcmFormat &format = feed.Format();
  SDL_AudioSpec wanted{};
  wanted.freq = static_cast<int>(format.samplesPerSec);
  wanted.format = SdlFormatOf(format);
  wanted.channels = static_cast<Uint8>(format.channels);
  wanted.samples = BufferSamples(format.samplesPerSec);
  wanted.callback = &FillFromFeed;
  wanted.userdata = &feed;
  SDL_AudioSpec obtained{};
  const SDL_AudioDeviceID device = SDL_OpenAudioDevice(nullptr, 0, &wanted, &obtained, 0);
  if (device == 0) {
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
    return nullptr;
  }
  return std::unique_ptr<AudioOutput>(new SdlAudioOutput(device));
}

SdlAudioOutput::~SdlAudioOutput() {
  std::lock_guard lock(SdlLock());
  SDL_CloseAudioDevice(m_device);
  SDL_QuitSubSystem(SDL_INIT_AUDIO);
}

void SdlAudioOutput::Start() { SDL_PauseAudioDevice(m_device, 0); }

// SDL takes the device's lock, which its thread holds while in the feed.
void SdlAudioOutput::Pause() { SDL_PauseAudioDevice(m_device, 1); }

}  // namespace platform::media::audio
