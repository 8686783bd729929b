#pragma once
// The screen the game's windows stand on.
#include "Common/Types.h"

namespace kravelon {

// Screen size in the game's pixels (of the first display).
TPoint ScreenSize();

}  // namespace kravelon
