// Menu captions made to fit their item: what fits stays as it was, a longer one shrinks or
// breaks at a space, and whatever comes back fits the box.
#include <gtest/gtest.h>

#include <string>

#include "Toolkit/FitText.h"
#include "Toolkit/Graphics.h"
#include "tests/support/ToolkitFixture.h"

namespace kravelon {

using FitTextTest = ToolkitFixture;

TEST_F(FitTextTest, ACaptionFitsItsBoxAndOneThatFitsAlreadyStaysAsItWas) {
  TBitmap scratch(1, 1);
  TCanvas& canvas = scratch.Canvas;
  const TFont menu{"IMPACT", 36, clr::Aqua, TFontStyle::Regular};
  struct TCase {
    const char* Text;
    int Width, Height;
    std::size_t Lines;  // 0: either
    bool Smaller;
  };
  const TCase cases[] = {
      {"Капитан", 200, 64, 1, false},              // a level's caption: untouched
      {"Создать сетевую игру", 180, 64, 2, true},  // two lines beat one tiny one
      {"Подключиться", 120, 64, 1, true},          // no space to break at: smaller
      {"Создать сетевую игру", 20, 10, 0, true},   // nothing fits: the smallest size
  };
  for (const TCase& c : cases) {
    canvas.Font = {"Arial", 9, clr::Black, TFontStyle::Bold};
    const TFittedText fit = FitText(canvas, menu, c.Text, c.Width, c.Height);
    EXPECT_EQ(canvas.Font.Name, "Arial") << "the canvas's font is left as it was";
    if (c.Lines) {
      EXPECT_EQ(fit.Lines.size(), c.Lines) << c.Text << " " << c.Width << ": " << fit.Size;
    }
    EXPECT_EQ(fit.Size < menu.Size, c.Smaller) << c.Text;
    std::string joined;
    for (const std::string& line : fit.Lines) joined += (joined.empty() ? "" : " ") + line;
    EXPECT_EQ(joined, c.Text);
    if (fit.Size == MinFittedSize) continue;
    canvas.Font = menu;
    canvas.Font.Size = fit.Size;
    for (const std::string& line : fit.Lines) EXPECT_LE(canvas.TextWidth(line), c.Width) << line;
    EXPECT_LE(canvas.TextHeight(c.Text) * static_cast<int>(fit.Lines.size()), c.Height) << c.Text;
  }
}

}  // namespace kravelon
