#pragma once
// The sound bank: three wave files read and decoded at start-up and played by name from memory.
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "Media/Registry.h"
#include "Formats/Wave.h"

namespace kravelon {

class TConsol;

class TWave {
 public:
  // Reads the file beside the program; a file read whole is logged to `consol`.
  TWave(const std::string& relativePath, TConsol& consol);
  ~TWave();
  TWave(const TWave&) = delete;
  TWave& operator=(const TWave&) = delete;

  void Start();
  bool HasData() const { return Read; }

  bool Looped = false;
  bool WaitForEnd = false;

 private:
  TDecodedWave Decoded;  // decoded once, when read; silent when missing or no wave
  bool Read = false;     // the file was found and read whole
};

class TSound {
 public:
  explicit TSound(TConsol& consol) : Consol(consol) {}
  ~TSound();
  TSound(const TSound&) = delete;
  TSound& operator=(const TSound&) = delete;

  void LoadSounds();
  void AddWave(std::string_view name, std::unique_ptr<TWave> wave);
  TWave* FindWave(std::string_view name) const;
  void Play(std::string_view name);
  void Stop();

  // The "Звук" switch of the popup menu, read at every play request.
  std::function<bool()> SoundOn;

 private:
  TConsol& Consol;  // only LoadSounds writes to it
  TRegistry<TWave> Waves;
};

}  // namespace kravelon
