// The first board screen of the real game, read back from the X server and held against the
// asset files composed at their places.
#include <gtest/gtest.h>

#include <thread>

#include "tests/window/Pictures.h"
#include "tests/window/RunningGame.h"

using namespace std::chrono_literals;

namespace {

using BoardScreen = RunningGame;

TEST_F(BoardScreen, IsComposedOfTheAssetPicturesAtTheirPlaces) {
  TCanvasImage expected(696, 488);
  expected.Draw(ReadJpeg(Asset("Backround.jpg")), 0, 0);
  expected.Draw(ReadJpeg(Asset("Title.jpg")), 0, 4);
  const TImage water = ReadJpeg(Asset("Empty.jpg"));
  for (int column = 0; column < 10; ++column)
    for (int row = 0; row < 10; ++row) {
      expected.Draw(water, 4 + 32 * column, 36 + 32 * row);
      expected.Draw(water, 372 + 32 * column, 36 + 32 * row);
    }
  expected.Draw(ReadJpeg(Asset("Consol.jpg")), 4, 356);
  const TImage border = ReadBmp24(Asset("Border.bmp"));
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

  const TScreenshot shot = Shot();
  ASSERT_EQ(shot.Width, 696);
  // Text is left out: the "МЕНЮ" caption on the title strip and the console's lines (all of
  // which end well before x 600).
  auto hasText = [](int x, int y) {
    return (x < 90 && y >= 4 && y < 36) || (y >= 356 && y < 484 && x >= 4 && x < 600);
  };
  int differences = 0;
  for (int y = 0; y < 488; ++y)
    for (int x = 0; x < 696; ++x) {
      if (hasText(x, y)) continue;
      if (!(shot.At(x, y) == expected.At(x, y)) && ++differences <= 5) {
        const TColor a = shot.At(x, y), e = expected.At(x, y);
        ADD_FAILURE() << "pixel " << x << "," << y << " is " << int(a.R) << "," << int(a.G) << ","
                      << int(a.B) << " not " << int(e.R) << "," << int(e.G) << "," << int(e.B);
      }
    }
  EXPECT_EQ(differences, 0) << (shot.Save("/tmp/kravelon-board.png"), "see /tmp/kravelon-board.png");
  // The console does show its lines.
  int yellow = 0;
  for (int y = 388; y < 470; ++y)
    for (int x = 12; x < 300; ++x) {
      const TColor c = shot.At(x, y);
      yellow += c.R > 200 && c.G > 200 && c.B < 100;
    }
  EXPECT_GT(yellow, 300);
}

TEST_F(BoardScreen, KeysTypedOnTheBackdropReachTheGame) {
  Window black = 0;
  for (const auto& w : X.Windows()) {
    if (w.Mapped && w.Frame == (TRect{0, 0, 1024, 768})) black = w.Id;
  }
  ASSERT_NE(black, 0u);
  X.ClickAt(40, 40);  // on the black area
  XSetInputFocus(X.Connection(), black, RevertToParent, CurrentTime);
  XSync(X.Connection(), False);
  std::this_thread::sleep_for(200ms);
  const TScreenshot before = Shot();
  X.Key("Prior");  // Page Up: the console view moves two lines back
  std::this_thread::sleep_for(300ms);
  const TScreenshot after = Shot();
  int changed = 0;
  for (int y = 388; y < 470; ++y)
    for (int x = 12; x < 600; ++x) changed += !(before.At(x, y) == after.At(x, y));
  EXPECT_GT(changed, 100);
}

}  // namespace
