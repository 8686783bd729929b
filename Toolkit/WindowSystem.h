#pragma once
// What only the window system underneath can do. Toolkit-internal: includes SDL.
#include <SDL.h>

#include "Common/Types.h"

namespace kravelon {

// Has the window system fill the window with a plain colour wherever it shows, so that the
// program keeps no picture of it. False where it cannot (no X11 window).
bool LetWindowSystemFill(SDL_Window* window, TColor color);

}  // namespace kravelon
