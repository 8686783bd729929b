// The first board screen of the real game, read back from the X server and held against the
// asset files composed at their places.
#include <gtest/gtest.h>

#include <thread>

#include "tests/window/BoardScreen.h"
#include "tests/window/RunningGame.h"

namespace kravelon {

using namespace std::chrono_literals;

namespace {

using BoardScreen = RunningGame;

TEST_F(BoardScreen, IsComposedOfTheAssetPicturesAtTheirPlaces) {
  const TScreenshot shot = Shot();
  EXPECT_EQ(BoardDifferences(shot, FirstBoardScreen(GameBuildFolder() + "/Images")), "")
      << (shot.Save("/tmp/kravelon-board.png"), "see /tmp/kravelon-board.png");
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

}  // namespace kravelon
