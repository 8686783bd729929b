// Playing the real game with the pointer: placing the fleet, firing, and the game-over screens.
#include <gtest/gtest.h>

#include <algorithm>
#include <deque>
#include <thread>

#include "tests/window/GameScreen.h"

namespace kravelon {

using namespace std::chrono_literals;

namespace {

TEST_F(Gameplay, ThePreviewFollowsThePointerAndTurns) {
  ClickAt(600, 450, 3);  // right button off the boards: the next ship lies across
  const TPoint c7 = UserCell(7, 0);
  MoveTo(c7.X + 10, c7.Y + 10);
  ASSERT_TRUE(WaitForTile(c7, Hit, 2s)) << "refused preview at column 7";
  TScreenshot s = Shot();
  EXPECT_TRUE(Same(s, UserCell(8, 0).X, UserCell(8, 0).Y, Hit));
  EXPECT_TRUE(Same(s, UserCell(9, 0).X, UserCell(9, 0).Y, Hit));
  EXPECT_TRUE(Same(s, UserCell(6, 0).X, UserCell(6, 0).Y, Water));
  EXPECT_TRUE(Same(s, UserCell(7, 1).X, UserCell(7, 1).Y, Water));

  const TPoint c6 = UserCell(6, 0);
  MoveTo(c6.X + 10, c6.Y + 10);
  ASSERT_TRUE(WaitForTile(c6, Allowed, 2s)) << "allowed preview at column 6";
  s = Shot();
  for (int column = 7; column < 10; ++column)
    EXPECT_TRUE(Same(s, UserCell(column, 0).X, UserCell(column, 0).Y, Allowed)) << column;

  X.Click(3);  // turned upright where it stands
  ASSERT_TRUE(WaitForTile(UserCell(6, 3), Allowed, 2s));
  s = Shot();
  EXPECT_TRUE(Same(s, UserCell(7, 0).X, UserCell(7, 0).Y, Water));
  EXPECT_TRUE(Same(s, UserCell(6, 4).X, UserCell(6, 4).Y, Water));
}

TEST_F(Gameplay, TenShipsPlacedByMouseLeadToTheComputersFleetAndBattle) {
  PlaceFleet();
  ASSERT_TRUE(Game->WaitForLine("Game: Компьютер расставил все корабли.", 20s));
  const auto lines = Game->ConsoleLines();
  auto at = [&](const char* line) { return std::find(lines.begin(), lines.end(), line) - lines.begin(); };
  EXPECT_LT(at("Game: Пользователь расставил все корабли."), at("Game: Компьютер расставляет корабли..."));
  EXPECT_LT(at("Game: Компьютер расставляет корабли..."), at("Game: Компьютер расставил все корабли."));
  // The whole fleet stands on the left board; the computer's stays hidden.
  WaitForQuiet(300ms, 5s);
  const TScreenshot s = Shot();
  EXPECT_EQ(TilesOnBoard(s, true, Ship), 20);
  EXPECT_EQ(TilesOnBoard(s, false, Water), 100);
}

TEST_F(Gameplay, AWholeGameEndsWithTheReport) {
  PlaceFleet();
  ASSERT_TRUE(Game->WaitForLine("Game: Компьютер расставил все корабли.", 20s));
  WaitForQuiet(300ms, 5s);

  // Fire at every cell in order. Right after one of the user's shots, a second click goes to the
  // last cell: when the shot missed, that click falls into the computer's turn and must do
  // nothing; after a hit it is an ordinary shot.
  std::deque<TPoint> remaining;
  for (int row = 0; row < 10; ++row)
    for (int column = 0; column < 10; ++column) remaining.push_back({column, row});
  bool probed = false;
  bool over = false;
  while (!remaining.empty() && !over) {
    const TPoint target = remaining.front();
    remaining.pop_front();
    const TPoint cell = ComputerCell(target.X, target.Y);
    const auto before = UserShots().size();
    ClickToFire(target, 3s, [this] { return ShowsWinPicture(); });
    if (UserShots().size() == before && ShowsWinPicture()) {
      over = true;  // the computer's last shot ended the game while the screen was still
      break;
    }
    ASSERT_EQ(UserShots().size(), before + 1) << "no shot at " << Sector(target.X, target.Y);
    EXPECT_EQ(UserShots().back(), Sector(target.X, target.Y));
    const std::size_t shotLine = Game->ConsoleLines().size() - 1;
    const bool probing = !probed && !remaining.empty();
    const TPoint probe = probing ? remaining.back() : TPoint{};
    if (probing) {
      const TPoint p = ComputerCell(probe.X, probe.Y);
      ClickAt(p.X + 16, p.Y + 16);
    }
    WaitForQuiet(900ms, 60s);
    // The last explosion frame stays on the window until the next copy: a move refreshes it.
    MoveTo(600, 450);
    const bool missed = WaitForTile(cell, Miss, 500ms);
    bool probeFired = false;
    const auto lines = Game->ConsoleLines();
    for (std::size_t i = shotLine + 1; i < lines.size(); ++i)
      probeFired |= probing && lines[i] == UserShotPrefix + Sector(probe.X, probe.Y);
    if (probing && missed) {
      EXPECT_FALSE(probeFired) << "a click during the computer's turn fired";
      probed = true;
    } else if (probeFired) {
      remaining.pop_back();
    }
    over = ShowsWinPicture();
  }
  ASSERT_TRUE(over) << (Shot().Save("/tmp/kravelon-gameplay.png"), "see /tmp/kravelon-gameplay.png");
  EXPECT_TRUE(probed);

  // First timer tick (5 s in a run's first game): the panel without text; 1 s later, the text.
  auto panel = [&] {
    const TScreenshot s = Shot();
    std::vector<TColor> pixels;
    for (int y = 296; y < 424; y += 2)
      for (int x = 64; x < 632; x += 2) pixels.push_back(s.At(x, y));
    return pixels;
  };
  const auto winPanel = panel();
  auto waitForChange = [&](const std::vector<TColor>& from, std::chrono::seconds timeout) {
    const auto until = std::chrono::steady_clock::now() + timeout;
    while (std::chrono::steady_clock::now() < until) {
      if (panel() != from) return true;
      std::this_thread::sleep_for(50ms);
    }
    return false;
  };
  ASSERT_TRUE(waitForChange(winPanel, 8s)) << "no report panel";
  std::this_thread::sleep_for(100ms);
  const auto blankReport = panel();
  ASSERT_TRUE(waitForChange(blankReport, 3s)) << "no result text";
  const TScreenshot s = Shot();
  int yellow = 0;
  for (int y = 300; y < 420; ++y)
    for (int x = 70; x < 626; ++x) {
      const TColor c = s.At(x, y);
      yellow += c.R > 220 && c.G > 220 && c.B < 60;
    }
  EXPECT_GT(yellow, 1000);

  // A click opens the game-over menu: the statistics box, then a new game on two empty boards.
  ClickAt(348, 100);
  ASSERT_TRUE(WaitForMenu(OverItems));
  ChooseItem(OverItems, OverStatistics);
  ASSERT_TRUE(X.WaitForWindow("Кравелон", 3s)) << "no statistics box";
  X.Key("Return");
  const auto until = std::chrono::steady_clock::now() + 3s;
  while (X.FindWindow("Кравелон") && std::chrono::steady_clock::now() < until)
    std::this_thread::sleep_for(30ms);
  ASSERT_FALSE(X.FindWindow("Кравелон"));
  X.Key("Escape");
  ASSERT_TRUE(WaitForMenu(OverItems));
  ChooseItem(OverItems, OverRestart);
  ASSERT_TRUE(WaitForMenu(OverItems, false));
  ASSERT_TRUE(WaitForGames(2)) << "no new game";
  WaitForQuiet(300ms, 5s);
  const TScreenshot fresh = Shot();
  EXPECT_EQ(TilesOnBoard(fresh, true, Water), 100);
  EXPECT_EQ(TilesOnBoard(fresh, false, Water), 100);
}

}  // namespace

}  // namespace kravelon
