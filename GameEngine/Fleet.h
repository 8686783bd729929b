#pragma once
// The fleet each side hides: the rules' own, shared by the engine and the computer's levels; a
// fleet as a list of ships, and whether it is legal (the ten ships, on the board, never
// overlapping, touching only where the house rules allow). Placement and the network game's
// checks both ask here.
#include <array>
#include <cstdint>
#include <vector>

#include "Common/Types.h"
#include "GameEngine/Rules.h"

namespace kravelon {

inline constexpr int FleetShips = 10;
inline constexpr int FleetSegments = 20;
// Placement order, largest first.
inline constexpr std::array<std::int32_t, FleetShips> ShipSizes{4, 3, 3, 2, 2, 2, 1, 1, 1, 1};

struct TShip {
  int Column = 0;  // the bow: the leftmost cell of a horizontal ship, the topmost of a vertical one
  int Row = 0;
  bool Horizontal = true;
  int Length = 1;
  // The ship's cell `index` (0 is the bow).
  TPoint Cell(int index) const {
    return Horizontal ? TPoint{Column + index, Row} : TPoint{Column, Row + index};
  }
  bool Covers(TPoint cell) const;
  friend bool operator==(const TShip&, const TShip&) = default;
};

// What is wrong with a fleet, the first fault found in this order.
enum class TFleetFault {
  None,
  Ships,     // not the ten ships 4, 3, 3, 2, 2, 2, 1, 1, 1, 1
  OffBoard,  // a ship runs off the board
  Overlap,   // two ships share a cell
  Touching,  // two ships touch at a side or a corner, and the rules forbid it
};

TFleetFault CheckFleet(const std::vector<TShip>& fleet, const TRules& rules);

}  // namespace kravelon
