#include "Audio/Audio.h"

#include <SDL.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <memory>
#include <utility>
#include <vector>


namespace kravelon {

namespace {

struct TVoice {
  std::shared_ptr<const TSamples> Samples;
  std::size_t Position = 0;
  bool Looped = false;
  bool Playing = false;
};

// An open device wakes its thread for every buffer even while paused, so it is closed once a
// sound has ended and opened again for the next one.
SDL_AudioDeviceID Device = 0;
bool DeviceUnavailable = false;
TAudioIdleNotice IdleNotice;
bool (*Interrupted)() = nullptr;
TVoice Voice;  // touched by the callback only under the device lock
// Silent buffers handed to the device since the last sound ended; a few of them let the end of
// the sound leave the device's own buffers before it is closed.
int SilentBuffers = 0;
constexpr int TailBuffers = 3;

void Mix(void*, Uint8* stream, int length) {
  auto* out = reinterpret_cast<std::int16_t*>(stream);
  std::size_t wanted = static_cast<std::size_t>(length) / sizeof(std::int16_t);
  std::size_t written = 0;
  const TSamples* samples = Voice.Samples.get();
  while (written < wanted && Voice.Playing && samples && !samples->empty()) {
    std::size_t left = samples->size() - Voice.Position;
    std::size_t n = std::min(left, wanted - written);
    std::memcpy(out + written, samples->data() + Voice.Position, n * sizeof(std::int16_t));
    written += n;
    Voice.Position += n;
    if (Voice.Position >= samples->size()) {
      Voice.Position = 0;
      if (!Voice.Looped) Voice.Playing = false;
    }
  }
  std::memset(out + written, 0, (wanted - written) * sizeof(std::int16_t));
  if (written > 0 || Voice.Playing) {
    SilentBuffers = 0;
  } else if (++SilentBuffers == TailBuffers && IdleNotice) {
    // The device is closed on the game's thread (closing waits for this thread to end). A note
    // that cannot be delivered now is sent again after a few more silent buffers.
    if (!IdleNotice()) SilentBuffers = 0;
  }
}

// Opens the device paused; a failure is not retried.
bool OpenDevice() {
  if (Device != 0) return true;
  if (DeviceUnavailable) return false;
  DeviceUnavailable = true;
  if (!SDL_WasInit(SDL_INIT_AUDIO) && SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) return false;
  SDL_AudioSpec want{};
  want.freq = SoundRate;
  want.format = AUDIO_S16SYS;
  want.channels = SoundChannels;
  want.samples = 1024;
  want.callback = Mix;
  SDL_AudioSpec have{};
  Device = SDL_OpenAudioDevice(nullptr, 0, &want, &have, 0);
  DeviceUnavailable = Device == 0;
  SilentBuffers = 0;
  return Device != 0;
}

void StartVoice(std::shared_ptr<const TSamples> samples, bool looped) {
  SDL_LockAudioDevice(Device);
  Voice.Samples = std::move(samples);
  Voice.Position = 0;
  Voice.Looped = looped;
  Voice.Playing = Voice.Samples && !Voice.Samples->empty();
  SilentBuffers = 0;
  SDL_UnlockAudioDevice(Device);
  // The first callback after this starts at the sound's first sample.
  SDL_PauseAudioDevice(Device, 0);
}

bool VoicePlaying() {
  SDL_LockAudioDevice(Device);
  bool playing = Voice.Playing;
  SDL_UnlockAudioDevice(Device);
  return playing;
}

}  // namespace

void PlayWave(const TDecodedWave& wave, unsigned flags) {
  if (wave.Silent() || !OpenDevice()) return;
  const bool looped = (flags & pfLoop) != 0;
  StartVoice(wave.Samples(), looped);
  if (!(flags & pfAsync) && !looped) {
    while (VoicePlaying() && !(Interrupted && Interrupted())) SDL_Delay(2);
  }
}

void StopWave() {
  if (Device == 0) return;
  SDL_LockAudioDevice(Device);
  Voice.Playing = false;
  Voice.Samples.reset();
  Voice.Position = 0;
  SDL_UnlockAudioDevice(Device);
}

void PlaySamples(const std::int16_t* samples, std::size_t frames) {
  if (!OpenDevice()) return;
  StartVoice(std::make_shared<const TSamples>(samples, samples + frames * SoundChannels), false);
}

void Beep() {
  // 150 ms of 880 Hz with a short fade at both ends, so it does not click.
  constexpr int Frames = SoundRate * 150 / 1000;
  static std::vector<std::int16_t> tone = [] {
    std::vector<std::int16_t> samples(Frames * SoundChannels);
    for (int i = 0; i < Frames; ++i) {
      double fade = std::min({1.0, i / 441.0, (Frames - i) / 441.0});
      auto v = static_cast<std::int16_t>(8000 * fade * std::sin(2 * M_PI * 880.0 * i / SoundRate));
      samples[2 * i] = samples[2 * i + 1] = v;
    }
    return samples;
  }();
  PlaySamples(tone.data(), Frames);
}

void SetAudioIdleNotice(TAudioIdleNotice notice) {
  if (Device != 0) SDL_LockAudioDevice(Device);
  IdleNotice = std::move(notice);
  if (Device != 0) SDL_UnlockAudioDevice(Device);
}

void SetAudioInterrupt(bool (*interrupted)()) { Interrupted = interrupted; }

void CloseAudioWhenIdle() {
  if (Device == 0) return;
  SDL_LockAudioDevice(Device);
  // A sound may have started since the event was sent.
  const bool idle = !Voice.Playing;
  SDL_UnlockAudioDevice(Device);
  if (!idle) return;
  SDL_CloseAudioDevice(Device);
  Device = 0;
}

bool AudioDeviceOpen() { return Device != 0; }

void CloseAudio() {
  if (Device != 0) SDL_CloseAudioDevice(Device);
  Device = 0;
  DeviceUnavailable = false;
  Voice = TVoice{};
}

}  // namespace kravelon
