#pragma once
// A running game with the pictures of its cells at hand: placing, firing and reading the boards
// back from the screen.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <string>
#include <thread>
#include <vector>

#include "tests/window/Pictures.h"
#include "tests/window/RunningGame.h"

namespace kravelon {

using namespace std::chrono_literals;

constexpr const char* UserShotPrefix = "Game: Пользователь произвел выстрел в сектор ";
const char* const Letters[] = {"А", "Б", "В", "Г", "Д", "Е", "Ж", "З", "И", "К"};

inline std::string Sector(int column, int row) { return std::string(Letters[column]) + std::to_string(row + 1); }

inline bool Same(const TScreenshot& shot, int left, int top, const TImage& tile) {
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
    Sunk = ReadJpeg(Asset("Sunk.jpg"));
    Revealed = ReadJpeg(Asset("Revealed.jpg"));
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

  // Waits until the console shows the start of the `games`-th game of the run.
  bool WaitForGames(long games, std::chrono::milliseconds timeout = 3000ms) {
    const auto until = std::chrono::steady_clock::now() + timeout;
    for (;;) {
      const auto lines = Game->ConsoleLines();
      if (std::count(lines.begin(), lines.end(), "Game: Сброс игры") >= games) return true;
      if (std::chrono::steady_clock::now() >= until) return false;
      std::this_thread::sleep_for(30ms);
    }
  }

  std::vector<std::string> UserShots() {
    std::vector<std::string> shots;
    for (const auto& l : Game->ConsoleLines())
      if (l.starts_with(UserShotPrefix)) shots.push_back(l.substr(std::string(UserShotPrefix).size()));
    return shots;
  }

  // Clicks the computer's cell until the console shows a shot of the user's, `wait` for each
  // click: a click in the tail of an explosion or of the computer's turn is not taken. Gives up
  // after five clicks, or once `over` says the game has ended.
  template <class TOver>
  void ClickToFire(TPoint target, std::chrono::milliseconds wait, TOver over) {
    const TPoint cell = ComputerCell(target.X, target.Y);
    const auto before = UserShots().size();
    for (int attempt = 0; attempt < 5 && UserShots().size() == before; ++attempt) {
      ClickAt(cell.X + 16, cell.Y + 16);
      const auto until = std::chrono::steady_clock::now() + wait;
      while (UserShots().size() == before && std::chrono::steady_clock::now() < until)
        std::this_thread::sleep_for(10ms);
      if (UserShots().size() == before && over()) break;
    }
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

  // The popup menus, in screen coordinates: n items of 64 pixels hang from the middle of the
  // 1024 × 768 screen, framed by 3 pixels; a menu too long for the window of 488 has lower items.
  static int MenuItemHeight(int n) { return std::clamp((488 - 16) / n, 48, 64); }
  static int MenuTop(int n) { return 384 - MenuItemHeight(n) / 2 * n - 4; }
  static TPoint MenuItemCentre(int n, int i) {
    return {512, MenuTop(n) + 3 + MenuItemHeight(n) * i + MenuItemHeight(n) / 2};
  }
  // The menu's raised frame is up: its light inner line under the top edge.
  bool MenuShown(int n) {
    const TScreenshot s = X.Shot();
    return s.At(512, MenuTop(n) + 1) == clr::White &&
           s.At(512, MenuTop(n) + MenuItemHeight(n) * n + 5) == TColor{64, 64, 64};
  }
  bool WaitForMenu(int n, bool shown = true, std::chrono::milliseconds timeout = 3s) {
    const auto until = std::chrono::steady_clock::now() + timeout;
    do {
      if (MenuShown(n) == shown) return true;
      std::this_thread::sleep_for(30ms);
    } while (std::chrono::steady_clock::now() < until);
    return false;
  }
  void ChooseItem(int n, int i) {
    const TPoint p = MenuItemCentre(n, i);
    X.MoveTo(p.X, p.Y);
    std::this_thread::sleep_for(60ms);
    X.Click();
  }
  // Escape opens the main menu (or the game-over menu) and an item is chosen with the pointer.
  void Menu(int n, int i) {
    X.Key("Escape");
    ASSERT_TRUE(WaitForMenu(n)) << "no menu of " << n << " items";
    ChooseItem(n, i);
    ASSERT_TRUE(WaitForMenu(n, false)) << "the menu stayed open";
  }

  int TilesOnBoard(const TScreenshot& s, bool user, const TImage& tile) {
    int n = 0;
    for (int column = 0; column < 10; ++column)
      for (int row = 0; row < 10; ++row) {
        const TPoint cell = user ? UserCell(column, row) : ComputerCell(column, row);
        n += Same(s, cell.X, cell.Y, tile);
      }
    return n;
  }

  TImage Water, Ship, Hit, Miss, Sunk, Revealed, Win, Allowed;
};

// The main menu's items, and those of the exit confirmation, the game-over menu and the game menu.
enum { MainRestart, MainArrange, MainSound, MainAbout, MainExit, MainItems };
enum { ExitTitle, ExitYes, ExitNo, ExitItems };
enum { OverRestart, OverStatistics, OverExit, OverItems };
enum {
  GameCabinBoy,
  GameSailor,
  GameCaptain,
  GameAdmiral,
  GameTouching,
  GameSalvo,
  GameExtraShot,
  GameHost,
  GameJoin,
  GameItems
};

}  // namespace kravelon
