// A desktop that asks for scale 2 gets the same picture with every pixel doubled, and the pointer
// still lands on the same sector.
#include <gtest/gtest.h>

#include <thread>

#include "tests/window/RunningGame.h"

namespace kravelon {

using namespace std::chrono_literals;

namespace {

struct TStartedGame {
  TStartedGame(TXServer& x, TGameProcess::TOptions options) : Game(&x, options) {
    EXPECT_TRUE(Game.WaitForLine(ReadyLine, 20s)) << Game.Stderr();
    auto window = x.WaitForWindow(MainCaption, 5s);
    EXPECT_TRUE(window);
    if (window) Frame = window->Frame;
    std::this_thread::sleep_for(300ms);
  }
  TGameProcess Game;
  TRect Frame;
};

TEST(Scale, TwoDoublesEveryPixelAndTheMenusAndClicksScaleWithIt) {
  TXServer small;
  TStartedGame one(small, {});
  ASSERT_EQ(one.Frame.Width(), 696);
  const TScreenshot plain = small.Shot(one.Frame.Left, one.Frame.Top, 696, 488);

  TXServer big(2048, 1536);
  TGameProcess::TOptions options;
  options.Environment = {"GDK_SCALE=2"};
  TStartedGame two(big, options);
  ASSERT_EQ(two.Frame.Width(), 2 * 696);
  ASSERT_EQ(two.Frame.Height(), 2 * 488);
  const TScreenshot doubled = big.Shot(two.Frame.Left, two.Frame.Top, 2 * 696, 2 * 488);
  int wrong = 0;
  for (int y = 0; y < 488; ++y)
    for (int x = 0; x < 696; ++x)
      for (int d = 0; d < 4; ++d) wrong += !(doubled.At(2 * x + d % 2, 2 * y + d / 2) == plain.At(x, y));
  EXPECT_EQ(wrong, 0);

  // The main menu hangs from the middle of the screen, in doubled pixels: "Расставить" is its
  // second item, 64 pixels high.
  big.Key("Escape");
  std::this_thread::sleep_for(300ms);
  const int itemY = 2 * (384 - 164 + 3 + 64 + 32);
  big.ClickAt(1024, itemY);
  ASSERT_TRUE(two.Game.WaitForLine("Game: Компьютер расставил все корабли.", 20s));
  std::this_thread::sleep_for(500ms);
  // Column Г, row 5 of the computer's board.
  big.ClickAt(two.Frame.Left + 2 * (372 + 32 * 3 + 16), two.Frame.Top + 2 * (36 + 32 * 4 + 16));
  EXPECT_TRUE(two.Game.WaitForLine("Game: Пользователь произвел выстрел в сектор Г5", 5s));
}

TEST(Scale, TheCommandLineForcesAScale) {
  TXServer big(2048, 1536);
  TGameProcess::TOptions options;
  options.Arguments = {"--scale", "3"};
  TStartedGame three(big, options);
  EXPECT_EQ(three.Frame.Width(), 3 * 696);
  EXPECT_EQ(three.Frame.Height(), 3 * 488);
}

}  // namespace

}  // namespace kravelon
