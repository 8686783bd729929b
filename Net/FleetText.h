#pragma once
// Cells and fleets as the network game writes them, whatever the players' languages: a cell is
// a Latin column letter and a row number ("A1" … "J10"); a ship is "<bow cell><h|v><length>";
// a fleet is its ten ships, longest first, then by bow cell row by row ("A1h4 C3v3 …").
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "Common/Types.h"
#include "GameEngine/Fleet.h"

namespace kravelon {

// X is the column (0 for "A"), Y the row (0 for "1").
std::string CellText(TPoint cell);
std::optional<TPoint> ParseCell(std::string_view text);

// The ships in the protocol's order: by length, longest first, then by bow, row by row.
std::vector<TShip> SortFleet(std::vector<TShip> fleet);

// The fleet's text in the protocol's order. A one-cell ship is written "h".
std::string FleetText(const std::vector<TShip>& fleet);

// The ships of a fleet's text, which must be written as FleetText writes a fleet: ten ships in
// order, single spaces. Nothing is said of the fleet's legality (see CheckFleet): an illegal
// fleet may be written correctly. Nothing for any fault of writing.
std::optional<std::vector<TShip>> ParseFleet(std::string_view text);

}  // namespace kravelon
