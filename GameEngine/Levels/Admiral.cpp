#include "GameEngine/Levels/Admiral.h"

#include <algorithm>
#include <cstddef>

namespace kravelon {

namespace {

// Whether a ship of `length` at `at` lies on the board clear of every ship in `taken`, corners
// included, or where ships may touch off their cells only. `taken` is [row][column].
bool Fits(const TSeaGrid& taken, TPoint at, bool horizontal, int length, bool touching) {
  const int dc = horizontal ? 1 : 0, dr = horizontal ? 0 : 1;
  const int endC = at.X + dc * (length - 1), endR = at.Y + dr * (length - 1);
  if (!TSeaView::OnBoard(at.X, at.Y) || !TSeaView::OnBoard(endC, endR)) return false;
  const int margin = touching ? 0 : 1;
  for (int r = at.Y - margin; r <= endR + margin; ++r) {
    for (int c = at.X - margin; c <= endC + margin; ++c) {
      if (TSeaView::OnBoard(c, r) && taken[r][c]) return false;
    }
  }
  return true;
}

void Take(TSeaGrid& taken, TShipPlacement ship, int length) {
  for (int i = 0; i < length; ++i) {
    taken[ship.At.Y + (ship.Horizontal ? 0 : i)][ship.At.X + (ship.Horizontal ? i : 0)] = true;
  }
}

}  // namespace

TFleetPlan RandomFleet(TRandomSource& random, bool touching) {
  TFleetPlan plan{};
  TSeaGrid taken{};
  for (std::size_t i = 0; i < plan.size(); ++i) {
    const int length = ShipSizes[i];
    TShipPlacement ship;
    do {
      ship.At = TPoint{static_cast<int>(random.Next() % BoardSize),
                       static_cast<int>(random.Next() % BoardSize)};
      ship.Horizontal = random.Next() % 2 != 0;
    } while (!Fits(taken, ship.At, ship.Horizontal, length, touching));
    Take(taken, ship, length);
    plan[i] = ship;
  }
  return plan;
}

TFleetPlan TAdmiral::ArrangeFleet(TRandomSource& random, bool touching) {
  // A search by placement count looks first where most placements cross, in the middle of the
  // board: of a hundred fleets drawn at random, the one lying least where such a search looks.
  // Drawn, not built, so that no two games hide the fleet alike.
  constexpr int Drafts = 100;
  TAdmiral search(random);
  search.BuildHeat(TSeaView{});
  TFleetPlan best{};
  long bestExposure = 0;
  for (int draft = 0; draft < Drafts; ++draft) {
    const TFleetPlan plan = RandomFleet(random, touching);
    long exposure = 0;
    for (std::size_t i = 0; i < plan.size(); ++i) {
      for (int k = 0; k < ShipSizes[i]; ++k) {
        const int c = plan[i].At.X + (plan[i].Horizontal ? k : 0);
        const int r = plan[i].At.Y + (plan[i].Horizontal ? 0 : k);
        exposure += search.Heat()[static_cast<std::size_t>(r)][static_cast<std::size_t>(c)];
      }
    }
    if (draft == 0 || exposure < bestExposure) {
      bestExposure = exposure;
      best = plan;
    }
  }
  return best;
}

void TAdmiral::BuildHeat(const TSeaView& sea) {
  const bool deduce = !Touching;
  const TSeaGrid open = OpenCells(sea, {deduce, deduce});
  const TAfloat afloat = ShipsAfloat(sea);
  for (auto& row : HeatMap) row.fill(0);

  // While a ship is hit and afloat, only the placements that cover the most of the open hits
  // count (with ships apart, all of them: they are one ship's).
  int openHits = 0;
  for (int r = 0; r < BoardSize; ++r) {
    for (int c = 0; c < BoardSize; ++c) openHits += sea.At(c, r) == smHit ? 1 : 0;
  }
  int bestCover = 0;
  auto count = [&](bool apply) {
    for (int s = 0; s < afloat.Count; ++s) {
      const int length = afloat.Sizes[static_cast<std::size_t>(s)];
      for (int way = 0; way < 2; ++way) {
        const int dc = way == 0 ? 1 : 0, dr = way == 0 ? 0 : 1;
        for (int r = 0; r + dr * (length - 1) < BoardSize; ++r) {
          for (int c = 0; c + dc * (length - 1) < BoardSize; ++c) {
            int covered = 0;
            bool fits = true;
            for (int i = 0; i < length && fits; ++i) {
              const int cc = c + dc * i, rr = r + dr * i;
              if (sea.At(cc, rr) == smHit) {
                ++covered;
              } else if (!open[rr][cc]) {
                fits = false;
              }
            }
            if (!fits || covered < bestCover) continue;
            if (!apply) {
              bestCover = covered;
              continue;
            }
            if (covered != bestCover) continue;
            for (int i = 0; i < length; ++i) {
              if (sea.At(c + dc * i, r + dr * i) != smHit) ++HeatMap[r + dr * i][c + dc * i];
            }
          }
        }
      }
    }
  };
  if (openHits > 0) count(false);
  count(true);
}

std::optional<TPoint> TAdmiral::TurnStep(const TSeaView& sea) {
  BuildHeat(sea);
  std::int32_t best = 0;
  for (const auto& row : HeatMap) best = std::max(best, *std::max_element(row.begin(), row.end()));
  std::array<TPoint, BoardSize * BoardSize> cells{};
  std::size_t found = 0;
  // No placement left anywhere cannot happen while a ship is afloat; should the deductions ever
  // be wrong, any cell not fired at will do.
  for (int r = 0; r < BoardSize; ++r) {
    for (int c = 0; c < BoardSize; ++c) {
      if (best > 0 ? HeatMap[r][c] == best : sea.Unknown(c, r)) cells[found++] = TPoint{c, r};
    }
  }
  if (found == 0) return std::nullopt;
  return cells[Random.Next() % found];
}

}  // namespace kravelon
