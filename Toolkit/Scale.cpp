#include "Toolkit/Scale.h"

#include <SDL.h>
#include <X11/Xlib.h>
#include <X11/Xresource.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <string>

namespace kravelon {

namespace {

int Scale = 1;

// The number after "Xft.dpi:" in the X resources, as GTK and Qt programs read it; 0 if none.
int XftDpi() {
  const char* display = std::getenv("DISPLAY");
  if (!display || !*display) return 0;
  Display* connection = XOpenDisplay(display);
  if (!connection) return 0;
  int dpi = 0;
  if (const char* resources = XResourceManagerString(connection)) {
    const std::string text(resources);
    for (std::size_t at = text.find("Xft.dpi:"); at != std::string::npos;
         at = text.find("Xft.dpi:", at + 1)) {
      if (at == 0 || text[at - 1] == '\n') {
        dpi = static_cast<int>(std::strtod(text.c_str() + at + 8, nullptr));
        break;
      }
    }
  }
  XCloseDisplay(connection);
  return dpi;
}

}  // namespace

int DetectDisplayScale() {
  if (const char* gdk = std::getenv("GDK_SCALE"); gdk && *gdk) {
    return std::clamp(std::atoi(gdk), 1, MaxDisplayScale);
  }
  const int dpi = XftDpi();
  return dpi >= 192 ? std::clamp(dpi / 96, 1, MaxDisplayScale) : 1;
}

int FitDisplayScale(int wanted, int width, int height) {
  SDL_DisplayMode mode{};
  int scale = std::clamp(wanted, 1, MaxDisplayScale);
  if (SDL_GetDesktopDisplayMode(0, &mode) != 0) return scale;
  while (scale > 1 && (width * scale > mode.w || height * scale > mode.h)) --scale;
  return scale;
}

void SetDisplayScale(int scale) { Scale = std::clamp(scale, 1, MaxDisplayScale); }
int DisplayScale() { return Scale; }

void CopyScaled(SDL_Surface* from, const SDL_Rect& part, SDL_Surface* to, int x, int y, int scale) {
  // Only source pixels whose whole block lands on `to` are copied.
  const int skipX = x < 0 ? (-x + scale - 1) / scale : 0;
  const int skipY = y < 0 ? (-y + scale - 1) / scale : 0;
  const int left = std::max(part.x + skipX, 0);
  const int top = std::max(part.y + skipY, 0);
  const int right = std::min({part.x + part.w, from->w, part.x + (to->w - x) / scale});
  const int bottom = std::min({part.y + part.h, from->h, part.y + (to->h - y) / scale});
  if (left >= right || top >= bottom) return;
  const std::size_t rowBytes = static_cast<std::size_t>(right - left) * scale * 4;
  for (int row = top; row < bottom; ++row) {
    const auto* source = reinterpret_cast<const std::uint32_t*>(
                             static_cast<const std::uint8_t*>(from->pixels) + row * from->pitch) +
                         left;
    const int destY = y + (row - part.y) * scale;
    auto* first = reinterpret_cast<std::uint32_t*>(static_cast<std::uint8_t*>(to->pixels) +
                                                   destY * to->pitch) +
                  x + (left - part.x) * scale;
    if (scale == 1) {
      std::memcpy(first, source, rowBytes);
      continue;
    }
    std::uint32_t* out = first;
    for (int i = 0; i < right - left; ++i) out = std::fill_n(out, scale, source[i]);
    for (int copy = 1; copy < scale; ++copy) {
      std::memcpy(reinterpret_cast<std::uint8_t*>(first) + copy * to->pitch, first, rowBytes);
    }
  }
}

}  // namespace kravelon
