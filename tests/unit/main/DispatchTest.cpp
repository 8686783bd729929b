// What each input does in each game state, on the real main window off screen.
#include <algorithm>
#include <optional>

#include <SDL.h>

#include "Media/Layout.h"
#include "Media/Paint/Paint.h"
#include "Media/Sound/Sound.h"
#include "Toolkit/Keys.h"
#include "tests/unit/main/MainFixture.h"
#include "GameEngine/GameEngineProbe.h"

namespace kravelon {

namespace {

enum class TInput { LeftClick, RightClick, MiddleClick, Escape, OtherKey, MenuButton };

class DispatchTest : public MainWindowTest {
 protected:
  void SetUp() override {
    MainWindowTest::SetUp();
    Main = StartRecordingGame();
  }

  void Send(TInput input) {
    switch (input) {
      case TInput::LeftClick: Main->FormMouseDown(TMouseButton::Left); break;
      case TInput::RightClick: Main->FormMouseDown(TMouseButton::Right); break;
      case TInput::MiddleClick: Main->FormMouseDown(TMouseButton::Middle); break;
      case TInput::Escape: {
        char key = 27;
        Main->FormKeyPress(key);
        break;
      }
      case TInput::OtherKey: {
        char key = 'a';
        Main->FormKeyPress(key);
        break;
      }
      case TInput::MenuButton: Main->MenuButtonClick(); break;
    }
  }

  // The pointer over a cell of the computer's board.
  void PointAtComputerCell(int column, int row) {
    Main->FormMouseMove(372 + 32 * column + 10, 36 + 32 * row + 10);
  }

  int FiredOnComputerBoard() const {
    int n = 0;
    for (int c = 0; c < 10; ++c)
      for (int r = 0; r < 10; ++r) n += Window->Engine->ReadCell(c, r, 1).Fired;
    return n;
  }

  int ShipCellsOnUserBoard() const {
    int n = 0;
    for (int c = 0; c < 10; ++c)
      for (int r = 0; r < 10; ++r) n += !Window->Engine->ReadCell(c, r, 0).Empty;
    return n;
  }

  // Holds or lets go of a Ctrl key, as SDL reports it.
  static void ControlKey(bool held) { SDL_SetModState(held ? KMOD_LCTRL : KMOD_NONE); }

  TRecordingMain* Main = nullptr;
};

TEST_F(DispatchTest, EachInputInEachState) {
  struct TCase {
    int State;
    bool ReportShown;
    bool About;  // the about screen is up over the game
    TInput Input;
    std::optional<TMenuId> Menu;
    int StateAfter;
    bool Fires;
    bool AboutAfter;
  };
  const TCase cases[] = {
      {gsPlacing, false, false, TInput::Escape, TMenuId::MainMenu, gsPlacing, false, false},
      {gsPlacing, false, false, TInput::MenuButton, TMenuId::MainMenu, gsPlacing, false, false},
      {gsPlacing, false, false, TInput::OtherKey, std::nullopt, gsPlacing, false, false},
      {gsBattle, false, false, TInput::Escape, TMenuId::MainMenu, gsBattle, false, false},
      {gsBattle, false, false, TInput::LeftClick, std::nullopt, gsBattle, true, false},
      {gsBattle, false, false, TInput::RightClick, std::nullopt, gsBattle, true, false},
      {gsBattle, false, false, TInput::MiddleClick, std::nullopt, gsBattle, true, false},
      {gsReport, false, false, TInput::LeftClick, std::nullopt, gsReport, false, false},
      {gsReport, false, false, TInput::Escape, TMenuId::GameOverMenu, gsReport, false, false},
      {gsReport, false, false, TInput::MenuButton, TMenuId::GameOverMenu, gsReport, false, false},
      {gsReport, true, false, TInput::LeftClick, TMenuId::GameOverMenu, gsReport, false, false},
      // Once the report is up, any button opens the game-over menu.
      {gsReport, true, false, TInput::RightClick, TMenuId::GameOverMenu, gsReport, false, false},
      {gsReport, true, false, TInput::MiddleClick, TMenuId::GameOverMenu, gsReport, false, false},
      // On the about screen a click or Escape only goes back: no shot, no placement, no menu.
      {gsBattle, false, true, TInput::LeftClick, std::nullopt, gsBattle, false, false},
      {gsBattle, false, true, TInput::MiddleClick, std::nullopt, gsBattle, false, false},
      {gsPlacing, false, true, TInput::LeftClick, std::nullopt, gsPlacing, false, false},
      {gsPlacing, false, true, TInput::Escape, std::nullopt, gsPlacing, false, false},
      {gsBattle, false, true, TInput::OtherKey, std::nullopt, gsBattle, false, true},
      {gsBattle, false, true, TInput::MenuButton, TMenuId::MainMenu, gsBattle, false, true},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(::testing::Message() << "state " << c.State << (c.About ? " under the about screen" : "")
                                      << " input " << static_cast<int>(c.Input));
    Window->Engine->NewGame();
    Probe(*Window->Engine).State = c.State;
    Probe(*Window->Engine).ActiveSide = sdUser;
    if (c.ReportShown) {
      Window->Paint->ShowReportPanel();
    } else {
      Window->Paint->ResetReport();
    }
    Window->Paint->ShowAbout(c.About);
    Main->Opened.clear();
    PointAtComputerCell(3, 4);
    Send(c.Input);
    if (c.Menu) {
      EXPECT_EQ(Main->Opened, std::vector<TMenuId>{*c.Menu});
    } else {
      EXPECT_TRUE(Main->Opened.empty());
    }
    EXPECT_EQ(Window->Engine->State(), c.StateAfter);
    EXPECT_EQ(Window->Paint->AboutShown(), c.AboutAfter);
    EXPECT_EQ(FiredOnComputerBoard(), c.Fires ? 1 : 0);
    EXPECT_EQ(ShipCellsOnUserBoard(), 0);
    App->ClearIdle();
  }
}

TEST_F(DispatchTest, RightButtonTurnsTheActiveSidesShipInEveryState) {
  for (const bool about : {false, true}) {
    for (int state : {gsPlacing, gsReport}) {
      Probe(*Window->Engine).State = state;
      Window->Paint->ShowAbout(about);
      const auto before = Probe(*Window->Engine).UserHorizontal;
      Main->FormMouseMove(600, 450);  // off both boards
      Send(TInput::RightClick);
      EXPECT_NE(Probe(*Window->Engine).UserHorizontal, before) << state << (about ? " about" : "");
    }
  }
}

TEST_F(DispatchTest, TheAboutScreenCoversThePlacement) {
  Window->Paint->ShowAbout(true);
  Window->Paint->Redraw();
  const TBitmap& back = *Window->Paint->GetImage("SYS_BACK");
  TBitmap before;
  before.Assign(back);
  // Over the user's board: no preview drawn on the about picture, and the click places nothing.
  Main->FormMouseMove(UserBoardRect.Left + 40, UserBoardRect.Top + 40);
  for (int y = 0; y < back.Height(); y += 3)
    for (int x = 0; x < back.Width(); x += 3)
      ASSERT_EQ(back.Canvas.Pixel(x, y), before.Canvas.Pixel(x, y)) << x << "," << y;
  Send(TInput::LeftClick);
  EXPECT_EQ(ShipCellsOnUserBoard(), 0);
  EXPECT_FALSE(Window->Paint->AboutShown());
  // Back on the boards, the same click places the first ship.
  Send(TInput::LeftClick);
  EXPECT_EQ(ShipCellsOnUserBoard(), 4);
}

// The keys drive one target cell on the board being played, as the pointer does.
TEST_F(DispatchTest, KeysMoveTheTargetAndStopAtTheEdges) {
  Probe(*Window->Engine).State = gsBattle;
  Main->FormMouseMove(600, 450);  // the pointer off both boards
  struct TStep {
    int Key;
    bool Ctrl;
    const char* Sector;  // where the target is after it
  };
  const TStep steps[] = {
      {VK_RIGHT, false, "А1"},  // the first arrow only shows the target, on А1
      {VK_RIGHT, false, "Б1"},   {VK_DOWN, false, "Б2"},    {VK_LEFT, false, "А2"},
      {VK_LEFT, false, "А2"},    {VK_UP, false, "А1"},      {VK_UP, false, "А1"},
      {VK_END, false, "К1"},     {VK_RIGHT, false, "К1"},   {VK_HOME, false, "А1"},
      {VK_END, true, "К10"},     {VK_DOWN, false, "К10"},   {VK_HOME, true, "А1"},
  };
  for (const TStep& step : steps) {
    SCOPED_TRACE(step.Sector);
    ControlKey(step.Ctrl);
    int key = step.Key;
    Main->FormKeyDown(key);
    EXPECT_EQ(Window->Paint->Status(), std::string("Сектор: ") + step.Sector);
  }
  ControlKey(false);
  // Space fires where the target is, as a click there would.
  int key = VK_SPACE;
  Main->FormKeyDown(key);
  EXPECT_EQ(Lines().back(), "Game: Пользователь произвел выстрел в сектор А1");
}

// A step of the target changes the cell it left, the cell it reached, the preview and the status
// line: the screen hears of it once.
TEST_F(DispatchTest, AnArrowStepSendsOneUpdateToTheScreen) {
  for (const TGameState state : {gsPlacing, gsBattle}) {
    SCOPED_TRACE(state);
    Probe(*Window->Engine).State = state;
    int key = VK_DOWN;
    Main->FormKeyDown(key);  // the target shows
    for (int step : {VK_DOWN, VK_RIGHT, VK_END}) {
      const std::uint64_t before = Main->UpdatesSent();
      Main->FormKeyDown(step);
      EXPECT_EQ(Main->UpdatesSent(), before + 1) << step;
    }
  }
}

TEST_F(DispatchTest, TheFirstArrowTakesUpTheCellTheMouseLeft) {
  Probe(*Window->Engine).State = gsBattle;
  PointAtComputerCell(4, 6);
  Main->FormMouseMove(600, 450);
  int key = VK_DOWN;
  Main->FormKeyDown(key);
  EXPECT_EQ(Window->Paint->Status(), "Сектор: Д7");
  Main->FormKeyDown(key);
  EXPECT_EQ(Window->Paint->Status(), "Сектор: Д8");
}

TEST_F(DispatchTest, KeysPlaceAndTurnTheShipAtTheTarget) {
  int key = VK_DOWN;
  Main->FormKeyDown(key);  // shows the target on А1
  key = 'R';
  Main->FormKeyDown(key);  // across now
  key = VK_RETURN;
  Main->FormKeyDown(key);
  for (int c = 0; c < 4; ++c) EXPECT_FALSE(Window->Engine->ReadCell(c, 0, 0).Empty) << c;
  EXPECT_EQ(ShipCellsOnUserBoard(), 4);
}

TEST_F(DispatchTest, KeysDoNothingWhileTheComputerHasTheTurn) {
  Probe(*Window->Engine).State = gsBattle;
  Probe(*Window->Engine).ActiveSide = sdComputer;
  Main->FormMouseMove(600, 450);
  for (int key : {VK_DOWN, VK_RIGHT, VK_SPACE}) Main->FormKeyDown(key);
  EXPECT_EQ(Window->Paint->Status(), "Сектор: ");
  EXPECT_EQ(FiredOnComputerBoard(), 0);
}

TEST_F(DispatchTest, SectorNames) {
  struct TCase {
    int X, Y;
    const char* Name;
  };
  const TCase cases[] = {{4, 36, "А1"},   {323, 355, "К10"}, {372, 100, "А3"}, {691, 36, "К1"},
                         {324, 100, ""},  {371, 100, ""},    {692, 100, ""},   {100, 356, ""},
                         {3, 100, ""},    {100, 35, ""},     {150, 200, "Д6"}};
  for (const TCase& c : cases) {
    Main->FormMouseMove(c.X, c.Y);
    EXPECT_EQ(Main->SectorName(), c.Name) << c.X << "," << c.Y;
    EXPECT_EQ(Window->Paint->Status(), std::string("Сектор: ") + c.Name);
  }
}

TEST_F(DispatchTest, ShotsLandOnlyStrictlyInsideTheComputersBoard) {
  struct TCase {
    int X, Y;
    int Column;  // -1: no shot
  };
  const TCase cases[] = {{372, 100, -1}, {373, 100, 0}, {691, 100, 9}, {692, 100, -1},
                         {695, 100, -1}, {500, 36, -1}, {500, 37, 4}};
  for (const TCase& c : cases) {
    Window->Engine->NewGame();
    Probe(*Window->Engine).State = gsBattle;
    Main->FormMouseMove(c.X, c.Y);
    Send(TInput::LeftClick);
    int firedColumn = -1;
    for (int col = 0; col < 10; ++col)
      for (int r = 0; r < 10; ++r)
        if (Window->Engine->ReadCell(col, r, 1).Fired) firedColumn = col;
    EXPECT_EQ(firedColumn, c.Column) << c.X << "," << c.Y;
    App->ClearIdle();
  }
}

TEST_F(DispatchTest, AMissHandsTheTurnOverAndClicksThenDoNothing) {
  Probe(*Window->Engine).State = gsBattle;
  PointAtComputerCell(0, 0);
  Send(TInput::LeftClick);
  EXPECT_EQ(Window->Engine->ActiveSide(), sdComputer);
  EXPECT_TRUE(App->HasIdle());
  const auto lines = Window->Consol->Count();
  PointAtComputerCell(5, 5);
  Send(TInput::LeftClick);
  EXPECT_EQ(FiredOnComputerBoard(), 1);
  EXPECT_EQ(Window->Consol->Count(), lines);
}

TEST_F(DispatchTest, AShotIsLoggedWithItsSector) {
  Probe(*Window->Engine).State = gsBattle;
  PointAtComputerCell(4, 4);
  Send(TInput::LeftClick);
  EXPECT_EQ(Window->Consol->AllLines().back(), "Game: Пользователь произвел выстрел в сектор Д5");
}

// The rules name the shooter and the cell; the window plays the explosion over the other side's
// board. Its first frame is caught at the pause after it.
TEST_F(DispatchTest, AShotExplodesOverTheBoardShotAt) {
  struct TCase {
    TSide Shooter;
    TRect Board;  // the board the explosion must cover
    TRect Other;
  };
  const TCase cases[] = {{sdUser, ComputerBoardRect, UserBoardRect},
                         {sdComputer, UserBoardRect, ComputerBoardRect}};
  Probe(*Window->Engine).State = gsBattle;
  Window->Paint->Redraw();
  const TBitmap& back = *Window->Paint->GetImage("SYS_BACK");
  for (const TCase& c : cases) {
    TBitmap before(back.Width(), back.Height());
    before.Assign(back);
    TRect changed{back.Width(), back.Height(), 0, 0};
    bool caught = false;
    SetSleeper([&](int) {
      if (caught) return;
      caught = true;
      for (int y = 0; y < back.Height(); ++y)
        for (int x = 0; x < back.Width(); ++x)
          if (!(back.Canvas.Pixel(x, y) == before.Canvas.Pixel(x, y))) {
            changed = {std::min(changed.Left, x), std::min(changed.Top, y),
                       std::max(changed.Right, x + 1), std::max(changed.Bottom, y + 1)};
          }
    });
    Main->ShotFired(c.Shooter, {4, 4}, true);
    ASSERT_TRUE(caught) << c.Shooter;
    const TRect cell = CellRect(c.Board == UserBoardRect ? 0 : 1, {4, 4});
    EXPECT_TRUE(changed.Left < cell.Right && cell.Left < changed.Right && changed.Top < cell.Bottom &&
                cell.Top < changed.Bottom)
        << c.Shooter;
    EXPECT_FALSE(changed.Left < c.Other.Right && c.Other.Left < changed.Right) << c.Shooter;
  }
}

// What the rules' turn events do to the idle slot, the report timer and the mouse placement.
TEST_F(DispatchTest, TurnEventsDriveTheIdleSlot) {
  Main->PlacementByMouse = false;
  Main->FleetPlaced(sdUser);
  EXPECT_TRUE(Main->PlacementByMouse);
  EXPECT_TRUE(App->HasIdle());
  Main->FleetPlaced(sdComputer);
  EXPECT_FALSE(App->HasIdle());
  Main->TurnPassed(sdComputer);
  EXPECT_TRUE(App->HasIdle());
  Main->TurnPassed(sdUser);
  EXPECT_FALSE(App->HasIdle());
  Main->TurnPassed(sdComputer);
  Probe(*Window->Engine).State = gsReport;
  Main->GameWon(sdComputer);
  EXPECT_FALSE(App->HasIdle());
  EXPECT_TRUE(Main->ReportTimer.Enabled());
  Main->GameReset();
  EXPECT_FALSE(Main->ReportTimer.Enabled());
}

// A game says whom it is played against first, and then, only when they are not the game's own,
// the rules it is played by.
TEST_F(DispatchTest, AGameNamesItsHouseRulesAfterItsOpponent) {
  Window->Engine->SetRules({.Touching = true, .Salvo = true});
  Window->Engine->NewGame();
  const auto lines = Lines();
  ASSERT_GE(lines.size(), 2U);
  EXPECT_EQ(lines[lines.size() - 2], "Game: Противник: Капитан");
  EXPECT_EQ(lines.back(), "Game: Правила: корабли могут касаться, залп");
  Window->Engine->SetRules({});
  Window->Engine->NewGame();
  EXPECT_EQ(Lines().back(), "Game: Противник: Капитан");
}

TEST_F(DispatchTest, ScrollingByWheelAndPageKeys) {
  for (int i = 0; i < 30; ++i) Window->Consol->AddLine("line");
  Window->Paint->ScrollConsole(20);
  Main->FormMouseWheelUp();
  EXPECT_EQ(Window->Paint->ConsoleEndLine(), 16);
  Main->FormMouseWheelDown();
  EXPECT_EQ(Window->Paint->ConsoleEndLine(), 20);
  int key = VK_PRIOR;
  Main->FormKeyDown(key);
  EXPECT_EQ(Window->Paint->ConsoleEndLine(), 18);
  key = VK_NEXT;
  Main->FormKeyDown(key);
  EXPECT_EQ(Window->Paint->ConsoleEndLine(), 20);
}

TEST_F(DispatchTest, PlacementByMouseWritesTheShipWhereItFits) {
  Probe(*Window->Engine).UserHorizontal = 1;
  Main->FormMouseMove(4 + 32 * 7 + 5, 36 + 5);  // column 7: a four-cell ship does not fit
  Send(TInput::LeftClick);
  EXPECT_EQ(Window->Engine->ShipsLeft(), 10);
  Main->FormMouseMove(4 + 32 * 6 + 5, 36 + 5);
  Send(TInput::LeftClick);
  EXPECT_EQ(Window->Engine->ShipsLeft(), 9);
  for (int c = 6; c < 10; ++c) EXPECT_EQ(Window->Engine->ReadCell(c, 0, 0).Empty, 0) << c;
}

TEST_F(DispatchTest, TheReportComesInTwoTicks) {
  Probe(*Window->Engine).State = gsReport;
  Probe(*Window->Engine).ActiveSide = sdUser;
  Pauses.clear();
  Main->EndOfGame();
  EXPECT_EQ(Pauses, std::vector<int>{1000});
  EXPECT_FALSE(Window->Paint->ReportPanelShown());
  EXPECT_TRUE(Main->ReportTimer.Enabled());
  const TBitmap* text = Window->Paint->GetImage("IM_REPORT_TEXT");
  const TBitmap* blank = Window->Paint->GetImage("IM_REPORT_BACK");
  auto sameAsBlank = [&] {
    for (int y = 296; y < 424; ++y)
      for (int x = 64; x < 632; ++x)
        if (!(text->Canvas.Pixel(x, y) == blank->Canvas.Pixel(x, y))) return false;
    return true;
  };
  EXPECT_TRUE(sameAsBlank());

  Main->ReportTimerTick();
  EXPECT_TRUE(Window->Paint->ReportPanelShown());
  EXPECT_TRUE(Main->ReportTimer.Enabled());
  EXPECT_EQ(Main->ReportTimer.Interval(), 1000);
  EXPECT_TRUE(sameAsBlank());

  Main->ReportTimerTick();
  EXPECT_FALSE(Main->ReportTimer.Enabled());
  EXPECT_FALSE(sameAsBlank());
}

// On the report Tab, or a click on the report's line that offers them, shows the final boards,
// whoever won; Tab again, Escape or any click goes back, and a click anywhere else on the report
// opens the game-over menu as before.
TEST_F(DispatchTest, TheReportShowsTheFinalBoardsAndGoesBack) {
  enum TStep { Tab, Escape, ClickOnTheLine, ClickElsewhere, RightClick, MenuButton };
  struct TCase {
    const char* What;
    bool PanelShown, BoardsShown;
    TStep Step;
    bool BoardsAfter;
    std::optional<TMenuId> Menu;
  };
  const TCase cases[] = {
      {"Tab before the panel", false, false, Tab, true, std::nullopt},
      {"Tab on the report", true, false, Tab, true, std::nullopt},
      {"Tab again", true, true, Tab, false, std::nullopt},
      {"Escape", true, true, Escape, false, std::nullopt},
      {"a click on the boards", true, true, ClickElsewhere, false, std::nullopt},
      {"the right button on the boards", false, true, RightClick, false, std::nullopt},
      {"a click on the line", true, false, ClickOnTheLine, true, std::nullopt},
      {"a click elsewhere on the report", true, false, ClickElsewhere, false, TMenuId::GameOverMenu},
      {"a click where the line will be, before the panel", false, false, ClickOnTheLine, false,
       std::nullopt},
      {"the menu button over the boards", true, true, MenuButton, true, TMenuId::GameOverMenu},
      {"Escape on the report", true, false, Escape, false, TMenuId::GameOverMenu},
  };
  for (const TSide winner : {sdComputer, sdUser}) {
    // Where the line stands once the report carries it.
    Probe(*Window->Engine).State = gsReport;
    Probe(*Window->Engine).ActiveSide = winner;
    Window->Paint->ResetReport();
    Window->Paint->DrawReportText();
    const TRect line = Window->Paint->ReportBoardsLine();
    ASSERT_FALSE(line.Empty());
    for (const TCase& c : cases) {
      SCOPED_TRACE(std::string(c.What) + (winner == sdUser ? ", won" : ", lost"));
      Window->Paint->ResetReport();
      if (c.PanelShown) {
        Window->Paint->ShowReportPanel();
        Window->Paint->DrawReportText();
      }
      Window->Paint->ShowFinalBoards(c.BoardsShown);
      Main->Opened.clear();
      switch (c.Step) {
        case Tab: {
          int key = VK_TAB;
          Main->FormKeyDown(key);
          break;
        }
        case Escape: Send(TInput::Escape); break;
        case ClickOnTheLine:
          Main->FormMouseMove((line.Left + line.Right) / 2, (line.Top + line.Bottom) / 2);
          Send(TInput::LeftClick);
          break;
        case ClickElsewhere:
          Main->FormMouseMove(348, 100);
          Send(TInput::LeftClick);
          break;
        case RightClick: Send(TInput::RightClick); break;
        case MenuButton: Send(TInput::MenuButton); break;
      }
      EXPECT_EQ(Window->Paint->FinalBoardsShown(), c.BoardsAfter);
      if (c.Menu) {
        EXPECT_EQ(Main->Opened, std::vector<TMenuId>{*c.Menu});
      } else {
        EXPECT_TRUE(Main->Opened.empty());
      }
      EXPECT_EQ(Window->Engine->State(), gsReport);
    }
  }
  // Tab does nothing while the game goes on.
  for (const int state : {gsPlacing, gsBattle}) {
    Probe(*Window->Engine).State = state;
    int key = VK_TAB;
    Main->FormKeyDown(key);
    EXPECT_FALSE(Window->Paint->FinalBoardsShown()) << state;
  }
}

}  // namespace

}  // namespace kravelon
