// The computer's shooting at the user's board: a search by placement count, then following a
// hit along a line. It runs as an idle step, one step per call, and carries its working state
// from one turn to the next.
#include <algorithm>
#include <utility>

#include "GameEngine/GameEngine.h"

namespace kravelon {

namespace {

// The computer shoots at random over the whole board for this many shots of a game.
constexpr int OpeningShots = 20;

bool Blocked(const TCell& cell) { return cell.Fired != 0 || cell.Excluded != 0; }

constexpr std::int32_t Opposite(std::int32_t direction) { return 3 - direction; }

}  // namespace

void TGameEngine::BuildCandidates() {
  // Each believed-afloat ship adds one to every cell of each of its placements that crosses no
  // fired or excluded cell. Off the board everything is blocked, so the placements of a line
  // are those inside its runs of open cells, and they depend only on the run's length:
  // Cover[n][i] sums them over the fleet for cell i of a run of n cells. The belief changes a
  // few times a game, the board at every shot, so the table is kept until the belief changes.
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
  for (int r = 0; r < BoardSize; ++r) {
    for (int c = 0; c < BoardSize; ++c) open[r][c] = !Blocked(TargetView(c, r));
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
    addLine([&](int c) { return open[r][c]; }, [&](int c) -> std::int32_t& { return HeatMap[r][c]; });
  }
  for (int c = 0; c < BoardSize; ++c) {
    addLine([&](int r) { return open[r][c]; }, [&](int r) -> std::int32_t& { return HeatMap[r][c]; });
  }

  // While the opening lasts every cell is a candidate, fired ones included: the shot step
  // rejects those and the search is simply repeated.
  const bool opening = ComputerShots() < OpeningShots;
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

void TGameEngine::StepTarget() {
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

void TGameEngine::ComputerTurnStep(bool& done) {
  done = false;
  switch (Step) {
    case 0: {  // new search; no shot in this step
      // The line just followed ended: its length is the size of the ship taken as sunk.
      StrikeSize(HitCount);
      Step = 1;
      DirIndex = 0;
      HitCount = 0;
      Reversals = 0;
      BuildCandidates();
      const int k = CandidatesFound != 0
                        ? static_cast<int>(Draw() % static_cast<std::uint32_t>(CandidatesFound))
                        : 0;
      const TPoint chosen = CandidateCells[static_cast<std::size_t>(k)];
      TargetColumn = AnchorColumn = chosen.X;
      TargetRow = AnchorRow = chosen.Y;
      for (int i = 0; i < 100; ++i) {
        const auto a = static_cast<std::size_t>(Draw() % 4);
        const auto b = static_cast<std::size_t>(Draw() % 4);
        std::swap(DirectionOrder[a], DirectionOrder[b]);
      }
      break;
    }
    case 1: {  // shoot at the target
      if (!CanBeLonger(HitCount)) {
        // The line is as long as the largest ship believed afloat: the next cell is water.
        TCell cell = TargetView(TargetColumn, TargetRow);
        cell.Excluded = 1;
        WriteCell(TargetColumn, TargetRow, sdUser, cell);
      }
      if (Blocked(TargetView(TargetColumn, TargetRow))) {
        Step = HitCount > 1 ? 4 : 0;
        break;
      }
      // The host hears of the shot, and of the game's end, before the line moves on; nothing
      // it does reads the working state below.
      if (Shoot(TargetColumn, TargetRow)) {
        ++HitCount;
        Step = 3;
        if (HitCount > 1) {
          StepTarget();
          Step = 1;
        }
      } else {
        // Past the first hit a miss ends the line on this side; the next turn finds the
        // target fired and reverses.
        if (HitCount == 0) Step = 0;
        if (HitCount == 1) Step = 3;
      }
      break;
    }
    case 3: {  // choose a direction from the anchor
      TargetColumn = AnchorColumn;
      TargetRow = AnchorRow;
      if (DirIndex > 3) {
        Step = 0;
        break;
      }
      StepTarget();
      if (Blocked(TargetView(TargetColumn, TargetRow))) {
        TargetColumn = AnchorColumn;
        TargetRow = AnchorRow;
        ++DirIndex;
      } else {
        Step = 1;
      }
      break;
    }
    case 4: {  // reverse the direction
      if (Reversals == 1 || DirIndex < 0 || DirIndex > 3) {
        Step = 0;
        break;
      }
      Reversals = 1;
      const std::int32_t before = DirectionOrder[static_cast<std::size_t>(DirIndex)];
      const std::int32_t opposite = Opposite(before);
      DirIndex = static_cast<std::int32_t>(std::find(DirectionOrder.begin(), DirectionOrder.end(), opposite) -
                                           DirectionOrder.begin());
      if (before == dirUp || before == dirDown) {
        TargetRow = AnchorRow;
      } else {
        TargetColumn = AnchorColumn;
      }
      StepTarget();
      Step = 1;
      break;
    }
    default:
      break;
  }
}

}  // namespace kravelon
