#include "Media/Paint/FleetPanel.h"

#include <algorithm>

namespace kravelon {

namespace {

int ShipGap(int cell) { return std::max(2, cell / 3); }
int GroupGap(int cell) { return std::max(6, cell); }

// The ships in order, each at its left edge from 0; the width they take in all.
int PlaceShips(const TFleetGroups& groups, int cell, std::vector<TFleetPanelLayout::TShip>& ships) {
  ships.clear();
  int x = 0;
  bool firstGroup = true;
  for (const TFleetGroup& group : groups) {
    if (group.Ships == 0) continue;
    if (!firstGroup) x += GroupGap(cell) - ShipGap(cell);
    firstGroup = false;
    for (int i = 0; i < group.Ships; ++i) {
      ships.push_back({x, group.Length, i >= group.Afloat()});
      x += group.Length * cell + ShipGap(cell);
    }
  }
  return ships.empty() ? 0 : x - ShipGap(cell);
}

}  // namespace

TFleetPanelLayout LayOutFleetPanel(const TFleetGroups& groups, int available, int labelWidth) {
  TFleetPanelLayout layout;
  for (const bool label : {true, false}) {
    const int before = label ? labelWidth + FleetLabelGap : 0;
    for (const int cell : FleetCellSizes) {
      if (label && cell < FleetLabelledCell) break;
      const int width = before + PlaceShips(groups, cell, layout.Ships);
      if (width > available) continue;
      layout.Cell = cell;
      layout.Label = label;
      layout.Width = width;
      for (TFleetPanelLayout::TShip& ship : layout.Ships) ship.Left += before;
      return layout;
    }
  }
  layout.Ships.clear();
  return layout;
}

}  // namespace kravelon
