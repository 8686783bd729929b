#include "Toolkit/MessageBox.h"

#include <SDL.h>

#include <algorithm>
#include <cmath>
#include <optional>
#include <utility>
#include <vector>

#include "Toolkit/Application.h"
#include "Toolkit/Fonts.h"
#include "Toolkit/GameControllers.h"
#include "Toolkit/Graphics.h"
#include "Toolkit/Scale.h"
#include "Toolkit/SdlPtr.h"

namespace kravelon {

namespace {

constexpr TColor CaptionColor{24, 52, 96};
constexpr TColor BodyColor{236, 236, 232};
constexpr TColor ButtonColor{222, 222, 218};
constexpr TColor FrameColor{90, 90, 90};
constexpr int Margin = 16;
constexpr int CaptionHeight = 26;
constexpr int IconSize = 32;
constexpr int ButtonWidth = 88;
constexpr int ButtonHeight = 28;

std::vector<std::string> SplitLines(const std::string& text) {
  std::vector<std::string> lines(1);
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') continue;
    if (text[i] == '\n' || text[i] == '\r') {
      lines.emplace_back();
    } else {
      lines.back() += text[i];
    }
  }
  return lines;
}

TColor Mix(TColor a, TColor b, double t) {
  auto m = [t](int x, int y) { return static_cast<std::uint8_t>(std::lround(x + (y - x) * t)); };
  return {m(a.R, b.R), m(a.G, b.G), m(a.B, b.B)};
}

// A round badge with a white sign: a cross for errors, an "i" for information.
void DrawIcon(TBitmap& box, int left, int top, TMessageIcon icon) {
  const TColor disc = icon == TMessageIcon::Error ? TColor{200, 40, 40} : TColor{40, 100, 200};
  const double c = IconSize / 2.0, r = IconSize / 2.0 - 1;
  for (int y = 0; y < IconSize; ++y) {
    for (int x = 0; x < IconSize; ++x) {
      const double px = x + 0.5 - c, py = y + 0.5 - c;
      const double edge = std::clamp(r - std::hypot(px, py) + 0.5, 0.0, 1.0);
      if (edge <= 0) continue;
      double sign = 0;
      if (icon == TMessageIcon::Error) {
        const double d1 = std::abs(px - py) / std::sqrt(2.0), d2 = std::abs(px + py) / std::sqrt(2.0);
        if (std::abs(px) < 8.5 && std::abs(py) < 8.5) sign = std::clamp(2.2 - std::min(d1, d2), 0.0, 1.0);
      } else {
        const bool stem = std::abs(px) < 2.2 && py > -3.5 && py < 9.5;
        const bool dot = std::hypot(px, py + 8) < 2.6;
        sign = stem || dot ? 1.0 : 0.0;
      }
      TColor under = box.Canvas.Pixel(left + x, top + y);
      TColor colour = Mix(disc, clr::White, sign);
      box.Canvas.SetPixel(left + x, top + y, Mix(under, colour, edge));
    }
  }
}

void Frame(TCanvas& canvas, const TRect& r, TColor colour) {
  canvas.BrushColor = colour;
  canvas.FillRect({r.Left, r.Top, r.Right, r.Top + 1});
  canvas.FillRect({r.Left, r.Bottom - 1, r.Right, r.Bottom});
  canvas.FillRect({r.Left, r.Top, r.Left + 1, r.Bottom});
  canvas.FillRect({r.Right - 1, r.Top, r.Right, r.Bottom});
}

struct TLayout {
  int Width, Height;
  TRect Button;
  int TextLeft, TextTop, LineHeight;
};

TLayout Measure(TCanvas& text, const std::vector<std::string>& lines, TCanvas& title,
                const std::string& caption) {
  int textWidth = 0;
  for (const auto& l : lines) textWidth = std::max(textWidth, text.TextWidth(l));
  const int lineHeight = std::max(text.TextHeight("Ag"), 1);
  const int textHeight = lineHeight * static_cast<int>(lines.size());
  TLayout l{};
  l.Width = std::max({280, Margin * 3 + IconSize + textWidth, title.TextWidth(caption) + 2 * Margin});
  const int body = std::max(IconSize, textHeight);
  l.Height = CaptionHeight + Margin + body + Margin + ButtonHeight + Margin;
  l.TextLeft = Margin * 2 + IconSize;
  l.TextTop = CaptionHeight + Margin + (body - textHeight) / 2;
  l.LineHeight = lineHeight;
  const int bx = (l.Width - ButtonWidth) / 2, by = l.Height - Margin - ButtonHeight;
  l.Button = {bx, by, bx + ButtonWidth, by + ButtonHeight};
  return l;
}

void Compose(TBitmap& box, const TLayout& l, const std::vector<std::string>& lines,
             const std::string& caption, TMessageIcon icon, bool pressed) {
  TCanvas& c = box.Canvas;
  c.BrushStyle = TBrushStyle::Solid;
  c.BrushColor = BodyColor;
  c.FillRect({0, 0, l.Width, l.Height});
  c.BrushColor = CaptionColor;
  c.FillRect({0, 0, l.Width, CaptionHeight});
  c.BrushStyle = TBrushStyle::Clear;
  c.Font = {"MS Sans Serif", 10, clr::White, TFontStyle::Bold};
  c.TextOut(Margin / 2 + 2, (CaptionHeight - c.TextHeight(caption)) / 2, caption);
  DrawIcon(box, Margin, CaptionHeight + Margin, icon);
  c.Font = {"MS Sans Serif", 10, clr::Black, TFontStyle::Regular};
  for (std::size_t i = 0; i < lines.size(); ++i) {
    c.TextOut(l.TextLeft, l.TextTop + static_cast<int>(i) * l.LineHeight, lines[i]);
  }
  c.BrushStyle = TBrushStyle::Solid;
  c.BrushColor = pressed ? Mix(ButtonColor, clr::Black, 0.1) : ButtonColor;
  c.FillRect(l.Button);
  Frame(c, l.Button, FrameColor);
  Frame(c, {0, 0, l.Width, l.Height}, FrameColor);
  c.BrushStyle = TBrushStyle::Clear;
  const int tw = c.TextWidth("OK"), th = c.TextHeight("OK");
  c.TextOut(l.Button.Left + (ButtonWidth - tw) / 2 + (pressed ? 1 : 0),
            l.Button.Top + (ButtonHeight - th) / 2 + (pressed ? 1 : 0), "OK");
}

bool InButton(const TLayout& l, int x, int y) {
  return l.Button.Contains({x, y});
}

TMessageBoxHandler& Handler() {
  static TMessageBoxHandler handler;
  return handler;
}

// The observers by their watch's id, in the order they began to watch.
std::vector<std::pair<int, TMessageBoxObserver>>& Observers() {
  static std::vector<std::pair<int, TMessageBoxObserver>> observers;
  return observers;
}

}  // namespace

void SetMessageBoxHandler(TMessageBoxHandler handler) { Handler() = std::move(handler); }

TMessageBoxWatch::TMessageBoxWatch(TMessageBoxObserver observer) {
  static int lastId = 0;
  Id = ++lastId;
  Observers().emplace_back(Id, std::move(observer));
}

TMessageBoxWatch::~TMessageBoxWatch() {
  if (Id != 0) std::erase_if(Observers(), [this](const auto& entry) { return entry.first == Id; });
}

TMessageBoxWatch::TMessageBoxWatch(TMessageBoxWatch&& other) noexcept
    : Id(std::exchange(other.Id, 0)) {}

TMessageBoxWatch& TMessageBoxWatch::operator=(TMessageBoxWatch&& other) noexcept {
  if (this != &other) {
    TMessageBoxWatch gone(std::move(*this));
    Id = std::exchange(other.Id, 0);
  }
  return *this;
}

void MessageBox(const std::string& text, const std::string& caption, TMessageIcon icon) {
  // A copy: an observer may stop watching (or start) while it is told.
  const auto observers = Observers();
  for (const auto& [id, observer] : observers) observer(text, caption);
  if (Handler()) {
    Handler()(text, caption, icon);
    return;
  }
  TFont probe{"MS Sans Serif", 10, clr::Black, TFontStyle::Regular};
  if (!OpenFont(probe)) {
    // No face at all: SDL's own box still says it.
    SDL_ShowSimpleMessageBox(
        icon == TMessageIcon::Error ? SDL_MESSAGEBOX_ERROR : SDL_MESSAGEBOX_INFORMATION,
        caption.c_str(), text.c_str(), nullptr);
    return;
  }
  const std::vector<std::string> lines = SplitLines(text);
  TBitmap scratch(1, 1);
  scratch.Canvas.Font = probe;
  TCanvas title;
  title.Font = {"MS Sans Serif", 10, clr::White, TFontStyle::Bold};
  const TLayout layout = Measure(scratch.Canvas, lines, title, caption);

  const int scale = DisplayScale();
  // Without a window manager nobody hands the keyboard back when the box goes: we do.
  SDL_Window* focusBefore = SDL_GetKeyboardFocus();
  TWindowPtr owned(SDL_CreateWindow(
      caption.c_str(), SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED, layout.Width * scale,
      layout.Height * scale,
      SDL_WINDOW_BORDERLESS | SDL_WINDOW_ALWAYS_ON_TOP | SDL_WINDOW_SKIP_TASKBAR));
  SDL_Window* const window = owned.get();
  if (!window) {
    SDL_ShowSimpleMessageBox(SDL_MESSAGEBOX_ERROR, caption.c_str(), text.c_str(), nullptr);
    return;
  }
  const Uint32 id = SDL_GetWindowID(window);
  TBitmap box(layout.Width, layout.Height);
  bool pressed = false;
  auto show = [&] {
    Compose(box, layout, lines, caption, icon, pressed);
    if (SDL_Surface* surface = SDL_GetWindowSurface(window)) {
      CopyScaled(box.Surface(), SDL_Rect{0, 0, layout.Width, layout.Height}, surface, 0, 0, scale);
      SDL_UpdateWindowSurface(window);
    }
  };
  SDL_RaiseWindow(window);
  SDL_SetWindowInputFocus(window);
  show();

  // A box shown before the application exists still needs one to wait in.
  std::optional<TApplication> standIn;
  if (!Application) standIn.emplace();
  bool quitRequested = false;
  Application->RunModal([&](const SDL_Event& e) {
    if (e.type == SDL_QUIT) {
      quitRequested = true;
      return TModalAnswer::Close;
    }
    if (e.type == SDL_WINDOWEVENT && e.window.windowID == id) {
      if (e.window.event == SDL_WINDOWEVENT_EXPOSED) show();
      return e.window.event == SDL_WINDOWEVENT_CLOSE ? TModalAnswer::Close : TModalAnswer::Handled;
    }
    if (e.type == SDL_KEYDOWN && e.key.windowID == id) {
      const SDL_Keycode k = e.key.keysym.sym;
      const bool closes = k == SDLK_RETURN || k == SDLK_KP_ENTER || k == SDLK_SPACE || k == SDLK_ESCAPE;
      return closes ? TModalAnswer::Close : TModalAnswer::Handled;
    }
    // A game controller's A or B, as Space or Escape.
    if (PadButtonOf(e) == TPadButton::A || PadButtonOf(e) == TPadButton::B) return TModalAnswer::Close;
    if (e.type == SDL_MOUSEBUTTONDOWN && e.button.windowID == id && e.button.button == SDL_BUTTON_LEFT) {
      pressed = InButton(layout, e.button.x / scale, e.button.y / scale);
      if (pressed) show();
      return TModalAnswer::Handled;
    }
    if (e.type == SDL_MOUSEBUTTONUP && e.button.windowID == id && e.button.button == SDL_BUTTON_LEFT) {
      const bool clicked = pressed && InButton(layout, e.button.x / scale, e.button.y / scale);
      pressed = false;
      show();
      return clicked ? TModalAnswer::Close : TModalAnswer::Handled;
    }
    // The box keeps the keyboard: another window taking the focus hands it back.
    if (e.type == SDL_WINDOWEVENT && e.window.event == SDL_WINDOWEVENT_FOCUS_GAINED) {
      SDL_RaiseWindow(window);
      SDL_SetWindowInputFocus(window);
      return TModalAnswer::Handled;
    }
    // Repaints, timer ticks and the sound's idle note go on underneath; input meant for other
    // windows, and their other window events, are dropped.
    if (e.type == SDL_WINDOWEVENT) {
      return e.window.event == SDL_WINDOWEVENT_EXPOSED ? TModalAnswer::Dispatch
                                                       : TModalAnswer::Handled;
    }
    return IsUserInput(e) ? TModalAnswer::Handled : TModalAnswer::Dispatch;
  });
  owned.reset();  // the box goes before the keyboard is handed back
  if (focusBefore) {
    SDL_RaiseWindow(focusBefore);
    SDL_SetWindowInputFocus(focusBefore);
  }
  SDL_FlushEvents(SDL_KEYDOWN, SDL_MOUSEWHEEL);
  SDL_FlushEvents(SDL_CONTROLLERAXISMOTION, SDL_CONTROLLERBUTTONUP);
  if (quitRequested) {
    SDL_Event quit{};
    quit.type = SDL_QUIT;
    SDL_PushEvent(&quit);
  }
}

}  // namespace kravelon
