#pragma once
// What only the window system underneath can do. Toolkit-internal: includes SDL.
#include <SDL.h>

#include "Common/Types.h"

namespace kravelon {

// Has the window system fill the window with a plain colour wherever it shows, so that the
// program keeps no picture of it. False where it cannot (no X11 window).
bool LetWindowSystemFill(SDL_Window* window, TColor color);

// Under X, an error about a window that no longer exists (a message box closed a moment before
// a message SDL sent it arrived) is passed over instead of ending the program; any other error
// goes to the handler before. Set before SDL starts (SDL restores the handler it found as it
// closes the display); undone by ForgetVanishedWindows, once SDL has stopped.
void ForgiveVanishedWindows();
void ForgetVanishedWindows();

}  // namespace kravelon
