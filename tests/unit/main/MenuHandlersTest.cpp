// The popup menus of the main window: what each item does in each state, where a menu opens, how
// an item is drawn, and the statistics box.
#include <SDL.h>

#include "Media/Paint/Paint.h"
#include "Media/Sound/Sound.h"
#include "Toolkit/Keys.h"
#include "tests/unit/main/MainFixture.h"
#include "GameEngine/GameEngineProbe.h"

namespace kravelon {

namespace {

class MenuHandlersTest : public MainWindowTest {
 protected:
  void SetUp() override {
    MainWindowTest::SetUp();
    Main = StartRecordingGame();
  }

  // Puts the game into a state: some cells fired, a step installed, the report timer running.
  void Prepare(int state, int side, bool about = false) {
    Window->Engine->NewGame();
    Window->Engine->Fire(0, 0);
    Probe(*Window->Engine).State = state;
    Probe(*Window->Engine).ActiveSide = side;
    Window->Paint->ShowAbout(about);
    Main->PlacementByMouse = true;
    Main->ReportTimer.SetEnabled(true);
    App->SetIdle([](bool& done) { done = false; });
    Main->Opened.clear();
    Pauses.clear();
  }

  bool BoardsEmpty() const {
    for (int board = 0; board < 2; ++board)
      for (int c = 0; c < 10; ++c)
        for (int r = 0; r < 10; ++r) {
          const TCell cell = Window->Engine->ReadCell(c, r, board);
          if (!cell.Empty || cell.Fired) return false;
        }
    return true;
  }

  TRecordingMain* Main = nullptr;
};

TEST_F(MenuHandlersTest, EachItemInEachState) {
  enum TEffect { NewGameAfterPause, Arranges, About, ExitMenu, Nothing, Quits };
  struct TCase {
    int State, Side;
    TMenuItem TGameMenus::*Item;
    TEffect Effect;
    bool About = false;  // the about screen is up over the game
  };
  const TCase cases[] = {
      {gsPlacing, sdUser, &TGameMenus::RestartItem, NewGameAfterPause},
      {gsPlacing, sdComputer, &TGameMenus::RestartItem, NewGameAfterPause},
      {gsBattle, sdComputer, &TGameMenus::RestartItem, NewGameAfterPause},
      {gsReport, sdUser, &TGameMenus::GameOverRestartItem, NewGameAfterPause},
      {gsPlacing, sdUser, &TGameMenus::ArrangeItem, Arranges},
      {gsPlacing, sdComputer, &TGameMenus::ArrangeItem, Nothing},
      {gsBattle, sdUser, &TGameMenus::ArrangeItem, Nothing},
      {gsPlacing, sdUser, &TGameMenus::ArrangeItem, Nothing, true},
      {gsBattle, sdComputer, &TGameMenus::AboutItem, About},
      {gsPlacing, sdUser, &TGameMenus::AboutItem, About},
      {gsBattle, sdUser, &TGameMenus::AboutItem, Nothing, true},
      {gsBattle, sdUser, &TGameMenus::ExitItem, ExitMenu},
      {gsReport, sdUser, &TGameMenus::GameOverExitItem, ExitMenu},
      {gsBattle, sdUser, &TGameMenus::NoItem, Nothing},
      {gsBattle, sdUser, &TGameMenus::YesItem, Quits},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(::testing::Message() << "state " << c.State << " side " << c.Side << " item "
                                      << (Main->Menus.*c.Item).Caption);
    Prepare(c.State, c.Side, c.About);
    (Main->Menus.*c.Item).Click();
    const bool restarted = c.Effect == NewGameAfterPause;
    EXPECT_EQ(Pauses, restarted ? std::vector<int>{500} : std::vector<int>{});
    EXPECT_EQ(BoardsEmpty(), restarted);
    EXPECT_EQ(Main->ReportTimer.Enabled(), !restarted);
    // A restart ends whatever step ran; an arrangement installs its own.
    EXPECT_EQ(App->HasIdle(), !restarted);
    EXPECT_EQ(Main->PlacementByMouse, c.Effect != Arranges);
    EXPECT_EQ(Window->Engine->State(), restarted ? gsPlacing : c.State);
    // A restart replaces the about screen; the about item on it changes nothing.
    EXPECT_EQ(Window->Paint->AboutShown(), c.Effect == About || (c.About && !restarted));
    EXPECT_EQ(Main->Opened, c.Effect == ExitMenu ? std::vector<TMenuId>{TMenuId::ExitMenu}
                                                : std::vector<TMenuId>{});
    EXPECT_EQ(App->Terminated(), c.Effect == Quits);
  }
}

TEST_F(MenuHandlersTest, ArrangeAfterSomeShipsPlacesOnlyTheRest) {
  Main->FormMouseMove(4 + 16, 36 + 16);
  Main->FormMouseDown(TMouseButton::Left);  // the four-cell ship, upright at А1
  ASSERT_EQ(Window->Engine->ShipsLeft(), 9);
  Main->Menus.ArrangeItem.Click();
  for (int step = 0; step < 100000 && App->HasIdle(); ++step) App->StepIdle();
  EXPECT_EQ(Window->Engine->State(), gsBattle);
  int shipCells = 0;
  for (int c = 0; c < 10; ++c)
    for (int r = 0; r < 10; ++r) shipCells += !Window->Engine->ReadCell(c, r, 0).Empty;
  EXPECT_EQ(shipCells, 20);
  for (int r = 0; r < 4; ++r) EXPECT_FALSE(Window->Engine->ReadCell(0, r, 0).Empty) << r;  // the first ship stays
  // The mouse places again once the fleet is complete.
  EXPECT_TRUE(Main->PlacementByMouse);
}

TEST_F(MenuHandlersTest, AnArrangementGoesOnBehindTheAboutScreenAndReplacesIt) {
  Main->Menus.ArrangeItem.Click();
  App->StepIdle();
  Main->Menus.AboutItem.Click();
  EXPECT_TRUE(Window->Paint->AboutShown());
  for (int step = 0; step < 100000 && App->HasIdle(); ++step) App->StepIdle();
  EXPECT_EQ(Window->Engine->State(), gsBattle);
  EXPECT_FALSE(Window->Paint->AboutShown());  // the battle screen, without a click
}

TEST_F(MenuHandlersTest, RestartDuringAnArrangementLeavesTheMouseOff) {
  Main->Menus.ArrangeItem.Click();
  App->StepIdle();
  Main->Menus.RestartItem.Click();
  EXPECT_FALSE(App->HasIdle());
  EXPECT_FALSE(Main->PlacementByMouse);
  Main->FormMouseMove(4 + 16, 36 + 16);
  Main->FormMouseDown(TMouseButton::Left);
  EXPECT_EQ(Window->Engine->ShipsLeft(), 10);
}

TEST_F(MenuHandlersTest, AfterARestartTheNextReportComesAfterOneSecond) {
  Probe(*Window->Engine).State = gsReport;
  Main->EndOfGame();
  EXPECT_EQ(Main->ReportTimer.Interval(), 5000);
  Main->ReportTimerTick();
  Main->ReportTimerTick();
  Main->Menus.GameOverRestartItem.Click();
  EXPECT_FALSE(Main->ReportTimer.Enabled());
  Probe(*Window->Engine).State = gsReport;
  Main->EndOfGame();
  EXPECT_TRUE(Main->ReportTimer.Enabled());
  EXPECT_FALSE(Window->Paint->ReportPanelShown());
  EXPECT_EQ(Main->ReportTimer.Interval(), 1000);
}

// A level chosen in the game menu: at once while the fleet is being placed (no shot lost),
// from the next game in battle or on the report; ticked, and said on the console either way.
TEST_F(MenuHandlersTest, ALevelAppliesAtOnceWhilePlacingAndFromTheNextGameOtherwise) {
  struct TCase {
    int State;
    int Side;
    bool RestartsAtOnce;
  };
  const TCase cases[] = {
      {gsPlacing, sdUser, true}, {gsPlacing, sdComputer, true},
      {gsBattle, sdUser, false}, {gsReport, sdComputer, false},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.State * 10 + c.Side);
    Main->LevelClick(lvCaptain);
    Window->Engine->NewGame();
    Prepare(c.State, c.Side);
    Main->Menus.LevelItems[3].Click();  // the admiral
    for (int i = 0; i < 4; ++i) EXPECT_EQ(Main->Menus.LevelItems[i].Checked, i == 3) << i;
    EXPECT_EQ(Window->Engine->NextLevel(), lvAdmiral);
    EXPECT_EQ(Window->Engine->Level(), c.RestartsAtOnce ? lvAdmiral : lvCaptain);
    EXPECT_EQ(Window->Engine->State(), c.RestartsAtOnce ? gsPlacing : c.State);
    EXPECT_EQ(BoardsEmpty(), c.RestartsAtOnce);
    EXPECT_TRUE(Pauses.empty());  // no half-second wait, as a restart has
    EXPECT_EQ(Lines().back(), c.RestartsAtOnce ? "Game: Противник: Адмирал"
                                               : "Game: Следующая партия: противник Адмирал");
  }
  // The next game is the admiral's, and names it among its first lines.
  Main->Menus.RestartItem.Click();
  EXPECT_EQ(Window->Engine->Level(), lvAdmiral);
  EXPECT_EQ(Lines().back(), "Game: Противник: Адмирал");
}

// A house rule's switch: the same timing as a level; salvo greys out the extra shot, which a
// salvo has no use for.
TEST_F(MenuHandlersTest, ARuleSwitchAppliesAtOnceWhilePlacingAndFromTheNextGameOtherwise) {
  for (const bool placing : {true, false}) {
    SCOPED_TRACE(placing);
    for (const TRuleSwitch rule : AllRuleSwitches) Main->RuleClick(rule, rule == rsExtraShot);
    Window->Engine->NewGame();
    if (!placing) Prepare(gsBattle, sdUser);
    TMenuItem& salvo = Main->Menus.RuleItems[rsSalvo];
    salvo.Click();  // switches itself on, as the sound switch does
    ASSERT_TRUE(salvo.Checked);
    EXPECT_TRUE(Window->Engine->NextRules().Salvo);
    EXPECT_EQ(Window->Engine->Rules().Salvo, placing);
    EXPECT_EQ(Window->Engine->State(), placing ? gsPlacing : gsBattle);
    EXPECT_FALSE(Main->Menus.RuleItems[rsExtraShot].Enabled);
    EXPECT_EQ(Lines().back(), placing ? "Game: Правила: залп" : "Game: Следующая партия: правила: залп");
    Main->Menus.RuleItems[rsSalvo].Click();
    EXPECT_TRUE(Main->Menus.RuleItems[rsExtraShot].Enabled);
    EXPECT_EQ(Lines().back(), placing ? "Game: Противник: Капитан" : "Game: Следующая партия: обычные правила");
  }
}

TEST_F(MenuHandlersTest, F3AndTheButtonOpenTheGameMenuEverywhere) {
  for (const int state : {gsPlacing, gsBattle, gsReport}) {
    Prepare(state, sdUser);
    int key = VK_F3;
    Main->FormKeyDown(key);
    Main->GameMenuButtonClick();
    EXPECT_EQ(Main->Opened, (std::vector<TMenuId>{TMenuId::GameMenu, TMenuId::GameMenu})) << state;
  }
}

TEST_F(MenuHandlersTest, TheSoundSwitchTicksForTheWholeRun) {
  Main->Menus.SoundItem.Checked = true;
  EXPECT_TRUE(Window->Sound->SoundOn());
  Main->Menus.SoundItem.Click();
  EXPECT_FALSE(Main->Menus.SoundItem.Checked);
  EXPECT_FALSE(Window->Sound->SoundOn());
  Main->Menus.RestartItem.Click();
  EXPECT_FALSE(Main->Menus.SoundItem.Checked);
  Main->Menus.SoundItem.Click();
  EXPECT_TRUE(Window->Sound->SoundOn());
}

TEST_F(MenuHandlersTest, StatisticsShowsTheComputersHitPercentageCutDown) {
  struct TCase {
    int Shots, Hits;
    const char* Percent;
  };
  const TCase cases[] = {{0, 0, "0"}, {20, 20, "100"}, {47, 20, "42"}, {3, 1, "33"}, {3, 2, "66"}};
  for (const TCase& c : cases) {
    Boxes.clear();
    Probe(*Window->Engine).ComputerShots = c.Shots;
    Probe(*Window->Engine).ComputerHits = c.Hits;
    Main->Menus.StatisticsItem.Click();
    // An information box under the game's title, not an error; the record follows the line.
    ASSERT_EQ(Boxes.size(), 1u);
    EXPECT_EQ(Boxes[0].Text.substr(0, Boxes[0].Text.find('\n')),
              std::string("Процент попадания компютера составил: ") + c.Percent + " %");
    EXPECT_EQ(Boxes[0].Caption, "Кравелон");
    EXPECT_EQ(Boxes[0].Icon, TMessageIcon::Information);
  }
}

TEST_F(MenuHandlersTest, TheMenusHangFromTheMiddleOfTheScreen) {
  // The real menus open and close with Escape; each hangs 32 pixels a item plus 4 above the
  // screen's centre.
  SDL_FlushEvents(SDL_FIRSTEVENT, SDL_LASTEVENT);
  for (TPopupMenu* menu : {&Main->Menus.MainMenu, &Main->Menus.ExitMenu, &Main->Menus.GameOverMenu}) {
    SDL_Event escape{};
    escape.type = SDL_KEYDOWN;
    escape.key.windowID = Main->WindowId();
    escape.key.keysym.sym = SDLK_ESCAPE;
    SDL_PushEvent(&escape);
    Main->TMain1::ShowMenu(*menu);
    const int n = static_cast<int>(menu->Items.size());
    const TPoint origin = Main->Position();
    const TRect bounds = menu->Bounds();
    EXPECT_EQ(bounds.Top + origin.Y, Main->ScreenCenter().Y - 32 * n - 4);
    EXPECT_EQ(bounds.Left + origin.X + bounds.Width() / 2, Main->ScreenCenter().X);
    EXPECT_EQ(bounds.Height(), 64 * n + 2 * TPopupMenu::FrameWidth);
    EXPECT_EQ(bounds.Width(), 256 + 2 * TPopupMenu::FrameWidth);
  }
}

TEST_F(MenuHandlersTest, AnItemIsDrawnByItsStateAndTheSoundItemCarriesItsTick) {
  const TBitmap* menuPicture = Window->Paint->GetImage("IM_MENU");
  const TBitmap* selectedPicture = Window->Paint->GetImage("IM_MENU_SELECT");
  ASSERT_TRUE(menuPicture && selectedPicture);
  auto count = [](const TBitmap& b, const TRect& r, TColor colour) {
    int n = 0;
    for (int y = r.Top; y < r.Bottom; ++y)
      for (int x = r.Left; x < r.Right; ++x) n += b.Canvas.Pixel(x, y) == colour;
    return n;
  };
  struct TCase {
    TMenuItem TGameMenus::*Item;
    bool Enabled, Selected, Ticked;
    const TBitmap* Background;  // null: plain blue
    TColor Text;
  };
  const TCase cases[] = {
      {&TGameMenus::RestartItem, true, false, false, nullptr, clr::Aqua},
      {&TGameMenus::RestartItem, true, true, false, selectedPicture, clr::Yellow},
      {&TGameMenus::ExitQuestionItem, false, false, false, menuPicture, clr::Lime},
      {&TGameMenus::ExitQuestionItem, false, true, false, menuPicture, clr::Lime},
      {&TGameMenus::SoundItem, true, false, true, nullptr, clr::Aqua},
      {&TGameMenus::SoundItem, true, false, false, nullptr, clr::Aqua},
  };
  const TRect item{0, 0, 256, 64};
  const TRect tickArea{8, 8, 40, 56};
  const TRect captionArea{60, 0, 196, 64};
  for (const TCase& c : cases) {
    TMenuItem& menuItem = Main->Menus.*c.Item;
    SCOPED_TRACE(menuItem.Caption + (c.Selected ? " selected" : "") + (c.Ticked ? " ticked" : ""));
    menuItem.Enabled = c.Enabled;
    menuItem.Checked = c.Ticked;
    TBitmap canvas(256, 64);
    Main->DrawMenuItem(menuItem, canvas.Canvas, item, c.Selected);
    const TColor corner = c.Background ? c.Background->Canvas.Pixel(255, 63) : clr::Blue;
    EXPECT_EQ(canvas.Canvas.Pixel(255, 63), corner);
    EXPECT_GT(count(canvas, captionArea, c.Text), 20);
    if (menuItem.Tag == 1) {
      EXPECT_EQ(count(canvas, tickArea, c.Text) > 20, c.Ticked);
    }
  }
}

}  // namespace

}  // namespace kravelon
