#include "Toolkit/Forms.h"

#include <SDL.h>
#include <SDL_ttf.h>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <cstdlib>

#include "Toolkit/Audio.h"
#include "Toolkit/Cursor.h"
#include "Toolkit/Errors.h"
#include "Toolkit/Fonts.h"
#include "Toolkit/Quit.h"
#include "Toolkit/Scale.h"
#include "Toolkit/WindowSystem.h"

namespace kravelon {

TApplication* Application = nullptr;

namespace {

Uint32 TimerEvent = 0;

// Timer state touched by SDL's timer thread. Slots are never freed, so a callback that fires
// while its timer is being removed still points at valid memory.
constexpr int MaxTimers = 64;
std::atomic<bool> TickPending[MaxTimers];
std::atomic<bool> SlotUsed[MaxTimers];

Uint32 PushTick(Uint32 interval, void* param) {
  const auto id = static_cast<int>(reinterpret_cast<std::intptr_t>(param));
  bool expected = false;
  if (TickPending[id].compare_exchange_strong(expected, true)) {
    SDL_Event event{};
    event.type = TimerEvent;
    event.user.code = id;
    if (SDL_PushEvent(&event) <= 0) TickPending[id] = false;
  }
  return interval;
}

int KeyCodeOf(SDL_Keycode key) {
  switch (key) {
    case SDLK_PAGEUP: return VK_PRIOR;
    case SDLK_PAGEDOWN: return VK_NEXT;
    case SDLK_ESCAPE: return 27;
    case SDLK_RETURN: case SDLK_KP_ENTER: return 13;
    case SDLK_BACKSPACE: return 8;
    case SDLK_TAB: return 9;
    case SDLK_SPACE: return 32;
    case SDLK_LEFT: return 37;
    case SDLK_UP: return 38;
    case SDLK_RIGHT: return 39;
    case SDLK_DOWN: return 40;
    default: break;
  }
  if (key >= SDLK_a && key <= SDLK_z) return 'A' + (key - SDLK_a);
  if (key >= SDLK_0 && key <= SDLK_9) return key;
  return 0;
}

// The control characters that arrive as key presses; printable ones come as text input.
char ControlCharOf(SDL_Keycode key) {
  switch (key) {
    case SDLK_ESCAPE: return 27;
    case SDLK_RETURN: case SDLK_KP_ENTER: return 13;
    case SDLK_BACKSPACE: return 8;
    case SDLK_TAB: return 9;
    default: return 0;
  }
}

std::uint32_t WindowIdOf(const SDL_Event& e) {
  switch (e.type) {
    case SDL_WINDOWEVENT: return e.window.windowID;
    case SDL_KEYDOWN: case SDL_KEYUP: return e.key.windowID;
    case SDL_TEXTINPUT: return e.text.windowID;
    case SDL_MOUSEMOTION: return e.motion.windowID;
    case SDL_MOUSEBUTTONDOWN: case SDL_MOUSEBUTTONUP: return e.button.windowID;
    case SDL_MOUSEWHEEL: return e.wheel.windowID;
    default: return 0;
  }
}

}  // namespace

std::uint32_t TimerEventType() { return TimerEvent; }

bool InitializeToolkit(std::string& error) {
  const char* display = std::getenv("DISPLAY");
  const char* wayland = std::getenv("WAYLAND_DISPLAY");
  const char* driver = std::getenv("SDL_VIDEODRIVER");
  auto set = [](const char* v) { return v && *v; };
  if (!set(display) && !set(wayland) && !set(driver)) {
    error = "no display to open a window on (DISPLAY and WAYLAND_DISPLAY are not set)";
    return false;
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
  if (SDL_Init(SDL_INIT_VIDEO | SDL_INIT_TIMER | SDL_INIT_EVENTS) != 0) {
    error = std::string("cannot start the video system: ") + SDL_GetError();
    return false;
  }
  if (TTF_Init() != 0) {
    error = std::string("cannot start the font system: ") + TTF_GetError();
    SDL_Quit();
    return false;
  }
  TimerEvent = SDL_RegisterEvents(1);
  StartQuitWatch();
  return true;
}

void ShutdownToolkit() {
  StopQuitWatch();
  CloseAudio();
  ReleaseFonts();
  ReleaseCursor();
  TTF_Quit();
  SDL_Quit();
}

// ---- TForm ----------------------------------------------------------------------------------

TForm::TForm(std::string caption, int width, int height) {
  const int scale = DisplayScale();
  Window.reset(SDL_CreateWindow(caption.c_str(), SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED,
                                width * scale, height * scale, SDL_WINDOW_HIDDEN));
  if (!Window) throw TToolkitError(std::string("Cannot create a window: ") + SDL_GetError());
  SetPicturePixelFormat(SDL_GetWindowPixelFormat(Window.get()));
  WindowCanvas.OnChanged = [this] { SDL_UpdateWindowSurface(Window.get()); };
  // Scaled, the game draws in its own pixels on a picture that is shown enlarged.
  Logical.Canvas.OnChanged = [this] { ShowLogical(); };
  if (Application) Application->RegisterForm(this);
}

TForm::~TForm() {
  if (Application) Application->UnregisterForm(this);
}

void TForm::SetBorderStyle(TBorderStyle style) {
  SDL_SetWindowBordered(Window.get(), style == TBorderStyle::None ? SDL_FALSE : SDL_TRUE);
}

void TForm::SetStayOnTop(bool on) {
  SDL_SetWindowAlwaysOnTop(Window.get(), on ? SDL_TRUE : SDL_FALSE);
}

void TForm::SetWindowState(TWindowState state) {
  State = state;
  if (state == TWindowState::Maximized) {
    CoverScreen();
  } else {
    SDL_RestoreWindow(Window.get());
  }
}

// Without a window manager nothing maximises a window, so it is sized to the screen itself; a
// window not yet shown does not take a new position on every X server, so this runs again when
// the window is shown.
void TForm::CoverScreen() {
  SDL_Rect bounds{};
  SDL_GetDisplayBounds(0, &bounds);
  SDL_SetWindowSize(Window.get(), bounds.w, bounds.h);
  SDL_SetWindowPosition(Window.get(), bounds.x, bounds.y);
}

void TForm::SetSize(int width, int height) {
  SDL_SetWindowSize(Window.get(), width * DisplayScale(), height * DisplayScale());
}

void TForm::CenterOnScreen() {
  SDL_SetWindowPosition(Window.get(), SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED);
}

void TForm::Show() {
  SDL_ShowWindow(Window.get());
  if (State == TWindowState::Maximized) CoverScreen();
}
void TForm::Hide() { SDL_HideWindow(Window.get()); }
bool TForm::Visible() const { return (SDL_GetWindowFlags(Window.get()) & SDL_WINDOW_SHOWN) != 0; }

void TForm::Raise() {
  SDL_RaiseWindow(Window.get());
  SDL_SetWindowInputFocus(Window.get());
}

void TForm::Close() {
  if (Application && Application->MainForm == this) {
    Application->Terminate();
  } else {
    Hide();
  }
}

int TForm::ClientWidth() const {
  int w = 0, h = 0;
  SDL_GetWindowSize(Window.get(), &w, &h);
  return w / DisplayScale();
}

int TForm::ClientHeight() const {
  int w = 0, h = 0;
  SDL_GetWindowSize(Window.get(), &w, &h);
  return h / DisplayScale();
}

TPoint TForm::Position() const {
  TPoint p;
  SDL_GetWindowPosition(Window.get(), &p.X, &p.Y);
  return {p.X / DisplayScale(), p.Y / DisplayScale()};
}

TPoint TForm::ToLogical(int x, int y) const { return {x / DisplayScale(), y / DisplayScale()}; }

std::uint32_t TForm::WindowId() const { return SDL_GetWindowID(Window.get()); }

void TForm::RefreshSurface() {
  // Asking for the surface would make one.
  if (!ColorBySystem) WindowCanvas.SetSurface(SDL_GetWindowSurface(Window.get()));
}

void TForm::LeaveColorToWindowSystem() {
  ColorBySystem = LetWindowSystemFill(Window.get(), Color);
}

TCanvas& TForm::Canvas() {
  RefreshSurface();
  if (DisplayScale() == 1) return WindowCanvas;
  if (Logical.Width() != ClientWidth() || Logical.Height() != ClientHeight()) {
    Logical.SetSize(ClientWidth(), ClientHeight());
  }
  return Logical.Canvas;
}

void TForm::ShowLogical() {
  RefreshSurface();
  if (!WindowCanvas.GetSurface() || Logical.Empty()) return;
  const TRect whole{0, 0, Logical.Width(), Logical.Height()};
  CopyToSurface(Logical, whole, {0, 0});
  if (OverlayPicture) DrawOverlay({0, 0, OverlayPicture->Width(), OverlayPicture->Height()});
  SendRects(&whole, 1);
}

void TForm::Present(const TBitmap& picture) {
  const TRect whole{0, 0, ClientWidth(), ClientHeight()};
  PresentRects(picture, &whole, 1);
}

void TForm::PresentRects(const TBitmap& picture, const TRect* rects, int count) {
  RefreshSurface();
  const SDL_Surface* surface = WindowCanvas.GetSurface();
  if (!surface) return;
  const int scale = DisplayScale();
  const TRect window{0, 0, surface->w / scale, surface->h / scale};
  const TRect overlay = OverlayPicture ? TRect{OverlayAt.X, OverlayAt.Y,
                                               OverlayAt.X + OverlayPicture->Width(),
                                               OverlayAt.Y + OverlayPicture->Height()}
                                       : TRect{};
  // Scaled, the window keeps what it shows in the game's own pixels, so that an exposure can
  // be repainted from them.
  SDL_Surface* kept = scale > 1 ? Canvas().GetSurface() : nullptr;
  std::vector<TRect> sent;
  sent.reserve(static_cast<std::size_t>(std::max(count, 0)));
  for (int i = 0; i < count; ++i) {
    const TRect r = rects[i].Intersect(window);
    if (r.Width() == 0) continue;
    if (kept && picture.Surface()) {
      CopyScaled(picture.Surface(), SDL_Rect{r.Left, r.Top, r.Width(), r.Height()}, kept, r.Left,
                 r.Top, 1);
      CopyToSurface(Logical, r, {r.Left, r.Top});
    } else {
      CopyToSurface(picture, r, {r.Left, r.Top});
    }
    // An open menu stays on top of whatever changed beneath it.
    const TRect covered = r.Intersect(overlay);
    if (covered.Width() > 0) {
      DrawOverlay({covered.Left - OverlayAt.X, covered.Top - OverlayAt.Y,
                   covered.Right - OverlayAt.X, covered.Bottom - OverlayAt.Y});
    }
    sent.push_back(r);
  }
  SendRects(sent.data(), static_cast<int>(sent.size()));
}

// Pictures share the window surface's pixel format, so a part is copied row by row (each pixel
// as a block on a scaled display); SDL's general blit costs several times a plain copy.
void TForm::CopyToSurface(const TBitmap& picture, const TRect& part, TPoint at) {
  SDL_Surface* surface = WindowCanvas.GetSurface();
  SDL_Surface* source = picture.Surface();
  if (!surface || !source) return;
  const int scale = DisplayScale();
  const SDL_Rect from{part.Left, part.Top, part.Width(), part.Height()};
  if (source->format->format == surface->format->format && source->format->BytesPerPixel == 4) {
    CopyScaled(source, from, surface, at.X * scale, at.Y * scale, scale);
    return;
  }
  SDL_Rect src = from;
  SDL_Rect dest{at.X * scale, at.Y * scale, part.Width() * scale, part.Height() * scale};
  SDL_BlitScaled(source, &src, surface, &dest);
}

// Rectangles in the game's pixels, sent as the window's.
void TForm::SendRects(const TRect* rects, int count) {
  const SDL_Surface* surface = WindowCanvas.GetSurface();
  if (!surface || count <= 0) return;
  const int scale = DisplayScale();
  std::vector<SDL_Rect> sdl;
  sdl.reserve(static_cast<std::size_t>(count));
  for (int i = 0; i < count; ++i) {
    const TRect r = TRect{rects[i].Left * scale, rects[i].Top * scale, rects[i].Right * scale,
                          rects[i].Bottom * scale}
                        .Intersect({0, 0, surface->w, surface->h});
    if (r.Width() > 0) sdl.push_back({r.Left, r.Top, r.Width(), r.Height()});
  }
  if (!sdl.empty()) {
    SDL_UpdateWindowSurfaceRects(Window.get(), sdl.data(), static_cast<int>(sdl.size()));
  }
}

// Copies a part of the overlay (its own coordinates) onto the window surface; sends nothing.
void TForm::DrawOverlay(const TRect& part) {
  if (!OverlayPicture || OverlayPicture->Empty()) return;
  CopyToSurface(*OverlayPicture, part, {OverlayAt.X + part.Left, OverlayAt.Y + part.Top});
}

void TForm::SetOverlay(const TBitmap* picture, TPoint at) {
  OverlayPicture = picture;
  OverlayAt = at;
  if (picture) UpdateOverlay({0, 0, picture->Width(), picture->Height()});
}

void TForm::UpdateOverlay(const TRect& part) {
  RefreshSurface();
  if (!WindowCanvas.GetSurface() || !OverlayPicture) return;
  DrawOverlay(part);
  // Only the changed part travels to the screen: a highlight move is two menu items.
  const TRect sent{OverlayAt.X + part.Left, OverlayAt.Y + part.Top, OverlayAt.X + part.Right,
                   OverlayAt.Y + part.Bottom};
  SendRects(&sent, 1);
}

void TForm::ClearOverlay() {
  if (!OverlayPicture) return;
  OverlayPicture = nullptr;
  Repaint();
}

void TForm::Repaint() {
  RefreshSurface();
  SDL_Surface* surface = WindowCanvas.GetSurface();
  if (!surface) return;
  const bool scaled = DisplayScale() > 1;
  SDL_Surface* target = scaled ? Canvas().GetSurface() : surface;
  if (target) SDL_FillRect(target, nullptr, SDL_MapRGB(target->format, Color.R, Color.G, Color.B));
  if (OnPaint) OnPaint();
  if (scaled) {
    ShowLogical();
    return;
  }
  if (OverlayPicture) DrawOverlay({0, 0, OverlayPicture->Width(), OverlayPicture->Height()});
  const TRect whole{0, 0, surface->w, surface->h};  // unscaled here
  SendRects(&whole, 1);
}

TSpeedButton* TForm::ButtonAt(int x, int y) const {
  for (TSpeedButton* b : Buttons) {
    if (b->Bounds.Contains({x, y})) return b;
  }
  return nullptr;
}

void TForm::Dispatch(const SDL_Event& e) {
  switch (e.type) {
    case SDL_WINDOWEVENT:
      switch (e.window.event) {
        case SDL_WINDOWEVENT_EXPOSED: Repaint(); break;
        case SDL_WINDOWEVENT_SIZE_CHANGED: RefreshSurface(); break;
        case SDL_WINDOWEVENT_FOCUS_GAINED: if (OnFocusGained) OnFocusGained(); break;
        case SDL_WINDOWEVENT_CLOSE: if (OnCloseRequest) OnCloseRequest(); break;
        default: break;
      }
      break;
    case SDL_MOUSEMOTION: {
      const TPoint at = ToLogical(e.motion.x, e.motion.y);
      if (Captured || ButtonAt(at.X, at.Y)) break;
      if (OnMouseMove) OnMouseMove(at.X, at.Y);
      break;
    }
    case SDL_MOUSEBUTTONDOWN: {
      const TPoint at = ToLogical(e.button.x, e.button.y);
      if (TSpeedButton* b = ButtonAt(at.X, at.Y)) {
        if (e.button.button == SDL_BUTTON_LEFT) {
          Captured = b;
          b->Pressed = true;
        }
        break;
      }
      TMouseButton button = e.button.button == SDL_BUTTON_RIGHT    ? TMouseButton::Right
                            : e.button.button == SDL_BUTTON_MIDDLE ? TMouseButton::Middle
                                                                   : TMouseButton::Left;
      if (e.button.button > SDL_BUTTON_RIGHT) break;  // side buttons are not the game's
      if (OnMouseDown) OnMouseDown(button, at.X, at.Y);
      break;
    }
    case SDL_MOUSEBUTTONUP:
      if (Captured && e.button.button == SDL_BUTTON_LEFT) {
        TSpeedButton* b = Captured;
        Captured = nullptr;
        b->Pressed = false;
        const TPoint at = ToLogical(e.button.x, e.button.y);
        if (ButtonAt(at.X, at.Y) == b && b->OnClick) b->OnClick();
      }
      break;
    case SDL_MOUSEWHEEL: {
      int notches = e.wheel.y;
      if (e.wheel.direction == SDL_MOUSEWHEEL_FLIPPED) notches = -notches;
      for (; notches > 0; --notches) {
        if (OnMouseWheelUp) OnMouseWheelUp();
      }
      for (; notches < 0; ++notches) {
        if (OnMouseWheelDown) OnMouseWheelDown();
      }
      break;
    }
    case SDL_KEYDOWN: {
      int key = KeyCodeOf(e.key.keysym.sym);
      if (key != 0 && OnKeyDown) OnKeyDown(key);
      char c = ControlCharOf(e.key.keysym.sym);
      if (c != 0 && OnKeyPress) OnKeyPress(c);
      break;
    }
    case SDL_TEXTINPUT:
      for (const char* p = e.text.text; *p; ++p) {
        char c = *p;
        if (static_cast<unsigned char>(c) < 0x80 && OnKeyPress) OnKeyPress(c);
      }
      break;
    default: break;
  }
}

// ---- TTimer ---------------------------------------------------------------------------------

TTimer::TTimer() : TimerId(-1) {
  for (int i = 0; i < MaxTimers; ++i) {
    bool expected = false;
    if (SlotUsed[i].compare_exchange_strong(expected, true)) {
      TimerId = i;
      break;
    }
  }
  if (TimerId < 0) throw TToolkitError("Too many timers");
  TickPending[TimerId] = false;
  if (Application) Application->RegisterTimer(this);
}

TTimer::~TTimer() {
  Cancel();
  if (Application) Application->UnregisterTimer(this);
  SlotUsed[TimerId] = false;
}

void TTimer::Cancel() {
  if (SdlTimer != 0) SDL_RemoveTimer(SdlTimer);
  SdlTimer = 0;
  TickPending[TimerId] = false;
}

void TTimer::Restart() {
  Cancel();
  if (IsEnabled && IntervalMs > 0) {
    SdlTimer = SDL_AddTimer(static_cast<Uint32>(IntervalMs), PushTick,
                            reinterpret_cast<void*>(static_cast<std::intptr_t>(TimerId)));
  }
}

void TTimer::SetEnabled(bool on) {
  if (on == IsEnabled) return;
  IsEnabled = on;
  Restart();
}

void TTimer::SetInterval(int milliseconds) {
  if (milliseconds == IntervalMs) return;
  IntervalMs = milliseconds;
  Restart();
}

void TTimer::Tick() {
  TickPending[TimerId] = false;
  if (IsEnabled && OnTimer) OnTimer();
}

// ---- TApplication ---------------------------------------------------------------------------

TApplication::TApplication() { Application = this; }

TApplication::~TApplication() {
  if (Application == this) Application = nullptr;
}

void TApplication::SetIdle(TIdleHandler handler) { Idle = std::move(handler); }
void TApplication::ClearIdle() { Idle = nullptr; }
void TApplication::Terminate() { IsTerminated = true; }

void TApplication::RegisterForm(TForm* form) { Forms.push_back(form); }
void TApplication::UnregisterForm(TForm* form) { std::erase(Forms, form); }
void TApplication::RegisterTimer(TTimer* timer) { Timers.push_back(timer); }
void TApplication::UnregisterTimer(TTimer* timer) { std::erase(Timers, timer); }

void TApplication::ShowException(const std::exception& error) { ReportError(error.what()); }

void TApplication::ShowException(std::exception_ptr error) {
  try {
    std::rethrow_exception(error);
  } catch (const std::exception& e) {
    ShowException(e);
  } catch (...) {
    ReportError("");
  }
}

void TApplication::ReportError(const std::string& message) {
  if (OnException) {
    OnException(message);
  } else {
    std::fprintf(stderr, "%s\n", message.c_str());
  }
}

void TApplication::Dispatch(const SDL_Event& event) {
  try {
    if (event.type == SDL_QUIT) {
      Terminate();
      return;
    }
    if (event.type == AudioIdleEventType() && event.type != 0) {
      CloseAudioWhenIdle();
      return;
    }
    if (event.type == TimerEvent) {
      for (TTimer* t : Timers) {
        if (t->Id() == event.user.code) {
          t->Tick();
          break;
        }
      }
      return;
    }
    const std::uint32_t id = WindowIdOf(event);
    if (id == 0) return;
    for (TForm* f : Forms) {
      if (f->WindowId() == id) {
        f->Dispatch(event);
        break;
      }
    }
  } catch (...) {
    ShowException(std::current_exception());
  }
}

void TApplication::ProcessMessages() {
  SDL_Event event;
  while (!IsTerminated && SDL_PollEvent(&event)) Dispatch(event);
}

bool TApplication::StepIdle() {
  if (!Idle) return true;
  // A copy: the step may install another step or clear the slot while it runs.
  TIdleHandler step = Idle;
  bool done = true;
  try {
    step(done);
  } catch (...) {
    ShowException(std::current_exception());
  }
  return done;
}

void TApplication::RunIdle() {
  const bool done = StepIdle();
  if (done && Idle && !IsTerminated) {
    SDL_Event event;
    if (SDL_WaitEvent(&event)) Dispatch(event);
  }
}

void TApplication::Run() {
  if (IsTerminated) return;
  if (MainForm) MainForm->Show();
  while (!IsTerminated) {
    if (Idle) {
      ProcessMessages();
      if (!IsTerminated && Idle) RunIdle();
    } else {
      SDL_Event event;
      if (SDL_WaitEvent(&event)) Dispatch(event);
    }
  }
}

}  // namespace kravelon
