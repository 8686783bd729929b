#include "Toolkit/Keys.h"

#include <SDL.h>

namespace kravelon {

int KeyCodeOf(std::int32_t sdlKey) {
  switch (sdlKey) {
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
  if (sdlKey >= SDLK_a && sdlKey <= SDLK_z) return 'A' + (sdlKey - SDLK_a);
  if (sdlKey >= SDLK_0 && sdlKey <= SDLK_9) return sdlKey;
  return 0;
}

char ControlCharOf(std::int32_t sdlKey) {
  switch (sdlKey) {
    case SDLK_ESCAPE: return 27;
    case SDLK_RETURN: case SDLK_KP_ENTER: return 13;
    case SDLK_BACKSPACE: return 8;
    case SDLK_TAB: return 9;
    default: return 0;
  }
}

}  // namespace kravelon
