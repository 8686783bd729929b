// The popup menus in the real game: where they open and how they look, and what their items do.
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

#include "tests/window/GameScreen.h"

namespace kravelon {

namespace {

class Menus : public Gameplay {};

TEST_F(Menus, EscapeAndTheMenuButtonOpenTheMainMenuInTheMiddleOfTheScreen) {
  const TImage selected = ReadJpeg(Asset("MenuSelected.jpg"));
  const TPoint first = MenuItemCentre(MainItems, MainRestart);
  X.MoveTo(first.X, first.Y);  // where the first item will stand
  std::this_thread::sleep_for(200ms);
  const TScreenshot before = X.Shot();
  X.Key("Escape");
  ASSERT_TRUE(WaitForMenu(MainItems));
  const TScreenshot s = X.Shot();
  // Top edge at y = 220, 262 pixels wide around x = 512, 5 × 64 + 6 high.
  const int top = 220, left = 512 - 131, right = left + 262, bottom = top + 326;
  EXPECT_EQ(MenuTop(MainItems), top);
  for (int x : {left, 512, right - 1}) {
    EXPECT_EQ(s.At(x, top - 1), before.At(x, top - 1)) << x;
    EXPECT_NE(s.At(x, top), before.At(x, top)) << x;
    EXPECT_EQ(s.At(x, bottom), before.At(x, bottom)) << x;
  }
  EXPECT_EQ(s.At(left - 1, 300), before.At(left - 1, 300));
  EXPECT_EQ(s.At(right, 300), before.At(right, 300));
  // The item under the pointer stands on its picture; the others are blue.
  const int itemLeft = left + 3, itemTop = top + 3;
  for (TPoint p : {TPoint{2, 2}, TPoint{250, 5}, TPoint{5, 60}, TPoint{253, 61}}) {
    EXPECT_EQ(s.At(itemLeft + p.X, itemTop + p.Y), selected.At(p.X, p.Y)) << p.X << "," << p.Y;
    for (int i = 1; i < MainItems; ++i)
      EXPECT_EQ(s.At(itemLeft + p.X, itemTop + 64 * i + p.Y), clr::Blue) << i;
  }
  // Escape closes it; the menu button opens it again.
  X.Key("Escape");
  ASSERT_TRUE(WaitForMenu(MainItems, false));
  EXPECT_EQ(X.Shot().At(512, 300), before.At(512, 300));
  X.ClickAt(Frame.Left + 36, Frame.Top + 20);
  ASSERT_TRUE(WaitForMenu(MainItems));
  X.Key("Escape");
  ASSERT_TRUE(WaitForMenu(MainItems, false));
}

TEST_F(Menus, ArrangeAfterOneShipPlacedByMouseCompletesBothFleets) {
  const TPoint cell = UserCell(0, 0);
  ClickAt(cell.X + 16, cell.Y + 16);
  ASSERT_TRUE(WaitForTile(UserCell(0, 3), Ship, 3s));
  Menu(MainItems, MainArrange);
  ASSERT_TRUE(Game->WaitForLine("Game: Компьютер расставил все корабли.", 20s));
  WaitForQuiet(300ms, 5s);
  const TScreenshot s = Shot();
  EXPECT_EQ(TilesOnBoard(s, true, Ship), 20);
  for (int row = 0; row < 4; ++row) EXPECT_TRUE(Same(s, UserCell(0, row).X, UserCell(0, row).Y, Ship));
  EXPECT_EQ(TilesOnBoard(s, false, Water), 100);
}

TEST_F(Menus, ExitAsksFirstAndNoGoesOn) {
  Menu(MainItems, MainExit);
  ASSERT_TRUE(WaitForMenu(ExitItems));
  ChooseItem(ExitItems, ExitTitle);  // the title line cannot be chosen
  std::this_thread::sleep_for(300ms);
  ASSERT_TRUE(MenuShown(ExitItems));
  ChooseItem(ExitItems, ExitNo);
  ASSERT_TRUE(WaitForMenu(ExitItems, false));
  EXPECT_FALSE(Game->WaitForExit(500ms));
  // Still playing: a ship goes down where it is put.
  ClickAt(UserCell(0, 0).X + 16, UserCell(0, 0).Y + 16);
  EXPECT_TRUE(WaitForTile(UserCell(0, 0), Ship, 3s));

  Menu(MainItems, MainExit);
  ASSERT_TRUE(WaitForMenu(ExitItems));
  ChooseItem(ExitItems, ExitYes);
  EXPECT_EQ(Game->WaitForExit(5s), 0);
}

TEST_F(Menus, AboutDuringTheComputersTurnLetsItPlayOnBehind) {
  const TImage about = ReadJpeg(Asset("About.jpg"));
  // Away from the version text and from the explosions over the left board.
  auto showsAbout = [&] {
    const TScreenshot s = Shot();
    for (int y = 380; y < 480; y += 9)
      for (int x = 400; x < 690; x += 9)
        if (!(s.At(x, y) == about.At(x, y))) return false;
    return true;
  };
  auto computerShots = [&] {
    const auto lines = Game->ConsoleLines();
    return std::count_if(lines.begin(), lines.end(), [](const std::string& l) {
      return l.starts_with("Game: Компьютер произвел выстрел в сектор ");
    });
  };
  Menu(MainItems, MainArrange);
  ASSERT_TRUE(Game->WaitForLine("Game: Компьютер расставил все корабли.", 20s));
  WaitForQuiet(300ms, 5s);
  // Fire until a shot misses; the menu is asked for at once, so it opens before the computer's
  // first shot.
  bool behind = false;
  for (int i = 0; i < 30 && !behind; ++i) {
    const TPoint cell = ComputerCell(i % 10, i / 10);
    ClickAt(cell.X + 16, cell.Y + 16);
    std::this_thread::sleep_for(50ms);
    const auto before = computerShots();
    Menu(MainItems, MainAbout);
    const auto until = std::chrono::steady_clock::now() + 3s;
    while (!showsAbout() && std::chrono::steady_clock::now() < until) std::this_thread::sleep_for(30ms);
    ASSERT_TRUE(showsAbout()) << (Shot().Save("/tmp/kravelon-about.png"), "see /tmp/kravelon-about.png");
    std::this_thread::sleep_for(1500ms);
    behind = computerShots() > before;
    if (behind) {
      WaitForQuiet(1s, 60s);
      MoveTo(600, 450);
      EXPECT_TRUE(showsAbout()) << "the about screen stays while the computer plays";
    }
    ClickAt(600, 450);  // back to the board
    const TPoint fired = ComputerCell(i % 10, i / 10);
    ASSERT_TRUE(WaitForTile(fired, Miss, 3s) || WaitForTile(fired, Hit, 1s) ||
                WaitForTile(fired, Sunk, 1s));
  }
  EXPECT_TRUE(behind);
}

class SoundSwitch : public Gameplay {
 protected:
  void SetUp() override {
    Options.DiskAudio = true;
    Gameplay::SetUp();
  }
  std::string Audio() const {
    std::ifstream in(Game->AudioFile(), std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  }
  // What was played after `before` was read: the device closes between sounds, and the file
  // starts afresh when it opens again.
  std::string PlayedSince(const std::string& before) const {
    const std::string now = Audio();
    return now.starts_with(before) ? now.substr(before.size()) : now;
  }
  static bool Silent(const std::string& samples) {
    return std::all_of(samples.begin(), samples.end(), [](char c) { return c == 0; });
  }
  // Fires at the next cells until one shot is logged.
  void FireOnce(int& next) {
    for (; next < 100; ++next) {
      const auto before = Game->ConsoleLines().size();
      const TPoint cell = ComputerCell(next % 10, next / 10);
      ClickAt(cell.X + 16, cell.Y + 16);
      if (Game->WaitForLine(UserShotPrefix + Sector(next % 10, next / 10), 2s)) {
        ++next;
        WaitForQuiet(800ms, 60s);
        return;
      }
      ASSERT_GE(Game->ConsoleLines().size(), before);
    }
  }
};

TEST_F(SoundSwitch, UntickedTheShotsThatFollowAreSilent) {
  ClickAt(UserCell(0, 0).X + 16, UserCell(0, 0).Y + 16);  // a ship goes down with its sound
  ASSERT_TRUE(WaitForTile(UserCell(0, 0), Ship, 3s));
  std::this_thread::sleep_for(500ms);
  ASSERT_FALSE(Silent(Audio())) << "the placing sound was not heard";

  Menu(MainItems, MainSound);
  std::this_thread::sleep_for(500ms);
  const std::string mark = Audio();
  Menu(MainItems, MainArrange);
  ASSERT_TRUE(Game->WaitForLine("Game: Компьютер расставил все корабли.", 20s));
  int next = 0;
  for (int shot = 0; shot < 3; ++shot) FireOnce(next);
  EXPECT_TRUE(Silent(PlayedSince(mark)));

  Menu(MainItems, MainSound);  // ticked again, the next shot is heard
  const std::string again = Audio();
  FireOnce(next);
  std::this_thread::sleep_for(500ms);
  EXPECT_FALSE(Silent(PlayedSince(again)));
}

}  // namespace

}  // namespace kravelon
