#pragma once
// The admiral: from its first shot it fires at the cell covered by the most placements of the
// ships still afloat, with every deduction the rules allow (a hit's diagonal neighbours and a
// sunk ship's ring are water; while a ship is hit and afloat, a placement must cover all its
// hits). It hides its own fleet where such a search finds it late.
#include <array>
#include <cstdint>
#include <optional>

#include "Common/Types.h"
#include "GameEngine/Levels/Deductions.h"
#include "GameEngine/Opponent.h"
#include "GameEngine/RandomSource.h"

namespace kravelon {

class TAdmiral final : public TOpponent {
 public:
  explicit TAdmiral(TRandomSource& random) : Random(random) {}

  void NewGame(const TRules& rules) override { Touching = rules.Touching; }
  std::optional<TFleetPlan> PlanFleet() override { return ArrangeFleet(Random, Touching); }
  std::optional<TPoint> TurnStep(const TSeaView& sea) override;
  void ShotAnswered(TPoint, TShotResult, const TSeaView&) override {}

  // The placement counts over the cells worth a shot, [row][column].
  void BuildHeat(const TSeaView& sea);
  const auto& Heat() const { return HeatMap; }

  // The admiral's way of hiding a fleet, its ships side by side where `touching` allows; the
  // simulator sets it against the other levels too.
  static TFleetPlan ArrangeFleet(TRandomSource& random, bool touching);

 private:
  TRandomSource& Random;
  bool Touching = false;
  std::array<std::array<std::int32_t, BoardSize>, BoardSize> HeatMap{};
};

// A legal fleet drawn at random: each ship, largest first, at a random cell and way where it fits
// (clear of the others all round, or only off their cells where `touching` allows).
TFleetPlan RandomFleet(TRandomSource& random, bool touching);

}  // namespace kravelon
