// Playing the real game from the keyboard alone, and the pointer taken again where it really is
// once a menu, a box or the about screen has gone.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <optional>
#include <thread>

#include "tests/window/GameScreen.h"

namespace kravelon {

using namespace std::chrono_literals;

namespace {

// The keys' frame around a cell: yellow on its edge, black just inside.
bool Framed(const TScreenshot& s, TPoint cell) {
  return s.At(cell.X, cell.Y) == clr::Yellow && s.At(cell.X + 31, cell.Y + 31) == clr::Yellow &&
         s.At(cell.X + 2, cell.Y + 16) == clr::Black;
}

// The whole game with no pointer event at all, with the X server's keyboard layout as given.
class KeyboardOnly : public Gameplay, public ::testing::WithParamInterface<const char*> {
 protected:
  void SetUp() override {
    const std::string layout = GetParam();
    const std::string command = "setxkbmap -display " + X.DisplayName() + " " + layout;
    ASSERT_EQ(std::system(command.c_str()), 0) << command;
    // The R key types "к" with the Russian layout: the game must take it by its place.
    TurnKey = layout == "ru" ? "Cyrillic_ka" : "r";
    Gameplay::SetUp();
  }

  void Press(const char* key, int times = 1) {
    for (int i = 0; i < times; ++i) {
      X.Key(key);
      std::this_thread::sleep_for(30ms);
    }
  }

  // Moves the target from `from` to `to` on the board being played.
  void Walk(TPoint from, TPoint to) {
    Press(to.X > from.X ? "Right" : "Left", std::abs(to.X - from.X));
    Press(to.Y > from.Y ? "Down" : "Up", std::abs(to.Y - from.Y));
  }

  // The cell shows `tile` within the keys' frame, which covers its outer three pixels.
  bool WaitForTileInside(TPoint cell, const TImage& tile, std::chrono::milliseconds timeout) {
    const auto until = std::chrono::steady_clock::now() + timeout;
    do {
      const TScreenshot s = Shot();
      bool same = true;
      for (int y = 3; y < tile.Height - 3 && same; ++y)
        for (int x = 3; x < tile.Width - 3 && same; ++x) same = s.At(cell.X + x, cell.Y + y) == tile.At(x, y);
      if (same) return true;
      std::this_thread::sleep_for(30ms);
    } while (std::chrono::steady_clock::now() < until);
    return false;
  }

  // The computer's cell the keys' frame is on, if any.
  std::optional<TPoint> FramedComputerCell() {
    const TScreenshot s = Shot();
    for (int row = 0; row < 10; ++row)
      for (int column = 0; column < 10; ++column)
        if (Framed(s, ComputerCell(column, row))) return TPoint{column, row};
    return std::nullopt;
  }
  template <class TCondition>
  static bool WaitFor(TCondition done, std::chrono::milliseconds timeout) {
    const auto until = std::chrono::steady_clock::now() + timeout;
    while (!done()) {
      if (std::chrono::steady_clock::now() >= until) return false;
      std::this_thread::sleep_for(20ms);
    }
    return true;
  }

  const char* TurnKey = "r";
};

TEST_P(KeyboardOnly, FromLaunchToTheReportAndIntoASecondGame) {
  // The first arrow shows the target on А1, where the first ship goes; R turns the preview
  // across and back.
  Press("Down");
  Press(TurnKey);
  ASSERT_TRUE(WaitForTile(UserCell(3, 0), Allowed, 2s)) << "R did not turn the ship";
  Press(TurnKey);
  ASSERT_TRUE(WaitForTile(UserCell(0, 3), Allowed, 2s)) << "R did not turn the ship back";
  TPoint at{0, 0};
  for (int i = 0; i < 10; ++i) {
    Walk(at, Fleet[i]);
    at = Fleet[i];
    Press(i % 2 == 0 ? "space" : "Return");
    ASSERT_TRUE(WaitForTileInside(UserCell(at.X, at.Y), Ship, 3s)) << "ship " << i;
  }
  ASSERT_TRUE(Game->WaitForLine("Game: Компьютер расставил все корабли.", 20s));
  WaitForQuiet(300ms, 5s);

  // Battle: the first key shows the target where the keys left it; Home and Up take it to А1.
  Press("Home");
  Press("Up", at.Y);
  std::this_thread::sleep_for(100ms);
  EXPECT_TRUE(Framed(Shot(), ComputerCell(0, 0))) << (Shot().Save("/tmp/kravelon-frame.png"), "no frame on А1");
  bool over = false;
  for (int shot = 0; shot < 100 && !over; ++shot) {
    const TPoint target{shot % 10, shot / 10};
    const auto before = UserShots().size();
    // Keys that fall into the tail of the computer's turn do nothing: the frame tells where the
    // target really is, and the keys go again from there.
    for (int attempt = 0; attempt < 5 && UserShots().size() == before && !ShowsWinPicture(); ++attempt) {
      if (attempt > 0) WaitForQuiet(900ms, 60s);
      if (const auto from = FramedComputerCell()) Walk(*from, target);
      if (!WaitFor([&] { return Framed(Shot(), ComputerCell(target.X, target.Y)); }, 1s)) continue;
      Press("space");
      WaitFor([&] { return UserShots().size() > before; }, 3s);
    }
    if (UserShots().size() == before && ShowsWinPicture()) break;
    ASSERT_EQ(UserShots().size(), before + 1) << "no shot at " << Sector(target.X, target.Y);
    EXPECT_EQ(UserShots().back(), Sector(target.X, target.Y));
    // The explosion, and the computer's turn after a miss.
    WaitForQuiet(900ms, 60s);
    over = ShowsWinPicture();
  }
  over = over || ShowsWinPicture();
  ASSERT_TRUE(over) << (Shot().Save("/tmp/kravelon-keyboard.png"), "see /tmp/kravelon-keyboard.png");

  // Once the report is up, Space opens the game-over menu; the keys choose the statistics.
  const auto reportBy = std::chrono::steady_clock::now() + 10s;
  do {
    std::this_thread::sleep_for(500ms);
    Press("space");
  } while (!WaitForMenu(OverItems, true, 300ms) && std::chrono::steady_clock::now() < reportBy);
  ASSERT_TRUE(WaitForMenu(OverItems)) << "Space opened no game-over menu";
  Press("Home");
  Press("Down");
  Press("Return");
  ASSERT_TRUE(X.WaitForWindow("Кравелон", 3s)) << "no statistics box";
  Press("Return");
  const auto closedBy = std::chrono::steady_clock::now() + 3s;
  while (X.FindWindow("Кравелон") && std::chrono::steady_clock::now() < closedBy)
    std::this_thread::sleep_for(30ms);
  ASSERT_FALSE(X.FindWindow("Кравелон"));

  // Restart, and the first ship of the second game placed by keys.
  Press("Escape");
  ASSERT_TRUE(WaitForMenu(OverItems));
  Press("End");
  Press("Up", 2);
  Press("Return");
  ASSERT_TRUE(WaitForGames(2)) << "no new game";
  WaitForQuiet(300ms, 5s);
  Press("Home");  // from the cell of the last shot to its row's first
  Press("Up", 9);
  Press("space");
  ASSERT_TRUE(WaitForTile(UserCell(0, 3), Ship, 3s) && WaitForTileInside(UserCell(0, 0), Ship, 1s))
      << (Shot().Save("/tmp/kravelon-keyboard.png"), "no ship in the second game");
}

INSTANTIATE_TEST_SUITE_P(Layouts, KeyboardOnly, ::testing::Values("us", "ru"));

// Where the pointer really is decides the next click once a modal has gone.
class PointerAfterModals : public Gameplay {
 protected:
  // The sector under a point of the screen, on the computer's board.
  std::string SectorAtScreen(TPoint p) {
    const int x = p.X - Frame.Left - 372, y = p.Y - Frame.Top - 36;
    if (x <= 0 || y <= 0 || x >= 320 || y >= 320) return "";
    return Sector(x / 32, y / 32);
  }
  // Opens the main menu with Escape and chooses an item near its right end, which lies over
  // the computer's board; returns the screen point it clicked.
  TPoint ChooseOverTheBoard(int item) {
    X.Key("Escape");
    EXPECT_TRUE(WaitForMenu(MainItems));
    const TPoint p{600, MenuItemCentre(MainItems, item).Y};
    X.MoveTo(p.X, p.Y);
    std::this_thread::sleep_for(60ms);
    X.Click();
    EXPECT_TRUE(WaitForMenu(MainItems, false));
    return p;
  }
  // Clicks where the pointer is and returns the shot it made.
  std::string ClickAndReadShot() {
    const auto before = UserShots().size();
    X.Click();
    const auto until = std::chrono::steady_clock::now() + 3s;
    while (UserShots().size() == before && std::chrono::steady_clock::now() < until)
      std::this_thread::sleep_for(10ms);
    return UserShots().size() == before ? "" : UserShots().back();
  }
};

TEST_F(PointerAfterModals, TheNextClickFiresWhereThePointerIs) {
  // The frame shows while the keys drive the target, and goes once the pointer moves on the board.
  X.Key("Down");
  std::this_thread::sleep_for(200ms);
  EXPECT_TRUE(Framed(Shot(), UserCell(0, 0)));
  MoveTo(UserCell(5, 5).X + 16, UserCell(5, 5).Y + 16);
  std::this_thread::sleep_for(200ms);
  EXPECT_FALSE(Framed(Shot(), UserCell(0, 0)));
  EXPECT_TRUE(Same(Shot(), UserCell(0, 0).X, UserCell(0, 0).Y, Water));
  PlaceFleet();
  ASSERT_TRUE(Game->WaitForLine("Game: Компьютер расставил все корабли.", 20s));
  WaitForQuiet(300ms, 5s);
  const TPoint a1 = ComputerCell(0, 0);

  // A menu: the pointer over А1, Escape, "Звук" chosen over another sector, a click there.
  MoveTo(a1.X + 16, a1.Y + 16);
  std::this_thread::sleep_for(100ms);
  const std::string underMenuItem = SectorAtScreen(ChooseOverTheBoard(MainSound));
  ASSERT_EQ(underMenuItem, "В7");
  std::this_thread::sleep_for(100ms);
  EXPECT_EQ(ClickAndReadShot(), underMenuItem);
  WaitForQuiet(900ms, 60s);

  // A box: F1 over А1, the pointer moved while it is open, Return closes it.
  MoveTo(a1.X + 16, a1.Y + 16);
  std::this_thread::sleep_for(100ms);
  X.Key("F1");
  ASSERT_TRUE(X.WaitForWindow("Кравелон", 3s)) << "no box of keys";
  const TPoint k10 = ComputerCell(9, 9);
  MoveTo(k10.X + 16, k10.Y + 16);
  std::this_thread::sleep_for(100ms);
  X.Key("Return");
  const auto closedBy = std::chrono::steady_clock::now() + 3s;
  while (X.FindWindow("Кравелон") && std::chrono::steady_clock::now() < closedBy)
    std::this_thread::sleep_for(30ms);
  std::this_thread::sleep_for(100ms);
  EXPECT_EQ(ClickAndReadShot(), "К10");
  WaitForQuiet(900ms, 60s);

  // The about screen: chosen over another sector, a click there goes back, the next one fires.
  MoveTo(a1.X + 16, a1.Y + 16);
  std::this_thread::sleep_for(100ms);
  const std::string underAbout = SectorAtScreen(ChooseOverTheBoard(MainAbout));
  ASSERT_EQ(underAbout, "В9");
  std::this_thread::sleep_for(200ms);
  X.Click();  // back from the about screen
  std::this_thread::sleep_for(300ms);
  EXPECT_EQ(ClickAndReadShot(), underAbout);
}

}  // namespace

}  // namespace kravelon
