#pragma once
// What a level may conclude from its shots' results alone: cells that hold no ship though never
// fired at. Both conclusions hold only while ships may not touch.
#include <array>
#include <cstdint>

#include "GameEngine/Board.h"
#include "GameEngine/Fleet.h"
#include "GameEngine/SeaView.h"

namespace kravelon {

// One flag a cell, [row][column].
using TSeaGrid = std::array<std::array<bool, BoardSize>, BoardSize>;

struct TDeductions {
  bool HitDiagonals = false;  // a found cell's diagonal neighbours are water
  bool SunkRings = false;     // the cells all round a sunk ship are water
  bool SunkEnds = false;      // the cells just past a sunk ship's ends are water
};

// The cells worth a shot: never fired at, and not water by the deductions asked for.
TSeaGrid OpenCells(const TSeaView& sea, TDeductions deductions);

// The sizes of the ships not yet sunk, largest first, and how many there are.
struct TAfloat {
  std::array<std::int32_t, FleetShips> Sizes{};
  int Count = 0;
};
TAfloat ShipsAfloat(const TSeaView& sea);

}  // namespace kravelon
