#include "Toolkit/Toolkit.h"

#include <SDL.h>
#include <SDL_ttf.h>

#include <cstdlib>

#include "Audio/Audio.h"
#include "Toolkit/Application.h"
#include "Toolkit/Cursor.h"
#include "Toolkit/Fonts.h"
#include "Toolkit/Quit.h"
#include "Toolkit/Timer.h"
#include "Toolkit/WindowSystem.h"

namespace kravelon {

TToolkit::TToolkit() {
  const char* display = std::getenv("DISPLAY");
  const char* wayland = std::getenv("WAYLAND_DISPLAY");
  const char* driver = std::getenv("SDL_VIDEODRIVER");
  auto set = [](const char* v) { return v && *v; };
  if (!set(display) && !set(wayland) && !set(driver)) {
    Failure = "no display to open a window on (DISPLAY and WAYLAND_DISPLAY are not set)";
    return;
  }
  SDL_SetHint(SDL_HINT_MOUSE_FOCUS_CLICKTHROUGH, "1");
  SDL_SetHint(SDL_HINT_VIDEO_MINIMIZE_ON_FOCUS_LOSS, "0");
  // Our pictures are composed in memory: the window needs a plain framebuffer, not an OpenGL
  // context behind it (which costs tens of milliseconds to start and buys nothing here).
  SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
  // The game takes no composed characters, only plain keys: without this, opening X's input
  // method parses the locale's whole table of compose sequences (thousands of lines, about an
  // eighth of start-up).
  setenv("XCOMPOSEFILE", "/dev/null", 1);
  // SDL's own handlers know only SIGINT and SIGTERM; ours add SIGHUP and wake blocking pauses.
  SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
  BlockQuitSignals();
  ForgiveVanishedWindows();
  if (SDL_Init(SDL_INIT_VIDEO | SDL_INIT_TIMER | SDL_INIT_EVENTS) != 0) {
    Failure = std::string("cannot start the video system: ") + SDL_GetError();
    return;
  }
  SdlStarted = true;
  // A controller's "A" is the button labelled A, on a Nintendo layout too, unless the player's
  // environment says otherwise (the variable outranks this). Without controllers the game is
  // played as ever: their system failing to start is no failure of the toolkit.
  SDL_SetHint(SDL_HINT_GAMECONTROLLER_USE_BUTTON_LABELS, "1");
  SDL_InitSubSystem(SDL_INIT_GAMECONTROLLER);
  if (TTF_Init() != 0) {
    Failure = std::string("cannot start the font system: ") + TTF_GetError();
    return;
  }
  FontsStarted = true;
  RegisterTimerEvent();
  StartQuitWatch();
  SetAudioIdleNotice([] { return TApplication::Post(CloseAudioWhenIdle); });
  SetAudioInterrupt(QuitRequested);
  Running = true;
}

TToolkit::~TToolkit() {
  if (Running) {
    StopQuitWatch();
    // What the toolkit made while it ran goes before the systems it was made with.
    CloseAudio();
    SetAudioIdleNotice({});
    SetAudioInterrupt(nullptr);
    TApplication::DropPosted();
    ReleaseFonts();
    ReleaseCursor();
  }
  if (FontsStarted) TTF_Quit();
  if (!SdlStarted) {
    ForgetVanishedWindows();
    return;
  }
  // SDL flushes what it still has to say to the X server as it stops: a message to a box that
  // is gone may be answered only then.
  SDL_Quit();
  ForgetVanishedWindows();
}

}  // namespace kravelon
