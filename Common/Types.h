#pragma once
// Plain value types shared by every layer; no SDL in here, so the rules may use them too.
#include <algorithm>
#include <cstdint>

namespace kravelon {

struct TPoint {
  int X = 0;
  int Y = 0;
  friend bool operator==(const TPoint&, const TPoint&) = default;
};

// Right and bottom are excluded, as everywhere in the game.
struct TRect {
  int Left = 0;
  int Top = 0;
  int Right = 0;
  int Bottom = 0;
  int Width() const { return Right - Left; }
  int Height() const { return Bottom - Top; }
  bool Empty() const { return Right <= Left || Bottom <= Top; }
  // The hit test: the left and top lines are inside, the right and bottom ones are not.
  bool Contains(TPoint p) const { return Left <= p.X && p.X < Right && Top <= p.Y && p.Y < Bottom; }
  bool StrictlyContains(int x, int y) const { return Left < x && x < Right && Top < y && y < Bottom; }
  // The part both cover; all zero when they do not meet.
  TRect Intersect(const TRect& other) const {
    const TRect r{std::max(Left, other.Left), std::max(Top, other.Top), std::min(Right, other.Right),
                  std::min(Bottom, other.Bottom)};
    return r.Empty() ? TRect{} : r;
  }
  friend bool operator==(const TRect&, const TRect&) = default;
};

// (red, green, blue), 0..255 each.
struct TColor {
  std::uint8_t R = 0;
  std::uint8_t G = 0;
  std::uint8_t B = 0;
  friend bool operator==(const TColor&, const TColor&) = default;
};

namespace clr {
inline constexpr TColor Black{0, 0, 0};
inline constexpr TColor White{255, 255, 255};
inline constexpr TColor Red{255, 0, 0};
inline constexpr TColor Yellow{255, 255, 0};
inline constexpr TColor Lime{0, 255, 0};
inline constexpr TColor Blue{0, 0, 255};
inline constexpr TColor Aqua{0, 255, 255};
inline constexpr TColor Magenta{255, 0, 255};
}  // namespace clr

}  // namespace kravelon
