#pragma once
// A wave file decoded once, when it is loaded, into the one format the sound device plays, so
// that playing it is only handing its samples over.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

namespace kravelon {

// The game's sounds last seconds; a wave file beyond this is not one of them.
inline constexpr std::size_t MaxWaveFileBytes = 16u << 20;

// Every sound is played as 16-bit stereo at 44.1 kHz, the format the device is opened in.
inline constexpr int SoundRate = 44100;
inline constexpr int SoundChannels = 2;
using TSamples = std::vector<std::int16_t>;  // interleaved, SoundChannels to a frame

class TDecodedWave {
 public:
  TDecodedWave() = default;  // silence
  // Decodes a wave-file image. One that cannot be played (no wave, a chunk running past the end
  // of the file, or longer than the device will hold) decodes to silence.
  TDecodedWave(const std::uint8_t* data, std::size_t size);

  bool Silent() const { return !Data; }
  // Shared with the voice that plays them: the wave may go while it still sounds.
  const std::shared_ptr<const TSamples>& Samples() const { return Data; }

 private:
  std::shared_ptr<const TSamples> Data;  // null for silence, never empty
};

}  // namespace kravelon
