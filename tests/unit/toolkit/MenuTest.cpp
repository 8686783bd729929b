// Popup menus: how the nested loop answers the pointer and the keys, and what stays on screen.
#include <SDL.h>
#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "Toolkit/Form.h"
#include "Toolkit/Menus.h"
#include "Toolkit/Timer.h"
#include "tests/support/ToolkitFixture.h"

namespace kravelon {

namespace {

using ToolkitTest = ToolkitFixture;

constexpr TColor Highlight{10, 36, 106};  // the toolkit's highlight behind a chosen-to-be item

class MenuTest : public ToolkitTest {
 protected:
  void SetUp() override {
    ToolkitTest::SetUp();
    Form = std::make_unique<TForm>("menu test", 400, 300);
    Form->Show();
    Menu = std::make_unique<TPopupMenu>(*Form);
    Menu->Items = {&A, &B, &C};
    B.Enabled = false;
    for (TMenuItem* item : Menu->Items) {
      item->OnClick = [this](TMenuItem& sender) { Chosen.push_back(sender.Caption); };
    }
    SDL_FlushEvents(SDL_FIRSTEVENT, SDL_LASTEVENT);
  }
  void TearDown() override {
    Menu.reset();
    Form.reset();
    ToolkitTest::TearDown();
  }

  // Opens the menu with its anchor at the form's (x, y).
  void PopupAt(int x, int y) {
    const TPoint origin = Form->Position();
    Menu->Popup(origin.X + x, origin.Y + y);
  }

  void Key(SDL_Keycode key) {
    SDL_Event e{};
    e.type = SDL_KEYDOWN;
    e.key.windowID = Form->WindowId();
    e.key.keysym.sym = key;
    SDL_PushEvent(&e);
  }
  // A game controller's button, as SDL reports it.
  static void Pad(SDL_GameControllerButton button) {
    SDL_Event e{};
    e.type = SDL_CONTROLLERBUTTONDOWN;
    e.cbutton.button = static_cast<Uint8>(button);
    e.cbutton.state = SDL_PRESSED;
    SDL_PushEvent(&e);
  }
  void Button(Uint32 type, int x, int y) {
    SDL_Event e{};
    e.type = type;
    e.button.windowID = Form->WindowId();
    e.button.button = SDL_BUTTON_LEFT;
    e.button.x = x;
    e.button.y = y;
    SDL_PushEvent(&e);
  }
  void Click(int x, int y) {
    Button(SDL_MOUSEBUTTONDOWN, x, y);
    Button(SDL_MOUSEBUTTONUP, x, y);
  }
  // A timer tick whose handler runs inside the menu's loop.
  void TickDuringMenu(std::function<void()> handler) {
    Timer = std::make_unique<TTimer>();
    Timer->SetInterval(1000000);
    Timer->SetEnabled(true);
    Timer->OnTimer = std::move(handler);
    SDL_Event e{};
    e.type = TimerEventType();
    e.user.code = Timer->Id();
    SDL_PushEvent(&e);
  }
  // The middle of item i when the menu stands at the form's top-left corner.
  static TPoint ItemCentre(int i) { return {40, TPopupMenu::FrameWidth + 10 + 20 * i}; }

  std::unique_ptr<TForm> Form;
  std::unique_ptr<TPopupMenu> Menu;
  std::unique_ptr<TTimer> Timer;
  TMenuItem A{"Альфа"}, B{"Бета"}, C{"Гамма"};
  std::vector<std::string> Chosen;
};

// Items 20 pixels high, so ItemCentre can find them.
void FixedSizes(TPopupMenu& menu) {
  menu.OwnerDraw = true;
  for (TMenuItem* item : menu.Items) {
    item->OnMeasureItem = [](TMenuItem&, TCanvas&, int& w, int& h) { w = 100, h = 20; };
  }
}

TEST_F(MenuTest, KeysAndPointerChooseOnlyEnabledItems) {
  enum TStep { Down, Up, Home, End, Return, Escape, ClickA, ClickB, ClickC, ClickOutside, ReleaseOverA,
               PadDown, PadUp, PadA, PadB, PadX };
  struct TCase {
    const char* Name;
    std::vector<TStep> Steps;
    std::optional<std::string> Chosen;
  };
  const TCase cases[] = {
      {"Down chooses the first item", {Down, Return}, "Альфа"},
      {"Down skips the disabled item", {Down, Down, Return}, "Гамма"},
      {"Up from nothing wraps to the last", {Up, Return}, "Гамма"},
      {"Down wraps past the end", {Down, Down, Down, Return}, "Альфа"},
      {"Home goes to the first item", {Up, Home, Return}, "Альфа"},
      {"End goes to the last item", {Down, End, Return}, "Гамма"},
      {"Escape closes", {Down, Escape}, std::nullopt},
      {"Return without a highlight chooses nothing", {Return, Escape}, std::nullopt},
      {"a click chooses", {ClickC}, "Гамма"},
      {"a disabled item cannot be clicked", {ClickB, Escape}, std::nullopt},
      {"a click outside closes", {ClickOutside}, std::nullopt},
      {"the release of the opening click chooses nothing", {ReleaseOverA, Escape}, std::nullopt},
      {"a controller's D-pad and A choose", {PadDown, PadDown, PadA}, "Гамма"},
      {"the D-pad up wraps, X does nothing", {PadUp, PadX, PadUp, PadA}, "Альфа"},
      {"A without a highlight chooses nothing", {PadA, PadB}, std::nullopt},
      {"B closes", {PadDown, PadB}, std::nullopt},
  };
  FixedSizes(*Menu);
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Name);
    Chosen.clear();
    for (TStep step : c.Steps) {
      switch (step) {
        case Down: Key(SDLK_DOWN); break;
        case Up: Key(SDLK_UP); break;
        case Home: Key(SDLK_HOME); break;
        case End: Key(SDLK_END); break;
        case Return: Key(SDLK_RETURN); break;
        case Escape: Key(SDLK_ESCAPE); break;
        case ClickA: Click(ItemCentre(0).X, ItemCentre(0).Y); break;
        case ClickB: Click(ItemCentre(1).X, ItemCentre(1).Y); break;
        case ClickC: Click(ItemCentre(2).X, ItemCentre(2).Y); break;
        case ClickOutside: Click(300, 250); break;
        case ReleaseOverA: Button(SDL_MOUSEBUTTONUP, ItemCentre(0).X, ItemCentre(0).Y); break;
        case PadDown: Pad(SDL_CONTROLLER_BUTTON_DPAD_DOWN); break;
        case PadUp: Pad(SDL_CONTROLLER_BUTTON_DPAD_UP); break;
        case PadA: Pad(SDL_CONTROLLER_BUTTON_A); break;
        case PadB: Pad(SDL_CONTROLLER_BUTTON_B); break;
        case PadX: Pad(SDL_CONTROLLER_BUTTON_X); break;
      }
    }
    PopupAt(0, 0);
    EXPECT_EQ(Chosen, c.Chosen ? std::vector<std::string>{*c.Chosen} : std::vector<std::string>{});
    EXPECT_EQ(TPopupMenu::OpenMenu(), nullptr);
  }
}

TEST_F(MenuTest, AutoCheckTicksBeforeTheHandlerAndAHandlerMayOpenAnotherMenu) {
  TPopupMenu second(*Form);
  TMenuItem yes{"Да"};
  second.Items = {&yes};
  bool checkedInHandler = false;
  A.AutoCheck = true;
  A.OnClick = [&](TMenuItem& sender) {
    checkedInHandler = sender.Checked;
    second.Popup(0, 0);
  };
  yes.OnClick = [&](TMenuItem&) { Chosen.push_back("Да"); };
  Key(SDLK_DOWN);
  Key(SDLK_RETURN);  // the first menu's
  Key(SDLK_DOWN);
  Key(SDLK_RETURN);  // the second menu's
  PopupAt(0, 0);
  EXPECT_TRUE(checkedInHandler);
  EXPECT_TRUE(A.Checked);
  EXPECT_EQ(Chosen, std::vector<std::string>{"Да"});

  Key(SDLK_DOWN);
  Key(SDLK_RETURN);
  Key(SDLK_ESCAPE);
  PopupAt(0, 0);
  EXPECT_FALSE(A.Checked);  // toggled back
}

TEST_F(MenuTest, TicksArriveWhileOpenAndARepaintKeepsTheMenuOnTop) {
  FixedSizes(*Menu);
  TBitmap red(400, 300);
  red.Canvas.BrushColor = clr::Red;
  red.Canvas.FillRect({0, 0, 400, 300});
  TBitmap blue(400, 300);
  blue.Canvas.BrushColor = clr::Blue;
  blue.Canvas.FillRect({0, 0, 400, 300});
  std::vector<TColor> seen;
  bool secondOpened = false;
  TPopupMenu other(*Form);
  TMenuItem lone{"Один"};
  other.Items = {&lone};
  lone.OnClick = [&](TMenuItem&) { secondOpened = true; };
  Key(SDLK_DOWN);
  TickDuringMenu([&] {
    Form->Present(red);  // a redraw of the game underneath
    const TPoint a = ItemCentre(0);
    // Then a partial one, half over the menu and half beside it.
    const TRect crossing{a.X + 20, 0, 250, 40};
    Form->PresentRects(blue, &crossing, 1);
    seen = {Form->Canvas().Pixel(a.X - 30, a.Y), Form->Canvas().Pixel(ItemCentre(2).X - 30, ItemCentre(2).Y),
            Form->Canvas().Pixel(200, 200), Form->Canvas().Pixel(a.X + 30, a.Y),
            Form->Canvas().Pixel(200, 20)};
    // Only one menu at a time: this one does not open.
    other.Popup(0, 0);
    Key(SDLK_ESCAPE);
  });
  PopupAt(0, 0);
  ASSERT_EQ(seen.size(), 5u);
  EXPECT_EQ(seen[0], Highlight);          // the highlighted item, over the red picture
  EXPECT_NE(seen[1], clr::Red);           // a plain item
  EXPECT_EQ(seen[2], clr::Red);           // the picture beside the menu
  EXPECT_EQ(seen[3], Highlight);          // the item under the partial update
  EXPECT_EQ(seen[4], clr::Blue);          // the partial update beside the menu
  EXPECT_FALSE(secondOpened);
  EXPECT_EQ(Chosen, std::vector<std::string>{});
  // Closed: the window shows what its paint handler draws, without the menu.
  Form->OnPaint = [&] { Form->Present(red); };
  Form->Repaint();
  EXPECT_EQ(Form->Canvas().Pixel(ItemCentre(0).X, ItemCentre(0).Y), clr::Red);
}

TEST_F(MenuTest, CentreAlignmentHangsTheMenuFromTheMiddleOfItsTopEdge) {
  FixedSizes(*Menu);
  Menu->Alignment = TPopupAlignment::Center;
  Key(SDLK_ESCAPE);
  PopupAt(200, 40);
  const int width = 100 + 2 * TPopupMenu::FrameWidth, height = 60 + 2 * TPopupMenu::FrameWidth;
  EXPECT_EQ(Menu->Bounds(), (TRect{200 - width / 2, 40, 200 - width / 2 + width, 40 + height}));
  // Near the edge it stays on the window.
  Key(SDLK_ESCAPE);
  PopupAt(390, 290);
  EXPECT_EQ(Menu->Bounds(), (TRect{400 - width, 300 - height, 400, 300}));
}

TEST_F(MenuTest, AQuitRequestClosesTheMenuAndEndsTheApplication) {
  SDL_Event quit{};
  quit.type = SDL_QUIT;
  SDL_PushEvent(&quit);
  PopupAt(0, 0);
  EXPECT_TRUE(App->Terminated());
  EXPECT_TRUE(Chosen.empty());
}

}  // namespace

}  // namespace kravelon

namespace kravelon {

// A player who cannot see the menu hears it open, then each item the highlight lands on; a key
// that leaves the highlight where it was says nothing again.
TEST_F(MenuTest, TellsOfTheOpeningAndOfEachMoveOfTheHighlight) {
  FixedSizes(*Menu);
  std::vector<std::pair<bool, int>> told;
  Menu->OnHighlightChanged = [&](const TPopupMenu& menu, bool opened) {
    EXPECT_EQ(&menu, Menu.get());
    told.emplace_back(opened, menu.Highlighted());
  };
  for (SDL_Keycode key : {SDLK_DOWN, SDLK_DOWN, SDLK_END, SDLK_HOME, SDLK_ESCAPE}) Key(key);
  PopupAt(50, 20);
  EXPECT_EQ(told, (std::vector<std::pair<bool, int>>{{true, -1}, {false, 0}, {false, 2}, {false, 0}}));
}

}  // namespace kravelon
