#pragma once
// The cabin boy and the sailor: they fire at random among the cells they do not know to be
// water, and when a shot at random hits a ship they follow it to the end, though only some of
// the time; a ship they leave is found again by chance. The cabin boy knows that a sunk ship goes
// no further than its ends; the sailor follows more often, and knows the water all round it.
#include <optional>

#include "Common/Types.h"
#include "GameEngine/Levels/Deductions.h"
#include "GameEngine/Opponent.h"
#include "GameEngine/RandomSource.h"

namespace kravelon {

class TDeckhand final : public TOpponent {
 public:
  struct TTraits {
    int FollowPercent;  // the chance that it follows a ship a shot at random has hit
    bool KnowsEnds;     // the cells just past a sunk ship's ends are water
    bool KnowsRings;    // the cells all round a sunk ship are water
  };
  // Tuned with kravelon-sim (20 000 games, seed 7) to a mean of 80-88 shots and 69-74 shots.
  static constexpr TTraits CabinBoy{15, true, false};
  static constexpr TTraits Sailor{20, true, true};

  TDeckhand(TRandomSource& random, TTraits traits) : Random(random), Traits(traits) {}

  void NewGame(const TRules& rules) override;
  std::optional<TFleetPlan> PlanFleet() override { return std::nullopt; }
  std::optional<TPoint> TurnStep(const TSeaView& sea) override;
  void ShotAnswered(TPoint cell, TShotResult result, const TSeaView& sea) override;

 private:
  TRandomSource& Random;
  TTraits Traits;
  bool Touching = false;
  bool Following = false;  // the shot being answered carried a ship on
  TSeaGrid Left{};         // hits it chose not to follow, [row][column]
};

}  // namespace kravelon
