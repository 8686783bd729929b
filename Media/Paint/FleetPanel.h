#pragma once
// The opponent's fleet at the right of the status line: a label, then four groups of small ship
// pictures (the ships of four, three, two and one cells), the sunk ones hollow and struck
// through. Where the strip is narrow the pictures shrink; the texts keep their size.
#include <vector>

#include "GameEngine/FleetView.h"

namespace kravelon {

// The sizes a ship's cell is drawn at, largest first.
inline constexpr int FleetCellSizes[] = {12, 10, 9, 8, 7, 6, 5, 4};
inline constexpr int FleetLabelGap = 6;  // between the label and the first ship
// The smallest cell drawn beside the label: where even that does not fit, the label goes first.
inline constexpr int FleetLabelledCell = 6;

// Where the pieces of the panel go, from its left edge.
struct TFleetPanelLayout {
  int Cell = 0;        // a ship's cell, in pixels; 0 when not even the smallest fits
  bool Label = false;  // whether the label is drawn
  int Width = 0;       // of the whole panel, label included
  struct TShip {
    int Left = 0;
    int Length = 0;
    bool Sunk = false;
    friend bool operator==(const TShip&, const TShip&) = default;
  };
  std::vector<TShip> Ships;  // the groups in order, each one's ships afloat first
};

// Lays the panel out in `available` pixels with a label `labelWidth` wide: the largest cells that
// fit with the label (down to FleetLabelledCell), else the largest without it, else nothing.
TFleetPanelLayout LayOutFleetPanel(const TFleetGroups& groups, int available, int labelWidth);

}  // namespace kravelon
