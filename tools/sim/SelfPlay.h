#pragma once
// Headless self-play: the computer, at a chosen level, shoots at the user's fleet with the
// engine's own code, the user never shooting. Shared by the simulator and the benchmarks.
#include <cstdint>

#include "GameEngine/GameEngine.h"
#include "GameEngine/Level.h"
#include "GameEngine/RandomSource.h"
#include "GameEngine/Rules.h"
#include "tools/sim/IdleRun.h"

namespace kravelon {

// How the user's fleet is arranged: by the automatic arrangement (the "arrange" menu item), or
// the way the admiral hides its own.
enum class TFleets { Random, Admiral };

struct TSelfPlayResult {
  int Shots = 0;  // the computer's shots until the user's fleet was sunk
  int Hits = 0;
  int Turns = 0;  // the computer's turns, the last one included
  int ArrangementRestarts = 0;  // arrangements given up after too many steps
  bool Finished = false;        // false when the step limit cut the game short
};

class TSelfPlay {
 public:
  // Far beyond any real game: a sequence that runs this long is taken as stuck.
  static constexpr long ArrangeStepLimit = 1'000'000;
  static constexpr long BattleStepLimit = 1'000'000;

  explicit TSelfPlay(std::uint64_t seed, TLevel level = DefaultLevel,
                     TFleets fleets = TFleets::Random, const TRules& rules = {});
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
  TFleets Fleets;
  TRules Rules;
};

}  // namespace kravelon
