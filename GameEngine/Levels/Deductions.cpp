#include "GameEngine/Levels/Deductions.h"

namespace kravelon {

TSeaGrid OpenCells(const TSeaView& sea, TDeductions deductions) {
  TSeaGrid open{};
  for (int r = 0; r < BoardSize; ++r) {
    for (int c = 0; c < BoardSize; ++c) open[r][c] = sea.Unknown(c, r);
  }
  auto close = [&](int c, int r) {
    if (TSeaView::OnBoard(c, r)) open[r][c] = false;
  };
  for (int r = 0; r < BoardSize; ++r) {
    for (int c = 0; c < BoardSize; ++c) {
      const TSeaMark mark = sea.At(c, r);
      if (mark == smSunk && deductions.SunkRings) {
        for (int dr = -1; dr <= 1; ++dr) {
          for (int dc = -1; dc <= 1; ++dc) close(c + dc, r + dr);
        }
      } else if (mark == smSunk && deductions.SunkEnds) {
        // Past an end: in line with the ship, or any side of a ship of one cell.
        const bool across = sea.At(c - 1, r) == smSunk || sea.At(c + 1, r) == smSunk;
        const bool down = sea.At(c, r - 1) == smSunk || sea.At(c, r + 1) == smSunk;
        if (!down) {
          close(c - 1, r);
          close(c + 1, r);
        }
        if (!across) {
          close(c, r - 1);
          close(c, r + 1);
        }
      }
      if (mark >= smHit && deductions.HitDiagonals) {
        close(c - 1, r - 1);
        close(c + 1, r - 1);
        close(c - 1, r + 1);
        close(c + 1, r + 1);
      }
    }
  }
  return open;
}

TAfloat ShipsAfloat(const TSeaView& sea) {
  TAfloat afloat;
  std::array<int, 5> sunk{};  // by size
  for (const std::int32_t size : sea.Sunk()) {
    if (size >= 1 && size <= 4) ++sunk[static_cast<std::size_t>(size)];
  }
  for (const std::int32_t size : ShipSizes) {
    if (sunk[static_cast<std::size_t>(size)] > 0) {
      --sunk[static_cast<std::size_t>(size)];
      continue;
    }
    afloat.Sizes[static_cast<std::size_t>(afloat.Count++)] = size;
  }
  return afloat;
}

}  // namespace kravelon
