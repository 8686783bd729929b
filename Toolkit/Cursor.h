#pragma once
// The mouse cursor from a Windows .CUR file (decoded by Formats/CursorFile.h), made the cursor
// of every window.
#include <cstddef>
#include <cstdint>
#include <string>

#include "Formats/CursorFile.h"

namespace kravelon {

// Loads a Windows .CUR file and makes it the cursor of every window. Anything short of success
// leaves the ordinary arrow.
TCursorResult LoadCursorFromFile(const std::string& path);
// Frees the loaded cursor (before SDL_Quit, which would free it under us).
void ReleaseCursor();

}  // namespace kravelon
