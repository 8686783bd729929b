#include "Net/FleetText.h"

#include <algorithm>
#include <tuple>

#include "GameEngine/Board.h"

namespace kravelon {

namespace {

// The protocol's order of ships.
bool ComesBefore(const TShip& a, const TShip& b) {
  return std::make_tuple(-a.Length, a.Row, a.Column) < std::make_tuple(-b.Length, b.Row, b.Column);
}

std::string ShipText(const TShip& ship) {
  const bool across = ship.Horizontal || ship.Length == 1;
  return CellText({ship.Column, ship.Row}) + (across ? 'h' : 'v') + std::to_string(ship.Length);
}

std::optional<TShip> ParseShip(std::string_view text) {
  // The shortest is "A1h1", the longest "J10v4".
  if (text.size() < 4 || text.size() > 5) return std::nullopt;
  const char way = text[text.size() - 2], length = text.back();
  const std::optional<TPoint> bow = ParseCell(text.substr(0, text.size() - 2));
  if (!bow || (way != 'h' && way != 'v') || length < '1' || length > '9') return std::nullopt;
  // One cell lies no way in particular; it is written one way only.
  if (length == '1' && way == 'v') return std::nullopt;
  return TShip{bow->X, bow->Y, way == 'h', length - '0'};
}

}  // namespace

std::string CellText(TPoint cell) {
  if (cell.X < 0 || cell.X >= BoardSize || cell.Y < 0 || cell.Y >= BoardSize) return "";
  return static_cast<char>('A' + cell.X) + std::to_string(cell.Y + 1);
}

std::optional<TPoint> ParseCell(std::string_view text) {
  if (text.size() < 2 || text.size() > 3) return std::nullopt;
  const char column = text[0];
  if (column < 'A' || column >= 'A' + BoardSize) return std::nullopt;
  const std::string_view row = text.substr(1);
  int number = 0;
  if (row == "10") {
    number = 10;
  } else if (row.size() == 1 && row[0] >= '1' && row[0] <= '9') {
    number = row[0] - '0';
  } else {
    return std::nullopt;
  }
  return TPoint{column - 'A', number - 1};
}

std::vector<TShip> SortFleet(std::vector<TShip> fleet) {
  for (TShip& ship : fleet) {
    if (ship.Length == 1) ship.Horizontal = true;
  }
  std::stable_sort(fleet.begin(), fleet.end(), ComesBefore);
  return fleet;
}

std::string FleetText(const std::vector<TShip>& fleet) {
  std::string text;
  for (const TShip& ship : SortFleet(fleet)) {
    if (!text.empty()) text += ' ';
    text += ShipText(ship);
  }
  return text;
}

std::optional<std::vector<TShip>> ParseFleet(std::string_view text) {
  std::vector<TShip> fleet;
  for (std::size_t at = 0;;) {
    if (fleet.size() == FleetShips) return std::nullopt;  // an eleventh ship
    const std::size_t space = text.find(' ', at);
    const std::string_view field =
        text.substr(at, space == std::string_view::npos ? std::string_view::npos : space - at);
    const std::optional<TShip> ship = ParseShip(field);
    if (!ship || (!fleet.empty() && ComesBefore(*ship, fleet.back()))) return std::nullopt;
    fleet.push_back(*ship);
    if (space == std::string_view::npos) break;
    at = space + 1;
  }
  if (fleet.size() != FleetShips) return std::nullopt;
  return fleet;
}

}  // namespace kravelon
