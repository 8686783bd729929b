#include "GameEngine/Levels/Captain.h"

#include <algorithm>
#include <utility>

namespace kravelon {

namespace {

// The captain shoots at random over the whole board for this many shots of a game.
constexpr int OpeningShots = 20;

constexpr std::int32_t Opposite(std::int32_t direction) { return 3 - direction; }

constexpr std::pair<int, int> Diagonals[] = {{1, 1}, {-1, 1}, {1, -1}, {-1, -1}};

}  // namespace

void TCaptain::NewGame(const TRules& rules) {
  Touching = rules.Touching;
  Phase = 0;
  HitCount = 0;
  Afloat = ShipSizes;
  for (auto& row : LineEnds) row.fill(false);
}

void TCaptain::StrikeSize(int size) {
  const auto entry = std::find(Afloat.begin(), Afloat.end(), size);
  if (entry != Afloat.end()) *entry = 0;
}

bool TCaptain::CanBeLonger(int hits) const {
  return hits < *std::max_element(Afloat.begin(), Afloat.end());
}

bool TCaptain::Blocked(const TSeaView& sea, int column, int row) const {
  if (!TSeaView::OnBoard(column, row) || !sea.Unknown(column, row) || Excluded(column, row))
    return true;
  if (Touching) return false;
  // Ships never touch at a corner, so a hit's diagonal neighbours are water.
  for (const auto& [dc, dr] : Diagonals) {
    if (sea.Found(column + dc, row + dr)) return true;
  }
  return false;
}

void TCaptain::BuildCandidates(const TSeaView& sea) {
  // Each believed-afloat ship adds one to every cell of each of its placements that crosses no
  // blocked cell. Off the board everything is blocked, so the placements of a line are those
  // inside its runs of open cells, and they depend only on the run's length: Cover[n][i] sums
  // them over the fleet for cell i of a run of n cells. The belief changes a few times a game,
  // the board at every shot, so the table is kept until the belief changes.
  if (!CoverValid || CoverFleet != Afloat) {
    CoverFleet = Afloat;
    CoverValid = true;
    for (auto& run : Cover) run.fill(0);
    for (const std::int32_t length : Afloat) {
      if (length < 1 || length > BoardSize) continue;  // struck out, or can never fit
      for (int n = length; n <= BoardSize; ++n) {
        for (int i = 0; i < n; ++i) {
          // Placements in the run start at 0 .. n - length; those from i - length + 1 to i cover i.
          const int first = std::max(0, i - length + 1);
          const int last = std::min(i, n - length);
          Cover[static_cast<std::size_t>(n)][static_cast<std::size_t>(i)] += last - first + 1;
        }
      }
    }
  }

  std::array<std::array<bool, BoardSize>, BoardSize> open{};  // [row][column]
  const auto& marks = sea.Cells();
  for (std::size_t r = 0; r < BoardSize; ++r) {
    for (std::size_t c = 0; c < BoardSize; ++c)
      open[r][c] = marks[r][c] == smUnknown && !LineEnds[r][c];
  }
  if (!Touching) {
    for (int r = 0; r < BoardSize; ++r) {
      for (int c = 0; c < BoardSize; ++c) {
        if (marks[static_cast<std::size_t>(r)][static_cast<std::size_t>(c)] < smHit) continue;
        for (const auto& [dc, dr] : Diagonals) {
          if (TSeaView::OnBoard(c + dc, r + dr)) open[r + dr][c + dc] = false;
        }
      }
    }
  }

  for (auto& row : HeatMap) row.fill(0);
  auto addLine = [&](auto isOpen, auto heat) {
    int i = 0;
    while (i < BoardSize) {
      if (!isOpen(i)) {
        ++i;
        continue;
      }
      const int start = i;
      while (i < BoardSize && isOpen(i)) ++i;
      const auto& runCover = Cover[static_cast<std::size_t>(i - start)];
      for (int j = start; j < i; ++j) heat(j) += runCover[static_cast<std::size_t>(j - start)];
    }
  };
  for (int r = 0; r < BoardSize; ++r) {
    addLine([&](int c) { return open[r][c]; },
            [&](int c) -> std::int32_t& { return HeatMap[r][c]; });
  }
  for (int c = 0; c < BoardSize; ++c) {
    addLine([&](int r) { return open[r][c]; },
            [&](int r) -> std::int32_t& { return HeatMap[r][c]; });
  }

  // While the opening lasts every cell is a candidate, fired ones included: the shot step
  // rejects those and the search is simply repeated.
  const bool opening = sea.Shots() < OpeningShots;
  int best = 0;
  for (const auto& row : HeatMap) best = std::max(best, *std::max_element(row.begin(), row.end()));
  CandidatesFound = 0;
  for (int r = 0; r < BoardSize; ++r) {
    for (int c = 0; c < BoardSize; ++c) {
      if (opening || HeatMap[r][c] == best)
        CandidateCells[static_cast<std::size_t>(CandidatesFound++)] = TPoint{c, r};
    }
  }
}

void TCaptain::StepTarget() {
  if (DirIndex < 0 || DirIndex > 3) return;
  switch (DirectionOrder[static_cast<std::size_t>(DirIndex)]) {
    case dirUp:
      --TargetRow;
      break;
    case dirDown:
      ++TargetRow;
      break;
    case dirLeft:
      --TargetColumn;
      break;
    case dirRight:
      ++TargetColumn;
      break;
    default:
      break;
  }
}

std::optional<TPoint> TCaptain::TurnStep(const TSeaView& sea) {
  switch (Phase) {
    case 0: {  // new search; no shot in this step
      // The line just followed ended: its length is the size of the ship taken as sunk. Where
      // ships touch a line may run over two of them, so there the sinking told is struck instead.
      if (!Touching) StrikeSize(HitCount);
      Phase = 1;
      DirIndex = 0;
      HitCount = 0;
      Reversals = 0;
      if (Touching && AnchorOnHit(sea)) break;
      BuildCandidates(sea);
      const int k =
          CandidatesFound != 0
              ? static_cast<int>(Random.Next() % static_cast<std::uint32_t>(CandidatesFound))
              : 0;
      const TPoint chosen = CandidateCells[static_cast<std::size_t>(k)];
      TargetColumn = AnchorColumn = chosen.X;
      TargetRow = AnchorRow = chosen.Y;
      for (int i = 0; i < 100; ++i) {
        const auto a = static_cast<std::size_t>(Random.Next() % 4);
        const auto b = static_cast<std::size_t>(Random.Next() % 4);
        std::swap(DirectionOrder[a], DirectionOrder[b]);
      }
      break;
    }
    case 1: {  // shoot at the target
      // The line is as long as the largest ship believed afloat: the next cell is water. Where
      // ships touch, the next cell may be another ship's.
      if (!Touching && !CanBeLonger(HitCount)) Exclude(TargetColumn, TargetRow);
      SkipHits(sea);
      if (Blocked(sea, TargetColumn, TargetRow)) {
        Phase = HitCount > 1 ? 4 : 0;
        break;
      }
      return TPoint{TargetColumn, TargetRow};  // ShotAnswered goes on from there
    }
    case 3: {  // choose a direction from the anchor
      TargetColumn = AnchorColumn;
      TargetRow = AnchorRow;
      if (DirIndex > 3) {
        Phase = 0;
        break;
      }
      StepTarget();
      SkipHits(sea);
      if (Blocked(sea, TargetColumn, TargetRow)) {
        TargetColumn = AnchorColumn;
        TargetRow = AnchorRow;
        ++DirIndex;
      } else {
        Phase = 1;
      }
      break;
    }
    case 4: {  // reverse the direction
      if (Reversals == 1 || DirIndex < 0 || DirIndex > 3) {
        Phase = 0;
        break;
      }
      Reversals = 1;
      const std::int32_t before = DirectionOrder[static_cast<std::size_t>(DirIndex)];
      const std::int32_t opposite = Opposite(before);
      DirIndex = static_cast<std::int32_t>(
          std::find(DirectionOrder.begin(), DirectionOrder.end(), opposite) -
          DirectionOrder.begin());
      if (before == dirUp || before == dirDown) {
        TargetRow = AnchorRow;
      } else {
        TargetColumn = AnchorColumn;
      }
      StepTarget();
      Phase = 1;
      break;
    }
    default:
      break;
  }
  return std::nullopt;
}

bool TCaptain::AnchorOnHit(const TSeaView& sea) {
  for (int r = 0; r < BoardSize; ++r) {
    for (int c = 0; c < BoardSize; ++c) {
      if (sea.At(c, r) != smHit) continue;
      // The hit's ship is afloat: try the ways from it, as from a first hit.
      TargetColumn = AnchorColumn = c;
      TargetRow = AnchorRow = r;
      HitCount = 1;
      Phase = 3;
      return true;
    }
  }
  return false;
}

void TCaptain::SkipHits(const TSeaView& sea) {
  // Where ships touch, a hit of another ship may lie in the line: the line runs on past it.
  if (!Touching || DirIndex < 0 || DirIndex > 3) return;
  while (sea.At(TargetColumn, TargetRow) == smHit) StepTarget();
}

void TCaptain::ShotAnswered(TPoint, TShotResult result, const TSeaView& sea) {
  if (Touching && result == srSunk && !sea.Sunk().empty()) {
    // Where ships touch the line's length tells nothing: the sinking is heard, and the search
    // goes back to any ship hit and still afloat.
    StrikeSize(sea.Sunk().back());
    HitCount = 0;
    Phase = 0;
    return;
  }
  // A sunk ship sounds like any other hit to the captain: it tells the sinking by the line's end.
  if (result != srMiss) {
    ++HitCount;
    Phase = 3;
    if (HitCount > 1) {
      StepTarget();
      Phase = 1;
    }
  } else {
    // Past the first hit a miss ends the line on this side; the next turn finds the target
    // fired and reverses.
    if (HitCount == 0) Phase = 0;
    if (HitCount == 1) Phase = 3;
  }
}

}  // namespace kravelon
