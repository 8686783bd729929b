#include "Formats/Wave.h"

#include <SDL_audio.h>
#include <SDL_rwops.h>

#include <algorithm>
#include <cstring>
#include <utility>

#include "Formats/Decoders.h"
#include "Formats/SdlPtr.h"

namespace kravelon {

namespace {

// The converted sound is held whole: up to a few minutes at the device's rate.
constexpr std::uint64_t MaxWaveWorkBytes = 64u << 20;

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

TSamples Decode(const std::uint8_t* data, std::size_t size) {
  TSamples samples;
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
                        AUDIO_S16SYS, SoundChannels, SoundRate) >= 0) {
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

}  // namespace

TDecodedWave::TDecodedWave(const std::uint8_t* data, std::size_t size) {
  TSamples samples = Decode(data, size);
  if (!samples.empty()) Data = std::make_shared<const TSamples>(std::move(samples));
}

}  // namespace kravelon
