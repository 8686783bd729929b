#pragma once
// What both picture decoders promise on any bytes: they may refuse them, never crash, and what
// they accept is no larger than the game can use.
#include <SDL_surface.h>

#include <cstdlib>

#include "Formats/Decoders.h"
#include "Platform/Errors.h"
#include "Formats/PictureLimits.h"

namespace kravelon {

inline int FuzzPictureDecoder(TSurfacePtr (*decode)(const std::uint8_t*, std::size_t),
                              const std::uint8_t* data, std::size_t size) {
  try {
    const TSurfacePtr picture = decode(data, size);
    if (picture->w > MaxPictureSide || picture->h > MaxPictureSide) std::abort();
  } catch (const TToolkitError&) {
  }
  return 0;
}

}  // namespace kravelon
