#include "Toolkit/Audio.h"

#include <SDL.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <vector>

#include "Toolkit/Decoders.h"
#include "Toolkit/Quit.h"

namespace kravelon {

namespace {

// The converted sound is held whole: up to a few minutes at the device's rate.
constexpr std::uint64_t MaxWaveWorkBytes = 64u << 20;

constexpr int DeviceRate = 44100;
constexpr int DeviceChannels = 2;

struct TVoice {
  std::vector<std::int16_t> Samples;  // interleaved stereo at the device's rate
  std::size_t Position = 0;
  bool Looped = false;
  bool Playing = false;
};

// An open device wakes its thread for every buffer even while paused, so it is closed once a
// sound has ended and opened again for the next one.
SDL_AudioDeviceID Device = 0;
bool DeviceUnavailable = false;
Uint32 IdleEvent = 0;
TVoice Voice;  // touched by the callback only under the device lock
// Silent buffers handed to the device since the last sound ended; a few of them let the end of
// the sound leave the device's own buffers before it is closed.
int SilentBuffers = 0;
constexpr int TailBuffers = 3;

void Mix(void*, Uint8* stream, int length) {
  auto* out = reinterpret_cast<std::int16_t*>(stream);
  std::size_t wanted = static_cast<std::size_t>(length) / sizeof(std::int16_t);
  std::size_t written = 0;
  while (written < wanted && Voice.Playing && !Voice.Samples.empty()) {
    std::size_t left = Voice.Samples.size() - Voice.Position;
    std::size_t n = std::min(left, wanted - written);
    std::memcpy(out + written, Voice.Samples.data() + Voice.Position, n * sizeof(std::int16_t));
    written += n;
    Voice.Position += n;
    if (Voice.Position >= Voice.Samples.size()) {
      Voice.Position = 0;
      if (!Voice.Looped) Voice.Playing = false;
    }
  }
  std::memset(out + written, 0, (wanted - written) * sizeof(std::int16_t));
  if (written > 0 || Voice.Playing) {
    SilentBuffers = 0;
  } else if (++SilentBuffers % TailBuffers == 0 && IdleEvent != 0) {
    // The device is closed on the main thread (closing waits for this thread to end). Sent
    // again while the device stays open, in case a modal loop dropped the first.
    SDL_Event event{};
    event.type = IdleEvent;
    SDL_PushEvent(&event);
  }
}

// Opens the device paused; a failure is not retried.
bool OpenDevice() {
  if (Device != 0) return true;
  if (DeviceUnavailable) return false;
  DeviceUnavailable = true;
  if (!SDL_WasInit(SDL_INIT_AUDIO) && SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) return false;
  if (IdleEvent == 0) {
    IdleEvent = SDL_RegisterEvents(1);
    if (IdleEvent == static_cast<Uint32>(-1)) IdleEvent = 0;
  }
  SDL_AudioSpec want{};
  want.freq = DeviceRate;
  want.format = AUDIO_S16SYS;
  want.channels = DeviceChannels;
  want.samples = 1024;
  want.callback = Mix;
  SDL_AudioSpec have{};
  Device = SDL_OpenAudioDevice(nullptr, 0, &want, &have, 0);
  DeviceUnavailable = Device == 0;
  SilentBuffers = 0;
  return Device != 0;
}

void StartVoice(std::vector<std::int16_t> samples, bool looped) {
  SDL_LockAudioDevice(Device);
  Voice.Samples = std::move(samples);
  Voice.Position = 0;
  Voice.Looped = looped;
  Voice.Playing = !Voice.Samples.empty();
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

// SDL reserves what a wave's chunks declare before it reads them: every chunk, the RIFF one
// included, must lie inside the file, and "fmt " and "data" must be there.
bool ChunksFitTheFile(const std::uint8_t* data, std::size_t size) {
  if (size < 12 || std::memcmp(data, "RIFF", 4) != 0 || std::memcmp(data + 8, "WAVE", 4) != 0) {
    return false;
  }
  const std::uint64_t end = 8 + static_cast<std::uint64_t>(Le32(data + 4));
  if (end > size) return false;
  bool format = false, samples = false;
  std::uint64_t at = 12;
  while (at + 8 <= end) {
    const std::uint64_t length = Le32(data + at + 4);
    if (at + 8 + length > end) return false;
    if (std::memcmp(data + at, "fmt ", 4) == 0) format = true;
    if (std::memcmp(data + at, "data", 4) == 0) samples = true;
    at += 8 + length + (length & 1);  // chunks start on even offsets
  }
  return format && samples;
}

}  // namespace

std::vector<std::int16_t> DecodeWave(const std::uint8_t* data, std::size_t size) {
  std::vector<std::int16_t> samples;
  if (!data || size > MaxWaveFileBytes || !ChunksFitTheFile(data, size)) return samples;
  SDL_AudioSpec waveFormat{};
  Uint8* loaded = nullptr;
  Uint32 length = 0;
  // SDL_LoadWAV_RW closes the stream itself (freesrc = 1), so it is handed over raw.
  SDL_RWops* rw = SDL_RWFromConstMem(data, static_cast<int>(size));
  if (!rw || !SDL_LoadWAV_RW(rw, 1, &waveFormat, &loaded, &length)) return samples;
  const TWaveBufferPtr buffer(loaded);
  SDL_AudioCVT cvt;
  if (SDL_BuildAudioCVT(&cvt, waveFormat.format, waveFormat.channels, waveFormat.freq,
                        AUDIO_S16SYS, DeviceChannels, DeviceRate) >= 0) {
    const std::uint64_t work = static_cast<std::uint64_t>(length) * std::max(cvt.len_mult, 1);
    if (work <= MaxWaveWorkBytes) {
      std::vector<Uint8> buffered(work);
      std::memcpy(buffered.data(), buffer.get(), length);
      cvt.buf = buffered.data();
      cvt.len = static_cast<int>(length);
      if (cvt.needed == 0 || SDL_ConvertAudio(&cvt) == 0) {
        const int bytes = cvt.needed ? cvt.len_cvt : cvt.len;
        samples.resize(static_cast<std::size_t>(bytes) / sizeof(std::int16_t));
        std::memcpy(samples.data(), buffered.data(), samples.size() * sizeof(std::int16_t));
      }
    }
  }
  return samples;
}

void PlayWave(const std::uint8_t* data, std::size_t size, unsigned flags) {
  if (!OpenDevice()) return;
  std::vector<std::int16_t> samples = DecodeWave(data, size);
  if (samples.empty()) return;
  const bool looped = (flags & pfLoop) != 0;
  StartVoice(std::move(samples), looped);
  if (!(flags & pfAsync) && !looped) {
    while (VoicePlaying() && !QuitRequested()) SDL_Delay(2);
  }
}

void StopWave() {
  if (Device == 0) return;
  SDL_LockAudioDevice(Device);
  Voice.Playing = false;
  Voice.Samples.clear();
  Voice.Position = 0;
  SDL_UnlockAudioDevice(Device);
}

void PlaySamples(const std::int16_t* samples, std::size_t frames) {
  if (!OpenDevice()) return;
  StartVoice(std::vector<std::int16_t>(samples, samples + frames * DeviceChannels), false);
}

void Beep() {
  // 150 ms of 880 Hz with a short fade at both ends, so it does not click.
  constexpr int Rate = 44100;
  constexpr int Frames = Rate * 150 / 1000;
  static std::vector<std::int16_t> tone = [] {
    std::vector<std::int16_t> samples(Frames * 2);
    for (int i = 0; i < Frames; ++i) {
      double fade = std::min({1.0, i / 441.0, (Frames - i) / 441.0});
      auto v = static_cast<std::int16_t>(8000 * fade * std::sin(2 * M_PI * 880.0 * i / Rate));
      samples[2 * i] = samples[2 * i + 1] = v;
    }
    return samples;
  }();
  PlaySamples(tone.data(), Frames);
}

std::uint32_t AudioIdleEventType() { return IdleEvent; }

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
