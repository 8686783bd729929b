#include "Toolkit/Form.h"

#include <SDL.h>

#include <algorithm>
#include <string>
#include <vector>

#include "Platform/Errors.h"
#include "Toolkit/Keys.h"
#include "Toolkit/Scale.h"
#include "Toolkit/WindowSystem.h"

namespace kravelon {

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

std::optional<TPoint> TForm::PointerPosition() const {
  int x = 0, y = 0, left = 0, top = 0, w = 0, h = 0;
  SDL_GetGlobalMouseState(&x, &y);
  SDL_GetWindowPosition(Window.get(), &left, &top);
  SDL_GetWindowSize(Window.get(), &w, &h);
  x -= left;
  y -= top;
  if (x < 0 || y < 0 || x >= w || y >= h) return std::nullopt;
  return ToLogical(x, y);
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
    ++Updates;
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

void TForm::PressKey(std::int32_t sdlKey, int scancode, std::uint16_t modifiers) {
  const TKeyModifiers held(modifiers);
  int key = KeyCodeOf(sdlKey, scancode);
  if (key != 0 && OnKeyDown) OnKeyDown(key);
  char c = ControlCharOf(sdlKey);
  if (c != 0 && OnKeyPress) OnKeyPress(c);
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
    case SDL_KEYDOWN: PressKey(e.key.keysym.sym, e.key.keysym.scancode, e.key.keysym.mod); break;
    case SDL_TEXTINPUT:
      for (const char* p = e.text.text; *p; ++p) {
        char c = *p;
        if (static_cast<unsigned char>(c) < 0x80 && OnKeyPress) OnKeyPress(c);
      }
      break;
    default: break;
  }
}

}  // namespace kravelon
