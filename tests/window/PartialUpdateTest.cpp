// What the game sends piecemeal (the status line, the console, explosion frames) adds up to the
// picture a full redraw of the same state shows.
#include <gtest/gtest.h>

#include "tests/window/GameScreen.h"

namespace kravelon {

namespace {

class PartialUpdates : public Gameplay {
 protected:
  // A full redraw with the pointer where it is: the about screen opened from the main menu and
  // closed again by a click at that place.
  TScreenshot AfterAFullRedraw(TPoint pointer) {
    X.Key("Escape");
    EXPECT_TRUE(WaitForMenu(MainItems));
    ChooseItem(MainItems, MainAbout);
    EXPECT_TRUE(WaitForMenu(MainItems, false));
    std::this_thread::sleep_for(300ms);
    ClickAt(pointer.X, pointer.Y);
    std::this_thread::sleep_for(400ms);
    return Shot();
  }
  int Differences(const TScreenshot& a, const TScreenshot& b) {
    int n = 0;
    for (int y = 0; y < a.Height; ++y)
      for (int x = 0; x < a.Width; ++x) n += !(a.At(x, y) == b.At(x, y));
    return n;
  }
};

TEST_F(PartialUpdates, PointerMovesShotsAndScrollingEndAsAFullRedrawShows) {
  Menu(MainItems, MainArrange);
  ASSERT_TRUE(Game->WaitForLine("Game: Компьютер расставил все корабли.", 20s));
  WaitForQuiet(300ms, 5s);
  // Two shots with their explosions (and whatever the computer answers).
  for (int i = 0; i < 2; ++i) {
    const TPoint cell = ComputerCell(3 + 3 * i, 4);
    ClickAt(cell.X + 16, cell.Y + 16);
    ASSERT_TRUE(Game->WaitForLine(UserShotPrefix + Sector(3 + 3 * i, 4), 5s));
    WaitForQuiet(800ms, 60s);
  }
  // The status line follows the pointer over both boards, the console and the frame.
  for (TPoint p : {TPoint{100, 100}, TPoint{500, 300}, TPoint{300, 420}, TPoint{690, 40},
                   TPoint{20, 200}, TPoint{600, 200}}) {
    MoveTo(p.X, p.Y);
    std::this_thread::sleep_for(40ms);
  }
  X.Key("Prior");
  X.Key("Next");
  X.Key("Prior");
  const TPoint last{620, 120};
  MoveTo(last.X, last.Y);
  std::this_thread::sleep_for(300ms);
  const TScreenshot partial = Shot();
  const TScreenshot full = AfterAFullRedraw(last);
  EXPECT_EQ(Differences(partial, full), 0)
      << (partial.Save("/tmp/kravelon-partial.png"), full.Save("/tmp/kravelon-full.png"),
          "see /tmp/kravelon-partial.png and /tmp/kravelon-full.png");
}

}  // namespace

}  // namespace kravelon
