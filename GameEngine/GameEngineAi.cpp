// The computer's shooting at the user's board: a search by placement count, then following a
// hit along a line. It runs as an idle step, one step per call, and carries its working state
// from one turn to the next.
#include <algorithm>
#include <string>
#include <utility>

#include "GameEngine/GameEngine.h"
#include "GameEngine/Geometry.h"

namespace {

// The computer shoots at random over the whole board for this many shots of a game.
constexpr int OpeningShots = 20;

bool Blocked(const TCell& cell) { return cell.Fired != 0 || cell.Excluded != 0; }

constexpr std::int32_t Opposite(std::int32_t direction) { return 3 - direction; }

}  // namespace

void TGameEngine::BuildCandidates() {
  // Each believed-afloat ship adds one to every cell of each of its placements that crosses no
  // fired or excluded cell. Equal sizes count alike, so each size is counted once with its
  // multiplicity, and a run of open cells yields all its placements at once.
  std::array<int, BoardSize> lengths{};
  std::array<int, BoardSize> weights{};
  int kinds = 0;
  for (const std::int32_t length : FleetLeft) {
    if (length < 1 || length > BoardSize) continue;  // struck out, or can never fit
    int k = 0;
    while (k < kinds && lengths[static_cast<std::size_t>(k)] != length) ++k;
    if (k == kinds) lengths[static_cast<std::size_t>(kinds++)] = length;
    ++weights[static_cast<std::size_t>(k)];
  }

  std::array<std::array<bool, BoardSize>, BoardSize> open{};  // [row][column]
  for (int r = 0; r < BoardSize; ++r) {
    for (int c = 0; c < BoardSize; ++c) open[r][c] = !Blocked(TargetView(c, r));
  }

  for (auto& row : Heat) row.fill(0);
  // Cells off the board are blocked, so placements end at the edge.
  auto countLine = [&](auto isOpen, auto addHeat) {
    std::array<int, BoardSize + 1> delta{};
    int run = 0;
    for (int i = BoardSize - 1; i >= 0; --i) {
      run = isOpen(i) ? run + 1 : 0;
      for (int k = 0; k < kinds; ++k) {
        const int length = lengths[static_cast<std::size_t>(k)];
        if (length > run) continue;
        delta[static_cast<std::size_t>(i)] += weights[static_cast<std::size_t>(k)];
        delta[static_cast<std::size_t>(i + length)] -= weights[static_cast<std::size_t>(k)];
      }
    }
    int cover = 0;
    for (int i = 0; i < BoardSize; ++i) {
      cover += delta[static_cast<std::size_t>(i)];
      addHeat(i, cover);
    }
  };
  for (int r = 0; r < BoardSize; ++r) {
    countLine([&](int c) { return open[r][c]; }, [&](int c, int n) { Heat[r][c] += n; });
  }
  for (int c = 0; c < BoardSize; ++c) {
    countLine([&](int r) { return open[r][c]; }, [&](int r, int n) { Heat[r][c] += n; });
  }

  // While the opening lasts every cell is a candidate, fired ones included: the shot step
  // rejects those and the search is simply repeated.
  const bool opening = ComputerShots < OpeningShots;
  int best = 0;
  for (const auto& row : Heat) best = std::max(best, *std::max_element(row.begin(), row.end()));
  CandidateCount = 0;
  for (int r = 0; r < BoardSize; ++r) {
    for (int c = 0; c < BoardSize; ++c) {
      if (opening || Heat[r][c] == best) Candidates[static_cast<std::size_t>(CandidateCount++)] = TPoint{c, r};
    }
  }
}

void TGameEngine::StepTarget() {
  if (DirIndex < 0 || DirIndex > 3) return;
  switch (DirOrder[static_cast<std::size_t>(DirIndex)]) {
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

void TGameEngine::ReportComputerShot() {
  Log("Компьютер произвел выстрел в сектор " + CellName(TargetColumn, TargetRow));
  Host->Redraw();
  Host->PlaySound("SND_SHOT");
  // The explosion picture is drawn up and to the left of the cell it covers.
  Host->PlayExplosion(TargetColumn * CellSize + UserBoardRect.Left - 8, TargetRow * CellSize + UserBoardRect.Top - 30);
}

void TGameEngine::ComputerTurnStep(bool& done) {
  done = false;
  switch (AiStep) {
    case 0: {  // new search; no shot in this step
      // The line just followed ended: its length is the size of the ship taken as sunk.
      StrikeSize(HitCount);
      AiStep = 1;
      DirIndex = 0;
      HitCount = 0;
      Reversals = 0;
      BuildCandidates();
      const int k = CandidateCount != 0 ? static_cast<int>(Draw() % static_cast<std::uint32_t>(CandidateCount)) : 0;
      const TPoint chosen = Candidates[static_cast<std::size_t>(k)];
      TargetColumn = AnchorColumn = chosen.X;
      TargetRow = AnchorRow = chosen.Y;
      for (int i = 0; i < 100; ++i) {
        const auto a = static_cast<std::size_t>(Draw() % 4);
        const auto b = static_cast<std::size_t>(Draw() % 4);
        std::swap(DirOrder[a], DirOrder[b]);
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
        AiStep = HitCount > 1 ? 4 : 0;
        break;
      }
      const bool hit = Fire(TargetColumn, TargetRow);
      if (hit) {
        AiStep = 3;
        ++HitCount;
        ReportComputerShot();
        if (HitCount > 1) {
          StepTarget();
          AiStep = 1;
        }
        if (GameOver) {
          State = gsReport;
          Host->EndOfGame();
        }
      } else {
        // Past the first hit a miss ends the line on this side; the next turn finds the
        // target fired and reverses.
        if (HitCount == 0) AiStep = 0;
        if (HitCount == 1) AiStep = 3;
        ReportComputerShot();
        Host->RemoveIdle();
      }
      break;
    }
    case 3: {  // choose a direction from the anchor
      TargetColumn = AnchorColumn;
      TargetRow = AnchorRow;
      if (DirIndex > 3) {
        AiStep = 0;
        break;
      }
      StepTarget();
      if (Blocked(TargetView(TargetColumn, TargetRow))) {
        TargetColumn = AnchorColumn;
        TargetRow = AnchorRow;
        ++DirIndex;
      } else {
        AiStep = 1;
      }
      break;
    }
    case 4: {  // reverse the direction
      if (Reversals == 1 || DirIndex < 0 || DirIndex > 3) {
        AiStep = 0;
        break;
      }
      Reversals = 1;
      const std::int32_t before = DirOrder[static_cast<std::size_t>(DirIndex)];
      const std::int32_t opposite = Opposite(before);
      DirIndex = static_cast<std::int32_t>(std::find(DirOrder.begin(), DirOrder.end(), opposite) - DirOrder.begin());
      if (before == dirUp || before == dirDown) {
        TargetRow = AnchorRow;
      } else {
        TargetColumn = AnchorColumn;
      }
      StepTarget();
      AiStep = 1;
      break;
    }
    default:
      break;
  }
}
