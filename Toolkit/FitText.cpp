#include "Toolkit/FitText.h"

#include <algorithm>
#include <utility>

namespace kravelon {

namespace {

// Measures with `canvas` at one size after another, putting its font back when done.
class TMeasure {
 public:
  TMeasure(TCanvas& canvas, const TFont& font) : Canvas(canvas), Saved(canvas.Font) {
    Canvas.Font = font;
  }
  ~TMeasure() { Canvas.Font = Saved; }
  TMeasure(const TMeasure&) = delete;
  TMeasure& operator=(const TMeasure&) = delete;

  void SetSize(int size) { Canvas.Font.Size = size; }
  int Width(std::string_view text) { return Canvas.TextWidth(text); }
  int Height() { return Canvas.TextHeight("Ag"); }

 private:
  TCanvas& Canvas;
  TFont Saved;
};

// The break at a space whose longer half is the shortest: the most even two lines.
std::pair<std::string, std::string> EvenBreak(TMeasure& measure, std::string_view text) {
  std::pair<std::string, std::string> best;
  int bestWidth = -1;
  for (std::size_t at = text.find(' '); at != std::string_view::npos; at = text.find(' ', at + 1)) {
    std::string first(text.substr(0, at)), second(text.substr(at + 1));
    const int width = std::max(measure.Width(first), measure.Width(second));
    if (bestWidth < 0 || width < bestWidth) {
      bestWidth = width;
      best = {std::move(first), std::move(second)};
    }
  }
  return best;
}

}  // namespace

TFittedText FitText(TCanvas& canvas, const TFont& font, std::string_view text, int width,
                    int height) {
  TMeasure measure(canvas, font);
  const int largest = std::max(font.Size, MinFittedSize);
  int single = MinFittedSize;
  for (int size = largest; size > MinFittedSize; --size) {
    measure.SetSize(size);
    if (measure.Width(text) <= width && measure.Height() <= height) {
      single = size;
      break;
    }
  }
  if (single == largest) return {single, {std::string(text)}};

  // Two lines, broken where the sizes ahead of us are measured: the break depends little on size.
  measure.SetSize(largest);
  auto [first, second] = EvenBreak(measure, text);
  if (!first.empty() && !second.empty()) {
    for (int size = largest; size > single; --size) {
      measure.SetSize(size);
      if (std::max(measure.Width(first), measure.Width(second)) <= width &&
          2 * measure.Height() <= height) {
        return {size, {std::move(first), std::move(second)}};
      }
    }
  }
  return {single, {std::string(text)}};
}

}  // namespace kravelon
