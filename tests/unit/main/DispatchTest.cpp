// What each input does in each game state, on the real main window off screen.
#include <algorithm>
#include <optional>

#include "Media/Layout.h"
#include "Media/Paint/Paint.h"
#include "Media/Sound/Sound.h"
#include "Toolkit/Keys.h"
#include "tests/unit/main/MainFixture.h"

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
      case TInput::MenuButton: Main->SpeedButton1Click(); break;
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

  TRecordingMain* Main = nullptr;
};

TEST_F(DispatchTest, EachInputInEachState) {
  struct TCase {
    int State;
    bool ReportShown;
    int SavedState;
    TInput Input;
    std::optional<TMenuId> Menu;
    int StateAfter;
    bool Fires;
  };
  const TCase cases[] = {
      {gsPlacing, false, 0, TInput::Escape, TMenuId::PopupMenu1, gsPlacing, false},
      {gsPlacing, false, 0, TInput::MenuButton, TMenuId::PopupMenu1, gsPlacing, false},
      {gsPlacing, false, 0, TInput::OtherKey, std::nullopt, gsPlacing, false},
      {gsBattle, false, 0, TInput::Escape, TMenuId::PopupMenu1, gsBattle, false},
      {gsBattle, false, 0, TInput::LeftClick, std::nullopt, gsBattle, true},
      {gsBattle, false, 0, TInput::RightClick, std::nullopt, gsBattle, true},
      {gsBattle, false, 0, TInput::MiddleClick, std::nullopt, gsBattle, true},
      {gsReport, false, 0, TInput::LeftClick, std::nullopt, gsReport, false},
      {gsReport, false, 0, TInput::Escape, TMenuId::PopupMenu3, gsReport, false},
      {gsReport, false, 0, TInput::MenuButton, TMenuId::PopupMenu3, gsReport, false},
      {gsReport, true, 0, TInput::LeftClick, TMenuId::PopupMenu3, gsReport, false},
      {gsAbout, false, gsBattle, TInput::LeftClick, std::nullopt, gsBattle, false},
      {gsAbout, false, gsPlacing, TInput::Escape, std::nullopt, gsPlacing, false},
      {gsAbout, false, gsBattle, TInput::MenuButton, TMenuId::PopupMenu1, gsAbout, false},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(::testing::Message() << "state " << c.State << " input " << static_cast<int>(c.Input));
    Window->Engine->NewGame();
    Window->Engine->State = c.State;
    Window->Engine->ActiveSide = sdUser;
    Window->Paint->ReportShown = c.ReportShown;
    Main->SavedState = c.SavedState;
    Main->Menus.clear();
    PointAtComputerCell(3, 4);
    Send(c.Input);
    if (c.Menu) {
      EXPECT_EQ(Main->Menus, std::vector<TMenuId>{*c.Menu});
    } else {
      EXPECT_TRUE(Main->Menus.empty());
    }
    EXPECT_EQ(Window->Engine->State, c.StateAfter);
    EXPECT_EQ(FiredOnComputerBoard(), c.Fires ? 1 : 0);
    App->ClearIdle();
  }
}

TEST_F(DispatchTest, RightButtonTurnsTheActiveSidesShipInEveryState) {
  for (int state : {gsPlacing, gsReport, gsAbout}) {
    Window->Engine->State = state;
    Main->SavedState = gsPlacing;
    const auto before = Window->Engine->UserHorizontal;
    Main->FormMouseMove(600, 450);  // off both boards
    Send(TInput::RightClick);
    EXPECT_NE(Window->Engine->UserHorizontal, before) << state;
  }
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
    EXPECT_EQ(Window->Paint->StatusText, std::string("Сектор: ") + c.Name);
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
    Window->Engine->State = gsBattle;
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
  Window->Engine->State = gsBattle;
  PointAtComputerCell(0, 0);
  Send(TInput::LeftClick);
  EXPECT_EQ(Window->Engine->ActiveSide, sdComputer);
  EXPECT_TRUE(App->HasIdle());
  const auto lines = Window->Consol->Count();
  PointAtComputerCell(5, 5);
  Send(TInput::LeftClick);
  EXPECT_EQ(FiredOnComputerBoard(), 1);
  EXPECT_EQ(Window->Consol->Count(), lines);
}

TEST_F(DispatchTest, AShotIsLoggedWithItsSector) {
  Window->Engine->State = gsBattle;
  PointAtComputerCell(4, 4);
  Send(TInput::LeftClick);
  EXPECT_EQ(Window->Consol->AllLines().back(), "Game: Пользователь произвел выстрел в сектор Д5");
}

// The rules name the shooter and the cell; the window plays the explosion over the other side's
// board. Its first frame is caught at the pause after it.
TEST_F(DispatchTest, AShotExplodesOverTheBoardShotAt) {
  struct TCase {
    int Shooter;
    TRect Board;  // the board the explosion must cover
    TRect Other;
  };
  const TCase cases[] = {{sdUser, ComputerBoardRect, UserBoardRect},
                         {sdComputer, UserBoardRect, ComputerBoardRect}};
  Window->Engine->State = gsBattle;
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
  Window->Engine->State = gsReport;
  Main->GameWon(sdComputer);
  EXPECT_FALSE(App->HasIdle());
  EXPECT_TRUE(Main->CLOCK.Enabled());
  Main->GameReset();
  EXPECT_FALSE(Main->CLOCK.Enabled());
}

TEST_F(DispatchTest, ScrollingByWheelAndPageKeys) {
  for (int i = 0; i < 30; ++i) Window->Consol->AddLine("line");
  Window->Paint->ScrollConsole(20);
  Main->FormMouseWheelUp();
  EXPECT_EQ(Window->Paint->ConsoleEnd, 16);
  Main->FormMouseWheelDown();
  EXPECT_EQ(Window->Paint->ConsoleEnd, 20);
  int key = VK_PRIOR;
  Main->FormKeyDown(key);
  EXPECT_EQ(Window->Paint->ConsoleEnd, 18);
  key = VK_NEXT;
  Main->FormKeyDown(key);
  EXPECT_EQ(Window->Paint->ConsoleEnd, 20);
}

TEST_F(DispatchTest, PlacementByMouseWritesTheShipWhereItFits) {
  Window->Engine->UserHorizontal = 1;
  Main->FormMouseMove(4 + 32 * 7 + 5, 36 + 5);  // column 7: a four-cell ship does not fit
  Send(TInput::LeftClick);
  EXPECT_EQ(Window->Engine->ShipsLeft, 10);
  Main->FormMouseMove(4 + 32 * 6 + 5, 36 + 5);
  Send(TInput::LeftClick);
  EXPECT_EQ(Window->Engine->ShipsLeft, 9);
  for (int c = 6; c < 10; ++c) EXPECT_EQ(Window->Engine->ReadCell(c, 0, 0).Empty, 0) << c;
}

TEST_F(DispatchTest, TheReportComesInTwoTicks) {
  Window->Engine->State = gsReport;
  Window->Engine->ActiveSide = sdUser;
  Pauses.clear();
  Main->EndOfGame();
  EXPECT_EQ(Pauses, std::vector<int>{1000});
  EXPECT_FALSE(Window->Paint->ReportShown);
  EXPECT_TRUE(Main->CLOCK.Enabled());
  const TBitmap* text = Window->Paint->GetImage("IM_REPORT_TEXT");
  const TBitmap* blank = Window->Paint->GetImage("IM_REPORT_BACK");
  auto sameAsBlank = [&] {
    for (int y = 296; y < 424; ++y)
      for (int x = 64; x < 632; ++x)
        if (!(text->Canvas.Pixel(x, y) == blank->Canvas.Pixel(x, y))) return false;
    return true;
  };
  EXPECT_TRUE(sameAsBlank());

  Main->CLOCKTimer();
  EXPECT_TRUE(Window->Paint->ReportShown);
  EXPECT_TRUE(Main->CLOCK.Enabled());
  EXPECT_EQ(Main->CLOCK.Interval(), 1000);
  EXPECT_TRUE(sameAsBlank());

  Main->CLOCKTimer();
  EXPECT_FALSE(Main->CLOCK.Enabled());
  EXPECT_FALSE(sameAsBlank());
}

}  // namespace

}  // namespace kravelon
