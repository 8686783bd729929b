#include "Media/Sound/Sound.h"

#include "Common/Text.h"
#include "Console/Consol.h"
#include "Platform/ProgramPath.h"
#include "Audio/Audio.h"
#include "Platform/Files.h"

namespace kravelon {

// A file that is missing, a folder, unreadable or far longer than any of the game's sounds is
// silent, with no line in the log.
TWave::TWave(const std::string& relativePath, TConsol& consol) {
  const TFileBytes file = ReadLimited(ProgramPath(relativePath), MaxWaveFileBytes);
  if (!file.Read()) return;
  Decoded = TDecodedWave(file.Data(), file.Size());
  Read = true;
  consol.AddLine("Sound: " + std::string(Tr("Загружен звуковой файл ")) + relativePath);
}

TWave::~TWave() { StopWave(); }

void TWave::Start() {
  unsigned flags = WaitForEnd ? pfSync : pfAsync;
  if (Looped) flags |= pfLoop;
  PlayWave(Decoded, flags);
}

TSound::~TSound() {
  Stop();
  Waves.Clear();
}

void TSound::LoadSounds() {
  AddWave("SND_SHOT", std::make_unique<TWave>("Sounds/Shot.wav", Consol));
  AddWave("SND_SETUP_SHIP", std::make_unique<TWave>("Sounds/Setup.wav", Consol));
  AddWave("SND_WIN", std::make_unique<TWave>("Sounds/win.wav", Consol));
  FindWave("SND_SETUP_SHIP")->WaitForEnd = true;
  FindWave("SND_WIN")->Looped = true;
}

void TSound::AddWave(std::string_view name, std::unique_ptr<TWave> wave) {
  Waves.Add(std::string(name), std::move(wave));
}

TWave* TSound::FindWave(std::string_view name) const {
  return Waves.Find(name);
}

void TSound::Play(std::string_view name) {
  if (SoundOn && !SoundOn()) return;
  if (TWave* wave = FindWave(name)) wave->Start();
}

void TSound::Stop() { StopWave(); }

}  // namespace kravelon
