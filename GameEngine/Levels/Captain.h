#pragma once
// The captain: the game's own computer. It fires at random for its first shots, then at the cells
// covered by the most placements of the ships it believes afloat, and follows a hit along a line.
// It learns no more than a hit or a miss from each shot, and concludes for itself which ship sank;
// where ships may touch, a line of hits is no measure of a ship, so there it hears the sinking and
// goes back to any ship hit and afloat before it searches again.
// It runs as an idle step, one step a call, and carries its working state from turn to turn.
#include <array>
#include <cstdint>
#include <optional>

#include "Common/Types.h"
#include "GameEngine/Board.h"
#include "GameEngine/Fleet.h"
#include "GameEngine/Opponent.h"
#include "GameEngine/RandomSource.h"

namespace kravelon {

// Directions of the line following; 0 and 3, 1 and 2 are opposites.
enum TDirection : std::int32_t { dirUp = 0, dirLeft = 1, dirRight = 2, dirDown = 3 };

class TCaptain final : public TOpponent {
 public:
  explicit TCaptain(TRandomSource& random) : Random(random) {}

  void NewGame(const TRules& rules) override;
  std::optional<TFleetPlan> PlanFleet() override { return std::nullopt; }
  std::optional<TPoint> TurnStep(const TSeaView& sea) override;
  void ShotAnswered(TPoint cell, TShotResult result, const TSeaView& sea) override;

  // The search: the placement counts of the ships believed afloat over the cells it takes as open.
  void BuildCandidates(const TSeaView& sea);
  // What the last search saw: the placement counts [row][column] and the cells it drew from.
  const auto& Heat() const { return HeatMap; }
  const auto& Candidates() const { return CandidateCells; }
  int CandidateCount() const { return CandidatesFound; }
  // The belief about the ships afloat: a size is struck (set to 0) when the captain concludes it
  // has sunk a ship of that size.
  const auto& FleetLeft() const { return Afloat; }
  void StrikeSize(int size);
  bool CanBeLonger(int hits) const;
  int Step() const { return Phase; }
  const auto& DirOrder() const { return DirectionOrder; }
  // Whether it counts the cell as holding no ship: fired at, off the board, a hit's diagonal
  // neighbour, or the end of a line as long as the largest ship afloat.
  bool Blocked(const TSeaView& sea, int column, int row) const;
  bool Excluded(int column, int row) const {
    return TSeaView::OnBoard(column, row) &&
           LineEnds[static_cast<std::size_t>(row)][static_cast<std::size_t>(column)];
  }
  void Exclude(int column, int row) {
    if (TSeaView::OnBoard(column, row))
      LineEnds[static_cast<std::size_t>(row)][static_cast<std::size_t>(column)] = true;
  }

 private:
  friend struct TCaptainProbe;

  void StepTarget();  // one step along the line being followed
  // Where ships touch: the first hit of a ship still afloat becomes the anchor of a new line.
  bool AnchorOnHit(const TSeaView& sea);
  void SkipHits(const TSeaView& sea);  // steps the target past hits in its way

  TRandomSource& Random;
  bool Touching = false;  // ships may touch: a hit's diagonal tells nothing

  std::int32_t Phase = 0;
  std::int32_t TargetColumn = 0;
  std::int32_t TargetRow = 0;
  std::int32_t DirIndex = 0;
  std::int32_t HitCount = 0;
  std::int32_t Reversals = 0;
  std::int32_t AnchorColumn = 0;
  std::int32_t AnchorRow = 0;

  std::array<std::int32_t, FleetShips> Afloat = ShipSizes;
  // Order in which directions are tried from a first hit; shuffled at every search, and kept
  // from game to game.
  std::array<std::int32_t, 4> DirectionOrder{dirUp, dirLeft, dirRight, dirDown};
  std::array<std::array<bool, BoardSize>, BoardSize> LineEnds{};  // [row][column]
  // Number of possible placements covering each cell, indexed [row][column].
  std::array<std::array<std::int32_t, BoardSize>, BoardSize> HeatMap{};
  // The cells a search draws from (X = column, Y = row), row-major.
  std::array<TPoint, BoardSize * BoardSize> CandidateCells{};
  std::int32_t CandidatesFound = 0;
  // BuildCandidates' placement counts per run length, for the belief in CoverFleet.
  std::array<std::array<std::int32_t, BoardSize>, BoardSize + 1> Cover{};
  std::array<std::int32_t, FleetShips> CoverFleet{};
  bool CoverValid = false;
};

}  // namespace kravelon
