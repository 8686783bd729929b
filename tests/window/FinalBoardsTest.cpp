// A game lost on purpose, then the final boards: the computer's ships nobody found are drawn
// revealed on Tab, and never before the game ends.
#include <gtest/gtest.h>

#include <thread>

#include "tests/window/GameScreen.h"

namespace kravelon {

using namespace std::chrono_literals;

namespace {

class FinalBoards : public Gameplay {
 protected:
  void SetUp() override {
    // The same arrangements and the same shots of the computer on every run.
    Options.Environment = {"KRAVELON_SEED=20250611"};
    Gameplay::SetUp();
  }

  // How many cells of a board show each picture.
  struct TCount {
    int Water = 0, Miss = 0, Hit = 0, Sunk = 0, Ship = 0, Revealed = 0, Other = 0;
  };
  TCount Count(const TScreenshot& s, bool user) {
    TCount n;
    for (int column = 0; column < 10; ++column)
      for (int row = 0; row < 10; ++row) {
        const TPoint at = user ? UserCell(column, row) : ComputerCell(column, row);
        if (Same(s, at.X, at.Y, Water))
          ++n.Water;
        else if (Same(s, at.X, at.Y, Miss))
          ++n.Miss;
        else if (Same(s, at.X, at.Y, Hit))
          ++n.Hit;
        else if (Same(s, at.X, at.Y, Sunk))
          ++n.Sunk;
        else if (Same(s, at.X, at.Y, Ship))
          ++n.Ship;
        else if (Same(s, at.X, at.Y, Revealed))
          ++n.Revealed;
        else
          ++n.Other;
      }
    return n;
  }
  bool WaitForBoards(bool shown, std::chrono::milliseconds timeout = 3s) {
    const auto until = std::chrono::steady_clock::now() + timeout;
    do {
      const TScreenshot s = Shot();
      const bool boards = Count(s, true).Other == 0 && Count(s, false).Other == 0;
      if (boards == shown && (shown || ShowsWinPicture())) return true;
      std::this_thread::sleep_for(50ms);
    } while (std::chrono::steady_clock::now() < until);
    return false;
  }
};

TEST_F(FinalBoards, ALostGameRevealsTheComputersUnfoundShipsOnTabAndNotBefore) {
  Menu(MainItems, MainArrange);
  ASSERT_TRUE(Game->WaitForLine("Game: Компьютер расставил все корабли.", 20s));
  WaitForQuiet(300ms, 5s);
  // Space with the pointer on А1 of the computer's board, again and again: after its first shot
  // every one is a miss, so the computer wins.
  const TPoint a1 = ComputerCell(0, 0);
  MoveTo(a1.X + 16, a1.Y + 16);
  std::this_thread::sleep_for(100ms);
  TCount battle;
  TScreenshot lastBattle;
  bool over = false;
  for (int turn = 0; turn < 150 && !over; ++turn) {
    X.Key("space");
    WaitForQuiet(900ms, 60s);
    const TScreenshot s = Shot();
    over = ShowsWinPicture();
    if (over) break;
    const TCount user = Count(s, true), computer = Count(s, false);
    ASSERT_EQ(user.Revealed + computer.Revealed, 0) << "turn " << turn;
    ASSERT_EQ(user.Other + computer.Other, 0)
        << (s.Save("/tmp/kravelon-final.png"), "see /tmp/kravelon-final.png");
    battle = computer;
    lastBattle = s;
  }
  ASSERT_TRUE(over) << "the computer did not win";
  // The computer's board as the battle left it: water, with at most А1 fired at.
  ASSERT_EQ(battle.Miss + battle.Hit + battle.Sunk, 1);

  X.Key("Tab");
  ASSERT_TRUE(WaitForBoards(true))
      << (Shot().Save("/tmp/kravelon-final.png"), "see /tmp/kravelon-final.png");
  const TScreenshot s = Shot();
  // Every ship of the user's sank; every segment of the computer's not hit is revealed, and
  // nothing else is.
  const TCount user = Count(s, true), computer = Count(s, false);
  EXPECT_EQ(user.Sunk, 20);
  EXPECT_EQ(computer.Hit + computer.Sunk + computer.Revealed, 20);
  EXPECT_EQ(computer.Revealed, 20 - battle.Hit - battle.Sunk);
  EXPECT_EQ(computer.Miss, battle.Miss);
  // А1 keeps the picture its shot left.
  int changed = 0;
  for (int y = 0; y < 32; ++y)
    for (int x = 0; x < 32; ++x)
      changed += !(s.At(a1.X + x, a1.Y + y) == lastBattle.At(a1.X + x, a1.Y + y));
  EXPECT_EQ(changed, 0);

  // Tab again, the report; once it carries its line, a click there shows the boards, and Escape
  // goes back.
  X.Key("Tab");
  ASSERT_TRUE(WaitForBoards(false));
  auto lineShown = [&] {
    const TScreenshot r = Shot();
    for (int y = 400; y < 422; ++y)
      for (int x = 260; x < 436; ++x) {
        const TColor c = r.At(x, y);
        if (c.R < 80 && c.G > 200 && c.B > 200) return true;
      }
    return false;
  };
  const auto until = std::chrono::steady_clock::now() + 10s;  // the panel, then its text
  while (!lineShown() && std::chrono::steady_clock::now() < until)
    std::this_thread::sleep_for(100ms);
  ASSERT_TRUE(lineShown()) << (Shot().Save("/tmp/kravelon-final.png"),
                               "see /tmp/kravelon-final.png");
  ClickAt(348, 412);
  ASSERT_TRUE(WaitForBoards(true));
  X.Key("Escape");
  ASSERT_TRUE(WaitForBoards(false));
  // Elsewhere on the report a click opens the game-over menu, as ever.
  ClickAt(348, 100);
  EXPECT_TRUE(WaitForMenu(OverItems));
}

}  // namespace

}  // namespace kravelon
