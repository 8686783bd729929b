#include "Main/Target.h"

#include <algorithm>

namespace kravelon {

TPoint StepTarget(TPoint from, TTargetMove move) {
  constexpr int last = BoardSize - 1;
  switch (move) {
    case TTargetMove::Left: return {std::max(from.X - 1, 0), from.Y};
    case TTargetMove::Right: return {std::min(from.X + 1, last), from.Y};
    case TTargetMove::Up: return {from.X, std::max(from.Y - 1, 0)};
    case TTargetMove::Down: return {from.X, std::min(from.Y + 1, last)};
    case TTargetMove::RowStart: return {0, from.Y};
    case TTargetMove::RowEnd: return {last, from.Y};
    case TTargetMove::FirstCorner: return {0, 0};
    case TTargetMove::LastCorner: return {last, last};
  }
  return from;
}

}  // namespace kravelon
