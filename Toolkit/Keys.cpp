#include "Toolkit/Keys.h"

#include <SDL.h>

namespace kravelon {

int KeyCodeOf(std::int32_t sdlKey, int scancode) {
  switch (sdlKey) {
    case SDLK_PAGEUP: return VK_PRIOR;
    case SDLK_PAGEDOWN: return VK_NEXT;
    case SDLK_ESCAPE: return 27;
    case SDLK_RETURN: case SDLK_KP_ENTER: return 13;
    case SDLK_BACKSPACE: return 8;
    case SDLK_TAB: return VK_TAB;
    case SDLK_SPACE: return 32;
    case SDLK_LEFT: return 37;
    case SDLK_UP: return 38;
    case SDLK_RIGHT: return 39;
    case SDLK_DOWN: return 40;
    case SDLK_HOME: return VK_HOME;
    case SDLK_END: return VK_END;
    case SDLK_F1: return VK_F1;
    case SDLK_F2: return VK_F2;
    case SDLK_F3: return VK_F3;
    case SDLK_APPLICATION: return VK_APPS;
    default: break;
  }
  if (scancode >= SDL_SCANCODE_A && scancode <= SDL_SCANCODE_Z) {
    return 'A' + (scancode - SDL_SCANCODE_A);
  }
  if (sdlKey >= SDLK_0 && sdlKey <= SDLK_9) return sdlKey;
  return 0;
}

namespace {

// The modifiers a key event carried, while its handlers run; -1 outside them.
int HandledKeyModifiers = -1;

}  // namespace

TKeyModifiers::TKeyModifiers(std::uint16_t modifiers) : Before(HandledKeyModifiers) {
  HandledKeyModifiers = modifiers;
}

TKeyModifiers::~TKeyModifiers() { HandledKeyModifiers = Before; }

bool ControlHeld() {
  const int held = HandledKeyModifiers >= 0 ? HandledKeyModifiers : SDL_GetModState();
  return (held & KMOD_CTRL) != 0;
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
