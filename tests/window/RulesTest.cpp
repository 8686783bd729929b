// The house rules as the player meets them: ships side by side under --touching, and a salvo of
// ten shots before the computer's first under --salvo.
#include <gtest/gtest.h>

#include <algorithm>
#include <thread>

#include "tests/window/GameScreen.h"

namespace kravelon {

using namespace std::chrono_literals;

namespace {

// The cell shows `tile` inside the keys' frame, which covers its outer three pixels.
bool ShowsInside(const TScreenshot& s, TPoint cell, const TImage& tile) {
  for (int y = 3; y < tile.Height - 3; ++y)
    for (int x = 3; x < tile.Width - 3; ++x)
      if (!(s.At(cell.X + x, cell.Y + y) == tile.At(x, y))) return false;
  return true;
}

class TouchingShips : public Gameplay, public ::testing::WithParamInterface<bool> {
 protected:
  void SetUp() override {
    if (GetParam()) Options.Arguments = {"--touching"};
    Gameplay::SetUp();
  }
  void Press(const char* key) {
    X.Key(key);
    std::this_thread::sleep_for(30ms);
  }
  bool WaitForShipInside(TPoint cell, std::chrono::milliseconds timeout) {
    const auto until = std::chrono::steady_clock::now() + timeout;
    do {
      if (ShowsInside(Shot(), UserCell(cell.X, cell.Y), Ship)) return true;
      std::this_thread::sleep_for(30ms);
    } while (std::chrono::steady_clock::now() < until);
    return false;
  }
};

TEST_P(TouchingShips, TheKeysPlaceASecondShipRightBesideTheFirstOnlyWhenTheRuleAllowsIt) {
  const bool touching = GetParam();
  // The first arrow shows the target on А1: the four-decker goes down from there, the
  // three-decker in the next column beside it.
  Press("Down");
  Press("space");
  ASSERT_TRUE(WaitForShipInside({0, 0}, 3s) && WaitForTile(UserCell(0, 3), Ship, 1s)) << "no first ship";
  Press("Right");
  Press("space");
  EXPECT_EQ(WaitForShipInside({1, 0}, touching ? 3s : 1500ms), touching)
      << (Shot().Save("/tmp/kravelon-touching.png"), "see /tmp/kravelon-touching.png");
  if (touching) return;
  // Refused, the same ship one column further goes where it may.
  Press("Right");
  Press("space");
  EXPECT_TRUE(WaitForShipInside({2, 0}, 3s)) << "the keys placed nothing after a refusal";
  EXPECT_FALSE(ShowsInside(Shot(), UserCell(1, 0), Ship));
}

std::string RuleName(const ::testing::TestParamInfo<bool>& info) {
  return info.param ? "Touching" : "Default";
}
INSTANTIATE_TEST_SUITE_P(HouseRules, TouchingShips, ::testing::Values(false, true), RuleName);

class Salvo : public Gameplay {
 protected:
  void SetUp() override {
    Options.Arguments = {"--salvo"};
    Gameplay::SetUp();
  }
};

TEST_F(Salvo, TheUsersFirstTurnIsTenShotsBeforeTheComputerFiresAtAll) {
  ASSERT_TRUE(Game->WaitForLine("Game: Правила: залп", 3s));
  Menu(MainItems, MainArrange);
  ASSERT_TRUE(Game->WaitForLine("Game: Компьютер расставил все корабли.", 30s));
  WaitForQuiet(300ms, 5s);
  const auto computerFired = [this] {
    const auto lines = Game->ConsoleLines();
    return std::any_of(lines.begin(), lines.end(), [](const std::string& l) {
      return l.starts_with("Game: Компьютер произвел выстрел");
    });
  };
  // Along the top row and on into the next, whatever each shot hits.
  for (int shot = 0; shot < 10; ++shot) {
    const auto before = UserShots().size();
    ClickToFire({shot % 10, shot / 10}, 2s, [] { return false; });
    ASSERT_EQ(UserShots().size(), before + 1) << "shot " << shot << " was not fired";
    ASSERT_FALSE(computerFired()) << "the computer fired after " << shot + 1 << " shots";
  }
  // The salvo spent, the turn passes.
  const auto until = std::chrono::steady_clock::now() + 10s;
  while (!computerFired() && std::chrono::steady_clock::now() < until)
    std::this_thread::sleep_for(30ms);
  EXPECT_TRUE(computerFired()) << "the turn did not pass after ten shots";
  EXPECT_EQ(UserShots().size(), 10u);
}

}  // namespace

}  // namespace kravelon
