// Playing the real game with the pointer: placing the fleet, firing, and the game-over screens.
#include <gtest/gtest.h>

#include <algorithm>
#include <deque>
#include <thread>

#include "tests/window/Pictures.h"
#include "tests/window/RunningGame.h"

using namespace std::chrono_literals;

namespace {

constexpr const char* UserShotPrefix = "Game: Пользователь произвел выстрел в сектор ";
const char* const Letters[] = {"А", "Б", "В", "Г", "Д", "Е", "Ж", "З", "И", "К"};

std::string Sector(int column, int row) { return std::string(Letters[column]) + std::to_string(row + 1); }

bool Same(const TScreenshot& shot, int left, int top, const TImage& tile) {
  for (int y = 0; y < tile.Height; ++y)
    for (int x = 0; x < tile.Width; ++x)
      if (!(shot.At(left + x, top + y) == tile.At(x, y))) return false;
  return true;
}

// A legal fleet for vertical ships (the orientation a run starts with): (column, row) of each
// ship's top cell in placement order.
constexpr TPoint Fleet[] = {{0, 0}, {2, 0}, {4, 0}, {6, 0}, {8, 0},
                            {0, 5}, {2, 5}, {4, 5}, {6, 5}, {8, 5}};
constexpr int FleetSizes[] = {4, 3, 3, 2, 2, 2, 1, 1, 1, 1};

class Gameplay : public RunningGame {
 protected:
  void SetUp() override {
    RunningGame::SetUp();
    if (HasFatalFailure()) return;
    Water = ReadJpeg(Asset("Empty.jpg"));
    Ship = ReadJpeg(Asset("Ship.jpg"));
    Hit = ReadJpeg(Asset("Shipoff.jpg"));
    Miss = ReadJpeg(Asset("Miss.jpg"));
    Win = ReadJpeg(Asset("Win.jpg"));
    Allowed = Ship;
    for (std::size_t i = 0; i < Allowed.Pixels.size(); ++i) {
      const TColor a = Ship.Pixels[i], b = Water.Pixels[i];
      Allowed.Pixels[i] = {static_cast<std::uint8_t>((a.R + b.R) / 2),
                           static_cast<std::uint8_t>((a.G + b.G) / 2),
                           static_cast<std::uint8_t>((a.B + b.B) / 2)};
    }
  }

  static TPoint UserCell(int column, int row) { return {4 + 32 * column, 36 + 32 * row}; }
  static TPoint ComputerCell(int column, int row) { return {372 + 32 * column, 36 + 32 * row}; }

  // Waits until the screen shows `tile` at the cell, or the time is up.
  bool WaitForTile(TPoint cell, const TImage& tile, std::chrono::milliseconds timeout) {
    const auto until = std::chrono::steady_clock::now() + timeout;
    do {
      if (Same(Shot(), cell.X, cell.Y, tile)) return true;
      std::this_thread::sleep_for(30ms);
    } while (std::chrono::steady_clock::now() < until);
    return false;
  }

  // Waits until the console has been quiet for `quiet` (the computer's turn is over).
  void WaitForQuiet(std::chrono::milliseconds quiet, std::chrono::seconds timeout) {
    auto last = Game->ConsoleLines().size();
    auto since = std::chrono::steady_clock::now();
    const auto until = since + timeout;
    while (std::chrono::steady_clock::now() < until) {
      std::this_thread::sleep_for(50ms);
      const auto now = Game->ConsoleLines().size();
      if (now != last) {
        last = now;
        since = std::chrono::steady_clock::now();
      } else if (std::chrono::steady_clock::now() - since >= quiet) {
        return;
      }
    }
  }

  std::vector<std::string> UserShots() {
    std::vector<std::string> shots;
    for (const auto& l : Game->ConsoleLines())
      if (l.starts_with(UserShotPrefix)) shots.push_back(l.substr(std::string(UserShotPrefix).size()));
    return shots;
  }

  bool ShowsWinPicture() {
    const TScreenshot s = Shot();
    for (int y = 100; y < 250; y += 7)
      for (int x = 100; x < 600; x += 7)
        if (!(s.At(x, y) == Win.At(x, y - 4))) return false;
    return true;
  }

  void PlaceFleet() {
    for (int i = 0; i < 10; ++i) {
      const TPoint cell = UserCell(Fleet[i].X, Fleet[i].Y);
      ClickAt(cell.X + 16, cell.Y + 16);
      // Each ship is written with its sound; the next click waits for the ship on the board.
      ASSERT_TRUE(WaitForTile(cell, Ship, 3s)) << "ship " << i;
    }
  }

  TImage Water, Ship, Hit, Miss, Win, Allowed;
};

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
  int shipCells = 0, hiddenWater = 0;
  for (int column = 0; column < 10; ++column)
    for (int row = 0; row < 10; ++row) {
      shipCells += Same(s, UserCell(column, row).X, UserCell(column, row).Y, Ship);
      hiddenWater += Same(s, ComputerCell(column, row).X, ComputerCell(column, row).Y, Water);
    }
  EXPECT_EQ(shipCells, 20);
  EXPECT_EQ(hiddenWater, 100);
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
    // A click that falls into the tail of the computer's turn is ignored: click again.
    for (int attempt = 0; attempt < 5 && UserShots().size() == before; ++attempt) {
      ClickAt(cell.X + 16, cell.Y + 16);
      const auto until = std::chrono::steady_clock::now() + 3s;
      while (UserShots().size() == before && std::chrono::steady_clock::now() < until)
        std::this_thread::sleep_for(10ms);
      if (UserShots().size() == before && ShowsWinPicture()) break;
    }
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
}

}  // namespace
