#include "GameEngine/Fleet.h"

#include <algorithm>
#include <array>
#include <functional>

#include "GameEngine/Board.h"

namespace kravelon {

bool TShip::Covers(TPoint cell) const {
  if (Horizontal) return cell.Y == Row && cell.X >= Column && cell.X < Column + Length;
  return cell.X == Column && cell.Y >= Row && cell.Y < Row + Length;
}

TFleetFault CheckFleet(const std::vector<TShip>& fleet, const TRules& rules) {
  if (fleet.size() != FleetShips) return TFleetFault::Ships;
  std::array<std::int32_t, FleetShips> lengths{};
  for (std::size_t i = 0; i < fleet.size(); ++i) lengths[i] = fleet[i].Length;
  std::sort(lengths.begin(), lengths.end(), std::greater<>());
  if (lengths != ShipSizes) return TFleetFault::Ships;

  const auto onBoard = [](TPoint p) {
    return p.X >= 0 && p.X < BoardSize && p.Y >= 0 && p.Y < BoardSize;
  };
  for (const TShip& ship : fleet) {
    if (!onBoard(ship.Cell(0)) || !onBoard(ship.Cell(ship.Length - 1)))
      return TFleetFault::OffBoard;
  }
  // Which ship holds each cell (0 for water, else its index + 1).
  std::array<std::array<int, BoardSize>, BoardSize> owner{};
  for (std::size_t i = 0; i < fleet.size(); ++i) {
    for (int k = 0; k < fleet[i].Length; ++k) {
      const TPoint c = fleet[i].Cell(k);
      if (owner[c.X][c.Y] != 0) return TFleetFault::Overlap;
      owner[c.X][c.Y] = static_cast<int>(i) + 1;
    }
  }
  if (rules.Touching) return TFleetFault::None;
  for (int x = 0; x < BoardSize; ++x) {
    for (int y = 0; y < BoardSize; ++y) {
      if (owner[x][y] == 0) continue;
      for (int dx = -1; dx <= 1; ++dx) {
        for (int dy = -1; dy <= 1; ++dy) {
          const TPoint n{x + dx, y + dy};
          if (onBoard(n) && owner[n.X][n.Y] != 0 && owner[n.X][n.Y] != owner[x][y]) {
            return TFleetFault::Touching;
          }
        }
      }
    }
  }
  return TFleetFault::None;
}

}  // namespace kravelon
