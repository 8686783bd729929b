#pragma once
// A font as the game names it. Kept apart from the canvas that draws with it and from the faces
// that render it, so that neither needs the other to say which font it means.
#include <cmath>
#include <cstdint>
#include <string>

#include "Common/Types.h"

namespace kravelon {

enum class TFontStyle : std::uint8_t { Regular = 0, Bold = 1 };

// A font as the game names it: face, size in points (96 dpi), colour, style.
struct TFont {
  std::string Name = "MS Sans Serif";
  int Size = 8;
  TColor Color = clr::Black;
  TFontStyle Style = TFontStyle::Regular;
  friend bool operator==(const TFont&, const TFont&) = default;
};

// Font sizes in points become pixels at 96 dpi.
inline int PointsToPixels(int points) {
  return static_cast<int>(std::lround(points * 96.0 / 72.0));
}

}  // namespace kravelon
