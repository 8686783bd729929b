#pragma once
// A board's fleet as the players see it: each ship, its cells and whether it sank; and the fleet
// by length, as the status line's panel and the voice tell it.
#include <array>
#include <vector>

#include "Common/Types.h"
#include "GameEngine/GameEngine.h"

namespace kravelon {

struct TFleetShip {
  int Number = 0;             // the rules' ordinal (TCell::ShipNo)
  std::vector<TPoint> Cells;  // from its first (leftmost or topmost) cell on
  int Hits = 0;
  int Length() const { return static_cast<int>(Cells.size()); }
  bool Sunk() const { return !Cells.empty() && Hits == Length(); }
};

// The ships standing on `board` (0 the user's, 1 the computer's), by their ordinal.
std::vector<TFleetShip> FleetOf(const TGameEngine& engine, int board);
// The ship standing on a cell of `board`; none on water.
const TFleetShip* ShipAt(const std::vector<TFleetShip>& fleet, TPoint cell);

// How many ships of one length a fleet has and how many of them sank.
struct TFleetGroup {
  int Length = 0;
  int Ships = 0;
  int Sunk = 0;
  int Afloat() const { return Ships - Sunk; }
  friend bool operator==(const TFleetGroup&, const TFleetGroup&) = default;
};
inline constexpr int FleetGroupCount = 4;
using TFleetGroups = std::array<TFleetGroup, FleetGroupCount>;

// The fleet of `board` in four groups, longest first (4, 3, 2, 1). The numbers of ships come from
// the rules' fleet, so a board still empty (the opponent placing) shows the whole fleet afloat;
// the sunk ones are counted on the board.
TFleetGroups FleetGroupsOf(const TGameEngine& engine, int board);

}  // namespace kravelon
