#include "Toolkit/Forms.h"

#include <SDL.h>
#include <SDL_ttf.h>

#include <algorithm>
#include <atomic>
#include <cstdlib>

#include "Toolkit/Audio.h"
#include "Toolkit/Errors.h"
#include "Toolkit/Fonts.h"
#include "Toolkit/MessageBox.h"
#include "Toolkit/Quit.h"
#include "Toolkit/Scale.h"

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
  TTF_Quit();
  SDL_Quit();
}

// ---- TForm ----------------------------------------------------------------------------------

TForm::TForm(std::string caption, int width, int height) {
  const int scale = DisplayScale();
  Window = SDL_CreateWindow(caption.c_str(), SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED,
                            width * scale, height * scale, SDL_WINDOW_HIDDEN);
  if (!Window) throw TToolkitError(std::string("Cannot create a window: ") + SDL_GetError());
  SetPicturePixelFormat(SDL_GetWindowPixelFormat(Window));
  WindowCanvas.OnChanged = [this] { SDL_UpdateWindowSurface(Window); };
  // Scaled, the game draws in its own pixels on a picture that is shown enlarged.
  Logical.Canvas.OnChanged = [this] { ShowLogical(); };
  if (Application) Application->RegisterForm(this);
}

TForm::~TForm() {
  if (Application) Application->UnregisterForm(this);
  if (Window) SDL_DestroyWindow(Window);
}

void TForm::SetBorderStyle(TBorderStyle style) {
  SDL_SetWindowBordered(Window, style == TBorderStyle::None ? SDL_FALSE : SDL_TRUE);
}

void TForm::SetStayOnTop(bool on) { SDL_SetWindowAlwaysOnTop(Window, on ? SDL_TRUE : SDL_FALSE); }

void TForm::SetWindowState(TWindowState state) {
  State = state;
  if (state == TWindowState::Maximized) {
    CoverScreen();
  } else {
    SDL_RestoreWindow(Window);
  }
}

// Without a window manager nothing maximises a window, so it is sized to the screen itself; a
// window not yet shown does not take a new position on every X server, so this runs again when
// the window is shown.
void TForm::CoverScreen() {
  SDL_Rect bounds{};
  SDL_GetDisplayBounds(0, &bounds);
  SDL_SetWindowSize(Window, bounds.w, bounds.h);
  SDL_SetWindowPosition(Window, bounds.x, bounds.y);
}

void TForm::SetSize(int width, int height) {
  SDL_SetWindowSize(Window, width * DisplayScale(), height * DisplayScale());
}

void TForm::CenterOnScreen() {
  SDL_SetWindowPosition(Window, SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED);
}

void TForm::Show() {
  SDL_ShowWindow(Window);
  if (State == TWindowState::Maximized) CoverScreen();
}
void TForm::Hide() { SDL_HideWindow(Window); }
bool TForm::Visible() const { return (SDL_GetWindowFlags(Window) & SDL_WINDOW_SHOWN) != 0; }

void TForm::Raise() {
  SDL_RaiseWindow(Window);
  SDL_SetWindowInputFocus(Window);
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
  SDL_GetWindowSize(Window, &w, &h);
  return w / DisplayScale();
}

int TForm::ClientHeight() const {
  int w = 0, h = 0;
  SDL_GetWindowSize(Window, &w, &h);
  return h / DisplayScale();
}

TPoint TForm::Position() const {
  TPoint p;
  SDL_GetWindowPosition(Window, &p.X, &p.Y);
  return {p.X / DisplayScale(), p.Y / DisplayScale()};
}

TPoint TForm::ToLogical(int x, int y) const { return {x / DisplayScale(), y / DisplayScale()}; }

std::uint32_t TForm::WindowId() const { return SDL_GetWindowID(Window); }

void TForm::RefreshSurface() { WindowCanvas.SetSurface(SDL_GetWindowSurface(Window)); }

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
  SDL_Surface* surface = WindowCanvas.GetSurface();
  if (!surface || Logical.Empty()) return;
  const int scale = DisplayScale();
  CopyScaled(Logical.Surface(), SDL_Rect{0, 0, Logical.Width(), Logical.Height()}, surface, 0, 0, scale);
  if (OverlayPicture) DrawOverlay({0, 0, OverlayPicture->Width(), OverlayPicture->Height()});
  SDL_UpdateWindowSurface(Window);
}

void TForm::Present(const TBitmap& picture) {
  RefreshSurface();
  SDL_Surface* surface = WindowCanvas.GetSurface();
  if (!surface) return;
  if (DisplayScale() > 1) {
    // The window's own canvas keeps what is shown, as it does unscaled.
    if (!picture.Empty()) Canvas().CopyRect({0, 0, picture.Width(), picture.Height()}, picture,
                                            {0, 0, picture.Width(), picture.Height()});
    return;
  }
  if (!picture.Empty()) SDL_BlitSurface(picture.Surface(), nullptr, surface, nullptr);
  if (OverlayPicture) DrawOverlay({0, 0, OverlayPicture->Width(), OverlayPicture->Height()});
  SDL_UpdateWindowSurface(Window);
}

// Copies a part of the overlay (its own coordinates) onto the window surface; sends nothing.
void TForm::DrawOverlay(const TRect& part) {
  SDL_Surface* surface = WindowCanvas.GetSurface();
  if (!surface || !OverlayPicture || OverlayPicture->Empty()) return;
  const int scale = DisplayScale();
  CopyScaled(OverlayPicture->Surface(), SDL_Rect{part.Left, part.Top, part.Width(), part.Height()},
             surface, (OverlayAt.X + part.Left) * scale, (OverlayAt.Y + part.Top) * scale, scale);
}

void TForm::SetOverlay(const TBitmap* picture, TPoint at) {
  OverlayPicture = picture;
  OverlayAt = at;
  if (picture) UpdateOverlay({0, 0, picture->Width(), picture->Height()});
}

void TForm::UpdateOverlay(const TRect& part) {
  RefreshSurface();
  SDL_Surface* surface = WindowCanvas.GetSurface();
  if (!surface || !OverlayPicture) return;
  DrawOverlay(part);
  // Only the changed part travels to the screen: a highlight move is two menu items.
  const int scale = DisplayScale();
  SDL_Rect sent{(OverlayAt.X + part.Left) * scale, (OverlayAt.Y + part.Top) * scale,
                part.Width() * scale, part.Height() * scale};
  SDL_Rect window{0, 0, surface->w, surface->h};
  SDL_Rect clipped;
  if (SDL_IntersectRect(&sent, &window, &clipped)) SDL_UpdateWindowSurfaceRects(Window, &clipped, 1);
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
  SDL_UpdateWindowSurface(Window);
}

TSpeedButton* TForm::ButtonAt(int x, int y) const {
  for (TSpeedButton* b : Buttons) {
    if (x >= b->Bounds.Left && x < b->Bounds.Right && y >= b->Bounds.Top && y < b->Bounds.Bottom) {
      return b;
    }
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

void TApplication::ShowException(const std::exception& error) {
  MessageBox(error.what(), Title, TMessageIcon::Error);
}

void TApplication::ShowException(std::exception_ptr error) {
  try {
    std::rethrow_exception(error);
  } catch (const std::exception& e) {
    ShowException(e);
  } catch (...) {
    MessageBox("", Title, TMessageIcon::Error);
  }
}

void TApplication::Dispatch(const SDL_Event& event) {
  try {
    if (event.type == SDL_QUIT) {
      Terminate();
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

