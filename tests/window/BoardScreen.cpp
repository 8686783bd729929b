#include "tests/window/BoardScreen.h"

namespace kravelon {

TCanvasImage FirstBoardScreen(const std::string& images) {
  const auto picture = [&](const char* name) { return images + "/" + name; };
  TCanvasImage expected(696, 488);
  expected.Draw(ReadJpeg(picture("Backround.jpg")), 0, 0);
  expected.Draw(ReadJpeg(picture("Title.jpg")), 0, 4);
  const TImage water = ReadJpeg(picture("Empty.jpg"));
  for (int column = 0; column < 10; ++column)
    for (int row = 0; row < 10; ++row) {
      expected.Draw(water, 4 + 32 * column, 36 + 32 * row);
      expected.Draw(water, 372 + 32 * column, 36 + 32 * row);
    }
  expected.Draw(ReadJpeg(picture("Consol.jpg")), 4, 356);
  const TImage border = ReadBmp24(picture("Border.bmp"));
  auto magenta = [](TColor c) { return c == clr::Magenta; };
  for (int i = 0; i < 14; ++i) {
    expected.Draw(border, 0, 32 + 32 * i, magenta, {0, 16, 32, 48});
    expected.Draw(border, 664, 32 + 32 * i, magenta, {32, 16, 64, 48});
  }
  for (int i = 0; i < 20; ++i) {
    expected.Draw(border, 32 + 32 * i, 0, magenta, {16, 0, 48, 32});
    expected.Draw(border, 32 + 32 * i, 456, magenta, {16, 32, 48, 64});
  }
  expected.Draw(border, 0, 0, magenta, {0, 0, 32, 32});
  expected.Draw(border, 664, 0, magenta, {32, 0, 64, 32});
  expected.Draw(border, 0, 456, magenta, {0, 32, 32, 64});
  expected.Draw(border, 664, 456, magenta, {32, 32, 64, 64});
  return expected;
}

std::string BoardDifferences(const TScreenshot& shot, const TCanvasImage& expected) {
  if (shot.Width != expected.Width || shot.Height != expected.Height)
    return "the window is " + std::to_string(shot.Width) + " x " + std::to_string(shot.Height);
  // The two buttons' words ("МЕНЮ", "ИГРА"); the console's lines all end well before x 600; the
  // status line's strip holds the fleet too.
  auto hasText = [](int x, int y) {
    return ((x < 90 || x >= 628) && y >= 4 && y < 36) ||
           (y >= 356 && y < 484 && x >= 4 && x < 600) ||
           (y >= 356 && y < 380 && x >= 4 && x < 692);
  };
  int differences = 0;
  std::string first;
  for (int y = 0; y < expected.Height; ++y)
    for (int x = 0; x < expected.Width; ++x) {
      if (hasText(x, y) || shot.At(x, y) == expected.At(x, y)) continue;
      if (++differences <= 5) {
        const TColor a = shot.At(x, y), e = expected.At(x, y);
        first += "; pixel " + std::to_string(x) + "," + std::to_string(y) + " is " +
                 std::to_string(a.R) + "," + std::to_string(a.G) + "," + std::to_string(a.B) +
                 " not " + std::to_string(e.R) + "," + std::to_string(e.G) + "," +
                 std::to_string(e.B);
      }
    }
  return differences == 0 ? "" : std::to_string(differences) + " pixels differ" + first;
}

}  // namespace kravelon
