#pragma once
// Screen geometry shared by the window, the painter and the computer's shots.
#include <array>
#include <string>
#include <string_view>

#include "Toolkit/Types.h"

inline constexpr int CellSize = 32;
inline constexpr int BoardCells = 10;
inline constexpr int WindowWidth = 696;
inline constexpr int WindowHeight = 488;

inline constexpr TRect ScreenRect{0, 0, WindowWidth, WindowHeight};
inline constexpr TRect UserBoardRect{4, 36, 324, 356};
inline constexpr TRect ComputerBoardRect{372, 36, 692, 356};
inline constexpr TPoint ConsolePanelPos{4, 356};
inline constexpr TRect SpeedButtonRect{4, 4, 68, 36};

// Column names of a sector: Cyrillic capitals, with no "Й" after "И".
inline constexpr std::array<std::string_view, BoardCells> ColumnLetters{
    "А", "Б", "В", "Г", "Д", "Е", "Ж", "З", "И", "К"};

// "А1" … "К10".
inline std::string CellName(int column, int row) {
  return std::string(ColumnLetters[column]) + std::to_string(row + 1);
}
