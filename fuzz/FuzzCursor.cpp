// The cursor decoder (our directory checks, then SDL_image's) on any bytes: a cursor it accepts is
// at most 256 × 256.
#include <SDL.h>

#include <cstdlib>

#include "Formats/CursorFile.h"

using namespace kravelon;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  TCursorImage image;
  if (DecodeCursor(data, size, image) == TCursorResult::Loaded &&
      (image.Pixels->w > MaxCursorSide || image.Pixels->h > MaxCursorSide)) {
    std::abort();
  }
  return 0;
}
