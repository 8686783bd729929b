#pragma once
// Headless self-play: the computer shoots at a randomly arranged user fleet with the engine's
// own code, the user never shooting. Shared by the simulator and the benchmarks.
#include <cstdint>

#include "GameEngine/GameEngine.h"
#include "GameEngine/RandomSource.h"
#include "tools/sim/IdleRun.h"

namespace kravelon {

struct TSelfPlayResult {
  int Shots = 0;  // the computer's shots until the user's fleet was sunk
  int Hits = 0;
  int ArrangementRestarts = 0;  // arrangements given up after too many steps
  bool Finished = false;        // false when the step limit cut the game short
};

class TSelfPlay {
 public:
  // Far beyond any real game: a sequence that runs this long is taken as stuck.
  static constexpr long ArrangeStepLimit = 1'000'000;
  static constexpr long BattleStepLimit = 1'000'000;

  explicit TSelfPlay(std::uint64_t seed);
  TSelfPlay(const TSelfPlay&) = delete;
  TSelfPlay& operator=(const TSelfPlay&) = delete;

  TSelfPlayResult PlayOne();
  // The arrangement of the user's fleet alone; returns the restarts it needed.
  int ArrangeUserFleet();
  TGameEngine& Engine() { return GameEngine; }

 private:
  TIdleSlotHost Host;
  TPcg32 Random;
  TGameEngine GameEngine;
};

}  // namespace kravelon
