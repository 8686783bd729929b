#include "GameEngine/Levels/Deckhand.h"

#include <array>
#include <cstddef>
#include <cstdint>

namespace kravelon {

namespace {

using TCellList = std::array<TPoint, BoardSize * BoardSize * 4>;

// The open cells that would carry a followed ship on: beyond either end of a line of hits, or
// any side of a single hit.
std::size_t FollowCells(const TSeaView& sea, const TSeaGrid& open, const TSeaGrid& left,
                        TCellList& cells) {
  std::size_t count = 0;
  for (int r = 0; r < BoardSize; ++r) {
    for (int c = 0; c < BoardSize; ++c) {
      if (sea.At(c, r) != smHit || left[r][c]) continue;
      const bool across = sea.At(c - 1, r) == smHit || sea.At(c + 1, r) == smHit;
      const bool down = sea.At(c, r - 1) == smHit || sea.At(c, r + 1) == smHit;
      auto offer = [&](int dc, int dr) {
        const int nc = c + dc, nr = r + dr;
        if (TSeaView::OnBoard(nc, nr) && open[nr][nc]) cells[count++] = TPoint{nc, nr};
      };
      if (!down) {
        offer(-1, 0);
        offer(1, 0);
      }
      if (!across) {
        offer(0, -1);
        offer(0, 1);
      }
    }
  }
  return count;
}

}  // namespace

void TDeckhand::NewGame(const TRules& rules) {
  Touching = rules.Touching;
  Following = false;
  for (auto& row : Left) row.fill(false);
}

std::optional<TPoint> TDeckhand::TurnStep(const TSeaView& sea) {
  const TSeaGrid open = OpenCells(sea, {.SunkRings = Traits.KnowsRings && !Touching,
                                        .SunkEnds = Traits.KnowsEnds && !Touching});
  TCellList cells{};
  std::size_t count = FollowCells(sea, open, Left, cells);
  Following = count != 0;
  if (!Following) {
    for (int r = 0; r < BoardSize; ++r) {
      for (int c = 0; c < BoardSize; ++c) {
        if (open[r][c]) cells[count++] = TPoint{c, r};
      }
    }
  }
  if (count == 0) return std::nullopt;  // nothing left to fire at: the game is over
  return cells[Random.Next() % count];
}

void TDeckhand::ShotAnswered(TPoint cell, TShotResult result, const TSeaView&) {
  // A ship found by chance is followed, or left, from its first hit on.
  if (result == srHit && !Following &&
      Random.Next() % 100 >= static_cast<std::uint32_t>(Traits.FollowPercent)) {
    Left[static_cast<std::size_t>(cell.Y)][static_cast<std::size_t>(cell.X)] = true;
  }
}

}  // namespace kravelon
