#pragma once
// The window's pixel layout, shared by the window and the painter: where the boards, their cells,
// the console panel and the menu button stand.
#include <optional>

#include "Common/Types.h"
#include "GameEngine/Board.h"

namespace kravelon {

inline constexpr int CellSize = 32;
inline constexpr int WindowWidth = 696;
inline constexpr int WindowHeight = 488;

inline constexpr TRect ScreenRect{0, 0, WindowWidth, WindowHeight};
inline constexpr TRect UserBoardRect{4, 36, 324, 356};
inline constexpr TRect ComputerBoardRect{372, 36, 692, 356};
inline constexpr TPoint ConsolePanelPos{4, 356};
inline constexpr TRect MenuButtonRect{4, 4, 68, 36};
inline constexpr TRect GameMenuButtonRect{628, 4, 692, 36};
// Where the status line's text starts on the console panel, from the panel's top left.
inline constexpr TPoint StatusTextAt{8, 5};

// Pixels and cells meet here and nowhere else. Board 0 is the user's (left), 1 the computer's.
inline constexpr const TRect& BoardRect(int board) {
  return board == 0 ? UserBoardRect : ComputerBoardRect;
}

// The window pixels of a cell (column X, row Y) of a board.
inline constexpr TRect CellRect(int board, TPoint cell) {
  const TRect& b = BoardRect(board);
  const int left = b.Left + CellSize * cell.X, top = b.Top + CellSize * cell.Y;
  return {left, top, left + CellSize, top + CellSize};
}

// The cell a shot or a placement at a window point aims at: the point must lie strictly inside
// the board, so its left and top pixel lines aim at nothing.
inline std::optional<TPoint> CellAt(int board, TPoint p) {
  const TRect& b = BoardRect(board);
  if (!b.StrictlyContains(p.X, p.Y)) return std::nullopt;
  return TPoint{(p.X - b.Left) / CellSize, (p.Y - b.Top) / CellSize};
}

// The cell the status line names at a window point: unlike a shot, the board's left and top
// pixel lines are inside.
inline std::optional<TPoint> SectorAt(int board, TPoint p) {
  const TRect& b = BoardRect(board);
  if (!b.Contains(p)) return std::nullopt;
  return TPoint{(p.X - b.Left) / CellSize, (p.Y - b.Top) / CellSize};
}

}  // namespace kravelon
