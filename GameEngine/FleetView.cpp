#include "GameEngine/FleetView.h"

#include <algorithm>
#include <map>

namespace kravelon {

std::vector<TFleetShip> FleetOf(const TGameEngine& engine, int board) {
  std::map<int, TFleetShip> ships;
  for (int column = 0; column < BoardSize; ++column) {
    for (int row = 0; row < BoardSize; ++row) {
      const TCell c = engine.ReadCell(column, row, board);
      // A remote player's hit stands for no ship until that ship sinks.
      if (c.Empty || c.ShipNo == UnknownShip) continue;
      TFleetShip& ship = ships[c.ShipNo];
      ship.Number = c.ShipNo;
      ship.Cells.push_back({column, row});
      ship.Hits += c.Fired;
    }
  }
  std::vector<TFleetShip> fleet;
  fleet.reserve(ships.size());
  // Read column by column, a ship's cells come from its first (leftmost or topmost) on.
  for (auto& [number, ship] : ships) fleet.push_back(std::move(ship));
  return fleet;
}

const TFleetShip* ShipAt(const std::vector<TFleetShip>& fleet, TPoint cell) {
  for (const TFleetShip& ship : fleet) {
    if (std::find(ship.Cells.begin(), ship.Cells.end(), cell) != ship.Cells.end()) return &ship;
  }
  return nullptr;
}

TFleetGroups FleetGroupsOf(const TGameEngine& engine, int board) {
  TFleetGroups groups;
  for (int i = 0; i < FleetGroupCount; ++i)
    groups[static_cast<std::size_t>(i)].Length = FleetGroupCount - i;
  auto group = [&](int length) -> TFleetGroup* {
    if (length < 1 || length > FleetGroupCount) return nullptr;
    return &groups[static_cast<std::size_t>(FleetGroupCount - length)];
  };
  for (const int length : TGameEngine::ShipSizes) {
    if (TFleetGroup* g = group(length)) ++g->Ships;
  }
  for (const TFleetShip& ship : FleetOf(engine, board)) {
    TFleetGroup* g = group(ship.Length());
    if (g && ship.Sunk()) g->Sunk = std::min(g->Sunk + 1, g->Ships);
  }
  return groups;
}

}  // namespace kravelon
