// A game controller on the real main window, through SDL's virtual joystick: no hardware. Each
// button reaches the window as its key and changes the game as that key does; the D-pad and the
// left stick step the target and repeat while held; a controller may come and go mid-game.
#include <SDL.h>

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "GameEngine/GameEngineProbe.h"
#include "Media/Layout.h"
#include "Toolkit/Keys.h"
#include "tests/unit/main/MainFixture.h"
#include "tests/unit/rules/RulesTestSupport.h"

namespace kravelon {

namespace {

// A repeat that never comes by itself: the tests tick by hand.
constexpr int Never = 24 * 60 * 60 * 1000;

// Each button and the key it stands for.
struct TButtonKey {
  SDL_GameControllerButton Button;
  SDL_Keycode Key;
  SDL_Scancode Scancode;
};
constexpr TButtonKey ButtonKeys[] = {
    {SDL_CONTROLLER_BUTTON_A, SDLK_SPACE, SDL_SCANCODE_SPACE},
    {SDL_CONTROLLER_BUTTON_B, SDLK_ESCAPE, SDL_SCANCODE_ESCAPE},
    {SDL_CONTROLLER_BUTTON_X, SDLK_F2, SDL_SCANCODE_F2},
    {SDL_CONTROLLER_BUTTON_Y, SDLK_r, SDL_SCANCODE_R},
    {SDL_CONTROLLER_BUTTON_START, SDLK_APPLICATION, SDL_SCANCODE_APPLICATION},
    {SDL_CONTROLLER_BUTTON_BACK, SDLK_F1, SDL_SCANCODE_F1},
    {SDL_CONTROLLER_BUTTON_LEFTSHOULDER, SDLK_TAB, SDL_SCANCODE_TAB},
    {SDL_CONTROLLER_BUTTON_RIGHTSHOULDER, SDLK_F3, SDL_SCANCODE_F3},
    {SDL_CONTROLLER_BUTTON_DPAD_UP, SDLK_UP, SDL_SCANCODE_UP},
    {SDL_CONTROLLER_BUTTON_DPAD_DOWN, SDLK_DOWN, SDL_SCANCODE_DOWN},
    {SDL_CONTROLLER_BUTTON_DPAD_LEFT, SDLK_LEFT, SDL_SCANCODE_LEFT},
    {SDL_CONTROLLER_BUTTON_DPAD_RIGHT, SDLK_RIGHT, SDL_SCANCODE_RIGHT},
};

class ControllerTest : public MainWindowTest {
 protected:
  void SetUp() override {
    MainWindowTest::SetUp();
    // SDL holds a controller's presses back from a game without the keyboard's focus, and the
    // off-screen driver gives no window the focus.
    SDL_SetHint(SDL_HINT_JOYSTICK_ALLOW_BACKGROUND_EVENTS, "1");
    Main = StartRecordingGame();
    Quiet(*Main);
  }
  void TearDown() override {
    while (!Pads.empty()) Unplug(0);
    MainWindowTest::TearDown();
  }

  static void Quiet(TMain1& main) {
    main.Controllers.RepeatDelay = Never;
    main.Controllers.RepeatInterval = Never;
  }

  // A controller of SDL's standard layout plugged in: its buttons and axes in SDL's order.
  void PlugIn() {
    const int index = SDL_JoystickAttachVirtual(
        SDL_JOYSTICK_TYPE_GAMECONTROLLER, SDL_CONTROLLER_AXIS_MAX, SDL_CONTROLLER_BUTTON_MAX, 0);
    ASSERT_GE(index, 0) << SDL_GetError();
    SDL_Joystick* pad = SDL_JoystickOpen(index);
    ASSERT_NE(pad, nullptr) << SDL_GetError();
    Pads.push_back(pad);
    App->ProcessMessages();
  }
  void Unplug(std::size_t which) {
    SDL_Joystick* pad = Pads[which];
    const SDL_JoystickID id = SDL_JoystickInstanceID(pad);
    Pads.erase(Pads.begin() + static_cast<long>(which));
    SDL_JoystickClose(pad);
    for (int i = 0; i < SDL_NumJoysticks(); ++i) {
      if (SDL_JoystickGetDeviceInstanceID(i) == id) SDL_JoystickDetachVirtual(i);
    }
    App->ProcessMessages();
  }
  void Hold(SDL_GameControllerButton button, bool down, std::size_t pad = 0) {
    SDL_JoystickSetVirtualButton(Pads[pad], button, down ? 1 : 0);
    App->ProcessMessages();
  }
  void Press(SDL_GameControllerButton button) {
    Hold(button, true);
    Hold(button, false);
  }
  void Lean(SDL_GameControllerAxis axis, int value) {
    SDL_JoystickSetVirtualAxis(Pads[0], axis, static_cast<Sint16>(value));
    App->ProcessMessages();
  }
  void Tick() { Main->Controllers.RepeatTimer().Tick(); }
  std::string Status() const { return Main->Paint->Status(); }

  TRecordingMain* Main = nullptr;
  std::vector<SDL_Joystick*> Pads;
};

TEST_F(ControllerTest, OneAlreadyPluggedInOrPluggedInLaterIsOpenedAndOneUnpluggedIsLetGo) {
  EXPECT_EQ(Main->Controllers.Count(), 0);
  PlugIn();
  // A new window finds the controller already there.
  Window.reset();
  Main = StartRecordingGameAgain();
  Quiet(*Main);
  EXPECT_EQ(Main->Controllers.Count(), 1);
  PlugIn();
  EXPECT_EQ(Main->Controllers.Count(), 2);
  // Mid-placement: a ship placed with one, then it goes; the other places the next.
  Main->FormMouseMove(UserBoardRect.Left + 5, UserBoardRect.Top + 5);
  Press(SDL_CONTROLLER_BUTTON_A);
  EXPECT_EQ(Main->Engine->ShipsLeft(), 9);
  Unplug(0);
  EXPECT_EQ(Main->Controllers.Count(), 1);
  EXPECT_EQ(Main->Engine->State(), gsPlacing);
  Main->FormMouseMove(UserBoardRect.Left + 5 + 2 * CellSize, UserBoardRect.Top + 5);
  Hold(SDL_CONTROLLER_BUTTON_A, true, 0);
  Hold(SDL_CONTROLLER_BUTTON_A, false, 0);
  EXPECT_EQ(Main->Engine->ShipsLeft(), 8);
  // A stick held as its controller goes: the repeat stops with it.
  Lean(SDL_CONTROLLER_AXIS_LEFTX, 30000);
  EXPECT_TRUE(Main->Controllers.RepeatTimer().Enabled());
  Unplug(0);
  EXPECT_EQ(Main->Controllers.Count(), 0);
  EXPECT_FALSE(Main->Controllers.RepeatTimer().Enabled());
  // The keys play on.
  int key = VK_RIGHT;
  Main->FormKeyDown(key);
  EXPECT_EQ(Main->Engine->State(), gsPlacing);
}

// Every button comes to the window as the key it stands for: the same key code, the same
// control character, nothing else.
TEST_F(ControllerTest, EachButtonReachesTheWindowAsItsKey) {
  PlugIn();
  std::vector<std::string> heard;
  Main->OnKeyDown = [&](int& key) { heard.push_back("down " + std::to_string(key)); };
  Main->OnKeyPress = [&](char& key) { heard.push_back("press " + std::to_string(key)); };
  for (const TButtonKey& c : ButtonKeys) {
    SCOPED_TRACE(SDL_GameControllerGetStringForButton(c.Button));
    heard.clear();
    SDL_Event key{};
    key.type = SDL_KEYDOWN;
    key.key.windowID = Main->WindowId();
    key.key.keysym.sym = c.Key;
    key.key.keysym.scancode = c.Scancode;
    Main->Dispatch(key);
    const std::vector<std::string> byKey = heard;
    ASSERT_FALSE(byKey.empty());
    heard.clear();
    Press(c.Button);
    EXPECT_EQ(heard, byKey);
  }
  // The guide button and the sticks' clicks stand for no key.
  heard.clear();
  for (const auto button : {SDL_CONTROLLER_BUTTON_GUIDE, SDL_CONTROLLER_BUTTON_LEFTSTICK})
    Press(button);
  EXPECT_TRUE(heard.empty());
}

// What the game looks like to the player after an input: the boards, the state, the ship's
// turn, the status line and the target, the menus and boxes asked for, the screens up.
struct TLook {
  std::vector<TCell> Cells;
  int State, Side, Across, ShipsLeft;
  std::string Status;
  TPoint Target;
  bool Framed;
  std::vector<TMenuId> Menus;
  std::vector<std::string> Boxes;
  bool About, FinalBoards;
  bool operator==(const TLook&) const = default;
};

// Each button changes the game exactly as its key does, in every stage of a game.
TEST_F(ControllerTest, EachButtonChangesTheGameAsItsKeyDoes) {
  enum TStage { Placing, PlacingUnderAbout, Battle, Report, FinalBoards };
  PlugIn();
  auto stage = [&](TStage s) {
    App->ClearIdle();
    Main->Engine->NewGame();
    Probe(*Main->Engine).UserHorizontal = 0;  // a new game keeps the ship's turn
    Main->Target = TTarget{};
    Main->Target.Key({2, 3});  // the keys left it on В4
    Main->FormMouseMove(600, 450);
    Main->Paint->ResetReport();
    if (s != Placing && s != PlacingUnderAbout) {
      PutLegalFleet(*Main->Engine, sdUser);
      PutLegalFleet(*Main->Engine, sdComputer);
      Probe(*Main->Engine).State = s == Battle ? gsBattle : gsReport;
    }
    if (s >= Report) {
      Main->Paint->ShowReportPanel();
      Main->Paint->DrawReportText();
    }
    Main->Paint->ShowFinalBoards(s == FinalBoards);
    Main->Paint->ShowAbout(s == PlacingUnderAbout);
    Main->Paint->Redraw();
    Main->Opened.clear();
    Boxes.clear();
  };
  auto look = [&] {
    TGameEngineProbe probe = Probe(*Main->Engine);
    return TLook{Snapshot(*Main->Engine),
                 probe.State,
                 probe.ActiveSide,
                 probe.UserHorizontal,
                 probe.ShipsLeft,
                 Main->Paint->Status(),
                 Main->Target.Cell(),
                 Main->Target.Framed(),
                 Main->Opened,
                 BoxTexts(),
                 Main->Paint->AboutShown(),
                 Main->Paint->FinalBoardsShown()};
  };
  for (const TStage s : {Placing, PlacingUnderAbout, Battle, Report, FinalBoards}) {
    for (const TButtonKey& input : ButtonKeys) {
      const SDL_GameControllerButton button = input.Button;
      SCOPED_TRACE(std::to_string(s) + " " + SDL_GameControllerGetStringForButton(button));
      stage(s);
      const TLook before = look();
      Main->PressKey(input.Key, input.Scancode);
      const TLook byKey = look();
      stage(s);
      Press(button);
      EXPECT_TRUE(look() == byKey);
      // The key did something here, or is one that has nothing to do in this stage.
      const bool direction = input.Key == SDLK_UP || input.Key == SDLK_DOWN ||
                             input.Key == SDLK_LEFT || input.Key == SDLK_RIGHT;
      const bool idle = button == SDL_CONTROLLER_BUTTON_X ||
                        button == SDL_CONTROLLER_BUTTON_RIGHTSHOULDER ||
                        (button == SDL_CONTROLLER_BUTTON_LEFTSHOULDER && s < Report) ||
                        ((s >= Report || s == PlacingUnderAbout) &&
                         (direction || button == SDL_CONTROLLER_BUTTON_Y));
      if (!idle) {
        EXPECT_FALSE(byKey == before);
      }
    }
  }
}

TEST_F(ControllerTest, TheDPadStepsLikeTheArrowsAndRepeatsWhileHeld) {
  PlugIn();
  Probe(*Main->Engine).State = gsBattle;
  Main->FormMouseMove(600, 450);
  EXPECT_FALSE(Main->Controllers.RepeatTimer().Enabled());
  Hold(SDL_CONTROLLER_BUTTON_DPAD_RIGHT, true);
  EXPECT_EQ(Status(), "Сектор: А1");  // the first step shows the target, as the first arrow does
  EXPECT_TRUE(Main->Controllers.RepeatTimer().Enabled());
  Tick();
  EXPECT_EQ(Status(), "Сектор: Б1");
  Tick();
  EXPECT_EQ(Status(), "Сектор: В1");
  // Down while right is held: the D-pad is read up, down, left, right, so down takes over.
  Hold(SDL_CONTROLLER_BUTTON_DPAD_DOWN, true);
  EXPECT_EQ(Status(), "Сектор: В2");
  Hold(SDL_CONTROLLER_BUTTON_DPAD_DOWN, false);
  EXPECT_EQ(Status(), "Сектор: Г2");  // back to the right: a step at once
  Hold(SDL_CONTROLLER_BUTTON_DPAD_RIGHT, false);
  EXPECT_FALSE(Main->Controllers.RepeatTimer().Enabled());
  Tick();
  EXPECT_EQ(Status(), "Сектор: Г2");
}

TEST_F(ControllerTest, TheStickStepsPastItsDeadZoneFirstOnceThenSteadilyWhileHeld) {
  PlugIn();
  Probe(*Main->Engine).State = gsBattle;
  Main->FormMouseMove(600, 450);
  int key = VK_DOWN;
  Main->FormKeyDown(key);  // the target shows on А1
  TTimer& repeat = Main->Controllers.RepeatTimer();
  Main->Controllers.RepeatDelay = Never - 1;  // told apart from the steady steps
  constexpr int Dead = TGameControllers::DeadZone;
  // Leaning within the dead zone, either way: nothing moves, nothing runs.
  for (const int value : {Dead - 1, -(Dead - 1), 3000}) {
    Lean(SDL_CONTROLLER_AXIS_LEFTX, value);
    Lean(SDL_CONTROLLER_AXIS_LEFTY, value);
    EXPECT_EQ(Status(), "Сектор: А1") << value;
    EXPECT_FALSE(repeat.Enabled()) << value;
  }
  Lean(SDL_CONTROLLER_AXIS_LEFTY, 0);
  Lean(SDL_CONTROLLER_AXIS_LEFTX, Dead);
  EXPECT_EQ(Status(), "Сектор: Б1");
  EXPECT_TRUE(repeat.Enabled());
  EXPECT_EQ(repeat.Interval(), Never - 1);  // the first step's delay
  // Further along the same way: no new step until the repeat says so.
  Lean(SDL_CONTROLLER_AXIS_LEFTX, 32767);
  EXPECT_EQ(Status(), "Сектор: Б1");
  Tick();
  EXPECT_EQ(Status(), "Сектор: В1");
  EXPECT_EQ(repeat.Interval(), Never);  // then steady
  Tick();
  EXPECT_EQ(Status(), "Сектор: Г1");
  // Leaning more down than right goes down.
  Lean(SDL_CONTROLLER_AXIS_LEFTX, 20000);
  EXPECT_EQ(Status(), "Сектор: Г1");
  Lean(SDL_CONTROLLER_AXIS_LEFTY, 32000);
  EXPECT_EQ(Status(), "Сектор: Г2");
  EXPECT_EQ(repeat.Interval(), Never - 1);
  // Let go: the repeat stops, and a tick still queued does nothing.
  Lean(SDL_CONTROLLER_AXIS_LEFTX, 0);
  Lean(SDL_CONTROLLER_AXIS_LEFTY, -200);
  EXPECT_FALSE(repeat.Enabled());
  Tick();
  EXPECT_EQ(Status(), "Сектор: Г2");
}

}  // namespace

}  // namespace kravelon
