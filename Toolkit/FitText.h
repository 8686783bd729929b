#pragma once
// A text made to fit a box: the largest size, up to its font's own, on one line or broken at a
// space onto two. Menu items use it for captions longer than the item is wide.
#include <string>
#include <string_view>
#include <vector>

#include "Toolkit/Font.h"
#include "Toolkit/Graphics.h"

namespace kravelon {

struct TFittedText {
  int Size = 0;                    // points
  std::vector<std::string> Lines;  // one or two
};

// The smallest size FitText goes down to; a text that does not fit even so is drawn at it.
inline constexpr int MinFittedSize = 6;

// `text` in `font` within `width` × `height` pixels, measured on `canvas` (whose font it leaves
// as it was). A text that fits on one line at the font's own size stays so; otherwise the larger
// of the best single line and the best two lines, one line when they tie.
TFittedText FitText(TCanvas& canvas, const TFont& font, std::string_view text, int width,
                    int height);

}  // namespace kravelon
