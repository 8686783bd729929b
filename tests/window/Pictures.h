#pragma once
// The asset pictures decoded independently of the game, and composed the way a screen is.
#include <functional>
#include <string>
#include <vector>

#include "Common/Types.h"

namespace kravelon {

struct TImage {
  int Width = 0, Height = 0;
  std::vector<TColor> Pixels;
  TColor At(int x, int y) const { return Pixels[static_cast<std::size_t>(y) * Width + x]; }
};

TImage ReadJpeg(const std::string& path);
// A 24-bit bottom-up Windows bitmap, as the asset set has them.
TImage ReadBmp24(const std::string& path);

struct TCanvasImage : TImage {
  TCanvasImage(int w, int h);
  void Draw(const TImage& from, int left, int top, std::function<bool(TColor)> transparent = {},
            TRect source = {0, 0, -1, -1});
};

}  // namespace kravelon
