#pragma once
// The game's three sounds, synthesised: mono samples in -1..1 at kSampleRate.
#include <vector>

namespace assetgen {

inline constexpr int kSampleRate = 22050;

std::vector<float> ShotSound();
std::vector<float> SetupSound();
// Its end runs straight into its start: the game loops it until the next game.
std::vector<float> WinTune();

}  // namespace assetgen
