#include "Toolkit/Screen.h"

#include <SDL.h>

#include "Toolkit/Scale.h"

namespace kravelon {

TPoint ScreenSize() {
  SDL_DisplayMode mode{};
  if (SDL_GetDesktopDisplayMode(0, &mode) != 0) return {0, 0};
  return {mode.w / DisplayScale(), mode.h / DisplayScale()};
}

}  // namespace kravelon
