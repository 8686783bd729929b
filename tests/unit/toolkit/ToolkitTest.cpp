#include <SDL.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <stdexcept>
#include <string>
#include <cstring>
#include <thread>
#include <vector>

#include "Toolkit/Application.h"
#include "Toolkit/Cursor.h"
#include "Toolkit/FitText.h"
#include "Platform/Files.h"
#include "Toolkit/Fonts.h"
#include "Toolkit/Form.h"
#include "Toolkit/Graphics.h"
#include "Toolkit/Keys.h"
#include "Toolkit/MessageBox.h"
#include "Toolkit/Quit.h"
#include "Toolkit/Scale.h"
#include "Toolkit/Timer.h"
#include "tests/support/ToolkitFixture.h"

namespace kravelon {

namespace {

using ToolkitTest = ToolkitFixture;

TEST_F(ToolkitTest, AnIdleStepRunsUntilItRemovesItself) {
  int calls = 0;
  App->SetIdle([&](bool& done) {
    done = false;
    if (++calls == 3) {
      App->ClearIdle();
      App->Terminate();
    }
  });
  App->Run();
  EXPECT_EQ(calls, 3);
  EXPECT_FALSE(App->HasIdle());
}

TEST_F(ToolkitTest, AnExceptionInAnIdleStepIsShownAndTheLoopGoesOn) {
  int calls = 0;
  App->SetIdle([&](bool& done) {
    done = false;
    if (++calls == 1) throw std::runtime_error("Что-то сломалось");
    App->Terminate();
  });
  App->Run();
  EXPECT_EQ(calls, 2);
  ASSERT_EQ(Boxes.size(), 1u);
  EXPECT_EQ(Boxes[0].Caption, "Кравелон");
  EXPECT_EQ(Boxes[0].Text, "Что-то сломалось");
}

TEST_F(ToolkitTest, AnExceptionInAHandlerIsShownAndTheLoopGoesOn) {
  TForm form("test", 100, 100);
  form.OnKeyDown = [](int&) { throw std::runtime_error("клавиша"); };
  SDL_Event key{};
  key.type = SDL_KEYDOWN;
  key.key.windowID = form.WindowId();
  key.key.keysym.sym = SDLK_PAGEUP;
  App->Dispatch(key);
  App->Dispatch(key);
  EXPECT_EQ(Boxes.size(), 2u);
}

TEST_F(ToolkitTest, AnErrorGoesToTheHookOrElseToStandardError) {
  std::vector<std::string> hooked;
  App->OnException = [&](const std::string& message) { hooked.push_back(message); };
  App->ShowException(std::make_exception_ptr(std::runtime_error("сломалось")));
  App->ShowException(std::make_exception_ptr(42));  // no std::exception: no message
  EXPECT_EQ(hooked, (std::vector<std::string>{"сломалось", ""}));
  App->OnException = nullptr;
  testing::internal::CaptureStderr();
  App->ShowException(std::runtime_error("без окна"));
  EXPECT_EQ(testing::internal::GetCapturedStderr(), "без окна\n");
  EXPECT_TRUE(Boxes.empty());
}

TEST_F(ToolkitTest, AFlatButtonKeepsTheMouseToItself) {
  TForm form("test", 200, 100);
  TSpeedButton button;
  button.Bounds = {4, 4, 68, 36};
  int clicks = 0, moves = 0, presses = 0;
  button.OnClick = [&] { ++clicks; };
  form.Buttons.push_back(&button);
  form.OnMouseMove = [&](int, int) { ++moves; };
  form.OnMouseDown = [&](TMouseButton, int, int) { ++presses; };
  auto mouse = [&](Uint32 type, int x, int y) {
    SDL_Event e{};
    e.type = type;
    if (type == SDL_MOUSEMOTION) {
      e.motion.windowID = form.WindowId();
      e.motion.x = x;
      e.motion.y = y;
    } else {
      e.button.windowID = form.WindowId();
      e.button.button = SDL_BUTTON_LEFT;
      e.button.x = x;
      e.button.y = y;
    }
    form.Dispatch(e);
  };
  mouse(SDL_MOUSEMOTION, 10, 10);
  mouse(SDL_MOUSEBUTTONDOWN, 10, 10);
  mouse(SDL_MOUSEBUTTONUP, 10, 10);
  EXPECT_EQ(clicks, 1);
  EXPECT_EQ(moves, 0);
  EXPECT_EQ(presses, 0);
  mouse(SDL_MOUSEMOTION, 100, 50);
  mouse(SDL_MOUSEBUTTONDOWN, 100, 50);
  EXPECT_EQ(moves, 1);
  EXPECT_EQ(presses, 1);
  // A press that leaves the button before release is no click.
  mouse(SDL_MOUSEBUTTONDOWN, 10, 10);
  mouse(SDL_MOUSEBUTTONUP, 100, 50);
  EXPECT_EQ(clicks, 1);
}

// A key waits in the queue while the game is busy; Ctrl is as the key's event says, even if it
// has been let go by the time the key is handled.
TEST_F(ToolkitTest, ControlIsAsTheKeysOwnEventSays) {
  TForm form("test", 200, 100);
  std::vector<bool> held;
  form.OnKeyDown = [&](int&) { held.push_back(ControlHeld()); };
  SDL_SetModState(KMOD_NONE);
  for (const Uint16 modifiers : {KMOD_LCTRL, KMOD_NONE, KMOD_RCTRL}) {
    SDL_Event e{};
    e.type = SDL_KEYDOWN;
    e.key.windowID = form.WindowId();
    e.key.keysym.sym = SDLK_s;
    e.key.keysym.scancode = SDL_SCANCODE_S;
    e.key.keysym.mod = modifiers;
    form.Dispatch(e);
  }
  EXPECT_EQ(held, (std::vector<bool>{true, false, true}));
  EXPECT_FALSE(ControlHeld());  // outside a key's handling: as the keyboard is now
}

TEST(Keys, AKeyGivesItsVirtualCodeAndOnlyControlKeysGiveACharacter) {
  struct TCase {
    SDL_Keycode Key;
    int Code;
    char Char;  // printable characters come as text input, not from the key
    SDL_Scancode Place = SDL_SCANCODE_UNKNOWN;
  } cases[] = {
      {SDLK_PAGEUP, VK_PRIOR, 0}, {SDLK_PAGEDOWN, VK_NEXT, 0},  {SDLK_ESCAPE, 27, VK_ESCAPE_CHAR},
      {SDLK_RETURN, 13, 13},      {SDLK_KP_ENTER, 13, 13},      {SDLK_BACKSPACE, 8, 8},
      {SDLK_TAB, 9, 9},           {SDLK_SPACE, 32, 0},          {SDLK_DOWN, 40, 0},
      {SDLK_HOME, VK_HOME, 0},    {SDLK_END, VK_END, 0},        {SDLK_F1, VK_F1, 0},
      {SDLK_a, 'A', 0, SDL_SCANCODE_A}, {SDLK_z, 'Z', 0, SDL_SCANCODE_Z}, {SDLK_7, '7', 0},
      {SDLK_F2, VK_F2, 0},        {SDLK_F3, VK_F3, 0},          {SDLK_F4, 0, 0},
      {SDLK_APPLICATION, VK_APPS, 0}, {SDLK_LSHIFT, 0, 0},
      // Letters go by the key's place: with a Russian layout the R key types "к" (U+043A).
      {0x43A, 'R', 0, SDL_SCANCODE_R},
      // and with a French one the A key types "q".
      {SDLK_q, 'A', 0, SDL_SCANCODE_A},
  };
  for (const TCase& c : cases) {
    EXPECT_EQ(KeyCodeOf(c.Key, c.Place), c.Code) << SDL_GetKeyName(c.Key);
    EXPECT_EQ(ControlCharOf(c.Key), c.Char) << SDL_GetKeyName(c.Key);
  }
}

TEST_F(ToolkitTest, TimerTicksDoNotPileUp) {
  TTimer timer;
  int ticks = 0;
  timer.OnTimer = [&] { ++ticks; };
  timer.SetInterval(1);
  timer.SetEnabled(true);
  SDL_Delay(60);  // many intervals pass while nobody looks at the queue
  timer.SetEnabled(false);
  App->ProcessMessages();
  EXPECT_EQ(ticks, 0);  // a disabled timer's waiting tick is dropped
  timer.SetEnabled(true);
  SDL_Delay(60);
  SDL_PumpEvents();
  EXPECT_EQ(SDL_PeepEvents(nullptr, 0, SDL_PEEKEVENT, TimerEventType(), TimerEventType()), 1);
  App->ProcessMessages();
  EXPECT_EQ(ticks, 1);
}

// Other threads hand work to the game's thread: it runs there, in the order posted, and a burst
// of posts costs the queue one event.
TEST_F(ToolkitTest, PostedWorkRunsOnTheLoopsThreadInOrder) {
  const std::thread::id loop = std::this_thread::get_id();
  std::vector<int> ran;
  bool elsewhere = false;
  std::thread([&] {
    for (int i = 0; i < 100; ++i) {
      ASSERT_TRUE(TApplication::Post([&, i] {
        ran.push_back(i);
        elsewhere |= std::this_thread::get_id() != loop;
      }));
    }
  }).join();
  EXPECT_TRUE(ran.empty());  // nothing runs before the loop takes the note
  SDL_PumpEvents();
  EXPECT_EQ(SDL_PeepEvents(nullptr, 0, SDL_PEEKEVENT, SDL_USEREVENT, SDL_LASTEVENT), 1);
  App->ProcessMessages();
  ASSERT_EQ(ran.size(), 100u);
  for (int i = 0; i < 100; ++i) EXPECT_EQ(ran[static_cast<std::size_t>(i)], i);
  EXPECT_FALSE(elsewhere);

  // Work still waiting when the toolkit stops is dropped with it, never run by the next one.
  bool stale = false;
  ASSERT_TRUE(TApplication::Post([&] { stale = true; }));
  StartToolkit();
  App->ProcessMessages();
  EXPECT_FALSE(stale);
  bool fresh = false;
  ASSERT_TRUE(TApplication::Post([&] { fresh = true; }));
  App->ProcessMessages();
  EXPECT_TRUE(fresh);
}

TEST_F(ToolkitTest, QuitSignalsBecomeAQuitEventThatEndsPausesAndTheLoop) {
  for (const int signal : {SIGTERM, SIGINT, SIGHUP}) {
    ASSERT_FALSE(QuitRequested());
    std::thread sender([signal] {
      std::this_thread::sleep_for(std::chrono::milliseconds(50));
      kill(getpid(), signal);
    });
    // An hour's pause ends as soon as the quit is queued.
    EXPECT_TRUE(WaitUnlessQuit(3600 * 1000)) << strsignal(signal);
    sender.join();
    App->Run();
    EXPECT_TRUE(App->Terminated());
    // The next round starts afresh, as the game would after a restart of the toolkit.
    StartToolkit();
    NewApplication();
  }
}

TEST_F(ToolkitTest, APauseRunsItsFullLengthWhenNoQuitComes) {
  EXPECT_FALSE(WaitUnlessQuit(1));
  SDL_Event other{};
  other.type = SDL_USEREVENT;
  SDL_PushEvent(&other);
  EXPECT_FALSE(WaitUnlessQuit(1));
  EXPECT_FALSE(QuitRequested());
}

TEST_F(ToolkitTest, AutoTransparencyTakesTheBottomLeftPixel) {
  TBitmap sprite(4, 4);
  sprite.Canvas.BrushColor = {10, 20, 30};
  sprite.Canvas.FillRect({0, 0, 4, 4});
  sprite.Canvas.SetPixel(1, 1, clr::Yellow);
  sprite.Transparent = true;
  TBitmap target(4, 4);
  target.Canvas.BrushColor = clr::Magenta;
  target.Canvas.FillRect({0, 0, 4, 4});
  target.Canvas.Draw(0, 0, &sprite);
  EXPECT_EQ(target.Canvas.Pixel(1, 1), clr::Yellow);
  EXPECT_EQ(target.Canvas.Pixel(2, 2), clr::Magenta);
}

TEST_F(ToolkitTest, DrawAroundLeavesExactlyTheCoveredRectanglesUndrawn) {
  struct TCase {
    const char* What;
    std::vector<TRect> Covered;
  } cases[] = {
      {"nothing covered", {}},
      {"side by side on one row", {{2, 2, 5, 6}, {7, 1, 9, 4}}},
      {"overlapping and touching", {{1, 1, 6, 5}, {4, 3, 8, 9}, {8, 0, 10, 2}}},
      {"past the edges", {{-3, -2, 2, 3}, {9, 8, 14, 20}}},
  };
  TBitmap picture(10, 10);
  picture.Canvas.BrushColor = clr::Blue;
  picture.Canvas.FillRect({0, 0, 10, 10});
  for (const TCase& c : cases) {
    TBitmap target(12, 12);  // larger than the picture: its margin is never drawn
    target.Canvas.BrushColor = clr::Red;
    target.Canvas.FillRect({0, 0, 12, 12});
    target.Canvas.DrawAround(&picture, c.Covered.data(), static_cast<int>(c.Covered.size()));
    for (int y = 0; y < 12; ++y)
      for (int x = 0; x < 12; ++x) {
        bool covered = x >= 10 || y >= 10;
        for (const TRect& r : c.Covered) covered = covered || (x >= r.Left && x < r.Right && y >= r.Top && y < r.Bottom);
        EXPECT_EQ(target.Canvas.Pixel(x, y), covered ? clr::Red : clr::Blue) << c.What << " at " << x << "," << y;
      }
  }
}

TEST_F(ToolkitTest, CopyRectAndKeepsOnlyCommonBits) {
  TBitmap sheet(2, 1), mask(2, 1);
  sheet.Canvas.SetPixel(0, 0, {200, 100, 50});
  sheet.Canvas.SetPixel(1, 0, {200, 100, 50});
  mask.Canvas.SetPixel(0, 0, clr::White);
  mask.Canvas.SetPixel(1, 0, clr::Black);
  sheet.Canvas.CopyMode = TCopyMode::And;
  sheet.Canvas.CopyRect({0, 0, 2, 1}, mask, {0, 0, 2, 1});
  EXPECT_EQ(sheet.Canvas.Pixel(0, 0), (TColor{200, 100, 50}));
  EXPECT_EQ(sheet.Canvas.Pixel(1, 0), clr::Black);
}

TEST_F(ToolkitTest, FontRolesFindFreeFacesWithCyrillic) {
  struct TCase {
    const char* Role;
    bool Bold;
    const char* FileFragment;
  };
  for (const TCase& c : {TCase{"IMPACT", false, "PTN77F"}, TCase{"Arial", true, "LiberationSans-Bold"},
                         TCase{"MS Sans Serif", false, "PTS55F"},
                         TCase{"Courier New", false, "LiberationMono"}}) {
    const std::string file = FindFontFile(c.Role, c.Bold);
    EXPECT_NE(file.find(c.FileFragment), std::string::npos) << c.Role << " -> " << file;
  }
  TBitmap scratch(1, 1);
  scratch.Canvas.Font = {"IMPACT", 36, clr::White, TFontStyle::Regular};
  EXPECT_GT(scratch.Canvas.TextWidth("Вы выиграли!"), 100);
}

TEST_F(ToolkitTest, TheTextCacheKeepsWhatEveryFrameDrawsAndForgetsTheLog) {
  const TFont font{"Arial", 10, clr::Yellow, TFontStyle::Bold};
  SDL_Surface* status = RenderText(font, "Сектор: Д7");
  ASSERT_NE(status, nullptr);
  // A long run: every line is drawn for a while, the status line on every frame.
  for (int line = 0; line < 1000; ++line) {
    const std::string text = "Game: Компьютер произвел выстрел в сектор " + std::to_string(line);
    SDL_Surface* drawn = RenderText(font, text);
    ASSERT_NE(drawn, nullptr);
    EXPECT_EQ(RenderText(font, text), drawn);
    ASSERT_EQ(RenderText(font, "Сектор: Д7"), status) << "after line " << line;
    ASSERT_LE(CachedTextCount(), TextCacheCapacity);
  }
  // A line that left the cache comes back rendered as before.
  TBitmap first(600, 20), again(600, 20);
  first.Canvas.Font = again.Canvas.Font = font;
  first.Canvas.TextOut(0, 0, "Game: Компьютер произвел выстрел в сектор 0");
  for (int i = 0; i < 100; ++i) RenderText(font, std::to_string(i));
  again.Canvas.TextOut(0, 0, "Game: Компьютер произвел выстрел в сектор 0");
  for (int y = 0; y < 20; ++y)
    for (int x = 0; x < 600; ++x) ASSERT_EQ(first.Canvas.Pixel(x, y), again.Canvas.Pixel(x, y));
}

TEST_F(ToolkitTest, CursorFilesThatAreMissingAreToldApart) {
  const std::string junk = std::filesystem::temp_directory_path() / "kravelon-junk.cur";
  std::ofstream(junk) << "not a cursor";
  EXPECT_EQ(LoadCursorFromFile("/nonexistent/CURSOR.CUR"), TCursorResult::NotFound);
  EXPECT_EQ(LoadCursorFromFile(junk), TCursorResult::Failed);
  std::filesystem::remove(junk);
}

TEST_F(ToolkitTest, TheExecutableFolderHoldsThisTest) {
  const std::string folder = ExecutableFolder();
  ASSERT_FALSE(folder.empty());
  EXPECT_EQ(folder.back(), '/');
  EXPECT_TRUE(FileExists(folder + "unit_toolkit"));
  EXPECT_TRUE(DirectoryExists(folder));
  EXPECT_FALSE(DirectoryExists(folder + "unit_toolkit"));
}

}  // namespace

namespace {

TEST_F(ToolkitTest, TheDisplayScaleFollowsTheDesktopAndFitsTheScreen) {
  const char* display = std::getenv("DISPLAY");
  const std::string savedDisplay = display ? display : "";
  unsetenv("DISPLAY");
  struct TCase {
    const char* GdkScale;
    int Scale;
  };
  for (const TCase c : {TCase{"2", 2}, TCase{"3", 3}, TCase{"9", 4}, TCase{"0", 1}, TCase{"x", 1}}) {
    setenv("GDK_SCALE", c.GdkScale, 1);
    EXPECT_EQ(DetectDisplayScale(), c.Scale) << c.GdkScale;
  }
  unsetenv("GDK_SCALE");
  EXPECT_EQ(DetectDisplayScale(), 1);
  if (!savedDisplay.empty()) setenv("DISPLAY", savedDisplay.c_str(), 1);
  // SDL's off-screen display is 1024 × 768.
  EXPECT_EQ(FitDisplayScale(2, 696, 488), 1);
  EXPECT_EQ(FitDisplayScale(4, 256, 192), 4);
  EXPECT_EQ(FitDisplayScale(4, 300, 200), 3);
  EXPECT_EQ(FitDisplayScale(-1, 10, 10), 1);
}

TEST_F(ToolkitTest, AScaledPartialUpdateEnlargesOnlyItsRectangleAndIsKept) {
  SetDisplayScale(2);
  {
    TForm form("scaled", 40, 30);
    TBitmap red(40, 30), blue(40, 30);
    red.Canvas.BrushColor = clr::Red;
    red.Canvas.FillRect({0, 0, 40, 30});
    blue.Canvas.BrushColor = clr::Blue;
    blue.Canvas.FillRect({0, 0, 40, 30});
    form.Present(red);
    const TRect part{10, 5, 20, 15};
    form.PresentRects(blue, &part, 1);
    SDL_Surface* shown = SDL_GetWindowSurface(form.Handle());
    ASSERT_NE(shown, nullptr);
    ASSERT_EQ(shown->w, 80);
    TCanvas window(shown);
    int wrong = 0;
    for (int y = 0; y < 60; ++y)
      for (int x = 0; x < 80; ++x) {
        const bool inside = x >= 20 && x < 40 && y >= 10 && y < 30;
        wrong += !(window.Pixel(x, y) == (inside ? clr::Blue : clr::Red));
      }
    EXPECT_EQ(wrong, 0);
    // What the window keeps in the game's pixels, for repainting an exposure, changed alike.
    EXPECT_EQ(form.Canvas().Pixel(15, 10), clr::Blue);
    EXPECT_EQ(form.Canvas().Pixel(25, 10), clr::Red);
  }
  SetDisplayScale(1);
}

}  // namespace

TEST_F(ToolkitTest, ALongTextShrinksOrBreaksAtASpaceToFitItsBoxAndAShortOneStaysAsItIs) {
  TBitmap scratch(1, 1);
  TCanvas& canvas = scratch.Canvas;
  const TFont font{"Arial", 20, clr::Yellow, TFontStyle::Bold};
  canvas.Font = {"Courier New", 9, clr::Red, TFontStyle::Regular};
  const TFont before = canvas.Font;
  struct TCase {
    const char* Text;
    int Width, Height;
    std::size_t Lines;
    bool FullSize;
  };
  for (const TCase& c : {TCase{"Юнга", 184, 48, 1, true},
                         TCase{"Корабли могут касаться", 184, 48, 2, false},
                         TCase{"Корабли могут касаться", 184, 20, 1, false},  // too low for two
                         TCase{"Выстрелпослепопадания", 100, 48, 1, false},   // nowhere to break
                         TCase{"Корабли могут касаться", 2, 2, 1, false}}) {  // nothing fits
    const TFittedText fitted = FitText(canvas, font, c.Text, c.Width, c.Height);
    ASSERT_EQ(fitted.Lines.size(), c.Lines) << c.Text << " in " << c.Width << "x" << c.Height;
    EXPECT_EQ(fitted.Size == font.Size, c.FullSize) << c.Text << ": " << fitted.Size;
    EXPECT_GE(fitted.Size, MinFittedSize);
    EXPECT_EQ(canvas.Font, before) << "the canvas's own font changed";
    std::string joined;
    for (const std::string& line : fitted.Lines) joined += (joined.empty() ? "" : " ") + line;
    EXPECT_EQ(joined, c.Text);
    if (c.Width < 10) continue;
    canvas.Font = font;
    canvas.Font.Size = fitted.Size;
    for (const std::string& line : fitted.Lines) EXPECT_LE(canvas.TextWidth(line), c.Width) << line;
    EXPECT_LE(canvas.TextHeight("Ag") * static_cast<int>(fitted.Lines.size()), c.Height);
    canvas.Font = before;
  }
}

}  // namespace kravelon
