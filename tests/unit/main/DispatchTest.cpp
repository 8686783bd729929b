// What each input does in each game state, on the real main window off screen.
#include <optional>

#include "GameEngine/Paint.h"
#include "GameEngine/Sound.h"
#include "tests/unit/main/MainFixture.h"

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
      for (int r = 0; r < 10; ++r) n += Engine->ReadCell(c, r, 1).Fired;
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
    Engine->NewGame();
    Engine->State = c.State;
    Engine->ActiveSide = sdUser;
    Paint->ReportShown = c.ReportShown;
    Main->SavedState = c.SavedState;
    Main->Menus.clear();
    PointAtComputerCell(3, 4);
    Send(c.Input);
    if (c.Menu) {
      EXPECT_EQ(Main->Menus, std::vector<TMenuId>{*c.Menu});
    } else {
      EXPECT_TRUE(Main->Menus.empty());
    }
    EXPECT_EQ(Engine->State, c.StateAfter);
    EXPECT_EQ(FiredOnComputerBoard(), c.Fires ? 1 : 0);
    App->ClearIdle();
  }
}

TEST_F(DispatchTest, RightButtonTurnsTheActiveSidesShipInEveryState) {
  for (int state : {gsPlacing, gsReport, gsAbout}) {
    Engine->State = state;
    Main->SavedState = gsPlacing;
    const auto before = Engine->UserHorizontal;
    Main->FormMouseMove(600, 450);  // off both boards
    Send(TInput::RightClick);
    EXPECT_NE(Engine->UserHorizontal, before) << state;
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
    EXPECT_EQ(Paint->StatusText, std::string("Сектор: ") + c.Name);
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
    Engine->NewGame();
    Engine->State = gsBattle;
    Main->FormMouseMove(c.X, c.Y);
    Send(TInput::LeftClick);
    int firedColumn = -1;
    for (int col = 0; col < 10; ++col)
      for (int r = 0; r < 10; ++r)
        if (Engine->ReadCell(col, r, 1).Fired) firedColumn = col;
    EXPECT_EQ(firedColumn, c.Column) << c.X << "," << c.Y;
    App->ClearIdle();
  }
}

TEST_F(DispatchTest, AMissHandsTheTurnOverAndClicksThenDoNothing) {
  Engine->State = gsBattle;
  PointAtComputerCell(0, 0);
  Send(TInput::LeftClick);
  EXPECT_EQ(Engine->ActiveSide, sdComputer);
  EXPECT_TRUE(App->HasIdle());
  const auto lines = Consol->Count();
  PointAtComputerCell(5, 5);
  Send(TInput::LeftClick);
  EXPECT_EQ(FiredOnComputerBoard(), 1);
  EXPECT_EQ(Consol->Count(), lines);
}

TEST_F(DispatchTest, AShotIsLoggedWithItsSector) {
  Engine->State = gsBattle;
  PointAtComputerCell(4, 4);
  Send(TInput::LeftClick);
  EXPECT_EQ(Consol->AllLines().back(), "Game: Пользователь произвел выстрел в сектор Д5");
}

TEST_F(DispatchTest, ScrollingByWheelAndPageKeys) {
  for (int i = 0; i < 30; ++i) Consol->AddLine("line");
  Paint->ScrollConsole(20);
  Main->FormMouseWheelUp();
  EXPECT_EQ(Paint->ConsoleEnd, 16);
  Main->FormMouseWheelDown();
  EXPECT_EQ(Paint->ConsoleEnd, 20);
  int key = VK_PRIOR;
  Main->FormKeyDown(key);
  EXPECT_EQ(Paint->ConsoleEnd, 18);
  key = VK_NEXT;
  Main->FormKeyDown(key);
  EXPECT_EQ(Paint->ConsoleEnd, 20);
}

TEST_F(DispatchTest, PlacementByMouseWritesTheShipWhereItFits) {
  Engine->UserHorizontal = 1;
  Main->FormMouseMove(4 + 32 * 7 + 5, 36 + 5);  // column 7: a four-cell ship does not fit
  Send(TInput::LeftClick);
  EXPECT_EQ(Engine->ShipsLeft, 10);
  Main->FormMouseMove(4 + 32 * 6 + 5, 36 + 5);
  Send(TInput::LeftClick);
  EXPECT_EQ(Engine->ShipsLeft, 9);
  for (int c = 6; c < 10; ++c) EXPECT_EQ(Engine->ReadCell(c, 0, 0).Empty, 0) << c;
}

TEST_F(DispatchTest, TheReportComesInTwoTicks) {
  Engine->State = gsReport;
  Engine->ActiveSide = sdUser;
  Pauses.clear();
  Main->EndOfGame();
  EXPECT_EQ(Pauses, std::vector<int>{1000});
  EXPECT_FALSE(Paint->ReportShown);
  EXPECT_TRUE(Main->CLOCK.Enabled());
  const TBitmap* text = Paint->GetImage("IM_REPORT_TEXT");
  const TBitmap* blank = Paint->GetImage("IM_REPORT_BACK");
  auto sameAsBlank = [&] {
    for (int y = 296; y < 424; ++y)
      for (int x = 64; x < 632; ++x)
        if (!(text->Canvas.Pixel(x, y) == blank->Canvas.Pixel(x, y))) return false;
    return true;
  };
  EXPECT_TRUE(sameAsBlank());

  Main->CLOCKTimer();
  EXPECT_TRUE(Paint->ReportShown);
  EXPECT_TRUE(Main->CLOCK.Enabled());
  EXPECT_EQ(Main->CLOCK.Interval(), 1000);
  EXPECT_TRUE(sameAsBlank());

  Main->CLOCKTimer();
  EXPECT_FALSE(Main->CLOCK.Enabled());
  EXPECT_FALSE(sameAsBlank());
}

}  // namespace
