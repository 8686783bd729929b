// A storm of random input: a fixed, seeded sequence of pointer moves, clicks, wheel notches and
// keys over the whole screen, through placement, battle and the game's end. Between batches the
// game must repaint a window we blacked out, and its memory must stay bounded.
//
// KRAVELON_STORM_EVENTS sets the length (`make soak` sends a long one). A game that ends in order
// (status 0, e.g. a menu's exit item hit by chance) ends a segment: the storm starts it again and
// goes on with the same sequence.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <optional>
#include <random>
#include <string>
#include <thread>

#include "tests/window/Pictures.h"
#include "tests/window/RunningGame.h"

// Xlib's macros (None, Bool) clash with GoogleTest's names: it comes after.
#include <X11/Xlib.h>
#include <X11/extensions/XTest.h>

namespace kravelon {

using namespace std::chrono_literals;

namespace {

constexpr int ScreenWidth = 1024, ScreenHeight = 768;
constexpr int BatchSize = 40;
// Sent at about a player's pace: faster, nearly every click would fall into an explosion or the
// computer's turn and be dropped, and the storm would never see a game to its end.
constexpr auto EventGap = 25ms;
// Growth of the resident set over a segment's first measure that still counts as bounded: the
// game holds every picture from start-up on, so input alone should add next to nothing. In the
// sanitizer build the game runs with AddressSanitizer, which holds up to 256 MB of freed blocks
// back before it reuses them, and its bookkeeping grows with them.
#if defined(__SANITIZE_ADDRESS__)
constexpr long AllowedGrowthKb = (64 + 384) * 1024;
#else
constexpr long AllowedGrowthKb = 64 * 1024;
#endif

long ResidentKb(pid_t pid) {
  std::ifstream status("/proc/" + std::to_string(pid) + "/status");
  for (std::string line; std::getline(status, line);) {
    if (line.rfind("VmRSS:", 0) == 0) return std::atol(line.c_str() + 6);
  }
  return -1;
}

int StormLength() {
  const char* text = std::getenv("KRAVELON_STORM_EVENTS");
  const int n = text ? std::atoi(text) : 0;
  return n > 0 ? n : 3000;
}

const char* const Keys[] = {"Escape", "Escape", "Prior", "Next", "Return", "space",
                            "Tab",    "Left",   "Right", "Up",   "Down",   "BackSpace",
                            "a",      "z",      "1",     "F1"};

class Storm {
 public:
  explicit Storm(Display* display) : Dpy(display), Random(20261210) {}

  // One random event, weighted towards the two boards so that the fleet gets placed and the
  // battle gets fought; the rest lands anywhere on the screen.
  void SendOne(const TRect& frame) {
    const int kind = Pick(0, 99);
    if (kind < 20) {  // the user's board
      Click(frame.Left + Pick(4, 323), frame.Top + Pick(36, 355), PickButton());
    } else if (kind < 65) {  // the computer's board
      Click(frame.Left + Pick(372, 691), frame.Top + Pick(36, 355), PickButton());
    } else if (kind < 77) {
      Move(Pick(0, ScreenWidth - 1), Pick(0, ScreenHeight - 1));
    } else if (kind < 84) {
      Click(Pick(0, ScreenWidth - 1), Pick(0, ScreenHeight - 1), PickButton());
    } else if (kind < 90) {
      Click(Pick(0, ScreenWidth - 1), Pick(0, ScreenHeight - 1), Pick(4, 5));  // wheel
    } else {
      Key(Keys[Pick(0, std::size(Keys) - 1)]);
    }
    std::this_thread::sleep_for(EventGap);
  }

 private:
  int Pick(int low, int high) { return std::uniform_int_distribution<int>(low, high)(Random); }
  int PickButton() {
    const int b = Pick(0, 9);
    return b < 7 ? 1 : b < 9 ? 3 : 2;
  }
  void Move(int x, int y) {
    XTestFakeMotionEvent(Dpy, 0, x, y, CurrentTime);
    XSync(Dpy, False);
  }
  void Click(int x, int y, int button) {
    Move(x, y);
    XTestFakeButtonEvent(Dpy, static_cast<unsigned>(button), True, CurrentTime);
    XTestFakeButtonEvent(Dpy, static_cast<unsigned>(button), False, CurrentTime);
    XSync(Dpy, False);
  }
  void Key(const char* name) {
    const KeyCode code = XKeysymToKeycode(Dpy, XStringToKeysym(name));
    XTestFakeKeyEvent(Dpy, code, True, CurrentTime);
    XTestFakeKeyEvent(Dpy, code, False, CurrentTime);
    XSync(Dpy, False);
  }

  Display* Dpy;
  std::mt19937 Random;
};

int CountLines(const std::vector<std::string>& lines, const std::string& prefix) {
  return static_cast<int>(std::count_if(
      lines.begin(), lines.end(), [&](const std::string& l) { return l.rfind(prefix, 0) == 0; }));
}

class StormTest : public ::testing::Test {
 protected:
  // Starts (or starts again) the game and waits for its board screen.
  void Launch() {
    Game = std::make_unique<TGameProcess>(&X, TGameProcess::TOptions{});
    ASSERT_TRUE(Game->WaitForLine(ReadyLine, 60s)) << Game->Stderr();
    auto window = X.WaitForWindow(MainCaption, 10s);
    ASSERT_TRUE(window);
    Frame = window->Frame;
    WindowId = window->Id;
    BaselineKb = -1;
    GameOverSeen = false;
  }

  // The game's end: the win picture fills the screen above the console.
  bool ShowsWinPicture() {
    const TScreenshot s = X.Shot(Frame.Left, Frame.Top, Frame.Width(), Frame.Height());
    for (int y = 100; y < 250; y += 7)
      for (int x = 100; x < 600; x += 7)
        if (!(s.At(x, y) == Win.At(x, y - 4))) return false;
    return true;
  }

  enum class TCheck { Repainted, Ended, Frozen };

  // Paints the game window black from outside and asks it to repaint: it must, once it has
  // handled everything sent before (explosions included), unless it has ended meanwhile.
  TCheck Repaint(std::chrono::seconds timeout) {
    Display* dpy = X.Connection();
    // The window may be gone by the time the requests arrive: that is no error of the test's.
    auto previous = XSetErrorHandler([](Display*, XErrorEvent*) { return 0; });
    GC gc = XCreateGC(dpy, WindowId, 0, nullptr);
    XSetForeground(dpy, gc, BlackPixel(dpy, DefaultScreen(dpy)));
    XFillRectangle(dpy, WindowId, gc, 0, 0, static_cast<unsigned>(Frame.Width()),
                   static_cast<unsigned>(Frame.Height()));
    XFreeGC(dpy, gc);
    XClearArea(dpy, WindowId, 0, 0, 0, 0, True);
    XSync(dpy, False);
    XSetErrorHandler(previous);
    const auto until = std::chrono::steady_clock::now() + timeout;
    while (std::chrono::steady_clock::now() < until) {
      if ((ExitStatus = Game->WaitForExit(1ms))) return TCheck::Ended;
      const TScreenshot shot = X.Shot(Frame.Left, Frame.Top, Frame.Width(), Frame.Height());
      int lit = 0, samples = 0;
      for (int y = 0; y < shot.Height; y += 16) {
        for (int x = 0; x < shot.Width; x += 16, ++samples) lit += !(shot.At(x, y) == clr::Black);
      }
      if (lit * 2 > samples) return TCheck::Repainted;
      std::this_thread::sleep_for(50ms);
    }
    return TCheck::Frozen;
  }

  TXServer X{ScreenWidth, ScreenHeight};
  std::unique_ptr<TGameProcess> Game;
  TRect Frame;
  Window WindowId = 0;
  long BaselineKb = -1;
  bool GameOverSeen = false;
  std::optional<int> ExitStatus;
  const TImage Win = ReadJpeg(GameBuildFolder() + "/Images/Win.jpg");
};

TEST_F(StormTest, TheGameSurvivesASeededStormOfRandomInput) {
  const int length = StormLength();
  Storm storm(X.Connection());
  ASSERT_NO_FATAL_FAILURE(Launch());
  int segments = 1, battles = 0, userShots = 0, computerShots = 0, gamesOver = 0;
  long peakGrowthKb = 0;
  auto tally = [&] {
    const auto lines = Game->ConsoleLines();
    battles += CountLines(lines, "Game: Компьютер расставил все корабли.");
    userShots += CountLines(lines, "Game: Пользователь произвел выстрел");
    computerShots += CountLines(lines, "Game: Компьютер произвел выстрел");
  };
  for (int sent = 0; sent < length;) {
    for (int i = 0; i < BatchSize && sent < length; ++i, ++sent) storm.SendOne(Frame);
    const TCheck check = Repaint(90s);
    if (check == TCheck::Ended) {
      // Only an orderly end is allowed: start again and go on with the same sequence.
      ASSERT_EQ(*ExitStatus, 0) << "after " << sent << " events: " << Game->Stderr();
      tally();
      ++segments;
      ASSERT_NO_FATAL_FAILURE(Launch());
      continue;
    }
    ASSERT_EQ(check, TCheck::Repainted)
        << "no repaint after " << sent << " events"
        << (X.Shot().Save("/tmp/kravelon-storm.png"), "; see /tmp/kravelon-storm.png");
    // Counted as the win picture comes up: a restart from the menu may bring another.
    const bool over = ShowsWinPicture();
    if (over && !GameOverSeen) ++gamesOver;
    GameOverSeen = over;
    const long kb = ResidentKb(Game->Id());
    if (kb < 0) continue;  // it has just ended: the next check sees how
    if (BaselineKb < 0) BaselineKb = kb;
    peakGrowthKb = std::max(peakGrowthKb, kb - BaselineKb);
    ASSERT_LE(kb - BaselineKb, AllowedGrowthKb) << "after " << sent << " events";
  }
  tally();
  std::printf(
      "storm: %d events, %d segment(s), %d battle(s), %d shots by the user, %d by the "
      "computer, %d game(s) over; resident set grew by at most %ld KB\n",
      length, segments, battles, userShots, computerShots, gamesOver, peakGrowthKb);
  RecordProperty("segments", segments);
  // The storm reaches the battle; the game's end depends on the computer's luck too.
  EXPECT_GE(battles, 1);
  Game->Terminate();
  auto status = Game->WaitForExit(10s);
  ASSERT_TRUE(status);
  EXPECT_EQ(*status, 0);
}

}  // namespace

}  // namespace kravelon
