#pragma once
// Lettering through FreeType with fixed font files, so the art renders the same on every
// machine that has the team's font packages.
#include <string>
#include <vector>

#include "tools/assetgen/Raster.h"

namespace assetgen {

enum class Face { SansBold, Sans, SerifBold, NarrowBold, ArialBold };

// Coverage of a line of text with a margin of `pad` pixels: the pen starts at x = pad and
// the baseline is row `baseline`; `advance` is the text's width for centring.
struct TextMask {
  int width = 0, height = 0, baseline = 0, pad = 0, advance = 0;
  std::vector<float> a;
  float At(int x, int y) const {
    return x < 0 || y < 0 || x >= width || y >= height ? 0.0f : a[y * width + x];
  }
};

TextMask RenderText(Face face, float pixelSize, const std::string& utf8, float tracking = 0);
// Grows the mask by radius pixels (for outlines) and softens it (for shadows and glows).
TextMask Dilate(const TextMask& mask, float radius);
TextMask Blur(const TextMask& mask, int radius);

// Blends colour through the mask with its top-left at (x, y).
void DrawMask(Raster& target, const TextMask& mask, int x, int y, Rgb colour, float alpha = 1);
// Text with its baseline at y, left edge at x.
void DrawText(Raster& target, Face face, float size, const std::string& utf8, int x, int y,
              Rgb colour, float alpha = 1);

}  // namespace assetgen
