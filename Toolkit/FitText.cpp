#include "Toolkit/FitText.h"

#include <algorithm>

namespace kravelon {

namespace {

// The widest of the lines at `size`.
int Widest(TCanvas& canvas, const std::vector<std::string>& lines, int size) {
  canvas.Font.Size = size;
  int widest = 0;
  for (const std::string& line : lines) widest = std::max(widest, canvas.TextWidth(line));
  return widest;
}

// The largest size up to `most` at which the lines fit: widths scale with the size, so the first
// guess is close, and a few steps down settle it.
int LargestFitting(TCanvas& canvas, const std::vector<std::string>& lines, int most, int width,
                   int height) {
  const int full = Widest(canvas, lines, most);
  int size = full <= width ? most : std::max(MinFittedSize, most * width / std::max(full, 1) + 1);
  size = std::min(size, most);
  for (; size > MinFittedSize; --size) {
    canvas.Font.Size = size;
    const int tall = static_cast<int>(lines.size()) * canvas.TextHeight(lines.front());
    if (tall <= height && Widest(canvas, lines, size) <= width) break;
  }
  return size;
}

}  // namespace

TFittedText FitText(TCanvas& canvas, const TFont& font, std::string_view text, int width,
                    int height) {
  const TFont before = canvas.Font;
  canvas.Font = font;
  TFittedText fit{font.Size, {std::string(text)}};
  if (canvas.TextWidth(text) <= width) {
    canvas.Font = before;
    return fit;
  }
  fit.Size = LargestFitting(canvas, fit.Lines, font.Size, width, height);
  // The break that leaves the longer line shortest, measured at the font's own size.
  std::vector<std::string> best;
  int bestWidth = 0;
  for (std::size_t space = text.find(' '); space != std::string_view::npos;
       space = text.find(' ', space + 1)) {
    std::vector<std::string> lines{std::string(text.substr(0, space)),
                                   std::string(text.substr(space + 1))};
    const int widest = Widest(canvas, lines, font.Size);
    if (best.empty() || widest < bestWidth) best = std::move(lines), bestWidth = widest;
  }
  if (!best.empty()) {
    const int size = LargestFitting(canvas, best, font.Size, width, height);
    if (size > fit.Size) fit = {size, std::move(best)};
  }
  canvas.Font = before;
  return fit;
}

}  // namespace kravelon
