#pragma once
// Playing a wave-file image from memory, one sound at a time, like the platform's PlaySound.
#include <cstddef>
#include <cstdint>

namespace kravelon {

enum TPlayFlags : unsigned {
  pfSync = 0,
  pfAsync = 1,
  pfLoop = 2,
};

// The game's sounds last seconds; a wave file beyond this is not one of them.
inline constexpr std::size_t MaxWaveFileBytes = 16u << 20;

// Starting a sound ends the one that is playing. A block that cannot be played plays nothing,
// silently. A synchronous call returns when the sound has ended.
void PlayWave(const std::uint8_t* data, std::size_t size, unsigned flags);
// Ends any sound that is playing, looped ones included.
void StopWave();
// Plays raw 16-bit stereo samples at 44.1 kHz (the beep). Asynchronous.
void PlaySamples(const std::int16_t* samples, std::size_t frames);
// The system beep: a short tone on the sound device (nothing when there is none).
void Beep();
// Closes the sound device (at shutdown).
void CloseAudio();
// The device closes itself between sounds, so that nothing runs while nothing plays: a little
// after a sound ends an event of this type arrives (0 before any sound), and the main loop
// answers it with CloseAudioWhenIdle, which leaves a device that plays again open.
std::uint32_t AudioIdleEventType();
void CloseAudioWhenIdle();
bool AudioDeviceOpen();

}  // namespace kravelon
