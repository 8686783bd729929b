#pragma once
// Playing decoded waves, one sound at a time, like the platform's PlaySound.
#include <cstddef>
#include <cstdint>
#include <functional>

#include "Formats/Wave.h"

namespace kravelon {

enum TPlayFlags : unsigned {
  pfSync = 0,
  pfAsync = 1,
  pfLoop = 2,
};

// Starting a sound ends the one that is playing; a silent wave plays nothing and leaves the
// device closed. A synchronous call returns when the sound has ended.
void PlayWave(const TDecodedWave& wave, unsigned flags);
// Ends any sound that is playing, looped ones included.
void StopWave();
// Plays raw 16-bit stereo samples at 44.1 kHz (the beep). Asynchronous.
void PlaySamples(const std::int16_t* samples, std::size_t frames);
// The system beep: a short tone on the sound device (nothing when there is none).
void Beep();
// Closes the sound device (at shutdown).
void CloseAudio();
// The device closes itself between sounds, so that nothing runs while nothing plays: a little
// after a sound ends the notice is called on the sound device's thread; it hands
// CloseAudioWhenIdle to the game's thread (which leaves a device that plays again open) and
// answers whether it could.
using TAudioIdleNotice = std::function<bool()>;
void SetAudioIdleNotice(TAudioIdleNotice notice);
void CloseAudioWhenIdle();
// What ends a synchronous sound early (a quit asked for); none by default.
void SetAudioInterrupt(bool (*interrupted)());
bool AudioDeviceOpen();

}  // namespace kravelon
