#pragma once
// The board's size and the sectors' names: the rules' own, shared by the log and the window.
#include <array>
#include <string>
#include <string_view>

namespace kravelon {

inline constexpr int BoardSize = 10;

// Column names of a sector: Cyrillic capitals, with no "Й" after "И".
inline constexpr std::array<std::string_view, BoardSize> ColumnLetters{
    "А", "Б", "В", "Г", "Д", "Е", "Ж", "З", "И", "К"};

// "А1" … "К10"; empty off the board.
inline std::string CellName(int column, int row) {
  if (column < 0 || column >= BoardSize || row < 0 || row >= BoardSize) return "";
  return std::string(ColumnLetters[static_cast<std::size_t>(column)]) + std::to_string(row + 1);
}

}  // namespace kravelon
